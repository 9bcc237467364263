#pragma once
#include <QString>

namespace versilla::app {

/// The main window's own state flags and the settings it keeps a copy of while
/// it runs. All flags start false; the commands that own a flag set and clear
/// it. Song open, song unsaved and continue-allowed live in the workspace
/// (song::Workspace::flags()), the list-changed and staff-refresh marks in its
/// list (lyrics::AssignmentList::marks()).
struct WorkspaceState {
    bool playing = false;         ///< the song is being played
    bool manualMode = false;      ///< manual assignment mode
    int stopTab = 0;              ///< tab on which playback was stopped
    int stopTime = 0;             ///< play time (ms) at the stop
    bool themeMode = false;       ///< decided once at start-up
    bool portOpen = false;        ///< the MIDI output device is open
    int previousTab = 0;          ///< tab being left while a switch is under way

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
