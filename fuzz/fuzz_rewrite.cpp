// libFuzzer target: any byte sequence read into a song and written back with its
// own events (with and without running status) must read back to the same song:
// same format, division, tracks, and every event with its status, data and ticks.
// Events read before any status byte have no bytes of their own and are left out.
#include "core/TMidiFile.h"
#include "song/SongWriter.h"
#include "song/TempoList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using versilla::core::PlaybackSetup;
using versilla::core::TMidiFile;
namespace song = versilla::song;

// Never plays: a clock and timer that do nothing, so no thread is ever started.
class IdleClock : public versilla::core::PlayClock {
public:
    std::uint32_t nowMs() override { return 0; }
};
class IdleTimer : public versilla::core::PlayTimer {
public:
    bool start(unsigned, std::function<void()>) override { return false; }
    void stop() override {}
};

PlaybackSetup idle()
{
    PlaybackSetup setup;
    setup.clock = std::make_shared<IdleClock>();
    setup.timer = std::make_shared<IdleTimer>();
    setup.ownThread = false;
    return setup;
}

void expectSame(const TMidiFile& a, const TMidiFile& b)
{
    if (a.TrackCount() != b.TrackCount() || a.Format() != b.Format() || a.Division() != b.Division())
        __builtin_trap();
    for (std::int32_t t = 0; t < a.TrackCount(); ++t) {
        const auto& got = b.GetTrack(t)->Events;
        std::size_t j = 0;
        std::int32_t prev = 0;
        for (const auto& e : a.GetTrack(t)->Events) {
            if (e.Status == 0)
                continue;
            if (j >= got.size())
                __builtin_trap(); // an event went missing
            const auto& g = got[j++];
            if (g.Status != e.Status || g.Data1 != e.Data1 || g.Data2 != e.Data2 || g.Data != e.Data ||
                g.Ticks != e.Ticks || g.DeltaTicks != e.Ticks - prev)
                __builtin_trap(); // an event came back different
            prev = e.Ticks;
        }
        if (j != got.size())
            __builtin_trap(); // an event appeared
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMidiFile a(idle());
    a.ReadBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto lists = song::writeListsOfSong(a);
    const auto tempo = song::buildTempoList(a);
    const auto ts = song::readTimeSignatures(a);
    for (bool rs : {false, true}) {
        std::string out;
        const song::SongStatus status = song::writeSong(a, lists, tempo, ts, {rs, std::nullopt}, out);
        if (!status) {
            // The only refusal a read song can meet: no header chunk to copy.
            if (status.message().find("header") == std::string::npos || !out.empty())
                __builtin_trap();
            return 0;
        }
        TMidiFile b(idle());
        b.ReadBytes(out);
        expectSame(a, b);
        // The tempo and time-signature lists survive as well.
        const auto tempoB = song::buildTempoList(b);
        if (tempoB.size() != tempo.size())
            __builtin_trap();
        for (std::size_t i = 0; i < tempo.size(); ++i)
            if (tempoB[i].tempo != tempo[i].tempo || tempoB[i].startTick != tempo[i].startTick ||
                tempoB[i].startMs != tempo[i].startMs)
                __builtin_trap();
        if (song::readTimeSignatures(b) != ts)
            __builtin_trap();
    }
    return 0;
}
