// Opening a song: facts, melody notes, tempo list, time signatures, lyric import,
// refusals and the questions before it.
#include "WorkflowFixture.h"

#include "song/LyricForms.h"
#include "song/SongScan.h"
#include "ScriptedPrompter.h"

using namespace workflowtest;
using versilla::testsupport::ScriptedPrompter;

namespace {

// "¶", "¤", "·", "¬" as Windows-1252 bytes.
const std::string PARA = "\xB6";
const std::string NOSP = "\xA4";
const std::string PSP = "\xB7";
const std::string PHY = "\xAC";

std::string conductorAndMelody(const std::vector<std::pair<int, std::string>>& lyrics)
{
    Track conductor;
    conductor.bpm(0, 120).timeSignature(0, 4, 2).end(0);
    Track melody;
    int last = 0;
    for (const auto& [tick, text] : lyrics) {
        melody.noteOn(tick, 1, 60).lyric(tick, text).noteOff(tick + 100, 1, 60);
        last = tick + 100;
    }
    melody.end(last + 10);
    return songBytes(1, 480, {conductor, melody});
}

} // namespace

TEST(SongPath, MidExtensionRule)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/a/song.kar", "/a/song.kar.mid"},
        {"/a/x.midi", "/a/x.midi"},
        {"/a/X.MID", "/a/X.MID"},
        {"/a/song", "/a/song.mid"},
        {"/a.mid.d/song", "/a.mid.d/song"}, // ".MID" anywhere in the path counts
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(song::withMidExtension(in), out) << in;
}

TEST(PitchTable, PositionsAndSharps)
{
    struct Case {
        int note, position;
        bool sharp;
    };
    const Case cases[] = {{48, 104, false}, {49, 104, true}, {53, 92, false}, {57, 84, false}, {58, 80, true},
                          {59, 76, false},  {60, 72, false}, {61, 72, true},  {71, 48, false}, {72, 44, false},
                          {87, 12, true},   {89, 4, false},  {90, 4, true},   {91, 0, false},
                          // outside the table: the top of the staff, no sharp
                          {47, 0, false},   {92, 0, false},  {0, 0, false},   {127, 0, false}};
    for (const Case& c : cases) {
        const song::StaffPitch p = song::pitchOf(c.note);
        EXPECT_EQ(p.position, c.position) << c.note;
        EXPECT_EQ(p.sharp, c.sharp) << c.note;
    }
    // From 59 upwards an octave spans 28 positions.
    for (int n = 59; n + 12 <= 91; ++n)
        EXPECT_EQ(song::pitchOf(n).position - song::pitchOf(n + 12).position, 28) << n;
}

TEST(LyricImportText, RowsFromEventTexts)
{
    struct Case {
        std::string event;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"Hel", {"Hel" + NOSP}},
        {"lo ", {"lo "}},
        {"rock-n-roll", {"rock" + PHY + "n" + PHY + "roll" + NOSP}},
        {"(C) 2003", {"(C)" + PSP + "2003" + NOSP}},
        {"le  ", {"le" + PSP + " "}},
        {"\r", {PARA}},
        {"\r\n", {PARA}},
        // words after a leading line break are kept as a row of their own
        {"\rDurch ", {PARA, "Durch "}},
        {"\n\r\nzwei Wo", {PARA, "zwei" + PSP + "Wo" + NOSP}},
        {"\r   ", {PARA}},
        // a line feed counts like a carriage return: the words stay
        {"mit\n", {"mit\n" + NOSP}},
        {"Lied\r", {"Lied\r" + NOSP}},
        // skipped: only spaces, empty, other control characters
        {"   ", {}},
        {"", {}},
        {"a\tb", {}},
    };
    for (const Case& c : cases) {
        std::vector<song::ImportedLyric> out;
        song::importLyricText(c.event, true, out);
        std::vector<std::string> texts;
        for (const auto& r : out)
            texts.push_back(r.text);
        EXPECT_EQ(texts, c.rows) << "event text '" << c.event << "'";
    }
}

TEST(LyricImportText, CopyrightNotices)
{
    const std::pair<std::string, bool> cases[] = {
        {"(C) 2003", true}, {"All rights reserved", true}, {"allrightsreserved", true},
        {"Copyright Foo", true}, {"\xA9 Foo", true}, {"(c)", true}, {"Cop right", false}, {"C 2003", false}};
    for (const auto& [text, notice] : cases) {
        std::vector<song::ImportedLyric> out;
        song::importLyricText(text, true, out);
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].copyright, notice) << text;
    }
}

