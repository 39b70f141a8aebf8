#include "clock/face.h"
#include "clock/ui/clock_face.h"
#include "clock/ui/clock_window.h"
#include "data_dir.h"
#include "platform/scripted_desktop.h"
#include "recording_executor.h"
#include "scheduler/appointment_book.h"
#include "scheduler/snooze.h"
#include "scheduler/ui/minute_tick.h"
#include "settings/clock_settings.h"
#include "test_clock.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>
#include <QDateTime>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>

using namespace zw;

namespace {

struct ClockWindowFixture : ::testing::Test {
    zw::testing::DataDir dir;
    ScriptedDesktop desktop;
    zw::testing::TestClock clock{{{2026, 12, 6}, {9, 5, 7}}};
    zw::testing::RecordingExecutor executor;
    AppointmentList list;
    SnoozeCounter snoozes;
    std::unique_ptr<ClockSettings> settings;
    std::unique_ptr<AppointmentBook> book;
    std::unique_ptr<ClockWindow> window;
    std::unique_ptr<MinuteTick> tick;

    void SetUp() override
    {
        clock.setMonotonic({}); // the system's clock has one
        desktop.setScreenSize({1024, 768});
        desktop.setFullScreenClientSize({1024, 722});
    }
    void TearDown() override { window.reset(); }
    void ini(const std::string& content) { ASSERT_TRUE(dir.write("Zeitwache.ini", content)); }
    std::string iniContent() { return dir.read("Zeitwache.ini"); }
    ClockWindow& start()
    {
        settings = std::make_unique<ClockSettings>(dir / "Zeitwache.ini");
        book = std::make_unique<AppointmentBook>(dir, list, clock, executor);
        window = std::make_unique<ClockWindow>(desktop, clock, *settings, list, snoozes);
        // Wired as the program wires them.
        tick = std::make_unique<MinuteTick>(book->dueCheck());
        QObject::connect(tick.get(), &MinuteTick::secondPassed, window.get(), &ClockWindow::redraw);
        QObject::connect(window.get(), &ClockWindow::shownChanged, tick.get(), &MinuteTick::setEverySecond);
        window->applySettings();
        book->load();
        tick->start();
        window->drawFace();
        return *window;
    }
    QStringList captions(QMenu* menu)
    {
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    QStringList names(QMenu* menu)
    {
        QStringList out;
        for (QAction* a : menu->actions())
            out << a->objectName();
        return out;
    }
};

} // namespace

TEST_F(ClockWindowFixture, MenusHaveTheirCaptionsOrderNamesAndHelpNumbers)
{
    ClockWindow& w = start();
    QMenu* tray = w.trayMenu().menu;
    EXPECT_EQ(captions(tray), (QStringList{"Termin&manager ...", "Uhr", "-", "Systemzeit ändern ...", "-",
                                           "Hilfethemen", "Info", "-", "Beenden"}));
    EXPECT_EQ(names(tray), (QStringList{"Terminmanager1", "Uhr1", "N3", "Systemzeitndern1", "N4", "Hilfethemen1",
                                        "Info1", "N1", "Beenden1"}));
    EXPECT_EQ(tray->defaultAction(), w.trayMenu().manager);
    for (QAction* a : tray->actions())
        EXPECT_EQ(a->property("helpContext").toInt(), 333) << a->objectName().toStdString();

    QMenu* clockMenu = w.clockMenu().menu;
    EXPECT_EQ(captions(clockMenu),
              (QStringList{"&Immer im Vordergrund", "Erweiterte &Anzeige", "-", "LCD -&Display",
                           "LCD -Display &beleuchtet", "LED -Display &Grün", "LED -Display &Rot", "LED -&Punktmatrix",
                           "&Klappziffer -Display", "-", "&Terminmanager", "Uhr &schließen"}));
    EXPECT_EQ(names(clockMenu), (QStringList{"ImmerimVordergrund1", "ErweiterteAnzeige1", "N5", "LCD0", "LCD1",
                                             "LEDGrn1", "LEDRot1", "LEDPunktmatrix1", "Klappziffer1", "N2",
                                             "Terminmanager2", "Schlieen1"}));
    EXPECT_EQ(clockMenu->defaultAction(), w.clockMenu().manager);
    QStringList withoutHelp;
    for (QAction* a : clockMenu->actions())
        if (a->property("helpContext").toInt() != 222)
            withoutHelp << a->objectName();
    EXPECT_EQ(withoutHelp, (QStringList{"LEDPunktmatrix1", "Klappziffer1", "Terminmanager2"}));
}

TEST_F(ClockWindowFixture, FirstStartWithoutSettings)
{
    ClockWindow& w = start();
    EXPECT_EQ(w.size(), QSize(148, 60));
    EXPECT_EQ(w.pos(), QPoint(1024 - 148, 0));
    EXPECT_TRUE(w.staysOnTop());
    EXPECT_TRUE(w.clockMenu().stayOnTop->isChecked());
    EXPECT_TRUE(w.clockMenu().styles[0]->isChecked()); // "LCD"
    EXPECT_FALSE(w.clockMenu().extended->isChecked());
    EXPECT_EQ(w.trayIcon()->toolTip(), QStringLiteral("Zeitwache 99"));
    EXPECT_EQ(iniContent(), "<missing>"); // start-up writes nothing
}

TEST_F(ClockWindowFixture, SettingsAreAppliedWithTheirReadingRules)
{
    ini("[Clock]\r\nUhrposX=0x10\r\nUhrposY=5000\r\nStatus=top\r\nDisplay=LEDRot\r\nExtendet=2\r\n");
    ClockWindow& w = start();
    EXPECT_EQ(w.pos(), QPoint(16, 768 - 60));
    EXPECT_FALSE(w.staysOnTop()); // lower-case "top" is not "Top"
    EXPECT_TRUE(w.clockMenu().styles[3]->isChecked());
    EXPECT_TRUE(w.clockMenu().extended->isChecked());
}

TEST_F(ClockWindowFixture, UnknownDisplayKeepsLedGreen)
{
    ini("[Clock]\r\nDisplay=lcd\r\n");
    ClockWindow& w = start();
    EXPECT_TRUE(w.clockMenu().styles[2]->isChecked());
}

TEST_F(ClockWindowFixture, CommandsWriteOnlyTheirOwnKeyAtOnce)
{
    ini("; eigene Notiz\r\n[Clock]\r\nUhrposX=100\r\nUhrposY=50\r\n");
    ClockWindow& w = start();
    w.clockMenu().stayOnTop->trigger();
    EXPECT_FALSE(w.staysOnTop());
    EXPECT_EQ(iniContent(), "; eigene Notiz\r\n[Clock]\r\nUhrposX=100\r\nUhrposY=50\r\nStatus=Back\r\n");
    w.clockMenu().styles[5]->trigger();
    EXPECT_NE(iniContent().find("Display=Klappziffer\r\n"), std::string::npos);
    w.clockMenu().extended->trigger();
    EXPECT_NE(iniContent().find("Extendet=1\r\n"), std::string::npos);
    w.move(300, 200); // a move is written only at shutdown
    EXPECT_NE(iniContent().find("UhrposX=100\r\n"), std::string::npos);
    w.close();
    EXPECT_NE(iniContent().find("UhrposX=300\r\nUhrposY=200\r\n"), std::string::npos);
    EXPECT_EQ(desktop.count(DesktopCall::Kind::CloseHelp), 1u);
}

TEST_F(ClockWindowFixture, HidingAndShowingTheClock)
{
    ini("[Clock]\r\nSichtbar=1\r\n");
    ClockWindow& w = start();
    ASSERT_TRUE(w.isVisible());
    w.clockMenu().hide->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.trayMenu().clock->isChecked());
    EXPECT_NE(iniContent().find("Sichtbar=0"), std::string::npos);
    w.trayMenu().clock->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.trayMenu().clock->isChecked());
    EXPECT_NE(iniContent().find("Sichtbar=1"), std::string::npos);
    // Closing while hidden still saves the position.
    w.clockMenu().hide->trigger();
    w.move(10, 20);
    w.close();
    EXPECT_NE(iniContent().find("UhrposX=10\r\nUhrposY=20"), std::string::npos);
}

