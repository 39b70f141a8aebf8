#include "interchange/icalendar.h"

#include "common/cp1252.h"
#include "common/file_io.h"
#include "common/sound_name.h"
#include "common/zeitwache_error.h"

#include <libical/ical.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace zw::ical {

namespace {

constexpr char kApplication[] = "X-ZEITWACHE-APPLICATION";
constexpr char kSound[] = "X-ZEITWACHE-SOUND";
constexpr char kShowIfExpired[] = "X-ZEITWACHE-SHOW-IF-EXPIRED";
constexpr char kDeleteAfter[] = "X-ZEITWACHE-DELETE-AFTER-EXECUTION";
constexpr char kInactive[] = "X-ZEITWACHE-INACTIVE";
constexpr char kExecuted[] = "X-ZEITWACHE-EXECUTED";
constexpr char kBlanks[] = "X-ZEITWACHE-BLANKS";
// libical writes no date after the year 3000 (it writes 00000000 instead); what it cannot
// write is neither exported nor imported, so that an import can always be exported again.
constexpr int kLastYear = 3000;

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// libical hands out strings of its own that the caller frees.
std::string take(char* text)
{
    std::string s = text ? text : "";
    std::free(text);
    return s;
}

std::string upper(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string twoDigits(int n)
{
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

bool knownZone(const std::string& name)
{
    return !name.empty() && icaltimezone_get_builtin_timezone(name.c_str()) != nullptr;
}

std::string zoneFromPath(const std::string& path)
{
    const size_t at = path.find("zoneinfo/");
    return at == std::string::npos ? std::string() : path.substr(at + 9);
}

// --- writing

// libical folds a line that reaches 75 octets just at its end between the CR and the LF
// of the line end ("CR, CR LF blank, LF"), which leaves a bare CR inside the file; this
// puts the line end back together. No value of ours holds a CR of its own.
std::string withWholeLineEnds(std::string text)
{
    static constexpr std::string_view broken = "\r\r\n \n";
    for (size_t at = 0; (at = text.find(broken, at)) != std::string::npos;)
        text.replace(at, broken.size(), "\r\n");
    return text;
}

icalproperty* xProperty(const char* name, const std::string& value)
{
    icalproperty* p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    return p;
}

const char* truth(bool value) { return value ? "TRUE" : "FALSE"; }

// Adds a text property, its outer blanks told by X-ZEITWACHE-BLANKS.
void addText(icalcomponent* event, const char* name, std::string_view cp1252,
             icalproperty* (*make)(const char*, const char*))
{
    const std::string utf8 = cp1252ToUtf8(cp1252);
    const std::string inner = trimmed(utf8);
    if (!inner.empty())
        icalcomponent_add_property(event, make(name, inner.c_str()));
    if (inner.size() != utf8.size()) {
        const size_t leading = utf8.find_first_not_of(' ') == std::string::npos ? utf8.size() : utf8.find_first_not_of(' ');
        const size_t trailing = utf8.size() - inner.size() - leading;
        icalcomponent_add_property(event, xProperty(kBlanks, std::string(name) + " " + std::to_string(leading) + " " +
                                                                 std::to_string(trailing)));
    }
}

icalproperty* makeSummary(const char*, const char* value) { return icalproperty_new_summary(value); }
icalproperty* makeX(const char* name, const char* value) { return xProperty(name, value); }

icalrecurrencetype_frequency frequencyOf(line::RepeatKind kind)
{
    switch (kind) {
    case line::RepeatKind::Hourly:
        return ICAL_HOURLY_RECURRENCE;
    case line::RepeatKind::Daily:
        return ICAL_DAILY_RECURRENCE;
    case line::RepeatKind::Weekly:
        return ICAL_WEEKLY_RECURRENCE;
    case line::RepeatKind::Monthly:
        return ICAL_MONTHLY_RECURRENCE;
    case line::RepeatKind::Yearly:
        return ICAL_YEARLY_RECURRENCE;
    case line::RepeatKind::None:
        break;
    }
    return ICAL_NO_RECURRENCE;
}

// A stable UID: the same line at the same place gives the same one in every export.
std::string uidOf(std::string_view line, size_t index)
{
    uint64_t h = 1469598103934665603ull;
    for (char c : line)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%zu-%016llx@zeitwache", index + 1, static_cast<unsigned long long>(h));
    return buf;
}

Component eventOf(std::string_view l, size_t index, int currentYear, const std::string& zone,
                  const icaltimetype& stamp)
{
    const line::CheckFields f = line::readCheckFields(l, currentYear);
    const std::optional<line::RepeatKind> kind = line::repeatKindOf(f.repeat);
    if (!kind)
        throw errors::invalidDateTime(line::repeatField(l));
    const bool noTime = line::timeField(l) == "     ";
    if (f.date.year > kLastYear)
        throw ZeitwacheError("das Jahr " + std::to_string(f.date.year) + " liegt nach " + std::to_string(kLastYear) +
                             ", dem letzten, das Zeitwache in iCalendar-Dateien schreibt");

    Component event(icalcomponent_new_vevent());
    icalcomponent* e = event.get();
    icalcomponent_add_property(e, icalproperty_new_uid(uidOf(l, index).c_str()));
    icalcomponent_add_property(e, icalproperty_new_dtstamp(stamp));
    icaltimetype start = icaltime_null_time();
    start.year = f.date.year;
    start.month = f.date.month;
    start.day = f.date.day;
    start.is_date = noTime ? 1 : 0;
    if (!noTime) {
        start.hour = f.minutes / 60;
        start.minute = f.minutes % 60;
    }
    icalproperty* dtstart = icalproperty_new_dtstart(start);
    if (!noTime && !zone.empty())
        icalproperty_add_parameter(dtstart, icalparameter_new_tzid(zone.c_str()));
    icalcomponent_add_property(e, dtstart);
    addText(e, "SUMMARY", f.texts.message, makeSummary);
    if (*kind != line::RepeatKind::None) {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = frequencyOf(*kind);
        icalcomponent_add_property(e, icalproperty_new_rrule(rule));
    }
    addText(e, kApplication, f.texts.application, makeX);
    addText(e, kSound, f.texts.sound, makeX);
    if (f.texts.sound.empty())
        icalcomponent_add_property(e, xProperty(kBlanks, std::string(kSound) + " 0 0"));
    icalcomponent_add_property(e, xProperty(kShowIfExpired, truth(f.showIfExpired == '1')));
    icalcomponent_add_property(e, xProperty(kDeleteAfter, truth(f.deleteAfterExecution == '1')));
    if (f.executed == '1')
        icalcomponent_add_property(e, xProperty(kExecuted, truth(true)));
    if (!f.active) {
        icalcomponent_add_property(e, xProperty(kInactive, truth(true)));
    } else {
        icalcomponent* alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype atStart;
        atStart.time = icaltime_null_time();
        atStart.duration = icaldurationtype_null_duration();
        icalcomponent_add_property(alarm, icalproperty_new_trigger(atStart));
        const std::string text = trimmed(cp1252ToUtf8(f.texts.message.empty() ? f.texts.application : f.texts.message));
        icalcomponent_add_property(alarm, icalproperty_new_description(text.empty() ? "Zeitwache" : text.c_str()));
        icalcomponent_add_component(e, alarm);
    }
    return event;
}

// --- reading: where a file breaks

struct ComponentInfo {
    std::string name;
    int line = 0;
    std::vector<std::pair<std::string, int>> properties; // first line of each name
};

std::string inQuotes(std::string_view text)
{
    size_t cut = std::min<size_t>(text.size(), 60);
    // Not inside a UTF-8 sequence.
    while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    std::string shown(text.substr(0, cut));
    // One report line per event, whatever the text holds.
    std::replace_if(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    return "„" + shown + (cut < text.size() ? "…" : "") + "“";
}

// The file's structure line by line (unfolded): every content line NAME...:VALUE, BEGIN and
// END paired, everything inside a VCALENDAR. libical would take much of this without a
// word (an END of the wrong kind, a line without a colon); here it says where.
std::optional<std::string> checkStructure(std::string_view bytes, std::vector<ComponentInfo>& components)
{
    std::vector<size_t> open;
    std::string logical;
    int logicalLine = 0;
    auto where = [](int n) { return "Zeile " + std::to_string(n) + ": "; };
    auto process = [&]() -> std::optional<std::string> {
        if (logical.empty())
            return std::nullopt;
        const size_t nameEnd = logical.find_first_of(";:");
        const std::string name = upper(logical.substr(0, nameEnd));
        const bool goodName = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
        });
        const size_t colon = logical.find(':');
        if (!goodName || colon == std::string::npos)
            return where(logicalLine) + inQuotes(logical) + " ist keine Zeile der Form NAME:WERT.";
        const std::string value = upper(trimmed(logical.substr(colon + 1)));
        if (name == "BEGIN") {
            if (open.empty() && value != "VCALENDAR")
                return where(logicalLine) + "BEGIN:" + value + " außerhalb eines Kalenders (BEGIN:VCALENDAR).";
            components.push_back({value, logicalLine, {}});
            open.push_back(components.size() - 1);
        } else if (name == "END") {
            if (open.empty())
                return where(logicalLine) + "END:" + value + " ohne passendes BEGIN.";
            const ComponentInfo& top = components[open.back()];
            if (value != top.name)
                return where(logicalLine) + "END:" + value + ", aber " + top.name + " aus Zeile " +
                       std::to_string(top.line) + " ist noch offen.";
            open.pop_back();
        } else {
            if (open.empty())
                return where(logicalLine) + "Eigenschaft " + name + " außerhalb eines Kalenders.";
            auto& props = components[open.back()].properties;
            if (std::none_of(props.begin(), props.end(), [&](const auto& p) { return p.first == name; }))
                props.emplace_back(name, logicalLine);
        }
        return std::nullopt;
    };

    int lineNo = 0;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view physical = bytes.substr(pos, end - pos);
        ++lineNo;
        if (physical.find('\0') != std::string_view::npos)
            return where(lineNo) + "ein Nullbyte.";
        if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t') && !logical.empty()) {
            logical.append(physical.substr(1));
        } else {
            if (auto problem = process())
                return problem;
            logical.assign(physical);
            logicalLine = lineNo;
        }
        // CR LF, a bare LF or a bare CR ends a line.
        pos = end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
    }
    if (auto problem = process())
        return problem;
    if (!open.empty()) {
        const ComponentInfo& top = components[open.back()];
        return "Die Datei endet nach Zeile " + std::to_string(lineNo) + ", bevor " + top.name + " aus Zeile " +
               std::to_string(top.line) + " geschlossen ist.";
    }
    if (components.empty())
        return std::string("Die Datei enthält keinen Kalender (BEGIN:VCALENDAR fehlt).");
    return std::nullopt;
}

