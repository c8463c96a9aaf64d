#pragma once

#include "linequeue.h"

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace morlu {

/**
 * The host's received lines, one first-in first-out queue per connection, served in turn: pop() takes
 * the first line of the connection whose turn it is, and that connection then goes to the back of the
 * round. A table that sends a thousand lines therefore delays another table's next request by at most
 * one line per connection with lines waiting, not by a thousand; a lone table's lines come out exactly
 * in arrival order.
 *
 * Memory follows what waits: a connection's queue is freed as soon as its last line is taken or it is
 * dropped, so a flood leaves nothing behind once it has been served or thrown away.
 */
class FairLineQueue {
public:
    /// Appends a copy of @p line received on @p connection.
    void push(int connection, std::string_view line);
    /**
     * Moves the next line (see the class comment) into @p out and removes it; false (and @p out
     * untouched) when nothing waits.
     */
    bool pop(QueuedLine& out);
    /// Throws away every line of @p connection still waiting; returns how many there were.
    std::size_t drop(int connection);
    /// Removes every line.
    void clear();

    bool empty() const { return m_size == 0; }
    /// Lines waiting, all connections together.
    std::size_t size() const { return m_size; }
    /// Bytes of the lines waiting, all connections together.
    std::size_t bytes() const { return m_bytes; }
    /// Lines of @p connection still waiting.
    std::size_t waitingFrom(int connection) const;
    /// Bytes of the lines of @p connection still waiting.
    std::size_t bytesFrom(int connection) const;
    /// Connections with lines waiting.
    std::size_t connections() const { return m_lanes.size(); }

private:
    struct Lane {
        std::deque<std::string> lines;
        std::size_t bytes = 0;
    };
    std::unordered_map<int, Lane> m_lanes;
    std::deque<int> m_turns; ///< connections with lines waiting, in serving order
    std::size_t m_size = 0;
    std::size_t m_bytes = 0;
};

} // namespace morlu
