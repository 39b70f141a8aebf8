// Appointments from outside the editor page meet the page's checks and its store.
#include "interchange/appointment_input.h"
#include "line_builder.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <random>

using namespace zw;
using transfer::AppointmentInput;

namespace {


AppointmentInput at(std::string day, std::string month, std::string year,
                    std::optional<std::pair<std::string, std::string>> time = std::pair("18", "30"))
{
    AppointmentInput in;
    in.day = std::move(day);
    in.month = std::move(month);
    in.year = std::move(year);
    in.time = std::move(time);
    in.message = "Termin";
    return in;
}

TEST(AppointmentInput, TheEditorsRefusalsAndNothingElse)
{
    AppointmentInput bothEmpty = at("10", "01", "2027");
    bothEmpty.message.clear();
    AppointmentInput soundAlone = bothEmpty;
    soundAlone.application = "backup.sh";
    soundAlone.sound = "gong.wav";
    AppointmentInput deleteRepeating = at("10", "01", "2027");
    deleteRepeating.repeat = line::RepeatKind::Daily;
    deleteRepeating.deleteAfterExecution = true;
    const struct {
        AppointmentInput input;
        const char* refusal; // empty: stored
    } cases[] = {
        // The clock's 31st January must not put a February day back.
        {at("28", "2", "2027"), ""},
        {at("29", "02", "2028", std::nullopt), ""},
        {at("31", "04", "2027"), "Der von Ihnen gewählte Monat hat nur 30 Tage."},
        {at("30", "02", "2027"), "Der Monat Februar keine 30 Tage."},
        {at("29", "02", "2027"), "Der Monat Februar hat in dem von Ihnen gewähltem Jahr nur 28 Tage."},
        {at("32", "01", "2027"), "'32.01.2027' ist kein gültiges Datum."},
        {at("00", "01", "2027"), "'00.01.2027' ist kein gültiges Datum."},
        {at("10", "01", "0027"), "ist kein gültiges Datum und Zeit."},
        {at("10", "01", "2027", std::pair("24", "00")), "'24:00' ist keine gültige Zeit."},
        {bothEmpty, "Es muß eine Nachricht und / oder eine Anwendung\n\roder Datei angegeben werden!"},
        {soundAlone, "Einen Klang gibt es nur zusammen mit einer Nachricht."},
        {deleteRepeating, "gibt es nur für Termine ohne Wiederholung"},
    };
    AppointmentList list;
    const zw::testing::TestClock clock({{2026, 1, 31}, {9, 0, 0}});
    for (const auto& c : cases) {
        const auto made = transfer::lineFromInput(list, clock, c.input);
        const std::string context = c.input.day + "." + c.input.month + "." + c.input.year;
        if (*c.refusal == '\0') {
            EXPECT_TRUE(std::holds_alternative<std::string>(made)) << context << ": " << std::get<StoreRefusal>(made).text;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<StoreRefusal>(made)) << context;
        EXPECT_NE(std::get<StoreRefusal>(made).text.find(c.refusal), std::string::npos)
            << context << ": " << std::get<StoreRefusal>(made).text;
    }
}

TEST(AppointmentInput, OnlyWhatTheEditorsFieldsTake)
{
    const struct {
        std::string utf8;
        bool storable;
    } cases[] = {
        {"Grüße, 5 € – „so“", true}, {"Schneemann ☃", false}, {"zwei\nZeilen", false},
        {"Tab\there", false},       {std::string(256, 'x'), true}, {std::string(257, 'x'), false},
        {"\xC3", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(transfer::storableText(c.utf8, "Die Nachricht").cp1252.has_value(), c.storable) << c.utf8;
}

// Many lines at few minutes, stored at once: the same list and the same answers as storing
// them one after the other through the editor's store.
TEST(AppointmentInput, StoringAtOnceEndsAsStoringOneByOne)
{
    std::mt19937 random(5);
    for (bool replace : {false, true}) {
        std::vector<std::string> before, lines;
        for (int i = 0; i < 60; ++i) {
            const std::string time = "10:0" + std::to_string(random() % 8);
            const std::string line = zw::testing::makeLine({.time = random() % 5 ? time : "", .message = "m" + std::to_string(i)});
            (i < 20 ? before : lines).push_back(line);
        }
        std::sort(before.begin(), before.end(), [](const std::string& a, const std::string& b) {
            return line::readDateTimeValue(a, 2026) < line::readDateTimeValue(b, 2026);
        });
        AppointmentList oneByOne, atOnce;
        oneByOne.assign(before);
        atOnce.assign(before);
        std::vector<bool> expected;
        for (const std::string& l : lines)
            expected.push_back(oneByOne.store(l, 0, [&] { return replace ? OverwriteAnswer::Yes : OverwriteAnswer::No; },
                                              2026) == AppointmentList::StoreResult::Stored);
        EXPECT_EQ(transfer::storeLines(atOnce, lines, replace, 2026), expected) << replace;
        EXPECT_EQ(atOnce.lines(), oneByOne.lines()) << replace;
    }
}

} // namespace
