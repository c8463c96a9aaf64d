#include "linequeue.h"

#include <utility>

namespace morlu {

void LineQueue::push(int connection, std::string_view line)
{
    if (m_size == m_ring.size())
        grow();
    QueuedLine& slot = m_ring[(m_head + m_size) % m_ring.size()];
    slot.connection = connection;
    slot.text.assign(line);
    ++m_size;
    ++m_waiting[connection];
}

bool LineQueue::pop(QueuedLine& out)
{
    if (m_size == 0)
        return false;
    QueuedLine& first = m_ring[m_head];
    out.connection = first.connection;
    std::swap(out.text, first.text);
    first.text.clear();
    // A buffer grown by a long line is not kept for reuse: after a flood the memory goes back.
    if (first.text.capacity() > kKeptCapacity)
        std::string().swap(first.text);
    m_head = (m_head + 1) % m_ring.size();
    --m_size;
    const auto count = m_waiting.find(out.connection);
    if (--count->second == 0)
        m_waiting.erase(count);
    return true;
}

std::size_t LineQueue::waitingFrom(int connection) const
{
    const auto count = m_waiting.find(connection);
    return count == m_waiting.end() ? 0 : count->second;
}

void LineQueue::clear()
{
    for (QueuedLine& line : m_ring)
        line.text.clear();
    m_head = 0;
    m_size = 0;
    m_waiting.clear();
}

void LineQueue::grow()
{
    // Only called when full: unroll the ring into a larger vector, keeping every string.
    std::vector<QueuedLine> larger(m_ring.empty() ? 16 : m_ring.size() * 2);
    for (std::size_t i = 0; i < m_size; ++i)
        larger[i] = std::move(m_ring[(m_head + i) % m_ring.size()]);
    m_ring = std::move(larger);
    m_head = 0;
}

} // namespace morlu
