#include "scheduler/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SplitApplicationField, ProgramAndDocument)
{
    EXPECT_THAT(splitApplicationField("notepad.exe C:\\Daten\\brief.txt"),
                ElementsAre("notepad.exe", "C:\\Daten\\brief.txt"));
}

TEST(SplitApplicationField, QuotedPathWithBlanksLosesItsQuotes)
{
    EXPECT_THAT(
        splitApplicationField("\"C:\\Program Files\\Office\\winword.exe\" C:\\Daten\\brief.doc"),
        ElementsAre("C:\\Program Files\\Office\\winword.exe", "C:\\Daten\\brief.doc"));
}

TEST(SplitApplicationField, DoubledQuotesInsideQuotesStandForOne)
{
    EXPECT_THAT(splitApplicationField("echo \"sag \"\"hallo\"\"\""),
                ElementsAre("echo", "sag \"hallo\""));
    EXPECT_THAT(splitApplicationField("\"\"\"\"\"\""), ElementsAre("\"\""));
    EXPECT_THAT(splitApplicationField("\"\""), ElementsAre(""));
}

TEST(SplitApplicationField, CommasAndBlanksSeparateAlike)
{
    for (const char* field : {"a b", "a,b", "a , b", "a ,b", "a,   b", "  a \t, \r\n b  "})
        EXPECT_THAT(splitApplicationField(field), ElementsAre("a", "b")) << field;
}

TEST(SplitApplicationField, TwoCommasEncloseAnEmptyToken)
{
    EXPECT_THAT(splitApplicationField("a,,b"), ElementsAre("a", "", "b"));
    EXPECT_THAT(splitApplicationField("a, ,b"), ElementsAre("a", "", "b"));
    EXPECT_THAT(splitApplicationField(",a"), ElementsAre("", "a"));
    // One trailing comma is consumed as a separator; a second one leaves an empty token.
    EXPECT_THAT(splitApplicationField("a,"), ElementsAre("a"));
    EXPECT_THAT(splitApplicationField("a,,"), ElementsAre("a", ""));
}

TEST(SplitApplicationField, EveryControlCharacterSeparatesButNotHighBytes)
{
    std::string field = "prog";
    for (char c = 1; c <= 32; ++c) {
        field += c;
        field += "x";
    }
    const auto tokens = splitApplicationField(field);
    ASSERT_EQ(tokens.size(), 33u);
    EXPECT_EQ(tokens.front(), "prog");
    for (size_t i = 1; i < tokens.size(); ++i)
        EXPECT_EQ(tokens[i], "x") << i;

    // DEL and the Windows-1252 letters (here u umlaut and the euro sign) are part of names.
    EXPECT_THAT(splitApplicationField("C:\\B\xFCro\\\x80\x7F.txt -x"),
                ElementsAre("C:\\B\xFCro\\\x80\x7F.txt", "-x"));
}

TEST(SplitApplicationField, QuotedTokenEndsAtItsClosingQuote)
{
    EXPECT_THAT(splitApplicationField("\"a b\"c"), ElementsAre("a b", "c"));
    EXPECT_THAT(splitApplicationField("\"a\",\"b\""), ElementsAre("a", "b"));
    EXPECT_THAT(splitApplicationField("x\"y\""), ElementsAre("x\"y\""));
}

TEST(SplitApplicationField, UnterminatedQuoteTakesTheRest)
{
    EXPECT_THAT(splitApplicationField("prog \"C:\\Meine Dateien\\x.txt, y"),
                ElementsAre("prog", "C:\\Meine Dateien\\x.txt, y"));
    EXPECT_THAT(splitApplicationField("\"a\"\"b"), ElementsAre("a\"b"));
    EXPECT_THAT(splitApplicationField("\""), ElementsAre(""));
}

TEST(SplitApplicationField, NothingButBlanksGivesNoToken)
{
    EXPECT_THAT(splitApplicationField(""), IsEmpty());
    EXPECT_THAT(splitApplicationField("   "), IsEmpty());
    EXPECT_THAT(splitApplicationField(" \t\r\n\x01\x1F "), IsEmpty());
}

TEST(SplitApplicationField, OnlyTheFirst4095BytesCount)
{
    const std::string longName(4090, 'a');
    EXPECT_THAT(splitApplicationField(longName + " bcdefgh"), ElementsAre(longName, "bcde"));
    EXPECT_THAT(splitApplicationField(longName + "     bcdefgh"), ElementsAre(longName));

    const std::string quoted = "\"" + std::string(5000, 'q') + "\"";
    const auto tokens = splitApplicationField(quoted);
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0], std::string(4094, 'q'));
}

TEST(SplitApplicationField, NulByteEndsTheField)
{
    EXPECT_THAT(splitApplicationField(std::string("prog\0 arg", 9)), ElementsAre("prog"));
    EXPECT_THAT(splitApplicationField(std::string("\"a\0b\" c", 7)), ElementsAre("a"));
}

TEST(LaunchCommand, FirstTokenIsTheFileTheRestAreSeparateArguments)
{
    EXPECT_EQ(launchCommandFor("notepad.exe C:\\Daten\\brief.txt"),
              (LaunchCommand{"notepad.exe", {"C:\\Daten\\brief.txt"}}));
    EXPECT_EQ(launchCommandFor("tabelle.xls"), (LaunchCommand{"tabelle.xls", {}}));

    // A quoted parameter with blanks arrives as one argument, not as several words.
    EXPECT_EQ(launchCommandFor("\"C:\\Program Files\\viewer.exe\" \"C:\\Meine Dateien\\a b.txt\",,x"),
              (LaunchCommand{"C:\\Program Files\\viewer.exe", {"C:\\Meine Dateien\\a b.txt", "", "x"}}));
}

TEST(LaunchCommand, NoFileWithoutANonEmptyFirstToken)
{
    EXPECT_EQ(launchCommandFor(" \t "), std::nullopt);
    EXPECT_EQ(launchCommandFor(",notepad.exe"), std::nullopt);
    EXPECT_EQ(launchCommandFor("\"\" notepad.exe"), std::nullopt);
}

} // namespace
} // namespace zw
