// Start-up of the whole program in this process: what the first due check opens and what
// the user is told about the data file.
#include "app/zeitwache_app.h"
#include "clock/ui/clock_window.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "scheduler/ui/alarm_executor.h"
#include "scheduler/ui/alarm_window.h"
#include "test_clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zw;
using Kind = DesktopCall::Kind;

namespace {

// The minute kDueNow falls due.
const LocalDateTime kNow{{2026, 12, 8}, {9, 6, 0}};
constexpr char kDueNow[] = "[08.12.2026 09:06] [Keine      ] [Ja  ] [0000000] [011 000 006] [Fruehstueck  (Kein)]\r\n";

void writeDataFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    QFile file(QDir(dir.path()).filePath(QStringLiteral("termine.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ZeitwacheAppStart, AlarmWindowsOfTheFirstCheckBelongToTheClockWindow)
{
    QTemporaryDir dir;
    writeDataFile(dir, QByteArray(kDueNow));
    ScriptedDesktop desktop;
    desktop.setScreenSize({1024, 768});
    zw::testing::TestClock clock(kNow);
    ZeitwacheApp app(Places::inOneDirectory(dir.path()), desktop, clock);
    app.start();

    const QList<AlarmWindow*> windows = app.executor().openWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->parentWidget(), &app.clockWindow());
    qDeleteAll(windows);
}

TEST(ZeitwacheAppStart, ADataFileWithAByteZeroIsCopiedAndTheUserToldWhere)
{
    QTemporaryDir dir;
    writeDataFile(dir, QByteArray(kDueNow) + QByteArray(1, '\0') + "Rest");
    ScriptedDesktop desktop;
    desktop.setScreenSize({1024, 768});
    desktop.queueAnswer(MessageResult::Ok);
    zw::testing::TestClock clock(kNow);
    ZeitwacheApp app(Places::inOneDirectory(dir.path()), desktop, clock);
    app.start();
    qDeleteAll(app.executor().openWindows());

    const auto boxes = desktop.callsOf(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    const QString copy = QDir(dir.path()).filePath(QStringLiteral("termine.dat.beschaedigt"));
    EXPECT_TRUE(boxes[0].text.contains(copy)) << boxes[0].text.toStdString();
    QFile kept(copy);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().endsWith(QByteArray(1, '\0') + "Rest"));
}

} // namespace
