#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace tavrin {

QString SingleInstance::LockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return QDir(folder).filePath(QStringLiteral("VXAInstance.lock"));
}

SingleInstance::SingleInstance() : lock_(std::make_unique<QLockFile>(LockPath())) {
  lock_->setStaleLockTime(0);  // only a dead owner makes the lock stale, never its age
  acquired_ = lock_->tryLock(0);
}

}  // namespace tavrin
