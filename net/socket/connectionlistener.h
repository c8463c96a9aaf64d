#pragma once

#include "lineconnection.h"

#include <QObject>
#include <QString>

#include <memory>

namespace morlu {

/**
 * The host's side of arriving tables: it listens, says when a connection waits (pending()), and hands
 * the waiting connection over on accept(). The host decides in pending() whether it has room, and
 * takes the connection either way (a refused table is told so before it is dropped). Implementations:
 * TSockListener (TCP, the program's) and MemoryListener (in-process, for tests).
 *
 * pending() is emitted from the event loop, on the owner's thread, and not again until accept() has
 * been called, however many connections wait; accept() re-arms it. An exception escaping the handler is
 * passed to the uncaught-error handler.
 */
class ConnectionListener : public QObject {
    Q_OBJECT

public:
    explicit ConnectionListener(QObject* parent = nullptr);
    ~ConnectionListener() override;

    /**
     * Starts listening on @p port (a decimal number or a service name; "0" asks for a free port, see
     * port()) on @p address (a dotted IPv4 address; empty for every local address). Listening already
     * does nothing. Raises ESockException when the port cannot be had ("Listen - Error Binding
     * Socket", ...).
     */
    virtual void listen(const QString& port, const QString& address = QString()) = 0;
    virtual bool isListening() const = 0;
    /// The port listened on; 0 before listen() (and always for a listener without ports).
    virtual quint16 port() const = 0;
    /**
     * Takes the first waiting connection, which the caller then owns, already connected. Returns null
     * when there is none or it could not be taken. May raise ESockException ("Accept - Socket Not In
     * Listening Mode").
     */
    virtual std::unique_ptr<LineConnection> accept() = 0;

signals:
    /// A connection waits to be accepted.
    void pending();
};

} // namespace morlu
