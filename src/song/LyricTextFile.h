#pragma once
// The lyric text editor's logic without the window: the text rebuilt from the
// song's lyrics, the lyric text file (8-bit, CR LF, marks as single bytes, no
// header or terminator), its naming rules and the questions the commands ask.
#include "song/SongStatus.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace versilla::song {

/// The lyric text of the song lyric list `items` (one display text per lyric:
/// a syllable, ending in a blank when it ends a word, or the line-break mark
/// 0xB6; 0xB6 inside an item is a line break). Every 0xB6 becomes CR LF; between
/// two items a "-" is put when the previous one ends neither in a blank, a line
/// feed nor "-", and the next does not begin with CR. Hal, "lo ", Welt, 0xB6 give
/// "Hal-lo Welt\r\n". An empty list gives an empty text. Never fails.
std::string lyricTextFromSong(const std::vector<std::string>& items);

/// The current text file after loading `chosen`: ".txt" appended unless `chosen`
/// contains ".txt" (lower case) anywhere, so lied.TXT is remembered as
/// lied.TXT.txt. Never fails.
std::string textFileNameAfterLoad(std::string chosen);

/// The current text file after choosing `chosen` in the save dialog: ".txt"
/// appended unless its upper-case form contains ".TXT", so lied.TXT stays.
/// Never fails.
std::string textFileNameForSave(std::string chosen);

/// "Text löschen" asks message 1/67 only when this is true: the text without
/// trailing blanks is not empty. A text of blanks only is left alone silently.
bool clearTextAsks(std::string_view text);

/// "Speichern unter" asks message 1/27 (warning, Yes/No) before writing over an
/// existing file: true when `path` names an existing file or folder.
bool saveAsAsksOverwrite(const std::filesystem::path& path);

/// What loading a lyric text file gives.
struct LyricTextLoad {
    SongStatus status;  ///< failure: the path and the system's reason
    std::string text;   ///< every byte of the file unchanged; empty after a failure
};

/// Reads the file at `path` byte by byte, no conversion. A file that cannot be
/// opened or read gives a failure and an empty text.
LyricTextLoad loadLyricText(const std::filesystem::path& path);

/// Writes `text` to `path` byte for byte (no header, no terminator). The bytes go
/// to a temporary file in the same folder that replaces `path` only when
/// complete, so a failed save leaves an existing file as it was. Fails with the
/// path and the system's reason.
SongStatus saveLyricText(const std::filesystem::path& path, std::string_view text);

} // namespace versilla::song
