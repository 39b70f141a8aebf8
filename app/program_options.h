#pragma once
// What a start of the program is asked to do by its command line. A plain start reads
// nothing; the options are German, the texts of the help and the refusals too.
#include <QString>
#include <QStringList>

namespace zw {

struct ProgramRequest {
    enum class Kind {
        Start,    // run (or, with commands, ask the running program)
        Help,     // print the help, exit 0
        Version,  // print the version, exit 0
        Refused,  // print `refusal` on stderr, exit 2
    };
    Kind kind = Kind::Start;
    bool openManager = false;  // --terminmanager
    bool showClock = false;    // --uhr
    QString refusal;

    // Whether a running program has something to do for this start; a plain second start
    // ends silently instead.
    bool hasCommands() const { return openManager || showClock; }
};

// Exit codes of the command line.
inline constexpr int kExitRefused = 2;
inline constexpr int kExitNoInstanceAnswer = 1;

// arguments as QCoreApplication::arguments() gives them: the program first.
ProgramRequest parseProgramArguments(const QStringList& arguments);

QString programHelpText();
QString programVersionText();

} // namespace zw
