#include "store/appointment_list.h"

#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

#include <iterator>

namespace zw {

void AppointmentList::checkIndex(size_t pos, size_t limit) const
{
    if (pos >= limit)
        throw errors::listIndexOutOfRange();
}

const std::string& AppointmentList::get(size_t pos) const
{
    checkIndex(pos, lines_.size());
    return lines_[pos];
}

void AppointmentList::put(size_t pos, std::string line)
{
    checkIndex(pos, lines_.size());
    lines_[pos] = std::move(line);
}

void AppointmentList::remove(size_t pos)
{
    checkIndex(pos, lines_.size());
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(pos));
}

void AppointmentList::insert(size_t pos, std::string line)
{
    checkIndex(pos, lines_.size() + 1);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
}

void AppointmentList::append(std::string line) { lines_.push_back(std::move(line)); }

void AppointmentList::save() const
{
    if (saver_)
        saver_(lines_);
}

AppointmentList::StoreResult AppointmentList::store(std::string line, int editPosition, const OverwriteQuery& ask,
                                                    int currentYear)
{
    const int64_t value = line::readDateTimeValue(line, currentYear);
    const bool editing = editPosition > 0;
    const auto editIndex = editing ? static_cast<size_t>(editPosition - 1) : 0;
    std::string previous;
    if (editing) {
        previous = get(editIndex);
        remove(editIndex);
    }
    auto putBack = [&] {
        if (editing)
            insert(editIndex, std::move(previous));
    };

    StoreResult result = StoreResult::Stored;
    size_t i = 0;
    try {
        for (; i < lines_.size(); ++i) {
            if (line::readDateTimeValue(lines_[i], currentYear) >= value)
                break;
        }
    } catch (...) {
        putBack();
        throw;
    }

    if (i == lines_.size()) {
        lines_.push_back(std::move(line));
    } else if (line::readDateTimeValue(lines_[i], currentYear) > value) {
        insert(i, std::move(line));
    } else if (ask() == OverwriteAnswer::Yes) {
        lines_[i] = std::move(line);
    } else {
        putBack();
        result = StoreResult::Declined;
    }
    save();
    return result;
}

} // namespace zw
