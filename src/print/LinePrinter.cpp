#include "print/LinePrinter.h"

#include "common/Version.h"
#include "print/PdfDocument.h"

#include <QBuffer>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>

#include <algorithm>
#include <vector>

namespace paysum {

QString PrintingProgram() {
    return QStringLiteral("%1 %2").arg(QLatin1String(kAppTitle), QLatin1String(kVersion));
}

namespace {

// Lines are set 1.25 font sizes apart with the baseline one font size below the line's top:
// the tall ascent and descent that CJK fonts declare would otherwise leave too few lines for
// a landscape page.
constexpr qreal kLineStep = 1.25;

constexpr int kPdfResolution = 1200;

// Why a printer device failed: it did not take the job, or a page of it.
const QString kPrinterRefused = QStringLiteral("印表機拒絕列印");

// Whether a character is the form a text is searched for in: 金 is, the radical ⾦ that looks the
// same is not, nor a compatibility ideograph.
bool IsPlainForm(char16_t c) {
    const QString text(QChar{c});
    return text.normalized(QString::NormalizationForm_KC) == text;
}

// The character each glyph of the document stands for, for every font that drew one: the
// character drawn with it, and of two drawn characters that share a glyph the plain form. A font
// maps some characters that look alike to one glyph (金 and the radical ⾦, the blank and the tab,
// U+3000 and U+2003), and Qt's PDF writer reads such a glyph as the lowest of them.
class GlyphReadings {
public:
    GlyphReadings(const QFont& font, const QSet<char16_t>& drawn) {
        // In code point order, so that the same list gives the same document.
        QList<char16_t> characters(drawn.cbegin(), drawn.cend());
        std::sort(characters.begin(), characters.end());
        for (const char16_t c : characters) {
            // Laid out as drawn, so that a character the font lacks is read in the font that
            // stood in for it.
            QTextLayout layout(QString(QChar{c}), font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            if (runs.isEmpty() || runs[0].glyphIndexes().isEmpty() ||
                runs[0].glyphIndexes()[0] == 0)
                continue;
            QHash<quint32, char16_t>& readings = ReadingsOf(runs[0].rawFont());
            // Of two that share the glyph the plain form, else the lower.
            char16_t& reading = readings[runs[0].glyphIndexes()[0]];
            if (reading == 0 || (IsPlainForm(c) && !IsPlainForm(reading)))
                reading = c;
        }
    }

    // The character drawn with the glyph that Qt read as `value`; `value` when there is none.
    char16_t operator()(char16_t value) const {
        for (const auto& [font, readings] : fonts_) {
            const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar{value}));
            if (glyphs.size() == 1 && glyphs[0] != 0) {
                if (const auto found = readings.constFind(glyphs[0]); found != readings.cend())
                    return *found;
            }
        }
        return value;
    }

private:
    QHash<quint32, char16_t>& ReadingsOf(const QRawFont& font) {
        for (auto& [known, readings] : fonts_) {
            if (known == font)
                return readings;
        }
        return fonts_.emplace_back(font, QHash<quint32, char16_t>()).second;
    }

    std::vector<std::pair<QRawFont, QHash<quint32, char16_t>>> fonts_;
};

// Draws lines on a paged device: the PDF writer here, a printer in the windows.
class DeviceLinePrinter final : public LinePrinter {
public:
    // A PDF of A4 pages at a printer's high resolution, drawn into memory so that no write of the
    // file goes unchecked.
    explicit DeviceLinePrinter(const QString& documentName) : toPdf_(true) {
        pdf_.open(QIODevice::WriteOnly);
        writer_ = std::make_unique<QPdfWriter>(&pdf_);
        writer_->setTitle(documentName);
        writer_->setCreator(PrintingProgram());
        writer_->setResolution(kPdfResolution);
        writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           QMarginsF(10, 10, 10, 10), QPageLayout::Point));
        device_ = writer_.get();
    }

    // A printer device of the caller's; none is a printer that fails for the reason given.
    DeviceLinePrinter(std::unique_ptr<QPagedPaintDevice> device, const QString& whyNone)
        : owned_(std::move(device)), device_(owned_.get()), failed_(!device_) {
        if (failed_)
            failure_ = whyNone;
    }

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
        const QFont font = Font(points_);
        painter_.setFont(font);
        if (toPdf_) {
            // Characters beyond U+FFFF have no place in the maps Qt writes.
            for (const QChar c : line) {
                if (!c.isSurrogate())
                    drawn_.insert(c.unicode());
            }
        }
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
            Fail();
        y_ = 0;
    }

    bool EndDoc() override {
        if (Begin() && !painter_.end())
            Fail();
        if (!failed_ && toPdf_) {
            // The text a reader copies or searches for is the text printed.
            document_ = pdf_.data();
            RereadToUnicode(document_, GlyphReadings(Font(points_), drawn_));
            AddPdfAuthor(document_, PrintingProgram());
        }
        return !failed_;
    }

    QByteArray PdfDocument() const override { return failed_ ? QByteArray() : document_; }

    QString FailureReason() const override { return failure_; }

private:
    QFont Font(int points) const {
        QFont font;
        font.setFamilies(families_);
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSize(points);
        return font;
    }

    void Fail() {
        if (!failed_)
            failure_ = toPdf_ ? QStringLiteral("無法產生 PDF 文件") : kPrinterRefused;
        failed_ = true;
    }

    bool Begin() {
        if (failed_)
            return false;
        if (painter_.isActive())
            return true;
        if (started_) {
            Fail();  // the document has already been ended
            return false;
        }
        started_ = true;
        device_->setPageOrientation(orientation_);
        if (!painter_.begin(device_))
            Fail();
        return !failed_;
    }

    const bool toPdf_ = false;
    std::unique_ptr<QPagedPaintDevice> owned_;
    QBuffer pdf_;
    QByteArray document_;
    QSet<char16_t> drawn_;
    QString failure_;
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

std::unique_ptr<LinePrinter> OpenPdfPrinter(const PrintTarget& target) {
    return std::make_unique<DeviceLinePrinter>(target.documentName);
}

std::unique_ptr<LinePrinter> LinePrinterOn(std::unique_ptr<QPagedPaintDevice> device,
                                           const QString& whyNone) {
    return std::make_unique<DeviceLinePrinter>(std::move(device), whyNone);
}

}  // namespace paysum
