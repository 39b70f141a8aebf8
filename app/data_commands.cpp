#include "app/data_commands.h"

#include "common/file_io.h"
#include "common/zeitwache_error.h"
#include "interchange/appointment_input.h"
#include "interchange/icalendar.h"
#include "interchange/listing.h"
#include "manager/list_rows.h"
#include "manager/sound_list.h"
#include "platform/qt_text.h"
#include "scheduler/appointment_book.h"
#include "store/appointment_line.h"

#include <QRegularExpression>

#include <filesystem>
#include <variant>

namespace zw {

namespace {

constexpr int kExitNotSaved = 1;

InstanceReply refused(const QString& text) { return {kExitRefused, text + QLatin1Char('\n')}; }

// What the editor's store says, for a terminal: its "\n\r" line breaks as one.
QString refusalText(const StoreRefusal& refusal)
{
    return fromUtf8(refusal.text).replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
}

// Saves the list and reads the file back: a save the book keeps quiet about (a file it
// protects, a directory it could not write at start-up) must not be reported as done.
std::optional<QString> saveChecked(AppointmentBook& book)
{
    const QString file = QString::fromStdString(book.dataFile().path().string());
    try {
        book.list().save();
        if (book.dataFile().load() == book.list().lines())
            return std::nullopt;
    } catch (const ZeitwacheError& e) {
        return fromUtf8(e.what()) + QStringLiteral(".\n");
    }
    return QStringLiteral("Die Termine ließen sich nicht in %1 speichern.\n").arg(file);
}

// The list's words ("Täglich"), in any case, umlauts also written as ae, oe, ue.
std::optional<line::RepeatKind> repeatNamed(const QString& word)
{
    QString w = word.toLower();
    w.replace(QStringLiteral("ae"), QStringLiteral("ä"))
        .replace(QStringLiteral("oe"), QStringLiteral("ö"))
        .replace(QStringLiteral("ue"), QStringLiteral("ü"));
    for (const line::RepeatKind kind : {line::RepeatKind::None, line::RepeatKind::Hourly, line::RepeatKind::Daily,
                                        line::RepeatKind::Weekly, line::RepeatKind::Monthly, line::RepeatKind::Yearly})
        if (w == fromCp1252(line::repeatWord(kind)).trimmed().toLower())
            return kind;
    return std::nullopt;
}

// --neu: the values typed into the editor, checked as it checks them, stored as it stores.
InstanceReply addAppointment(const ProgramRequest::NewAppointment& n, bool replace, AppointmentBook& book,
                             const Clock& clock, const QStringList& soundFolders)
{
    const QRegularExpressionMatch m =
        QRegularExpression(
            QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{1,4})(?:\\s+(\\d{1,2}):(\\d{1,2}))?\\s*$"))
            .match(n.when);
    if (!m.hasMatch())
        return refused(
            QStringLiteral("„%1“ ist kein Datum der Form TT.MM.JJJJ mit oder ohne Uhrzeit HH:MM.").arg(n.when));
    transfer::AppointmentInput in;
    in.day = m.captured(1).toStdString();
    in.month = m.captured(2).toStdString();
    in.year = m.captured(3).toStdString();
    if (m.hasCaptured(4))
        in.time = std::pair(m.captured(4).toStdString(), m.captured(5).toStdString());
    if (!n.repeat.isEmpty()) {
        const std::optional<line::RepeatKind> kind = repeatNamed(n.repeat);
        if (!kind)
            return refused(QStringLiteral("Unbekannte Wiederholung „%1“: möglich sind keine, stündlich, täglich, "
                                          "wöchentlich, monatlich und jährlich.")
                               .arg(n.repeat));
        in.repeat = *kind;
    }
    in.active = !n.inactive;
    in.showIfExpired = n.showIfExpired;
    in.deleteAfterExecution = n.deleteAfterExecution;
    const std::pair<const QString*, std::string*> texts[] = {{&n.message, &in.message}, {&n.program, &in.application}};
    const char* names[] = {"Die Nachricht", "Die Anwendung oder Datei"};
    for (size_t i = 0; i < 2; ++i) {
        transfer::StorableText t = transfer::storableText(texts[i].first->toStdString(), names[i]);
        if (!t.cp1252)
            return refused(fromUtf8(t.problem));
        *texts[i].second = std::move(*t.cp1252);
    }
    // Only a sound that the page's list offers.
    if (!n.sound.isEmpty()) {
        const std::vector<std::string> entries = soundEntriesIn(toPaths(soundFolders));
        const int entry = soundEntryNamed(entries, toCp1252(n.sound));
        if (entry < 0) {
            QStringList offered;
            for (const std::string& e : entries)
                offered << fromCp1252(e);
            return refused(QStringLiteral("Den Klang „%1“ gibt es nicht; zur Wahl stehen: %2.")
                               .arg(n.sound, offered.join(QStringLiteral(", "))));
        }
        in.sound = entries[static_cast<size_t>(entry)];
    }

    std::variant<std::string, StoreRefusal> made = transfer::lineFromInput(book.list(), clock, in);
    if (const StoreRefusal* refusal = std::get_if<StoreRefusal>(&made))
        return refused(refusalText(*refusal));
    const std::string& newLine = std::get<std::string>(made);
    {
        const DueCheck::Hold hold = book.dueCheck().hold();
        if (!transfer::storeLines(book.list(), {newLine}, replace, clock.now().date.year).front())
            return refused(QStringLiteral("Für die angegebene Uhrzeit gibt es bereits eine Meldung. Mit --ersetzen "
                                          "wird sie überschrieben."));
        if (std::optional<QString> failure = saveChecked(book))
            return {kExitNotSaved, *failure};
    }
    const QString row = fromCp1252(listRowText(newLine)).split(QLatin1Char('|')).mid(0, 5).join(QLatin1Char(' '));
    return {0, QStringLiteral("Gespeichert:%1\n").arg(row.simplified().prepend(QLatin1Char(' ')))};
}

InstanceReply exportTo(const QString& file, AppointmentBook& book, const Clock& clock)
{
    const ical::Export out = ical::exportCalendar(book.list().lines(), clock, ical::systemZoneName());
    if (!writeFileAtomically(toPath(file), out.text))
        return {kExitNotSaved, fromUtf8(errors::cannotCreateFile(file.toStdString()).what()) + QStringLiteral(".\n")};
    QString text;
    for (const std::string& skipped : out.skipped)
        text += fromUtf8(skipped) + QLatin1Char('\n');
    text += QStringLiteral("%1 Termine nach %2 geschrieben.\n").arg(out.written).arg(file);
    return {0, text};
}

InstanceReply importFrom(const QString& file, bool replace, AppointmentBook& book, const Clock& clock)
{
    const std::optional<std::string> bytes = readWholeFile(toPath(file));
    if (!bytes)
        return refused(fromUtf8(errors::cannotOpenFile(file.toStdString()).what()) + QLatin1Char('.'));
    const ical::Calendar calendar = ical::parseCalendar(*bytes, clock, ical::systemZoneName());
    if (calendar.broken)
        return refused(
            QStringLiteral("%1 ist fehlerhaft, nichts wurde gespeichert.\n%2").arg(file, fromUtf8(*calendar.broken)));
    const DueCheck::Hold hold = book.dueCheck().hold();
    const ical::ImportReport report = ical::importCalendar(book.list(), clock, calendar, replace);
    if (report.stored > 0) {
        if (std::optional<QString> failure = saveChecked(book))
            return {kExitNotSaved, fromUtf8(report.text) + *failure};
    }
    return {0, fromUtf8(report.text)};
}

// A book without alarms: the direct commands never run the due check.
class NoAlarms final : public AppointmentExecutor {
public:
    void carryOut(const DueAppointment&) override {}
};

} // namespace

InstanceReply runDataCommand(const ProgramRequest& request, AppointmentBook& book, const Clock& clock,
                             const QStringList& soundFolders)
{
    using Data = ProgramRequest::DataCommand;
    try {
        switch (request.data) {
        case Data::Add:
            return addAppointment(request.add, request.replace, book, clock, soundFolders);
        case Data::List:
            return {0, fromUtf8(transfer::listAppointments(book.list().lines(), request.tsv))};
        case Data::Export:
            return exportTo(request.file, book, clock);
        case Data::Import:
            return importFrom(request.file, request.replace, book, clock);
        case Data::None:
            break;
        }
    } catch (const ZeitwacheError& e) {
        return {kExitNotSaved, fromUtf8(e.what()) + QStringLiteral(".\n")};
    }
    return {};
}

InstanceReply runDataCommandDirectly(const ProgramRequest& request, const Places& places, const Clock& clock)
{
    AppointmentList list;
    NoAlarms noAlarms;
    AppointmentBook book(toPath(places.dataDirectory), list, clock, noAlarms);
    QString warning;
    if (const std::optional<std::string> problem = book.load())
        warning = fromUtf8(*problem) + QLatin1Char('\n');
    InstanceReply reply = runDataCommand(request, book, clock, places.soundFolders);
    // What start-up would have shown in a box belongs beside the report.
    reply.text.prepend(reply.exitCode == 0 ? QString() : warning);
    if (reply.exitCode == 0 && !warning.isEmpty())
        std::fputs(warning.toLocal8Bit().constData(), stderr);
    return reply;
}

} // namespace zw
