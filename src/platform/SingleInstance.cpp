#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    QDir().mkpath(folder);
    lock_ = std::make_unique<QLockFile>(folder + QStringLiteral("/sonorell-player.lock"));
    lock_->setStaleLockTime(0);  // a lock left by a crashed run is recognised by its dead process
    acquired_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

}  // namespace platform
