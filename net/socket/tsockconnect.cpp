// TSock, continued. Making a connection: name lookups, the non-blocking connect and its outcome.

#include "sockerrors.h"
#include "socklookup.h"
#include "tsock.h"
#include "tsockdetail.h"
#include "uncaughterror.h"

#include <QPointer>
#include <QTimer>

#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace morlu {

using tsockdetail::call;

bool TSock::Open()
{
    if (m_fd >= 0)
        return m_connected;
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        reportError(sockerrors::fromErrno(errno));
        return false;
    }
    m_handleTried = false;
    m_connectPort = lookupPort();
    m_candidates = lookupHost();
    m_nextCandidate = 0;
    m_connecting = true;
    const int err = connectNext();
    if (err == 0) {
        // Complete or not, the outcome is taken from the first write readiness, as for a slow peer.
        watch(false, true);
        return m_connected;
    }
    // Refused at once: deliver the failure the way a late one arrives, from the event loop.
    watch(false, false);
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation, err] {
        if (generation == m_generation && m_connecting)
            uncaughterror::guard([this, err] { failConnection(err); });
    });
    return m_connected;
}

int TSock::connectNext()
{
    int err = EHOSTUNREACH;
    while (m_nextCandidate < m_candidates.size()) {
        const std::optional<socklookup::SocketAddress> address =
            socklookup::socketAddress(m_candidates.at(m_nextCandidate++), m_connectPort);
        if (!address)
            continue;
        // Every attempt gets a fresh handle of the address's family; a failed one cannot be reused.
        int family = AF_UNSPEC;
        socklen_t length = sizeof family;
        ::getsockopt(m_fd, SOL_SOCKET, SO_DOMAIN, &family, &length);
        if (m_handleTried || family != address->family()) {
            const int fd = ::socket(address->family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (fd < 0) {
                err = errno;
                continue;
            }
            dropNotifiers();
            ::close(m_fd);
            m_fd = fd;
        }
        if (m_keepAlive)
            applyKeepAlive();
        tsockdetail::disableNagle(m_fd);
        m_handleTried = true;
        if (::connect(m_fd, address->data(), address->length) == 0 || errno == EINPROGRESS)
            return 0;
        err = errno;
    }
    return err;
}

void TSock::finishConnect()
{
    int err = 0;
    socklen_t length = sizeof err;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &err, &length) != 0)
        err = errno;
    if (err != 0) {
        // The next address of the host, if any, before giving up.
        if (m_nextCandidate < m_candidates.size()) {
            const int next = connectNext();
            if (next == 0) {
                watch(false, true);
                return;
            }
            err = next;
        }
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

quint16 TSock::lookupPort()
{
    report(TSocketInfo::Lookup, QStringLiteral("Lookup Of Port ") + m_portName);
    const std::optional<quint16> port = socklookup::port(m_portName);
    if (!port)
        throw ESockException("Port Lookup - Could Not Find Service Entry");
    return *port;
}

QStringList TSock::lookupHost()
{
    if (m_hostName.isEmpty())
        return {QStringLiteral("0.0.0.0")};
    report(TSocketInfo::Lookup, QStringLiteral("Lookup Of Host ") + m_hostName);
    const QStringList addresses = socklookup::host(m_hostName);
    if (addresses.isEmpty())
        throw ESockException("Host Lookup - Could Not Find Host Entry");
    return addresses;
}

} // namespace morlu