void inDocumentOrder(icalcomponent* c, std::vector<icalcomponent*>& out)
{
    if (icalcomponent_isa(c) != ICAL_XROOT_COMPONENT)
        out.push_back(c);
    for (icalcomponent* child = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); child;
         child = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        inDocumentOrder(child, out);
}

int lineOf(const ComponentInfo* info, const std::string& property)
{
    if (!info)
        return 0;
    for (const auto& [name, line] : info->properties)
        if (name == property)
            return line;
    return info->line;
}

// libical's complaint (English, put into the component as X-LIC-ERROR) in German.
std::string describeError(icalproperty* error, const ComponentInfo* info)
{
    const std::string message = icalproperty_get_xlicerror(error) ? icalproperty_get_xlicerror(error) : "";
    std::string property;
    const size_t in = message.find(" in ");
    const size_t word = message.find(" property", in == std::string::npos ? 0 : in);
    if (in != std::string::npos && word != std::string::npos && word > in + 4)
        property = message.substr(in + 4, word - in - 4);
    const size_t colon = message.rfind(": ");
    const std::string offending = colon == std::string::npos ? message : trimmed(message.substr(colon + 2));
    const int line = lineOf(info, property);
    std::string text = line > 0 ? "Zeile " + std::to_string(line) + ": " : std::string();
    if (!property.empty())
        text += "der Wert von " + property + " ist ungültig (" + inQuotes(offending) + ").";
    else
        text += "nicht lesbar (" + inQuotes(offending) + ").";
    return text;
}

