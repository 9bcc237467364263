#include "SmfBytes.h"

#include "core/TMidiFile.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace versilla::coretest;
using versilla::core::EventText;
using versilla::core::TMidiEvent;
using versilla::core::TMidiFile;
using versilla::core::TMidiTrack;

std::string hex(std::string_view data) {
    std::string out;
    char buf[4];
    for (char c : data) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
        out += buf;
    }
    return out;
}

TEST(ReaderTest, FormatZeroTrackTakesLastTrackName) {
    TMidiFile song;
    song.ReadBytes(header(0, 1, 96)
                   + track(bytes({0x00, 0xFF, 0x03, 0x03, 'O', 'l', 'd', 0x00, 0x90, 0x3C, 0x40, 0x10, 0xFF, 0x03,
                                  0x05, 'N', 'e', 'u', 0x00, 'x'})
                           + kEndOfTrack));
    EXPECT_EQ(song.Format(), 0);
    EXPECT_EQ(song.TrackCount(), 1);
    EXPECT_EQ(song.Division(), 96);
    ASSERT_NE(song.GetTrack(0), nullptr);
    // The name is the event text: the data up to the first zero byte.
    EXPECT_EQ(song.GetTrack(0)->GetName(), "Neu");
    EXPECT_EQ(song.GetTrack(0)->EventCount(), 4);
    EXPECT_EQ(song.GetTrack(1), nullptr);
    EXPECT_EQ(song.GetTrack(-1), nullptr);
}

struct CountCase {
    const char* name;
    int announced;
    int present;
    int expected;
};

class TrackCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(TrackCountTest, ReadsAtMostTheAnnouncedTracksThatArePresent) {
    const auto& c = GetParam();
    std::string file = header(1, c.announced, 480);
    for (int i = 0; i < c.present; ++i)
        file += track(bytes({0x00, 0xFF, 0x03, 0x01, 'A' + i}) + kEndOfTrack);
    TMidiFile song;
    song.ReadBytes(file);
    EXPECT_EQ(song.TrackCount(), c.expected);
    for (int i = 0; i < c.expected; ++i)
        EXPECT_EQ(song.GetTrack(i)->GetName(), std::string(1, char('A' + i)));
}

