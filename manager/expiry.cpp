#include "manager/expiry.h"

#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

#include <cstdint>

namespace zw {

bool isExpired(std::string_view text, const LocalDateTime& now)
{
    int64_t value = 0;
    try {
        value = line::readDateTimeValue(text, now.date.year);
    } catch (const ZeitwacheError&) {
        // A damaged line is nobody's expired appointment; the others are still marked.
        return false;
    }
    const int64_t currentMinute = dayNumber(now.date) * 1440 + now.time.hour * 60 + now.time.minute;
    return value <= currentMinute;
}

bool repeats(std::string_view text)
{
    return line::repeatField(text) != line::kRepeatNone;
}

std::vector<std::size_t> expiredEntries(const std::vector<std::string>& lines, ExpiredChoice choice,
                                        const Clock& clock)
{
    std::vector<std::size_t> entries;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string& text = lines[k];
        if (choice == ExpiredChoice::WithoutRepetition && repeats(text))
            continue;
        if (isExpired(text, clock.now()))
            entries.push_back(k);
    }
    return entries;
}

} // namespace zw
