#pragma once
// The appointment manager (`TForm2`): a modeless dialog with the editor page and the list
// of stored appointments. It is created once and hidden, not destroyed, when closed.
#include "scheduler/ui/appointment_rows.h"

#include <QDialog>

class QListView;
class QPushButton;
class QTabWidget;

namespace zw {

class AppointmentList;
class AppointmentListModel;
class Desktop;

class ManagerDialog : public QDialog, public AppointmentRows {
    Q_OBJECT
public:
    static constexpr int kWidth = 578;
    static constexpr int kHeight = 424;

    ManagerDialog(Desktop& desktop, const AppointmentList& list, QWidget* parent = nullptr);

    // `liste`: one row per stored line under the reserved row 0.
    void fillList();

    void deleteRow(int row) override;
    void showRowInList(int row) override;

    // Shows the dialog next to the notification area and brings it to the front.
    void showManager();

    QTabWidget* pages() const { return pages_; }
    QListView* list() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeNextToTray();
    void showHelp();

    Desktop& desktop_;
    const AppointmentList& appointments_;
    QTabWidget* pages_ = nullptr;
    AppointmentListModel* rows_ = nullptr;
    QListView* list_ = nullptr;
};

} // namespace zw
