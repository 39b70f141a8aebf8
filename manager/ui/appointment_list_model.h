#pragma once
// The rows of the manager's list: a copy of the stored lines, taken when the list is
// filled, under the reserved row 0. A row's text is converted from Windows-1252 only when
// the view asks for it, so a list of 100,000 appointments fills in a few milliseconds.
#include <QAbstractListModel>
#include <QSize>

#include <string>
#include <vector>

namespace zw {

class AppointmentListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // rowSize: the size every row reports (the view measures one row for all of them).
    void setLines(std::vector<std::string> lines, QSize rowSize);
    // Removes row `row` (>= 1); false when there is no such row.
    bool removeLineRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<std::string> lines_;
    QSize rowSize_;
};

} // namespace zw
