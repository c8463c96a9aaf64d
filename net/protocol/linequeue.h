#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morlu {

/// One received line and the connection it came from (an id chosen by the queue's owner).
struct QueuedLine {
    int connection = 0;
    std::string text;
};

/**
 * First-in first-out queue of received lines, one per side: the host keeps one for all its connections,
 * a table one for its single connection. Lines from different connections are handled strictly in
 * arrival order. It also counts, in constant time, how many lines of each connection are waiting, so
 * the host can close a connection that floods it.
 *
 * Storage is a ring of reused strings: once the queue has seen its deepest point, push() and pop() do
 * not allocate for lines no longer than those seen before, up to kKeptCapacity bytes; a buffer grown
 * beyond that by a long line is freed when its line is taken, so a flood does not stay resident.
 */
class LineQueue {
public:
    /// Largest line buffer the ring keeps for reuse.
    static constexpr std::size_t kKeptCapacity = 4096;

    /// Appends a copy of @p line received on @p connection.
    void push(int connection, std::string_view line);
    /**
     * Moves the first line into @p out and removes it; false (and @p out untouched) when empty.
     * @p out's old buffer is kept for a later push, so a caller reusing one QueuedLine does not allocate.
     */
    bool pop(QueuedLine& out);
    /// The first line; the queue must not be empty.
    const QueuedLine& front() const { return m_ring[m_head]; }

    bool empty() const { return m_size == 0; }
    std::size_t size() const { return m_size; }
    /// Lines of @p connection still waiting.
    std::size_t waitingFrom(int connection) const;
    /// Removes every line.
    void clear();

private:
    void grow();

    std::vector<QueuedLine> m_ring;
    std::size_t m_head = 0;
    std::size_t m_size = 0;
    std::unordered_map<int, std::size_t> m_waiting;
};

} // namespace morlu
