// The multi-column list: how a row string is read, the reserved row 0, marking in ranges
// over 100,000 rows, what is drawn where, and the header's properties and resizing.
#include "widgets/multi_list.h"
#include "widgets/multi_list_model.h"
#include "widgets/row_text.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace zw {
namespace {

QStringList columnsOf(const RowText& row)
{
    QStringList columns;
    for (QStringView column : row.columns)
        columns << column.toString();
    return columns;
}

TEST(RowText, ColumnsEndAtSeparatorsAndTheFirstCharacterMayBeAPictureCode)
{
    struct Case {
        QString row;
        int glyph;
        QStringList columns;
    };
    const Case cases[] = {
        {"a|b|", -1, {"a", "b"}},
        {"x|y", -1, {"x"}}, // text after the last separator is no column
        {"x|y|", -1, {"x", "y"}},
        {"3Termin|b|", 3, {"Termin", "b"}},
        {"~3Termin|", -1, {"3Termin"}},
        {"~x|", -1, {"x"}},
        {" 24.12.2027|18:30|", -1, {" 24.12.2027", "18:30"}},
        {"%|", 15, {""}},
        {"||", -1, {"", ""}},
        {"ohne Trenner", -1, {}},
        {"", -1, {}},
    };
    for (const Case& c : cases) {
        const RowText row = splitRow(c.row, u'|');
        EXPECT_EQ(row.glyph, c.glyph) << c.row.toStdString();
        EXPECT_EQ(columnsOf(row), c.columns) << c.row.toStdString();
    }
    EXPECT_EQ(columnsOf(splitRow(u"a;b|c;", u';')), QStringList({"a", "b|c"}));
}

TEST(RowText, SixteenPictureCodesAndNoOthers)
{
    const QString codes = QStringLiteral("0123456789*!@#$%");
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(glyphOfCode(codes[i]), i) << codes[i].toLatin1();
    for (QChar other : QStringLiteral("~ a|&^"))
        EXPECT_EQ(glyphOfCode(other), -1) << other.toLatin1();
}

TEST(MultiListModelTest, KeepsTheModelContractThroughEveryChange)
{
    MultiListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setCaptions({"Datum", "Zeit"});
    model.appendRow("a|b|");
    model.appendRow("c|d|");
    model.setCaptions({"Datum"});
    model.setCaptions({"Datum", "Zeit", "Meldung"});
    EXPECT_FALSE(model.removeListRow(0));
    EXPECT_TRUE(model.removeListRow(2));
    EXPECT_TRUE(model.removeListRow(1));
    EXPECT_EQ(model.rowCount(), 0); // the last data row takes the reserved row with it
    model.setRows(std::vector<QString>{"1|", "2|", "3|"});
    model.setRows(1000, [](int row) { return QString::number(row) + "|x|"; });
    EXPECT_EQ(model.data(model.index(7, 1)).toString(), "x");
    EXPECT_TRUE(model.removeListRow(7)); // a provided list takes copies before it changes
    EXPECT_EQ(model.rowText(7), "8|x|");
    model.setSeparator(u';');
    model.clear();
}

class MultiListTest : public ::testing::Test {
protected:
    MultiListTest()
    {
        QPalette colours = list.palette();
        colours.setColor(QPalette::Base, Qt::white);
        colours.setColor(QPalette::Text, Qt::black);
        list.setPalette(colours);
        list.resize(400, 200);
        list.setMultiSelect(true);
        list.setHeaderSections({"Datum", "Uhrzeit", "Meldung"});
        list.setSectionWidth(0, 100);
        list.setSectionWidth(1, 100);
    }

