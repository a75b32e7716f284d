#pragma once

#include "data/DbError.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlQuery;

namespace paysum {

// The open connection to the database file at `path`, opened on first use. The file is never
// created: a missing file gives a connection that is not open.
QSqlDatabase Connection(const QString& path);

// Closes every connection, so that the files can be copied or replaced.
void CloseAllConnections();

// A connection of its own to a database file, closed when it goes out of scope, for a file that
// is created, examined or copied once. Read-only never changes the file, whatever lies beside it;
// Create makes the file when it is missing.
class ScopedConnection {
public:
    enum class Access { ReadOnly, Create };
    ScopedConnection(const QString& path, Access access);
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;

    // Use the handle only while the connection lives.
    QSqlDatabase Handle() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};

// Prepares a read, binds `values` in order and runs it, rows to be read forward; false on any
// failure, the reason in query.lastError().
bool RunQuery(QSqlQuery& query, const QString& sql, const QVariantList& values);

// Counts the rows of `table` that `where` admits (empty for all, else a condition with `?` for
// `values`). On a connection of Connection() the count is kept in its RowCountCache and given
// again while the file is unchanged.
DbResult CountRows(const QSqlDatabase& db, const QString& table, const QString& where,
                   const QVariantList& values, int* count);

// Runs one statement with bound values; `changed`, when given, gets the number of rows it
// changed, and `inserted` the rowid of the row it inserted.
DbResult Execute(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {},
                 int* changed = nullptr, qint64* inserted = nullptr);

// Asks SQLite whether the file is a sound database: the quick check (PRAGMA quick_check) or the
// full one (PRAGMA integrity_check). Empty when it is.
enum class IntegrityCheck { Quick, Full };
DbResult CheckIntegrity(const QSqlDatabase& db, IntegrityCheck check);

// The bound values for `key >= ? AND key < ?` that match the keys beginning with `prefix`,
// taken literally; an empty prefix matches every key.
QVariantList KeyPrefixRange(const QString& prefix);

// Whether a transaction is open on the connection.
bool InTransaction(const QSqlDatabase& db);

// A transaction that rolls back unless it is committed: construct, check BeginError(), do the
// work, Commit(). Row counts made inside it are kept for after it only when it commits.
class Transaction {
public:
    explicit Transaction(const QSqlDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Why the transaction could not begin, empty when it did. Nothing may be written then: the
    // writes would land outside any transaction (or in another one) and stay.
    [[nodiscard]] DbResult BeginError() const { return beginError_; }
    [[nodiscard]] DbResult Commit();

private:
    void EndKeepingCounts(bool committed);

    QSqlDatabase db_;
    bool active_ = false;
    DbResult beginError_;
};

}  // namespace paysum
