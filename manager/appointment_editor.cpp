#include "manager/appointment_editor.h"

#include "common/sound_name.h"
#include "common/zeitwache_error.h"
#include "manager/sound_list.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace zw {

namespace {

constexpr char kBlankTime[] = "  ";

// A field's part of a date or time: blanks, then decimal digits, nothing else. The
// general readers would also take an empty year as the current one.
bool isNumberText(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    return first != std::string::npos &&
           std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> numberOf(const std::string& text)
{
    if (!isNumberText(text) || text.size() > 9)
        return std::nullopt;
    return std::atoi(text.c_str());
}

std::string fromSlice(std::string_view line, size_t pos, size_t len)
{
    return std::string(line::slice(line, pos, len));
}

} // namespace

AppointmentEditor::AppointmentEditor(AppointmentList& list, const Clock& clock, std::vector<std::string> soundEntries)
    : list_(list), clock_(clock), sounds_(std::move(soundEntries)), edited_(list)
{
    if (sounds_.empty() || sounds_.front() != kNoSound)
        sounds_.insert(sounds_.begin(), std::string(kNoSound));
}

int AppointmentEditor::editIndex() const
{
    const std::optional<size_t> position = edited_.position();
    return position ? static_cast<int>(*position) + 1 : -1;
}

bool AppointmentEditor::dateIsValid() const
{
    const std::string& day = text(EditorField::Day);
    const std::string& month = text(EditorField::Month);
    const std::string& year = text(EditorField::Year);
    return isNumberText(day) && isNumberText(month) && isNumberText(year) &&
           parseGermanDate(day + "." + month + "." + year, clock_.now().date.year).has_value();
}

bool AppointmentEditor::timeIsValid() const
{
    const std::string& hour = text(EditorField::Hour);
    const std::string& minute = text(EditorField::Minute);
    return isNumberText(hour) && isNumberText(minute) && parseTime(hour + ":" + minute).has_value();
}

void AppointmentEditor::changeField(EditorField field, std::string typed)
{
    // A field changes only when its text does, as a text field reports it.
    if (typed == text(field))
        return;
    textOf(field) = std::move(typed);
    if (isDateField(field))
        checkDate(field);
    else
        checkTime(field);
}

void AppointmentEditor::checkDate(EditorField field)
{
    if (dateIsValid()) {
        lastAccepted_[index(field)] = text(field);
        markModified();
        return;
    }
    const std::string& day = text(EditorField::Day);
    // The user may be about to change the month or the year; the store reports a date
    // that is still invalid then.
    if (day == "31" || day == "30" || day == "29")
        return;
    // Putting the last accepted text back is a change of its own, checked again.
    changeField(field, lastAccepted_[index(field)]);
}

void AppointmentEditor::checkTime(EditorField field)
{
    if (!withoutTime_ && !noTimeMode_ && !timeIsValid()) {
        changeField(field, lastAccepted_[index(field)]);
        return;
    }
    lastAccepted_[index(field)] = text(field);
    markModified();
}

void AppointmentEditor::padWithZero(EditorField field)
{
    if (text(field).size() < 2) {
        std::string padded = text(field);
        padded.insert(padded.begin(), '0');
        changeField(field, std::move(padded));
    }
}

void AppointmentEditor::leaveDateFields()
{
    dateSpinner_.enabled = false;
    padWithZero(EditorField::Day);
    padWithZero(EditorField::Month);
    padWithZero(EditorField::Year);
    // A two-digit year is read in the current century; show it as the store writes it.
    const std::string& year = text(EditorField::Year);
    if (year.size() == 2 && isNumberText(year) && year.front() != ' ')
        changeField(EditorField::Year, std::to_string(clock_.now().date.year / 100) + year);
}

void AppointmentEditor::leaveTimeFields()
{
    timeSpinner_.enabled = false;
    padWithZero(EditorField::Hour);
    padWithZero(EditorField::Minute);
}

void AppointmentEditor::enterField(EditorField field)
{
    EditorSpinner& spinner = isDateField(field) ? dateSpinner_ : timeSpinner_;
    spinner.enabled = false;
    const std::optional<int> number = numberOf(text(field));
    if (!number)
        throw errors::invalidInteger(text(field));
    switch (field) {
    case EditorField::Day:
        spinner = {true, field, 1, 31, 0};
        break;
    case EditorField::Month:
        spinner = {true, field, 1, 12, 0};
        break;
    case EditorField::Year:
        spinner = {true, field, 1998, 2500, 0};
        break;
    case EditorField::Hour:
        spinner = {true, field, 0, 23, 0};
        break;
    case EditorField::Minute:
        spinner = {true, field, 0, 59, 0};
        break;
    }
    spinner.position = std::clamp(*number, spinner.minimum, spinner.maximum);
}

void AppointmentEditor::spin(EditorField field, int steps)
{
    EditorSpinner& spinner = isDateField(field) ? dateSpinner_ : timeSpinner_;
    if (!spinner.enabled || spinner.field != field)
        return;
    // From the number the field shows now: typed after entering, it is what the user sees.
    if (const std::optional<int> shown = numberOf(text(field)))
        spinner.position = std::clamp(*shown, spinner.minimum, spinner.maximum);
    const int position = std::clamp(spinner.position + steps, spinner.minimum, spinner.maximum);
    if (position == spinner.position)
        return;
    spinner.position = position;
    changeField(field, std::to_string(position));
}

void AppointmentEditor::applyWithoutTime(bool checked)
{
    std::string& hour = textOf(EditorField::Hour);
    std::string& minute = textOf(EditorField::Minute);
    if (checked) {
        noTimeMode_ = true;
        savedTime_ = {hour, minute};
        changeField(EditorField::Hour, kBlankTime);
        changeField(EditorField::Minute, kBlankTime);
    } else {
        changeField(EditorField::Hour, savedTime_[0]);
        changeField(EditorField::Minute, savedTime_[1]);
        if (hour == kBlankTime) {
            changeField(EditorField::Hour, "00");
            changeField(EditorField::Minute, "00");
        }
        noTimeMode_ = false;
    }
}

void AppointmentEditor::setWithoutTime(bool checked)
{
    if (checked == withoutTime_)
        return;
    withoutTime_ = checked;
    applyWithoutTime(checked);
    markModified();
}

void AppointmentEditor::chooseRepeat(line::RepeatKind kind)
{
    chosenRepeat_ = kind;
    repeatWord_ = std::string(line::repeatWord(kind));
    if (kind != line::RepeatKind::None)
        deleteAfter_ = false;
    markModified();
}

void AppointmentEditor::setActive(bool checked)
{
    active_ = checked;
    markModified();
}

void AppointmentEditor::setShowIfExpired(bool checked)
{
    showIfExpired_ = checked;
    markModified();
}

void AppointmentEditor::setDeleteAfterExecution(bool checked)
{
    // A repeating appointment is never deleted after it ran.
    if (checked && !deleteAfterExecutionEnabled())
        return;
    deleteAfter_ = checked;
    markModified();
}

void AppointmentEditor::setMessage(std::string cp1252)
{
    message_ = std::move(cp1252);
    markModified();
    // A sound is chosen only together with a message.
    if (message_.empty()) {
        soundEntry_ = 0;
        listenEnabled_ = false;
    }
}

void AppointmentEditor::setApplication(std::string cp1252)
{
    application_ = std::move(cp1252);
    markModified();
}

void AppointmentEditor::chooseSound(int entry)
{
    soundEntry_ = entry >= 0 && entry < static_cast<int>(sounds_.size()) ? entry : -1;
    listenEnabled_ = soundText() != kNoSound;
    markModified();
}

std::string AppointmentEditor::soundText() const
{
    return soundEntry_ >= 0 ? sounds_[static_cast<size_t>(soundEntry_)] : std::string();
}

void AppointmentEditor::reset()
{
    const LocalDateTime now = clock_.now();
    setWithoutTime(false);
    active_ = true;
    showIfExpired_ = true;
    deleteAfter_ = false;
    chooseRepeat(line::RepeatKind::None);
    // Set as a whole: the current date is valid, and checking the day against a month
    // still to be replaced could put an old day back.
    const auto twoDigits = [](int n) { return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)}; };
    texts_ = {twoDigits(now.date.day), twoDigits(now.date.month), std::to_string(now.date.year),
              twoDigits(now.time.hour), twoDigits(now.time.minute)};
    lastAccepted_ = texts_;
    setMessage({});
    setApplication({});
    chooseSound(0);
    dateSpinner_.enabled = false;
    timeSpinner_.enabled = false;
    modified_ = false;
    edited_.set(std::nullopt);
}

