// The manager's list rows: entry k of the appointment list stands in row k + 1 under the
// reserved row 0, shown as UTF-8, and the alarm path's row operations hit exactly that row.
#include "common/zeitwache_error.h"
#include "manager/manager_dialog.h"
#include "platform/scripted_desktop.h"
#include "store/appointment_list.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QListView>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zw;

namespace {

const std::vector<std::string> kLines = {
    "[24.12.2027 18:30] [Keine      ] [Ja  ] [1000000] [019 000 006] [Geschenke einpacken  (Kein)]",
    "[05.01.2028 07:45] [T\xE4glich    ] [Ja  ] [1000000] [013 000 008] [Zeitung holen  gong.wav]",
    "[01.03.2028      ] [W\xF6" "chentlich] [Nein] [1000000] [000 019 006] [ C:\\Tools\\backup.bat (Kein)]",
};

struct ManagerRows : ::testing::Test {
    ScriptedDesktop desktop;
    AppointmentList list;
    std::unique_ptr<ManagerDialog> manager;

    void SetUp() override
    {
        desktop.setScreenSize({1024, 768});
        desktop.setFullScreenClientSize({1024, 722});
        list.assign(kLines);
        manager = std::make_unique<ManagerDialog>(desktop, list);
    }

    QString rowText(int row) const
    {
        const QAbstractItemModel* model = manager->list()->model();
        return model->data(model->index(row, 0)).toString();
    }
    int rowCount() const { return manager->list()->model()->rowCount(); }
    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (const QModelIndex& index : manager->list()->selectionModel()->selectedIndexes())
            rows.push_back(index.row());
        return rows;
    }
};

TEST_F(ManagerRows, EntryKStandsInRowKPlusOneAsUtf8UnderAnEmptyRowZero)
{
    ASSERT_EQ(rowCount(), 4);
    EXPECT_EQ(rowText(0), QString());
    EXPECT_EQ(rowText(1), QString::fromLatin1(kLines[0].c_str()));
    EXPECT_EQ(rowText(2), QStringLiteral("[05.01.2028 07:45] [Täglich    ] [Ja  ] [1000000] [013 000 008] "
                                         "[Zeitung holen  gong.wav]"));
    EXPECT_TRUE(rowText(3).contains(QStringLiteral("[Wöchentlich]")));
}

TEST_F(ManagerRows, NoRowIsCutShortByAShorterOneAfterIt)
{
    list.assign({kLines[2], kLines[0], "[01.01.2030      ] [Keine      ] [Ja  ] [0000000] [001 000 006] [x  (Kein)]"});
    manager->fillList();
    manager->showRowInList(1);
    const QFontMetrics metrics = manager->list()->fontMetrics();
    for (int row = 1; row < rowCount(); ++row) {
        const QRect shown = manager->list()->visualRect(manager->list()->model()->index(row, 0));
        EXPECT_GE(shown.width(), metrics.horizontalAdvance(rowText(row))) << "row " << row;
    }
}

TEST_F(ManagerRows, RowsAreACopyThatChangesOnlyWhenRefilled)
{
    list.remove(0);
    EXPECT_EQ(rowCount(), 4);
    EXPECT_EQ(rowText(1), QString::fromLatin1(kLines[0].c_str()));
    manager->fillList();
    EXPECT_EQ(rowCount(), 3);
    EXPECT_TRUE(rowText(1).contains(QStringLiteral("Zeitung holen")));
}

TEST_F(ManagerRows, DeleteRowRemovesThatRowAndRefusesRowZeroAndRowsBeyondTheEnd)
{
    manager->deleteRow(2);
    ASSERT_EQ(rowCount(), 3);
    EXPECT_TRUE(rowText(1).contains(QStringLiteral("Geschenke")));
    EXPECT_TRUE(rowText(2).contains(QStringLiteral("backup.bat")));

    EXPECT_THROW(manager->deleteRow(0), ZeitwacheError);
    EXPECT_THROW(manager->deleteRow(3), ZeitwacheError);
    EXPECT_EQ(rowCount(), 3);
}

TEST_F(ManagerRows, ShowRowInListSelectsOnlyThatRowOnTheListPage)
{
    manager->list()->selectionModel()->select(manager->list()->model()->index(1, 0), QItemSelectionModel::Select);
    manager->showRowInList(3);
    EXPECT_TRUE(manager->isVisible());
    EXPECT_EQ(manager->pages()->currentIndex(), 1);
    EXPECT_EQ(selectedRows(), std::vector<int>{3});

    EXPECT_THROW(manager->showRowInList(4), ZeitwacheError);
    EXPECT_TRUE(selectedRows().empty());
}

} // namespace
