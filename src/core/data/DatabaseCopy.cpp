#include "data/DatabaseCopy.h"

#include "common/SystemText.h"
#include "common/TextRules.h"
#include "data/Database.h"
#include "data/FileReplacement.h"
#include "data/PayRunHistory.h"
#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace paysum {

namespace {

// The files SQLite keeps beside a database. Left over from an earlier file of the same name, they
// would be played into the new file the next time it is opened.
constexpr const char* kCompanionSuffixes[] = {"-journal", "-wal", "-shm"};

DbError OwnError(const QString& message) {
    return DbError{DbErrorKind::Other, -1, 0, message};
}

// An error of the last system call on `path`; errno must still be that call's.
DbError SystemError(const char* what, const QString& path) {
    const int code = errno;
    return OwnError(
        QStringLiteral("%1 %2：%3").arg(QString::fromUtf8(what), path, SystemErrorText(code)));
}

bool IsRegularFile(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool Identify(const QString& path, struct stat* info) {
    return ::stat(QFile::encodeName(path).constData(), info) == 0;
}

DbResult RemoveCompanions(const QString& path) {
    for (const char* suffix : kCompanionSuffixes) {
        const QString companion = path + QLatin1String(suffix);
        if (::unlink(QFile::encodeName(companion).constData()) != 0 && errno != ENOENT)
            return SystemError("無法刪除", companion);
    }
    return std::nullopt;
}

// Opens a file from outside read-only and checks that SQLite finds it sound and that it holds
// the main tables with our columns.
DbResult CheckSourceFile(const QSqlDatabase& db, const QString& path) {
    if (DbResult error = CheckIntegrity(db, IntegrityCheck::Full))
        return error;
    if (!HasSchema(db, DatabaseFile::Main))
        return OwnError(QStringLiteral("%1 lacks tables or columns").arg(path));
    return std::nullopt;
}

// A stored value as a text, or nothing when it is not a well-formed text that fits `width`
// characters and holds no control character.
std::optional<QString> CheckedText(const QVariant& kind, const QVariant& bytes, int width) {
    if (kind.toString() != u"text")
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes.toByteArray());
    if (decoder.hasError() || text.toUcs4().size() > width || HoldsControlCharacter(text))
        return std::nullopt;
    return text.isNull() ? QStringLiteral("") : text;
}

// A stored value of an integer column (a run number), or nothing when it is not one of 1 to
// kLastRunNumber.
std::optional<QVariant> CheckedValue(const ColumnDef& column, const QVariant& kind,
                                     const QVariant& bytes, const QVariant& value) {
    if (column.type == ColumnType::Text) {
        if (std::optional<QString> text = CheckedText(kind, bytes, column.width))
            return QVariant(*text);
        return std::nullopt;
    }
    if (kind.toString() != u"integer" || value.toLongLong() <= 0 ||
        value.toLongLong() > kLastRunNumber)
        return std::nullopt;
    return QVariant(value.toLongLong());
}

// Copies the rows of every main table from `from` into the same tables of `to`, with their
// rowids, in one transaction; refuses a value that does not fit its column. A table that a source
// from an earlier version lacks stays empty.
DbResult CopyRows(const QSqlDatabase& from, const QSqlDatabase& to) {
    Transaction transaction(to);
    for (const TableDef& table : Tables()) {
        if (table.file != DatabaseFile::Main || (table.version > 1 && !HasTable(from, table.name)))
            continue;
        QStringList selected{QStringLiteral("rowid")};
        QStringList columns{QStringLiteral("rowid")};
        for (const ColumnDef& column : table.columns) {
            const QString name = QLatin1String(column.name);
            selected << QStringLiteral("typeof(%1)").arg(name)
                     << QStringLiteral("CAST(%1 AS BLOB)").arg(name) << name;
            columns << name;
        }
        QSqlQuery read(from);
        read.setForwardOnly(true);
        if (!read.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                           .arg(selected.join(u','), QLatin1String(table.name))))
            return ToDbError(read.lastError());
        QSqlQuery write(to);
        if (!write.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(QLatin1String(table.name), columns.join(u','),
                                    QStringList(columns.size(), QStringLiteral("?")).join(u','))))
            return ToDbError(write.lastError());
        while (read.next()) {
            write.addBindValue(read.value(0));
            for (std::size_t i = 0; i < table.columns.size(); ++i) {
                const int at = 1 + 3 * static_cast<int>(i);
                const std::optional<QVariant> value = CheckedValue(
                    table.columns[i], read.value(at), read.value(at + 1), read.value(at + 2));
                if (!value)
                    return OwnError(
                        QStringLiteral("%1.%2 holds a value that does not fit")
                            .arg(QLatin1String(table.name), QLatin1String(table.columns[i].name)));
                write.addBindValue(*value);
            }
            if (!write.exec())
                return ToDbError(write.lastError());
        }
        if (read.lastError().isValid())
            return ToDbError(read.lastError());
    }
    // Every archived transfer belongs to an archived run.
    QSqlQuery orphans(to);
    if (!RunQuery(orphans,
                  QStringLiteral("SELECT 1 FROM H_ITEM WHERE RUN NOT IN (SELECT RUN FROM H_RUN) "
                                 "LIMIT 1"),
                  {}))
        return ToDbError(orphans.lastError());
    if (orphans.next())
        return OwnError(QStringLiteral("H_ITEM holds transfers of a run that H_RUN lacks"));
    return transaction.Commit();
}

