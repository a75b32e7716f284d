#include "platform/InstanceLock.h"

#include <QLockFile>

namespace paysum {

InstanceLock::InstanceLock(const QString& folder)
    : lock_(std::make_unique<QLockFile>(LockFilePath(folder))) {}

InstanceLock::~InstanceLock() = default;

InstanceLock::Outcome InstanceLock::TryLock() {
    if (lock_->tryLock(0))
        return Outcome::Locked;
    return lock_->error() == QLockFile::LockFailedError ? Outcome::HeldByOther
                                                        : Outcome::CannotWrite;
}

QString InstanceLock::LockFilePath(const QString& folder) {
    return folder + QStringLiteral("/PAYSUM.lock");
}

}  // namespace paysum
