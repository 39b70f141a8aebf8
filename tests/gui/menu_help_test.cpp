// F1 on a highlighted menu entry, and the tray menu's help topics, in the whole program.
#include "app/zeitwache_app.h"
#include "clock/ui/clock_window.h"
#include "manager/ui/manager_dialog.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "test_clock.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zw;
using Kind = DesktopCall::Kind;

namespace {

struct MenuHelpTest : ::testing::Test {
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    zw::testing::TestClock clock;
    ZeitwacheApp app{Places::inOneDirectory(dir.path()), desktop, clock};

    MenuHelpTest() { app.start(); }

    // Opens the menu, highlights the entry and presses F1 on it.
    void pressF1On(QMenu* menu, const char* entry)
    {
        menu->popup(QPoint(100, 100));
        auto* action = menu->findChild<QAction*>(QString::fromLatin1(entry));
        ASSERT_NE(action, nullptr) << entry;
        menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_F1);
    }
    QMenu* menuNamed(QWidget* window, const char* name)
    {
        return window->findChild<QMenu*>(QString::fromLatin1(name));
    }
};

TEST_F(MenuHelpTest, TheClocksMenusOpenTheEntrysTextInTheHelpWindow)
{
    QMenu* tray = app.clockWindow().trayMenu().menu;
    pressF1On(tray, "Hilfethemen1");
    EXPECT_FALSE(tray->isVisible());
    ASSERT_EQ(desktop.callsOf(Kind::HelpContext).size(), 1u);
    EXPECT_EQ(desktop.callsOf(Kind::HelpContext)[0].number, 333);

    pressF1On(app.clockWindow().clockMenu().menu, "LCD1");
    ASSERT_EQ(desktop.callsOf(Kind::HelpContext).size(), 2u);
    EXPECT_EQ(desktop.callsOf(Kind::HelpContext)[1].number, 222);

    // An entry without a help number opens nothing, and the menu stays.
    QMenu* clockMenu = app.clockWindow().clockMenu().menu;
    pressF1On(clockMenu, "LEDPunktmatrix1");
    EXPECT_EQ(desktop.calls().size(), 2u);
    EXPECT_TRUE(clockMenu->isVisible());
    clockMenu->close();
}

TEST_F(MenuHelpTest, TheListMenuOfTheManagerShowsAPopUpBesideTheEntry)
{
    app.manager().showManager();
    QMenu* menu = menuNamed(&app.manager(), "PopupMenu2");
    ASSERT_NE(menu, nullptr);
    pressF1On(menu, "Allesmarkieren1");
    const auto popups = desktop.callsOf(Kind::HelpPopup);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].number, 104);
    // Right of the menu's left edge, level with the entry.
    EXPECT_GT(popups[0].point.x(), 100);
    EXPECT_GT(popups[0].point.y(), 100);
    EXPECT_EQ(desktop.count(Kind::HelpContext), 0u);
}

TEST_F(MenuHelpTest, HilfethemenOpensTheTopicsDialog)
{
    app.clockWindow().trayMenu().helpTopics->trigger();
    EXPECT_EQ(desktop.count(Kind::HelpTopics), 1u);
}

} // namespace
