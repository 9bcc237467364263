#include "player/TMidiOutput.h"

namespace versilla::player {

namespace {

/// Bytes a short message occupies, judged by its status byte.
std::size_t shortLength(std::uint8_t status) {
    if (status < 0x80) return 0; // no status: nothing sensible to send
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 2;
    case 0xF0:
        switch (status) {
        case 0xF1:
        case 0xF3: return 2;
        case 0xF2: return 3;
        case 0xF0:
        case 0xF7: return 0; // sysex belongs in a long message
        default: return 1;
        }
    default: return 3;
    }
}

} // namespace

TMidiOutput::TMidiOutput() : TMidiOutput(systemMidiDevices()) {}

TMidiOutput::TMidiOutput(std::unique_ptr<MidiDeviceEnumerator> devices) {
    if (devices) m_devices = devices->devices();
}

TMidiOutput::~TMidiOutput() { close(); }

int TMidiOutput::deviceCount() const { return static_cast<int>(m_devices.size()); }

std::string TMidiOutput::deviceName(int number) const {
    if (number == -1) return MapperName;
    if (number < 0 || number >= deviceCount()) return {};
    return m_devices[static_cast<std::size_t>(number)].name;
}

std::vector<std::string> TMidiOutput::deviceNames() const {
    std::vector<std::string> names;
    names.reserve(m_devices.size());
    for (const auto& d : m_devices) names.push_back(d.name);
    return names;
}

bool TMidiOutput::selectDevice(int number) {
    std::lock_guard lock(m_mutex);
    if (m_backend) return false;
    if (number < -1 || number >= deviceCount()) return false;
    m_deviceId = number;
    return true;
}

int TMidiOutput::DeviceID() const {
    std::lock_guard lock(m_mutex);
    return m_deviceId;
}

std::string TMidiOutput::ProductName() const {
    std::lock_guard lock(m_mutex);
    return deviceName(m_deviceId);
}

int TMidiOutput::resolve(int number) const {
    if (number >= 0) return number < deviceCount() ? number : -1;
    // The mapper: the system's first device, else the built-in synthesizer.
    for (std::size_t i = 0; i < m_devices.size(); ++i)
        if (m_devices[i].kind == MidiDevice::Kind::System) return static_cast<int>(i);
    for (std::size_t i = 0; i < m_devices.size(); ++i)
        if (m_devices[i].kind == MidiDevice::Kind::Synthesizer) return static_cast<int>(i);
    return m_devices.empty() ? -1 : 0;
}

bool TMidiOutput::open() {
    std::lock_guard lock(m_mutex);
    if (m_backend) return true;
    const int index = resolve(m_deviceId);
    if (index < 0) return false;
    const auto& device = m_devices[static_cast<std::size_t>(index)];
    if (!device.create) return false;
    std::shared_ptr<MidiOutBackend> backend = device.create();
    if (!backend || !backend->open()) return false;
    m_backend = std::move(backend);
    return true;
}

void TMidiOutput::close() {
    std::lock_guard lock(m_mutex);
    if (!m_backend) return;
    m_backend->close();
    m_backend.reset();
}

bool TMidiOutput::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_backend != nullptr;
}

bool TMidiOutput::sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const std::size_t n = shortLength(status);
    const std::uint8_t bytes[3] = {status, static_cast<std::uint8_t>(data1 & 0x7F),
                                   static_cast<std::uint8_t>(data2 & 0x7F)};
    std::lock_guard lock(m_mutex);
    if (!m_backend || n == 0) return false;
    return m_backend->sendShort(bytes, n);
}

bool TMidiOutput::sendLong(const std::vector<std::uint8_t>& block) {
    std::lock_guard lock(m_mutex);
    if (!m_backend || block.empty()) return false;
    return m_backend->sendLong(block.data(), block.size());
}

bool TMidiOutput::send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                       const std::vector<std::uint8_t>* sysex) {
    if (sysex && !sysex->empty()) return sendLong(*sysex);
    return sendShort(status, data1, data2);
}

void TMidiOutput::allSoundOff() {
    std::lock_guard lock(m_mutex);
    if (!m_backend) return;
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(0xB0 | channel), 120, 0};
        m_backend->sendShort(bytes, 3);
    }
}

} // namespace versilla::player
