#pragma once
#include "core/Prompter.h"
#include "song/SongWriter.h"

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

namespace versilla::core {
class TMidiFile;
}

namespace versilla::song {

/// The track that receives the lyric events. One track: track 0. Two or more:
/// the first track holding an event with Status 0x90 + textspur - 1 (a note-on
/// of the "TEXTSPUR" channel). Refusals (information icon): 1/4 when no channel
/// is chosen (textspur outside 1..16, 0 being blank); 1/5 with " " and the
/// channel list appended when no track holds such a note-on (the channel list:
/// for every track with a note-on, the channel 1..16 of its first one and a
/// space). A song without tracks has no text track: 1/5 with " ".
std::variant<std::int32_t, Refusal> chooseTextTrack(const core::TMidiFile& song, std::int32_t textspur);

/// A row to write, in list order: its tick position and its TEXT.
struct RowToWrite {
    std::int32_t gesticks = 0;
    std::string_view text;
};

/// The write lists of `song` with `rows` (in list order) as the lyrics of
/// `textTrack`: every other track keeps its events without lyric events; the
/// text track's events (without lyric events) are merged with one lyric item per
/// row, a row going before the first event whose Ticks exceeds its GESTICKS (an
/// event and a row at the same tick: the event first). Rows at or after the
/// track's final end-of-track event go before it, and the end of track moves to
/// the last row's tick when that is later. A row whose GESTICKS lies below the
/// item before it is written at that item's tick (tick positions never go down).
/// Lyric texts are formed by lyricEventText(). Never fails.
std::vector<WriteList> buildLyricWriteLists(const core::TMidiFile& song, std::int32_t textTrack,
                                            const std::vector<RowToWrite>& rows);

} // namespace versilla::song
