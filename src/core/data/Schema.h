#pragma once

#include "data/DbError.h"
#include "data/SchemaTable.h"

#include <QString>

class QSqlDatabase;

namespace paysum {

// The unique index that keeps the key column of a table with a key, and the statement that
// creates it.
QString KeyIndexName(const TableDef& table);
QString CreateKeyIndexSql(const TableDef& table);

// Every table of both files, with its columns in ordinal order and their widths.
std::span<const TableDef> Tables();

// The table of that name (case-insensitive), or nullptr.
const TableDef* FindTable(QStringView name);

// The width of a column in characters, or -1 when the table or column is unknown
// (case-insensitive, for names read at run time; see SchemaTable.h for names in the code).
int ColumnWidth(QStringView table, QStringView column);

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
