#include "hostcache.h"

#include "socklookup.h"

#include <netdb.h>
#include <sys/socket.h>

namespace morlu {

HostCache& HostCache::instance()
{
    static HostCache cache;
    return cache;
}

QStringList HostCache::lookup(const QString& name)
{
    const auto found = m_entries.constFind(name);
    if (found != m_entries.constEnd())
        return *found;
    const QStringList addresses = m_resolver ? m_resolver(name) : systemResolve(name);
    if (!addresses.isEmpty())
        m_entries.insert(name, addresses);
    return addresses;
}

void HostCache::setResolver(Resolver resolver)
{
    m_resolver = std::move(resolver);
}

QStringList HostCache::systemResolve(const QString& name)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answer = nullptr;
    if (::getaddrinfo(name.toLocal8Bit().constData(), nullptr, &hints, &answer) != 0 || !answer)
        return {};
    QStringList addresses;
    for (const addrinfo* entry = answer; entry; entry = entry->ai_next) {
        const QString text = entry->ai_addr ? socklookup::addressText(entry->ai_addr) : QString();
        if (!text.isEmpty() && !addresses.contains(text))
            addresses.append(text);
    }
    ::freeaddrinfo(answer);
    return addresses;
}

} // namespace morlu
