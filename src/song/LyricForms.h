#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace versilla::song {

/// Text forms of a syllable on its way between a lyric event of the song and a
/// row of the assignment list. All texts are Windows-1252 bytes; the marks are
/// those of lyrics/Marks.h.

/// A row text read from a lyric event: the form the row gets, and whether it is
/// a copyright notice (recorded in the copyright list on opening).
struct ImportedLyric {
    std::string text;
    bool copyright = false;
};

/// Whether an event text is left out of the import on opening: it holds nothing
/// but spaces (an empty text included), or a character below 0x20 that is not a
/// line break (carriage return or line feed). Never fails.
bool isSkippedLyric(std::string_view eventText);

/// The rows one lyric event text gives, appended to `out` (returns how many):
/// - a text that begins with one or more carriage returns / line feeds gives the
///   line-break row "¶", and the words after them (unless only spaces) a row of
///   their own, at the same time, after it;
/// - other words: every "-" becomes "¬", every space but one in the last
///   position "·", and a text that does not end with a space gets "¤".
/// With `applySkipRules` (opening), a text isSkippedLyric() gives no row, and
/// word rows are checked for copyright notices. Never fails.
std::size_t importLyricText(std::string_view eventText, bool applySkipRules, std::vector<ImportedLyric>& out);

/// The protected form of a syllable: "-" to "¬", and every space except one in
/// the last position to "·". Never fails.
std::string protectSyllable(std::string_view text);

/// Whether a protected text is a copyright notice: its upper-case form, with
/// protected spaces read as spaces, contains "COPYRIGHT", "(C)",
/// "RIGHTSRESERVED", "RIGHTS RESERVED" or "©". Never fails.
bool isCopyrightNotice(std::string_view protectedText);

/// True when a row TEXT is a line-break row (begins with "¶").
bool isLineBreakText(std::string_view rowText);

/// The text of the lyric event written for a row: trailing blanks of TEXT are
/// not significant; an empty TEXT becomes a single space; a TEXT beginning with
/// "¶" becomes a single carriage return; a TEXT ending in "¤" loses it;
/// otherwise a space is appended unless `nextIsLineBreak` (the next lyric item
/// written is a line-break row). Then "¬" becomes "-" and "·" a space. Never fails.
std::string lyricEventText(std::string_view rowText, bool nextIsLineBreak);

/// TEXT without trailing blanks (character 32 only). Never fails.
std::string_view trimTrailingBlanks(std::string_view text);

} // namespace versilla::song
