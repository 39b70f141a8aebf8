#pragma once
// The manager's page "Vorhandene Termine" (TabSheet2): the stored lines under the
// reserved row 0, so that AppointmentList entry k stands in row k + 1. That rule lives
// here and nowhere else.
#include <QWidget>

#include <cstddef>

class QListView;

namespace zw {

class AppointmentList;
class AppointmentListModel;
class ContextHelp;

class ListPage : public QWidget {
    Q_OBJECT
public:
    ListPage(const AppointmentList& list, ContextHelp& help, QWidget* parent = nullptr);

    // `liste`: one row per stored line.
    void fill();
    // Drops the row of a removed entry; throws the list error when there is none.
    void removeEntry(std::size_t entry);
    // Marks only the entry's row and scrolls to it; throws the list error (with nothing
    // marked) when there is no such row.
    void showEntry(std::size_t entry);
    // The entry of the last marked row, or entry 0 when no row is marked.
    std::size_t markedEntry() const;

    QListView* list() const { return list_; }

signals:
    // A double click on a row: load the marked appointment into the editor.
    void editRequested();

private:
    const AppointmentList& appointments_;
    AppointmentListModel* rows_ = nullptr;
    QListView* list_ = nullptr;
};

} // namespace zw