// --- reading: one event

struct LocalStart {
    Date date;
    std::optional<TimeOfDay> time;
};

int64_t minutesOf(const Date& d, const TimeOfDay& t) { return dayNumber(d) * 1440 + t.hour * 60 + t.minute; }

LocalStart fromMinutes(int64_t minutes)
{
    const int64_t days = minutes >= 0 ? minutes / 1440 : (minutes - 1439) / 1440;
    const int64_t rest = minutes - days * 1440;
    return {dateFromDayNumber(days), TimeOfDay{static_cast<int>(rest / 60), static_cast<int>(rest % 60), 0}};
}

bool validTime(const icaltimetype& t)
{
    if (t.year < 1 || t.year > 9999 || !isValidDate({t.year, t.month, t.day}))
        return false;
    return t.is_date || (t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second <= 60);
}

// The wall time of the clock's zone at a time of the file. Nothing when the instant has no
// wall time here (a clock without a zone).
std::optional<LocalDateTime> toLocal(const icaltimetype& t, const Clock& clock)
{
    const time_t utc = icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone());
    return clock.wallAt(static_cast<int64_t>(utc));
}

std::optional<std::string> xValue(icalcomponent* c, const char* name)
{
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char* n = icalproperty_get_x_name(p);
        if (n && upper(n) == name)
            return std::string(icalproperty_get_x(p) ? icalproperty_get_x(p) : "");
    }
    return std::nullopt;
}

