#include "platform/desktop.h"
#include "platform/help_viewer.h"
#include "platform/qt_desktop.h"
#include "platform/scripted_desktop.h"

#include "common/zeitwache_error.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace zw {
namespace {

using Kind = DesktopCall::Kind;

// Sets or removes an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<QByteArray> value)
        : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// A program that writes the arguments it got, each ended by a NUL, to its own path
// followed by ".args"; written under another name first, so a reader never sees half.
void writeArgumentRecorder(const QString& path)
{
    writeFile(path,
              "#!/bin/sh\n"
              "printf '%s\\0' \"$@\" > \"$0.args.tmp\"\n"
              "/bin/mv \"$0.args.tmp\" \"$0.args\"\n",
              true);
}

// Started programs run detached; wait for their trace, but not for ever.
std::optional<QStringList> recordedArguments(const QString& recorderPath)
{
    QFile file(recorderPath + QStringLiteral(".args"));
    const QDeadlineTimer deadline(10000);
    while (!file.exists() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList arguments = QString::fromUtf8(file.readAll()).split(QChar(u'\0'));
    arguments.removeLast();  // after the last terminator
    return arguments;
}

// The real desktop with its beep and its modal loop replaced, so that tests can see
// the beep and answer a box without a nested event loop.
class ObservedDesktop : public QtDesktop {
public:
    using QtDesktop::QtDesktop;
    int beeps = 0;
    std::function<void(QMessageBox&)> onBox;
    void beep() override { ++beeps; }

protected:
    void runModal(QMessageBox& box) override
    {
        ASSERT_TRUE(onBox) << "unexpected message box: " << box.text().toStdString();
        onBox(box);
    }
};

bool waitUntil(const std::function<bool()>& condition, int milliseconds = 10000)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    return condition();
}

QByteArray littleEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
    return out;
}

// A valid 8 kHz, 8-bit mono wave file of a tenth of a second of silence.
QByteArray silentWave()
{
    const QByteArray samples(800, char(0x80));
    QByteArray wave = "RIFF" + littleEndian(36 + samples.size(), 4) + "WAVE";
    wave += "fmt " + littleEndian(16, 4) + littleEndian(1, 2) + littleEndian(1, 2)
        + littleEndian(8000, 4) + littleEndian(8000, 4) + littleEndian(1, 2) + littleEndian(8, 2);
    wave += "data" + littleEndian(samples.size(), 4) + samples;
    return wave;
}

TEST(QtDesktopLaunch, NamesOfNoFileAreReportedAsNotFound)
{
    QTemporaryDir dir;
    QtDesktop desktop;
    EXPECT_EQ(desktop.startApplication(dir.filePath(QStringLiteral("fehlt.exe")), {}), kLaunchFileNotFound);
    EXPECT_EQ(desktop.startApplication(QStringLiteral("zw-kein-solches-programm-4711"), {QStringLiteral("x")}),
              kLaunchFileNotFound);
    EXPECT_EQ(desktop.startApplication(QString(), {}), kLaunchFileNotFound);
    EXPECT_EQ(desktop.startApplication(QStringLiteral("   \t"), {}), kLaunchFileNotFound);
    EXPECT_EQ(desktop.startApplication(QStringLiteral("\x01 \x1f\r\n"), {}), kLaunchFileNotFound);
    EXPECT_FALSE(isBlankFileName(QStringLiteral(" a ")));
}

TEST(QtDesktopLaunch, ProgramReceivesItsArgumentsUntouchedByAnyShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("mit Leerzeichen")));
    const QString program = dir.filePath(QStringLiteral("mit Leerzeichen/aufzeichner"));
    writeArgumentRecorder(program);
    const QString trap = dir.filePath(QStringLiteral("ausgefuehrt"));
    const QStringList arguments{QStringLiteral("brief.txt"),
                                QStringLiteral("zwei Wörter"),
                                QStringLiteral("; touch ") + trap,
                                QStringLiteral("$(touch ") + trap + QLatin1Char(')'),
                                QStringLiteral("`touch ") + trap + QLatin1Char('`'),
                                QStringLiteral("\"*\" | &&"),
                                QString()};

    const int result = QtDesktop().startApplication(program, arguments);

    EXPECT_TRUE(launchSucceeded(result)) << result;
    EXPECT_EQ(recordedArguments(program), arguments);
    EXPECT_FALSE(QFile::exists(trap));
}

