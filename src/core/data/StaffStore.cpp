#include "data/StaffStore.h"

#include "common/TextRules.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlQuery>

#include <algorithm>

namespace paysum {

namespace {

// Codes that are five ASCII digits: among them text order is numeric order.
const QString kFiveDigits =
    QStringLiteral("length(ID) = 5 AND ID GLOB '[0-9][0-9][0-9][0-9][0-9]'");

// A code of five digits, zero-filled; made for every code of a run, so made by hand.
QString FiveDigitCode(int value) {
    QString code(5, u'0');
    for (qsizetype i = 4; i >= 0 && value > 0; --i, value /= 10)
        code[i] = QChar(u'0' + value % 10);
    return code;
}

// Moves the codes of one table up by one. SQLite checks the key row by row within an UPDATE,
// and a code moving onto the next one up would clash with it; so the run is first moved aside
// under marked codes ("#" and the new code, which sort before every plain code) and then has
// the marks taken off. Both steps touch only the run, through the key index.
DbResult ShiftTable(const QSqlDatabase& db, const QString& table, const QString& first,
                    const QString& last, int* changed) {
    // Built by concatenation: QString::arg() would take the "%05d" of printf for a place marker.
    const QString mark =
        QStringLiteral("UPDATE ") + table +
        QStringLiteral(
            " SET ID = '#' || printf('%05d', CAST(ID AS INTEGER) + 1) WHERE ID BETWEEN ? AND ? "
            "AND ") +
        kFiveDigits;
    if (DbResult error = Execute(db, mark, {first, last}, changed))
        return error;
    return Execute(db,
                   QStringLiteral("UPDATE %1 SET ID = substr(ID, 2) WHERE ID >= '#' AND ID < '$' "
                                  "AND length(ID) = 6")
                       .arg(table));
}

// Moves a run of employee codes with no gap, `first` to `last`, up by one. Rather than every
// code of the run changing in the key index, twice, the employees' other columns move one row
// up the run (each row takes those of the code below it, the first row those of the last), and
// then only the first row changes its code, to the one after the run. UPDATE ... FROM reads all
// the moved values before it writes any. `changed` gets the rows that took another's columns.
DbResult RotateStaffRun(const QSqlDatabase& db, const QString& first, const QString& last,
                        int* changed) {
    QStringList assigned;
    QStringList selected;
    for (const ColumnDef& column : FindTable(QStringLiteral("S_STAFF"))->columns) {
        const QString name = QLatin1String(column.name);
        if (name == u"ID")
            continue;
        assigned << name + QStringLiteral(" = moved.") + name;
        selected << name;
    }
    const QString rotate =
        QStringLiteral("UPDATE S_STAFF SET ") + assigned.join(QStringLiteral(", ")) +
        QStringLiteral(
            " FROM (SELECT CASE WHEN ID = ? THEN ? ELSE printf('%05d', CAST(ID AS "
            "INTEGER) + 1) END AS ID, ") +
        selected.join(QStringLiteral(", ")) +
        QStringLiteral(" FROM S_STAFF WHERE ID BETWEEN ? AND ? AND ") + kFiveDigits +
        QStringLiteral(") AS moved WHERE S_STAFF.ID = moved.ID");
    if (DbResult error = Execute(db, rotate, {last, first, first, last}, changed))
        return error;
    int moved = 0;
    if (DbResult error = Execute(db, QStringLiteral("UPDATE S_STAFF SET ID = ? WHERE ID = ?"),
                                 {FiveDigitCode(last.toInt() + 1), first}, &moved))
        return error;
    if (moved != 1)
        *changed = -1;
    return std::nullopt;
}

}  // namespace

QString StaffSelectAll() {
    return QStringLiteral("select * from S_STAFF order by ID");
}

QString StaffSelectByPrefix() {
    return QStringLiteral("select * from S_STAFF where ID >= ? and ID < ? order by ID");
}

QString NameHoldsCondition() {
    // SQLite's lower() changes ASCII letters only; instr() takes every character as it stands.
    return QStringLiteral("instr(lower(NAME), lower(?)) > 0");
}

bool IsPartOfName(const QString& typed) {
    return !typed.isEmpty() && !IsDigits(typed);
}

QString StaffSelectByName() {
    return QStringLiteral("select * from S_STAFF where ") + NameHoldsCondition() +
           QStringLiteral(" order by ID");
}

QString StaffSelectByCode() {
    return QStringLiteral("select * from S_STAFF where ID = ?");
}

QString ItemSelectByCode() {
    return QStringLiteral("select * from S_ITEM where ID = ?");
}

QString ItemSelectAll() {
    return QStringLiteral("select * from S_ITEM order by ID");
}

QString ItemSelectByPrefix() {
    return QStringLiteral("select * from S_ITEM where ID >= ? and ID < ? order by ID");
}

DbResult NextTemporaryCode(const QSqlDatabase& db, QString* code) {
    code->clear();
    const QString taken = QStringLiteral("ID BETWEEN '%1' AND '%2' AND ")
                              .arg(kFirstTemporaryCode)
                              .arg(kLastTemporaryCode) +
                          kFiveDigits;
    const QString before = QString::number(kFirstTemporaryCode - 1);
    // Usually the taken codes run without a gap from the first, and the next one follows the
    // highest: a count tells. Otherwise each taken code is set beside the one before it, and
    // the first that does not follow its predecessor marks the gap.
    const QString sql =
        QStringLiteral("SELECT CASE WHEN top IS NULL THEN %1 + 1 ").arg(before) +
        QStringLiteral("WHEN CAST(top AS INTEGER) - %1 = (SELECT count(*) FROM S_STAFF WHERE ")
            .arg(before) +
        taken +
        QStringLiteral(
            ") THEN CAST(top AS INTEGER) + 1 "
            "ELSE (SELECT previous + 1 FROM (SELECT CAST(ID AS INTEGER) AS number, "
            "LAG(CAST(ID AS INTEGER), 1, %1) OVER (ORDER BY ID) AS previous FROM S_STAFF WHERE ")
            .arg(before) +
        taken +
        QStringLiteral(
            ") WHERE number > previous + 1 LIMIT 1) END "
            "FROM (SELECT (SELECT ID FROM S_STAFF WHERE ") +
        taken + QStringLiteral(" ORDER BY ID DESC LIMIT 1) AS top)");
    QSqlQuery query(db);
    if (!RunQuery(query, sql, {}) || !query.next())
        return ToDbError(query.lastError());
    const int next = query.value(0).toInt();
    if (next <= kLastTemporaryCode)
        *code = QString::number(next);
    return std::nullopt;
}

DbResult ReadCodesFrom(const QSqlDatabase& db, const QString& table, const QString& code,
                       QStringList* codes, const QString& last, bool consecutive) {
    codes->clear();
    const QString inRange = QStringLiteral("ID BETWEEN ? AND ? AND ") + kFiveDigits;
    QString from = code;
    if (consecutive && code.size() == 5 && last.size() == 5) {
        // A run from the code itself is taken a block at a time while the block's count says
        // that every code in it is there; only the block where the run ends is read row by row.
        constexpr int kBlock = 1024;
        const int end = last.toInt();
        for (int start = code.toInt(); start > 0 && start <= end; start += kBlock) {
            const int blockEnd = std::min(start + kBlock - 1, end);
            int count = 0;
            if (DbResult error = CountRows(db, table, inRange,
                                           {FiveDigitCode(start), FiveDigitCode(blockEnd)}, &count))
                return error;
            if (count != blockEnd - start + 1)
                break;
            for (int value = start; value <= blockEnd; ++value)
                codes->append(FiveDigitCode(value));
            from = FiveDigitCode(blockEnd + 1);
        }
        if (!codes->isEmpty() && codes->last() == last)
            return std::nullopt;
    }
    QSqlQuery query(db);
    if (!RunQuery(query,
                  QStringLiteral("SELECT ID FROM %1 WHERE %2 ORDER BY ID").arg(table, inRange),
                  {from, last}))
        return ToDbError(query.lastError());
    int previous = codes->isEmpty() ? -1 : codes->last().toInt();
    while (query.next()) {
        const QString next = query.value(0).toString();
        const int value = next.toInt();
        if (consecutive && previous >= 0 && value != previous + 1)
            break;
        codes->append(next);
        previous = value;
    }
    if (query.lastError().isValid())
        return ToDbError(query.lastError());
    return std::nullopt;
}

DbResult ShiftCodesUp(const QSqlDatabase& db, const QString& first, const QString& last,
                      int count) {
    int staffMoved = 0;
    if (last.toInt() - first.toInt() + 1 != count)
        staffMoved = -1;
    else if (DbResult error = RotateStaffRun(db, first, last, &staffMoved))
        return error;
    // Every code of the run took the columns of the one below it only when none is missing.
    if (staffMoved != count)
        return DbError{DbErrorKind::Other, -1, 0,
                       QStringLiteral("expected %1 employee codes to move, found %2")
                           .arg(count)
                           .arg(staffMoved)};
    int itemsMoved = 0;
    return ShiftTable(db, QStringLiteral("S_ITEM"), first, last, &itemsMoved);
}

}  // namespace paysum
