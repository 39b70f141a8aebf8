#include "widgets/multi_list.h"

#include "widgets/list_header.h"
#include "widgets/picture_effects.h"
#include "widgets/row_text.h"

#include <QItemSelectionModel>

#include <algorithm>
#include <utility>

// Rows and properties. Marking and the mouse are in multi_list_selection.cpp, the header and
// its columns in multi_list_columns.cpp, the rows' drawing in multi_list_paint.cpp.

namespace zw {

namespace {
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

} // namespace zw
