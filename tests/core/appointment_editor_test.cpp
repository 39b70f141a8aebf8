// The editor page's rules without a screen: the live date and time checks, completing the
// fields, spinners, no-time mode, repetition, message and sound, storing and loading.
#include "common/zeitwache_error.h"
#include "line_builder.h"
#include "manager/appointment_editor.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <variant>

using namespace zw;
using zw::testing::makeLine;
using F = EditorField;

namespace {

struct EditorTest : ::testing::Test {
    zw::testing::TestClock clock;
    AppointmentList list;
    AppointmentEditor editor{list, clock, {"(Kein)", "gong.wav", "Glocke.WAV"}};

    void SetUp() override { editor.reset(); }

    // Types the texts into the field one after the other, as keystrokes would.
    void type(F field, std::initializer_list<const char*> texts)
    {
        for (const char* t : texts)
            editor.changeField(field, t);
    }
    std::string storedLine()
    {
        auto result = editor.lineToStore();
        if (const auto* refusal = std::get_if<StoreRefusal>(&result))
            ADD_FAILURE() << "refused: " << refusal->text;
        return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : std::string();
    }
    std::string refusal()
    {
        auto result = editor.lineToStore();
        return std::holds_alternative<StoreRefusal>(result) ? std::get<StoreRefusal>(result).text : "<stored>";
    }
};

TEST_F(EditorTest, ResetShowsANewAppointmentAtTheCurrentMinuteWithNothingToStore)
{
    editor.setMessage("x");
    editor.chooseRepeat(line::RepeatKind::Daily);
    editor.setWithoutTime(true);
    editor.reset();
    EXPECT_EQ(editor.text(F::Day), "08");
    EXPECT_EQ(editor.text(F::Month), "12");
    EXPECT_EQ(editor.text(F::Year), "2026");
    EXPECT_EQ(editor.text(F::Hour), "09");
    EXPECT_EQ(editor.text(F::Minute), "05");
    EXPECT_FALSE(editor.withoutTime());
    EXPECT_EQ(editor.chosenRepeat(), line::RepeatKind::None);
    EXPECT_TRUE(editor.active());
    EXPECT_TRUE(editor.showIfExpired());
    EXPECT_FALSE(editor.deleteAfterExecution());
    EXPECT_EQ(editor.soundText(), "(Kein)");
    EXPECT_FALSE(editor.soundListEnabled());
    EXPECT_FALSE(editor.listenEnabled());
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(editor.editIndex(), -1);
}

struct DateCase {
    const char* name;
    const char* month;                  // typed into the month field first
    F field;
    std::initializer_list<const char*> typed;
    const char* shown;
    bool modified;
};

TEST_F(EditorTest, DateCheckKeepsValidDatesAndTheDays29To31AndPutsAnythingElseBack)
{
    const DateCase cases[] = {
        {"valid day", "12", F::Day, {"3", "31"}, "31", true},
        {"31 February stands", "02", F::Day, {"3", "31"}, "31", true},
        {"32 goes back", "12", F::Day, {"3", "32"}, "3", true},
        {"letters go back", "12", F::Day, {"x"}, "08", true},
        {"deleted day goes back", "12", F::Day, {""}, "08", true},
        {"13th month goes back", "12", F::Month, {"13"}, "12", true},
        {"empty year goes back", "12", F::Year, {""}, "2026", true},
        {"two-digit year is valid", "12", F::Year, {"27"}, "27", true},
        {"year 0000 goes back", "12", F::Year, {"0000"}, "2026", true},
    };
    for (const DateCase& c : cases) {
        editor.reset();
        editor.changeField(F::Month, c.month);
        editor.markStored();
        type(c.field, c.typed);
        EXPECT_EQ(editor.text(c.field), c.shown) << c.name;
        EXPECT_EQ(editor.modified(), c.modified) << c.name;
    }
}

TEST_F(EditorTest, AnInvalidDayOf29To31ChangesNothingElseAndMarksNothing)
{
    editor.changeField(F::Day, "30");
    editor.markStored();
    editor.changeField(F::Month, "02"); // 30 February: left standing, not accepted
    EXPECT_EQ(editor.text(F::Month), "02");
    EXPECT_FALSE(editor.modified());
    // While the day reads 30, the month keeps even a non-number.
    editor.changeField(F::Month, "x");
    EXPECT_EQ(editor.text(F::Month), "x");
    EXPECT_THROW(editor.enterField(F::Month), ZeitwacheError);
    EXPECT_FALSE(editor.dateSpinner().enabled);
}

TEST_F(EditorTest, TimeCheckPutsBackWhatIsNoTimeOfDay)
{
    const struct {
        F field;
        const char* typed;
        const char* shown;
    } cases[] = {{F::Hour, "7", "7"}, {F::Hour, "24", "09"}, {F::Hour, "", "09"}, {F::Minute, "60", "05"},
                 {F::Minute, "5x", "05"}, {F::Minute, "59", "59"}};
    for (const auto& c : cases) {
        editor.reset();
        editor.changeField(c.field, c.typed);
        EXPECT_EQ(editor.text(c.field), c.shown) << c.typed;
        EXPECT_TRUE(editor.modified()) << c.typed;
    }
}

TEST_F(EditorTest, LeavingAFieldCompletesItsGroup)
{
    type(F::Day, {"7"});
    type(F::Month, {"1"});
    type(F::Year, {"27"});
    type(F::Hour, {"7"});
    editor.leaveDateFields();
    EXPECT_EQ(editor.text(F::Day), "07");
    EXPECT_EQ(editor.text(F::Month), "01");
    // A two-digit year is shown as the store writes it.
    EXPECT_EQ(editor.text(F::Year), "2027");
    EXPECT_EQ(editor.text(F::Hour), "7");
    editor.leaveTimeFields();
    EXPECT_EQ(editor.text(F::Hour), "07");
}

TEST_F(EditorTest, SpinnersStepTheFieldWithinTheirRangeWithoutWrapping)
{
    editor.changeField(F::Day, "31");
    editor.enterField(F::Day);
    EXPECT_TRUE(editor.dateSpinner().enabled);
    editor.spin(F::Day, 1);
    EXPECT_EQ(editor.text(F::Day), "31");
    editor.spin(F::Day, -1);
    EXPECT_EQ(editor.text(F::Day), "30");

    editor.changeField(F::Year, "2500");
    editor.enterField(F::Year);
    editor.spin(F::Year, 1);
    EXPECT_EQ(editor.text(F::Year), "2500");

    editor.enterField(F::Minute);
    editor.spin(F::Minute, -1);
    editor.spin(F::Minute, -1);
    EXPECT_EQ(editor.text(F::Minute), "3"); // the zero comes on leaving
    editor.changeField(F::Minute, "0");
    editor.enterField(F::Minute);
    editor.spin(F::Minute, -1);
    EXPECT_EQ(editor.text(F::Minute), "0");
    // The date spinner does not move the minute.
    editor.spin(F::Day, 1);
    EXPECT_EQ(editor.text(F::Day), "30");
    // Typed after entering: the step starts from the number shown, not the one entered.
    editor.enterField(F::Day);
    type(F::Day, {"2", "20"});
    editor.spin(F::Day, 1);
    EXPECT_EQ(editor.text(F::Day), "21");
    editor.leaveDateFields();
    EXPECT_FALSE(editor.dateSpinner().enabled);
}

TEST_F(EditorTest, WithoutTimeBlanksTheTimeAndUncheckingBringsItBack)
{
    editor.changeField(F::Hour, "14");
    editor.changeField(F::Minute, "30");
    editor.setWithoutTime(true);
    EXPECT_EQ(editor.text(F::Hour), "  ");
    EXPECT_EQ(editor.text(F::Minute), "  ");
    EXPECT_EQ(editor.timeSeparator(), "");
    editor.setWithoutTime(false);
    EXPECT_EQ(editor.text(F::Hour), "14");
    EXPECT_EQ(editor.text(F::Minute), "30");
    EXPECT_EQ(editor.timeSeparator(), ":");
}

TEST_F(EditorTest, RepetitionTakesDeleteAfterExecutionAwayAndKeineGivesItBackUnchecked)
{
    editor.setDeleteAfterExecution(true);
    editor.chooseRepeat(line::RepeatKind::Daily);
    EXPECT_FALSE(editor.deleteAfterExecution());
    EXPECT_FALSE(editor.deleteAfterExecutionEnabled());
    EXPECT_EQ(editor.repeatWord(), "T\xE4glich    ");
    editor.chooseRepeat(line::RepeatKind::None);
    EXPECT_TRUE(editor.deleteAfterExecutionEnabled());
    EXPECT_FALSE(editor.deleteAfterExecution());
}

TEST_F(EditorTest, ASoundGoesOnlyWithAMessage)
{
    editor.setMessage("Tee");
    EXPECT_TRUE(editor.soundListEnabled());
    editor.chooseSound(1);
    EXPECT_TRUE(editor.listenEnabled());
    editor.chooseSound(0);
    EXPECT_FALSE(editor.listenEnabled());
    editor.chooseSound(2);
    editor.setMessage("");
    EXPECT_FALSE(editor.soundListEnabled());
    EXPECT_EQ(editor.soundText(), "(Kein)");
    EXPECT_FALSE(editor.listenEnabled());
}

TEST_F(EditorTest, StoreRefusesInvalidDatesWithTheMessageThatFits)
{
    const struct {
        const char* day;
        const char* month;
        const char* year;
        const char* message;
    } cases[] = {
        {"31", "04", "2027", "Der von Ihnen gewählte Monat hat nur 30 Tage."},
        {"30", "02", "2027", "Der Monat Februar keine 30 Tage."},
        {"31", "02", "2027", "Der Monat Februar keine 30 Tage."},
        {"29", "02", "2027", "Der Monat Februar hat in dem von Ihnen gewähltem Jahr nur 28 Tage."},
        {"29", "02", "2028", "<stored>"},
    };
    for (const auto& c : cases) {
        editor.reset();
        editor.setMessage("m");
        editor.changeField(F::Year, c.year);
        editor.changeField(F::Day, c.day);
        editor.changeField(F::Month, c.month);
        EXPECT_EQ(refusal(), c.message) << c.day << "." << c.month << "." << c.year;
    }
    // Day 30 beside a month that is no number: no message describes it.
    editor.reset();
    editor.setMessage("m");
    editor.changeField(F::Day, "30");
    editor.changeField(F::Month, "x");
    try {
        editor.lineToStore();
        ADD_FAILURE() << "stored";
    } catch (const ZeitwacheError& e) {
        EXPECT_STREQ(e.what(), "'30.0x.2026 09:05' ist kein gültiges Datum und Zeit");
    }
}

TEST_F(EditorTest, StoreNeedsAMessageOrAnApplication)
{
    EXPECT_EQ(refusal(), "Es muß eine Nachricht und / oder eine Anwendung\n\roder Datei angegeben werden!");
    editor.setApplication("backup.sh");
    EXPECT_EQ(storedLine(), "[08.12.2026 09:05] [Keine      ] [Ja  ] [1000000] [000 009 006] [ backup.sh (Kein)]");
}

TEST_F(EditorTest, StoreWithoutLeavingTheFieldCompletesItFirst)
{
    editor.setMessage("Zahnarzt \x80");
    editor.chooseSound(1);
    editor.chooseRepeat(line::RepeatKind::Weekly);
    editor.setActive(false);
    editor.setShowIfExpired(false);
    type(F::Day, {"3"});
    type(F::Month, {"1"});
    type(F::Year, {"27"});
    type(F::Hour, {"7"});
    type(F::Minute, {"5"});
    EXPECT_EQ(storedLine(),
              "[03.01.2027 07:05] [W\xF6" "chentlich] [Nein] [0000000] [010 000 008] [Zahnarzt \x80  gong.wav]");
    editor.setWithoutTime(true);
    EXPECT_EQ(storedLine().substr(0, 19), "[03.01.2027      ] ");
}

TEST_F(EditorTest, LoadPutsEveryFieldOfTheLineOnThePage)
{
    list.assign({makeLine({.date = "24.12.2027", .time = "18:30", .repeat = line::RepeatKind::Yearly,
                           .active = false, .showIfExpired = true, .message = "Geschenke",
                           .application = "/usr/bin/true", .sound = "GONG.wav"}),
                 makeLine({.date = "01.03.2028", .time = "", .deleteAfter = true, .sound = "weg.wav"})});
    editor.load(0);
    EXPECT_EQ(editor.text(F::Day), "24");
    EXPECT_EQ(editor.text(F::Month), "12");
    EXPECT_EQ(editor.text(F::Year), "2027");
    EXPECT_EQ(editor.text(F::Hour), "18");
    EXPECT_EQ(editor.text(F::Minute), "30");
    EXPECT_EQ(editor.chosenRepeat(), line::RepeatKind::Yearly);
    EXPECT_FALSE(editor.active());
    EXPECT_TRUE(editor.showIfExpired());
    EXPECT_EQ(editor.message(), "Geschenke");
    EXPECT_EQ(editor.application(), "/usr/bin/true");
    EXPECT_EQ(editor.soundText(), "gong.wav"); // found without regard to case
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(editor.editIndex(), 1);

    editor.load(1);
    EXPECT_TRUE(editor.withoutTime());
    EXPECT_EQ(editor.text(F::Hour), "  ");
    EXPECT_TRUE(editor.deleteAfterExecution());
    // The stored sound is no longer in the directory: nothing chosen, "Anhören" on.
    EXPECT_EQ(editor.soundEntry(), -1);
    EXPECT_TRUE(editor.listenEnabled());
    EXPECT_EQ(editor.editIndex(), 2);
    // A loaded appointment without time gives 00:00 when the box is unchecked.
    editor.setWithoutTime(false);
    EXPECT_EQ(editor.text(F::Hour), "00");
    EXPECT_EQ(editor.text(F::Minute), "00");
    editor.setWithoutTime(true);
    EXPECT_NE(storedLine().find("[009 000 000] [Nachricht  ]"), std::string::npos);
}

TEST_F(EditorTest, LoadKeepsWhatTheEditorCannotProduce)
{
    std::string weekly = makeLine({.repeat = line::RepeatKind::Weekly, .executed = true, .deleteAfter = true});
    std::string odd = makeLine({.message = "odd"});
    odd.replace(20, 11, "Zweiw\xF6" "chig ");
    list.assign({weekly, odd});

    editor.load(0);
    EXPECT_FALSE(editor.deleteAfterExecution());
    // Stored again, an executed appointment runs again.
    EXPECT_EQ(line::flag(storedLine(), line::kExecuted), '0');

    editor.load(1);
    EXPECT_EQ(editor.chosenRepeat(), line::RepeatKind::Weekly); // the button stays
    EXPECT_EQ(line::repeatField(storedLine()), "Zweiw\xF6" "chig ");
}

TEST_F(EditorTest, AFailedLoadLeavesThePageAsItWas)
{
    editor.setMessage("unsaved");
    EXPECT_THROW(editor.load(0), ZeitwacheError);
    std::string damaged = makeLine({});
    damaged.replace(51, 3, "0x1");
    list.assign({damaged});
    EXPECT_THROW(editor.load(0), ZeitwacheError);
    EXPECT_EQ(editor.message(), "unsaved");
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(editor.editIndex(), -1);
}

TEST_F(EditorTest, EditIndexFollowsItsAppointmentWhileOthersGo)
{
    list.assign({makeLine({.time = "08:00"}), makeLine({.time = "09:00"}), makeLine({.time = "10:00"})});
    editor.load(2);
    list.remove(0);
    EXPECT_EQ(editor.editIndex(), 2);
    list.remove(1);
    EXPECT_EQ(editor.editIndex(), -1);
}

} // namespace
