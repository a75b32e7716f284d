#pragma once

#include "print/LinePrinter.h"

#include <utility>
#include <vector>

namespace paysum::test {

// What one print job received: each page's lines with their point sizes.
struct PrintJob {
    PrintTarget target;
    QStringList families;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<std::vector<std::pair<QString, int>>> pages{1};
};

// A printer that keeps what it is given in a print job, and fails at the end when told to, as a
// printer that refused the job.
class RecordingPrinter : public LinePrinter {
public:
    RecordingPrinter(PrintJob& job, bool fails) : job_(job), fails_(fails) {}
    void SetFontFamilies(const QStringList& families) override { job_.families = families; }
    void SetFontSize(int points) override { points_ = points; }
    void SetOrientation(QPageLayout::Orientation value) override { job_.orientation = value; }
    void PrintLine(const QString& line) override { job_.pages.back().emplace_back(line, points_); }
    void NewPage() override { job_.pages.emplace_back(); }
    bool EndDoc() override { return !fails_; }
    QString FailureReason() const override {
        return fails_ ? QStringLiteral("印表機拒絕列印") : QString();
    }
    // A stand-in for the PDF of a file target, which the caller writes.
    QByteArray PdfDocument() const override {
        return job_.target.outputFile.isEmpty() ? QByteArray() : QByteArray("%PDF recorded");
    }

private:
    PrintJob& job_;
    bool fails_;
    int points_ = 0;
};

}  // namespace paysum::test