TEST(QtDesktopLaunch, ProgramNamesAreFoundOnThePath)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("zw-aufzeichner"));
    writeArgumentRecorder(program);
    ScopedEnv path("PATH", dir.path().toLocal8Bit() + ':' + qgetenv("PATH"));
    QtDesktop desktop;

    EXPECT_TRUE(launchSucceeded(desktop.startApplication(QStringLiteral("zw-aufzeichner"), {QStringLiteral("eins")})));
    EXPECT_EQ(recordedArguments(program), QStringList{QStringLiteral("eins")});
    EXPECT_TRUE(launchSucceeded(desktop.startApplication(QStringLiteral("true"), {})));
}

TEST(QtDesktopLaunch, ProgramThatCannotBeRunIsAnotherFailure)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("kaputt"));
    writeFile(broken, QByteArray("\x7f" "ELF kein echtes Programm", 24), true);

    const int result = QtDesktop().startApplication(broken, {});

    EXPECT_FALSE(launchSucceeded(result));
    EXPECT_NE(result, kLaunchFileNotFound);
    EXPECT_NE(result, kLaunchNoAssociation);
}

// Documents: the association is looked up in the XDG directories, which these tests
// point at empty folders of their own.
class QtDesktopDocument : public testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir dataHome;
    QTemporaryDir configHome;
    ScopedEnv dataHomeEnv{"XDG_DATA_HOME", dataHome.path().toLocal8Bit()};
    ScopedEnv configHomeEnv{"XDG_CONFIG_HOME", configHome.path().toLocal8Bit()};
    ScopedEnv desktopEnv{"XDG_CURRENT_DESKTOP", std::nullopt};
    ScopedEnv sessionEnv{"DESKTOP_SESSION", std::nullopt};
    ScopedEnv kdeEnv{"KDE_FULL_SESSION", std::nullopt};
    ScopedEnv kdeVersionEnv{"KDE_SESSION_VERSION", std::nullopt};
    ScopedEnv gnomeEnv{"GNOME_DESKTOP_SESSION_ID", std::nullopt};

    QString unknownDocument()
    {
        const QString path = dir.filePath(QStringLiteral("daten.zwunbekannt"));
        writeFile(path, QByteArray("\x00\x01\xfe\xff\x02\x03", 6));
        return path;
    }
};

TEST_F(QtDesktopDocument, WithoutAssociatedProgramIsReportedAsSuch)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed";
    EXPECT_EQ(QtDesktop().startApplication(unknownDocument(), {}), kLaunchNoAssociation);
}

