#pragma once

#include "data/DbError.h"

#include <QString>

#include <span>

class QSqlDatabase;

namespace paysum {

// The two database files of the program.
enum class DatabaseFile { Main, Branch };

// Every column holds text except a pay run's number.
enum class ColumnType { Text, Integer };

struct ColumnDef {
    const char* name;
    int width;  // characters
    ColumnType type = ColumnType::Text;
};

// The first version of the main database held only the tables of version 1; a database or a
// backup from then lacks the later tables and is brought up to date when it is opened or restored.
inline constexpr int kSchemaVersion = 2;

struct TableDef {
    const char* name;
    DatabaseFile file;
    std::span<const ColumnDef> columns;
    const char* key;               // the column that no two rows share, or nullptr
    int version = 1;               // the schema version that added the table
    const char* lookup = nullptr;  // a column rows are looked up by, kept in an index
};

// The unique index that keeps the key column of a table with a key, and the statement that
// creates it.
QString KeyIndexName(const TableDef& table);
QString CreateKeyIndexSql(const TableDef& table);

// Every table of both files, with its columns in ordinal order and their widths.
std::span<const TableDef> Tables();

// The table of that name (case-insensitive), or nullptr.
const TableDef* FindTable(const QString& name);

// The width of a column in characters, or -1 when the table or column is unknown.
int ColumnWidth(const QString& table, const QString& column);

// Creates every table of the file in an empty database.
DbResult CreateTables(const QSqlDatabase& db, DatabaseFile file);

// True when the database holds every table of the file with exactly its columns in order; the
// tables a version after 1 added may be missing, all of them together.
bool HasSchema(const QSqlDatabase& db, DatabaseFile file);

// True when the database has a table of that name.
bool HasTable(const QSqlDatabase& db, const char* table);

// True when the database's schema is exactly the one CreateTables() makes for the file: the same
// tables, columns, types, defaults and key indexes, and nothing else (no trigger, view or other
// table or index).
bool HasExactSchema(const QSqlDatabase& db, DatabaseFile file);

// Adds the tables a database of an earlier version lacks, in one transaction, when its schema is
// exactly that version's; a database of the current schema, or of any other, is left alone.
DbResult UpgradeSchema(const QSqlDatabase& db, DatabaseFile file);

}  // namespace paysum
