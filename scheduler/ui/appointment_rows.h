#pragma once

namespace zw {

// The manager's list page as the alarm path sees it. Row 0 of that list is reserved, so
// AppointmentList entry k stands in row k + 1.
class AppointmentRows {
public:
    virtual ~AppointmentRows() = default;

    // Removes list row `row` (AppointmentList entry row - 1) so the page stays in step.
    virtual void deleteRow(int row) = 0;

    // "Bearbeiten": shows the manager, brings it to the front, makes "Vorhandene Termine"
    // the active page, clears the selection of every row, selects row 0 and clears it
    // again, selects `row`, re-evaluates the page's command states. Throws
    // zw::errors::listIndexOutOfRange() when `row` does not exist (the manager is then
    // shown on its list page with no row selected).
    virtual void showRowInList(int row) = 0;
};

} // namespace zw
