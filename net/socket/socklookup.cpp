#include "socklookup.h"

#include "hostcache.h"

#include <arpa/inet.h>
#include <netdb.h>

namespace morlu::socklookup {

namespace {

bool startsWithDigit(const QString& text)
{
    return !text.isEmpty() && text.front() >= u'0' && text.front() <= u'9';
}

} // namespace

std::optional<quint16> port(const QString& name)
{
    if (startsWithDigit(name)) {
        bool ok = false;
        const uint number = name.toUInt(&ok, 10);
        if (!ok || number > 65535)
            return std::nullopt;
        return static_cast<quint16>(number);
    }
    const servent* service = ::getservbyname(name.toLocal8Bit().constData(), "tcp");
    if (!service)
        return std::nullopt;
    return ntohs(static_cast<quint16>(service->s_port));
}

std::optional<quint32> host(const QString& name)
{
    if (startsWithDigit(name)) {
        in_addr address{};
        if (::inet_aton(name.toLatin1().constData(), &address) != 0)
            return ntohl(address.s_addr);
        // Not an address after all (a name such as "3dhost"): resolve it like any name.
    }
    return HostCache::instance().lookup(name);
}

} // namespace morlu::socklookup
