#pragma once
// Where the program keeps its files and where it finds the files it ships with.
#include <QString>
#include <QStringList>

namespace zw {

struct Places {
    QString dataDirectory;     // termine.dat, termine.v22, Zeitwache.ini
    QStringList soundFolders;  // the wave files the editor offers, looked up in this order
    QString helpFile;

    // Everything in one directory: a build tree, a portable copy, a test.
    static Places inOneDirectory(const QString& directory);
};

// What the choice depends on: the program's own directory and the environment.
struct PlaceEnvironment {
    QString programDirectory;
    QString configuredDirectory;  // ZEITWACHE_DIR
    QString xdgDataHome;          // XDG_DATA_HOME
    QString home;                 // HOME
};

// The data directory is ZEITWACHE_DIR when set; else the program's own directory when
// it is a build tree or a portable copy (no installed share/zeitwache beside its bin/)
// and the user may keep files there (writable, the user's own, not under /usr); else
// $XDG_DATA_HOME/zeitwache ($HOME/.local/share/zeitwache), created when missing: every
// installed program, in a prefix of the user's own too. The shipped sounds and help lie
// in share/zeitwache beside an installed program's bin/, else beside the program; the
// data directory's own come first.
Places findPlaces(const PlaceEnvironment& environment);

// The same, from this process's environment.
Places findPlaces(const QString& programDirectory);

} // namespace zw
