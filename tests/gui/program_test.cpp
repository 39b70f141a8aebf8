// The real program, started as a user would start it: one instance per user, what a
// first start leaves in an empty directory, and the message without a display. Each test
// gets its own runtime directory (where the lock lies), home and data directory.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#ifndef ZEITWACHE_EXECUTABLE
#error "ZEITWACHE_EXECUTABLE must name the program's executable"
#endif

namespace {

constexpr char kReadyLine[] = "zeitwache: bereit ";
// Generous: twenty processes loading Qt on a busy two-core machine take their time.
constexpr int kStartDeadlineMs = 20000;

// Two appointments far in the future (Windows-1252, CR LF) and settings a user might have.
const QByteArray kAppointments =
    "[24.12.2098 18:30] [Keine      ] [Ja  ] [1000000] [019 000 006] [Geschenke einpacken  (Kein)]\r\n"
    "[05.01.2099 07:45] [T\xE4glich    ] [Ja  ] [1000000] [013 000 008] [Zeitung holen  gong.wav]\r\n";
const QByteArray kSettings = "[Clock]\r\nUhrposX=300\r\nUhrposY=200\r\nSichtbar=1\r\nStatus=Back\r\nDisplay=LEDRot\r\n";

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base_.isValid());
        const QDir base(base_.path());
        for (const char* sub : {"runtime", "home", "data"})
            ASSERT_TRUE(base.mkdir(QString::fromLatin1(sub)));
        // Qt refuses a runtime directory that others may read.
        ASSERT_TRUE(QFile::setPermissions(runtimeDir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                            QFileDevice::ExeOwner));
    }

    void TearDown() override
    {
        for (auto& process : processes_) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
    }

    QString runtimeDir() const { return base_.filePath(QStringLiteral("runtime")); }
    QString dataDir() const { return base_.filePath(QStringLiteral("data")); }
    QString dataFile(const char* name) const { return QDir(dataDir()).filePath(QString::fromLatin1(name)); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        env.insert(QStringLiteral("HOME"), base_.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("ZEITWACHE_DIR"), dataDir());
        env.insert(QStringLiteral("ZEITWACHE_TRACE_STARTUP"), QStringLiteral("1"));
        return env;
    }

    QProcess* start(const QProcessEnvironment& env, const QStringList& arguments = {})
    {
        processes_.push_back(std::make_unique<QProcess>());
        QProcess* process = processes_.back().get();
        process->setProcessEnvironment(env);
        process->setProgram(QStringLiteral(ZEITWACHE_EXECUTABLE));
        process->setArguments(arguments);
        process->start();
        return process;
    }
    QProcess* start(const QStringList& arguments = {}) { return start(environment(), arguments); }

    // Waits until the program reports that start-up is done; false when it ended first
    // or the deadline passed.
    static bool waitUntilReady(QProcess* process, QByteArray& output)
    {
        QDeadlineTimer deadline(kStartDeadlineMs);
        for (;;) {
            // What came while waiting for something else is in the buffer already.
            output += process->readAllStandardOutput();
            if (output.contains(kReadyLine))
                return true;
            if (process->state() == QProcess::NotRunning || deadline.hasExpired())
                return false;
            process->waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
        }
    }

    static bool endsWithZero(QProcess* process)
    {
        return process->state() == QProcess::NotRunning && process->exitStatus() == QProcess::NormalExit &&
               process->exitCode() == 0;
    }

    static QByteArray bytesOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir base_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(ProgramTest, TwentyStartsAtTheSameMomentLeaveExactlyOneRunning)
{
    std::vector<QProcess*> starts;
    for (int i = 0; i < 20; ++i)
        starts.push_back(start());

    // All but one must end by themselves; the wait is over as soon as nineteen have.
    QDeadlineTimer deadline(kStartDeadlineMs);
    int ended = 0;
    while (!deadline.hasExpired()) {
        ended = 0;
        for (QProcess* p : starts) {
            if (p->state() == QProcess::NotRunning)
                ++ended;
            else
                p->waitForFinished(5);
        }
        if (ended >= 19)
            break;
    }
    ASSERT_EQ(ended, 19);

    QProcess* survivor = nullptr;
    for (QProcess* p : starts) {
        if (p->state() != QProcess::NotRunning) {
            survivor = p;
            continue;
        }
        EXPECT_TRUE(endsWithZero(p)) << "exit code " << p->exitCode();
        EXPECT_FALSE(p->readAllStandardOutput().contains(kReadyLine)) << "a second start built the program";
        EXPECT_TRUE(p->readAllStandardError().isEmpty()) << "a second start said something";
    }
    ASSERT_NE(survivor, nullptr);
    QByteArray output;
    EXPECT_TRUE(waitUntilReady(survivor, output)) << "the remaining instance did not start up";
    EXPECT_EQ(survivor->state(), QProcess::Running);
}

