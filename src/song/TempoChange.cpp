#include "song/TempoChange.h"

#include "core/TMidiFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace versilla::song {

namespace {

// Rounding half to even of an extended-precision value, saturated to 32 bits.
std::int32_t roundExtended(long double value)
{
    if (std::isnan(value))
        return 0;
    constexpr long double lo = std::numeric_limits<std::int32_t>::min();
    constexpr long double hi = std::numeric_limits<std::int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    long double r = std::nearbyintl(value); // default rounding mode: to nearest, ties to even
    return static_cast<std::int32_t>(r);
}

// A numeric field: blank counts as 0; anything else must be an integer.
std::optional<std::int64_t> fieldValue(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return 0;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end)
        return std::nullopt;
    return value;
}

} // namespace

std::variant<std::int32_t, Refusal> validateTempo(std::string_view text, bool severalTempi)
{
    const auto value = fieldValue(text);
    if (value && *value >= kMinTempo && *value <= kMaxTempo)
        return static_cast<std::int32_t>(*value);
    return Refusal{severalTempi ? MessageId{11, 1} : MessageId{3, 1}, {}, "NewTempo", PromptIcon::Error};
}

bool tempoShiftPossible(const TempoList& tempoList, std::int32_t d)
{
    return std::all_of(tempoList.begin(), tempoList.end(),
                       [d](const TempoEntry& e) { return static_cast<std::int64_t>(e.bpm) + d > 0; });
}

std::vector<std::int32_t> rescaledStartMs(const TempoList& tempoList, std::int32_t d)
{
    std::vector<std::int32_t> starts(tempoList.size());
    for (std::size_t i = 0; i < tempoList.size(); ++i) {
        if (i == 0) {
            starts[i] = tempoList[i].startMs;
            continue;
        }
        const TempoEntry& prev = tempoList[i - 1];
        const long double span = (static_cast<long double>(tempoList[i].startTick) - prev.startTick) *
                                 static_cast<long double>(prev.usPerTick) / 1000.0L;
        const long double scale = static_cast<long double>(prev.bpm) / (static_cast<long double>(d) + prev.bpm);
        starts[i] = roundExtended(starts[i - 1] + span * scale);
    }
    return starts;
}

std::int32_t rescaledTime(const TempoList& oldList, const std::vector<std::int32_t>& newStartMs,
                          std::int32_t zeit, std::int32_t d)
{
    if (oldList.empty() || newStartMs.size() != oldList.size())
        return zeit;
    auto firstAbove = std::find_if(oldList.begin(), oldList.end(),
                                   [zeit](const TempoEntry& e) { return e.startMs > zeit; });
    std::size_t e = 0;
    if (firstAbove == oldList.end())
        e = oldList.size() - 1;
    else if (firstAbove != oldList.begin())
        e = static_cast<std::size_t>(firstAbove - oldList.begin()) - 1;
    const TempoEntry& entry = oldList[e];
    const long double scale = static_cast<long double>(entry.bpm) / (static_cast<long double>(d) + entry.bpm);
    return roundExtended(static_cast<long double>(newStartMs[e]) +
                         (static_cast<long double>(zeit) - entry.startMs) * scale);
}

void applyTempoShift(TempoList& tempoList, const std::vector<std::int32_t>& newStartMs, std::int32_t d,
                     std::int32_t ticksPerQuarter)
{
    for (std::size_t i = 0; i < tempoList.size(); ++i) {
        TempoEntry& e = tempoList[i];
        if (i < newStartMs.size())
            e.startMs = newStartMs[i];
        e.tempo = roundExtended(static_cast<long double>(e.tempo) * e.bpm / (static_cast<long double>(d) + e.bpm));
        e.usPerTick = ticksPerQuarter > 0 ? static_cast<double>(e.tempo) / ticksPerQuarter : 0.0;
        e.bpm += d;
    }
}

std::int32_t rescaledSongLength(const TempoList& tempoList, std::int32_t endTick)
{
    if (tempoList.empty())
        return 0;
    const TempoEntry& last = tempoList.back();
    return roundExtended(static_cast<long double>(last.startMs) +
                         (static_cast<long double>(endTick) - last.startTick) *
                             static_cast<long double>(last.usPerTick) / 1000.0L);
}

std::variant<std::int32_t, Refusal> validateStartTime(std::string_view min, std::string_view sek,
                                                      std::string_view ms, std::int32_t songLengthMs)
{
    const auto msValue = fieldValue(ms);
    if (!msValue)
        return Refusal{MessageId{4, 3}, {}, "sek", PromptIcon::Error};
    std::int64_t value = *msValue;
    if (value == 0) {
        const auto minutes = fieldValue(min);
        if (!minutes || *minutes < 0 || *minutes > 59)
            return Refusal{MessageId{4, 1}, {}, "min", PromptIcon::Error};
        const auto seconds = fieldValue(sek);
        if (!seconds || *seconds < 0 || *seconds > 59)
            return Refusal{MessageId{4, 2}, {}, "sek", PromptIcon::Error};
        value = *minutes * 60000 + *seconds * 1000;
    }
    if (value < 0 || value > songLengthMs)
        return Refusal{MessageId{4, 3}, {}, "sek", PromptIcon::Error};
    return static_cast<std::int32_t>(value);
}

std::int64_t startTimeFromMinSek(std::string_view min, std::string_view sek)
{
    const std::int64_t minutes = fieldValue(min).value_or(0);
    const std::int64_t seconds = fieldValue(sek).value_or(0);
    return minutes * 60000 + seconds * 1000;
}

SongStatus patchTempoBytes(const core::TMidiFile& song, const TempoList& asRead, std::string& out)
{
    const std::string_view bytes = song.FileBytes();
    if (bytes.empty())
        return SongStatus::failure("the song holds no file to patch");
    out.assign(bytes);
    std::size_t k = 0;
    for (std::int32_t t = 0; t < song.TrackCount() && k < asRead.size(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (!track)
            continue;
        for (const core::TMidiEvent& ev : track->Events) {
            if (k >= asRead.size())
                break;
            if (!tempoOf(ev))
                continue;
            const auto offset = static_cast<std::size_t>(ev.Data.data() - bytes.data());
            if (offset + 3 > out.size())
                return SongStatus::failure("a tempo event lies outside the song's bytes");
            const std::int32_t tempo = asRead[k++].tempo;
            out[offset] = static_cast<char>((tempo >> 16) & 0xFF);
            out[offset + 1] = static_cast<char>((tempo >> 8) & 0xFF);
            out[offset + 2] = static_cast<char>(tempo & 0xFF);
        }
    }
    return SongStatus::success();
}

} // namespace versilla::song
