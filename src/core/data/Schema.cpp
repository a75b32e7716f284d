#include "data/Schema.h"

#include "data/Database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

namespace paysum {

namespace {

using schema::kTables;

QString CreateTableSql(const TableDef& table) {
    QStringList columns;
    for (const ColumnDef& column : table.columns) {
        columns << (column.type == ColumnType::Integer
                        ? QStringLiteral("%1 INTEGER NOT NULL")
                        : QStringLiteral("%1 TEXT NOT NULL DEFAULT ''"))
                       .arg(QLatin1String(column.name));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(QLatin1String(table.name), columns.join(QStringLiteral(", ")));
}

// The statement that creates the index rows of a table are looked up by.
QString CreateLookupIndexSql(const TableDef& table) {
    return QStringLiteral("CREATE INDEX %1_%2 ON %1 (%2)")
        .arg(QLatin1String(table.name), QLatin1String(table.lookup));
}

// Creates the tables of the file that the versions after `from` added, with their indexes.
DbResult CreateTablesAfter(const QSqlDatabase& db, DatabaseFile file, int from, int upTo) {
    for (const TableDef& table : kTables) {
        if (table.file != file || table.version <= from || table.version > upTo)
            continue;
        if (DbResult error = Execute(db, CreateTableSql(table)))
            return error;
        if (table.key) {
            if (DbResult error = Execute(db, CreateKeyIndexSql(table)))
                return error;
        }
        if (table.lookup) {
            if (DbResult error = Execute(db, CreateLookupIndexSql(table)))
                return error;
        }
    }
    return std::nullopt;
}

// Every object of a database's schema with the statement that made it, in a fixed order.
std::optional<QStringList> SchemaObjects(const QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral(
            "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name")))
        return std::nullopt;
    QStringList objects;
    while (query.next()) {
        objects << QStringList{query.value(0).toString(), query.value(1).toString(),
                               query.value(2).toString(), query.value(3).toString()}
                       .join(u'\n');
    }
    return objects;
}

// The schema objects of a new database of the file at a schema version, as SchemaObjects() reads
// them from one that CreateTablesAfter() made: SQLite keeps each statement's text as it was given,
// so they are the same texts, made here without opening a database.
QStringList OwnSchemaObjects(DatabaseFile file, int version) {
    struct Object {
        QString type;
        QString name;
        QString table;
        QString sql;
    };
    std::vector<Object> objects;
    for (const TableDef& table : kTables) {
        if (table.file != file || table.version > version)
            continue;
        const QString name = QLatin1String(table.name);
        objects.push_back({QStringLiteral("table"), name, name, CreateTableSql(table)});
        if (table.key)
            objects.push_back(
                {QStringLiteral("index"), KeyIndexName(table), name, CreateKeyIndexSql(table)});
        if (table.lookup)
            objects.push_back({QStringLiteral("index"), name + u'_' + QLatin1String(table.lookup),
                               name, CreateLookupIndexSql(table)});
    }
    // In SchemaObjects()' order: by type, then name, as SQLite compares texts (the names are
    // ASCII, so as QString does).
    std::sort(objects.begin(), objects.end(), [](const Object& a, const Object& b) {
        return a.type != b.type ? a.type < b.type : a.name < b.name;
    });
    QStringList texts;
    for (const Object& object : objects)
        texts << QStringList{object.type, object.name, object.table, object.sql}.join(u'\n');
    return texts;
}

bool IsSchemaOf(const QSqlDatabase& db, DatabaseFile file, int version) {
    return SchemaObjects(db) == OwnSchemaObjects(file, version);
}

}  // namespace

std::span<const TableDef> Tables() {
    return kTables;
}

const TableDef* FindTable(QStringView name) {
    for (const TableDef& table : kTables) {
        if (name.compare(QLatin1String(table.name), Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

QString KeyIndexName(const TableDef& table) {
    return QLatin1String(table.name) + u'_' + QLatin1String(table.key);
}

QString CreateKeyIndexSql(const TableDef& table) {
    return QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
        .arg(KeyIndexName(table), QLatin1String(table.name), QLatin1String(table.key));
}

int ColumnWidth(QStringView table, QStringView column) {
    const TableDef* def = FindTable(table);
    if (!def)
        return -1;
    for (const ColumnDef& c : def->columns) {
        if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.width;
    }
    return -1;
}

DbResult CreateTables(const QSqlDatabase& db, DatabaseFile file) {
    Transaction transaction(db);
    if (DbResult error = transaction.BeginError())
        return error;
    if (DbResult error = CreateTablesAfter(db, file, 0, kSchemaVersion))
        return error;
    return transaction.Commit();
}

bool HasTable(const QSqlDatabase& db, const char* table) {
    QSqlQuery query(db);
    return RunQuery(query,
                    QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"),
                    {QLatin1String(table)}) &&
           query.next();
}

bool HasSchema(const QSqlDatabase& db, DatabaseFile file) {
    // A later version's tables hold data that belongs together (runs and their transfers): all of
    // them or none.
    for (int version = 2; version <= kSchemaVersion; ++version) {
        int tables = 0;
        int found = 0;
        for (const TableDef& table : kTables) {
            if (table.file == file && table.version == version) {
                ++tables;
                found += HasTable(db, table.name) ? 1 : 0;
            }
        }
        if (found != 0 && found != tables)
            return false;
    }
    for (const TableDef& table : kTables) {
        if (table.file != file || (table.version > 1 && !HasTable(db, table.name)))
            continue;
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(table.name))))
            return false;
        std::size_t ordinal = 0;
        while (query.next()) {
            if (ordinal >= table.columns.size() ||
                query.value(1).toString() != QLatin1String(table.columns[ordinal].name))
                return false;
            ++ordinal;
        }
        if (ordinal != table.columns.size())
            return false;
    }
    return true;
}

bool HasExactSchema(const QSqlDatabase& db, DatabaseFile file) {
    return IsSchemaOf(db, file, kSchemaVersion);
}

DbResult UpgradeSchema(const QSqlDatabase& db, DatabaseFile file) {
    if (HasExactSchema(db, file))
        return std::nullopt;
    for (int version = 1; version < kSchemaVersion; ++version) {
        if (!IsSchemaOf(db, file, version))
            continue;
        Transaction transaction(db);
        if (DbResult error = transaction.BeginError())
            return error;
        if (DbResult error = CreateTablesAfter(db, file, version, kSchemaVersion))
            return error;
        return transaction.Commit();
    }
    return std::nullopt;
}

}  // namespace paysum
