// The player's clock step, driven by a manual clock and timer: nothing sleeps.
#include "SmfBytes.h"

#include "ManualClock.h"
#include "core/TMidiFile.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

using namespace versilla::coretest;
using versilla::core::PlaybackSetup;
using versilla::core::TMidiEvent;
using versilla::core::TMidiFile;
using versilla::testsupport::ManualClock;
using versilla::testsupport::ManualTimer;

/// A song object whose hook records the notes it receives (Data1 tells them apart).
class RecordingSong : public TMidiFile {
public:
    RecordingSong(std::shared_ptr<ManualClock> clock, std::shared_ptr<ManualTimer> timer)
        : TMidiFile(PlaybackSetup{std::move(clock), std::move(timer), false}) {}
    ~RecordingSong() override { ShutdownPlayback(); }

    void MidiEvent(const TMidiEvent& event) override {
        if (event.Data1 == failOn && failuresLeft > 0) {
            --failuresLeft;
            throw std::runtime_error("device gone");
        }
        received.push_back(event.Data1);
        playMsSeen.push_back(GetPlayMs());
    }

    std::vector<int> received;
    std::vector<int> playMsSeen;
    int failOn = -1;
    int failuresLeft = 0;
};

/// Track data: one note per entry at the given absolute tick, the note number
/// naming it. Ticks must be ascending.
std::string notesAt(std::initializer_list<std::pair<int, int>> ticksAndNotes) {
    std::string data;
    int last = 0;
    for (const auto& [tick, note] : ticksAndNotes) {
        int delta = tick - last;
        last = tick;
        // deltas below 16384 in two bytes at most
        if (delta >= 128)
            data += bytes({0x80 | (delta >> 7), delta & 0x7F});
        else
            data += bytes({delta});
        data += bytes({0x90, note, 0x40});
    }
    return data;
}

class PlaybackTest : public ::testing::Test {
protected:
    void load(const std::string& file) { song.ReadBytes(file); }
    /// Moves the clock, lets the timer fire once and runs the posted step.
    void step(std::uint32_t ms) {
        clock->advance(ms);
        ASSERT_TRUE(timer->fire());
        ASSERT_TRUE(song.ProcessTimerMessage());
    }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(5000);
    std::shared_ptr<ManualTimer> timer = std::make_shared<ManualTimer>();
    RecordingSong song{clock, timer};
};

TEST_F(PlaybackTest, TenMillisecondsAt120BpmMoveNinePointSixTicks) {
    load(header(0, 1, 480) + track(notesAt({{9, 1}, {10, 2}})));
    ASSERT_DOUBLE_EQ(song.UsPerTick(), 500000.0 / 480.0);
    song.StartPlay();
    EXPECT_EQ(timer->period(), 10u);
    step(0);
    EXPECT_TRUE(song.received.empty());
    step(10);
    EXPECT_NEAR(song.PlayTicks(), 9.6, 1e-9);
    EXPECT_EQ(song.GetPlayMs(), 10);
    EXPECT_EQ(song.received, (std::vector<int>{1}));
    step(10);
    EXPECT_EQ(song.received, (std::vector<int>{1, 2}));
    // The hook sees the play time of the step before it.
    EXPECT_EQ(song.playMsSeen, (std::vector<int>{0, 10}));
}

TEST_F(PlaybackTest, DueEventsGoTrackAfterTrackRegardlessOfTick) {
    load(header(1, 2, 480) + track(notesAt({{5, 10}, {8, 11}})) + track(notesAt({{1, 20}, {7, 21}})));
    song.StartPlay();
    step(10);
    EXPECT_EQ(song.received, (std::vector<int>{10, 11, 20, 21}));
}

TEST_F(PlaybackTest, PositionIsRoundedHalfToEven) {
    // 1 000 000 us per quarter over 500 ticks: 2000 us per tick, half a tick per ms.
    load(header(0, 1, 500) + track(bytes({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}) + notesAt({{0, 1}, {1, 2}, {2, 3}})));
    song.StartPlay();
    song.received.clear();  // the tempo event at 0 is not a note, but keep the record clean
    step(1);                // 0.5 ticks -> 0: nothing before tick 0
    EXPECT_TRUE(song.received.empty());
    step(2);  // 1.5 -> 2
    EXPECT_EQ(song.received, (std::vector<int>{0x51, 1, 2}));
    step(2);  // 2.5 -> 2: the event at 2 waits
    EXPECT_EQ(song.received.size(), 3u);
    step(1);  // 3.0
    EXPECT_EQ(song.received.back(), 3);
}

