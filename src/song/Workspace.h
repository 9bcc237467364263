#pragma once
#include "core/Prompter.h"
#include "lyrics/AssignmentList.h"
#include "song/LyricImport.h"
#include "song/SongScan.h"
#include "song/TempoList.h"
#include "song/WorkingCopies.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace versilla::core {
class TMidiFile;
}

namespace versilla::song {

/// The settings the song commands read, as the window holds them.
struct WorkspaceSettings {
    std::int32_t melodie = 0;  ///< "MELODIE": melody channel 1..16; 0 (blank): none chosen
    bool gleich = false;       ///< "GLEICH": melody notes at the same tick count
    std::int32_t textspur = 0; ///< "TEXTSPUR": channel of the text track 1..16; 0: none chosen
    bool runEvents = false;    ///< "RUNEVENTS": write with running status
    bool copyright = false;    ///< "COPYRIGHT": put missing copyright notices back on writing
};

/// What opening derives from the song and the texts the player panel shows.
struct SongFacts {
    std::string path;                ///< song path (".mid" appended by the rule of withMidExtension)
    std::uint8_t format = 0;
    std::int32_t trackCount = 0;
    std::int32_t ticksPerQuarter = 0;
    std::int32_t ticksPerEighth = 0; ///< ticks per quarter / 2
    std::int32_t endTick = -1;
    std::int32_t eighthCount = 0;    ///< end tick / ticks per eighth, rounded up
    std::int32_t openingBpm = 0;     ///< BPM of the first tempo entry when opened
    std::int32_t bpmOffset = 0;      ///< shown BPM - opening BPM after a tempo change, until written
    std::int32_t firstTempo = 0;     ///< µs per quarter of the first tempo entry when opened
    std::int32_t shownBpm = 0;       ///< `s1_tempo`
    std::int32_t songLengthMs = 0;   ///< `s1_dauer`
    TimeSignature timeSignature;     ///< of the last time-signature event read
    std::string taktart;             ///< `s1_taktart`: the first time signature, or "leer"
    std::string songName;            ///< `s1_spurname` (editable for format 0)

    std::string formatText() const;  ///< `s1_format`: the format digit
    std::string dauerText() const;   ///< `s1_dauer`: the song length as time text
    std::string tempoText() const;   ///< `s1_tempo`: the shown BPM
};

/// State flags of the workspace. The list's own marks (bulk update,
/// list changed, staff refresh, the "Eintragen"/"rückgängig" button state)
/// live in `list().marks()`.
struct WorkspaceFlags {
    bool songOpen = false;
    bool songUnsaved = false;     ///< lyrics written since the last save
    bool lyricsWritten = false;   ///< lyrics written since opening or the last undo
    bool continueAllowed = false; ///< playback may continue (set by the player, cleared here)
};

/// Which hint `s1_rueckgaengig` shows (caption-table key).
inline constexpr const char* kUndoHintAfterOpen = " 1rueckgaengig_hint1";
inline constexpr const char* kUndoHintAfterWrite = " 1rueckgaengig_hint2";

/// Long operations tell the window to show the information window `TForm5`.
class WorkspaceObserver {
public:
    virtual ~WorkspaceObserver() = default;
    /// Show the hourglass and `TForm5` with the caption-table text `textKey`
    /// (" 5text1" writing, " 5text2" opening, " 5text3" tempo change, " 5text4"
    /// undo, " 5text5" restoring the tempo); disable the main window when
    /// `disableWindow`. Always followed by idle(), also when the command fails.
    virtual void busy(std::string_view /*textKey*/, bool /*disableWindow*/) {}
    /// Close `TForm5`, restore the cursor, enable the main window.
    virtual void idle() {}
};

/// The file dialogs the commands need. The window shows real dialogs; tests
/// answer from a script.
class SongFileChooser {
public:
    virtual ~SongFileChooser() = default;
    /// `OpenDialog1` (filter "Midi *.mid|*.mid", the file must exist) with
    /// `preset` as the file name; none when the user cancels.
    virtual std::optional<std::string> chooseSongToOpen(const std::string& preset) = 0;
    /// `SaveDialog2` (filter "Midi *.mid|*.mid") opened in `folder` proposing
    /// `proposedName`; none when the user cancels.
    virtual std::optional<std::string> chooseSaveName(const std::string& folder, const std::string& proposedName) = 0;
};

/// How a command ended.
enum class Outcome {
    Done,      ///< the command ran (the state changed as documented)
    Unchanged, ///< nothing to do (e.g. the same tempo)
    Cancelled, ///< the user declined a question or a dialog; nothing changed
    Refused,   ///< `message` says why; nothing changed unless documented
    Failed,    ///< a file error, `error` says which; the previous state is kept
};

/// What a command hands back: how it ended, the message box to show (for a
/// refusal, or a notice after success such as 1/20), and a file error's text.
struct CommandResult {
    Outcome outcome = Outcome::Done;
    std::optional<Refusal> message; ///< show this box (icon in it) when set
    std::string error;              ///< Failed: a readable text (path and cause)

