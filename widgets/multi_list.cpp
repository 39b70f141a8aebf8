#include "widgets/multi_list.h"

#include "widgets/picture_effects.h"
#include "widgets/row_text.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTextLayout>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

namespace zw {

// The header strip: as high as the list says (0 hides it) and telling the list when the
// user lets go of a section boundary.
class ListHeader : public QHeaderView {
public:
    explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

    void setStripHeight(int height)
    {
        stripHeight_ = height;
        updateGeometry();
    }
    bool dragging() const { return pressed_; }
    std::function<void()> released;

    QSize sizeHint() const override { return {QHeaderView::sizeHint().width(), stripHeight_}; }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        pressed_ = event->button() == Qt::LeftButton;
        QHeaderView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QHeaderView::mouseReleaseEvent(event);
        if (std::exchange(pressed_, false) && released)
            released();
    }

private:
    int stripHeight_ = 18;
    bool pressed_ = false;
};

namespace {
// Room left of a column's text; column 0 starts closer to the edge, or after its picture.
constexpr int kCellTextIndent = 6;
constexpr int kFirstCellTextIndent = 1;
constexpr int kGlyphLeft = 6;
constexpr int kGlyphTextGap = 10;
constexpr int kTabStopChars = 3;
constexpr int kSlideIntervalMs = 4;
} // namespace

MultiList::MultiList(QWidget* parent)
    : QTreeView(parent), model_(new MultiListModel(this)), header_(new ListHeader(this))
{
    setAccessibleName(QStringLiteral("Liste"));
    header_->setObjectName(QStringLiteral("ListHeader"));
    header_->setAccessibleName(QStringLiteral("Spaltenköpfe"));
    setHeader(header_);
    setModel(model_);

    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setVerticalScrollMode(ScrollPerItem);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header_->setSectionsMovable(false);
    header_->setStretchLastSection(true);
    header_->setHighlightSections(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QFont listFont = font();
    listFont.setPointSize(8);
    setFont(listFont);
    QFont captionFont = header_->font();
    captionFont.setPixelSize(12);
    captionFont.setWeight(QFont::Normal);
    header_->setFont(captionFont);

    highlightColor_ = palette().color(QPalette::Highlight);
    highlightTextColor_ = palette().color(QPalette::HighlightedText);
    childHighlightTextColor_ = palette().color(QPalette::Highlight);
    alignments_.fill(Qt::AlignLeft);
    scrollWidth_ = width();

    connect(header_, &QHeaderView::sectionResized, this, &MultiList::onSectionResized);
    header_->released = [this] { onHeaderReleased(); };
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &MultiList::markingChanged);
    slideTimer_.setInterval(kSlideIntervalMs);
    connect(&slideTimer_, &QTimer::timeout, this, &MultiList::slideStep);
    adoptHeaderWidths();
}

MultiList::~MultiList() = default;

// --- rows ---------------------------------------------------------------------------

void MultiList::clear()
{
    model_->clear();
}

void MultiList::appendRow(const QString& text)
{
    model_->appendRow(text);
}

void MultiList::setRows(std::vector<QString> rows)
{
    model_->setRows(std::move(rows));
    chooseFirstRow();
}

void MultiList::setRows(int dataRowCount, RowProvider provider)
{
    model_->setRows(dataRowCount, std::move(provider));
    chooseFirstRow();
}

bool MultiList::removeRow(int row)
{
    return model_->removeListRow(row);
}

int MultiList::rowCount() const
{
    return model_->rowCount();
}

QString MultiList::rowText(int row) const
{
    return model_->rowText(row);
}

void MultiList::reset()
{
    QTreeView::reset();
    hideReservedRow();
}

void MultiList::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QTreeView::rowsInserted(parent, start, end);
    if (start == 0) {
        hideReservedRow();
        chooseFirstRow();
    }
}

void MultiList::hideReservedRow()
{
    if (model_->rowCount() > 0)
        setRowHidden(0, {}, true);
}

void MultiList::chooseFirstRow()
{
    // A multi-selection list leaves the choice of a first row to the user.
    if (rowCount() > 1 && defaultItemSelected_ && selectionMode() == SingleSelection)
        setCurrentIndex(model_->index(1, 0));
}

// --- marking ------------------------------------------------------------------------

void MultiList::setMultiSelect(bool on)
{
    setSelectionMode(on ? ExtendedSelection : SingleSelection);
}

bool MultiList::multiSelect() const
{
    return selectionMode() == ExtendedSelection;
}