TEST_F(ClockWindowFixture, StyleAndExtendedDisplayReachTheFace)
{
    ini("[Clock]\r\nSichtbar=1\r\nDisplay=LEDRot\r\n");
    ClockWindow& w = start();
    auto* date = w.face()->findChild<QLabel*>(QStringLiteral("Label1"));
    auto* extended = w.face()->findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_TRUE(date && extended);
    EXPECT_EQ(date->text(), QStringLiteral("06.12.2026"));
    w.clockMenu().extended->trigger();
    EXPECT_EQ(extended->text(), QString()); // filled by the next tick
    tick->tick();
    EXPECT_EQ(extended->text(), QStringLiteral("0 Term."));
    w.clockMenu().extended->trigger();
    EXPECT_EQ(extended->text(), QString()); // emptied at once
}

TEST_F(ClockWindowFixture, BlockingDialogTurnsManagerAndTrayMenuIntoABeep)
{
    ClockWindow& w = start();
    bool blocked = true;
    int opened = 0;
    w.setBlockingDialogCheck([&] { return blocked; });
    QObject::connect(&w, &ClockWindow::managerRequested, [&] { ++opened; });
    w.openManager();
    w.trayRightClick({10, 10});
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(desktop.count(DesktopCall::Kind::Beep), 2u);
    EXPECT_FALSE(w.trayMenu().menu->isVisible());
    blocked = false;
    w.openManager();
    EXPECT_EQ(opened, 1);
}

