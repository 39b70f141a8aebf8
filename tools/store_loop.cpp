// zeitwache-store-loop: stores appointments into termine.dat in a loop, through the same
// rules the manager's editor page uses (AppointmentEditor builds each line, AppointmentBook
// stores it and writes the file), so that scripts/attack-kill-saves can kill it at random
// moments and then check what lies on disk.
//
// Usage: zeitwache-store-loop DIR LOG SEED [STORES]
//   DIR     the data directory (termine.dat is loaded from there, or created empty)
//   LOG     a file the loop appends its protocol to, one line per event, each written
//           with a single write(2) so that a kill never leaves half a line:
//             geladen COUNT CRC SIZE   after loading: the file as it was found
//             neu I CRC SIZE           before change I: what the file holds once it is saved
//             fertig I                 change I is saved
//           CRC is the CRC-32 (as zlib computes it) of the file's bytes, SIZE their number.
//   SEED    chooses the changes; the same seed makes the same changes on the same file
//   STORES  stop after this many changes (default: run until killed)
//
// The changes: seven in ten are new appointments typed into the editor field by field,
// two in ten edit a stored appointment (loaded into the editor, message changed, stored
// back), one in ten deletes up to three appointments. Each is done first on a copy of the
// list, which gives the content the file must have afterwards; after the real change the
// list must equal the copy. Exit status 0 after STORES changes, 3 when loading reported a
// problem, 4 when the list and its copy differ, 5 when the log cannot be written.
#include "common/civil_time.h"
#include "common/zeitwache_error.h"
#include "manager/appointment_editor.h"
#include "scheduler/appointment_book.h"
#include "scheduler/due_check.h"
#include "store/appointment_list.h"
#include "store/data_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace zw;

class FixedClock final : public Clock {
public:
    LocalDateTime now() const override { return {{2026, 12, 8}, {9, 5, 30}}; }
};

// The loop runs no due check; nothing is ever carried out.
class NoExecutor final : public AppointmentExecutor {
public:
    void carryOut(const DueAppointment&) override {}
};

uint32_t crc32Of(const std::string& bytes)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

class Log {
public:
    explicit Log(const char* path) : fd_(::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)) {}
    ~Log()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    void line(const std::string& text)
    {
        const std::string whole = text + '\n';
        if (::write(fd_, whole.data(), whole.size()) != static_cast<ssize_t>(whole.size())) {
            std::fprintf(stderr, "zeitwache-store-loop: das Protokoll kann nicht geschrieben werden\n");
            std::exit(5);
        }
    }

private:
    int fd_;
};

std::string stateOf(const std::vector<std::string>& lines)
{
    const std::string bytes = joinLines(lines);
    return std::to_string(crc32Of(bytes)) + ' ' + std::to_string(bytes.size());
}

// Words of the messages, Windows-1252.
const std::vector<std::string> kWords = {"Zahnarzt", "Geburtstag", "M\xFCller", "Besprechung", "R\xFC" "ckruf",
                                         "Geschenke", "Steuererkl\xE4rung", "Stra\xDF" "e", "T\xDCV", "Blumen",
                                         "gie\xDF" "en", "\xC4rztin", "Backup", "Zeitung", "holen"};

class Loop {
public:
    Loop(const char* dir, Log& log, unsigned seed)
        : book_(dir, list_, clock_, executor_), editor_(list_, clock_, {"(Kein)", "gong.wav", "wecker.wav"}),
          log_(log), rng_(seed)
    {
    }

    int load()
    {
        if (const std::optional<std::string> problem = book_.load()) {
            std::fprintf(stderr, "zeitwache-store-loop: %s\n", problem->c_str());
            return 3;
        }
        log_.line("geladen " + std::to_string(list_.count()) + ' ' + stateOf(list_.lines()));
        return 0;
    }