// Lyrics stored as UTF-8: "ä" read as bytes would hold the no-space mark 0xA4 inside
// the syllable, the save rules would refuse it and the words would be lost.
TEST_F(WorkflowTest, ImportsUtf8LyricsAsTheirCharacters)
{
    Track melody;
    melody.noteOn(480, 1, 60).lyric(480, "M\xC3\xA4" "d").lyric(720, "chen ").lyric(960, "Fl\xC3\xBCs")
        .lyric(1200, "Caf\xE9 ").end(1920); // the last one is no UTF-8: kept as its bytes
    ASSERT_TRUE(openBytes(songBytes(0, 480, {melody}), "utf8.mid").done());
    EXPECT_EQ(rowTexts(ws->list()),
              (std::vector<std::string>{"M\xE4" "d" + NOSP, "chen", "Fl\xFCs" + NOSP, "Caf\xE9"}));

    // Written back they are Windows-1252 and read back unchanged.
    ASSERT_TRUE(ws->writeLyrics().done());
    EXPECT_EQ(rowTexts(ws->list()),
              (std::vector<std::string>{"M\xE4" "d" + NOSP, "chen", "Fl\xFCs" + NOSP, "Caf\xE9"}));
}

TEST_F(WorkflowTest, OpensFactsListsAndLyrics)
{
    Track conductor;
    conductor.name(0, "Conductor").tempo(0, 600000).timeSignature(0, 6, 3, 0x18, 8).timeSignature(960, 3, 2).end(1920);
    Track melody;
    melody.noteOn(480, 1, 60).lyric(480, "Hel").lyric(480, "lo ").noteOn(480, 1, 64) // same tick: skipped
        .noteOn(960, 1, 47).lyric(960, "(C) 2003").noteOn(1200, 1, 62, 0)                // velocity 0: no note
        .lyric(1440, "\rrock-n-roll").end(1920);
    ASSERT_TRUE(openBytes(songBytes(1, 480, {conductor, melody}), "song.kar").done());

    const song::SongFacts& f = ws->facts();
    EXPECT_EQ(f.path, (dir / "song.kar.mid").string());
    EXPECT_EQ(f.format, 1);
    EXPECT_EQ(f.trackCount, 2);
    EXPECT_EQ(f.ticksPerQuarter, 480);
    EXPECT_EQ(f.ticksPerEighth, 240);
    EXPECT_EQ(f.endTick, 1920);
    EXPECT_EQ(f.eighthCount, 8);
    EXPECT_EQ(f.openingBpm, 100);
    EXPECT_EQ(f.shownBpm, 100);
    EXPECT_EQ(f.firstTempo, 600000);
    EXPECT_EQ(f.songLengthMs, 2400);
    EXPECT_EQ(f.taktart, "6/8");                   // the first signature is shown
    EXPECT_EQ(f.timeSignature.numerator, 3);       // the facts hold the last one
    EXPECT_EQ(f.timeSignature.denominator, 4);
    EXPECT_EQ(f.songName, song::kNoNameText);
    EXPECT_EQ(f.dauerText(), "0:00:02.400");
    EXPECT_EQ(ws->timeSignatures().size(), 2u);

    const song::MelodyNoteList expectedNotes = {{480, 60, 72, false}, {960, 47, 0, false}};
    EXPECT_EQ(ws->melodyNotes(), expectedNotes);

    EXPECT_EQ(rowTexts(ws->list()), (std::vector<std::string>{"Hel" + NOSP, "lo", "(C)" + PSP + "2003" + NOSP, PARA,
                                                              "rock" + PHY + "n" + PHY + "roll" + NOSP}));
    const auto rows = ws->list().rows();
    EXPECT_EQ(rows[0].zeit, 600);
    EXPECT_EQ(rows[0].strzeit, "0:00:00.600");
    EXPECT_EQ(rows[0].gesticks, 480);
    EXPECT_DOUBLE_EQ(rows[0].achtel, 2.0);
    EXPECT_EQ(rows[0].start, 0);
    EXPECT_EQ(rows[0].mehrfach, 1);
    EXPECT_EQ(rows[3].zeit, rows[4].zeit); // the split line break and its words share the time
    ASSERT_EQ(ws->copyrights().size(), 1u);
    EXPECT_EQ(ws->copyrights()[0], (song::CopyrightEntry{"(C)" + PSP + "2003", 1200}));

    EXPECT_EQ(ws->rowSnapshot().size(), 5u);
    EXPECT_EQ(ws->undoSnapshot().size(), 5u);
    EXPECT_EQ(ws->rowSnapshot()[4].text, rows[4].text);

    EXPECT_TRUE(ws->flags().songOpen);
    EXPECT_FALSE(ws->flags().songUnsaved);
    EXPECT_FALSE(ws->list().marks().listChanged);
    EXPECT_FALSE(ws->list().marks().bulkUpdate);
    EXPECT_TRUE(ws->list().marks().staffRefresh);
    EXPECT_STREQ(ws->undoHintKey(), song::kUndoHintAfterOpen);
    EXPECT_EQ(readAll(data() / "Sylo1.dbf"), readAll(dir / "song.kar"));
    EXPECT_EQ(observer.keys, std::vector<std::string>{" 5text2"});
    EXPECT_EQ(observer.idleCalls, 1);
}

