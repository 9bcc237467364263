#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Prompter.h"
#include "lyrics/Marks.h"
#include "storage/Status.h"

namespace versilla::lyrics {

/// One row of the assignment list (table "texte") as the views and callers see
/// it. Numbers that are blank in the table read as 0; TEXT and STRZEIT have no
/// trailing blanks.
struct Row {
    std::int32_t zeit = 0;      ///< ZEIT: time in ms from tick 0
    std::string text;           ///< TEXT: the syllable with its marks
    std::string strzeit;        ///< STRZEIT: time text of ZEIT as last written
    std::int32_t gesticks = 0;  ///< GESTICKS: absolute tick position
    std::int32_t start = 0;     ///< START: 1 on the first sung word after the intro
    std::int32_t mehrfach = 0;  ///< MEHRFACH: melody notes the syllable spans
    double achtel = 0.0;        ///< ACHTEL: position in eighth notes
    std::uint32_t recNo = 0;    ///< record number in the table; 0 for a new row not yet saved
};

/// One entry of the row snapshot: a stored row in list order.
struct TLyrics {
    std::int32_t gesticks = 0;
    std::int32_t zeit = 0;
    std::string strzeit;
    std::string text;
    std::int32_t recNo = 0;
    std::int32_t start = 0;
    std::int32_t mehrfach = 0;
};
using RowSnapshot = std::vector<TLyrics>;

/// Why a snapshot is taken; decides how many entries of the previous snapshot
/// are carried over at its end when the list became shorter.
enum class SnapshotMode { AfterAdd = 0, AfterDelete = 1, Other = 2 };

/// Marks and button states that saving, cancelling and deleting rows change and
/// that other commands and the window read. Callers may set and clear them
/// (for example the song workflow sets `bulkUpdate` while it imports, and
/// clears `listChanged` after writing the lyrics into the song).
struct ListMarks {
    /// Set while the system itself rewrites the list (opening, writing, undo,
    /// tempo change, staff editing): saving skips the time limit and the tick
    /// recomputation, and leaves `writeUndoEnabled` alone.
    bool bulkUpdate = false;
    /// The current row was appended by the new-word command and is not saved yet.
    bool newRow = false;
    /// The list differs from what was last written into the song.
    bool listChanged = false;
    /// The list changed since the staff view took its snapshot.
    bool staffRefresh = false;
    /// Field whose editor in the single-row editor last had the focus; empty
    /// after a save.
    std::string currentEditorField;
    /// The manual assignment indicator is shown (manual assignment runs):
    /// saving then leaves `writeUndoEnabled` alone as well.
    bool manualAssignmentShown = false;

    // Button states the window mirrors (read them after marksChanged()).
    /// "Eintragen" (`s1_eintragen`) and "rückgängig" (`s1_rueckgaengig`) enabled.
    bool writeUndoEnabled = false;
    /// `s2_neuanlage` and `s2_loeschen` enabled.
    bool wordCommandsEnabled = true;
    /// The save/cancel panel's default keys: Enter saves, Escape cancels.
    bool panelDefaultKeys = false;
};

/// What saving a row needs from the open song. Both functions are read at each
/// save, so a context bound to the workspace stays current.
struct SaveContext {
    /// Song length in ms; rows at or after it are refused (0 when unset: every
    /// time is refused unless the bulk-update mark is set).
    std::function<std::int32_t()> songLengthMs;
    /// Time to ticks through the song's tempo list. Unset: GESTICKS is left as it is.
    std::function<std::int32_t(std::int32_t ms)> msToTicks;
};

/// Receives changes of the list so views can follow. Every change comes as a
/// pair (about-to / done) around the moment the list changes, so a Qt item
/// model can forward them as begin…/end… calls. Inside beginBulk()/endBulk()
/// no per-row calls are made: the outermost beginBulk() calls
/// aboutToReset() and the matching endBulk() calls reset(), once.
/// Positions are list positions (0-based) before the change for about-to
/// calls and after it for done calls.
class ListListener {
public:
    virtual ~ListListener() = default;
    virtual void aboutToReset() {}
    virtual void reset() {}
    virtual void aboutToInsert(int /*pos*/) {}
    virtual void inserted(int /*pos*/) {}
    virtual void aboutToRemove(int /*pos*/) {}
    virtual void removed(int /*pos*/) {}
    /// The row at `from` moves so that it ends up at position `to` (positions in
    /// the list without the row itself removed: after the move row(to) is it).
    /// For Qt: beginMoveRows(from, from, to > from ? to + 1 : to).
    virtual void aboutToMove(int /*from*/, int /*to*/) {}
    virtual void moved(int /*from*/, int /*to*/) {}
    /// Values of the row at `pos` changed (also edits of the row in edit state).
    virtual void changed(int /*pos*/) {}
    /// The current row is now `pos` (-1: none). Also sent inside a bulk bracket.
    virtual void currentChanged(int /*pos*/) {}
    /// A mark or button state of ListMarks changed. Also sent inside a bulk bracket.
    virtual void marksChanged() {}
    /// The list is being destroyed (after its table was closed); drop every
    /// reference to it. No call to the list is allowed from here on.
    virtual void listDestroyed() {}
};

/// State of the current row.
enum class EditState { Browse, Edit, Insert };

/// The assignment list: the table "texte" (opened exclusively in the data
/// folder) with its rows in list order, a current row shared by every view, the
/// save rules every write of a row passes, and the row snapshot.
///
/// List order: ascending ZEIT, rows with equal ZEIT in the order they were
/// added (record order), as the tag "IPRIMAER" gives; with the index switched
/// off, record order. The rows are mirrored in memory, so row(i) and
/// positionOfRecNo() are O(1) and never touch the file.
///
/// Editing: edit() (or appendBlankRow()) puts a row in edit state; set*()
/// change its buffer; post() runs the save rules and stores it, cancel() throws
/// the changes away. While a row is in edit state the cursor does not move and
/// no other row can be changed: post or cancel first.
///
/// Errors: operations that touch the file return a storage::Status; post()
/// returns a Refusal. Not thread-safe: use from the user-interface thread.
class AssignmentList {
public:
    AssignmentList();
    ~AssignmentList(); ///< closes the table (an unsaved edit is dropped)
    AssignmentList(const AssignmentList&) = delete;
    AssignmentList& operator=(const AssignmentList&) = delete;

