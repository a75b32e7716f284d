#include "data/TableRows.h"

#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "data/Schema.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace paysum {

DbResult ReadQueryRows(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                       QList<QStringList>* rows) {
    rows->clear();
    QSqlQuery query(db);
    if (!RunQuery(query, sql, values))
        return ToDbError(query.lastError());
    // The record describes every column anew each time it is asked for; once is enough.
    const int columns = query.record().count();
    while (query.next()) {
        QStringList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << query.value(i).toString();
        rows->append(std::move(row));
    }
    if (query.lastError().isValid())
        return ToDbError(query.lastError());
    return std::nullopt;
}

DbResult ReadRows(const QSqlDatabase& db, const QString& table, QList<QStringList>* rows,
                  const QString& orderBy) {
    rows->clear();
    const TableDef* def = FindTable(table);
    if (!def)
        return DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no table ") + table};
    return ReadQueryRows(db,
                         QStringLiteral("SELECT * FROM ") + QLatin1String(def->name) +
                             QStringLiteral(" ORDER BY ") +
                             (orderBy.isEmpty() ? QStringLiteral("rowid") : orderBy),
                         {}, rows);
}

namespace {

// Writes each row with one prepared statement that binds a row's values in `order` (ordinals of
// the table's columns), each checked against its column width first.
DbResult WriteRows(const QSqlDatabase& db, const TableDef& def, const QString& sql,
                   const std::vector<int>& order, const QList<QStringList>& rows,
                   const std::function<void(int)>& progress) {
    if (rows.isEmpty())
        return std::nullopt;
    return WriteTable(db, QLatin1String(def.name), [&]() -> DbResult {
        QSqlQuery query(db);
        if (!query.prepare(sql))
            return ToDbError(query.lastError());
        int written = 0;
        for (const QStringList& row : rows) {
            for (int bound = 0; bound < static_cast<int>(order.size()); ++bound) {
                const int i = order[static_cast<std::size_t>(bound)];
                const QString value = i < row.size() ? row[i] : QString();
                if (value.toUcs4().size() > def.columns[i].width)
                    return DbError{DbErrorKind::FieldTooLong, i, 0,
                                   QStringLiteral("%1 holds at most %2 characters")
                                       .arg(QLatin1String(def.columns[i].name))
                                       .arg(def.columns[i].width)};
                query.bindValue(bound, value.isNull() ? QStringLiteral("") : value);
            }
            if (!query.exec())
                return ToDbError(query.lastError());
            ++written;
            if (progress)
                progress(written);
        }
        return std::nullopt;
    });
}

}  // namespace

DbResult InsertRows(const QSqlDatabase& db, const QString& table, const QList<QStringList>& rows,
                    const std::function<void(int)>& progress) {
    const TableDef* def = FindTable(table);
    if (!def)
        return DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no table ") + table};
    QStringList columns;
    QStringList marks;
    std::vector<int> order;
    for (const ColumnDef& column : def->columns) {
        order.push_back(static_cast<int>(order.size()));
        columns << QLatin1String(column.name);
        marks << QStringLiteral("?");
    }
    return WriteRows(db, *def,
                     QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(QLatin1String(def->name), columns.join(u','), marks.join(u',')),
                     order, rows, progress);
}

DbResult UpdateRowsByKey(const QSqlDatabase& db, const QString& table,
                         const QList<QStringList>& rows, const std::function<void(int)>& progress) {
    const TableDef* def = FindTable(table);
    if (!def)
        return DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no table ") + table};
    QStringList assignments;
    std::vector<int> order;
    for (int i = 1; i < static_cast<int>(def->columns.size()); ++i) {
        order.push_back(i);
        assignments << QStringLiteral("%1 = ?").arg(QLatin1String(def->columns[i].name));
    }
    order.push_back(0);
    return WriteRows(db, *def,
                     QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                         .arg(QLatin1String(def->name), assignments.join(u", "),
                              QLatin1String(def->columns[0].name)),
                     order, rows, progress);
}

}  // namespace paysum
