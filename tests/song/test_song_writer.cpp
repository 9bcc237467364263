#include "SmfBytes.h"

#include "core/TMidiFile.h"
#include "song/SongWriter.h"
#include "song/TempoList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace versilla;
using namespace songtest;

namespace {

struct Written {
    song::SongStatus status;
    std::string bytes;
};

/// Writes `midi` back with one write list per track holding its events.
Written rewrite(const core::TMidiFile& midi, song::SongWriteOptions options = {})
{
    Written w;
    w.status = song::writeSong(midi, song::writeListsOfSong(midi), song::buildTempoList(midi),
                               song::readTimeSignatures(midi), options, w.bytes);
    return w;
}

/// Body of track `index` in a written file (the bytes after its length field).
std::string trackBody(const std::string& file, int index)
{
    std::size_t pos = 14;
    for (int t = 0;; ++t) {
        EXPECT_LE(pos + 8, file.size());
        if (pos + 8 > file.size())
            return {};
        EXPECT_EQ(file.substr(pos, 4), "MTrk");
        const auto* b = reinterpret_cast<const unsigned char*>(file.data() + pos + 4);
        const std::size_t len = std::size_t(b[0]) << 24 | std::size_t(b[1]) << 16 | std::size_t(b[2]) << 8 | b[3];
        if (t == index)
            return file.substr(pos + 8, len);
        pos += 8 + len;
    }
}

std::string hex(const std::string& s)
{
    std::ostringstream o;
    for (unsigned char c : s)
        o << std::hex << (c < 16 ? "0" : "") << int(c) << ' ';
    return o.str();
}

} // namespace

TEST(SongWriter, RunningStatusOnlyForRepeatedNoteEvents)
{
    // Note-on, note-on, controller, note-on, note-off, note-off, end; a lyric item
    // goes in before the fourth event.
    const std::string body = bytes({0x00, 0x90, 0x3C, 0x40, 0x00, 0x90, 0x3E, 0x40, 0x00, 0xB0, 0x07, 0x64,
                                    0x10, 0x90, 0x40, 0x40, 0x10, 0x80, 0x40, 0x00, 0x00, 0x80, 0x3C, 0x00}) +
                             endOfTrack();
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(body));
    ASSERT_EQ(midi.GetTrack(0)->EventCount(), 7);

    std::vector<song::WriteList> lists(1);
    for (int i = 0; i < 7; ++i) {
        if (i == 3)
            lists[0].addLyric("la ", 16);
        lists[0].addEvent(i, midi.GetTrack(0)->Events[std::size_t(i)].Ticks);
    }
    const std::string lyric = bytes({0x10, 0xFF, 0x05, 0x03}) + "la ";

    std::string on;
    ASSERT_TRUE(song::writeSong(midi, lists, song::buildTempoList(midi), {}, {true, std::nullopt}, on));
    EXPECT_EQ(hex(trackBody(on, 0)),
              hex(bytes({0x00, 0x90, 0x3C, 0x40, 0x00, 0x3E, 0x40, 0x00, 0xB0, 0x07, 0x64}) + lyric +
                  bytes({0x00, 0x90, 0x40, 0x40, 0x10, 0x80, 0x40, 0x00, 0x00, 0x3C, 0x00}) + endOfTrack()));

    std::string off;
    ASSERT_TRUE(song::writeSong(midi, lists, song::buildTempoList(midi), {}, {}, off));
    EXPECT_EQ(hex(trackBody(off, 0)),
              hex(bytes({0x00, 0x90, 0x3C, 0x40, 0x00, 0x90, 0x3E, 0x40, 0x00, 0xB0, 0x07, 0x64}) + lyric +
                  bytes({0x00, 0x90, 0x40, 0x40, 0x10, 0x80, 0x40, 0x00, 0x00, 0x80, 0x3C, 0x00}) +
                  endOfTrack()));

    // Both read back to the same events, the lyric in between.
    for (const std::string* file : {&on, &off}) {
        core::TMidiFile back;
        back.ReadBytes(*file);
        ASSERT_EQ(back.GetTrack(0)->EventCount(), 8);
        const auto& ev = back.GetTrack(0)->Events;
        EXPECT_EQ(ev[1].Status, 0x90);
        EXPECT_EQ(ev[1].Data1, 0x3E);
        EXPECT_TRUE(ev[3].isMeta(0x05));
        EXPECT_EQ(ev[3].Data, "la ");
        EXPECT_EQ(ev[3].Ticks, 16);
        EXPECT_EQ(ev[4].Ticks, 16);
        EXPECT_EQ(ev[6].Status, 0x80);
        EXPECT_EQ(ev[6].Data1, 0x3C);
        EXPECT_EQ(ev[6].Ticks, 32);
    }
}

