#include "data/FileReplacement.h"

#include "common/SystemText.h"
#include "data/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paysum {

namespace {

const QString kNewMark = QStringLiteral(".new-");
const QString kUuidPattern =
    QStringLiteral("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
const QString kCompanionPattern = QStringLiteral("(-journal|-wal|-shm)?");

bool IsRegularFile(const QString& path, bool followLinks) {
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    const int status =
        followLinks ? ::stat(native.constData(), &info) : ::lstat(native.constData(), &info);
    return status == 0 && S_ISREG(info.st_mode);
}

// Removes the regular files of `folder` whose whole name matches `pattern`, which holds
// kNewMark: a name without it is passed over before the pattern is compiled at all, so that a
// folder with no leftovers costs no regular expression.
void RemoveMatching(const QString& folder, const QRegularExpression& pattern) {
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QString path = folder + u'/' + name;
        if (name.contains(kNewMark) && pattern.match(name).hasMatch() && IsRegularFile(path, false))
            ::unlink(QFile::encodeName(path).constData());
    }
}

QString SystemError(const char* what, const QString& path) {
    return QStringLiteral("%1 %2：%3").arg(QString::fromUtf8(what), path, SystemErrorText(errno));
}

// The clerk's words for a system error number met while writing a file: where writing says more
// than the error's own words.
QString WriteErrorText(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return QStringLiteral("沒有寫入的權限");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("資料夾不存在");
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
        case EROFS:
        case ENAMETOOLONG:
        case EIO:
            return SystemErrorText(error);
        default:
            return QStringLiteral("寫入錯誤（%1）").arg(SystemErrorText(error));
    }
}

}  // namespace

QString ReplacedFile(const QString& target) {
    const QFileInfo info(target);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

QString NewFileBeside(const QString& file) {
    return file + kNewMark + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void RemoveLeftoversOf(const QString& file) {
    const QFileInfo info(file);
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QRegularExpression::escape(kNewMark) +
        kUuidPattern + kCompanionPattern));
    RemoveMatching(info.absolutePath(), pattern);
}

void RemoveDataFolderLeftovers(const QString& folder) {
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral(".+") + QRegularExpression::escape(kNewMark) + kUuidPattern +
        kCompanionPattern));
    RemoveMatching(folder, pattern);

    // A journal whose first byte is zero, or an empty one, is one SQLite never plays back (a
    // write that was killed before it began); SQLite would leave it until the next write.
    for (const char* database : {"PAYSUM.db", "BRANCH.db"}) {
        const QString journal =
            folder + u'/' + QLatin1String(database) + QStringLiteral("-journal");
        if (!IsRegularFile(journal, false))
            continue;
        QFile file(journal);
        char first = 0;
        if (file.open(QIODevice::ReadOnly) && file.read(&first, 1) >= 0 && first == 0) {
            file.close();
            ::unlink(QFile::encodeName(journal).constData());
        }
    }

    // A data folder whose making was interrupted holds nothing but the two database files.
    const QFileInfo info(QDir::cleanPath(folder));
    const QRegularExpression half(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(info.fileName()) +
                                            QRegularExpression::escape(kNewMark) + kUuidPattern));
    const QRegularExpression own(QStringLiteral("^(PAYSUM|BRANCH)\\.db(-journal|-wal|-shm)?$"));
    QDir parent = info.dir();
    for (const QString& name :
         parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        if (!name.contains(kNewMark) || !half.match(name).hasMatch())
            continue;
        QDir leftover(parent.filePath(name));
        const QStringList inside = leftover.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
        bool ours = true;
        for (const QString& entry : inside)
            ours = ours && own.match(entry).hasMatch() &&
                   IsRegularFile(leftover.filePath(entry), false);
        if (!ours)
            continue;
        for (const QString& entry : inside)
            ::unlink(QFile::encodeName(leftover.filePath(entry)).constData());
        ::rmdir(QFile::encodeName(leftover.path()).constData());
    }
}

bool SyncToDisk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool MoveIntoPlace(const QString& newFile, const QString& file, QString* error) {
    if (!SyncToDisk(newFile)) {
        *error = SystemError("無法寫入", newFile);
        return false;
    }
    if (::rename(QFile::encodeName(newFile).constData(), QFile::encodeName(file).constData()) !=
        0) {
        *error = SystemError("無法改名為", file);
        return false;
    }
    // The rename itself reaches the disk with the folder; a folder that cannot be synced (some
    // file systems refuse) still holds the complete file.
    SyncToDisk(QFileInfo(file).absolutePath());
    return true;
}

bool MakePrivate(const QString& path) {
    return ::chmod(QFile::encodeName(path).constData(), S_IRUSR | S_IWUSR) == 0;
}

bool LandsInDataFolder(const QString& target) {
    const auto same = [](const struct stat& a, const struct stat& b) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    };
    const QString file = ReplacedFile(target);
    const QString folder = DataFolderPath();
    struct stat folderInfo {};
    if (::stat(QFile::encodeName(folder).constData(), &folderInfo) != 0)
        return false;
    struct stat parent {};
    if (::stat(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), &parent) == 0 &&
        same(parent, folderInfo))
        return true;
    // A hard link elsewhere to a file of the folder is that file.
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) != 0)
        return false;
    const QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        struct stat own {};
        if (::stat(QFile::encodeName(folder + u'/' + name).constData(), &own) == 0 &&
            same(own, info))
            return true;
    }
    return false;
}

std::optional<QString> RefuseClerkFile(const QString& target) {
    if (target.isEmpty())
        return QStringLiteral("未指定檔名");
    const QString file = ReplacedFile(target);
    struct stat info {};
    const bool exists = ::stat(QFile::encodeName(file).constData(), &info) == 0;
    // A device or a pipe would be replaced by the renamed file, not written to.
    if (exists && !S_ISREG(info.st_mode))
        return QStringLiteral("不是一般檔案");
    // The data folder holds the program's own files alone; a file written there could take the
    // place of a database.
    if (LandsInDataFolder(file))
        return QStringLiteral("不可寫入資料夾");
    return std::nullopt;
}

std::optional<QString> ReplaceClerkFile(const QString& target, const QByteArray& bytes) {
    if (std::optional<QString> refusal = RefuseClerkFile(target))
        return refusal;
    const QString file = ReplacedFile(target);
    RemoveLeftoversOf(file);
    const QByteArray newFile = QFile::encodeName(NewFileBeside(file));
    const int fd =
        ::open(newFile.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return WriteErrorText(errno);
    int error = 0;
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0)
        error = errno;
    for (qsizetype done = 0; error == 0 && done < bytes.size();) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (written > 0)
            done += written;
        else if (written == 0)
            error = EIO;
        else if (errno != EINTR)
            error = errno;
    }
    // A full disk may show only when the data reaches it.
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(newFile.constData(), QFile::encodeName(file).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(newFile.constData());
        return WriteErrorText(error);
    }
    // The rename itself reaches the disk with the folder; a folder that cannot be synced (some
    // file systems refuse) still holds the complete file.
    SyncToDisk(QFileInfo(file).absolutePath());
    return std::nullopt;
}

}  // namespace paysum
