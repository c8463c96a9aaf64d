#include "connectiontable.h"

#include "esockexception.h"
#include "fairlinequeue.h"

namespace morlu {

int ConnectionTable::add(LineConnection* link, int slot)
{
    const int id = m_nextId++;
    auto connection = std::make_unique<Connection>();
    connection->id = id;
    connection->slot = slot;
    connection->link = link;
    connection->address = link->peerName();
    m_byLink[link] = id;
    m_connections.emplace(id, std::move(connection));
    return id;
}

int ConnectionTable::waitingForLogin(const QString& address) const
{
    int waiting = 0;
    for (const auto& [id, connection] : m_connections) {
        if (connection->open && !connection->closing && !connection->loggedIn && connection->address == address)
            ++waiting;
    }
    return waiting;
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

ConnectionTable::Connection* ConnectionTable::find(const LineConnection* link)
{
    const auto it = m_byLink.find(link);
    return it == m_byLink.end() ? nullptr : find(it->second);
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

void ConnectionTable::receive(Connection& connection, std::string_view line, FairLineQueue& queue)
{
    if (!connection.open || connection.closing)
        return;
    if (queue.waitingFrom(connection.id) >= m_maxWaitingLines) {
        fault(connection, QStringLiteral("more than %1 lines waiting").arg(m_maxWaitingLines), true);
        return;
    }
    if (queue.bytesFrom(connection.id) + line.size() > m_maxWaitingBytes) {
        fault(connection, QStringLiteral("more than %1 bytes waiting").arg(m_maxWaitingBytes), true);
        return;
    }
    queue.push(connection.id, line);
}

void ConnectionTable::lineTooLong(Connection& connection)
{
    if (connection.open && !connection.closing)
        fault(connection, QStringLiteral("a line longer than %1 bytes").arg(LineFramer::kMaxLine), true);
}

void ConnectionTable::send(int id, std::string_view line)
{
    Connection* connection = find(id);
    if (connection == nullptr || !connection->open || connection->closing || connection->link == nullptr)
        return;
    const QPointer<LineConnection> link = connection->link;
    try {
        link->sendLine(line);
    } catch (const ESockException& error) {
        fault(*connection, QString::fromLatin1(error.what()), false);
        return;
    }
    if (link && !connection->closing && link->bytesToWrite() > m_maxOutgoing)
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
    for (auto it = m_byLink.begin(); it != m_byLink.end();) {
        if (it->second == id)
            it = m_byLink.erase(it);
        else
            ++it;
    }
    connection->open = false;
    connection->link = nullptr;
}

void ConnectionTable::forgetIfIdle(int id, const FairLineQueue& queue)
{
    const Connection* connection = find(id);
    if (connection != nullptr && !connection->open && queue.waitingFrom(id) == 0)
        m_connections.erase(id);
}

} // namespace morlu
