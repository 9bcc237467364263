// The events of a read song live in one store that the song object keeps from
// one read to the next; tracks view their part of it. These tests read songs of
// different sizes one after the other into one object, and add to, copy and
// re-read tracks, checking every event against a fresh reading.
#include "SmfBytes.h"
#include "core/EventStore.h"
#include "core/TMidiFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace versilla::coretest;
using versilla::core::EventStore;
using versilla::core::TMidiEvent;
using versilla::core::TMidiFile;
using versilla::core::TMidiTrack;

/// What one event must read as.
struct Expected {
    int status, data1, data2;
    std::int32_t delta;
    std::string data;
};

/// A format-1 song of `tracks` tracks with `notes` note pairs each, with running
/// status, program changes, lyrics and system-exclusive events mixed in; `events`
/// receives what each track must read as.
std::string makeSong(int tracks, int notes, std::uint32_t seed, std::vector<std::vector<Expected>>* events = nullptr) {
    std::string file = header(1, tracks, 480);
    std::vector<std::vector<Expected>> all;
    for (int t = 0; t < tracks; ++t) {
        std::vector<Expected> ev;
        const std::string name = std::string("Spur") + static_cast<char>('A' + t % 26);
        std::string d = bytes({0x00, 0xFF, 0x03, 0x05}) + name;
        ev.push_back({0xFF, 0x03, 0, 0, name});
        const int on = 0x90 | (t & 15);
        for (int j = 0; j < notes; ++j) {
            seed = seed * 1103515245u + 12345u;
            const int pitch = 36 + static_cast<int>((seed >> 16) % 48);
            const int velocity = 1 + static_cast<int>((seed >> 8) % 127);
            d += bytes({0x00, on, pitch, velocity});
            ev.push_back({on, pitch, velocity, 0, {}});
            d += bytes({0x81, 0x10, pitch, 0});  // running status, two-byte delta
            ev.push_back({on, pitch, 0, 144, {}});
            if (j % 97 == 0) {
                d += bytes({0x05, 0xC0 | (t & 15), j % 128});
                ev.push_back({0xC0 | (t & 15), j % 128, 0, 5, {}});
            }
            if (j % 211 == 0) {
                d += bytes({0x00, 0xFF, 0x05, 0x03}) + "la ";
                ev.push_back({0xFF, 0x05, 0, 0, "la "});
            }
            if (j % 509 == 0) {
                d += bytes({0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7});
                ev.push_back({0xF0, 0, 0, 0, bytes({0x03, 0x43, 0x12, 0xF7})});
            }
        }
        ev.push_back({0xFF, 0x2F, 0, 0, {}});
        file += track(d + kEndOfTrack);
        all.push_back(std::move(ev));
    }
    if (events)
        *events = std::move(all);
    return file;
}

/// Every event of `song` as `want` says, Ticks the sum of the deltas.
void expectEvents(const TMidiFile& song, const std::vector<std::vector<Expected>>& want) {
    ASSERT_EQ(song.TrackCount(), static_cast<std::int32_t>(want.size()));
    for (std::size_t t = 0; t < want.size(); ++t) {
        const TMidiTrack& track = *song.GetTrack(static_cast<std::int32_t>(t));
        ASSERT_EQ(track.Events.size(), want[t].size()) << "track " << t;
        std::int32_t ticks = 0;
        for (std::size_t i = 0; i < want[t].size(); ++i) {
            const TMidiEvent& g = track.Events[i];
            const Expected& w = want[t][i];
            ticks += w.delta;
            const bool same = g.Status == w.status && g.Data1 == w.data1 && g.Data2 == w.data2
                              && g.DeltaTicks == w.delta && g.Ticks == ticks && g.Data == w.data;
            ASSERT_TRUE(same) << "track " << t << " event " << i;
        }
        EXPECT_EQ(track.EndTicks, ticks);
    }
}

TEST(EventStoreTest, ReadingSongsOfEverySizeIntoOneObjectGivesEveryEvent) {
    // Large songs (over 1 MB, their events stored past the caches), small ones and
    // an empty one, so the store is reused, outgrown and trimmed in turn.
    struct Case {
        int tracks, notes;
    };
    const Case cases[] = {{4, 36000}, {2, 10}, {6, 40000}, {0, 0}, {1, 1}, {4, 36000}, {3, 500}};
    TMidiFile reused;
    std::uint32_t seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.tracks) + " tracks of " + std::to_string(c.notes) + " notes");
        std::vector<std::vector<Expected>> want;
        const std::string song = c.tracks == 0 ? std::string() : makeSong(c.tracks, c.notes, ++seed, &want);
        if (c.notes >= 36000) {
            ASSERT_GT(song.size(), std::size_t{1} << 20);
        }
        reused.ReadBytes(song);
        expectEvents(reused, want);
        EXPECT_EQ(reused.FileBytes(), song);
        TMidiFile fresh;
        fresh.ReadBytes(song);
        expectEvents(fresh, want);
    }
}

