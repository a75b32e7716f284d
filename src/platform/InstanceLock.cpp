#include "platform/InstanceLock.h"

#include <QLockFile>

namespace paysum {

InstanceLock::InstanceLock(const QString& folder)
    : lock_(std::make_unique<QLockFile>(LockFilePath(folder))) {}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::TryLock() {
    return lock_->tryLock(0);
}

QString InstanceLock::LockFilePath(const QString& folder) {
    return folder + QStringLiteral("/PAYSUM.lock");
}

}  // namespace paysum
