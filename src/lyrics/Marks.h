#pragma once
#include <string_view>

namespace versilla::lyrics {

/// Marks inside a row's TEXT, single Windows-1252 bytes.
/// Line-break row: a TEXT of exactly this one character ends a lyric line.
inline constexpr char kLineBreak = '\xB6';      // ¶
/// No space follows the syllable; only as the last character, never alone.
inline constexpr char kNoSpace = '\xA4';        // ¤
/// A space inside one syllable; becomes " " in the song.
inline constexpr char kProtectedSpace = '\xB7'; // ·
/// A hyphen inside one syllable; becomes "-" in the song.
inline constexpr char kProtectedHyphen = '\xAC'; // ¬

/// The TEXT of a line-break row.
inline constexpr std::string_view kLineBreakText{"\xB6", 1};

/// What a key typed while the word table is shown inserts: on tab 2, while no
/// manual assignment runs, "-" becomes the protected hyphen (except in
/// `s2_schiebenzeit`, whose value may be negative) and a space becomes the
/// protected space, so hyphens and spaces typed into a syllable stay inside it.
/// Every other key, or any key outside that situation, is returned unchanged.
/// Never fails.
char protectedCharFor(char typed, std::string_view focusControl, bool tab2Active,
                      bool manualAssignmentRunning);

} // namespace versilla::lyrics
