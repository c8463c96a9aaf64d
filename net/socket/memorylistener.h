#pragma once

#include "connectionlistener.h"
#include "memoryconnection.h"

#include <deque>

namespace morlu {

/**
 * A ConnectionListener for tests: tables connect in-process with connect(), which returns the table's
 * end at once and keeps the other end waiting for accept(); pending() comes from the event loop, once
 * until accept() has been called, like the TCP listener's. It has no port (port() is 0).
 *
 * Ends still waiting when the listener is destroyed go with it, which closes them for their tables.
 */
class MemoryListener : public ConnectionListener {
    Q_OBJECT

public:
    explicit MemoryListener(QObject* parent = nullptr);
    ~MemoryListener() override;

    /// Starts listening; @p port and @p address are not used.
    void listen(const QString& port, const QString& address = QString()) override;
    bool isListening() const override { return m_listening; }
    quint16 port() const override { return 0; }
    std::unique_ptr<LineConnection> accept() override;

    /**
     * A table connects: returns its end (whose peerName() is "127.0.0.1"); the host's end, whose
     * peerName() is @p tableName, waits for accept(). Without listen() the table's end reports
     * failed("Error #10061 (WSAECONNREFUSED)") and connectFailed() from the event loop, as a refused
     * connection does.
     */
    std::unique_ptr<MemoryConnection> connect(const QString& tableName = QStringLiteral("memory"));

    /// Connections waiting for accept().
    std::size_t waiting() const { return m_waiting.size(); }

private:
    void notifyLater();

    std::deque<std::unique_ptr<MemoryConnection>> m_waiting;
    bool m_listening = false;
    bool m_armed = true;
    bool m_notifyPosted = false;
};

} // namespace morlu
