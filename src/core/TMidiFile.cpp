#include "core/TMidiFile.h"

#include "core/TMidiThread.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace versilla::core {

namespace {

constexpr std::uint32_t kMaxQuantity = 0x7FFFFFFF;  // deltas and lengths must fit a signed 32-bit value
constexpr unsigned kTimerPeriodMs = 10;

std::uint32_t be32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

/// Reads a variable-length quantity at `pos`, never beyond `end`. False when the
/// quantity is cut off by `end` or exceeds kMaxQuantity; `pos` is then undefined.
inline bool readQuantity(const unsigned char* bytes, std::size_t& pos, std::size_t end, std::uint32_t& value) {
    if (pos < end && bytes[pos] < 0x80) {  // the common one-byte case
        value = bytes[pos++];
        return true;
    }
    std::uint64_t v = 0;
    while (pos < end) {
        const unsigned char b = bytes[pos++];
        v = (v << 7) | (b & 0x7Fu);
        if (v > kMaxQuantity)
            return false;
        if (b < 0x80) {
            value = static_cast<std::uint32_t>(v);
            return true;
        }
    }
    return false;
}

/// Rounds to the nearest integer, halves to the even neighbour, clamped to int32.
std::int32_t roundHalfEven(double x) {
    double r = std::floor(x);
    const double diff = x - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

/// Where parseTrack puts events: the song object's event store, filled from the
/// front. `data` holds `capacity` events, the first `count` of them written.
struct EventSink {
    EventStore& store;
    TMidiEvent* data;
    std::size_t capacity;
    std::size_t count;

    /// More room, the store possibly moving. Only needed when the store could not
    /// be made as large as the file can need; false when the system has no more.
    [[gnu::noinline]] bool grow() {
        const std::size_t want = capacity + capacity / 2 + (std::size_t{1} << 16);
        if (want > SIZE_MAX / sizeof(TMidiEvent) || !store.grow(want * sizeof(TMidiEvent)))
            return false;
        data = static_cast<TMidiEvent*>(store.data());
        capacity = store.size() / sizeof(TMidiEvent);
        return true;
    }
};

/// Writes one event to `slot`. With `Stream`, past the caches: the events of a
/// large song are far more than the caches hold, and stores that bypass them
/// need not first read every line they fill from memory (about three times
/// faster here). The reader ends a streamed run with a store fence.
template <bool Stream>
inline void storeEvent(TMidiEvent* slot, std::string_view data, std::int32_t delta, std::int32_t ticks,
                       std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
#if defined(__x86_64__)
    if constexpr (Stream) {
        static_assert(sizeof(TMidiEvent) == 32 && offsetof(TMidiEvent, Data) == 0 && sizeof(std::string_view) == 16
                      && offsetof(TMidiEvent, DeltaTicks) == 16 && offsetof(TMidiEvent, Ticks) == 20
                      && offsetof(TMidiEvent, Status) == 24 && offsetof(TMidiEvent, Data1) == 25
                      && offsetof(TMidiEvent, Data2) == 26);
        long long view[2];
        std::memcpy(view, &data, sizeof view);
        const long long times = static_cast<long long>(std::uint64_t{static_cast<std::uint32_t>(delta)}
                                                       | (std::uint64_t{static_cast<std::uint32_t>(ticks)} << 32));
        const long long bytes = static_cast<long long>(status | (std::uint32_t{data1} << 8) | (std::uint32_t{data2} << 16));
        auto* q = reinterpret_cast<long long*>(slot);
        _mm_stream_si64(q, view[0]);
        _mm_stream_si64(q + 1, view[1]);
        _mm_stream_si64(q + 2, times);
        _mm_stream_si64(q + 3, bytes);
        return;
    }
#endif
    new (slot) TMidiEvent{data, delta, ticks, status, data1, data2};
}

/// Parses the data of one track chunk, never reading beyond `end`, appending its
/// events to `sink` and setting the track's Name and EndTicks. Stops at the first
/// fault, keeping the events before it; running out of memory is such a fault.
/// `tempo` receives the last valid tempo value met.
template <bool Stream>
void parseTrack(TMidiTrack& track, EventSink& sink, const unsigned char* b, std::size_t end, std::uint32_t& tempo) {
    std::int32_t endTicks = 0;
    std::size_t p = 0;
    std::uint8_t running = 0;
    // The sink's fields in locals: the event stores below could otherwise alias
    // them and force a reload per event.
    TMidiEvent* out = sink.data;
    std::size_t capacity = sink.capacity;
    std::size_t count = sink.count;
    try {
        while (end - p >= 2) {
            std::uint32_t delta;
            if (!readQuantity(b, p, end, delta) || p >= end)
                break;
            if (delta > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max() - endTicks))
                break;  // the tick sum would leave the 32-bit range
            // The fields stay in registers and the event is written once at the
            // end: building it in memory byte by byte and copying it stalls.
            const char* data = nullptr;
            std::size_t dataSize = 0;
            std::uint8_t status;
            std::uint8_t data1 = 0;
            std::uint8_t data2 = 0;
            const unsigned char c = b[p];
            bool stopAfter = false;
            if (c == 0xFF) {
                ++p;
                if (p >= end)
                    break;
                status = 0xFF;
                data1 = b[p++];
                std::uint32_t length;
                if (!readQuantity(b, p, end, length) || length > end - p)
                    break;
                data = reinterpret_cast<const char*>(b + p);
                dataSize = length;
                p += length;
                if (data1 == 0x03) {
                    const std::string_view text(data, dataSize);
                    track.Name = std::string(text.substr(0, text.find('\0')));
                } else if (data1 == 0x51 && length >= 3) {
                    const auto* d = b + p - length;
                    const std::uint32_t t = (std::uint32_t{d[0]} << 16) | (std::uint32_t{d[1]} << 8) | d[2];
                    if (t == 0)
                        stopAfter = true;  // impossible tempo: the track ends after it, the clock keeps its tempo
                    else
                        tempo = t;
                }
            } else {
                if (c >= 0x80) {
                    running = c;
                    ++p;
                }
                status = running;
                if (running >= 0x80 && running <= 0xEF) {
                    if (running >= 0xC0 && running <= 0xDF) {
                        if (p >= end)
                            break;
                        data1 = b[p++];
                    } else {
                        if (end - p < 2)
                            break;
                        data1 = b[p];
                        data2 = b[p + 1];
                        p += 2;
                    }
                } else if (running == 0xF0 || running == 0xF7) {
                    // System exclusive and escape: byte count, then that many bytes;
                    // Data keeps the count so the event is written back as read.
                    const std::size_t start = p;
                    std::uint32_t length;
                    if (!readQuantity(b, p, end, length) || length > end - p)
                        break;
                    p += length;
                    data = reinterpret_cast<const char*>(b + start);
                    dataSize = p - start;
                } else if (running >= 0xF1 && running <= 0xF3) {
                    if (p >= end)
                        break;
                    data1 = b[p++];
                }
            }
            const std::int32_t ticks = endTicks + static_cast<std::int32_t>(delta);
            if (count == capacity) [[unlikely]] {
                if (!sink.grow())
                    break;
                out = sink.data;
                capacity = sink.capacity;
            }
            storeEvent<Stream>(out + count, std::string_view(data, dataSize), static_cast<std::int32_t>(delta), ticks,
                               status, data1, data2);
            ++count;
            endTicks = ticks;
            if (stopAfter)
                break;
        }
    } catch (const std::bad_alloc&) {
        // Out of memory (a track name): the track keeps the events it got, like at
        // any other fault.
    }
#if defined(__x86_64__)
    if constexpr (Stream)
        _mm_sfence();
#endif
    sink.count = count;
    track.EndTicks = endTicks;
}

} // namespace