TEST_F(ClockWindowFixture, F1OpensTheClockHelpAndNoOtherKeyDoesAnything)
{
    ClockWindow& w = start();
    QTest::keyClick(&w, Qt::Key_F1);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_A);
    ASSERT_EQ(desktop.calls().size(), 1u);
    EXPECT_EQ(desktop.calls()[0].kind, DesktopCall::Kind::HelpTopic);
    EXPECT_EQ(desktop.calls()[0].text, QStringLiteral("UHR"));
}

TEST_F(ClockWindowFixture, TheTickRunsTheDueCheckAtSecondZero)
{
    start();
    list.append("[06.12.2026 09:06] [Keine      ] [Ja  ] [0000000] [001 000 006] [x  (Kein)]");
    clock.set({{2026, 12, 6}, {9, 6, 0}});
    tick->tick();
    tick->tick();
    EXPECT_EQ(executor.count(), 1u);
}

TEST_F(ClockWindowFixture, ALateTickChecksTheMinuteThatPassedWhileTheProgramWasBusy)
{
    start();
    list.append("[06.12.2026 09:06] [Keine      ] [Ja  ] [0000000] [001 000 006] [x  (Kein)]");
    clock.set({{2026, 12, 6}, {9, 5, 59}});
    tick->tick();
    clock.live(std::chrono::seconds(5)); // the thread was blocked for five seconds
    tick->tick();
    tick->tick();
    EXPECT_EQ(executor.count(), 1u);
}

// A classic tray sends Trigger before every DoubleClick and leaves the menu to the
// program; a status-notifier host sends Trigger for a left click and draws the exported
// menu itself, or asks for the program's own with Context.
TEST_F(ClockWindowFixture, TrayClicksMeanWhatTheKindOfNotificationAreaMeans)
{
    struct Case {
        TrayKind kind;
        QSystemTrayIcon::ActivationReason reason;
        int managerOpened;
        bool ownMenuShown;
    };
    const Case cases[] = {
        {TrayKind::Classic, QSystemTrayIcon::Trigger, 0, false},
        {TrayKind::Classic, QSystemTrayIcon::DoubleClick, 1, false},
        {TrayKind::Classic, QSystemTrayIcon::Context, 0, true},
        {TrayKind::StatusNotifier, QSystemTrayIcon::Trigger, 1, false},
        {TrayKind::StatusNotifier, QSystemTrayIcon::Context, 0, true},
        {TrayKind::StatusNotifier, QSystemTrayIcon::MiddleClick, 0, false},
    };
    for (const Case& c : cases) {
        desktop.setTrayKind(c.kind);
        ClockWindow& w = start();
        int opened = 0;
        QObject::connect(&w, &ClockWindow::managerRequested, [&] { ++opened; });
        emit w.trayIcon()->activated(c.reason);
        QCoreApplication::processEvents();
        const std::string context = std::to_string(int(c.kind)) + "/" + std::to_string(int(c.reason));
        EXPECT_EQ(opened, c.managerOpened) << context;
        EXPECT_EQ(w.trayMenu().menu->isVisible(), c.ownMenuShown) << context;
        // Only a host that draws the menu gets it: a classic tray would pop it up by itself.
        EXPECT_EQ(w.trayIcon()->contextMenu(), c.kind == TrayKind::StatusNotifier ? w.trayMenu().menu : nullptr);
        w.trayMenu().menu->hide();
    }
}

