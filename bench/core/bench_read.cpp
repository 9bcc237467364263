// Reading speed of the song reader on a large format-1 song made in memory:
// about 8 MB, 16 tracks, about two million events, beside a minimal walk that
// only steps over the events (the floor any reader has to pay).
//
//   bench_read                      run the benchmarks
//   bench_read --write-song FILE    write the song to FILE and exit (to measure
//                                   a whole reading process, e.g. with time -v)
#include "common/LargeSong.h"
#include "core/TMidiFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using versilla::bench::makeLargeSong;

const std::string& largeSong() {
    static const std::string song = makeLargeSong(nullptr);
    return song;
}

inline std::uint32_t be32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

inline bool skipQuantity(const unsigned char* b, std::size_t& p, std::size_t end, std::uint32_t& v) {
    v = 0;
    while (p < end) {
        const unsigned char c = b[p++];
        v = (v << 7) | (c & 0x7F);
        if (c < 0x80)
            return true;
    }
    return false;
}

/// The floor: step over every event of every track chunk and count them, storing
/// nothing.
std::size_t rawWalk(const std::string& file) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    std::size_t pos = 0, count = 0;
    while (file.size() - pos >= 8) {
        const std::uint32_t length = be32(bytes + pos + 4);
        const bool isTrack = std::memcmp(bytes + pos, "MTrk", 4) == 0;
        pos += 8;
        if (length > file.size() - pos)
            break;
        if (isTrack) {
            const unsigned char* b = bytes + pos;
            std::size_t p = 0;
            unsigned running = 0;
            while (length - p >= 2) {
                std::uint32_t v;
                if (!skipQuantity(b, p, length, v) || p >= length)
                    break;
                unsigned c = b[p];
                if (c == 0xFF) {
                    p += 2;
                    if (!skipQuantity(b, p, length, v))
                        break;
                    p += v;
                } else {
                    if (c >= 0x80) {
                        running = c;
                        ++p;
                    }
                    if (running == 0xF0 || running == 0xF7) {
                        if (!skipQuantity(b, p, length, v))
                            break;
                        p += v;
                    } else if ((running >= 0xC0 && running <= 0xDF) || (running >= 0xF1 && running <= 0xF3)) {
                        p += 1;
                    } else if (running >= 0x80 && running < 0xF0) {
                        p += 2;
                    }
                }
                if (p > length)
                    break;
                ++count;
            }
        }
        pos += length;
    }
    return count;
}

void BM_RawWalk(benchmark::State& state) {
    const std::string& song = largeSong();
    std::size_t events = 0;
    for (auto _ : state) {
        events = rawWalk(song);
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * song.size()));
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_RawWalk)->Unit(benchmark::kMillisecond);

void BM_ReadSong(benchmark::State& state) {
    const std::string& song = largeSong();
    versilla::core::TMidiFile midi;
    std::size_t events = 0;
    for (auto _ : state) {
        midi.ReadBytes(song);
        events = 0;
        for (std::int32_t t = 0; t < midi.TrackCount(); ++t)
            events += static_cast<std::size_t>(midi.GetTrack(t)->EventCount());
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * song.size()));
    state.counters["events"] = static_cast<double>(events);
    state.counters["tracks"] = midi.TrackCount();
}
BENCHMARK(BM_ReadSong)->Unit(benchmark::kMillisecond);

// A fresh song object per iteration: the memory is new each time, as when a
// song is opened once.
void BM_ReadSongFreshObject(benchmark::State& state) {
    const std::string& song = largeSong();
    for (auto _ : state) {
        versilla::core::TMidiFile midi;
        midi.ReadBytes(song);
        benchmark::DoNotOptimize(midi.TrackCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * song.size()));
}
BENCHMARK(BM_ReadSongFreshObject)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-song") == 0) {
        std::size_t events = 0;
        const std::string song = makeLargeSong(&events);
        std::FILE* f = std::fopen(argv[2], "wb");
        if (!f || std::fwrite(song.data(), 1, song.size(), f) != song.size() || std::fclose(f) != 0) {
            std::fprintf(stderr, "bench_read: cannot write %s\n", argv[2]);
            return 1;
        }
        std::printf("%s: %zu bytes, %zu events\n", argv[2], song.size(), events);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