    // ---- table --------------------------------------------------------------
    /// Re-creates "texte" in `folder` as an empty copy of the template "texte0"
    /// (replacing an old one) and opens it exclusively with tag "IPRIMAER".
    /// Fails when the template is missing or the files cannot be written/locked.
    storage::Status create(const std::filesystem::path& folder);
    /// Opens an existing "texte" in `folder` exclusively, selects "IPRIMAER" and
    /// loads its rows. Fails like storage::Table::open().
    storage::Status attach(const std::filesystem::path& folder);
    /// Closes the table; the list is then empty. Closing a closed list succeeds.
    storage::Status close();
    bool isOpen() const;

    // ---- marks, context, listeners -------------------------------------------
    ListMarks& marks();
    const ListMarks& marks() const;
    /// Tells listeners that marks were changed by the caller.
    void notifyMarksChanged();
    void setSaveContext(SaveContext context);
    const SaveContext& saveContext() const;

    /// Listeners are not owned; remove one before it dies.
    void addListener(ListListener* listener);
    void removeListener(ListListener* listener);
    /// Suspends per-row notifications until the matching endBulk() (nestable);
    /// views then get one reset. Use around every change of many rows.
    void beginBulk();
    void endBulk();
    bool inBulk() const;

    // ---- random access for views ---------------------------------------------
    /// Rows in the list, including a new row in edit state (always the last).
    int rowCount() const;
    /// The row at list position `pos` (0 <= pos < rowCount()); for the row in
    /// edit state its edited values. Out of range: a blank row.
    const Row& row(int pos) const;
    /// List position of a stored record; -1 when there is none (deleted,
    /// unknown).
    int positionOfRecNo(std::uint32_t recNo) const;
    /// Copies of all stored rows in list order (a new row in edit state left out).
    std::vector<Row> rows() const;

    // ---- current row -----------------------------------------------------------
    /// Position of the current row, -1 when the list is empty.
    int currentPosition() const;
    /// Makes `pos` the current row. False (nothing moves) when out of range or
    /// while a row is in edit state.
    bool setCurrentPosition(int pos);
    /// First row (also when already there); sets bof(). False when the list is empty
    /// or a row is in edit state.
    bool first();
    /// One row forward. False at the last row (the cursor stays) or while editing.
    bool next();
    /// True when the list is empty or the cursor was put on the first row by
    /// first() (or a reset) and has not moved since.
    bool bof() const;

