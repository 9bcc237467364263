#pragma once
#include "core/PlayClock.h"
#include "player/MidiOutBackend.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace versilla::testsupport {

/// One message as a RecordingPort received it.
struct RecordedMessage {
    std::uint32_t timeMs = 0;          ///< the clock's time when it was sent (0 without a clock)
    std::vector<std::uint8_t> bytes;   ///< exactly the bytes sent
    bool isLong = false;               ///< sent as a long (system-exclusive) message
};

/// An output device for tests: keeps every message sent to it with the time it
/// was sent, and can be told to refuse opening. Hand it to a TMidiOutput with
/// RecordingPort::asDevice() and keep the shared pointer to read what came.
class RecordingPort : public player::MidiOutBackend {
public:
    explicit RecordingPort(std::shared_ptr<core::PlayClock> clock = nullptr) : m_clock(std::move(clock)) {}

    bool open() override;
    void close() override;
    bool sendShort(const std::uint8_t* bytes, std::size_t count) override;
    bool sendLong(const std::uint8_t* bytes, std::size_t count) override;

    /// Makes the next opens fail (true) or succeed again (false).
    void setFailOpen(bool fail);
    bool isOpen() const;
    int openCount() const;

    /// Every message received so far, in order.
    std::vector<RecordedMessage> messages() const;
    void clear();

    /// A device entry for a TMidiOutput device list that always hands out this port.
    static player::MidiDevice asDevice(std::shared_ptr<RecordingPort> port, std::string name,
                                       player::MidiDevice::Kind kind = player::MidiDevice::Kind::System);

private:
    bool record(const std::uint8_t* bytes, std::size_t count, bool isLong);

    mutable std::mutex m_mutex;
    std::shared_ptr<core::PlayClock> m_clock;
    std::vector<RecordedMessage> m_messages;
    bool m_open = false;
    bool m_failOpen = false;
    int m_openCount = 0;
};

} // namespace versilla::testsupport
