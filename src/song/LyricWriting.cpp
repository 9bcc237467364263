#include "song/LyricWriting.h"

#include "core/TMidiFile.h"
#include "song/LyricForms.h"

#include <algorithm>

namespace versilla::song {

namespace {
constexpr std::uint8_t kMetaLyric = 0x05;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;

bool isNoteOn(const core::TMidiEvent& ev) { return ev.Status >= 0x90 && ev.Status <= 0x9F; }
} // namespace

std::variant<std::int32_t, Refusal> chooseTextTrack(const core::TMidiFile& song, std::int32_t textspur)
{
    if (song.TrackCount() == 1)
        return 0;
    if (song.TrackCount() > 1 && (textspur < 1 || textspur > 16))
        return Refusal{MessageId{1, 4}, {}, {}, PromptIcon::Information};
    const auto status = static_cast<std::uint8_t>(0x90 + textspur - 1);
    std::string channels;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (!track)
            continue;
        for (const core::TMidiEvent& ev : track->Events)
            if (ev.Status == status)
                return t;
        for (const core::TMidiEvent& ev : track->Events) {
            if (isNoteOn(ev)) {
                channels += std::to_string(ev.Status - 0x90 + 1) + " ";
                break;
            }
        }
    }
    return Refusal{MessageId{1, 5}, " " + channels, {}, PromptIcon::Information};
}

std::vector<WriteList> buildLyricWriteLists(const core::TMidiFile& song, std::int32_t textTrack,
                                            const std::vector<RowToWrite>& rows)
{
    std::vector<WriteList> lists(static_cast<std::size_t>(std::max(song.TrackCount(), 0)));
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        WriteList& list = lists[static_cast<std::size_t>(t)];
        if (!track)
            continue;
        const std::int32_t count = track->EventCount();
        if (t != textTrack) {
            list.reserve(static_cast<std::size_t>(count));
            for (std::int32_t i = 0; i < count; ++i) {
                const core::TMidiEvent& ev = track->Events[static_cast<std::size_t>(i)];
                if (!ev.isMeta(kMetaLyric))
                    list.addEvent(i, ev.Ticks);
            }
            continue;
        }

        list.reserve(static_cast<std::size_t>(count) + rows.size());
        std::size_t next = 0;
        std::int32_t lastTick = 0;
        auto emitRow = [&](std::size_t r) {
            const bool nextIsBreak = r + 1 < rows.size() && isLineBreakText(rows[r + 1].text);
            lastTick = std::max(lastTick, rows[r].gesticks);
            list.addLyric(lyricEventText(rows[r].text, nextIsBreak), lastTick);
        };
        for (std::int32_t i = 0; i < count; ++i) {
            const core::TMidiEvent& ev = track->Events[static_cast<std::size_t>(i)];
            const bool finalEnd = i + 1 == count && ev.isMeta(kMetaEndOfTrack);
            // The end of the track takes every row still waiting, so none is lost.
            while (next < rows.size() && (finalEnd || rows[next].gesticks < ev.Ticks))
                emitRow(next++);
            if (ev.isMeta(kMetaLyric))
                continue;
            lastTick = std::max(lastTick, ev.Ticks);
            list.addEvent(i, lastTick);
        }
        // A track that does not close with an end-of-track event: the rest follow its last event.
        while (next < rows.size())
            emitRow(next++);
    }
    return lists;
}

} // namespace versilla::song
