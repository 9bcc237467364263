// Writing speed of the song file writer on the shared large song (about 8 MB,
// 16 tracks, two million events): figures are bytes of output per second.
//
//   bench_write                         run the benchmarks
#include "common/LargeSong.h"
#include "core/TMidiFile.h"
#include "song/SongWriter.h"
#include "song/TempoList.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace versilla;

/// The large song read once, with its write lists and lists.
struct Prepared {
    core::TMidiFile midi;
    std::vector<song::WriteList> lists;
    song::TempoList tempo;
    song::TimeSignatureList timeSignatures;
    std::size_t events = 0;

    Prepared()
    {
        midi.AdoptBytes(bench::makeLargeSong(nullptr));
        lists = song::writeListsOfSong(midi);
        tempo = song::buildTempoList(midi);
        timeSignatures = song::readTimeSignatures(midi);
        for (const auto& l : lists)
            events += l.size();
    }
};

Prepared& prepared()
{
    static Prepared p;
    return p;
}

void writeToMemory(benchmark::State& state, bool runningStatus)
{
    Prepared& p = prepared();
    std::string out;
    for (auto _ : state) {
        const song::SongStatus s = song::writeSong(p.midi, p.lists, p.tempo, p.timeSignatures,
                                                   {runningStatus, std::nullopt}, out);
        if (!s)
            state.SkipWithError(s.message().c_str());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * out.size()));
    state.counters["out_bytes"] = static_cast<double>(out.size());
    state.counters["events"] = static_cast<double>(p.events);
}

void BM_WriteSong(benchmark::State& state) { writeToMemory(state, false); }
BENCHMARK(BM_WriteSong)->Unit(benchmark::kMillisecond);

void BM_WriteSongRunningStatus(benchmark::State& state) { writeToMemory(state, true); }
BENCHMARK(BM_WriteSongRunningStatus)->Unit(benchmark::kMillisecond);

// What `versilla-cli rewrite` does after reading: write lists, tempo and
// time-signature lists, then the writer.
void BM_ListsAndWriteSong(benchmark::State& state)
{
    Prepared& p = prepared();
    std::string out;
    for (auto _ : state) {
        const auto lists = song::writeListsOfSong(p.midi);
        const auto tempo = song::buildTempoList(p.midi);
        const auto ts = song::readTimeSignatures(p.midi);
        if (!song::writeSong(p.midi, lists, tempo, ts, {}, out))
            state.SkipWithError("write failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * out.size()));
}
BENCHMARK(BM_ListsAndWriteSong)->Unit(benchmark::kMillisecond);

// Into a file next to the system's temporary folder: writer, temporary file,
// flush to disk and rename.
void BM_WriteSongFile(benchmark::State& state)
{
    Prepared& p = prepared();
    const auto path = std::filesystem::temp_directory_path() / "versilla-bench-write.mid";
    for (auto _ : state) {
        const song::SongStatus s = song::writeSongFile(path, p.midi, p.lists, p.tempo, p.timeSignatures, {});
        if (!s)
            state.SkipWithError(s.message().c_str());
    }
    const auto size = std::filesystem::file_size(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_WriteSongFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
