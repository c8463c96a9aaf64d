#include "memoryconnection.h"

#include "esockexception.h"
#include "sockerrors.h"
#include "uncaughterror.h"

#include <cerrno>

namespace morlu {

MemoryConnection::Ends MemoryConnection::pair(const QString& firstName, const QString& secondName)
{
    Ends ends{std::make_unique<MemoryConnection>(firstName), std::make_unique<MemoryConnection>(secondName)};
    ends.first->m_peer = ends.second.get();
    ends.second->m_peer = ends.first.get();
    return ends;
}

MemoryConnection::MemoryConnection(const QString& peerName, QObject* parent)
    : LineConnection(parent), m_peerName(peerName)
{
}

MemoryConnection::~MemoryConnection()
{
    if (!m_closed)
        leave(Ending::Orderly);
}

void MemoryConnection::post(std::function<void()> work)
{
    // Posted to this end: it runs after everything posted before, and not at all once this end is gone.
    QMetaObject::invokeMethod(
        this, [work = std::move(work)] { uncaughterror::guard(work); }, Qt::QueuedConnection);
}

void MemoryConnection::open(const QString&, const QString&)
{
    if (m_closed || m_connectedPosted)
        return;
    m_connectedPosted = true;
    post([this] {
        if (!m_closed)
            emit connected();
    });
}

void MemoryConnection::sendLine(std::string_view bytes)
{
    if (m_closed)
        throw ESockException("Send - Socket Not Connected");
    MemoryConnection* peer = m_peer;
    if (m_failed || peer == nullptr || bytes.empty())
        return;
    peer->m_inbox.append(bytes.data(), qsizetype(bytes.size()));
    if (!peer->m_deliveryPosted) {
        peer->m_deliveryPosted = true;
        peer->post([peer] { peer->takeInbox(); });
    }
}

void MemoryConnection::takeInbox()
{
    m_deliveryPosted = false;
    const QByteArray bytes = std::exchange(m_inbox, QByteArray());
    if (!m_closed && !bytes.isEmpty())
        deliver(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void MemoryConnection::close()
{
    end(Ending::Orderly);
}

void MemoryConnection::reset()
{
    end(Ending::Reset);
}

void MemoryConnection::end(Ending how)
{
    if (m_closed)
        return;
    leave(how);
    m_closed = true;
    m_inbox.clear();
    emit closed();
}

void MemoryConnection::leave(Ending how)
{
    MemoryConnection* peer = m_peer;
    m_peer = nullptr;
    if (peer == nullptr)
        return;
    peer->m_peer = nullptr;
    peer->post([peer, how] { peer->peerLeft(how); });
}

void MemoryConnection::peerLeft(Ending how)
{
    // Whatever the peer sent before leaving has been delivered by now: its delivery was posted first.
    if (m_closed)
        return;
    if (how == Ending::Reset) {
        m_failed = true;
        emit failed(sockerrors::text(sockerrors::fromErrno(ECONNRESET)));
        return;
    }
    m_closed = true;
    emit closed();
}

qsizetype MemoryConnection::bytesToWrite() const
{
    return m_peer ? m_peer->m_inbox.size() : 0;
}

} // namespace morlu