TEST_F(ClockWindowFixture, TheExportedTrayMenuFollowsTheClockAndBeepsWhileADialogBlocks)
{
    desktop.setTrayKind(TrayKind::StatusNotifier);
    ini("[Clock]\r\nSichtbar=0\r\n");
    ClockWindow& w = start();
    ASSERT_EQ(w.trayIcon()->contextMenu(), w.trayMenu().menu);
    EXPECT_FALSE(w.trayMenu().clock->isChecked());
    w.trayMenu().clock->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.trayMenu().clock->isChecked());
    w.clockMenu().hide->trigger(); // closed from its own menu
    EXPECT_FALSE(w.trayMenu().clock->isChecked());

    // The host shows the menu even while a dialog is open: its entries only beep then.
    bool blocked = true;
    w.setBlockingDialogCheck([&] { return blocked; });
    int info = 0;
    QObject::connect(&w, &ClockWindow::infoRequested, [&] { ++info; });
    for (QAction* entry : {w.trayMenu().clock, w.trayMenu().info, w.trayMenu().quit, w.trayMenu().manager})
        entry->trigger();
    EXPECT_EQ(desktop.count(DesktopCall::Kind::Beep), 4u);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.trayMenu().clock->isChecked());
    EXPECT_EQ(info, 0);
    blocked = false;
    w.showClock();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.trayMenu().clock->isChecked());
}

TEST_F(ClockWindowFixture, WithoutANotificationAreaTheClockStaysReachable)
{
    desktop.setHasNotificationArea(false);
    ini("[Clock]\r\nSichtbar=0\r\n");
    ClockWindow& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.clockMenu().hide->isEnabled());
    EXPECT_NE(iniContent().find("Sichtbar=0"), std::string::npos); // the user's choice stays saved
}

TEST_F(ClockWindowFixture, EveryChangeOfWhatTheFaceShowsReachesItAtTheNextTick)
{
    ini("[Clock]\r\nSichtbar=1\r\nExtendet=1\r\n");
    ClockWindow& w = start();
    auto* date = w.face()->findChild<QLabel*>(QStringLiteral("Label1"));
    auto* extended = w.face()->findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_TRUE(date && extended);
    EXPECT_EQ(extended->text(), QStringLiteral("0 Term."));

    list.append("[06.12.2026 11:00] [Keine      ] [Ja  ] [0000000] [001 000 006] [x  (Kein)]");
    tick->tick();
    EXPECT_EQ(extended->text(), QStringLiteral("1 Term."));

    AlarmSnooze snooze(snoozes);
    snooze.start(5);
    tick->tick();
    EXPECT_EQ(extended->text(), QStringLiteral("Snooze 1"));

    w.clockMenu().styles[3]->trigger(); // LED red
    tick->tick();
    EXPECT_EQ(date->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    w.clockMenu().extended->trigger(); // off: emptied at once
    EXPECT_EQ(extended->text(), QString());
    w.clockMenu().extended->trigger(); // on again within the same second
    tick->tick();
    EXPECT_EQ(extended->text(), QStringLiteral("Snooze 1"));

    clock.set({{2026, 12, 7}, {0, 0, 0}});
    tick->tick();
    EXPECT_EQ(date->text(), QStringLiteral("07.12.2026"));
}

namespace {

int wallSecond()
{
    return static_cast<int>(QDateTime::currentMSecsSinceEpoch() / 1000 % 60);
}

int remainingOfTick(const MinuteTick& tick)
{
    auto* timer = tick.findChild<QTimer*>(QStringLiteral("Timer1"));
    EXPECT_NE(timer, nullptr);
    return timer != nullptr ? timer->remainingTime() : -1;
}

TEST_F(ClockWindowFixture, AHiddenClockWakesInSecondsZeroAndOneOnlyAShownOneEverySecond)
{
    ini("[Clock]\nSichtbar=0\n");
    ClockWindow& w = start();
    ASSERT_FALSE(w.isVisible());
    // Showing and hiding again schedules anew; tried again if a second turned meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int second = wallSecond();
        w.toggleClockVisible();
        w.toggleClockVisible();
        const int remaining = remainingOfTick(*tick);
        if (wallSecond() != second)
            continue;
        if (second == 0 || second == 59) {
            EXPECT_LE(remaining, 1050) << "second " << second; // into second 01, or 00
        } else {
            EXPECT_GT(remaining, (59 - second) * 1000 - 50) << "second " << second;
            EXPECT_LE(remaining, (60 - second) * 1000 + 50) << "second " << second;
        }
        break;
    }
    w.toggleClockVisible();
    ASSERT_TRUE(w.isVisible());
    EXPECT_LE(remainingOfTick(*tick), 1050);
}

} // namespace
