#include "fakeclock.h"

#include <algorithm>

namespace morlu::test {

void FakeClock::arm(TimerId id, int intervalMs)
{
    Entry& entry = m_timers[id];
    entry.armed = true;
    entry.interval = std::max(0, intervalMs);
    entry.due = m_now + entry.interval;
    entry.order = ++m_armings;
}

void FakeClock::stop(TimerId id)
{
    m_timers[id].armed = false;
}

bool FakeClock::armed(TimerId id) const
{
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second.armed;
}

int FakeClock::interval(TimerId id) const
{
    auto it = m_timers.find(id);
    return it == m_timers.end() ? 0 : it->second.interval;
}

FakeClock::Entry* FakeClock::nextDue()
{
    Entry* best = nullptr;
    for (auto& [id, entry] : m_timers) {
        if (!entry.armed)
            continue;
        if (!best || entry.due < best->due || (entry.due == best->due && entry.order < best->order))
            best = &entry;
    }
    return best;
}

bool FakeClock::fireNext()
{
    Entry* entry = nextDue();
    if (!entry)
        return false;
    TimerId id{};
    for (auto& [key, value] : m_timers)
        if (&value == entry)
            id = key;
    m_now = std::max(m_now, entry->due);
    // A periodic timer is due again one interval later unless the handler stops or re-arms it.
    entry->due = m_now + std::max(1, entry->interval);
    entry->order = ++m_armings;
    if (m_handler)
        m_handler(id);
    return true;
}

int FakeClock::advance(std::int64_t ms)
{
    const std::int64_t end = m_now + ms;
    int fired = 0;
    while (Entry* entry = nextDue()) {
        if (entry->due > end)
            break;
        fireNext();
        ++fired;
    }
    m_now = end;
    return fired;
}

int FakeClock::runUntilIdle(int maxFirings)
{
    int fired = 0;
    while (fired < maxFirings && fireNext())
        ++fired;
    return fired;
}

} // namespace morlu::test
