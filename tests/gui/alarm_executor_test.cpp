// Carrying out due appointments: alarm windows, their numbers and places, starting the
// application, failure boxes, the executed mark and deletion after execution.
#include "scheduler/ui/alarm_executor.h"
#include "scheduler/ui/alarm_window.h"
#include "scheduler/ui/appointment_rows.h"

#include "platform/scripted_desktop.h"
#include "scheduler/due_check.h"
#include "store/appointment_line.h"
#include "test_clock.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zw {
namespace {

using Kind = DesktopCall::Kind;

class RecordingRows : public AppointmentRows {
public:
    void showEntry(std::size_t entry) override { shown.push_back(entry); }
    std::vector<std::size_t> shown;
};

struct LineFields {
    std::string message = "Nachricht";
    std::string application{};
    std::string sound = "(Kein)";
    bool deleteAfter = false;
    std::string time = "10:00";
};

std::string makeLine(const LineFields& fields)
{
    line::Appointment a;
    a.date = {2026, 12, 7};
    a.time = *parseTime(fields.time);
    a.message = fields.message;
    a.application = fields.application;
    a.sound = fields.sound;
    a.deleteAfterExecution = fields.deleteAfter;
    a.showIfExpired = false;
    return line::compose(a, 2026);
}

class AlarmExecutorTest : public ::testing::Test {
protected:
    AlarmExecutorTest() { desktop.setScreenSize({800, 600}); }
    ~AlarmExecutorTest() override { qDeleteAll(executor.openWindows()); }

    // Puts a line with these fields at the end of the list and returns what the due check would
    // hand over for it.
    DueAppointment add(const LineFields& fields, std::string status = "Neue Nachricht")
    {
        list.append(makeLine(fields));
        return {list.count() - 1, fields.message, fields.application, fields.sound, std::move(status),
                fields.deleteAfter ? '1' : '0', {}};
    }

    char executedFlag(size_t index) const { return line::flag(list.get(index), line::kExecuted); }

    ScriptedDesktop desktop;
    testing::TestClock clock{{{2026, 12, 7}, {10, 0, 0}}}; // a Monday
    AppointmentList list;
    SnoozeCounter snoozes;
    AlarmCascade cascade{800, 600};
    AlarmExecutor executor{desktop, clock, list, {QStringLiteral("/opt/zeitwache")}, snoozes, cascade};
};

TEST_F(AlarmExecutorTest, MessageWithoutSoundOpensOneNumberedWindowAndStartsNothing)
{
    executor.carryOut(add({.message = "Zahnarzt f\xFCr Max"}, "Wiederholung (T\xE4glich)"));

    ASSERT_EQ(executor.openWindows().size(), 1);
    AlarmWindow* window = executor.openWindows().front();
    EXPECT_EQ(window->windowTitle(), "Nachricht Nr.1");
    EXPECT_EQ(executor.messageCounter(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->timeLabel()->text(), "Aktuelle Zeit :   Montag 07.12.2026  10:00 Uhr");
    EXPECT_EQ(window->statusLabel()->text(), "Status           :   Wiederholung (Täglich)");
    EXPECT_EQ(window->messageView()->toPlainText(), "Zahnarzt für Max");
    EXPECT_TRUE(window->editButton()->isEnabled());

    EXPECT_EQ(desktop.count(Kind::PlayWave), 0u);
    EXPECT_EQ(desktop.count(Kind::StartApplication), 0u);
    EXPECT_EQ(desktop.count(Kind::MessageBox), 0u);
    EXPECT_EQ(executedFlag(0), '1');
}

TEST_F(AlarmExecutorTest, ShowingTheWindowPlaysItsSoundFromTheProgramDirectory)
{
    executor.carryOut(add({.sound = "Gl\xF6""cke.wav"}));

    const auto sounds = desktop.callsOf(Kind::PlayWave);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].file, "/opt/zeitwache/Glöcke.wav");
}

TEST_F(AlarmExecutorTest, WindowIsShownThenBroughtToFrontAndAsksForAttentionWhenNotActivated)
{
    desktop.setBringsToFront(false);
    executor.carryOut(add({.sound = "gong.wav"}));

    const auto& calls = desktop.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, Kind::PlayWave);
    EXPECT_EQ(calls[1].kind, Kind::BringToFront);
    EXPECT_EQ(calls[2].kind, Kind::RequestAttention);
    EXPECT_EQ(calls[2].window, executor.openWindows().front());

    desktop.clearCalls();
    desktop.setBringsToFront(true);
    executor.carryOut(add({}));
    EXPECT_EQ(desktop.count(Kind::BringToFront), 1u);
    EXPECT_EQ(desktop.count(Kind::RequestAttention), 0u);
}