std::string_view EventText(const TMidiEvent& event) {
    const auto zero = event.Data.find('\0');
    return zero == std::string_view::npos ? event.Data : event.Data.substr(0, zero);
}

// ---- EventList ------------------------------------------------------------------

EventList& EventList::operator=(const EventList& other) {
    if (this != &other) {
        std::vector<TMidiEvent> copy(other.begin(), other.end());
        m_own.swap(copy);
        m_viewing = false;
        syncOwn();
    }
    return *this;
}

EventList::EventList(EventList&& other) noexcept
    : m_own(std::move(other.m_own)), m_data(other.m_data), m_size(other.m_size), m_viewing(other.m_viewing) {
    other.m_own.clear();
    other.m_viewing = false;
    other.syncOwn();
}

EventList& EventList::operator=(EventList&& other) noexcept {
    if (this != &other) {
        m_own = std::move(other.m_own);
        m_data = other.m_data;
        m_size = other.m_size;
        m_viewing = other.m_viewing;
        other.m_own.clear();
        other.m_viewing = false;
        other.syncOwn();
    }
    return *this;
}

void EventList::takeOwnership(std::size_t room) {
    std::vector<TMidiEvent> own;
    own.reserve(std::max(room, m_size));
    own.assign(begin(), end());
    m_own.swap(own);
    m_viewing = false;
    syncOwn();
}

