#pragma once
// Giving the syllables of the assignment text the times of the melody notes, and
// the rows one syllable writes (shared with the manual assignment while playing).
#include "core/Prompter.h"
#include "lyrics/AssignmentText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::core {
class TMidiFile;
}
namespace versilla::lyrics {
class AssignmentList;
}

namespace versilla::song {

class Workspace;

/// Writes the rows of one syllable step at time `ms` through the ordinary save
/// (the caller keeps the bulk-update mark off): nothing when the syllable is
/// empty or blank; a syllable row (syllableRowText, STRZEIT the time text of
/// `ms`, GESTICKS `ticks` when given, else left for the save to compute, START
/// `start`, MEHRFACH 1) unless the step is a line break alone; a line-break row
/// with the same values and START 0 when the syllable ends a line. The first
/// refusal is returned at once (the refused row stays in edit state; rows saved
/// before stay). `wroteSyllableRow` (optional) tells whether a syllable row was
/// saved.
std::optional<Refusal> writeSyllableRows(lyrics::AssignmentList& list, const lyrics::SyllableStep& step,
                                         std::int32_t ms, std::optional<std::int32_t> ticks, std::int32_t start,
                                         bool* wroteSyllableRow = nullptr);

/// The channels that hold notes, for message 1/73: with several tracks, the
/// channel (1 to 16) of each track's first note-on, in track order (tracks
/// without a note-on give nothing); with one track, its distinct note-on
/// channels in the order they first appear. Each followed by a blank.
std::string noteChannelList(const core::TMidiFile& song);

/// Index of the first track that holds an event with Status `status`; -1 when none.
std::int32_t findMelodyTrack(const core::TMidiFile& song, std::uint8_t status);

/// What the automatic assignment starts from: the state of `s5_text`.
struct AutoAssignInput {
    std::string_view text;     ///< the assignment text (buildAssignmentText)
    int selStart = 0;          ///< selection of `s5_text` (the intro when it starts at 0)
    int selLength = 0;         ///< 0: no selection
    int nextPosition = 0;      ///< the next-syllable position before the run
    /// Called once after the last note, before message 1/77: the window ends a
    /// stopped manual assignment, applies the staff's octave shift to the new
    /// melody note list and shows tab 5 there. May be empty.
    std::function<void()> beforeReport;
};

/// How the run ended.
enum class AutoAssignOutcome {
    Done,      ///< every note was taken; 1/77 was shown; the list holds the new rows
    Stopped,   ///< 1/72, 1/73 or 1/75 was shown, or the user answered No to 1/74: nothing changed
    Refused,   ///< a row was refused (`refusal`): the run ended there, rows saved before stay
    Failed,    ///< emptying the list failed (`error`); nothing else changed
};

/// What the run leaves behind for the window.
struct AutoAssignResult {
    AutoAssignOutcome outcome = AutoAssignOutcome::Stopped;
    int nextPosition = 0;         ///< the next-syllable position (unchanged unless the run started)
    int selStart = 0;             ///< the selection `s5_text` shows afterwards: the last step's syllable
    int selLength = 0;
    int emptySyllables = 0;       ///< notes that found no syllable (reported by 1/77)
    int notesTaken = 0;           ///< melody notes the run took
    bool showStaffTab = false;    ///< Done: the window makes tab 5 the active page (in beforeReport)
    std::optional<Refusal> refusal; ///< Refused: the save's message for the window to show
    std::string error;            ///< Failed: what went wrong
};

/// The automatic assignment (`s5_auto`) on `workspace` with the settings
/// "MELODIE" and "GLEICH" it holds. In order: an empty line in the text: 1/72;
/// no track holds a note-on of the melody channel: 1/73 with the channels that do
/// have notes; 1/74 (question, Yes/No; No stops); a selection not starting at 0:
/// 1/75 — each of these stops with nothing changed. Then the list is emptied;
/// the intro (a selection from 0) becomes word rows and line-break rows at one
/// quarter note (GESTICKS the division); each note-on of the melody track with a
/// velocity above 0 (one at the same tick as the previous taken note only with
/// "GLEICH") takes the next syllable (rows at the note's time and tick, START 1
/// on the first syllable row); the melody note list becomes the notes taken.
/// At the end beforeReport() runs and 1/77 reports the notes without a syllable.
/// Rows go through the ordinary save, so the bulk-update mark must be off; views
/// get one reset for the whole run. A refused row ends the run: the refused row
/// stays in edit state (the window shows the refusal and the row; cancel() drops
/// it) and the melody note list still holds every note of the melody track the
/// run would have taken, so the staff view never shows a cut-off melody.
AutoAssignResult autoAssign(Workspace& workspace, const AutoAssignInput& input, Prompter& prompter);

} // namespace versilla::song
