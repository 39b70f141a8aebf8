// Feeds arbitrary bytes, read as a sequence of what a user does on the manager's editor
// page (typing into the date and time fields, entering and leaving them, the spinners,
// "Ohne Zeitangabe", repetition, flags, texts, sound, storing, loading a line of the list,
// "Neuer Termin"), to the editor's rules, as the page would forward them: hour and minute
// only while they are enabled, each field no longer than the page lets it be, texts
// without control characters.
//
// After every step the page must hold a date that is valid or waits, with a day of 29 to
// 31, for its month or year, and a valid time unless it has none. A store either refuses
// with a message, or writes a line that reads back as exactly the date, time, texts and
// flags the page shows and that, loaded into a fresh editor, is stored again unchanged.
// A failed load changes nothing on the page.
#include "fuzz_support.h"

#include "common/civil_time.h"
#include "common/zeitwache_error.h"
#include "manager/appointment_editor.h"
#include "store/appointment_line.h"
#include "store/appointment_list.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <variant>
#include <vector>

namespace {

using namespace zw;
using F = EditorField;

class FixedClock : public Clock {
public:
    explicit FixedClock(LocalDateTime time) : time_(time) {}
    LocalDateTime now() const override { return time_; }

private:
    LocalDateTime time_;
};

// Among them a leap day and both sides of a change of century, where two-digit years
// turn over.
constexpr std::array<LocalDateTime, 4> kNow = {{
    {{2026, 12, 8}, {9, 5, 30}},
    {{2028, 2, 29}, {23, 59, 0}},
    {{2099, 12, 31}, {23, 59, 59}},
    {{2100, 1, 1}, {0, 0, 0}},
}};

const std::vector<std::string> kSounds = {"(Kein)", "gong.wav", "Glocke.WAV"};
// The lengths the page's fields take: day, month, year, hour, minute.
constexpr std::array<size_t, 5> kFieldLength = {2, 2, 4, 2, 2};
constexpr size_t kTextLimit = 256;

// The input read front to back; 0 once it is used up.
class Steps {
public:
    explicit Steps(std::string_view input) : input_(input) {}
    bool done() const { return input_.empty(); }
    unsigned byte()
    {
        if (input_.empty())
            return 0;
        auto b = static_cast<unsigned char>(input_.front());
        input_.remove_prefix(1);
        return b;
    }
    // Mostly digits and blanks, now and then any byte, as typing and pasting give.
    std::string typed(size_t maxLength)
    {
        std::string text;
        const size_t length = byte() % (maxLength + 1);
        for (size_t i = 0; i < length && !done(); ++i) {
            const unsigned b = byte();
            text += b >= 0xF0 ? static_cast<char>(byte()) : "0123456789 "[b % 11];
        }
        return text;
    }
    // Windows-1252 text without control characters, as the page's validator lets through.
    std::string text(size_t maxLength)
    {
        std::string t;
        const size_t length = byte() % (maxLength + 1);
        while (t.size() < length && !done()) {
            const auto c = static_cast<char>(byte());
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
                t += c;
        }
        return t;
    }
    // Any bytes but the ones that end a line in the data file.
    std::string line(size_t maxLength)
    {
        std::string t;
        const size_t length = (byte() | byte() << 8) % (maxLength + 1);
        for (size_t i = 0; i < length && !done(); ++i) {
            const auto c = static_cast<char>(byte());
            t += c == '\r' || c == '\n' || c == '\0' ? ' ' : c;
        }
        return t;
    }

private:
    std::string_view input_;
};

bool isNumberText(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return false;
    for (size_t i = first; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

std::optional<Date> shownDate(const AppointmentEditor& e, int currentYear)
{
    const std::string &d = e.text(F::Day), &m = e.text(F::Month), &y = e.text(F::Year);
    if (!isNumberText(d) || !isNumberText(m) || !isNumberText(y))
        return std::nullopt;
    return parseGermanDate(d + "." + m + "." + y, currentYear);
}

std::optional<TimeOfDay> shownTime(const AppointmentEditor& e)
{
    const std::string &h = e.text(F::Hour), &m = e.text(F::Minute);
    if (!isNumberText(h) || !isNumberText(m))
        return std::nullopt;
    return parseTime(h + ":" + m);
}

bool waitsForMonthOrYear(const AppointmentEditor& e)
{
    const std::string& d = e.text(F::Day);
    return d == "29" || d == "30" || d == "31";
}

// Everything the page shows.
auto pageOf(const AppointmentEditor& e)
{
    std::array<std::string, 5> texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = e.text(static_cast<F>(i));
    return std::make_tuple(texts, e.withoutTime(), e.chosenRepeat(), e.repeatWord(), e.active(), e.showIfExpired(),
                           e.deleteAfterExecution(), e.message(), e.application(), e.soundEntry(),
                           e.listenEnabled(), e.modified(), e.editIndex(), e.dateSpinner().enabled,
                           e.timeSpinner().enabled);
}

class Session {
public:
    explicit Session(const LocalDateTime& now) : clock_(now), editor_(list_, clock_, kSounds) { editor_.reset(); }

    void run(Steps& steps)
    {
        check();
        remember();
        while (!steps.done()) {
            trace(step(steps));
            check();
        }
        store(steps);
        check();
    }

private:
    int year() const { return clock_.now().date.year; }

    // Returns the operation, for the trace.
    unsigned step(Steps& steps)
    {
        const unsigned op = steps.byte();
        const auto field = static_cast<F>(steps.byte() % 5);
        const bool timeField = field >= F::Hour;
        switch (op % 16) {
        case 0:
        case 1:
        case 2:
        case 3: {
            // The page's fields hold so many characters; a long paste is cut.
            std::string typed = steps.typed(kFieldLength[static_cast<size_t>(field)]);
            if (timeField && editor_.withoutTime())
                break; // disabled
            const std::string before = editor_.text(field);
            editor_.changeField(field, typed);
            const std::string& shown = editor_.text(field);
            // What was typed, or a text the field showed before.
            FUZZ_CHECK(shown == typed || shown == before || wasShown(field, shown));
            break;
        }
        case 4:
            editor_.leaveDateFields();
            break;
        case 5:
            if (!editor_.withoutTime())
                editor_.leaveTimeFields();
            break;
        case 6:
            if (timeField && editor_.withoutTime())
                break;
            try {
                editor_.enterField(field);
                FUZZ_CHECK(isNumberText(editor_.text(field)));
            } catch (const ZeitwacheError&) {
                FUZZ_CHECK(!isNumberText(editor_.text(field)) || editor_.text(field).size() > 9);
                FUZZ_CHECK(!(timeField ? editor_.timeSpinner() : editor_.dateSpinner()).enabled);
            }
            break;
        case 7: {
            const int by = static_cast<int8_t>(steps.byte());
            // The spinner works the focused field, and a disabled one has no focus.
            if (!(timeField && editor_.withoutTime()))
                editor_.spin(field, op & 0x80 ? by * 100 : by % 3);
            break;
        }
        case 8:
            editor_.setWithoutTime(op & 0x80);
            break;
        case 9:
            editor_.chooseRepeat(static_cast<line::RepeatKind>(steps.byte() % 6));
            break;
        case 10:
            editor_.setActive(op & 0x80);
            break;
        case 11:
            editor_.setShowIfExpired(op & 0x80);
            break;
        case 12: {
            const bool wanted = op & 0x80;
            editor_.setDeleteAfterExecution(wanted);
            FUZZ_CHECK(editor_.deleteAfterExecution() == (wanted && editor_.deleteAfterExecutionEnabled()));
            break;
        }
        case 13:
            if (op & 0x80) {
                editor_.setApplication(steps.text(kTextLimit));
            } else {
                editor_.setMessage(steps.text(kTextLimit));
                // No sound without a message.
                if (editor_.message().empty())
                    FUZZ_CHECK(editor_.soundEntry() == 0 && !editor_.listenEnabled());
            }
            break;
        case 14:
            editor_.chooseSound(static_cast<int>(steps.byte() % (kSounds.size() + 2)) - 1);
            // "Anhören" is off only for "(Kein)"; with no entry at all it stays on.
            FUZZ_CHECK(editor_.listenEnabled() == (editor_.soundEntry() != 0));
            break;
        case 15:
            switch (steps.byte() % 5) {
            case 0:
            case 1:
                store(steps);
                break;
            case 2:
                load(steps);
                break;
            case 3:
                editor_.reset();
                FUZZ_CHECK(!editor_.modified() && editor_.editIndex() == -1);
                break;
            case 4:
                // A line of the data file that the editor did not write, damaged or not.
                list_.append(steps.line(1200));
                break;
            }
            break;
        }
        remember();
        return op;
    }

    // ZEITWACHE_FUZZ_TRACE=1 shows the page after every step, for reading a finding.
    void trace(unsigned op) const
    {
        static const bool on = std::getenv("ZEITWACHE_FUZZ_TRACE") != nullptr;
        if (!on)
            return;
        std::fprintf(stderr, "after %2u%s:", op % 16, op & 0x80 ? "+" : " ");
        for (size_t i = 0; i < 5; ++i)
            std::fprintf(stderr, " '%s'", editor_.text(static_cast<F>(i)).c_str());
        std::fprintf(stderr, " withoutTime=%d repeat=%d message='%s' list=%zu edit=%d\n", editor_.withoutTime(),
                     static_cast<int>(editor_.chosenRepeat()), editor_.message().c_str(), list_.count(),
                     editor_.editIndex());
    }

    bool wasShown(F field, const std::string& text) const
    {
        for (const auto& t : shown_[static_cast<size_t>(field)])
            if (t == text)
                return true;
        return false;
    }

    void remember()
    {
        for (size_t i = 0; i < shown_.size(); ++i) {
            const std::string& t = editor_.text(static_cast<F>(i));
            if (!wasShown(static_cast<F>(i), t))
                shown_[i].push_back(t);
        }
    }

    void check()
    {
        const std::optional<Date> date = shownDate(editor_, year());
        // A valid date turns invalid only while the day (29 to 31) waits for its month or
        // year, or with a damaged line loaded. Invalid, it may stay so after the day
        // changes, when a field was kept meanwhile (month 94 typed while the day waited):
        // the store then reports it.
        FUZZ_CHECK(date || waitsForMonthOrYear(editor_) || invalidBefore_ || loadedLine_);
        invalidBefore_ = !date;
        loadedLine_ = false;
        if (!editor_.withoutTime())
            FUZZ_CHECK(shownTime(editor_).has_value());
        FUZZ_CHECK(editor_.timeSeparator() == (editor_.withoutTime() ? "" : ":"));
        for (const EditorSpinner* s : {&editor_.dateSpinner(), &editor_.timeSpinner()})
            if (s->enabled)
                FUZZ_CHECK(s->minimum <= s->position && s->position <= s->maximum);
        if (editor_.deleteAfterExecution())
            FUZZ_CHECK(editor_.chosenRepeat() == line::RepeatKind::None);
        FUZZ_CHECK(editor_.soundEntry() >= -1 && editor_.soundEntry() < static_cast<int>(kSounds.size()));
        FUZZ_CHECK(editor_.soundListEnabled() == !editor_.message().empty());
        FUZZ_CHECK(editor_.editIndex() == -1 ||
                   (editor_.editIndex() >= 1 && editor_.editIndex() <= static_cast<int>(list_.count())));
    }

    void store(Steps& steps)
    {
        const bool validBefore = shownDate(editor_, year()).has_value();
        std::variant<std::string, StoreRefusal> result;
        try {
            result = editor_.lineToStore();
        } catch (const ZeitwacheError&) {
            // A date that no message describes (a day of 30 with month 13, say), or a year
            // below 100 that the line cannot hold.
            const std::optional<Date> date = shownDate(editor_, year());
            FUZZ_CHECK(!date || date->year < 100);
            return;
        }
        if (const auto* refusal = std::get_if<StoreRefusal>(&result)) {
            FUZZ_CHECK(!refusal->title.empty() && !refusal->text.empty());
            FUZZ_CHECK(!shownDate(editor_, year()) || (editor_.message().empty() && editor_.application().empty()));
            return;
        }
        // What is stored was completed first. (From an invalid page the completion can put
        // back an earlier text in the middle, which stays as it was; the date read is the
        // one stored all the same.)
        if (validBefore)
            for (F f : {F::Day, F::Month, F::Year})
                FUZZ_CHECK(editor_.text(f).size() >= 2);
        const std::string& l = std::get<std::string>(result);
        const std::optional<Date> date = shownDate(editor_, year());
        FUZZ_CHECK(date.has_value());
        // The line says what the page shows.
        FUZZ_CHECK(line::readDate(l, year()) == *date);
        if (editor_.text(F::Hour) == "  ") {
            FUZZ_CHECK(line::timeField(l) == "     ");
        } else {
            const std::optional<TimeOfDay> time = shownTime(editor_);
            FUZZ_CHECK(time.has_value());
            FUZZ_CHECK(line::readTimeMinutes(l) == time->hour * 60 + time->minute);
            FUZZ_CHECK(line::timeField(l) != "     ");
        }
        FUZZ_CHECK(line::repeatField(l) == editor_.repeatWord());
        FUZZ_CHECK(line::activeField(l) == (editor_.active() ? line::kActive : line::kInactive));
        FUZZ_CHECK(line::flag(l, line::kShowIfExpired) == (editor_.showIfExpired() ? '1' : '0'));
        FUZZ_CHECK(line::flag(l, line::kDeleteAfterExecution) == (editor_.deleteAfterExecution() ? '1' : '0'));
        FUZZ_CHECK(line::flag(l, line::kExecuted) == '0');
        const line::Texts texts = line::readTexts(l);
        FUZZ_CHECK(texts.message == editor_.message() && texts.application == editor_.application() &&
                   texts.sound == editor_.soundText());
        roundTrip(l);

        AppointmentList::StoreResult stored = AppointmentList::StoreResult::Declined;
        const auto answer = static_cast<OverwriteAnswer>(steps.byte() % 3);
        try {
            stored = list_.place(l, editor_.editedEntry(), [&] { return answer; }, year());
        } catch (const ZeitwacheError&) {
            // A damaged line in the way; the entry being edited is still where it was.
            return;
        }
        if (stored == AppointmentList::StoreResult::Stored) {
            FUZZ_CHECK(editor_.editIndex() >= 1 && list_.get(static_cast<size_t>(editor_.editIndex() - 1)) == l);
            editor_.markStored();
            FUZZ_CHECK(!editor_.modified());
        }
    }

    // Loaded into a fresh editor, the line shows its own fields and is stored unchanged.
    void roundTrip(const std::string& l)
    {
        AppointmentList other;
        other.append(l);
        AppointmentEditor fresh(other, clock_, kSounds);
        fresh.reset();
        // A word the editor cannot choose keeps the choice the page had.
        fresh.chooseRepeat(editor_.chosenRepeat());
        fresh.load(0);
        FUZZ_CHECK(!fresh.modified() && fresh.editIndex() == 1);
        FUZZ_CHECK(fresh.text(F::Day) == l.substr(1, 2) && fresh.text(F::Month) == l.substr(4, 2) &&
                   fresh.text(F::Year) == l.substr(7, 4));
        FUZZ_CHECK(fresh.withoutTime() == (line::timeField(l) == "     "));
        if (!fresh.withoutTime())
            FUZZ_CHECK(fresh.text(F::Hour) == l.substr(12, 2) && fresh.text(F::Minute) == l.substr(15, 2));
        const std::variant<std::string, StoreRefusal> again = fresh.lineToStore();
        FUZZ_CHECK(std::holds_alternative<std::string>(again));
        FUZZ_CHECK(std::get<std::string>(again) == l);
    }

    void load(Steps& steps)
    {
        const size_t position = steps.byte() % (list_.count() + 1);
        const auto before = pageOf(editor_);
        try {
            editor_.load(position);
        } catch (const ZeitwacheError&) {
            FUZZ_CHECK(pageOf(editor_) == before);
            return;
        }
        FUZZ_CHECK(position < list_.count());
        FUZZ_CHECK(!editor_.modified() && editor_.editIndex() == static_cast<int>(position) + 1);
        const std::string& l = list_.get(position);
        FUZZ_CHECK(editor_.text(F::Day) == line::slice(l, 2, 2) && editor_.text(F::Month) == line::slice(l, 5, 2) &&
                   editor_.text(F::Year) == line::slice(l, 8, 4));
        FUZZ_CHECK(editor_.message() == line::readTexts(l).message);
        // A line of the list need not hold a date; the page then shows what it holds.
        loadedLine_ = true;
    }

    FixedClock clock_;
    AppointmentList list_;
    AppointmentEditor editor_;
    bool loadedLine_ = false;      // this step loaded a line
    bool invalidBefore_ = false;   // the date was invalid before this step
    std::array<std::vector<std::string>, 5> shown_;
};

void fuzzOne(std::string_view input)
{
    Steps steps(input);
    Session session(kNow[steps.byte() % kNow.size()]);
    session.run(steps);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zw::fuzz::runOne(fuzzOne, data, size);
}