bool MultiList::isSelected(int row) const
{
    return row >= 1 && row < rowCount() && selectionModel()->isSelected(model_->index(row, 0));
}

void MultiList::setSelected(int row, bool selected)
{
    if (row < 1 || row >= rowCount())
        return;
    const auto command = (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                         QItemSelectionModel::Rows;
    selectionModel()->select(model_->index(row, 0), command);
}

void MultiList::setSelectedRows(const std::vector<int>& rows)
{
    std::vector<int> sorted;
    sorted.reserve(rows.size());
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(sorted),
                 [this](int row) { return row >= 1 && row < rowCount(); });
    std::sort(sorted.begin(), sorted.end());
    std::vector<RowInterval> intervals;
    for (int row : sorted) {
        if (!intervals.empty() && row <= intervals.back().last + 1)
            intervals.back().last = std::max(intervals.back().last, row);
        else
            intervals.push_back({row, row});
    }
    selectIntervals(intervals);
}

int MultiList::selectedCount() const
{
    int count = 0;
    for (const RowInterval& interval : markedIntervals())
        count += interval.last - interval.first + 1;
    return count;
}

std::vector<int> MultiList::selectedRows() const
{
    std::vector<int> rows;
    for (const RowInterval& interval : markedIntervals()) {
        for (int row = interval.first; row <= interval.last; ++row)
            rows.push_back(row);
    }
    return rows;
}

void MultiList::selectAll()
{
    if (selectionMode() != ExtendedSelection || rowCount() < 2)
        return;
    selectIntervals({{1, rowCount() - 1}});
}

void MultiList::invertSelection()
{
    if (rowCount() < 2)
        return;
    std::vector<RowInterval> unmarked;
    int next = 1;
    for (const RowInterval& interval : markedIntervals()) {
        if (interval.first > next)
            unmarked.push_back({next, interval.first - 1});
        next = interval.last + 1;
    }
    if (next <= rowCount() - 1)
        unmarked.push_back({next, rowCount() - 1});
    selectIntervals(unmarked);
}

std::vector<MultiList::RowInterval> MultiList::markedIntervals() const
{
    std::vector<RowInterval> intervals;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.parent().isValid())
            continue;
        const int first = std::max(1, range.top());
        if (first <= range.bottom())
            intervals.push_back({first, range.bottom()});
    }
    std::sort(intervals.begin(), intervals.end(),
              [](const RowInterval& a, const RowInterval& b) { return a.first < b.first; });
    std::vector<RowInterval> merged;
    for (const RowInterval& interval : intervals) {
        if (!merged.empty() && interval.first <= merged.back().last + 1)
            merged.back().last = std::max(merged.back().last, interval.last);
        else
            merged.push_back(interval);
    }
    return merged;
}

void MultiList::selectIntervals(const std::vector<RowInterval>& intervals)
{
    QItemSelection selection;
    selection.reserve(static_cast<qsizetype>(intervals.size()));
    const int lastColumn = model_->columnCount() - 1;
    for (const RowInterval& interval : intervals)
        selection.append(QItemSelectionRange(model_->index(interval.first, 0), model_->index(interval.last, lastColumn)));
    // Clearing first and selecting into the empty selection spares the model comparing
    // every old range with every new one, which grows with the square of their number.
    selectionModel()->clearSelection();
    if (!selection.isEmpty())
        selectionModel()->select(selection, QItemSelectionModel::Select);
}

int MultiList::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void MultiList::setCurrentRow(int row)
{
    if (row >= 1 && row < rowCount())
        setCurrentIndex(model_->index(row, 0));
}

void MultiList::scrollToRow(int row)
{
    if (row >= 1 && row < rowCount())
        scrollTo(model_->index(row, 0));
}

// --- properties ---------------------------------------------------------------------

QString MultiList::columnSeparator() const
{
    return QString(model_->separator());
}

void MultiList::setColumnSeparator(const QString& separator)
{
    if (separator.isEmpty())
        return;
    model_->setSeparator(separator.front());
    viewport()->update();
}

QStringList MultiList::headerSections() const
{
    return model_->captions();
}

void MultiList::setHeaderSections(const QStringList& captions)
{
    model_->setCaptions(captions.mid(0, kMaxSections));
    applySectionWidths();
    updateHorizontalExtent();
    adoptHeaderWidths();
    viewport()->update();
}

int MultiList::sectionWidth(int section) const
{
    return section >= 0 && section < kMaxSections ? sectionWidths_[static_cast<size_t>(section)] : 0;
}

