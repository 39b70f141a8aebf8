#include "common/zeitwache_error.h"

#include "common/cp1252.h"

namespace zw::errors {

namespace {
std::string quoted(std::string_view cp1252Text, std::string_view rest)
{
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on a literal + std::string.
    std::string text(1, '\'');
    text += cp1252ToUtf8(cp1252Text);
    text += '\'';
    text += rest;
    return text;
}
} // namespace

ZeitwacheError invalidDate(std::string_view t) { return ZeitwacheError(quoted(t, " ist kein gültiges Datum")); }
ZeitwacheError invalidTime(std::string_view t) { return ZeitwacheError(quoted(t, " ist keine gültige Zeit")); }
ZeitwacheError invalidDateTime(std::string_view t) { return ZeitwacheError(quoted(t, " ist kein gültiges Datum und Zeit")); }
ZeitwacheError invalidInteger(std::string_view t) { return ZeitwacheError(quoted(t, " ist kein gültiger Integerwert")); }
ZeitwacheError listIndexOutOfRange() { return ZeitwacheError("Listenindex außerhalb des zulässigen Bereichs"); }
ZeitwacheError cannotCreateFile(std::string_view p) { return ZeitwacheError("Kann Datei " + std::string(p) + " nicht erstellen"); }
ZeitwacheError cannotOpenFile(std::string_view p) { return ZeitwacheError("Kann Datei " + std::string(p) + " nicht öffnen"); }
ZeitwacheError cannotWriteTo(std::string_view p) { return ZeitwacheError("Kann nicht nach " + std::string(p) + " schreiben"); }
ZeitwacheError unexpectedInCheck(std::string_view what)
{
    std::string text = "Unerwarteter Fehler bei der Terminprüfung";
    if (!what.empty()) {
        text += ": ";
        text += what;
    }
    return ZeitwacheError(text);
}

} // namespace zw::errors