std::variant<std::string, StoreRefusal> AppointmentEditor::lineToStore()
{
    // A store by its access key comes without leaving the field just typed into.
    if (!withoutTime_)
        leaveTimeFields();
    leaveDateFields();

    const std::string& day = text(EditorField::Day);
    const std::string& month = text(EditorField::Month);
    const std::string& year = text(EditorField::Year);
    const std::string& hour = text(EditorField::Hour);
    const std::string& minute = text(EditorField::Minute);
    const bool noTime = hour == kBlankTime;
    const std::string dateTimeText = day + "." + month + "." + year + " " + hour + (noTime ? " " : ":") + minute;

    if (!dateIsValid()) {
        const std::string title = "Ungültiges Datum!";
        if (day == "31" && month != "02")
            return StoreRefusal{title, "Der von Ihnen gewählte Monat hat nur 30 Tage."};
        if (numberOf(day).value_or(0) > 29 && month == "02")
            return StoreRefusal{title, "Der Monat Februar keine 30 Tage."};
        if (day == "29")
            return StoreRefusal{title, "Der Monat Februar hat in dem von Ihnen gewähltem Jahr nur 28 Tage."};
        throw errors::invalidDateTime(dateTimeText);
    }
    if (message_.empty() && application_.empty())
        return StoreRefusal{"Zeitwache 99",
                            "Es muß eine Nachricht und / oder eine Anwendung\n\roder Datei angegeben werden!"};
    if (!noTime && !timeIsValid())
        throw errors::invalidDateTime(dateTimeText);

    const int currentYear = clock_.now().date.year;
    line::Appointment a;
    a.date = *parseGermanDate(day + "." + month + "." + year, currentYear);
    // The line's writer takes a year below 100 in the current century: one typed with three
    // or four digits ("0026") would be stored as another year than the page shows.
    if (a.date.year < 100)
        throw errors::invalidDateTime(dateTimeText);
    if (!noTime) {
        const std::optional<TimeOfDay> time = parseTime(hour + ":" + minute);
        a.time = TimeOfDay{time->hour, time->minute, 0};
    }
    a.active = active_;
    a.showIfExpired = showIfExpired_;
    a.deleteAfterExecution = deleteAfter_;
    a.message = message_;
    a.application = application_;
    a.sound = soundText();
    try {
        return line::compose(a, currentYear, repeatWord_);
    } catch (const std::invalid_argument&) {
        // Only a damaged loaded line can bring a value the layout cannot hold.
        throw errors::invalidDateTime(dateTimeText);
    }
}

