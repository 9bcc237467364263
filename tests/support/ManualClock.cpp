#include "ManualClock.h"

namespace versilla::testsupport {

bool ManualTimer::start(unsigned periodMs, std::function<void()> callback) {
    stop();
    ++m_starts;
    if (m_failNext) {
        m_failNext = false;
        return false;
    }
    m_period = periodMs;
    m_callback = std::move(callback);
    return true;
}

void ManualTimer::stop() {
    if (m_callback)
        ++m_stops;
    m_callback = nullptr;
}

bool ManualTimer::fire() {
    if (!m_callback)
        return false;
    m_callback();
    return true;
}

} // namespace versilla::testsupport
