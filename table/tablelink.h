#pragma once

#include "dispatcher.h"
#include "lineconnection.h"
#include "linequeue.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string_view>

/**
 * The table's connection to the host: the connection `sock` (a LineConnection, TCP unless a test hands
 * in another), the line queue and `Timer1`, which hands one queued line per tick (1 ms) to its handler
 * in the dispatch table. Timer1 runs only while lines wait, so an idle table costs nothing.
 *
 * A handler that throws (a numeric field that is no integer: FieldError) loses its line; the text is
 * logged and the next line follows. Handlers may open modal boxes: no further line is handled until
 * such a handler has returned.
 *
 * When the host closes the connection, the lines it sent before are still handled in order, then
 * closed() is emitted once.
 *
 * A host that sends faster than the table handles lines does not make the queue grow without end: from
 * kMostWaiting waiting lines the link stops reading the connection (the host is held back by TCP) and
 * reads again once half of them are handled. Nothing is dropped.
 */
class TableLink : public QObject {
    Q_OBJECT

public:
    /// Waiting lines from which the link stops reading the connection until half of them are handled.
    static constexpr std::size_t kMostWaiting = 2048;

    /// A link over TCP (TSockConnection), to port "7772" unless open() says otherwise.
    explicit TableLink(QObject* parent = nullptr);
    /// A link over @p connection (an in-memory end in tests), which it owns from now on.
    explicit TableLink(std::unique_ptr<morlu::LineConnection> connection, QObject* parent = nullptr);
    ~TableLink() override;

    /// The dispatch table: command word -> handler of the rest of the line.
    morlu::Dispatcher<>& dispatcher() { return m_dispatcher; }
    morlu::LineConnection& connection() { return *m_sock; }
    /// Sees every line from the host, decoded, just before its handler (the game recorder).
    void setLineObserver(std::function<void(std::string_view)> observer) { m_observer = std::move(observer); }

    /**
     * Starts connecting `sock` to @p host and @p port (non-blocking); after closed(), a new connection.
     * Raises ESockException for a port or host name that cannot be looked up.
     */
    void open(const QString& host, const QString& port);
    /// Sends one complete line (0xFF included), encoded by the wire text rule. Raises ESockException ("Send - Socket
    /// Not Connected").
    void sendline(std::string_view line);

    /// lineReceived() of `sock`: queues the line and starts Timer1.
    void sockRead(std::string_view line);
    /// lineTooLong() of `sock`: a line longer than LineFramer::kMaxLine is dropped (and logged); the
    /// lines after it are handled and the table stays connected.
    void sockLineTooLong();
    /**
     * failed() of `sock`: a connection that had been made and then fails (a reset) is closed, with the
     * same end as a close; a failure before that (a refused connection) changes nothing.
     */
    void sockError(const QString& msg);
    /// closed() of `sock`: ends the table once the lines already received are handled.
    void sockClosed();
    /// One tick of Timer1: processsocktimer, and Timer1 stops when nothing waits any more.
    void Timer1Timer();
    /// Handles the first queued line, if any; false when the queue was empty (or a handler is running).
    bool processsocktimer();
    /**
     * Handles @p line (decoded, without its 0xFF) at once, through the same dispatch and with the same
     * care as a line from the host, then reports lineHandled(); the line observer does not see it. A
     * replayed game record goes this way.
     */
    void handleLine(std::string_view line);

    std::size_t waitingLines() const { return m_queue.size(); }
    /// False while the link has stopped reading the connection (too many lines wait).
    bool receiving() const { return m_receiving; }
    bool timerActive() const { return m_timer1.isActive(); }
    /// True once the connection has ended (closed() reported).
    bool connectionEnded() const { return m_ended; }
    /// Over-long lines from the host that were dropped.
    int droppedLines() const { return m_droppedLines; }

signals:
    /// The connection to the host has ended and every line received before has been handled.
    void closed();
    /// A line was handled (or dropped by its handler's error); for tests and the phrase cooldown.
    void lineHandled();

private:
    void startTimer();
    void finishIfEnded();
    /// Runs the handler of @p line; what it throws is logged and the line is lost.
    void dispatch(std::string_view line);

    std::unique_ptr<morlu::LineConnection> m_sock;
    morlu::LineQueue m_queue;
    morlu::QueuedLine m_line;
    std::string m_encoded; ///< a line that is not plain ASCII, in its wire form
    morlu::Dispatcher<> m_dispatcher;
    std::function<void(std::string_view)> m_observer;
    QTimer m_timer1;
    bool m_dispatching = false;
    bool m_receiving = true;
    bool m_ended = false;
    bool m_closedSent = false;
    int m_droppedLines = 0;
};
