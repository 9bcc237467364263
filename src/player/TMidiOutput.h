#pragma once
#include "player/MidiOutBackend.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace versilla::player {

/// The MIDI output port the main window owns. Device numbers run from 0 to
/// deviceCount()-1; -1 is the "Midi-Mapper": the first sounding device of the
/// operating system, or the built-in synthesizer when the system has none.
///
/// Sending is safe from the playback thread while the user-interface thread
/// opens, closes or silences the port: every operation takes one lock.
class TMidiOutput {
public:
    /// The name the device dialog shows for device -1.
    static constexpr const char* MapperName = "Midi-Mapper";

    /// Port over this machine's devices (systemMidiDevices()). The device list
    /// is taken now and kept for the life of the port.
    TMidiOutput();
    /// Port over the given devices (tests, or a front end with its own list).
    explicit TMidiOutput(std::unique_ptr<MidiDeviceEnumerator> devices);
    ~TMidiOutput();
    TMidiOutput(const TMidiOutput&) = delete;
    TMidiOutput& operator=(const TMidiOutput&) = delete;

    /// Number of output devices, taken when the port was created.
    int deviceCount() const;
    /// Name of device `number` (0 .. count-1); "Midi-Mapper" for -1; empty for
    /// any other number.
    std::string deviceName(int number) const;
    /// Names of all devices in number order (without the mapper).
    std::vector<std::string> deviceNames() const;

    /// Selects the device to open next. Refused (false, nothing changes) while
    /// the port is open, for a number >= deviceCount() and for numbers below -1.
    bool selectDevice(int number);
    /// The selected device number; -1 (the mapper) for a new port.
    int DeviceID() const;
    /// The selected device's name ("Midi-Mapper" for -1).
    std::string ProductName() const;

    /// Opens the selected device. True when it opened (also when it was
    /// already open); false when the device is missing or refused to open.
    bool open();
    /// Closes the port; closing a closed port does nothing.
    void close();
    bool isOpen() const;

    /// Sends status, data1, data2 as one short message (channel messages with
    /// one data byte send only two bytes). False when the port is not open or
    /// the device refused it.
    bool sendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    /// Sends a system-exclusive block whole as one long message, as it goes on
    /// the wire (0xF0 ... 0xF7). False when the port is not open, the block is
    /// empty or the device refused it.
    bool sendLong(const std::vector<std::uint8_t>& block);
    /// One event as the player hands it over: with a non-empty block the block
    /// goes out as a long message, otherwise the three bytes as a short one.
    bool send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
              const std::vector<std::uint8_t>* sysex = nullptr);

    /// While open: controller 120 (all sound off) with value 0 on all 16
    /// channels. Does nothing while closed.
    void allSoundOff();

private:
    /// Index in m_devices the number stands for; -1 when none.
    int resolve(int number) const;

    mutable std::mutex m_mutex;
    std::vector<MidiDevice> m_devices;
    int m_deviceId = -1;
    std::shared_ptr<MidiOutBackend> m_backend; ///< non-null exactly while open
};

} // namespace versilla::player
