// The automatic assignment of the syllables to the melody notes.
#include "AssignFixture.h"

#include "lyrics/AssignmentText.h"

namespace assigntest {
namespace {

const MessageId k72{1, 72}, k73{1, 73}, k74{1, 74}, k75{1, 75}, k77{1, 77};

// Counts what the views are told during a run.
struct CountingListener : lyrics::ListListener {
    int resets = 0;
    int inserts = 0;
    void reset() override { ++resets; }
    void inserted(int) override { ++inserts; }
};

TEST_F(AssignTest, HalloWeltOnThreeNotes)
{
    open(melodySong({{480}, {960}, {1440}}));
    CountingListener views;
    ws->list().addListener(&views);
    prompter.script.expect(k74, Answer::Yes).expect(k77);
    const song::AutoAssignResult r = run(lyrics::buildAssignmentText("Hal-lo Welt"));
    ws->list().removeListener(&views);

    EXPECT_EQ(r.outcome, song::AutoAssignOutcome::Done);
    const std::vector<RowTuple> expected = {{500, "Hal\xA4", 480, 1, 1, "0:00:00.500"},
                                            {1000, "lo", 960, 0, 1, "0:00:01.000"},
                                            {1500, "Welt", 1440, 0, 1, "0:00:01.500"}};
    EXPECT_EQ(rowTuples(ws->list()), expected);
    EXPECT_EQ(prompter.appended(k77), " 0");
    EXPECT_EQ(r.emptySyllables, 0);
    EXPECT_TRUE(r.showStaffTab);
    // The last step's syllable stays selected; nothing is left.
    EXPECT_EQ(r.selStart, 7);
    EXPECT_EQ(r.selLength, 4);
    EXPECT_EQ(r.nextPosition, 11);
    // The window finishes (tab 5) before 1/77 is shown.
    EXPECT_EQ(reportedAfterFinish, 1u);
    // The melody note list holds the notes taken, with their staff positions.
    ASSERT_EQ(ws->melodyNotes().size(), 3u);
    EXPECT_EQ(ws->melodyNotes()[2], (song::MelodyNote{1440, 60, 72, false}));
    // Ordinary saves: the list is marked changed, "Eintragen" enabled, the bulk mark
    // stays off; the views get one reset instead of a call per row.
    EXPECT_FALSE(ws->list().marks().bulkUpdate);
    EXPECT_TRUE(ws->list().marks().listChanged);
    EXPECT_TRUE(ws->list().marks().staffRefresh);
    EXPECT_TRUE(ws->list().marks().writeUndoEnabled);
    EXPECT_EQ(views.resets, 1);
    EXPECT_EQ(views.inserts, 0);
}

TEST_F(AssignTest, LineEndGivesALineBreakRowAtTheSameTime)
{
    open(melodySong({{480}, {960}}));
    prompter.script.expect(k74, Answer::Yes).expect(k77);
    run(lyrics::buildAssignmentText("Herz\r\nSchmerz\r\n"));
    const std::vector<RowTuple> expected = {{500, "Herz", 480, 1, 1, "0:00:00.500"},
                                            {500, "\xB6", 480, 0, 1, "0:00:00.500"},
                                            {1000, "Schmerz", 960, 0, 1, "0:00:01.000"}};
    EXPECT_EQ(rowTuples(ws->list()), expected);
}

TEST_F(AssignTest, NotesAtOneTickFollowGleich)
{
    struct Case {
        bool gleich;
        std::vector<std::pair<std::int32_t, std::string>> rows;
        std::size_t notes;
    };
    const std::vector<Case> cases = {
        {false, {{500, "a"}, {1000, "b"}}, 2},
        {true, {{500, "a"}, {500, "b"}, {1000, "c"}}, 3},
    };
    for (const Case& c : cases) {
        settings.gleich = c.gleich;
        open(melodySong({{480}, {480, 100, 1, 64}, {960}}));
        prompter.script.expect(k74, Answer::Yes).expect(k77);
        run("a b c");
        std::vector<std::pair<std::int32_t, std::string>> rows;
        for (const auto& row : ws->list().rows())
            rows.emplace_back(row.zeit, row.text);
        EXPECT_EQ(rows, c.rows) << "GLEICH " << c.gleich;
        EXPECT_EQ(ws->melodyNotes().size(), c.notes) << "GLEICH " << c.gleich;
        prompter.script.verify();
    }
}

TEST_F(AssignTest, SilentNoteOnsAndAFirstNoteAtTickZeroAreNotTaken)
{
    // Velocity 0 is a note-off; without "GLEICH" a note at tick 0 matches the
    // previous note tick's starting value and is skipped.
    open(melodySong({{0}, {480, 0}, {960}, {1440}}));
    prompter.script.expect(k74, Answer::Yes).expect(k77);
    const song::AutoAssignResult r = run("a b c");
    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (const auto& row : ws->list().rows())
        rows.emplace_back(row.gesticks, row.text);
    const std::vector<std::pair<std::int32_t, std::string>> expected = {{960, "a"}, {1440, "b"}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(r.notesTaken, 2);
    EXPECT_EQ(lyrics::countSyllablesLeft(assignmentText, r.nextPosition), 1);
}

TEST_F(AssignTest, IntroWordsAtOneQuarterNote)
{
    open(melodySong({{960}, {1440}}));
    const std::string text = lyrics::buildAssignmentText("Titel Interpret\r\nHal-lo\r\n");
    ASSERT_EQ(text, "Titel Interpret\xB6\nHal-lo");
    struct Case {
        const char* name;
        int selLength;
        std::vector<RowTuple> rows;
    };
    const std::vector<Case> cases = {
        {"intro up to the line-break mark",
         16,
         {{500, "Titel", 480, 0, 1, "0:00:00.500"},
          {500, "Interpret", 480, 0, 1, "0:00:00.500"},
          {500, "\xB6", 480, 0, 1, "0:00:00.500"},
          {1000, "Hal\xA4", 960, 1, 1, "0:00:01.000"},
          {1500, "lo", 1440, 0, 1, "0:00:01.500"}}},
        {"intro with its line feed",
         17,
         {{500, "Titel", 480, 0, 1, "0:00:00.500"},
          {500, "Interpret", 480, 0, 1, "0:00:00.500"},
          {500, "\xB6", 480, 0, 1, "0:00:00.500"},
          {1000, "Hal\xA4", 960, 1, 1, "0:00:01.000"},
          {1500, "lo", 1440, 0, 1, "0:00:01.500"}}},
        {"intro ending inside a word drops that word",
         11,
         {{500, "Titel", 480, 0, 1, "0:00:00.500"},
          {1000, "pret", 960, 1, 1, "0:00:01.000"},
          {1000, "\xB6", 960, 0, 1, "0:00:01.000"},
          {1500, "Hal\xA4", 1440, 0, 1, "0:00:01.500"}}},
    };
    for (const Case& c : cases) {
        prompter.script.expect(k74, Answer::Yes).expect(k77);
        run(text, 0, c.selLength);
        EXPECT_EQ(rowTuples(ws->list()), c.rows) << c.name;
        prompter.script.verify();
    }
}

TEST_F(AssignTest, FewerOrMoreNotesThanSyllables)
{
    struct Case {
        std::vector<Note> notes;
        std::size_t rows;
        std::string reported;
        int left;
    };
    const std::vector<Case> cases = {
        {{{480}, {960}}, 2, " 0", 1},                       // «c» stays unassigned
        {{{480}, {960}, {1440}, {1920}, {2400}}, 3, " 2", 0}, // two notes without a syllable
    };
    for (const Case& c : cases) {
        open(melodySong(c.notes));
        prompter.seen.clear();
        prompter.script.expect(k74, Answer::Yes).expect(k77);
        const song::AutoAssignResult r = run("a b c");
        EXPECT_EQ(ws->list().rows().size(), c.rows);
        EXPECT_EQ(prompter.appended(k77), c.reported);
        EXPECT_EQ(lyrics::countSyllablesLeft(assignmentText, r.nextPosition), c.left);
        prompter.script.verify();
    }
    // The next-syllable position points at the first unassigned syllable, where a
    // manual assignment continues.
    open(melodySong({{480}, {960}}));
    prompter.script.expect(k74, Answer::Yes).expect(k77);
    const song::AutoAssignResult r = run("a b c");
    EXPECT_EQ(r.nextPosition, 4);
    EXPECT_EQ(r.selStart, 2);
    EXPECT_EQ(r.selLength, 2);
}

class StoppedRun : public AssignTest {
protected:
    // A list and melody note list that a stopped run must leave alone.
    void prepare()
    {
        open(melodySong({{480}, {960}}));
        lyrics::Row row;
        row.zeit = 100;
        row.text = "vorher";
        row.mehrfach = 1;
        ASSERT_FALSE(ws->list().appendRow(row).has_value());
        before = rowTuples(ws->list());
        notesBefore = ws->melodyNotes();
    }
    void expectUnchanged(const song::AutoAssignResult& r)
    {
        EXPECT_EQ(r.outcome, song::AutoAssignOutcome::Stopped);
        EXPECT_EQ(rowTuples(ws->list()), before);
        EXPECT_EQ(ws->melodyNotes(), notesBefore);
        EXPECT_EQ(r.nextPosition, 3);
        EXPECT_FALSE(r.showStaffTab);
    }
    std::vector<RowTuple> before;
    song::MelodyNoteList notesBefore;
};

TEST_F(StoppedRun, EmptyLine)
{
    prepare();
    prompter.script.expect(k72);
    expectUnchanged(run(lyrics::buildAssignmentText("a\r\n\r\nb"), 0, 0, 3));
}

TEST_F(StoppedRun, NoToTheQuestion)
{
    prepare();
    prompter.script.expect(k74, Answer::No);
    expectUnchanged(run("a b", 0, 0, 3));
}

TEST_F(StoppedRun, SelectionNotAtTheBeginning)
{
    prepare();
    prompter.script.expect(k74, Answer::Yes).expect(k75);
    expectUnchanged(run("a b", 2, 1, 3));
}

TEST_F(StoppedRun, MelodyChannelWithoutNotesListsTheChannelsPerTrack)
{
    // Three tracks: the conductor (no notes), channel 2, then channel 3 (and 4).
    Track conductor;
    conductor.tempo(0, 500000).end(4800);
    Track two;
    two.noteOn(480, 2, 60).noteOff(960, 2, 60).end(4800);
    Track three;
    three.noteOn(480, 3, 60).noteOn(500, 4, 62).noteOff(960, 3, 60).noteOff(960, 4, 62).end(4800);
    settings.melodie = 2;
    open(workflowtest::songBytes(1, 480, {conductor, two, three}));
    settings.melodie = 5;
    prompter.script.expect(k73);
    const song::AutoAssignResult r = run("a b");
    EXPECT_EQ(r.outcome, song::AutoAssignOutcome::Stopped);
    EXPECT_EQ(prompter.appended(k73), " 2 3 ");
}

TEST_F(StoppedRun, OneTrackListsItsChannelsInOrderOfAppearance)
{
    Track only;
    only.tempo(0, 500000)
        .noteOn(480, 3, 60)
        .noteOn(490, 1, 60)
        .noteOn(500, 3, 62)
        .noteOn(510, 2, 60)
        .noteOff(900, 3, 60)
        .end(4800);
    settings.melodie = 7;
    open(workflowtest::songBytes(0, 480, {only}));
    prompter.script.expect(k73);
    run("a b");
    EXPECT_EQ(prompter.appended(k73), " 3 1 2 ");
}

TEST_F(AssignTest, ARefusedRowEndsTheRunAndKeepsTheRowsBefore)
{
    // The last note starts at the song's end: its time is not inside the song.
    Track conductor;
    conductor.tempo(0, 500000).end(1920);
    Track melody;
    melody.noteOn(480, 1, 60).noteOn(960, 1, 62).noteOff(1900, 1, 60).noteOn(1920, 1, 64).end(1920);
    open(workflowtest::songBytes(1, 480, {conductor, melody}));
    prompter.script.expect(k74, Answer::Yes); // no 1/77: the run ended
    const song::AutoAssignResult r = run("a b c");
    EXPECT_EQ(r.outcome, song::AutoAssignOutcome::Refused);
    ASSERT_TRUE(r.refusal.has_value());
    EXPECT_EQ(r.refusal->message, (MessageId{1, 47}));
    EXPECT_FALSE(r.showStaffTab);
    std::vector<std::string> texts;
    for (const auto& row : ws->list().rows())
        texts.push_back(row.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(ws->list().isEditing()); // the refused row, for the user to correct
    EXPECT_EQ(ws->list().editRow().text, "c");
    ws->list().cancel();
    EXPECT_EQ(ws->list().rowCount(), 2);
}

TEST_F(AssignTest, ARefusedIntroRowStillLeavesTheWholeMelody)
{
    // A text starting with an empty first line: the intro's empty word is refused.
    open(melodySong({{480}, {960}, {1440}}));
    prompter.script.expect(k74, Answer::Yes);
    const song::AutoAssignResult r = run("\xB6\nHal-lo", 0, 2);
    EXPECT_EQ(r.outcome, song::AutoAssignOutcome::Refused);
    EXPECT_EQ(r.refusal->message, (MessageId{1, 87}));
    EXPECT_EQ(ws->list().rows().size(), 0u);
    // The staff view draws the melody note list: it must not lose notes.
    EXPECT_EQ(ws->melodyNotes().size(), 3u);
    EXPECT_FALSE(ws->list().marks().bulkUpdate);
    ws->list().cancel();
}

} // namespace
} // namespace assigntest
