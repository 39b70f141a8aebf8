#include "interchange/appointment_input.h"

#include "common/cp1252.h"
#include "common/sound_name.h"
#include "common/zeitwache_error.h"

#include <algorithm>
#include <numeric>

namespace zw::transfer {

namespace {

// Types the text into the field; false when the page puts its last accepted text back.
bool typed(AppointmentEditor& editor, EditorField field, const std::string& text)
{
    editor.changeField(field, text);
    return editor.text(field) == text;
}

} // namespace

std::variant<std::string, StoreRefusal> lineFromInput(AppointmentList& list, const Clock& clock,
                                                      const AppointmentInput& input)
{
    std::vector<std::string> sounds{std::string(kNoSound)};
    if (!input.sound.empty() && input.sound != kNoSound)
        sounds.push_back(input.sound);
    AppointmentEditor editor(list, clock, sounds);
    editor.reset();

    const std::string dateText = input.day + "." + input.month + "." + input.year;
    // Day, month, year in this order: a day of 29 to 31 that the page's current month
    // lacks stays while the month and the year follow, as it does for a user typing.
    if (!typed(editor, EditorField::Day, input.day) || !typed(editor, EditorField::Month, input.month) ||
        !typed(editor, EditorField::Year, input.year))
        return StoreRefusal{"Ungültiges Datum!", std::string(errors::invalidDate(dateText).what()) + "."};
    if (input.time) {
        const auto& [hour, minute] = *input.time;
        if (!typed(editor, EditorField::Hour, hour) || !typed(editor, EditorField::Minute, minute))
            return StoreRefusal{"Ungültige Zeit!",
                                std::string(errors::invalidTime(hour + ":" + minute).what()) + "."};
    } else {
        editor.setWithoutTime(true);
    }
    editor.chooseRepeat(input.repeat);
    editor.setActive(input.active);
    editor.setShowIfExpired(input.showIfExpired);
    editor.setDeleteAfterExecution(input.deleteAfterExecution);
    if (input.deleteAfterExecution && !editor.deleteAfterExecution())
        return StoreRefusal{"Zeitwache 99",
                            "„Nach Ausführung löschen“ gibt es nur für Termine ohne Wiederholung."};
    editor.setMessage(input.message);
    editor.setApplication(input.application);
    const bool realSound = !input.sound.empty() && input.sound != kNoSound;
    // The page offers the sound list only beside a message.
    if (realSound && !editor.soundListEnabled())
        return StoreRefusal{"Zeitwache 99", "Einen Klang gibt es nur zusammen mit einer Nachricht."};
    editor.chooseSound(input.sound.empty() ? -1 : realSound ? 1 : 0);
    try {
        return editor.lineToStore();
    } catch (const ZeitwacheError& e) {
        return StoreRefusal{"Ungültiges Datum!", std::string(e.what()) + "."};
    }
}

StorableText storableText(std::string_view utf8, std::string_view field)
{
    const std::string cp1252 = utf8ToCp1252(utf8);
    // What Windows-1252 cannot hold came back as '?': the way back shows it.
    if (cp1252ToUtf8(cp1252) != utf8)
        return {std::nullopt, std::string(field) + " enthält Zeichen, die es in Windows-1252 nicht gibt."};
    // A line end would split the line in the data file.
    if (std::any_of(cp1252.begin(), cp1252.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return {std::nullopt, std::string(field) + " enthält Steuerzeichen (etwa einen Zeilenwechsel)."};
    if (cp1252.size() > AppointmentEditor::kTextLimit)
        return {std::nullopt, std::string(field) + " ist länger als " + std::to_string(AppointmentEditor::kTextLimit) +
                                  " Zeichen."};
    return {cp1252, {}};
}

std::vector<bool> storeLines(AppointmentList& list, const std::vector<std::string>& lines, bool replace,
                             int currentYear)
{
    std::vector<int64_t> values(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        values[i] = line::readDateTimeValue(lines[i], currentYear);
    std::vector<size_t> order(lines.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // Latest first; equal ones keep their order, so the first of them meets the query first.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values[a] > values[b]; });

    std::vector<bool> stored(lines.size(), false);
    const AppointmentList::OverwriteQuery ask = [replace] { return replace ? OverwriteAnswer::Yes : OverwriteAnswer::No; };
    for (size_t i : order) {
        AppointmentList::TrackedEntry fresh(list);
        stored[i] = list.place(lines[i], fresh, ask, currentYear) == AppointmentList::StoreResult::Stored;
    }
    return stored;
}

} // namespace zw::transfer