    bool done() const { return outcome == Outcome::Done; }
    static CommandResult refused(Refusal r) { return {Outcome::Refused, std::move(r), {}}; }
    static CommandResult failed(std::string text) { return {Outcome::Failed, std::nullopt, std::move(text)}; }
    static CommandResult cancelled() { return {Outcome::Cancelled, std::nullopt, {}}; }
};

/// The one model of the main window: the song object (owned by the caller, the
/// window's `TMidi`), the lists derived from it, the assignment list, the
/// snapshots, the song facts, the flags and the working copies in the data folder.
///
/// Every command runs to completion on the caller's thread, asks questions
/// through a Prompter, shows no box and returns a CommandResult. While a command
/// rewrites the list the list's bulk-update mark is set and its views get one
/// reset (bulk bracket). Not thread-safe; never used while the song plays.
///
/// The karaoke panes belong to the player: after open, writeLyrics, undo and
/// close the caller rebuilds the song lyric list from rowSnapshot() texts and
/// fills the panes (the song library does not depend on the player).
class Workspace {
public:
    /// A workspace over `song` (not owned, must outlive the workspace) with the
    /// data folder `dataFolder` (working copies, "Last.txt", the table "texte").
    Workspace(core::TMidiFile& song, std::filesystem::path dataFolder);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    /// Re-creates the assignment list "texte" from the template "texte0" in the
    /// data folder and opens it. Fails like lyrics::AssignmentList::create().
    storage::Status createList();

    void setSettings(const WorkspaceSettings& settings) { m_settings = settings; }
    const WorkspaceSettings& settings() const { return m_settings; }
    void setObserver(WorkspaceObserver* observer) { m_observer = observer; }

    // ---- commands -------------------------------------------------------------

    /// Open (`s1_oeffnenClick`). Asks 1/17 when the list changed, else 1/18 when
    /// the song is unsaved (question, No default; No: Cancelled). Shows the open
    /// dialog with the path of "Last.txt" (cancel: Cancelled), then openFile().
    CommandResult open(Prompter& prompter, SongFileChooser& chooser);

    /// Opens `path` without questions or dialog: "Last.txt" rewritten, the file
    /// read into memory, a format-2 song refused with 1/19 (error icon) and a
    /// file that cannot be read, or that holds no track, Failed — in all three
    /// cases the previously open song, its working copy and every list stay as
    /// they were. Otherwise the file becomes the working copy "Sylo1.dbf"
    /// (written atomically) and the song object reads it; facts, tempo lists,
    /// time signatures, melody notes (none when "MELODIE" is blank), copyright
    /// list and the lyrics (into the list, with the bulk mark) are derived; the
    /// row and undo snapshots are taken; start time 0; song open set; list
    /// changed, lyrics written, song unsaved and continue-allowed cleared; staff
    /// refresh set; "Eintragen"/"rückgängig" disabled, undo hint
    /// kUndoHintAfterOpen. Without melody notes `message` is 1/20 (warning).
    /// busy(" 5text2", true) ... idle() around it.
    /// The caller then: shows facts and window caption (", Midifile: " + path),
    /// tab 1, fills the panes, resets the text tabs, loads the song's lyrics
    /// into the lyric text editor, enables the player buttons, `s1_spurname`
    /// editable for format 0, focus `s1_abspielen`.
    CommandResult openFile(const std::string& path);

