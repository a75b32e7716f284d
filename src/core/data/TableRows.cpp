#include "data/TableRows.h"

#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "data/RowCountCache.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <memory>

#include <sqlite3.h>

namespace paysum {

namespace {

// The error the Qt driver reports for a statement that failed to prepare, bind or step: SQLite's
// message, then the driver's words for what failed.
DbError StatementError(sqlite3* handle, int code, const char* what) {
    return ToDbError(
        QSqlError(QCoreApplication::translate("QSQLiteResult", what),
                  QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(handle))),
                  QSqlError::StatementError, QString::number(code)));
}

// Whether the Qt driver binds the value as this file does below: texts, bytes, signed whole
// numbers, truth values and decimals, NULL for a null text or an empty variant; other kinds (dates,
// times, unsigned 64-bit numbers, which it binds as text) go through the driver.
bool BindsDirectly(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::QString:
        case QMetaType::QByteArray:
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return true;
        default:
            return false;
    }
}

// Binds a value as the Qt driver does: null as NULL, whole numbers and truth values as integers,
// bytes as a blob, a text as its text.
int BindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
            return sqlite3_bind_int64(statement, index, value.toLongLong());
        case QMetaType::Double:
            return sqlite3_bind_double(statement, index, value.toDouble());
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            if (bytes.isNull())
                return sqlite3_bind_null(statement, index);
            return sqlite3_bind_blob(statement, index, bytes.constData(),
                                     static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        }
        case QMetaType::QString: {
            const QString text = value.toString();
            if (text.isNull())
                return sqlite3_bind_null(statement, index);
            return sqlite3_bind_text16(statement, index, text.utf16(),
                                       static_cast<int>(text.size() * sizeof(QChar)),
                                       SQLITE_TRANSIENT);
        }
        default:
            return sqlite3_bind_null(statement, index);
    }
}

// A column's value as text, as QSqlQuery::value(i).toString() gives it: NULL as a null text.
// Texts of ASCII alone are taken as they are; others as SQLite converts them, which is how the
// Qt driver reads every text.
QString ColumnText(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return QString::number(sqlite3_column_int64(statement, column));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(statement, column)).toString();
        case SQLITE_BLOB:
            return QString::fromUtf8(
                static_cast<const char*>(sqlite3_column_blob(statement, column)),
                sqlite3_column_bytes(statement, column));
        default:
            break;
    }
    const auto* bytes = sqlite3_column_text(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    if (std::all_of(bytes, bytes + size, [](unsigned char byte) { return byte < 0x80; }))
        return QString::fromLatin1(reinterpret_cast<const char*>(bytes), size);
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, column));
    return QString::fromUtf16(text, sqlite3_column_bytes16(statement, column) / 2);
}

// ForEachQueryRow() through the Qt driver: for a connection whose SQLite handle is not at hand,
// and for what the driver binds or refuses in its own way.
DbResult ForEachQueryRowThroughQt(const QSqlDatabase& db, const QString& sql,
                                  const QVariantList& values,
                                  const std::function<void(QStringList&&)>& take) {
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
        take(std::move(row));
    }
    if (query.lastError().isValid())
        return ToDbError(query.lastError());
    return std::nullopt;
}

}  // namespace

DbResult ReadQueryRows(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                       QList<QStringList>* rows) {
    rows->clear();
    return ForEachQueryRow(db, sql, values,
                           [rows](QStringList&& row) { rows->append(std::move(row)); });
}

DbResult ForEachQueryRow(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                         const std::function<void(QStringList&&)>& take) {
    // Straight from SQLite: the driver would convert every text to UTF-16 inside SQLite and keep
    // each row in variants, several times the work of reading the rows themselves.
    sqlite3* handle = db.isOpen() ? Handle(db) : nullptr;
    if (!handle || !std::all_of(values.begin(), values.end(), BindsDirectly))
        return ForEachQueryRowThroughQt(db, sql, values, take);
    sqlite3_stmt* prepared = nullptr;
    const void* tail = nullptr;
    const int made = sqlite3_prepare16_v2(
        handle, sql.utf16(), static_cast<int>(sql.size() * sizeof(QChar)), &prepared, &tail);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(prepared, sqlite3_finalize);
    if (made != SQLITE_OK)
        return StatementError(handle, made, "Unable to execute statement");
    // What the driver refuses in its own words (no statement, more than one, values that do not
    // match the placeholders) is left to it.
    const auto* end = reinterpret_cast<const char16_t*>(sql.utf16()) + sql.size();
    const auto* rest = tail ? static_cast<const char16_t*>(tail) : end;
    if (!prepared || !QStringView(rest, end).trimmed().isEmpty() ||
        sqlite3_bind_parameter_count(prepared) != values.size()) {
        statement.reset();
        return ForEachQueryRowThroughQt(db, sql, values, take);
    }
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (const int bound = BindValue(prepared, static_cast<int>(i + 1), values[i]);
            bound != SQLITE_OK)
            return StatementError(handle, bound, "Unable to bind parameters");
    }
    const int columns = sqlite3_column_count(prepared);
    for (;;) {
        const int step = sqlite3_step(prepared);
        if (step == SQLITE_DONE)
            return std::nullopt;
        if (step != SQLITE_ROW)
            return StatementError(handle, step, "Unable to fetch row");
        QStringList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << ColumnText(prepared, i);
        take(std::move(row));
    }
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
