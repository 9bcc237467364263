#pragma once
// Small Standard MIDI Files built in code: tracks of events at absolute ticks.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace workflowtest {

inline void putQuantity(std::string& out, std::uint32_t v)
{
    char buf[5];
    int n = 0;
    buf[4 - n++] = static_cast<char>(v & 0x7F);
    while (v >>= 7)
        buf[4 - n++] = static_cast<char>(0x80 | (v & 0x7F));
    out.append(buf + 5 - n, static_cast<std::size_t>(n));
}

/// One track: events are added at absolute ticks in rising order.
class Track {
public:
    Track& raw(std::int32_t tick, const std::string& bytes)
    {
        putQuantity(m_body, static_cast<std::uint32_t>(tick - m_tick));
        m_tick = tick;
        m_body += bytes;
        return *this;
    }
    Track& meta(std::int32_t tick, int type, const std::string& data)
    {
        std::string b("\xFF", 1);
        b += static_cast<char>(type);
        putQuantity(b, static_cast<std::uint32_t>(data.size()));
        b += data;
        return raw(tick, b);
    }
    Track& noteOn(std::int32_t tick, int channel, int note, int velocity = 100)
    {
        return raw(tick, std::string{static_cast<char>(0x90 + channel - 1), static_cast<char>(note),
                                     static_cast<char>(velocity)});
    }
    Track& noteOff(std::int32_t tick, int channel, int note)
    {
        return raw(tick, std::string{static_cast<char>(0x80 + channel - 1), static_cast<char>(note), 64});
    }
    Track& lyric(std::int32_t tick, const std::string& text) { return meta(tick, 0x05, text); }
    Track& name(std::int32_t tick, const std::string& text) { return meta(tick, 0x03, text); }
    Track& tempo(std::int32_t tick, std::int32_t us)
    {
        return meta(tick, 0x51, std::string{static_cast<char>(us >> 16), static_cast<char>(us >> 8),
                                            static_cast<char>(us)});
    }
    Track& bpm(std::int32_t tick, std::int32_t bpm) { return tempo(tick, 60000000 / bpm); }
    Track& timeSignature(std::int32_t tick, int n, int dPow, int clocks = 24, int b = 8)
    {
        return meta(tick, 0x58, std::string{static_cast<char>(n), static_cast<char>(dPow),
                                            static_cast<char>(clocks), static_cast<char>(b)});
    }
    Track& end(std::int32_t tick) { return meta(tick, 0x2F, ""); }

    std::string chunk() const
    {
        std::string out = "MTrk";
        const auto n = static_cast<std::uint32_t>(m_body.size());
        out += static_cast<char>(n >> 24);
        out += static_cast<char>(n >> 16);
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(n);
        return out + m_body;
    }

private:
    std::string m_body;
    std::int32_t m_tick = 0;
};

inline std::string songBytes(int format, int division, const std::vector<Track>& tracks)
{
    std::string out("MThd\0\0\0\6", 8);
    out += '\0';
    out += static_cast<char>(format);
    out += static_cast<char>(tracks.size() >> 8);
    out += static_cast<char>(tracks.size());
    out += static_cast<char>(division >> 8);
    out += static_cast<char>(division);
    for (const Track& t : tracks)
        out += t.chunk();
    return out;
}

} // namespace workflowtest
