#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zw {

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

    void setSaver(Saver saver) { saver_ = std::move(saver); }

    size_t count() const { return lines_.size(); }
    const std::string& get(size_t pos) const;
    void put(size_t pos, std::string line);
    void remove(size_t pos);
    void insert(size_t pos, std::string line);
    void append(std::string line);
    void assign(std::vector<std::string> lines) { lines_ = std::move(lines); }
    const std::vector<std::string>& lines() const { return lines_; }

    void save() const;

    // Stores `line` at its place in date order. editPosition is the position + 1 of the
    // entry the line replaces; 0 or less stores a new appointment. An equal date and time
    // asks `ask`: Yes replaces that entry, No and Cancel keep the list as it was. The list
    // is saved either way. A damaged line met while scanning throws; the entry being
    // edited is then back at its place, so a failed store never loses an appointment.
    StoreResult store(std::string line, int editPosition, const OverwriteQuery& ask, int currentYear);

private:
    void checkIndex(size_t pos, size_t limit) const;

    std::vector<std::string> lines_;
    Saver saver_;
};

} // namespace zw
