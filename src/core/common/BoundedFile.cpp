#include "common/BoundedFile.h"

#include "common/SystemText.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paysum {

namespace {

// Read a piece at a time, so that a file that grows is never read past its limit.
constexpr qint64 kChunk = 1 << 20;

QString SystemText(int code) {
    return SystemErrorText(code);
}

FileRead Failed(FileReadOutcome outcome, const QString& detail = {}) {
    FileRead read;
    read.outcome = outcome;
    read.detail = detail;
    return read;
}

// Closes the descriptor when the read ends, whichever way.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

FileRead ReadBoundedFile(const QString& path, qint64 mostBytes) {
    if (path.isEmpty())
        return Failed(FileReadOutcome::CannotOpen, SystemText(ENOENT));
    const Descriptor file{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0)
        return Failed(FileReadOutcome::CannotOpen, SystemText(errno));
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return Failed(FileReadOutcome::ReadFailed, SystemText(errno));
    if (!S_ISREG(info.st_mode))
        return Failed(FileReadOutcome::NotRegular);
    if (info.st_size > mostBytes)
        return Failed(FileReadOutcome::TooLarge);

    FileRead read;
    // One byte past the size it has, to see the end without growing the buffer.
    const qint64 expected = info.st_size + 1;
    read.bytes.reserve(static_cast<qsizetype>(expected));
    for (;;) {
        const qsizetype had = read.bytes.size();
        const qint64 want = had < expected ? expected - had : kChunk;
        const qint64 room = std::min({kChunk, want, mostBytes + 1 - had});
        read.bytes.resize(had + room);
        const ssize_t got = ::read(file.fd, read.bytes.data() + had, static_cast<size_t>(room));
        if (got < 0 && errno == EINTR) {
            read.bytes.resize(had);
            continue;
        }
        if (got < 0)
            return Failed(FileReadOutcome::ReadFailed, SystemText(errno));
        read.bytes.resize(had + got);
        if (read.bytes.size() > mostBytes)
            return Failed(FileReadOutcome::TooLarge);
        if (got == 0)
            return read;
    }
}

QString FileReadError(const FileRead& read, const QString& path, const QString& tooLarge) {
    switch (read.outcome) {
        case FileReadOutcome::Read:
            return {};
        case FileReadOutcome::CannotOpen:
            return QStringLiteral("無法開啟 %1：%2").arg(path, read.detail);
        case FileReadOutcome::NotRegular:
            return QStringLiteral("%1 不是一般檔案").arg(path);
        case FileReadOutcome::TooLarge:
            return tooLarge;
        case FileReadOutcome::ReadFailed:
            return QStringLiteral("無法讀取 %1：%2").arg(path, read.detail);
    }
    return {};
}

QString OutOfMemoryText(const QString& path) {
    return QStringLiteral("記憶體不足，無法讀取 %1").arg(path);
}

}  // namespace paysum
