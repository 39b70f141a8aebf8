// "Suchen" as a user meets it: beside the manager, typed into, pressed again and again,
// closed; the marks it leaves and the box it shows.
#include "fake_marked_rows.h"
#include "line_builder.h"
#include "manager/appointment_search.h"
#include "manager/ui/search_dialog.h"
#include "platform/context_help.h"
#include "platform/scripted_desktop.h"
#include "qt_printers.h"
#include "store/appointment_list.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "widget_access.h"

#include <gtest/gtest.h>

#include <optional>

using namespace zw;
using zw::testing::FakeMarkedRows;
using zw::testing::makeLine;
using Kind = DesktopCall::Kind;

namespace {

struct SearchDialogTest : ::testing::Test {
    ScriptedDesktop desktop;
    AppointmentList list;
    FakeMarkedRows rows{4};
    QWidget manager;
    std::unique_ptr<SearchDialog> dialog;

    void SetUp() override
    {
        list.assign({makeLine({.date = "01.12.2026", .message = "\xC4rger im B\xFCro"}),
                     makeLine({.date = "02.12.2026", .message = "Zahnarzt", .application = "notepad.exe",
                               .sound = "zahn.wav"}),
                     makeLine({.date = "24.12.2026", .repeat = line::RepeatKind::Daily, .message = "Zahnarzt 2"}),
                     makeLine({.date = "25.12.2026", .message = "zum ZAHNARZT"})});
        manager.setGeometry(300, 300, 578, 424);
        manager.show();
        dialog = std::make_unique<SearchDialog>(desktop, list, rows, &manager);
    }
    template <typename T = QWidget>
    T* control(const char* name) const
    {
        return zw::testing::findControl<T>(dialog.get(), name);
    }
    void open()
    {
        dialog->showSearch();
        QApplication::setActiveWindow(dialog.get());
    }
    // Types any characters, also those QTest has no key for.
    void type(const QString& text)
    {
        QLineEdit* field = control<QLineEdit>("Edit1");
        field->setFocus();
        field->selectAll();
        zw::testing::typeText(field, text);
    }
    void press() { QTest::keyClick(dialog.get(), Qt::Key_Return); }
};

TEST_F(SearchDialogTest, OpensBesideTheManagerAndStaysAboveIt)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), "Suchen");
    EXPECT_EQ(dialog->pos(), manager.pos() + QPoint(210, -30));
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(QApplication::focusWidget(), control("Edit1"));

    // Moved with the manager when it opens again.
    dialog->close();
    manager.move(100, 200);
    open();
    EXPECT_EQ(dialog->pos(), manager.pos() + QPoint(210, -30));
}

TEST_F(SearchDialogTest, NeverOpensWithItsTitleBarAboveTheScreen)
{
    const int top = manager.screen()->availableGeometry().top();
    manager.move(100, top + 10);
    open();
    EXPECT_EQ(dialog->pos(), QPoint(manager.pos().x() + 210, top));
}

TEST_F(SearchDialogTest, AllesOnEachShowingWhileTextAndOptionsKeepTheirValues)
{
    open();
    auto* object = control<QComboBox>("ComboBox1");
    EXPECT_EQ(object->currentText(), "Alles");
    EXPECT_FALSE(object->isEditable());
    type(QStringLiteral("Zahnarzt"));
    object->setCurrentIndex(3);
    control<QCheckBox>("CheckBox1")->setChecked(true);
    control<QCheckBox>("CheckBox2")->setChecked(true);
    control<QPushButton>("Button2")->click();
    EXPECT_FALSE(dialog->isVisible());

    open();
    EXPECT_EQ(object->currentText(), "Alles");
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), "Zahnarzt");
    EXPECT_TRUE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CheckBox2")->isChecked());
}

TEST_F(SearchDialogTest, WeitersuchenOnlyWithAText)
{
    open();
    auto* next = control<QPushButton>("Button1");
    EXPECT_FALSE(next->isEnabled());
    press();
    type(QStringLiteral("Z"));
    EXPECT_TRUE(next->isEnabled());
    QTest::keyClick(control("Edit1"), Qt::Key_Backspace);
    EXPECT_FALSE(next->isEnabled());
    press();
    EXPECT_TRUE(rows.calls.empty());
    EXPECT_TRUE(desktop.calls().empty());
}

TEST_F(SearchDialogTest, ThreeHitsThenTheReportThenTheFirstAgain)
{
    open();
    type(QStringLiteral("zahnarzt"));
    std::optional<std::set<std::size_t>> marksDuringBox;
    desktop.setWhileBoxOpen([&](const DesktopCall&) { marksDuringBox = rows.marked; });

    const std::vector<std::vector<std::string>> calls = {
        {"unmark all", "mark 1", "status"}, {"unmark all", "mark 2", "status"}, {"unmark all", "mark 3", "status"},
        {"unmark all", "mark 3", "status"}, {"unmark all", "mark 1", "status"}};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        rows.calls.clear();
        if (i == 3)
            desktop.queueAnswer(MessageResult::Ok);
        press();
        EXPECT_EQ(rows.calls, calls[i]) << "press " << i + 1;
        EXPECT_EQ(desktop.count(Kind::MessageBox), i >= 3 ? 1u : 0u) << "press " << i + 1;
    }
    const auto boxes = desktop.callsOf(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Es konnte kein passender Termin gefunden werden!");
    EXPECT_EQ(boxes[0].title, "Suchergebniss");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
    // The report comes while nothing is marked; the last hit is marked again after it.
    EXPECT_EQ(marksDuringBox, std::set<std::size_t>{});
    EXPECT_EQ(rows.marked, std::set<std::size_t>{1});
}