void MultiList::setSectionWidth(int section, int width)
{
    if (section < 0 || section >= kMaxSections)
        return;
    sectionWidths_[static_cast<size_t>(section)] = std::max(0, width);
    applySectionWidths();
    updateHorizontalExtent();
}

Qt::Alignment MultiList::columnAlignment(int column) const
{
    return column >= 0 && column < kMaxSections ? alignments_[static_cast<size_t>(column)] : Qt::AlignLeft;
}

void MultiList::setColumnAlignment(int column, Qt::Alignment alignment)
{
    if (column < 0 || column >= kMaxSections)
        return;
    alignment &= Qt::AlignHorizontal_Mask;
    auto& stored = alignments_[static_cast<size_t>(column)];
    if (stored == alignment)
        return;
    stored = alignment;
    viewport()->update();
}

void MultiList::setHeaderHeight(int height)
{
    height = std::max(0, height);
    if (height == headerHeight_)
        return;
    headerHeight_ = height;
    header_->setStripHeight(height);
    updateGeometries();
    viewport()->update();
}

QFont MultiList::headerFont() const
{
    return header_->font();
}

void MultiList::setHeaderFont(const QFont& font)
{
    header_->setFont(font);
    viewport()->update();
}

void MultiList::setItemHeight(int height)
{
    height = std::max(1, height);
    if (height == itemHeight_)
        return;
    itemHeight_ = height;
    model_->setRowHeight(height);
    // Rows of one height are measured once; the new one needs a new measure.
    doItemsLayout();
}

namespace {
template <typename T>
bool assignChanged(T& stored, const T& value)
{
    if (stored == value)
        return false;
    stored = value;
    return true;
}
} // namespace

void MultiList::setHighlightColor(const QColor& color)
{
    if (assignChanged(highlightColor_, color))
        viewport()->update();
}

void MultiList::setHighlightTextColor(const QColor& color)
{
    if (assignChanged(highlightTextColor_, color))
        viewport()->update();
}

void MultiList::setShowParentHighlight(bool on)
{
    if (assignChanged(showParentHighlight_, on))
        viewport()->update();
}

void MultiList::setChildHighlightTextColor(const QColor& color)
{
    if (assignChanged(childHighlightTextColor_, color))
        viewport()->update();
}

void MultiList::setShowColumnLines(bool on)
{
    if (assignChanged(showColumnLines_, on))
        viewport()->update();
}

void MultiList::setColumnLineColor(const QColor& color)
{
    if (assignChanged(columnLineColor_, color))
        viewport()->update();
}

QImage MultiList::glyph(int index) const
{
    return index >= 0 && index < kGlyphCount ? glyphs_[static_cast<size_t>(index)] : QImage();
}

void MultiList::setGlyph(int index, const QImage& picture)
{
    if (index < 0 || index >= kGlyphCount)
        return;
    glyphs_[static_cast<size_t>(index)] = picture;
    rebuildGlyphs();
}

void MultiList::setBitmapMaskColor(const QColor& color)
{
    if (assignChanged(bitmapMaskColor_, color))
        rebuildGlyphs();
}

void MultiList::rebuildGlyphs()
{
    for (size_t i = 0; i < glyphs_.size(); ++i) {
        maskedGlyphs_[i] = glyphs_[i].isNull()
                               ? QPixmap()
                               : QPixmap::fromImage(withTransparentColour(glyphs_[i], bitmapMaskColor_.rgb()));
    }
    viewport()->update();
}

void MultiList::setHorizontalScroll(bool on)
{
    if (!assignChanged(horizontalScroll_, on))
        return;
    updateHorizontalExtent();
    viewport()->update();
}

void MultiList::setScrollWidth(int width)
{
    if (!assignChanged(scrollWidth_, std::max(0, width)))
        return;
    updateHorizontalExtent();
    viewport()->update();
}

void MultiList::setScrollSpeed(int pixels)
{
    scrollSpeed_ = std::clamp(pixels, 1, 5);
}

// --- columns ------------------------------------------------------------------------

void MultiList::applySectionWidths()
{
    // The last section spans the rest of the header, whatever width it was given.
    const int last = header_->count() - 1;
    for (int section = 0; section < last; ++section) {
        const int width = sectionWidths_[static_cast<size_t>(section)];
        if (width > 0)
            header_->resizeSection(section, width);
    }
}

void MultiList::copyHeaderWidthsToProperties()
{
    for (int section = 0; section < kMaxSections; ++section)
        sectionWidths_[static_cast<size_t>(section)] = section < header_->count() ? header_->sectionSize(section) : 0;
}