bool isTrue(const std::optional<std::string>& value) { return value && upper(trimmed(*value)) == "TRUE"; }

// A text as the export wrote it: the property's value with the blanks X-ZEITWACHE-BLANKS
// gives back. Nothing when neither is there.
std::optional<std::string> textOf(icalcomponent* c, const std::string& name, std::optional<std::string> value)
{
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char* n = icalproperty_get_x_name(p);
        if (!n || upper(n) != kBlanks || !icalproperty_get_x(p))
            continue;
        char field[64] = {};
        unsigned leading = 0, trailing = 0;
        if (std::sscanf(icalproperty_get_x(p), "%63s %u %u", field, &leading, &trailing) == 3 && upper(field) == name &&
            leading <= line::kMaxTextLength && trailing <= line::kMaxTextLength)
            return std::string(leading, ' ') + value.value_or("") + std::string(trailing, ' ');
    }
    return value;
}

// Whether the rule says no more than the kind does: every hour, day, week, month or year
// from the start on, for ever. A BY part that only repeats the start (Google's weekly
// BYDAY=TU for a Tuesday) says nothing more.
std::optional<line::RepeatKind> kindOf(const icalrecurrencetype& r, const Date& start)
{
    if (r.interval > 1 || r.count != 0 || !icaltime_is_null_time(r.until))
        return std::nullopt;
    auto count = [](const short* a, int max) {
        int n = 0;
        while (n < max && a[n] != ICAL_RECURRENCE_ARRAY_MAX)
            ++n;
        return n;
    };
    const int days = count(r.by_day, ICAL_BY_DAY_SIZE);
    const int monthDays = count(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const int months = count(r.by_month, ICAL_BY_MONTH_SIZE);
    if (count(r.by_second, ICAL_BY_SECOND_SIZE) || count(r.by_minute, ICAL_BY_MINUTE_SIZE) ||
        count(r.by_hour, ICAL_BY_HOUR_SIZE) || count(r.by_year_day, ICAL_BY_YEARDAY_SIZE) ||
        count(r.by_week_no, ICAL_BY_WEEKNO_SIZE) || count(r.by_set_pos, ICAL_BY_SETPOS_SIZE))
        return std::nullopt;
    const bool dayIsStart = days == 0 || (days == 1 && icalrecurrencetype_day_position(r.by_day[0]) == 0 &&
                                          static_cast<int>(icalrecurrencetype_day_day_of_week(r.by_day[0])) - 1 ==
                                              weekday(start));
    const bool monthDayIsStart = monthDays == 0 || (monthDays == 1 && r.by_month_day[0] == start.day);
    const bool monthIsStart = months == 0 || (months == 1 && r.by_month[0] == start.month);
    switch (r.freq) {
    case ICAL_HOURLY_RECURRENCE:
        return days || monthDays || months ? std::nullopt : std::optional(line::RepeatKind::Hourly);
    case ICAL_DAILY_RECURRENCE:
        return days || monthDays || months ? std::nullopt : std::optional(line::RepeatKind::Daily);
    case ICAL_WEEKLY_RECURRENCE:
        return dayIsStart && !monthDays && !months ? std::optional(line::RepeatKind::Weekly) : std::nullopt;
    case ICAL_MONTHLY_RECURRENCE:
        return !days && monthDayIsStart && !months ? std::optional(line::RepeatKind::Monthly) : std::nullopt;
    case ICAL_YEARLY_RECURRENCE:
        return !days && monthDayIsStart && monthIsStart ? std::optional(line::RepeatKind::Yearly) : std::nullopt;
    default:
        return std::nullopt;
    }
}

struct EventResult {
    Event event;
    std::optional<std::string> broken;
};

EventResult readEvent(icalcomponent* c, const ComponentInfo* info, const Clock& clock, const std::string& localZone)
{
    EventResult result;
    Event& ev = result.event;
    ev.line = info ? info->line : 0;
    const bool todo = icalcomponent_isa(c) == ICAL_VTODO_COMPONENT;
    const char* summary = icalcomponent_get_summary(c);
    ev.label = summary ? summary : "";
    auto skip = [&](std::string why) {
        ev.skipped = std::move(why);
        return result;
    };

    const icalproperty_kind startKind = todo ? ICAL_DUE_PROPERTY : ICAL_DTSTART_PROPERTY;
    icalproperty* startProperty = icalcomponent_get_first_property(c, startKind);
    if (!startProperty)
        return skip(todo ? "eine Aufgabe ohne Fälligkeit (DUE)." : "ein Termin ohne Beginn (DTSTART).");
    if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
        return skip("ein geänderter Einzeltermin einer Serie (RECURRENCE-ID); die Serie selbst wird übernommen.");
    const icaltimetype start = todo ? icalcomponent_get_due(c) : icalcomponent_get_dtstart(c);
    const char* startName = todo ? "DUE" : "DTSTART";
    if (!validTime(start)) {
        result.broken = "Zeile " + std::to_string(lineOf(info, startName)) + ": " + startName +
                        " ist kein gültiges Datum mit Uhrzeit (" + inQuotes(icaltime_as_ical_string(start)) + ").";
        return result;
    }

    LocalStart local{{start.year, start.month, start.day}, std::nullopt};
    if (!start.is_date) {
        local.time = TimeOfDay{start.hour, start.minute, 0};
        icalparameter* tzid = icalproperty_get_first_parameter(startProperty, ICAL_TZID_PARAMETER);
        const bool ownZone = tzid && !localZone.empty() && localZone == icalparameter_get_tzid(tzid);
        if (ownZone) {
            // Already the wall time here.
        } else if (start.zone) {
            if (const std::optional<LocalDateTime> wall = toLocal(start, clock)) {
                local.date = wall->date;
                local.time = TimeOfDay{wall->time.hour, wall->time.minute, 0};
            }
        } else if (tzid) {
            ev.notes.push_back("die Zeitzone " + inQuotes(icalparameter_get_tzid(tzid)) +
                               " ist unbekannt; die Uhrzeit gilt als Ortszeit.");
        }
    }
    const Date firstDate = local.date;

    // Zeitwache reminds once, at the appointment's time: the earliest reminder before the
    // start becomes that time.
    const int64_t startMinutes = minutesOf(local.date, local.time.value_or(TimeOfDay{}));
    std::optional<int64_t> earliest;
    for (icalcomponent* alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT)) {
        icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!trigger)
            continue;
        const icaltriggertype t = icalproperty_get_trigger(trigger);
        std::optional<int64_t> at;
        if (!icaltime_is_null_time(t.time)) {
            if (!validTime(t.time))
                continue;
            if (t.time.zone) {
                if (const std::optional<LocalDateTime> wall = toLocal(t.time, clock))
                    at = minutesOf(wall->date, wall->time);
            } else {
                at = minutesOf({t.time.year, t.time.month, t.time.day}, {t.time.hour, t.time.minute, 0});
            }
        } else {
            icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
            if (related && icalparameter_get_related(related) == ICAL_RELATED_END)
                continue;
            const int seconds = icaldurationtype_as_int(t.duration);
            at = startMinutes + (seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60));
        }
        if (at && *at < startMinutes && (!earliest || *at < *earliest))
            earliest = at;
    }
    if (earliest) {
        const LocalStart moved = fromMinutes(*earliest);
        local = moved;
        ev.notes.push_back("erinnert vor dem Beginn: gespeichert für den " + formatDate(moved.date) + " um " +
                           formatHourMinute(moved.time->hour, moved.time->minute) + ".");
    }

    if (local.date.year > kLastYear)
        return skip("das Jahr " + std::to_string(local.date.year) + " liegt nach " + std::to_string(kLastYear) +
                    ", dem letzten, das Zeitwache in iCalendar-Dateien schreibt.");

    transfer::AppointmentInput in;
    in.day = twoDigits(local.date.day);
    in.month = twoDigits(local.date.month);
    in.year = std::to_string(local.date.year);
    if (local.time)
        in.time = std::pair(twoDigits(local.time->hour), twoDigits(local.time->minute));

    int rules = 0;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
        ++rules;
        icalrecurrencetype r = icalproperty_get_rrule(p);
        const std::optional<line::RepeatKind> kind = rules == 1 ? kindOf(r, firstDate) : std::nullopt;
        if (kind) {
            in.repeat = *kind;
        } else {
            in.repeat = line::RepeatKind::None;
            ev.notes.push_back("die Wiederholung " + inQuotes(take(icalrecurrencetype_as_string_r(&r))) +
                               " lässt sich nicht abbilden; gespeichert ist nur der erste Termin.");
            break;
        }
    }
    if (in.repeat != line::RepeatKind::None && (icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY) ||
                                                icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY)))
        ev.notes.push_back("Ausnahmen (EXDATE) und zusätzliche Termine (RDATE) lassen sich nicht abbilden.");

    const std::string message =
        textOf(c, "SUMMARY", summary ? std::optional<std::string>(summary) : std::nullopt).value_or("");
    const std::string application = textOf(c, kApplication, xValue(c, kApplication)).value_or("");
    // Another program's event has no sound of ours: none, as the editor starts with.
    const std::string sound = textOf(c, kSound, xValue(c, kSound)).value_or(std::string(kNoSound));
    const std::pair<const char*, const std::string*> texts[] = {
        {"Die Nachricht", &message}, {"Die Anwendung oder Datei", &application}, {"Der Klang", &sound}};
    std::string* targets[] = {&in.message, &in.application, &in.sound};
    for (size_t i = 0; i < 3; ++i) {
        transfer::StorableText t = transfer::storableText(*texts[i].second, texts[i].first);
        if (!t.cp1252)
            return skip(t.problem);
        *targets[i] = std::move(*t.cp1252);
    }

    const std::optional<std::string> show = xValue(c, kShowIfExpired);
    in.showIfExpired = !show || isTrue(show);
    in.deleteAfterExecution = isTrue(xValue(c, kDeleteAfter));
    if (in.deleteAfterExecution && in.repeat != line::RepeatKind::None) {
        in.deleteAfterExecution = false;
        ev.notes.push_back("„Nach Ausführung löschen“ gilt nur für einmalige Termine und entfällt.");
    }
    in.active = !isTrue(xValue(c, kInactive)) && icalcomponent_get_status(c) != ICAL_STATUS_CANCELLED;
    ev.executed = isTrue(xValue(c, kExecuted));
    ev.input = std::move(in);
    return result;
}

