#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Reads the file from the start in pieces of at most `pieceSize` bytes through one reused
// buffer and hands each to `take`, which returns false to stop reading. A large file thus
// never needs a buffer of its own size, whose every page would be faulted in once.
// Returns false when the file cannot be opened or a read fails.
[[nodiscard]] bool readFileInPieces(const std::filesystem::path& path, size_t pieceSize,
                                    const std::function<bool(std::string_view)>& take);

// What tells a file's present content from any other without reading it: a write, a
// rename over it or a change of its size gives another stamp.
struct FileStamp {
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// Nothing when the file is not there or cannot be looked at.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

// Replaces the file's content atomically: the bytes go to a temporary file beside it,
// are flushed to disk, and the temporary file is renamed over the old one, so a crash or
// a full disk never leaves a half-written file. Returns false (and leaves the old file
// as it was) when any step fails.
//
// The new file keeps the permission bits of the one it replaces; a file that did not exist
// gets `newFileMode`, or 0644 less the umask without one. A symbolic link stays: the write
// goes to the file it finally points to (created when the link dangles), and the temporary
// file lies beside that one. The temporary file is named ".NAME.zw-tmp-PID-RANDOM" (NAME the
// target's file name, PID this process, RANDOM eight hex digits).
[[nodiscard]] bool writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                                       std::optional<std::filesystem::perms> newFileMode = std::nullopt);

// Whether writeFileAtomically could put a new content in place now: its temporary file
// can be made beside the file's final target (a read-only directory or file system says
// no).
bool canReplaceFile(const std::filesystem::path& path);

// Removes the temporary files that writes of `path` left behind when their process was
// killed: only names of exactly the form above, only plain files, only those of processes
// that no longer run. Returns how many were removed.
size_t removeStaleTemporaryFiles(const std::filesystem::path& path);

} // namespace zw
