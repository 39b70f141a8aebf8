#pragma once
#include <QIcon>

namespace zw {

// The program's icon: a small alarm clock, drawn at the sizes a tray and a title bar ask for.
QIcon appIcon();

} // namespace zw
