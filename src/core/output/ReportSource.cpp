#include "output/ReportSource.h"

#include "common/CheckDigits.h"
#include "common/RocDate.h"
#include "data/BankName.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/TableRows.h"

#include <algorithm>

namespace paysum {

QString ReportOrderBy(qint16 order) {
    switch (order) {
        case 1:
            return QStringLiteral("ID DESC");
        case 2:
            return QStringLiteral("rowid");
        default:
            return QStringLiteral("ID");
    }
}

ReportRow ReportRowOf(const QStringList& item) {
    return {item.value(0), item.value(1), item.value(2),
            item.value(3), item.value(4), item.value(5)};
}

std::vector<ReportRow> OrderedReportRows(const QList<QStringList>& items, qint16 order) {
    std::vector<ReportRow> rows;
    rows.reserve(static_cast<std::size_t>(items.size()));
    for (const QStringList& item : items)
        rows.push_back(ReportRowOf(item));
    // Codes are digits, so their texts compare as the database orders them; the sort is stable so
    // that equal codes keep their order of entry.
    if (order == 1)
        std::stable_sort(rows.begin(), rows.end(),
                         [](const ReportRow& a, const ReportRow& b) { return b.id < a.id; });
    else if (order != 2)
        std::stable_sort(rows.begin(), rows.end(),
                         [](const ReportRow& a, const ReportRow& b) { return a.id < b.id; });
    return rows;
}

void SetCompany(ReportHeader& header, const QStringList& base) {
    const QString code = QStringLiteral("004") + base.value(0);
    header.companyName = base.value(1);
    header.bankCode = code + BranchCheckDigit(code);
    header.branchName = BankNameOf(header.bankCode);
    header.signOff = {base.value(4), base.value(5), base.value(6)};
}

DbResult ReadDetailReport(qint16 order, const QDate& today, Report* report) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    ReportHeader header;
    QList<QStringList> rows;
    if (DbResult error = ReadRows(db, QStringLiteral("S_BASE"), &rows))
        return error;
    if (!rows.isEmpty())
        SetCompany(header, rows[0]);
    if (DbResult error = ReadRows(db, QStringLiteral("S_DAY"), &rows))
        return error;
    header.transferDate = rows.isEmpty() ? QString(6, u' ') : rows[0].value(1);
    const QString loginDate = rows.isEmpty() ? QString() : rows[0].value(0);
    header.printDate = RocToday(1, today);
    if (DbResult error = ReadRows(db, QStringLiteral("S_ITEM"), &rows, ReportOrderBy(order)))
        return error;
    std::vector<ReportRow> items;
    items.reserve(static_cast<std::size_t>(rows.size()));
    for (const QStringList& row : rows)
        items.push_back(ReportRowOf(row));
    *report = BuildReport(header, items);
    report->documentName = ReportDocumentName(loginDate, header.transferDate);
    return std::nullopt;
}

}  // namespace paysum