// The clock's date and time, read once: every appointment of one import is checked against
// the same day.
class FrozenClock final : public Clock {
public:
    explicit FrozenClock(const Clock& clock) : now_(clock.now()) {}
    LocalDateTime now() const override { return now_; }

private:
    LocalDateTime now_;
};

std::string oneLine(std::string text)
{
    for (const char* pair : {"\n\r", "\r\n"}) {
        for (size_t at; (at = text.find(pair)) != std::string::npos;)
            text.replace(at, 2, " ");
    }
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

} // namespace

std::string systemZoneName()
{
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string name = tz[0] == ':' ? tz + 1 : tz;
        if (const std::string fromPath = zoneFromPath(name); !fromPath.empty())
            name = fromPath;
        return knownZone(name) ? name : std::string();
    }
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::read_symlink("/etc/localtime", ec);
    if (!ec) {
        if (const std::string name = zoneFromPath(target.string()); knownZone(name))
            return name;
    }
    if (const std::optional<std::string> content = readWholeFile("/etc/timezone")) {
        if (const std::string name = trimmed(content->substr(0, content->find('\n'))); knownZone(name))
            return name;
    }
    return {};
}

Export exportCalendar(const std::vector<std::string>& lines, const Clock& clock, const std::string& zone)
{
    Export out;
    const int currentYear = clock.now().date.year;
    const int64_t nowUtc = clock.utcSeconds().value_or(0);
    const icaltimetype stamp =
        icaltime_from_timet_with_zone(static_cast<time_t>(nowUtc), 0, icaltimezone_get_utc_timezone());

    out.text = "BEGIN:VCALENDAR\r\n";
    for (icalproperty* p : {icalproperty_new_version("2.0"), icalproperty_new_prodid("-//Zeitwache//Zeitwache 2.3//DE"),
                            icalproperty_new_calscale("GREGORIAN")}) {
        out.text += withWholeLineEnds(take(icalproperty_as_ical_string_r(p)));
        icalproperty_free(p);
    }
    if (icaltimezone* builtin = zone.empty() ? nullptr : icaltimezone_get_builtin_timezone(zone.c_str())) {
        // libical names its zones with a prefix of its own; the file uses the system's name.
        Component vtimezone(icalcomponent_new_clone(icaltimezone_get_component(builtin)));
        if (icalproperty* tzid = icalcomponent_get_first_property(vtimezone.get(), ICAL_TZID_PROPERTY))
            icalproperty_set_tzid(tzid, zone.c_str());
        out.text += withWholeLineEnds(take(icalcomponent_as_ical_string_r(vtimezone.get())));
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        try {
            const Component event = eventOf(lines[i], i, currentYear, zone, stamp);
            out.text += withWholeLineEnds(take(icalcomponent_as_ical_string_r(event.get())));
            ++out.written;
        } catch (const ZeitwacheError& e) {
            out.skipped.push_back("Termin " + std::to_string(i + 1) + " nicht geschrieben: " + e.what() + ".");
        }
    }
    out.text += "END:VCALENDAR\r\n";
    return out;
}

