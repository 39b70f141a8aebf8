#pragma once
#include "scheduler/snooze.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <memory>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace zw {

class AppointmentList;
class AppointmentRows;
class ContextHelp;
class Desktop;
// Not included: moc reads headers as C++17 and stops at the standard library's
// three-way comparison headers that these pull in.
struct DueAppointment;
struct LocalDateTime;

// The alarm window (TForm4): the time it was opened, the appointment's status and its
// message, with "Bearbeiten", "Snooze" and "Schließen". Non-modal; it deletes itself
// when closed. It is created hidden: the caller sets caption and position, then shows
// it. Every showing (the first and each return from a snooze) plays the sound.
class AlarmWindow : public QDialog {
    Q_OBJECT

public:
    // Takes index, status text, message and sound (Windows-1252) of the appointment;
    // createdAt is the time the time line shows for the window's whole life. The window
    // follows its appointment in `list` from then on. The desktop, the snooze counter,
    // the list and rows (when set) must outlive the window.
    AlarmWindow(Desktop& desktop, SnoozeCounter& snoozeCounter, const AppointmentList& list,
                const DueAppointment& appointment, const LocalDateTime& createdAt, QStringList soundFolders,
                QWidget* owner = nullptr);
    ~AlarmWindow() override;

    // The manager's list page for "Bearbeiten"; null while there is no manager.
    void setRows(AppointmentRows* rows) { rows_ = rows; }

    QString soundName() const { return sound_; }
    const AlarmSnooze& snooze() const { return snooze_; }

    QPushButton* editButton() const { return editButton_; }
    QPushButton* snoozeButton() const { return snoozeButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QLabel* timeLabel() const { return timeLabel_; }
    QLabel* statusLabel() const { return statusLabel_; }
    QPlainTextEdit* messageView() const { return message_; }
    QMenu* snoozeMenu() const { return snoozeMenu_; }
    // Timer1: 60-second ticks while snoozed. Tests drive onSnoozeTimer() themselves.
    QTimer* snoozeTimer() const { return snoozeTimer_; }

public slots:
    // "Schließen" (also Enter on it and Esc).
    void onCloseClicked();
    // "&Snooze": opens the snooze menu just inside the button's top-left corner.
    void onSnoozeClicked();
    // "&Bearbeiten": the appointment's row in the manager's list, then closes. The button
    // goes off when the appointment leaves the list; when the manager has no row for it
    // the error is shown and the window stays open.
    void onEditClicked();
    // A snooze menu entry: hides the window and counts the minutes off.
    void snoozeFor(int minutes);
    // One tick of Timer1.
    void onSnoozeTimer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    class Appointment;
    void buildControls();
    void buildSnoozeMenu();

    Desktop& desktop_;
    AlarmSnooze snooze_;
    AppointmentRows* rows_ = nullptr;
    std::unique_ptr<Appointment> appointment_;
    QString sound_;
    QStringList soundFolders_;

    QLabel* timeLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* snoozeButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QMenu* snoozeMenu_ = nullptr;
    ContextHelp* help_ = nullptr;
    QTimer* snoozeTimer_ = nullptr;
};

} // namespace zw