void MultiList::adoptHeaderWidths()
{
    for (int section = 0; section < kMaxSections; ++section)
        drawnWidths_[static_cast<size_t>(section)] = section < header_->count() ? header_->sectionSize(section) : 0;
}

void MultiList::updateHorizontalExtent()
{
    if (adjustingExtent_)
        return;
    const QScopedValueRollback guard(adjustingExtent_, true);
    setHorizontalScrollBarPolicy(horizontalScroll_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const bool wide = horizontalScroll_ && scrollWidth_ > viewport()->width();
    // The header is made scrollWidth() long, or as wide as the list, through its last
    // section; the header stretches that section on its own only as long as it is on.
    const int last = header_->count() - 1;
    const int others = header_->length() - header_->sectionSize(last);
    const int wanted = std::max(header_->minimumSectionSize(), (wide ? scrollWidth_ : viewport()->width()) - others);
    if (wide || !header_->stretchLastSection()) {
        header_->setStretchLastSection(false);
        if (header_->sectionSize(last) != wanted) {
            header_->resizeSection(last, wanted);
            if (wide)
                copyHeaderWidthsToProperties();
        }
    }
    header_->setStretchLastSection(!wide);
}

void MultiList::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    updateHorizontalExtent();
}

void MultiList::onSectionResized(int section, int, int)
{
    if (header_->dragging()) {
        // The stretching last section follows the dragged one; only the dragged one counts.
        if (smoothScroll_ && !(header_->stretchLastSection() && section == header_->count() - 1))
            onUserResizedSection(section);
        else
            resizePending_ = true;
        return;
    }
    if (slideTimer_.isActive())
        return; // the slide takes the header's widths when it ends
    adoptHeaderWidths();
    viewport()->update();
}

void MultiList::onHeaderReleased()
{
    if (!std::exchange(resizePending_, false))
        return;
    for (int section = 0; section < header_->count(); ++section) {
        if (header_->sectionSize(section) != drawnWidths_[static_cast<size_t>(section)]) {
            onUserResizedSection(section);
            return;
        }
    }
}

void MultiList::onUserResizedSection(int section)
{
    if (updateAlways_)
        viewport()->update();
    const int oldFirstWidth = sectionWidths_[0];
    copyHeaderWidthsToProperties();
    updateHorizontalExtent();
    if (slidingSection_ >= 0 && slidingSection_ != section) {
        slideTimer_.stop();
        slidingSection_ = -1;
        adoptHeaderWidths();
    }
    // Without a width of its own for the first column the list has no old layout to
    // slide from.
    if (oldFirstWidth <= 0) {
        adoptHeaderWidths();
        viewport()->update();
        return;
    }
    slidingSection_ = section;
    if (!slideTimer_.isActive())
        slideTimer_.start();
    slideStep();
}

void MultiList::slideStep()
{
    if (slidingSection_ < 0) {
        slideTimer_.stop();
        return;
    }
    int& shown = drawnWidths_[static_cast<size_t>(slidingSection_)];
    const int remaining = header_->sectionSize(slidingSection_) - shown;
    if (remaining == 0) {
        slideTimer_.stop();
        slidingSection_ = -1;
        adoptHeaderWidths();
        viewport()->update();
        return;
    }
    const int step = std::abs(remaining) >= scrollSpeed_ ? scrollSpeed_ : 1;
    shown += remaining > 0 ? step : -step;
    // Only the sliding column and what lies right of it change.
    const int left = columnRight(slidingSection_ - 1);
    viewport()->update(QRect(left, 0, viewport()->width() - left, viewport()->height()));
}

int MultiList::columnRight(int column) const
{
    int right = -header_->offset();
    for (int section = 0; section <= column && section < kMaxSections; ++section)
        right += drawnWidths_[static_cast<size_t>(section)];
    return right;
}

// --- drawing ------------------------------------------------------------------------

