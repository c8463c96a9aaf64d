#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/**
 * The addresses of this machine a friend on the local network can type to join the game it hosts:
 * every address of every interface that is up and is not the loopback, each with the port: the IPv4
 * addresses first, then the IPv6 ones (the host listens on both), leaving out the link-local ones, which
 * need an interface name the friend's machine does not know.
 */
namespace lanaddresses {

/// One address of one network interface, as the system lists them.
struct InterfaceAddress {
    QString interface; ///< "eth0"
    QString ip;        ///< "192.168.1.20" or "2001:db8::20"; empty for an address of another family
    bool up = false;
    bool loopback = false;
};

/// "192.168.1.20:7772" or "[2001:db8::20]:7772" for each usable entry of @p interfaces, IPv4 first,
/// otherwise in order, without repeats.
QStringList forFriends(const QList<InterfaceAddress>& interfaces, quint16 port);
/// This machine's interfaces (getifaddrs); empty when the system cannot list them.
QList<InterfaceAddress> systemInterfaces();

} // namespace lanaddresses
