#include "tsock.h"

#include "sockerrors.h"
#include "socklookup.h"
#include "tsockdetail.h"
#include "uncaughterror.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace morlu {

namespace {

constexpr qsizetype kReadSize = 32768;
// As many waiting connections as the system allows: under churn a short queue makes connects wait
// for the client's retransmission.
constexpr int kBacklog = SOMAXCONN;
// Sent bytes are dropped from the front of the outgoing buffer lazily, once they make up this much.
constexpr qsizetype kCompactAt = 1 << 20;

bool wouldBlock(int err)
{
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

} // namespace

using tsockdetail::call;
using tsockdetail::disableNagle;

TSock::TSock(QObject* parent) : QObject(parent) {}

TSock::~TSock()
{
    // No reports from here: handlers must not see an object that is being destroyed.
    dropNotifiers();
    if (m_fd >= 0)
        ::close(m_fd);
}

void TSock::setUncaughtErrorHandler(std::function<void(const QString& text)> handler)
{
    uncaughterror::setHandler(std::move(handler));
}

void TSock::setHostName(const QString& name)
{
    m_hostName = name;
    if (m_connected)
        report(TSocketInfo::Lookup, QStringLiteral("Setting HostName While Connected Has No Effect"));
}

void TSock::setPortName(const QString& name)
{
    m_portName = name;
    if (m_connected)
        report(TSocketInfo::Lookup, QStringLiteral("Setting PortName While Connected Has No Effect"));
}

void TSock::setListen(bool listen)
{
    if (!listen) {
        if (!m_listen)
            return;
        m_listen = false;
        QPointer<TSock> alive(this);
        Close();
        if (alive)
            report(TSocketInfo::Listen, QStringLiteral("Listening Stopped"));
        return;
    }
    if (m_listen) {
        report(TSocketInfo::Listen, QStringLiteral("Listening Already Running"));
        return;
    }
    if (m_fd >= 0)
        throw ESockException("Listen - Socket Already In Use");
    // Every local address: IPv6 and IPv4 on one socket when the system has IPv6, else every IPv4 one.
    QString bindText = m_listenAddress;
    if (bindText.isEmpty()) {
        m_fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const int v6only = 0;
        if (m_fd >= 0 && ::setsockopt(m_fd, IPPROTO_IPV6, IPV6_V6ONLY, &v6only, sizeof v6only) == 0) {
            bindText = QStringLiteral("::");
        } else {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = -1;
            bindText = QStringLiteral("0.0.0.0");
        }
    }
    const std::optional<socklookup::SocketAddress> family = socklookup::socketAddress(bindText, 0);
    if (m_fd < 0)
        m_fd = ::socket(family ? family->family() : AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        throw ESockException("Listen - Error Binding Socket");
    const quint16 port = lookupPort();
    const int reuse = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    const std::optional<socklookup::SocketAddress> address = socklookup::socketAddress(bindText, port);
    if (!address)
        throw ESockException("Listen - Error Binding Socket");
    if (::bind(m_fd, address->data(), address->length) != 0)
        throw ESockException("Listen - Error Binding Socket", sockerrors::fromErrno(errno));
    if (::listen(m_fd, kBacklog) != 0)
        throw ESockException("Listen - Error Starting Listen");
    // Watch only once listening: an unbound or failed handle would look readable for ever.
    watch(true, false);
    m_listen = true;
    report(TSocketInfo::Listen, QStringLiteral("Listening Started"));
}

bool TSock::Accept(TSock*& newSock)
{
    newSock = nullptr;
    if (!m_listen)
        throw ESockException("Accept - Socket Not In Listening Mode");
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    const int fd = ::accept4(m_fd, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    // Calling accept re-arms the listener's notification, whatever it gave.
    if (m_readNotifier)
        m_readNotifier->setEnabled(true);
    if (fd < 0) {
        report(TSocketInfo::Accept, QStringLiteral("Could Not Accept Connection"));
        return false;
    }
    disableNagle(fd);
    auto* sock = new TSock(this);
    sock->m_blocking = m_blocking;
    sock->m_blockingTimeout = m_blockingTimeout;
    sock->OnRead = OnRead;
    sock->OnWrite = OnWrite;
    sock->OnDisconnect = OnDisconnect;
    sock->OnInfo = OnInfo;
    sock->m_fd = fd;
    sock->m_connected = true;
    sock->watch(true, false);
    QPointer<TSock> alive(this);
    QPointer<TSock> accepted(sock);
    sock->setPortName(m_portName);
    if (accepted)
        accepted->setHostName(socklookup::addressText(reinterpret_cast<const sockaddr*>(&peer)));
    if (!alive)
        return false;
    report(TSocketInfo::Accept, QStringLiteral("Created New TSock Structure"));
    newSock = accepted.data();
    return newSock != nullptr;
}

bool TSock::Send(QByteArrayView data)
{
    if (m_fd < 0)
        throw ESockException("Send - Socket Not Connected");
    if (m_listen)
        throw ESockException("Send - Cannot Send On A Listener Socket");
    if (m_outgoingStart == m_outgoing.size()) {
        m_outgoing.clear();
        m_outgoingStart = 0;
    }
    m_outgoing.append(data);
    if (outgoingSize() == 0 || m_connecting)
        return true;
    if (!m_connected) {
        // A handle that never got connected (a failed attempt) cannot take data: say so.
        discardOutgoing();
        reportError(sockerrors::fromErrno(ENOTCONN));
        return true;
    }
    QPointer<TSock> alive(this);
    report(TSocketInfo::Send, QStringLiteral("Non-Blocking Outgoing Data"));
    if (alive && m_fd >= 0 && outgoingSize() > 0)
        sendWaiting();
    return true;
}

QByteArray TSock::Receive()
{
    if (m_fd < 0 && m_incoming.isEmpty())
        throw ESockException("Receive - Socket Not Connected");
    if (m_listen)
        throw ESockException("Receive - Cannot Receive On A Listener Socket");
    return std::exchange(m_incoming, QByteArray());
}

bool TSock::Close()
{
    QPointer<TSock> alive(this);
    bool closed = false;
    try {
        ++m_generation;
        dropNotifiers();
        if (m_fd >= 0)
            closed = ::close(m_fd) == 0;
        m_fd = -1;
        m_connected = false;
        m_connecting = false;
        m_failed = false;
        discardOutgoing();
        if (!m_listen)
            report(TSocketInfo::Close, QStringLiteral("Socket Closed"));
    } catch (...) {
        // Closing never fails towards the caller, whatever the report handler did.
    }
    if (alive)
        m_listen = false;
    return closed;
}

quint16 TSock::localPort() const
{
    if (m_fd < 0)
        return 0;
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return socklookup::addressPort(reinterpret_cast<const sockaddr*>(&address));
}

bool TSock::watchingRead() const
{
    return m_readNotifier && m_readNotifier->isEnabled();
}

bool TSock::watchingWrite() const
{
    return m_writeNotifier && m_writeNotifier->isEnabled();
}

void TSock::report(TSocketInfo info, const QString& text)
{
    if (!OnInfo)
        return;
    try {
        call(OnInfo, this, info, text);
    } catch (...) {
        throw ESockException("Error here");
    }
}

void TSock::reportError(int code)
{
    report(TSocketInfo::Error, sockerrors::text(code));
}

void TSock::failConnection(int err)
{
    // The connection is unusable: stop watching it and keep the handle until the owner closes it.
    m_connecting = false;
    m_failed = true;
    discardOutgoing();
    watch(false, false);
    reportError(sockerrors::fromErrno(err));
}

void TSock::watch(bool read, bool write)
{
    if (m_fd < 0)
        return;
    if (!m_readNotifier) {
        m_readNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_readNotifier, &QSocketNotifier::activated, this,
                [this] { uncaughterror::guard([this] { whenReadable(); }); });
        m_writeNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
        connect(m_writeNotifier, &QSocketNotifier::activated, this,
                [this] { uncaughterror::guard([this] { whenWritable(); }); });
    }
    m_readNotifier->setEnabled(read && (m_reading || m_listen));
    m_writeNotifier->setEnabled(write);
}

void TSock::setReading(bool on)
{
    m_reading = on;
    // Only a connection that is made and still reads has its notification switched.
    if (m_readNotifier && !m_listen && m_connected && !m_failed)
        m_readNotifier->setEnabled(on);
}

void TSock::dropNotifiers()
{
    // Disabled at once, freed later: one of them may be the sender of the running notification.
    for (QSocketNotifier* notifier : {m_readNotifier, m_writeNotifier}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->disconnect(this);
            notifier->deleteLater();
        }
    }
    m_readNotifier = nullptr;
    m_writeNotifier = nullptr;
}

void TSock::updateWriteWatch()
{
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_failed && (m_connecting || outgoingSize() > 0));
}

