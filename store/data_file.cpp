#include "store/data_file.h"

#include "common/file_io.h"
#include "common/zeitwache_error.h"

namespace zw {

std::vector<std::string> splitLines(std::string_view content)
{
    auto nul = content.find('\0');
    if (nul != std::string_view::npos)
        content = content.substr(0, nul);
    std::vector<std::string> lines;
    lines.reserve(content.size() / 80 + 1);
    const char* p = content.data();
    const char* end = p + content.size();
    while (p < end) {
        const char* start = p;
        while (p < end && *p != '\r' && *p != '\n')
            ++p;
        lines.emplace_back(start, p);
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
    auto content = readWholeFile(path_);
    if (!content)
        throw errors::cannotOpenFile(path_.string());
    return splitLines(*content);
}

void DataFile::save(const std::vector<std::string>& lines) const
{
    if (!writeFileAtomically(path_, joinLines(lines)))
        throw errors::cannotCreateFile(path_.string());
}

} // namespace zw
