#pragma once
// A list box of separator-split rows drawn in columns under a header whose sections the
// user can resize. Row 0 is reserved: it is never shown, never marked and never data, so
// clients count their rows from 1 once the list holds rows. Marking is the list's
// selection, several rows at once in extended mode (click, Ctrl+click, Shift+click).
#include "widgets/multi_list_model.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QTreeView>

#include <array>
#include <vector>

namespace zw {

class ListHeader;

class MultiList : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kMaxSections = 15;

    explicit MultiList(QWidget* parent = nullptr);
    ~MultiList() override;

    // Rows. The reserved row comes with the first data row and goes with the last.
    void clear();
    void appendRow(const QString& text);
    void setRows(std::vector<QString> rows);
    // The provider is asked for a row's text each time the row is drawn; the list keeps
    // copies of its own only once it is changed row by row.
    void setRows(int dataRowCount, RowProvider provider);
    // false for row 0 and for rows that do not exist.
    bool removeRow(int row);
    // The provider's rows changed: see MultiListModel. Marks stay on the rows that stay.
    void providedRowInserted(int row) { model_->providedRowInserted(row); }
    void providedRowsRemoved(const std::vector<int>& rows) { model_->providedRowsRemoved(rows); }
    void providedRowChanged(int row) { model_->providedRowChanged(row); }
    // Including the reserved row: 0 for an empty list, else data rows + 1.
    int rowCount() const;
    QString rowText(int row) const;

    // Marking. Row 0 is never marked; rows that do not exist are ignored.
    void setMultiSelect(bool on);
    bool multiSelect() const;
    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    // Marks exactly `rows` (ascending or not), in one change of the selection.
    void setSelectedRows(const std::vector<int>& rows);
    int selectedCount() const;
    std::vector<int> selectedRows() const;
    // Marks rows 1 to the last (in multi-selection only), as one range.
    void selectAll() override;
    // Marks the unmarked data rows and unmarks the marked ones, range by range.
    void invertSelection();
    int currentRow() const;
    void setCurrentRow(int row);
    void scrollToRow(int row);

    // The column separator; setting it keeps only the first character.
    QString columnSeparator() const;
    void setColumnSeparator(const QString& separator);
    // At most kMaxSections captions are kept.
    QStringList headerSections() const;
    void setHeaderSections(const QStringList& captions);
    // Section `section` (0 to 14): 0 leaves the header's own width; follows the user's
    // resizing. The last section always spans the rest of the header.
    int sectionWidth(int section) const;
    void setSectionWidth(int section, int width);
    // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment columnAlignment(int column) const;
    void setColumnAlignment(int column, Qt::Alignment alignment);

    int headerHeight() const { return headerHeight_; }
    void setHeaderHeight(int height);
    QFont headerFont() const;
    void setHeaderFont(const QFont& font);
    int itemHeight() const { return itemHeight_; }
    void setItemHeight(int height);

    QColor highlightColor() const { return highlightColor_; }
    void setHighlightColor(const QColor& color);
    QColor highlightTextColor() const { return highlightTextColor_; }
    void setHighlightTextColor(const QColor& color);
    // A marked row is highlighted behind its first column only; its other columns keep
    // the list's background, their text in childHighlightTextColor().
    bool showParentHighlight() const { return showParentHighlight_; }
    void setShowParentHighlight(bool on);
    QColor childHighlightTextColor() const { return childHighlightTextColor_; }
    void setChildHighlightTextColor(const QColor& color);
    // Vertical lines at the right edge of each section given a width.
    bool showColumnLines() const { return showColumnLines_; }
    void setShowColumnLines(bool on);
    QColor columnLineColor() const { return columnLineColor_; }
    void setColumnLineColor(const QColor& color);

    // Picture `index` (0 to 15), drawn in front of column 0 of rows whose first character
    // is its code ("0" to "9", "*", "!", "@", "#", "$", "%"); its pixels in
    // bitmapMaskColor() show the background.
    QImage glyph(int index) const;
    void setGlyph(int index, const QImage& picture);
    QColor bitmapMaskColor() const { return bitmapMaskColor_; }
    void setBitmapMaskColor(const QColor& color);

    // When on, the rows are scrollWidth() pixels wide and scroll sideways.
    bool horizontalScroll() const { return horizontalScroll_; }
    void setHorizontalScroll(bool on);
    int scrollWidth() const { return scrollWidth_; }
    void setScrollWidth(int width);

    // Repaint the whole list at each column resize, not only what the resize shifted.
    bool updateAlways() const { return updateAlways_; }
    void setUpdateAlways(bool on) { updateAlways_ = on; }
    // Rows follow a dragged section boundary at once (on) or when it is released (off).
    bool smoothScroll() const { return smoothScroll_; }
    void setSmoothScroll(bool on) { smoothScroll_ = on; }
    // Pixels per step while the columns slide to a resized section's new edge; 1 to 5.
    int scrollSpeed() const { return scrollSpeed_; }
    void setScrollSpeed(int pixels);
    // Whether the first data row becomes the current one when rows arrive in an empty
    // single-selection list.
    bool defaultItemSelected() const { return defaultItemSelected_; }
    void setDefaultItemSelected(bool on) { defaultItemSelected_ = on; }

    void reset() override;

signals:
    // `row` is -1 when the double click hit no row.
    void rowDoubleClicked(int row);
    void markingChanged();
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);
    void mouseReleased(Qt::MouseButton button, QPoint position);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;

private:
    struct RowInterval {
        int first;
        int last;
    };
    // The marked data rows as ascending, disjoint intervals.
    std::vector<RowInterval> markedIntervals() const;
    void selectIntervals(const std::vector<RowInterval>& intervals);
    void hideReservedRow();
    // Makes row 1 current when rows arrive, as defaultItemSelected() asks.
    void chooseFirstRow();

    void onSectionResized(int section, int oldWidth, int newWidth);
    void onHeaderReleased();
    void onUserResizedSection(int section);
    void slideStep();
    void adoptHeaderWidths();
    void copyHeaderWidthsToProperties();
    void applySectionWidths();
    void updateHorizontalExtent();
    // B(i): the right edge of column i in viewport coordinates, from the widths the rows
    // are drawn with (they lag behind the header while a boundary is dragged).
    int columnRight(int column) const;
    void drawCellText(QPainter* painter, const QRect& cell, QStringView text, int column) const;
    void rebuildGlyphs();

    MultiListModel* model_;
    ListHeader* header_;

    std::array<int, kMaxSections> sectionWidths_{};
    std::array<Qt::Alignment, kMaxSections> alignments_{};
    // What the rows are drawn with; equal to the header's widths except during a slide.
    std::array<int, kMaxSections> drawnWidths_{};
    std::array<QImage, 16> glyphs_;
    std::array<QPixmap, 16> maskedGlyphs_;

    int headerHeight_ = 18;
    int itemHeight_ = 18;
    QColor highlightColor_;
    QColor highlightTextColor_;
    bool showParentHighlight_ = false;
    QColor childHighlightTextColor_;
    bool showColumnLines_ = false;
    QColor columnLineColor_{128, 128, 128};
    QColor bitmapMaskColor_{128, 0, 128};
    bool horizontalScroll_ = false;
    int scrollWidth_ = 0;
    bool updateAlways_ = true;
    bool smoothScroll_ = false;
    int scrollSpeed_ = 5;
    bool defaultItemSelected_ = true;

    bool resizePending_ = false;
    bool adjustingExtent_ = false;
    QTimer slideTimer_;
    int slidingSection_ = -1;
};

} // namespace zw
