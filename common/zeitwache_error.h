#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace zw {

// An error that ends the current action and is shown to the user in the error box
// (title "Zeitwache99", error icon, the text followed by "."). what() is the exact
// German text in UTF-8; offending texts taken from stored lines are converted from
// Windows-1252 before they are put in.
class ZeitwacheError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace errors {
// %s stands for the offending text, given in Windows-1252 as read from a line.
ZeitwacheError invalidDate(std::string_view cp1252Text);
ZeitwacheError invalidTime(std::string_view cp1252Text);
ZeitwacheError invalidDateTime(std::string_view cp1252Text);
ZeitwacheError invalidInteger(std::string_view cp1252Text);
ZeitwacheError listIndexOutOfRange();
// %s is a full path, in the platform's encoding (UTF-8 here).
ZeitwacheError cannotCreateFile(std::string_view path);
ZeitwacheError cannotOpenFile(std::string_view path);
ZeitwacheError cannotWriteTo(std::string_view path);
// Anything else that stopped a due check; `what` as the exception gave it, may be empty.
ZeitwacheError unexpectedInCheck(std::string_view what);
} // namespace errors

} // namespace zw
