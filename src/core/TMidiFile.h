#pragma once
#include "core/EventStore.h"
#include "core/PlayClock.h"
#include "core/TimeText.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::core {

class TMidiFile;
class TMidiThread;

/// One timed event of a track, exactly as read from the file.
///
/// Storage: a song read from a file keeps the file's bytes in one buffer it owns,
/// and `Data` is a view into that buffer, so reading allocates nothing per event.
/// The view stays valid until the song object reads again or is destroyed.
/// Code that builds an event itself (e.g. a lyric to be written) points `Data`
/// at bytes it owns and keeps them alive while the event is used; the song file
/// writer writes `Data` and never needs the event to own its bytes.
struct TMidiEvent {
    std::string_view Data;        ///< meta: all data bytes; 0xF0/0xF7: byte-count quantity + that many bytes; else empty
    std::int32_t DeltaTicks = 0;  ///< delta time as read from the file
    std::int32_t Ticks = 0;       ///< absolute position in the track (sum of deltas up to this event)
    std::uint8_t Status = 0;      ///< 0xFF meta; otherwise the running status in force when read (0: none yet)
    std::uint8_t Data1 = 0;       ///< meta type, or first data byte; 0 when none
    std::uint8_t Data2 = 0;       ///< second data byte; 0 when none

    /// True for a meta event (Status 0xFF) of the given type.
    bool isMeta(std::uint8_t type) const { return Status == 0xFF && Data1 == type; }
};

/// The event text: `Data` up to, not including, its first zero byte. Never fails.
std::string_view EventText(const TMidiEvent& event);

/// The events of one track, one after the other in memory.
///
/// A track read from a file views its part of the song object's event store
/// (valid until the song object reads again or is destroyed); a track built in
/// code, or one whose events are added to or copied, holds its own. Used like a
/// vector: size, indexing, iteration, back, reserve, push_back.
class EventList {
public:
    using value_type = TMidiEvent;
    using size_type = std::size_t;
    using reference = TMidiEvent&;
    using const_reference = const TMidiEvent&;
    using iterator = TMidiEvent*;
    using const_iterator = const TMidiEvent*;

    EventList() = default;
    /// A copy holds its own events.
    EventList(const EventList& other) : m_own(other.begin(), other.end()) { syncOwn(); }
    EventList& operator=(const EventList& other);
    EventList(EventList&& other) noexcept;
    EventList& operator=(EventList&& other) noexcept;

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    TMidiEvent* data() { return m_data; }
    const TMidiEvent* data() const { return m_data; }
    TMidiEvent* begin() { return m_data; }
    TMidiEvent* end() { return m_data + m_size; }
    const TMidiEvent* begin() const { return m_data; }
    const TMidiEvent* end() const { return m_data + m_size; }
    TMidiEvent& operator[](std::size_t i) { return m_data[i]; }
    const TMidiEvent& operator[](std::size_t i) const { return m_data[i]; }
    TMidiEvent& front() { return m_data[0]; }
    const TMidiEvent& front() const { return m_data[0]; }
    TMidiEvent& back() { return m_data[m_size - 1]; }
    const TMidiEvent& back() const { return m_data[m_size - 1]; }

    /// Room for `count` events of its own (a hint). May throw std::bad_alloc.
    void reserve(std::size_t count);
    /// Appends a copy of `event`; first takes over viewed events as its own. May
    /// throw std::bad_alloc, leaving the list as it was.
    void push_back(const TMidiEvent& event);
    /// No events.
    void clear();

private:
    friend class TMidiFile;
    /// Views `count` events at `first`, dropping any events of its own.
    void view(TMidiEvent* first, std::size_t count);
    void takeOwnership(std::size_t room);
    void syncOwn() {
        m_data = m_own.data();
        m_size = m_own.size();
    }

    std::vector<TMidiEvent> m_own;  // the events when not viewing
    TMidiEvent* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_viewing = false;
};

