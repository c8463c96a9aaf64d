#pragma once

#include "dispatcher.h"
#include "hostrequests.h"
#include "hoststarter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

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
 * It ends the table (ended()) when the host answers CMD_full ("Game is full"), and when the host closes
 * the connection of the host player's own table or of a table that never logged in, once the lines
 * received before are handled.
 *
 * Any other table whose connection is lost comes back: it says "Connection to the host lost.
 * Reconnecting..." (notice()), drops what the player asks meanwhile (saying "Not sent while reconnecting
 * to the host." at the first), and connects again, at once and
 * then after growing pauses (kFirstRetryMs doubling up to kMaxRetryMs) for kReconnectWindowMs; the new
 * connection rejoins the old seat with the seat key (TableSession) and the catch-up of its login brings
 * the game back. If no connection is made in that time it says "The host cannot be reached." and the
 * table ends. A host that says why it lets the table go is believed instead: CMD_removed ("You have been
 * removed from the game.") and CMD_hostclosing ("The host has ended the game.") are shown in a message
 * box, which waits for the player (the window, and any chat line, goes as soon as it is dismissed), and
 * the table ends. Before each of these boxes leaving() lets the window save what it keeps.
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

    /// How long a lost connection is tried again, in milliseconds.
    static constexpr int kReconnectWindowMs = 120000;
    /// The pause before the second attempt (the first is made at once); it doubles up to kMaxRetryMs.
    static constexpr int kFirstRetryMs = 500;
    static constexpr int kMaxRetryMs = 8000;

    /** Registers CMD_full, CMD_removed and CMD_hostclosing. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    /** How host() starts the program's host; without one, hosting fails with a message. */
    void setHostStarter(HostStarter starter) { m_hostStarter = std::move(starter); }
    /**
     * Starts the program's host listening on @p port, then connects to it on 127.0.0.1 at the port it
     * bound. False when the host could not listen: a warning says why, then the table ends (ended()).
     */
    bool host(const QString& port, HostReach reach = HostReach::Everyone);
    /**
     * When set, a multi-player host whose port another program holds goes to @p offer (the player
     * chooses another port) instead of the warning and the end of the table.
     */
    void setPortInUseOffer(std::function<void(const QString& port)> offer) { m_portInUseOffer = std::move(offer); }
    /**
     * Connects to the host at @p address, @p port; a connection that cannot be made asks Retry, Change
     * Address (changeAddressChosen()) or Quit.
     */
    void join(const QString& address, const QString& port);
    /// Bytes the lobby program may send (all of them dropped) before its connection is closed.
    static constexpr qsizetype kLobbyReadLimit = 64 * 1024;

    /**
     * Opens the held connection to the lobby program on 127.0.0.1 port 9001; a failure is only logged.
     * What the lobby sends is dropped; the connection closes once it has sent kLobbyReadLimit bytes.
     */
    void openLobby();

    void sendline(std::string_view line) override;
    bool canSend() const override { return !m_replaying && !m_offline; }
    /**
     * A move of the player's: dropped (the player is told once, as for any line) from the loss of the
     * connection until seated(), also on a new connection, where the host has not seated the table yet
     * and would drop it; sent as by sendline() otherwise.
     */
    bool sendRequest(std::string_view line) override;
    /** The host has seated this table (its own CMD_newplayerinfo): after a loss, moves go out again. */
    void seated() { m_unseated = false; }

    TableLink& link() { return *m_link; }

    /// Sets how long a lost connection is tried again and the pauses between attempts (tests shorten them).
    void setReconnectTimes(int windowMs, int firstRetryMs, int maxRetryMs);
    /// True from the loss of the connection until the host speaks on a new one.
    bool reconnecting() const { return m_reconnecting; }
    /**
     * A replaying table has no host: every request is dropped without a word, and the host's farewells
     * in the record (CMD_full, CMD_removed, CMD_hostclosing) neither ask nor end the table.
     */
    void setReplaying(bool on) { m_replaying = on; }
    bool replaying() const { return m_replaying; }

signals:
    /** A line went to the host (0xFF included). */
    void lineSent(const QByteArray& line);
    /** The host at @p address, @p port answered a join with its first line. */
    void joined(const QString& address, const QString& port);
    /** A join failed and the player chose to change the address tried (@p address, @p port). */
    void changeAddressChosen(const QString& address, const QString& port);
    /** The connection has ended or the game is full: the table closes. */
    void ended();
    /** The table is about to tell the player why it ends, and then end: save what must be kept. */
    void leaving();
    /** A line for the player's chat, about the connection. */
    void notice(const QString& text);
    /** The connection was lost and the table tries to come back (reconnecting() turns true). */
    void reconnectingStarted();

private:
    /// Starts connecting to m_address, m_port; a failure goes to connectFailed().
    void connectToHost();
    /// Retry tries again; Change Address (joins only) hands the address back; Quit ends the table.
    void connectFailed(const QString& reason);
    /// The connection has ended and its lines are handled: the table ends or comes back.
    void linkClosed();
    /// The next attempt after a pause that grows with every attempt; gives up after the window.
    void scheduleReconnect();
    /// Tells the player @p text in a box, then the table ends.
    void farewell(const QString& text);
    /// Tells the player, once after each loss, that what was asked was not sent.
    void tellDropped();

    TableState& m_state;
    QString m_address;
    QString m_port;
    TableDialogs& m_dialogs;
    HostStarter m_hostStarter;
    std::function<void(const QString& port)> m_portInUseOffer;
    TableLink* m_link = nullptr;
    morlu::TSock* m_sock11 = nullptr;
    QTimer m_reconnectTimer;
    QElapsedTimer m_lostFor;
    int m_attempts = 0;
    int m_reconnectWindowMs = kReconnectWindowMs;
    int m_firstRetryMs = kFirstRetryMs;
    int m_maxRetryMs = kMaxRetryMs;
    bool m_reconnecting = false; ///< from the loss until the host speaks on a new connection
    bool m_offline = false;      ///< from the loss until a new connection is made: requests are dropped
    bool m_unseated = false;     ///< from the loss until the host seats the table again: moves are dropped
    bool m_toldDropped = false;  ///< the player was told, this time back, that a request was dropped
    bool m_joining = false;      ///< a join waits for the host's first line
    bool m_ending = false;       ///< the table ends: nothing is tried again
    bool m_replaying = false;    ///< a replay: nothing is sent and nothing ends the table
    qsizetype m_lobbyReceived = 0;
};
