#include "SmfBytes.h"

#include "core/TMidiFile.h"
#include "song/TempoList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace versilla;
using namespace songtest;

namespace {

// Format 1, 480 ticks per quarter. Track 0: 500 000 µs at 0, 250 000 µs at 960.
// Track 1: 1 000 000 µs at 480, a note at 1920 and its end there.
std::string threeTempoSong()
{
    const std::string t0 = tempoEvent(0, 500000) + tempoEvent(960, 250000) + endOfTrack();
    const std::string t1 = tempoEvent(480, 1000000) + vlq(1440) + bytes({0x90, 0x3C, 0x40}) + endOfTrack();
    return header(1, 2, 480) + track(t0) + track(t1);
}

} // namespace

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbourAndLargeValuesSaturate)
{
    struct Case {
        double in;
        std::int32_t out;
    } cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},  {-0.5, 0},      {-1.5, -2},
                 {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {1e12, INT32_MAX}, {-1e12, INT32_MIN},
                 {std::nan(""), 0}};
    for (const Case& c : cases)
        EXPECT_EQ(song::roundHalfEven(c.in), c.out) << c.in;
}

TEST(TempoList, AsReadIsReadingOrderAndTheListIsTickOrderWithStartMs)
{
    core::TMidiFile midi;
    midi.ReadBytes(threeTempoSong());
    song::TempoList asRead;
    const song::TempoList list = song::buildTempoList(midi, &asRead);

    ASSERT_EQ(asRead.size(), 3u);
    EXPECT_EQ(asRead[0].startTick, 0);
    EXPECT_EQ(asRead[1].startTick, 960);
    EXPECT_EQ(asRead[2].startTick, 480);
    EXPECT_EQ(asRead[2].trackIndex, 1);
    EXPECT_EQ(asRead[1].eventIndex, 1);

    ASSERT_EQ(list.size(), 3u);
    struct Expect {
        std::int32_t tick, ms, tempo, bpm, track, event;
    } expect[] = {{0, 0, 500000, 120, 0, 0}, {480, 500, 1000000, 60, 1, 0}, {960, 1500, 250000, 240, 0, 1}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(list[i].startTick, expect[i].tick) << i;
        EXPECT_EQ(list[i].startMs, expect[i].ms) << i;
        EXPECT_EQ(list[i].tempo, expect[i].tempo) << i;
        EXPECT_EQ(list[i].bpm, expect[i].bpm) << i;
        EXPECT_EQ(list[i].trackIndex, expect[i].track) << i;
        EXPECT_EQ(list[i].eventIndex, expect[i].event) << i;
        EXPECT_DOUBLE_EQ(list[i].usPerTick, expect[i].tempo / 480.0) << i;
    }

    EXPECT_EQ(song::endTick(midi), 1920);
    // 1500 ms + 960 ticks at 520.83 µs.
    EXPECT_EQ(song::songLengthMs(list, song::endTick(midi)), 2000);
}

TEST(TempoList, ConversionsBothWays)
{
    core::TMidiFile midi;
    midi.ReadBytes(threeTempoSong());
    const song::TempoList list = song::buildTempoList(midi);

    const std::pair<std::int32_t, std::int32_t> ticksMs[] = {{0, 0},     {240, 250},   {480, 500},  {720, 1000},
                                                             {960, 1500}, {1920, 2000}, {-5, 0}};
    for (auto [ticks, ms] : ticksMs)
        EXPECT_EQ(song::ticksToMs(list, ticks), ms) << ticks;

    const std::pair<std::int32_t, std::int32_t> msTicks[] = {{0, 0},      {250, 240},   {500, 480}, {1000, 720},
                                                             {1499, 960}, {2000, 1920}, {-1, 0}};
    for (auto [ms, ticks] : msTicks)
        EXPECT_EQ(song::msToTicks(list, ms), ticks) << ms;
}

