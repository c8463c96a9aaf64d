#pragma once

#include "lineframer.h"

#include <QObject>
#include <QString>

#include <string_view>

namespace morlu {

/**
 * One connection between a table and the host, as both sides use it: it sends lines, reports the lines
 * it receives, and reports when it is made, when it ends in order and when it fails. The host and the
 * table see only this; what carries the bytes is an implementation's business: TSockConnection (TCP,
 * the program's) or MemoryConnection (two ends joined in one process, for tests).
 *
 * Lines: sendLine() writes its bytes as they are. A complete line ends with its 0xFF, which every
 * message writer already includes, so nothing is added; several lines, or part of one, may go in one
 * call. Received bytes are cut into lines at 0xFF by the connection's LineFramer and reported one by
 * one, without the 0xFF, in the order they were sent. A line longer than LineFramer::kMaxLine (65536
 * bytes) is a broken peer: lineTooLong() is reported once, no line is reported after it, and what to
 * do is the owner's choice (the host closes the connection). A connection set to drop over-long lines
 * (setDropOverlongLines(), the table's choice) reports lineTooLong() and goes on with the lines after
 * the dropped one.
 *
 * Reports are Qt signals, emitted on the thread that owns the object, never from inside sendLine():
 * - connected(): a connection started with open() has been made (the table's side);
 * - lineReceived(line): one line; the view is valid only during the call, so copy what is kept;
 * - lineTooLong(): see above;
 * - closed(): the connection has ended, either because the owner called close() (emitted from inside
 *   close()) or because the peer closed it in an orderly way (after every line it sent). Reported
 *   once per connection; destroying the object reports nothing;
 * - failed(error): the connection broke (refused, reset by the peer, timed out), with the text of the
 *   error, e.g. "Error #10054 (WSAECONNRESET)". Nothing else follows: the connection stays as it is
 *   until its owner closes it (which then reports closed()).
 * - connectFailed(reason): a connection started with open() was never made: refused, unreachable, or
 *   no answer within connectTimeout(). It follows the failed() report, and @p reason says why in
 *   words a player understands ("connection refused"). Calling open() again tries anew.
 *
 * Inside a handler it is safe to send, to close() the connection (no line is reported after that) or
 * to deleteLater() it; do not delete it there. An exception escaping a handler cannot cross the event
 * loop: it is passed to the uncaught-error handler (see uncaughterror.h).
 *
 * Ownership: whoever creates or accepts a connection owns it; a Qt parent may own it instead.
 */
class LineConnection : public QObject {
    Q_OBJECT

public:
    explicit LineConnection(QObject* parent = nullptr);
    ~LineConnection() override;

    /**
     * Starts connecting to @p host and @p port (a table joining a host). The outcome comes later, as
     * connected() or as failed(). Raises ESockException when the name or the port cannot be looked up.
     */
    virtual void open(const QString& host, const QString& port) = 0;
    /**
     * Writes @p bytes to the peer (see the class comment); what cannot go out at once waits, in order.
     * Before the connection is made the bytes wait for it. Raises ESockException ("Send - Socket Not
     * Connected") on a connection that is closed or was never opened.
     */
    virtual void sendLine(std::string_view bytes) = 0;
    /// Ends the connection; bytes still waiting to go out are dropped. Reports closed() (once).
    virtual void close() = 0;

    /// Bytes handed to sendLine() that the peer has not been given yet (the host drops a table that lets
    /// too much pile up here).
    virtual qsizetype bytesToWrite() const = 0;
    /// Who is at the other end, for logs (the peer's dotted address over TCP).
    virtual QString peerName() const = 0;
    /// True from open() (or acceptance) until close(), also while connecting or after a failure.
    virtual bool isOpen() const = 0;
    /// True while a connection started by open() is being made.
    virtual bool isConnecting() const = 0;
    /// True from the moment the connection is made (or accepted) until close(); a failure keeps it.
    virtual bool isConnected() const = 0;
    /// Bytes received after the last 0xFF, waiting for the rest of their line.
    std::size_t pendingBytes() const { return m_framer.pending(); }
    /**
     * Stops (false) or resumes (true) taking bytes from the peer: while stopped, the peer is held back by
     * the transport (TCP's receive window) and nothing new is reported; the setting holds for later
     * connections too. The table stops reading while too many lines wait to be handled. An in-memory
     * connection keeps delivering.
     */
    virtual void setReceiving(bool on) { (void)on; }
    /// When on, an over-long line is dropped (lineTooLong() still reported) and the lines after it come.
    void setDropOverlongLines(bool drop) { m_framer.setDropOverlong(drop); }

    /// How long open() waits for the connection to be made before it gives up (connectFailed()).
    static constexpr int kConnectTimeoutMs = 10000;
    int connectTimeout() const { return m_connectTimeout; }
    void setConnectTimeout(int milliseconds) { m_connectTimeout = milliseconds; }

signals:
    void connected();
    void lineReceived(std::string_view line);
    void lineTooLong();
    void closed();
    void failed(const QString& error);
    void connectFailed(const QString& reason);

protected:
    /**
     * For implementations: cuts @p bytes into lines and reports them (or lineTooLong()). Stops as soon as
     * a handler has closed the connection.
     */
    void deliver(std::string_view bytes);
    /// For implementations: a new connection starts with an empty receive tail.
    void resetFraming() { m_framer.reset(); }

private:
    LineFramer m_framer;
    int m_connectTimeout = kConnectTimeoutMs;
};

} // namespace morlu
