#pragma once
#include <QIcon>

namespace zw {

// The program's icon: a small red alarm clock, one drawn picture per size a tray, a title
// bar or a high-resolution screen asks for.
QIcon appIcon();
// The same icon by its theme name where the program is installed into an icon theme, so
// that a panel that draws the icon itself picks its own size; elsewhere appIcon().
QIcon appIconByThemeName();

} // namespace zw