TEST(TempoList, EntriesAtTheSameTickKeepReadingOrder)
{
    const std::string t0 = tempoEvent(480, 600000) + endOfTrack();
    const std::string t1 = tempoEvent(0, 500000) + tempoEvent(480, 400000) + endOfTrack();
    core::TMidiFile midi;
    midi.ReadBytes(header(1, 2, 480) + track(t0) + track(t1));
    const song::TempoList list = song::buildTempoList(midi);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].tempo, 500000);
    EXPECT_EQ(list[1].tempo, 600000);
    EXPECT_EQ(list[2].tempo, 400000);
    // The later entry at the same tick is the one in force from there on.
    EXPECT_EQ(song::ticksToMs(list, 960), 500 + 400);
}

TEST(TempoList, SongWithoutTempoGetsTheDefaultEntry)
{
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 96) + track(bytes({0x00, 0x90, 0x3C, 0x40}) + vlq(192) +
                                           bytes({0x80, 0x3C, 0x40}) + endOfTrack()));
    song::TempoList asRead;
    const song::TempoList list = song::buildTempoList(midi, &asRead);
    EXPECT_TRUE(asRead.empty());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].tempo, 500000);
    EXPECT_EQ(list[0].startTick, 0);
    EXPECT_EQ(list[0].bpm, 120);
    EXPECT_EQ(list[0].trackIndex, -1);
    EXPECT_EQ(song::ticksToMs(list, 192), 1000);
    EXPECT_EQ(song::msToTicks(list, 1000), 192);
    EXPECT_EQ(song::songLengthMs(list, song::endTick(midi)), 1000);
}

TEST(TempoList, PositionsBeforeTheOnlyTempoEventAreZeroMs)
{
    core::TMidiFile midi;
    midi.ReadBytes(header(0, 1, 480) + track(tempoEvent(480, 500000) + vlq(960) + bytes({0xFF, 0x2F, 0x00})));
    const song::TempoList list = song::buildTempoList(midi);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(song::ticksToMs(list, 960), 500);
    EXPECT_EQ(song::ticksToMs(list, 100), 0);
    EXPECT_EQ(song::msToTicks(list, 0), 480);
    EXPECT_EQ(song::songLengthMs(list, song::endTick(midi)), 1000);
}

TEST(TempoList, TempoZeroAndShortTempoEventsAreNoTempoChange)
{
    // 500 000 µs, then a tempo event of value 0 (the reader ends the track there),
    // and in a second track a tempo event with only two data bytes.
    const std::string t0 = tempoEvent(0, 500000) + tempoEvent(10, 0) + endOfTrack();
    const std::string t1 = bytes({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}) + endOfTrack();
    core::TMidiFile midi;
    midi.ReadBytes(header(1, 2, 480) + track(t0) + track(t1));
    ASSERT_EQ(midi.GetTrack(0)->EventCount(), 2);
    EXPECT_FALSE(song::tempoOf(midi.GetTrack(0)->Events[1]).has_value());
    EXPECT_FALSE(song::tempoOf(midi.GetTrack(1)->Events[0]).has_value());
    EXPECT_EQ(song::tempoOf(midi.GetTrack(0)->Events[0]), 500000);

    song::TempoList asRead;
    const song::TempoList list = song::buildTempoList(midi, &asRead);
    ASSERT_EQ(asRead.size(), 1u);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].tempo, 500000);
}

TEST(TempoList, BpmIsRoundedHalfToEven)
{
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {500000, 120}, {960000, 62}, {1600000, 38}, {320000, 188}, {0xFFFFFF, 4}, {1, 60000000}};
    for (auto [tempo, bpm] : cases)
        EXPECT_EQ(song::makeTempoEntry(tempo, 480, 0, 0, 0).bpm, bpm) << tempo;
}

