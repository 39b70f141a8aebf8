#pragma once
#include <QIcon>

namespace zw {

// The program's icon: a small red alarm clock, one drawn picture per size a tray, a title
// bar or a high-resolution screen asks for.
QIcon appIcon();

} // namespace zw
