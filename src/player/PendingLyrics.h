#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace versilla::player {

/// Lyric texts handed from the playback thread to the karaoke update, with the
/// tick of the latest lyric event, under one lock. Thread-safe.
class PendingLyrics {
public:
    struct Taken {
        std::vector<std::string> texts;
        std::int32_t lastEventTick = 0;
    };

    /// Adds a text (playback thread) and records its event tick.
    void push(std::string text, std::int32_t eventTick);
    /// Records the tick of the latest event without a text (staff cursor).
    void setLastEventTick(std::int32_t eventTick);
    /// Takes every text in order and leaves the list empty, in one locked step.
    Taken takeAll();
    /// Empties the list (Play and Continue, before the display thread starts).
    void clear();
    std::int32_t lastEventTick() const;
    bool empty() const;

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_texts;
    std::int32_t m_lastEventTick = 0;
};

} // namespace versilla::player
