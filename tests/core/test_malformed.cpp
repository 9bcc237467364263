// Malformed songs: every one must give a song (perhaps empty) with what could be
// read before the fault, never a crash, hang, read past a chunk or a wrapped value.
#include "SmfBytes.h"

#include "core/TMidiFile.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <vector>

namespace {

using namespace versilla::coretest;
using versilla::core::EventText;
using versilla::core::MsToTimeText;
using versilla::core::TMidiFile;

const std::string kNote = bytes({0x00, 0x90, 0x3C, 0x40});

struct BadCase {
    const char* name;
    std::string file;
    int trackCount;
    std::vector<int> eventCounts;  // per track
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class MalformedTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(MalformedTest, KeepsWhatWasReadBeforeTheFault) {
    const auto& c = GetParam();
    TMidiFile song;
    song.ReadBytes(c.file);
    ASSERT_EQ(song.TrackCount(), c.trackCount);
    ASSERT_EQ(c.eventCounts.size(), static_cast<std::size_t>(c.trackCount));
    const auto whole = song.FileBytes();
    for (int t = 0; t < song.TrackCount(); ++t) {
        const auto* track = song.GetTrack(t);
        EXPECT_EQ(track->EventCount(), c.eventCounts[static_cast<std::size_t>(t)]) << "track " << t;
        std::int32_t previous = 0;
        for (int i = 0; i < track->EventCount(); ++i) {
            const auto& ev = *track->GetEvent(i);
            // Ticks never wrap: they only grow within a track.
            EXPECT_GE(ev.Ticks, previous);
            previous = ev.Ticks;
            // Data always lies inside the bytes the song holds.
            if (!ev.Data.empty()) {
                EXPECT_GE(ev.Data.data(), whole.data());
                EXPECT_LE(ev.Data.data() + ev.Data.size(), whole.data() + whole.size());
            }
            (void)EventText(ev);
            (void)MsToTimeText(ev.Ticks);
        }
        EXPECT_EQ(track->EndTicks, previous);
    }
}

std::string tempo(int a, int b, int c) { return bytes({0x00, 0xFF, 0x51, 0x03, a, b, c}); }

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedTest,
    ::testing::Values(
        BadCase{"empty_file", "", 0, {}},
        BadCase{"truncated_chunk_head", header(1, 2, 480) + track(kNote) + "MTr", 1, {1}},
        BadCase{"truncated_header", std::string("MThd\0\0\0\6\0\1", 10), 0, {}},
        BadCase{"truncated_data", header(1, 2, 480) + track(kNote) + chunk("MTrk", 10, kNote), 1, {1}},
        BadCase{"huge_length", header(0, 1, 480) + chunk("MTrk", 0xFFFFFFFF, kNote), 0, {}},
        BadCase{"huge_foreign_chunk", header(0, 1, 480) + chunk("XXXX", 0xFFFFFFF0, "abc"), 0, {}},
        // A delta beyond 32 bits ends the track.
        BadCase{"overflowing_delta",
                header(0, 1, 480) + track(kNote + bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x40}) + kNote), 1,
                {1}},
        // Endless continuation bytes: no hang, no overflow.
        BadCase{"endless_quantity", header(0, 1, 480) + track(kNote + std::string(5000, '\x81')), 1, {1}},
        // The largest delta fits; one tick more would wrap the sum.
        BadCase{"tick_sum_overflow",
                header(0, 1, 480) + track(kNote + bytes({0x87, 0xFF, 0xFF, 0xFF, 0x7F, 0x3C, 0x00, 0x01, 0x3C, 0x00})),
                1, {2}},
        BadCase{"meta_length_overflow",
                header(0, 1, 480) + track(kNote + bytes({0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'})),
                1, {1}},
        BadCase{"meta_longer_than_chunk",
                header(0, 2, 480) + track(kNote + bytes({0x00, 0xFF, 0x01, 0x10, 'a', 'b'})) + track(kNote), 2, {1, 1}},
        BadCase{"meta_cut_before_type", header(0, 1, 480) + track(kNote + bytes({0x00, 0xFF})), 1, {1}},
        BadCase{"sysex_without_f7",
                header(0, 1, 480) + track(bytes({0x00, 0xF0, 0x03, 0x7E, 0x7F, 0x09}) + kNote + kEndOfTrack), 1, {3}},
        BadCase{"sysex_count_beyond_chunk", header(0, 1, 480) + track(bytes({0x00, 0xF0, 0x20, 0x01, 0x02})), 1, {0}},
        // Data bytes before any status: events of status 0 whose byte becomes the next delta.
        BadCase{"running_status_before_status",
                header(0, 1, 480) + track(bytes({0x00, 0x3C, 0x40, 0x00, 0x90, 0x3C, 0x40})), 1, {4}},
        BadCase{"note_cut_by_chunk_end", header(0, 2, 480) + track(bytes({0x00, 0x90, 0x3C})) + track(kNote), 2,
                {0, 1}},
        BadCase{"single_trailing_byte", header(0, 1, 480) + track(kNote + bytes({0x00})), 1, {1}},
        // Tempo 0 ends its track (the event stays); the next track is read.
        BadCase{"tempo_zero",
                header(1, 2, 480) + track(tempo(0, 0, 0) + kNote + kEndOfTrack) + track(kNote + kEndOfTrack), 2,
                {1, 2}},
        BadCase{"short_tempo", header(0, 1, 480) + track(bytes({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}) + kNote), 1,
                {2}},
        BadCase{"track_count_zero", header(1, 0, 480) + track(kNote), 0, {}},
        BadCase{"track_count_65535", header(1, 65535, 480) + track(kNote) + track(kNote), 2, {1, 1}},
        BadCase{"foreign_chunks", header(1, 2, 480) + chunk("Junk", 2, "xy") + track(kNote) + chunk("MThx", 0, "")
                                     + track(kNote),
                2, {1, 1}},
        BadCase{"missing_end_of_track", header(0, 1, 480) + track(kNote + kNote), 1, {2}},
        BadCase{"empty_track_chunk", header(1, 2, 480) + track("") + track(kNote), 2, {0, 1}},
        BadCase{"division_zero", header(0, 1, 0) + track(tempo(0x07, 0xA1, 0x20) + kNote), 1, {2}},
        // A header chunk shorter than its fields: only the fields it holds count.
        BadCase{"short_header", chunk("MThd", 2, bytes({0x00, 0x01})) + track(kNote) + track(kNote), 1, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MalformedTempoTest, TempoZeroAndShortTempoLeaveTheClockAlone) {
    TMidiFile song;
    // 60 BPM first, then an impossible tempo 0 in the next track.
    song.ReadBytes(header(1, 2, 480) + track(tempo(0x0F, 0x42, 0x40) + kEndOfTrack)
                   + track(tempo(0, 0, 0) + kEndOfTrack));
    EXPECT_EQ(song.Bpm(), 60);
    EXPECT_DOUBLE_EQ(song.UsPerTick(), 1000000.0 / 480.0);

    song.ReadBytes(header(0, 1, 480) + track(bytes({0x00, 0xFF, 0x51, 0x02, 0x0F, 0x42}) + kEndOfTrack));
    EXPECT_EQ(song.Bpm(), 120);
    EXPECT_DOUBLE_EQ(song.UsPerTick(), 500000.0 / 480.0);
}

TEST(MalformedTempoTest, DivisionZeroGivesNoUsableClock) {
    TMidiFile song;
    song.ReadBytes(header(0, 1, 0) + track(tempo(0x07, 0xA1, 0x20) + kEndOfTrack));
    EXPECT_EQ(song.Division(), 0);
    EXPECT_EQ(song.Bpm(), 120);
    EXPECT_EQ(song.UsPerTick(), 0.0);
    EXPECT_TRUE(std::isfinite(song.UsPerTick()));
}

TEST(MalformedTest, ManyAnnouncedTracksCostNothingWhenAbsent) {
    TMidiFile song;
    std::string file = header(1, 65535, 480);
    for (int i = 0; i < 3; ++i)
        file += track(kEndOfTrack);
    song.ReadBytes(file);
    EXPECT_EQ(song.TrackCount(), 3);
    EXPECT_EQ(song.GetTrack(3), nullptr);
}

TEST(MalformedTest, DivisionWithTopBitIsAPlainTickCount) {
    TMidiFile song;
    song.ReadBytes(header(0, 1, 0xE728) + track(kEndOfTrack));
    EXPECT_EQ(song.Division(), 0xE728);
}

} // namespace
