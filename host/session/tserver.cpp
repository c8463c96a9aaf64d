#include "tserver.h"

#include "esockexception.h"
#include "fieldreader.h"
#include "sessionmessages.h"
#include "sessiontext.h"
#include "tsocklistener.h"
#include "wiretext.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace morlu {

namespace {

constexpr int kDispatchInterval = 10;
/// Waiting lines of at least this many bytes that have gone make the host hand memory back.
constexpr std::size_t kGiveBackAfter = std::size_t(1) << 20;

bool isSlot(int n)
{
    return n >= 1 && n <= kSlotCount;
}

using sessiontext::forLog;

} // namespace

TServer::TServer(QObject* parent) : TServer(std::make_unique<TSockListener>(), parent) {}

TServer::TServer(std::unique_ptr<ConnectionListener> listener, QObject* parent)
    : QObject(parent), m_listener(std::move(listener)), m_outbox(m_connections, m_slotcount),
      m_choices(SecureRandom::seed64()), m_engine(m_outbox, m_timers, m_secure, m_choices)
{
    m_engine.setExpertSeed(SecureRandom::seed64());
    m_socktimer.setObjectName(QStringLiteral("socktimer"));
    m_outbox.setEngine(&m_engine);
    // Nothing thrown while handling an event may reach the event loop (or an error dialog): it is logged.
    m_timers.setHandler([this](TimerId id) {
        guarded([&] { m_engine.timerFired(id); });
        noteSeats();
    });
    m_connections.setFaultHandler([this](int connection, const QString& why) {
        const ConnectionTable::Connection* c = m_connections.find(connection);
        log(QStringLiteral("Closing the connection of slot %1: %2").arg(c ? c->slot : 0).arg(why));
        // Faults are found in the middle of sends and reads: close from the event loop, never inside.
        QTimer::singleShot(0, this,
                           [this, connection] { guarded([this, connection] { closeConnection(connection); }); });
    });

    connect(m_listener.get(), &ConnectionListener::pending, this, [this] { guarded([this] { Sock1Accept(); }); });

    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    m_acceptRetry.setInterval(kAcceptRetry);
    m_acceptRetry.setSingleShot(true);
    connect(&m_acceptRetry, &QTimer::timeout, this, [this] {
        if (std::exchange(m_acceptWaiting, false))
            guarded([this] { Sock1Accept(); });
    });

    m_socktimer.setInterval(kDispatchInterval);
    m_socktimer.setTimerType(Qt::PreciseTimer);
    connect(&m_socktimer, &QTimer::timeout, this, [this] { guarded([this] { socktimerTimer(); }); });
    m_dispatching.text.reserve(256);
    registerCommands();
}

TServer::~TServer()
{
    // The connections go without reports: nothing of the host may run while it is being destroyed.
    m_listener->disconnect(this);
    for (LineConnection* link : findChildren<LineConnection*>(Qt::FindDirectChildrenOnly)) {
        link->disconnect(this);
        delete link;
    }
}

void TServer::listen(const QString& port, const QString& address)
{
    if (m_listener->isListening())
        return;
    m_listener->listen(port, address);
}

void TServer::useSeed(std::uint32_t seed)
{
    m_seeded.emplace(seed);
    m_engine.setRandom(*m_seeded, *m_seeded);
    m_engine.setExpertSeed(StreamRandom::mix(seed));
}

void TServer::setDispatchInterval(int ms)
{
    m_socktimer.setInterval(ms < 0 ? 0 : ms);
}