TEST_F(AlarmExecutorTest, ApplicationWithoutMessageIsStartedWithoutWindowOrSound)
{
    executor.carryOut(add({.message = "", .application = "notepad.exe C:\\Daten\\brief.txt", .sound = "gong.wav"}));

    EXPECT_TRUE(executor.openWindows().isEmpty());
    EXPECT_EQ(executor.messageCounter(), 0);
    EXPECT_EQ(desktop.count(Kind::PlayWave), 0u);
    const auto starts = desktop.callsOf(Kind::StartApplication);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].file, "notepad.exe");
    EXPECT_EQ(starts[0].arguments, QStringList{"C:\\Daten\\brief.txt"});
    EXPECT_EQ(desktop.count(Kind::MessageBox), 0u);
    EXPECT_EQ(executedFlag(0), '1');
}

TEST_F(AlarmExecutorTest, QuotedProgramPathAndArgumentsAreConvertedFromWindows1252)
{
    executor.carryOut(
        add({.application = "\"C:\\Programme\\B\xFCro\\edit.exe\" M\xE4rz.txt,\"Zwei W\xF6rter\""}));

    const auto starts = desktop.callsOf(Kind::StartApplication);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].file, "C:\\Programme\\Büro\\edit.exe");
    EXPECT_EQ(starts[0].arguments, (QStringList{"März.txt", "Zwei Wörter"}));
}

TEST_F(AlarmExecutorTest, ThreeAppointmentsAtOnceCascadeFromTheScreenCentre)
{
    desktop.setFullScreenClientSize({800, 548});
    executor.carryOut(add({.message = "Eins"}));
    executor.carryOut(add({.message = "Zwei"}));
    executor.carryOut(add({.message = "Drei"}));

    const QList<AlarmWindow*> windows = executor.openWindows();
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(windows[0]->windowTitle(), "Nachricht Nr.1");
    EXPECT_EQ(windows[1]->windowTitle(), "Nachricht Nr.2");
    EXPECT_EQ(windows[2]->windowTitle(), "Nachricht Nr.3");
    EXPECT_EQ(windows[0]->pos(), QPoint(213, 149));
    EXPECT_EQ(windows[1]->pos(), QPoint(233, 169));
    EXPECT_EQ(windows[2]->pos(), QPoint(253, 189));
}

TEST_F(AlarmExecutorTest, CascadeRestartsAgainstTheUsableAreaNotTheScreen)
{
    // Room for the centred window, not for one 20 pixels further right.
    desktop.setFullScreenClientSize({600, 480});
    executor.carryOut(add({}));
    executor.carryOut(add({}));
    executor.carryOut(add({}));

    const QList<AlarmWindow*> windows = executor.openWindows();
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(windows[0]->pos(), QPoint(213, 149));
    EXPECT_EQ(windows[1]->pos(), QPoint(0, 0));
    EXPECT_EQ(windows[2]->pos(), QPoint(20, 20));
}

TEST_F(AlarmExecutorTest, ClosedWindowsLeaveTheListButNeverLowerTheNumber)
{
    executor.carryOut(add({}));
    executor.openWindows().front()->closeButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(executor.openWindows().isEmpty());

    executor.carryOut(add({}));
    ASSERT_EQ(executor.openWindows().size(), 1);
    EXPECT_EQ(executor.openWindows().front()->windowTitle(), "Nachricht Nr.2");
    EXPECT_EQ(executor.openWindows().front()->pos(), QPoint(233, 169));
}

struct FailureCase {
    int result;
    const char* reason;
};

class LaunchFailureTest : public AlarmExecutorTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(LaunchFailureTest, FailureIsReportedAfterTheWindowAndBeforeTheMark)
{
    desktop.queueLaunchResult(GetParam().result);
    desktop.queueAnswer(MessageResult::Ok);
    // Seen while the box is open: the window is up, the line not yet marked.
    bool windowShownWhileBoxOpen = false;
    char flagWhileBoxOpen = '?';
    desktop.setWhileBoxOpen([&](const DesktopCall&) {
        windowShownWhileBoxOpen = executor.openWindows().size() == 1 && executor.openWindows().front()->isVisible();
        flagWhileBoxOpen = executedFlag(0);
    });