/// One track chunk: its events in file order and the player's position in it.
class TMidiTrack {
public:
    /// A track whose PlayUntil hands events to `owner`'s hook (none when null).
    explicit TMidiTrack(TMidiFile* owner = nullptr) : m_owner(owner) {}

    /// Name: event text of the last track-name meta event (0x03) added; empty if none.
    const std::string& GetName() const { return Name; }
    /// Number of events.
    std::int32_t EventCount() const { return static_cast<std::int32_t>(Events.size()); }
    /// The event at `index`; nullptr when `index` is negative or not below EventCount().
    const TMidiEvent* GetEvent(std::int32_t index) const;
    TMidiEvent* GetEvent(std::int32_t index);
    /// Appends `event`: sets its Ticks to EndTicks + DeltaTicks and takes a 0x03 meta
    /// event's text as Name. Returns false, adding nothing, when the tick sum would
    /// leave the signed 32-bit range. `event.Data` must stay valid as long as the track.
    bool AddEvent(const TMidiEvent& event);
    /// Reserves room for `count` events (a hint, never required).
    void Reserve(std::size_t count) { Events.reserve(count); }

    /// Player: while the event at PlayIndex has Ticks strictly below `ticks`, hands it
    /// to the owner's hook and advances PlayIndex. An exception thrown by the hook is
    /// swallowed: the track stops for this call and that event stays next in line.
    void PlayUntil(std::int32_t ticks);

    EventList Events;                ///< events in file order
    std::string Name;                ///< Windows-1252 bytes
    std::int32_t EndTicks = 0;       ///< running sum of the deltas added so far
    std::int32_t PlayIndex = 0;      ///< next event the player sends

private:
    TMidiFile* m_owner;
};

/// The song object: one Standard MIDI File in memory, and its player.
///
/// Reading never throws and never reports beyond its result: what was read
/// stays. Before the first read there are no tracks, Format 0, TrackCount 0,
/// Division 0, Bpm 120. Without a tempo event Bpm is 120 and UsPerTick
/// 500000 / Division (the file format's default tempo); with Division 0
/// UsPerTick is 0, and a clock step then does not advance.
///
/// Not copyable or movable (events view the owned file bytes).
class TMidiFile {
public:
    /// A song object that plays with steady_clock, a 10 ms thread timer and its own
    /// playback thread (started the first time the timer starts).
    TMidiFile();
    explicit TMidiFile(PlaybackSetup setup);
    virtual ~TMidiFile();
    TMidiFile(const TMidiFile&) = delete;
    TMidiFile& operator=(const TMidiFile&) = delete;

    // ---- reading ------------------------------------------------------------
    /// Sets the path ReadFile reads.
    void SetFileName(std::string path);
    const std::string& FileName() const { return m_fileName; }
    /// Discards all tracks and reads FileName. Returns false only when the file
    /// could not be opened or read (then there are no tracks, TrackCount 0);
    /// every fault inside the file is handled by keeping what was read.
    bool ReadFile();
    /// Discards all tracks and reads the song from a copy of `bytes`. Never fails.
    void ReadBytes(std::string_view bytes);
    /// Like ReadBytes, taking over the buffer instead of copying it.
    void AdoptBytes(std::string&& bytes);

    std::uint8_t Format() const { return m_format; }
    /// Number of tracks actually read.
    std::int32_t TrackCount() const { return m_trackCount; }
    /// Ticks per quarter note (the header's 16-bit value taken as unsigned).
    std::int32_t Division() const { return m_division; }
    /// The track at `index`; nullptr when out of range.
    TMidiTrack* GetTrack(std::int32_t index);
    const TMidiTrack* GetTrack(std::int32_t index) const;
    /// The bytes the song was read from (empty before the first read).
    std::string_view FileBytes() const { return m_bytes; }

