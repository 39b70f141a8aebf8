// The visible clock's tick skips drawing while the face would come out the same; these
// tests make sure that no change of what the face shows is lost to that, and that the
// due check still runs on every tick.
#include "clock/ui/clock_face.h"
#include "clock/ui/clock_window.h"
#include "common/file_io.h"
#include "platform/scripted_desktop.h"
#include "scheduler/appointment_book.h"
#include "scheduler/snooze.h"
#include "settings/clock_settings.h"

#include <QAction>
#include <QLabel>
#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

using namespace zw;
namespace fs = std::filesystem;

namespace {

class SteppedClock : public Clock {
public:
    LocalDateTime current{{2026, 12, 6}, {9, 5, 7}};
    LocalDateTime now() const override { return current; }
};

class CountingExecutor : public AppointmentExecutor {
public:
    int calls = 0;
    void carryOut(const DueAppointment&) override { ++calls; }
};

struct VisibleClock : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zw-clocktick-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ScriptedDesktop desktop;
    SteppedClock clock;
    CountingExecutor executor;
    AppointmentList list;
    SnoozeCounter snoozes;
    std::unique_ptr<ClockSettings> settings;
    std::unique_ptr<AppointmentBook> book;
    std::unique_ptr<ClockWindow> window;

    void SetUp() override
    {
        fs::create_directories(dir);
        desktop.setScreenSize({1024, 768});
        desktop.setFullScreenClientSize({1024, 722});
        ASSERT_TRUE(writeFileAtomically(dir / "Zeitwache.ini", "[Clock]\r\nSichtbar=1\r\nExtendet=1\r\n"));
        settings = std::make_unique<ClockSettings>(dir / "Zeitwache.ini");
        book = std::make_unique<AppointmentBook>(dir, list, clock, executor);
        window = std::make_unique<ClockWindow>(desktop, clock, *settings, *book, snoozes);
        window->applySettings();
        book->load();
        window->startClock();
        ASSERT_TRUE(window->isVisible());
    }
    void TearDown() override
    {
        window.reset();
        fs::remove_all(dir);
    }
    QLabel* label(const char* name) const { return window->face()->findChild<QLabel*>(QString::fromLatin1(name)); }
    QString extendedText() const { return label("Label2")->text(); }
};

const char kLine[] = "[06.12.2026 11:00] [Keine      ] [Ja  ] [0000000] [001 000 006] [x  (Kein)]";

} // namespace

TEST_F(VisibleClock, ChangesWithinTheSameSecondReachTheFaceAtTheNextTick)
{
    EXPECT_EQ(extendedText(), QStringLiteral("0 Term."));

    list.append(kLine);
    window->tick();
    EXPECT_EQ(extendedText(), QStringLiteral("1 Term."));

    AlarmSnooze snooze(snoozes);
    snooze.start(5);
    window->tick();
    EXPECT_EQ(extendedText(), QStringLiteral("Snooze 1"));

    window->clockMenu().styles[3]->trigger(); // LED red
    window->tick();
    EXPECT_EQ(label("Label1")->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    window->clockMenu().extended->trigger(); // off: emptied at once
    EXPECT_EQ(extendedText(), QString());
    window->clockMenu().extended->trigger(); // on again, still in the same second
    window->tick();
    EXPECT_EQ(extendedText(), QStringLiteral("Snooze 1"));
}

TEST_F(VisibleClock, ANewDayReachesTheDateLabel)
{
    clock.current = {{2026, 12, 6}, {23, 59, 59}};
    window->tick();
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("06.12.2026"));
    clock.current = {{2026, 12, 7}, {0, 0, 0}};
    window->tick();
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("07.12.2026"));
}

TEST_F(VisibleClock, TheDueCheckRunsOnTicksThatDrawNothing)
{
    list.append("[06.12.2026 09:06] [Keine      ] [Ja  ] [0000000] [001 000 006] [x  (Kein)]");
    clock.current = {{2026, 12, 6}, {9, 6, 0}};
    window->drawFace(); // the face shows 09:06:00 already
    window->tick();     // so this tick draws nothing, but it is the first of second 00
    EXPECT_EQ(executor.calls, 1);
    window->tick();
    EXPECT_EQ(executor.calls, 1);
}
