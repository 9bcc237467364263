#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::core {
class TMidiFile;
struct TMidiEvent;
} // namespace versilla::core

namespace versilla::song {

/// The file format's tempo when a song states none: 500 000 µs per quarter note.
inline constexpr std::int32_t kDefaultTempo = 500000;

/// One tempo change of the song.
struct TempoEntry {
    std::int32_t eventIndex = -1; ///< index of the tempo event in its track (-1: the default entry)
    std::int32_t tempo = kDefaultTempo; ///< microseconds per quarter note
    double usPerTick = 0.0;       ///< tempo / ticks per quarter (0 when the division is 0)
    std::int32_t startTick = 0;   ///< Ticks of the event
    std::int32_t startMs = 0;     ///< time of the event; 0 for the first entry of an ordered list
    std::int32_t bpm = 0;         ///< 60000000 / tempo, rounded half to even
    std::int32_t trackIndex = -1; ///< track holding the event (-1: the default entry)
};

/// Tempo entries. "As read": reading order (track by track, event by event), start
/// ms not yet known (0). "Ordered" (the tempo list): tick order with start ms.
using TempoList = std::vector<TempoEntry>;

/// The `Data` of every time-signature meta event (0x58), in reading order (owned
/// copies, so the list outlives the song object's buffer).
using TimeSignatureList = std::vector<std::string>;

/// Numerator and denominator of a time signature.
struct TimeSignature {
    std::int32_t numerator = 4;
    std::int32_t denominator = 4;
};

/// Nearest integer of `value`, halves to the even neighbour, saturated to the
/// signed 32-bit range (NaN gives 0). Never fails.
std::int32_t roundHalfEven(double value);

/// The tempo (µs per quarter note) of `event` when it is a tempo change: a meta
/// event 0x51 with at least three data bytes whose 24-bit big-endian value is not
/// 0. None for every other event, including a tempo event of value 0 (it would make
/// the BPM divide by zero; it changes nothing and is written back unchanged).
std::optional<std::int32_t> tempoOf(const core::TMidiEvent& event);

/// An entry for a tempo change read at `startTick` (start ms 0). A division of 0
/// gives 0 µs per tick. Never fails.
TempoEntry makeTempoEntry(std::int32_t tempo, std::int32_t division, std::int32_t startTick,
                          std::int32_t trackIndex, std::int32_t eventIndex);

/// The tempo list as read: one entry per tempo change of `song` in reading order,
/// start ms 0. Empty for a song without tempo changes. Never fails.
TempoList readTempoList(const core::TMidiFile& song);

/// The tempo list: the entries of `asRead` in tick order, entries at the same
/// tick in reading order (a stable sort: the order the tempo table's index gives),
/// with start ms computed from the entry before. An empty `asRead` gives a single
/// default entry (500 000 µs per quarter note at tick 0), so every conversion has
/// a first entry. Never fails.
TempoList buildTempoList(const TempoList& asRead, std::int32_t division);

/// Both lists of `song` at once: `asRead` and the ordered tempo list. Never fails.
TempoList buildTempoList(const core::TMidiFile& song, TempoList* asRead = nullptr);

/// Ticks to ms: the last entry whose start tick is not greater than `ticks`;
/// start ms + rounded (ticks - start tick) × µs per tick / 1000. A position before
/// the first entry (or an empty list) gives 0. Never fails (saturates).
std::int32_t ticksToMs(const TempoList& tempoList, std::int32_t ticks);

/// Ms to ticks: the last entry whose start ms is not greater than `ms`; start tick
/// + rounded (ms - start ms) × 1000 / µs per tick. A time before 0 ms gives the
/// first entry's start tick, an empty list 0; an entry with 0 µs per tick gives its
/// start tick. Never fails (saturates).
std::int32_t msToTicks(const TempoList& tempoList, std::int32_t ms);

/// Every time-signature event's `Data` in reading order. Never fails.
TimeSignatureList readTimeSignatures(const core::TMidiFile& song);

/// One time-signature event's data applied to `ts`: the numerator becomes the
/// first byte; the denominator becomes 2, 4, 8 or 16 for a second byte of 1..4 and
/// stays otherwise. Missing bytes leave their part unchanged.
void applyTimeSignature(std::string_view data, TimeSignature& ts);

/// The greatest Ticks of the last event of any track; -1 when no track has an
/// event (a track without events counts as -1). Never fails.
std::int32_t endTick(const core::TMidiFile& song);

/// Song length in ms from the last entry of the ordered tempo list: its start ms
/// + rounded (end tick - its start tick) × its µs per tick / 1000. An end tick
/// before that entry's start tick counts as its start tick; an empty list gives 0.
std::int32_t songLengthMs(const TempoList& tempoList, std::int32_t endTick);

} // namespace versilla::song
