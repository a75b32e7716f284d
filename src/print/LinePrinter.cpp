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
bool IsPlainForm(char32_t c) {
    const QString text = QString::fromUcs4(&c, 1);
    return text.normalized(QString::NormalizationForm_KC) == text;
}

// The character each glyph of the document stands for, for every font that drew one: the
// character drawn with it, and of two drawn characters that share a glyph the plain form, else the
// lower. A font maps some characters that look alike to one glyph (金 and the radical ⾦, the blank
// and the tab, U+3000 and U+2003), and Qt's PDF writer reads such a glyph as the lowest of them,
// and a glyph of a character beyond U+FFFF as nothing. Qt numbers a font's glyphs in the document
// from 1 in the order they were first drawn, so that order tells each number's glyph.
class GlyphReadings {
public:
    // `drawn` holds every character drawn in `font`, in the order first drawn.
    GlyphReadings(const QFont& font, const QList<char32_t>& drawn) {
        for (const char32_t c : drawn) {
            // Laid out as drawn, so that a character the font lacks is read in the font that
            // stood in for it.
            QTextLayout layout(QString::fromUcs4(&c, 1), font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1 ||
                runs[0].glyphIndexes()[0] == 0)
                continue;
            FontGlyphs& glyphs = GlyphsOf(runs[0].rawFont());
            const quint32 glyph = runs[0].glyphIndexes()[0];
            if (!glyphs.readings.contains(glyph))
                glyphs.numbered.append(glyph);
            char32_t& reading = glyphs.readings[glyph];
            if (reading == 0 || (IsPlainForm(c) && !IsPlainForm(reading)) ||
                (IsPlainForm(c) == IsPlainForm(reading) && c < reading))
                reading = c;
        }
    }

    // The values a map that holds `values` should hold: in the font whose glyphs, numbered as
    // drawn, are those of all the values, the character drawn with each code's glyph; else, when
    // no one font fits, the character drawn with the glyph that Qt read as each value, in any font.
    QMap<quint16, char32_t> Read(const QMap<quint16, char32_t>& values) const {
        const FontGlyphs* fitting = nullptr;
        int fits = 0;
        for (const FontGlyphs& glyphs : fonts_) {
            bool fit = !values.isEmpty();
            for (auto value = values.cbegin(); fit && value != values.cend(); ++value) {
                fit = value.key() == 0 ||
                      (value.key() <= glyphs.numbered.size() &&
                       GlyphOf(glyphs.font, value.value()) == glyphs.numbered[value.key() - 1]);
            }
            if (fit) {
                fitting = &glyphs;
                ++fits;
            }
        }
        QMap<quint16, char32_t> read;
        if (fits == 1) {
            for (qsizetype i = 0; i < fitting->numbered.size() && i < 0xFFFF; ++i) {
                const auto code = static_cast<quint16>(i + 1);
                const char32_t reading = fitting->readings.value(fitting->numbered[i]);
                if (reading != values.value(code))
                    read[code] = reading;
            }
            return read;
        }
        for (auto value = values.cbegin(); value != values.cend(); ++value) {
            for (const FontGlyphs& glyphs : fonts_) {
                const char32_t reading = glyphs.readings.value(GlyphOf(glyphs.font, *value));
                if (reading != 0) {
                    if (reading != *value)
                        read[value.key()] = reading;
                    break;
                }
            }
        }
        return read;
    }

private:
    struct FontGlyphs {
        QRawFont font;
        QHash<quint32, char32_t> readings;
        QList<quint32> numbered;  // glyph i + 1 of the document
    };

    static quint32 GlyphOf(const QRawFont& font, char32_t c) {
        const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
        return glyphs.size() == 1 ? glyphs[0] : 0;
    }

    FontGlyphs& GlyphsOf(const QRawFont& font) {
        for (FontGlyphs& glyphs : fonts_) {
            if (glyphs.font == font)
                return glyphs;
        }
        return fonts_.emplace_back(FontGlyphs{font, {}, {}});
    }

    std::vector<FontGlyphs> fonts_;
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
        writer_->setPageLayout(PdfPageLayout());
        device_ = writer_.get();
    }

    // A printer device of the caller's; none is a printer that fails for the reason given.
    DeviceLinePrinter(std::unique_ptr<QPagedPaintDevice> device, const QString& whyNone)
        : owned_(std::move(device)), device_(owned_.get()), failed_(!device_) {
        if (failed_)
            failure_ = whyNone;
    }

    // A device of the caller's, kept by the caller.
    explicit DeviceLinePrinter(QPagedPaintDevice& device) : device_(&device) {}

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
            for (const char32_t c : line.toUcs4()) {
                if (!drawnSet_.contains(c)) {
                    drawnSet_.insert(c);
                    drawn_.append(c);
                }
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
            const GlyphReadings readings(Font(points_), drawn_);
            RewriteToUnicode(document_, [&readings](const QMap<quint16, char32_t>& values) {
                return readings.Read(values);
            });
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
    QList<char32_t> drawn_;  // in the order first drawn
    QSet<char32_t> drawnSet_;
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

QPageLayout PdfPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Point);
}

std::unique_ptr<LinePrinter> OpenPdfPrinter(const PrintTarget& target) {
    return std::make_unique<DeviceLinePrinter>(target.documentName);
}

std::unique_ptr<LinePrinter> LinePrinterOn(std::unique_ptr<QPagedPaintDevice> device,
                                           const QString& whyNone) {
    return std::make_unique<DeviceLinePrinter>(std::move(device), whyNone);
}

std::unique_ptr<LinePrinter> LinePrinterOn(QPagedPaintDevice& device) {
    return std::make_unique<DeviceLinePrinter>(device);
}

}  // namespace paysum
