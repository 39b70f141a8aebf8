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

    // Work on the appointments that needs no display: done by the running program when
    // one runs, else on the data directory directly.
    enum class DataCommand { None, Add, List, Export, Import };
    DataCommand data = DataCommand::None;
    QString file;          // --export, --import: an absolute path
    bool tsv = false;      // --liste --format=tsv
    bool replace = false;  // --ersetzen
    // --neu and its options, as given.
    struct NewAppointment {
        QString when;      // "24.12.2026 18:30" or "24.12.2026"
        QString message;
        QString repeat;    // the German word, in any case, umlauts or ae/oe/ue
        QString sound;     // a wave file's name, or empty for none
        QString program;   // program or document
        bool showIfExpired = true;
        bool deleteAfterExecution = false;
        bool inactive = false;
    } add;

    // Whether a running program has something to do for this start; a plain second start
    // ends silently instead.
    bool hasCommands() const { return openManager || showClock || data != DataCommand::None; }
};

// The request as a command line for the running program: its paths absolute, so that they
// mean the same in its working directory.
QStringList commandLineOf(const ProgramRequest& request);

// Exit codes of the command line.
inline constexpr int kExitRefused = 2;
inline constexpr int kExitNoInstanceAnswer = 1;

// arguments as QCoreApplication::arguments() gives them: the program first.
ProgramRequest parseProgramArguments(const QStringList& arguments);

QString programHelpText();
QString programVersionText();

} // namespace zw
