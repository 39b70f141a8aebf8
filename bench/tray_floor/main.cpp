// The floor that Zeitwache's start-up is measured against (scripts/measure-startup): a
// bare Qt program with one 22 x 22 tray icon and nothing else, built with the same flags.
// Its tray window is found by the application name, "TrayFloor".
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TrayFloor"));
    QPixmap picture(22, 22);
    picture.fill(Qt::red);
    QSystemTrayIcon icon{QIcon(picture)};
    icon.show();
    return QApplication::exec();
}
