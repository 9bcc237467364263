#include "core/TMidiFile.h"

#include "core/TMidiThread.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <cstring>
#include <fstream>
#include <limits>

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

/// Room for one more event while reading. Grows from an estimate made on the
/// bytes still to come, so a track ends up with about the room it needs instead
/// of up to twice that.
[[gnu::noinline]] void growForRead(std::vector<TMidiEvent>& events, std::size_t consumed, std::size_t chunkLength) {
    const std::size_t have = events.size();
    std::size_t want = have + 16;
    if (consumed > 0)
        want = have + (have * (chunkLength - consumed)) / consumed + have / 32 + 16;
    events.reserve(want);
}

/// Parses the data of one track chunk into `track`, never reading beyond `end`.
/// Stops at the first fault, keeping the events before it. `tempo` receives the
/// last valid tempo value met.
void parseTrack(TMidiTrack& track, const unsigned char* b, std::size_t end, std::uint32_t& tempo) {
    auto& events = track.Events;
    std::int32_t endTicks = 0;
    std::size_t p = 0;
    std::uint8_t running = 0;
    try {
        // Events take three bytes or more but for rare exceptions, so this is nearly
        // always enough; room never written to is never touched.
        // Capped so a huge chunk does not ask for it all at once; growForRead
        // extrapolates from there.
        events.reserve(std::min<std::size_t>(end / 3 + 4, std::size_t{1} << 20));
        while (end - p >= 2) {
            std::uint32_t delta;
            if (!readQuantity(b, p, end, delta) || p >= end)
                break;
            if (delta > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max() - endTicks))
                break;  // the tick sum would leave the 32-bit range
            TMidiEvent ev;
            ev.DeltaTicks = static_cast<std::int32_t>(delta);
            const unsigned char c = b[p];
            bool stopAfter = false;
            if (c == 0xFF) {
                ++p;
                if (p >= end)
                    break;
                ev.Status = 0xFF;
                ev.Data1 = b[p++];
                std::uint32_t count;
                if (!readQuantity(b, p, end, count) || count > end - p)
                    break;
                ev.Data = std::string_view(reinterpret_cast<const char*>(b + p), count);
                p += count;
                if (ev.Data1 == 0x03) {
                    track.Name = std::string(EventText(ev));
                } else if (ev.Data1 == 0x51 && count >= 3) {
                    const auto* d = b + p - count;
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
                ev.Status = running;
                if (running >= 0x80 && running <= 0xEF) {
                    if (running >= 0xC0 && running <= 0xDF) {
                        if (p >= end)
                            break;
                        ev.Data1 = b[p++];
                    } else {
                        if (end - p < 2)
                            break;
                        ev.Data1 = b[p];
                        ev.Data2 = b[p + 1];
                        p += 2;
                    }
                } else if (running == 0xF0 || running == 0xF7) {
                    // System exclusive and escape: byte count, then that many bytes;
                    // Data keeps the count so the event is written back as read.
                    const std::size_t start = p;
                    std::uint32_t count;
                    if (!readQuantity(b, p, end, count) || count > end - p)
                        break;
                    p += count;
                    ev.Data = std::string_view(reinterpret_cast<const char*>(b + start), p - start);
                } else if (running >= 0xF1 && running <= 0xF3) {
                    if (p >= end)
                        break;
                    ev.Data1 = b[p++];
                }
            }
            ev.Ticks = endTicks + ev.DeltaTicks;
            if (events.size() == events.capacity()) [[unlikely]]
                growForRead(events, p, end);
            events.push_back(ev);
            endTicks = ev.Ticks;
            if (stopAfter)
                break;
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: the track keeps the events it got, like at any other fault.
    }
    track.EndTicks = endTicks;
}

} // namespace

std::string_view EventText(const TMidiEvent& event) {
    const auto zero = event.Data.find('\0');
    return zero == std::string_view::npos ? event.Data : event.Data.substr(0, zero);
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

void TMidiFile::ReadBytes(std::string_view bytes) { AdoptBytes(std::string(bytes)); }

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

    try {
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
                parseTrack(*m_tracks.back(), bytes + begin, length, tempo);
            }
            // Any other identifier: a foreign chunk, skipped.
        }
    } catch (const std::bad_alloc&) {
        // Out of memory in the middle of a track: like any other fault, what was
        // read stays (the track being read keeps the events it got).
    }
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
