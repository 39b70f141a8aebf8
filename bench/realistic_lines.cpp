#include "bench/realistic_lines.h"

#include "common/sound_name.h"
#include "scheduler/due_check.h"
#include "store/appointment_line.h"
#include "store/data_file.h"

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <stdexcept>
#include <string_view>

namespace zw::bench {

namespace {

using line::RepeatKind;

// Windows-1252 words: \xE4 ä, \xF6 ö, \xFC ü, \xDF ß, \xC4 Ä, \xDC Ü.
constexpr std::array<std::string_view, 32> kWords = {
    "Zahnarzt",  "Geburtstag",  "M\xFCller",   "Besprechung", "R\xFC" "ckruf",   "Geschenke",
    "einpacken", "Steuererkl\xE4rung", "abgeben", "Stra\xDF" "e", "Termin",       "mit",
    "Frau",      "Herrn",       "Schulz",     "Auto",        "T\xDCV",           "Werkstatt",
    "Zeitung",   "holen",       "\xC4rztin",  "Blumen",      "gie\xDF" "en",     "Backup",
    "pr\xFC" "fen", "Projekt",  "Abgabe",     "Kindergarten", "abholen",         "Sitzung",
    "um",        "Raum 4.11"};

constexpr std::array<std::string_view, 5> kApplications = {
    "C:\\Programme\\Office\\winword.exe", "C:\\Tools\\backup.bat", "notepad.exe C:\\Daten\\liste.txt",
    "C:\\Eigene Dateien\\Reisekosten.xls", "calc.exe"};
constexpr std::array<std::string_view, 4> kSounds = {"gong.wav", "wecker.wav", "glocke.wav", "ding.wav"};

std::string message(std::mt19937& rng)
{
    const size_t length = std::uniform_int_distribution<size_t>(10, 80)(rng);
    std::uniform_int_distribution<size_t> word(0, kWords.size() - 1);
    std::string text;
    while (text.size() < length) {
        if (!text.empty())
            text += ' ';
        text += kWords[word(rng)];
    }
    text.resize(length);
    return text;
}


long long value(const std::string& l) { return line::readDateTimeValue(l, kCurrentYear); }

class FixedClock : public Clock {
public:
    LocalDateTime now() const override { return kCheckTime; }
};

// Records what a due check would carry out and leaves the list alone.
class DueRecorder : public AppointmentExecutor {
public:
    std::vector<size_t> due;
    void carryOut(const DueAppointment& a) override { due.push_back(a.index); }
};

std::vector<size_t> dueAt(const std::vector<std::string>& lines)
{
    AppointmentList list;
    list.assign(lines);
    FixedClock clock;
    DueRecorder recorder;
    DueCheck check(list, clock, recorder);
    check.run(kCheckTime); // a fresh check: the first run of the day
    return recorder.due;
}

} // namespace

std::vector<std::string> realisticLines(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    const auto first = dayNumber({2016, 1, 1});
    const auto last = dayNumber({2035, 12, 31});
    const long long now = dayNumber(kCheckTime.date) * 1440 + kCheckTime.time.hour * 60 + kCheckTime.time.minute;
    std::uniform_int_distribution<long long> day(first, last);
    std::uniform_int_distribution<int> hour(6, 21);
    std::uniform_int_distribution<int> fiveMinutes(0, 11);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<size_t> application(0, kApplications.size() - 1);
    std::uniform_int_distribution<size_t> sound(0, kSounds.size() - 1);
    // In the order of RepeatKind: most appointments are one-off, daily and weekly
    // reminders come next.
    std::discrete_distribution<int> repeat({70, 2, 10, 8, 6, 4});

    std::vector<std::pair<long long, std::string>> keyed;
    keyed.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        line::Appointment a;
        a.date = dateFromDayNumber(day(rng));
        if (percent(rng) < 85)
            a.time = TimeOfDay{hour(rng), fiveMinutes(rng) * 5, 0};
        a.repeat = static_cast<RepeatKind>(repeat(rng));
        a.active = percent(rng) < 90;
        a.showIfExpired = percent(rng) < 40;
        a.deleteAfterExecution = a.repeat == RepeatKind::None && percent(rng) < 15;
        a.message = message(rng);
        if (percent(rng) < 20)
            a.application = kApplications[application(rng)];
        a.sound = percent(rng) < 50 ? std::string(kNoSound) : std::string(kSounds[sound(rng)]);
        std::string l = line::compose(a, kCurrentYear);
        const long long v = value(l);
        // A file the program has kept: what lay in the past has been shown.
        if (v < now && (a.showIfExpired || (a.repeat == RepeatKind::None && percent(rng) < 80)))
            line::setFlag(l, line::kExecuted, '1');
        keyed.emplace_back(v, std::move(l));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::string> lines;
    lines.reserve(n);
    for (auto& k : keyed)
        lines.push_back(std::move(k.second));
    return asLoaded(lines);
}

std::vector<std::string> asLoaded(const std::vector<std::string>& lines)
{
    return splitLines(joinLines(lines));
}

std::vector<std::string> scatteredInMemory(const std::vector<std::string>& lines)
{
    std::vector<size_t> order(lines.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    std::vector<std::string> scattered(lines.size());
    for (size_t i : order)
        scattered[i] = lines[i];
    return scattered;
}

const std::vector<std::string>& linesNoneDue(size_t n)
{
    static std::map<size_t, std::vector<std::string>> cache;
    auto found = cache.find(n);
    if (found != cache.end())
        return found->second;

    // A few lines more than needed, the due ones dropped, the surplus thinned out evenly
    // so that the spread of dates stays as it was.
    std::vector<std::string> lines = realisticLines(n + n / 20 + 16);
    std::vector<size_t> due = dueAt(lines);
    for (auto it = due.rbegin(); it != due.rend(); ++it)
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*it));
    if (lines.size() < n)
        throw std::runtime_error("too many due lines in the generated list");
    std::vector<std::string> kept;
    kept.reserve(n);
    const size_t surplus = lines.size() - n;
    for (size_t i = 0, dropped = 0; i < lines.size(); ++i) {
        // Drop line i when it is the next of `surplus` evenly spaced ones.
        if (dropped < surplus && (i + 1) * surplus >= (dropped + 1) * lines.size()) {
            ++dropped;
            continue;
        }
        kept.push_back(std::move(lines[i]));
    }
    kept = asLoaded(kept);
    if (kept.size() != n || !dueAt(kept).empty())
        throw std::runtime_error("the list for the none-due benchmark is not what it should be");
    return cache.emplace(n, std::move(kept)).first->second;
}

std::vector<long long> dateTimeValues(const std::vector<std::string>& lines)
{
    std::vector<long long> values;
    values.reserve(lines.size());
    for (const auto& l : lines)
        values.push_back(value(l));
    return values;
}

TempDir::TempDir()
{
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("zeitwache-bench-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace zw::bench
