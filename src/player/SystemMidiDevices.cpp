#include "player/FluidSynthPort.h"
#include "player/MidiOutBackend.h"
#include "text/CodePage1252.h"

#include <rtmidi/RtMidi.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>

namespace versilla::player {

namespace {

/// RtMidi reports warnings on stderr and errors by throwing; both become
/// quiet return values here.
void quietErrors(RtMidi& midi) {
    midi.setErrorCallback([](RtMidiError::Type, const std::string&, void*) {}, nullptr);
}

/// Port names come as UTF-8; the system's text is Windows-1252.
std::string toCp1252(const std::string& utf8) {
    text::Cp1252Result r = text::utf8ToCp1252(utf8);
    if (r.ok) return r.bytes;
    std::string out;
    for (unsigned char c : utf8) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::unique_ptr<RtMidiOut> makeClient() {
#if defined(__linux__)
    // Without the kernel's sequencer there are no system ports; asking RtMidi
    // anyway only gets ALSA to complain on stderr.
    std::error_code ec;
    if (!std::filesystem::exists("/dev/snd/seq", ec)) return nullptr;
#endif
    try {
        auto out = std::make_unique<RtMidiOut>(RtMidi::UNSPECIFIED, "Versilla");
        quietErrors(*out);
        return out;
    } catch (...) {
        return nullptr;
    }
}

/// A system output port, found again by its name when opened, since port
/// numbers shift when devices come and go.
class RtMidiPort final : public MidiOutBackend {
public:
    RtMidiPort(std::string utf8Name, unsigned hintIndex) : m_name(std::move(utf8Name)), m_hint(hintIndex) {}
    ~RtMidiPort() override { close(); }

    bool open() override {
        if (m_out && m_out->isPortOpen()) return true;
        m_out = makeClient();
        if (!m_out) return false;
        try {
            const unsigned count = m_out->getPortCount();
            unsigned index = count;
            if (m_hint < count && m_out->getPortName(m_hint) == m_name) index = m_hint;
            for (unsigned i = 0; i < count && index == count; ++i)
                if (m_out->getPortName(i) == m_name) index = i;
            if (index == count) {
                m_out.reset();
                return false;
            }
            m_out->openPort(index, "Versilla Ausgabe");
            if (!m_out->isPortOpen()) {
                m_out.reset();
                return false;
            }
            return true;
        } catch (...) {
            m_out.reset();
            return false;
        }
    }

    void close() override {
        if (!m_out) return;
        try {
            m_out->closePort();
        } catch (...) {
        }
        m_out.reset();
    }

    bool sendShort(const std::uint8_t* bytes, std::size_t count) override { return sendRaw(bytes, count); }
    bool sendLong(const std::uint8_t* bytes, std::size_t count) override { return sendRaw(bytes, count); }

private:
    bool sendRaw(const std::uint8_t* bytes, std::size_t count) {
        if (!m_out || count == 0) return false;
        try {
            m_out->sendMessage(bytes, count);
            return true;
        } catch (...) {
            return false;
        }
    }

    std::string m_name;
    unsigned m_hint;
    std::unique_ptr<RtMidiOut> m_out;
};

class SystemDevices final : public MidiDeviceEnumerator {
public:
    std::vector<MidiDevice> devices() override {
        std::vector<MidiDevice> list;
        if (auto client = makeClient()) {
            try {
                const unsigned count = client->getPortCount();
                for (unsigned i = 0; i < count; ++i) {
                    const std::string name = client->getPortName(i);
                    if (name.empty()) continue;
                    MidiDevice d;
                    d.name = toCp1252(name);
                    // The kernel's pass-through port is present on every
                    // machine and makes no sound: never the default.
                    d.kind = name.rfind("Midi Through", 0) == 0 ? MidiDevice::Kind::Through
                                                                : MidiDevice::Kind::System;
                    d.create = [name, i] { return std::make_shared<RtMidiPort>(name, i); };
                    list.push_back(std::move(d));
                }
            } catch (...) {
                // A MIDI system that fails while listing offers what it listed.
            }
        }
        const std::string soundFont = findGeneralMidiSoundFont();
        if (!soundFont.empty()) {
            MidiDevice synth;
            synth.name = SynthesizerName;
            synth.kind = MidiDevice::Kind::Synthesizer;
            synth.create = [soundFont] { return std::make_shared<FluidSynthPort>(soundFont); };
            list.push_back(std::move(synth));
        }
        return list;
    }
};

} // namespace

std::unique_ptr<MidiDeviceEnumerator> systemMidiDevices() { return std::make_unique<SystemDevices>(); }

} // namespace versilla::player
