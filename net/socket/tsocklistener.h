#pragma once

#include "connectionlistener.h"
#include "tsock.h"

namespace morlu {

/**
 * A ConnectionListener over the listening TSock `Sock1` (port "7772" by default, every local address):
 * the program's. A waiting connection is announced once until accept() takes it, as the socket does.
 * Accepted connections are TSockConnections with TCP keepalive on (probes after 60 s of silence), so
 * a table whose machine vanishes is noticed as a failure. When the socket gives nothing, accept()
 * returns null (the socket reports "Could Not Accept Connection").
 */
class TSockListener : public ConnectionListener {
    Q_OBJECT

public:
    explicit TSockListener(QObject* parent = nullptr);
    ~TSockListener() override;

    /// Sets PortName, ListenAddress and Listen of `Sock1`; its ESockException texts pass through.
    void listen(const QString& port, const QString& address = QString()) override;
    bool isListening() const override { return m_sock1.Listen(); }
    quint16 port() const override { return m_sock1.localPort(); }
    std::unique_ptr<LineConnection> accept() override;

    TSock& sock() { return m_sock1; }

private:
    TSock m_sock1;
};

} // namespace morlu
