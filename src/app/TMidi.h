#pragma once
#include "core/TMidiFile.h"

namespace versilla::app {

/// The window's song object. Its event hook is where playback reaches the
/// window; until playback control is wired it lets every event pass unheard.
class TMidi : public core::TMidiFile {
public:
    TMidi() = default;
    /// Stops the player first, so the hook never runs on a half-destroyed object.
    ~TMidi() override;

    /// Called for every event that falls due; does nothing yet. Never throws.
    void MidiEvent(const core::TMidiEvent& event) override;
};

} // namespace versilla::app
