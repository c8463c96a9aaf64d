#pragma once

#include <string_view>

/**
 * How the table's handlers and the player's input ask something of the host: one complete line over
 * the table's connection. The connection (TableConnection) implements it; tests record the lines.
 */
class HostRequests {
public:
    virtual ~HostRequests() = default;

    /// Sends one complete line (0xFF included) to the host. A line that cannot be sent is reported to
    /// the player by the implementation, never thrown at the caller.
    virtual void sendline(std::string_view line) = 0;
    /// False while a line sent now would be dropped (the table has lost its host and has no new connection
    /// yet, or shows a game record).
    virtual bool canSend() const { return true; }
    /**
     * Sends @p line, a move the player made on the board (a card, a contract, a game start), only while the
     * host can take it, and says whether it went out: a caller does not answer a dropped move as if the host
     * had taken it. After a lost connection moves are dropped until the host has seated the table again,
     * though the table's own login lines go out on the new connection at once.
     */
    virtual bool sendRequest(std::string_view line)
    {
        if (!canSend())
            return false;
        sendline(line);
        return true;
    }
};