void AppointmentEditor::load(std::size_t position)
{
    // Everything is read before the page changes, so a failure leaves it as it was.
    const std::string line = list_.get(position);
    const line::Texts texts = line::readTexts(line);
    const std::string hour = fromSlice(line, 13, 2);
    std::string storedWord = fromSlice(line, 21, 11);
    storedWord.resize(line::kRepeatNone.size(), ' ');

    // The stored date arrives whole: fed a field at a time, a day checked against the
    // month still on the page could be put back.
    texts_[index(EditorField::Day)] = fromSlice(line, 2, 2);
    texts_[index(EditorField::Month)] = fromSlice(line, 5, 2);
    texts_[index(EditorField::Year)] = fromSlice(line, 8, 4);
    for (EditorField f : {EditorField::Day, EditorField::Month, EditorField::Year})
        lastAccepted_[index(f)] = text(f);

    if (hour != kBlankTime) {
        setWithoutTime(false);
        changeField(EditorField::Hour, hour);
        changeField(EditorField::Minute, fromSlice(line, 16, 2));
    } else {
        setWithoutTime(true);
        // Run once more on the blank fields, so the time set aside is blank too and
        // unchecking gives 00:00.
        applyWithoutTime(true);
    }

    if (const std::optional<line::RepeatKind> kind = line::repeatKindOf(storedWord); kind && *kind != chosenRepeat_)
        chooseRepeat(*kind);
    repeatWord_ = storedWord;

    showIfExpired_ = line::flag(line, line::kShowIfExpired) == '1';
    deleteAfter_ = line::flag(line, line::kDeleteAfterExecution) == '1' && chosenRepeat_ == line::RepeatKind::None;
    active_ = line::activeField(line) == line::kActive;

    setMessage(std::string(texts.message));
    setApplication(std::string(texts.application));
    chooseSound(soundEntryNamed(sounds_, texts.sound));
    listenEnabled_ = soundText() != kNoSound;

    modified_ = false;
    edited_.set(position);
}

} // namespace zw