INSTANTIATE_TEST_SUITE_P(Cases, TrackCountTest,
                         ::testing::Values(CountCase{"three_of_four", 3, 4, 3}, CountCase{"four_of_three", 4, 3, 3},
                                           CountCase{"none_announced", 0, 2, 0},
                                           CountCase{"max_announced", 65535, 2, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderTest, ForeignChunkIsSkippedAndNotCounted) {
    TMidiFile song;
    song.ReadBytes(header(1, 2, 480) + track(kEndOfTrack) + chunk("Junk", 3, "abc") + track(kEndOfTrack));
    EXPECT_EQ(song.TrackCount(), 2);
}

TEST(ReaderTest, FileStartingWithTrackChunkYieldsOneTrack) {
    TMidiFile song;
    song.ReadBytes(track(bytes({0x00, 0x90, 0x3C, 0x40})) + track(kEndOfTrack));
    EXPECT_EQ(song.TrackCount(), 1);
    EXPECT_EQ(song.GetTrack(0)->EventCount(), 1);
}

// One event per row: bytes of a track, then what the last event of it must be.
const std::string kLongSysexHex = [] {
    std::string s = "8100";
    for (int i = 0; i < 127; ++i)
        s += "01";
    return s + "f7";
}();

struct EventCase {
    const char* name;
    std::string trackData;
    int eventCount;
    int lastIndex;  // which event to check
    int ticks, status, data1, data2;
    const char* dataHex;
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }

class EventTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventTest, ReadsEvent) {
    const auto& c = GetParam();
    TMidiFile song;
    song.ReadBytes(header(0, 1, 480) + track(c.trackData));
    ASSERT_EQ(song.TrackCount(), 1);
    const TMidiTrack& t = *song.GetTrack(0);
    ASSERT_EQ(t.EventCount(), c.eventCount);
    const TMidiEvent& ev = *t.GetEvent(c.lastIndex);
    EXPECT_EQ(ev.Ticks, c.ticks);
    EXPECT_EQ(ev.Status, c.status);
    EXPECT_EQ(ev.Data1, c.data1);
    EXPECT_EQ(ev.Data2, c.data2);
    EXPECT_EQ(hex(ev.Data), c.dataHex);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventTest,
    ::testing::Values(
        // Delta, status, two data bytes; delta, two data bytes under the running status.
        EventCase{"running_status", bytes({0x00, 0x90, 0x3C, 0x40, 0x00, 0x3C, 0x00}), 2, 1, 0, 0x90, 0x3C, 0, ""},
        // Meta events do not change the running status.
        EventCase{"running_status_after_meta", bytes({0x00, 0x90, 0x3C, 0x40, 0x05, 0xFF, 0x01, 0x01, 'x', 0x05,
                                                      0x3C, 0x00}),
                  3, 2, 10, 0x90, 0x3C, 0, ""},
        EventCase{"key_signature_zero_bytes", bytes({0x00, 0xFF, 0x59, 0x02, 0x00, 0x00}), 1, 0, 0, 0xFF, 0x59, 0,
                  "0000"},
        EventCase{"program_change_one_byte", bytes({0x00, 0xC1, 0x05, 0x00, 0xD1, 0x40}), 2, 1, 0, 0xD1, 0x40, 0, ""},
        EventCase{"pitch_bend_two_bytes", bytes({0x81, 0x00, 0xE0, 0x00, 0x40}), 1, 0, 128, 0xE0, 0x00, 0x40, ""},
        EventCase{"song_select_one_byte", bytes({0x00, 0xF3, 0x03, 0x00, 0x90, 0x3C, 0x40}), 2, 0, 0, 0xF3, 0x03, 0,
                  ""},
        EventCase{"tune_request_no_data", bytes({0x00, 0xF6, 0x00, 0x90, 0x3C, 0x40}), 2, 0, 0, 0xF6, 0, 0, ""},
        EventCase{"sysex_keeps_count_and_f7", bytes({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}), 1, 0, 0, 0xF0,
                  0, 0, "057e7f0901f7"},
        // A sysex packet without F7 ends at its byte count; the next event survives.
        EventCase{"sysex_split_packet", bytes({0x00, 0xF0, 0x03, 0x43, 0x12, 0x00, 0x10, 0x90, 0x3C, 0x40}), 2, 1,
                  16, 0x90, 0x3C, 0x40, ""},
        // Escape event: the count and its bytes are its data; nothing after it is garbled.
        EventCase{"escape_event", bytes({0x00, 0xF7, 0x02, 0xF3, 0x03, 0x00, 0x90, 0x3C, 0x40}), 2, 0, 0, 0xF7, 0, 0,
                  "02f303"},
        EventCase{"escape_then_note", bytes({0x00, 0xF7, 0x02, 0xF3, 0x03, 0x00, 0x90, 0x3C, 0x40}), 2, 1, 0, 0x90,
                  0x3C, 0x40, ""},
        // Sysex length as a two-byte quantity (128 bytes: 127 of data and the F7).
        EventCase{"sysex_long_count", bytes({0x00, 0xF0, 0x81, 0x00}) + std::string(127, '\x01') + bytes({0xF7}), 1,
                  0, 0, 0xF0, 0, 0, kLongSysexHex.c_str()},
        // Quantities may carry redundant leading 0x80 bytes.
        EventCase{"padded_quantity", bytes({0x80, 0x80, 0x81, 0x00, 0x90, 0x3C, 0x40}), 1, 0, 128, 0x90, 0x3C, 0x40,
                  ""},
        // Ticks are the running sum of the deltas.
        EventCase{"ticks_sum", bytes({0x0A, 0x90, 0x3C, 0x40, 0x14, 0x3C, 0x00, 0x81, 0x00, 0xFF, 0x2F, 0x00}), 3, 2,
                  158, 0xFF, 0x2F, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderTest, EventTextStopsAtFirstZeroByte) {
    const std::string data = bytes({'a', 'b', 0x00, 'c'});
    TMidiEvent ev;
    ev.Data = data;
    EXPECT_EQ(EventText(ev), "ab");
    ev.Data = std::string_view(data).substr(0, 2);
    EXPECT_EQ(EventText(ev), "ab");
    ev.Data = {};
    EXPECT_EQ(EventText(ev), "");
}

TEST(ReaderTest, TempoSetsBpmAndUsPerTick) {
    TMidiFile song;
    song.ReadBytes(header(1, 1, 480) + track(bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + kEndOfTrack));
    EXPECT_EQ(song.Bpm(), 120);
    EXPECT_DOUBLE_EQ(song.UsPerTick(), 500000.0 / 480.0);
}

TEST(ReaderTest, LastTempoReadDecidesAcrossTracks) {
    TMidiFile song;
    // Track 0 ends at 60 BPM, track 1 (read later, though earlier in time) says 100 BPM.
    song.ReadBytes(header(1, 2, 480)
                   + track(bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40})
                           + kEndOfTrack)
                   + track(bytes({0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0}) + kEndOfTrack));
    EXPECT_EQ(song.Bpm(), 100);
    EXPECT_DOUBLE_EQ(song.UsPerTick(), 600000.0 / 480.0);
}

TEST(ReaderTest, WithoutTempoTheDefaultHolds) {
    TMidiFile song;
    song.ReadBytes(header(1, 1, 480) + track(bytes({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}) + kEndOfTrack));
    ASSERT_EQ(song.Bpm(), 60);
    // A new read without a tempo event does not keep the previous song's tempo.
    song.ReadBytes(header(0, 1, 96) + track(kEndOfTrack));
    EXPECT_EQ(song.Bpm(), 120);
    EXPECT_DOUBLE_EQ(song.UsPerTick(), 500000.0 / 96.0);
}

TEST(ReaderTest, ReadFileReadsFromDiskAndMissingFileGivesNoTracks) {
    const auto path = std::filesystem::temp_directory_path() / "versilla_core_readfile.mid";
    {
        std::ofstream out(path, std::ios::binary);
        const std::string file = header(0, 1, 120) + track(bytes({0x00, 0x90, 0x3C, 0x40}) + kEndOfTrack);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    TMidiFile song;
    song.SetFileName(path.string());
    EXPECT_EQ(song.FileName(), path.string());
    EXPECT_TRUE(song.ReadFile());
    EXPECT_EQ(song.TrackCount(), 1);
    EXPECT_EQ(song.GetTrack(0)->EventCount(), 2);
    std::filesystem::remove(path);

    // Reading again discards what was there.
    EXPECT_FALSE(song.ReadFile());
    EXPECT_EQ(song.TrackCount(), 0);
    EXPECT_EQ(song.GetTrack(0), nullptr);
}

TEST(ReaderTest, NotAMidiFileKeepsFormat) {
    TMidiFile song;
    song.ReadBytes(header(1, 1, 480) + track(kEndOfTrack));
    ASSERT_EQ(song.Format(), 1);
    song.ReadBytes("this is plain text, not a song file");
    EXPECT_EQ(song.TrackCount(), 0);
    EXPECT_EQ(song.Format(), 1);
}

TEST(TrackTest, AddEventSetsTicksNameAndRefusesOverflow) {
    TMidiTrack track;
    const std::string name = "Lied";
    TMidiEvent ev;
    ev.Status = 0xFF;
    ev.Data1 = 0x03;
    ev.Data = name;
    ev.DeltaTicks = 5;
    ASSERT_TRUE(track.AddEvent(ev));
    EXPECT_EQ(track.GetName(), "Lied");
    EXPECT_EQ(track.GetEvent(0)->Ticks, 5);
    EXPECT_EQ(track.EndTicks, 5);

    TMidiEvent big;
    big.DeltaTicks = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(track.AddEvent(big));
    EXPECT_EQ(track.EventCount(), 1);
    EXPECT_EQ(track.EndTicks, 5);
    EXPECT_EQ(track.GetEvent(1), nullptr);
}

} // namespace

namespace {

TEST(ReaderTest, TrackDenserThanEstimatedKeepsEveryEvent) {
    // One-byte events (a delta with no status yet): far more events than bytes / 3.
    std::string data(30000, '\x01');
    data += versilla::coretest::bytes({0x00, 0x90, 0x3C, 0x40});
    TMidiFile song;
    song.ReadBytes(versilla::coretest::header(0, 1, 96) + versilla::coretest::track(data));
    const auto* t = song.GetTrack(0);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->EventCount(), 30001);
    EXPECT_EQ(t->GetEvent(29999)->Ticks, 30000);  // every delta is 1
    EXPECT_EQ(t->GetEvent(29999)->Status, 0);
    EXPECT_EQ(t->GetEvent(30000)->Status, 0x90);
    EXPECT_EQ(t->EndTicks, 30000);
}

} // namespace
