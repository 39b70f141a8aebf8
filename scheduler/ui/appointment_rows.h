#pragma once
#include <cstddef>

namespace zw {

// The manager's list page as the alarm path sees it: by AppointmentList entry. Which row
// shows an entry is the manager's business; the page follows the list's changes itself.
class AppointmentRows {
public:
    virtual ~AppointmentRows() = default;

    // "Bearbeiten": shows the manager, brings it to the front, makes "Vorhandene Termine"
    // the active page and marks only the entry's row. Throws
    // zw::errors::listIndexOutOfRange() when the page has no row for it (the manager is
    // then shown on its list page with nothing marked).
    virtual void showEntry(std::size_t entry) = 0;
};

} // namespace zw
