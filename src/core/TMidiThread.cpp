#include "core/TMidiThread.h"

#include "core/TMidiFile.h"

#include <chrono>

namespace versilla::core {

TMidiThread::~TMidiThread() { terminate(); }

void TMidiThread::post(std::int32_t elapsedMs, std::uint32_t generation) {
    std::lock_guard lock(m_mutex);
    m_queue.emplace_back(elapsedMs, generation);
}

bool TMidiThread::take(std::int32_t& elapsedMs, std::uint32_t& generation) {
    std::lock_guard lock(m_mutex);
    if (m_queue.empty())
        return false;
    elapsedMs = m_queue.front().first;
    generation = m_queue.front().second;
    m_queue.pop_front();
    return true;
}

void TMidiThread::start() {
    if (m_thread.joinable())
        return;
    m_end.store(false);
    m_thread = std::thread([this] { body(); });
}

void TMidiThread::terminate() {
    m_end.store(true);
    if (m_thread.joinable()) {
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach();
        else
            m_thread.join();
    }
}

void TMidiThread::body() {
    while (!m_end.load()) {
        std::int32_t elapsed = 0;
        std::uint32_t generation = 0;
        if (take(elapsed, generation))
            m_song.runTimerMessage(elapsed, generation);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace versilla::core