void MultiList::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.row() < 1)
        return;
    const int left = columnRight(-1);
    const int last = header_->count() - 1;
    // The last column reaches the end of the header even while another one slides.
    const int rowRight = std::max(option.rect.right(), left + header_->length() - 1);
    const QRect row(QPoint(left, option.rect.top()), QPoint(rowRight, option.rect.bottom()));
    const auto cellOf = [&](int column) {
        const int cellLeft = columnRight(column - 1);
        const int cellRight = column == last ? row.right() + 1 : columnRight(column);
        return QRect(QPoint(cellLeft, row.top()), QPoint(cellRight - 1, row.bottom()));
    };

    const bool selected = selectionModel()->isSelected(index);
    QColor background = selected ? highlightColor_ : palette().color(QPalette::Base);
    QColor text = selected ? highlightTextColor_ : palette().color(QPalette::Text);
    const QString rowString = model_->rowText(index.row());
    const RowText parsed = splitRow(rowString, model_->separator());

    painter->save();
    painter->setFont(font());
    const QRect first = cellOf(0);
    painter->fillRect(first, background);
    int textLeft = first.left() + kFirstCellTextIndent;
    if (parsed.glyph >= 0) {
        const QPixmap& picture = maskedGlyphs_[static_cast<size_t>(parsed.glyph)];
        if (!picture.isNull())
            painter->drawPixmap(first.left() + kGlyphLeft, row.top(), picture);
        textLeft = first.left() + static_cast<int>(picture.deviceIndependentSize().width()) + kGlyphTextGap;
    }
    painter->setPen(text);
    if (!parsed.columns.empty())
        drawCellText(painter, QRect(QPoint(textLeft, row.top() + 1), first.bottomRight()), parsed.columns[0], 0);

    if (selected && showParentHighlight_) {
        background = palette().color(QPalette::Base);
        text = childHighlightTextColor_;
    }
    painter->setPen(text);
    for (int column = 1; column <= last; ++column) {
        const QRect cell = cellOf(column);
        painter->fillRect(cell, background);
        if (static_cast<size_t>(column) < parsed.columns.size())
            drawCellText(painter, QRect(QPoint(cell.left() + kCellTextIndent, row.top() + 1), cell.bottomRight()),
                         parsed.columns[static_cast<size_t>(column)], column);
    }

    if (hasFocus() && index == currentIndex()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = showParentHighlight_ ? first : row;
        focus.backgroundColor = selected ? highlightColor_ : palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    painter->restore();
}

void MultiList::drawCellText(QPainter* painter, const QRect& cell, QStringView text, int column) const
{
    if (cell.width() <= 0 || text.isEmpty())
        return;
    const Qt::Alignment alignment = columnAlignment(column) | Qt::AlignTop;
    const QFontMetrics metrics = painter->fontMetrics();
    if (!text.contains(u'\t')) {
        painter->drawText(cell, static_cast<int>(alignment | Qt::TextSingleLine),
                          metrics.elidedText(text.toString(), Qt::ElideRight, cell.width()));
        return;
    }
    // Tabs stop every few average characters, so the width is measured as drawn.
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(kTabStopChars * metrics.averageCharWidth());
    const auto widthOf = [&](const QString& candidate) {
        QTextLayout layout(candidate, painter->font());
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1 << 20); // no wrapping: the whole text on one line
        layout.endLayout();
        return line.naturalTextWidth();
    };
    QString shown = text.toString();
    if (widthOf(shown) > cell.width()) {
        const QString ellipsis(QChar(0x2026));
        qsizetype fits = 0;
        qsizetype tooLong = shown.size();
        while (tooLong - fits > 1) {
            const qsizetype middle = (fits + tooLong) / 2;
            (widthOf(shown.left(middle) + ellipsis) <= cell.width() ? fits : tooLong) = middle;
        }
        shown = shown.left(fits) + ellipsis;
    }
    painter->drawText(QRectF(cell), shown, option);
}

void MultiList::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (!showColumnLines_)
        return;
    QPainter painter(viewport());
    painter.setPen(columnLineColor_);
    for (int section = 0; section < header_->count(); ++section) {
        if (sectionWidths_[static_cast<size_t>(section)] > 0) {
            const int x = columnRight(section);
            painter.drawLine(x, 0, x, viewport()->height());
        }
    }
}

// --- notifications ------------------------------------------------------------------

void MultiList::keyReleaseEvent(QKeyEvent* event)
{
    QTreeView::keyReleaseEvent(event);
    emit keyReleased(event->key(), event->modifiers());
}

void MultiList::mousePressEvent(QMouseEvent* event)
{
    // As in the platform list box, a right click leaves the marks alone: the menu it opens
    // acts on the rows the user marked, not on the one under the mouse.
    if (event->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void MultiList::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    emit mouseReleased(event->button(), event->position().toPoint());
}

void MultiList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex hit = indexAt(event->position().toPoint());
    emit rowDoubleClicked(hit.isValid() ? hit.row() : -1);
}

} // namespace zw
