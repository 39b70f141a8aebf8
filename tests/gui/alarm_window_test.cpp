// The alarm window: its layout, keys, snooze, "Bearbeiten" and context help.
#include "scheduler/ui/alarm_window.h"
#include "scheduler/ui/appointment_rows.h"

#include "common/civil_time.h"
#include "common/zeitwache_error.h"
#include "platform/scripted_desktop.h"
#include "scheduler/due_check.h"
#include "store/appointment_list.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zw {
namespace {

using Kind = DesktopCall::Kind;

class RecordingRows : public AppointmentRows {
public:
    void showEntry(std::size_t entry) override
    {
        shown.push_back(entry);
        if (rowMissing)
            throw errors::listIndexOutOfRange();
    }
    std::vector<std::size_t> shown;
    bool rowMissing = false;
};

class AlarmWindowTest : public ::testing::Test {
protected:
    AlarmWindowTest() { list.assign({"a", "b", "c", "d", "e", "f", "g", "h"}); }
    ~AlarmWindowTest() override
    {
        for (const QPointer<AlarmWindow>& window : windows)
            delete window.data();
    }

    AlarmWindow* open(std::string sound = "gong.wav", size_t index = 0, std::string status = "Neue Nachricht",
                      LocalDateTime createdAt = {{2026, 12, 6}, {22, 34, 15}})
    {
        DueAppointment due{index, "Team-Besprechung im gro\xDF""en Raum", "", std::move(sound), std::move(status), '0', {}};
        auto* window =
            new AlarmWindow(desktop, snoozes, list, due, createdAt, {QStringLiteral("/opt/zeitwache")});
        windows.append(window);
        window->move(100, 100);
        window->show();
        return window;
    }

    static void chooseSnooze(AlarmWindow* window, const char* itemName)
    {
        auto* item = window->snoozeMenu()->findChild<QAction*>(QLatin1String(itemName));
        ASSERT_NE(item, nullptr) << itemName;
        item->trigger();
    }

    // One 60-second tick, through the timer's own signal.
    static void tick(AlarmWindow* window)
    {
        ASSERT_TRUE(QMetaObject::invokeMethod(window->snoozeTimer(), "timeout"));
    }

    // A key press as the keyboard delivers it to the focused control.
    static void press(QWidget* target, Qt::Key key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    static void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    ScriptedDesktop desktop;
    SnoozeCounter snoozes;
    // The window follows its entry by position only; the lines' content plays no part.
    AppointmentList list;
    QList<QPointer<AlarmWindow>> windows;
};

struct ExpectedControl {
    const char* name;
    QRect geometry;
    int help;
};

TEST_F(AlarmWindowTest, ControlsHaveTheirNamesPlacesAndHelpNumbers)
{
    AlarmWindow* window = open();
    EXPECT_EQ(window->objectName(), "TForm4");
    EXPECT_EQ(window->size(), QSize(367, 276));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    const ExpectedControl controls[] = {
        {"Image1", {17, 10, 32, 32}, 0},     {"Pan2", {65, 9, 285, 14}, 30},
        {"Pan1", {65, 28, 285, 14}, 31},     {"Bevel2", {11, 49, 346, 2}, 0},
        {"Memo1", {15, 57, 337, 173}, 32},   {"Bevel1", {11, 236, 346, 2}, 0},
        {"Button3", {12, 247, 84, 23}, 33},  {"Button2", {185, 247, 84, 23}, 34},
        {"Button1", {273, 247, 84, 23}, 35},
    };
    for (const ExpectedControl& expected : controls) {
        auto* control = window->findChild<QWidget*>(QLatin1String(expected.name));
        ASSERT_NE(control, nullptr) << expected.name;
        EXPECT_EQ(control->parentWidget(), window) << expected.name;
        EXPECT_EQ(control->geometry(), expected.geometry) << expected.name;
        EXPECT_EQ(control->property("helpContext").toInt(), expected.help) << expected.name;
    }
    EXPECT_EQ(window->timeLabel()->objectName(), "Label1");
    EXPECT_EQ(window->timeLabel()->parentWidget()->objectName(), "Pan2");
    EXPECT_EQ(window->statusLabel()->objectName(), "Label2");
    EXPECT_EQ(window->statusLabel()->parentWidget()->objectName(), "Pan1");

    EXPECT_EQ(window->editButton()->text(), "&Bearbeiten");
    EXPECT_EQ(window->snoozeButton()->text(), "&Snooze");
    EXPECT_EQ(window->closeButton()->text(), "Schließen");
    EXPECT_TRUE(window->closeButton()->isDefault());
    EXPECT_EQ(window->focusWidget(), window->closeButton());

    QPlainTextEdit* memo = window->messageView();
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(memo->font().pointSize(), 10);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->palette().color(QPalette::Base), window->palette().color(QPalette::Window));
    EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(memo->toPlainText(), "Team-Besprechung im großen Raum");

