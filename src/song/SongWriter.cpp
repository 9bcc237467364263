#include "song/SongWriter.h"

#include "core/TMidiFile.h"

#include <algorithm>
#include <cstring>

namespace versilla::song {

namespace {

constexpr std::uint8_t kMeta = 0xFF;
constexpr std::uint8_t kMetaTrackName = 0x03;
constexpr std::uint8_t kMetaLyric = 0x05;
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint8_t kMetaTimeSignature = 0x58;
// Delta time or length (5 bytes at most) plus status, type and a second length.
constexpr std::size_t kItemOverhead = 16;

/// Appends to a byte string through a raw cursor; grows geometrically. Callers
/// reserve room for a whole item first, so the writes themselves never check.
class ByteSink {
public:
    explicit ByteSink(std::string& out) : m_out(out) { rebind(0); }

    void reserve(std::size_t n)
    {
        if (static_cast<std::size_t>(m_end - m_cur) < n)
            grow(n);
    }
    void put(std::uint8_t b) { *m_cur++ = static_cast<char>(b); }
    void put(std::string_view bytes)
    {
        if (!bytes.empty())
            std::memcpy(m_cur, bytes.data(), bytes.size());
        m_cur += bytes.size();
    }
    /// Shortest variable-length quantity: 7-bit groups, most significant first,
    /// bit 7 set on every byte but the last.
    void vlq(std::uint32_t v)
    {
        if (v < 0x80) {
            put(static_cast<std::uint8_t>(v));
            return;
        }
        std::uint8_t buf[5];
        int n = 0;
        buf[n++] = static_cast<std::uint8_t>(v & 0x7F);
        while (v >>= 7)
            buf[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
        while (n > 0)
            put(buf[--n]);
    }
    void be32(std::size_t at, std::uint32_t v)
    {
        char* p = m_out.data() + at;
        p[0] = static_cast<char>(v >> 24);
        p[1] = static_cast<char>(v >> 16);
        p[2] = static_cast<char>(v >> 8);
        p[3] = static_cast<char>(v);
    }
    std::size_t pos() const { return static_cast<std::size_t>(m_cur - m_out.data()); }
    void finish() { m_out.resize(pos()); }

private:
    [[gnu::noinline]] void grow(std::size_t n)
    {
        const std::size_t used = pos();
        m_out.resize(std::max(m_out.size() * 2, used + n + 4096));
        rebind(used);
    }
    void rebind(std::size_t used)
    {
        m_cur = m_out.data() + used;
        m_end = m_out.data() + m_out.size();
    }

    std::string& m_out;
    char* m_cur = nullptr;
    char* m_end = nullptr;
};

std::uint32_t readBe32(std::string_view b, std::size_t at)
{
    return (std::uint32_t{static_cast<unsigned char>(b[at])} << 24) |
           (std::uint32_t{static_cast<unsigned char>(b[at + 1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(b[at + 2])} << 8) |
           std::uint32_t{static_cast<unsigned char>(b[at + 3])};
}

/// The six data bytes of the header chunk that the reader took the song's format
/// and division from: the first "MThd" chunk, found by walking the chunks in front
/// of the first track chunk. None when there is no complete one.
std::optional<std::string_view> findHeader(std::string_view bytes)
{
    std::size_t pos = 0;
    while (bytes.size() - pos >= 8) {
        const std::string_view id = bytes.substr(pos, 4);
        const std::uint64_t len = readBe32(bytes, pos + 4);
        if (id == "MTrk")
            return std::nullopt;
        if (id == "MThd") {
            if (len < 6 || bytes.size() - pos - 8 < len)
                return std::nullopt;
            return bytes.substr(pos + 8, 6);
        }
        if (bytes.size() - pos - 8 < len)
            return std::nullopt;
        pos += 8 + static_cast<std::size_t>(len);
    }
    return std::nullopt;
}

/// Delta time between two tick positions; `ticks` is not below `prev`.
std::uint32_t delta(std::int32_t ticks, std::int32_t prev)
{
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(ticks) - prev);
}

} // namespace

WriteList writeListOfTrack(const core::TMidiTrack& track)
{
    WriteList list;
    list.reserve(track.Events.size());
    for (std::size_t i = 0; i < track.Events.size(); ++i)
        list.addEvent(static_cast<std::int32_t>(i), track.Events[i].Ticks);
    return list;
}

std::vector<WriteList> writeListsOfSong(const core::TMidiFile& song)
{
    std::vector<WriteList> lists;
    lists.reserve(static_cast<std::size_t>(std::max(0, song.TrackCount())));
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        lists.push_back(track ? writeListOfTrack(*track) : WriteList{});
    }
    return lists;
}

SongStatus writeSong(const core::TMidiFile& song, const std::vector<WriteList>& writeLists,
                     const TempoList& tempoList, const TimeSignatureList& timeSignatures,
                     const SongWriteOptions& options, std::string& out)
{
    out.clear();
    const std::int32_t trackCount = song.TrackCount();
    const auto header = findHeader(song.FileBytes());
    if (!header)
        return SongStatus::failure("the song has no header chunk to copy");
    if (writeLists.size() != static_cast<std::size_t>(std::max(0, trackCount)))
        return SongStatus::failure("expected " + std::to_string(trackCount) + " write lists, got " +
                                   std::to_string(writeLists.size()));
    if (trackCount > 0xFFFF)
        return SongStatus::failure("too many tracks for a header chunk");

    // Tempos of each track's entries in list order: the k-th tempo change of a
    // track takes the k-th of them, so a rescaled tempo list reaches the file even
    // after lyric items moved the event indices.
    std::vector<std::vector<std::int32_t>> tempos(static_cast<std::size_t>(trackCount));
    for (const TempoEntry& e : tempoList)
        if (e.trackIndex >= 0 && e.trackIndex < trackCount)
            tempos[static_cast<std::size_t>(e.trackIndex)].push_back(e.tempo);

    const bool replaceName = options.trackName.has_value() && song.Format() == 0;
    std::size_t timeSignatureNo = 0;

    std::size_t estimate = 14 + song.FileBytes().size() + 64;
    for (const WriteList& list : writeLists)
        estimate += 8 + list.size() / 8;
    out.reserve(estimate);
    ByteSink sink(out);
    sink.reserve(estimate);

    // The header's bytes are copied; where the song object took its format or
    // division from a later header chunk, its own values are written instead, so
    // the file reads back as the song it was written from.
    std::string head(*header);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
    const std::int32_t copiedFormat = byte(1) <= 2 ? byte(1) : 0;
    if (copiedFormat != song.Format()) {
        head[0] = 0;
        head[1] = static_cast<char>(song.Format());
    }
    head[2] = static_cast<char>(trackCount >> 8);
    head[3] = static_cast<char>(trackCount);
    if (((byte(4) << 8) | byte(5)) != song.Division()) {
        head[4] = static_cast<char>(song.Division() >> 8);
        head[5] = static_cast<char>(song.Division());
    }
    sink.put("MThd");
    sink.put(std::string_view("\0\0\0\6", 4));
    sink.put(head);

    for (std::int32_t t = 0; t < trackCount; ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        const WriteList& list = writeLists[static_cast<std::size_t>(t)];
        const std::int32_t eventCount = track ? track->EventCount() : 0;
        const std::vector<std::int32_t>& trackTempos = tempos[static_cast<std::size_t>(t)];
        std::size_t tempoNo = 0;

        sink.reserve(8);
        sink.put("MTrk");
        const std::size_t lengthAt = sink.pos();
        sink.put(std::string_view("\0\0\0\0", 4));

        std::uint8_t lastStatus = 0;
        std::int32_t prevTicks = 0;
        for (const WriteItem& item : list.items()) {
            if (item.ticks < prevTicks) {
                out.clear();
                return SongStatus::failure("track " + std::to_string(t) + ": tick positions go down at tick " +
                                           std::to_string(item.ticks));
            }
            if (item.isLyric()) {
                const std::int32_t n = item.lyricNumber();
                if (n >= static_cast<std::int32_t>(list.lyricCount())) {
                    out.clear();
                    return SongStatus::failure("track " + std::to_string(t) + ": no lyric item " +
                                               std::to_string(n));
                }
                const std::string& text = list.lyric(n);
                sink.reserve(kItemOverhead + text.size());
                sink.vlq(delta(item.ticks, prevTicks));
                sink.put(kMeta);
                sink.put(kMetaLyric);
                sink.vlq(static_cast<std::uint32_t>(text.size()));
                sink.put(text);
                lastStatus = kMeta;
                prevTicks = item.ticks;
                continue;
            }
            if (item.index >= eventCount) {
                out.clear();
                return SongStatus::failure("track " + std::to_string(t) + ": no event " +
                                           std::to_string(item.index));
            }
            const core::TMidiEvent& ev = track->Events[static_cast<std::size_t>(item.index)];
            const std::uint8_t status = ev.Status;
            if (status == 0)
                continue; // no bytes of its own to write back
            sink.reserve(kItemOverhead + ev.Data.size() + (replaceName ? options.trackName->size() : 0));
            sink.vlq(delta(item.ticks, prevTicks));
            prevTicks = item.ticks;

            if (status == kMeta) {
                sink.put(kMeta);
                sink.put(ev.Data1);
                std::string_view data = ev.Data;
                if (ev.Data1 == kMetaTempo) {
                    if (tempoOf(ev) && tempoNo < trackTempos.size()) {
                        // A tempo must fit 24 bits and must not be 0.
                        const std::int32_t tempo = std::clamp(trackTempos[tempoNo++], 1, 0xFFFFFF);
                        sink.vlq(static_cast<std::uint32_t>(data.size()));
                        sink.put(static_cast<std::uint8_t>(tempo >> 16));
                        sink.put(static_cast<std::uint8_t>(tempo >> 8));
                        sink.put(static_cast<std::uint8_t>(tempo));
                        sink.put(data.substr(3));
                        lastStatus = kMeta;
                        continue;
                    }
                } else if (ev.Data1 == kMetaTimeSignature) {
                    if (timeSignatureNo < timeSignatures.size())
                        data = timeSignatures[timeSignatureNo];
                    ++timeSignatureNo;
                    sink.reserve(kItemOverhead + data.size());
                } else if (ev.Data1 == kMetaTrackName && replaceName) {
                    data = *options.trackName;
                }
                sink.vlq(static_cast<std::uint32_t>(data.size()));
                sink.put(data);
                lastStatus = kMeta;
                continue;
            }

            if (status < 0xF0) {
                // Leaving out the status is only safe when the first data byte
                // cannot be mistaken for a status byte.
                const bool omit = options.runningStatus && status <= 0x9F && status == lastStatus && ev.Data1 < 0x80;
                if (!omit)
                    sink.put(status);
                sink.put(ev.Data1);
                if (status < 0xC0 || status >= 0xE0)
                    sink.put(ev.Data2);
            } else if (status == 0xF0 || status == 0xF7) {
                sink.put(status);
                sink.put(ev.Data); // byte count and bytes, as read
            } else if (status <= 0xF3) {
                sink.put(status);
                sink.put(ev.Data1);
            } else {
                sink.put(status);
            }
            lastStatus = status;
        }

        const std::size_t length = sink.pos() - lengthAt - 4;
        if (length > 0xFFFFFFFFu) {
            out.clear();
            return SongStatus::failure("track " + std::to_string(t) + " is too long for a track chunk");
        }
        sink.be32(lengthAt, static_cast<std::uint32_t>(length));
    }
    sink.finish();
    return SongStatus::success();
}

SongStatus writeSongFile(const std::filesystem::path& path, const core::TMidiFile& song,
                         const std::vector<WriteList>& writeLists, const TempoList& tempoList,
                         const TimeSignatureList& timeSignatures, const SongWriteOptions& options)
{
    std::string bytes;
    SongStatus status = writeSong(song, writeLists, tempoList, timeSignatures, options, bytes);
    if (!status)
        return status;
    return writeFileAtomically(path, bytes);
}

} // namespace versilla::song
