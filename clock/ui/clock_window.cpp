#include "clock/ui/clock_window.h"

#include "clock/face.h"
#include "clock/placement.h"
#include "clock/ui/app_icon.h"
#include "clock/ui/clock_face.h"
#include "clock/ui/taskbar_hiding.h"
#include "common/zeitwache_error.h"
#include "platform/context_help.h"
#include "platform/desktop.h"
#include "scheduler/snooze.h"
#include "settings/clock_settings.h"
#include "store/appointment_list.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace zw {

namespace {
constexpr char kTrayToolTip[] = "Zeitwache 99";
// A longer tooltip would not fit the notification area's classic record.
constexpr int kMaxToolTipLength = 62;
} // namespace

ClockWindow::ClockWindow(Desktop& desktop, const Clock& clock, const ClockSettings& settings,
                         const AppointmentList& appointments, const SnoozeCounter& snoozeCount)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), desktop_(desktop),
      clock_(clock), settings_(settings), appointments_(appointments), snoozeCount_(snoozeCount)
{
    setObjectName(QStringLiteral("TForm1"));
    // The caption differs from the application title by its blank; it is never seen.
    setWindowTitle(QStringLiteral("Zeitwache 99"));
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::StrongFocus);
    setWindowIcon(appIcon());

    face_ = new ClockFace(this);
    face_->move(7, 6);
    for (int left : {136, 140}) {
        auto* bar = new QFrame(this);
        bar->setObjectName(left == 136 ? QStringLiteral("Bevel1") : QStringLiteral("Bevel2"));
        bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
        bar->setGeometry(left, 6, 3, 48);
        bar->setAttribute(Qt::WA_TransparentForMouseEvents); // dragging works on them too
    }

    trayMenu_ = buildTrayMenu(this);
    clockMenu_ = buildClockMenu(this);
    enableMenuHelp(trayMenu_.menu, desktop_, MenuHelp::Window);
    enableMenuHelp(clockMenu_.menu, desktop_, MenuHelp::Window);

    connect(trayMenu_.manager, &QAction::triggered, this, &ClockWindow::openManager);
    connect(clockMenu_.manager, &QAction::triggered, this, &ClockWindow::openManager);
    connect(clockMenu_.hide, &QAction::triggered, this, &ClockWindow::toggleClockVisible);
    connect(clockMenu_.stayOnTop, &QAction::triggered, this, &ClockWindow::toggleStayOnTop);
    connect(clockMenu_.extended, &QAction::triggered, this, &ClockWindow::toggleExtendedDisplay);
    connect(clockMenu_.styleGroup, &QActionGroup::triggered, this, &ClockWindow::chooseStyle);
    // A host that draws the tray menu itself shows it even while a dialog keeps the menu
    // closed; its entries then give the beep that the menu would have given.
    const auto fromTrayMenu = [this](QAction* entry, auto command) {
        connect(entry, &QAction::triggered, this, [this, command] {
            if (!blockingDialogOpen()) {
                command();
                return;
            }
            desktop_.beep();
            trayMenu_.clock->setChecked(isVisible());
        });
    };
    fromTrayMenu(trayMenu_.clock, [this] { toggleClockVisible(); });
    fromTrayMenu(trayMenu_.systemTime, [this] { desktop_.openDateTimeSettings(); });
    fromTrayMenu(trayMenu_.helpTopics, [this] { desktop_.showHelpTopics(); });
    fromTrayMenu(trayMenu_.info, [this] { emit infoRequested(); });
    fromTrayMenu(trayMenu_.quit, [this] { close(); });

    connect(face_, &ClockFace::doubleClicked, this, &ClockWindow::openManager);
    connect(face_, &ClockFace::contextMenuRequested, this, [this](const QPoint& pos) { clockMenu_.menu->popup(pos); });

    // The icon is in the notification area from the moment the window exists.
    trayKind_ = desktop_.trayKind();
    // A host that draws the icon itself draws it crisply at its own size by its name.
    tray_ = new QSystemTrayIcon(trayKind_ == TrayKind::StatusNotifier ? appIconByThemeName() : appIcon(), this);
    tray_->setObjectName(QStringLiteral("TrayIcon1"));
    tray_->setToolTip(QString::fromUtf8(kTrayToolTip).left(kMaxToolTipLength));
    // Exported for a host that draws the menu itself. A classic tray would pop an exported
    // menu up on its own at every right-click, past the beep and the program's own menu.
    if (trayKind_ == TrayKind::StatusNotifier)
        tray_->setContextMenu(trayMenu_.menu);
    // Queued: the desktop notes where the click was first, and places the manager by it.
    connect(tray_, &QSystemTrayIcon::activated, this, &ClockWindow::trayActivated, Qt::QueuedConnection);
    tray_->show();

}

ClockWindow::~ClockWindow() = default;

