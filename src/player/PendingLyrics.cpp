#include "player/PendingLyrics.h"

namespace versilla::player {

void PendingLyrics::push(std::string text, std::int32_t eventTick)
{
    const std::lock_guard<std::mutex> guard(m_lock);
    m_texts.push_back(std::move(text));
    m_lastEventTick = eventTick;
}

void PendingLyrics::setLastEventTick(std::int32_t eventTick)
{
    const std::lock_guard<std::mutex> guard(m_lock);
    m_lastEventTick = eventTick;
}

PendingLyrics::Taken PendingLyrics::takeAll()
{
    Taken taken;
    const std::lock_guard<std::mutex> guard(m_lock);
    taken.texts.swap(m_texts);
    taken.lastEventTick = m_lastEventTick;
    return taken;
}

void PendingLyrics::clear()
{
    const std::lock_guard<std::mutex> guard(m_lock);
    m_texts.clear();
}

std::int32_t PendingLyrics::lastEventTick() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_lastEventTick;
}

bool PendingLyrics::empty() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_texts.empty();
}

} // namespace versilla::player
