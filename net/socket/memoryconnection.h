#pragma once

#include "lineconnection.h"

#include <QByteArray>
#include <QPointer>

#include <functional>
#include <memory>
#include <utility>

namespace morlu {

/**
 * One end of an in-process connection: two ends made by pair() are joined, and what one sends the other
 * receives. It behaves like a TCP connection seen from its owner, so the host and the table can be
 * tested without sockets: nothing is delivered from inside sendLine(); the bytes are posted through the
 * event loop and cut into lines at the other end when the loop gets there, in order. Bytes sent before
 * a close arrive before the close.
 *
 * - close() reports closed() here at once and, after the bytes already sent, an orderly close at the
 *   other end (closed() there).
 * - reset() is for tests: it ends the connection as a crashed peer does. This end closes (closed()
 *   here); the other end reports failed("Error #10054 (WSAECONNRESET)") after the bytes already sent.
 * - Destroying an end without closing it is an orderly close for the other end, without reports here.
 * - Bytes sent to an end that has gone, or from an end that failed, are dropped.
 *
 * Both ends count as connected from the start; open() only reports connected(), from the event loop.
 * An end that is closed stays closed.
 */
class MemoryConnection : public LineConnection {
    Q_OBJECT

public:
    using Ends = std::pair<std::unique_ptr<MemoryConnection>, std::unique_ptr<MemoryConnection>>;

    /// Two joined ends. @p firstName and @p secondName are what each end gives as peerName(): the name
    /// of the other side.
    static Ends pair(const QString& firstName = QStringLiteral("memory"),
                     const QString& secondName = QStringLiteral("memory"));

    explicit MemoryConnection(const QString& peerName, QObject* parent = nullptr);
    ~MemoryConnection() override;

    /// Reports connected() from the event loop (once); @p host and @p port are not used.
    void open(const QString& host, const QString& port) override;
    void sendLine(std::string_view bytes) override;
    void close() override;
    /// See the class comment.
    void reset();

    /// Bytes sent and not yet delivered at the other end.
    qsizetype bytesToWrite() const override;
    QString peerName() const override { return m_peerName; }
    bool isOpen() const override { return !m_closed; }
    bool isConnecting() const override { return false; }
    bool isConnected() const override { return !m_closed; }

private:
    enum class Ending { Orderly, Reset };

    void end(Ending how);
    /// Tells the other end, through the event loop, that this end has gone, and forgets it.
    void leave(Ending how);
    void post(std::function<void()> work);
    void takeInbox();
    void peerLeft(Ending how);

    QString m_peerName;
    QPointer<MemoryConnection> m_peer;
    QByteArray m_inbox; ///< bytes from the peer waiting for their delivery
    bool m_deliveryPosted = false;
    bool m_connectedPosted = false;
    bool m_closed = false;
    bool m_failed = false;
};

} // namespace morlu