TEST_F(WorkflowTest, TempoAfterTheStartGivesZeroBeforeIt)
{
    // The lyric at 100 lies before the only tempo event.
    Track only;
    only.lyric(100, "a ").tempo(480, 500000).noteOn(480, 1, 60).lyric(960, "b ").end(1000);
    ASSERT_TRUE(openBytes(songBytes(0, 480, {only})).done());
    const auto rows = ws->list().rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].zeit, 0);
    EXPECT_EQ(rows[1].zeit, 500); // 480 ticks × 1041.67 µs
}

TEST_F(WorkflowTest, MelodyNotesFollowTheSettings)
{
    Track a;
    a.noteOn(0, 1, 60).noteOn(240, 1, 62).noteOn(240, 1, 64).noteOff(300, 16, 60).noteOn(480, 16, 70).end(500);
    Track b;
    b.noteOn(120, 1, 65).end(500);
    const std::string bytes = songBytes(1, 480, {a, b});

    struct Case {
        int melodie;
        bool gleich;
        std::vector<std::int32_t> ticks;
    };
    const Case cases[] = {
        {1, false, {240, 120}},     // tick 0 skipped, same tick skipped, track after track
        {1, true, {0, 240, 240, 120}}, // with GLEICH every note counts
        {16, false, {480}},         // the note-off 0x8F never counts
        {0, false, {}},             // blank: no melody channel
    };
    for (const Case& c : cases) {
        settings.melodie = c.melodie;
        settings.gleich = c.gleich;
        applySettings();
        const song::CommandResult r = openBytes(bytes);
        ASSERT_TRUE(r.done());
        std::vector<std::int32_t> ticks;
        for (const auto& n : ws->melodyNotes())
            ticks.push_back(n.tick);
        EXPECT_EQ(ticks, c.ticks) << "MELODIE " << c.melodie;
        if (c.ticks.empty()) {
            ASSERT_TRUE(r.message.has_value());
            EXPECT_EQ(r.message->message, (MessageId{1, 20}));
            EXPECT_EQ(r.message->icon, PromptIcon::Warning);
            EXPECT_TRUE(ws->flags().songOpen);
        } else {
            EXPECT_FALSE(r.message.has_value());
        }
    }
}

TEST_F(WorkflowTest, TimeSignatureTexts)
{
    struct Case {
        std::vector<std::pair<int, int>> signatures; // numerator, second byte
        std::string shown;
        int numerator, denominator;
    };
    const Case cases[] = {
        {{{6, 3}}, "6/8", 6, 8},
        {{{3, 0}}, "3/4", 3, 4},            // second byte 0 keeps the initial denominator
        {{{6, 3}, {5, 0}}, "6/8", 5, 8},    // keeps the previous one
        {{}, "leer", 4, 4},
    };
    for (const Case& c : cases) {
        Track t;
        int tick = 0;
        for (auto [n, d] : c.signatures)
            t.timeSignature(tick += 10, n, d);
        t.noteOn(100, 1, 60).end(200);
        ASSERT_TRUE(openBytes(songBytes(0, 96, {t})).done());
        EXPECT_EQ(ws->facts().taktart, c.shown);
        EXPECT_EQ(ws->facts().timeSignature.numerator, c.numerator);
        EXPECT_EQ(ws->facts().timeSignature.denominator, c.denominator);
    }
}