TEST_F(QtDesktopDocument, OpensWithTheAssociatedProgram)
{
    for (const char* tool : {"xdg-open", "xdg-mime", "file"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    }
    // xdg-open consults the associations only where it believes a display exists, and
    // must not find a desktop session to hand the file to.
    ScopedEnv display("DISPLAY", QByteArray(":zw-keine-anzeige"));
    ScopedEnv sessionBus("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    const QString opener = dir.filePath(QStringLiteral("oeffner"));
    writeArgumentRecorder(opener);
    ASSERT_TRUE(QDir(dataHome.path()).mkdir(QStringLiteral("applications")));
    writeFile(dataHome.filePath(QStringLiteral("applications/zw-oeffner.desktop")),
              "[Desktop Entry]\nType=Application\nName=Oeffner\nExec=" + opener.toUtf8()
                  + " %f\nMimeType=application/octet-stream;\n");
    writeFile(configHome.filePath(QStringLiteral("mimeapps.list")),
              "[Default Applications]\napplication/octet-stream=zw-oeffner.desktop\n");
    const QString document = unknownDocument();

    const int result = QtDesktop().startApplication(document, {QStringLiteral("--ignoriert")});

    EXPECT_TRUE(launchSucceeded(result)) << result;
    EXPECT_EQ(recordedArguments(opener), QStringList{document});
}

TEST(QtDesktopSound, MissingFileGivesTheBeepAtOnce)
{
    QTemporaryDir dir;
    ObservedDesktop desktop;
    desktop.playWave(dir.filePath(QStringLiteral("fehlt.wav")));
    EXPECT_EQ(desktop.beeps, 1);
    desktop.playWave(dir.path());
    EXPECT_EQ(desktop.beeps, 2);
}

TEST(QtDesktopSound, PlayableFilePlaysWithoutBeepOrWait)
{
    QTemporaryDir dir;
    const QString valid = dir.filePath(QStringLiteral("ding.wav"));
    writeFile(valid, silentWave());
    ObservedDesktop desktop;

    // Returns at once; the sound loads in the background, with or without a device.
    desktop.playWave(valid);
    ASSERT_NE(desktop.soundEffect(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return desktop.soundEffect()->status() != QSoundEffect::Loading; }));
    EXPECT_EQ(desktop.soundEffect()->status(), QSoundEffect::Ready);
    EXPECT_EQ(desktop.beeps, 0);
}

TEST(QtDesktopSound, UnplayableFileGivesTheBeepOnceItFailsToLoad)
{
    QTemporaryDir dir;
    const QString valid = dir.filePath(QStringLiteral("ding.wav"));
    const QString broken = dir.filePath(QStringLiteral("kaputt.wav"));
    writeFile(valid, silentWave());
    writeFile(broken, "RIFF kein Klang");
    ObservedDesktop desktop;

    // Replacing a sound does not beep for the one replaced; every failed play beeps,
    // also when the same file fails again.
    desktop.playWave(valid);
    desktop.playWave(broken);
    EXPECT_TRUE(waitUntil([&] { return desktop.beeps >= 1; }));
    desktop.playWave(broken);
    EXPECT_TRUE(waitUntil([&] { return desktop.beeps >= 2; }));
    desktop.playWave(valid);
    EXPECT_TRUE(waitUntil([&] { return desktop.soundEffect()->status() == QSoundEffect::Ready; }));
    EXPECT_EQ(desktop.beeps, 2);
}

TEST(QtDesktopBoxes, BoxShowsTextTitleIconAndGermanButtons)
{
    const auto box = QtDesktop::buildMessageBox(
        QStringLiteral("Für die Uhrzeit gibt es bereits eine Meldung.\n\rSoll <b>sie</b> überschrieben werden?"),
        QStringLiteral("Zeitwache 99"), MessageIcon::Question, MessageButtons::YesNoCancel);

    EXPECT_EQ(box->windowTitle(), QStringLiteral("Zeitwache 99"));
    EXPECT_EQ(box->text(),
              QStringLiteral("Für die Uhrzeit gibt es bereits eine Meldung.\nSoll <b>sie</b> überschrieben werden?"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)); // never behind alarm windows
    ASSERT_EQ(box->buttons().size(), 3);
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("&Nein"));
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));

    const auto info = QtDesktop::buildMessageBox(QStringLiteral("a\n\rb\n\r\n\rc\r\nd"), QString(),
                                                 MessageIcon::Information, MessageButtons::Ok);
    EXPECT_EQ(info->text(), QStringLiteral("a\nb\n\nc\nd"));
    EXPECT_EQ(info->icon(), QMessageBox::Information);
    ASSERT_EQ(info->buttons().size(), 1);
    EXPECT_EQ(info->button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    EXPECT_EQ(QtDesktop::buildMessageBox({}, {}, MessageIcon::Warning, MessageButtons::OkCancel)->icon(),
              QMessageBox::Warning);
}

TEST(QtDesktopBoxes, ErrorBoxHasTheApplicationTitleAndAFullStop)
{
    ObservedDesktop desktop;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    desktop.onBox = [&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = int(box.buttons().size());
        box.button(QMessageBox::Ok)->click();
    };

    desktop.showError(errors::cannotOpenFile("/daten/termine.dat"));

    EXPECT_EQ(title, QStringLiteral("Zeitwache99"));
    EXPECT_EQ(text, QStringLiteral("Kann Datei /daten/termine.dat nicht öffnen."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
}

TEST(QtDesktopBoxes, AnswerIsTheButtonThatClosedTheBox)
{
    ObservedDesktop desktop;
    desktop.onBox = [](QMessageBox& box) { box.button(QMessageBox::No)->click(); };
    EXPECT_EQ(desktop.messageBox({}, {}, MessageIcon::Question, MessageButtons::YesNoCancel), MessageResult::No);
    desktop.onBox = [](QMessageBox& box) { box.button(QMessageBox::Cancel)->click(); };
    EXPECT_EQ(desktop.messageBox({}, {}, MessageIcon::Warning, MessageButtons::OkCancel), MessageResult::Cancel);

    // Closed by Esc or the title bar: the cancelling answer, never a "yes".
    desktop.onBox = [](QMessageBox& box) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&box, &escape);
    };
    EXPECT_EQ(desktop.messageBox({}, {}, MessageIcon::Question, MessageButtons::YesNoCancel),
              MessageResult::Cancel);
    EXPECT_EQ(desktop.messageBox({}, {}, MessageIcon::Question, MessageButtons::YesNo), MessageResult::No);
    EXPECT_EQ(desktop.messageBox({}, {}, MessageIcon::Error, MessageButtons::Ok), MessageResult::Ok);
}

