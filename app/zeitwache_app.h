#pragma once
// The whole program: settings, appointments, alarms and the long-lived windows, created
// and started in their order.
#include "app/instance_channel.h"
#include "app/places.h"
#include "app/program_options.h"
#include "scheduler/alarm_cascade.h"
#include "scheduler/appointment_book.h"
#include "scheduler/snooze.h"
#include "settings/clock_settings.h"

#include <QString>

#include <memory>
#include <vector>

namespace zw {

class AlarmExecutor;
class ClockWindow;
class Clock;
class Desktop;
class InfoWindow;
class ManagerDialog;
class MinuteTick;

class ZeitwacheApp {
public:
    ZeitwacheApp(Places places, Desktop& desktop, const Clock& clock);
    ~ZeitwacheApp();

    // Start-up: the clock window with its settings, the appointments and the first due
    // check, then the manager and the dialogs. Shows what start-up has to tell.
    void start();
    // What a command line asks of the running program: now, or as soon as start-up has
    // built the windows it needs (a box of the first check lets requests in early).
    void carryOut(const ProgramRequest& request);
    // --neu, --liste, --export, --import of a later start, on this run's appointments (see
    // app/data_commands). Refused until start-up has loaded them and built the windows.
    InstanceReply carryOutData(const ProgramRequest& request);

    ClockWindow& clockWindow() { return *clockWindow_; }
    MinuteTick& tick() { return *tick_; }
    // Built at their first use and kept from then on: nothing the user sees needs them
    // before, and the tray icon shows sooner without them.
    ManagerDialog& manager();
    InfoWindow& info();
    AppointmentBook& book() { return book_; }
    AlarmExecutor& executor() { return *executor_; }
    const SnoozeCounter& snoozeCount() const { return snoozeCount_; }
    const Places& places() const { return places_; }

private:
    Places places_;
    Desktop& desktop_;
    const Clock& clock_;
    ClockSettings settings_;
    SnoozeCounter snoozeCount_;
    AppointmentList list_;
    std::unique_ptr<AlarmCascade> cascade_;
    std::unique_ptr<AlarmExecutor> executor_;
    AppointmentBook book_;
    std::unique_ptr<ClockWindow> clockWindow_;
    std::unique_ptr<MinuteTick> tick_;
    class ManagerOnDemand;
    std::unique_ptr<ManagerOnDemand> managerOnDemand_;
    std::unique_ptr<ManagerDialog> manager_;
    std::unique_ptr<InfoWindow> info_;
    bool errorBoxOpen_ = false;
    bool windowsBuilt_ = false;
    std::vector<ProgramRequest> pendingRequests_;
};

} // namespace zw
