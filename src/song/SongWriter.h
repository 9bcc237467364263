#pragma once
#include "song/SongStatus.h"
#include "song/TempoList.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::core {
class TMidiFile;
class TMidiTrack;
} // namespace versilla::core

namespace versilla::song {

/// One item of a write list: an existing event of the track (by index) or a lyric
/// item (by number in the list's lyric texts), at an absolute tick position.
struct WriteItem {
    std::int32_t ticks = 0;
    std::int32_t index = 0; ///< >= 0: event index in the track; < 0: lyric number -(index + 1)

    bool isLyric() const { return index < 0; }
    std::int32_t eventIndex() const { return index; }
    std::int32_t lyricNumber() const { return -(index + 1); }
};

/// The items of one track in writing order. The delta time of an item is its tick
/// position minus that of the item before it (minus 0 for the first).
class WriteList {
public:
    /// Appends the track's event `eventIndex` at `ticks`.
    void addEvent(std::int32_t eventIndex, std::int32_t ticks) { m_items.push_back({ticks, eventIndex}); }
    /// Appends a lyric item: written as a lyric meta event (0xFF 0x05) carrying
    /// `text` exactly (Windows-1252 bytes, already in its final form).
    void addLyric(std::string text, std::int32_t ticks)
    {
        m_lyrics.push_back(std::move(text));
        m_items.push_back({ticks, -static_cast<std::int32_t>(m_lyrics.size())});
    }
    void reserve(std::size_t items) { m_items.reserve(items); }

    const std::vector<WriteItem>& items() const { return m_items; }
    /// Text of lyric item number `n` (see WriteItem::lyricNumber).
    const std::string& lyric(std::int32_t n) const { return m_lyrics[static_cast<std::size_t>(n)]; }
    std::size_t size() const { return m_items.size(); }
    std::size_t lyricCount() const { return m_lyrics.size(); }

private:
    std::vector<WriteItem> m_items;
    std::vector<std::string> m_lyrics;
};

/// A write list holding exactly the events of `track`, each at its Ticks.
WriteList writeListOfTrack(const core::TMidiTrack& track);
/// One such list per track of `song`, in track order.
std::vector<WriteList> writeListsOfSong(const core::TMidiFile& song);

/// What the writer needs besides the song and its write lists.
struct SongWriteOptions {
    /// Running status ("RUNEVENTS"): leave out the status byte of a note-off or
    /// note-on (0x80-0x9F) equal to the last status byte written in the track.
    bool runningStatus = false;
    /// Format 0 only: the text written into every track-name event (0x03) instead
    /// of the event's own data (the song name the user edited). None: keep the data.
    std::optional<std::string> trackName;
};

/// Writes the song file into `out` (replacing its content): the header chunk of
/// the bytes the song was read from, as a 6-byte header (format and division
/// copied byte for byte unless the song object holds other values from a later
/// header chunk; the track count set to the number of track chunks written, so
/// the file never announces chunks that do not follow), then one track chunk per track of
/// `song` from its write list. Tempo events take their tempo from `tempoList` (the
/// k-th tempo change of a track takes the k-th entry, in list order, whose track
/// index is that track; a tempo event of value 0 and any event without an entry
/// keep their own bytes). Time-signature events take the n-th entry of
/// `timeSignatures` (n counted over the whole song in writing order; past its end
/// the event's own bytes). Shortest variable-length quantities throughout.
/// An event read before any status byte (status 0) has no bytes of its own and
/// is left out; the next item's delta time covers its time.
/// Fails, leaving `out` empty, when the song's bytes hold no header chunk before
/// the first track chunk, when the number of write lists differs from the track
/// count, when an item names an event or lyric that does not exist, or when the
/// tick positions of a list go down.
SongStatus writeSong(const core::TMidiFile& song, const std::vector<WriteList>& writeLists,
                     const TempoList& tempoList, const TimeSignatureList& timeSignatures,
                     const SongWriteOptions& options, std::string& out);

/// Writes `bytes` to `path` atomically: into a temporary file in the same folder
/// that is renamed over `path` only when complete. On failure the temporary file
/// is removed, `path` is left as it was, and the status names the path and cause.
SongStatus writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// writeSong into memory, then writeFileAtomically to `path`.
SongStatus writeSongFile(const std::filesystem::path& path, const core::TMidiFile& song,
                         const std::vector<WriteList>& writeLists, const TempoList& tempoList,
                         const TimeSignatureList& timeSignatures, const SongWriteOptions& options);

} // namespace versilla::song
