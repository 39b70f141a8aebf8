#include "manager/ui/appointment_list_model.h"

#include "platform/qt_text.h"

namespace zw {

void AppointmentListModel::setLines(std::vector<std::string> lines, QSize rowSize)
{
    beginResetModel();
    lines_ = std::move(lines);
    rowSize_ = rowSize;
    endResetModel();
}

bool AppointmentListModel::removeLineRow(int row)
{
    if (row < 1 || row >= rowCount())
        return false;
    beginRemoveRows({}, row, row);
    lines_.erase(lines_.begin() + (row - 1));
    endRemoveRows();
    return true;
}

int AppointmentListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size()) + 1;
}

QVariant AppointmentListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::SizeHintRole && rowSize_.isValid())
        return rowSize_;
    if (role != Qt::DisplayRole)
        return {};
    if (index.row() == 0)
        return QString();
    return fromCp1252(lines_[static_cast<size_t>(index.row() - 1)]);
}

} // namespace zw
