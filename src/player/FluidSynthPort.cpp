#include "player/FluidSynthPort.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace versilla::player {

namespace {

/// FluidSynth writes its messages to stderr unless told otherwise; a library
/// of ours never prints, and the caller reports failures.
void silenceFluidSynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string findGeneralMidiSoundFont() {
    if (const char* env = std::getenv("VERSILLA_SOUNDFONT"); env && isFile(env)) return env;
    static const char* const candidates[] = {
        "/usr/share/sounds/sf2/TimGM6mb.sf2",  "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
        "/usr/share/soundfonts/FluidR3_GM.sf2",
    };
    for (const char* path : candidates)
        if (isFile(path)) return path;
    return {};
}

std::vector<std::string> audioDriverCandidates() {
    if (const char* env = std::getenv("VERSILLA_AUDIO_DRIVER"); env && *env) return {env};
    return {"pulseaudio", "pipewire", "alsa"};
}

struct FluidSynthPort::Impl {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;

    ~Impl() {
        if (driver) delete_fluid_audio_driver(driver);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

FluidSynthPort::FluidSynthPort(std::string soundFont, Audio audio)
    : m_soundFont(std::move(soundFont)), m_audio(audio) {}

FluidSynthPort::~FluidSynthPort() { close(); }

bool FluidSynthPort::open() {
    if (m_impl) return true;
    silenceFluidSynth();
    if (!isFile(m_soundFont)) return false;
    auto* impl = new Impl;
    impl->settings = new_fluid_settings();
    if (!impl->settings) {
        delete impl;
        return false;
    }
    // The default gain is meant for layering many voices; a song alone sounds
    // too quiet with it.
    fluid_settings_setnum(impl->settings, "synth.gain", 0.6);
    impl->synth = new_fluid_synth(impl->settings);
    if (!impl->synth || fluid_synth_sfload(impl->synth, m_soundFont.c_str(), 1) == FLUID_FAILED) {
        delete impl;
        return false;
    }
    if (m_audio == Audio::Device) {
        for (const std::string& name : audioDriverCandidates()) {
            if (fluid_settings_setstr(impl->settings, "audio.driver", name.c_str()) != FLUID_OK)
                continue; // not compiled into this FluidSynth
            impl->driver = new_fluid_audio_driver(impl->settings, impl->synth);
            if (impl->driver) {
                m_driverName = name;
                break;
            }
        }
        if (!impl->driver) {
            delete impl;
            return false;
        }
    }
    m_impl = impl;
    return true;
}

void FluidSynthPort::close() {
    delete m_impl; // stops the audio driver before the synthesizer goes
    m_impl = nullptr;
    m_driverName.clear();
}

bool FluidSynthPort::sendShort(const std::uint8_t* bytes, std::size_t count) {
    if (!m_impl || count == 0) return false;
    const int status = bytes[0];
    const int channel = status & 0x0F;
    const int d1 = count > 1 ? bytes[1] : 0;
    const int d2 = count > 2 ? bytes[2] : 0;
    fluid_synth_t* s = m_impl->synth;
    int rc = FLUID_OK;
    switch (status & 0xF0) {
    case 0x80: rc = fluid_synth_noteoff(s, channel, d1); break;
    case 0x90: rc = d2 == 0 ? fluid_synth_noteoff(s, channel, d1) : fluid_synth_noteon(s, channel, d1, d2); break;
    case 0xA0: rc = fluid_synth_key_pressure(s, channel, d1, d2); break;
    case 0xB0: rc = fluid_synth_cc(s, channel, d1, d2); break;
    case 0xC0: rc = fluid_synth_program_change(s, channel, d1); break;
    case 0xD0: rc = fluid_synth_channel_pressure(s, channel, d1); break;
    case 0xE0: rc = fluid_synth_pitch_bend(s, channel, d1 | (d2 << 7)); break;
    default:
        // System realtime and common messages mean nothing to the synthesizer.
        if (status == 0xFF) rc = fluid_synth_system_reset(s);
        break;
    }
    // A note off for a note that does not sound is not a failure of the port.
    if ((status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && d2 == 0)) return true;
    return rc == FLUID_OK;
}

bool FluidSynthPort::sendLong(const std::uint8_t* bytes, std::size_t count) {
    if (!m_impl || count == 0) return false;
    // FluidSynth takes the block without its framing bytes.
    std::size_t begin = bytes[0] == 0xF0 ? 1 : 0;
    std::size_t end = count;
    if (end > begin && bytes[end - 1] == 0xF7) --end;
    if (end <= begin) return true;
    const int rc = fluid_synth_sysex(m_impl->synth, reinterpret_cast<const char*>(bytes + begin),
                                     static_cast<int>(end - begin), nullptr, nullptr, nullptr, 0);
    // Blocks the synthesizer does not understand are ignored by it, as a
    // hardware synthesizer would; only a closed port counts as a failure.
    (void)rc;
    return true;
}

bool FluidSynthPort::render(float* left, float* right, int frames) {
    if (!m_impl || m_impl->driver || frames <= 0) return false;
    return fluid_synth_write_float(m_impl->synth, frames, left, 0, 1, right, 0, 1) == FLUID_OK;
}

} // namespace versilla::player