    // ---- player clock -----------------------------------------------------------
    std::int32_t Bpm() const { return m_bpm.load(std::memory_order_relaxed); }
    double UsPerTick() const { return m_usPerTick.load(std::memory_order_relaxed); }
    /// Current play position in ticks (written by clock steps and PlayUpTo).
    double PlayTicks() const { return m_playTicks.load(std::memory_order_relaxed); }
    std::uint32_t StartTickCount() const { return m_startTickCount.load(std::memory_order_relaxed); }
    bool Playing() const { return m_playing.load(std::memory_order_acquire); }

    // ---- playback -----------------------------------------------------------------
    /// Every track back to its first event, clock at 0, timer started. Safe to call
    /// from any thread but the hook.
    void StartPlay();
    /// Restarts the timer so that play resumes at PlayTicks/PlayMs as they stand.
    void ContinuePlay();
    /// Clears Playing, then stops the timer. Positions and clock stay.
    void StopPlay();
    /// Elapsed play time in ms of the last clock step (or as set by PlayUpTo).
    std::int32_t GetPlayMs() const { return m_playMs.load(std::memory_order_acquire); }
    /// On the calling thread: PlayUntil(ticks) for every track in order, then
    /// PlayTicks = ticks and PlayMs = ms. Every event before `ticks` passes the hook.
    void PlayUpTo(std::int32_t ticks, std::int32_t ms);
    /// Sets the player's tempo in beats per minute (0 or the current Bpm: no change).
    /// Bpm becomes 60000000 / (60000000 / bpm) (integer divisions), UsPerTick the
    /// tempo divided by Division (0 when Division is 0).
    void SetBpm(std::uint32_t bpm);

    /// The event hook: called for every event that falls due, on the playback thread
    /// during play and on the caller's thread in PlayUpTo. The base does nothing.
    /// An exception thrown here is swallowed; the event is handed over again at the
    /// next step. May call GetPlayMs, SetBpm and StopPlay.
    virtual void MidiEvent(const TMidiEvent& event);

    /// One clock step with elapsed time `elapsedMs` (what the playback thread runs per
    /// timer message). Returns false when the step could not run (UsPerTick not
    /// positive, or a non-finite position); PlayMs is then left as it was.
    bool ClockStep(std::int32_t elapsedMs);
    /// Takes one waiting timer message, if any, and runs its clock step. Returns
    /// whether a message was taken. For a song object without its own thread (tests).
    bool ProcessTimerMessage();
    /// Stops the timer and ends the playback thread. A subclass that overrides
    /// MidiEvent calls this in its destructor so the hook never runs half-destroyed.
    void ShutdownPlayback();

private:
    void clear();
    void parse();
    void timerTick();
    bool startTimer();
    friend class TMidiThread;
    void runTimerMessage(std::int32_t elapsedMs, std::uint32_t generation);

    std::string m_fileName;
    std::string m_bytes;  // the file; every event's Data views it
    EventStore m_store;   // the events of the tracks read; kept for the next read
    std::vector<std::unique_ptr<TMidiTrack>> m_tracks;
    std::uint8_t m_format = 0;
    std::int32_t m_trackCount = 0;
    std::int32_t m_division = 0;

    std::atomic<std::int32_t> m_bpm{120};
    std::atomic<double> m_usPerTick{0.0};
    std::atomic<double> m_playTicks{0.0};
    std::atomic<std::int32_t> m_playMs{0};
    std::atomic<std::uint32_t> m_startTickCount{0};
    std::atomic<bool> m_playing{false};
    // Bumped by StartPlay and PlayUpTo: timer messages posted before a reposition
    // are dropped instead of moving the clock back.
    std::atomic<std::uint32_t> m_generation{0};

    std::shared_ptr<PlayClock> m_clock;
    std::shared_ptr<PlayTimer> m_timer;
    std::unique_ptr<TMidiThread> m_thread;  // its queue always; its OS thread only when owned
    bool m_ownThread = true;
    // Serialises clock steps, PlayUpTo and StartPlay (they move PlayIndex and the
    // clock); recursive so the hook may call back into the song object.
    std::recursive_mutex m_stepMutex;
};

} // namespace versilla::core
