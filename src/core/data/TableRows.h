#pragma once

#include "data/DbError.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

namespace paysum {

// Whole rows of a table, values by ordinal, for the bulk reads and writes of an import or an
// export.

// Every row a read gives, its values bound in order, each value as text.
DbResult ReadQueryRows(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                       QList<QStringList>* rows);
// The same, each row handed to `take` as it is read rather than all kept.
DbResult ForEachQueryRow(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                         const std::function<void(QStringList&&)>& take);

// Every row of `table` in the order the rows were stored, or in `orderBy` (a column list of ours,
// never typed text) when given.
DbResult ReadRows(const QSqlDatabase& db, const QString& table, QList<QStringList>* rows,
                  const QString& orderBy = {});

// Appends the rows to `table` with one prepared statement, each value checked against its column
// width first (FieldTooLong, nothing written of that row). Runs inside the caller's transaction;
// `progress`, when given, is told the number of rows written so far.
DbResult InsertRows(const QSqlDatabase& db, const QString& table, const QList<QStringList>& rows,
                    const std::function<void(int)>& progress = {});

// Writes the rows over those of `table` with the same key, its first column, as InsertRows()
// writes new ones: values by ordinal, each checked, inside the caller's transaction.
DbResult UpdateRowsByKey(const QSqlDatabase& db, const QString& table,
                         const QList<QStringList>& rows,
                         const std::function<void(int)>& progress = {});

}  // namespace paysum
