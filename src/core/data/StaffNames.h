#pragma once

#include "data/DbError.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

namespace paysum {

// The employees' names held in memory, so that a search by part of a name answers a keystroke
// without SQLite testing every name: read once for a connection and again whenever the file
// changed. A name holds a text as NameHoldsCondition() has it.

// Reads the names into memory now unless they are held already, so that the first search finds
// them there; a failure is the search's to report.
void HoldStaffNames(const QSqlDatabase& db);

// The codes of the employees whose names hold `text`, in code order.
DbResult CodesWhoseNamesHold(const QSqlDatabase& db, const QString& text, QStringList* codes);

// For a paged read of `table` that `where` (with `parameters`) admits in the order of
// `orderColumn`: what gives the order values of the rows admitted from the names in memory,
// when the read is the search by name; empty for any other read.
std::function<DbResult(QStringList*)> OrderValuesFromMemory(const QString& databasePath,
                                                            const QString& table,
                                                            const QString& where,
                                                            const QVariantList& parameters,
                                                            const QString& orderColumn);

}  // namespace paysum
