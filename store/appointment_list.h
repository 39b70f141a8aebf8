#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zw {

// Removes the elements at the positions [first, last) (ascending, each once, each within
// `items`) in one pass that moves each kept element once.
template <class T, class Position>
void removePositions(std::vector<T>& items, Position first, Position last)
{
    if (first == last)
        return;
    size_t kept = *first;
    for (size_t i = *first; i < items.size(); ++i) {
        if (first != last && *first == i)
            ++first;
        else
            items[kept++] = std::move(items[i]);
    }
    items.resize(kept);
}

enum class OverwriteAnswer { Yes, No, Cancel };

// The one in-memory list of appointment lines, in ascending order of their date and time.
// Operations work by position (0-based); a position that does not exist throws the list
// error. Whoever changes the list writes it with save(), which hands the lines to the
// saver (the data file in the program, a recorder in tests).
class AppointmentList {
public:
    using Saver = std::function<void(const std::vector<std::string>&)>;
    // Asked when an appointment already stands at the same date and time.
    using OverwriteQuery = std::function<OverwriteAnswer()>;
    enum class StoreResult { Stored, Declined };

    // Told of every change of the list right after it happened, so that a view of it can
    // follow without reading it all again.
    class Observer {
    public:
        virtual ~Observer() = default;
        // The entries at these positions (ascending, as they were before) are gone.
        virtual void entriesRemoved(const std::vector<size_t>& positions) = 0;
        // A new entry stands at pos; those from pos on moved down by one.
        virtual void entryInserted(size_t pos) = 0;
        // The line at pos was replaced; nothing moved.
        virtual void entryChanged(size_t pos) = 0;
        // The whole list was replaced.
        virtual void entriesReplaced() = 0;
    };
    // Watching changes nothing: a reader of the list may watch it too.
    void addObserver(Observer* observer) const { observers_.push_back(observer); }
    void removeObserver(Observer* observer) const;

    // The position of one entry, kept right while lines are removed or inserted around
    // it; empty once the entry itself is removed or the list is replaced. Whoever holds a
    // position across a turn of the event loop (the editor, an alarm window, a dialog)
    // holds it this way, so that a change of the list meanwhile never makes it name
    // another appointment.
    class TrackedEntry : public Observer {
    public:
        explicit TrackedEntry(const AppointmentList& list);
        ~TrackedEntry() override;
        TrackedEntry(const TrackedEntry&) = delete;
        TrackedEntry& operator=(const TrackedEntry&) = delete;

        std::optional<size_t> position() const { return present_ ? std::optional<size_t>(at_) : std::nullopt; }
        // Where the entries after it begin: one past the entry while it stands; once it is
        // gone, where the entry that followed it moved up to; 0 after the list was replaced.
        size_t following() const { return present_ ? at_ + 1 : at_; }
        void set(std::optional<size_t> pos);
        // Called once the entry has left the list (removed, or the list replaced), so a
        // window can take back the command that would act on it.
        void whenGone(std::function<void()> gone) { gone_ = std::move(gone); }

        void entriesRemoved(const std::vector<size_t>& positions) override;
        void entryInserted(size_t pos) override;
        void entryChanged(size_t) override {}
        void entriesReplaced() override;

    private:
        void leave();

        const AppointmentList& list_;
        std::function<void()> gone_;
        // The entry's position while present_, else the place it left.
        size_t at_ = 0;
        bool present_ = false;
    };

    AppointmentList() = default;
    // Observers belong to one list: a copy starts without any.
    AppointmentList(const AppointmentList& other) : lines_(other.lines_), saver_(other.saver_) {}
    AppointmentList& operator=(const AppointmentList& other);
    ~AppointmentList() = default;

    void setSaver(Saver saver) { saver_ = std::move(saver); }

    size_t count() const { return lines_.size(); }
    const std::string& get(size_t pos) const;
    void put(size_t pos, std::string line);
    void remove(size_t pos);
    // Removes the entries at these positions (ascending, each once) in one pass.
    void removeAll(const std::vector<size_t>& positions);
    void insert(size_t pos, std::string line);
    void append(std::string line);
    void assign(std::vector<std::string> lines);
    const std::vector<std::string>& lines() const { return lines_; }

    void save() const;
    // Counts the changes of the lines: equal revisions of one list, equal lines.
    uint64_t revision() const { return revision_; }

    // Stores `line` at its place in date order. editPosition is the position + 1 of the
    // entry the line replaces; 0 or less stores a new appointment. An equal date and time
    // asks `ask`: Yes replaces that entry, No and Cancel keep the list as it was. The list
    // is saved either way. A damaged line met while scanning throws; the entry being
    // edited is then back at its place, so a failed store never loses an appointment.
    StoreResult store(std::string line, int editPosition, const OverwriteQuery& ask, int currentYear);

    // The same without saving: `edited` names the entry the line replaces (empty for a new
    // appointment) and afterwards the stored line, or the old version when it stayed.
    StoreResult place(std::string line, TrackedEntry& edited, const OverwriteQuery& ask, int currentYear);

private:
    void checkIndex(size_t pos, size_t limit) const;

    std::vector<std::string> lines_;
    uint64_t revision_ = 0;
    Saver saver_;
    mutable std::vector<Observer*> observers_;
};

} // namespace zw
