// Speed of the song workflow in-process on a 5-minute, 8-track song of about
// 21 000 events with 3 000 lyric events in the melody track:
//   BM_OpenSong          opening: working copy, facts, lists and the import of
//                        the 3 000 lyrics into the assignment list;
//   BM_WriteLyrics       writing the 3 000 rows into the song, rotating the
//                        working copies, reading back and re-importing.
// The data folder is a fresh temporary folder.
#include "common/LargeSong.h"
#include "core/TMidiFile.h"
#include "song/Workspace.h"
#include "storage/Schemas.h"
#include "storage/Table.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace versilla;
namespace fs = std::filesystem;

/// Format 1, 480 ticks per quarter, 120 BPM, 5 minutes (288 000 ticks): a
/// conductor track, a melody (channel 1) with a lyric on each of its 3 000
/// notes, and six accompaniment tracks of 1 000 notes each.
std::string makeSong()
{
    constexpr int kEnd = 288000;
    bench::Lcg rnd{42};
    std::string file("MThd\0\0\0\6\0\1\0\x08\x01\xE0", 14);

    std::string conductor;
    bench::putMeta(conductor, 0, 0x51, std::string("\x07\xA1\x20", 3));
    bench::putMeta(conductor, 0, 0x58, std::string("\x04\x02\x18\x08", 4));
    bench::putMeta(conductor, kEnd, 0x2F, "");
    file += bench::chunk("MTrk", conductor);

    static const char* syllables[] = {"la ", "li", "lo ", "Sing-", "ing ", "to", "ge", "ther ", "\r"};
    std::string melody;
    int tick = 0;
    for (int i = 0; i < 3000; ++i) {
        const int on = i * 96;
        bench::putQuantity(melody, static_cast<std::uint32_t>(on - tick));
        melody += std::string{'\x90', static_cast<char>(55 + rnd.next(24)), '\x64'};
        bench::putMeta(melody, 0, 0x05, syllables[i % 9]);
        bench::putQuantity(melody, 80);
        melody += std::string{'\x80', '\x3C', '\x40'};
        tick = on + 80;
    }
    bench::putMeta(melody, static_cast<std::uint32_t>(kEnd - tick), 0x2F, "");
    file += bench::chunk("MTrk", melody);

    for (int t = 0; t < 6; ++t) {
        std::string track;
        tick = 0;
        const char status = static_cast<char>(0x91 + t);
        for (int i = 0; i < 1000; ++i) {
            const int on = i * 288;
            bench::putQuantity(track, static_cast<std::uint32_t>(on - tick));
            track += std::string{status, static_cast<char>(40 + rnd.next(40)), '\x50'};
            bench::putQuantity(track, 200);
            track += std::string{status, static_cast<char>(40 + rnd.next(40)), '\x00'};
            tick = on + 200;
        }
        bench::putMeta(track, static_cast<std::uint32_t>(kEnd - tick), 0x2F, "");
        file += bench::chunk("MTrk", track);
    }
    return file;
}

/// A data folder with "texte", the song file and a workspace over a song object.
struct Setup {
    fs::path dir;
    fs::path songPath;
    core::TMidiFile midi{core::PlaybackSetup{nullptr, nullptr, false}};
    std::unique_ptr<song::Workspace> ws;
    bool ok = false;

    Setup()
    {
        dir = fs::temp_directory_path() / ("versilla_bench_workflow_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        songPath = dir / "five_minutes.mid";
        std::ofstream(songPath, std::ios::binary) << makeSong();
        if (!storage::createTable(dir, storage::kAssignmentTemplateAlias, storage::schemas::assignmentTemplate()))
            return;
        ws = std::make_unique<song::Workspace>(midi, dir);
        song::WorkspaceSettings settings;
        settings.melodie = 1;
        settings.textspur = 1;
        ws->setSettings(settings);
        ok = static_cast<bool>(ws->createList());
    }
    ~Setup()
    {
        ws.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

void BM_OpenSong(benchmark::State& state)
{
    Setup s;
    if (!s.ok) {
        state.SkipWithError("cannot create the data folder");
        return;
    }
    for (auto _ : state) {
        const song::CommandResult r = s.ws->openFile(s.songPath.string());
        if (!r.done()) {
            state.SkipWithError(("open failed: " + r.error).c_str());
            return;
        }
    }
    std::size_t events = 0;
    for (int t = 0; t < s.midi.TrackCount(); ++t)
        events += static_cast<std::size_t>(s.midi.GetTrack(t)->EventCount());
    state.counters["events"] = static_cast<double>(events);
    state.counters["rows"] = s.ws->list().rowCount();
}
BENCHMARK(BM_OpenSong)->Unit(benchmark::kMillisecond);

void BM_WriteLyrics(benchmark::State& state)
{
    Setup s;
    if (!s.ok || !s.ws->openFile(s.songPath.string()).done()) {
        state.SkipWithError("cannot open the song");
        return;
    }
    for (auto _ : state) {
        const song::CommandResult r = s.ws->writeLyrics();
        if (!r.done()) {
            state.SkipWithError(("write failed: " + r.error).c_str());
            return;
        }
    }
    state.counters["rows"] = s.ws->list().rowCount();
}
BENCHMARK(BM_WriteLyrics)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