void EventList::reserve(std::size_t count) {
    if (m_viewing)
        takeOwnership(count);
    else
        m_own.reserve(count);
    syncOwn();
}

void EventList::push_back(const TMidiEvent& event) {
    if (m_viewing) {
        // `event` may be one of the viewed events: the store outlives this call.
        const TMidiEvent copy = event;
        takeOwnership(m_size + m_size / 2 + 1);
        m_own.push_back(copy);
    } else {
        m_own.push_back(event);
    }
    syncOwn();
}

void EventList::clear() {
    m_own.clear();
    m_viewing = false;
    syncOwn();
}

void EventList::view(TMidiEvent* first, std::size_t count) {
    std::vector<TMidiEvent>().swap(m_own);
    m_data = first;
    m_size = count;
    m_viewing = true;
}

// ---- TMidiTrack ------------------------------------------------------------------

const TMidiEvent* TMidiTrack::GetEvent(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= Events.size())
        return nullptr;
    return &Events[static_cast<std::size_t>(index)];
}

TMidiEvent* TMidiTrack::GetEvent(std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= Events.size())
        return nullptr;
    return &Events[static_cast<std::size_t>(index)];
}

bool TMidiTrack::AddEvent(const TMidiEvent& event) {
    const std::int64_t ticks = std::int64_t{EndTicks} + event.DeltaTicks;
    if (ticks > std::numeric_limits<std::int32_t>::max() || ticks < std::numeric_limits<std::int32_t>::min())
        return false;
    if (event.isMeta(0x03))
        Name = std::string(EventText(event));
    EndTicks = static_cast<std::int32_t>(ticks);
    Events.push_back(event);
    Events.back().Ticks = EndTicks;
    return true;
}

void TMidiTrack::PlayUntil(std::int32_t ticks) {
    while (PlayIndex >= 0 && static_cast<std::size_t>(PlayIndex) < Events.size()
           && Events[static_cast<std::size_t>(PlayIndex)].Ticks < ticks) {
        if (m_owner) {
            try {
                m_owner->MidiEvent(Events[static_cast<std::size_t>(PlayIndex)]);
            } catch (...) {
                // The hook failed: this track waits, the event is offered again next step.
                return;
            }
        }
        ++PlayIndex;
    }
}

// ---- TMidiFile: reading ------------------------------------------------------------

TMidiFile::TMidiFile() : TMidiFile(PlaybackSetup{}) {}

TMidiFile::TMidiFile(PlaybackSetup setup)
    : m_clock(setup.clock ? std::move(setup.clock) : std::make_shared<SteadyClock>()),
      m_timer(setup.timer ? std::move(setup.timer) : std::make_shared<ThreadTimer>()),
      m_thread(std::make_unique<TMidiThread>(*this)),
      m_ownThread(setup.ownThread) {}

TMidiFile::~TMidiFile() { ShutdownPlayback(); }

void TMidiFile::SetFileName(std::string path) { m_fileName = std::move(path); }

bool TMidiFile::ReadFile() {
    std::string bytes;
    bool opened = false;
    {
        std::ifstream in(m_fileName, std::ios::binary);
        if (in) {
            in.seekg(0, std::ios::end);
            const auto size = in.tellg();
            in.seekg(0, std::ios::beg);
            if (size >= 0 && in) {
                try {
                    bytes.resize(static_cast<std::size_t>(size));
                    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                    opened = in.good() || in.eof();
                    bytes.resize(static_cast<std::size_t>(in.gcount()));
                } catch (const std::bad_alloc&) {
                    opened = false;  // too large to hold: reported like an unreadable file
                }
            }
        }
    }
    if (!opened)
        bytes.clear();
    AdoptBytes(std::move(bytes));
    return opened;
}

