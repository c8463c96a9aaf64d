#pragma once

#include "lineconnection.h"
#include "waituntil.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morlu::test {

/// The command word of a received line (the text before the first "+").
std::string_view wordOf(std::string_view line);

/**
 * A scripted table over a line connection: over TCP to a port on the loopback, or over an in-memory
 * end joined to the host. It keeps every line the host sends (without its 0xFF), and sends whole lines
 * or raw bytes. Waits spin the event loop with a bound, so a host that does not answer fails the test
 * instead of hanging it.
 */
class TestTable {
public:
    /// Connects over TCP to 127.0.0.1:@p port.
    explicit TestTable(quint16 port);
    /// Runs over @p connection, already joined to the host (a MemoryConnection from a MemoryListener).
    explicit TestTable(std::unique_ptr<LineConnection> connection);
    ~TestTable();
    TestTable(const TestTable&) = delete;
    TestTable& operator=(const TestTable&) = delete;

    /// Called for each received line, after it was recorded.
    std::function<void(std::string_view line)> onLine;
    /// When false, lines are only handed to onLine and not kept (a long run would pile them up);
    /// lines(), waitFor() and login() then see nothing.
    bool keepLines = true;

    /// Waits until the host has given this table its slot (CMD_sendlogininfo); the slot, or 0.
    int waitSlot();
    /// Waits for the slot, logs in with @p name and @p version, and waits until the host announced it.
    bool login(const std::string& name, const std::string& version = "1.0.5");

    /// Sends @p line and the 0xFF.
    void send(std::string_view line);
    /// Sends @p bytes as they are.
    void sendRaw(const QByteArray& bytes);

    /// Closes in an orderly way.
    void close();
    /// Drops the connection with a reset (SO_LINGER 0 over TCP), as a crashed table would.
    void reset();

    bool connected() const;
    /// True once the host closed the connection.
    bool closedByHost() const { return m_closedByHost; }
    int slot() const { return m_slot; }

    const std::vector<std::string>& lines() const { return m_lines; }
    /// Lines whose command word is @p word, in order, from line number @p from on.
    std::vector<std::string> linesOf(std::string_view word, std::size_t from = 0) const;
    /// Lines from number @p from on.
    std::vector<std::string> linesFrom(std::size_t from) const;
    std::size_t count() const { return m_lines.size(); }
    bool has(std::string_view line) const;
    /// Waits until a line equal to @p line arrived at or after line number @p from.
    bool waitFor(std::string_view line, std::size_t from = 0, int milliseconds = 10000);
    /// Waits until a line with command word @p word arrived at or after line number @p from.
    bool waitForWord(std::string_view word, std::size_t from = 0, int milliseconds = 10000);
    /// Waits until the host closed the connection.
    bool waitClosed(int milliseconds = 10000);
    /// Bytes received after the last 0xFF (an unfinished line).
    std::size_t pendingBytes() const { return m_connection->pendingBytes(); }
    /// Lines longer than LineFramer::kMaxLine that arrived; like a real table, this one drops them and
    /// stays connected.
    int overlongLines() const { return m_overlongLines; }

private:
    void wire();
    void read(std::string_view line);

    std::unique_ptr<LineConnection> m_connection;
    std::vector<std::string> m_lines;
    int m_slot = 0;
    bool m_closedByHost = false;
    int m_overlongLines = 0;
};

} // namespace morlu::test
