// Undo, close, tempo change, start time and saving.
#include "WorkflowFixture.h"

#include "ScriptedPrompter.h"
#include "song/TempoChange.h"

using namespace workflowtest;
using versilla::testsupport::ScriptedPrompter;

namespace {

/// Format 1, 480 ticks per quarter: a conductor track with the given tempi
/// (tick, BPM) ending at `end`, and a melody track with lyrics at the given ticks.
std::string tempoSong(const std::vector<std::pair<int, int>>& tempi, int end,
                      const std::vector<std::pair<int, std::string>>& lyrics)
{
    Track conductor;
    for (auto [tick, bpm] : tempi)
        conductor.bpm(tick, bpm);
    conductor.end(end);
    Track melody;
    for (const auto& [tick, text] : lyrics)
        melody.noteOn(tick, 1, 60).lyric(tick, text);
    melody.end(end);
    return songBytes(1, 480, {conductor, melody});
}

} // namespace

TEST_F(WorkflowTest, UndoAfterOpeningRestoresTheImportedRows)
{
    ASSERT_TRUE(openBytes(tempoSong({{0, 120}}, 3840, {{480, "a "}, {960, "b "}, {1440, "c "}})).done());
    editText(0, "x");
    editText(1, "y");
    ASSERT_TRUE(ws->list().removeAt(2));
    ASSERT_TRUE(ws->list().marks().writeUndoEnabled);

    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 49}, Answer::No);
        EXPECT_EQ(ws->undo(p).outcome, song::Outcome::Cancelled);
    }
    EXPECT_EQ(ws->list().rowCount(), 2);

    ws->setStartTime(1234);
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 49}, Answer::Yes);
        ASSERT_TRUE(ws->undo(p).done());
    }
    EXPECT_EQ(rowTexts(ws->list()), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ws->list().rows()[1].zeit, 1000);
    EXPECT_EQ(ws->startTimeMs(), 0);
    EXPECT_FALSE(ws->list().marks().listChanged);
    EXPECT_FALSE(ws->list().marks().writeUndoEnabled);
    EXPECT_FALSE(ws->list().marks().bulkUpdate);
    EXPECT_EQ(ws->rowSnapshot().size(), 3u);
    EXPECT_EQ(observer.keys.back(), " 5text4");
}

TEST_F(WorkflowTest, UndoAfterWritingGoesBackToTheRowsReadBack)
{
    ASSERT_TRUE(openBytes(tempoSong({{0, 120}}, 3840, {{480, "a "}, {960, "b "}})).done());
    editText(0, "neu");
    ASSERT_TRUE(ws->writeLyrics().done());
    editText(1, "anders");
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 50}, Answer::Yes);
        ASSERT_TRUE(ws->undo(p).done());
    }
    EXPECT_EQ(rowTexts(ws->list()), (std::vector<std::string>{"neu", "b"}));
    EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{480, "neu "}, {960, "b "}})); // the song keeps the written lyrics
    EXPECT_TRUE(ws->flags().songUnsaved);
    EXPECT_FALSE(ws->flags().lyricsWritten);
    {
        ScriptedPrompter p; // lyrics-written mark cleared: the next undo asks 1/49
        p.expect(MessageId{1, 49}, Answer::No);
        EXPECT_EQ(ws->undo(p).outcome, song::Outcome::Cancelled);
    }
}

TEST_F(WorkflowTest, CloseAsksTwiceAndDeletesTheWorkingCopies)
{
    ASSERT_TRUE(openBytes(tempoSong({{0, 120}}, 3840, {{480, "a "}})).done());
    editText(0, "b");
    ASSERT_TRUE(ws->writeLyrics().done()); // song unsaved, Sylo3 exists
    editText(0, "c");                     // list changed
    ASSERT_TRUE(fs::exists(data() / "Sylo3.dbf"));

    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 54}, Answer::Yes).expect(MessageId{1, 55}, Answer::No);
        EXPECT_EQ(ws->close(p).outcome, song::Outcome::Cancelled);
    }
    EXPECT_TRUE(ws->flags().songOpen);
    EXPECT_EQ(rowTexts(ws->list()), std::vector<std::string>{"c"});
    EXPECT_TRUE(fs::exists(data() / "Sylo1.dbf"));
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 54}, Answer::No);
        EXPECT_EQ(ws->close(p).outcome, song::Outcome::Cancelled);
    }
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 54}, Answer::Yes).expect(MessageId{1, 55}, Answer::Yes);
        ASSERT_TRUE(ws->close(p).done());
    }
    EXPECT_FALSE(ws->flags().songOpen);
    EXPECT_FALSE(ws->flags().songUnsaved);
    EXPECT_FALSE(ws->list().marks().listChanged);
    EXPECT_EQ(ws->list().rowCount(), 0);
    EXPECT_FALSE(fs::exists(data() / "Sylo1.dbf"));
    EXPECT_FALSE(fs::exists(data() / "Sylo3.dbf"));

    // Nothing changed since opening: no question.
    ASSERT_TRUE(openBytes(tempoSong({{0, 120}}, 3840, {})).done());
    ScriptedPrompter none;
    EXPECT_TRUE(ws->close(none).done());
}

