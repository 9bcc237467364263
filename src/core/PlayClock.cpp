#include "core/PlayClock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace versilla::core {

std::uint32_t SteadyClock::nowMs() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    // A wrapping 32-bit counter, like a system tick count; callers subtract.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()));
}

struct ThreadTimer::State {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopRequested = false;
    std::thread thread;
};

ThreadTimer::ThreadTimer() : m_state(std::make_unique<State>()) {}

ThreadTimer::~ThreadTimer() { stop(); }

bool ThreadTimer::start(unsigned periodMs, std::function<void()> callback) {
    stop();
    if (periodMs == 0 || !callback)
        return false;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopRequested = false;
    }
    State* state = m_state.get();
    try {
        m_state->thread = std::thread([state, periodMs, callback = std::move(callback)] {
            using clock = std::chrono::steady_clock;
            const auto period = std::chrono::milliseconds(periodMs);
            auto next = clock::now() + period;
            std::unique_lock lock(state->mutex);
            for (;;) {
                if (state->wake.wait_until(lock, next, [state] { return state->stopRequested; }))
                    return;
                lock.unlock();
                callback();
                lock.lock();
                // Scheduled against the clock, so a late wake-up is not carried
                // forward; after a long stall the timer resumes from now.
                next += period;
                const auto now = clock::now();
                if (next < now)
                    next = now + period;
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void ThreadTimer::stop() {
    if (!m_state->thread.joinable())
        return;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopRequested = true;
    }
    m_state->wake.notify_all();
    if (m_state->thread.get_id() == std::this_thread::get_id())
        m_state->thread.detach();  // stopped from its own callback: it ends by itself
    else
        m_state->thread.join();
}

} // namespace versilla::core
