#include "store/data_file.h"

#include "common/file_io.h"
#include "common/zeitwache_error.h"

#include <algorithm>
#include <cstring>

namespace zw {

namespace {
// Large enough that a read costs little beside the bytes it brings, small enough that the
// buffer stays in the cache while it is cut into lines.
constexpr size_t kReadPiece = 256 * 1024;
// Bytes per line of a typical file, for reserving the list before it is read.
constexpr size_t kTypicalLineBytes = 80;
} // namespace

std::vector<std::string> splitLines(std::string_view content)
{
    std::vector<std::string> lines;
    lines.reserve(content.size() / kTypicalLineBytes + 1);
    LineSplitter splitter(lines);
    splitter.feed(content);
    splitter.finish();
    return lines;
}

bool LineSplitter::feed(std::string_view piece)
{
    if (unreadableFrom_)
        return false;
    const char* p = piece.data();
    const char* end = p + piece.size();
    if (afterCr_ && p < end) {
        afterCr_ = false;
        if (*p == '\n')
            ++p;
    }
    if (const void* nul = std::memchr(p, '\0', static_cast<size_t>(end - p))) {
        end = static_cast<const char*>(nul);
        unreadableFrom_ = offset_ + static_cast<size_t>(end - piece.data());
    }
    offset_ += piece.size();
    // The next CR and the next LF, each found by memchr (a vector search) and looked for
    // again only once passed: a million lines are read at the speed of memory.
    auto next = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, static_cast<size_t>(end - from));
        return hit != nullptr ? static_cast<const char*>(hit) : end;
    };
    const char* cr = next(p, '\r');
    const char* lf = next(p, '\n');
    while (p < end) {
        if (cr < p)
            cr = next(p, '\r');
        if (lf < p)
            lf = next(p, '\n');
        const char* stop = std::min(cr, lf);
        if (stop == end) {
            partial_.append(p, stop);
            break;
        }
        if (partial_.empty()) {
            lines_.emplace_back(p, stop);
        } else {
            partial_.append(p, stop);
            lines_.push_back(std::move(partial_));
            partial_.clear();
        }
        p = stop + 1;
        if (*stop == '\r') {
            if (p < end && *p == '\n')
                ++p; // CR LF is one line end
            else if (p == end)
                afterCr_ = true;
        }
    }
    return !unreadableFrom_;
}

void LineSplitter::finish()
{
    if (!partial_.empty())
        lines_.push_back(std::move(partial_));
    partial_.clear();
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
    Contents contents;
    const std::optional<FileStamp> before = fileStamp(path_);
    if (before)
        contents.lines.reserve(static_cast<size_t>(before->size) / kTypicalLineBytes + 1);
    LineSplitter splitter(contents.lines);
    size_t bytesRead = 0;
    if (!readFileInPieces(path_, kReadPiece, [&](std::string_view piece) {
            bytesRead += piece.size();
            return splitter.feed(piece);
        }))
        throw errors::cannotOpenFile(path_.string());
    if (!splitter.unreadableFrom()) {
        splitter.finish();
        // Every line ended in CR LF, and nothing changed the file while it was read.
        size_t written = 0;
        for (const std::string& line : contents.lines)
            written += line.size() + 2;
        if (written == bytesRead && before && fileStamp(path_) == before)
            contents.stamp = before;
        return contents;
    }
    // A damaged file: read once more as a whole, for the byte-exact copy kept of it. Lines
    // and bytes then come from the same reading.
    auto content = readWholeFile(path_);
    if (!content)
        throw errors::cannotOpenFile(path_.string());
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
