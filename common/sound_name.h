#pragma once
#include <string_view>

namespace zw {

// The sound field's text for no sound: stored in the data file, offered first in the sound
// list, and never played.
inline constexpr std::string_view kNoSound = "(Kein)";

} // namespace zw
