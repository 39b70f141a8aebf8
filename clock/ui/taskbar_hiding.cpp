#include "clock/ui/taskbar_hiding.h"

#include <QGuiApplication>
#include <QWidget>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define ZW_HAVE_XCB 1
#endif

namespace zw {

#ifdef ZW_HAVE_XCB
namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    xcb_atom_t result = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return result;
}
} // namespace
#endif

void hideFromTaskbar(QWidget* window)
{
#ifdef ZW_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 != nullptr ? x11->connection() : nullptr;
    if (c == nullptr)
        return; // not on X11
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t states[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    // Set on the unmapped window, the state is read by the window manager when it maps it.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), state,
                        XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(c);
#else
    Q_UNUSED(window);
#endif
}

} // namespace zw
