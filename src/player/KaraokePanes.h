#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/AssignmentList.h"

namespace versilla::player {

/// A pane line holds at most this many characters; an entry is shown cut to it.
inline constexpr int kPaneLineWidth = 38;
/// Lines of one pane.
inline constexpr int kPaneLines = 5;

/// One display text per lyric of the song, in list order.
using SongLyricList = std::vector<std::string>;

/// Display text of one row's TEXT: a final no-space mark is dropped; any other
/// text that does not end in the line-break mark gets a space. Never fails.
std::string songLyricEntry(std::string_view text);
/// The space rule between entries: an entry ending in a space that is followed
/// by an entry that is exactly the line-break mark loses that space.
void applySpaceRule(SongLyricList& list);
/// The song lyric list of `rows` (their TEXT in the given order) with both rules
/// applied. Never fails.
SongLyricList songLyricList(const std::vector<lyrics::Row>& rows);
/// The same from plain TEXT values.
SongLyricList songLyricListOfTexts(const std::vector<std::string>& texts);

/// One karaoke pane as the window shows it. `text` holds the lines separated by
/// '\n' (a line end counts as one position); the selection is the highlight.
struct KaraokePane {
    std::string text;
    /// For each entry shown: the position in `text` where it begins (for a
    /// line-break entry: where its line ends).
    std::vector<int> offsets;
    /// The next entry of this pane to highlight.
    int entryCounter = 0;
    int selStart = 0;
    int selLength = 0;

    /// Empties text, offsets, counter and highlight.
    void clear();
};

/// Fills `pane` with the entries of `list` from `firstEntry` on, at most five
/// lines of 38 characters, and returns the entry to fill next: list.size() when
/// every entry is shown, 0 when `firstEntry` is already past the end (the pane
/// is then left as it was). The highlight is not touched. Never fails.
int paneFill(KaraokePane& pane, const SongLyricList& list, int firstEntry);

enum class PaneId { Top, Bottom };

/// The two karaoke panes `s1_oben` / `s1_unten` and the highlighting while a
/// song plays. Pure state: the window shows each pane's text and selection after
/// every call. Use from the user-interface thread.
class KaraokeDisplay {
public:
    /// Takes a new song lyric list (both rules already applied). Panes unchanged.
    void setList(SongLyricList list);
    const SongLyricList& list() const { return m_list; }

    /// Empties both panes; nothing left to fill.
    void clearPanes();
    /// Empties both panes, fills the top one from entry 0 and the bottom one from
    /// where the top one ended; the result is the next entry to fill.
    void fill();
    /// Play: the top pane becomes active, both panes are filled afresh, both
    /// selections start at 0.
    void play();
    /// The karaoke update for the lyric texts taken from the pending list, in
    /// order: each highlights the active pane up to its next entry (offset + the
    /// text's length); a pane sung through hands over to the other one and is
    /// refilled with what follows (or emptied when nothing follows).
    void update(const std::vector<std::string>& sung);
    /// Both highlights removed (tab 1 becoming active).
    void removeHighlights();

    const KaraokePane& pane(PaneId id) const { return id == PaneId::Top ? m_top : m_bottom; }
    const KaraokePane& top() const { return m_top; }
    const KaraokePane& bottom() const { return m_bottom; }
    PaneId active() const { return m_active; }
    void setActive(PaneId id) { m_active = id; }
    /// Index into the list of the next entry to fill; 0: nothing left.
    int nextToFill() const { return m_nextToFill; }

private:
    KaraokePane& paneRef(PaneId id) { return id == PaneId::Top ? m_top : m_bottom; }

    SongLyricList m_list;
    KaraokePane m_top;
    KaraokePane m_bottom;
    PaneId m_active = PaneId::Top;
    int m_nextToFill = 0;
};

} // namespace versilla::player
