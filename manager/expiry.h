#pragma once
#include "common/civil_time.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// Which expired appointments "Termine markieren" marks.
enum class ExpiredChoice { WithoutRepetition, All };

// Whether the appointment's date and time (no time: midnight of its date) have come by
// `now`. The clock counts whole seconds, so at second 00 of a minute that minute has
// begun: an appointment at the current minute is expired from then on, one without time
// all day from 00:00. A line whose date and time cannot be read is not expired.
bool isExpired(std::string_view line, const LocalDateTime& now);
// Whether the repeat word is anything but "Keine      ".
bool repeats(std::string_view line);

// The entries to mark, in list order. The clock is asked afresh for each entry, so that
// a long list met by a change of minute is judged by the time each line is looked at.
// The activation and the flags do not count.
std::vector<std::size_t> expiredEntries(const std::vector<std::string>& lines, ExpiredChoice choice,
                                        const Clock& clock);

} // namespace zw
