#include "widgets/multi_list.h"

#include "widgets/list_header.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace zw {

// --- header --------------------------------------------------------------------------

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

} // namespace zw
