#include "widgets/multi_list.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <iterator>

namespace zw {

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
