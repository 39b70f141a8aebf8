#include "store/data_file.h"

#include "common/file_io.h"
#include "common/zeitwache_error.h"

#include <algorithm>
#include <cstring>

namespace zw {

std::vector<std::string> splitLines(std::string_view content)
{
    auto nul = content.find('\0');
    if (nul != std::string_view::npos)
        content = content.substr(0, nul);
    std::vector<std::string> lines;
    const char* p = content.data();
    const char* const end = p + content.size();
    // The next CR and the next LF, each found by memchr (a vector search) and looked for
    // again only once passed: a million lines are read at the speed of memory.
    auto next = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, static_cast<size_t>(end - from));
        return hit != nullptr ? static_cast<const char*>(hit) : end;
    };
    lines.reserve(content.size() / 80 + 1);
    const char* cr = next(p, '\r');
    const char* lf = next(p, '\n');
    while (p < end) {
        if (cr < p)
            cr = next(p, '\r');
        if (lf < p)
            lf = next(p, '\n');
        const char* stop = std::min(cr, lf);
        lines.emplace_back(p, stop);
        p = stop;
        if (p < end && *p++ == '\r' && p < end && *p == '\n')
            ++p; // CR LF is one line end
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

DataFile::DataFile(std::filesystem::path path) : path_(std::move(path)) {}

std::vector<std::string> DataFile::load() const
{
    return read().lines;
}

DataFile::Contents DataFile::read() const
{
    auto content = readWholeFile(path_);
    if (!content)
        throw errors::cannotOpenFile(path_.string());
    Contents contents;
    contents.lines = splitLines(*content);
    if (auto nul = content->find('\0'); nul != std::string::npos) {
        contents.unreadableFrom = nul;
        contents.bytes = std::move(*content);
    }
    return contents;
}

std::optional<std::filesystem::path> DataFile::keepDamagedCopy(std::string_view bytes) const
{
    // Enough for every damage a user could meet; the search ends somewhere all the same.
    constexpr int kMaxCopies = 1000;
    std::error_code ec;
    const auto status = std::filesystem::status(path_, ec);
    // The copy is as private as the file.
    const std::optional<std::filesystem::perms> mode =
        std::filesystem::is_regular_file(status) ? std::optional(status.permissions()) : std::nullopt;
    for (int n = 0; n < kMaxCopies; ++n) {
        auto copy = path_;
        copy += ".beschaedigt";
        if (n > 0) {
            copy += ".";
            copy += std::to_string(n);
        }
        // Taken is taken, a dangling link too: an older copy is never replaced.
        if (std::filesystem::symlink_status(copy, ec).type() != std::filesystem::file_type::not_found) {
            if (readWholeFile(copy) == bytes)
                return copy;
            continue;
        }
        if (writeFileAtomically(copy, bytes, mode))
            return copy;
        return std::nullopt;
    }
    return std::nullopt;
}

void DataFile::save(const std::vector<std::string>& lines) const
{
    if (!writeFileAtomically(path_, joinLines(lines)))
        throw errors::cannotCreateFile(path_.string());
}

} // namespace zw
