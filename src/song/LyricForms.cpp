#include "song/LyricForms.h"

#include "lyrics/Marks.h"

namespace versilla::song {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

bool onlySpaces(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

void appendWords(std::string_view words, bool checkCopyright, std::vector<ImportedLyric>& out)
{
    ImportedLyric row;
    row.text = protectSyllable(words);
    row.copyright = checkCopyright && isCopyrightNotice(row.text);
    if (row.text.empty() || row.text.back() != ' ')
        row.text += lyrics::kNoSpace;
    out.push_back(std::move(row));
}

} // namespace

bool isSkippedLyric(std::string_view eventText)
{
    if (onlySpaces(eventText))
        return true;
    for (char c : eventText)
        if (static_cast<unsigned char>(c) < 0x20 && !isLineEnd(c))
            return true;
    return false;
}

std::size_t importLyricText(std::string_view eventText, bool applySkipRules, std::vector<ImportedLyric>& out)
{
    if (applySkipRules && isSkippedLyric(eventText))
        return 0;
    std::size_t lead = 0;
    while (lead < eventText.size() && isLineEnd(eventText[lead]))
        ++lead;
    if (lead == 0) {
        appendWords(eventText, applySkipRules, out);
        return 1;
    }
    out.push_back({std::string(lyrics::kLineBreakText), false});
    const std::string_view rest = eventText.substr(lead);
    if (onlySpaces(rest))
        return 1;
    appendWords(rest, applySkipRules, out);
    return 2;
}

std::string protectSyllable(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '-')
            out[i] = lyrics::kProtectedHyphen;
        else if (out[i] == ' ' && i + 1 < out.size())
            out[i] = lyrics::kProtectedSpace;
    }
    return out;
}

bool isCopyrightNotice(std::string_view protectedText)
{
    std::string upper(protectedText);
    for (char& c : upper) {
        if (c == lyrics::kProtectedSpace)
            c = ' ';
        else if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    for (std::string_view needle : {std::string_view("COPYRIGHT"), std::string_view("(C)"),
                                    std::string_view("RIGHTSRESERVED"), std::string_view("RIGHTS RESERVED"),
                                    std::string_view("\xA9")})
        if (upper.find(needle) != std::string::npos)
            return true;
    return false;
}

bool isLineBreakText(std::string_view rowText) { return !rowText.empty() && rowText.front() == lyrics::kLineBreak; }

std::string_view trimTrailingBlanks(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string lyricEventText(std::string_view rowText, bool nextIsLineBreak)
{
    const std::string_view trimmed = trimTrailingBlanks(rowText);
    std::string text = trimmed.empty() ? std::string(" ") : std::string(trimmed);
    if (isLineBreakText(text))
        return "\r";
    if (text.back() == lyrics::kNoSpace)
        text.pop_back();
    else if (!nextIsLineBreak)
        text += ' ';
    for (char& c : text) {
        if (c == lyrics::kProtectedHyphen)
            c = '-';
        else if (c == lyrics::kProtectedSpace)
            c = ' ';
    }
    return text;
}

} // namespace versilla::song
