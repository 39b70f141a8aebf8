#pragma once
#include "store/appointment_list.h"

#include <functional>
#include <string_view>

namespace zw {

// A line written by the preceding version: the current layout without the ten characters
// "[0000000] " at position 41, so its three lengths stand at 42, 46 and 50 and "[" at 55.
bool isOlderLayoutLine(std::string_view line);

// Converts the lines of the older layout in place and leaves every other line, damaged
// ones included, untouched. When at least one line is of the older layout, the lines as
// loaded are first handed to writeBackup (`termine.v22`), and the converted list is saved
// once at the end. Returns the number of converted lines; nothing is written when it is 0.
size_t convertOlderLayout(AppointmentList& list,
                          const std::function<void(const std::vector<std::string>&)>& writeBackup);

} // namespace zw