TEST(EventStoreTest, ReadingItsOwnBytesAgainKeepsTheSong) {
    std::vector<std::vector<Expected>> want;
    const std::string song = makeSong(3, 2000, 7, &want);
    TMidiFile a;
    a.ReadBytes(song);
    a.ReadBytes(a.FileBytes());
    expectEvents(a, want);
    a.ReadBytes(a.FileBytes().substr(0, 14));  // its own header alone
    EXPECT_EQ(a.TrackCount(), 0);
    EXPECT_EQ(a.FileBytes(), song.substr(0, 14));
}

TEST(EventStoreTest, EventsAddedToAReadTrackJoinItsEvents) {
    const std::string song = makeSong(2, 300, 8);
    TMidiFile midi;
    midi.ReadBytes(song);
    TMidiFile reference;
    reference.ReadBytes(song);
    TMidiTrack& track = *midi.GetTrack(1);
    const std::int32_t count = track.EventCount();
    // The event added is one of the track's own: it must survive the move to
    // storage of the track's own.
    ASSERT_TRUE(track.AddEvent(*track.GetEvent(1)));
    ASSERT_EQ(track.EventCount(), count + 1);
    const TMidiEvent& added = *track.GetEvent(count);
    EXPECT_EQ(added.Status, reference.GetTrack(1)->GetEvent(1)->Status);
    EXPECT_EQ(added.Data1, reference.GetTrack(1)->GetEvent(1)->Data1);
    EXPECT_EQ(added.Ticks, reference.GetTrack(1)->EndTicks);
    for (std::int32_t i = 0; i < count; ++i)
        ASSERT_EQ(track.GetEvent(i)->Ticks, reference.GetTrack(1)->GetEvent(i)->Ticks) << i;
    // The other track still views the store.
    EXPECT_EQ(midi.GetTrack(0)->EventCount(), reference.GetTrack(0)->EventCount());
}

TEST(EventStoreTest, ACopiedTrackKeepsItsEventsWhenTheSongReadsAgain) {
    TMidiFile midi;
    midi.ReadBytes(makeSong(1, 5000, 9));
    const TMidiTrack copy = *midi.GetTrack(0);
    std::vector<std::int32_t> ticks;
    std::vector<int> status;
    for (const TMidiEvent& ev : copy.Events) {
        ticks.push_back(ev.Ticks);
        status.push_back(ev.Status);
    }
    midi.ReadBytes(makeSong(1, 5000, 10));  // overwrites the store the copy came from
    ASSERT_EQ(copy.Events.size(), ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        ASSERT_EQ(copy.Events[i].Ticks, ticks[i]) << i;
        ASSERT_EQ(copy.Events[i].Status, status[i]) << i;
    }
}

TEST(EventStoreTest, GrowingKeepsWhatWasWrittenAndTrimmingKeepsTheFront) {
    EventStore store;
    ASSERT_TRUE(store.prepare(4096));
    ASSERT_GE(store.size(), std::size_t{4096});
    std::vector<unsigned char> pattern(store.size());
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<unsigned char>(i * 7 + 3);
    std::memcpy(store.data(), pattern.data(), pattern.size());
    const std::size_t grown = std::size_t{40} << 20;
    ASSERT_TRUE(store.grow(grown));
    ASSERT_GE(store.size(), grown);
    ASSERT_EQ(std::memcmp(store.data(), pattern.data(), pattern.size()), 0);
    auto* bytes = static_cast<unsigned char*>(store.data());
    bytes[grown - 1] = 1;  // the new end is writable
    store.used(grown);
    // A far smaller use next: the pages past it go back to the system (and read
    // as zero again); the front stays.
    store.used(pattern.size());
    EXPECT_EQ(bytes[grown - 1], 0);
    EXPECT_EQ(std::memcmp(store.data(), pattern.data(), pattern.size()), 0);
    // Preparing no more than it has keeps the block.
    ASSERT_TRUE(store.prepare(grown / 2));
    EXPECT_EQ(store.data(), static_cast<void*>(bytes));
}

} // namespace
