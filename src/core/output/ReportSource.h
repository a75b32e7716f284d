#pragma once

#include "data/DbError.h"
#include "output/DetailReport.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <vector>

namespace paysum {

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

// Reads the company record, the batch dates and the transfers (in `order`, as the report
// window's order menu has it) and lays the list out as printed on `today`, with its name.
DbResult ReadDetailReport(qint16 order, const QDate& today, Report* report);

}  // namespace paysum