TEST(SongWriter, RunningStatusKeepsTheStatusWhenTheDataByteLooksLikeOne)
{
    // A note-on read with a first data byte of 0x80: without its status byte a
    // reader would take 0x80 as a new status.
    const std::string body = bytes({0x00, 0x90, 0x3C, 0x40, 0x00, 0x90, 0x80, 0x40}) + endOfTrack();
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(body));
    const Written w = rewrite(midi, {true, std::nullopt});
    ASSERT_TRUE(w.status) << w.status.message();
    EXPECT_EQ(hex(trackBody(w.bytes, 0)), hex(body));
}

TEST(SongWriter, ShortestVariableLengthQuantities)
{
    // Delta times spelled with padding bytes (0x80 groups) come back in their
    // shortest form; each value below is one delta before a program change.
    const std::uint32_t values[] = {0, 0x7F, 0x80, 0x3FFF, 0x4000, 0x1FFFFF, 0x200000, 0x0FFFFFFF, 0x10000000};
    const std::string expected[] = {bytes({0x00}),
                                    bytes({0x7F}),
                                    bytes({0x81, 0x00}),
                                    bytes({0xFF, 0x7F}),
                                    bytes({0x81, 0x80, 0x00}),
                                    bytes({0xFF, 0xFF, 0x7F}),
                                    bytes({0x81, 0x80, 0x80, 0x00}),
                                    bytes({0xFF, 0xFF, 0xFF, 0x7F}),
                                    bytes({0x81, 0x80, 0x80, 0x80, 0x00})};
    std::string body, want;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        body += bytes({0x80, 0x80}) + vlq(values[i]) + bytes({0xC0, 0x05});
        want += expected[i] + bytes({0xC0, 0x05});
    }
    // Padded lengths of a meta event too.
    body += bytes({0x00, 0xFF, 0x01, 0x80, 0x02, 'h', 'i'});
    want += bytes({0x00, 0xFF, 0x01, 0x02, 'h', 'i'});
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(body));
    ASSERT_EQ(midi.GetTrack(0)->EventCount(), int(std::size(values)) + 1);
    const Written w = rewrite(midi);
    ASSERT_TRUE(w.status) << w.status.message();
    EXPECT_EQ(hex(trackBody(w.bytes, 0)), hex(want));
}

TEST(SongWriter, LongTextGetsATwoByteLength)
{
    const std::string text(200, 'x');
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(bytes({0x00, 0xFF, 0x01, 0x81, 0x48}) + text + endOfTrack()));
    std::vector<song::WriteList> lists = song::writeListsOfSong(midi);
    lists[0].addLyric(std::string(200, 'y'), 0);
    // The lyric item is after the end of track here only to check its bytes.
    std::string out;
    ASSERT_TRUE(song::writeSong(midi, lists, song::buildTempoList(midi), {}, {}, out));
    EXPECT_EQ(trackBody(out, 0), bytes({0x00, 0xFF, 0x01, 0x81, 0x48}) + text + endOfTrack() +
                                     bytes({0x00, 0xFF, 0x05, 0x81, 0x48}) + std::string(200, 'y'));
}