    QModelIndex indexOf(int row, int column = 0) const { return list.model()->index(row, column); }
    // The image of a list cell, in the list's own pixels.
    QRect cellRect(int row, int column) const
    {
        return list.visualRect(indexOf(row, column)).translated(list.viewport()->pos());
    }
    bool cellHasOnly(const QImage& image, QRect cell, QColor colour) const
    {
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (image.pixelColor(x, y) != colour)
                    return false;
        return true;
    }
    // Left- and rightmost columns with dark pixels inside `cell`, or {-1, -1}.
    std::pair<int, int> inkSpan(const QImage& image, QRect cell) const
    {
        int first = -1;
        int last = -1;
        for (int x = cell.left(); x <= cell.right(); ++x)
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                if (qGray(image.pixel(x, y)) < 128) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return {first, last};
    }
    QImage shot() { return list.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    MultiList list;
};

TEST_F(MultiListTest, StartsWithItsDocumentedDefaults)
{
    MultiList fresh;
    EXPECT_EQ(fresh.columnSeparator(), "|");
    EXPECT_TRUE(fresh.headerSections().isEmpty());
    EXPECT_EQ(fresh.headerHeight(), 18);
    EXPECT_EQ(fresh.itemHeight(), 18);
    EXPECT_EQ(fresh.scrollSpeed(), 5);
    EXPECT_TRUE(fresh.updateAlways());
    EXPECT_FALSE(fresh.smoothScroll());
    EXPECT_TRUE(fresh.defaultItemSelected());
    EXPECT_FALSE(fresh.showParentHighlight());
    EXPECT_FALSE(fresh.showColumnLines());
    EXPECT_FALSE(fresh.horizontalScroll());
    EXPECT_FALSE(fresh.multiSelect());
    EXPECT_EQ(fresh.columnLineColor(), QColor(128, 128, 128));
    EXPECT_EQ(fresh.bitmapMaskColor(), QColor(128, 0, 128));
    EXPECT_EQ(fresh.highlightColor(), fresh.palette().color(QPalette::Highlight));
    EXPECT_EQ(fresh.childHighlightTextColor(), fresh.palette().color(QPalette::Highlight));
    for (int section = 0; section < MultiList::kMaxSections; ++section) {
        EXPECT_EQ(fresh.sectionWidth(section), 0);
        EXPECT_EQ(fresh.columnAlignment(section), Qt::AlignLeft);
    }
    EXPECT_EQ(fresh.header()->objectName(), "ListHeader");
    EXPECT_FALSE(fresh.accessibleName().isEmpty());
    EXPECT_FALSE(fresh.header()->accessibleName().isEmpty());
}

TEST_F(MultiListTest, ClampsWhatItIsGiven)
{
    list.setScrollSpeed(9);
    EXPECT_EQ(list.scrollSpeed(), 5);
    list.setScrollSpeed(0);
    EXPECT_EQ(list.scrollSpeed(), 1);
    list.setScrollSpeed(3);
    EXPECT_EQ(list.scrollSpeed(), 3);

    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty << QString("S%1").arg(i);
    list.setHeaderSections(twenty);
    EXPECT_EQ(list.headerSections(), twenty.mid(0, 15));
    EXPECT_EQ(list.header()->count(), 15);

    list.setColumnSeparator(";,");
    EXPECT_EQ(list.columnSeparator(), ";");
    list.setColumnSeparator("");
    EXPECT_EQ(list.columnSeparator(), ";");
    list.appendRow("a;b|c;");
    EXPECT_EQ(list.model()->data(indexOf(1, 1)).toString(), "b|c");
}

TEST_F(MultiListTest, TheReservedRowComesWithTheFirstRowAndIsNeverShownOrMarked)
{
    list.appendRow("a|b|");
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.rowText(1), "a|b|");
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    list.appendRow("x|");
    list.appendRow("y|");
    list.appendRow("z|");
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_NE(list.rowText(0), "x|");
    EXPECT_TRUE(list.isRowHidden(0, {}));

    list.setSelected(0, true);
    list.selectAll();
    EXPECT_FALSE(list.isSelected(0));
    EXPECT_EQ(list.selectedRows(), std::vector<int>({1, 2, 3}));
    list.invertSelection();
    EXPECT_EQ(list.selectedCount(), 0);
    EXPECT_FALSE(list.removeRow(0));
    EXPECT_FALSE(list.removeRow(4));

