#pragma once

#include <QByteArray>
#include <QString>

namespace paysum {

// How reading a file from outside ended.
enum class FileReadOutcome {
    Read,        // the whole file is in `bytes`
    CannotOpen,  // `detail` says why
    NotRegular,  // a device, a pipe, a folder: nothing read
    TooLarge,    // longer than the limit: nothing kept
    ReadFailed,  // `detail` says why
};

struct FileRead {
    FileReadOutcome outcome = FileReadOutcome::Read;
    QByteArray bytes;
    QString detail;
};

// Reads a regular file of at most `mostBytes` bytes. Anything else is refused before it is read:
// a device such as /dev/zero or a pipe never ends, and opening a pipe never blocks. A file that
// grows past the limit while it is read is refused too.
FileRead ReadBoundedFile(const QString& path, qint64 mostBytes);

// The clerk's words for a file that could not be read; empty when it was. `tooLarge` is the
// caller's own text for a file over its limit.
QString FileReadError(const FileRead& read, const QString& path, const QString& tooLarge);

// The clerk's words for a file whose reading ran out of memory.
QString OutOfMemoryText(const QString& path);

}  // namespace paysum