    QTimer* timer = window->snoozeTimer();
    EXPECT_EQ(timer->objectName(), "Timer1");
    EXPECT_EQ(timer->interval(), 60'000);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(AlarmWindowTest, SnoozeMenuHasSevenLengthsWithHelp110)
{
    AlarmWindow* window = open();
    QMenu* menu = window->snoozeMenu();
    EXPECT_EQ(menu->objectName(), "PopupMenu1");
    QStringList captions;
    QStringList names;
    for (QAction* action : menu->actions()) {
        captions << action->text();
        names << action->objectName();
        EXPECT_EQ(action->property("helpContext").toInt(), 110);
    }
    EXPECT_EQ(captions, (QStringList{"  5 Minuten", "10 Minuten", "15 Minuten", "20 Minuten", "30 Minuten",
                                     "45 Minuten", "60 Minuten"}));
    EXPECT_EQ(names, (QStringList{"N5Minuten1", "N10Minuten1", "N15Minuten1", "N20Minuten1", "N30Minuten1",
                                  "N45Minuten1", "N60Minuten1"}));
}

TEST_F(AlarmWindowTest, TimeAndStatusLinesAreExact)
{
    // 50 characters of status: the line is cut at 61 in all.
    AlarmWindow* window = open("gong.wav", 0, std::string(40, 'x') + "0123456789");
    EXPECT_EQ(window->timeLabel()->text(), "Aktuelle Zeit :   Sonntag 06.12.2026  22:34 Uhr");
    EXPECT_EQ(window->statusLabel()->text(), "Status           :   " + QString(40, 'x'));
}

bool fitsItsPanel(const QLabel* label)
{
    const QFontMetrics metrics(label->font());
    return metrics.horizontalAdvance(label->text()) <= label->parentWidget()->width() &&
           metrics.tightBoundingRect(QStringLiteral("ÄÖÜgjpqy")).height() <= label->parentWidget()->height();
}

TEST_F(AlarmWindowTest, WidestLinesAreNotCutOff)
{
    AlarmWindow* window = open("gong.wav", 0, "Abgelaufener Termin vom 30.12.2026 22:34", {{2026, 12, 31}, {22, 34, 0}});
    EXPECT_EQ(window->timeLabel()->text(), "Aktuelle Zeit :   Donnerstag 31.12.2026  22:34 Uhr");
    EXPECT_TRUE(fitsItsPanel(window->timeLabel()));
    EXPECT_TRUE(fitsItsPanel(window->statusLabel()));
    EXPECT_GE(window->statusLabel()->font().stretch(), 80);

    chooseSnooze(window, "N5Minuten1");
    for (int minute = 0; minute < 5; ++minute)
        tick(window);
    EXPECT_TRUE(fitsItsPanel(window->statusLabel()));
}

TEST_F(AlarmWindowTest, EscapeClosesAndDeletesTheWindow)
{
    QPointer<AlarmWindow> window = open();
    press(window->focusWidget(), Qt::Key_Escape);
    processDeletes();
    EXPECT_TRUE(window.isNull());
}

TEST_F(AlarmWindowTest, EnterOnSchliessenClosesTheWindow)
{
    QPointer<AlarmWindow> window = open();
    ASSERT_EQ(window->focusWidget(), window->closeButton());
    press(window->focusWidget(), Qt::Key_Return);
    processDeletes();
    EXPECT_TRUE(window.isNull());
}

TEST_F(AlarmWindowTest, FirstShowingPlaysTheSoundFromTheProgramDirectory)
{
    open("Gl\xF6""cke.wav");
    const auto sounds = desktop.callsOf(Kind::PlayWave);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].file, "/opt/zeitwache/Glöcke.wav");
}

TEST_F(AlarmWindowTest, SnoozeHidesAndReturnsExactlyAtTheLastTickWithSoundAndStatus)
{
    AlarmWindow* window = open();
    const QString timeLine = window->timeLabel()->text();
    desktop.clearCalls();

    chooseSnooze(window, "N5Minuten1");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(snoozes.value(), 1);
    EXPECT_TRUE(window->snoozeTimer()->isActive());
    EXPECT_EQ(window->snoozeTimer()->interval(), 60'000);

    for (int minute = 1; minute < 5; ++minute) {
        tick(window);
        EXPECT_FALSE(window->isVisible()) << minute;
        EXPECT_EQ(snoozes.value(), 1) << minute;
    }
    EXPECT_EQ(desktop.count(Kind::PlayWave), 0u);

    tick(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->snoozeTimer()->isActive());
    EXPECT_EQ(snoozes.value(), 0);
    EXPECT_EQ(window->statusLabel()->text(), "Status           :   Wiederholung (Snooze)");
    EXPECT_EQ(window->timeLabel()->text(), timeLine);
    const auto& calls = desktop.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, Kind::PlayWave);
    EXPECT_EQ(calls[0].file, "/opt/zeitwache/gong.wav");
    EXPECT_EQ(calls[1].kind, Kind::BringToFront);
    EXPECT_EQ(calls[1].window, window);
}

TEST_F(AlarmWindowTest, ReturnThatIsNotActivatedAsksForAttention)
{
    AlarmWindow* window = open();
    desktop.setBringsToFront(false);
    chooseSnooze(window, "N5Minuten1");
    for (int minute = 0; minute < 5; ++minute)
        tick(window);
    EXPECT_EQ(desktop.count(Kind::RequestAttention), 1u);
}

TEST_F(AlarmWindowTest, SnoozingAgainCountsAfreshFromZero)
{
    AlarmWindow* window = open();
    chooseSnooze(window, "N10Minuten1");
    for (int minute = 0; minute < 10; ++minute)
        tick(window);
    ASSERT_TRUE(window->isVisible());

    chooseSnooze(window, "N5Minuten1");
    for (int minute = 1; minute < 5; ++minute)
        tick(window);
    EXPECT_FALSE(window->isVisible());
    tick(window);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AlarmWindowTest, EveryLengthReturnsAfterItsMinutes)
{
    const std::pair<const char*, int> lengths[] = {{"N15Minuten1", 15}, {"N20Minuten1", 20}, {"N30Minuten1", 30},
                                                   {"N45Minuten1", 45}, {"N60Minuten1", 60}};
    AlarmWindow* window = open();
    for (const auto& [name, minutes] : lengths) {
        chooseSnooze(window, name);
        for (int minute = 1; minute < minutes; ++minute)
            tick(window);
        EXPECT_FALSE(window->isVisible()) << name;
        tick(window);
        EXPECT_TRUE(window->isVisible()) << name;
    }
}

TEST_F(AlarmWindowTest, SnoozeCountFollowsEveryHiddenWindow)
{
    AlarmWindow* first = open();
    AlarmWindow* second = open();
    QPointer<AlarmWindow> third = open();
    chooseSnooze(first, "N5Minuten1");
    chooseSnooze(second, "N10Minuten1");
    EXPECT_EQ(snoozes.value(), 2);

    chooseSnooze(third, "N5Minuten1");
    EXPECT_EQ(snoozes.value(), 3);
    // A snoozed window that goes with its owner is no longer counted.
    delete third.data();
    EXPECT_EQ(snoozes.value(), 2);

    for (int minute = 0; minute < 5; ++minute) {
        tick(first);
        tick(second);
    }
    EXPECT_EQ(snoozes.value(), 1);
    for (int minute = 5; minute < 10; ++minute)
        tick(second);
    EXPECT_EQ(snoozes.value(), 0);
}

TEST_F(AlarmWindowTest, NoSoundIsNeverPlayed)
{
    AlarmWindow* window = open("(Kein)");
    chooseSnooze(window, "N5Minuten1");
    for (int minute = 0; minute < 5; ++minute)
        tick(window);
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.count(Kind::PlayWave), 0u);
}