TEST(SongWriter, TrackNameOfAFormatZeroSongComesFromTheNameText)
{
    const std::string body = bytes({0x00, 0xFF, 0x03, 0x03, 'O', 'l', 'd', 0x00, 0x90, 0x3C, 0x40}) + endOfTrack();
    struct Case {
        unsigned format;
        std::string body;
        std::optional<std::string> name;
        std::string expected;
    } cases[] = {
        {0, body, "Neuer Titel",
         bytes({0x00, 0xFF, 0x03, 0x0B}) + "Neuer Titel" + bytes({0x00, 0x90, 0x3C, 0x40}) + endOfTrack()},
        {0, body, std::string(), bytes({0x00, 0xFF, 0x03, 0x00, 0x00, 0x90, 0x3C, 0x40}) + endOfTrack()},
        {0, body, std::nullopt, body},
        {1, body, "Neuer Titel", body}, // format 1: the event's own data
        // A song without a track-name event gets none.
        {0, bytes({0x00, 0x90, 0x3C, 0x40}) + endOfTrack(), "Titel", bytes({0x00, 0x90, 0x3C, 0x40}) + endOfTrack()},
    };
    for (const Case& c : cases) {
        core::TMidiFile midi;
        midi.ReadBytes(header(c.format, 1, 96) + track(c.body));
        const Written w = rewrite(midi, {false, c.name});
        ASSERT_TRUE(w.status) << w.status.message();
        EXPECT_EQ(hex(trackBody(w.bytes, 0)), hex(c.expected)) << c.format << " " << c.name.value_or("(none)");
    }
}

TEST(SongWriter, TempoEventsTakeTheirTrackEntriesInListOrder)
{
    // Track 0: three tempo changes; track 1: one; written with a rescaled tempo list.
    const std::string t0 =
        tempoEvent(0, 500000) + tempoEvent(480, 400000) + tempoEvent(480, 600000) + endOfTrack();
    const std::string t1 = tempoEvent(240, 300000) + endOfTrack();
    core::TMidiFile midi;
    midi.ReadBytes(header(1, 2, 480) + track(t0) + track(t1));
    song::TempoList list = song::buildTempoList(midi);
    ASSERT_EQ(list.size(), 4u); // ticks 0 (t0), 240 (t1), 480 (t0), 960 (t0)
    for (song::TempoEntry& e : list)
        e.tempo = e.tempo / 2;

    std::string out;
    ASSERT_TRUE(song::writeSong(midi, song::writeListsOfSong(midi), list, {}, {}, out));
    EXPECT_EQ(hex(trackBody(out, 0)),
              hex(tempoEvent(0, 250000) + tempoEvent(480, 200000) + tempoEvent(480, 300000) + endOfTrack()));
    EXPECT_EQ(hex(trackBody(out, 1)), hex(tempoEvent(240, 150000) + endOfTrack()));
}

TEST(SongWriter, TempoZeroIsWrittenBackUnchanged)
{
    // 500 000 µs, then a tempo event of value 0; the tempo list holds only the first.
    const std::string body = tempoEvent(0, 500000) + tempoEvent(10, 0);
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 480) + track(body));
    ASSERT_EQ(midi.GetTrack(0)->EventCount(), 2);
    song::TempoList list = song::buildTempoList(midi);
    ASSERT_EQ(list.size(), 1u);
    list[0].tempo = 400000;
    std::string out;
    ASSERT_TRUE(song::writeSong(midi, song::writeListsOfSong(midi), list, {}, {}, out));
    EXPECT_EQ(hex(trackBody(out, 0)), hex(tempoEvent(0, 400000) + tempoEvent(10, 0)));
}

