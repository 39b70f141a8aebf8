#include "app/program_options.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace zw {

namespace {

const QString kHelpHint = QStringLiteral("\n„zeitwache --help“ zeigt, was Zeitwache versteht.");

// QCommandLineParser words its errors in English; its two kinds besides unknown options
// name the option in quotes.
QString germanParseError(const QCommandLineParser& parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("Unbekannte Option „%1%2“.").arg(name.size() == 1 ? "-" : "--", name);
    }
    const QString english = parser.errorText();
    const QRegularExpressionMatch quoted = QRegularExpression(QStringLiteral("'([^']*)'")).match(english);
    const QString name = quoted.hasMatch() ? quoted.captured(1) : QString();
    if (english.startsWith(QLatin1String("Unexpected value")))
        return QStringLiteral("Die Option „%1“ nimmt keinen Wert an.").arg(name);
    if (english.startsWith(QLatin1String("Missing value")))
        return QStringLiteral("Der Option „%1“ fehlt ihr Wert.").arg(name);
    return QStringLiteral("Die Befehlszeile ist fehlerhaft.");
}

} // namespace

ProgramRequest parseProgramArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption manager(QStringLiteral("terminmanager"), {});
    const QCommandLineOption clock(QStringLiteral("uhr"), {});
    parser.addOptions({help, version, manager, clock});

    ProgramRequest request;
    if (!parser.parse(arguments)) {
        request.kind = ProgramRequest::Kind::Refused;
        request.refusal = germanParseError(parser) + kHelpHint;
        return request;
    }
    if (!parser.positionalArguments().isEmpty()) {
        request.kind = ProgramRequest::Kind::Refused;
        request.refusal = QStringLiteral("Unerwartetes Argument „%1“: Zeitwache nimmt nur Optionen an.")
                              .arg(parser.positionalArguments().first()) +
                          kHelpHint;
        return request;
    }
    // Help and version win over everything else, as with other programs.
    if (parser.isSet(help))
        request.kind = ProgramRequest::Kind::Help;
    else if (parser.isSet(version))
        request.kind = ProgramRequest::Kind::Version;
    request.openManager = parser.isSet(manager);
    request.showClock = parser.isSet(clock);
    return request;
}

QString programHelpText()
{
    return QStringLiteral(
        "Aufruf: zeitwache [OPTION ...]\n"
        "\n"
        "Zeitwache lebt im Infobereich der Taskleiste, zeigt auf Wunsch eine Digitaluhr und\n"
        "erinnert zur rechten Minute an Termine. Ohne Option startet es; läuft es schon, endet\n"
        "der zweite Start sofort und ändert nichts.\n"
        "\n"
        "Optionen:\n"
        "  -h, --help         zeigt diese Hilfe und endet\n"
        "  -v, --version      zeigt die Version und endet\n"
        "      --terminmanager\n"
        "                     öffnet den Terminmanager\n"
        "      --uhr          zeigt die Uhr\n"
        "\n"
        "Läuft Zeitwache schon, führt das laufende Programm --terminmanager und --uhr aus, und\n"
        "der neue Aufruf endet sofort; sonst startet Zeitwache und tut es dann.\n"
        "\n"
        "Beispiele:\n"
        "  zeitwache                    startet Zeitwache im Infobereich\n"
        "  zeitwache --terminmanager    öffnet den Terminmanager, etwa aus einem Tastenkürzel\n"
        "  zeitwache --uhr              holt die Uhr hervor\n"
        "\n"
        "Rückgabewerte: 0 erledigt, 1 das laufende Zeitwache antwortet nicht,\n"
        "2 falsche Befehlszeile oder keine grafische Oberfläche.\n"
        "Mehr in der Handbuchseite: man zeitwache\n");
}

QString programVersionText()
{
    return QStringLiteral("zeitwache " ZEITWACHE_VERSION "\n");
}

} // namespace zw