TEST_F(AlarmWindowTest, SnoozeButtonOpensTheMenuJustInsideTheButton)
{
    AlarmWindow* window = open();
    window->snoozeButton()->click();
    QMenu* menu = window->snoozeMenu();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), window->snoozeButton()->mapToGlobal(QPoint(3, 3)));
    EXPECT_TRUE(window->isVisible());
    menu->hide();
}

TEST_F(AlarmWindowTest, BearbeitenShowsTheRowAndClosesTheWindow)
{
    RecordingRows rows;
    QPointer<AlarmWindow> window = open("gong.wav", 2);
    window->setRows(&rows);

    window->editButton()->click();
    processDeletes();

    EXPECT_EQ(rows.shown, std::vector<std::size_t>{2});
    EXPECT_TRUE(window.isNull());
}

TEST_F(AlarmWindowTest, BearbeitenShowsItsOwnAppointmentWhateverTheListDidWhileItWasSnoozed)
{
    const struct {
        const char* name;
        std::function<void(AppointmentList&)> change;
        std::optional<std::size_t> shown; // none: "Bearbeiten" is off and does nothing
    } cases[] = {
        {"an earlier line deleted", [](AppointmentList& l) { l.remove(0); }, 1},
        {"an earlier line stored", [](AppointmentList& l) { l.insert(1, "fr\xFCher"); }, 3},
        {"a later line deleted", [](AppointmentList& l) { l.removeAll({3, 5}); }, 2},
        {"its own line deleted", [](AppointmentList& l) { l.removeAll({1, 2}); }, std::nullopt},
        {"the whole list replaced", [](AppointmentList& l) { l.assign({"a", "b", "c"}); }, std::nullopt},
    };
    for (const auto& c : cases) {
        list.assign({"a", "b", "c", "d", "e", "f", "g", "h"});
        RecordingRows rows;
        QPointer<AlarmWindow> window = open("gong.wav", 2);
        window->setRows(&rows);
        chooseSnooze(window, "N5Minuten1");
        c.change(list);
        for (int minute = 0; minute < 5; ++minute)
            tick(window);
        ASSERT_TRUE(window->isVisible()) << c.name;

        EXPECT_EQ(window->editButton()->isEnabled(), c.shown.has_value()) << c.name;
        // Pressed regardless (as by its access key): nothing harmful either.
        window->onEditClicked();
        processDeletes();
        EXPECT_EQ(rows.shown, c.shown ? std::vector<std::size_t>{*c.shown} : std::vector<std::size_t>{}) << c.name;
        EXPECT_EQ(window.isNull(), c.shown.has_value()) << c.name;
        delete window.data();
    }
    EXPECT_EQ(desktop.count(Kind::MessageBox), 0u);
}

