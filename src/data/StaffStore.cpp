#include "data/StaffStore.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlQuery>

namespace paysum {

namespace {

// Codes that are five ASCII digits: among them text order is numeric order.
const QString kFiveDigits =
    QStringLiteral("length(ID) = 5 AND ID GLOB '[0-9][0-9][0-9][0-9][0-9]'");

// Moves the codes of one table up by one. SQLite would check the key row by row within the
// UPDATE, and a code moving onto the next one up would clash with it; so the key index is dropped
// for the move and created again after it, which checks that every code is still unique.
DbResult ShiftTable(const QSqlDatabase& db, const QString& table, const QString& first,
                    const QString& last, int* changed) {
    const TableDef* def = FindTable(table);
    if (DbResult error = Execute(db, QStringLiteral("DROP INDEX ") + KeyIndexName(*def)))
        return error;
    // Built by concatenation: QString::arg() would take the "%05d" of printf for a place marker.
    const QString increment =
        QStringLiteral("UPDATE ") + table +
        QStringLiteral(
            " SET ID = printf('%05d', CAST(ID AS INTEGER) + 1) WHERE ID BETWEEN ? AND ? "
            "AND ") +
        kFiveDigits;
    if (DbResult error = Execute(db, increment, {first, last}, changed))
        return error;
    return Execute(db, CreateKeyIndexSql(*def));
}

}  // namespace

QString StaffSelectAll() {
    return QStringLiteral("select * from S_STAFF order by ID");
}

QString StaffSelectByPrefix() {
    return QStringLiteral("select * from S_STAFF where ID like ? escape '\\' order by ID");
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
    return QStringLiteral("select * from S_ITEM where ID like ? escape '\\' order by ID");
}

DbResult NextTemporaryCode(const QSqlDatabase& db, QString* code) {
    code->clear();
    // The taken temporary codes in order, each beside the one before it (90000 before the
    // first): the first that does not follow its predecessor marks the gap.
    const QString sql = QStringLiteral(
                            "SELECT COALESCE((SELECT previous + 1 FROM ("
                            "  SELECT CAST(ID AS INTEGER) AS number,"
                            "         LAG(CAST(ID AS INTEGER), 1, ?) OVER (ORDER BY ID) AS previous"
                            "  FROM S_STAFF WHERE ID BETWEEN ? AND ? AND ") +
                        kFiveDigits +
                        QStringLiteral(
                            ") WHERE number > previous + 1 LIMIT 1),"
                            " (SELECT COALESCE(MAX(CAST(ID AS INTEGER)), ?) + 1 FROM S_STAFF"
                            "  WHERE ID BETWEEN ? AND ? AND ") +
                        kFiveDigits + QStringLiteral("))");
    const QString first = QString::number(kFirstTemporaryCode);
    const QString last = QString::number(kLastTemporaryCode);
    const int before = kFirstTemporaryCode - 1;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return ToDbError(query.lastError());
    for (const QVariant& value : {QVariant(before), QVariant(first), QVariant(last),
                                  QVariant(before), QVariant(first), QVariant(last)})
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        return ToDbError(query.lastError());
    const int next = query.value(0).toInt();
    if (next <= kLastTemporaryCode)
        *code = QString::number(next);
    return std::nullopt;
}

DbResult ReadCodesFrom(const QSqlDatabase& db, const QString& table, const QString& code,
                       QStringList* codes) {
    codes->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT ID FROM %1 WHERE ID >= ? AND %2 ORDER BY ID")
                           .arg(table, kFiveDigits)))
        return ToDbError(query.lastError());
    query.addBindValue(code);
    if (!query.exec())
        return ToDbError(query.lastError());
    while (query.next())
        codes->append(query.value(0).toString());
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
