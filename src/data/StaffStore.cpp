#include "data/StaffStore.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlQuery>

namespace paysum {

namespace {

// Codes that are five ASCII digits: among them text order is numeric order.
const QString kFiveDigits =
    QStringLiteral("length(ID) = 5 AND ID GLOB '[0-9][0-9][0-9][0-9][0-9]'");

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

}  // namespace

QString StaffSelectAll() {
    return QStringLiteral("select * from S_STAFF order by ID");
}

QString StaffSelectByPrefix() {
    return QStringLiteral("select * from S_STAFF where ID >= ? and ID < ? order by ID");
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
    QSqlQuery query(db);
    if (!RunQuery(query,
                  QStringLiteral("SELECT ID FROM %1 WHERE ID BETWEEN ? AND ? AND %2 ORDER BY ID")
                      .arg(table, kFiveDigits),
                  {code, last}))
        return ToDbError(query.lastError());
    while (query.next()) {
        const QString next = query.value(0).toString();
        if (consecutive && !codes->isEmpty() && next.toInt() != codes->last().toInt() + 1)
            break;
        codes->append(next);
    }
    if (query.lastError().isValid())
        return ToDbError(query.lastError());
    return std::nullopt;
}

DbResult ShiftCodesUp(const QSqlDatabase& db, const QString& first, const QString& last,
                      int count) {
    int staffMoved = 0;
    if (DbResult error = ShiftTable(db, QStringLiteral("S_STAFF"), first, last, &staffMoved))
        return error;
    if (staffMoved != count)
        return DbError{DbErrorKind::Other, -1, 0,
                       QStringLiteral("expected %1 employee codes to move, found %2")
                           .arg(count)
                           .arg(staffMoved)};
    int itemsMoved = 0;
    return ShiftTable(db, QStringLiteral("S_ITEM"), first, last, &itemsMoved);
}

}  // namespace paysum