    // One change; false when the list and its copy differ afterwards.
    bool change(long i)
    {
        const int kind = pick(10);
        if (kind == 0 && list_.count() > 0)
            remove(i);
        else if (kind <= 2 && list_.count() > 0)
            edit(i);
        else
            add(i);
        if (list_.lines() != copy_.lines()) {
            std::fprintf(stderr, "zeitwache-store-loop: nach Änderung %ld weicht die Liste von ihrer Kopie ab\n", i);
            return false;
        }
        log_.line("fertig " + std::to_string(i));
        return true;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    static std::string twoDigits(int n) { return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

    // Typed as a user types: one character after the other.
    void type(EditorField field, const std::string& text)
    {
        for (size_t n = 1; n <= text.size(); ++n)
            editor_.changeField(field, text.substr(0, n));
    }

    std::string message()
    {
        std::string m;
        const int words = 1 + pick(6);
        for (int w = 0; w < words; ++w)
            m += (w ? " " : "") + kWords[static_cast<size_t>(pick(static_cast<int>(kWords.size())))];
        return m;
    }

    void add(long i)
    {
        editor_.reset();
        type(EditorField::Day, twoDigits(1 + pick(28)));
        type(EditorField::Month, twoDigits(1 + pick(12)));
        type(EditorField::Year, std::to_string(2027 + pick(10)));
        editor_.leaveDateFields();
        if (pick(8) == 0) {
            editor_.setWithoutTime(true);
        } else {
            type(EditorField::Hour, twoDigits(pick(24)));
            type(EditorField::Minute, twoDigits(5 * pick(12)));
            editor_.leaveTimeFields();
        }
        static constexpr std::array kinds = {line::RepeatKind::None,  line::RepeatKind::None,
                                             line::RepeatKind::None,  line::RepeatKind::Daily,
                                             line::RepeatKind::Weekly, line::RepeatKind::Yearly};
        editor_.chooseRepeat(kinds[static_cast<size_t>(pick(static_cast<int>(kinds.size())))]);
        editor_.setShowIfExpired(pick(2) == 0);
        editor_.setMessage(message());
        editor_.chooseSound(pick(3));
        storeFromEditor(i);
    }

    void edit(long i)
    {
        const size_t pos = static_cast<size_t>(pick(static_cast<int>(list_.count())));
        editor_.load(pos);
        editor_.setMessage(message());
        storeFromEditor(i);
    }

    void storeFromEditor(long i)
    {
        std::variant<std::string, StoreRefusal> checked = editor_.lineToStore();
        if (std::holds_alternative<StoreRefusal>(checked)) {
            // Nothing is stored, nothing saved: the file stays as it is.
            log_.line("neu " + std::to_string(i) + ' ' + stateOf(list_.lines()));
            copy_ = list_;
            return;
        }
        const std::string line = std::get<std::string>(checked);
        // An appointment at the same date and time is replaced, as after "Ja".
        const auto yes = [] { return OverwriteAnswer::Yes; };

        copy_ = list_;
        AppointmentList::TrackedEntry copyEdited(copy_);
        copyEdited.set(editor_.editedEntry().position());
        copy_.place(line, copyEdited, yes, clock_.now().date.year);
        log_.line("neu " + std::to_string(i) + ' ' + stateOf(copy_.lines()));

        book_.store(line, editor_.editedEntry(), yes);
        editor_.markStored();
    }

    void remove(long i)
    {
        std::vector<size_t> positions;
        const int n = 1 + pick(3);
        for (int k = 0; k < n; ++k)
            positions.push_back(static_cast<size_t>(pick(static_cast<int>(list_.count()))));
        std::sort(positions.begin(), positions.end());
        positions.erase(std::unique(positions.begin(), positions.end()), positions.end());

        copy_ = list_;
        copy_.removeAll(positions);
        log_.line("neu " + std::to_string(i) + ' ' + stateOf(copy_.lines()));
        book_.removeEntries(positions);
    }

    FixedClock clock_;
    NoExecutor executor_;
    AppointmentList list_;
    AppointmentList copy_;
    AppointmentBook book_;
    AppointmentEditor editor_;
    Log& log_;
    std::mt19937 rng_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "Aufruf: %s VERZEICHNIS PROTOKOLL STARTWERT [AENDERUNGEN]\n", argv[0]);
        return 64;
    }
    Log log(argv[2]);
    if (!log.ok()) {
        std::fprintf(stderr, "zeitwache-store-loop: %s kann nicht geöffnet werden\n", argv[2]);
        return 5;
    }
    const long stores = argc == 5 ? std::strtol(argv[4], nullptr, 10) : -1;
    try {
        Loop loop(argv[1], log, static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)));
        if (const int failed = loop.load())
            return failed;
        for (long i = 1; stores < 0 || i <= stores; ++i)
            if (!loop.change(i))
                return 4;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zeitwache-store-loop: %s\n", e.what());
        return 1;
    }
    return 0;
}