TEST(TempoList, ConversionRoundingIsHalfToEven)
{
    // 1000 ticks per quarter at 500 000 µs: 500 µs per tick, so odd ticks land on halves.
    song::TempoList list = song::buildTempoList({song::makeTempoEntry(500000, 1000, 0, 0, 0)}, 1000);
    const std::pair<std::int32_t, std::int32_t> ticksMs[] = {{1, 0}, {3, 2}, {5, 2}, {7, 4}};
    for (auto [ticks, ms] : ticksMs)
        EXPECT_EQ(song::ticksToMs(list, ticks), ms) << ticks;

    // One tick per quarter at 4000 µs: a tick is 4 ms, so 2, 6 and 10 ms are halves.
    list = song::buildTempoList({song::makeTempoEntry(4000, 1, 0, 0, 0)}, 1);
    const std::pair<std::int32_t, std::int32_t> msTicks[] = {{2, 0}, {6, 2}, {10, 2}, {14, 4}};
    for (auto [ms, ticks] : msTicks)
        EXPECT_EQ(song::msToTicks(list, ms), ticks) << ms;
}

TEST(TempoList, DivisionZeroNeverDividesByZero)
{
    const song::TempoEntry e = song::makeTempoEntry(500000, 0, 0, 0, 0);
    EXPECT_EQ(e.usPerTick, 0.0);
    const song::TempoList list = song::buildTempoList({e}, 0);
    EXPECT_EQ(song::ticksToMs(list, 1000), 0);
    EXPECT_EQ(song::msToTicks(list, 1000), 0);
}

TEST(TempoList, HugePositionsSaturateInsteadOfOverflowing)
{
    // 0xFFFFFF µs per quarter at one tick per quarter: INT32_MAX ticks are far
    // beyond the 32-bit millisecond range.
    const song::TempoList list = song::buildTempoList({song::makeTempoEntry(0xFFFFFF, 1, 0, 0, 0)}, 1);
    EXPECT_EQ(song::ticksToMs(list, INT32_MAX), INT32_MAX);
    EXPECT_EQ(song::songLengthMs(list, INT32_MAX), INT32_MAX);
}

TEST(TimeSignatures, ListInReadingOrderAndFacts)
{
    const std::string t0 = bytes({0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08}) + vlq(1440) +
                           bytes({0xFF, 0x58, 0x04, 0x06, 0x03, 0x18, 0x08}) + endOfTrack();
    const std::string t1 = bytes({0x00, 0xFF, 0x58, 0x00}) + endOfTrack();
    core::TMidiFile midi;
    midi.ReadBytes(header(1, 2, 480) + track(t0) + track(t1));
    const song::TimeSignatureList list = song::readTimeSignatures(midi);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], bytes({3, 2, 0x18, 8}));
    EXPECT_EQ(list[1], bytes({6, 3, 0x18, 8}));
    EXPECT_EQ(list[2], "");

    struct Case {
        std::string data;
        std::int32_t num, den;
    } cases[] = {{bytes({6, 3, 0x18, 8}), 6, 8}, {bytes({3, 1}), 3, 2},  {bytes({5, 4}), 5, 16},
                 {bytes({7, 0, 0x18, 8}), 7, 4},  {bytes({2, 9}), 2, 4}, {"", 4, 4}};
    for (const Case& c : cases) {
        song::TimeSignature ts; // 4/4 before
        song::applyTimeSignature(c.data, ts);
        EXPECT_EQ(ts.numerator, c.num);
        EXPECT_EQ(ts.denominator, c.den);
    }
    // Second byte 0 keeps the denominator of the previous signature.
    song::TimeSignature ts;
    song::applyTimeSignature(bytes({6, 3, 0x18, 8}), ts);
    song::applyTimeSignature(bytes({2, 0, 0x18, 8}), ts);
    EXPECT_EQ(ts.numerator, 2);
    EXPECT_EQ(ts.denominator, 8);
}

TEST(EndTick, GreatestLastEventAndMinusOneWithoutEvents)
{
    core::TMidiFile midi;
    midi.ReadBytes(header(1, 3, 480) + track(vlq(700) + bytes({0xFF, 0x2F, 0x00})) + track("") +
                   track(vlq(300) + bytes({0xFF, 0x2F, 0x00})));
    EXPECT_EQ(song::endTick(midi), 700);

    midi.ReadBytes(header(1, 2, 480) + track("") + track(""));
    EXPECT_EQ(song::endTick(midi), -1);
    const song::TempoList list = song::buildTempoList(midi);
    EXPECT_EQ(song::songLengthMs(list, song::endTick(midi)), 0);
}
