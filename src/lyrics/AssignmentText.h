#pragma once
// The assignment text: the lyric text prepared for giving its syllables times,
// and the syllable step that walks through it.
//
// The text is Windows-1252, one byte a character, with every line ending in the
// line-break mark 0xB6 followed by one line feed. It never holds a carriage
// return. Positions are 0-based byte indexes. Shown in a Qt text edit (set as
// plain text after converting each byte to its one UTF-16 code unit), a byte
// position is the edit's cursor position: every Windows-1252 character is one
// code unit and the line feed becomes one block separator, which counts as one
// position. So a selection (start, length) taken from here highlights exactly
// the characters the syllable step counted, and a selection read back from the
// edit can be passed in unchanged.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace versilla::lyrics {

/// The assignment text of a lyric text whose lines end in CR LF: leading blanks
/// and hyphens of the text and of every line are dropped; of a run of blanks and
/// hyphens only the last stays; a blank or hyphen before a line end goes; CR
/// becomes 0xB6 + LF and LF itself adds nothing (so a lone LF joins two lines);
/// every other byte, protected characters included, is kept. At the end every
/// byte below 33, every 0xB6 and every "-" is removed. Never fails.
std::string buildAssignmentText(std::string_view lyricText);

/// What one syllable step finds.
struct SyllableStep {
    int selStart = 0;       ///< where the syllable starts (the position the step started from)
    int selLength = 0;      ///< characters selected: the syllable with its trailing blank or 0xB6, no hyphen
    std::string text;       ///< those characters; empty when nothing was left
    bool lineBreak = false; ///< the syllable ends a line
    bool hyphen = false;    ///< the syllable ends with a hyphen (the word goes on)
    int nextPosition = 0;   ///< where the next syllable starts (the text's length when none is left, never more)
};

/// One syllable step from `position` (0 <= position; values past the end give an
/// empty syllable). The syllable runs up to the first blank, "-" or 0xB6; the next
/// one starts at the first character after that which is neither a blank, "-",
/// nor the byte 0x82 (after a 0xB6 its line feed is skipped first). When no such
/// character follows, the walk goes on to the end of the text. Hyphens inside the
/// walk are not counted in selLength, so the selection covers the syllable without
/// its hyphen. Never fails.
SyllableStep syllableStep(std::string_view text, int position);

/// The manual assignment's leading skip: at position 0, the position of the first
/// character that is not a blank, "-" or line feed (0 when there is none); any
/// other position unchanged. Never fails.
int leadingSkip(std::string_view text, int position);

/// Where the manual assignment continues when a selection starting at
/// `selectionStart` is shown as playback starts: the start of the syllable after
/// the one the selection starts in (a blank, "-", 0xB6 or line feed ends a
/// syllable; blanks, "-" and 0x82 after it are skipped). At or past the end of
/// the text: the text's length. Never fails.
int positionAfterSelection(std::string_view text, int selectionStart);

/// Whether the text holds an empty line: a 0xB6 with another 0xB6 two places on.
bool hasEmptyLine(std::string_view text);

/// The syllables a run of syllable steps from `position` to the end of the text
/// would still write rows for: steps whose text, without trailing blanks, is not
/// empty. Never fails.
int countSyllablesLeft(std::string_view text, int position);

/// The text of a syllable row: `step.text` without its last character (the 0xB6)
/// when the syllable ends a line, with the no-space mark 0xA4 appended when it
/// ends with a hyphen, else unchanged.
std::string syllableRowText(const SyllableStep& step);

/// True when the step writes a syllable row: its text without trailing blanks is
/// not empty, and it is not a line break alone (exactly 0xB6 with lineBreak).
bool writesSyllableRow(const SyllableStep& step);

/// True when the step writes any row (syllable or line break): its text without
/// trailing blanks is not empty.
bool writesAnyRow(const SyllableStep& step);

/// What tab 4 keeps between visits: the assignment text shown in `s5_text`, the
/// next-syllable position and the lyric text last handed over.
class AssignmentTextState {
public:
    /// Tab 4 is shown with `lyricText` (the text of `s4_text`, CR LF line ends).
    /// When it differs from the text last handed over (or none was), the
    /// assignment text is rebuilt and the next-syllable position goes to 0, and
    /// true is returned: the window then shows text() with the caret at 0,
    /// disables `s5_eintragen` and ends the manual assignment mode. Either way
    /// the lyric text is remembered as handed over.
    bool enterTab(std::string_view lyricText);
    /// Opening a song forgets the text handed over, so the next visit rebuilds.
    void forget() { m_handed.reset(); }

    const std::string& text() const { return m_text; }
    int nextPosition() const { return m_nextPosition; }
    void setNextPosition(int position) { m_nextPosition = position; }

private:
    std::string m_text;
    int m_nextPosition = 0;
    std::optional<std::string> m_handed;
};

} // namespace versilla::lyrics
