#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace paysum {

// Keeps a second copy of the program from running on the same data folder: a lock file in the
// folder, held for as long as this object lives.
class InstanceLock {
public:
    explicit InstanceLock(const QString& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Outcome {
        Locked,       // this copy holds the lock now
        HeldByOther,  // another running copy holds it
        CannotWrite,  // the lock file cannot be written (a read-only or full folder)
    };
    Outcome TryLock();

    static QString LockFilePath(const QString& folder);

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace paysum
