#include "data/Database.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

#include <optional>

namespace paysum {

namespace {

const QString kConnectionPrefix = QStringLiteral("paysum:");

// Counts kept for one connection, all made while the file was at one version.
constexpr int kMostKeptCounts = 64;

// What tells whether a file has changed since a count: the opening of the connection, the rows
// this connection has written, the commits of other connections and the schema.
struct FileVersion {
    quint64 opening = 0;
    const sqlite3* handle = nullptr;
    sqlite3_int64 ownChanges = 0;
    sqlite3_int64 otherCommits = 0;
    sqlite3_int64 schema = 0;
    bool operator==(const FileVersion&) const = default;
};

struct KeptCounts {
    quint64 opening = 0;  // which opening of the connection, 0 while it is closed
    std::optional<FileVersion> version;
    QHash<QString, int> counts;
    // Counts made inside the Transaction in progress (numbered `transaction`), kept only when it
    // commits with the file still at `pendingVersion`.
    quint64 transaction = 0;
    std::optional<FileVersion> pendingVersion;
    QHash<QString, int> pending;
};

// The kept counts of each connection that Connection() opened, by connection name.
QHash<QString, KeptCounts>& CountsByConnection() {
    static QHash<QString, KeptCounts> counts;
    return counts;
}

quint64 NextOpening() {
    static quint64 openings = 0;
    return ++openings;
}

quint64 NextTransaction() {
    static quint64 transactions = 0;
    return ++transactions;
}

// Nothing kept yet, for a connection just opened (or that failed to open).
KeptCounts NoneKept(bool open) {
    KeptCounts kept;
    kept.opening = open ? NextOpening() : 0;
    return kept;
}

KeptCounts* KeptCountsOf(const QSqlDatabase& db) {
    const auto kept = CountsByConnection().find(db.connectionName());
    return kept == CountsByConnection().end() ? nullptr : &*kept;
}

sqlite3* Handle(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
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

// The version of the file as a connection of Connection()'s sees it now; none when the connection
// is closed.
std::optional<FileVersion> VersionNow(const QSqlDatabase& db, const KeptCounts& kept) {
    sqlite3* handle = Handle(db);
    if (!handle || kept.opening == 0)
        return std::nullopt;
    FileVersion version;
    version.opening = kept.opening;
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

// Names a count by its statement and bound values.
QString CountKey(const QString& sql, const QVariantList& values) {
    QString key = sql;
    for (const QVariant& value : values) {
        const QString text = value.toString();
        key += QStringLiteral("\n%1:%2:").arg(value.typeId()).arg(text.size()) + text;
    }
    return key;
}

void OpenFile(QSqlDatabase& db, const QString& path) {
    // mode=rw makes SQLite refuse a missing file instead of creating an empty one.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.open();
}

}  // namespace

QSqlDatabase Connection(const QString& path) {
    const QString name = kConnectionPrefix + path;
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (!db.isOpen()) {
            db.open();
            CountsByConnection()[name] = NoneKept(db.isOpen());
        }
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    OpenFile(db, path);
    CountsByConnection()[name] = NoneKept(db.isOpen());
    return db;
}

void CloseAllConnections() {
    CountsByConnection().clear();
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (!name.startsWith(kConnectionPrefix))
            continue;
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

ScopedConnection::ScopedConnection(const QString& path, Access access)
    : name_(QStringLiteral("paysum-once:") + QUuid::createUuid().toString()) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    if (access == Access::ReadOnly)
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    db.setDatabaseName(path);
    db.open();
}

ScopedConnection::~ScopedConnection() {
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
}

bool RunQuery(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

DbResult CountRows(const QSqlDatabase& db, const QString& table, const QString& where,
                   const QVariantList& values, int* count) {
    if (!db.isOpen())
        return ToDbError(db.lastError());
    const QString sql = QStringLiteral("SELECT count(*) FROM ") + table +
                        (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
    const QString key = CountKey(sql, values);
    // The version is read before the rows are counted: a commit in between makes the count
    // newer than its version, so that it is merely counted again next time, never kept stale.
    KeptCounts* kept = KeptCountsOf(db);
    sqlite3* handle = Handle(db);
    const bool inTransaction = handle && !sqlite3_get_autocommit(handle);
    const std::optional<FileVersion> version =
        kept && (!inTransaction || kept->transaction) ? VersionNow(db, *kept) : std::nullopt;
    QHash<QString, int>* into = nullptr;
    if (version && !inTransaction) {
        if (kept->version != version) {
            kept->version = version;
            kept->counts.clear();
        }
        if (const auto found = kept->counts.constFind(key); found != kept->counts.cend()) {
            *count = *found;
            return std::nullopt;
        }
        into = &kept->counts;
    } else if (version) {
        // Inside a transaction a count is always made, and kept aside for its commit.
        if (kept->pendingVersion != version) {
            kept->pendingVersion = version;
            kept->pending.clear();
        }
        into = &kept->pending;
    }
    QSqlQuery query(db);
    if (!RunQuery(query, sql, values) || !query.next())
        return ToDbError(query.lastError());
    *count = query.value(0).toInt();
    if (into) {
        if (into->size() >= kMostKeptCounts)
            into->clear();
        into->insert(key, *count);
    }
    return std::nullopt;
}

DbResult Execute(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                 int* changed, qint64* inserted) {
    if (!db.isOpen())
        return ToDbError(db.lastError());
    QSqlQuery query(db);
    if (!RunQuery(query, sql, values))
        return ToDbError(query.lastError());
    if (changed)
        *changed = query.numRowsAffected();
    if (inserted)
        *inserted = query.lastInsertId().toLongLong();
    return std::nullopt;
}

DbResult CheckIntegrity(const QSqlDatabase& db, IntegrityCheck check) {
    if (!db.isOpen())
        return ToDbError(db.lastError());
    QSqlQuery query(db);
    if (!query.exec(check == IntegrityCheck::Quick ? QStringLiteral("PRAGMA quick_check")
                                                   : QStringLiteral("PRAGMA integrity_check")))
        return ToDbError(query.lastError());
    if (!query.next() || query.value(0).toString() != u"ok")
        return DbError{DbErrorKind::Other, -1, 0, query.value(0).toString()};
    return std::nullopt;
}

QVariantList KeyPrefixRange(const QString& prefix) {
    // Code points compare as their UTF-8 bytes do, which is how SQLite compares texts; the
    // keys beginning with the prefix lie between it and the prefix with its last code point
    // one higher.
    constexpr char32_t kHighest = 0x10FFFF;
    QList<uint> points = prefix.toUcs4();
    if (points.isEmpty())
        return {QStringLiteral(""), QString::fromUcs4(&kHighest, 1)};
    if (points.back() == kHighest) {
        points.append(kHighest);
    } else {
        ++points.back();
        if (points.back() == 0xD800)  // no texts hold surrogates; the next code point is after them
            points.back() = 0xE000;
    }
    const QList<char32_t> high(points.begin(), points.end());
    return {prefix, QString::fromUcs4(high.data(), high.size())};
}

bool InTransaction(const QSqlDatabase& db) {
    sqlite3* handle = Handle(db);
    return handle && !sqlite3_get_autocommit(handle);
}

Transaction::Transaction(const QSqlDatabase& db) : db_(db) {
    if (!db_.isOpen()) {
        beginError_ = ToDbError(db_.lastError());
        return;
    }
    if (QSqlDatabase(db_).transaction()) {
        active_ = true;
        if (KeptCounts* kept = KeptCountsOf(db_)) {
            kept->transaction = NextTransaction();
            kept->pendingVersion.reset();
            kept->pending.clear();
        }
    } else {
        beginError_ = ToDbError(db_.lastError());
    }
}

Transaction::~Transaction() {
    if (active_) {
        db_.rollback();
        EndKeepingCounts(false);
    }
}

DbResult Transaction::Commit() {
    if (!active_)
        return beginError_ ? beginError_ : DbResult(DbError{});
    active_ = false;
    if (!db_.commit()) {
        const DbError error = ToDbError(db_.lastError());
        db_.rollback();
        EndKeepingCounts(false);
        return error;
    }
    EndKeepingCounts(true);
    return std::nullopt;
}

void Transaction::EndKeepingCounts(bool committed) {
    KeptCounts* kept = KeptCountsOf(db_);
    if (!kept || !kept->transaction)
        return;
    // The counts keep the version they were made at, which the commit leaves as it is: a count
    // made before a later write of the transaction never matches again. Only a rollback, which
    // takes the rows back without changing the version, must drop them.
    if (committed && kept->pendingVersion) {
        if (kept->version != kept->pendingVersion) {
            kept->version = kept->pendingVersion;
            kept->counts.clear();
        }
        kept->counts.insert(kept->pending);
    }
    kept->transaction = 0;
    kept->pendingVersion.reset();
    kept->pending.clear();
}

}  // namespace paysum