TEST(SongWriter, TimeSignaturesComeFromTheListCountedOverTheSong)
{
    const std::string ts44 = bytes({0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
    const std::string ts34 = bytes({0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08});
    core::TMidiFile midi;
    midi.ReadBytes(header(1, 2, 480) + track(ts44 + ts34 + endOfTrack()) + track(ts44 + endOfTrack()));
    song::TimeSignatureList list = song::readTimeSignatures(midi);
    ASSERT_EQ(list.size(), 3u);
    list[1] = bytes({0x06, 0x03, 0x0C, 0x08});
    list[2] = bytes({0x05, 0x02, 0x18, 0x08});
    std::string out;
    ASSERT_TRUE(song::writeSong(midi, song::writeListsOfSong(midi), song::buildTempoList(midi), list, {}, out));
    EXPECT_EQ(hex(trackBody(out, 0)),
              hex(ts44 + bytes({0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x0C, 0x08}) + endOfTrack()));
    EXPECT_EQ(hex(trackBody(out, 1)), hex(bytes({0x00, 0xFF, 0x58, 0x04, 0x05, 0x02, 0x18, 0x08}) + endOfTrack()));

    // A list shorter than the song's signatures: the rest keep their own bytes.
    list.resize(1);
    ASSERT_TRUE(song::writeSong(midi, song::writeListsOfSong(midi), song::buildTempoList(midi), list, {}, out));
    EXPECT_EQ(hex(trackBody(out, 0)), hex(ts44 + ts34 + endOfTrack()));
}

TEST(SongWriter, SystemExclusiveEscapeAndSystemCommonEvents)
{
    const std::string body = bytes({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, // sysex
                                    0x00, 0xF7, 0x02, 0xF3, 0x03,                   // escape
                                    0x00, 0xF2, 0x10,                               // song position: 1 byte read
                                    0x00, 0xF6,                                     // tune request
                                    0x00, 0x90, 0x3C, 0x40}) +
                             endOfTrack();
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(body));
    for (bool rs : {false, true}) {
        const Written w = rewrite(midi, {rs, std::nullopt});
        ASSERT_TRUE(w.status) << w.status.message();
        EXPECT_EQ(hex(trackBody(w.bytes, 0)), hex(body)) << rs;
    }
}

TEST(SongWriter, EventBeforeAnyStatusIsLeftOutAndTheNextKeepsItsTick)
{
    // Delta 5 then a data byte with no status yet: an event of status 0 with no
    // bytes of its own; the byte is then read as the next delta (60).
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(bytes({0x05, 0x3C, 0x90, 0x3C, 0x40}) + endOfTrack()));
    ASSERT_EQ(midi.GetTrack(0)->EventCount(), 3);
    ASSERT_EQ(midi.GetTrack(0)->Events[0].Status, 0);
    const Written w = rewrite(midi);
    ASSERT_TRUE(w.status) << w.status.message();
    EXPECT_EQ(hex(trackBody(w.bytes, 0)), hex(bytes({0x41, 0x90, 0x3C, 0x40}) + endOfTrack()));
}

TEST(SongWriter, HeaderFormatAndDivisionCopiedTrackCountAsWritten)
{
    struct Case {
        const char* what;
        std::string file;
        std::string expectedHeader;
    } cases[] = {
        {"announces more tracks than follow",
         "MThd" + be32(6) + bytes({0, 1, 0, 3, 0x01, 0xE0}) + track(endOfTrack()) + track(endOfTrack()),
         "MThd" + be32(6) + bytes({0, 1, 0, 2, 0x01, 0xE0})},
        {"longer header, division with the top bit set, odd high format byte",
         "MThd" + be32(8) + bytes({7, 0, 0, 1, 0xE7, 0x28, 0xAA, 0xBB}) + track(endOfTrack()),
         "MThd" + be32(6) + bytes({7, 0, 0, 1, 0xE7, 0x28})},
        {"a second header chunk between the tracks decides format and division",
         header(0, 2, 96) + track(endOfTrack()) + header(1, 2, 480) + track(endOfTrack()),
         "MThd" + be32(6) + bytes({0, 1, 0, 2, 0x01, 0xE0})},
        {"foreign chunk before the header",
         "XYZW" + be32(2) + bytes({1, 2}) + header(1, 1, 96) + track(endOfTrack()),
         "MThd" + be32(6) + bytes({0, 1, 0, 1, 0, 96})},
    };
    for (const Case& c : cases) {
        core::TMidiFile midi;
        midi.ReadBytes(c.file);
        const Written w = rewrite(midi);
        ASSERT_TRUE(w.status) << c.what << ": " << w.status.message();
        EXPECT_EQ(hex(w.bytes.substr(0, 14)), hex(c.expectedHeader)) << c.what;
        core::TMidiFile back;
        back.ReadBytes(w.bytes);
        EXPECT_EQ(back.TrackCount(), midi.TrackCount()) << c.what;
        EXPECT_EQ(back.Division(), midi.Division()) << c.what;
        EXPECT_EQ(back.Format(), midi.Format()) << c.what;
    }
}

