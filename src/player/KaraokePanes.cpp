#include "player/KaraokePanes.h"

#include "lyrics/Marks.h"

namespace versilla::player {

using lyrics::kLineBreak;
using lyrics::kNoSpace;

std::string songLyricEntry(std::string_view text)
{
    std::string entry(text);
    if (!entry.empty() && entry.back() == kNoSpace)
        entry.pop_back();
    else if (entry.empty() || entry.back() != kLineBreak)
        entry += ' ';
    return entry;
}

void applySpaceRule(SongLyricList& list)
{
    for (std::size_t i = 0; i + 1 < list.size(); ++i)
        if (!list[i].empty() && list[i].back() == ' ' && list[i + 1] == lyrics::kLineBreakText)
            list[i].pop_back();
}

SongLyricList songLyricList(const std::vector<lyrics::Row>& rows)
{
    SongLyricList list;
    list.reserve(rows.size());
    for (const lyrics::Row& r : rows)
        list.push_back(songLyricEntry(r.text));
    applySpaceRule(list);
    return list;
}

SongLyricList songLyricListOfTexts(const std::vector<std::string>& texts)
{
    SongLyricList list;
    list.reserve(texts.size());
    for (const std::string& t : texts)
        list.push_back(songLyricEntry(t));
    applySpaceRule(list);
    return list;
}

void KaraokePane::clear()
{
    text.clear();
    offsets.clear();
    entryCounter = 0;
    selStart = 0;
    selLength = 0;
}

int paneFill(KaraokePane& pane, const SongLyricList& list, int firstEntry)
{
    const int count = static_cast<int>(list.size());
    if (firstEntry < 0 || firstEntry >= count)
        return 0;
    pane.text.clear();
    pane.offsets.clear();
    pane.entryCounter = 0;
    int line = 1;
    int lineLength = 0;
    for (int k = firstEntry; k < count; ++k) {
        const std::string& full = list[static_cast<std::size_t>(k)];
        const std::string_view entry = std::string_view(full).substr(0, kPaneLineWidth);
        const int length = static_cast<int>(entry.size());
        if (!entry.empty() && entry.front() == kLineBreak) {
            // A line break always fits: it ends the line it is appended to.
            pane.text += entry;
            lineLength += length;
            if (line == kPaneLines) {
                pane.offsets.push_back(static_cast<int>(pane.text.size()) - 1);
                return k + 1;
            }
            pane.text += '\n';
            ++line;
            lineLength = 0;
            pane.offsets.push_back(static_cast<int>(pane.text.size()) - 1);
        } else {
            if (lineLength + length > kPaneLineWidth) {
                if (line == kPaneLines)
                    return k;
                pane.text += '\n';
                ++line;
                lineLength = 0;
            }
            pane.offsets.push_back(static_cast<int>(pane.text.size()));
            pane.text += entry;
            lineLength += length;
        }
    }
    return count;
}

void KaraokeDisplay::setList(SongLyricList list) { m_list = std::move(list); }

void KaraokeDisplay::clearPanes()
{
    m_top.clear();
    m_bottom.clear();
    m_nextToFill = 0;
}

void KaraokeDisplay::fill()
{
    clearPanes();
    const int afterTop = paneFill(m_top, m_list, 0);
    m_nextToFill = paneFill(m_bottom, m_list, afterTop);
}

void KaraokeDisplay::play()
{
    m_active = PaneId::Top;
    fill();
    m_top.selStart = 0;
    m_bottom.selStart = 0;
}

void KaraokeDisplay::update(const std::vector<std::string>& sung)
{
    for (const std::string& text : sung) {
        KaraokePane& a = paneRef(m_active);
        const int shown = static_cast<int>(a.offsets.size());
        if (a.entryCounter < shown) {
            a.selStart = 0;
            a.selLength = a.offsets[static_cast<std::size_t>(a.entryCounter)] + static_cast<int>(text.size());
            ++a.entryCounter;
        }
        if (a.entryCounter >= shown) {
            m_active = m_active == PaneId::Top ? PaneId::Bottom : PaneId::Top;
            m_top.entryCounter = 0;
            m_bottom.entryCounter = 0;
            if (m_nextToFill > 0) {
                const int next = paneFill(a, m_list, m_nextToFill);
                // Nothing follows: the finished pane is emptied rather than
                // left showing lines already sung as if they were still to come.
                if (next == 0)
                    a.clear();
                m_nextToFill = next;
                a.selStart = 0;
                a.selLength = 0;
            }
        }
    }
}

void KaraokeDisplay::removeHighlights()
{
    m_top.selStart = m_top.selLength = 0;
    m_bottom.selStart = m_bottom.selLength = 0;
}

} // namespace versilla::player
