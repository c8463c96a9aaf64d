#include "gameaddress.h"

#include <arpa/inet.h>

namespace {

bool isIpv6(const QString& text)
{
    in6_addr address{};
    return !text.isEmpty() && ::inet_pton(AF_INET6, text.toLatin1().constData(), &address) == 1;
}

/// Letters, digits, dots and hyphens: a host name or an IPv4 address, nothing a shell or a URL would add.
bool isHostName(const QString& text)
{
    if (text.isEmpty() || text.size() > 253 || text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : text) {
        const bool plain = c.unicode() < 128 && c.isLetterOrNumber();
        if (!plain && c != QLatin1Char('.') && c != QLatin1Char('-'))
            return false;
    }
    return true;
}

/// The port after the colon: 1 to 65535 in decimal digits; 0 when it is none.
quint16 readPort(const QString& text)
{
    if (text.isEmpty() || text.size() > 5)
        return 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    }
    const int port = text.toInt();
    return port >= 1 && port <= 65535 ? quint16(port) : 0;
}

const char* const kBadPort = "The port must be a number from 1 to 65535.";

} // namespace

GameAddress GameAddress::of(const QString& host, quint16 port)
{
    GameAddress address;
    address.m_host = host;
    address.m_port = port;
    return address;
}

GameAddress GameAddress::parse(const QString& typed)
{
    GameAddress address;
    const QString text = typed.trimmed();
    QString portText;
    bool hasPort = false;
    if (text.isEmpty()) {
        address.m_error = QStringLiteral("Type the host's address, such as 192.168.1.20 or 192.168.1.20:7772.");
        return address;
    }
    if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char(' '))) {
        address.m_error = QStringLiteral("\"%1\" is not a host name or address.").arg(text);
        return address;
    }
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        address.m_host = text.mid(1, close - 1);
        const QString rest = close < 0 ? QString() : text.mid(close + 1);
        if (close < 0 || !isIpv6(address.m_host) || (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))) {
            address.m_error = QStringLiteral("An IPv6 address goes in brackets, with the port after them: [::1]:7772.");
            return address;
        }
        hasPort = !rest.isEmpty();
        portText = rest.mid(1);
    } else if (text.count(QLatin1Char(':')) > 1) {
        if (!isIpv6(text)) {
            address.m_error = QStringLiteral("That is not an address: write an IPv6 address in brackets, like [::1]:7772.");
            return address;
        }
        address.m_host = text;
    } else {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        address.m_host = colon < 0 ? text : text.left(colon);
        hasPort = colon >= 0;
        portText = text.mid(colon + 1);
        if (!isHostName(address.m_host)) {
            address.m_error = QStringLiteral("\"%1\" is not a host name or address.").arg(address.m_host);
            return address;
        }
    }
    if (hasPort) {
        address.m_port = readPort(portText);
        if (address.m_port == 0)
            address.m_error = QString::fromLatin1(kBadPort);
    }
    return address;
}

QString GameAddress::text() const
{
    const QString host = m_host.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_host + QLatin1Char(']') : m_host;
    return host + QLatin1Char(':') + QString::number(m_port);
}
