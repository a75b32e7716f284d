#include "data/Schema.h"

#include "data/Database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <optional>

namespace paysum {

namespace {

constexpr ColumnDef kBaseColumns[] = {
    {"BRNO", 3},    // transfer branch number, the three digits after 004
    {"CNAME", 50},  // company name
    {"CUSTNO", 3},  // customer code given by the branch
    {"UNINO", 8},   // unified business number
    {"SIGN1", 50},  // sign-off line 1, first half
    {"SIGN2", 50},  // sign-off line 1, second half
    {"SIGN3", 50},  // sign-off line 2
};

constexpr ColumnDef kStaffColumns[] = {
    {"ID", 5}, {"ACTNO", 12}, {"PAYSUM", 12}, {"NAME", 30}, {"AT", 8},
};

constexpr ColumnDef kItemColumns[] = {
    {"ID", 5}, {"ACTNO", 12}, {"PAYSUM", 12}, {"NAME", 30}, {"AT", 8}, {"MARK", 50},
};

constexpr ColumnDef kDayColumns[] = {{"LDATE", 6}, {"TDATE", 6}};

constexpr ColumnDef kPresetColumns[] = {
    {"NO1", 50}, {"NO2", 50}, {"NO3", 50}, {"NO4", 50}, {"NO5", 50},
    {"NO6", 50}, {"NO7", 50}, {"NO8", 50}, {"NO9", 50}, {"NO10", 50},
};

constexpr ColumnDef kBankColumns[] = {{"BKBRNO", 7}, {"BNAME", 10}, {"FNAME", 60}};

constexpr TableDef kTables[] = {
    {"S_BASE", DatabaseFile::Main, kBaseColumns, nullptr},
    {"S_STAFF", DatabaseFile::Main, kStaffColumns, "ID"},
    {"S_ITEM", DatabaseFile::Main, kItemColumns, "ID"},
    {"S_DAY", DatabaseFile::Main, kDayColumns, nullptr},
    {"NNOO", DatabaseFile::Main, kPresetColumns, nullptr},
    {"RTBANK", DatabaseFile::Branch, kBankColumns, "BKBRNO"},
};

QString CreateTableSql(const TableDef& table) {
    QStringList columns;
    for (const ColumnDef& column : table.columns)
        columns << QStringLiteral("%1 TEXT NOT NULL DEFAULT ''").arg(QLatin1String(column.name));
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(QLatin1String(table.name), columns.join(QStringLiteral(", ")));
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

// The schema objects of a new database of the file, made once by the code that makes a new
// installation's.
QStringList OwnSchemaObjects(DatabaseFile file) {
    const ScopedConnection connection(QStringLiteral(":memory:"), ScopedConnection::Access::Create);
    const QSqlDatabase db = connection.Handle();
    if (CreateTables(db, file))
        return {};
    return SchemaObjects(db).value_or(QStringList{});
}

}  // namespace

std::span<const TableDef> Tables() {
    return kTables;
}

const TableDef* FindTable(const QString& name) {
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

int ColumnWidth(const QString& table, const QString& column) {
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
    for (const TableDef& table : kTables) {
        if (table.file != file)
            continue;
        if (DbResult error = Execute(db, CreateTableSql(table)))
            return error;
        if (table.key) {
            if (DbResult error = Execute(db, CreateKeyIndexSql(table)))
                return error;
        }
    }
    return transaction.Commit();
}

bool HasSchema(const QSqlDatabase& db, DatabaseFile file) {
    for (const TableDef& table : kTables) {
        if (table.file != file)
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
    static const QStringList main = OwnSchemaObjects(DatabaseFile::Main);
    static const QStringList branch = OwnSchemaObjects(DatabaseFile::Branch);
    const QStringList& own = file == DatabaseFile::Main ? main : branch;
    const std::optional<QStringList> objects = SchemaObjects(db);
    return !own.isEmpty() && objects && *objects == own;
}

}  // namespace paysum
