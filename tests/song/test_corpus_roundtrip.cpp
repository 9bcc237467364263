// Every corpus file written back with its own events reads back to the same
// events; files written the way the writer writes are reproduced byte for byte.
#include "core/TMidiFile.h"
#include "song/SongWriter.h"
#include "song/TempoList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

using namespace versilla;

namespace {

std::vector<std::filesystem::path> corpusFiles()
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path root = VERSILLA_CORPUS_DIR;
    if (!std::filesystem::is_directory(root))
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".mid" || ext == ".kar"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string slurp(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

/// An independent check of the layout the writer produces: one 6-byte header,
/// then exactly the announced track chunks and nothing else; every event with its
/// own status byte; every quantity in its shortest form. Returns why not, or
/// nothing. With `oneNamePerTrack`, also at most one track-name event per track.
/// With `read`, also every event of the chunks in that song object (the reader
/// stops a track early at a tempo of 0).
std::optional<std::string> notWriterLayout(const std::string& f, bool oneNamePerTrack,
                                           const core::TMidiFile* read = nullptr)
{
    auto u8 = [&](std::size_t i) { return static_cast<unsigned char>(f[i]); };
    if (f.size() < 14 || f.compare(0, 4, "MThd") != 0 || (u8(4) | u8(5) | u8(6)) != 0 || u8(7) != 6)
        return "no 6-byte header";
    const unsigned tracks = unsigned(u8(10)) << 8 | u8(11);
    std::size_t pos = 14;
    for (unsigned t = 0; t < tracks; ++t) {
        if (pos + 8 > f.size() || f.compare(pos, 4, "MTrk") != 0)
            return "track chunk " + std::to_string(t) + " missing";
        const std::size_t len =
            std::size_t(u8(pos + 4)) << 24 | std::size_t(u8(pos + 5)) << 16 | std::size_t(u8(pos + 6)) << 8 | u8(pos + 7);
        std::size_t p = pos + 8;
        const std::size_t end = p + len;
        if (end > f.size())
            return "track " + std::to_string(t) + " cut short";
        int names = 0;
        std::int32_t events = 0;
        auto quantity = [&](std::uint32_t& v) -> bool {
            if (p >= end || u8(p) == 0x80)
                return false; // cut off, or a padding byte in front
            v = 0;
            while (p < end) {
                const unsigned char b = u8(p++);
                v = v << 7 | (b & 0x7F);
                if (b < 0x80)
                    return true;
            }
            return false;
        };
        while (p < end) {
            std::uint32_t v;
            if (!quantity(v))
                return "track " + std::to_string(t) + ": delta not shortest or cut";
            if (p >= end || u8(p) < 0x80)
                return "track " + std::to_string(t) + ": running status";
            const unsigned char s = u8(p++);
            std::size_t need = 0;
            if (s == 0xFF) {
                if (p >= end)
                    return "cut meta";
                const unsigned char type = u8(p++);
                if (type == 0x03)
                    ++names;
                if (!quantity(v))
                    return "meta length not shortest";
                need = v;
            } else if (s == 0xF0 || s == 0xF7) {
                if (!quantity(v))
                    return "sysex length not shortest";
                need = v;
            } else if (s < 0xC0 || (s >= 0xE0 && s < 0xF0)) {
                need = 2;
            } else if (s < 0xE0 || s <= 0xF3) {
                need = 1;
            }
            if (need > end - p)
                return "event cut by the chunk end";
            p += need;
            ++events;
        }
        if (read && (!read->GetTrack(std::int32_t(t)) || read->GetTrack(std::int32_t(t))->EventCount() != events))
            return "the reader did not take every event of track " + std::to_string(t);
        if (oneNamePerTrack && names > 1)
            return "two track names in track " + std::to_string(t);
        pos = end;
    }
    if (pos != f.size())
        return "bytes after the last announced track";
    return std::nullopt;
}

/// The events of `a` that can be written (status 0 has no bytes of its own) must
/// come back in `b` with the same status, data and ticks.
void expectSameEvents(const core::TMidiFile& a, const core::TMidiFile& b, const std::string& what)
{
    ASSERT_EQ(b.TrackCount(), a.TrackCount()) << what;
    EXPECT_EQ(b.Format(), a.Format()) << what;
    EXPECT_EQ(b.Division(), a.Division()) << what;
    for (std::int32_t t = 0; t < a.TrackCount(); ++t) {
        std::vector<const core::TMidiEvent*> expected;
        for (const core::TMidiEvent& ev : a.GetTrack(t)->Events)
            if (ev.Status != 0)
                expected.push_back(&ev);
        const auto& got = b.GetTrack(t)->Events;
        ASSERT_EQ(got.size(), expected.size()) << what << " track " << t;
        std::int32_t prev = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            const core::TMidiEvent& e = *expected[i];
            const core::TMidiEvent& g = got[i];
            const bool same = g.Status == e.Status && g.Data1 == e.Data1 && g.Data2 == e.Data2 && g.Data == e.Data &&
                              g.Ticks == e.Ticks && g.DeltaTicks == e.Ticks - prev;
            ASSERT_TRUE(same) << what << " track " << t << " event " << i;
            prev = e.Ticks;
        }
    }
}

} // namespace

TEST(CorpusRoundTrip, SameEventsAndByteIdenticalForFilesInTheWritersLayout)
{
    const auto files = corpusFiles();
    ASSERT_FALSE(files.empty()) << "no corpus under " << VERSILLA_CORPUS_DIR;
    int identical = 0;
    for (const auto& path : files) {
        const std::string name = path.lexically_relative(VERSILLA_CORPUS_DIR).string();
        const std::string in = slurp(path);
        core::TMidiFile midi;
        midi.ReadBytes(in);
        const song::TempoList tempo = song::buildTempoList(midi);
        const song::TimeSignatureList ts = song::readTimeSignatures(midi);
        const auto lists = song::writeListsOfSong(midi);

        for (bool rs : {false, true}) {
            const std::string what = name + (rs ? " (running status)" : "");
            std::string out;
            const song::SongStatus s = song::writeSong(midi, lists, tempo, ts, {rs, std::nullopt}, out);
            ASSERT_TRUE(s) << what << ": " << s.message();
            core::TMidiFile back;
            back.ReadBytes(out);
            expectSameEvents(midi, back, what);

            // Writing what was read back gives the same bytes again.
            std::string again;
            ASSERT_TRUE(song::writeSong(back, song::writeListsOfSong(back), song::buildTempoList(back),
                                        song::readTimeSignatures(back), {rs, std::nullopt}, again));
            EXPECT_TRUE(again == out) << what << ": second writing differs";

            if (!rs) {
                const auto outLayout = notWriterLayout(out, false);
                EXPECT_FALSE(outLayout.has_value()) << what << ": written file: " << outLayout.value_or("");
                if (!notWriterLayout(in, true, &midi)) {
                    EXPECT_TRUE(out == in) << what << ": not byte-identical";
                    ++identical;
                }
            }
        }
    }
    // The corpus holds files written this way; the comparison must have run.
    EXPECT_GT(identical, 0);
    std::printf("%zu corpus files round-tripped, %d in the writer's layout and byte-identical\n", files.size(),
                identical);
}
