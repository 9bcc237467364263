// Writing the assignment list into the song: lyric texts, where they go, copyright
// notices, the working copies, reading back and what is carried over.
#include "WorkflowFixture.h"

#include "song/LyricForms.h"
#include "song/LyricWriting.h"

using namespace workflowtest;

namespace {

const std::string PARA = "\xB6";
const std::string NOSP = "\xA4";
const std::string PSP = "\xB7";
const std::string PHY = "\xAC";

/// Format 1, 480 ticks per quarter, 120 BPM: a conductor track ending at 3840
/// (4000 ms) and a melody track with a note-on every quarter, ending at `melodyEnd`.
std::string baseSong(const std::vector<std::pair<int, std::string>>& lyrics = {}, int melodyEnd = 3840,
                     int conductorLyricTick = -1)
{
    Track conductor;
    conductor.bpm(0, 120).timeSignature(0, 4, 2);
    if (conductorLyricTick >= 0)
        conductor.lyric(conductorLyricTick, "weg ");
    conductor.end(3840);
    Track melody;
    std::size_t next = 0;
    for (int tick = 0; tick < melodyEnd; tick += 480) {
        while (next < lyrics.size() && lyrics[next].first < tick) {
            melody.lyric(lyrics[next].first, lyrics[next].second);
            ++next;
        }
        melody.noteOn(tick, 1, 60);
        while (next < lyrics.size() && lyrics[next].first == tick) {
            melody.lyric(lyrics[next].first, lyrics[next].second);
            ++next;
        }
        melody.noteOff(tick + 400, 1, 60);
    }
    for (; next < lyrics.size(); ++next)
        melody.lyric(lyrics[next].first, lyrics[next].second);
    melody.end(melodyEnd);
    return songBytes(1, 480, {conductor, melody});
}

} // namespace

class WritingTest : public WorkflowTest {
protected:
    void addRow(std::int32_t zeit, const std::string& text, std::int32_t start = 0, std::int32_t mehrfach = 1)
    {
        lyrics::Row r;
        r.zeit = zeit;
        r.text = text;
        r.start = start;
        r.mehrfach = mehrfach;
        auto refusal = ws->list().appendRow(r);
        ASSERT_FALSE(refusal.has_value()) << refusal->message.group << "/" << refusal->message.number;
    }
    void setStartMehrfach(int pos, std::int32_t start, std::int32_t mehrfach)
    {
        ASSERT_TRUE(ws->list().setCurrentPosition(pos));
        ASSERT_TRUE(ws->list().setStart(start));
        ASSERT_TRUE(ws->list().setMehrfach(mehrfach));
        ASSERT_FALSE(ws->list().post().has_value());
    }
    song::CommandResult write()
    {
        song::CommandResult r = ws->writeLyrics();
        EXPECT_EQ(observer.busyCalls, observer.idleCalls);
        return r;
    }
};

