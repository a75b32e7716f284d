#pragma once

#include "data/DbError.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace paysum {

// The open connection to the database file at `path`, opened on first use. The file is never
// created: a missing file gives a connection that is not open.
QSqlDatabase Connection(const QString& path);

// Closes every connection, so that the files can be copied or replaced.
void CloseAllConnections();

// Opens a connection that is not kept, for a file that is to be examined once (a backup to be
// restored, a file at start-up); `name` must be unique while it is in use.
QSqlDatabase OpenUncached(const QString& path, const QString& name);

// Runs one statement with bound values; `changed`, when given, gets the number of rows it
// changed.
DbResult Execute(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {},
                 int* changed = nullptr);

// True when SQLite finds the file a sound database (PRAGMA quick_check); on failure `error`
// tells why.
bool QuickCheck(const QSqlDatabase& db, DbError* error = nullptr);

// The bound value for `column LIKE ? ESCAPE '\'` that matches texts beginning with `prefix`,
// taken literally: %, _ and \ in it match only themselves.
QString LikePrefix(const QString& prefix);

// A transaction that rolls back unless it is committed: construct, do the work, Commit().
class Transaction {
public:
    explicit Transaction(const QSqlDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    [[nodiscard]] DbResult Commit();

private:
    QSqlDatabase db_;
    bool active_ = false;
    DbResult beginError_;
};

}  // namespace paysum
