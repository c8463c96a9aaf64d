#pragma once

#include "connectionlistener.h"
#include "connectiontable.h"
#include "dispatcher.h"
#include "gameengine.h"
#include "linequeue.h"
#include "names.h"
#include "random.h"
#include "sessiontimers.h"
#include "slotoutbox.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace morlu {

/**
 * The game host's session: it listens for tables, seats each connection in the lowest free slot
 * (1..4 play, 5..9 watch), logs tables in, tells every table who comes and goes, brings late arrivals
 * up to date with a running game, relays chat, actions and chatter sounds, lets slot 1 remove tables
 * and set the computer players' speed and level, lets a player hand the seat to the computer and take it back,
 * and feeds the game requests to the GameEngine, whose messages and timers it carries.
 *
 * Tables arrive through a ConnectionListener (TCP by default; tests hand in an in-memory one) and are
 * served over their LineConnections. Each connection cuts what it receives into lines, which are
 * queued; `socktimer` dispatches one line per tick (10 ms), and is stopped while the queue is empty.
 * Each request is read once into its message struct, and the game requests go to the GameEngine as
 * structs. Connection events (arrivals, departures) are handled as soon as they come, between ticks.
 * Everything runs on the thread that owns the object.
 *
 * A request that names its sender's slot or seat is honoured only when that is the slot its own
 * connection was given (slot 1's connection may also switch other seats to watching); lines of a
 * connection that has gone are still handled under that slot unless a newer connection holds it.
 * Malformed requests are dropped, and a numeric field that does not read as an integer is written to
 * the log ("'x' is not a valid integer value"); nothing a table sends can put up a dialog on the host.
 * A table whose connection fails, floods the host, or does not read what it is sent is treated as if
 * it had left (see ConnectionTable for the limits).
 *
 * In-process use (the table that hosts):
 *
 *     auto* server = new TServer(window);
 *     server->listen();             // "7772"; throws ESockException on failure
 *     // then connect the own table to 127.0.0.1:server->port(); it gets slot 1
 */
class TServer : public QObject {
    Q_OBJECT

public:
    using Logger = std::function<void(const QString& text)>;

    /// A host that listens for tables over TCP (TSockListener, `Sock1`).
    explicit TServer(QObject* parent = nullptr);
    /// A host whose tables arrive through @p listener (an in-memory one in tests).
    explicit TServer(std::unique_ptr<ConnectionListener> listener, QObject* parent = nullptr);
    ~TServer() override;

    /**
     * Starts hosting: the listener (`Sock1` over TCP) listens on @p port (a decimal number or a service
     * name; "0" lets the system pick a free port, see port()) on every local address. Raises
     * ESockException with "Listen - Error Binding Socket" when the port cannot be bound, "Listen - Error Starting
     * Listen", or a port lookup error. A failed attempt leaves the listening socket's handle in place, so calling again
     * raises "Listen - Socket Already In Use"; make a new TServer to retry. Listening on a server that
     * already listens does nothing.
     */
    void listen(const QString& port = QStringLiteral("7772"));
    /// The port `Sock1` is bound to; 0 before listen() (and for a listener without ports).
    quint16 port() const { return m_listener->port(); }
    bool hosting() const { return m_listener->isListening(); }
    ConnectionListener& listener() { return *m_listener; }

    /// The game the host runs; its seat records 1..9 are also the slot table.
    GameEngine& engine() { return m_engine; }
    const GameEngine& engine() const { return m_engine; }
    /// The host's one generator, seeded from the time of day; seed it before the first game to pin it.
    Random& random() { return m_random; }
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
    /// True while `socktimer` runs, which it does only while lines wait.
    bool dispatching() const { return m_socktimer.isActive(); }

    /// Milliseconds between two dispatched lines (10 by default; 0 = one line per event-loop turn).
    void setDispatchInterval(int ms);
    int dispatchInterval() const { return m_socktimer.interval(); }
    /// Where the host's log goes (arrivals, departures, dropped requests); stderr by default.
    void setLogger(Logger logger) { m_log = std::move(logger); }

    /**
     * When set, the computer also takes over seat 1 when its table leaves during a game. The host that
     * runs inside the host player's program leaves it off (its own table leaving ends that program);
     * a dedicated server turns it on so the game never waits for a table that is gone.
     */
    void setSeatOneTakeover(bool on) { m_seatOneTakeover = on; }

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

private:
    // Requests, each with the rest of its line and the id of the connection it came from.
    void receivedlogininfo(std::string_view rest, int connection);
    void kickhim(std::string_view rest, int connection);
    void chat(std::string_view rest, int connection);
    void action(std::string_view rest, int connection);
    void playasound(std::string_view rest, int connection);
    void botspeed(std::string_view rest, int connection);
    void botlevel(std::string_view rest, int connection);
    void justwatch(std::string_view rest, int connection);
    void startgame(std::string_view rest, int connection);
    void choosetype(std::string_view rest, int connection);
    void playcard(std::string_view rest, int connection);

    void registerCommands();
    void refuse();
    void wire(LineConnection* link);
    void depart(LineConnection* link);
    void closeConnection(int connection);
    /// True when a request naming @p slot may come from @p connection (see the class comment).
    bool speaksFor(int connection, int slot) const;
    SeatRecord& record(int n) { return m_engine.seat(n); }
    /// Runs an event handler; anything it throws is logged rather than passed on.
    void guarded(const std::function<void()>& handler) const;
    void log(const QString& text) const;

    std::unique_ptr<ConnectionListener> m_listener;
    LineQueue m_receivedlist;
    QTimer m_socktimer;
    ConnectionTable m_connections;
    int m_slotcount = 0;
    SlotOutbox m_outbox;
    SessionTimers m_timers;
    Random m_random;
    GameEngine m_engine;
    Dispatcher<int> m_dispatcher;
    QueuedLine m_dispatching;
    std::string m_line;
    Logger m_log;
    bool m_seatOneTakeover = false;
};

} // namespace morlu
