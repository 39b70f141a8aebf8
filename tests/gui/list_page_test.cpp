// The page "Vorhandene Termine": rows in step with the appointment list, the commands on
// the marked rows, and the alarm path's "Bearbeiten".
#include "common/zeitwache_error.h"
#include "line_builder.h"
#include "manager/ui/editor_page.h"
#include "manager/ui/list_page.h"
#include "manager_fixture.h"
#include "widgets/explorer_button.h"
#include "widgets/multi_list.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "manager/ui/mark_expired_dialog.h"
#include "manager/ui/search_dialog.h"

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

using namespace zw;
using zw::testing::makeLine;
using Kind = DesktopCall::Kind;

namespace {

std::string at(const std::string& time, const std::string& message)
{
    return makeLine({.date = "01.01.2027", .time = time, .message = message});
}

struct ListPageTest : zw::testing::ManagerFixture {
    ListPage* page = nullptr;

    void SetUp() override { openOn({at("08:00", "a"), at("09:00", "b"), at("10:00", "c"), at("11:00", "d")}); }
    void openOn(const std::vector<std::string>& lines)
    {
        open(lines);
        page = manager->listPage();
        manager->showManager();
        QApplication::setActiveWindow(manager.get());
        manager->pages()->setCurrentIndex(1);
    }
    MultiList* rows() const { return page->list(); }
    std::vector<int> marked() const
    {
        std::vector<int> r = rows()->selectedRows();
        std::sort(r.begin(), r.end());
        return r;
    }
    bool enabled(const char* name) const
    {
        QWidget* w = manager->findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w != nullptr && w->isEnabled();
    }
};

TEST_F(ListPageTest, EntryKStandsInRowKPlusOneAndRowZeroIsNeverMarked)
{
    ASSERT_EQ(rows()->rowCount(), 5);
    EXPECT_TRUE(rows()->rowText(3).contains(QStringLiteral("|c|")));
    EXPECT_EQ(rows()->headerHeight(), 18);
    page->markAll();
    EXPECT_EQ(marked(), (std::vector<int>{1, 2, 3, 4}));
    page->invertMarks();
    EXPECT_TRUE(marked().empty());
    rows()->setSelected(0, true);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(page->markedEntry(), 0u);
}

TEST_F(ListPageTest, TheHeaderShowsFromTheFirstRowOn)
{
    manager.reset();
    openOn({});
    EXPECT_EQ(rows()->headerHeight(), 0);
    manager->pages()->setCurrentIndex(0);
    manager->findChild<QLineEdit*>(QStringLiteral("Edit4"))->setText(QStringLiteral("erster"));
    manager->findChild<QPushButton*>(QStringLiteral("Button5"))->click();
    EXPECT_EQ(rows()->rowCount(), 2);
    EXPECT_EQ(rows()->headerHeight(), 18);
}

TEST_F(ListPageTest, CommandsFollowTheNumberOfMarks)
{
    const struct {
        std::vector<int> rowsMarked;
        bool editAndProperties;
        bool remove;
    } cases[] = {{{}, false, false}, {{2}, true, true}, {{1, 3}, false, true}};
    for (const auto& c : cases) {
        rows()->setSelectedRows(c.rowsMarked);
        for (const char* name : {"ExplorerButton1", "ExplorerButton4"})
            EXPECT_EQ(enabled(name), c.editAndProperties) << name << " with " << c.rowsMarked.size();
        EXPECT_EQ(enabled("ExplorerButton2"), c.remove) << c.rowsMarked.size();
        EXPECT_EQ(page->menu()->findChild<QAction*>(QStringLiteral("Lschen1"))->isEnabled(), c.remove);
        EXPECT_TRUE(enabled("ExplorerButton3"));
    }
}

TEST_F(ListPageTest, DeletingAskedForRemovesEveryMarkedRowAndWritesTheFile)
{
    rows()->setSelectedRows({1, 2, 3});
    desktop.queueAnswer(MessageResult::No);
    page->deleteMarked();
    EXPECT_EQ(list.count(), 4u);
    EXPECT_EQ(marked(), (std::vector<int>{1, 2, 3}));

    desktop.queueAnswer(MessageResult::Yes);
    // The Del key of the page's menu, with the focus in the list.
    rows()->setFocus();
    QTest::keyClick(rows(), Qt::Key_Delete);
    const auto boxes = desktop.callsOf(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Sollen die markierten Einträge wirklich gelöscht werden?");
    EXPECT_EQ(boxes[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(list.lines(), std::vector<std::string>{at("11:00", "d")});
    EXPECT_EQ(dataFile(), at("11:00", "d") + "\r\n");
    EXPECT_EQ(rows()->rowCount(), 2);
    EXPECT_TRUE(marked().empty());
    EXPECT_FALSE(enabled("ExplorerButton2"));
}

TEST_F(ListPageTest, MarksStayOnTheirAppointmentsWhileTheListChangesUnderThem)
{
    rows()->setSelectedRows({2, 4}); // b and d
    // The due check deletes an appointment after it ran, and one is stored before them.
    list.remove(0);
    list.insert(0, at("07:00", "neu"));
    list.put(2, at("10:00", "c, ausgef\xFChrt"));
    EXPECT_EQ(page->markedEntries(), (std::vector<std::size_t>{1, 3}));
    EXPECT_TRUE(rows()->rowText(2).contains(QStringLiteral("|b|")));
    EXPECT_TRUE(rows()->rowText(3).contains(QStringLiteral("ausgeführt")));
    // A marked appointment that goes takes its mark along.
    list.remove(1);
    EXPECT_EQ(page->markedEntries(), std::vector<std::size_t>{2});
    EXPECT_TRUE(enabled("ExplorerButton1"));
}

TEST_F(ListPageTest, MarkingIsTheListBoxsAndOnlyARowMeansAnAppointment)
{
    // A right click (the menu's) keeps the marks; a double click below the rows loads nothing.
    rows()->setSelectedRows({1, 3});
    const QPoint row2 = rows()->visualRect(rows()->model()->index(2, 0)).center();
    QTest::mouseClick(rows()->viewport(), Qt::RightButton, {}, row2);
    EXPECT_EQ(marked(), (std::vector<int>{1, 3}));
    QTest::mouseDClick(rows()->viewport(), Qt::LeftButton, {}, QPoint(5, rows()->viewport()->height() - 3));
    EXPECT_EQ(manager->pages()->currentIndex(), 1);
    // A store refills the list: no earlier mark is left for Del.
    rows()->setSelectedRows({1, 2});
    manager->editMarked();
    EXPECT_TRUE(manager->editorPage()->store());
    EXPECT_TRUE(marked().empty());
    // The buttons take no focus: the list has it when its page shows.
    manager->pages()->setCurrentIndex(1);
    EXPECT_EQ(QApplication::focusWidget(), rows());
    for (const ExplorerButton* button : page->findChildren<ExplorerButton*>())
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
}

TEST_F(ListPageTest, TheAlarmsBearbeitenMarksOnlyItsRow)
{
    rows()->setSelectedRows({1, 2});
    manager->hide();
    manager->showEntry(2);
    EXPECT_TRUE(manager->isVisible());
    EXPECT_EQ(manager->pages()->currentIndex(), 1);
    EXPECT_EQ(marked(), std::vector<int>{3});
    EXPECT_THROW(manager->showEntry(4), ZeitwacheError);
    EXPECT_TRUE(marked().empty());
}

TEST_F(ListPageTest, MenuCommandsAndTheirShortcutsReachThePage)
{
    QSignalSpy search(page, &ListPage::searchRequested);
    QSignalSpy expired(page, &ListPage::markExpiredRequested);
    rows()->setFocus();
    QTest::keyClick(rows(), Qt::Key_F3);
    EXPECT_EQ(search.count(), 1);
    QTest::keyClick(rows(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(marked().size(), 4u);
    // The mark-expired dialog is modal: answered as soon as it waits.
    QTimer::singleShot(0, manager->markExpiredDialog(), &QDialog::reject);
    page->menu()->findChild<QAction*>(QStringLiteral("abgelaufeneTerminemarkieren1"))->trigger();
    EXPECT_EQ(expired.count(), 1);
    manager->searchDialog()->close();
    // On the editor page, Del stays the text field's.
    manager->pages()->setCurrentIndex(0);
    auto* message = manager->findChild<QLineEdit*>(QStringLiteral("Edit4"));
    message->setFocus();
    QTest::keyClick(message, Qt::Key_Delete);
    EXPECT_EQ(desktop.count(Kind::MessageBox), 0u);
}

TEST_F(ListPageTest, AScreenReaderReadsEachRowWithItsCaptionsAndTheButtonsByName)
{
    const QString row = rows()->model()->index(2, 0).data(Qt::AccessibleTextRole).toString();
    EXPECT_TRUE(row.contains(QStringLiteral("Datum: 01.01.2027"))) << row.toStdString();
    EXPECT_TRUE(row.contains(QStringLiteral("Meldung: b"))) << row.toStdString();
    for (const auto& [name, spoken] : {std::pair{"ExplorerButton1", "Bearbeiten"}, std::pair{"ExplorerButton2", "Löschen"},
                                       std::pair{"ExplorerButton4", "Eigenschaften"}, std::pair{"ExplorerButton3", "Suchen"}}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(manager->findChild<QWidget*>(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(spoken)) << name;
    }
}

} // namespace

namespace {
TEST_F(ListPageTest, ManyRemovalsAtOnceKeepTheSurvivingMarksToo)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) {
        char time[6];
        std::snprintf(time, sizeof time, "%02d:%02d", 10 + i / 60, i % 60);
        lines.push_back(makeLine({.date = "01.01.2027", .time = time, .message = "m" + std::to_string(i)}));
    }
    manager.reset();
    openOn(lines);
    page->markEntries({5, 80, 99});
    std::vector<std::size_t> gone;
    for (std::size_t entry = 0; entry < 90; entry += 1)
        if (entry != 5 && entry != 80)
            gone.push_back(entry);
    list.removeAll(gone);
    EXPECT_EQ(page->markedEntries(), (std::vector<std::size_t>{0, 1, 11}));
    EXPECT_EQ(rows()->rowCount(), static_cast<int>(list.count()) + 1);
    EXPECT_TRUE(rows()->rowText(2).contains(QStringLiteral("|m80|")));
}
} // namespace
