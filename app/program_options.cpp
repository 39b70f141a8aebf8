#include "app/program_options.h"

#include <QCommandLineParser>
#include <QFileInfo>
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
    const QCommandLineOption add(QStringLiteral("neu"), {}, QStringLiteral("ZEIT"));
    const QCommandLineOption list(QStringLiteral("liste"), {});
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("ART"));
    const QCommandLineOption exportTo(QStringLiteral("export"), {}, QStringLiteral("DATEI"));
    const QCommandLineOption importFrom(QStringLiteral("import"), {}, QStringLiteral("DATEI"));
    const QCommandLineOption replace(QStringLiteral("ersetzen"), {});
    const QCommandLineOption repeat(QStringLiteral("wiederholung"), {}, QStringLiteral("ART"));
    const QCommandLineOption sound(QStringLiteral("klang"), {}, QStringLiteral("DATEI"));
    const QCommandLineOption program(QStringLiteral("programm"), {}, QStringLiteral("DATEI"));
    const QCommandLineOption expired(QStringLiteral("abgelaufen"), {}, QStringLiteral("ja|nein"));
    const QCommandLineOption deleteAfter({QStringLiteral("loeschen"), QStringLiteral("löschen")}, {});
    const QCommandLineOption inactive(QStringLiteral("inaktiv"), {});
    parser.addOptions({help, version, manager, clock, add, list, format, exportTo, importFrom, replace, repeat, sound,
                       program, expired, deleteAfter, inactive});

    ProgramRequest request;
    auto refuse = [&](const QString& text) {
        request = ProgramRequest{};
        request.kind = ProgramRequest::Kind::Refused;
        request.refusal = text + kHelpHint;
        return request;
    };
    if (!parser.parse(arguments))
        return refuse(germanParseError(parser));
    // Help and version win over everything else, as with other programs.
    if (parser.isSet(help))
        request.kind = ProgramRequest::Kind::Help;
    else if (parser.isSet(version))
        request.kind = ProgramRequest::Kind::Version;
    request.openManager = parser.isSet(manager);
    request.showClock = parser.isSet(clock);
    if (request.kind != ProgramRequest::Kind::Start)
        return request;

    using Data = ProgramRequest::DataCommand;
    const std::pair<const QCommandLineOption*, Data> commands[] = {
        {&add, Data::Add}, {&list, Data::List}, {&exportTo, Data::Export}, {&importFrom, Data::Import}};
    for (const auto& [option, data] : commands) {
        if (!parser.isSet(*option))
            continue;
        if (request.data != Data::None)
            return refuse(QStringLiteral("--neu, --liste, --export und --import gehen nur einzeln."));
        request.data = data;
    }
    if (request.data != Data::None && (request.openManager || request.showClock))
        return refuse(QStringLiteral("--terminmanager und --uhr gehen nicht zusammen mit --%1.")
                          .arg(commands[static_cast<int>(request.data) - 1].first->names().first()));

    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty() && (request.data != Data::Add || positional.size() > 1))
        return refuse(QStringLiteral("Unerwartetes Argument „%1“: Zeitwache nimmt nur Optionen an%2.")
                          .arg(positional.value(request.data == Data::Add ? 1 : 0),
                               request.data == Data::Add ? QStringLiteral(" und nach --neu eine Nachricht")
                                                         : QString()));

    // An option that belongs to another command would be ignored without a word.
    const std::pair<const QCommandLineOption*, QList<Data>> belongs[] = {
        {&format, {Data::List}},        {&replace, {Data::Add, Data::Import}}, {&repeat, {Data::Add}},
        {&sound, {Data::Add}},          {&program, {Data::Add}},               {&expired, {Data::Add}},
        {&deleteAfter, {Data::Add}},    {&inactive, {Data::Add}}};
    for (const auto& [option, owners] : belongs) {
        if (parser.isSet(*option) && !owners.contains(request.data)) {
            QStringList with;
            for (Data owner : owners)
                with << QStringLiteral("--") + commands[static_cast<int>(owner) - 1].first->names().first();
            return refuse(QStringLiteral("Die Option „--%1“ gilt nur zusammen mit %2.")
                              .arg(option->names().first(), with.join(QStringLiteral(" oder "))));
        }
    }

    request.replace = parser.isSet(replace);
    if (parser.isSet(format)) {
        const QString f = parser.value(format).toLower();
        if (f != QLatin1String("tsv") && f != QLatin1String("text"))
            return refuse(QStringLiteral("Unbekanntes Format „%1“: möglich sind text und tsv.").arg(parser.value(format)));
        request.tsv = f == QLatin1String("tsv");
    }
    if (request.data == Data::Export || request.data == Data::Import) {
        const QString path = parser.value(request.data == Data::Export ? exportTo : importFrom);
        if (path.isEmpty())
            return refuse(QStringLiteral("Es fehlt der Name der Datei."));
        request.file = QFileInfo(path).absoluteFilePath();
    }
    if (request.data == Data::Add) {
        ProgramRequest::NewAppointment& a = request.add;
        a.when = parser.value(add);
        a.message = positional.value(0);
        a.repeat = parser.value(repeat);
        a.sound = parser.value(sound);
        a.program = parser.value(program);
        if (parser.isSet(expired)) {
            const QString answer = parser.value(expired).toLower();
            if (answer != QLatin1String("ja") && answer != QLatin1String("nein"))
                return refuse(QStringLiteral("--abgelaufen nimmt „ja“ oder „nein“, nicht „%1“.").arg(parser.value(expired)));
            a.showIfExpired = answer == QLatin1String("ja");
        }
        a.deleteAfterExecution = parser.isSet(deleteAfter);
        a.inactive = parser.isSet(inactive);
    }
    return request;
}

