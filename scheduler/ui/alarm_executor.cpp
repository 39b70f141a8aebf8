#include "scheduler/ui/alarm_executor.h"

#include "platform/desktop.h"
#include "platform/qt_text.h"
#include "scheduler/alarm_texts.h"
#include "scheduler/command_line.h"
#include "scheduler/ui/alarm_window.h"
#include "scheduler/ui/appointment_rows.h"
#include "store/appointment_line.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSize>
#include <QStringList>

#include <optional>
#include <utility>

namespace zw {

AlarmExecutor::AlarmExecutor(Desktop& desktop, const Clock& clock, AppointmentList& list, QStringList soundFolders,
                             SnoozeCounter& snoozeCounter, AlarmCascade& cascade)
    : desktop_(desktop),
      clock_(clock),
      list_(list),
      soundFolders_(std::move(soundFolders)),
      snoozeCounter_(snoozeCounter),
      cascade_(cascade)
{
}

void AlarmExecutor::setRows(AppointmentRows* rows)
{
    rows_ = rows;
    for (AlarmWindow* window : openWindows())
        window->setRows(rows);
}

QList<AlarmWindow*> AlarmExecutor::openWindows() const
{
    QList<AlarmWindow*> windows;
    for (const QPointer<AlarmWindow>& window : windows_) {
        if (window)
            windows.append(window.data());
    }
    return windows;
}

void AlarmExecutor::forgetClosedWindows()
{
    windows_.removeIf([](const QPointer<AlarmWindow>& window) { return window.isNull(); });
}

void AlarmExecutor::carryOut(const DueAppointment& appointment)
{
    if (!appointment.message.empty())
        openWindow(appointment);

    if (!appointment.application.empty())
        startApplication(appointment.application);

    // Marked whether or not the start succeeded.
    std::string line = list_.get(appointment.index);
    line::setFlag(line, line::kExecuted, '1');
    list_.put(appointment.index, std::move(line));

    // The alarm window follows its line: "Bearbeiten" goes off as the line goes.
    if (appointment.deleteFlag == '1')
        list_.remove(appointment.index);

    // A minute with many appointments is carried out in one run. Letting the event loop
    // turn between them paints the windows as they open and lets the clock's ticks
    // through, provided the run was not started inside the clock timer's own event (Qt
    // never re-enters a timer's handler). Input waits until the run is over; a tick that
    // comes in here finds the due check running and starts no second run.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void AlarmExecutor::openWindow(const DueAppointment& appointment)
{
    forgetClosedWindows();
    auto* window = new AlarmWindow(desktop_, snoozeCounter_, list_, appointment, clock_.now(), soundFolders_,
                                   owner_.data());
    window->setRows(rows_);
    windows_.append(window);

    ++messageCounter_;
    window->setWindowTitle(fromUtf8(alarmCaption(messageCounter_)));

    const QSize usable = desktop_.fullScreenClientSize();
    const ScreenPoint place = cascade_.nextPosition(usable.width(), usable.height());
    window->move(place.left, place.top);

    window->show();
    // Brought forward in-process; where the desktop will not activate it, the window asks
    // for attention instead.
    if (!desktop_.bringToFront(window))
        desktop_.requestAttention(window);
}

void AlarmExecutor::startApplication(const std::string& cp1252Field)
{
    int result = kLaunchFileNotFound;
    // A field of blanks and control characters names no file: reported as not found
    // without asking the desktop to open an empty name.
    if (const std::optional<LaunchCommand> command = launchCommandFor(cp1252Field)) {
        QStringList arguments;
        for (const std::string& argument : command->arguments)
            arguments.append(fromCp1252(argument));
        result = desktop_.startApplication(fromCp1252(command->file), arguments);
    }
    if (const std::optional<std::string> failure = launchFailureText(cp1252Field, result))
        desktop_.messageBox(fromUtf8(*failure), QString::fromLatin1(kMessageBoxTitle), MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zw