Calendar parseCalendar(std::string_view bytes, const Clock& clock, const std::string& localZone)
{
    Calendar calendar;
    std::vector<ComponentInfo> infos;
    if (std::optional<std::string> problem = checkStructure(bytes, infos)) {
        calendar.broken = std::move(problem);
        return calendar;
    }
    const Component root(icalparser_parse_string(std::string(bytes).c_str()));
    if (!root) {
        calendar.broken = "Die Datei lässt sich nicht als iCalendar lesen.";
        return calendar;
    }
    std::vector<icalcomponent*> components;
    inDocumentOrder(root.get(), components);
    // libical keeps every component the structure check saw, in the same order; should it
    // not, the report goes without line numbers rather than with wrong ones.
    const bool matched = components.size() == infos.size();
    for (size_t i = 0; i < components.size(); ++i) {
        icalcomponent* c = components[i];
        const ComponentInfo* info = matched ? &infos[i] : nullptr;
        if (icalproperty* error = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY)) {
            calendar.broken = describeError(error, info);
            calendar.events.clear();
            return calendar;
        }
        const icalcomponent_kind kind = icalcomponent_isa(c);
        if (kind != ICAL_VEVENT_COMPONENT && kind != ICAL_VTODO_COMPONENT)
            continue;
        EventResult r = readEvent(c, info, clock, localZone);
        if (r.broken) {
            calendar.broken = std::move(r.broken);
            calendar.events.clear();
            return calendar;
        }
        calendar.events.push_back(std::move(r.event));
    }
    return calendar;
}

