#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <sys/socket.h>

namespace morlu {

/// Name lookups of the line socket. Addresses are numeric texts, IPv4 ("127.0.0.1") or IPv6 ("::1").
namespace socklookup {

/**
 * A port written as a decimal number (the name starts with a digit) or a TCP service name from the
 * system's services database. nullopt for an unknown service, a malformed number or one above 65535.
 */
std::optional<quint16> port(const QString& name);

/**
 * The addresses to try, in order: a dotted IPv4 address (the name starts with a digit and reads as
 * one, "127.1" included) or an IPv6 literal as itself, otherwise the name resolved through the
 * process-wide HostCache. Empty for an unknown name.
 */
QStringList host(const QString& name);

/// A socket address in the system's form.
struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;

    int family() const { return storage.ss_family; }
    const sockaddr* data() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

/// The numeric address text (as host() gives) with the port; nullopt when the text is not an address.
std::optional<SocketAddress> socketAddress(const QString& text, quint16 port);

/**
 * The numeric text of an IPv4 or IPv6 socket address; an IPv4 peer reaching an IPv6 socket
 * ("::ffff:10.0.0.5") reads as plain IPv4 ("10.0.0.5"). Empty for other families.
 */
QString addressText(const sockaddr* address);

/// The port of an IPv4 or IPv6 socket address, 0 for other families.
quint16 addressPort(const sockaddr* address);

} // namespace socklookup
} // namespace morlu
