// The error box of the first due check at start-up, and the minute checks that its nested
// event loop lets through: a check that fails for the same reason must not open a second,
// identical box on top of it.
#include "app/zeitwache_app.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "scheduler/ui/alarm_executor.h"
#include "test_clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zw;
using Kind = DesktopCall::Kind;

namespace {

// Its date cannot be read: every due check stops at it with the conversion error.
constexpr char kDamaged[] =
    "[3x.12.2026 09:06] [Keine      ] [Ja  ] [0000000] [011 000 006] [Fruehstueck  (Kein)]\r\n";

TEST(StartupErrorBox, AMinuteFailingWhileTheStartupBoxIsOpenAddsNoSecondBox)
{
    QTemporaryDir dir;
    {
        QFile file(QDir(dir.path()).filePath(QStringLiteral("termine.dat")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kDamaged);
    }
    ScriptedDesktop desktop;
    desktop.setScreenSize({1024, 768});
    desktop.queueAnswer(MessageResult::Ok);
    zw::testing::TestClock clock({{2026, 12, 8}, {9, 6, 30}});
    ZeitwacheApp app(Places::inOneDirectory(dir.path()), desktop, clock);

    int depth = 0;
    int openedOnTop = 0;
    desktop.setWhileBoxOpen([&](const DesktopCall&) {
        if (depth > 0) {
            ++openedOnTop;
            return;
        }
        ++depth;
        // The user reads the box; the next minute's second 00 comes, and its tick runs
        // in the box's event loop.
        clock.set({{2026, 12, 8}, {9, 7, 0}});
        app.book().dueCheck().tick();
        --depth;
    });
    app.start();
    qDeleteAll(app.executor().openWindows());

    EXPECT_EQ(openedOnTop, 0) << "a second error box opened while the start-up box was open";
    EXPECT_EQ(desktop.count(Kind::MessageBox), 1u);
}

} // namespace