void TMidiFile::ReadBytes(std::string_view bytes) {
    std::lock_guard lock(m_stepMutex);
    m_tracks.clear();
    m_trackCount = 0;
    try {
        const std::less<const char*> before;
        const bool ownBytes = !before(bytes.data(), m_bytes.data()) && before(bytes.data(), m_bytes.data() + m_bytes.size());
        if (ownBytes || m_bytes.capacity() > 2 * bytes.size() + (std::size_t{1} << 20))
            m_bytes = std::string(bytes);  // its own bytes again, or far more room than needed
        else
            m_bytes.assign(bytes.data(), bytes.size());  // the room of the last read serves again
    } catch (const std::bad_alloc&) {
        m_bytes = std::string();  // too large to hold a copy: nothing read
    }
    parse();
}

void TMidiFile::AdoptBytes(std::string&& bytes) {
    std::lock_guard lock(m_stepMutex);
    clear();
    m_bytes = std::move(bytes);
    parse();
}

void TMidiFile::clear() {
    m_tracks.clear();
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_trackCount = 0;
}

TMidiTrack* TMidiFile::GetTrack(std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_tracks.size())
        return nullptr;
    return m_tracks[static_cast<std::size_t>(index)].get();
}

const TMidiTrack* TMidiFile::GetTrack(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_tracks.size())
        return nullptr;
    return m_tracks[static_cast<std::size_t>(index)].get();
}

void TMidiFile::parse() {
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_bytes.data());
    const std::size_t size = m_bytes.size();
    std::size_t pos = 0;
    // A file that starts with a track chunk instead of a header yields one track.
    std::int32_t announced = 1;
    std::uint32_t tempo = 0;  // last valid tempo read; 0: none

    // Every event takes at least one byte of its track chunk, so the file size
    // bounds the number of events: the store is made that large, of which only
    // the part written is ever backed by memory. Should even the address space
    // not be had, a smaller start grows while reading.
    std::size_t room = size;
    if (!m_store.prepare(room * sizeof(TMidiEvent))) {
        room = size / 3 + 16;
        if (!m_store.prepare(room * sizeof(TMidiEvent)))
            room = 0;
    }
    EventSink sink{m_store, static_cast<TMidiEvent*>(m_store.data()), room == 0 ? 0 : m_store.size() / sizeof(TMidiEvent), 0};
    // Where each track's events start and end in the store; the tracks view them
    // once reading is done (the store may move while it grows).
    std::vector<std::size_t> bounds;
    // Events of a song this large go past the caches (see storeEvent); a small
    // song's stay there for whoever reads them next.
    const bool stream = size >= (std::size_t{1} << 20);

    try {
        bounds.reserve(std::min<std::size_t>(size / 8 + 1, 1024));
        while (pos < size && static_cast<std::int64_t>(m_tracks.size()) < announced) {
            if (size - pos < 8)
                break;  // chunk head cut short: dropped, reading ends
            const unsigned char* id = bytes + pos;
            const std::uint32_t length = be32(bytes + pos + 4);
            pos += 8;
            if (length > size - pos)
                break;  // chunk data cut short: dropped, reading ends
            const std::size_t begin = pos;
            pos += length;

            if (std::memcmp(id, "MThd", 4) == 0) {
                // Only the fields the chunk actually holds are taken.
                const unsigned char* h = bytes + begin;
                if (length >= 2 && h[1] <= 2)
                    m_format = h[1];
                if (length >= 4)
                    announced = (std::int32_t{h[2]} << 8) | h[3];
                if (length >= 6)
                    m_division = (std::int32_t{h[4]} << 8) | h[5];
            } else if (std::memcmp(id, "MTrk", 4) == 0) {
                m_tracks.push_back(std::make_unique<TMidiTrack>(this));
                bounds.push_back(sink.count);
                if (stream)
                    parseTrack<true>(*m_tracks.back(), sink, bytes + begin, length, tempo);
                else
                    parseTrack<false>(*m_tracks.back(), sink, bytes + begin, length, tempo);
            }
            // Any other identifier: a foreign chunk, skipped.
        }
    } catch (const std::bad_alloc&) {
        // Out of memory in the middle of a track: like any other fault, what was
        // read stays (the track being read keeps the events it got).
    }
    if (bounds.size() < m_tracks.size())
        m_tracks.pop_back();  // no room to note where it starts: taken as not read
    for (std::size_t t = 0; t < m_tracks.size(); ++t) {
        const std::size_t first = bounds[t];
        const std::size_t last = t + 1 < bounds.size() ? bounds[t + 1] : sink.count;
        m_tracks[t]->Events.view(sink.data + first, last - first);
    }
    m_store.used(sink.count * sizeof(TMidiEvent));
    m_trackCount = static_cast<std::int32_t>(m_tracks.size());

    // The last tempo read decides; without one the file format's default of
    // 500000 us per quarter note (120 BPM) holds.
    const std::uint32_t usPerQuarter = tempo != 0 ? tempo : 500000;
    m_bpm.store(static_cast<std::int32_t>(60000000u / usPerQuarter));
    m_usPerTick.store(m_division > 0 ? static_cast<double>(usPerQuarter) / m_division : 0.0);
}

