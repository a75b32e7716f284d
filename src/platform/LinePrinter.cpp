#include "platform/LinePrinter.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace paysum {

namespace {

PrinterHook& Hook() {
    static PrinterHook hook;
    return hook;
}

// Lines are set 1.25 font sizes apart with the baseline one font size below the line's top:
// the tall ascent and descent that CJK fonts declare would otherwise leave too few lines for
// a landscape page.
constexpr qreal kLineStep = 1.25;

class QtLinePrinter final : public LinePrinter {
public:
    explicit QtLinePrinter(const PrintTarget& target) {
        if (!target.outputFile.isEmpty()) {
            // The page and resolution a PDF printer would have, drawn into memory so that no
            // write of the file goes unchecked.
            QPrinter pdfPrinter(QPrinter::HighResolution);
            pdfPrinter.setOutputFormat(QPrinter::PdfFormat);
            pdf_.open(QIODevice::WriteOnly);
            writer_ = std::make_unique<QPdfWriter>(&pdf_);
            writer_->setResolution(pdfPrinter.resolution());
            writer_->setPageLayout(pdfPrinter.pageLayout());
            device_ = writer_.get();
            return;
        }
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        device_ = printer_.get();
        const QPrinterInfo info = target.printerName.isEmpty()
                                      ? QPrinterInfo::defaultPrinter()
                                      : QPrinterInfo::printerInfo(target.printerName);
        if (info.isNull()) {
            failed_ = true;
            return;
        }
        printer_->setOutputFormat(QPrinter::NativeFormat);
        printer_->setPrinterName(info.printerName());
    }

    ~QtLinePrinter() override {
        if (painter_.isActive())
            painter_.end();
    }

    void SetFontFamilies(const QStringList& families) override { families_ = families; }
    void SetFontSize(int points) override { points_ = points; }
    void SetOrientation(QPageLayout::Orientation orientation) override {
        orientation_ = orientation;
    }

    void PrintLine(const QString& line) override {
        if (!Begin())
            return;
        QFont font;
        font.setFamilies(families_);
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSize(points_);
        painter_.setFont(font);
        const qreal em = points_ * device_->logicalDpiY() / 72.0;
        if (y_ > 0 && y_ + kLineStep * em > device_->height())
            NewPage();
        painter_.drawText(QPointF(0, y_ + em), line);
        y_ += kLineStep * em;
    }

    void NewPage() override {
        if (!Begin())
            return;
        if (!device_->newPage())
            failed_ = true;
        y_ = 0;
    }

    bool EndDoc() override {
        if (Begin() && !painter_.end())
            failed_ = true;
        return !failed_;
    }

    QByteArray PdfDocument() const override { return failed_ ? QByteArray() : pdf_.data(); }

private:
    bool Begin() {
        if (failed_)
            return false;
        if (painter_.isActive())
            return true;
        if (started_) {
            failed_ = true;  // the document has already been ended
            return false;
        }
        started_ = true;
        device_->setPageOrientation(orientation_);
        if (!painter_.begin(device_))
            failed_ = true;
        return !failed_;
    }

    std::unique_ptr<QPrinter> printer_;
    QBuffer pdf_;
    std::unique_ptr<QPdfWriter> writer_;
    QPagedPaintDevice* device_ = nullptr;
    QPainter painter_;
    QStringList families_;
    int points_ = 10;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    qreal y_ = 0;
    bool started_ = false;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<LinePrinter> OpenPrinter(const PrintTarget& target) {
    if (Hook())
        return Hook()(target);
    return std::make_unique<QtLinePrinter>(target);
}

void SetPrinterHook(PrinterHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
