#include "song/LyricImport.h"

#include "core/TMidiFile.h"
#include "lyrics/Marks.h"
#include "song/LyricForms.h"
#include "text/CodePage1252.h"

namespace versilla::song {

namespace {

constexpr std::uint8_t kMetaLyric = 0x05;

// Many songs carry their lyrics as UTF-8. Read as Windows-1252 bytes, "ä" would
// arrive as "Ã" plus 0xA4 — the no-space mark — and the save rules would refuse
// the syllable, losing it on the next writing. A text that is valid UTF-8 with
// characters beyond ASCII, all of them in the code page, is taken as such.
std::string_view fromSongEncoding(std::string_view text, std::string& buffer)
{
    bool ascii = true;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return text;
    text::Cp1252Result converted = text::utf8ToCp1252(text);
    if (!converted.ok)
        return text;
    buffer = std::move(converted.bytes);
    return buffer;
}

void importTrack(const core::TMidiTrack& track, const TempoList& tempoList, bool opening,
                 std::vector<ImportRow>& rows, CopyrightList* copyrights, std::vector<ImportedLyric>& scratch)
{
    std::string converted;
    for (const core::TMidiEvent& ev : track.Events) {
        if (!ev.isMeta(kMetaLyric))
            continue;
        scratch.clear();
        // Reading back what writing produced needs no guess: it is Windows-1252.
        const std::string_view text = opening ? fromSongEncoding(core::EventText(ev), converted) : core::EventText(ev);
        if (importLyricText(text, opening, scratch) == 0)
            continue;
        const std::int32_t ms = ticksToMs(tempoList, ev.Ticks);
        for (ImportedLyric& lyric : scratch) {
            if (lyric.copyright && copyrights) {
                std::string notice = lyric.text;
                if (!notice.empty() && notice.back() == lyrics::kNoSpace)
                    notice.pop_back();
                copyrights->push_back({std::move(notice), ms});
            }
            rows.push_back({ms, std::move(lyric.text), ev.Ticks, 0, 1});
        }
    }
}

} // namespace

std::vector<ImportRow> importSongLyrics(const core::TMidiFile& song, const TempoList& tempoList,
                                        CopyrightList* copyrights)
{
    std::vector<ImportRow> rows;
    std::vector<ImportedLyric> scratch;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t)
        if (const core::TMidiTrack* track = song.GetTrack(t))
            importTrack(*track, tempoList, true, rows, copyrights, scratch);
    return rows;
}

std::vector<ImportRow> importTrackLyrics(const core::TMidiTrack& track, const TempoList& tempoList)
{
    std::vector<ImportRow> rows;
    std::vector<ImportedLyric> scratch;
    importTrack(track, tempoList, false, rows, nullptr, scratch);
    return rows;
}

} // namespace versilla::song
