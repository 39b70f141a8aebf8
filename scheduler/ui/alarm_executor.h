#pragma once
#include "common/civil_time.h"
#include "scheduler/alarm_cascade.h"
#include "scheduler/due_check.h"
#include "scheduler/snooze.h"
#include "store/appointment_list.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace zw {

class AlarmWindow;
class AppointmentRows;
class Desktop;

// Carries out a due appointment (anzeigen): opens its alarm window, starts its
// application or document, marks it executed and deletes it when it asks for that.
// The list is changed but not saved; the due check saves it at the end of its run.
class AlarmExecutor : public AppointmentExecutor {
public:
    // All references must outlive the executor. soundFolders hold the wave files, searched in order.
    AlarmExecutor(Desktop& desktop, const Clock& clock, AppointmentList& list, QStringList soundFolders,
                  SnoozeCounter& snoozeCounter, AlarmCascade& cascade);

    // The manager's list page, once the manager exists; windows already open get it too.
    void setRows(AppointmentRows* rows);
    // The window the alarm windows belong to (the clock window); they end with it.
    void setOwner(QWidget* owner) { owner_ = owner; }

    // Before it returns it lets pending events other than input run (timers, painting),
    // so the caller must be ready for a tick to come in; the due check's guard is.
    void carryOut(const DueAppointment& appointment) override;

    // MessageCounter: alarm windows opened since start; never goes back.
    int messageCounter() const { return messageCounter_; }
    // The alarm windows still open (shown or snoozed), oldest first.
    QList<AlarmWindow*> openWindows() const;

private:
    void openWindow(const DueAppointment& appointment);
    void startApplication(const std::string& cp1252Field);
    void forgetClosedWindows();

    Desktop& desktop_;
    const Clock& clock_;
    AppointmentList& list_;
    QStringList soundFolders_;
    SnoozeCounter& snoozeCounter_;
    AlarmCascade& cascade_;
    AppointmentRows* rows_ = nullptr;
    QPointer<QWidget> owner_;
    int messageCounter_ = 0;
    QList<QPointer<AlarmWindow>> windows_;
};

} // namespace zw
