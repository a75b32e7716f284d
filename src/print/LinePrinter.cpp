#include "print/LinePrinter.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>

namespace paysum {

namespace {

// Lines are set 1.25 font sizes apart with the baseline one font size below the line's top:
// the tall ascent and descent that CJK fonts declare would otherwise leave too few lines for
// a landscape page.
constexpr qreal kLineStep = 1.25;

constexpr int kPdfResolution = 1200;

// Draws lines on a paged device: the PDF writer here, a printer in the windows.
class DeviceLinePrinter final : public LinePrinter {
public:
    // A PDF of A4 pages at a printer's high resolution, drawn into memory so that no write of the
    // file goes unchecked.
    DeviceLinePrinter() {
        pdf_.open(QIODevice::WriteOnly);
        writer_ = std::make_unique<QPdfWriter>(&pdf_);
        writer_->setResolution(kPdfResolution);
        writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           QMarginsF(10, 10, 10, 10), QPageLayout::Point));
        device_ = writer_.get();
    }

    // A printer device of the caller's; none is a printer that fails.
    explicit DeviceLinePrinter(std::unique_ptr<QPagedPaintDevice> device)
        : owned_(std::move(device)), device_(owned_.get()), failed_(!device_) {}

    ~DeviceLinePrinter() override {
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

    std::unique_ptr<QPagedPaintDevice> owned_;
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

std::unique_ptr<LinePrinter> OpenPdfPrinter(const PrintTarget&) {
    return std::make_unique<DeviceLinePrinter>();
}

std::unique_ptr<LinePrinter> LinePrinterOn(std::unique_ptr<QPagedPaintDevice> device) {
    return std::make_unique<DeviceLinePrinter>(std::move(device));
}

}  // namespace paysum
