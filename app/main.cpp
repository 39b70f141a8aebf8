// Zeitwache: a desktop clock in the notification area that carries out appointments.
#include "app/places.h"
#include "app/single_instance.h"
#include "app/zeitwache_app.h"
#include "clock/ui/app_icon.h"
#include "clock/ui/clock_window.h"
#include "platform/qt_desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <chrono>
#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char** argv)
{
    if (!haveDisplay()) {
        std::fprintf(stderr,
                     "Zeitwache braucht eine grafische Oberfläche, aber es ist keine Anzeige eingestellt "
                     "(weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).\n"
                     "Starten Sie Zeitwache in einer Desktop-Sitzung, oder ohne Bildschirm zum Beispiel mit\n"
                     "  xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }

    // A second start ends at once, before it builds anything.
    zw::SingleInstance instance;
    if (!instance.acquire())
        return 0;

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
    zeitwache.start();
    desktop.setTrayIcon(zeitwache.clockWindow().trayIcon());
    traceReady(places);
    return QApplication::exec();
}
