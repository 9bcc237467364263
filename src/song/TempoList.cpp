#include "song/TempoList.h"

#include "core/TMidiFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace versilla::song {

namespace {
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint8_t kMetaTimeSignature = 0x58;
} // namespace

std::int32_t roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    double r = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        r = 2.0 * std::round(value / 2.0);
    return static_cast<std::int32_t>(r);
}

std::optional<std::int32_t> tempoOf(const core::TMidiEvent& event)
{
    if (!event.isMeta(kMetaTempo) || event.Data.size() < 3)
        return std::nullopt;
    const auto* b = reinterpret_cast<const unsigned char*>(event.Data.data());
    const std::int32_t tempo = (std::int32_t{b[0]} << 16) | (std::int32_t{b[1]} << 8) | std::int32_t{b[2]};
    if (tempo == 0)
        return std::nullopt;
    return tempo;
}

TempoEntry makeTempoEntry(std::int32_t tempo, std::int32_t division, std::int32_t startTick,
                          std::int32_t trackIndex, std::int32_t eventIndex)
{
    TempoEntry e;
    e.eventIndex = eventIndex;
    e.tempo = tempo;
    e.usPerTick = division > 0 ? static_cast<double>(tempo) / division : 0.0;
    e.startTick = startTick;
    e.startMs = 0;
    e.bpm = tempo > 0 ? roundHalfEven(60000000.0 / tempo) : 0;
    e.trackIndex = trackIndex;
    return e;
}

TempoList readTempoList(const core::TMidiFile& song)
{
    TempoList list;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (!track)
            continue;
        for (std::int32_t i = 0; i < track->EventCount(); ++i) {
            const core::TMidiEvent& ev = track->Events[static_cast<std::size_t>(i)];
            if (auto tempo = tempoOf(ev))
                list.push_back(makeTempoEntry(*tempo, song.Division(), ev.Ticks, t, i));
        }
    }
    return list;
}

TempoList buildTempoList(const TempoList& asRead, std::int32_t division)
{
    TempoList list = asRead;
    if (list.empty()) {
        list.push_back(makeTempoEntry(kDefaultTempo, division, 0, -1, -1));
        return list;
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const TempoEntry& a, const TempoEntry& b) { return a.startTick < b.startTick; });
    list.front().startMs = 0;
    for (std::size_t i = 1; i < list.size(); ++i) {
        const TempoEntry& prev = list[i - 1];
        const double deltaTicks = static_cast<double>(list[i].startTick) - prev.startTick;
        const double ms = static_cast<double>(prev.startMs) + roundHalfEven(deltaTicks * prev.usPerTick / 1000.0);
        list[i].startMs = roundHalfEven(ms);
    }
    return list;
}

TempoList buildTempoList(const core::TMidiFile& song, TempoList* asRead)
{
    TempoList read = readTempoList(song);
    TempoList ordered = buildTempoList(read, song.Division());
    if (asRead)
        *asRead = std::move(read);
    return ordered;
}

std::int32_t ticksToMs(const TempoList& tempoList, std::int32_t ticks)
{
    // Last entry whose start tick is not greater than `ticks`.
    auto it = std::upper_bound(tempoList.begin(), tempoList.end(), ticks,
                               [](std::int32_t t, const TempoEntry& e) { return t < e.startTick; });
    if (it == tempoList.begin())
        return 0;
    const TempoEntry& e = *(it - 1);
    const double offset = (static_cast<double>(ticks) - e.startTick) * e.usPerTick / 1000.0;
    return roundHalfEven(static_cast<double>(e.startMs) + roundHalfEven(offset));
}

std::int32_t msToTicks(const TempoList& tempoList, std::int32_t ms)
{
    if (tempoList.empty())
        return 0;
    auto it = std::upper_bound(tempoList.begin(), tempoList.end(), ms,
                               [](std::int32_t m, const TempoEntry& e) { return m < e.startMs; });
    if (it == tempoList.begin())
        return tempoList.front().startTick;
    const TempoEntry& e = *(it - 1);
    if (!(e.usPerTick > 0.0))
        return e.startTick;
    const double offset = (static_cast<double>(ms) - e.startMs) * 1000.0 / e.usPerTick;
    return roundHalfEven(static_cast<double>(e.startTick) + roundHalfEven(offset));
}

TimeSignatureList readTimeSignatures(const core::TMidiFile& song)
{
    TimeSignatureList list;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (!track)
            continue;
        for (const core::TMidiEvent& ev : track->Events)
            if (ev.isMeta(kMetaTimeSignature))
                list.emplace_back(ev.Data);
    }
    return list;
}

void applyTimeSignature(std::string_view data, TimeSignature& ts)
{
    if (data.size() >= 1)
        ts.numerator = static_cast<unsigned char>(data[0]);
    if (data.size() >= 2) {
        switch (static_cast<unsigned char>(data[1])) {
        case 1: ts.denominator = 2; break;
        case 2: ts.denominator = 4; break;
        case 3: ts.denominator = 8; break;
        case 4: ts.denominator = 16; break;
        default: break;
        }
    }
}

std::int32_t endTick(const core::TMidiFile& song)
{
    std::int32_t end = -1;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (track && !track->Events.empty())
            end = std::max(end, track->Events.back().Ticks);
    }
    return end;
}

std::int32_t songLengthMs(const TempoList& tempoList, std::int32_t endTick)
{
    if (tempoList.empty())
        return 0;
    const TempoEntry& last = tempoList.back();
    const double deltaTicks = std::max(0.0, static_cast<double>(endTick) - last.startTick);
    return roundHalfEven(static_cast<double>(last.startMs) + roundHalfEven(deltaTicks * last.usPerTick / 1000.0));
}

} // namespace versilla::song
