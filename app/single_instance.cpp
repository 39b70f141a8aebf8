#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace zw {

SingleInstance::SingleInstance(const QString& lockDirectory)
{
    directory_ = lockDirectory.isEmpty() ? defaultLockDirectory() : lockDirectory;
    lock_ = std::make_unique<QLockFile>(QDir(directory_).filePath(QStringLiteral("zeitwache.lock")));
    // Only a dead owner frees the lock: when the clock is set back a live lock looks old.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() == QLockFile::LockFailedError)
        return false; // another instance holds it
    // No lock can be made here at all. Ending silently would look as if the program did
    // not start; running without the guard is the lesser harm.
    std::fprintf(stderr, "Zeitwache: Sperrdatei %s kann nicht angelegt werden; der Schutz gegen einen "
                         "zweiten Start fehlt.\n",
                 qPrintable(QDir::toNativeSeparators(lock_->fileName())));
    return true;
}

QString SingleInstance::defaultLockDirectory()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Without XDG_RUNTIME_DIR Qt prints a warning here, and a second start must stay silent.
    const bool haveRuntimeDirectory = !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR");
#else
    const bool haveRuntimeDirectory = true;
#endif
    if (haveRuntimeDirectory) {
        QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!runtime.isEmpty())
            return runtime;
    }
#if !defined(_WIN32)
    // Per user even without a runtime directory.
    QString dir = QDir::temp().filePath(QStringLiteral("zeitwache-%1").arg(::getuid()));
#else
    QString dir = QDir::temp().filePath(QStringLiteral("zeitwache"));
#endif
    if (QDir().mkpath(dir))
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return dir;
}

} // namespace zw
