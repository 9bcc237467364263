#include "song/LyricTextFile.h"

#include "lyrics/Marks.h"
#include "song/SongWriter.h"
#include "song/WorkingCopies.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace versilla::song {

namespace {

std::string withLineBreaks(const std::string& item)
{
    std::string out;
    out.reserve(item.size() + 2);
    for (char c : item) {
        if (c == lyrics::kLineBreak)
            out += "\r\n";
        else
            out += c;
    }
    return out;
}

} // namespace

std::string lyricTextFromSong(const std::vector<std::string>& items)
{
    std::string text;
    std::string previous;
    bool first = true;
    for (const std::string& item : items) {
        std::string converted = withLineBreaks(item);
        if (!first) {
            const bool previousEndsWord =
                !previous.empty() && (previous.back() == ' ' || previous.back() == '\n' || previous.back() == '-');
            const bool startsLine = !converted.empty() && converted.front() == '\r';
            if (!previousEndsWord && !startsLine)
                text += '-';
        }
        text += converted;
        previous = std::move(converted);
        first = false;
    }
    return text;
}

std::string textFileNameAfterLoad(std::string chosen)
{
    if (chosen.find(".txt") == std::string::npos)
        chosen += ".txt";
    return chosen;
}

std::string textFileNameForSave(std::string chosen)
{
    std::string upper = chosen;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper.find(".TXT") == std::string::npos)
        chosen += ".txt";
    return chosen;
}

bool clearTextAsks(std::string_view text)
{
    return text.find_last_not_of(' ') != std::string_view::npos;
}

bool saveAsAsksOverwrite(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

LyricTextLoad loadLyricText(const std::filesystem::path& path)
{
    LyricTextLoad load;
    load.status = readFileBytes(path, load.text);
    if (!load.status)
        load.text.clear();
    return load;
}

SongStatus saveLyricText(const std::filesystem::path& path, std::string_view text)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return SongStatus::failure(path.string() + ": is a folder, not a file");
    return writeFileAtomically(path, text);
}

} // namespace versilla::song
