#pragma once
// The appointment manager (`TForm2`): a modeless dialog with the editor page and the list
// of stored appointments. It is created once and hidden, not destroyed, when closed; it
// only puts the pages together, places itself and asks before unsaved changes go.
#include "scheduler/ui/appointment_rows.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QPushButton;
class QTabWidget;

namespace zw {

class AppointmentBook;
class Clock;
class ContextHelp;
class Desktop;
class EditorPage;
class ListPage;
class MarkExpiredDialog;
class PropertiesDialog;
class SearchDialog;

class ManagerDialog : public QDialog, public AppointmentRows {
    Q_OBJECT
public:
    static constexpr int kWidth = 578;
    static constexpr int kHeight = 424;

    ManagerDialog(Desktop& desktop, AppointmentBook& book, const Clock& clock, QStringList soundFolders,
                  QWidget* parent = nullptr);

    ~ManagerDialog() override;

    void showEntry(std::size_t entry) override;

    // Shows the dialog next to the notification area and brings it to the front.
    void showManager();
    // The list page's Edit command: the marked appointment into the editor page.
    void editMarked();

    QTabWidget* pages() const { return pages_; }
    EditorPage* editorPage() const { return editorPage_; }
    ListPage* listPage() const { return listPage_; }
    ContextHelp* contextHelp() const { return help_; }
    PropertiesDialog* propertiesDialog() const { return properties_; }
    MarkExpiredDialog* markExpiredDialog() const { return markExpired_; }
    SearchDialog* searchDialog() const { return search_; }
    // True while the properties or the mark-expired dialog waits for an answer.
    bool modalDialogOpen() const;

public slots:
    // Every way of closing comes here (button, Esc, Enter, the close box): the question
    // about unsaved changes first.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void placeNextToTray();
    void showHelp();

    Desktop& desktop_;
    ContextHelp* help_ = nullptr;
    QTabWidget* pages_ = nullptr;
    EditorPage* editorPage_ = nullptr;
    ListPage* listPage_ = nullptr;
    PropertiesDialog* properties_ = nullptr;
    MarkExpiredDialog* markExpired_ = nullptr;
    SearchDialog* search_ = nullptr;
};

} // namespace zw
