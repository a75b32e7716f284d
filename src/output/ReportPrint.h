#pragma once

#include "data/DbError.h"
#include "output/DetailReport.h"
#include "platform/LinePrinter.h"

#include <QDate>
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
// job not completed (the printer failed, or the PDF could not be written; `detail` says why).
struct PrintFault {
    bool refused = false;
    QString detail;
};

// Prints the list's lines on the target. A PDF file is refused as every file the clerk names is
// (RefuseClerkFile) before printing starts, and takes the place of an earlier file whole, only once
// the document is complete. Nothing when it was printed.
[[nodiscard]] std::optional<PrintFault> PrintReportJob(const PrintTarget& target,
                                                       const ReportPrintSettings& settings,
                                                       const QStringList& lines);

// The order of S_ITEM's rows the report window's order menu chose: by payee code descending (1),
// in the order of entry (2), or by payee code ascending before either was chosen.
QString ReportOrderBy(qint16 order);

// One transfer of the list from S_ITEM's six values.
ReportRow ReportRowOf(const QStringList& item);

// The transfers (S_ITEM's six values each, in the order of entry) in the order ReportOrderBy()
// gives the stored rows, for a list made from values already read.
std::vector<ReportRow> OrderedReportRows(const QList<QStringList>& items, qint16 order);

// Fills the company's part of the list header from S_BASE's row: the name, the transfer branch's
// code with its check digit and its name, and the sign-off lines.
void SetCompany(ReportHeader& header, const QStringList& base);

// Reads the company record, the transfer date and the transfers (in `order`, as the report
// window's order menu has it) and lays the list out as printed on `today`.
DbResult ReadDetailReport(qint16 order, const QDate& today, Report* report);

}  // namespace paysum