    // The top of the list shows row 1, and after a step down row 2: never row 0.
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    for (int i = 0; i < 40; ++i)
        list.appendRow(QString("r%1|").arg(i));
    EXPECT_EQ(list.indexAt({5, 1}).row(), 1);
    list.verticalScrollBar()->setValue(list.verticalScrollBar()->value() + 1);
    EXPECT_EQ(list.indexAt({5, 1}).row(), 2);
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(list.currentRow(), 1);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(MultiListTest, ASingleSelectionListChoosesRowOneWhenRowsArrive)
{
    list.setMultiSelect(false);
    list.setRows({"a|", "b|"});
    EXPECT_EQ(list.selectedRows(), std::vector<int>({1}));
    list.setDefaultItemSelected(false);
    list.setRows({"a|", "b|"});
    EXPECT_EQ(list.selectedCount(), 0);
    list.setDefaultItemSelected(true);
    list.setMultiSelect(true);
    list.setRows({"a|", "b|"});
    EXPECT_EQ(list.selectedCount(), 0); // the user chooses in a multi-selection list
}

TEST_F(MultiListTest, ExtendedSelectionByClickCtrlAndShift)
{
    list.setRows({"a|", "b|", "c|", "d|", "e|"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy marking(&list, &MultiList::markingChanged);
    const auto centre = [&](int row) { return list.visualRect(indexOf(row)).center(); };
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre(2));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(4));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, centre(1));
    EXPECT_EQ(list.selectedRows(), std::vector<int>({1, 2, 3, 4}));
    EXPECT_GE(marking.count(), 3);
}

TEST_F(MultiListTest, HundredThousandRowsFillAndMarkQuickly)
{
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    constexpr int kRows = 100000;
    std::vector<QString> rows(kRows, QStringLiteral(" 24.12.2027|18:30|Geschenke einpacken|"));

    QElapsedTimer timer;
    timer.start();
    list.setRows(std::move(rows));
    list.grab(); // lays out and draws the visible rows
    EXPECT_LT(timer.elapsed(), 100);

    timer.restart();
    list.selectAll();
    EXPECT_LT(timer.elapsed(), 50);
    EXPECT_EQ(list.selectedCount(), kRows);

    std::vector<int> everyTenth;
    for (int row = 1; row <= kRows; row += 10)
        everyTenth.push_back(row);
    list.setSelectedRows(everyTenth);
    timer.restart();
    list.invertSelection();
    EXPECT_LT(timer.elapsed(), 50);
    EXPECT_EQ(list.selectedCount(), kRows - kRows / 10);
    EXPECT_FALSE(list.isSelected(11));
    EXPECT_TRUE(list.isSelected(12));
    EXPECT_TRUE(list.isSelected(kRows));
    EXPECT_FALSE(list.isSelected(0));
}

TEST_F(MultiListTest, AProvidedListConvertsOnlyTheRowsItDraws)
{
    int asked = 0;
    list.setRows(100000, [&asked](int row) {
        ++asked;
        return QString(" %1|b|").arg(row);
    });
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.grab();
    EXPECT_GT(asked, 0);
    EXPECT_LT(asked, 200);
    EXPECT_EQ(list.rowCount(), 100001);
    EXPECT_EQ(list.rowText(5), " 5|b|");
}

TEST_F(MultiListTest, ParentHighlightMarksOnlyTheFirstColumn)
{
    const QColor highlight(200, 0, 0);
    list.setHighlightColor(highlight);
    list.setRows({"a|b|c|", "d|e|f|"});
    list.setSelected(1, true);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    // A strip at the bottom right of each cell, where no letter reaches.
    const auto strip = [&](int column) {
        const QRect cell = cellRect(1, column);
        return QRect(cell.right() - 20, cell.bottom() - 1, 10, 1);
    };

    QImage image = shot();
    EXPECT_TRUE(cellHasOnly(image, strip(0), highlight));
    EXPECT_TRUE(cellHasOnly(image, strip(1), highlight));

    list.setShowParentHighlight(true);
    image = shot();
    EXPECT_TRUE(cellHasOnly(image, strip(0), highlight));
    EXPECT_TRUE(cellHasOnly(image, strip(1), Qt::white));
    EXPECT_TRUE(cellHasOnly(image, strip(2), Qt::white));
}

TEST_F(MultiListTest, TextStaysInItsCellAlignedAsAskedWithTabStops)
{
    const QString longText(200, QChar(u'W'));
    list.setColumnAlignment(1, Qt::AlignRight);
    list.setRows({longText + "||", "|rechts|", "\tx|", "x|"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QImage image = shot();

    // An over-long text ends in an ellipsis inside its own cell.
    EXPECT_TRUE(cellHasOnly(image, cellRect(1, 1), Qt::white));
    EXPECT_GT(inkSpan(image, cellRect(1, 0)).second, cellRect(1, 0).right() - 15);

    const QRect right = cellRect(2, 1);
    const auto [rightFirst, rightLast] = inkSpan(image, right);
    EXPECT_GT(rightFirst, right.center().x());
    EXPECT_GE(rightLast, right.right() - 3);

    const int stop = 3 * list.fontMetrics().averageCharWidth();
    EXPECT_GE(inkSpan(image, cellRect(3, 0)).first - inkSpan(image, cellRect(4, 0)).first, stop - 2);
}

TEST_F(MultiListTest, APictureCodeDrawsItsGlyphWithTheMaskColourTransparent)
{
    QImage glyph(12, 12, QImage::Format_RGB32);
    glyph.fill(QColor(0, 160, 0));
    for (int y = 0; y < 12; ++y)
        for (int x = 6; x < 12; ++x)
            glyph.setPixelColor(x, y, list.bitmapMaskColor());
    list.setGlyph(3, glyph);
    list.setRows({"3|", "~3|"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QImage image = shot();
    const QRect withGlyph = cellRect(1, 0);
    const QRect withTilde = cellRect(2, 0);
    EXPECT_EQ(image.pixelColor(withGlyph.left() + 8, withGlyph.top() + 5), QColor(0, 160, 0));
    EXPECT_EQ(image.pixelColor(withGlyph.left() + 14, withGlyph.top() + 5), Qt::white);
    // "~3" shows the digit as text and no picture.
    EXPECT_NE(image.pixelColor(withTilde.left() + 8, withTilde.top() + 5), QColor(0, 160, 0));
    EXPECT_GE(inkSpan(image, withTilde).first, 0);
}

TEST_F(MultiListTest, AScreenReaderReadsEachRowWithItsCaptions)
{
    list.setRows({" 24.12.2027|18:30|Geschenke|"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QModelIndex first = indexOf(1, 0);
    EXPECT_EQ(first.data(Qt::AccessibleTextRole).toString(),
              "Datum: 24.12.2027, Uhrzeit: 18:30, Meldung: Geschenke");
    EXPECT_EQ(indexOf(1, 1).data(Qt::AccessibleTextRole).toString(), "18:30");

    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(tree, nullptr);
    QAccessibleTableInterface* table = tree->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 1); // the reserved row is not read
    EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), first.data(Qt::AccessibleTextRole).toString());
}

TEST_F(MultiListTest, ReportsDoubleClicksReleasesAndKeys)
{
    list.setRows({"a|", "b|"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy doubleClicks(&list, &MultiList::rowDoubleClicked);
    QSignalSpy releases(&list, &MultiList::mouseReleased);
    QSignalSpy keys(&list, &MultiList::keyReleased);
    const QPoint onRow2 = list.visualRect(indexOf(2)).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, onRow2);
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, onRow2);
    QTest::keyClick(&list, Qt::Key_Down);
    ASSERT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(doubleClicks.at(0).at(0).toInt(), 2);
    ASSERT_GE(releases.count(), 1);
    EXPECT_EQ(releases.last().at(0).value<Qt::MouseButton>(), Qt::RightButton);
    ASSERT_EQ(keys.count(), 1);
    EXPECT_EQ(keys.at(0).at(0).toInt(), Qt::Key_Down);
}

TEST_F(MultiListTest, HeaderHeightAndSectionWidthsShapeTheColumns)
{
    list.setRows({"a|b|c|"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.setHeaderHeight(0);
    EXPECT_EQ(list.header()->height(), 0);
    EXPECT_EQ(list.viewport()->geometry().top(), list.frameWidth());
    list.setHeaderHeight(18);
    EXPECT_EQ(list.header()->height(), 18);
    EXPECT_EQ(list.header()->sectionSize(0), 100);
    list.setItemHeight(16);
    EXPECT_EQ(list.visualRect(indexOf(1)).height(), 16);
    // The last section spans the rest of the list.
    EXPECT_EQ(list.header()->length(), list.viewport()->width());
}

TEST_F(MultiListTest, AColumnResizeTakesEffectWhenTheBoundaryIsReleased)
{
    list.setRows({"a|b|c|"});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QWidget* strip = list.header()->viewport();
    const QPoint boundary(list.header()->sectionSize(0) - 1, list.header()->height() / 2);
    QTest::mousePress(strip, Qt::LeftButton, {}, boundary);
    QTest::mouseMove(strip, boundary + QPoint(40, 0));
    ASSERT_GT(list.header()->sectionSize(0), 120); // the header follows the drag ...
    EXPECT_EQ(list.sectionWidth(0), 100);           // ... the list only once it ends
    QTest::mouseRelease(strip, Qt::LeftButton, {}, boundary + QPoint(40, 0));
    EXPECT_EQ(list.sectionWidth(0), list.header()->sectionSize(0));
    EXPECT_EQ(list.sectionWidth(2), list.header()->sectionSize(2));
}

TEST_F(MultiListTest, HorizontalScrollingWidensTheRowsToTheScrollWidth)
{
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.setScrollWidth(1000);
    EXPECT_EQ(list.header()->length(), list.viewport()->width()); // off: no effect
    list.setHorizontalScroll(true);
    EXPECT_EQ(list.header()->length(), 1000);
    list.setRows({"a|b|c|"});
    QCoreApplication::processEvents();
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 1000 - list.viewport()->width());
    list.setHorizontalScroll(false);
    EXPECT_EQ(list.header()->length(), list.viewport()->width());
}

TEST_F(MultiListTest, ColumnLinesStandAtTheEdgesOfSectionsGivenAWidth)
{
    list.setRows({"a|b|c|"});
    list.setShowColumnLines(true);
    list.setColumnLineColor(QColor(0, 0, 255));
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QImage image = shot();
    const int below = list.viewport()->geometry().bottom() - 2; // under the rows too
    const int firstEdge = cellRect(1, 1).left();
    EXPECT_EQ(image.pixelColor(firstEdge, below), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(firstEdge + 3, below), Qt::white);
}

} // namespace
} // namespace zw