ImportReport importCalendar(AppointmentList& list, const Clock& clock, const Calendar& calendar, bool replace)
{
    ImportReport report;
    const FrozenClock frozen(clock);
    std::vector<std::string> lines;
    std::vector<size_t> lineEvent;
    std::vector<std::string> skipReason(calendar.events.size());
    for (size_t i = 0; i < calendar.events.size(); ++i) {
        const Event& ev = calendar.events[i];
        if (!ev.input) {
            skipReason[i] = ev.skipped;
            continue;
        }
        std::variant<std::string, StoreRefusal> made = transfer::lineFromInput(list, frozen, *ev.input);
        if (const StoreRefusal* refusal = std::get_if<StoreRefusal>(&made)) {
            skipReason[i] = oneLine(refusal->text);
            continue;
        }
        std::string& l = std::get<std::string>(made);
        if (ev.executed)
            line::setFlag(l, line::kExecuted, '1');
        lines.push_back(std::move(l));
        lineEvent.push_back(i);
    }
    const std::vector<bool> stored = transfer::storeLines(list, lines, replace, frozen.now().date.year);
    for (size_t k = 0; k < lines.size(); ++k) {
        if (!stored[k]) {
            const std::string_view when = line::dateTimeField(lines[k]);
            skipReason[lineEvent[k]] = "am " + std::string(when.substr(0, 10)) +
                                       (when.substr(11, 1) == " " ? std::string() : " um " + std::string(when.substr(11))) +
                                       " steht schon ein Termin (--ersetzen überschreibt ihn).";
        }
    }
    for (size_t i = 0; i < calendar.events.size(); ++i) {
        const Event& ev = calendar.events[i];
        const std::string head = "Zeile " + std::to_string(ev.line) + " " +
                                 (ev.label.empty() ? std::string("(ohne Titel)") : inQuotes(ev.label)) + ": ";
        if (!skipReason[i].empty()) {
            ++report.skipped;
            report.text += head + "übersprungen: " + skipReason[i] + "\n";
            continue;
        }
        ++report.stored;
        for (const std::string& note : ev.notes)
            report.text += head + note + "\n";
    }
    report.text += std::to_string(report.stored) + " gespeichert, " + std::to_string(report.skipped) + " übersprungen.\n";
    return report;
}

} // namespace zw::ical