TEST_F(ProgramTest, SecondStartEndsAtOnceAndLeavesTheRunningOneAlone)
{
    write(dataFile("termine.dat"), kAppointments);
    write(dataFile("Zeitwache.ini"), kSettings);
    QProcess* first = start();
    QByteArray output;
    ASSERT_TRUE(waitUntilReady(first, output)) << first->readAllStandardError().constData();
    const QByteArray appointments = bytesOf(dataFile("termine.dat"));
    const QByteArray settings = bytesOf(dataFile("Zeitwache.ini"));
    EXPECT_EQ(appointments, kAppointments) << "start-up changed the appointments";
    EXPECT_EQ(settings, kSettings) << "start-up wrote settings";

    // Twice: the second start must not have given the lock up for the next one.
    for (int i = 0; i < 2; ++i) {
        QProcess* second = start();
        ASSERT_TRUE(second->waitForFinished(kStartDeadlineMs));
        EXPECT_TRUE(endsWithZero(second)) << "exit code " << second->exitCode();
        EXPECT_TRUE(second->readAllStandardOutput().isEmpty());
        EXPECT_TRUE(second->readAllStandardError().isEmpty());
    }

    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(bytesOf(dataFile("termine.dat")), appointments);
    EXPECT_EQ(bytesOf(dataFile("Zeitwache.ini")), settings);
    EXPECT_EQ(QDir(dataDir()).entryList(QDir::Files).size(), 2) << "something was added to the data directory";
}

TEST_F(ProgramTest, WithoutARuntimeDirectoryTheSecondStartStaysSilentToo)
{
    // The lock then lies in a folder of the user's own in the temporary directory.
    const QString temp = base_.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temp));
    QProcessEnvironment env = environment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), temp);

    QProcess* first = start(env);
    QByteArray output;
    ASSERT_TRUE(waitUntilReady(first, output)) << first->readAllStandardError().constData();
    QProcess* second = start(env);
    ASSERT_TRUE(second->waitForFinished(kStartDeadlineMs));
    EXPECT_TRUE(endsWithZero(second)) << "exit code " << second->exitCode();
    EXPECT_EQ(second->readAllStandardError(), QByteArray());
    EXPECT_EQ(first->state(), QProcess::Running);

    const QStringList lockFolders = QDir(temp).entryList({QStringLiteral("zeitwache-*")}, QDir::Dirs);
    ASSERT_EQ(lockFolders.size(), 1);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_FALSE(QFile::permissions(QDir(temp).filePath(lockFolders.first())) & others) << "others may reach the lock";
}