    /// `s1_spurnameChange`: the song name was edited. Unless the bulk-update mark
    /// is set, sets the list-changed mark and enables "Eintragen"/"rückgängig".
    void songNameChanged(std::string name);

    /// Writing the lyrics into the song ("Eintragen"). Refused with 1/4 or 1/5
    /// (information) when there is no text track. Otherwise busy(" 5text1",
    /// true); copyright notices put back (setting "COPYRIGHT"); the song written
    /// to "Sylo2.dbf", rotated into "Sylo1.dbf" (previous copy "Sylo3.dbf") and
    /// read back; tempo list, time signatures, end tick, length and name rebuilt;
    /// the list re-imported from the text track (START/MEHRFACH carried over);
    /// snapshots taken; BPM offset 0; lyrics written, song unsaved and staff
    /// refresh set; list changed cleared; buttons "Eintragen"/"rückgängig"
    /// disabled; undo hint kUndoHintAfterWrite. A file failure: Failed, the
    /// previous working copy and song object stay. A notice row the save rules
    /// refuse is left out and its refusal is `message`.
    /// The caller then: fills the panes, disables `s1_stopp`/`s1_weiter`,
    /// empties `s1_aktzeit`, ends a text assignment, redraws the staff when shown,
    /// focus `s1_spurname` for format 0.
    CommandResult writeLyrics();

    /// Undo (`s5_rueckgaengigClick`): asks 1/49 (nothing written since opening)
    /// or 1/50 (question, Yes default; No: Cancelled). Rebuilds time signatures,
    /// tempo list, length, name and shown BPM from the song (BPM offset 0) and
    /// refills the list from the undo snapshot (busy(" 5text4", false)). Start
    /// time 0; continue-allowed, list changed and lyrics written cleared; staff
    /// refresh set; "Eintragen"/"rückgängig" disabled.
    /// The caller then: fills the panes; `s1_abspielen` enabled unless tab 3 is
    /// shown; `s1_stopp`/`s1_weiter` disabled; ends a text assignment; redraws
    /// the staff when shown (and clears staff refresh).
    CommandResult undo(Prompter& prompter);

    /// Close (`Schlieen1Click`): asks 1/54 when the list changed and then 1/55
    /// when the song is unsaved (question, No default; No: Cancelled). Empties
    /// the list; song open, list changed, staff refresh, song unsaved and
    /// continue-allowed cleared; deletes "Sylo1.dbf" and "Sylo3.dbf" (a file
    /// that cannot be deleted: `error` set, the song is closed all the same).
    /// The caller then: empties panes and fields (`s1_tempo` "60"), disables the
    /// song buttons and menu items, base caption, tab 1.
    CommandResult close(Prompter& prompter);

    /// Tempo change (`s1_tempoauswahl`) after the dialog accepted `newBpm`
    /// (validateTempo). Shown BPM := newBpm, BPM offset := newBpm - opening BPM.
    /// The same tempo: Unchanged. Otherwise continue-allowed cleared, tempo
    /// list and every row's ZEIT/STRZEIT rescaled (busy(" 5text3", false)),
    /// song length recomputed and the lyrics written (with "COPYRIGHT" off for
    /// this writing), after which "Eintragen"/"rückgängig" are disabled.
    /// Refused with 3/1 (11/1 with several tempi) when newBpm is outside 60..260
    /// or would make a later tempo of the song 0 or negative; nothing changes.
    CommandResult changeTempo(std::int32_t newBpm);

    /// Start time from `TForm4` (validateStartTime) or another source.
    void setStartTime(std::int32_t ms) { m_startTimeMs = ms; }
    std::int32_t startTimeMs() const { return m_startTimeMs; }

