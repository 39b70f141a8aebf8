// "Termine markieren" as a user meets it: a choice, Ok or Abbrechen, and the marks the
// list page is left with.
#include "common/zeitwache_error.h"
#include "fake_marked_rows.h"
#include "line_builder.h"
#include "manager/ui/mark_expired_dialog.h"
#include "platform/context_help.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "store/appointment_list.h"
#include "test_clock.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "widget_access.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zw;
using zw::testing::FakeMarkedRows;
using zw::testing::makeLine;
using Kind = DesktopCall::Kind;

namespace {

struct MarkExpiredDialogTest : ::testing::Test {
    ScriptedDesktop desktop;
    zw::testing::TestClock clock;
    AppointmentList list;
    FakeMarkedRows rows{5};
    std::unique_ptr<MarkExpiredDialog> dialog;

    void SetUp() override
    {
        list.assign({makeLine({.date = "01.12.2026", .repeat = line::RepeatKind::Daily}),
                     makeLine({.date = "02.12.2026", .active = false}),
                     makeLine({.date = "08.12.2026", .time = ""}),
                     makeLine({.date = "08.12.2026", .time = "09:06"}),
                     makeLine({.date = "09.12.2026", .time = ""})});
        rows.marked = {4};
        dialog = std::make_unique<MarkExpiredDialog>(desktop, list, rows, clock);
    }
    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return zw::testing::findControl<T>(dialog.get(), name);
    }
    void open()
    {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }
};

TEST_F(MarkExpiredDialogTest, OkReplacesTheMarksByTheChoiceWhichStaysForTheNextUse)
{
    const struct {
        const char* choice;
        LocalDateTime now;
        std::set<std::size_t> marked;
        const char* marking;
    } cases[] = {
        {"RadioButton1", clock.now(), {1, 2}, "mark 1 2"},
        {"RadioButton2", clock.now(), {0, 1, 2}, "mark 0 1 2"},
        // Nothing expired: the old marks go all the same.
        {"RadioButton2", {{2026, 11, 30}, {23, 59, 59}}, {}, "mark"},
    };
    for (const auto& c : cases) {
        clock.set(c.now);
        rows.calls.clear();
        rows.pointers.clear();
        open();
        EXPECT_EQ(dialog->windowTitle(), "Termine markieren");
        EXPECT_TRUE(dialog->isModal());
        control<QRadioButton>(c.choice)->click();
        control<QPushButton>("Button1")->click();
        EXPECT_FALSE(dialog->isVisible()) << c.choice;
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.choice;
        EXPECT_EQ(rows.marked, c.marked) << c.choice;
        EXPECT_EQ(rows.calls, (std::vector<std::string>{"unmark all", c.marking, "status"})) << c.choice;
        // The hourglass while marking, the normal pointer afterwards.
        EXPECT_EQ(rows.pointers, (std::vector<int>(3, Qt::WaitCursor))) << c.choice;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << c.choice;
    }
    EXPECT_TRUE(desktop.calls().empty());
    // The last choice is still there at the next use.
    open();
    EXPECT_TRUE(control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("RadioButton1")->isChecked());
    dialog->reject();
}

TEST_F(MarkExpiredDialogTest, AbbrechenEscAndTheCloseBoxKeepTheMarks)
{
    const std::function<void(MarkExpiredDialog&)> ways[] = {
        [](MarkExpiredDialog& d) { d.findChild<QPushButton*>(QStringLiteral("Button2"))->click(); },
        [](MarkExpiredDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](MarkExpiredDialog& d) { d.close(); },
    };
    int way = 0;
    for (const auto& cancel : ways) {
        open();
        control<QRadioButton>("RadioButton2")->click();
        cancel(*dialog);
        EXPECT_FALSE(dialog->isVisible()) << way;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << way;
        ++way;
    }
    EXPECT_TRUE(rows.calls.empty());
    EXPECT_EQ(rows.marked, (std::set<std::size_t>{4}));
}

TEST_F(MarkExpiredDialogTest, AFailureIsReportedWithThePointerRestoredAndTheDialogClosed)
{
    rows.beforeUnmarkAll = [] { throw errors::listIndexOutOfRange(); };
    desktop.queueAnswer(MessageResult::Ok);
    open();
    control<QPushButton>("Button1")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const auto boxes = desktop.callsOf(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Listenindex außerhalb des zulässigen Bereichs.");
}

TEST_F(MarkExpiredDialogTest, EveryControlCarriesItsHelpNumberAndASpokenName)
{
    const struct {
        const char* name;
        int help;
        const char* caption;
    } controls[] = {
        {"RadioButton1", 50, "Nur abgelaufene Termine ohne Wiederholung markieren"},
        {"RadioButton2", 51, "Alle abgelaufenen Termine markieren"},
        {"Button1", 52, "Ok"},
        {"Button2", 53, "Abbrechen"},
    };
    open();
    for (const auto& c : controls) {
        auto* button = control<QAbstractButton>(c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(helpNumber(button), c.help) << c.name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), QString::fromUtf8(c.caption))
            << c.name;

    }
    // A right-click offers "Direkt&hilfe" for the control's number.
    QWidget* all = control("RadioButton2");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), all->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(all, &event);
    auto* menu = dialog->findChild<QMenu*>(QStringLiteral("HelpPopupMenu"));
    ASSERT_TRUE(menu != nullptr && menu->isVisible());
    menu->actions().front()->trigger();
    menu->hide();
    const auto popups = desktop.callsOf(Kind::HelpPopup);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].number, 51);
    dialog->reject();
}

} // namespace
