#pragma once
#include <QLockFile>
#include <QString>

#include <memory>

namespace zw {

// At most one running program per user: a lock file in the user's runtime directory,
// held for the whole run. The system drops it with the process, however that ends.
class SingleInstance {
public:
    // lockDirectory: where the lock lies; empty means the user's runtime directory.
    explicit SingleInstance(const QString& lockDirectory = {});
    // True when this process holds the lock now; false when another one runs.
    bool acquire();

    static QString defaultLockDirectory();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace zw
