#include "data/RowCountCache.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace paysum {

namespace {

// Counts kept for one connection, all made while the file was at one version.
constexpr int kMostKeptCounts = 64;

quint64 NextOpening() {
    static quint64 openings = 0;
    return ++openings;
}

std::optional<sqlite3_int64> PragmaValue(sqlite3* handle, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    std::optional<sqlite3_int64> value;
    if (sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

// The cache of each connection that Connection() opened, by connection name.
QHash<QString, RowCountCache>& Caches() {
    static QHash<QString, RowCountCache> caches;
    return caches;
}

}  // namespace

sqlite3* Handle(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

std::optional<FileStamp> StampNow(const QSqlDatabase& db) {
    sqlite3* handle = Handle(db);
    if (!handle)
        return std::nullopt;
    const std::optional<sqlite3_int64> commits = PragmaValue(handle, "PRAGMA data_version");
    if (!commits)
        return std::nullopt;
    return FileStamp{handle, sqlite3_total_changes64(handle), *commits};
}

qint64 OwnChanges(const QSqlDatabase& db) {
    sqlite3* handle = Handle(db);
    return handle ? sqlite3_total_changes64(handle) : 0;
}

RowCountCache::RowCountCache(bool open) : opening_(open ? NextOpening() : 0) {}

std::optional<RowCountCache::FileVersion> RowCountCache::VersionNow(const QSqlDatabase& db) const {
    sqlite3* handle = Handle(db);
    if (!handle || opening_ == 0)
        return std::nullopt;
    FileVersion version;
    version.opening = opening_;
    version.handle = handle;
    version.ownChanges = sqlite3_total_changes64(handle);
    const std::optional<sqlite3_int64> commits = PragmaValue(handle, "PRAGMA data_version");
    const std::optional<sqlite3_int64> schema = PragmaValue(handle, "PRAGMA schema_version");
    if (!commits || !schema)
        return std::nullopt;
    version.otherCommits = *commits;
    version.schema = *schema;
    return version;
}

RowCountCache::Slot RowCountCache::Find(const QSqlDatabase& db, const QString& key) {
    Slot slot;
    sqlite3* handle = Handle(db);
    slot.inTransaction = handle && !sqlite3_get_autocommit(handle);
    // In a transaction that is not one of ours nothing is known of how it will end.
    if (slot.inTransaction && !inTransaction_)
        return slot;
    const std::optional<FileVersion> version = VersionNow(db);
    if (!version)
        return slot;
    if (slot.inTransaction) {
        if (pendingVersion_ != version) {
            pendingVersion_ = version;
            pending_.clear();
        }
    } else {
        if (version_ != version) {
            version_ = version;
            counts_.clear();
        }
        if (const auto found = counts_.constFind(key); found != counts_.cend())
            slot.kept = *found;
    }
    slot.keep = true;
    return slot;
}

void RowCountCache::Keep(const Slot& slot, const QString& key, int count) {
    if (!slot.keep)
        return;
    QHash<QString, int>& into = slot.inTransaction ? pending_ : counts_;
    if (into.size() >= kMostKeptCounts)
        into.clear();
    into.insert(key, count);
}

void RowCountCache::TransactionBegun() {
    inTransaction_ = true;
    pendingVersion_.reset();
    pending_.clear();
}

void RowCountCache::TransactionEnded(bool committed) {
    if (!inTransaction_)
        return;
    // The counts keep the version they were made at, which the commit leaves as it is: a count
    // made before a later write of the transaction never matches again. Only a rollback, which
    // takes the rows back without changing the version, must drop them.
    if (committed && pendingVersion_) {
        if (version_ != pendingVersion_) {
            version_ = pendingVersion_;
            counts_.clear();
        }
        counts_.insert(pending_);
    }
    inTransaction_ = false;
    pendingVersion_.reset();
    pending_.clear();
}

RowCountCache* RowCountCacheOf(const QSqlDatabase& db) {
    const auto found = Caches().find(db.connectionName());
    return found == Caches().end() ? nullptr : &*found;
}

void ResetRowCountCache(const QString& name, bool open) {
    Caches()[name] = RowCountCache(open);
}

void DropRowCountCaches() {
    Caches().clear();
}

}  // namespace paysum
