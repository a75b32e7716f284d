#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>

#include <optional>

struct sqlite3;

namespace paysum {

// SQLite's own handle of a connection through Qt's driver, or null when it has none.
sqlite3* Handle(const QSqlDatabase& db);

// What tells, cheaply, whether the rows of a file may have changed since it was taken: the rows
// written through this connection (sqlite3_total_changes) and the commits of any other
// (PRAGMA data_version, which a change of schema by another connection moves too).
struct FileStamp {
    const sqlite3* handle = nullptr;
    qint64 ownChanges = 0;
    qint64 otherCommits = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of the file as `db` sees it now; none when it cannot be told.
std::optional<FileStamp> StampNow(const QSqlDatabase& db);
// The rows this connection has written in all, 0 when it cannot be told.
qint64 OwnChanges(const QSqlDatabase& db);

// The row counts made through one connection, each given again while the file is unchanged: no
// write through this connection since (sqlite3_total_changes), none committed through any other
// (PRAGMA data_version), no change of schema, the connection not reopened. Inside a transaction
// the rows are always counted, since a rollback would undo what was counted; the counts made
// there are kept for after it only when it commits.
class RowCountCache {
public:
    // Where a count about to be made is to be kept, taken before the rows are counted: a commit
    // in between makes the count newer than its version, so that it is merely counted again next
    // time, never kept stale.
    struct Slot {
        bool keep = false;
        bool inTransaction = false;
        std::optional<int> kept;  // the count kept already, when the file is unchanged
    };

    // A fresh cache for a connection just opened (`open`) or that failed to open.
    explicit RowCountCache(bool open = false);

    // The count of `key` (the statement and its bound values), when one is kept for the file as
    // `db` sees it now, and where a count made now goes.
    Slot Find(const QSqlDatabase& db, const QString& key);
    // Keeps the count of `key` made after Find() gave `slot`.
    void Keep(const Slot& slot, const QString& key, int count);

    // Which opening of the connection the cache belongs to: a reopened connection has another.
    quint64 Opening() const { return opening_; }

    // A transaction of ours began, or ended committed or rolled back.
    void TransactionBegun();
    void TransactionEnded(bool committed);

private:
    // What tells whether a file has changed since a count: the opening of the connection, the
    // rows this connection has written, the commits of other connections and the schema.
    struct FileVersion {
        quint64 opening = 0;
        const sqlite3* handle = nullptr;
        qint64 ownChanges = 0;
        qint64 otherCommits = 0;
        qint64 schema = 0;
        bool operator==(const FileVersion&) const = default;
    };
    std::optional<FileVersion> VersionNow(const QSqlDatabase& db) const;

    quint64 opening_ = 0;  // which opening of the connection, 0 while it is closed
    std::optional<FileVersion> version_;
    QHash<QString, int> counts_;
    // Counts made inside the transaction in progress, kept only when it commits with the file
    // still at `pendingVersion_`.
    bool inTransaction_ = false;
    std::optional<FileVersion> pendingVersion_;
    QHash<QString, int> pending_;
};

// The cache of a connection that Connection() opened; nullptr for any other.
RowCountCache* RowCountCacheOf(const QSqlDatabase& db);
// Starts a fresh cache for the connection named `name`, or drops every cache.
void ResetRowCountCache(const QString& name, bool open);
void DropRowCountCaches();

}  // namespace paysum
