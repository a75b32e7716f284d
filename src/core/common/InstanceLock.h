#pragma once

#include <QString>

namespace paysum {

// Keeps a second copy of the program from running on the same data folder: a lock file in the
// folder, locked for as long as this object lives (the system drops the lock of a copy that
// ended in any way), saying whether the windows or a command hold it.
class InstanceLock {
public:
    enum class Holder { Windows, Command };

    InstanceLock(const QString& folder, Holder holder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Outcome {
        Locked,         // this copy holds the lock now
        HeldByOther,    // the windows of another running copy hold it
        HeldByCommand,  // a command of another running copy holds it
        CannotWrite,    // the lock file cannot be written (a read-only or full folder)
    };
    Outcome TryLock();

    static QString LockFilePath(const QString& folder);

private:
    QString path_;
    Holder holder_;
    int fd_ = -1;
};

}  // namespace paysum
