#pragma once

#include <QString>

/**
 * An address a player types to join a game: "host", "host:port" or "[v6]:port", the port 7772 when it
 * is left out. A bare IPv6 address ("::1") is taken as the host with the default port. parse() never
 * throws: what cannot be an address comes back with error() saying why, in words for the player.
 */
class GameAddress {
public:
    static constexpr quint16 kDefaultPort = 7772;

    static GameAddress parse(const QString& text);
    /** A found game or a known host and port. */
    static GameAddress of(const QString& host, quint16 port);

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString host() const { return m_host; }
    quint16 port() const { return m_port; }
    /** The address as a player would type it again: "host:port", or "[v6]:port". */
    QString text() const;

private:
    QString m_host;
    quint16 m_port = kDefaultPort;
    QString m_error;
};
