#include "output/ReportPrint.h"

#include "common/CheckDigits.h"
#include "common/RocDate.h"
#include "data/BankName.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/TableRows.h"

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
    header.printDate = RocToday(1, today);
    if (DbResult error = ReadRows(db, QStringLiteral("S_ITEM"), &rows, ReportOrderBy(order)))
        return error;
    std::vector<ReportRow> items;
    items.reserve(static_cast<std::size_t>(rows.size()));
    for (const QStringList& row : rows)
        items.push_back(
            {row.value(0), row.value(1), row.value(2), row.value(3), row.value(4), row.value(5)});
    *report = BuildReport(header, items);
    return std::nullopt;
}

}  // namespace paysum