QStringList commandLineOf(const ProgramRequest& request)
{
    QStringList a{QStringLiteral("zeitwache")};
    if (request.openManager)
        a << QStringLiteral("--terminmanager");
    if (request.showClock)
        a << QStringLiteral("--uhr");
    if (request.replace)
        a << QStringLiteral("--ersetzen");
    using Data = ProgramRequest::DataCommand;
    switch (request.data) {
    case Data::None:
        break;
    case Data::List:
        a << QStringLiteral("--liste");
        if (request.tsv)
            a << QStringLiteral("--format=tsv");
        break;
    case Data::Export:
        a << QStringLiteral("--export") << request.file;
        break;
    case Data::Import:
        a << QStringLiteral("--import") << request.file;
        break;
    case Data::Add: {
        const ProgramRequest::NewAppointment& n = request.add;
        a << QStringLiteral("--neu") << n.when;
        if (!n.repeat.isEmpty())
            a << QStringLiteral("--wiederholung") << n.repeat;
        if (!n.sound.isEmpty())
            a << QStringLiteral("--klang") << n.sound;
        if (!n.program.isEmpty())
            a << QStringLiteral("--programm") << n.program;
        if (!n.showIfExpired)
            a << QStringLiteral("--abgelaufen=nein");
        if (n.deleteAfterExecution)
            a << QStringLiteral("--loeschen");
        if (n.inactive)
            a << QStringLiteral("--inaktiv");
        // After "--" a message that starts with "-" is no option.
        a << QStringLiteral("--") << n.message;
        break;
    }
    }
    return a;
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
        "Termine ohne grafische Oberfläche:\n"
        "      --neu \"TT.MM.JJJJ HH:MM\" [NACHRICHT]\n"
        "                     speichert einen neuen Termin; nur ein Datum: ohne Zeitangabe.\n"
        "                     Es gelten die Prüfungen des Terminmanagers.\n"
        "        --wiederholung ART  keine, stündlich, täglich, wöchentlich, monatlich\n"
        "                            oder jährlich (ohne: keine)\n"
        "        --klang DATEI       eine der Wave-Dateien, die der Terminmanager anbietet\n"
        "        --programm DATEI    startet ein Programm oder öffnet ein Dokument\n"
        "        --abgelaufen ja|nein\n"
        "                            „Anzeigen wenn abgelaufen“ (ohne: ja)\n"
        "        --loeschen          „Nach Ausführung löschen“ (nur ohne Wiederholung)\n"
        "        --inaktiv           speichert den Termin abgeschaltet\n"
        "        --ersetzen          überschreibt einen Termin zur selben Zeit; ohne diese\n"
        "                            Option wird der neue dann abgelehnt\n"
        "      --liste        zeigt alle Termine in den Spalten der Terminliste\n"
        "        --format=tsv        durch Tabulatoren getrennt, für Skripte\n"
        "      --export DATEI schreibt alle Termine als iCalendar-Datei (.ics)\n"
        "      --import DATEI übernimmt die Termine einer iCalendar-Datei und berichtet, was\n"
        "                     gespeichert und was übersprungen wurde, und warum; mit\n"
        "                     --ersetzen überschreibt er Termine zur selben Zeit. Eine\n"
        "                     fehlerhafte Datei ändert nichts.\n"
        "\n"
        "Läuft Zeitwache schon, führt das laufende Programm die Optionen aus, und der neue\n"
        "Aufruf endet sofort; sonst startet Zeitwache für --terminmanager und --uhr, und\n"
        "--neu, --liste, --export und --import arbeiten direkt im Datenverzeichnis.\n"
        "\n"
        "Beispiele:\n"
        "  zeitwache                    startet Zeitwache im Infobereich\n"
        "  zeitwache --terminmanager    öffnet den Terminmanager, etwa aus einem Tastenkürzel\n"
        "  zeitwache --uhr              holt die Uhr hervor\n"
        "  zeitwache --neu \"24.12.2026 18:30\" \"Geschenke einpacken\"\n"
        "  zeitwache --neu 01.03.2027 --wiederholung wöchentlich --programm ~/backup.sh\n"
        "  zeitwache --liste --format=tsv | cut -f1,5\n"
        "  zeitwache --export termine.ics\n"
        "  zeitwache --import kalender.ics\n"
        "\n"
        "Rückgabewerte: 0 erledigt, 1 nicht gespeichert oder das laufende Zeitwache antwortet\n"
        "nicht, 2 falsche Befehlszeile, ein abgelehnter Termin, eine fehlerhafte Datei oder\n"
        "keine grafische Oberfläche.\n"
        "Mehr in der Handbuchseite: man zeitwache\n");
}

QString programVersionText()
{
    return QStringLiteral("zeitwache " ZEITWACHE_VERSION "\n");
}

} // namespace zw
