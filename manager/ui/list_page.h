#pragma once
// The manager's page "Vorhandene Termine" (TabSheet2): every stored appointment as a row
// of the multi-column list, AppointmentList entry k in row k + 1 under the reserved row
// 0 (that rule lives here and nowhere else), and the commands on the marked rows. The
// rows follow every change of the list as it happens, with the marks kept on the same
// appointments, so a command never acts on another appointment than its row shows.
#include "manager/ui/marked_rows.h"

#include <QWidget>

#include <cstddef>
#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace zw {

class AppointmentBook;
class ContextHelp;
class Desktop;
class ExplorerButton;
class MultiList;

class ListPage : public QWidget, public MarkedRows {
    Q_OBJECT
public:
    ListPage(Desktop& desktop, AppointmentBook& book, ContextHelp& help, QWidget* parent = nullptr);
    ~ListPage() override;

    // `liste`: one row per stored appointment.
    void fill();
    // Marks only the entry's row and scrolls to it; throws the list error (with nothing
    // marked) when there is no such row.
    void showEntry(std::size_t entry);
    // The entry of the last marked row, or entry 0 when no row is marked.
    std::size_t markedEntry() const;

    void unmarkAll() override;
    void markEntries(const std::vector<std::size_t>& entries) override;
    void markEntry(std::size_t entry) override;
    std::vector<std::size_t> markedEntries() const override;
    void updateCommands() override;

    // The commands that work on the list itself.
    void deleteMarked();
    void markAll();
    void invertMarks();

    MultiList* list() const { return list_; }
    QMenu* menu() const { return menu_; }

signals:
    // The commands that open the editor or a dialog.
    void editRequested();
    void propertiesRequested();
    void searchRequested();
    void markExpiredRequested();

private:
    class Follower;
    void buildButtons(ContextHelp& help);
    void buildMenu();
    ExplorerButton* button(const char* name, const char* caption, const char* hint, int help, int picture);
    QAction* action(const char* name, const char* caption, int help, void (ListPage::*command)());
    void followRemovals(const std::vector<std::size_t>& positions);
    void followInsert(std::size_t entry);
    void showHeaderOnceFilled();

    Desktop& desktop_;
    AppointmentBook& book_;
    MultiList* list_ = nullptr;
    QMenu* menu_ = nullptr;
    ExplorerButton* editButton_ = nullptr;
    ExplorerButton* deleteButton_ = nullptr;
    ExplorerButton* propertiesButton_ = nullptr;
    QAction* editAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* propertiesAction_ = nullptr;
    std::unique_ptr<Follower> follower_;
};

} // namespace zw