// Makes a new database of our own main schema at `path` holding the rows of `source`.
DbResult RebuildFrom(const QString& source, const QString& path) {
    if (!IsRegularFile(source))
        return OwnError(QStringLiteral("%1 is not a file").arg(source));
    const ScopedConnection from(source, ScopedConnection::Access::ReadOnly);
    if (DbResult error = CheckSourceFile(from.Handle(), source))
        return error;
    const ScopedConnection to(path, ScopedConnection::Access::Create);
    const QSqlDatabase db = to.Handle();
    if (!db.isOpen())
        return ToDbError(db.lastError());
    if (DbResult error = CreateTables(db, DatabaseFile::Main))
        return error;
    return CopyRows(from.Handle(), db);
}

// Writes a new database with `build` beside `target` and puts it in the target's place once it
// is complete and checked.
DbResult ReplaceDatabase(const QString& target,
                         const std::function<DbResult(const QString& copy)>& build) {
    CloseAllConnections();
    const QString file = ReplacedFile(target);
    const bool replacing = QFileInfo::exists(file);
    if (replacing && !IsRegularFile(file))
        return OwnError(QStringLiteral("%1 is not a file").arg(file));
    if (replacing && ::access(QFile::encodeName(file).constData(), W_OK) != 0)
        return SystemError("無法取代", file);

    RemoveLeftoversOf(file);
    const QString copy = NewFileBeside(file);
    DbResult result = build(copy);
    if (!result)
        result = CheckMainDatabaseFile(copy);
    if (!result)
        result = RemoveCompanions(file);
    // Salaries and accounts are for the clerk alone, whatever the umask made of the copy.
    if (!result && !MakePrivate(copy))
        result = SystemError("無法設定權限", copy);
    QString error;
    if (!result && !MoveIntoPlace(copy, file, &error))
        result = OwnError(error);
    if (result) {
        QFile::remove(copy);
        RemoveCompanions(copy);
    }
    return result;
}

}  // namespace

bool IsSameFile(const QString& first, const QString& second) {
    // One file is one device and inode, whatever path leads to it.
    struct stat a {};
    struct stat b {};
    return Identify(first, &a) && Identify(second, &b) && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

DbResult CheckMainDatabaseFile(const QString& path) {
    // Anything but a regular file (a folder, a pipe) is refused before SQLite opens it.
    if (!IsRegularFile(path))
        return OwnError(QStringLiteral("%1 is not a file").arg(path));
    const ScopedConnection connection(path, ScopedConnection::Access::ReadOnly);
    const QSqlDatabase db = connection.Handle();
    if (DbResult error = CheckIntegrity(db, IntegrityCheck::Full))
        return error;
    if (!HasExactSchema(db, DatabaseFile::Main))
        return OwnError(QStringLiteral("%1 does not have our schema").arg(path));
    return std::nullopt;
}

DbResult CheckRestoreSource(const QString& source) {
    return RebuildFrom(source, QStringLiteral(":memory:"));
}

DbResult CopyDatabase(const QString& source, const QString& target) {
    if (IsSameFile(source, target))
        return OwnError(QStringLiteral("%1 and %2 are one file").arg(source, target));
    return ReplaceDatabase(target, [&source](const QString& copy) {
        const ScopedConnection connection(source, ScopedConnection::Access::ReadOnly);
        return Execute(connection.Handle(), QStringLiteral("VACUUM INTO ?"), {copy});
    });
}

DbResult RestoreDatabase(const QString& source, const QString& target) {
    if (IsSameFile(source, target))
        return OwnError(QStringLiteral("%1 and %2 are one file").arg(source, target));
    return ReplaceDatabase(target,
                           [&source](const QString& copy) { return RebuildFrom(source, copy); });
}

}  // namespace paysum
