// The search window's rules: the text each search object looks at, German lower case
// over Windows-1252, and what successive presses of "Weitersuchen" do to the marks.
#include "line_builder.h"
#include "manager/appointment_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include <set>

using namespace zw;
using zw::testing::LineSpec;
using zw::testing::makeLine;
using Outcome = SearchStep::Outcome;

namespace {

const std::string kLine = makeLine({.date = "24.12.2026", .time = "18:30", .repeat = line::RepeatKind::Daily,
                                    .message = "Zeitung holen", .application = "notepad.exe", .sound = "gong.wav"});

struct TextCase {
    const char* name;
    SearchObject object;
    std::string searched;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class SearchedTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SearchedTextTest, IsExactlyTheObjectsBytes)
{
    EXPECT_EQ(searchedText(kLine, GetParam().object), GetParam().searched);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, SearchedTextTest,
    ::testing::Values(
        // Everything up to the sound name: the line without "gong.wav]".
        TextCase{"Everything", SearchObject::Everything, kLine.substr(0, kLine.size() - 9)},
        TextCase{"DateAndTime", SearchObject::DateAndTime, "24.12.2026 18:30"},
        TextCase{"Repetition", SearchObject::Repetition, "T\xE4glich    "},
        TextCase{"Message", SearchObject::Message, "Zeitung holen"},
        TextCase{"Application", SearchObject::Application, "notepad.exe"}),
    [](const auto& param) { return param.param.name; });

TEST(SearchedText, DamagedLengthsGiveNoTextToTheObjectsThatNeedThem)
{
    std::string damaged = kLine;
    damaged[51] = 'x';
    EXPECT_EQ(searchedText(damaged, SearchObject::Message), "");
    EXPECT_EQ(searchedText(damaged, SearchObject::Everything), "");
    EXPECT_EQ(searchedText(damaged, SearchObject::DateAndTime), "24.12.2026 18:30");
}

struct LowerCase {
    const char* name;
    std::string text;
    std::string lower;
};
void PrintTo(const LowerCase& c, std::ostream* os) { *os << c.name; }

class LowerCp1252Test : public ::testing::TestWithParam<LowerCase> {};

TEST_P(LowerCp1252Test, FollowsTheGermanLocale)
{
    EXPECT_EQ(lowerCp1252(GetParam().text), GetParam().lower);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LowerCp1252Test,
    ::testing::Values(LowerCase{"Ascii", "Abc XYZ 1[]", "abc xyz 1[]"},
                      LowerCase{"Umlauts", "\xC4RGER \xD6L \xDC" "BEL", "\xE4rger \xF6l \xFC" "bel"},
                      LowerCase{"SharpSAndSmallLettersStay", "\xDF\xE4\xFF", "\xDF\xE4\xFF"},
                      LowerCase{"MultiplicationSignIsNoLetter", "\xD7", "\xD7"},
                      LowerCase{"AccentedCapitalsUpToThorn", "\xC0\xC9\xDE", "\xE0\xE9\xFE"},
                      LowerCase{"CapitalsAbove0x80", "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"}),
    [](const auto& param) { return param.param.name; });

struct MatchCase {
    const char* name;
    LineSpec line;
    SearchRequest request;
    bool found;
};
void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }

class MatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchTest, OnePressOverOneLine)
{
    AppointmentList list;
    list.assign({makeLine(GetParam().line)});
    AppointmentSearch search(list);
    EXPECT_EQ(search.next(GetParam().request).outcome == Outcome::Found,
              GetParam().found);
}

const LineSpec kActions{.message = "\xC4rger im B\xFCro", .application = "notepad.exe", .sound = "gong.wav"};

INSTANTIATE_TEST_SUITE_P(
    Requests, MatchTest,
    ::testing::Values(
        MatchCase{"CapitalsFindMixedCase", kActions, {"\xC4RGER", SearchObject::Message}, true},
        MatchCase{"CapitalsMissWhenCaseCounts", kActions, {"\xC4RGER", SearchObject::Message, true}, false},
        MatchCase{"MessageNeverTheApplication", kActions, {"notepad", SearchObject::Message}, false},
        MatchCase{"MessageNeverTheSound", kActions, {"gong", SearchObject::Message}, false},
        MatchCase{"ApplicationNeverTheMessage", kActions, {"rger", SearchObject::Application}, false},
        MatchCase{"EverythingNeverTheSound", kActions, {"gong", SearchObject::Everything}, false},
        MatchCase{"EverythingTheBlankAfterTheApplication", kActions, {"notepad.exe ", SearchObject::Everything}, true},
        MatchCase{"EverythingTheBrackets", kActions, {"[", SearchObject::Everything}, true},
        MatchCase{"EverythingTheFlags", kActions, {"[0000000]", SearchObject::Everything}, true},
        MatchCase{"MonthAndYear", {.date = "24.12.2026"}, {"12.2026", SearchObject::DateAndTime}, true},
        MatchCase{"OtherMonth", {.date = "12.01.2026"}, {"12.2026", SearchObject::DateAndTime}, false},
        MatchCase{"DateAndTimeNeverTheMessage", {.message = "12.2026"}, {"12.2026", SearchObject::DateAndTime}, false},
        MatchCase{"WithoutTimeBlanks", {.time = ""}, {"2027     ", SearchObject::DateAndTime}, true},
        MatchCase{"RepetitionIgnoringCase", {.repeat = line::RepeatKind::Daily}, {"t\xC4GLICH", SearchObject::Repetition}, true},
        MatchCase{"RepetitionNeverTheMessage", {.repeat = line::RepeatKind::Weekly, .message = "Keine"},
                  {"Keine", SearchObject::Repetition}, false}),
    [](const auto& param) { return param.param.name; });

