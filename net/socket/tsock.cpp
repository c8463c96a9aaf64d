#include "tsock.h"

#include "sockerrors.h"
#include "socklookup.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QtDebug>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace morlu {

namespace {

// Messages are short lines that must go out at once (a played card, a turn): never hold them back
// waiting for more to send.
void disableNagle(int fd)
{
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

constexpr qsizetype kReadSize = 32768;
constexpr int kBacklog = 5;
constexpr int kKeepAliveProbes = 6;
// Sent bytes are dropped from the front of the outgoing buffer lazily, once they make up this much.
constexpr qsizetype kCompactAt = 1 << 20;

std::function<void(const QString&)>& uncaughtErrorHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

void passUncaught(const QString& text)
{
    if (uncaughtErrorHandler())
        uncaughtErrorHandler()(text);
    else
        qWarning("Unhandled error in a socket event: %s", qPrintable(text));
}

bool wouldBlock(int err)
{
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

// Calls a copy of the handler, so a handler that replaces itself or destroys its socket stays valid.
template <typename Handler, typename... Args> void call(const Handler& handler, Args&&... args)
{
    if (handler) {
        const Handler copy = handler;
        copy(std::forward<Args>(args)...);
    }
}

} // namespace

TSock::TSock(QObject* parent) : QObject(parent) {}

// Notifications come from the event loop, which exceptions must not cross.
template <typename Fn> void TSock::runNotification(Fn&& fn)
{
    try {
        fn();
    } catch (const std::exception& error) {
        passUncaught(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        passUncaught(QStringLiteral("Unknown error"));
    }
}

TSock::~TSock()
{
    // No reports from here: handlers must not see an object that is being destroyed.
    dropNotifiers();
    if (m_fd >= 0)
        ::close(m_fd);
}

void TSock::setUncaughtErrorHandler(std::function<void(const QString& text)> handler)
{
    uncaughtErrorHandler() = std::move(handler);
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
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        throw ESockException("Listen - Error Binding Socket");
    const quint16 port = lookupPort();
    const int reuse = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        throw ESockException("Listen - Error Binding Socket");
    if (::listen(m_fd, kBacklog) != 0)
        throw ESockException("Listen - Error Starting Listen");
    // Watch only once listening: an unbound or failed handle would look readable for ever.
    watch(true, false);
    m_listen = true;
    report(TSocketInfo::Listen, QStringLiteral("Listening Started"));
}

bool TSock::Open()
{
    if (m_fd >= 0)
        return m_connected;
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        reportError(sockerrors::fromErrno(errno));
        return false;
    }
    const quint16 port = lookupPort();
    const quint32 host = lookupHost();
    if (m_keepAlive)
        applyKeepAlive();
    disableNagle(m_fd);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(host);
    m_connecting = true;
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 || errno == EINPROGRESS) {
        // Complete or not, the outcome is taken from the first write readiness, as for a slow peer.
        watch(false, true);
        return m_connected;
    }
    // Refused at once: deliver the failure the way a late one arrives, from the event loop.
    const int err = errno;
    watch(false, false);
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation, err] {
        if (generation == m_generation && m_connecting)
            runNotification([this, err] { failConnection(err); });
    });
    return m_connected;
}

bool TSock::Accept(TSock*& newSock)
{
    newSock = nullptr;
    if (!m_listen)
        throw ESockException("Accept - Socket Not In Listening Mode");
    sockaddr_in peer{};
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
        accepted->setHostName(QString::fromLatin1(::inet_ntoa(peer.sin_addr)));
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
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool TSock::setKeepAlive(bool on, int idleSeconds)
{
    m_keepAlive = on;
    m_keepAliveIdle = idleSeconds > 0 ? idleSeconds : 60;
    return m_fd < 0 || applyKeepAlive();
}

bool TSock::applyKeepAlive()
{
    const int on = m_keepAlive ? 1 : 0;
    bool ok = ::setsockopt(m_fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) == 0;
    if (m_keepAlive) {
        const int idle = m_keepAliveIdle;
        const int interval = std::max(1, m_keepAliveIdle / 6);
        const int probes = kKeepAliveProbes;
        ok = ::setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) == 0 && ok;
        ok = ::setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) == 0 && ok;
        ok = ::setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes) == 0 && ok;
    }
    return ok;
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

quint16 TSock::lookupPort()
{
    report(TSocketInfo::Lookup, QStringLiteral("Lookup Of Port ") + m_portName);
    const std::optional<quint16> port = socklookup::port(m_portName);
    if (!port)
        throw ESockException("Port Lookup - Could Not Find Service Entry");
    return *port;
}

quint32 TSock::lookupHost()
{
    if (m_hostName.isEmpty())
        return INADDR_ANY;
    report(TSocketInfo::Lookup, QStringLiteral("Lookup Of Host ") + m_hostName);
    const std::optional<quint32> address = socklookup::host(m_hostName);
    if (!address)
        throw ESockException("Host Lookup - Could Not Find Host Entry");
    return *address;
}

void TSock::watch(bool read, bool write)
{
    if (m_fd < 0)
        return;
    if (!m_readNotifier) {
        m_readNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_readNotifier, &QSocketNotifier::activated, this,
                [this] { runNotification([this] { whenReadable(); }); });
        m_writeNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
        connect(m_writeNotifier, &QSocketNotifier::activated, this,
                [this] { runNotification([this] { whenWritable(); }); });
    }
    m_readNotifier->setEnabled(read);
    m_writeNotifier->setEnabled(write);
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

void TSock::finishConnect()
{
    int err = 0;
    socklen_t length = sizeof err;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &err, &length) != 0)
        err = errno;
    if (err != 0) {
        failConnection(err);
        return;
    }
    m_connecting = false;
    m_connected = true;
    watch(true, false);
    QPointer<TSock> alive(this);
    report(TSocketInfo::Connect, QStringLiteral("Non-Blocking Socket Connected"));
    if (!alive || !m_connected)
        return;
    call(OnConnect, this);
    // The connection is writable now: what was sent while connecting goes out first.
    if (alive && m_connected && !m_failed)
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
