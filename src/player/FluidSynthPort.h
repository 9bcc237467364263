#pragma once
#include "player/MidiOutBackend.h"

#include <string>
#include <vector>

namespace versilla::player {

/// Name under which the built-in synthesizer is listed as a device.
inline constexpr const char* SynthesizerName = "Versilla Synthesizer";

/// The General MIDI SoundFont the built-in synthesizer loads: the file named by
/// the environment variable VERSILLA_SOUNDFONT when it exists, else the first
/// of the usual Debian SoundFonts found. Empty when there is none.
std::string findGeneralMidiSoundFont();

/// The audio drivers tried in order when the synthesizer opens: the one named
/// by VERSILLA_AUDIO_DRIVER alone when set, else pulseaudio, pipewire, alsa.
std::vector<std::string> audioDriverCandidates();

/// The built-in software synthesizer (FluidSynth) as an output device.
class FluidSynthPort final : public MidiOutBackend {
public:
    enum class Audio {
        Device, ///< play through the first audio driver that opens
        None    ///< no audio output; samples are taken with render()
    };

    FluidSynthPort(std::string soundFont, Audio audio = Audio::Device);
    ~FluidSynthPort() override;
    FluidSynthPort(const FluidSynthPort&) = delete;
    FluidSynthPort& operator=(const FluidSynthPort&) = delete;

    /// Creates the synthesizer, loads the SoundFont and (with Audio::Device)
    /// starts an audio driver. False when any of these fails; nothing is kept.
    bool open() override;
    void close() override;
    bool sendShort(const std::uint8_t* bytes, std::size_t count) override;
    bool sendLong(const std::uint8_t* bytes, std::size_t count) override;

    /// Renders `frames` stereo samples into the two buffers. Only for a port
    /// opened with Audio::None; false otherwise.
    bool render(float* left, float* right, int frames);
    /// The audio driver in use after a successful open with Audio::Device.
    const std::string& audioDriver() const { return m_driverName; }

private:
    struct Impl;
    std::string m_soundFont;
    Audio m_audio;
    std::string m_driverName;
    Impl* m_impl = nullptr;
};

} // namespace versilla::player
