#pragma once
// Builds Standard MIDI File bytes in tests, so each case shows its exact bytes.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace versilla::coretest {

inline std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(static_cast<unsigned char>(v));
    return out;
}

inline std::string be32(std::uint32_t v) {
    return bytes({int(v >> 24) & 0xFF, int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF});
}

inline std::string header(int format, int tracks, int division) {
    return "MThd" + be32(6)
           + bytes({format >> 8, format & 0xFF, tracks >> 8, tracks & 0xFF, division >> 8, division & 0xFF});
}

/// A chunk with an explicit length field (may lie about the data that follows).
inline std::string chunk(const char* id, std::uint32_t length, const std::string& data) {
    return std::string(id, 4) + be32(length) + data;
}

inline std::string track(const std::string& data) {
    return chunk("MTrk", static_cast<std::uint32_t>(data.size()), data);
}

inline const std::string kEndOfTrack = bytes({0x00, 0xFF, 0x2F, 0x00});

} // namespace versilla::coretest
