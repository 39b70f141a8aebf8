#include "store/appointment_list.h"

#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

#include <algorithm>
#include <iterator>

namespace zw {

AppointmentList::TrackedEntry::TrackedEntry(const AppointmentList& list) : list_(list) { list_.addObserver(this); }

AppointmentList::TrackedEntry::~TrackedEntry() { list_.removeObserver(this); }

void AppointmentList::TrackedEntry::set(std::optional<size_t> pos)
{
    present_ = pos.has_value();
    at_ = pos.value_or(0);
}

void AppointmentList::TrackedEntry::entriesRemoved(const std::vector<size_t>& positions)
{
    // Gone or not, the place moves up by the entries removed before it.
    const auto before = std::lower_bound(positions.begin(), positions.end(), at_);
    const bool hit = present_ && before != positions.end() && *before == at_;
    at_ -= static_cast<size_t>(before - positions.begin());
    if (hit)
        leave();
}

void AppointmentList::TrackedEntry::entriesReplaced()
{
    const bool wasPresent = present_;
    set(std::nullopt);
    if (wasPresent)
        leave();
}

void AppointmentList::TrackedEntry::leave()
{
    present_ = false;
    if (gone_)
        gone_();
}

void AppointmentList::TrackedEntry::entryInserted(size_t pos)
{
    // An entry inserted where a gone one stood comes after it.
    if (at_ > pos || (present_ && at_ == pos))
        ++at_;
}

void AppointmentList::removeObserver(Observer* observer) const
{
    std::erase(observers_, observer);
}

AppointmentList& AppointmentList::operator=(const AppointmentList& other)
{
    if (this != &other) {
        assign(other.lines_);
        saver_ = other.saver_;
    }
    return *this;
}

void AppointmentList::assign(std::vector<std::string> lines)
{
    lines_ = std::move(lines);
    ++revision_;
    for (Observer* observer : observers_)
        observer->entriesReplaced();
}

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
    ++revision_;
    for (Observer* observer : observers_)
        observer->entryChanged(pos);
}

void AppointmentList::remove(size_t pos)
{
    checkIndex(pos, lines_.size());
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(pos));
    ++revision_;
    const std::vector<size_t> removed{pos};
    for (Observer* observer : observers_)
        observer->entriesRemoved(removed);
}

void AppointmentList::removeAll(const std::vector<size_t>& positions)
{
    if (positions.empty())
        return;
    checkIndex(positions.back(), lines_.size());
    // One pass: removing 10,000 of 100,000 one by one would move the tail 10,000 times.
    removePositions(lines_, positions.begin(), positions.end());
    ++revision_;
    for (Observer* observer : observers_)
        observer->entriesRemoved(positions);
}

void AppointmentList::insert(size_t pos, std::string line)
{
    checkIndex(pos, lines_.size() + 1);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
    ++revision_;
    for (Observer* observer : observers_)
        observer->entryInserted(pos);
}

void AppointmentList::append(std::string line) { insert(lines_.size(), std::move(line)); }

void AppointmentList::save() const
{
    if (saver_)
        saver_(lines_);
}

AppointmentList::StoreResult AppointmentList::store(std::string line, int editPosition, const OverwriteQuery& ask,
                                                    int currentYear)
{
    TrackedEntry edited(*this);
    if (editPosition > 0)
        edited.set(static_cast<size_t>(editPosition - 1));
    const StoreResult result = place(std::move(line), edited, ask, currentYear);
    save();
    return result;
}

AppointmentList::StoreResult AppointmentList::place(std::string line, TrackedEntry& edited, const OverwriteQuery& ask,
                                                    int currentYear)
{
    const int64_t value = line::readDateTimeValue(line, currentYear);
    const std::optional<size_t> editIndex = edited.position();
    std::string previous;
    if (editIndex) {
        previous = get(*editIndex);
        remove(*editIndex);
    }
    auto putBack = [&] {
        if (editIndex) {
            insert(*editIndex, std::move(previous));
            edited.set(editIndex);
        }
    };

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

    if (i == lines_.size() || line::readDateTimeValue(lines_[i], currentYear) > value) {
        insert(i, std::move(line));
    } else if (ask() == OverwriteAnswer::Yes) {
        // The appointment that stood here is gone; whoever followed it follows nothing now.
        remove(i);
        insert(i, std::move(line));
    } else {
        putBack();
        return StoreResult::Declined;
    }
    edited.set(i);
    return StoreResult::Stored;
}

} // namespace zw
