// Zeitwache: a desktop clock in the notification area that carries out appointments.
#include "app/data_commands.h"
#include "app/instance_channel.h"
#include "app/places.h"
#include "app/program_options.h"
#include "app/single_instance.h"
#include "app/zeitwache_app.h"
#include "clock/ui/app_icon.h"
#include "clock/ui/clock_window.h"
#include "platform/qt_desktop.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLibraryInfo>
#include <QThread>
#include <QTranslator>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

bool haveDisplay()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

int reportNoDisplay(const char* program)
{
    std::fprintf(stderr,
                 "Zeitwache braucht eine grafische Oberfläche, aber es ist keine Anzeige eingestellt "
                 "(weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).\n"
                 "Starten Sie Zeitwache in einer Desktop-Sitzung, oder ohne Bildschirm zum Beispiel mit\n"
                 "  xvfb-run -a %s\n",
                 program);
    return zw::kExitRefused;
}

// On Wayland a program may neither place its windows nor keep them on top or out of the
// taskbar; the clock needs all three. Through XWayland (DISPLAY set beside
// WAYLAND_DISPLAY) it may, so it goes there unless the user chose a platform.
void preferX11OnWayland()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsSet("DISPLAY"))
        return;
    qputenv("QT_QPA_PLATFORM", "xcb");
}

// For the start-up benchmark: the wall-clock moment start-up is done, in nanoseconds;
// then where the program keeps its data and finds its sounds and help, for the install
// check.
void traceReady(const zw::Places& places)
{
    if (!qEnvironmentVariableIsSet("ZEITWACHE_TRACE_STARTUP"))
        return;
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                  std::chrono::system_clock::now().time_since_epoch())
                  .count();
    std::printf("zeitwache: bereit %lld\n", static_cast<long long>(ns));
    std::printf("zeitwache: daten %s\n", qPrintable(places.dataDirectory));
    std::printf("zeitwache: klaenge %s\n", qPrintable(places.soundFolders.join(QLatin1Char(':'))));
    std::printf("zeitwache: hilfe %s\n", qPrintable(places.helpFile));
    std::fflush(stdout);
}

// The command line as Qt reads it, before there is an application to ask.
QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Another instance holds the lock: hands the command line to it. It may still be starting
// (not listening yet) or just ending (the lock then comes free), so both are tried until
// the deadline. Returns the exit code, or nothing when the lock came free.
std::optional<int> handToRunningInstance(zw::SingleInstance& instance, const QStringList& arguments)
{
    // Generous: a running program that is busy loading a large file answers late.
    const QDeadlineTimer deadline(10000);
    bool listening = false;
    while (!deadline.hasExpired()) {
        const auto wait = static_cast<int>(qMax<qint64>(1, deadline.remainingTime()));
        if (const auto reply = zw::sendToRunningInstance(instance.directory(), arguments, wait, &listening)) {
            print(reply->exitCode == 0 ? stdout : stderr, reply->text);
            return reply->exitCode;
        }
        if (listening)
            break;  // it took the request but never answered
        if (instance.acquire())
            return std::nullopt;
        QThread::msleep(50);
    }
    print(stderr, QStringLiteral("Zeitwache läuft schon, hat den Auftrag aber nicht angenommen.\n"));
    return zw::kExitNoInstanceAnswer;
}

} // namespace

int main(int argc, char** argv)
{
    const QStringList arguments = argumentsOf(argc, argv);
    const zw::ProgramRequest request = zw::parseProgramArguments(arguments);
    switch (request.kind) {
    case zw::ProgramRequest::Kind::Help:
        print(stdout, zw::programHelpText());
        return 0;
    case zw::ProgramRequest::Kind::Version:
        print(stdout, zw::programVersionText());
        return 0;
    case zw::ProgramRequest::Kind::Refused:
        print(stderr, request.refusal + QLatin1Char('\n'));
        return zw::kExitRefused;
    case zw::ProgramRequest::Kind::Start:
        break;
    }

    // The appointments from the command line need no display: through the running program,
    // or on the data directory under the instance lock, so that no program starts meanwhile.
    if (request.data != zw::ProgramRequest::DataCommand::None) {
        QCoreApplication core(argc, argv);
        zw::SingleInstance instance;
        if (!instance.acquire()) {
            if (const std::optional<int> code = handToRunningInstance(instance, zw::commandLineOf(request)))
                return *code;
        }
        const zw::SystemClock clock;
        const zw::InstanceReply reply = zw::runDataCommandDirectly(
            request, zw::findPlaces(QCoreApplication::applicationDirPath()), clock);
        print(reply.exitCode == 0 ? stdout : stderr, reply.text);
        return reply.exitCode;
    }

    // A plain start needs a display whether or not another instance runs; a command for
    // the running one does not.
    if (!request.hasCommands() && !haveDisplay())
        return reportNoDisplay(argv[0]);

    // A second start ends at once, before it builds anything: silently, or once the
    // running program has taken its commands.
    zw::SingleInstance instance;
    if (!instance.acquire()) {
        if (!request.hasCommands())
            return 0;
        QCoreApplication forwarding(argc, argv);
        if (const std::optional<int> code = handToRunningInstance(instance, arguments))
            return *code;
    }
    if (!haveDisplay())
        return reportNoDisplay(argv[0]);

    preferX11OnWayland();
    // The clock paints a few small images a second; X shared-memory images cost a round
    // trip to the server on every paint, more than they save at this size.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    // Every window's title bar, the alarm window's and the properties' picture.
    QApplication::setWindowIcon(zw::appIcon());
    QApplication::setApplicationName(QStringLiteral("Zeitwache99"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own texts (a text field's edit menu, the file dialog, standard buttons) in
    // German, whatever the system's language.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    const zw::Places places = zw::findPlaces(QCoreApplication::applicationDirPath());
    zw::QtDesktop desktop(places.helpFile);
    zw::SystemClock clock;
    zw::ZeitwacheApp zeitwache(places, desktop, clock);
    // Listening before start-up, so that a later start waits in the queue instead of
    // knocking again and again.
    zw::InstanceServer server(instance.directory(), [&](const QStringList& forwarded) -> zw::InstanceReply {
        const zw::ProgramRequest asked = zw::parseProgramArguments(forwarded);
        if (asked.kind != zw::ProgramRequest::Kind::Start)
            return {zw::kExitRefused, asked.refusal};
        if (asked.data != zw::ProgramRequest::DataCommand::None)
            return zeitwache.carryOutData(asked);
        zeitwache.carryOut(asked);
        return {};
    });
    server.listen();
    zeitwache.start();
    desktop.setTrayIcon(zeitwache.clockWindow().trayIcon());
    zeitwache.carryOut(request);
    traceReady(places);
    return QApplication::exec();
}
