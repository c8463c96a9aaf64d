#pragma once

#include "connectionlistener.h"
#include "connectiontable.h"
#include "dispatcher.h"
#include "fairlinequeue.h"
#include "gameengine.h"
#include "loglimiter.h"
#include "names.h"
#include "random.h"
#include "seatkeys.h"
#include "sessiontimers.h"
#include "slotoutbox.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morlu {

/**
 * The game host's session: it listens for tables, seats each connection in the lowest free slot
 * (1..4 play, 5..9 watch), logs tables in, tells every table who comes and goes, brings late arrivals
 * up to date with a running game, relays chat, actions and chatter sounds, lets slot 1 remove tables
 * and set the computer players' speed and level, lets a player hand the seat to the computer and take it back,
 * and feeds the game requests to the GameEngine, whose messages and timers it carries.
 *
 * Tables arrive through a ConnectionListener (TCP by default; tests hand in an in-memory one) and are
 * served over their LineConnections. Each connection cuts what it receives into lines, which wait in
 * that connection's own queue; `socktimer` dispatches one request per tick (10 ms) in all, taking the
 * connections in turn, so a table that floods the host delays the others by a tick per busy table at
 * most. Empty lines and unknown command words are dropped without using a tick. The timer is stopped
 * while nothing waits. Each request is read once into its message struct, and the game requests go to
 * the GameEngine as structs. Connection events (arrivals, departures) are handled as soon as they
 * come, between ticks; a departure throws away the lines its connection still had waiting.
 * Everything runs on the thread that owns the object.
 *
 * What tables send is not trusted to be polite: a connection that has not logged in within
 * loginTimeout() of its slot offer is closed, and no address may have more than maxWaitingLogins()
 * connections waiting for their login, so nobody can keep the free slots by re-opening silent
 * connections; a second login of a connection is ignored; names are
 * cleaned and made distinct at the table, look-alikes included (see sessiontext.h); chat and action
 * texts lose their line breaks and direction controls, a colour that is not a colour text becomes
 * "clRed", and they are cut so their relay stays within LineFramer::kMaxLine; only slot 1 starts
 * games and sets the bot delay, which is kept within 0..kMaxBotDelay ms. Repeated errors of one
 * connection are logged a few per second.
 *
 * A request that names its sender's slot or seat is honoured only when that is the slot its own
 * connection was given (slot 1's connection may also switch other seats to watching); lines of a
 * connection that has gone are still handled under that slot unless a newer connection holds it.
 * Malformed requests are dropped, and a numeric field that does not read as an integer is written to
 * the log ("'x' is not a valid integer value", the text cut to 200 bytes and its control characters
 * escaped); nothing a table sends can put up a dialog on the host.
 * A table whose connection fails, floods the host, or does not read what it is sent is treated as if
 * it had left (see ConnectionTable for the limits).
 *
 * Coming back after a dropped connection (words only a table that asks ever hears): after its login a
 * table may ask for its seat key (CMD_seatkey); it alone is answered with a fresh key, and from then on
 * it is also told CMD_removed before it is removed and CMD_hostclosing before the host ends
 * (announceClosing()), hears CMD_playerremoved right before the CMD_playerdisconnected of a table the
 * host player removes, and, when slot 1 allows hints at that moment, is told so with the system line the
 * others heard when it did (slot 1's own table excepted); when it first asks in the pause after a trick
 * or a DOMINO hand, it is told that nobody is on turn (CMD_handover), and when it first asks while a
 * DOMINO round is on the board, the layout and the cards each seat holds (CMD_dlayout), last. A
 * returning table answers its slot offer with CMD_rejoin and the key: if that is the live key of a slot
 * that is free now, the connection moves there (the offered slot was never announced) and is offered
 * that slot; otherwise it is offered the same slot again. When the key's slot is only offered to a
 * connection that has not logged in yet, the answer waits until that one has logged in (the slot is
 * taken), gone (it is free) or asked to rejoin elsewhere itself (the two change places); tables dropped
 * together may come back in any order. A key whose slot is still held by the connection it was given to
 * (one that died without the host noticing) closes that connection first. See SeatKeys for when a key
 * is voided.
 *
 * In-process use (the table that hosts):
 *
 *     auto* server = new TServer(window);
 *     server->listen();             // "7772" on every address; throws ESockException on failure
 *     // then connect the own table to 127.0.0.1:server->port(); it gets slot 1
 */