TEST_F(SearchDialogTest, ObjectAndCaseChoicesReachTheSearch)
{
    const struct {
        const char* object;
        QString text;
        bool matchCase;
        std::optional<std::size_t> found;
    } cases[] = {
        {"Nachricht", QStringLiteral("notepad"), false, std::nullopt},
        {"Anwendung / Datei", QStringLiteral("NOTEPAD"), false, 1},
        {"Datum und Uhrzeit", QStringLiteral("24.12"), false, 2},
        {"Wiederholung", QStringLiteral("täglich"), false, 2},
        {"Alles", QStringLiteral("zahn.wav"), false, std::nullopt},
        {"Nachricht", QStringLiteral("ÄRGER"), false, 0},
        {"Nachricht", QStringLiteral("ÄRGER"), true, std::nullopt},
    };
    for (const auto& c : cases) {
        open();
        rows.marked.clear();
        type(c.text);
        control<QComboBox>("ComboBox1")->setCurrentText(QString::fromUtf8(c.object));
        control<QCheckBox>("CheckBox1")->setChecked(c.matchCase);
        if (!c.found)
            desktop.queueAnswer(MessageResult::Ok);
        press();
        EXPECT_EQ(rows.marked, c.found ? std::set<std::size_t>{*c.found} : std::set<std::size_t>{})
            << c.object << ' ' << c.text.toStdString();
        dialog->close();
    }
}

TEST_F(SearchDialogTest, ClosingStartsTheNextSearchFromTheTopAndIsSignalled)
{
    QSignalSpy opened(dialog.get(), &SearchDialog::openedSearch);
    QSignalSpy closed(dialog.get(), &SearchDialog::closedSearch);
    for (const bool byEsc : {false, true}) {
        open();
        type(QStringLiteral("zahnarzt"));
        press();
        press();
        EXPECT_EQ(dialog->search().position(), 3u);
        if (byEsc)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            control<QPushButton>("Button2")->click();
        EXPECT_EQ(dialog->search().position(), 0u);
    }
    EXPECT_EQ(opened.count(), 2);
    EXPECT_EQ(closed.count(), 2);
    open();
    press();
    EXPECT_EQ(rows.marked, std::set<std::size_t>{1});
}

TEST_F(SearchDialogTest, AccessKeysReachEveryControl)
{
    open();
    type(QStringLiteral("Zahnarzt"));
    QTest::keyClick(dialog.get(), Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), control("ComboBox1"));
    QTest::keyClick(dialog.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), control("Edit1"));
    // An access key clicks the way the mouse does: pressed a moment, then released.
    QTest::keyClick(dialog.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return control<QCheckBox>("CheckBox1")->isChecked(); }));
    QTest::keyClick(dialog.get(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return control<QCheckBox>("CheckBox2")->isChecked(); }));
    QTest::keyClick(dialog.get(), Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rows.marked.empty(); }));
    EXPECT_EQ(rows.marked, std::set<std::size_t>{1});
}

TEST_F(SearchDialogTest, EveryControlCarriesItsHelpNumberAndASpokenName)
{
    const struct {
        const char* name;
        int help;
        const char* caption;
    } controls[] = {
        {"Label1", 60, "Suchen &nach:"},
        {"Label2", 61, "Such&objekt:"},
        {"CheckBox1", 62, "&Groß-/Kleinschreibung beachten"},
        {"CheckBox2", 63, "&Alle gefundenen Termine markieren"},
        {"Button1", 64, "&Weitersuchen"},
        {"Button2", 65, "Schließen"},
        {"ComboBox1", 61, nullptr},
    };
    open();
    type(QStringLiteral("x"));
    for (const auto& c : controls) {
        QWidget* widget = control(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(helpNumber(widget), c.help) << c.name;
        if (c.caption != nullptr) {
            EXPECT_EQ(widget->property("text").toString(), QString::fromUtf8(c.caption)) << c.name;
            if (qobject_cast<QLabel*>(widget) == nullptr) {
                QString spoken = QString::fromUtf8(c.caption).remove(QLatin1Char('&'));
                EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), spoken) << c.name;
            }
        }
    }
    // A right-click on the list offers "Direkt&hilfe" for its number.
    QWidget* object = control("ComboBox1");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), object->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(object, &event);
    auto* menu = dialog->findChild<QMenu*>(QStringLiteral("HelpPopupMenu"));
    ASSERT_TRUE(menu != nullptr && menu->isVisible());
    menu->actions().front()->trigger();
    menu->hide();
    ASSERT_EQ(desktop.count(Kind::HelpPopup), 1u);
    EXPECT_EQ(desktop.callsOf(Kind::HelpPopup)[0].number, 61);
    EXPECT_EQ(helpNumber(control("Edit1")), 60);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(control("Edit1"))->text(QAccessible::Name), "Suchen nach");

}

} // namespace
