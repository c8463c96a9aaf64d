#include "lanaddresses.h"

#include <QHostAddress>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace lanaddresses {

QStringList forFriends(const QList<InterfaceAddress>& interfaces, quint16 port)
{
    QStringList ipv4;
    QStringList ipv6;
    for (const InterfaceAddress& entry : interfaces) {
        if (!entry.up || entry.loopback || entry.ip.isEmpty())
            continue;
        const QHostAddress ip(entry.ip);
        const bool v6 = ip.protocol() == QAbstractSocket::IPv6Protocol;
        if (ip.isNull() || (v6 && (ip.isLinkLocal() || ip.isLoopback())))
            continue;
        const QString text = v6 ? QLatin1Char('[') + ip.toString() + QLatin1Char(']') : ip.toString();
        const QString address = text + QLatin1Char(':') + QString::number(port);
        QStringList& list = v6 ? ipv6 : ipv4;
        if (!list.contains(address))
            list.append(address);
    }
    return ipv4 + ipv6;
}

QList<InterfaceAddress> systemInterfaces()
{
    QList<InterfaceAddress> interfaces;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return interfaces;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        InterfaceAddress address;
        address.interface = QString::fromLocal8Bit(entry->ifa_name);
        address.up = (entry->ifa_flags & IFF_UP) != 0;
        address.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        char text[INET6_ADDRSTRLEN] = {};
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (::inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) != nullptr)
                address.ip = QString::fromLatin1(text);
        } else if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET6) {
            const auto* ipv6 = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
            if (::inet_ntop(AF_INET6, &ipv6->sin6_addr, text, sizeof text) != nullptr)
                address.ip = QString::fromLatin1(text);
        }
        interfaces.append(address);
    }
    ::freeifaddrs(list);
    return interfaces;
}

} // namespace lanaddresses