TEST_F(PlaybackTest, PlayUpToSendsEverythingBeforeTheTickThenContinues) {
    load(header(1, 2, 480) + track(notesAt({{0, 1}, {959, 2}, {960, 3}})) + track(notesAt({{500, 4}, {961, 5}})));
    song.StartPlay();
    song.StopPlay();
    song.PlayUpTo(960, 1000);
    EXPECT_EQ(song.received, (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(song.GetPlayMs(), 1000);
    EXPECT_DOUBLE_EQ(song.PlayTicks(), 960.0);
    song.StopPlay();

    clock->advance(30000);  // time passing while stopped does not count
    song.ContinuePlay();
    EXPECT_EQ(clock->nowMs() - song.StartTickCount(), 1000u);
    step(10);
    EXPECT_EQ(song.GetPlayMs(), 1010);
    EXPECT_NEAR(song.PlayTicks(), 969.6, 1e-9);
    EXPECT_EQ(song.received, (std::vector<int>{1, 2, 4, 3, 5}));
}

TEST_F(PlaybackTest, StaleTimerMessageDoesNotMoveTheClockBack) {
    load(header(0, 1, 480) + track(notesAt({{970, 1}})));
    song.StartPlay();
    clock->advance(10);
    ASSERT_TRUE(timer->fire());  // posted, not yet processed
    song.StopPlay();
    song.PlayUpTo(960, 1000);
    EXPECT_TRUE(song.ProcessTimerMessage());  // taken, but dropped
    EXPECT_EQ(song.GetPlayMs(), 1000);
    EXPECT_DOUBLE_EQ(song.PlayTicks(), 960.0);
}

TEST_F(PlaybackTest, MessagePostedBeforeStopIsStillProcessed) {
    load(header(0, 1, 480) + track(notesAt({{5, 1}})));
    song.StartPlay();
    clock->advance(10);
    ASSERT_TRUE(timer->fire());
    song.StopPlay();
    EXPECT_FALSE(timer->fire());  // no timer any more
    ASSERT_TRUE(song.ProcessTimerMessage());
    EXPECT_EQ(song.received, (std::vector<int>{1}));
    EXPECT_FALSE(song.ProcessTimerMessage());
}

TEST_F(PlaybackTest, TracksAtTheirEndStayAndStartPlayRewindsAll) {
    load(header(1, 3, 480) + track(notesAt({{0, 1}})) + track("") + track(notesAt({{2, 2}})));
    song.StartPlay();
    step(100);
    step(100);
    EXPECT_EQ(song.received, (std::vector<int>{1, 2}));
    EXPECT_EQ(song.GetTrack(0)->PlayIndex, 1);
    EXPECT_EQ(song.GetTrack(1)->PlayIndex, 0);
    EXPECT_EQ(song.GetTrack(2)->PlayIndex, 1);
    song.StopPlay();
    song.GetTrack(1)->PlayIndex = 7;  // even an out-of-range position is reset
    song.StartPlay();
    EXPECT_EQ(song.GetPlayMs(), 0);
    EXPECT_EQ(song.PlayTicks(), 0.0);
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(song.GetTrack(t)->PlayIndex, 0);
    step(10);
    EXPECT_EQ(song.received, (std::vector<int>{1, 2, 1, 2}));
}

TEST_F(PlaybackTest, HookErrorHoldsItsTrackOnlyAndTheClockAdvances) {
    load(header(1, 2, 480) + track(notesAt({{1, 1}, {2, 2}, {3, 3}})) + track(notesAt({{1, 4}})));
    song.failOn = 2;
    song.failuresLeft = 1;
    song.StartPlay();
    step(10);
    EXPECT_EQ(song.received, (std::vector<int>{1, 4}));
    EXPECT_EQ(song.GetTrack(0)->PlayIndex, 1);
    EXPECT_EQ(song.GetPlayMs(), 10);
    step(10);  // the failed event is handed over again
    EXPECT_EQ(song.received, (std::vector<int>{1, 4, 2, 3}));
}

TEST_F(PlaybackTest, HookErrorDuringPlayUpToStillSetsTheClock) {
    load(header(0, 1, 480) + track(notesAt({{1, 1}, {2, 2}})));
    song.failOn = 1;
    song.failuresLeft = 1;
    song.PlayUpTo(960, 1000);
    EXPECT_TRUE(song.received.empty());
    EXPECT_EQ(song.GetPlayMs(), 1000);
    EXPECT_EQ(song.GetTrack(0)->PlayIndex, 0);
}

TEST_F(PlaybackTest, StepWithoutUsableTempoDoesNotAdvance) {
    load(header(0, 1, 0) + track(notesAt({{0, 1}})));
    ASSERT_EQ(song.UsPerTick(), 0.0);
    song.StartPlay();
    clock->advance(50);
    ASSERT_TRUE(timer->fire());
    ASSERT_TRUE(song.ProcessTimerMessage());
    EXPECT_EQ(song.GetPlayMs(), 0);
    EXPECT_FALSE(song.ClockStep(60));
    EXPECT_TRUE(song.received.empty());
}

TEST_F(PlaybackTest, TimerThatCannotStartShowsNoProgress) {
    load(header(0, 1, 480) + track(notesAt({{0, 1}})));
    timer->failNextStart();
    song.StartPlay();
    EXPECT_TRUE(song.Playing());
    EXPECT_FALSE(timer->fire());
    EXPECT_FALSE(song.ProcessTimerMessage());
    EXPECT_EQ(song.GetPlayMs(), 0);
}

TEST_F(PlaybackTest, TempoChangeFromTheHookCountsFromTheNextStep) {
    load(header(0, 1, 480) + track(notesAt({{5, 1}})));
    song.StartPlay();
    step(10);  // 9.6 ticks at 120 BPM
    song.SetBpm(60);
    step(10);  // 4.8 more at 60 BPM
    EXPECT_NEAR(song.PlayTicks(), 14.4, 1e-9);
}

struct BpmCase {
    std::uint32_t asked;
    int bpm;
    double usPerTick;  // at 480 ticks per quarter
};

class SetBpmTest : public ::testing::TestWithParam<BpmCase> {};

TEST_P(SetBpmTest, SetsTempoThroughIntegerDivision) {
    TMidiFile song(PlaybackSetup{std::make_shared<ManualClock>(), std::make_shared<ManualTimer>(), false});
    song.ReadBytes(header(0, 1, 480) + track(kEndOfTrack));
    song.SetBpm(GetParam().asked);
    EXPECT_EQ(song.Bpm(), GetParam().bpm);
    EXPECT_DOUBLE_EQ(song.UsPerTick(), GetParam().usPerTick);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetBpmTest,
                         ::testing::Values(BpmCase{120, 120, 500000.0 / 480},                     // unchanged
                                           BpmCase{7, 7, (60000000 / 7) / 480.0},                  // 8571428 us
                                           BpmCase{9000000, 10000000, 6 / 480.0},                  // tempo 6 gives 10000000
                                           BpmCase{0, 120, 500000.0 / 480},                        // ignored
                                           BpmCase{60000001, 120, 500000.0 / 480}));               // tempo would be 0

/// The production clock, timer and thread together: a note at tick 0 reaches the
/// hook on the playback thread. Waits on a condition, with a generous limit.
class ThreadedSong : public TMidiFile {
public:
    ~ThreadedSong() override { ShutdownPlayback(); }
    void MidiEvent(const TMidiEvent& event) override {
        std::lock_guard lock(mutex);
        notes.push_back(event.Data1);
        changed.notify_all();
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> notes;
};

TEST(ProductionPlaybackTest, PlaybackThreadDeliversDueEvents) {
    ThreadedSong song;
    song.ReadBytes(header(0, 1, 480) + track(notesAt({{0, 42}, {20, 43}})));
    song.StartPlay();
    // The user interface reads the play time and may set the tempo meanwhile.
    song.SetBpm(240);
    EXPECT_GE(song.GetPlayMs(), 0);
    {
        std::unique_lock lock(song.mutex);
        ASSERT_TRUE(song.changed.wait_for(lock, std::chrono::seconds(10), [&] { return song.notes.size() == 2; }));
        EXPECT_EQ(song.notes, (std::vector<int>{42, 43}));
    }
    song.StopPlay();
    EXPECT_FALSE(song.Playing());
    EXPECT_GE(song.GetPlayMs(), 0);
}

} // namespace
