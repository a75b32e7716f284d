#include "data/FileReplacement.h"

#include <QDir>
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

// Removes the regular files of `folder` whose whole name matches `pattern`.
void RemoveMatching(const QString& folder, const QRegularExpression& pattern) {
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QString path = folder + u'/' + name;
        if (pattern.match(name).hasMatch() && IsRegularFile(path, false))
            ::unlink(QFile::encodeName(path).constData());
    }
}

QString SystemError(const char* what, const QString& path) {
    return QStringLiteral("%1 %2: %3")
        .arg(QLatin1String(what), path, QString::fromLocal8Bit(std::strerror(errno)));
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
        if (!half.match(name).hasMatch())
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
        *error = SystemError("cannot write", newFile);
        return false;
    }
    if (::rename(QFile::encodeName(newFile).constData(), QFile::encodeName(file).constData()) !=
        0) {
        *error = SystemError("cannot rename to", file);
        return false;
    }
    // The rename itself reaches the disk with the folder; a folder that cannot be synced (some
    // file systems refuse) still holds the complete file.
    SyncToDisk(QFileInfo(file).absolutePath());
    return true;
}

FileReplacement::FileReplacement(const QString& target) : target_(ReplacedFile(target)) {}

FileReplacement::~FileReplacement() {
    if (committed_)
        return;
    file_.close();
    if (!file_.fileName().isEmpty())
        QFile::remove(file_.fileName());
}

bool FileReplacement::Open() {
    if (QFileInfo(target_).exists() && !IsRegularFile(target_, true))
        return false;
    RemoveLeftoversOf(target_);
    file_.setFileName(NewFileBeside(target_));
    return file_.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

bool FileReplacement::Commit() {
    if (!file_.isOpen() || !file_.flush())
        return false;
    // The new file keeps the permissions of the one it replaces.
    if (QFileInfo(target_).exists())
        file_.setPermissions(QFile(target_).permissions());
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        return false;
    QString error;
    committed_ = MoveIntoPlace(file_.fileName(), target_, &error);
    return committed_;
}

}  // namespace paysum
