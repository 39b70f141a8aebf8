// The command line: what each start is asked to do. Handing it to a running program is
// the program test's.
#include "app/program_options.h"

#include <QFileInfo>

#include <gtest/gtest.h>

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
        {{"--bla"}, Kind::Refused, false, false, "Unbekannte Option „--bla“"},
        {{"termine.dat"}, Kind::Refused, false, false, "Unerwartetes Argument „termine.dat“"},
        {{"--uhr=ja"}, Kind::Refused, false, false, "nimmt keinen Wert an"},
        {{"--neu", "1.1.2027", "a", "b"}, Kind::Refused, false, false, "Unerwartetes Argument „b“"},
        {{"--liste", "--import", "x.ics"}, Kind::Refused, false, false, "gehen nur einzeln"},
        {{"--liste", "--uhr"}, Kind::Refused, false, false, "nicht zusammen mit --liste"},
        {{"--liste", "--klang", "gong.wav"}, Kind::Refused, false, false, "„--klang“ gilt nur zusammen mit --neu"},
        {{"--export", "x.ics", "--ersetzen"}, Kind::Refused, false, false, "mit --neu oder --import"},
        {{"--liste", "--format=csv"}, Kind::Refused, false, false, "Unbekanntes Format „csv“"},
        {{"--neu", "1.1.2027", "--abgelaufen", "vielleicht"}, Kind::Refused, false, false, "„ja“ oder „nein“"},
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
}

// What goes to the running program means there what it meant here.
TEST(ProgramOptions, ACommandLineForwardedIsTheSameRequest)
{
    const QStringList lines[] = {
        {"--neu", "24.12.2026 18:30", "--wiederholung", "täglich", "--klang", "gong.wav", "--programm", "a b",
         "--abgelaufen=nein", "--loeschen", "--inaktiv", "--ersetzen", "--", "-Gedankenstrich"},
        {"--import", "rel/kal.ics", "--ersetzen"},
        {"--liste", "--format=TSV"},
    };
    for (const QStringList& line : lines) {
        const ProgramRequest r = parseProgramArguments(QStringList{QStringLiteral("zeitwache")} + line);
        ASSERT_EQ(r.kind, Kind::Start) << r.refusal.toStdString();
        const ProgramRequest again = parseProgramArguments(commandLineOf(r));
        EXPECT_EQ(commandLineOf(again), commandLineOf(r)) << line.join(' ').toStdString();
        EXPECT_EQ(again.add.message, r.add.message);
        EXPECT_TRUE(again.file.isEmpty() || QFileInfo(again.file).isAbsolute());
    }
}

} // namespace

