#include "hostcache.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

namespace morlu {

HostCache& HostCache::instance()
{
    static HostCache cache;
    return cache;
}

std::optional<quint32> HostCache::lookup(const QString& name)
{
    const auto found = m_entries.constFind(name);
    if (found != m_entries.constEnd())
        return *found;
    const std::optional<quint32> address = m_resolver ? m_resolver(name) : systemResolve(name);
    if (address)
        m_entries.insert(name, *address);
    return address;
}

void HostCache::setResolver(Resolver resolver)
{
    m_resolver = std::move(resolver);
}

std::optional<quint32> HostCache::systemResolve(const QString& name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answer = nullptr;
    if (::getaddrinfo(name.toLocal8Bit().constData(), nullptr, &hints, &answer) != 0 || !answer)
        return std::nullopt;
    std::optional<quint32> address;
    for (const addrinfo* entry = answer; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr) {
            address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
            break;
        }
    }
    ::freeaddrinfo(answer);
    return address;
}

} // namespace morlu
