// TSock, continued. Making a connection: name lookups, the non-blocking connect and its outcome.

#include "sockerrors.h"
#include "socklookup.h"
#include "tsock.h"
#include "tsockdetail.h"
#include "uncaughterror.h"

#include <QPointer>
#include <QTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>

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
    const quint16 port = lookupPort();
    const quint32 host = lookupHost();
    if (m_keepAlive)
        applyKeepAlive();
    tsockdetail::disableNagle(m_fd);
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
            uncaughterror::guard([this, err] { failConnection(err); });
    });
    return m_connected;
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

} // namespace morlu
