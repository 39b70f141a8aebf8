#pragma once
#include "common/civil_time.h"
#include "store/appointment_line.h"
#include "store/appointment_list.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zw {

enum class EditorField { Day, Month, Year, Hour, Minute };

// The up-down control shared by the date fields, or by the time fields.
struct EditorSpinner {
    bool enabled = false;
    EditorField field = EditorField::Day;
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};

// A message the store shows instead of storing (UTF-8).
struct StoreRefusal {
    std::string title;
    std::string text;
};

// The rules of the manager's editor page, without a screen: what each field holds, which
// controls are on, what a store writes and what loading a line puts on the page. The page
// forwards every user change here and shows the state afterwards. Field texts are ASCII;
// message, application and sound names Windows-1252.
class AppointmentEditor {
public:
    // The message and the application field take at most this many characters.
    static constexpr std::size_t kTextLimit = 256;

    // soundEntries: the sound list as the page shows it, "(Kein)" first.
    AppointmentEditor(AppointmentList& list, const Clock& clock, std::vector<std::string> soundEntries);

    // --- date and time fields
    const std::string& text(EditorField field) const { return texts_[index(field)]; }
    // The user changed the field: the date or time check runs, and text(field) is what the
    // field shows afterwards (what was typed, or the last accepted text put back).
    void changeField(EditorField field, std::string typed);
    // Leaving a date field completes all three, leaving a time field both.
    void leaveDateFields();
    void leaveTimeFields();
    // Entering a field attaches its spinner at the field's number; a field that holds no
    // number throws the conversion error (the spinner then stays off).
    void enterField(EditorField field);
    // An arrow of the spinner attached to `field`: one step, no wrap-around.
    void spin(EditorField field, int steps);
    const EditorSpinner& dateSpinner() const { return dateSpinner_; }
    const EditorSpinner& timeSpinner() const { return timeSpinner_; }

    // --- "Ohne Zeitangabe"
    void setWithoutTime(bool checked);
    bool withoutTime() const { return withoutTime_; }
    // The ":" between hour and minute, empty without time.
    std::string timeSeparator() const { return withoutTime_ ? std::string() : std::string(":"); }

    // --- repetition and flags
    void chooseRepeat(line::RepeatKind kind);
    line::RepeatKind chosenRepeat() const { return chosenRepeat_; }
    // The word the store writes: the chosen button's, or an unknown word as loaded.
    const std::string& repeatWord() const { return repeatWord_; }
    void setActive(bool checked);
    bool active() const { return active_; }
    void setShowIfExpired(bool checked);
    bool showIfExpired() const { return showIfExpired_; }
    void setDeleteAfterExecution(bool checked);
    bool deleteAfterExecution() const { return deleteAfter_; }
    bool deleteAfterExecutionEnabled() const { return chosenRepeat_ == line::RepeatKind::None; }

    // --- message, application, sound
    void setMessage(std::string cp1252);
    const std::string& message() const { return message_; }
    void setApplication(std::string cp1252);
    const std::string& application() const { return application_; }
    // -1 chooses no entry.
    void chooseSound(int entry);
    int soundEntry() const { return soundEntry_; }
    // The list's text: the chosen entry, or empty with none chosen.
    std::string soundText() const;
    const std::vector<std::string>& soundEntries() const { return sounds_; }
    bool soundListEnabled() const { return !message_.empty(); }
    bool listenEnabled() const { return listenEnabled_; }

    // --- the appointment as a whole
    // Unsaved changes; also whether "Termin Speichern" is on.
    bool modified() const { return modified_; }
    // `EditIndex`: the position + 1 of the entry the page holds, -1 for a new one. It
    // follows the entry while lines before it go; it is -1 once the entry itself is gone.
    int editIndex() const;
    AppointmentList::TrackedEntry& editedEntry() { return edited_; }

    // `feldersetup`: a new appointment at the clock's current date and time.
    void reset();
    // `sichern` up to the line: completes the fields, checks the date and the content and
    // builds the line. A date that no message describes throws the conversion error.
    std::variant<std::string, StoreRefusal> lineToStore();
    // The store is complete: nothing unsaved any more.
    void markStored() { modified_ = false; }
    // `editieren`: puts the line at `position` on the page. A position that does not
    // exist, or a line whose lengths cannot be read, throws and changes nothing.
    void load(std::size_t position);

private:
    static std::size_t index(EditorField field) { return static_cast<std::size_t>(field); }
    static bool isDateField(EditorField field) { return field <= EditorField::Year; }
    std::string& textOf(EditorField field) { return texts_[index(field)]; }
    bool dateIsValid() const;
    bool timeIsValid() const;
    void checkDate(EditorField field);
    void checkTime(EditorField field);
    void padWithZero(EditorField field);
    void applyWithoutTime(bool checked);
    void markModified() { modified_ = true; }

    AppointmentList& list_;
    const Clock& clock_;
    std::vector<std::string> sounds_;
    AppointmentList::TrackedEntry edited_;

    std::array<std::string, 5> texts_{"0", "01", "0000", "0", "00"};
    std::array<std::string, 5> lastAccepted_ = texts_;
    std::array<std::string, 2> savedTime_;
    EditorSpinner dateSpinner_;
    EditorSpinner timeSpinner_{false, EditorField::Hour, 0, 0, 0};
    bool withoutTime_ = false;
    bool noTimeMode_ = false;
    line::RepeatKind chosenRepeat_ = line::RepeatKind::None;
    std::string repeatWord_{line::kRepeatNone};
    bool active_ = true;
    bool showIfExpired_ = true;
    bool deleteAfter_ = false;
    std::string message_;
    std::string application_;
    int soundEntry_ = 0;
    bool listenEnabled_ = false;
    bool modified_ = false;
};

} // namespace zw