    executor.carryOut(add({.application = "tabelle.xls"}));

    const auto boxes = desktop.callsOf(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("tabelle.xls konnte nicht geöffnet werden. Grund: ") +
                                 QString::fromUtf8(GetParam().reason));
    EXPECT_EQ(boxes[0].title, "Zeitwache 99");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(windowShownWhileBoxOpen);
    EXPECT_EQ(flagWhileBoxOpen, '0');
    EXPECT_EQ(executedFlag(0), '1');
}

INSTANTIATE_TEST_SUITE_P(
    Results, LaunchFailureTest,
    ::testing::Values(FailureCase{2, "Die Datei wurde nicht gefunden!"},
                      FailureCase{31, "Mit der gewählten Datei ist keine Anwendung verknüpft!"},
                      FailureCase{0, "Unbekannter Fehler!"}, FailureCase{5, "Unbekannter Fehler!"},
                      FailureCase{32, "Unbekannter Fehler!"}));

TEST_F(AlarmExecutorTest, ResultsAbove32AreSuccess)
{
    desktop.queueLaunchResult(33);
    executor.carryOut(add({.application = "a.exe"}));
    EXPECT_EQ(desktop.count(Kind::MessageBox), 0u);
}

TEST_F(AlarmExecutorTest, FieldWithoutFileIsReportedAsNotFoundWithoutAskingTheDesktop)
{
    for (const std::string field : {" \t ", ",b.exe", "\"\" b.exe"}) {
        desktop.clearCalls();
        desktop.queueAnswer(MessageResult::Ok);
        executor.carryOut(add({.message = "", .application = field}));

        EXPECT_EQ(desktop.count(Kind::StartApplication), 0u) << field;
        const auto boxes = desktop.callsOf(Kind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u) << field;
        EXPECT_EQ(boxes[0].text, QString::fromStdString(field) +
                                     " konnte nicht geöffnet werden. Grund: Die Datei wurde nicht gefunden!");
        EXPECT_EQ(boxes[0].title, "Zeitwache 99");
        EXPECT_EQ(executedFlag(list.count() - 1), '1');
    }
}

TEST_F(AlarmExecutorTest, DeleteAfterExecutionRemovesLineAndRowAndDisablesBearbeiten)
{
    RecordingRows rows;
    executor.setRows(&rows);
    add({.message = "Erster"});
    const DueAppointment due = add({.message = "Zweiter", .deleteAfter = true});
    add({.message = "Dritter"});
    const std::string first = list.get(0);
    const std::string third = list.get(2);

    executor.carryOut(due);

    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.get(0), first);
    EXPECT_EQ(list.get(1), third);
    ASSERT_EQ(executor.openWindows().size(), 1);
    EXPECT_FALSE(executor.openWindows().front()->editButton()->isEnabled());
}

TEST_F(AlarmExecutorTest, DeleteAfterExecutionBeforeTheManagerExistsOnlyShortensTheList)
{
    executor.carryOut(add({.message = "", .application = "a.exe", .deleteAfter = true}));
    EXPECT_EQ(list.count(), 0u);
    EXPECT_TRUE(executor.openWindows().isEmpty());
}

TEST_F(AlarmExecutorTest, KeptAppointmentKeepsItsRowAndBearbeiten)
{
    RecordingRows rows;
    executor.setRows(&rows);
    executor.carryOut(add({}));
    EXPECT_EQ(list.count(), 1u);
    EXPECT_TRUE(executor.openWindows().front()->editButton()->isEnabled());
}

TEST_F(AlarmExecutorTest, WindowsOpenedBeforeTheManagerExistedReachItOnceItDoes)
{
    add({});
    executor.carryOut(add({}));
    RecordingRows rows;
    executor.setRows(&rows);

    QPointer<AlarmWindow> window = executor.openWindows().front();
    window->editButton()->click();
    EXPECT_EQ(rows.shown, std::vector<std::size_t>{1});
}

// The whole path from the minute tick: due check, window, mark, deletion and save.
class DueCheckPathTest : public AlarmExecutorTest {
protected:
    DueCheckPathTest()
    {
        list.setSaver([this](const std::vector<std::string>& lines) { saved.push_back(lines); });
        executor.setRows(&rows);
    }
    RecordingRows rows;
    std::vector<std::vector<std::string>> saved;
    DueCheck dueCheck{list, clock, executor};
};

