#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace zw {

SingleInstance::SingleInstance(const QString& lockDirectory)
{
    QString dir = lockDirectory.isEmpty() ? defaultLockDirectory() : lockDirectory;
    lock_ = std::make_unique<QLockFile>(QDir(dir).filePath(QStringLiteral("zeitwache.lock")));
    // Only a dead owner frees the lock: when the clock is set back a live lock looks old.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire() { return lock_->tryLock(0); }

QString SingleInstance::defaultLockDirectory()
{
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
#if !defined(_WIN32)
    // Per user even without a runtime directory.
    QString dir = QDir::temp().filePath(QStringLiteral("zeitwache-%1").arg(::getuid()));
#else
    QString dir = QDir::temp().filePath(QStringLiteral("zeitwache"));
#endif
    QDir().mkpath(dir);
    return dir;
}

} // namespace zw