TEST(LyricEventText, FormsOfRowTexts)
{
    struct Case {
        std::string row;
        bool nextIsBreak;
        std::string event;
    };
    const Case cases[] = {
        {"Hal" + NOSP, false, "Hal"},
        {"lo", true, "lo"},
        {"Welt", false, "Welt "},
        {PARA, false, "\r"},
        {"rock" + PHY + "n" + PSP + "roll", false, "rock-n roll "},
        {"lo   ", false, "lo "},
        {"", false, "  "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(song::lyricEventText(c.row, c.nextIsBreak), c.event) << c.row;
}

TEST_F(WritingTest, WritesRowsAsLyricEventsAndReadsThemBack)
{
    ASSERT_TRUE(openBytes(baseSong()).done());
    addRow(500, "Hal" + NOSP);
    addRow(1000, "lo");
    addRow(1000, PARA);
    addRow(1500, "Welt");
    addRow(2000, "rock" + PHY + "n" + PSP + "roll");
    ASSERT_TRUE(ws->list().marks().listChanged);

    const song::CommandResult r = write();
    ASSERT_TRUE(r.done()) << r.error;
    EXPECT_EQ(observer.keys.back(), " 5text1");

    const Lyrics expected = {{480, "Hal"}, {960, "lo"}, {960, "\r"}, {1440, "Welt "}, {1920, "rock-n roll "}};
    EXPECT_EQ(lyricsOf(*midi, 1), expected);
    core::TMidiFile onDisk(core::PlaybackSetup{nullptr, nullptr, false});
    onDisk.ReadBytes(readAll(data() / "Sylo1.dbf"));
    EXPECT_EQ(lyricsOf(onDisk, 1), expected);

    // Read back: the syllable before the line break has lost its space, so it comes back with "¤".
    EXPECT_EQ(rowTexts(ws->list()), (std::vector<std::string>{"Hal" + NOSP, "lo" + NOSP, PARA, "Welt",
                                                              "rock" + PHY + "n" + PSP + "roll"}));
    const auto rows = ws->list().rows();
    EXPECT_EQ(rows[1].zeit, 1000);
    EXPECT_EQ(rows[1].strzeit, "0:00:01.000");
    EXPECT_EQ(rows[1].gesticks, 960);
    EXPECT_DOUBLE_EQ(rows[1].achtel, 4.0);

    EXPECT_TRUE(ws->flags().songUnsaved);
    EXPECT_TRUE(ws->flags().lyricsWritten);
    EXPECT_FALSE(ws->list().marks().listChanged);
    EXPECT_FALSE(ws->list().marks().writeUndoEnabled);
    EXPECT_FALSE(ws->list().marks().bulkUpdate);
    EXPECT_TRUE(ws->list().marks().staffRefresh);
    EXPECT_STREQ(ws->undoHintKey(), song::kUndoHintAfterWrite);
    EXPECT_EQ(ws->undoSnapshot().size(), 5u);
    EXPECT_EQ(ws->rowSnapshot().size(), 5u);
}

TEST_F(WritingTest, NoteOnComesBeforeALyricAtTheSameTick)
{
    ASSERT_TRUE(openBytes(baseSong()).done());
    addRow(1000, "la"); // 960 ticks, where a note-on sits
    ASSERT_TRUE(write().done());
    const core::TMidiTrack* t = midi->GetTrack(1);
    int lyricAt = -1;
    for (int i = 0; i < t->EventCount(); ++i)
        if (t->GetEvent(i)->isMeta(0x05))
            lyricAt = i;
    ASSERT_GT(lyricAt, 0);
    EXPECT_EQ(t->GetEvent(lyricAt)->Ticks, 960);
    EXPECT_EQ(t->GetEvent(lyricAt)->DeltaTicks, 0);
    EXPECT_EQ(t->GetEvent(lyricAt - 1)->Status, 0x90);
    EXPECT_EQ(t->GetEvent(lyricAt - 1)->Ticks, 960);
}

TEST_F(WritingTest, LyricsOfOtherTracksMoveIntoTheTextTrack)
{
    ASSERT_TRUE(openBytes(baseSong({{480, "eins "}}, 3840, 960)).done());
    EXPECT_EQ(ws->list().rowCount(), 2);
    ASSERT_TRUE(write().done());
    EXPECT_TRUE(lyricsOf(*midi, 0).empty());
    EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{480, "eins "}, {960, "weg "}}));
}

TEST_F(WritingTest, TextTrackChoice)
{
    Track conductor;
    conductor.bpm(0, 120).end(100);
    Track second;
    second.noteOn(10, 2, 60).end(100);
    Track third;
    third.raw(5, std::string("\xC0\x01", 2)).noteOn(20, 1, 62).end(100);
    const std::string bytes = songBytes(1, 96, {conductor, second, third});

    settings.textspur = 1;
    applySettings();
    ASSERT_TRUE(openBytes(bytes).done());
    addRow(100, "la");
    ASSERT_TRUE(write().done());
    EXPECT_EQ(lyricsOf(*midi, 2).size(), 1u);

    settings.textspur = 3;
    applySettings();
    song::CommandResult none = write();
    EXPECT_EQ(none.outcome, song::Outcome::Refused);
    ASSERT_TRUE(none.message.has_value());
    EXPECT_EQ(none.message->message, (MessageId{1, 5}));
    EXPECT_EQ(none.message->appendText, " 2 1 ");
    EXPECT_EQ(none.message->icon, PromptIcon::Information);

    settings.textspur = 0;
    applySettings();
    song::CommandResult blank = write();
    EXPECT_EQ(blank.outcome, song::Outcome::Refused);
    EXPECT_EQ(blank.message->message, (MessageId{1, 4}));

    // One track: always track 0, whatever the setting.
    Track only;
    only.noteOn(10, 5, 60).end(100);
    core::TMidiFile single(core::PlaybackSetup{nullptr, nullptr, false});
    single.ReadBytes(songBytes(0, 96, {only}));
    for (int textspur : {0, 1, 5, 17})
        EXPECT_EQ(std::get<std::int32_t>(song::chooseTextTrack(single, textspur)), 0) << textspur;
}

