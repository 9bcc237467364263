#pragma once
#include "core/Prompter.h"
#include "song/SongStatus.h"
#include "song/TempoList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace versilla::core {
class TMidiFile;
}

namespace versilla::song {

/// Lowest and highest tempo the tempo dialogs accept (beats per minute).
inline constexpr std::int32_t kMinTempo = 60;
inline constexpr std::int32_t kMaxTempo = 260;

/// Checks the value typed into `NewTempo`: an integer from 60 to 260. Otherwise
/// the refusal 3/1 (one tempo, `TForm3`) or 11/1 (several, `TForm11`), error
/// icon, focus "NewTempo".
std::variant<std::int32_t, Refusal> validateTempo(std::string_view text, bool severalTempi);

/// Whether every tempo of the list stays positive when moved by `d` beats per
/// minute (BPM + d > 0 for every entry). Never fails.
bool tempoShiftPossible(const TempoList& tempoList, std::int32_t d);

/// New start ms of every entry when every tempo moves by `d` BPM: entry 0 keeps
/// its start; entry i the new start of i - 1 plus the old span scaled by
/// BPM(i - 1) / (d + BPM(i - 1)), rounded half to even in extended precision.
/// Requires tempoShiftPossible(). Never fails.
std::vector<std::int32_t> rescaledStartMs(const TempoList& tempoList, std::int32_t d);

/// The new time of a syllable at `zeit` ms: its entry e is the one before the
/// first entry whose old start exceeds `zeit` (entry 0 when that is the first),
/// or the last; new start(e) + (zeit - old start(e)) × BPM(e) / (d + BPM(e)),
/// rounded half to even in extended precision. Never fails.
std::int32_t rescaledTime(const TempoList& oldList, const std::vector<std::int32_t>& newStartMs,
                          std::int32_t zeit, std::int32_t d);

/// Moves every entry to its new start and tempo: tempo × BPM / (d + BPM)
/// rounded, µs per tick = tempo / ticks per quarter, BPM + d. Never fails.
void applyTempoShift(TempoList& tempoList, const std::vector<std::int32_t>& newStartMs, std::int32_t d,
                     std::int32_t ticksPerQuarter);

/// Song length in ms after a tempo change: start of the last entry + (end tick
/// - its start tick) × its µs per tick / 1000, rounded half to even in extended
/// precision. Never fails.
std::int32_t rescaledSongLength(const TempoList& tempoList, std::int32_t endTick);

/// Checks the values of the start time dialog `TForm4` ("&Speichern"): blank
/// fields count as 0; a nonzero `ms` wins; with `ms` 0 the minutes must be 0..59
/// (else 4/1, focus "min") and the seconds 0..59 (else 4/2, focus "sek"), giving
/// min × 60000 + sek × 1000. The value must lie from 0 to `songLengthMs`
/// inclusive (else 4/3, focus "sek"). Text that is not a number fails like an
/// out-of-range value of its field. Error icon throughout.
std::variant<std::int32_t, Refusal> validateStartTime(std::string_view min, std::string_view sek,
                                                      std::string_view ms, std::int32_t songLengthMs);

/// What `ms` shows when `min` or `sek` is left with a changed value:
/// min × 60000 + sek × 1000 (blank or non-numeric as 0). Never fails.
std::int64_t startTimeFromMinSek(std::string_view min, std::string_view sek);

/// The bytes of `song`'s file with the three data bytes of every tempo change,
/// in file order (track by track, event by event), replaced by the tempo of the
/// entry at the same position of `asRead` (big-endian). Tempo events beyond the
/// list keep their bytes. Fails when the song holds no file bytes.
SongStatus patchTempoBytes(const core::TMidiFile& song, const TempoList& asRead, std::string& out);

} // namespace versilla::song
