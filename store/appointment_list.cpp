#include "store/appointment_list.h"

#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

#include <iterator>

namespace zw {

AppointmentList::TrackedEntry::TrackedEntry(AppointmentList& list) : list_(list) { list_.trackers_.push_back(this); }

AppointmentList::TrackedEntry::~TrackedEntry() { std::erase(list_.trackers_, this); }

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
    for (TrackedEntry* tracker : trackers_)
        tracker->pos_.reset();
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
}

void AppointmentList::remove(size_t pos)
{
    checkIndex(pos, lines_.size());
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(pos));
    for (TrackedEntry* tracker : trackers_) {
        if (tracker->pos_ == pos)
            tracker->pos_.reset();
        else if (tracker->pos_ && *tracker->pos_ > pos)
            --*tracker->pos_;
    }
}

void AppointmentList::insert(size_t pos, std::string line)
{
    checkIndex(pos, lines_.size() + 1);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
    for (TrackedEntry* tracker : trackers_) {
        if (tracker->pos_ && *tracker->pos_ >= pos)
            ++*tracker->pos_;
    }
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
