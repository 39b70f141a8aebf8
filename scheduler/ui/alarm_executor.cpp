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
    : m_desktop(desktop),
      m_clock(clock),
      m_list(list),
      m_soundFolders(std::move(soundFolders)),
      m_snoozeCounter(snoozeCounter),
      m_cascade(cascade)
{
}

void AlarmExecutor::setRows(AppointmentRows* rows)
{
    m_rows = rows;
    for (AlarmWindow* window : openWindows())
        window->setRows(rows);
}

QList<AlarmWindow*> AlarmExecutor::openWindows() const
{
    QList<AlarmWindow*> windows;
    for (const QPointer<AlarmWindow>& window : m_windows) {
        if (window)
            windows.append(window.data());
    }
    return windows;
}

void AlarmExecutor::forgetClosedWindows()
{
    m_windows.removeIf([](const QPointer<AlarmWindow>& window) { return window.isNull(); });
}

void AlarmExecutor::carryOut(const DueAppointment& appointment)
{
    if (!appointment.message.empty())
        openWindow(appointment);

    if (!appointment.application.empty())
        startApplication(appointment.application);

    // Marked whether or not the start succeeded.
    std::string line = m_list.get(appointment.index);
    line::setFlag(line, line::kExecuted, '1');
    m_list.put(appointment.index, std::move(line));

    // The alarm window follows its line: "Bearbeiten" goes off as the line goes.
    if (appointment.deleteFlag == '1')
        m_list.remove(appointment.index);

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
    auto* window = new AlarmWindow(m_desktop, m_snoozeCounter, m_list, appointment, m_clock.now(), m_soundFolders,
                                   m_owner.data());
    window->setRows(m_rows);
    m_windows.append(window);

    ++m_messageCounter;
    window->setWindowTitle(fromUtf8(alarmCaption(m_messageCounter)));

    const QSize usable = m_desktop.fullScreenClientSize();
    const ScreenPoint place = m_cascade.nextPosition(usable.width(), usable.height());
    window->move(place.left, place.top);

    window->show();
    // Brought forward in-process; where the desktop will not activate it, the window asks
    // for attention instead.
    if (!m_desktop.bringToFront(window))
        m_desktop.requestAttention(window);
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
        result = m_desktop.startApplication(fromCp1252(command->file), arguments);
    }
    if (const std::optional<std::string> failure = launchFailureText(cp1252Field, result))
        m_desktop.messageBox(fromUtf8(*failure), QString::fromLatin1(kMessageBoxTitle), MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zw
