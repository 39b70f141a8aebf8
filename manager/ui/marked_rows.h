#pragma once
#include <cstddef>
#include <vector>

namespace zw {

// The marks of the list page as the manager's dialogs see them: by AppointmentList
// entry. Which row shows an entry is the list page's business.
class MarkedRows {
public:
    virtual ~MarkedRows() = default;

    // Unmarks every row.
    virtual void unmarkAll() = 0;
    // Marks the entries' rows in addition to those marked already (one change for all).
    virtual void markEntries(const std::vector<std::size_t>& entries) = 0;
    // Marks one entry's row in addition and scrolls it into view; an entry that has no
    // row any more is simply not marked.
    virtual void markEntry(std::size_t entry) = 0;
    // The entries of the marked rows, in list order.
    virtual std::vector<std::size_t> markedEntries() const = 0;
    // `status`: the list page's commands follow the marks.
    virtual void updateCommands() = 0;
};

} // namespace zw
