#pragma once
// The large song the benchmarks share, made in memory: format 1, 480 ticks per
// quarter, 16 tracks, about 8 MB and about two million events. A conductor track
// (tempo, time signature, markers), a melody with one lyric per note and 14
// accompaniment tracks; even tracks use running status with note-on velocity 0
// as note-off, odd ones repeat every status and use 0x80 note-offs.
// Header-only, so every bench program can include it.
#include <cstdint>
#include <string>

namespace versilla::bench {

inline void putQuantity(std::string& out, std::uint32_t v) {
    char buf[5];
    int n = 0;
    buf[4 - n++] = static_cast<char>(v & 0x7F);
    while (v >>= 7)
        buf[4 - n++] = static_cast<char>(0x80 | (v & 0x7F));
    out.append(buf + 5 - n, static_cast<std::size_t>(n));
}

inline void putMeta(std::string& out, std::uint32_t delta, int type, const std::string& data) {
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

inline std::string chunk(const char* id, const std::string& data) {
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
inline std::string makeLargeSong(std::size_t* eventCount) {
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

} // namespace versilla::bench