TEST(TempoDialog, AcceptsSixtyToTwoHundredSixty)
{
    const std::pair<std::string, bool> cases[] = {{"60", true},  {"260", true}, {"120", true}, {"59", false},
                                                  {"261", false}, {"", false},  {"1a", false}, {"-80", false}};
    for (const auto& [text, ok] : cases) {
        const auto one = song::validateTempo(text, false);
        EXPECT_EQ(std::holds_alternative<std::int32_t>(one), ok) << text;
        if (!ok) {
            EXPECT_EQ(std::get<Refusal>(one).message, (MessageId{3, 1}));
            EXPECT_EQ(std::get<Refusal>(song::validateTempo(text, true)).message, (MessageId{11, 1}));
            EXPECT_EQ(std::get<Refusal>(one).focusField, "NewTempo");
        }
    }
}

TEST_F(WorkflowTest, SameTempoChangesNothing)
{
    ASSERT_TRUE(openBytes(tempoSong({{0, 120}}, 3840, {{480, "a "}})).done());
    const std::string before = readAll(data() / "Sylo1.dbf");
    EXPECT_EQ(ws->changeTempo(120).outcome, song::Outcome::Unchanged);
    EXPECT_EQ(readAll(data() / "Sylo1.dbf"), before);
    EXPECT_FALSE(fs::exists(data() / "Sylo3.dbf"));
    EXPECT_FALSE(ws->flags().songUnsaved);
}

TEST_F(WorkflowTest, TempoChangeRescalesTimesAndWritesTheSong)
{
    // 100 BPM: 3000 ms lie at 2400 ticks.
    ASSERT_TRUE(openBytes(tempoSong({{0, 100}}, 4800, {{2400, "drei "}})).done());
    ASSERT_EQ(ws->list().rows()[0].zeit, 3000);
    ws->setContinueAllowed(true);
    const song::CommandResult r = ws->changeTempo(120);
    ASSERT_TRUE(r.done()) << r.error;
    const auto rows = ws->list().rows();
    EXPECT_EQ(rows[0].zeit, 2500);
    EXPECT_EQ(rows[0].strzeit, "0:00:02.500");
    EXPECT_EQ(rows[0].gesticks, 2400);
    EXPECT_EQ(ws->facts().shownBpm, 120);
    EXPECT_EQ(ws->facts().bpmOffset, 0); // written: the tempo is in the song now
    EXPECT_EQ(ws->facts().songLengthMs, 5000);
    EXPECT_EQ(ws->tempoList()[0].tempo, 500000);
    EXPECT_FALSE(ws->flags().continueAllowed);
    EXPECT_TRUE(ws->flags().songUnsaved);
    EXPECT_FALSE(ws->list().marks().writeUndoEnabled);
    EXPECT_EQ(song::readTempoList(*midi)[0].tempo, 500000);
    EXPECT_NE(std::find(observer.keys.begin(), observer.keys.end(), " 5text3"), observer.keys.end());
}

TEST_F(WorkflowTest, SeveralTempiMoveTogether)
{
    // 100 BPM until tick 3200 (4000 ms), then 80 BPM; a syllable 1000 ms after the change.
    ASSERT_TRUE(openBytes(tempoSong({{0, 100}, {3200, 80}}, 9600, {{3200 + 640, "x "}})).done());
    ASSERT_EQ(ws->tempoList()[1].startMs, 4000);
    ASSERT_EQ(ws->list().rows()[0].zeit, 5000);
    ASSERT_TRUE(ws->changeTempo(110).done());
    ASSERT_EQ(ws->tempoList().size(), 2u);
    EXPECT_EQ(ws->tempoList()[0].bpm, 110);
    EXPECT_EQ(ws->tempoList()[1].bpm, 90);
    EXPECT_EQ(ws->tempoList()[1].startMs, 3636);
    EXPECT_EQ(ws->list().rows()[0].zeit, 3636 + 889); // 1000 × 80 / 90 = 888.9
    const song::TempoList inFile = song::readTempoList(*midi);
    EXPECT_EQ(inFile[0].tempo, 545455); // 600000 × 100 / 110 = 545454.55
    EXPECT_EQ(inFile[1].tempo, 666667);
}