TEST(SongWriter, FailuresAreValuesAndLeaveNoOutput)
{
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(bytes({0x00, 0x90, 0x3C, 0x40, 0x10, 0x80, 0x3C, 0x40}) + endOfTrack()));
    const song::TempoList tempo = song::buildTempoList(midi);

    std::vector<song::WriteList> badIndex(1);
    badIndex[0].addEvent(5, 0);
    std::vector<song::WriteList> goingDown(1);
    goingDown[0].addEvent(1, 16);
    goingDown[0].addEvent(0, 0);
    std::vector<song::WriteList> negative(1);
    negative[0].addLyric("x", -1);

    struct Case {
        const char* what;
        std::vector<song::WriteList> lists;
    } cases[] = {{"event index beyond the track", badIndex},
                 {"ticks go down", goingDown},
                 {"tick before 0", negative},
                 {"too few write lists", {}},
                 {"too many write lists", std::vector<song::WriteList>(2)}};
    for (const Case& c : cases) {
        std::string out = "stale";
        const song::SongStatus s = song::writeSong(midi, c.lists, tempo, {}, {}, out);
        EXPECT_FALSE(s) << c.what;
        EXPECT_FALSE(s.message().empty()) << c.what;
        EXPECT_TRUE(out.empty()) << c.what;
    }

    // A file that starts with a track chunk has no header to copy.
    core::TMidiFile headerless;
    headerless.ReadBytes(track(bytes({0x00, 0x90, 0x3C, 0x40}) + endOfTrack()));
    ASSERT_EQ(headerless.TrackCount(), 1);
    const Written w = rewrite(headerless);
    EXPECT_FALSE(w.status);
    EXPECT_TRUE(w.bytes.empty());
}

class AtomicWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("versilla-song-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    static std::string slurp(const std::filesystem::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::size_t entries() const
    {
        return std::size_t(std::distance(std::filesystem::directory_iterator(m_dir), {}));
    }

    std::filesystem::path m_dir;
};

TEST_F(AtomicWrite, ReplacesTheTargetWithTheWholeContent)
{
    const auto target = m_dir / "Sylo2.dbf";
    std::ofstream(target) << "old content that is longer than the new";
    const std::string content = bytes({0x4D, 0x54, 0x00, 0xFF}) + std::string(100000, 'z');
    ASSERT_TRUE(song::writeFileAtomically(target, content));
    EXPECT_EQ(slurp(target), content);
    EXPECT_EQ(entries(), 1u); // no temporary file left behind
}

TEST_F(AtomicWrite, FailureLeavesTheTargetAsItWas)
{
    // The target is a non-empty folder: the rename over it must fail.
    const auto target = m_dir / "out.mid";
    std::filesystem::create_directories(target / "inside");
    const song::SongStatus s = song::writeFileAtomically(target, "data");
    EXPECT_FALSE(s);
    EXPECT_NE(s.message().find("out.mid"), std::string::npos) << s.message();
    EXPECT_TRUE(std::filesystem::is_directory(target / "inside"));
    EXPECT_EQ(entries(), 1u);

    // A folder that does not exist.
    const song::SongStatus missing = song::writeFileAtomically(m_dir / "nope" / "x.mid", "data");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "nope"));
}

TEST_F(AtomicWrite, WriteSongFileWritesWhatWriteSongProduces)
{
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(tempoEvent(0, 500000) + endOfTrack()));
    const auto target = m_dir / "song.mid";
    ASSERT_TRUE(song::writeSongFile(target, midi, song::writeListsOfSong(midi), song::buildTempoList(midi), {}, {}));
    EXPECT_EQ(slurp(target), midi.FileBytes());

    // A failing write (no header to copy) leaves the existing file alone.
    core::TMidiFile headerless;
    headerless.ReadBytes(track(endOfTrack()));
    EXPECT_FALSE(song::writeSongFile(target, headerless, song::writeListsOfSong(headerless),
                                     song::buildTempoList(headerless), {}, {}));
    EXPECT_EQ(slurp(target), midi.FileBytes());
    EXPECT_EQ(entries(), 1u);
}
