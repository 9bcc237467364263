// libFuzzer target: any byte sequence must read into a song (perhaps empty)
// without a crash, hang or sanitizer report.
#include "core/TMidiFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using versilla::core::PlaybackSetup;
using versilla::core::TMidiFile;

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

std::uint64_t walk(const TMidiFile& song) {
    std::uint64_t sum = 0;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const auto* track = song.GetTrack(t);
        if (!track)
            __builtin_trap();  // TrackCount must match the tracks held
        sum += track->GetName().size();
        std::int32_t previous = 0;
        for (std::int32_t i = 0; i < track->EventCount(); ++i) {
            const auto* ev = track->GetEvent(i);
            if (ev->Ticks < previous)
                __builtin_trap();  // ticks never wrap
            previous = ev->Ticks;
            sum += ev->Status + ev->Data1 + ev->Data2 + versilla::core::EventText(*ev).size();
            for (char c : ev->Data)  // every byte must be readable (ASan checks the range)
                sum += static_cast<unsigned char>(c);
            sum += versilla::core::MsToTimeText(ev->Ticks).size();
            sum += versilla::core::MsToTimeText(ev->DeltaTicks).size();
        }
        if (track->GetEvent(track->EventCount()) != nullptr || track->EndTicks != previous)
            __builtin_trap();
    }
    // Time texts of values derived from the clock, as the song facts would show them.
    sum += versilla::core::MsToTimeText(static_cast<std::int32_t>(song.UsPerTick())).size();
    sum += versilla::core::MsToTimeText(-song.Bpm()).size();
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMidiFile song(PlaybackSetup{std::make_shared<IdleClock>(), std::make_shared<IdleTimer>(), false});
    song.ReadBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    volatile std::uint64_t sink = walk(song);
    (void)sink;

    // Catch-up over the whole song through the (empty) base hook.
    song.PlayUpTo(INT32_MAX, 0);
    song.SetBpm(size > 0 ? data[0] : 0);

    // Rewrite path: the song file writer writes this song back and the result is
    // read again and compared here, once that writer exists.
    return 0;
}