TEST_F(WritingTest, RowsAfterTheTextTracksEndAreWrittenAndTheEndMoves)
{
    // The melody track ends at 960 ticks; the song (conductor) lasts 4000 ms.
    ASSERT_TRUE(openBytes(baseSong({}, 960)).done());
    addRow(500, "vor");
    addRow(1000, "am");    // 960 ticks: at the end-of-track event
    addRow(3000, "sp\xE4t"); // 2880 ticks
    ASSERT_TRUE(write().done());
    EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{480, "vor "}, {960, "am "}, {2880, "sp\xE4t "}}));
    const core::TMidiTrack* t = midi->GetTrack(1);
    const core::TMidiEvent* last = t->GetEvent(t->EventCount() - 1);
    EXPECT_TRUE(last->isMeta(0x2F));
    EXPECT_EQ(last->Ticks, 2880);
    EXPECT_EQ(ws->list().rowCount(), 3);
}

TEST_F(WritingTest, CopyrightNoticeComesBackOnlyWithTheSetting)
{
    const std::string bytes = baseSong({{0, "(C) 2003"}, {960, "la "}});
    for (const bool copyright : {true, false}) {
        settings.copyright = copyright;
        applySettings();
        ASSERT_TRUE(openBytes(bytes).done());
        ASSERT_EQ(ws->copyrights().size(), 1u);
        ASSERT_EQ(rowTexts(ws->list()), (std::vector<std::string>{"(C)" + PSP + "2003" + NOSP, "la"}));
        ASSERT_TRUE(ws->list().removeAt(0));
        ASSERT_TRUE(write().done());
        if (copyright) {
            EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{0, "(C) 2003"}, {0, "\r"}, {960, "la "}}));
            EXPECT_EQ(rowTexts(ws->list()),
                      (std::vector<std::string>{"(C)" + PSP + "2003" + NOSP, PARA, "la"}));
        } else {
            EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{960, "la "}}));
        }
    }
}

TEST_F(WritingTest, StartAndMehrfachAreCarriedOver)
{
    settings.copyright = true;
    applySettings();

    // Notices first: carried by position past the notice rows.
    ASSERT_TRUE(openBytes(baseSong({{0, "(C) 2003"}, {960, "la "}, {1440, "le "}})).done());
    ASSERT_TRUE(ws->list().removeAt(0));
    setStartMehrfach(0, 1, 3);
    setStartMehrfach(1, 0, 2);
    ASSERT_TRUE(write().done());
    auto rows = ws->list().rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(std::make_pair(rows[0].start, rows[0].mehrfach), std::make_pair(0, 1));
    EXPECT_EQ(std::make_pair(rows[1].start, rows[1].mehrfach), std::make_pair(0, 1));
    EXPECT_EQ(std::make_pair(rows[2].start, rows[2].mehrfach), std::make_pair(1, 3));
    EXPECT_EQ(std::make_pair(rows[3].start, rows[3].mehrfach), std::make_pair(0, 2));

    // A notice in the middle: carried by tick and text, not shifted onto the wrong rows.
    ASSERT_TRUE(openBytes(baseSong({{480, "eins "}, {960, "(C) 2003"}, {1440, "zwei "}})).done());
    ASSERT_TRUE(ws->list().removeAt(1));
    setStartMehrfach(0, 1, 4);
    setStartMehrfach(1, 0, 5);
    ASSERT_TRUE(write().done());
    rows = ws->list().rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].text, "eins");
    EXPECT_EQ(std::make_pair(rows[0].start, rows[0].mehrfach), std::make_pair(1, 4));
    EXPECT_EQ(rows[1].text, "(C)" + PSP + "2003" + NOSP);
    EXPECT_EQ(std::make_pair(rows[1].start, rows[1].mehrfach), std::make_pair(0, 1));
    EXPECT_EQ(rows[2].text, PARA);
    EXPECT_EQ(std::make_pair(rows[2].start, rows[2].mehrfach), std::make_pair(0, 1));
    EXPECT_EQ(rows[3].text, "zwei");
    EXPECT_EQ(std::make_pair(rows[3].start, rows[3].mehrfach), std::make_pair(0, 5));
}