TEST_F(ProgramTest, FirstStartInAnEmptyDirectoryCreatesAnEmptyDataFileAndNoSettings)
{
    QProcess* first = start();
    QByteArray output;
    ASSERT_TRUE(waitUntilReady(first, output)) << first->readAllStandardError().constData();

    QFile data(dataFile("termine.dat"));
    ASSERT_TRUE(data.exists());
    EXPECT_EQ(data.size(), 0);
    EXPECT_FALSE(QFile::exists(dataFile("Zeitwache.ini")));
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(ProgramTest, LockOfAKilledInstanceDoesNotKeepTheNextStartOut)
{
    QProcess* first = start();
    QByteArray output;
    ASSERT_TRUE(waitUntilReady(first, output));
    first->kill(); // no chance to give the lock back
    ASSERT_TRUE(first->waitForFinished(kStartDeadlineMs));

    QProcess* next = start();
    QByteArray nextOutput;
    EXPECT_TRUE(waitUntilReady(next, nextOutput)) << "exit code " << next->exitCode();
}

TEST_F(ProgramTest, WithoutADisplayItSaysSoInGermanAndEndsWithAnError)
{
    QProcessEnvironment env = environment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess* process = start(env);
    ASSERT_TRUE(process->waitForFinished(kStartDeadlineMs));

    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(process->exitCode(), 0);
    const QString message = QString::fromUtf8(process->readAllStandardError());
    EXPECT_TRUE(message.contains(QStringLiteral("Zeitwache braucht eine grafische Oberfläche")))
        << message.toStdString();
    EXPECT_TRUE(QDir(dataDir()).isEmpty()) << "it started up all the same";
}

TEST_F(ProgramTest, CommandsGoToTheRunningProgramWhichOpensTheManagerOnce)
{
    const QStringList manager{QStringLiteral("--terminmanager")};
    std::vector<QProcess*> starts;
    for (int i = 0; i < 10; ++i)
        starts.push_back(start(manager));
    QDeadlineTimer deadline(kStartDeadlineMs);
    auto running = [&] {
        return std::count_if(starts.begin(), starts.end(), [](QProcess* p) {
            return p->state() != QProcess::NotRunning && !p->waitForFinished(5);
        });
    };
    while (running() > 1 && !deadline.hasExpired()) {
    }
    QProcess* survivor = nullptr;
    for (QProcess* p : starts) {
        if (p->state() != QProcess::NotRunning) {
            EXPECT_EQ(survivor, nullptr) << "two instances run";
            survivor = p;
            continue;
        }
        EXPECT_TRUE(endsWithZero(p)) << "exit code " << p->exitCode() << p->readAllStandardError().constData();
    }
    QByteArray output;
    ASSERT_NE(survivor, nullptr);
    ASSERT_TRUE(waitUntilReady(survivor, output));
    // A later command once the program runs, and one it cannot read.
    QProcess* later = start(manager);
    ASSERT_TRUE(later->waitForFinished(kStartDeadlineMs));
    EXPECT_TRUE(endsWithZero(later));
    survivor->waitForReadyRead(500);
    output += survivor->readAllStandardOutput();
    EXPECT_EQ(output.count("zeitwache: terminmanager geoeffnet"), 1) << output.constData();

    // Help and refusals need neither a display nor the running program.
    QProcessEnvironment bare = environment();
    bare.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess* help = start(bare, {QStringLiteral("--help")});
    QProcess* wrong = start(bare, {QStringLiteral("--terminmanagr")});
    ASSERT_TRUE(help->waitForFinished(kStartDeadlineMs) && wrong->waitForFinished(kStartDeadlineMs));
    EXPECT_TRUE(endsWithZero(help));
    EXPECT_TRUE(help->readAllStandardOutput().contains("--terminmanager"));
    EXPECT_EQ(wrong->exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(wrong->readAllStandardError()).contains(QStringLiteral("Unbekannte Option")));
}

// --neu, --liste, --export and --import: on the data directory without a display, then
// through the running program, whose file they change and whose working directory is not
// the caller's.
TEST_F(ProgramTest, AppointmentsFromTheCommandLineWithAndWithoutARunningProgram)
{
    write(dataFile("termine.dat"), kAppointments);
    QProcessEnvironment bare = environment();
    bare.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QString home = base_.filePath(QStringLiteral("home"));
    auto run = [&](const QProcessEnvironment& env, const QStringList& arguments, int expectedExit) {
        processes_.push_back(std::make_unique<QProcess>());
        QProcess* p = processes_.back().get();
        p->setProcessEnvironment(env);
        p->setProgram(QStringLiteral(ZEITWACHE_EXECUTABLE));
        p->setArguments(arguments);
        p->setWorkingDirectory(home);
        p->start();
        EXPECT_TRUE(p->waitForFinished(kStartDeadlineMs));
        EXPECT_EQ(p->exitCode(), expectedExit) << arguments.join(' ').toStdString() << ": "
                                               << p->readAllStandardError().constData();
        return QString::fromUtf8(p->readAllStandardOutput());
    };
    const QStringList same{QStringLiteral("--neu"), QStringLiteral("24.12.2098 18:30"), QStringLiteral("Doppelt")};
    run(bare, same, 2);
    EXPECT_EQ(bytesOf(dataFile("termine.dat")), kAppointments);
    run(bare, same + QStringList{QStringLiteral("--ersetzen")}, 0);
    run(bare, {QStringLiteral("--export"), QStringLiteral("alle.ics")}, 0);
    EXPECT_TRUE(bytesOf(QDir(home).filePath(QStringLiteral("alle.ics"))).contains("SUMMARY:Doppelt"));

    QByteArray output;
    QProcess* running = start();
    ASSERT_TRUE(waitUntilReady(running, output));
    run(bare, {QStringLiteral("--neu"), QStringLiteral("01.01.2098 08:00"), QStringLiteral("Über den Socket")}, 0);
    EXPECT_TRUE(bytesOf(dataFile("termine.dat")).startsWith("[01.01.2098 08:00]"));
    const QString listed = run(bare, {QStringLiteral("--liste"), QStringLiteral("--format=tsv")}, 0);
    EXPECT_TRUE(listed.contains(QStringLiteral("01.01.2098\t08:00\tKeine\tJa\tÜber den Socket\n"))) << listed.toStdString();
    // The exported file, imported again, meets its own appointments at every minute.
    const QString report = run(bare, {QStringLiteral("--import"), QStringLiteral("alle.ics")}, 0);
    EXPECT_TRUE(report.endsWith(QStringLiteral("0 gespeichert, 2 übersprungen.\n"))) << report.toStdString();
    write(QDir(home).filePath(QStringLiteral("kaputt.ics")), "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n");
    run(bare, {QStringLiteral("--import"), QStringLiteral("kaputt.ics")}, 2);
    EXPECT_TRUE(running->state() == QProcess::Running);
}

} // namespace