class TServer : public QObject {
    Q_OBJECT

public:
    using Logger = std::function<void(const QString& text)>;

    /// Milliseconds a connection has to log in after its slot offer.
    static constexpr int kLoginTimeout = 10000;
    /// Longest bot delay slot 1 may set, in milliseconds.
    static constexpr int kMaxBotDelay = 10000;
    /// Milliseconds between two attempts to accept while accepting fails (no file descriptors left).
    static constexpr int kAcceptRetry = 1000;
    /// Connections from one address that may wait for their login at once.
    static constexpr int kMaxWaitingLogins = 3;

    /// A host that listens for tables over TCP (TSockListener, `Sock1`).
    explicit TServer(QObject* parent = nullptr);
    /// A host whose tables arrive through @p listener (an in-memory one in tests).
    explicit TServer(std::unique_ptr<ConnectionListener> listener, QObject* parent = nullptr);
    ~TServer() override;

    /**
     * Starts hosting: the listener (`Sock1` over TCP) listens on @p port (a decimal number or a service
     * name; "0" lets the system pick a free port, see port()) on @p address (a numeric address such
     * as "127.0.0.1" for a game nobody else may join; empty for every local address, IPv6 and IPv4 when
     * the system has IPv6; a table's address always reads as plain IPv4 text for an IPv4 table). Raises
     * ESockException with "Listen - Error Binding Socket" when the port cannot be bound, "Listen - Error Starting
     * Listen", or a port lookup error. A failed attempt leaves the listening socket's handle in place, so calling again
     * raises "Listen - Socket Already In Use"; make a new TServer to retry. Listening on a server that
     * already listens does nothing.
     */
    void listen(const QString& port = QStringLiteral("7772"), const QString& address = QString());
    /// The port `Sock1` is bound to; 0 before listen() (and for a listener without ports).
    quint16 port() const { return m_listener->port(); }
    bool hosting() const { return m_listener->isListening(); }
    ConnectionListener& listener() { return *m_listener; }

    /// The game the host runs; its seat records 1..9 are also the slot table.
    GameEngine& engine() { return m_engine; }
    const GameEngine& engine() const { return m_engine; }
    /**
     * Pins the host's games to @p seed: from now on the game's 32-bit generator, seeded with it, deals and
     * makes the simple computer players' choices, and the expert's streams are mixed from it. Without
     * it every shuffle draws from the system's secure random source and the computers from streams
     * seeded from it. Call it before the first game.
     */
    void useSeed(std::uint32_t seed);
    /// True once useSeed() pinned the games.
    bool seeded() const { return m_seeded.has_value(); }
    /// Highest slot handed out so far (0 to 9); never decreases.
    int slotcount() const { return m_slotcount; }
    /// The record of connection slot @p n (1..9).
    const SeatRecord& slot(int n) const { return m_engine.seat(n); }
    /// The engine's timers; tests read what is armed.
    const SessionTimers& timers() const { return m_timers; }
    /// The connection records and their limits (tests lower them).
    ConnectionTable& connections() { return m_connections; }
    /// Lines received and not dispatched yet.
    std::size_t waitingLines() const { return m_receivedlist.size(); }
    /// Bytes of the lines received and not dispatched yet.
    std::size_t waitingBytes() const { return m_receivedlist.bytes(); }
    /// True while `socktimer` runs, which it does only while lines wait.
    bool dispatching() const { return m_socktimer.isActive(); }

