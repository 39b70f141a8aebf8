#include "scheduler/check_days.h"

#include "common/zeitwache_error.h"

#include <algorithm>
#include <limits>

namespace zw {

namespace {
constexpr int32_t kFirstDay = std::numeric_limits<int32_t>::min();
constexpr int32_t kLastDay = std::numeric_limits<int32_t>::max();
} // namespace

CheckDays::CheckDays(const AppointmentList& list) : list_(list) { list_.addObserver(this); }

CheckDays::~CheckDays() { list_.removeObserver(this); }

CheckDays::Span CheckDays::spanOf(const line::CheckFields& fields)
{
    // Another layout needs the year to be read, and may be damaged: read every time, so
    // that a damaged line still stops the run where it stands.
    if (!fields.written)
        return {kFirstDay, kLastDay};
    if (!fields.active)
        return {kLastDay, kFirstDay};
    const auto day = static_cast<int32_t>(dayNumber(fields.date));
    const bool showsLate = fields.showIfExpired == '1' && fields.executed != '1';
    if (!showsLate && fields.repeat == line::kRepeatNone) {
        if (fields.executed == '1')
            return {kLastDay, kFirstDay};
        // The day after as well: a wall clock that skips the last hour of a day carries
        // that hour's fixed times over into the next day's first minute.
        return {day, day + 1};
    }
    return {day, kLastDay};
}

CheckDays::Span CheckDays::spanOfLine(size_t pos) const
{
    try {
        // The year matters only for another layout, which is read every time anyway.
        return spanOf(line::readCheckFields(list_.get(pos), 0));
    } catch (const ZeitwacheError&) {
        return {kFirstDay, kLastDay};
    }
}

void CheckDays::entriesRemoved(const std::vector<size_t>& positions)
{
    removePositions(spans_, positions.begin(), std::lower_bound(positions.begin(), positions.end(), spans_.size()));
}

void CheckDays::entryInserted(size_t pos)
{
    // One inserted right after the noted lines is read before it counts.
    if (pos < spans_.size())
        spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(pos), spanOfLine(pos));
}

void CheckDays::entryChanged(size_t pos)
{
    if (pos < spans_.size())
        spans_[pos] = spanOfLine(pos);
}

} // namespace zw
