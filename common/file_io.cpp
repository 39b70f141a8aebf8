#include "common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zw {

namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return std::nullopt; // opens on some systems, but has no content to read
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size > 0) {
        content.resize(static_cast<size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(content.data(), size);
        if (in.gcount() != size)
            return std::nullopt;
    } else {
        // Not seekable (a pipe, a special file): read what comes.
        in.clear();
        in.seekg(0, std::ios::beg);
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (in.bad())
        return std::nullopt;
    return content;
}

std::optional<FileStamp> fileStamp(const fs::path& path)
{
#if defined(_WIN32)
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    const auto written = fs::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    FileStamp stamp;
    stamp.size = size;
    stamp.modifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
    return stamp;
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    auto ns = [](const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    return FileStamp{static_cast<std::uintmax_t>(st.st_dev), static_cast<std::uintmax_t>(st.st_ino),
                     static_cast<std::uintmax_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
#endif
}

bool readFileInPieces(const fs::path& path, size_t pieceSize, const std::function<bool(std::string_view)>& take)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<char> buffer(std::max<size_t>(pieceSize, 1));
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<size_t>(in.gcount());
        if (got > 0 && !take(std::string_view(buffer.data(), got)))
            return true;
    }
    return !in.bad();
}

namespace {

// The few calls that differ between the systems; everything else is shared.
#if defined(_WIN32)
long long currentPid() { return _getpid(); }

int openNew(const fs::path& p, bool /*privateUntilChmod*/)
{
    return ::_wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
void setMode(int, fs::perms) {} // no such bits to keep
long long writeSome(int fd, const char* p, size_t n)
{
    return ::_write(fd, p, static_cast<unsigned>(std::min<size_t>(n, size_t{1} << 30)));
}
bool syncFile(int fd) { return ::_commit(fd) == 0; }
bool closeFile(int fd) { return ::_close(fd) == 0; }
bool syncDirectory(const fs::path&) { return true; } // NTFS journals the rename itself
bool processRuns(long long pid)
{
    HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!h)
        return ::GetLastError() == ERROR_ACCESS_DENIED; // there, but someone else's
    const bool runs = ::WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    ::CloseHandle(h);
    return runs;
}
#else
long long currentPid() { return ::getpid(); }

int openNew(const fs::path& p, bool privateUntilChmod)
{
    // Bits to be copied from the old file are set afterwards; until then nobody else may
    // read the file. A new file is created as it always was, the umask applying.
    return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, privateUntilChmod ? 0600 : 0644);
}
void setMode(int fd, fs::perms bits)
{
    // Best effort: a file system without permission bits (FAT) refuses, and the file then
    // has the mount's mode, no wider than 0600 from openNew.
    [[maybe_unused]] const int ignored = ::fchmod(fd, static_cast<mode_t>(bits & fs::perms::mask));
}
long long writeSome(int fd, const char* p, size_t n) { return ::write(fd, p, n); }
bool syncFile(int fd) { return ::fdatasync(fd) == 0; }
bool closeFile(int fd) { return ::close(fd) == 0; }
bool syncDirectory(const fs::path& dir)
{
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
bool processRuns(long long pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}
#endif

constexpr std::string_view kTemporaryMarker = ".zw-tmp-";
constexpr size_t kRandomDigits = 8;
// A longer chain of links is taken for a loop, as the kernel takes it.
constexpr int kMaxLinkHops = 40;
// Names already taken by another write are tried again with other random digits.
constexpr int kNameAttempts = 16;

// The file a write of `path` really replaces: symbolic links are followed to the last one's
// target, which need not exist. Nothing for a loop or a link that cannot be read.
std::optional<fs::path> finalTarget(fs::path path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return path;
        fs::path next = fs::read_symlink(path, ec);
        if (ec)
            return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

// ".NAME.zw-tmp-": hidden, and unlike anything a user or another program would name a file.
std::string temporaryPrefix(const fs::path& target)
{
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += kTemporaryMarker;
    return prefix;
}

std::string randomDigits()
{
    thread_local std::mt19937 engine = [] {
        uint32_t seed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                        static_cast<uint32_t>(currentPid());
        try {
            seed ^= std::random_device{}();
        } catch (const std::exception&) {
            // no entropy source: time and process id must do, O_EXCL catches a clash
        }
        return std::mt19937(seed);
    }();
    static constexpr char kHex[] = "0123456789abcdef";
    uint32_t value = static_cast<uint32_t>(engine());
    std::string digits(kRandomDigits, '0');
    for (char& c : digits) {
        c = kHex[value & 0xF];
        value >>= 4;
    }
    return digits;
}

// The process that made this temporary file of the target, or nothing when the name is not
// exactly one of ours: prefix, a process id without leading zero, '-', eight lowercase hex digits.
std::optional<long long> temporaryFileOwner(std::string_view name, std::string_view prefix)
{
    if (name.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    name.remove_prefix(prefix.size());
    const size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 10 || name[0] == '0' ||
        name.size() != dash + 1 + kRandomDigits)
        return std::nullopt;
    long long pid = 0;
    for (char c : name.substr(0, dash)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        pid = pid * 10 + (c - '0');
    }
    for (char c : name.substr(dash + 1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    if (pid > INT_MAX)
        return std::nullopt;
    return pid;
}

// Creates the temporary file beside the target, under a name no other write is using.
int createTemporary(const fs::path& target, const std::optional<fs::perms>& bits, fs::path& temporary)
{
    std::string base = temporaryPrefix(target);
    base += std::to_string(currentPid());
    base += '-';
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = target.parent_path() / (base + randomDigits());
        const int fd = openNew(temporary, bits.has_value());
        if (fd >= 0) {
            if (bits)
                setMode(fd, *bits);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool writeAll(int fd, std::string_view content)
{
    const char* p = content.data();
    size_t left = content.size();
    while (left > 0) {
        const long long n = writeSome(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool writeFileAtomically(const fs::path& path, std::string_view content, std::optional<fs::perms> newFileMode)
{
    const std::optional<fs::path> target = finalTarget(path);
    if (!target)
        return false;
    std::optional<fs::perms> bits = newFileMode;
    std::error_code ec;
    const fs::file_status old = fs::status(*target, ec);
    if (fs::is_regular_file(old))
        bits = old.permissions() & fs::perms::mask;

    fs::path temporary;
    const int fd = createTemporary(*target, bits, temporary);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, content) && syncFile(fd);
    ok = closeFile(fd) && ok;
    if (ok) {
        fs::rename(temporary, *target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return false;
    }
    // Makes the rename itself survive a power cut. Its failure is not reported: the new
    // content is in place, and "cannot write" would tell the user something untrue.
    syncDirectory(target->parent_path());
    return true;
}

bool canReplaceFile(const fs::path& path)
{
    // The very step a save takes first, so the answer cannot differ from a save's.
    const std::optional<fs::path> target = finalTarget(path);
    if (!target)
        return false;
    fs::path temporary;
    const int fd = createTemporary(*target, std::nullopt, temporary);
    if (fd < 0)
        return false;
    closeFile(fd);
    std::error_code ec;
    fs::remove(temporary, ec);
    return true;
}

size_t removeStaleTemporaryFiles(const fs::path& path)
{
    const std::optional<fs::path> target = finalTarget(path);
    if (!target)
        return 0;
    const std::string prefix = temporaryPrefix(*target);
    const fs::path dir = target->parent_path().empty() ? fs::path(".") : target->parent_path();
    std::vector<fs::path> stale;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const auto owner = temporaryFileOwner(it->path().filename().string(), prefix);
        std::error_code statusError;
        if (owner && *owner != currentPid() && !processRuns(*owner) &&
            fs::is_regular_file(it->symlink_status(statusError)))
            stale.push_back(it->path());
    }
    size_t removed = 0;
    for (const auto& p : stale)
        if (fs::remove(p, ec))
            ++removed;
    return removed;
}

} // namespace zw
