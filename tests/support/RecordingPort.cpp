#include "RecordingPort.h"

namespace versilla::testsupport {

bool RecordingPort::open() {
    std::lock_guard lock(m_mutex);
    if (m_failOpen) return false;
    m_open = true;
    ++m_openCount;
    return true;
}

void RecordingPort::close() {
    std::lock_guard lock(m_mutex);
    m_open = false;
}

bool RecordingPort::record(const std::uint8_t* bytes, std::size_t count, bool isLong) {
    std::lock_guard lock(m_mutex);
    if (!m_open) return false;
    RecordedMessage m;
    m.timeMs = m_clock ? m_clock->nowMs() : 0;
    m.bytes.assign(bytes, bytes + count);
    m.isLong = isLong;
    m_messages.push_back(std::move(m));
    return true;
}

bool RecordingPort::sendShort(const std::uint8_t* bytes, std::size_t count) { return record(bytes, count, false); }

bool RecordingPort::sendLong(const std::uint8_t* bytes, std::size_t count) { return record(bytes, count, true); }

void RecordingPort::setFailOpen(bool fail) {
    std::lock_guard lock(m_mutex);
    m_failOpen = fail;
}

bool RecordingPort::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

int RecordingPort::openCount() const {
    std::lock_guard lock(m_mutex);
    return m_openCount;
}

std::vector<RecordedMessage> RecordingPort::messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

void RecordingPort::clear() {
    std::lock_guard lock(m_mutex);
    m_messages.clear();
}

player::MidiDevice RecordingPort::asDevice(std::shared_ptr<RecordingPort> port, std::string name,
                                           player::MidiDevice::Kind kind) {
    player::MidiDevice device;
    device.name = std::move(name);
    device.kind = kind;
    device.create = [port]() -> std::shared_ptr<player::MidiOutBackend> { return port; };
    return device;
}

} // namespace versilla::testsupport
