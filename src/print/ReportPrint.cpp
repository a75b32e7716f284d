#include "print/ReportPrint.h"

#include "data/FileReplacement.h"
#include "output/DetailReport.h"

#include <memory>

namespace paysum {

bool PrintReportLines(LinePrinter& printer, const ReportPrintSettings& settings,
                      const QStringList& lines) {
    printer.SetFontFamilies(settings.families);
    printer.SetOrientation(settings.orientation);
    printer.SetFontSize(10);
    bool pageEmpty = true;
    for (int copy = 0; copy < settings.copies; ++copy) {
        // Every copy starts on a page of its own.
        if (!pageEmpty) {
            printer.NewPage();
            pageEmpty = true;
        }
        for (const QString& line : lines) {
            if (line == kReportTitle) {
                printer.SetFontSize(12);
                printer.PrintLine(line);
                printer.SetFontSize(10);
            } else {
                printer.PrintLine(line);
            }
            pageEmpty = false;
            if (line.contains(kContinuedMark)) {
                printer.NewPage();
                pageEmpty = true;
            }
        }
    }
    return printer.EndDoc();
}

std::optional<PrintFault> PrintReportJob(const PrintTarget& target,
                                         const ReportPrintSettings& settings,
                                         const QStringList& lines, const PrinterOpener& open) {
    const bool toFile = !target.outputFile.isEmpty();
    if (toFile) {
        if (std::optional<QString> refusal = RefuseClerkFile(target.outputFile))
            return PrintFault{true, *refusal};
    }
    const std::unique_ptr<LinePrinter> printer = open(target);
    if (!PrintReportLines(*printer, settings, lines))
        return PrintFault{false, printer->FailureReason(), true};
    if (!toFile)
        return std::nullopt;
    const QByteArray document = printer->PdfDocument();
    if (document.isEmpty())
        return PrintFault{false, QString(), true};
    if (std::optional<QString> error = ReplaceClerkFile(target.outputFile, document))
        return PrintFault{false, *error};
    return std::nullopt;
}

}  // namespace paysum
