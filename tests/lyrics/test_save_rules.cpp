#include "ListFixture.h"

#include "ScriptedPrompter.h"
#include "lyrics/Marks.h"

namespace versilla::lyrics::test {
namespace {

struct SaveCase {
    const char* name;
    std::string text;
    std::int32_t zeit;
    bool bulk;
    std::optional<MessageId> refusal; // none: accepted
    std::string append;
    std::string focus;
    std::string stored; // TEXT as stored when accepted
};

const std::string NS(1, kNoSpace);
const std::string LB(1, kLineBreak);

class SaveRules : public ListTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveRules, RefusesOrStores)
{
    const SaveCase& c = GetParam();
    list.marks().bulkUpdate = c.bulk;
    ASSERT_TRUE(list.appendRow(makeRow(1000, "vorher")) == std::nullopt);
    ASSERT_TRUE(list.appendBlankRow());
    ASSERT_TRUE(list.setText(c.text));
    ASSERT_TRUE(list.setZeit(c.zeit));
    const auto refusal = list.post();
    if (c.refusal) {
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->message, *c.refusal);
        EXPECT_EQ(refusal->appendText, c.append);
        EXPECT_EQ(refusal->focusField, c.focus);
        EXPECT_EQ(refusal->icon, PromptIcon::Error);
        // The row stays in edit state and nothing reached the table.
        EXPECT_EQ(list.state(), EditState::Insert);
        EXPECT_EQ(list.editRow().text, c.text);
        list.cancel();
        EXPECT_EQ(reread().size(), 1u);
    } else {
        ASSERT_FALSE(refusal.has_value()) << refusal->message.group << "/" << refusal->message.number;
        EXPECT_EQ(list.state(), EditState::Browse);
        const auto rows = reread();
        ASSERT_EQ(rows.size(), 2u);
        const Row& r = rows[0].text == "vorher" ? rows[1] : rows[0];
        EXPECT_EQ(r.text, c.stored);
        EXPECT_EQ(r.zeit, c.zeit);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveRules,
    ::testing::Values(
        SaveCase{"MarkAlone", NS, 100, false, MessageId{1, 44}, " " + NS, "TEXT", ""},
        SaveCase{"MarkAloneWithBlanks", NS + "   ", 100, false, MessageId{1, 44}, " " + NS, "TEXT", ""},
        SaveCase{"TwoMarks", "Hal" + NS + NS, 100, false, MessageId{1, 45}, " " + NS, "TEXT", ""},
        SaveCase{"TwoMarksOnly", NS + NS, 100, false, MessageId{1, 45}, " " + NS, "TEXT", ""},
        SaveCase{"MarkNotLast", "Ha" + NS + "l", 100, false, MessageId{1, 46}, " " + NS, "TEXT", ""},
        SaveCase{"MarkLast", "Hal" + NS, 100, false, std::nullopt, "", "", "Hal" + NS},
        SaveCase{"MarkLastThenBlanks", "Hal" + NS + "  ", 100, false, std::nullopt, "", "", "Hal" + NS},
        // The text checks come before the time check.
        SaveCase{"MarkAloneBeyondSong", NS, 70000, false, MessageId{1, 44}, " " + NS, "TEXT", ""},
        SaveCase{"AtSongLength", "lo", 60000, false, MessageId{1, 47}, "", "ZEIT", ""},
        SaveCase{"OneMsBeforeEnd", "lo", 59999, false, std::nullopt, "", "", "lo"},
        SaveCase{"Negative", "lo", -1, false, MessageId{1, 47}, " (< 0 ms)", "ZEIT", ""},
        SaveCase{"LineBreakAlone", LB, 100, false, std::nullopt, "", "", LB},
        SaveCase{"SyllableThenLineBreak", "Herz" + LB, 100, false, MessageId{16, 8}, " " + LB, "TEXT", ""},
        SaveCase{"TwoLineBreaks", LB + LB, 100, false, MessageId{16, 8}, " " + LB, "TEXT", ""},
        SaveCase{"LineBreakWithBlank", LB + " ", 100, false, std::nullopt, "", "", LB},
        SaveCase{"BlanksOnly", "   ", 100, false, MessageId{1, 87}, "", "TEXT", ""},
        SaveCase{"Empty", "", 100, false, MessageId{1, 87}, "", "TEXT", ""},
        // The bulk-update mark lifts only the time checks.
        SaveCase{"BulkBeyondSong", "lo", 90000, true, std::nullopt, "", "", "lo"},
        SaveCase{"BulkNegative", "lo", -5, true, std::nullopt, "", "", "lo"},
        SaveCase{"BulkStillChecksText", "", 90000, true, MessageId{1, 87}, "", "TEXT", ""}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

TEST_F(ListTest, EmptyZeitIsZeroWithTheFirstTempoEntrysTick)
{
    useTempo({{500000, 480}}, 480); // the only tempo event sits at tick 480 = 0 ms
    ASSERT_TRUE(list.appendBlankRow());
    ASSERT_TRUE(list.setField("ZEIT", ""));
    ASSERT_TRUE(list.setText("a"));
    ASSERT_FALSE(list.post().has_value());
    const auto rows = reread();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].zeit, 0);
    EXPECT_EQ(rows[0].gesticks, 480);
}

TEST_F(ListTest, TicksComeFromTheTempoEntryInForceAtTheTime)
{
    // 500 000 µs per quarter at 480 ticks: tick 1920 is 2000 ms; from there a
    // tick lasts 0.1 ms, so using the wrong entry shows at once.
    useTempo({{500000, 0}, {48000, 1920}}, 480);
    ASSERT_EQ(tempo[1].startMs, 2000);
    for (std::int32_t ms : {1999, 2000, 2001})
        ASSERT_FALSE(list.appendRow(makeRow(ms, "x")).has_value());
    const auto rows = reread();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].gesticks, 1919); // 1999 ms at the first tempo: 1919.04
    EXPECT_EQ(rows[1].gesticks, 1920);
    EXPECT_EQ(rows[2].gesticks, 1930);
}