TEST_F(WorkflowTest, FormatZeroShowsTheTrackNameAndItsEditsMarkTheList)
{
    Track t;
    t.name(0, "Mein Lied").noteOn(10, 1, 60).end(20);
    ASSERT_TRUE(openBytes(songBytes(0, 96, {t})).done());
    EXPECT_EQ(ws->facts().songName, "Mein Lied");
    EXPECT_FALSE(ws->list().marks().listChanged);
    ws->songNameChanged("Neuer Name");
    EXPECT_EQ(ws->facts().songName, "Neuer Name");
    EXPECT_TRUE(ws->list().marks().listChanged);
    EXPECT_TRUE(ws->list().marks().writeUndoEnabled);
}

TEST_F(WorkflowTest, FormatTwoIsRefusedAndTheOpenSongStays)
{
    ASSERT_TRUE(openBytes(conductorAndMelody({{480, "la "}})).done());
    editText(0, "lo");
    const std::string before = readAll(data() / "Sylo1.dbf");

    Track t;
    t.noteOn(0, 1, 60).end(10);
    const song::CommandResult r = openBytes(songBytes(2, 96, {t}), "f2.mid");
    EXPECT_EQ(r.outcome, song::Outcome::Refused);
    ASSERT_TRUE(r.message.has_value());
    EXPECT_EQ(r.message->message, (MessageId{1, 19}));
    EXPECT_EQ(r.message->icon, PromptIcon::Error);

    EXPECT_EQ(readAll(data() / "Sylo1.dbf"), before);
    EXPECT_EQ(midi->Format(), 1);
    EXPECT_EQ(rowTexts(ws->list()), std::vector<std::string>{"lo"});
    EXPECT_TRUE(ws->list().marks().listChanged);
    EXPECT_FALSE(ws->list().marks().bulkUpdate);
    EXPECT_EQ(observer.busyCalls, observer.idleCalls);
}

TEST_F(WorkflowTest, UnreadableFilesFailWithATextAndEndTheBusyState)
{
    ASSERT_TRUE(openBytes(conductorAndMelody({{480, "la "}})).done());
    const std::string before = readAll(data() / "Sylo1.dbf");

    song::CommandResult missing = ws->openFile((dir / "does_not_exist.mid").string());
    EXPECT_EQ(missing.outcome, song::Outcome::Failed);
    EXPECT_NE(missing.error.find("does_not_exist.mid"), std::string::npos);

    song::CommandResult notMidi = openBytes("just some text", "text.mid");
    EXPECT_EQ(notMidi.outcome, song::Outcome::Failed);
    EXPECT_FALSE(notMidi.error.empty());

    EXPECT_EQ(observer.busyCalls, 3);
    EXPECT_EQ(observer.idleCalls, 3);
    EXPECT_EQ(readAll(data() / "Sylo1.dbf"), before);
    EXPECT_EQ(rowTexts(ws->list()), std::vector<std::string>{"la"}); // trailing blanks are not kept
}

TEST_F(WorkflowTest, GuardQuestionsAndTheLastChosenPath)
{
    FakeChooser chooser;
    writeAll(dir / "a.mid", conductorAndMelody({{480, "la "}}));
    chooser.openAnswer = (dir / "a.mid").string();
    {
        ScriptedPrompter none;
        ASSERT_TRUE(ws->open(none, chooser).done());
    }
    EXPECT_EQ(chooser.seenPreset, "");
    EXPECT_EQ(ws->workingCopies().lastChosenPath(), (dir / "a.mid").string());

    // List changed: 1/17; No keeps everything.
    editText(0, "lo");
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 17}, Answer::No);
        EXPECT_EQ(ws->open(p, chooser).outcome, song::Outcome::Cancelled);
    }
    EXPECT_EQ(rowTexts(ws->list()), std::vector<std::string>{"lo"});

    // Yes goes on to the dialog, which proposes the last chosen path; cancel changes nothing.
    chooser.openAnswer.reset();
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 17}, Answer::Yes);
        EXPECT_EQ(ws->open(p, chooser).outcome, song::Outcome::Cancelled);
    }
    EXPECT_EQ(chooser.seenPreset, (dir / "a.mid").string());
    EXPECT_EQ(rowTexts(ws->list()), std::vector<std::string>{"lo"});

    // Written but unsaved: 1/18.
    ASSERT_TRUE(ws->writeLyrics().done());
    {
        ScriptedPrompter p;
        p.expect(MessageId{1, 18}, Answer::No);
        EXPECT_EQ(ws->open(p, chooser).outcome, song::Outcome::Cancelled);
    }
    EXPECT_TRUE(ws->flags().songUnsaved);
}