    /// Milliseconds between two dispatched lines (10 by default; 0 = one line per event-loop turn).
    void setDispatchInterval(int ms);
    int dispatchInterval() const { return m_socktimer.interval(); }
    /// Where the host's log goes (arrivals, departures, dropped requests); stderr by default.
    void setLogger(Logger logger) { m_log = std::move(logger); }
    /// Milliseconds a new connection has to log in (kLoginTimeout); 0 or less: no limit. For new
    /// connections.
    void setLoginTimeout(int ms) { m_loginTimeout = ms; }
    int loginTimeout() const { return m_loginTimeout; }
    /**
     * Connections from one address that may wait for their login at once (kMaxWaitingLogins); one more
     * is closed as soon as it is accepted, without a slot. 0 or less: no limit. Tables that have
     * logged in do not count, so many tables on one machine may play.
     */
    void setMaxWaitingLogins(int connections) { m_maxWaitingLogins = connections; }
    int maxWaitingLogins() const { return m_maxWaitingLogins; }
    /// Milliseconds between attempts to accept while accepting fails (kAcceptRetry).
    void setAcceptRetry(int ms) { m_acceptRetry.setInterval(ms); }
    /// The monotonic clock, in milliseconds, that paces the log of repeated errors (tests set one).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    /**
     * When set, the computer also takes over seat 1 when its table leaves during a game. The host that
     * runs inside the host player's program leaves it off (its own table leaving ends that program);
     * a dedicated server turns it on so the game never waits for a table that is gone.
     */
    void setSeatOneTakeover(bool on) { m_seatOneTakeover = on; }

    // --- what the host tells the local network -----------------------------------------------------
    /// Humans seated in seats 1 to 4: slots in use there (a player who only watches still sits).
    int seatedPlayers() const;
    /// Seats 1 to 4 without a human.
    int freeSeats() const { return kSeatCount - seatedPlayers(); }
    /// True while a game runs.
    bool playing() const { return m_engine.gamerunning(); }

    // --- connection events ------------------------------------------------------------------------
    /// pending() of the listener: seats the waiting connection in the lowest free slot, or refuses a
    /// tenth (it is told "CMD_full+" and dropped).
    void Sock1Accept();
    /// lineReceived() of an accepted connection: queues the line.
    void Sock1Read(LineConnection* sender, std::string_view line);
    /// lineTooLong() of an accepted connection: it is closed as a departure.
    void Sock1LineTooLong(LineConnection* sender);
    /// closed() of an accepted connection (by either side): the departure.
    void tempsockClosed(LineConnection* sender);
    /// failed() of an accepted connection (a reset, ...): it is closed as a departure.
    void tempsockError(LineConnection* sender, const QString& msg);
    /// Closes slot @p n's connection if the slot is in use; the departure follows.
    void disconnectsock(int n);
    /**
     * The host is about to end by choice (its player's program closes, the server is told to stop):
     * every table that asked for its seat key is told CMD_hostclosing, so it closes instead of trying
     * to come back. Nothing else changes and nothing is closed; the connections end with the host.
     */
    void announceClosing();
    /// One `socktimer` tick: dispatches the first queued line.
    void socktimerTimer();

signals:
    /// A connection was seated in @p slot (before it logs in).
    void accepted(int slot);
    /// The table in @p slot logged in.
    void loggedIn(int slot);
    /// The table in @p slot left; its slot is free again.
    void departed(int slot);
    /// A tenth connection was refused.
    void refused();
    /// seatedPlayers() or playing() changed (checked after each arrival, departure, request and
    /// engine timer; several changes within one event come as one signal).
    void seatsChanged();

private:
    // Requests, each with the rest of its line and the id of the connection it came from.
    void receivedlogininfo(std::string_view rest, int connection);
    void kickhim(std::string_view rest, int connection);
    void chat(std::string_view rest, int connection);
    void action(std::string_view rest, int connection);
    void playasound(std::string_view rest, int connection);
    void botspeed(std::string_view rest, int connection);
    void botlevel(std::string_view rest, int connection);
    void allowhints(std::string_view rest, int connection);
    void hint(std::string_view rest, int connection);
    void justwatch(std::string_view rest, int connection);
    void startgame(std::string_view rest, int connection);
    void choosetype(std::string_view rest, int connection);
    void playcard(std::string_view rest, int connection);
    void seatkey(std::string_view rest, int connection);
    void rejoin(std::string_view rest, int connection);
    /// Answers every waiting rejoin that can be answered now (see the class comment).
    void settleRejoins();
    bool rejoinWaiting(int connection) const;
    /// Tells the connection that now holds @p slot (offered @p offered before) to log in there.
    void answerRejoin(int offered, int slot);

