#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morlu {

class LineQueue;

/**
 * Cuts the bytes received on one connection into lines at the byte 0xFF. The text after the last 0xFF
 * stays in the receive tail and is completed by the next read on the same connection. Lines are handed
 * out in order, without their 0xFF; an empty line (two 0xFF in a row) is a line like any other.
 *
 * A line may hold at most kMaxLine bytes. The limit is checked before anything is buffered, so the
 * tail never grows beyond it, and it holds whether the line arrives in one read or in many. On an
 * over-long line feed() returns Status::LineTooLong: the lines before it have been handed out, nothing
 * after it is, and every later feed() fails the same way until reset(). The owner closes the
 * connection. A framer set to drop over-long lines (setDropOverlong()) instead throws the line away
 * up to its 0xFF, returns Status::LineDropped and goes on with the lines after it: the table does so,
 * since one bad line from the host is no reason to leave the game.
 *
 * One framer per connection; no Qt, no threads.
 */
class LineFramer {
public:
    /// Longest line accepted, 0xFF not counted.
    static constexpr std::size_t kMaxLine = 65536;

    enum class Status { Ok, LineTooLong, LineDropped };

    /// When on, an over-long line is dropped and framing goes on after it (see the class comment).
    void setDropOverlong(bool drop) { m_dropOverlong = drop; }
    bool dropsOverlong() const { return m_dropOverlong; }

    /**
     * Cuts @p bytes, calling @p onLine(std::string_view line) once per complete line. The view is only
     * valid during the call. Returns LineTooLong (see the class comment) when a line exceeds kMaxLine.
     */
    template <typename OnLine> Status feed(std::string_view bytes, OnLine&& onLine);

    /// Same, appending every line to @p queue under @p connection.
    Status feed(std::string_view bytes, LineQueue& queue, int connection);

    /// Bytes waiting for their 0xFF.
    std::size_t pending() const { return m_tail.size(); }
    /// True after an over-long line, until reset().
    bool failed() const { return m_failed; }
    /// Drops the tail and the failure; the framer is as new (the tail keeps its capacity).
    void reset()
    {
        m_tail.clear();
        m_failed = false;
        m_skipping = false;
    }

private:
    /// An over-long line was found: true when framing stops (failed), false when the line is skipped.
    bool overlong()
    {
        m_tail.clear();
        if (!m_dropOverlong) {
            m_failed = true;
            return true;
        }
        m_skipping = true;
        return false;
    }

    std::string m_tail;
    bool m_failed = false;
    bool m_dropOverlong = false;
    bool m_skipping = false; ///< dropping an over-long line until its 0xFF
};

template <typename OnLine> LineFramer::Status LineFramer::feed(std::string_view bytes, OnLine&& onLine)
{
    if (m_failed)
        return Status::LineTooLong;
    constexpr char end = '\xFF';
    Status status = Status::Ok;
    for (;;) {
        const std::size_t at = bytes.find(end);
        if (m_skipping) {
            if (at == std::string_view::npos)
                return status;
            m_skipping = false;
            bytes.remove_prefix(at + 1);
            continue;
        }
        // The length of the line that ends at @p at (or is still open), the tail included.
        const std::size_t piece = at == std::string_view::npos ? bytes.size() : at;
        if (m_tail.size() + piece > kMaxLine) {
            if (overlong())
                return Status::LineTooLong;
            status = Status::LineDropped;
            continue;
        }
        if (at == std::string_view::npos) {
            m_tail.append(bytes);
            return status;
        }
        if (m_tail.empty()) {
            onLine(bytes.substr(0, at));
        } else {
            m_tail.append(bytes.data(), at);
            onLine(std::string_view(m_tail));
            m_tail.clear();
        }
        bytes.remove_prefix(at + 1);
    }
}

} // namespace morlu