TEST_F(WorkflowTest, TempoChangesThatCannotBeMadeAreRefused)
{
    ASSERT_TRUE(openBytes(tempoSong({{0, 200}, {960, 30}}, 1920, {})).done());
    const std::string before = readAll(data() / "Sylo1.dbf");
    for (int bpm : {59, 261, 60}) { // 60 would take the second tempo below zero
        const song::CommandResult r = ws->changeTempo(bpm);
        EXPECT_EQ(r.outcome, song::Outcome::Refused) << bpm;
        ASSERT_TRUE(r.message.has_value());
        EXPECT_EQ(r.message->message, (MessageId{11, 1}));
    }
    EXPECT_EQ(ws->facts().shownBpm, 200);
    EXPECT_EQ(readAll(data() / "Sylo1.dbf"), before);
}

TEST(StartTimeDialog, Rules)
{
    struct Case {
        std::string min, sek, ms;
        std::int32_t length;
        std::optional<std::int32_t> value;
        MessageId message;
        std::string focus;
    };
    const Case cases[] = {
        {"0", "0", "90000", 100000, 90000, {}, ""},
        {"1", "30", "0", 100000, 90000, {}, ""},
        {"5", "5", "90000", 100000, 90000, {}, ""}, // ms wins
        {"", "", "", 100000, 0, {}, ""},            // blanks count as 0
        {"0", "60", "0", 100000, std::nullopt, MessageId{4, 2}, "sek"},
        {"60", "0", "0", 100000, std::nullopt, MessageId{4, 1}, "min"},
        {"0", "0", "100000", 100000, 100000, {}, ""}, // the song length itself is accepted
        {"0", "0", "100001", 100000, std::nullopt, MessageId{4, 3}, "sek"},
        {"2", "0", "0", 100000, std::nullopt, MessageId{4, 3}, "sek"},
    };
    for (const Case& c : cases) {
        const auto r = song::validateStartTime(c.min, c.sek, c.ms, c.length);
        if (c.value) {
            ASSERT_TRUE(std::holds_alternative<std::int32_t>(r)) << c.min << ":" << c.sek << " " << c.ms;
            EXPECT_EQ(std::get<std::int32_t>(r), *c.value);
        } else {
            ASSERT_TRUE(std::holds_alternative<Refusal>(r)) << c.min << ":" << c.sek << " " << c.ms;
            EXPECT_EQ(std::get<Refusal>(r).message, c.message);
            EXPECT_EQ(std::get<Refusal>(r).focusField, c.focus);
        }
    }
    // Leaving `min` with 2 puts two minutes into `ms`.
    EXPECT_EQ(song::startTimeFromMinSek("2", "0"), 120000);
}

TEST_F(WorkflowTest, SaveWithoutChangesCopiesTheOpenedFile)
{
    FakeChooser chooser;
    {
        ScriptedPrompter p;
        const song::CommandResult none = ws->save(p, chooser, "Karaoke_");
        ASSERT_EQ(none.outcome, song::Outcome::Refused);
        EXPECT_EQ(none.message->message, (MessageId{1, 56}));
    }
    const std::string original = tempoSong({{0, 120}}, 3840, {{480, "a "}});
    ASSERT_TRUE(openBytes(original, "lied.mid").done());

    struct Case {
        std::string chosen, saved;
    };
    const Case cases[] = {{"x.MID", "x.MID"}, {"song.kar", "song.kar.mid"}};
    for (const Case& c : cases) {
        chooser.saveAnswer = (dir / c.chosen).string();
        ScriptedPrompter p;
        ASSERT_TRUE(ws->save(p, chooser, "Karaoke_").done());
        EXPECT_EQ(readAll(dir / c.saved), original) << c.saved;
        EXPECT_EQ(ws->facts().path, (dir / c.saved).string());
    }
    EXPECT_EQ(chooser.seenFolder, dir.string());
    EXPECT_EQ(chooser.seenProposed, "Karaoke_x.MID");

    // Cancelling the dialog saves nothing.
    chooser.saveAnswer.reset();
    ScriptedPrompter p;
    EXPECT_EQ(ws->save(p, chooser, "Karaoke_").outcome, song::Outcome::Cancelled);
}

