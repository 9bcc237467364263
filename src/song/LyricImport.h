#pragma once
#include "song/TempoList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace versilla::core {
class TMidiFile;
class TMidiTrack;
} // namespace versilla::core

namespace versilla::song {

/// A row of the assignment list as it is read from the song's lyric events.
struct ImportRow {
    std::int32_t zeit = 0;     ///< ms through the tempo list
    std::string text;          ///< with the marks
    std::int32_t gesticks = 0; ///< Ticks of the event
    std::int32_t start = 0;
    std::int32_t mehrfach = 1;
};

/// A lyric recognised as a copyright notice, with its time.
struct CopyrightEntry {
    std::string text; ///< protected form, without the no-space mark
    std::int32_t ms = 0;
    friend bool operator==(const CopyrightEntry&, const CopyrightEntry&) = default;
};
using CopyrightList = std::vector<CopyrightEntry>;

/// The rows of every lyric event (meta 0x05) of `song`, tracks in order, events
/// in order, as opening imports them: texts that hold only spaces or control
/// characters other than line breaks are left out, and copyright notices are
/// appended to `copyrights` (when given). Times come from `tempoList`. Never fails.
std::vector<ImportRow> importSongLyrics(const core::TMidiFile& song, const TempoList& tempoList,
                                        CopyrightList* copyrights);

/// The rows of the lyric events of one track, as writing reads them back: no
/// text is left out and no notice recorded. START 0, MEHRFACH 1. Never fails.
std::vector<ImportRow> importTrackLyrics(const core::TMidiTrack& track, const TempoList& tempoList);

} // namespace versilla::song
