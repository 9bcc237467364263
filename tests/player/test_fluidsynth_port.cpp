#include "player/FluidSynthPort.h"
#include "player/TMidiOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using versilla::player::FluidSynthPort;

namespace {

float peak(FluidSynthPort& synth, int frames) {
    std::vector<float> left(static_cast<std::size_t>(frames)), right(static_cast<std::size_t>(frames));
    EXPECT_TRUE(synth.render(left.data(), right.data(), frames));
    float p = 0;
    for (int i = 0; i < frames; ++i)
        p = std::max({p, std::fabs(left[static_cast<std::size_t>(i)]), std::fabs(right[static_cast<std::size_t>(i)])});
    return p;
}

} // namespace

TEST(FluidSynthPort, FindsTheInstalledGeneralMidiSoundFont) {
    // The Debian package timgm6mb-soundfont is a build dependency.
    EXPECT_FALSE(versilla::player::findGeneralMidiSoundFont().empty());
}

TEST(FluidSynthPort, ANoteSoundsAndAllSoundOffSilencesIt) {
    const std::string sf = versilla::player::findGeneralMidiSoundFont();
    if (sf.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    FluidSynthPort synth(sf, FluidSynthPort::Audio::None);
    ASSERT_TRUE(synth.open());

    EXPECT_LT(peak(synth, 4410), 1e-6f); // nothing played yet
    const std::uint8_t programme[2] = {0xC0, 0};
    const std::uint8_t noteOn[3] = {0x90, 60, 110};
    ASSERT_TRUE(synth.sendShort(programme, 2));
    ASSERT_TRUE(synth.sendShort(noteOn, 3));
    const float sounding = peak(synth, 4410);
    EXPECT_GT(sounding, 0.01f);

    for (std::uint8_t ch = 0; ch < 16; ++ch) {
        const std::uint8_t off[3] = {static_cast<std::uint8_t>(0xB0 | ch), 120, 0};
        EXPECT_TRUE(synth.sendShort(off, 3));
    }
    // The voice stops at once; only the reverb's tail fades out after it.
    peak(synth, 22050);
    EXPECT_LT(peak(synth, 4410), sounding / 100);

    const std::uint8_t gmOn[6] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_TRUE(synth.sendLong(gmOn, 6));
    synth.close();
    EXPECT_FALSE(synth.sendShort(noteOn, 3));
}

TEST(FluidSynthPort, AMissingSoundFontFailsToOpen) {
    FluidSynthPort synth("/nonexistent/none.sf2", FluidSynthPort::Audio::None);
    EXPECT_FALSE(synth.open());
    const std::uint8_t noteOn[3] = {0x90, 60, 110};
    EXPECT_FALSE(synth.sendShort(noteOn, 3));
}

TEST(FluidSynthPort, OpensThroughAnAudioDriverWhereThereIsOne) {
    const std::string sf = versilla::player::findGeneralMidiSoundFont();
    if (sf.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    FluidSynthPort synth(sf, FluidSynthPort::Audio::Device);
    if (!synth.open()) GTEST_SKIP() << "no audio output on this machine";
    EXPECT_FALSE(synth.audioDriver().empty());
    const std::uint8_t noteOn[3] = {0x90, 60, 1};
    EXPECT_TRUE(synth.sendShort(noteOn, 3));
    synth.close();
}

TEST(SystemMidiDevices, ListTheBuiltInSynthesizerLast) {
    // Whatever the machine offers, the built-in synthesizer is there when a
    // SoundFont is, so a desktop without a MIDI synthesizer still plays.
    if (versilla::player::findGeneralMidiSoundFont().empty()) GTEST_SKIP() << "no SoundFont";
    versilla::player::TMidiOutput out;
    ASSERT_GE(out.deviceCount(), 1);
    EXPECT_EQ(out.deviceName(out.deviceCount() - 1), versilla::player::SynthesizerName);
}

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

TEST(FluidSynthPort, TheAudioDriverNamedInTheEnvironmentIsUsed) {
    // FluidSynth's "file" driver writes the sound to fluidsynth.wav in the
    // current folder: an audio device that every machine has.
    const std::string sf = versilla::player::findGeneralMidiSoundFont();
    if (sf.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("versilla_synth_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    ::setenv("VERSILLA_AUDIO_DRIVER", "file", 1);
    EXPECT_EQ(versilla::player::audioDriverCandidates(), std::vector<std::string>{"file"});
    {
        FluidSynthPort synth(sf, FluidSynthPort::Audio::Device);
        const bool opened = synth.open();
        ::unsetenv("VERSILLA_AUDIO_DRIVER");
        if (!opened) {
            fs::current_path(previous);
            fs::remove_all(dir);
            GTEST_SKIP() << "this FluidSynth has no file driver";
        }
        EXPECT_EQ(synth.audioDriver(), "file");
        const std::uint8_t noteOn[3] = {0x90, 60, 100};
        EXPECT_TRUE(synth.sendShort(noteOn, 3));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(synth.render(nullptr, nullptr, 16)); // a driver owns the samples
    }
    std::error_code ec;
    EXPECT_GT(fs::file_size(dir / "fluidsynth.wav", ec), 44u);
    fs::current_path(previous);
    fs::remove_all(dir);
}

TEST(FluidSynthPort, DriverOrderWithoutOverride) {
    ::unsetenv("VERSILLA_AUDIO_DRIVER");
    EXPECT_EQ(versilla::player::audioDriverCandidates(),
              (std::vector<std::string>{"pulseaudio", "pipewire", "alsa"}));
}
