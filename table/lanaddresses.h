#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/**
 * The addresses of this machine a friend on the local network can type to join the game it hosts:
 * the IPv4 address of every interface that is up and is not the loopback, each with the port.
 */
namespace lanaddresses {

/// One address of one network interface, as the system lists them.
struct InterfaceAddress {
    QString interface; ///< "eth0"
    QString ipv4;      ///< "192.168.1.20"; empty for an address of another family
    bool up = false;
    bool loopback = false;
};

/// "192.168.1.20:7772" for each usable entry of @p interfaces, in order, without repeats.
QStringList forFriends(const QList<InterfaceAddress>& interfaces, quint16 port);
/// This machine's interfaces (getifaddrs); empty when the system cannot list them.
QList<InterfaceAddress> systemInterfaces();

} // namespace lanaddresses
