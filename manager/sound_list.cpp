#include "manager/sound_list.h"

#include "common/cp1252.h"
#include "common/sound_name.h"
#include "store/appointment_line.h"

#include <algorithm>
#include <system_error>

namespace zw {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerCp1252(x) == lowerCp1252(y);
           });
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerCp1252(x)) < static_cast<unsigned char>(lowerCp1252(y));
    });
}

void addSoundsIn(const std::filesystem::path& directory, std::vector<std::string>& names)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= 4 || !equalIgnoringCase(std::string_view(name).substr(name.size() - 4), ".wav"))
            continue;
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        std::string stored = utf8ToCp1252(name);
        if (cp1252ToUtf8(stored) != name)
            continue;
        names.push_back(std::move(stored));
    }
}

} // namespace

std::vector<std::string> soundEntriesIn(const std::vector<std::filesystem::path>& folders)
{
    std::vector<std::string> names;
    for (const std::filesystem::path& folder : folders)
        addSoundsIn(folder, names);
    // Stable, so that a name in several folders keeps the spelling of the first.
    std::stable_sort(names.begin(), names.end(), lessIgnoringCase);
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) { return equalIgnoringCase(a, b); }),
                names.end());
    names.insert(names.begin(), std::string(kNoSound));
    return names;
}

int soundEntryNamed(const std::vector<std::string>& entries, std::string_view name)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        if (equalIgnoringCase(entries[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace zw
