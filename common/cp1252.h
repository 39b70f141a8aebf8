#pragma once
#include <string>
#include <string_view>

namespace zw {

// Appointment lines are Windows-1252 bytes; widgets and error texts use UTF-8.
std::string cp1252ToUtf8(std::string_view cp1252);
// Characters that Windows-1252 cannot hold become '?'; malformed UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view utf8);

// Lower case of Windows-1252 as the German locale has it: A-Z, the accented capitals
// (umlauts included; not the multiplication sign) and the four capitals of 0x8A-0x9F.
char lowerCp1252(char c);
std::string lowerCp1252(std::string_view text);

} // namespace zw
