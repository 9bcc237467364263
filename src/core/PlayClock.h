#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace versilla::core {

/// The millisecond counter the player measures play time with. Monotonic; it
/// may wrap around at 2^32 like a system tick counter (elapsed times are taken
/// as unsigned differences).
class PlayClock {
public:
    virtual ~PlayClock() = default;
    /// Current value of the millisecond counter. Never fails.
    virtual std::uint32_t nowMs() = 0;
};

/// The periodic timer that drives the player. The callback runs in the timer's
/// own context and must return quickly.
class PlayTimer {
public:
    virtual ~PlayTimer() = default;
    /// Starts calling `callback` every `periodMs` milliseconds. A running timer is
    /// stopped first. Returns false when no timer could be created (then playback
    /// shows no progress).
    virtual bool start(unsigned periodMs, std::function<void()> callback) = 0;
    /// Stops the timer; after return the callback is not running and will not run
    /// again. Stopping a stopped timer does nothing.
    virtual void stop() = 0;
};

/// Production clock: std::chrono::steady_clock in milliseconds.
class SteadyClock final : public PlayClock {
public:
    std::uint32_t nowMs() override;
};

/// Production timer: one thread that calls the callback at a fixed period,
/// scheduled against steady_clock so late wake-ups do not accumulate.
class ThreadTimer final : public PlayTimer {
public:
    ThreadTimer();
    ~ThreadTimer() override;
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;
    bool start(unsigned periodMs, std::function<void()> callback) override;
    void stop() override;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

/// How a song object plays: which clock and timer it uses, and whether it runs
/// its own playback thread. Tests pass a manual clock and timer and no thread,
/// and drive the clock steps themselves through TMidiFile::ProcessTimerMessage.
struct PlaybackSetup {
    std::shared_ptr<PlayClock> clock;   ///< null: SteadyClock
    std::shared_ptr<PlayTimer> timer;   ///< null: ThreadTimer
    bool ownThread = true;              ///< false: no playback thread; the caller drains the queue
};

} // namespace versilla::core
