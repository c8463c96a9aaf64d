// TSock, continued. TCP options of the line socket: keepalive and sending without delay.

#include "tsock.h"
#include "tsockdetail.h"

#include <algorithm>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace morlu {

namespace {

constexpr int kKeepAliveProbes = 6;

} // namespace

void tsockdetail::disableNagle(int fd)
{
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
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

} // namespace morlu
