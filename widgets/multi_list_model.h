#pragma once
// The rows of the multi-column list: separator-split strings under the reserved row 0,
// which exists exactly while the list holds rows and never counts as data. A row's
// columns are split out only when the view or a screen reader asks for them, so a list
// of 100,000 rows fills without touching them.
#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

namespace zw {

// The text of list row `row` (1 for the first data row), asked for each time it is drawn.
using RowProvider = std::function<QString(int row)>;

class MultiListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void clear();
    void appendRow(const QString& text);
    void setRows(std::vector<QString> rows);
    void setRows(int dataRowCount, RowProvider provider);
    // false when `row` is the reserved row or no row at all.
    bool removeListRow(int row);
    // For a list filled through a provider, whose rows changed under it: a data row was
    // inserted at `row`, the data rows were removed (ascending, as numbered before), or
    // one row's text changed. The views keep the marks on the rows that stay.
    void providedRowInserted(int row);
    void providedRowsRemoved(const std::vector<int>& rows);
    void providedRowChanged(int row);
    // The reserved row's text for row 0.
    QString rowText(int row) const;

    QChar separator() const { return separator_; }
    void setSeparator(QChar separator);
    const QStringList& captions() const { return captions_; }
    void setCaptions(const QStringList& captions);
    void setRowHeight(int height);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Display: the column's text. Accessible text: column 0 reads the whole row with the
    // captions ("Datum: 24.12.2027, Uhrzeit: 18:30"), the others their own trimmed text.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int dataRowCount() const;
    // A list filled through a provider becomes a list of its own copies before it changes.
    void takeOwnCopies();
    QString accessibleRowText(int row) const;

    std::vector<QString> rows_;
    RowProvider provider_;
    int providedCount_ = 0;
    QChar separator_ = u'|';
    QStringList captions_;
    int rowHeight_ = 18;
};

} // namespace zw
