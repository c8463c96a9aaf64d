#include "tserver.h"

#include "fieldreader.h"
#include "gamemessages.h"
#include "sessionmessages.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>

namespace morlu {

namespace {

constexpr int kDispatchInterval = 10;

bool isSlot(int n)
{
    return n >= 1 && n <= kSlotCount;
}

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

TServer::TServer(QObject* parent)
    : QObject(parent), m_outbox(m_connections, m_slotcount), m_random(Random::seedFromTimeOfDay()),
      m_engine(m_outbox, m_timers, m_random)
{
    m_sock1.setObjectName(QStringLiteral("Sock1"));
    m_tempsock.setObjectName(QStringLiteral("tempsock"));
    m_socktimer.setObjectName(QStringLiteral("socktimer"));
    m_outbox.setEngine(&m_engine);
    // Nothing thrown while handling an event may reach the event loop (or an error dialog): it is logged.
    m_timers.setHandler([this](TimerId id) { guarded([&] { m_engine.timerFired(id); }); });
    m_connections.setFaultHandler([this](int connection, const QString& why) {
        const ConnectionTable::Connection* c = m_connections.find(connection);
        log(QStringLiteral("Closing the connection of slot %1: %2").arg(c ? c->slot : 0).arg(why));
        // Faults are found in the middle of sends and reads: close from the event loop, never inside.
        QTimer::singleShot(0, this,
                           [this, connection] { guarded([this, connection] { closeConnection(connection); }); });
    });

    m_sock1.setPortName(QStringLiteral("7772"));
    m_sock1.OnAccept = [this](TSock* sender) { guarded([&] { Sock1Accept(sender); }); };
    // Accepted sockets take OnRead from the listener, and the departure handlers from tempsock.
    m_sock1.OnRead = [this](TSock* sender, qsizetype count) { guarded([&] { Sock1Read(sender, count); }); };
    m_tempsock.OnDisconnect = [this](TSock* sender) { guarded([&] { tempsockDisconnect(sender); }); };
    m_tempsock.OnInfo = [this](TSock* sender, TSocketInfo info, const QString& msg) {
        guarded([&] { tempsockInfo(sender, info, msg); });
    };

    m_socktimer.setInterval(kDispatchInterval);
    m_socktimer.setTimerType(Qt::PreciseTimer);
    connect(&m_socktimer, &QTimer::timeout, this, [this] { guarded([this] { socktimerTimer(); }); });
    m_dispatching.text.reserve(256);
    registerCommands();
}

TServer::~TServer()
{
    // The accepted sockets are children of Sock1 and go with it, without reports.
    m_sock1.OnAccept = nullptr;
    m_sock1.OnRead = nullptr;
}

void TServer::listen(const QString& port)
{
    if (m_sock1.Listen())
        return;
    m_sock1.setPortName(port);
    m_sock1.setListen(true);
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
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// --- arrivals and departures ----------------------------------------------------------------------

void TServer::Sock1Accept(TSock*)
{
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
    TSock* sock = nullptr;
    try {
        if (!m_sock1.Accept(sock))
            sock = nullptr;
    } catch (const ESockException& error) {
        log(QString::fromLatin1(error.what()));
        sock = nullptr;
    }
    if (sock == nullptr) {
        // Nothing was taken: the slot stays free and the slot count as it was.
        log(QStringLiteral("Could Not Accept Connection"));
        return;
    }
    m_slotcount = std::max(m_slotcount, slot);
    const int connection = m_connections.add(sock, slot);
    SeatRecord& r = record(slot);
    r.inuse = 1;
    r.socket = connection;
    sock->setTag(slot);
    sock->OnDisconnect = m_tempsock.OnDisconnect;
    sock->OnInfo = m_tempsock.OnInfo;
    sock->setKeepAlive(true);
    log(QStringLiteral("Slot %1: connected from %2").arg(slot).arg(sock->HostName()));
    m_outbox.toSlot(slot, SendLoginInfo{slot}.write(m_line));
    emit accepted(slot);
}

void TServer::refuse()
{
    TSock* sock = nullptr;
    try {
        if (!m_sock1.Accept(sock) || sock == nullptr)
            return;
    } catch (const ESockException&) {
        return;
    }
    // Nobody hears of it: no handlers, no slot, no departure; destroying the socket closes it.
    sock->OnRead = nullptr;
    sock->OnInfo = nullptr;
    sock->OnDisconnect = nullptr;
    try {
        sock->Send(Full{}.write(m_line));
    } catch (const ESockException&) {
    }
    delete sock;
    log(QStringLiteral("Refused a connection: the game is full"));
    emit refused();
}

void TServer::tempsockDisconnect(TSock* sender)
{
    const ConnectionTable::Connection* c = m_connections.find(sender);
    if (c != nullptr && record(c->slot).inuse == 1)
        sender->Close();
}

void TServer::tempsockInfo(TSock* sender, TSocketInfo info, const QString& msg)
{
    if (msg == QLatin1String("Socket Closed")) {
        depart(sender);
        return;
    }
    if (info == TSocketInfo::Error) {
        // A reset or otherwise failed connection: the table is gone just as if it had closed.
        if (ConnectionTable::Connection* c = m_connections.find(sender))
            m_connections.fault(*c, msg, false);
    }
}

void TServer::closeConnection(int connection)
{
    const ConnectionTable::Connection* c = m_connections.find(connection);
    if (c != nullptr && c->open && c->sock != nullptr)
        c->sock->Close();
}

void TServer::depart(TSock* sock)
{
    // Only the first "Socket Closed" of a connection counts; a second one finds nothing.
    const ConnectionTable::Connection* c = m_connections.find(sock);
    if (c == nullptr)
        return;
    const int connection = c->id;
    const int n = c->slot;
    m_connections.detach(connection);
    sock->OnRead = nullptr;
    sock->OnDisconnect = nullptr;
    sock->OnInfo = nullptr;
    sock->deleteLater();

    SeatRecord& r = record(n);
    if (r.socket != connection)
        return;
    if (r.inuse == 1)
        m_outbox.toOthers(n, PlayerDisconnected{n, r.name}.write(m_line));
    log(QStringLiteral("Slot %1: %2 left").arg(n).arg(QString::fromStdString(r.name)));
    r.inuse = 0;
    r.name.clear();
    r.justwatch = 0;
    r.socket = 0;
    if (m_engine.gamerunning() && (n != 1 || m_seatOneTakeover))
        m_engine.computerTakesOver(n);
    m_connections.forgetIfIdle(connection, m_receivedlist);
    emit departed(n);
}

void TServer::disconnectsock(int n)
{
    if (!isSlot(n) || record(n).inuse != 1)
        return;
    if (const ConnectionTable::Connection* c = m_connections.find(record(n).socket); c && c->sock)
        c->sock->Close();
}

// --- receiving and dispatching --------------------------------------------------------------------

void TServer::Sock1Read(TSock* sender, qsizetype)
{
    ConnectionTable::Connection* c = m_connections.find(sender);
    if (c == nullptr) {
        try {
            sender->Receive();
        } catch (const ESockException&) {
        }
        return;
    }
    m_connections.receive(*c, m_receivedlist);
    if (!m_receivedlist.empty() && !m_socktimer.isActive())
        m_socktimer.start();
}

void TServer::socktimerTimer()
{
    // One request per tick; lines of connections closed for abuse are dropped without using a tick.
    while (m_receivedlist.pop(m_dispatching)) {
        const int connection = m_dispatching.connection;
        const ConnectionTable::Connection* c = m_connections.find(connection);
        const bool dropped = c == nullptr || c->discard;
        if (!dropped) {
            try {
                m_dispatcher.dispatch(m_dispatching.text, connection);
            } catch (const std::exception& error) {
                log(QString::fromLocal8Bit(error.what()));
            }
        }
        m_connections.forgetIfIdle(connection, m_receivedlist);
        if (!dropped)
            break;
    }
    if (m_receivedlist.empty())
        m_socktimer.stop();
}

void TServer::registerCommands()
{
    const auto add = [this](std::string_view word, void (TServer::*handler)(std::string_view, int)) {
        m_dispatcher.add(
            word, [this, handler](std::string_view rest, int connection) { (this->*handler)(rest, connection); });
    };
    add(CMD_logininfo, &TServer::receivedlogininfo);
    add(CMD_kickhim, &TServer::kickhim);
    add(CMD_chat, &TServer::chat);
    add(CMD_action, &TServer::action);
    add(CMD_botspeed, &TServer::botspeed);
    add(CMD_botlevel, &TServer::botlevel);
    add(CMD_startgame, &TServer::startgame);
    add(CMD_justwatch, &TServer::justwatch);
    add(CMD_choosetype, &TServer::choosetype);
    add(CMD_playcard, &TServer::playcard);
    add(CMD_playasound, &TServer::playasound);
}

bool TServer::speaksFor(int connection, int slot) const
{
    return isSlot(slot) && m_connections.speaksFor(connection, slot, m_engine.seat(slot).socket);
}

// --- requests -------------------------------------------------------------------------------------

void TServer::receivedlogininfo(std::string_view rest, int connection)
{
    const LoginInfo login = LoginInfo::read(rest);
    const int s = login.slot;
    const ConnectionTable::Connection* c = m_connections.find(connection);
    // A login whose connection has gone (or is going) would seat a dead connection: dropped.
    if (c == nullptr || !c->open || c->closing || !speaksFor(connection, s))
        return;
    SeatRecord& r = record(s);
    r.name.assign(login.name);
    r.inuse = 1;
    m_outbox.toAll(NewPlayerInfo{s, r.name}.write(m_line));
    for (int k = 1; k <= m_slotcount; ++k) {
        if (k != s && record(k).inuse == 1)
            m_outbox.toSlot(s, ExistingPlayers{k, record(k).name}.write(m_line));
    }
    if (login.version != kVersionText) {
        if (record(1).inuse == 1)
            m_outbox.toSlot(1, HaveWrongVersion{r.name}.write(m_line));
        m_outbox.toSlot(s, WrongVersion{}.write(m_line));
    }
    if (m_engine.gamerunning())
        m_engine.catchUp(s);
    log(QStringLiteral("Slot %1: logged in as %2 (version %3)")
            .arg(s)
            .arg(fromView(login.name), fromView(login.version)));
    emit loggedIn(s);
}

void TServer::kickhim(std::string_view rest, int connection)
{
    FieldReader reader(rest);
    const int requester = reader.intField();
    if (requester != 1 || !speaksFor(connection, requester))
        return;
    const int n = reader.intField();
    if (isSlot(n))
        disconnectsock(n);
}

void TServer::chat(std::string_view rest, int connection)
{
    const ChatRequest request = ChatRequest::read(rest);
    if (speaksFor(connection, request.slot))
        m_outbox.toAll(ChatRelay::relay(m_line, request.slot, record(request.slot).name, request.rest));
}

void TServer::action(std::string_view rest, int connection)
{
    const ActionRequest request = ActionRequest::read(rest);
    if (speaksFor(connection, request.slot))
        m_outbox.toAll(ActionRelay::relay(m_line, request.slot, record(request.slot).name, request.rest));
}

void TServer::playasound(std::string_view rest, int connection)
{
    const PlayASoundRequest request = PlayASoundRequest::read(rest);
    if (speaksFor(connection, request.slot))
        m_outbox.toAll(request.write(m_line));
}

void TServer::botspeed(std::string_view rest, int connection)
{
    FieldReader reader(rest);
    const int slot = reader.intField();
    if (slot != 1 || !speaksFor(connection, slot))
        return;
    const int milliseconds = reader.intField();
    if (milliseconds >= 0)
        m_engine.setBotdelay(milliseconds);
}

void TServer::botlevel(std::string_view rest, int connection)
{
    const BotLevel request = BotLevel::read(rest);
    const std::optional<ComputerLevel> level = computerLevelFor(request.level);
    if (speaksFor(connection, 1) && GameState::isSeat(request.seat) && level)
        m_engine.setComputerLevel(request.seat, *level);
}

void TServer::justwatch(std::string_view rest, int connection)
{
    const JustWatch request = JustWatch::read(rest);
    const int s = request.seat;
    if (!GameState::isSeat(s))
        return;
    // A player switches his own seat; the host player (slot 1) may switch any seat.
    if (!speaksFor(connection, s) && !speaksFor(connection, 1))
        return;
    if (request.state == kWatchStop) {
        record(s).justwatch = 0;
        m_outbox.toAll(JustWatching{s, kWatchStop}.write(m_line));
    } else if (request.state == kWatchStart && m_engine.gamerunning()) {
        record(s).justwatch = 1;
        m_outbox.toAll(JustWatching{s, kWatchStart}.write(m_line));
        m_engine.computerTakesOver(s);
    }
}

void TServer::startgame(std::string_view rest, int)
{
    // Any table may start (or restart) a game.
    m_engine.startgame(rest);
}

void TServer::choosetype(std::string_view rest, int connection)
{
    FieldReader reader(rest);
    if (speaksFor(connection, reader.intField()))
        m_engine.choosetype(rest);
}

void TServer::playcard(std::string_view rest, int connection)
{
    FieldReader reader(rest);
    if (speaksFor(connection, reader.intField()))
        m_engine.playcard(rest);
}

} // namespace morlu
