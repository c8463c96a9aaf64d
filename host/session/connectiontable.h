#pragma once

#include "lineconnection.h"
#include "lineframer.h"

#include <QPointer>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace morlu {

class FairLineQueue;

/**
 * The host's record of every accepted connection and the limits that keep one table from exhausting
 * the host. Each connection gets an id that is never reused; queued lines carry it, so a request can
 * be checked against the slot its connection was given, and lines of a connection that is gone can
 * be told apart from those of a newer one in the same slot.
 *
 * A record lives while its connection is open and, after the departure, as long as lines of it still
 * wait in the host's queue (forgetIfIdle() drops it then). The connections themselves belong to the
 * host; a record only points at one.
 *
 * Limits, each of which makes the owner close the connection as a departure (through the fault
 * handler, which is called at most once per connection and must not close anything at once: it may
 * run in the middle of sending a broadcast):
 * - a line longer than LineFramer::kMaxLine (65536 bytes), which the connection's framer finds, also
 *   while the line is still partial;
 * - more than maxWaitingLines() lines, or more than maxWaitingBytes() bytes, of the connection waiting
 *   in the queue;
 * - more than maxOutgoing() bytes handed to the connection and not yet taken by the system;
 * - a failure report of the connection, or a send the connection refuses.
 */
class ConnectionTable {
public:
    struct Connection {
        int id = 0;
        int slot = 0;
        QString address;               ///< where it comes from (the peer's address over TCP)
        QPointer<LineConnection> link; ///< null once the departure has run
        bool open = true;              ///< false once the departure has run
        bool closing = false;          ///< a fault was reported; nothing more is sent or received
        bool discard = false;          ///< closed for abuse: its waiting lines are dropped undispatched
        bool loggedIn = false;         ///< its login has been handled; a second one is ignored
        bool seatKeys = false;         ///< it asked for its seat key: it also hears the words only such tables hear
        bool removed = false;          ///< slot 1 removed it: its departure is told as a removal
        int hintChanges = 0;           ///< the host's count of hint-setting changes at its login
    };

    /// Why a connection must go; handed to the fault handler with a text for the log.
    using FaultHandler = std::function<void(int id, const QString& why)>;

    static constexpr std::size_t kMaxWaitingLines = 1024;
    /// Sixty-four lines of the longest kind: far more than a table ever has waiting.
    static constexpr std::size_t kMaxWaitingBytes = std::size_t(4) << 20;
    static constexpr qsizetype kMaxOutgoing = qsizetype(4) << 20;

    void setFaultHandler(FaultHandler handler) { m_onFault = std::move(handler); }

    /// A new record for @p link, accepted into @p slot. Returns its id (1, 2, ... never reused).
    int add(LineConnection* link, int slot);

    /// Open connections from @p address that have not logged in yet.
    int waitingForLogin(const QString& address) const;

    Connection* find(int id);
    const Connection* find(int id) const;
    /// The open record of @p link; null for any other connection.
    Connection* find(const LineConnection* link);

    /**
     * True when a request naming @p slot may come from connection @p id: the slot is the one the
     * connection was given and, if the connection has gone, no newer connection holds the slot
     * (@p slotHeldBy is the id the slot record names now, 0 when free).
     */
    bool speaksFor(int id, int slot, int slotHeldBy) const;

    /**
     * Appends @p line, received on @p connection, to @p queue. Reports a fault (and queues nothing more)
     * when too many lines of the connection wait. Lines of a closing or departed connection are thrown
     * away.
     */
    void receive(Connection& connection, std::string_view line, FairLineQueue& queue);
    /// The connection reported a line longer than LineFramer::kMaxLine: a fault, unless it is closing.
    void lineTooLong(Connection& connection);

    /// Sends @p line (0xFF included) to connection @p id when it is open; reports a fault when the
    /// connection refuses it or the bytes waiting to go out pass maxOutgoing().
    void send(int id, std::string_view line);

    /// Reports a fault on @p connection unless one was reported already.
    void fault(Connection& connection, const QString& why, bool discardLines);

    /// The departure has run: forget the connection; the record stays while lines of it wait.
    void detach(int id);
    /// Drops the record of a departed connection once no line of it waits in @p queue.
    void forgetIfIdle(int id, const FairLineQueue& queue);

    std::size_t size() const { return m_connections.size(); }

    void setMaxWaitingLines(std::size_t lines) { m_maxWaitingLines = lines; }
    void setMaxWaitingBytes(std::size_t bytes) { m_maxWaitingBytes = bytes; }
    std::size_t maxWaitingBytes() const { return m_maxWaitingBytes; }
    std::size_t maxWaitingLines() const { return m_maxWaitingLines; }
    void setMaxOutgoing(qsizetype bytes) { m_maxOutgoing = bytes; }
    qsizetype maxOutgoing() const { return m_maxOutgoing; }

private:
    std::unordered_map<int, std::unique_ptr<Connection>> m_connections;
    std::unordered_map<const LineConnection*, int> m_byLink;
    FaultHandler m_onFault;
    int m_nextId = 1;
    std::size_t m_maxWaitingLines = kMaxWaitingLines;
    std::size_t m_maxWaitingBytes = kMaxWaitingBytes;
    qsizetype m_maxOutgoing = kMaxOutgoing;
};

} // namespace morlu