TEST_F(DueCheckPathTest, DueAppointmentIsShownMarkedAndSaved)
{
    list.append(makeLine({.message = "Besprechung", .time = "10:00"}));
    list.append(makeLine({.message = "Mittag", .time = "12:00"}));

    dueCheck.tick();

    ASSERT_EQ(executor.openWindows().size(), 1);
    EXPECT_EQ(executor.openWindows().front()->statusLabel()->text(), "Status           :   Neue Nachricht");
    EXPECT_EQ(executor.openWindows().front()->messageView()->toPlainText(), "Besprechung");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(line::flag(saved.back()[0], line::kExecuted), '1');
    EXPECT_EQ(line::flag(saved.back()[1], line::kExecuted), '0');
}

TEST_F(DueCheckPathTest, DeletedAppointmentIsGoneFromTheSavedFileAndTheLaterOneStillRuns)
{
    list.append(makeLine({.message = "Einmal", .deleteAfter = true}));
    list.append(makeLine({.message = "Auch jetzt"}));

    dueCheck.tick();

    EXPECT_EQ(executor.openWindows().size(), 2);
    ASSERT_EQ(saved.size(), 1u);
    ASSERT_EQ(saved.back().size(), 1u);
    EXPECT_EQ(line::readTexts(saved.back()[0]).message, "Auch jetzt");
}

TEST_F(DueCheckPathTest, TicksWhileAFailureBoxIsOpenStartNoSecondRun)
{
    list.append(makeLine({.message = "Erster", .application = "fehlt.exe", .time = "10:00"}));
    list.append(makeLine({.message = "Zweiter", .time = "10:01"}));
    desktop.queueLaunchResult(2);
    desktop.queueAnswer(MessageResult::Ok);
    int windowsWhileBoxOpen = -1;
    desktop.setWhileBoxOpen([&](const DesktopCall&) {
        // The clock runs on into the next minute while the user reads the box.
        clock.set("07.12.2026", 10, 1, 0);
        dueCheck.tick();
        clock.set("07.12.2026", 10, 1, 1);
        dueCheck.tick();
        windowsWhileBoxOpen = static_cast<int>(executor.openWindows().size());
    });

    dueCheck.tick();

    EXPECT_EQ(windowsWhileBoxOpen, 1);
    EXPECT_EQ(line::flag(list.get(0), line::kExecuted), '1');
}

TEST_F(DueCheckPathTest, TicksWhileAppointmentsAreCarriedOutAreLetThroughButStartNoSecondRun)
{
    list.append(makeLine({.message = "Erster", .time = "10:00"}));
    list.append(makeLine({.message = "Zweiter", .time = "10:00"}));
    list.append(makeLine({.message = "Dritter", .time = "10:01"}));
    // Ticks of this minute and of the next one arrive while the first window is open.
    int windowsWhenTicked = -1;
    int windowsAfterTicks = -1;
    QObject scope; // a tick not let through dies with the test
    QTimer::singleShot(0, &scope, [&] {
        windowsWhenTicked = static_cast<int>(executor.openWindows().size());
        dueCheck.tick();
        clock.set("07.12.2026", 10, 0, 1);
        dueCheck.tick();
        clock.set("07.12.2026", 10, 1, 0);
        dueCheck.tick();
        windowsAfterTicks = static_cast<int>(executor.openWindows().size());
    });

    dueCheck.tick();

    EXPECT_EQ(windowsWhenTicked, 1) << "the event loop did not turn between the appointments";
    EXPECT_EQ(windowsAfterTicks, 1) << "a tick started a run inside the run";
    // The minute met inside the run is checked after it, once.
    const QList<AlarmWindow*> windows = executor.openWindows();
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(windows[0]->messageView()->toPlainText(), "Erster");
    EXPECT_EQ(windows[1]->messageView()->toPlainText(), "Zweiter");
    EXPECT_EQ(windows[2]->messageView()->toPlainText(), "Dritter");
    ASSERT_EQ(saved.size(), 2u);
    for (const std::string& l : saved.back())
        EXPECT_EQ(line::flag(l, line::kExecuted), '1') << l;
}

} // namespace
} // namespace zw