    // ---- editing -----------------------------------------------------------------
    EditState state() const;
    bool isEditing() const { return state() != EditState::Browse; }
    /// Puts the current row in edit state (already editing: no change, true).
    /// Before that, when the current editor field is TEXT the panel's default
    /// keys are switched on. False when there is no current row.
    bool edit();
    /// Appends a new blank row at the end of the list, in edit state, and makes
    /// it current. It reaches the table only when posted. The new-word command
    /// sets marks().newRow itself. False while another row is in edit state or
    /// the table is not open.
    bool appendBlankRow();
    /// The edit buffer (the current row's values when not editing).
    const Row& editRow() const;
    /// Field changes of the row in edit state (an edit() is done first when the
    /// current row is in browse state). False when there is no row to edit.
    bool setZeit(std::int32_t ms);
    bool setText(std::string_view text);
    bool setStrzeit(std::string_view text);
    bool setGesticks(std::int32_t ticks);
    bool setStart(std::int32_t value);
    bool setMehrfach(std::int32_t value);
    bool setAchtel(double value);
    /// A field by name from text, as a grid cell or an editor gives it: ZEIT,
    /// GESTICKS, START and MEHRFACH take an integer (empty text is 0), ACHTEL a
    /// number, TEXT and STRZEIT the text. False for an unknown field or text that
    /// is not a number.
    bool setField(std::string_view field, std::string_view text);

    /// Saves the row in edit state through the save rules:
    ///  1. TEXT loses trailing blanks; its no-space marks are counted;
    ///  2. TEXT "¤" alone: MessageId{1, 44}; 3. two or more "¤": MessageId{1, 45};
    ///  4. one "¤" not last: MessageId{1, 46} (each with " ¤" appended, focus TEXT);
    ///  5. unless bulkUpdate: ZEIT below 0 (MessageId{1, 47} with " (< 0 ms)"
    ///     appended) or at or after the song length (MessageId{1, 47}), focus ZEIT;
    ///  6. "¶" in a TEXT of two or more characters: MessageId{16, 8} with " ¶", focus TEXT;
    ///  7. empty TEXT: MessageId{1, 87}, focus TEXT;
    ///  8. (an empty ZEIT is 0); 9. unless bulkUpdate, GESTICKS := msToTicks(ZEIT).
    /// On success the row is stored (a new row is appended), keeps the cursor and
    /// moves to its place in the list; the after-save marks follow (default keys
    /// off, editor field cleared, writeUndoEnabled unless bulkUpdate or
    /// manualAssignmentShown, wordCommandsEnabled, staffRefresh, listChanged set,
    /// newRow cleared). On a refusal nothing is stored and the row stays in edit
    /// state. A file error is refused with MessageId{1, 90} and the error text
    /// appended. Not editing: nothing to do, no refusal.
    std::optional<Refusal> post();
    /// Throws the edit away (a new row disappears); newRow cleared,
    /// wordCommandsEnabled set. Not editing: nothing happens.
    void cancel();
    /// The save/cancel panel's cancel button: asks MessageId{1, 38} (question,
    /// Yes/No, through `prompter`); Yes cancels and returns true, No keeps the row
    /// in edit state and returns false. Not editing: false, nothing asked.
    bool cancelAsked(Prompter& prompter);

    /// Deletes the stored row at `pos` (a new row in edit state is cancelled
    /// instead; editing another row is a failure). The cursor goes to the row
    /// that followed (or the new last row). After-delete marks: writeUndoEnabled,
    /// staffRefresh, listChanged. Fails out of range or on a file error.
    storage::Status removeAt(int pos);
    /// removeAt(currentPosition()).
    storage::Status removeCurrent();
    /// Empties the list (an edit is dropped); one reset for the views.
    storage::Status zap();

    /// Switches the index off (record order: rows then keep their positions
    /// when their ZEIT is rewritten) or on again ("IPRIMAER"); either way the
    /// cursor goes to the first row and views get one reset. Fails while a row
    /// is in edit state.
    storage::Status setIndexActive(bool active);
    bool indexActive() const;

    // ---- single-row editor hooks -------------------------------------------------
    /// An editor of the single-row panel got the focus: remember the field; for
    /// TEXT while editing switch the default keys on.
    void editorEntered(std::string_view field);
    /// An editor lost the focus: leaving ZEIT while newRow is set writes the
    /// time text of ZEIT into STRZEIT; leaving TEXT switches the default keys off.
    void editorLeft(std::string_view field);

    // ---- convenience for the system's own writes ----------------------------------
    /// appendBlankRow(), every field of `values` but recNo, post(). On a refusal
    /// the new row stays in edit state (cancel() drops it). While another row is
    /// in edit state: MessageId{1, 90} with an explanation.
    std::optional<Refusal> appendRow(const Row& values);

    // ---- row snapshot ------------------------------------------------------------
    /// Rebuilds `snapshot` from the stored rows in list order (keeping the old one
    /// as the previous snapshot). When the previous one held k > 0 more entries,
    /// its last n entries are appended again: n = k + 1 after an add, k − 1 after
    /// a delete, k otherwise. The current row is the first row afterwards.
    void takeSnapshot(RowSnapshot& snapshot, SnapshotMode mode);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace versilla::lyrics
