#include "socklookup.h"

#include "hostcache.h"

#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>

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

QStringList host(const QString& name)
{
    if (startsWithDigit(name)) {
        in_addr address{};
        if (::inet_aton(name.toLatin1().constData(), &address) != 0) {
            char text[INET_ADDRSTRLEN] = {};
            ::inet_ntop(AF_INET, &address, text, sizeof text);
            return {QString::fromLatin1(text)};
        }
        // Not an address after all (a name such as "3dhost"): resolve it like any name.
    }
    if (name.contains(u':')) {
        // An IPv6 literal is its own address; no name has a colon.
        const std::optional<SocketAddress> literal = socketAddress(name, 0);
        return literal ? QStringList{addressText(literal->data())} : QStringList{};
    }
    return HostCache::instance().lookup(name);
}

std::optional<SocketAddress> socketAddress(const QString& text, quint16 port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* answer = nullptr;
    const QByteArray service = QByteArray::number(port);
    if (text.isEmpty() || ::getaddrinfo(text.toLatin1().constData(), service.constData(), &hints, &answer) != 0)
        return std::nullopt;
    std::optional<SocketAddress> result;
    if (answer && answer->ai_addr && answer->ai_addrlen <= sizeof(sockaddr_storage)) {
        result.emplace();
        std::memcpy(&result->storage, answer->ai_addr, answer->ai_addrlen);
        result->length = answer->ai_addrlen;
    }
    ::freeaddrinfo(answer);
    return result;
}

QString addressText(const sockaddr* address)
{
    char text[NI_MAXHOST] = {};
    if (address->sa_family == AF_INET) {
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
        ::inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text);
        return QString::fromLatin1(text);
    }
    if (address->sa_family != AF_INET6)
        return {};
    const auto* ipv6 = reinterpret_cast<const sockaddr_in6*>(address);
    if (IN6_IS_ADDR_V4MAPPED(&ipv6->sin6_addr)) {
        in_addr ipv4{};
        std::memcpy(&ipv4, ipv6->sin6_addr.s6_addr + 12, sizeof ipv4);
        ::inet_ntop(AF_INET, &ipv4, text, sizeof text);
        return QString::fromLatin1(text);
    }
    // getnameinfo keeps the interface of a link-local address ("fe80::1%eth0").
    if (::getnameinfo(address, sizeof(sockaddr_in6), text, sizeof text, nullptr, 0, NI_NUMERICHOST) != 0)
        return {};
    return QString::fromLatin1(text);
}

quint16 addressPort(const sockaddr* address)
{
    if (address->sa_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(address)->sin_port);
    if (address->sa_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(address)->sin6_port);
    return 0;
}

} // namespace morlu::socklookup