// A list page's marks, as the steps change them.
struct Marks {
    std::set<std::size_t> marked;
    int reports = 0;

    void apply(const SearchStep& step)
    {
        if (step.clearMarks)
            marked.clear();
        if (step.outcome == Outcome::Found)
            marked.insert(step.found);
        if (step.outcome == Outcome::NotFound) {
            ++reports;
            if (step.markAgain)
                marked.insert(*step.markAgain);
        }
    }
};

struct Press {
    std::string text;
    bool markAll;
    std::optional<std::size_t> found; // none: "nothing found" is reported
    std::set<std::size_t> marksAfter;
};

struct SequenceCase {
    const char* name;
    std::vector<Press> presses;
};
void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }

class PressSequenceTest : public ::testing::TestWithParam<SequenceCase> {};

// Three appointments hold "Zahnarzt" (entries 0, 2 and 3), two hold "\xC4rger".
const std::vector<std::string> kList = {
    makeLine({.date = "01.12.2026", .message = "Zahnarzt"}),  makeLine({.date = "02.12.2026", .message = "\xC4rger"}),
    makeLine({.date = "03.12.2026", .message = "zahnarzt anrufen"}),
    makeLine({.date = "04.12.2026", .message = "Zum ZAHNARZT"}), makeLine({.date = "05.12.2026", .message = "\xC4rger 2"})};

TEST_P(PressSequenceTest, MarksAndReports)
{
    AppointmentList list;
    list.assign(kList);
    AppointmentSearch search(list);
    Marks marks;
    marks.marked = {1, 4}; // marked before the search began
    int press = 0;
    for (const Press& p : GetParam().presses) {
        ++press;
        const SearchStep step = search.next({p.text, SearchObject::Message, false, p.markAll});
        marks.apply(step);
        if (p.found) {
            EXPECT_EQ(step.outcome, Outcome::Found) << "press " << press;
            EXPECT_EQ(step.found, *p.found) << "press " << press;
            EXPECT_EQ(search.position(), *p.found + 1) << "press " << press;
        } else {
            EXPECT_EQ(step.outcome, Outcome::NotFound) << "press " << press;
            EXPECT_EQ(search.position(), 0u) << "press " << press;
        }
        EXPECT_EQ(marks.marked, p.marksAfter) << "press " << press;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PressSequenceTest,
    ::testing::Values(
        SequenceCase{"EachHitAloneThenReportThenFromTheTop",
                     {{"Zahnarzt", false, 0, {0}},
                      {"Zahnarzt", false, 2, {2}},
                      {"Zahnarzt", false, 3, {3}},
                      {"Zahnarzt", false, std::nullopt, {3}},
                      {"Zahnarzt", false, 0, {0}}}},
        SequenceCase{"HitsAccumulateWithinOneRun",
                     {{"Zahnarzt", true, 0, {0}},
                      {"Zahnarzt", true, 2, {0, 2}},
                      {"Zahnarzt", true, 3, {0, 2, 3}},
                      {"Zahnarzt", true, std::nullopt, {0, 2, 3}},
                      {"Zahnarzt", true, 0, {0}}}},
        SequenceCase{"ChangedTextGoesOnFromTheLastHit",
                     {{"Zahnarzt", false, 0, {0}},
                      {"\xC4RGER", false, 1, {1}},
                      {"ZAHNARZT", false, 2, {2}},
                      {"\xE4rger", false, 4, {4}}}},
        SequenceCase{"NothingAtAllClearsTheMarks", {{"Hochzeit", false, std::nullopt, {}}}}),
    [](const auto& param) { return param.param.name; });

struct SearchOverList : ::testing::Test {
    AppointmentList list;
    AppointmentSearch search{list};
    void SetUp() override { list.assign(kList); }
    SearchStep press(const std::string& text) { return search.next({text, SearchObject::Message}); }
};

TEST_F(SearchOverList, GoesOnAfterTheLastHitWhateverChangedTheListBetweenTwoPresses)
{
    const std::string earlier = makeLine({.date = "30.11.2026", .message = "fr\xFCher"});
    const struct {
        const char* name;
        std::function<void(AppointmentList&)> change;
    } cases[] = {
        {"a line before the hit removed", [](AppointmentList& l) { l.remove(1); }},
        {"an earlier line stored", [&](AppointmentList& l) { l.insert(0, earlier); }},
        {"the hit itself removed", [](AppointmentList& l) { l.remove(2); }},
    };
    for (const auto& c : cases) {
        list.assign(kList);
        search.reset();
        press("Zahnarzt");
        ASSERT_EQ(press("Zahnarzt").found, 2u) << c.name;
        c.change(list);
        const SearchStep step = press("Zahnarzt");
        ASSERT_EQ(step.outcome, Outcome::Found) << c.name;
        EXPECT_EQ(list.get(step.found), kList[3]) << c.name;
    }
}

TEST_F(SearchOverList, LastHitThatIsGoneIsNotMarkedAgain)
{
    ASSERT_EQ(press("\xC4rger 2").found, 4u);
    list.remove(4);
    const SearchStep step = press("\xC4rger 2");
    EXPECT_EQ(step.outcome, Outcome::NotFound);
    EXPECT_FALSE(step.markAgain.has_value());
    EXPECT_EQ(search.position(), 0u);
}

TEST_F(SearchOverList, EmptyTextDoesNothing)
{
    ASSERT_EQ(press("Zahnarzt").found, 0u);
    const SearchStep step = press("");
    EXPECT_EQ(step.outcome, Outcome::Nothing);
    EXPECT_FALSE(step.clearMarks);
    EXPECT_EQ(search.position(), 1u);
}

} // namespace
