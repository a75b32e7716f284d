#include "data/DatabaseCopy.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
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
        QStringLiteral("%1 %2: %3")
            .arg(QLatin1String(what), path, QString::fromLocal8Bit(std::strerror(code))));
}

bool IsRegularFile(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Forces a file's or folder's contents to the disk.
bool Sync(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

DbResult RemoveCompanions(const QString& path) {
    for (const char* suffix : kCompanionSuffixes) {
        const QString companion = path + QLatin1String(suffix);
        if (::unlink(QFile::encodeName(companion).constData()) != 0 && errno != ENOENT)
            return SystemError("cannot remove", companion);
    }
    return std::nullopt;
}

// Writes a consistent copy of `source` to `copy`, a name that does not exist yet.
DbResult Snapshot(const QString& source, const QString& copy) {
    const ScopedConnection connection(source, ScopedConnection::Access::ReadOnly);
    return Execute(connection.Handle(), QStringLiteral("VACUUM INTO ?"), {copy});
}

}  // namespace

bool IsSameFile(const QString& first, const QString& second) {
    // One file is one device and inode, whatever path leads to it.
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev &&
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
    if (!HasSchema(db, DatabaseFile::Main))
        return OwnError(QStringLiteral("%1 lacks tables or columns").arg(path));
    return std::nullopt;
}

DbResult CopyDatabase(const QString& source, const QString& target) {
    CloseAllConnections();
    if (IsSameFile(source, target))
        return OwnError(QStringLiteral("%1 and %2 are one file").arg(source, target));

    // A link is followed, so that the file it names is replaced, not the link.
    const QFileInfo targetInfo(target);
    const bool replacing = targetInfo.exists();
    const QString file = replacing ? targetInfo.canonicalFilePath() : targetInfo.absoluteFilePath();
    if (replacing && !IsRegularFile(file))
        return OwnError(QStringLiteral("%1 is not a file").arg(file));
    if (replacing && ::access(QFile::encodeName(file).constData(), W_OK) != 0)
        return SystemError("cannot replace", file);

    const QString copy =
        file + QStringLiteral(".new-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    DbResult result = Snapshot(source, copy);
    if (!result)
        result = CheckMainDatabaseFile(copy);
    if (!result && !Sync(copy))
        result = SystemError("cannot write", copy);
    if (!result)
        result = RemoveCompanions(file);
    if (!result &&
        ::rename(QFile::encodeName(copy).constData(), QFile::encodeName(file).constData()) != 0)
        result = SystemError("cannot rename to", file);
    if (result) {
        QFile::remove(copy);
        RemoveCompanions(copy);
        return result;
    }
    // The rename itself reaches the disk with the folder; a folder that cannot be synced
    // (some file systems refuse) still holds the complete file.
    Sync(QFileInfo(file).absolutePath());
    return std::nullopt;
}

}  // namespace paysum
