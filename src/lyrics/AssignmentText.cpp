#include "lyrics/AssignmentText.h"

#include "lyrics/Marks.h"

namespace versilla::lyrics {

namespace {

constexpr char kLowQuote = '\x82'; // skipped between syllables like a blank

bool isBlankOrHyphen(char c) { return c == ' ' || c == '-'; }

bool isGap(char c) { return c == ' ' || c == '-' || c == kLowQuote; }

// 1-based access, as the walks below count.
char at(std::string_view text, int i) { return text[static_cast<std::size_t>(i - 1)]; }

// From the 1-based position b, moves over blanks, hyphens and 0x82. True when a
// character that is none of these is reached (b then points at it).
bool skipGap(std::string_view text, int& b)
{
    const int length = static_cast<int>(text.size());
    if (b > length)
        return false;
    while (b <= length && isGap(at(text, b)))
        ++b;
    return b <= length;
}

std::string_view withoutTrailingBlanks(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

std::string buildAssignmentText(std::string_view lyricText)
{
    std::string result;
    result.reserve(lyricText.size() + lyricText.size() / 16);
    bool keptAny = false;
    char previousKept = 0;
    for (std::size_t k = 0; k < lyricText.size(); ++k) {
        const char c = lyricText[k];
        if (isBlankOrHyphen(c)) {
            if (!keptAny)
                continue; // leading blanks and hyphens of the text
            if (k + 1 < lyricText.size()) {
                const char next = lyricText[k + 1];
                if (next == ' ' || next == '\r' || next == '-')
                    continue; // of a run only the last stays; none before a line end
            }
            if (previousKept == '\n')
                continue; // leading blanks and hyphens of a line
        }
        if (c == '\r') {
            result += kLineBreak;
            result += '\n';
        } else if (c != '\n') {
            result += c;
        }
        keptAny = true;
        previousKept = c;
    }
    while (!result.empty()) {
        const char last = result.back();
        if (static_cast<unsigned char>(last) < 33 || last == kLineBreak || last == '-')
            result.pop_back();
        else
            break;
    }
    return result;
}

SyllableStep syllableStep(std::string_view text, int position)
{
    SyllableStep step;
    const int length = static_cast<int>(text.size());
    if (position < 0)
        position = 0;
    if (position > length)
        position = length;
    int count = 0;
    int b = 0;
    bool found = false;
    int i = position + 1;
    for (; i <= length && !found; ++i) {
        const char c = at(text, i);
        if (c != '-')
            ++count;
        if (c == ' ' || c == '-' || c == kLineBreak) {
            b = c == kLineBreak ? i + 2 : i; // after 0xB6 its line feed goes too
            if (c == kLineBreak)
                step.lineBreak = true;
            if (c == '-')
                step.hyphen = true;
            found = skipGap(text, b);
        }
    }
    // The loop counted one past the character it stopped at.
    step.selStart = position;
    step.nextPosition = i < b ? b - 1 : i - 1;
    if (step.nextPosition > length)
        step.nextPosition = length; // a line end at the very end points past it
    if (position < length) {
        const int available = length - position;
        step.selLength = count < available ? count : available;
        step.text.assign(text.substr(static_cast<std::size_t>(position), static_cast<std::size_t>(step.selLength)));
    }
    return step;
}

int leadingSkip(std::string_view text, int position)
{
    if (position != 0)
        return position;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (c != ' ' && c != '-' && c != '\n')
            return static_cast<int>(k);
    }
    return 0;
}

int positionAfterSelection(std::string_view text, int selectionStart)
{
    const int length = static_cast<int>(text.size());
    if (selectionStart < 0)
        selectionStart = 0;
    int b = 0;
    bool found = false;
    int i = selectionStart + 1;
    for (; i <= length && !found; ++i) {
        const char c = at(text, i);
        if (c == ' ' || c == '-' || c == kLineBreak || c == '\n') {
            b = c == kLineBreak ? i + 2 : c == '\n' ? i + 1 : i;
            found = skipGap(text, b);
        }
    }
    const int next = i < b ? b - 1 : i - 1;
    return next > length ? length : next;
}

bool hasEmptyLine(std::string_view text)
{
    for (std::size_t k = 0; k + 2 < text.size(); ++k)
        if (text[k] == kLineBreak && text[k + 2] == kLineBreak)
            return true;
    return false;
}

int countSyllablesLeft(std::string_view text, int position)
{
    const int length = static_cast<int>(text.size());
    int count = 0;
    while (position < length) {
        const SyllableStep step = syllableStep(text, position);
        if (writesAnyRow(step))
            ++count;
        position = step.nextPosition; // always past the old position
    }
    return count;
}

std::string syllableRowText(const SyllableStep& step)
{
    if (step.lineBreak)
        return step.text.empty() ? std::string() : step.text.substr(0, step.text.size() - 1);
    if (step.hyphen)
        return step.text + kNoSpace;
    return step.text;
}

bool writesAnyRow(const SyllableStep& step) { return !withoutTrailingBlanks(step.text).empty(); }

bool writesSyllableRow(const SyllableStep& step)
{
    return writesAnyRow(step) && !(step.lineBreak && step.text == kLineBreakText);
}

bool AssignmentTextState::enterTab(std::string_view lyricText)
{
    if (m_handed && *m_handed == lyricText)
        return false;
    m_text = buildAssignmentText(lyricText);
    m_nextPosition = 0;
    m_handed = std::string(lyricText);
    return true;
}

} // namespace versilla::lyrics
