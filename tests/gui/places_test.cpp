// Where the program keeps its data and finds its shipped sounds and help.
#include "app/places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace zw;

namespace {

void touch(const QString& file)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
}

// An installed layout: PREFIX/bin for the program, PREFIX/share/zeitwache for its files.
struct Installed {
    QTemporaryDir root;
    QString prefix = QDir(root.path()).filePath(QStringLiteral("prefix"));
    QString bin = prefix + QStringLiteral("/bin");
    QString share = prefix + QStringLiteral("/share/zeitwache");
    QString home = QDir(root.path()).filePath(QStringLiteral("home"));

    Installed()
    {
        touch(bin + QStringLiteral("/zeitwache"));
        touch(share + QStringLiteral("/gong.wav"));
        touch(share + QStringLiteral("/zeitwache-hilfe.txt"));
    }
    // Makes bin a directory the user may not keep files in: not the user's own (root
    // may write anywhere, so for root it is given to another user).
    void takeBinAway() const
    {
        const QByteArray path = QFile::encodeName(bin);
        if (::geteuid() == 0)
            ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
        else
            ASSERT_EQ(::chmod(path.constData(), 0555), 0);
    }
    ~Installed() { ::chmod(QFile::encodeName(bin).constData(), 0755); }
};

TEST(Places, AnInstalledProgramKeepsItsDataInTheUsersDataDirectoryAndFindsItsShippedFiles)
{
    Installed installed;
    installed.takeBinAway();
    const QString xdg = QDir(installed.root.path()).filePath(QStringLiteral("xdg"));

    const Places places = findPlaces({installed.bin, {}, xdg, installed.home});
    EXPECT_EQ(places.dataDirectory, xdg + QStringLiteral("/zeitwache"));
    EXPECT_TRUE(QFileInfo(places.dataDirectory).isDir()) << "made on first start";
    EXPECT_EQ(places.soundFolders, (QStringList{places.dataDirectory, installed.share}));
    EXPECT_EQ(places.helpFile, installed.share + QStringLiteral("/zeitwache-hilfe.txt"));

    // Without XDG_DATA_HOME (or with a relative one), the XDG default under HOME.
    for (const QString& unset : {QString(), QStringLiteral("relativ/pfad")}) {
        EXPECT_EQ(findPlaces({installed.bin, {}, unset, installed.home}).dataDirectory,
                  installed.home + QStringLiteral("/.local/share/zeitwache"));
    }

    // The user's edited help in the data directory wins over the shipped one.
    touch(places.dataDirectory + QStringLiteral("/zeitwache-hilfe.txt"));
    EXPECT_EQ(findPlaces({installed.bin, {}, xdg, installed.home}).helpFile,
              places.dataDirectory + QStringLiteral("/zeitwache-hilfe.txt"));

    // The same in a prefix of the user's own (~/.local), whose bin the user may write to.
    Installed own;
    EXPECT_EQ(findPlaces({own.bin, {}, xdg, own.home}).soundFolders, (QStringList{places.dataDirectory, own.share}));
}

TEST(Places, AProgramInADirectoryOfTheUsersOwnKeepsEverythingBesideItself)
{
    QTemporaryDir portable;
    touch(portable.path() + QStringLiteral("/zeitwache-hilfe.txt"));
    const Places places = findPlaces({portable.path(), {}, QStringLiteral("/nirgends"), QStringLiteral("/nirgends")});
    EXPECT_EQ(places.dataDirectory, portable.path());
    EXPECT_EQ(places.soundFolders, QStringList{portable.path()});
    EXPECT_EQ(places.helpFile, portable.path() + QStringLiteral("/zeitwache-hilfe.txt"));
}

TEST(Places, ZeitwacheDirOverridesWhereverTheProgramLies)
{
    Installed installed;
    const QString chosen = QDir(installed.root.path()).filePath(QStringLiteral("meine/termine"));
    const Places places = findPlaces({installed.bin, chosen, {}, installed.home});
    EXPECT_EQ(places.dataDirectory, chosen);
    EXPECT_TRUE(QFileInfo(chosen).isDir());
    EXPECT_EQ(places.soundFolders, (QStringList{chosen, installed.share}));
}

TEST(Places, ASystemDirectoryIsNeverTheDataDirectoryEvenForRoot)
{
    EXPECT_EQ(findPlaces({QStringLiteral("/usr/bin"), {}, QStringLiteral("/tmp/zw-places-xdg"), {}}).dataDirectory,
              QStringLiteral("/tmp/zw-places-xdg/zeitwache"));
    QDir(QStringLiteral("/tmp/zw-places-xdg")).removeRecursively();
}

} // namespace
