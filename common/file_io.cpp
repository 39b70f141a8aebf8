#include "common/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#define ZW_GETPID _getpid
#else
#include <fcntl.h>
#include <unistd.h>
#define ZW_GETPID getpid
#endif

namespace zw {

std::optional<std::string> readWholeFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
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

namespace {

#if defined(_WIN32)
bool writeAndSync(const std::filesystem::path& tmp, std::string_view content)
{
    FILE* f = _wfopen(tmp.c_str(), L"wb");
    if (!f)
        return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = std::fflush(f) == 0 && ok;
    ok = _commit(_fileno(f)) == 0 && ok;
    return std::fclose(f) == 0 && ok;
}
#else
bool writeAndSync(const std::filesystem::path& tmp, std::string_view content)
{
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const char* p = content.data();
    size_t left = content.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    ok = ok && ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && ok;
}
#endif

} // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view content)
{
    auto tmp = path;
    tmp += ".tmp" + std::to_string(ZW_GETPID());
    if (!writeAndSync(tmp, content)) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

} // namespace zw
