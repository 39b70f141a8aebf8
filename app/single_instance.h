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
    // False when another running instance holds the lock. True when this process holds it
    // now, and also when no lock can be made at all (said on stderr), so that a missing
    // or unwritable directory never keeps the program from starting.
    bool acquire();

    static QString defaultLockDirectory();
    // Where the lock lies; the running program's socket lies beside it.
    const QString& directory() const { return directory_; }

private:
    QString directory_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace zw