TEST_F(WorkflowTest, SaveWritesPendingLyricsAndAsksBeforeReplacing)
{
    FakeChooser chooser;
    ASSERT_TRUE(openBytes(tempoSong({{0, 120}}, 3840, {{480, "a "}})).done());
    editText(0, "neu");
    writeAll(dir / "out.mid", "the user's old file");
    chooser.saveAnswer = (dir / "out.mid").string();
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 57}, Answer::No);
        EXPECT_EQ(ws->save(p, chooser, "").outcome, song::Outcome::Cancelled);
        EXPECT_TRUE(ws->list().marks().listChanged);
    }
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 57}, Answer::Yes).expect(MessageId{1, 60}, Answer::No);
        EXPECT_EQ(ws->save(p, chooser, "").outcome, song::Outcome::Cancelled);
    }
    EXPECT_EQ(readAll(dir / "out.mid"), "the user's old file");
    EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{480, "neu "}})); // written by the Yes to 1/57
    EXPECT_TRUE(ws->flags().songUnsaved);
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 60}, Answer::Yes);
        ASSERT_TRUE(ws->save(p, chooser, "").done());
    }
    EXPECT_EQ(readAll(dir / "out.mid"), readAll(data() / "Sylo1.dbf"));
    EXPECT_FALSE(ws->flags().songUnsaved);
}

TEST_F(WorkflowTest, SaveFailureLeavesTheTargetAlone)
{
    FakeChooser chooser;
    ASSERT_TRUE(openBytes(tempoSong({{0, 120}}, 3840, {{480, "a "}})).done());
    // A folder with content cannot be replaced by the saved file.
    fs::create_directories(dir / "busy.mid" / "keep");
    chooser.saveAnswer = (dir / "busy.mid").string();
    ScriptedPrompter p;
    p.expect(MessageId{1, 60}, Answer::Yes);
    const song::CommandResult r = ws->save(p, chooser, "");
    EXPECT_EQ(r.outcome, song::Outcome::Failed);
    EXPECT_NE(r.error.find("busy.mid"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir / "busy.mid" / "keep"));
    EXPECT_EQ(ws->facts().path, (dir / "song.mid").string());
}

TEST_F(WorkflowTest, SaveOffersTheOpeningTempo)
{
    FakeChooser chooser;
    const std::string original = tempoSong({{0, 100}, {1920, 90}}, 4800, {{2400, "a "}});
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        ASSERT_TRUE(openBytes(original).done());
        const std::int32_t zeitBefore = ws->list().rows()[0].zeit;
        ASSERT_TRUE(ws->changeTempo(120).done());
        RecordingPrompter p;
        p.answers = {answer};
        chooser.saveAnswer = (dir / "saved.mid").string();
        fs::remove(dir / "saved.mid");
        ASSERT_TRUE(ws->save(p, chooser, "").done());
        ASSERT_EQ(p.asked.size(), 1u);
        EXPECT_EQ(p.asked[0].message, (MessageId{1, 59}));
        EXPECT_EQ(p.asked[0].appendText, " 100 (120)");

        core::TMidiFile saved(core::PlaybackSetup{nullptr, nullptr, false});
        saved.ReadBytes(readAll(dir / "saved.mid"));
        const song::TempoList tempi = song::readTempoList(saved);
        ASSERT_EQ(tempi.size(), 2u);
        if (answer == Answer::No) {
            EXPECT_EQ(tempi[0].tempo, 500000); // the changed tempo is saved
            EXPECT_EQ(ws->facts().shownBpm, 120);
        } else {
            EXPECT_EQ(tempi[0].tempo, 600000); // exactly the opening tempi
            EXPECT_EQ(tempi[1].tempo, 666666);
            EXPECT_EQ(ws->facts().shownBpm, 100);
            EXPECT_NEAR(ws->list().rows()[0].zeit, zeitBefore, 1); // rescaled twice, rounded each time
            EXPECT_EQ(lyricsOf(saved, 1), (Lyrics{{2400, "a "}}));
            EXPECT_EQ(observer.keys.back(), " 5text5");
        }
    }
}

TEST(TempoRescale, RoundsHalvesToEven)
{
    song::TempoList list(1);
    list[0].startTick = 0;
    list[0].startMs = 0;
    list[0].bpm = 100;
    list[0].tempo = 600000;
    list[0].usPerTick = 1250.0;
    const std::vector<std::int32_t> starts = song::rescaledStartMs(list, 100); // every time halves
    const std::pair<std::int32_t, std::int32_t> cases[] = {{3, 2}, {5, 2}, {7, 4}, {2999, 1500}, {3001, 1500}};
    for (auto [zeit, expected] : cases)
        EXPECT_EQ(song::rescaledTime(list, starts, zeit, 100), expected) << zeit;
}
