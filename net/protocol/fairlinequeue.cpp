#include "fairlinequeue.h"

#include "linequeue.h"

#include <algorithm>
#include <utility>

namespace morlu {

void FairLineQueue::push(int connection, std::string_view line)
{
    Lane& lane = m_lanes[connection];
    if (lane.lines.empty())
        m_turns.push_back(connection);
    lane.lines.emplace_back(line);
    lane.bytes += line.size();
    ++m_size;
    m_bytes += line.size();
}

bool FairLineQueue::pop(QueuedLine& out)
{
    if (m_turns.empty())
        return false;
    const int connection = m_turns.front();
    m_turns.pop_front();
    const auto lane = m_lanes.find(connection);
    std::string& first = lane->second.lines.front();
    lane->second.bytes -= first.size();
    m_bytes -= first.size();
    --m_size;
    out.connection = connection;
    // The line's own buffer moves out and the caller's old one is freed: nothing of a flood stays.
    out.text = std::move(first);
    lane->second.lines.pop_front();
    if (lane->second.lines.empty())
        m_lanes.erase(lane);
    else
        m_turns.push_back(connection);
    return true;
}

std::size_t FairLineQueue::drop(int connection)
{
    const auto lane = m_lanes.find(connection);
    if (lane == m_lanes.end())
        return 0;
    const std::size_t count = lane->second.lines.size();
    m_bytes -= lane->second.bytes;
    m_size -= count;
    m_lanes.erase(lane);
    m_turns.erase(std::remove(m_turns.begin(), m_turns.end(), connection), m_turns.end());
    return count;
}

void FairLineQueue::clear()
{
    m_lanes.clear();
    m_turns.clear();
    m_size = 0;
    m_bytes = 0;
}

std::size_t FairLineQueue::waitingFrom(int connection) const
{
    const auto lane = m_lanes.find(connection);
    return lane == m_lanes.end() ? 0 : lane->second.lines.size();
}

std::size_t FairLineQueue::bytesFrom(int connection) const
{
    const auto lane = m_lanes.find(connection);
    return lane == m_lanes.end() ? 0 : lane->second.bytes;
}

} // namespace morlu
