#pragma once

#include "tsock.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace morlu::test {

/// How long a table test waits for a connection or a line, in milliseconds.
inline constexpr int kWait = 15000;

/// A stand-in host: listens on @p port (a free one by default), takes one table and records the lines it sends.
class FakeHost {
public:
    explicit FakeHost(int port = 0)
    {
        m_listener.setPortName(QString::number(port));
        m_listener.OnAccept = [this](TSock*) {
            if (m_listener.Accept(m_peer)) {
                m_peer->OnRead = [this](TSock* sock, qsizetype) { m_received.append(sock->Receive()); };
            }
        };
        m_listener.setListen(true);
    }
    int port() const { return m_listener.localPort(); }
    bool hasTable() const { return m_peer != nullptr && m_peer->isConnected(); }
    void send(const QString& line) { m_peer->Send(line.toUtf8().append('\xFF')); }
    void close() { m_peer->Close(); }
    /// Lines sent by the table, as raw byte strings cut at the 0xFF.
    QList<QByteArray> receivedLines() const
    {
        QList<QByteArray> lines = m_received.split('\xFF');
        lines.removeAll(QByteArray());
        return lines;
    }

private:
    TSock m_listener;
    TSock* m_peer = nullptr;
    QByteArray m_received;
};

} // namespace morlu::test
