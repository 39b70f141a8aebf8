#pragma once
// The hourglass while a command walks the whole list; the normal pointer comes back
// however the command ends.
#include <QGuiApplication>

namespace zw {

class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace zw
