#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

using namespace zw;
using namespace zw::line;

namespace {

const std::string kGifts =
    "[24.12.2026 18:30] [Keine      ] [Ja  ] [1000000] [019 000 006] [Geschenke einpacken  (Kein)]";
const std::string kBackup =
    "[01.03.2027      ] [W\xF6" "chentlich] [Nein] [1000000] [000 019 006] [ C:\\Tools\\backup.bat (Kein)]";
const std::string kPaper =
    "[05.01.2027 07:45] [T\xE4glich    ] [Ja  ] [1000000] [013 000 008] [Zeitung holen  gong.wav]";

std::string errorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ZeitwacheError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(AppointmentLine, ComposesTheThreeExampleLinesByteForByte)
{
    Appointment gifts{{2026, 12, 24}, TimeOfDay{18, 30}, RepeatKind::None, true, true, false,
                      "Geschenke einpacken", "", "(Kein)"};
    Appointment backup{{2027, 3, 1}, std::nullopt, RepeatKind::Weekly, false, true, false,
                       "", "C:\\Tools\\backup.bat", "(Kein)"};
    Appointment paper{{2027, 1, 5}, TimeOfDay{7, 45}, RepeatKind::Daily, true, true, false,
                      "Zeitung holen", "", "gong.wav"};
    EXPECT_EQ(compose(gifts, 2026), kGifts);
    EXPECT_EQ(compose(backup, 2026), kBackup);
    EXPECT_EQ(compose(paper, 2026), kPaper);
    EXPECT_EQ(kGifts.size(), 93u);
    EXPECT_EQ(kBackup.size(), 93u);
    EXPECT_EQ(kPaper.size(), 89u);
}

TEST(AppointmentLine, ParsesTheExampleLinesBackByPosition)
{
    EXPECT_EQ(readDate(kGifts, 2026), (Date{2026, 12, 24}));
    EXPECT_EQ(readTimeMinutes(kGifts), 18 * 60 + 30);
    EXPECT_EQ(repeatKindOf(repeatField(kGifts)), RepeatKind::None);
    EXPECT_EQ(activeField(kGifts), kActive);
    EXPECT_EQ(flag(kGifts, kShowIfExpired), '1');
    EXPECT_EQ(flag(kGifts, kExecuted), '0');
    auto gifts = readTexts(kGifts);
    EXPECT_EQ(gifts.message, "Geschenke einpacken");
    EXPECT_EQ(gifts.application, "");
    EXPECT_EQ(gifts.sound, "(Kein)");

    EXPECT_EQ(readTimeMinutes(kBackup), 0); // five blanks: no time
    EXPECT_EQ(repeatKindOf(repeatField(kBackup)), RepeatKind::Weekly);
    EXPECT_EQ(activeField(kBackup), kInactive);
    auto backup = readTexts(kBackup);
    EXPECT_EQ(backup.message, "");
    EXPECT_EQ(backup.application, "C:\\Tools\\backup.bat");

    EXPECT_EQ(repeatKindOf(repeatField(kPaper)), RepeatKind::Daily);
    EXPECT_EQ(readTexts(kPaper).sound, "gong.wav");
}

TEST(AppointmentLine, RepeatWordsAreElevenBytesAndComparedWhole)
{
    for (auto kind : {RepeatKind::None, RepeatKind::Hourly, RepeatKind::Daily, RepeatKind::Weekly,
                      RepeatKind::Monthly, RepeatKind::Yearly}) {
        EXPECT_EQ(repeatWord(kind).size(), 11u);
        EXPECT_EQ(repeatKindOf(repeatWord(kind)), kind);
    }
    EXPECT_FALSE(repeatKindOf("Keine"));
    EXPECT_FALSE(repeatKindOf("keine      "));
}

TEST(AppointmentLine, TextsAreDelimitedOnlyByTheirLengths)
{
    Appointment a{{2027, 2, 1}, TimeOfDay{9, 5}, RepeatKind::Monthly, true, false, false,
                  "a ] [ b ", "prog \"x y\",z", "t\xF6n.wav"};
    std::string l = compose(a, 2026);
    auto texts = readTexts(l);
    EXPECT_EQ(texts.message, "a ] [ b ");
    EXPECT_EQ(texts.application, "prog \"x y\",z");
    EXPECT_EQ(texts.sound, "t\xF6n.wav");
    EXPECT_EQ(slice(l, 52, 11), "008 012 007");
    EXPECT_EQ(l.size(), 68u + 8 + 12 + 7);
}

TEST(AppointmentLine, LengthsPastTheEndGiveShorterTexts)
{
    std::string l = kGifts.substr(0, 70); // the message is cut after 5 bytes
    auto texts = readTexts(l);
    EXPECT_EQ(texts.message, "Gesch");
    EXPECT_EQ(texts.application, "");
    EXPECT_EQ(texts.sound, "");
}

TEST(AppointmentLine, ComposeKeepsTheLayoutForShortValues)
{
    Appointment a{{7, 3, 1}, TimeOfDay{7, 5}, RepeatKind::Yearly, true, false, true, "x", "", "(Kein)"};
    std::string l = compose(a, 2026);
    EXPECT_EQ(dateTimeField(l), "01.03.2007 07:05");
    EXPECT_EQ(slice(l, 42, 7), "0010000");
    a.date.year = 999;
    EXPECT_EQ(dateField(compose(a, 2026)), "01.03.0999");

    a.message = std::string(1000, 'x');
    EXPECT_THROW(compose(a, 2026), std::invalid_argument);
    // A line end in a text would split the line when the file is read back.
    for (std::string bad : {std::string("a\nb"), std::string("a\rb"), std::string("a\0b", 3)}) {
        a.message = "x";
        a.application = bad;
        EXPECT_THROW(compose(a, 2026), std::invalid_argument);
    }
    a.application = "";
    a.message = std::string(256, 'x');
    EXPECT_EQ(slice(compose(a, 2026), 52, 3), "256");
}

TEST(AppointmentLine, DateTimeValueCountsNoTimeAsMidnight)
{
    std::string noTime = kBackup;
    std::string midnight = kBackup;
    midnight.replace(12, 5, "00:00");
    EXPECT_EQ(readDateTimeValue(noTime, 2026), readDateTimeValue(midnight, 2026));
    // Compared as dates, not as text.
    std::string jan31 = kGifts, feb1 = kGifts;
    jan31.replace(1, 16, "31.01.2027 10:00");
    feb1.replace(1, 16, "01.02.2027 09:00");
    EXPECT_LT(readDateTimeValue(jan31, 2026), readDateTimeValue(feb1, 2026));
}

TEST(AppointmentLine, DamagedFieldsRaiseTheGermanConversionErrors)
{
    std::string badDate = kGifts;
    badDate.replace(1, 10, "31.02.2026");
    EXPECT_EQ(errorText([&] { readDate(badDate, 2026); }), "'31.02.2026' ist kein gültiges Datum");
    EXPECT_EQ(errorText([&] { readDateTimeValue(badDate, 2026); }),
              "'31.02.2026 18:30' ist kein gültiges Datum und Zeit");
    std::string badTime = kGifts;
    badTime.replace(12, 5, "25:00");
    EXPECT_EQ(errorText([&] { readTimeMinutes(badTime); }), "'25:00' ist keine gültige Zeit");
    std::string badLength = kGifts;
    badLength.replace(51, 3, "0x9");
    EXPECT_EQ(errorText([&] { readTexts(badLength); }), "'0x9' ist kein gültiger Integerwert");
    EXPECT_EQ(errorText([] { readDate("", 2026); }), "'' ist kein gültiges Datum");
    // The offending text is shown in UTF-8.
    std::string umlaut = kGifts;
    umlaut.replace(1, 10, "\xE4\xE4.01.2026");
    EXPECT_EQ(errorText([&] { readDate(umlaut, 2026); }), "'ää.01.2026' ist kein gültiges Datum");
}

TEST(AppointmentLine, SetFlagChangesOneByteOnly)
{
    std::string l = kPaper;
    setFlag(l, kExecuted, '1');
    EXPECT_EQ(l.substr(0, 42), kPaper.substr(0, 42));
    EXPECT_EQ(l[42], '1');
    EXPECT_EQ(l.substr(43), kPaper.substr(43));
    std::string shortLine = "[01.01.2027";
    setFlag(shortLine, kExecuted, '1');
    EXPECT_EQ(shortLine, "[01.01.2027");
}

// The due check's one-pass reader must give what the field readers give, for the written
// layout and for every line that leaves it, errors included.
TEST(AppointmentLine, CheckFieldsAreThoseOfTheFieldReaders)
{
    auto edited = [](std::string l, size_t at, std::string_view with) { return l.replace(at, with.size(), with); };
    const std::vector<std::string> lines{
        kGifts, kBackup, kPaper,
        edited(kGifts, 51, " 19"),              // a length with a blank before its digits
        edited(kGifts, 1, "24.12.26  "),        // a short year the general reader takes
        edited(kGifts, 12, " 8:30"),            // a time not in the written form
        kGifts.substr(0, 70),                   // the message cut off
        kGifts.substr(0, 64),                   // shorter than the fast reader's layout
        edited(kGifts, 1, "31.02.2026"),        // damaged date
        edited(kPaper, 12, "25:00"),            // damaged time
        edited(kGifts, 55, "0x9"),              // damaged length
        edited(kBackup, 34, "Nein"),
        edited(kGifts, 41, "0110000"),
        "[24.12.2026 18:30]",
        "",
    };
    for (const std::string& l : lines) {
        SCOPED_TRACE(l);
        const std::string fieldByField = errorText([&] {
            readDate(l, 2026);
            readTimeMinutes(l);
            readTexts(l);
        });
        const std::string atOnce = errorText([&] { readCheckFields(l, 2026); });
        EXPECT_EQ(atOnce, fieldByField);
        if (fieldByField != "no error")
            continue;
        const CheckFields f = readCheckFields(l, 2026);
        EXPECT_EQ(f.date, readDate(l, 2026));
        EXPECT_EQ(f.minutes, readTimeMinutes(l));
        const Texts t = readTexts(l);
        EXPECT_EQ(f.texts.message, t.message);
        EXPECT_EQ(f.texts.application, t.application);
        EXPECT_EQ(f.texts.sound, t.sound);
        EXPECT_EQ(f.repeat, repeatField(l));
        EXPECT_EQ(f.active, activeField(l) == kActive);
        EXPECT_EQ(f.showIfExpired, flag(l, kShowIfExpired));
        EXPECT_EQ(f.executed, flag(l, kExecuted));
        EXPECT_EQ(f.deleteAfterExecution, flag(l, kDeleteAfterExecution));
    }
}
