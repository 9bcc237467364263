#pragma once
#include <QString>

namespace versilla::app {

/// The main window's state flags and the settings it keeps a copy of while it
/// runs. All flags start false; the commands that own a flag set and clear it.
struct WorkspaceState {
    bool songOpen = false;        ///< a song is loaded
    bool playing = false;         ///< the song is being played
    bool manualMode = false;      ///< manual assignment mode
    bool listChanged = false;     ///< assignment list changed since last written into the song
    bool songUnsaved = false;     ///< lyrics written into the song since it was last saved
    bool continueAllowed = false; ///< playback was stopped and can continue
    int stopTab = 0;              ///< tab on which playback was stopped
    int stopTime = 0;             ///< play time (ms) at the stop
    bool staffRefresh = false;    ///< row snapshot must be reloaded before the staff is shown
    bool themeMode = false;       ///< decided once at start-up
    bool portOpen = false;        ///< the MIDI output device is open
    int previousTab = 0;          ///< tab being left while a switch is under way
    QString lastHandedText;       ///< lyric text last handed to tab 4

    // Copies of settings (the settings row is the stored truth).
    qint64 readOnlyColour = 12632256;
    qint64 backgroundColour = 16642504;
    bool copyright = false;
    bool gleich = false;
    int language = 0;
    int deviceNr = -1;
    bool deviceChosen = false;    ///< DEVICENR was not blank
};

} // namespace versilla::app
