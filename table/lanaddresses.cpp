#include "lanaddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace lanaddresses {

QStringList forFriends(const QList<InterfaceAddress>& interfaces, quint16 port)
{
    QStringList addresses;
    for (const InterfaceAddress& entry : interfaces) {
        if (!entry.up || entry.loopback || entry.ipv4.isEmpty())
            continue;
        const QString address = entry.ipv4 + QLatin1Char(':') + QString::number(port);
        if (!addresses.contains(address))
            addresses.append(address);
    }
    return addresses;
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
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (::inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) != nullptr)
                address.ipv4 = QString::fromLatin1(text);
        }
        interfaces.append(address);
    }
    ::freeifaddrs(list);
    return interfaces;
}

} // namespace lanaddresses
