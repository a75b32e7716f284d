#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUuid>

namespace paysum {

namespace {

const QString kConnectionPrefix = QStringLiteral("paysum:");

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
        if (!db.isOpen())
            db.open();
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    OpenFile(db, path);
    return db;
}

void CloseAllConnections() {
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

Transaction::Transaction(const QSqlDatabase& db) : db_(db) {
    if (!db_.isOpen()) {
        beginError_ = ToDbError(db_.lastError());
        return;
    }
    if (QSqlDatabase(db_).transaction())
        active_ = true;
    else
        beginError_ = ToDbError(db_.lastError());
}

Transaction::~Transaction() {
    if (active_)
        db_.rollback();
}

DbResult Transaction::Commit() {
    if (!active_)
        return beginError_ ? beginError_ : DbResult(DbError{});
    active_ = false;
    if (!db_.commit()) {
        const DbError error = ToDbError(db_.lastError());
        db_.rollback();
        return error;
    }
    return std::nullopt;
}

}  // namespace paysum
