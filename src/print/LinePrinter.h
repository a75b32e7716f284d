#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPagedPaintDevice;

namespace paysum {

// Where a print job goes: a PDF file when one is named (made in memory, never written by the
// printer itself), else the printer of that name, else the default printer. The document's name
// is the PDF's title, or the job's name in the printer's queue. (Each member has an initializer,
// so that a target may be given by its first members alone.)
struct PrintTarget {
    QString printerName{};
    QString outputFile{};
    QString documentName{};
};

// A printer that takes text one line below the other from the left edge of the printable
// area, in the printer's own margins. A line that no longer fits on the page goes to a new one.
class LinePrinter {
public:
    virtual ~LinePrinter() = default;

    // Font and orientation apply from the next line on; the orientation only before the first.
    virtual void SetFontFamilies(const QStringList& families) = 0;
    virtual void SetFontSize(int points) = 0;
    virtual void SetOrientation(QPageLayout::Orientation orientation) = 0;
    virtual void PrintLine(const QString& line) = 0;
    virtual void NewPage() = 0;
    // Ends the document and hands it over; false when there is no printer or anything since
    // the start failed.
    [[nodiscard]] virtual bool EndDoc() = 0;
    // The PDF made for a file target, once EndDoc() succeeded; the caller puts it in place.
    virtual QByteArray PdfDocument() const { return {}; }
    // Why the printer failed, for the clerk ("沒有設定印表機"); empty when it did not.
    virtual QString FailureReason() const { return {}; }
};

// Opens a printer for a target.
using PrinterOpener = std::function<std::unique_ptr<LinePrinter>(const PrintTarget& target)>;

// A printer that makes a PDF of A4 pages in memory, for a file target; the caller puts the
// document in place. The PDF's text reads back as the characters printed, and its title is the
// target's document name, its author and creator the program and its version.
std::unique_ptr<LinePrinter> OpenPdfPrinter(const PrintTarget& target);

// The page of a PDF list: A4 with narrow margins, portrait until the list turns it.
QPageLayout PdfPageLayout();

// A printer that draws on a printer device (QPrinter, set up by the caller); none fails with
// `whyNone` as the reason.
std::unique_ptr<LinePrinter> LinePrinterOn(std::unique_ptr<QPagedPaintDevice> device,
                                           const QString& whyNone = QString());

// A printer that draws on a device the caller keeps, e.g. the pages of a print preview, so that
// the preview is laid out exactly as the printed list.
std::unique_ptr<LinePrinter> LinePrinterOn(QPagedPaintDevice& device);

// The program and its version, as a document names its creator ("PAYSUM 1.0.2").
QString PrintingProgram();

}  // namespace paysum