TEST(QtDesktopScreen, FullScreenClientAreaAndTrayFallback)
{
    const QtDesktop desktop;
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(desktop.screenSize(), screen->geometry().size());
    const QSize client = desktop.fullScreenClientSize();
    EXPECT_EQ(client.width(), screen->availableGeometry().width());
    EXPECT_LT(client.height(), screen->availableGeometry().height());

    // No tray icon known: the bottom-right corner of the work area, so that windows
    // placed next to the tray go there.
    const QRect tray = desktop.trayRect();
    EXPECT_FALSE(tray.isEmpty());
    EXPECT_EQ(tray.bottomRight(), screen->availableGeometry().bottomRight());
}

TEST(QtDesktopWindows, BringToFrontActivatesTheWindow)
{
    QtDesktop desktop;
    QWidget alarm;
    QWidget other;
    alarm.show();
    other.show();
    ASSERT_TRUE(waitUntil([&] { return other.isActiveWindow(); }));

    desktop.bringToFront(&alarm);
    EXPECT_TRUE(waitUntil([&] { return alarm.isActiveWindow(); }));
    EXPECT_TRUE(desktop.bringToFront(&alarm));
    EXPECT_FALSE(desktop.bringToFront(nullptr));
    desktop.requestAttention(nullptr);
}

TEST(QtDesktopDateTime, ProgramsOfTheCurrentDesktopComeFirst)
{
    const auto firstProgram = [](const char* desktop) {
        return dateTimeSettingsPrograms(QString::fromLatin1(desktop)).front().program;
    };
    EXPECT_EQ(firstProgram(""), QStringLiteral("gnome-control-center"));
    EXPECT_EQ(firstProgram("ubuntu:GNOME"), QStringLiteral("gnome-control-center"));
    EXPECT_EQ(firstProgram("KDE"), QStringLiteral("systemsettings"));
    EXPECT_EQ(firstProgram("X-Cinnamon"), QStringLiteral("cinnamon-settings"));
    const QList<SettingsProgram> kde = dateTimeSettingsPrograms(QStringLiteral("kde"));
    EXPECT_EQ(kde.size(), dateTimeSettingsPrograms(QString()).size());
    EXPECT_EQ(kde.at(3).program, QStringLiteral("gnome-control-center"));
}

TEST(QtDesktopDateTime, StartsTheFirstSettingsProgramThatExists)
{
    QTemporaryDir dir;
    ScopedEnv desktopEnv("XDG_CURRENT_DESKTOP", std::nullopt);
    ScopedEnv path("PATH", dir.path().toLocal8Bit());
    QtDesktop desktop;

    desktop.openDateTimeSettings();  // none there: nothing happens, nothing is shown

    const QString kcmshell = dir.filePath(QStringLiteral("kcmshell5"));
    const QString timeAdmin = dir.filePath(QStringLiteral("time-admin"));
    writeArgumentRecorder(kcmshell);
    writeArgumentRecorder(timeAdmin);
    desktop.openDateTimeSettings();
    EXPECT_EQ(recordedArguments(kcmshell), QStringList{QStringLiteral("clock")});
    EXPECT_FALSE(QFile::exists(timeAdmin + QStringLiteral(".args")));
}

