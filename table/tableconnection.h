#pragma once

#include "dispatcher.h"
#include "hostrequests.h"
#include "hoststarter.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class TableDialogs;
class TableLink;
struct TableState;

namespace morlu {
class TSock;
} // namespace morlu

/**
 * The table's side of the connection: starting the program's own host and connecting to it, joining
 * another host, the held connection to the lobby program, and every line sent to the host. It is the
 * table's HostRequests: a line that cannot be sent is shown to the player in a message box.
 *
 * It ends the table (ended()) when the host closes the connection, once the lines received before are
 * handled, and when the host answers CMD_full ("Game is full").
 *
 * A failure is never left looking like waiting: a connection that cannot be made (refused, unreachable,
 * no answer within LineConnection::kConnectTimeoutMs, a name that cannot be looked up) asks "Could not
 * connect to HOST port PORT: REASON" with Retry and Quit, and a host that cannot listen is explained,
 * with the port when another program holds it, before the table ends.
 */
class TableConnection : public QObject, public HostRequests {
    Q_OBJECT

public:
    TableConnection(TableState& state, TableDialogs& dialogs, QObject* parent = nullptr);

    /** Registers CMD_full. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    /** How host() starts the program's host; without one, hosting fails with a message. */
    void setHostStarter(HostStarter starter) { m_hostStarter = std::move(starter); }
    /**
     * Starts the program's host listening on @p port, then connects to it on 127.0.0.1 at the port it
     * bound. False when the host could not listen: a warning says why, then the table ends (ended()).
     */
    bool host(const QString& port, HostReach reach = HostReach::Everyone);
    /** Connects to the host at @p address, @p port; a connection that cannot be made asks Retry or Quit. */
    void join(const QString& address, const QString& port);
    /// Bytes the lobby program may send (all of them dropped) before its connection is closed.
    static constexpr qsizetype kLobbyReadLimit = 64 * 1024;

    /**
     * Opens the held connection to the lobby program on 127.0.0.1 port 9001; a failure is only logged.
     * What the lobby sends is dropped; the connection closes once it has sent kLobbyReadLimit bytes.
     */
    void openLobby();

    void sendline(std::string_view line) override;

    TableLink& link() { return *m_link; }

signals:
    /** A line went to the host (0xFF included). */
    void lineSent(const QByteArray& line);
    /** The connection has ended or the game is full: the table closes. */
    void ended();

private:
    /// Starts connecting to m_address, m_port; a failure goes to connectFailed().
    void connectToHost();
    /// Retry tries again; Quit ends the table.
    void connectFailed(const QString& reason);

    TableState& m_state;
    QString m_address;
    QString m_port;
    TableDialogs& m_dialogs;
    HostStarter m_hostStarter;
    TableLink* m_link = nullptr;
    morlu::TSock* m_sock11 = nullptr;
    qsizetype m_lobbyReceived = 0;
};
