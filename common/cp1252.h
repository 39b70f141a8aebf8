#pragma once
#include <string>
#include <string_view>

namespace zw {

// Appointment lines are Windows-1252 bytes; widgets and error texts use UTF-8.
std::string cp1252ToUtf8(std::string_view cp1252);
// Characters that Windows-1252 cannot hold become '?'; malformed UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view utf8);

} // namespace zw
