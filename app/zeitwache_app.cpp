#include "app/zeitwache_app.h"

#include "app/data_commands.h"
#include "app/info_window.h"
#include "clock/ui/clock_window.h"
#include "common/zeitwache_error.h"
#include "manager/ui/manager_dialog.h"
#include "manager/ui/search_dialog.h"
#include "platform/desktop.h"
#include "platform/qt_text.h"
#include "scheduler/ui/alarm_executor.h"
#include "scheduler/ui/appointment_rows.h"
#include "scheduler/ui/minute_tick.h"


#include <cstdio>

#include <utility>

namespace zw {

namespace {
const QString kMessageTitle = QString::fromLatin1(kMessageBoxTitle);
// "\n\r" in this text is line feed then carriage return, as the message has always had it.
const QString kConvertedMessage = QStringLiteral(
    "Die Datei \"termine.dat\" ist nicht mit dieser Programmversion \n\rkompatibel und wurde für die Version 2.3 "
    "umgewandelt. \n\rDie alte Version wurde unter dem Namen \"termine.v22\" im "
    "\n\rZeitwache-Insatallationsverzeichnis "
    "gespeichert, falls Sie zu \n\reiner älteren Version des Programms zurückkehren möchten.");
} // namespace

// The alarm windows' "Bearbeiten" reaches the manager through this, building it when it is
// first needed.
class ZeitwacheApp::ManagerOnDemand : public AppointmentRows {
public:
    explicit ManagerOnDemand(ZeitwacheApp& app) : app_(app) {}
    void showEntry(std::size_t entry) override { app_.manager().showEntry(entry); }

private:
    ZeitwacheApp& app_;
};

ZeitwacheApp::ZeitwacheApp(Places places, Desktop& desktop, const Clock& clock)
    : places_(std::move(places)), desktop_(desktop), clock_(clock),
      settings_(toPath(places_.dataDirectory) / std::string(ClockSettings::fileName)),
      cascade_(std::make_unique<AlarmCascade>(desktop.screenSize().width(), desktop.screenSize().height())),
      executor_(std::make_unique<AlarmExecutor>(desktop, clock, list_, places_.soundFolders, snoozeCount_, *cascade_)),
      book_(toPath(places_.dataDirectory), list_, clock, *executor_)
{
}

ZeitwacheApp::~ZeitwacheApp() = default;

void ZeitwacheApp::start()
{
    clockWindow_ = std::make_unique<ClockWindow>(desktop_, clock_, settings_, list_, snoozeCount_);
    tick_ = std::make_unique<MinuteTick>(book_.dueCheck());
    QObject::connect(tick_.get(), &MinuteTick::secondPassed, clockWindow_.get(), &ClockWindow::redraw);
    QObject::connect(clockWindow_.get(), &ClockWindow::shownChanged, tick_.get(), &MinuteTick::setEverySecond);
    clockWindow_->applySettings();
    // Before the first check: the alarm windows it opens belong to the clock like all others.
    executor_->setOwner(clockWindow_.get());
    const std::optional<std::string> fileProblem = book_.load();
    tick_->start();
    clockWindow_->drawFace();
    const AppointmentBook::FirstCheck firstCheck = book_.runFirstCheck();
    book_.dueCheck().setErrorReporter([this](const ZeitwacheError& e) {
        // The box lets ticks through; a damaged line would otherwise stack a new box on
        // the open one every minute.
        if (errorBoxOpen_)
            return;
        errorBoxOpen_ = true;
        desktop_.showError(e);
        errorBoxOpen_ = false;
    });

    managerOnDemand_ = std::make_unique<ManagerOnDemand>(*this);
    executor_->setRows(managerOnDemand_.get());
    QObject::connect(clockWindow_.get(), &ClockWindow::managerRequested, clockWindow_.get(),
                     [this] { manager().showManager(); });
    QObject::connect(clockWindow_.get(), &ClockWindow::infoRequested, clockWindow_.get(), [this] { info().exec(); });
    clockWindow_->setBlockingDialogCheck(
        [this] { return (info_ && info_->isVisible()) || (manager_ && manager_->modalDialogOpen()); });

    windowsBuilt_ = true;
    for (const ProgramRequest& request : std::exchange(pendingRequests_, {}))
        carryOut(request);

    // The boxes let ticks through: a minute failing meanwhile for the same reason must not
    // stack its own box on them.
    errorBoxOpen_ = true;
    if (fileProblem)
        desktop_.messageBox(QString::fromStdString(*fileProblem), kMessageTitle, MessageIcon::Warning,
                            MessageButtons::Ok);
    if (firstCheck.converted)
        desktop_.messageBox(kConvertedMessage, kMessageTitle, MessageIcon::Information, MessageButtons::Ok);
    else if (firstCheck.error)
        desktop_.showError(ZeitwacheError(*firstCheck.error));
    errorBoxOpen_ = false;
}

ManagerDialog& ZeitwacheApp::manager()
{
    if (!manager_) {
        manager_ = std::make_unique<ManagerDialog>(desktop_, book_, clock_, places_.soundFolders);
        QObject::connect(manager_->searchDialog(), &SearchDialog::openedSearch, clockWindow_.get(),
                         &ClockWindow::yieldTop);
        QObject::connect(manager_->searchDialog(), &SearchDialog::closedSearch, clockWindow_.get(),
                         &ClockWindow::restoreTop);
    }
    return *manager_;
}

InfoWindow& ZeitwacheApp::info()
{
    if (!info_)
        info_ = std::make_unique<InfoWindow>(places_.dataDirectory);
    return *info_;
}

void ZeitwacheApp::carryOut(const ProgramRequest& request)
{
    if (!windowsBuilt_) {
        pendingRequests_.push_back(request);
        return;
    }
    if (request.showClock)
        clockWindow_->showClock();
    if (request.openManager) {
        const bool wasShown = manager_ && manager_->isVisible();
        clockWindow_->openManager();
        // For the start tests: how often a request really opened the manager.
        if (!wasShown && manager_ && manager_->isVisible() && qEnvironmentVariableIsSet("ZEITWACHE_TRACE_STARTUP")) {
            std::printf("zeitwache: terminmanager geoeffnet\n");
            std::fflush(stdout);
        }
    }
}

InstanceReply ZeitwacheApp::carryOutData(const ProgramRequest& request)
{
    if (!windowsBuilt_)
        return {kExitNoInstanceAnswer,
                QStringLiteral("Zeitwache startet gerade; bitte gleich noch einmal versuchen.\n")};
    return runDataCommand(request, book_, clock_, places_.soundFolders);
}

} // namespace zw
