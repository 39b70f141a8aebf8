#pragma once
class QWidget;

namespace zw {

// Keeps the window's button off the taskbar and the pager. Under X11 a tool window alone
// is not enough, and the desktop drops the state while the window is hidden, so this is
// called before every show. Elsewhere the window type does it and this does nothing.
void hideFromTaskbar(QWidget* window);

} // namespace zw