    void registerCommands();
    /// True for a line that names a known request; anything else is dropped without using a tick.
    bool isRequest(std::string_view line) const;
    void dispatchLine(const QueuedLine& line);
    /// Accepting failed: no new attempt (and no log line) before the retry interval has passed.
    void acceptFailed();
    void armLoginTimeout(int connection, LineConnection* link);
    void loginTimedOut(int connection);
    /// The name slot @p s is seated under for the name it sent (cleaned, distinct at the table).
    std::string seatName(std::string_view received, int s) const;
    /// A relay of @p received (chat or action text) from slot @p s, cut to fit one line.
    template <typename Relay> void relayChat(int s, std::string_view received);
    /// After a flood has gone from the queue, hands the freed memory back to the system.
    void settleMemory();
    /// Logs an error of @p connection, a few per second at most (see LogLimiter).
    void logError(int connection, const QString& text);
    void refuse();
    /// True when @p link must go because its address has too many connections waiting for their login.
    bool tooManyWaiting(const LineConnection& link);
    void wire(LineConnection* link);
    void depart(LineConnection* link);
    /// The departure of slot @p n (named @p name) to every other slot; @p removed adds CMD_playerremoved
    /// first for the tables that asked for their seat keys.
    void announceDeparture(int n, const std::string& name, bool removed);
    /// The system line that tells whether slot 1 allows hints now.
    std::string_view hintsLine();
    void closeConnection(int connection);
    /// True when a request naming @p slot may come from @p connection (see the class comment).
    bool speaksFor(int connection, int slot) const;
    SeatRecord& record(int n) { return m_engine.seat(n); }
    /// Runs an event handler; anything it throws is logged rather than passed on.
    void guarded(const std::function<void()>& handler) const;
    void log(const QString& text) const;
    /// Emits seatsChanged() when the seat count or the game state differs from the last one told.
    void noteSeats();

    std::unique_ptr<ConnectionListener> m_listener;
    FairLineQueue m_receivedlist;
    QTimer m_socktimer;
    ConnectionTable m_connections;
    int m_slotcount = 0;
    SlotOutbox m_outbox;
    SessionTimers m_timers;
    SecureRandom m_secure;
    StreamRandom m_choices;
    std::optional<Random> m_seeded;
    SeatKeys m_seatKeys;
    /// A rejoin with a live key for @p slot, from @p connection, not answered yet.
    struct WaitingRejoin {
        int connection = 0;
        int slot = 0;
    };
    std::vector<WaitingRejoin> m_rejoins;
    GameEngine m_engine;
    Dispatcher<int> m_dispatcher;
    QueuedLine m_dispatching;
    std::string m_line;
    Logger m_log;
    LogLimiter m_errorLog;
    QElapsedTimer m_elapsed;
    std::function<qint64()> m_clock;
    QTimer m_acceptRetry;
    bool m_acceptWaiting = false;
    int m_loginTimeout = kLoginTimeout;
    int m_maxWaitingLogins = kMaxWaitingLogins;
    QSet<QString> m_refusingFrom; ///< addresses whose burst of refused connections has been logged
    std::string m_scratch;
    std::string m_cleaned;
    std::size_t m_queuedPeak = 0; ///< most bytes waiting since memory was last handed back
    bool m_seatOneTakeover = false;
    int m_toldPlayers = 0;
    bool m_toldPlaying = false;
    bool m_allowHints = false; ///< CMD_allowhints from slot 1: hints while other humans are seated
    int m_hintChanges = 0;     ///< how often m_allowHints changed: a table logged in since heard none
};

} // namespace morlu
