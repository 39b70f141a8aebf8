#include "app/places.h"

#include "platform/help_viewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace zw {

namespace {

// A system directory stays the system's even for root: nothing is written under /usr.
bool userMayKeepFilesIn(const QString& directory)
{
    const QString canonical = QFileInfo(directory).canonicalFilePath();
    if (canonical.isEmpty() || canonical == QLatin1String("/usr") || canonical.startsWith(QLatin1String("/usr/")))
        return false;
    const QByteArray path = QFile::encodeName(canonical);
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && status.st_uid == ::geteuid() &&
           ::access(path.constData(), W_OK | X_OK) == 0;
}

QString userDataDirectory(const PlaceEnvironment& environment)
{
    // The XDG rule: a relative XDG_DATA_HOME is ignored.
    QString base = environment.xdgDataHome;
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir(environment.home).filePath(QStringLiteral(".local/share"));
    return QDir(base).filePath(QStringLiteral("zeitwache"));
}

} // namespace

Places Places::inOneDirectory(const QString& directory)
{
    return {directory, {directory}, QDir(directory).filePath(QString::fromLatin1(kHelpSourceFileName))};
}

Places findPlaces(const PlaceEnvironment& environment)
{
    // An installed program finds its shipped files in share/zeitwache; where that is
    // missing they lie beside the program: a build tree or a portable copy.
    const QString installed =
        QDir::cleanPath(QDir(environment.programDirectory).filePath(QStringLiteral(ZEITWACHE_DATA_FROM_BIN)));
    const bool isInstalled = QFileInfo(installed).isDir();
    const QString shipped = isInstalled ? installed : QDir(environment.programDirectory).absolutePath();

    Places places;
    if (!environment.configuredDirectory.isEmpty())
        places.dataDirectory = QDir(environment.configuredDirectory).absolutePath();
    // PREFIX/bin is no place for data, even in a prefix of the user's own (~/.local):
    // an uninstall would leave it behind among other programs' files.
    else if (!isInstalled && userMayKeepFilesIn(environment.programDirectory))
        places.dataDirectory = QDir(environment.programDirectory).absolutePath();
    else
        places.dataDirectory = userDataDirectory(environment);
    // A directory that cannot be made shows as the data file's own error at start.
    QDir().mkpath(places.dataDirectory);

    places.soundFolders.append(places.dataDirectory);
    if (QDir(shipped) != QDir(places.dataDirectory))
        places.soundFolders.append(shipped);

    // The help: an edited copy in the data directory wins over the shipped one.
    const QString helpName = QString::fromLatin1(kHelpSourceFileName);
    places.helpFile = QDir(places.soundFolders.back()).filePath(helpName);
    for (const QString& folder : places.soundFolders) {
        if (QFileInfo::exists(QDir(folder).filePath(helpName))) {
            places.helpFile = QDir(folder).filePath(helpName);
            break;
        }
    }
    return places;
}

Places findPlaces(const QString& programDirectory)
{
    return findPlaces({programDirectory, qEnvironmentVariable("ZEITWACHE_DIR"), qEnvironmentVariable("XDG_DATA_HOME"),
                       QDir::homePath()});
}

} // namespace zw
