#pragma once

#include <QString>

#include <optional>

namespace morlu {

/// Name lookups of the line socket. Addresses are IPv4 in host byte order.
namespace socklookup {

/**
 * A port written as a decimal number (the name starts with a digit) or a TCP service name from the
 * system's services database. nullopt for an unknown service, a malformed number or one above 65535.
 */
std::optional<quint16> port(const QString& name);

/**
 * A dotted address (the name starts with a digit and reads as one), otherwise the name resolved
 * through the process-wide HostCache. nullopt for an unknown name.
 */
std::optional<quint32> host(const QString& name);

} // namespace socklookup
} // namespace morlu
