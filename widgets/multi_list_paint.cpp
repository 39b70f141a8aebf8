#include "widgets/multi_list.h"

#include "widgets/list_header.h"
#include "widgets/row_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTextLayout>

#include <algorithm>

namespace zw {

namespace {
// Room left of a column's text; column 0 starts closer to the edge, or after its picture.
constexpr int kCellTextIndent = 6;
constexpr int kFirstCellTextIndent = 1;
constexpr int kGlyphLeft = 6;
constexpr int kGlyphTextGap = 10;
constexpr int kTabStopChars = 3;
} // namespace

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

} // namespace zw
