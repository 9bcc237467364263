#pragma once
// Small helpers to spell out Standard MIDI File bytes in tests.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace songtest {

/// Bytes from a list of values 0..255.
inline std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

inline std::string be16(unsigned v) { return bytes({int(v >> 8 & 0xFF), int(v & 0xFF)}); }
inline std::string be32(std::uint32_t v)
{
    return bytes({int(v >> 24 & 0xFF), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)});
}

/// "MThd", length 6, format, track count, division.
inline std::string header(unsigned format, unsigned tracks, unsigned division)
{
    return "MThd" + be32(6) + be16(format) + be16(tracks) + be16(division);
}

/// "MTrk", the body's length, the body.
inline std::string track(const std::string& body) { return "MTrk" + be32(std::uint32_t(body.size())) + body; }

/// The end-of-track meta event with delta 0.
inline std::string endOfTrack() { return bytes({0x00, 0xFF, 0x2F, 0x00}); }

/// A variable-length quantity in its shortest form (spelled out independently of
/// the writer: groups collected low first, then reversed).
inline std::string vlq(std::uint32_t v)
{
    std::string rev(1, char(v & 0x7F));
    while (v >>= 7)
        rev.push_back(char(0x80 | (v & 0x7F)));
    return std::string(rev.rbegin(), rev.rend());
}

/// A tempo meta event (FF 51 03 tt tt tt) after its delta time.
inline std::string tempoEvent(std::uint32_t delta, std::uint32_t tempo)
{
    return vlq(delta) + bytes({0xFF, 0x51, 0x03, int(tempo >> 16 & 0xFF), int(tempo >> 8 & 0xFF), int(tempo & 0xFF)});
}

} // namespace songtest
