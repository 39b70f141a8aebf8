// The command line: what each start is asked to do. Handing it to a running program is
// the program test's.
#include "app/program_options.h"

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

} // namespace