// ---- TMidiFile: playback -----------------------------------------------------------

void TMidiFile::MidiEvent(const TMidiEvent&) {}

bool TMidiFile::startTimer() {
    if (m_ownThread)
        m_thread->start();
    return m_timer->start(kTimerPeriodMs, [this] { timerTick(); });
}

void TMidiFile::timerTick() {
    if (!m_playing.load(std::memory_order_acquire))
        return;
    const std::uint32_t elapsed = m_clock->nowMs() - m_startTickCount.load();
    const std::int32_t e = static_cast<std::int32_t>(elapsed);
    const std::uint32_t generation = m_generation.load();
    m_thread->post(e, generation);
}

void TMidiFile::StartPlay() {
    std::lock_guard lock(m_stepMutex);
    m_generation.fetch_add(1);
    for (auto& track : m_tracks)
        track->PlayIndex = 0;
    m_startTickCount.store(m_clock->nowMs());
    m_playing.store(true, std::memory_order_release);
    startTimer();
    m_playTicks.store(0.0);
    m_playMs.store(0, std::memory_order_release);
}

void TMidiFile::ContinuePlay() {
    m_startTickCount.store(m_clock->nowMs() - static_cast<std::uint32_t>(m_playMs.load()));
    m_playing.store(true, std::memory_order_release);
    startTimer();
}

void TMidiFile::StopPlay() {
    m_playing.store(false, std::memory_order_release);
    m_timer->stop();
}

void TMidiFile::PlayUpTo(std::int32_t ticks, std::int32_t ms) {
    std::lock_guard lock(m_stepMutex);
    m_generation.fetch_add(1);
    for (auto& track : m_tracks)
        track->PlayUntil(ticks);
    m_playTicks.store(static_cast<double>(ticks));
    m_playMs.store(ms, std::memory_order_release);
}

void TMidiFile::SetBpm(std::uint32_t bpm) {
    // 0, and values so large that the tempo would be 0, leave the clock alone.
    if (bpm == 0 || bpm > 60000000u || static_cast<std::int64_t>(bpm) == m_bpm.load())
        return;
    const std::uint32_t tempo = 60000000u / bpm;
    m_bpm.store(static_cast<std::int32_t>(60000000u / tempo));
    m_usPerTick.store(m_division > 0 ? static_cast<double>(tempo) / m_division : 0.0);
}

bool TMidiFile::ClockStep(std::int32_t elapsedMs) {
    std::lock_guard lock(m_stepMutex);
    const double usPerTick = m_usPerTick.load();
    if (!(usPerTick > 0.0) || !std::isfinite(usPerTick))
        return false;
    const double delta = (static_cast<double>(elapsedMs) - m_playMs.load()) * 1000.0 / usPerTick;
    const double playTicks = m_playTicks.load() + delta;
    if (!std::isfinite(playTicks))
        return false;
    m_playTicks.store(playTicks);
    const std::int32_t due = roundHalfEven(playTicks);
    for (auto& track : m_tracks)
        track->PlayUntil(due);
    m_playMs.store(elapsedMs, std::memory_order_release);
    return true;
}

void TMidiFile::runTimerMessage(std::int32_t elapsedMs, std::uint32_t generation) {
    if (generation != m_generation.load())
        return;  // posted before the clock was set back or moved: stale
    ClockStep(elapsedMs);
}

bool TMidiFile::ProcessTimerMessage() {
    std::int32_t elapsed = 0;
    std::uint32_t generation = 0;
    if (!m_thread->take(elapsed, generation))
        return false;
    runTimerMessage(elapsed, generation);
    return true;
}

void TMidiFile::ShutdownPlayback() {
    m_playing.store(false, std::memory_order_release);
    m_timer->stop();
    m_thread->terminate();
}

} // namespace versilla::core
