#include "connectiontable.h"

#include "esockexception.h"
#include "linequeue.h"
#include "tsock.h"

namespace morlu {

int ConnectionTable::add(TSock* sock, int slot)
{
    const int id = m_nextId++;
    auto connection = std::make_unique<Connection>();
    connection->id = id;
    connection->slot = slot;
    connection->sock = sock;
    m_bySocket[sock] = id;
    m_connections.emplace(id, std::move(connection));
    return id;
}

ConnectionTable::Connection* ConnectionTable::find(int id)
{
    const auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : it->second.get();
}

const ConnectionTable::Connection* ConnectionTable::find(int id) const
{
    const auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : it->second.get();
}

ConnectionTable::Connection* ConnectionTable::find(const TSock* sock)
{
    const auto it = m_bySocket.find(sock);
    return it == m_bySocket.end() ? nullptr : find(it->second);
}

bool ConnectionTable::speaksFor(int id, int slot, int slotHeldBy) const
{
    const Connection* connection = find(id);
    if (connection == nullptr || connection->slot != slot)
        return false;
    if (connection->open)
        return slotHeldBy == id;
    return slotHeldBy == 0;
}

void ConnectionTable::receive(Connection& connection, LineQueue& queue)
{
    TSock* sock = connection.sock;
    if (sock == nullptr)
        return;
    QByteArray bytes;
    try {
        bytes = sock->Receive();
    } catch (const ESockException&) {
        return;
    }
    if (!connection.open || connection.closing)
        return;
    std::size_t waiting = queue.waitingFrom(connection.id);
    bool tooMany = false;
    const LineFramer::Status status = connection.framer.feed(
        std::string_view(bytes.constData(), std::size_t(bytes.size())), [&](std::string_view line) {
            if (tooMany)
                return;
            if (waiting >= m_maxWaitingLines) {
                tooMany = true;
                return;
            }
            queue.push(connection.id, line);
            ++waiting;
        });
    if (status == LineFramer::Status::LineTooLong)
        fault(connection, QStringLiteral("a line longer than %1 bytes").arg(LineFramer::kMaxLine), true);
    else if (tooMany)
        fault(connection, QStringLiteral("more than %1 lines waiting").arg(m_maxWaitingLines), true);
}

void ConnectionTable::send(int id, std::string_view line)
{
    Connection* connection = find(id);
    if (connection == nullptr || !connection->open || connection->closing || connection->sock == nullptr)
        return;
    const QPointer<TSock> sock = connection->sock;
    try {
        sock->Send(QByteArrayView(line.data(), qsizetype(line.size())));
    } catch (const ESockException& error) {
        fault(*connection, QString::fromLatin1(error.what()), false);
        return;
    }
    if (sock && !connection->closing && sock->outgoingSize() > m_maxOutgoing)
        fault(*connection, QStringLiteral("more than %1 bytes waiting to be sent").arg(m_maxOutgoing), true);
}

void ConnectionTable::fault(Connection& connection, const QString& why, bool discardLines)
{
    if (discardLines)
        connection.discard = true;
    if (!connection.open || connection.closing)
        return;
    connection.closing = true;
    if (m_onFault)
        m_onFault(connection.id, why);
}

void ConnectionTable::detach(int id)
{
    Connection* connection = find(id);
    if (connection == nullptr)
        return;
    for (auto it = m_bySocket.begin(); it != m_bySocket.end();) {
        if (it->second == id)
            it = m_bySocket.erase(it);
        else
            ++it;
    }
    connection->open = false;
    connection->sock = nullptr;
    connection->framer.reset();
}

void ConnectionTable::forgetIfIdle(int id, const LineQueue& queue)
{
    const Connection* connection = find(id);
    if (connection != nullptr && !connection->open && queue.waitingFrom(id) == 0)
        m_connections.erase(id);
}

} // namespace morlu
