#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace versilla::player {

/// One opened connection to a MIDI output device. Backends never throw; a
/// failure is a false return.
class MidiOutBackend {
public:
    virtual ~MidiOutBackend() = default;
    /// Opens the device. False when it cannot be opened.
    virtual bool open() = 0;
    /// Closes the device; closing a closed device does nothing.
    virtual void close() = 0;
    /// Sends one channel message of 1 to 3 bytes. False when not open or the
    /// device refused it.
    virtual bool sendShort(const std::uint8_t* bytes, std::size_t count) = 0;
    /// Sends a whole system-exclusive block. False when not open or refused.
    virtual bool sendLong(const std::uint8_t* bytes, std::size_t count) = 0;
};

/// What the port knows of one output device before it is opened.
struct MidiDevice {
    enum class Kind {
        System,      ///< a device of the operating system that makes sound
        Through,     ///< a system port that only passes messages on (no sound)
        Synthesizer  ///< the built-in software synthesizer
    };
    std::string name;  ///< product name, Windows-1252
    Kind kind = Kind::System;
    /// Makes a fresh, closed backend for this device. May return null when the
    /// device has gone; opening then fails.
    std::function<std::shared_ptr<MidiOutBackend>()> create;
};

/// Lists the output devices in device-number order. The editor uses
/// systemMidiDevices(); tests hand in their own list.
class MidiDeviceEnumerator {
public:
    virtual ~MidiDeviceEnumerator() = default;
    /// The devices present now. Never fails; an empty list means none.
    virtual std::vector<MidiDevice> devices() = 0;
};

/// The devices of this machine: every output port of the operating system's
/// MIDI system (through RtMidi), then the built-in synthesizer when a General
/// MIDI SoundFont is installed. Never fails.
std::unique_ptr<MidiDeviceEnumerator> systemMidiDevices();

/// A fixed list, for tests and for callers that build their own devices.
class FixedMidiDevices final : public MidiDeviceEnumerator {
public:
    explicit FixedMidiDevices(std::vector<MidiDevice> devices) : m_devices(std::move(devices)) {}
    std::vector<MidiDevice> devices() override { return m_devices; }

private:
    std::vector<MidiDevice> m_devices;
};

} // namespace versilla::player