void ClockWindow::applySettings()
{
    const QSize screen = desktop_.screenSize();
    Point pos = clockPositionAtStartup(settings_, {kWidth, kHeight}, {screen.width(), screen.height()});
    move(pos.x, pos.y);

    // Without a notification area a hidden clock could never be shown again.
    const bool trayAvailable = desktop_.hasNotificationArea();
    clockMenu_.hide->setEnabled(trayAvailable);
    const bool shown = settings_.visible() || !trayAvailable;
    trayMenu_.clock->setChecked(shown);

    setStaysOnTop(settings_.staysOnTop());
    clockMenu_.stayOnTop->setChecked(staysOnTop());

    if (const DisplayStyle* style = findStyleByStoredName(settings_.display())) {
        const auto& styles = displayStyles();
        clockMenu_.styles[static_cast<size_t>(style - styles.data())]->setChecked(true);
    }
    clockMenu_.extended->setChecked(settings_.extended());
    setVisible(shown);
}

const DisplayStyle& ClockWindow::checkedStyle() const
{
    for (size_t i = 0; i < clockMenu_.styles.size(); ++i)
        if (clockMenu_.styles[i]->isChecked())
            return displayStyles()[i];
    return initialDisplayStyle();
}

void ClockWindow::drawFace()
{
    // Diagnostic: one line per redraw, to measure how steadily the clock runs.
    static const bool traceTicks = qEnvironmentVariableIsSet("ZEITWACHE_TRACE_TICKS");
    if (traceTicks) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
        std::printf("zeitwache: uhr %lld\n", static_cast<long long>(ns));
        std::fflush(stdout);
    }
    face_->apply(computeFace(clock_.now(), checkedStyle(), clockMenu_.extended->isChecked(), snoozeCount_.value(),
                             appointments_.count()));
}

void ClockWindow::redraw()
{
    if (!isVisible())
        return;
    try {
        drawFace();
    } catch (...) {
        // Nothing may leave the event loop; the next second draws again.
    }
}

bool ClockWindow::blockingDialogOpen() const
{
    return blockingDialogOpen_ && blockingDialogOpen_();
}

void ClockWindow::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        openManager();
        break;
    case QSystemTrayIcon::Trigger:
        // A status-notifier host's left click; a classic tray sends one before every
        // double-click too, and a single click there does nothing.
        if (trayKind_ == TrayKind::StatusNotifier)
            openManager();
        break;
    case QSystemTrayIcon::Context:
        trayRightClick(QCursor::pos());
        break;
    default:
        break;
    }
}

void ClockWindow::openManager()
{
    if (blockingDialogOpen()) {
        desktop_.beep();
        return;
    }
    emit managerRequested();
}

void ClockWindow::trayRightClick(const QPoint& globalPos)
{
    if (blockingDialogOpen()) {
        desktop_.beep();
        return;
    }
    trayMenu_.menu->popup(globalPos);
}

void ClockWindow::setClockShown(bool shown)
{
    trayMenu_.clock->setChecked(shown);
    setVisible(shown);
    if (shown) {
        raise();
        activateWindow();
    }
    if (shown)
        drawFace();
}

void ClockWindow::showClock()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    toggleClockVisible();
}

void ClockWindow::toggleClockVisible()
{
    const bool show = !isVisible();
    setClockShown(show);
    writeSetting([&] { settings_.setVisible(show); });
}

bool ClockWindow::staysOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void ClockWindow::setStaysOnTop(bool onTop)
{
    if (staysOnTop() == onTop)
        return;
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* native = windowHandle()) {
        // Changed on the existing native window: new flags on the widget would make Qt
        // create another one, which the desktop would show on the taskbar.
        overrideWindowFlags(flags);
        native->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
    if (onTop)
        raise();
}

void ClockWindow::yieldTop()
{
    setStaysOnTop(false);
}

void ClockWindow::restoreTop()
{
    if (!settings_.staysOnTop())
        return;
    setStaysOnTop(false);
    setStaysOnTop(true);
    raise();
}

void ClockWindow::toggleStayOnTop()
{
    const bool onTop = !staysOnTop();
    setStaysOnTop(onTop);
    clockMenu_.stayOnTop->setChecked(onTop);
    writeSetting([&] { settings_.setStaysOnTop(onTop); });
}

void ClockWindow::chooseStyle(QAction* entry)
{
    entry->setChecked(true);
    // The next tick draws the new style.
    writeSetting([&] { settings_.setDisplay(checkedStyle().storedName); });
}

void ClockWindow::toggleExtendedDisplay()
{
    // The menu has toggled the check mark already.
    const bool on = clockMenu_.extended->isChecked();
    if (!on) {
        face_->clearExtended();
    }
    writeSetting([&] { settings_.setExtended(on); });
}

void ClockWindow::writeSetting(const std::function<void()>& write)
{
    try {
        write();
    } catch (const ZeitwacheError& e) {
        desktop_.showError(e);
    }
}

void ClockWindow::setVisible(bool visible)
{
    if (visible) {
        // The desktop forgets the state while the window is hidden.
        create();
        hideFromTaskbar(this);
    }
    QWidget::setVisible(visible);
    emit shownChanged(visible);
}

void ClockWindow::mousePressEvent(QMouseEvent* event)
{
    // Everything outside the display panel behaves as a title bar.
    if (event->button() == Qt::LeftButton && windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void ClockWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        desktop_.showHelpTopic(QStringLiteral("UHR"));
        event->accept();
        return;
    }
    event->accept(); // no other key does anything
}

void ClockWindow::closeEvent(QCloseEvent* event)
{
    desktop_.closeHelp();
    writeSetting([&] { settings_.setPosition(x(), y()); });
    event->accept();
    QCoreApplication::quit();
}

} // namespace zw
