#pragma once
// The tray menu and the clock menu, with their captions, order, object names and help
// numbers. They only hold actions; the clock window decides what they do.
#include <QObject>

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace zw {

inline constexpr int kTrayMenuHelpContext = 333;
inline constexpr int kClockMenuHelpContext = 222;

struct TrayMenu {
    QMenu* menu = nullptr;
    QAction* manager = nullptr;      // Terminmanager1
    QAction* clock = nullptr;        // Uhr1
    QAction* systemTime = nullptr;   // Systemzeitndern1
    QAction* helpTopics = nullptr;   // Hilfethemen1
    QAction* info = nullptr;         // Info1
    QAction* quit = nullptr;         // Beenden1
};

struct ClockMenu {
    QMenu* menu = nullptr;
    QAction* stayOnTop = nullptr;    // ImmerimVordergrund1
    QAction* extended = nullptr;     // ErweiterteAnzeige1
    std::array<QAction*, 6> styles{}; // LCD0 ... Klappziffer1, in the order of the face's style table
    QActionGroup* styleGroup = nullptr;
    QAction* manager = nullptr;      // Terminmanager2
    QAction* hide = nullptr;         // Schlieen1
};

TrayMenu buildTrayMenu(QWidget* parent);
ClockMenu buildClockMenu(QWidget* parent);

} // namespace zw
