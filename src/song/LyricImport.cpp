#include "song/LyricImport.h"

#include "core/TMidiFile.h"
#include "lyrics/Marks.h"
#include "song/LyricForms.h"

namespace versilla::song {

namespace {

constexpr std::uint8_t kMetaLyric = 0x05;

void importTrack(const core::TMidiTrack& track, const TempoList& tempoList, bool opening,
                 std::vector<ImportRow>& rows, CopyrightList* copyrights, std::vector<ImportedLyric>& scratch)
{
    for (const core::TMidiEvent& ev : track.Events) {
        if (!ev.isMeta(kMetaLyric))
            continue;
        scratch.clear();
        if (importLyricText(core::EventText(ev), opening, scratch) == 0)
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