void TSock::discardOutgoing()
{
    m_outgoing.clear();
    m_outgoingStart = 0;
}

void TSock::sendWaiting()
{
    const ssize_t sent = ::send(m_fd, m_outgoing.constData() + m_outgoingStart, size_t(outgoingSize()), MSG_NOSIGNAL);
    if (sent > 0) {
        m_outgoingStart += sent;
        if (m_outgoingStart == m_outgoing.size()) {
            discardOutgoing();
        } else if (m_outgoingStart >= kCompactAt && m_outgoingStart * 2 >= m_outgoing.size()) {
            m_outgoing.remove(0, m_outgoingStart);
            m_outgoingStart = 0;
        }
    } else if (sent < 0 && !wouldBlock(errno)) {
        // A broken connection must not swallow data silently.
        failConnection(errno);
        return;
    }
    updateWriteWatch();
}

void TSock::whenReadable()
{
    if (m_fd < 0)
        return;
    if (m_listen) {
        // Like the accept notification of old: not repeated until Accept() has been called.
        m_readNotifier->setEnabled(false);
        call(OnAccept, this);
        return;
    }
    readOnce();
}

void TSock::readOnce()
{
    if (!m_receiveArea)
        m_receiveArea = std::make_unique<char[]>(kReadSize);
    const ssize_t got = ::recv(m_fd, m_receiveArea.get(), size_t(kReadSize), 0);
    if (got < 0) {
        if (!wouldBlock(errno))
            failConnection(errno);
        return;
    }
    QPointer<TSock> alive(this);
    if (got == 0) {
        // Orderly close by the peer. Stop watching first: OnDisconnect may spin the event loop.
        watch(false, false);
        call(OnDisconnect, this);
        if (alive)
            Close();
        return;
    }
    m_incoming.append(m_receiveArea.get(), got);
    report(TSocketInfo::Receive, QStringLiteral("Non-Blocking Incoming Data"));
    if (alive)
        call(OnRead, this, m_incoming.size());
}

void TSock::whenWritable()
{
    if (m_fd < 0)
        return;
    if (m_connecting)
        finishConnect();
    else
        writeReady();
}

void TSock::writeReady()
{
    QPointer<TSock> alive(this);
    if (outgoingSize() > 0)
        Send(QByteArrayView());
    if (!alive || m_fd < 0 || m_failed)
        return;
    report(TSocketInfo::Send, QStringLiteral("Non-Blocking Outgoing Data"));
    if (!alive || m_fd < 0)
        return;
    call(OnWrite, this);
    if (alive)
        updateWriteWatch();
}

} // namespace morlu
