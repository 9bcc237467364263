#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace versilla::core {

class TMidiFile;

/// The playback thread: takes the timer messages (elapsed play time in ms) the
/// play timer posts and runs one clock step of its song object per message,
/// polling its queue and sleeping 1 ms between polls.
class TMidiThread {
public:
    explicit TMidiThread(TMidiFile& song) : m_song(song) {}
    /// Ends the thread (waits for the step in progress).
    ~TMidiThread();
    TMidiThread(const TMidiThread&) = delete;
    TMidiThread& operator=(const TMidiThread&) = delete;

    /// Queues a timer message. Safe from any thread; never blocks for long.
    void post(std::int32_t elapsedMs, std::uint32_t generation);
    /// Takes the oldest waiting message; false when none is waiting.
    bool take(std::int32_t& elapsedMs, std::uint32_t& generation);
    /// Starts the thread body unless it already runs.
    void start();
    /// Asks the thread body to end and waits for it. Idempotent.
    void terminate();

private:
    void body();

    TMidiFile& m_song;
    std::mutex m_mutex;
    std::deque<std::pair<std::int32_t, std::uint32_t>> m_queue;
    std::thread m_thread;
    std::atomic<bool> m_end{false};
};

} // namespace versilla::core