TEST_F(WritingTest, WorkingCopiesRotate)
{
    const std::string original = baseSong({{480, "a "}});
    ASSERT_TRUE(openBytes(original).done());
    editText(0, "b");
    ASSERT_TRUE(write().done());
    const std::string first = readAll(data() / "Sylo1.dbf");
    EXPECT_EQ(readAll(data() / "Sylo3.dbf"), original);
    EXPECT_FALSE(fs::exists(data() / "Sylo2.dbf"));
    EXPECT_EQ(midi->FileName(), (data() / "Sylo1.dbf").string());

    editText(0, "c");
    ASSERT_TRUE(write().done());
    EXPECT_EQ(readAll(data() / "Sylo3.dbf"), first);
    EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{480, "c "}}));
}

TEST_F(WritingTest, FileFailuresKeepThePreviousWorkingCopy)
{
    ASSERT_TRUE(openBytes(baseSong({{480, "a "}})).done());
    editText(0, "b");
    const std::string before = readAll(data() / "Sylo1.dbf");

    // A folder in the place of a working copy cannot be deleted or replaced.
    for (const char* blocked : {"Sylo3.dbf", "Sylo2.dbf"}) {
        fs::create_directories(data() / blocked / "inside");
        const song::CommandResult r = write();
        EXPECT_EQ(r.outcome, song::Outcome::Failed) << blocked;
        EXPECT_NE(r.error.find(blocked), std::string::npos) << r.error;
        EXPECT_EQ(readAll(data() / "Sylo1.dbf"), before);
        EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{480, "a "}}));
        EXPECT_EQ(rowTexts(ws->list()), std::vector<std::string>{"b"});
        EXPECT_TRUE(ws->list().marks().listChanged);
        EXPECT_FALSE(ws->list().marks().bulkUpdate);
        fs::remove_all(data() / blocked);
    }
    ASSERT_TRUE(write().done());
    EXPECT_EQ(lyricsOf(*midi, 1), (Lyrics{{480, "b "}}));
}

TEST(RemoveAndWait, ClearMessageWhenAFileCannotBeDeleted)
{
    const fs::path dir = fs::temp_directory_path() / ("versilla_remove_" + std::to_string(::getpid()));
    fs::create_directories(dir / "Sylo3.dbf" / "x");
    const auto start = std::chrono::steady_clock::now();
    const song::SongStatus s = song::removeAndWait(dir / "Sylo3.dbf", std::chrono::milliseconds(100));
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("Sylo3.dbf"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(song::removeAndWait(dir / "missing.dbf", std::chrono::milliseconds(100)).ok());
    fs::remove_all(dir);
}

TEST_F(WritingTest, SettingsAndTheEditedNameReachTheFile)
{
    Track t;
    t.name(0, "Alt").bpm(0, 120);
    for (int tick = 0; tick < 1920; tick += 96)
        t.noteOn(tick, 1, 60).noteOn(tick + 48, 1, 60, 0);
    t.end(1920);
    const std::string bytes = songBytes(0, 96, {t});

    std::size_t sizes[2] = {0, 0};
    for (const bool running : {false, true}) {
        settings.runEvents = running;
        settings.textspur = 0; // one track: the setting does not matter
        applySettings();
        ASSERT_TRUE(openBytes(bytes).done());
        ws->songNameChanged("Neuer Name");
        ASSERT_TRUE(write().done());
        EXPECT_EQ(midi->GetTrack(0)->GetName(), "Neuer Name");
        EXPECT_EQ(ws->facts().songName, "Neuer Name");
        sizes[running] = readAll(data() / "Sylo1.dbf").size();
    }
    // 40 note events in a row: running status leaves out 39 status bytes.
    EXPECT_EQ(sizes[0] - sizes[1], 39u);
}
