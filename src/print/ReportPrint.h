#pragma once

#include "print/LinePrinter.h"

#include <QPageLayout>
#include <QStringList>

#include <optional>

namespace paysum {

// How the list is printed: the font families, the page orientation and the number of copies.
struct ReportPrintSettings {
    QStringList families;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int copies = 1;
};

// Prints the list's lines: the title a size larger, a new page after each line that says more
// follow, every copy from a page of its own. False when the printer failed.
[[nodiscard]] bool PrintReportLines(LinePrinter& printer, const ReportPrintSettings& settings,
                                    const QStringList& lines);

// Why a print job did not end printed: a file target refused before anything was printed, or a
// job not completed: the printer failed, or the PDF could not be written. `detail` says why.
struct PrintFault {
    bool refused = false;
    QString detail;
    bool printerFailed = false;
};

// Prints the list's lines on the target, through the printer `open` gives for it. A PDF file is
// refused as every file the clerk names is (RefuseClerkFile) before printing starts, and takes the
// place of an earlier file whole, only once the document is complete. Nothing when it was printed.
[[nodiscard]] std::optional<PrintFault> PrintReportJob(const PrintTarget& target,
                                                       const ReportPrintSettings& settings,
                                                       const QStringList& lines,
                                                       const PrinterOpener& open);

}  // namespace paysum
