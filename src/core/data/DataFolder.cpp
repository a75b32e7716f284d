#include "data/DataFolder.h"

#include "data/Database.h"
#include "data/FileReplacement.h"
#include "data/RowCountCache.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStandardPaths>

#include <cstdio>

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

namespace paysum {

namespace {

const char* FileName(DatabaseFile file) {
    return file == DatabaseFile::Main ? "PAYSUM.db" : "BRANCH.db";
}

DbError OwnError(const QString& message) {
    return DbError{DbErrorKind::Other, -1, 0, message};
}

// Creates an empty database with the tables of `file` at `path`.
DbResult CreateDatabase(const QString& path, DatabaseFile file) {
    const ScopedConnection connection(path, ScopedConnection::Access::Create);
    const QSqlDatabase db = connection.Handle();
    if (!db.isOpen())
        return ToDbError(db.lastError());
    return CreateTables(db, file);
}

}  // namespace

QString DataFolderPath() {
    const QString fromEnvironment = qEnvironmentVariable("PAYSUM_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString DatabasePath(DatabaseFile file) {
    return DataFolderPath() + u'/' + QLatin1String(FileName(file));
}

QString MainDatabasePath() {
    return DatabasePath(DatabaseFile::Main);
}

QString BranchDatabasePath() {
    return DatabasePath(DatabaseFile::Branch);
}

DbResult CreateDataFolder(const QString& folder) {
    // An empty folder that is there already is replaced; a link to it stays a link.
    const QString target = ReplacedFile(QDir::cleanPath(folder));
    const QString building = NewFileBeside(target);
    if (!QDir().mkpath(building))
        return OwnError(QStringLiteral("cannot create %1").arg(building));
    // Salaries and accounts are for the clerk alone, whatever the umask.
    ::chmod(QFile::encodeName(building).constData(), S_IRWXU);
    DbResult result;
    for (const DatabaseFile file : {DatabaseFile::Main, DatabaseFile::Branch}) {
        const QString path = building + u'/' + QLatin1String(FileName(file));
        result = CreateDatabase(path, file);
        if (!result && !MakePrivate(path))
            result = OwnError(QStringLiteral("無法設定權限 %1").arg(path));
        if (result)
            break;
    }
    // rename() puts the folder in place in one step, over an empty one too.
    if (!result && ::rename(QFile::encodeName(building).constData(),
                            QFile::encodeName(target).constData()) != 0)
        result = OwnError(QStringLiteral("cannot create %1").arg(target));
    if (result)
        QDir(building).removeRecursively();
    return result;
}

void TightenDataFolder(const QString& folder) {
    const auto tighten = [](const QByteArray& path, const struct stat& info) {
        if ((info.st_mode & (S_IRWXG | S_IRWXO)) == 0)
            return false;
        ::chmod(path.constData(), info.st_mode & 07700);
        return true;
    };
    const QByteArray native = QFile::encodeName(folder);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return;
    bool tightened = tighten(native, info);
    // The folder holds the program's own files alone; links are left as they are.
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(folder + u'/' + name);
        if (::lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode))
            tightened = tighten(path, info) || tightened;
    }
    if (tightened)
        std::fputs(QStringLiteral("paysum: 注意：資料夾 %1 與其中的檔案原可讓其他使用者讀取，"
                                  "已改為只有本人可以存取\n")
                       .arg(folder)
                       .toUtf8()
                       .constData(),
                   stderr);
}

FileState PrepareDatabaseFile(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        return FileState::Missing;
    if (!S_ISREG(info.st_mode))
        return FileState::NotUsable;
    if (!(info.st_mode & S_IWUSR) && ::chmod(native.constData(), info.st_mode | S_IWUSR) != 0)
        return FileState::NotUsable;
    // SQLite writes its journal beside the file, so the folder must be writable too.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::access(native.constData(), W_OK) != 0 || ::access(folder.constData(), W_OK) != 0)
        return FileState::ReadOnly;
    return FileState::Usable;
}

DbResult CheckDatabaseFile(const QString& path, DatabaseFile file) {
    const QSqlDatabase db = Connection(path);
    if (!db.isOpen())
        return ToDbError(db.lastError());
    if (DbResult error = CheckIntegrity(db, IntegrityCheck::Quick))
        return error;
    // The schema is read once when it is ours already, as it nearly always is.
    if (HasExactSchema(db, file))
        return std::nullopt;
    if (DbResult error = UpgradeSchema(db, file))
        return error;
    if (!HasExactSchema(db, file))
        return OwnError(QStringLiteral("%1 does not have our schema").arg(path));
    return std::nullopt;
}

void ReleaseReadPages(const QString& path) {
    if (sqlite3* handle = Handle(Connection(path)))
        sqlite3_db_release_memory(handle);
}

}  // namespace paysum
