// The manager's list rows: entry k of the appointment list stands in row k + 1 under the
// reserved row 0, shown as UTF-8, and the alarm path's row operations hit exactly that row.
#include "common/zeitwache_error.h"
#include "manager/ui/list_page.h"
#include "manager_fixture.h"

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

struct ManagerRows : zw::testing::ManagerFixture {
    void SetUp() override { open(kLines); }

    QString rowText(int row) const
    {
        const QAbstractItemModel* model = manager->listPage()->list()->model();
        return model->data(model->index(row, 0)).toString();
    }
    int rowCount() const { return manager->listPage()->list()->model()->rowCount(); }
    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (const QModelIndex& index : manager->listPage()->list()->selectionModel()->selectedIndexes())
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
    manager->listPage()->fill();
    manager->showEntry(0);
    const QFontMetrics metrics = manager->listPage()->list()->fontMetrics();
    for (int row = 1; row < rowCount(); ++row) {
        const QRect shown = manager->listPage()->list()->visualRect(manager->listPage()->list()->model()->index(row, 0));
        EXPECT_GE(shown.width(), metrics.horizontalAdvance(rowText(row))) << "row " << row;
    }
}

TEST_F(ManagerRows, RowsAreACopyThatChangesOnlyWhenRefilled)
{
    list.remove(0);
    EXPECT_EQ(rowCount(), 4);
    EXPECT_EQ(rowText(1), QString::fromLatin1(kLines[0].c_str()));
    manager->listPage()->fill();
    EXPECT_EQ(rowCount(), 3);
    EXPECT_TRUE(rowText(1).contains(QStringLiteral("Zeitung holen")));
}

TEST_F(ManagerRows, ARemovedEntryTakesItsRowAlongAndAnEntryWithoutARowIsRefused)
{
    manager->entryRemoved(1);
    ASSERT_EQ(rowCount(), 3);
    EXPECT_TRUE(rowText(1).contains(QStringLiteral("Geschenke")));
    EXPECT_TRUE(rowText(2).contains(QStringLiteral("backup.bat")));

    EXPECT_THROW(manager->entryRemoved(2), ZeitwacheError);
    EXPECT_EQ(rowCount(), 3);
}

TEST_F(ManagerRows, ShowEntrySelectsOnlyItsRowOnTheListPage)
{
    manager->listPage()->list()->selectionModel()->select(manager->listPage()->list()->model()->index(1, 0), QItemSelectionModel::Select);
    manager->showEntry(2);
    EXPECT_TRUE(manager->isVisible());
    EXPECT_EQ(manager->pages()->currentIndex(), 1);
    EXPECT_EQ(selectedRows(), std::vector<int>{3});

    EXPECT_THROW(manager->showEntry(3), ZeitwacheError);
    EXPECT_TRUE(selectedRows().empty());
}

} // namespace
