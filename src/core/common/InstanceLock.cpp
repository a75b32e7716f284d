#include "common/InstanceLock.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paysum {

namespace {

const QByteArray kCommandMark = "command";
const QByteArray kWindowsMark = "windows";

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Who holds the lock of the open lock file, as the holder wrote it; a holder that has not yet
// written counts as the windows.
InstanceLock::Outcome HolderOf(int fd) {
    char text[16] = {};
    const ssize_t size = ::pread(fd, text, sizeof text, 0);
    return size >= kCommandMark.size() && QByteArray(text, kCommandMark.size()) == kCommandMark
               ? InstanceLock::Outcome::HeldByCommand
               : InstanceLock::Outcome::HeldByOther;
}

}  // namespace

InstanceLock::InstanceLock(const QString& folder, Holder holder)
    : path_(LockFilePath(folder)), holder_(holder) {}

InstanceLock::~InstanceLock() {
    if (fd_ < 0)
        return;
    // Removed while still locked, so that no other copy can lock the file that goes away.
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
}

InstanceLock::Outcome InstanceLock::TryLock() {
    if (fd_ >= 0)
        return Outcome::Locked;
    const QByteArray path = QFile::encodeName(path_);
    if (::access(QFile::encodeName(QFileInfo(path_).absolutePath()).constData(), W_OK) != 0)
        return Outcome::CannotWrite;
    // A few tries: the file may be removed by the copy that held it between our open and lock.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0)
            return Outcome::CannotWrite;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const Outcome outcome = errno == EWOULDBLOCK ? HolderOf(fd) : Outcome::CannotWrite;
            ::close(fd);
            return outcome;
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) != 0 || ::stat(path.constData(), &named) != 0 ||
            !SameFile(opened, named)) {
            ::close(fd);
            continue;
        }
        const QByteArray mark = (holder_ == Holder::Command ? kCommandMark : kWindowsMark) + ' ' +
                                QByteArray::number(::getpid()) + '\n';
        if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0 || ::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, mark.constData(), static_cast<std::size_t>(mark.size()), 0) !=
                mark.size()) {
            ::unlink(path.constData());
            ::close(fd);
            return Outcome::CannotWrite;
        }
        fd_ = fd;
        return Outcome::Locked;
    }
    return Outcome::CannotWrite;
}

QString InstanceLock::LockFilePath(const QString& folder) {
    return folder + QStringLiteral("/PAYSUM.lock");
}

}  // namespace paysum
