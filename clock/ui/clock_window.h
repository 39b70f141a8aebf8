#pragma once
// The clock window: a small frameless window with the display panel, the tray icon and the
// two menus. It draws, is dragged and shows its menus; the program's tick tells it when
// to redraw.
#include "clock/ui/clock_menus.h"
#include "platform/desktop.h"

#include <QSystemTrayIcon>
#include <QWidget>

#include <functional>

namespace zw {

class AppointmentList;
class ClockFace;
class ClockSettings;
class Clock;
class SnoozeCounter;
struct DisplayStyle;

class ClockWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 148;
    static constexpr int kHeight = 60;

    ClockWindow(Desktop& desktop, const Clock& clock, const ClockSettings& settings,
                const AppointmentList& appointments, const SnoozeCounter& snoozeCount);
    ~ClockWindow() override;

    // Start-up: position, visibility, stay-on-top, style and extended display from the
    // settings. Settings that cannot be written are reported, never fatal.
    void applySettings();

    // True while a dialog is open that keeps the manager and the tray menu closed.
    void setBlockingDialogCheck(std::function<bool()> check) { blockingDialogOpen_ = std::move(check); }

    // `uhr`: draws the face from the current time and options.
    void drawFace();
    // A second passed: the face is drawn again while it is shown.
    void redraw();

    // Menu commands.
    void openManager();          // Terminmanager1Click
    void toggleClockVisible();   // Schlieen1Click
    void toggleStayOnTop();      // ImmerimVordergrund1Click
    void chooseStyle(QAction* entry); // LCD1Click
    void toggleExtendedDisplay(); // ErweiterteAnzeige1Click
    void trayRightClick(const QPoint& globalPos);
    // What a click on the tray icon means depends on the kind of notification area.
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    // Shows the clock (as "Uhr" does) or, when it is shown, brings it to the front.
    void showClock();

    const TrayMenu& trayMenu() const { return trayMenu_; }
    const ClockMenu& clockMenu() const { return clockMenu_; }
    QSystemTrayIcon* trayIcon() const { return tray_; }
    ClockFace* face() const { return face_; }
    bool staysOnTop() const;
    // While the search window floats above all, the clock gives up its place on top, and
    // takes the stored choice back afterwards.
    void yieldTop();
    void restoreTop();

    void setVisible(bool visible) override;

signals:
    void managerRequested();
    // The clock was shown or hidden: only a shown one needs every second.
    void shownChanged(bool shown);
    void infoRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool blockingDialogOpen() const;
    const DisplayStyle& checkedStyle() const;
    void setStaysOnTop(bool onTop);
    void setClockShown(bool shown);
    // Runs a settings write; a failure is shown in the error box, the change stays.
    void writeSetting(const std::function<void()>& write);

    Desktop& desktop_;
    const Clock& clock_;
    const ClockSettings& settings_;
    const AppointmentList& appointments_;
    const SnoozeCounter& snoozeCount_;
    std::function<bool()> blockingDialogOpen_;

    ClockFace* face_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    TrayKind trayKind_ = TrayKind::Classic;
    TrayMenu trayMenu_;
    ClockMenu clockMenu_;
};

} // namespace zw
