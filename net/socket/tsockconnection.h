#pragma once

#include "lineconnection.h"

#include <QTimer>

namespace morlu {

class TSock;

/**
 * A LineConnection over a TSock: the program's TCP connection, on the table's side (opened with
 * open()) and on the host's (made by TSockListener from an accepted socket). It keeps the socket's
 * behaviour and texts: a connection being made sends what waits once it is made, an orderly close by
 * the peer is reported as closed() after every line received before it, and an error report of the
 * socket ("Error #10054 (WSAECONNRESET)", a refused connection, ...) is failed() with that text. A
 * connection still being made when connectTimeout() runs out is given up: its socket is closed without
 * a closed() report, and failed("Error #10060 (WSAETIMEDOUT)") and connectFailed() follow.
 *
 * The socket is a child of this object and is destroyed with it, without reports. Its handlers belong
 * to this object; sock() is there for its settings and state (keepalive, the handle), not its handlers.
 */
class TSockConnection : public LineConnection {
    Q_OBJECT

public:
    /// A connection still to be opened, to port "7772" unless open() says otherwise.
    explicit TSockConnection(QObject* parent = nullptr);
    /// Takes over @p accepted, a connected socket made by TSock::Accept().
    explicit TSockConnection(TSock* accepted, QObject* parent = nullptr);
    ~TSockConnection() override;

    TSock& sock() { return *m_sock; }
    const TSock& sock() const { return *m_sock; }

    /// Sets the socket's HostName and PortName and calls Open().
    void open(const QString& host, const QString& port) override;
    void sendLine(std::string_view bytes) override;
    void close() override;

    qsizetype bytesToWrite() const override;
    /// The socket's HostName: the peer's dotted address on the host's side, the host's name on a table.
    QString peerName() const override;
    bool isOpen() const override;
    bool isConnecting() const override;
    bool isConnected() const override;
    void setReceiving(bool on) override;

private:
    void wire();
    void connectTimedOut();
    /// Closes the socket without a closed() report (a connection that was never made).
    void dropQuietly();

    TSock* m_sock;
    /// From open() or acceptance until the first "Socket Closed" report: closed() is due.
    bool m_open = false;
    /// From open() until the connection is made or given up.
    bool m_connecting = false;
    QTimer m_connectTimer;
};

} // namespace morlu