TEST_F(ListTest, EditingZeitUpdatesTicksButNotTheTimeText)
{
    Row r = makeRow(1000, "Herz");
    r.strzeit = "0:00:01.000";
    ASSERT_FALSE(list.appendRow(r).has_value());
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setZeit(3000));
    EXPECT_EQ(list.state(), EditState::Edit);
    ASSERT_FALSE(list.post().has_value());
    const auto rows = reread();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].zeit, 3000);
    EXPECT_EQ(rows[0].gesticks, 2880);
    EXPECT_EQ(rows[0].strzeit, "0:00:01.000");
}

TEST_F(ListTest, BulkMarkKeepsTheGivenTicks)
{
    list.marks().bulkUpdate = true;
    Row r = makeRow(1000, "Herz");
    r.gesticks = 12345;
    ASSERT_FALSE(list.appendRow(r).has_value());
    EXPECT_EQ(reread().at(0).gesticks, 12345);
}

TEST_F(ListTest, AfterSaveMarks)
{
    struct Case {
        bool bulk, manual, writeUndo;
    };
    for (const Case c : {Case{false, false, true}, Case{true, false, false}, Case{false, true, false}}) {
        ListMarks& mk = list.marks();
        mk = ListMarks{};
        mk.bulkUpdate = c.bulk;
        mk.manualAssignmentShown = c.manual;
        mk.newRow = true;
        mk.wordCommandsEnabled = false;
        list.editorEntered("TEXT");
        ASSERT_TRUE(list.appendBlankRow());
        EXPECT_TRUE(mk.panelDefaultKeys);
        ASSERT_TRUE(list.setText("a"));
        ASSERT_FALSE(list.post().has_value());
        EXPECT_EQ(mk.writeUndoEnabled, c.writeUndo) << c.bulk << c.manual;
        EXPECT_TRUE(mk.wordCommandsEnabled);
        EXPECT_TRUE(mk.listChanged);
        EXPECT_TRUE(mk.staffRefresh);
        EXPECT_FALSE(mk.newRow);
        EXPECT_FALSE(mk.panelDefaultKeys);
        EXPECT_TRUE(mk.currentEditorField.empty());
    }
}