TEST_F(AlarmWindowTest, BearbeitenOnAMissingRowShowsTheListErrorAndStaysOpen)
{
    RecordingRows rows;
    rows.rowMissing = true;
    QPointer<AlarmWindow> window = open("gong.wav", 7);
    window->setRows(&rows);
    desktop.queueAnswer(MessageResult::Ok);

    window->editButton()->click();
    processDeletes();

    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    const auto boxes = desktop.callsOf(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Listenindex außerhalb des zulässigen Bereichs.");
    EXPECT_EQ(boxes[0].title, "Zeitwache99");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
}

TEST_F(AlarmWindowTest, BearbeitenWithoutManagerKeepsTheWindow)
{
    QPointer<AlarmWindow> window = open();
    window->editButton()->click();
    processDeletes();
    EXPECT_FALSE(window.isNull());
    EXPECT_EQ(desktop.count(Kind::MessageBox), 0u);
}

// Right-click on a control, then "Direkt&hilfe" in the menu that opens.
std::vector<DesktopCall> directHelpOn(ScriptedDesktop& desktop, AlarmWindow* window, QWidget* target)
{
    desktop.clearCalls();
    const QPoint local(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
    QApplication::sendEvent(target, &event);
    auto* menu = window->findChild<QMenu*>("HelpPopupMenu");
    if (menu == nullptr || !menu->isVisible() || menu->actions().size() != 1)
        return {};
    EXPECT_EQ(menu->actions().front()->text(), "Direkt&hilfe");
    menu->actions().front()->trigger();
    menu->hide();
    return desktop.callsOf(Kind::HelpPopup);
}

TEST_F(AlarmWindowTest, RightClickOffersDirectHelpForButtonsAndPanels)
{
    AlarmWindow* window = open();
    const std::pair<QWidget*, int> targets[] = {
        {window->editButton(), 33}, {window->snoozeButton(), 34}, {window->closeButton(), 35},
        // A click on the text lands on the panel that carries the number.
        {window->timeLabel(), 30},  {window->statusLabel(), 31},
    };
    for (const auto& [target, help] : targets) {
        const auto popups = directHelpOn(desktop, window, target);
        ASSERT_EQ(popups.size(), 1u) << help;
        EXPECT_EQ(popups[0].number, help);
        EXPECT_EQ(popups[0].point, target->mapToGlobal(QPoint(5, 5)));
    }
}

TEST_F(AlarmWindowTest, HelpButtonClickShowsTheHelpOfTheControlUnderIt)
{
    AlarmWindow* window = open();
    QHelpEvent onButton(QEvent::WhatsThis, QPoint(4, 4), window->snoozeButton()->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(window->snoozeButton(), &onButton);
    QHelpEvent onMemo(QEvent::WhatsThis, QPoint(20, 20), window->messageView()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(window->messageView()->viewport(), &onMemo);
    QHelpEvent onBevel(QEvent::WhatsThis, QPoint(3, 1), QPoint());
    QApplication::sendEvent(window->findChild<QWidget*>("Bevel1"), &onBevel);

    const auto popups = desktop.callsOf(Kind::HelpPopup);
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[0].number, 34);
    EXPECT_EQ(popups[1].number, 32);
}

} // namespace
} // namespace zw
