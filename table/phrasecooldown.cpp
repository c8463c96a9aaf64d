#include "phrasecooldown.h"

PhraseCooldown::PhraseCooldown(Clock now) : m_now(std::move(now))
{
    if (!m_now) {
        m_elapsed.start();
        m_now = [this] { return std::int64_t(m_elapsed.elapsed()); };
    }
}

bool PhraseCooldown::ready() const
{
    return !m_running || m_now() - m_startedAt >= kMilliseconds;
}

void PhraseCooldown::start()
{
    m_running = true;
    m_startedAt = m_now();
}
