#pragma once
#include "song/TempoList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace versilla::core {
class TMidiFile;
}

namespace versilla::song {

/// Where a note sits on the two-system staff: position counts down by 4 per
/// staff step (104 lowest, 0 highest); a sharp note shares the position of the
/// note below it.
struct StaffPitch {
    std::int32_t position = 0;
    bool sharp = false;
};

/// Staff position and sharp of a note number. Notes 48 to 91 come from the
/// pitch table; every other note sits at position 0 without a sharp (the top of
/// the staff, like note 91). Never fails.
StaffPitch pitchOf(std::int32_t note);

/// One note of the melody channel.
struct MelodyNote {
    std::int32_t tick = 0;
    std::int32_t note = 0;
    std::int32_t position = 0;
    bool sharp = false;
    friend bool operator==(const MelodyNote&, const MelodyNote&) = default;
};
using MelodyNoteList = std::vector<MelodyNote>;

/// The status byte of a note-on of melody channel `melodie` (1 to 16): 0x90 +
/// melodie - 1. Any other value (0 is a blank setting) means no melody channel
/// is chosen: none.
std::optional<std::uint8_t> melodyStatusByte(std::int32_t melodie);

/// The melody notes of `song`: every event whose Status is `status` and whose
/// velocity is not 0, tracks in order, events in order (not merged by tick).
/// Without `gleich`, a note at the same tick as the previous melody note is
/// skipped; the previous tick starts at 0 for the whole walk, so a first melody
/// note at tick 0 is skipped too. No status: an empty list. Never fails.
MelodyNoteList collectMelodyNotes(const core::TMidiFile& song, std::optional<std::uint8_t> status, bool gleich);

/// What the time-signature events of a song say.
struct TimeSignatureScan {
    TimeSignatureList list;    ///< every event's Data in reading order
    TimeSignature last;        ///< after applying every event (4/4 before the first)
    std::string firstShown;    ///< "n/d" after the first event; empty without any
};

/// Walks the time-signature events of `song`. Never fails.
TimeSignatureScan scanTimeSignatures(const core::TMidiFile& song);

/// "numerator/denominator", e.g. "6/8". Never fails.
std::string timeSignatureText(const TimeSignature& ts);

/// The song path shown and used for saving: `path`, with ".mid" appended when
/// its upper-case form does not contain ".MID" anywhere (song.kar becomes
/// song.kar.mid, x.midi stays). Never fails.
std::string withMidExtension(std::string path);

/// Shown instead of a song name for a song of format 1.
inline constexpr const char* kNoNameText = "Format 1: Kein Name m\xF6glich!";
/// `s1_taktart` when the song has no time signature.
inline constexpr const char* kNoTimeSignatureText = "leer";

/// The song name shown in `s1_spurname`: the name of track 0 for a format-0
/// song, otherwise kNoNameText. Never fails.
std::string shownSongName(const core::TMidiFile& song);

} // namespace versilla::song