TEST_F(ListTest, CancelledNewRowLeavesNoBlankRow)
{
    ASSERT_FALSE(list.appendRow(makeRow(500, "a")).has_value());
    ASSERT_FALSE(list.appendRow(makeRow(900, "b")).has_value());
    ASSERT_TRUE(list.setCurrentPosition(1));
    // The new-word command: a blank row at the current row's time.
    const std::int32_t at = list.row(list.currentPosition()).zeit;
    ASSERT_TRUE(list.appendBlankRow());
    list.marks().newRow = true;
    list.marks().wordCommandsEnabled = false;
    ASSERT_TRUE(list.setZeit(at));
    EXPECT_EQ(list.rowCount(), 3);
    list.editorLeft("ZEIT");
    EXPECT_EQ(list.editRow().strzeit, "0:00:00.900");

    testsupport::ScriptedPrompter prompter;
    prompter.expect(MessageId{1, 38}, Answer::No).expect(MessageId{1, 38}, Answer::Yes);
    EXPECT_FALSE(list.cancelAsked(prompter));
    EXPECT_EQ(list.state(), EditState::Insert);
    EXPECT_TRUE(list.cancelAsked(prompter));
    EXPECT_EQ(list.state(), EditState::Browse);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.currentPosition(), 1);
    EXPECT_FALSE(list.marks().newRow);
    EXPECT_TRUE(list.marks().wordCommandsEnabled);
    EXPECT_EQ(reread().size(), 2u);
}

TEST_F(ListTest, CancelledEditKeepsStoredValues)
{
    ASSERT_FALSE(list.appendRow(makeRow(500, "a")).has_value());
    ASSERT_TRUE(list.setText("geändert"));
    EXPECT_EQ(list.row(0).text, "geändert"); // views show the edit
    list.cancel();
    EXPECT_EQ(list.row(0).text, "a");
    EXPECT_EQ(reread().at(0).text, "a");
}

TEST_F(ListTest, DeleteSetsMarksAndMovesToTheFollowingRow)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(list.appendRow(makeRow(100 * i, std::string(1, static_cast<char>('a' + i)))).has_value());
    list.marks() = ListMarks{};
    ASSERT_TRUE(list.setCurrentPosition(1));
    ASSERT_TRUE(list.removeCurrent());
    EXPECT_EQ(texts(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(list.currentPosition(), 1);
    EXPECT_TRUE(list.marks().writeUndoEnabled);
    EXPECT_TRUE(list.marks().listChanged);
    EXPECT_TRUE(list.marks().staffRefresh);
    ASSERT_TRUE(list.removeCurrent());
    EXPECT_EQ(list.currentPosition(), 0); // the last row went: the new last row
    EXPECT_EQ(reread().size(), 1u);
}

TEST(ProtectedChars, TypedOnTheWordTable)
{
    struct Case {
        char typed;
        const char* focus;
        bool tab2, manual;
        char inserted;
    };
    const Case cases[] = {
        {'-', "wwRecordViewPanel1", true, false, kProtectedHyphen},
        {' ', "wwRecordViewPanel1", true, false, kProtectedSpace},
        {'-', "s2_schiebenzeit", true, false, '-'},
        {' ', "s2_schiebenzeit", true, false, kProtectedSpace},
        {'-', "wwDBGrid2", true, true, '-'},
        {' ', "wwDBGrid2", true, true, ' '},
        {'-', "s5_grid", false, false, '-'},
        {'a', "wwDBGrid2", true, false, 'a'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(protectedCharFor(c.typed, c.focus, c.tab2, c.manual), c.inserted)
            << c.typed << " in " << c.focus;
}

} // namespace
} // namespace versilla::lyrics::test
