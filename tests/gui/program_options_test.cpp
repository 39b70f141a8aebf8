// The command line: what each start is asked to do, and a request handed to a running
// program over its socket.
#include "app/instance_channel.h"
#include "app/program_options.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <future>

using namespace zw;
using Kind = ProgramRequest::Kind;

namespace {

struct ParseCase {
    QStringList arguments;
    Kind kind;
    bool openManager;
    bool showClock;
    const char* refusalPart;
};

TEST(ProgramOptions, EachCommandLineAsksForWhatItSays)
{
    const ParseCase cases[] = {
        {{}, Kind::Start, false, false, ""},
        {{"--terminmanager"}, Kind::Start, true, false, ""},
        {{"--uhr", "--terminmanager"}, Kind::Start, true, true, ""},
        {{"-h"}, Kind::Help, false, false, ""},
        {{"--terminmanager", "--help"}, Kind::Help, true, false, ""},
        {{"--version"}, Kind::Version, false, false, ""},
        {{"-v", "--help"}, Kind::Help, false, false, ""},
        {{"--bla"}, Kind::Refused, false, false, "Unbekannte Option „--bla“"},
        {{"-x"}, Kind::Refused, false, false, "Unbekannte Option „-x“"},
        {{"--Uhr"}, Kind::Refused, false, false, "„--Uhr“"},
        {{"termine.dat"}, Kind::Refused, false, false, "Unerwartetes Argument „termine.dat“"},
        {{"--uhr=ja"}, Kind::Refused, false, false, "nimmt keinen Wert an"},
        {{"--help", "stray"}, Kind::Refused, false, false, "„stray“"},
    };
    for (const ParseCase& c : cases) {
        const ProgramRequest r = parseProgramArguments(QStringList{QStringLiteral("zeitwache")} + c.arguments);
        const std::string context = c.arguments.join(' ').toStdString();
        EXPECT_EQ(r.kind, c.kind) << context;
        if (c.kind == Kind::Refused) {
            EXPECT_TRUE(r.refusal.contains(QString::fromUtf8(c.refusalPart))) << context << ": " << r.refusal.toStdString();
            EXPECT_TRUE(r.refusal.contains(QStringLiteral("--help"))) << "no way on is shown: " << context;
            continue;
        }
        EXPECT_EQ(r.openManager, c.openManager) << context;
        EXPECT_EQ(r.showClock, c.showClock) << context;
        EXPECT_EQ(r.hasCommands(), c.openManager || c.showClock) << context;
    }
    EXPECT_TRUE(programVersionText().startsWith(QStringLiteral("zeitwache ")));
    for (const char* option : {"--terminmanager", "--uhr", "--help", "--version", "Beispiele"})
        EXPECT_TRUE(programHelpText().contains(QString::fromLatin1(option))) << option;
}

// The running program's side stands in this thread's event loop; the later start's side
// blocks, as in a process of its own, on another thread.
TEST(InstanceChannel, ARequestReachesTheRunningProgramAndItsAnswerComesBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QStringList received;
    InstanceServer server(dir.path(), [&](const QStringList& arguments) {
        received = arguments;
        return InstanceReply{3, QStringLiteral("Antwort äöü")};
    });

    // Nobody listens yet: the later start hears so at once and may try again.
    bool listening = true;
    EXPECT_FALSE(sendToRunningInstance(dir.path(), {QStringLiteral("x")}, 200, &listening));
    EXPECT_FALSE(listening);

    ASSERT_TRUE(server.listen());
    const QStringList sent{QStringLiteral("zeitwache"), QStringLiteral("--terminmanager")};
    auto answer = std::async(std::launch::async, [&] { return sendToRunningInstance(dir.path(), sent, 5000); });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();

    ASSERT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    const std::optional<InstanceReply> reply = answer.get();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->exitCode, 3);
    EXPECT_EQ(reply->text, QStringLiteral("Antwort äöü"));
    EXPECT_EQ(received, sent);
}

} // namespace