    /// Save (`Speichern1Click`): 1/56 (information) without a song; 1/57 when
    /// the list changed (Yes default; Yes writes the lyrics first, No:
    /// Cancelled); 1/59 with " opening (shown)" appended when the tempo was
    /// changed (Yes restores the opening tempo in the working copy, busy(" 5text5",
    /// false)); then the save dialog in the song's folder proposing
    /// `copyCaption` (caption " 1copytext") + the song's file name; ".mid"
    /// appended by withMidExtension; 1/60 (warning, No default) when the file
    /// exists; the working copy written to the chosen file atomically (a failure
    /// leaves the file as it was: Failed). Success: song path := chosen name,
    /// song unsaved cleared. The caller ends a text assignment before the dialog
    /// (the chooser is called then) and sets the window caption afterwards.
    CommandResult save(Prompter& prompter, SongFileChooser& chooser, std::string_view copyCaption);

    // ---- state ------------------------------------------------------------------
    core::TMidiFile& song() { return m_song; }
    const core::TMidiFile& song() const { return m_song; }
    const SongFacts& facts() const { return m_facts; }
    const WorkspaceFlags& flags() const { return m_flags; }
    /// The player sets this when playback stops; commands clear it.
    void setContinueAllowed(bool allowed) { m_flags.continueAllowed = allowed; }
    const char* undoHintKey() const { return m_undoHint; }

    lyrics::AssignmentList& list() { return m_list; }
    const lyrics::AssignmentList& list() const { return m_list; }
    const TempoList& tempoList() const { return m_tempoList; }
    const TempoList& tempoListAsRead() const { return m_tempoAsRead; }
    const TimeSignatureList& timeSignatures() const { return m_timeSignatures; }
    const MelodyNoteList& melodyNotes() const { return m_melodyNotes; }
    /// Replaces the melody note list (the automatic assignment rebuilds it from
    /// the notes it took).
    void setMelodyNotes(MelodyNoteList notes) { m_melodyNotes = std::move(notes); }
    const CopyrightList& copyrights() const { return m_copyrights; }
    const lyrics::RowSnapshot& rowSnapshot() const { return m_rowSnapshot; }
    lyrics::RowSnapshot& rowSnapshot() { return m_rowSnapshot; }
    const lyrics::RowSnapshot& undoSnapshot() const { return m_undoSnapshot; }
    const WorkingCopies& workingCopies() const { return m_copies; }
    /// Bounds the waits for deleted working copies (default 2 s).
    void setDeleteLimit(std::chrono::milliseconds limit) { m_copies.deleteLimit = limit; }

    /// Rebuilds the melody note list with the current settings (used when the
    /// melody channel or "GLEICH" changes). Never fails.
    void rebuildMelodyNotes();

private:
    CommandResult writeLyricsImpl(bool copyrightSetting);
    void deriveTempoFacts();
    void rebuildFromSong(bool undoMode);
    std::optional<Refusal> appendImported(const ImportRow& row);
    std::optional<Refusal> rescaleRows(std::int32_t d, const std::vector<std::int32_t>& newStarts,
                                       const TempoList& oldList);
    void takeFreshSnapshot();
    void listMatchesSong();
    double achtelOf(std::int32_t ticks) const;
    CommandResult restoreOpeningTempo();

    core::TMidiFile& m_song;
    WorkingCopies m_copies;
    WorkspaceSettings m_settings;
    WorkspaceObserver* m_observer = nullptr;

    SongFacts m_facts;
    WorkspaceFlags m_flags;
    const char* m_undoHint = kUndoHintAfterOpen;
    std::int32_t m_startTimeMs = 0;
    std::int32_t m_textTrack = -1; // of the last writing

    TempoList m_tempoList;
    TempoList m_tempoAsRead;
    TimeSignatureList m_timeSignatures;
    MelodyNoteList m_melodyNotes;
    CopyrightList m_copyrights;
    lyrics::AssignmentList m_list;
    lyrics::RowSnapshot m_rowSnapshot;
    lyrics::RowSnapshot m_undoSnapshot;
};

} // namespace versilla::song
