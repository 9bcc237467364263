#pragma once
#include "core/PlayClock.h"

#include <cstdint>
#include <functional>

namespace versilla::testsupport {

/// A millisecond counter that only moves when the test says so.
class ManualClock : public core::PlayClock {
public:
    explicit ManualClock(std::uint32_t startMs = 0) : m_now(startMs) {}
    std::uint32_t nowMs() override { return m_now; }
    /// Moves the counter forward (wraps at 2^32 like a system counter).
    void advance(std::uint32_t ms) { m_now += ms; }
    void set(std::uint32_t ms) { m_now = ms; }

private:
    std::uint32_t m_now;
};

/// A periodic timer that fires only when the test calls fire(). Records how
/// often it was started and stopped and with which period.
class ManualTimer : public core::PlayTimer {
public:
    bool start(unsigned periodMs, std::function<void()> callback) override;
    void stop() override;
    /// Calls the callback once when the timer runs; returns whether it ran.
    bool fire();
    bool running() const { return static_cast<bool>(m_callback); }
    unsigned period() const { return m_period; }
    int starts() const { return m_starts; }
    int stops() const { return m_stops; }
    /// Makes the next start() fail, as a system without timers would.
    void failNextStart() { m_failNext = true; }

private:
    std::function<void()> m_callback;
    unsigned m_period = 0;
    int m_starts = 0;
    int m_stops = 0;
    bool m_failNext = false;
};

} // namespace versilla::testsupport
