#pragma once
#include "store/appointment_line.h"
#include "store/appointment_list.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zw {

// For the lines of the list, the days on which the minute's check must read them. Lines
// dated later, inactive ones and one-off appointments whose day has passed cannot be due;
// telling them from a small block beside the list, rather than from each line where it
// lies on the heap, keeps the check's cost the same however scattered the lines became.
//
// The days are known for the list's first lines, as far as a check has read since the list
// was replaced; each change of the list within them is followed at once. So the first check
// after loading notes them as it reads, and costs no second pass.
class CheckDays : public AppointmentList::Observer {
public:
    explicit CheckDays(const AppointmentList& list);
    ~CheckDays() override;
    CheckDays(const CheckDays&) = delete;
    CheckDays& operator=(const CheckDays&) = delete;

    // Whether the check must read the line at `pos` for a run on the day `day`
    // (dayNumber of its date); always for a line not noted yet.
    bool mustRead(size_t pos, int64_t day) const
    {
        if (pos >= spans_.size())
            return true;
        const Span& span = spans_[pos];
        return span.first <= day && day <= span.last;
    }
    // The check has read the line at `pos` into `fields`.
    void noteRead(size_t pos, const line::CheckFields& fields)
    {
        if (pos != spans_.size())
            return;
        if (pos == 0)
            spans_.reserve(list_.count());
        spans_.push_back(spanOf(fields));
    }

    void entriesRemoved(const std::vector<size_t>& positions) override;
    void entryInserted(size_t pos) override;
    void entryChanged(size_t pos) override;
    void entriesReplaced() override { spans_.clear(); }

private:
    // The first and the last day the line can be due on.
    struct Span {
        int32_t first;
        int32_t last;
    };
    static Span spanOf(const line::CheckFields& fields);
    Span spanOfLine(size_t pos) const;

    const AppointmentList& list_;
    // Those of the list's first spans_.size() lines.
    std::vector<Span> spans_;
};

} // namespace zw
