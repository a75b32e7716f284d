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

    // False when another running copy holds the lock.
    bool TryLock();

    static QString LockFilePath(const QString& folder);

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace paysum