void TServer::guarded(const std::function<void()>& handler) const
{
    try {
        handler();
    } catch (const std::exception& error) {
        log(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        log(QStringLiteral("Unknown error"));
    }
}

void TServer::log(const QString& text) const
{
    if (m_log) {
        m_log(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

// --- arrivals and departures ----------------------------------------------------------------------

void TServer::Sock1Accept()
{
    if (m_acceptRetry.isActive()) {
        // Accepting failed a moment ago: the connection waits for the retry, the listener stays quiet.
        m_acceptWaiting = true;
        return;
    }
    int slot = 0;
    for (int k = 1; k <= m_slotcount && slot == 0; ++k) {
        if (record(k).inuse == 0)
            slot = k;
    }
    if (slot == 0) {
        if (m_slotcount >= kSlotCount) {
            refuse();
            return;
        }
        slot = m_slotcount + 1;
    }
    std::unique_ptr<LineConnection> taken;
    try {
        taken = m_listener->accept();
    } catch (const ESockException& error) {
        log(QString::fromLatin1(error.what()));
    }
    if (taken == nullptr) {
        // Nothing was taken: the slot stays free and the slot count as it was.
        acceptFailed();
        return;
    }
    if (tooManyWaiting(*taken))
        return; // closed as it goes
    LineConnection* link = taken.release();
    link->setParent(this);
    m_slotcount = std::max(m_slotcount, slot);
    const int connection = m_connections.add(link, slot);
    SeatRecord& r = record(slot);
    r.inuse = 1;
    r.socket = connection;
    wire(link);
    armLoginTimeout(connection, link);
    log(QStringLiteral("Slot %1: connected from %2").arg(slot).arg(link->peerName()));
    m_outbox.toSlot(slot, SendLoginInfo{slot}.write(m_line));
    emit accepted(slot);
    noteSeats();
}

bool TServer::tooManyWaiting(const LineConnection& link)
{
    const QString address = link.peerName();
    if (m_maxWaitingLogins <= 0 || m_connections.waitingForLogin(address) < m_maxWaitingLogins) {
        m_refusingFrom.remove(address); // a burst is over once a connection from there is let in again
        return false;
    }
    // One line per burst of refusals from an address.
    if (!m_refusingFrom.contains(address)) {
        m_refusingFrom.insert(address);
        log(QStringLiteral("Closing new connections from %1: %2 are waiting for their login")
                .arg(forLog(address.toStdString()))
                .arg(m_maxWaitingLogins));
    }
    return true;
}

void TServer::wire(LineConnection* link)
{
    connect(link, &LineConnection::lineReceived, this,
            [this, link](std::string_view line) { guarded([&] { Sock1Read(link, line); }); });
    connect(link, &LineConnection::lineTooLong, this, [this, link] { guarded([&] { Sock1LineTooLong(link); }); });
    connect(link, &LineConnection::closed, this, [this, link] { guarded([&] { tempsockClosed(link); }); });
    connect(link, &LineConnection::failed, this,
            [this, link](const QString& msg) { guarded([&] { tempsockError(link, msg); }); });
}

void TServer::acceptFailed()
{
    log(QStringLiteral("Could Not Accept Connection"));
    m_acceptWaiting = true;
    m_acceptRetry.start();
}

void TServer::armLoginTimeout(int connection, LineConnection* link)
{
    if (m_loginTimeout <= 0)
        return;
    // The connection is the timer's context: a connection that has gone takes its timer with it.
    QTimer::singleShot(m_loginTimeout, link, [this, connection] { guarded([&] { loginTimedOut(connection); }); });
}

void TServer::loginTimedOut(int connection)
{
    const ConnectionTable::Connection* c = m_connections.find(connection);
    if (c == nullptr || !c->open || c->closing || c->loggedIn || c->link == nullptr)
        return;
    log(QStringLiteral("Slot %1: no login within %2 s; closing the connection")
            .arg(c->slot)
            .arg(m_loginTimeout / 1000.0));
    c->link->close();
}

void TServer::refuse()
{
    std::unique_ptr<LineConnection> link;
    try {
        link = m_listener->accept();
    } catch (const ESockException&) {
        return;
    }
    if (link == nullptr) {
        acceptFailed();
        return;
    }
    // Nobody hears of it: no handlers, no slot, no departure; destroying the connection closes it.
    try {
        link->sendLine(Full{}.write(m_line));
    } catch (const ESockException&) {
    }
    link.reset();
    log(QStringLiteral("Refused a connection: the game is full"));
    emit refused();
}

void TServer::tempsockClosed(LineConnection* sender)
{
    depart(sender);
}

void TServer::tempsockError(LineConnection* sender, const QString& msg)
{
    // A reset or otherwise failed connection: the table is gone just as if it had closed.
    if (ConnectionTable::Connection* c = m_connections.find(sender))
        m_connections.fault(*c, msg, false);
}

void TServer::Sock1LineTooLong(LineConnection* sender)
{
    if (ConnectionTable::Connection* c = m_connections.find(sender))
        m_connections.lineTooLong(*c);
}

void TServer::closeConnection(int connection)
{
    const ConnectionTable::Connection* c = m_connections.find(connection);
    if (c != nullptr && c->open && c->link != nullptr)
        c->link->close();
}

void TServer::depart(LineConnection* link)
{
    // Only the first close of a connection counts; anything later finds nothing.
    const ConnectionTable::Connection* c = m_connections.find(link);
    if (c == nullptr)
        return;
    const int connection = c->id;
    const int n = c->slot;
    const bool removed = c->removed;
    // Requests the table left behind must not act on the seat's next occupant.
    m_receivedlist.drop(connection);
    settleMemory();
    if (const int suppressed = m_errorLog.forget(connection); suppressed > 0)
        log(QStringLiteral("Slot %1: %2 more errors were not logged").arg(n).arg(suppressed));
    m_connections.detach(connection);
    link->disconnect(this);
    link->deleteLater();

    SeatRecord& r = record(n);
    if (r.socket != connection)
        return;
    if (r.inuse == 1)
        announceDeparture(n, r.name, removed);
    log(QStringLiteral("Slot %1: %2 left").arg(n).arg(forLog(r.name)));
    r.inuse = 0;
    r.name.clear();
    r.justwatch = 0;
    r.socket = 0;
    if (m_engine.gamerunning() && (n != 1 || m_seatOneTakeover))
        m_engine.computerTakesOver(n);
    m_connections.forgetIfIdle(connection, m_receivedlist);
    settleRejoins();
    emit departed(n);
    noteSeats();
}

void TServer::announceDeparture(int n, const std::string& name, bool removed)
{
    if (!removed) {
        m_outbox.toOthers(n, PlayerDisconnected{n, name}.write(m_line));
        return;
    }
    // Rare enough to build each line once per table; an older table hears exactly what it always did.
    const std::string gone = toLine(PlayerDisconnected{n, name});
    const std::string marker = toLine(PlayerRemoved{n});
    for (int k = 1; k <= m_slotcount; ++k) {
        if (k == n || record(k).inuse != 1)
            continue;
        const ConnectionTable::Connection* c = m_connections.find(record(k).socket);
        if (c != nullptr && c->seatKeys)
            m_outbox.toSlot(k, marker);
        m_outbox.toSlot(k, gone);
    }
}

void TServer::disconnectsock(int n)
{
    if (!isSlot(n) || record(n).inuse != 1)
        return;
    if (const ConnectionTable::Connection* c = m_connections.find(record(n).socket); c && c->link)
        c->link->close();
}

void TServer::announceClosing()
{
    for (int k = 1; k <= m_slotcount; ++k) {
        if (record(k).inuse != 1)
            continue;
        const ConnectionTable::Connection* c = m_connections.find(record(k).socket);
        if (c != nullptr && c->seatKeys)
            m_outbox.toSlot(k, HostClosing{}.write(m_line));
    }
}

// --- receiving and dispatching --------------------------------------------------------------------

void TServer::Sock1Read(LineConnection* sender, std::string_view line)
{
    ConnectionTable::Connection* c = m_connections.find(sender);
    if (c == nullptr)
        return;
    m_connections.receive(*c, line, m_receivedlist);
    m_queuedPeak = std::max(m_queuedPeak, m_receivedlist.bytes());
    if (!m_receivedlist.empty() && !m_socktimer.isActive())
        m_socktimer.start();
}

void TServer::socktimerTimer()
{
    // One request per tick. Lines of connections closed for abuse, empty lines and unknown words are
    // dropped without using a tick.
    while (m_receivedlist.pop(m_dispatching)) {
        const int connection = m_dispatching.connection;
        const ConnectionTable::Connection* c = m_connections.find(connection);
        const bool dropped = c == nullptr || c->discard || !isRequest(m_dispatching.text);
        if (!dropped) {
            // Handlers read UTF-8; an older table sends its name and chat in Windows-1252.
            wiretext::decodeInPlace(m_dispatching.text);
            dispatchLine(m_dispatching);
        }
        m_connections.forgetIfIdle(connection, m_receivedlist);
        if (!dropped)
            break;
    }
    if (m_receivedlist.empty()) {
        m_socktimer.stop();
        settleMemory();
    }
    noteSeats();
}

void TServer::settleMemory()
{
    // Freed lines mostly stay with the allocator, in pieces the system never gets back: after a flood
    // has been served or thrown away, the host asks for the free memory to be returned.
    if (m_queuedPeak < kGiveBackAfter || m_receivedlist.bytes() > m_queuedPeak / 4)
        return;
    m_queuedPeak = m_receivedlist.bytes();
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

bool TServer::isRequest(std::string_view line) const
{
    return m_dispatcher.knows(splitCommand(line).word);
}

void TServer::dispatchLine(const QueuedLine& line)
{
    try {
        m_dispatcher.dispatch(line.text, line.connection);
    } catch (const FieldError& error) {
        logError(line.connection, QString::fromUtf8(FieldError(std::string(forLog(error.text()).toUtf8())).what()));
    } catch (const std::exception& error) {
        logError(line.connection, forLog(error.what()));
    }
}

void TServer::logError(int connection, const QString& text)
{
    const ConnectionTable::Connection* c = m_connections.find(connection);
    const int slot = c != nullptr ? c->slot : 0;
    int suppressed = 0;
    if (!m_errorLog.allow(connection, m_clock(), suppressed))
        return;
    if (suppressed > 0)
        log(QStringLiteral("Slot %1: %2 more errors were not logged").arg(slot).arg(suppressed));
    log(QStringLiteral("Slot %1: %2").arg(slot).arg(text));
}

int TServer::seatedPlayers() const
{
    int seated = 0;
    for (int seat = 1; seat <= kSeatCount; ++seat)
        seated += m_engine.seat(seat).inuse == 1 ? 1 : 0;
    return seated;
}

void TServer::noteSeats()
{
    const int players = seatedPlayers();
    const bool running = playing();
    if (players == m_toldPlayers && running == m_toldPlaying)
        return;
    m_toldPlayers = players;
    m_toldPlaying = running;
    emit seatsChanged();
}

bool TServer::speaksFor(int connection, int slot) const
{
    return isSlot(slot) && m_connections.speaksFor(connection, slot, m_engine.seat(slot).socket);
}

} // namespace morlu
