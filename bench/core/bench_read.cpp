// Reading speed of the song reader on a large format-1 song made in memory:
// about 8 MB, 16 tracks, about two million events, beside a minimal walk that
// only steps over the events (the floor any reader has to pay).
//
//   bench_read                      run the benchmarks
//   bench_read --write-song FILE    write the song to FILE and exit (to measure
//                                   a whole reading process, e.g. with time -v)
#include "core/TMidiFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void putQuantity(std::string& out, std::uint32_t v) {
    char buf[5];
    int n = 0;
    buf[4 - n++] = static_cast<char>(v & 0x7F);
    while (v >>= 7)
        buf[4 - n++] = static_cast<char>(0x80 | (v & 0x7F));
    out.append(buf + 5 - n, static_cast<std::size_t>(n));
}

void putMeta(std::string& out, std::uint32_t delta, int type, const std::string& data) {
    putQuantity(out, delta);
    out += '\xFF';
    out += static_cast<char>(type);
    putQuantity(out, static_cast<std::uint32_t>(data.size()));
    out += data;
}

struct Lcg {
    std::uint32_t s;
    std::uint32_t next(std::uint32_t n) {
        s = (1103515245u * s + 12345u) & 0x7FFFFFFFu;
        return (s >> 8) % n;
    }
};

std::string chunk(const char* id, const std::string& data) {
    std::string out(id, 4);
    const auto n = static_cast<std::uint32_t>(data.size());
    out += static_cast<char>(n >> 24);
    out += static_cast<char>(n >> 16);
    out += static_cast<char>(n >> 8);
    out += static_cast<char>(n);
    return out + data;
}

/// Format 1, 480 ticks per quarter, 16 tracks: a conductor track (tempo, time
/// signature, markers), a melody with one lyric per note, and 14 accompaniment
/// tracks; even tracks use running status with note-on velocity 0 as note-off,
/// odd ones repeat every status and use 0x80 note-offs.
std::string makeLargeSong(std::size_t* eventCount) {
    constexpr int kTracks = 16;
    constexpr int kNotesPerTrack = 68000;
    static const char* syllables[] = {"la ", "li-", "lo ", "Sing-", "ing ", "to-", "ge-", "ther\r"};
    Lcg rnd{20240611};
    std::size_t events = 0;
    std::string file = "MThd";
    file += std::string("\0\0\0\6\0\1\0", 7);
    file += static_cast<char>(kTracks);
    file += std::string("\x01\xE0", 2);  // 480

    const std::uint32_t totalTicks = kNotesPerTrack * 240u;
    {  // conductor
        std::string t;
        std::uint32_t last = 0;
        for (std::uint32_t bar = 0, tick = 0; tick < totalTicks; ++bar, tick += 1920) {
            if (bar % 16 == 0) {
                const std::uint32_t tempo = 60000000u / (90 + rnd.next(51));
                putMeta(t, tick - last, 0x51,
                        std::string{static_cast<char>(tempo >> 16), static_cast<char>(tempo >> 8), static_cast<char>(tempo)});
                last = tick;
                ++events;
            }
            if (bar % 64 == 0) {
                putMeta(t, tick - last, 0x58, std::string("\x04\x02\x18\x08", 4));
                putMeta(t, 0, 0x06, "Section " + std::to_string(bar / 64 + 1));
                last = tick;
                events += 2;
            }
        }
        putMeta(t, 0, 0x2F, "");
        file += chunk("MTrk", t + "");
        ++events;
    }
    for (int k = 1; k < kTracks; ++k) {
        std::string t;
        const int ch = k - 1;
        const bool running = k % 2 == 0;
        putMeta(t, 0, 0x03, "Track " + std::to_string(k));
        putQuantity(t, 0);
        t += static_cast<char>(0xC0 | ch);
        t += static_cast<char>(k * 8 % 128);
        events += 2;
        int status = -1;
        const int notes = k == 1 ? kNotesPerTrack / 2 : kNotesPerTrack;
        const std::uint32_t step = totalTicks / static_cast<std::uint32_t>(notes);
        std::uint32_t gap = 0;
        for (int j = 0; j < notes; ++j) {
            const int pitch = 36 + static_cast<int>(rnd.next(48));
            if (k == 1) {
                putMeta(t, gap, 0x05, syllables[j % 8]);
                gap = 0;
                status = -1;
                ++events;
            }
            putQuantity(t, gap);
            if (!running || status != (0x90 | ch))
                t += static_cast<char>(0x90 | ch);
            status = 0x90 | ch;
            t += static_cast<char>(pitch);
            t += static_cast<char>(40 + rnd.next(60));
            const std::uint32_t length = step - 5 - rnd.next(step / 2);
            putQuantity(t, length);
            const int off = running ? (0x90 | ch) : (0x80 | ch);
            if (!running || status != off)
                t += static_cast<char>(off);
            status = off;
            t += static_cast<char>(pitch);
            t += static_cast<char>(running ? 0 : 64);
            gap = step - length;
            events += 2;
        }
        putMeta(t, gap, 0x2F, "");
        ++events;
        file += chunk("MTrk", t);
    }
    if (eventCount)
        *eventCount = events;
    return file;
}

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
