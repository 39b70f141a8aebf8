#include "store/conversion.h"

#include <algorithm>

namespace zw {

namespace {
bool digitsAt(std::string_view line, size_t pos1, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        char c = line[pos1 - 1 + i];
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

constexpr std::string_view kFlagField = "[0000000] ";
} // namespace

bool isOlderLayoutLine(std::string_view line)
{
    // "[ddd ddd ddd] [" from position 41 on.
    if (line.size() < 56)
        return false;
    return line[40] == '[' && digitsAt(line, 42, 3) && line[44] == ' ' && digitsAt(line, 46, 3) &&
           line[48] == ' ' && digitsAt(line, 50, 3) && line[52] == ']' && line[53] == ' ' && line[54] == '[';
}

size_t convertOlderLayout(AppointmentList& list,
                          const std::function<void(const std::vector<std::string>&)>& writeBackup)
{
    const auto& lines = list.lines();
    if (std::none_of(lines.begin(), lines.end(), isOlderLayoutLine))
        return 0;
    writeBackup(lines);
    size_t converted = 0;
    for (size_t i = 0; i < list.count(); ++i) {
        if (!isOlderLayoutLine(list.get(i)))
            continue;
        std::string line = list.get(i);
        line.insert(40, kFlagField);
        list.put(i, std::move(line));
        ++converted;
    }
    list.save();
    return converted;
}

} // namespace zw