TEST(ScriptedDesktop, AnswersBoxesInOrderAndRecordsThem)
{
    ScriptedDesktop desktop;
    desktop.queueAnswer(MessageResult::No);
    desktop.queueAnswer(MessageResult::Cancel);
    EXPECT_EQ(desktop.messageBox(QStringLiteral("eins"), QStringLiteral("Zeitwache 99"), MessageIcon::Question,
                                 MessageButtons::YesNoCancel),
              MessageResult::No);
    EXPECT_EQ(desktop.messageBox(QStringLiteral("zwei"), {}, MessageIcon::Question, MessageButtons::YesNoCancel),
              MessageResult::Cancel);
    EXPECT_EQ(desktop.pendingAnswers(), 0u);
    // Nothing queued: the box is reported and answers as if closed, never with Yes.
    QStringList unexpected;
    const auto previous =
        ScriptedDesktop::setUnexpectedHandler([&](const QString& what) { unexpected.append(what); });
    EXPECT_EQ(desktop.messageBox(QStringLiteral("drei"), {}, MessageIcon::Question, MessageButtons::YesNo),
              MessageResult::No);
    EXPECT_EQ(desktop.messageBox({}, {}, MessageIcon::Warning, MessageButtons::OkCancel), MessageResult::Cancel);
    desktop.showError(errors::listIndexOutOfRange());
    {
        ScriptedDesktop unused;
        unused.queueAnswer(MessageResult::Yes);
    }
    ScriptedDesktop::setUnexpectedHandler(previous);
    ASSERT_EQ(unexpected.size(), 4);
    EXPECT_TRUE(unexpected[0].contains(QStringLiteral("drei")));
    EXPECT_TRUE(unexpected[3].contains(QStringLiteral("left unused")));

    const auto boxes = desktop.callsOf(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("eins"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Zeitwache 99"));
    EXPECT_EQ(boxes[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(boxes[1].answer, MessageResult::Cancel);
    EXPECT_EQ(boxes[4].title, QStringLiteral("Zeitwache99"));
    EXPECT_EQ(boxes[4].text, QStringLiteral("Listenindex außerhalb des zulässigen Bereichs."));
    EXPECT_EQ(boxes[4].icon, MessageIcon::Error);
    EXPECT_EQ(boxes[4].buttons, MessageButtons::Ok);
}

TEST(ScriptedDesktop, CallsMadeWhileABoxIsOpenComeAfterIt)
{
    ScriptedDesktop desktop;
    int hookRuns = 0;
    desktop.setWhileBoxOpen([&](const DesktopCall& box) {
        if (hookRuns++ > 0)
            return;
        EXPECT_EQ(box.text, QStringLiteral("außen"));
        desktop.messageBox(QStringLiteral("innen"), {}, MessageIcon::Error, MessageButtons::Ok);
        desktop.beep();
    });
    desktop.queueAnswer(MessageResult::Yes);
    desktop.queueAnswer(MessageResult::Ok);

    EXPECT_EQ(desktop.messageBox(QStringLiteral("außen"), {}, MessageIcon::Question, MessageButtons::YesNo),
              MessageResult::Yes);

    ASSERT_EQ(desktop.calls().size(), 3u);
    EXPECT_EQ(desktop.calls()[0].text, QStringLiteral("außen"));
    EXPECT_EQ(desktop.calls()[1].text, QStringLiteral("innen"));
    EXPECT_EQ(desktop.calls()[1].answer, MessageResult::Ok);
    EXPECT_EQ(desktop.calls()[2].kind, Kind::Beep);
}

TEST(ScriptedDesktop, LaunchResultsSoundsHelpAndWindows)
{
    ScriptedDesktop desktop;
    desktop.queueLaunchResult(kLaunchFileNotFound);
    desktop.setDefaultLaunchResult(kLaunchNoAssociation);
    EXPECT_EQ(desktop.startApplication(QStringLiteral("notepad.exe"), {QStringLiteral("brief.txt")}),
              kLaunchFileNotFound);
    EXPECT_EQ(desktop.startApplication(QStringLiteral("brief.xyz"), {}), kLaunchNoAssociation);
    const auto launches = desktop.callsOf(Kind::StartApplication);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].file, QStringLiteral("notepad.exe"));
    EXPECT_EQ(launches[0].arguments, QStringList{QStringLiteral("brief.txt")});
    EXPECT_EQ(launches[1].result, kLaunchNoAssociation);

    desktop.playSound({QStringLiteral("/programm")}, QStringLiteral("(Kein)"));
    EXPECT_EQ(desktop.count(Kind::PlayWave), 0u);
    desktop.playSound({QStringLiteral("/programm")}, QStringLiteral("Gong.wav"));
    ASSERT_EQ(desktop.count(Kind::PlayWave), 1u);
    EXPECT_EQ(desktop.callsOf(Kind::PlayWave)[0].file, QStringLiteral("/programm/Gong.wav"));

    // Of several folders, the first that has the file; none has it: the first, so the
    // missing file gives the beep.
    QTemporaryDir own;
    QTemporaryDir shipped;
    QFile bell(QDir(shipped.path()).filePath(QStringLiteral("glocke.wav")));
    ASSERT_TRUE(bell.open(QIODevice::WriteOnly));
    bell.close();
    desktop.playSound({own.path(), shipped.path()}, QStringLiteral("glocke.wav"));
    desktop.playSound({own.path(), shipped.path()}, QStringLiteral("fehlt.wav"));
    ASSERT_EQ(desktop.count(Kind::PlayWave), 3u);
    EXPECT_EQ(desktop.callsOf(Kind::PlayWave)[1].file, QDir(shipped.path()).filePath(QStringLiteral("glocke.wav")));
    EXPECT_EQ(desktop.callsOf(Kind::PlayWave)[2].file, QDir(own.path()).filePath(QStringLiteral("fehlt.wav")));

    desktop.showHelpPopup(110, QPoint(5, 6));
    const DesktopCall popup = desktop.calls().back();
    EXPECT_EQ(popup.kind, Kind::HelpPopup);
    EXPECT_EQ(popup.number, 110);
    EXPECT_EQ(popup.point, QPoint(5, 6));

    QWidget window;
    EXPECT_TRUE(desktop.bringToFront(&window));
    desktop.setBringsToFront(false);
    EXPECT_FALSE(desktop.bringToFront(&window));
    EXPECT_EQ(desktop.callsOf(Kind::BringToFront).back().window, &window);
}

TEST(HelpSource, TopicsByIdAndTextsByNumber)
{
    const HelpContent help = parseHelpSource(QStringLiteral(
        "Kommentar vor dem ersten Abschnitt\r\n"
        "[UHR]\r\n"
        "\r\n"
        "# Die Uhr\r\n"
        "Text der Uhr.\r\n"
        "\r\n"
        "[ 333 ]\n"
        "Das Menü des Symbols.\n"
        "[Terminmanager]\n"
        "## Termine\n"
        "[uhr]\n"
        "Neuer Text der Uhr.\n"));

    EXPECT_EQ(help.topic(QStringLiteral("uhr")), QStringLiteral("Neuer Text der Uhr."));
    EXPECT_EQ(help.topic(QStringLiteral("TERMINMANAGER")), QStringLiteral("## Termine"));
    EXPECT_EQ(help.numberedText(333), QStringLiteral("Das Menü des Symbols."));
    EXPECT_EQ(help.numberedText(222), QString::fromUtf8(kMissingHelpText));
    EXPECT_EQ(help.topic(QStringLiteral("INFO")), QString::fromUtf8(kMissingHelpText));
    EXPECT_EQ(help.topicOrder, (QStringList{QStringLiteral("UHR"), QStringLiteral("TERMINMANAGER")}));
    EXPECT_EQ(help.contents(),
              QStringLiteral("# Inhalt\n\n- [Neuer Text der Uhr.](UHR)\n- [Termine](TERMINMANAGER)\n"));
    EXPECT_EQ(parseHelpSource(QString()).contents(), QString::fromUtf8(kMissingHelpText));
}

TEST(HelpSource, TheTopicSearchFindsEveryWordInAnyLetterCaseAndNeverTheContentsPage)
{
    const HelpContent help = parseHelpSource(QStringLiteral(
        "[INHALT]\n- [Die Uhr](UHR)\n- [Snooze](NACHRICHT)\n"
        "[UHR]\n# Die Uhr\nDoppelklick öffnet den Terminmanager.\n"
        "[NACHRICHT]\n# Das Erinnerungsfenster\nSnooze stellt die Erinnerung zurück.\n"
        "[333]\nSnooze im Menü.\n"));
    const struct {
        const char* words;
        QStringList found;
    } cases[] = {
        {"", {QStringLiteral("UHR"), QStringLiteral("NACHRICHT")}},
        {"snooze", {QStringLiteral("NACHRICHT")}},
        {"UHR", {QStringLiteral("UHR")}},
        {"Öffnet terminmanager", {QStringLiteral("UHR")}},
        {"Uhr Snooze", {}},
        {"Wecker", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(help.topicsMatching(QString::fromUtf8(c.words)), c.found) << c.words;
    EXPECT_EQ(help.title(QStringLiteral("nachricht")), QStringLiteral("Das Erinnerungsfenster"));
}

TEST(HelpViewer, TheTopicsDialogListsSearchesAndOpensTheChosenTopic)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QString::fromLatin1(kHelpSourceFileName));
    writeFile(source, "[INHALT]\nInhalt\n[UHR]\n# Die Uhr\nZeigt die Zeit.\n"
                      "[SUCHEN]\n# Termine suchen\nWeitersuchen findet den nächsten Termin.\n");
    QtDesktop desktop(source);
    desktop.showHelpTopics();
    HelpTopicsDialog* topics = desktop.helpViewer().topicsDialog();
    ASSERT_NE(topics, nullptr);
    EXPECT_TRUE(topics->isVisible());
    auto* list = topics->findChild<QListWidget*>(QStringLiteral("TopicList"));
    auto* search = topics->findChild<QLineEdit*>(QStringLiteral("SearchEdit"));
    auto* found = topics->findChild<QLabel*>(QStringLiteral("FoundLabel"));
    ASSERT_TRUE(list && search && found);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Die Uhr"));
    EXPECT_EQ(found->text(), QStringLiteral("2 Themen"));

    QTest::keyClicks(search, QStringLiteral("weitersuchen"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Termine suchen"));
    EXPECT_EQ(found->text(), QStringLiteral("1 Thema enthält „weitersuchen“."));
    QTest::keyClick(search, Qt::Key_Return);
    HelpViewer& viewer = desktop.helpViewer();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.currentText(), QStringLiteral("# Termine suchen\nWeitersuchen findet den nächsten Termin."));

    search->setText(QStringLiteral("Wecker"));
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(found->text(), QStringLiteral("Kein Thema enthält „Wecker“."));
    desktop.closeHelp();
    EXPECT_FALSE(topics->isVisible());
}

TEST(HelpViewer, ShowsTopicsPopUpsAndClosesOnRequest)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QString::fromLatin1(kHelpSourceFileName));
    writeFile(source, "[UHR]\nDie Uhr zeigt die Zeit.\n[30]\nDie aktuelle Zeit.\n");
    QtDesktop desktop(source);
    HelpViewer& viewer = desktop.helpViewer();

    desktop.showHelpTopic(QStringLiteral("UHR"));
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.currentText(), QStringLiteral("Die Uhr zeigt die Zeit."));
    desktop.showHelpTopic(QStringLiteral("TERMINMANAGER"));
    EXPECT_EQ(viewer.currentText(), QString::fromUtf8(kMissingHelpText));
    desktop.showHelpContext(30);
    EXPECT_EQ(viewer.currentText(), QStringLiteral("Die aktuelle Zeit."));

    desktop.showHelpPopup(30, QPoint(40, 50));
    ASSERT_NE(viewer.popup(), nullptr);
    EXPECT_TRUE(viewer.popup()->isVisible());
    EXPECT_EQ(viewer.popup()->text(), QStringLiteral("Die aktuelle Zeit."));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(viewer.popup(), &escape);
    EXPECT_FALSE(viewer.popup()->isVisible());

    desktop.showHelpPopup(999, QPoint(40, 50));
    EXPECT_EQ(viewer.popup()->text(), QString::fromUtf8(kMissingHelpText));
    desktop.closeHelp();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(viewer.popup()->isVisible());

    // A help source written while the program runs is read at the next request.
    writeFile(source, "[UHR]\nNeu.\n");
    QFile(source).setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    desktop.showHelpTopic(QStringLiteral("uhr"));
    EXPECT_EQ(viewer.currentText(), QStringLiteral("Neu."));
}

} // namespace
} // namespace zw
