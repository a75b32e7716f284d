#include "data/Database.h"

#include "data/RowCountCache.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUuid>

#include <optional>

#include <sqlite3.h>

namespace paysum {

namespace {

const QString kConnectionPrefix = QStringLiteral("paysum:");

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
            ResetRowCountCache(name, db.isOpen());
        }
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    OpenFile(db, path);
    ResetRowCountCache(name, db.isOpen());
    return db;
}

void CloseAllConnections() {
    DropRowCountCaches();
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
    RowCountCache* cache = RowCountCacheOf(db);
    const RowCountCache::Slot slot = cache ? cache->Find(db, key) : RowCountCache::Slot();
    if (slot.kept) {
        *count = *slot.kept;
        return std::nullopt;
    }
    QSqlQuery query(db);
    if (!RunQuery(query, sql, values) || !query.next())
        return ToDbError(query.lastError());
    *count = query.value(0).toInt();
    if (cache)
        cache->Keep(slot, key, *count);
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
        if (RowCountCache* cache = RowCountCacheOf(db_))
            cache->TransactionBegun();
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
    if (RowCountCache* cache = RowCountCacheOf(db_))
        cache->TransactionEnded(committed);
}

}  // namespace paysum
