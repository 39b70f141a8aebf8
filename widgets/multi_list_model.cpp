#include "widgets/multi_list_model.h"

#include "widgets/row_text.h"

#include <QSize>

namespace zw {

namespace {
// Never shown and never a data row; a character no client puts into a row.
const QString kReservedRowText = QStringLiteral("\u2063");
} // namespace

int MultiListModel::dataRowCount() const
{
    return provider_ ? providedCount_ : static_cast<int>(rows_.size());
}

void MultiListModel::clear()
{
    beginResetModel();
    rows_.clear();
    provider_ = nullptr;
    providedCount_ = 0;
    endResetModel();
}

void MultiListModel::appendRow(const QString& text)
{
    takeOwnCopies();
    // The first row brings the reserved row with it.
    const int first = rows_.empty() ? 0 : rowCount();
    beginInsertRows({}, first, rowCount() + (rows_.empty() ? 1 : 0));
    rows_.push_back(text);
    endInsertRows();
}

void MultiListModel::setRows(std::vector<QString> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    provider_ = nullptr;
    providedCount_ = 0;
    endResetModel();
}

void MultiListModel::setRows(int dataRowCount, RowProvider provider)
{
    beginResetModel();
    rows_.clear();
    provider_ = std::move(provider);
    providedCount_ = provider_ ? std::max(0, dataRowCount) : 0;
    endResetModel();
}

bool MultiListModel::removeListRow(int row)
{
    if (row < 1 || row >= rowCount())
        return false;
    takeOwnCopies();
    // The last data row takes the reserved row with it.
    const bool last = rows_.size() == 1;
    beginRemoveRows({}, last ? 0 : row, row);
    rows_.erase(rows_.begin() + (row - 1));
    endRemoveRows();
    return true;
}

void MultiListModel::providedRowInserted(int row)
{
    if (!provider_ || row < 1 || row > providedCount_ + 1)
        return;
    // The first row brings the reserved row with it.
    beginInsertRows({}, providedCount_ == 0 ? 0 : row, row);
    ++providedCount_;
    endInsertRows();
}

void MultiListModel::providedRowsRemoved(const std::vector<int>& rows)
{
    if (!provider_)
        return;
    // From the last, so the numbers of the rows still to go stay as they were; runs of
    // neighbouring rows go as one.
    for (size_t end = rows.size(); end > 0;) {
        size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] == rows[begin] - 1)
            --begin;
        const int first = rows[begin];
        const int last = rows[end - 1];
        end = begin;
        if (first < 1 || last > providedCount_)
            continue;
        const int count = last - first + 1;
        // The last data rows take the reserved row with them.
        beginRemoveRows({}, count == providedCount_ ? 0 : first, last);
        providedCount_ -= count;
        endRemoveRows();
    }
}

void MultiListModel::providedRowChanged(int row)
{
    if (provider_ && row >= 1 && row <= providedCount_)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void MultiListModel::takeOwnCopies()
{
    if (!provider_)
        return;
    std::vector<QString> copies;
    copies.reserve(static_cast<size_t>(providedCount_));
    for (int row = 1; row <= providedCount_; ++row)
        copies.push_back(provider_(row));
    rows_ = std::move(copies);
    provider_ = nullptr;
    providedCount_ = 0;
}

QString MultiListModel::rowText(int row) const
{
    if (row == 0)
        return kReservedRowText;
    if (row < 0 || row > dataRowCount())
        return {};
    return provider_ ? provider_(row) : rows_[static_cast<size_t>(row - 1)];
}

void MultiListModel::setSeparator(QChar separator)
{
    if (separator == separator_)
        return;
    separator_ = separator;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void MultiListModel::setCaptions(const QStringList& captions)
{
    const int before = columnCount();
    const int after = std::max<int>(1, static_cast<int>(captions.size()));
    if (after > before) {
        beginInsertColumns({}, before, after - 1);
        captions_ = captions;
        endInsertColumns();
    } else if (after < before) {
        beginRemoveColumns({}, after, before - 1);
        captions_ = captions;
        endRemoveColumns();
    } else {
        captions_ = captions;
    }
    emit headerDataChanged(Qt::Horizontal, 0, after - 1);
}

void MultiListModel::setRowHeight(int height)
{
    if (height == rowHeight_)
        return;
    rowHeight_ = height;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::SizeHintRole});
}

int MultiListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    const int rows = dataRowCount();
    return rows == 0 ? 0 : rows + 1;
}

int MultiListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max<int>(1, static_cast<int>(captions_.size()));
}

QVariant MultiListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::SizeHintRole)
        return QSize(1, rowHeight_);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (index.row() == 0)
        return role == Qt::DisplayRole ? kReservedRowText : QString();
    if (role == Qt::AccessibleTextRole && index.column() == 0)
        return accessibleRowText(index.row());
    const QString text = rowText(index.row());
    const RowText parsed = splitRow(text, separator_);
    const auto column = static_cast<size_t>(index.column());
    if (column >= parsed.columns.size())
        return QString();
    const QStringView cell = parsed.columns[column];
    return (role == Qt::AccessibleTextRole ? cell.trimmed() : cell).toString();
}

QString MultiListModel::accessibleRowText(int row) const
{
    const QString text = rowText(row);
    const RowText parsed = splitRow(text, separator_);
    QStringList parts;
    for (size_t column = 0; column < parsed.columns.size(); ++column) {
        const QString cell = parsed.columns[column].trimmed().toString();
        const int section = static_cast<int>(column);
        parts << (section < captions_.size() && !captions_[section].isEmpty()
                      ? captions_[section] + QStringLiteral(": ") + cell
                      : cell);
    }
    return parts.join(QStringLiteral(", "));
}

QVariant MultiListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0)
        return {};
    return section < captions_.size() ? captions_[section] : QString();
}

Qt::ItemFlags MultiListModel::flags(const QModelIndex& index) const
{
    // The reserved row can be neither chosen nor marked.
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || index.row() == 0)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace zw
