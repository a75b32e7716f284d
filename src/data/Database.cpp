#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>

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

QSqlDatabase OpenUncached(const QString& path, const QString& name) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    OpenFile(db, path);
    return db;
}

DbResult Execute(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                 int* changed) {
    if (!db.isOpen())
        return ToDbError(db.lastError());
    QSqlQuery query(db);
    if (!query.prepare(sql))
        return ToDbError(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return ToDbError(query.lastError());
    if (changed)
        *changed = query.numRowsAffected();
    return std::nullopt;
}

bool QuickCheck(const QSqlDatabase& db, DbError* error) {
    QSqlQuery query(db);
    if (!db.isOpen() || !query.exec(QStringLiteral("PRAGMA quick_check"))) {
        if (error)
            *error = ToDbError(db.isOpen() ? query.lastError() : db.lastError());
        return false;
    }
    const bool sound = query.next() && query.value(0).toString() == u"ok";
    if (!sound && error) {
        error->kind = DbErrorKind::Other;
        error->message = query.value(0).toString();
    }
    return sound;
}

QString LikePrefix(const QString& prefix) {
    QString escaped;
    escaped.reserve(prefix.size() + 1);
    for (QChar c : prefix) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped.append(u'\\');
        escaped.append(c);
    }
    return escaped + u'%';
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
