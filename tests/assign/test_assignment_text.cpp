// The assignment text built from the lyric text, and the syllable step over it.
#include "lyrics/AssignmentText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace versilla::lyrics;

namespace {

struct BuildCase {
    const char* name;
    std::string lyric;
    std::string expected;
};

TEST(AssignmentText, BuildTable)
{
    const std::vector<BuildCase> cases = {
        {"plain words", "Hal-lo Welt", "Hal-lo Welt"},
        {"leading blanks and hyphens of the text", "  - -Hallo", "Hallo"},
        {"run of blanks keeps one", "a   b", "a b"},
        {"run of blanks and hyphens keeps the last", "a - b", "a b"},
        {"double hyphen", "Hal--lo", "Hal-lo"},
        {"blank before a line end goes", "Herz \r\nSchmerz", "Herz\xB6\nSchmerz"},
        {"hyphen before a line end goes", "Herz-\r\nSchmerz", "Herz\xB6\nSchmerz"},
        {"leading blanks and hyphens of a line", "Herz\r\n  - Schmerz", "Herz\xB6\nSchmerz"},
        {"text ending in a hyphen", "Hal-", "Hal"},
        {"trailing line ends and blanks", "Herz\r\n\r\n  \r\n", "Herz"},
        {"text ending in the line-break mark", "Herz\xB6", "Herz"},
        {"a leading empty line stays", "\r\nHerz", "\xB6\nHerz"},
        {"an empty line stays (refused later)", "a\r\n\r\nb", "a\xB6\n\xB6\nb"},
        {"a lone line feed joins two lines", "a\nb", "ab"},
        {"protected characters stay", "a\xB7" "b\xAC" "c d", "a\xB7" "b\xAC" "c d"},
        {"code 130 is an ordinary character here", "a \x82" "b", "a \x82" "b"},
        {"control characters at the end go", "a\t\x01", "a"},
        {"empty text", "", ""},
        {"blanks only", "   ", ""},
    };
    for (const BuildCase& c : cases)
        EXPECT_EQ(buildAssignmentText(c.lyric), c.expected) << c.name;
}

struct StepCase {
    const char* name;
    std::string text;
    int position;
    int selStart, selLength;
    std::string syllable;
    bool lineBreak, hyphen;
    int next;
};

TEST(AssignmentText, SyllableStepTable)
{
    const std::string hallo = "Hal-lo Welt";
    const std::string herz = "Herz\xB6\nSchmerz";
    const std::vector<StepCase> cases = {
        {"first syllable before a hyphen", hallo, 0, 0, 3, "Hal", false, true, 4},
        {"syllable with its trailing blank", hallo, 4, 4, 3, "lo ", false, false, 7},
        {"last syllable runs to the end", hallo, 7, 7, 4, "Welt", false, false, 11},
        {"nothing left", hallo, 11, 11, 0, "", false, false, 11},
        {"past the end", hallo, 40, 11, 0, "", false, false, 11},
        {"line end: the mark is selected, its line feed skipped", herz, 0, 0, 5, "Herz\xB6", true, false, 6},
        {"after the line end", herz, 6, 6, 7, "Schmerz", false, false, 13},
        {"code 130 after a blank is skipped", "a \x82" "b", 0, 0, 2, "a ", false, false, 3},
        {"hyphen run with code 130", "a-\x82-b", 0, 0, 1, "a", false, true, 4},
        {"protected characters stay inside", "a\xB7" "b\xAC" "c d", 0, 0, 6, "a\xB7" "b\xAC" "c ", false, false, 6},
        {"leading blank (no leading skip)", " a", 0, 0, 1, " ", false, false, 1},
        {"hyphen at the very end", "ab-", 0, 0, 2, "ab", false, true, 3},
        {"mark at the very end", "Herz\xB6", 0, 0, 5, "Herz\xB6", true, false, 5}, // not past the end
        {"line break alone", "a\xB6\n\xB6\nb", 3, 3, 1, "\xB6", true, false, 5},
    };
    for (const StepCase& c : cases) {
        const SyllableStep s = syllableStep(c.text, c.position);
        EXPECT_EQ(s.selStart, c.selStart) << c.name;
        EXPECT_EQ(s.selLength, c.selLength) << c.name;
        EXPECT_EQ(s.text, c.syllable) << c.name;
        EXPECT_EQ(s.lineBreak, c.lineBreak) << c.name;
        EXPECT_EQ(s.hyphen, c.hyphen) << c.name;
        EXPECT_EQ(s.nextPosition, c.next) << c.name;
    }
}

TEST(AssignmentText, StepsThroughABuiltTextCoverEverySyllableOnce)
{
    const std::string text = buildAssignmentText("Ti-tel  Interpret\r\n- Hal-lo Welt,\r\nwie geht's?\r\n");
    ASSERT_EQ(text, "Ti-tel Interpret\xB6\nHal-lo Welt,\xB6\nwie geht's?");
    std::vector<std::string> rows;
    int p = 0;
    while (p < static_cast<int>(text.size())) {
        const SyllableStep s = syllableStep(text, p);
        // The selection is exactly the syllable's characters in the text.
        EXPECT_EQ(text.substr(static_cast<std::size_t>(s.selStart), static_cast<std::size_t>(s.selLength)), s.text);
        if (writesSyllableRow(s))
            rows.push_back(syllableRowText(s));
        if (s.lineBreak)
            rows.push_back("\xB6");
        ASSERT_GT(s.nextPosition, p);
        p = s.nextPosition;
    }
    const std::vector<std::string> expected = {"Ti\xA4",  "tel ", "Interpret", "\xB6", "Hal\xA4", "lo ",
                                               "Welt,",   "\xB6", "wie ",      "geht's?"};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(countSyllablesLeft(text, 0), 8);
}

TEST(AssignmentText, RowTextOfASyllable)
{
    EXPECT_EQ(syllableRowText(syllableStep("Hal-lo", 0)), "Hal\xA4");
    EXPECT_EQ(syllableRowText(syllableStep("Herz\xB6\nx", 0)), "Herz");
    EXPECT_EQ(syllableRowText(syllableStep("lo Welt", 0)), "lo ");
    // A line break alone writes only the line-break row.
    const SyllableStep alone = syllableStep("a\xB6\n\xB6\nb", 3);
    EXPECT_TRUE(writesAnyRow(alone));
    EXPECT_FALSE(writesSyllableRow(alone));
    // A blank writes nothing.
    EXPECT_FALSE(writesAnyRow(syllableStep(" a", 0)));
}

TEST(AssignmentText, LeadingSkipAndPositionAfterSelection)
{
    EXPECT_EQ(leadingSkip("  -\nab", 0), 4);
    EXPECT_EQ(leadingSkip("ab", 0), 0);
    EXPECT_EQ(leadingSkip("  - ", 0), 0); // nothing else: stays 0
    EXPECT_EQ(leadingSkip("a  b", 2), 2); // only at the beginning

    EXPECT_EQ(positionAfterSelection("Hal-lo Welt", 4), 7);  // «lo» selected: «Welt» is next
    EXPECT_EQ(positionAfterSelection("Hal-lo Welt", 0), 4);
    EXPECT_EQ(positionAfterSelection("Herz\xB6\nSchmerz", 0), 6);
    EXPECT_EQ(positionAfterSelection("Herz\xB6\nSchmerz", 4), 6); // on the mark itself
    EXPECT_EQ(positionAfterSelection("Hal-lo Welt", 7), 11);
    EXPECT_EQ(positionAfterSelection("Hal-lo Welt", 11), 11);
}

TEST(AssignmentText, EmptyLinesAndSyllablesLeft)
{
    EXPECT_TRUE(hasEmptyLine("a\xB6\n\xB6\nb"));
    EXPECT_TRUE(hasEmptyLine("\xB6\n\xB6"));
    EXPECT_FALSE(hasEmptyLine("a\xB6\nb\xB6\nc"));
    EXPECT_FALSE(hasEmptyLine(""));

    EXPECT_EQ(countSyllablesLeft("Hal-lo Welt", 0), 3);
    EXPECT_EQ(countSyllablesLeft("Hal-lo Welt", 4), 2);
    EXPECT_EQ(countSyllablesLeft("Hal-lo Welt", 11), 0);
    EXPECT_EQ(countSyllablesLeft(" a", 0), 1); // the blank step writes nothing
}

TEST(AssignmentText, TabFourRebuildsOnlyAfterAChange)
{
    AssignmentTextState state;
    EXPECT_TRUE(state.enterTab("Hal-lo Welt\r\n"));
    EXPECT_EQ(state.text(), "Hal-lo Welt");
    state.setNextPosition(4);
    // The same text again keeps the text and the position.
    EXPECT_FALSE(state.enterTab("Hal-lo Welt\r\n"));
    EXPECT_EQ(state.nextPosition(), 4);
    // One changed character rebuilds and starts at the beginning.
    EXPECT_TRUE(state.enterTab("Hal-lo Welt!\r\n"));
    EXPECT_EQ(state.text(), "Hal-lo Welt!");
    EXPECT_EQ(state.nextPosition(), 0);
    // After a song was opened the next visit rebuilds, even with the same text.
    state.setNextPosition(4);
    state.forget();
    EXPECT_TRUE(state.enterTab("Hal-lo Welt!\r\n"));
    EXPECT_EQ(state.nextPosition(), 0);
}

} // namespace
