// The requests a table may send the host: each is read once into its message and, when the
// connection speaks for the seat it names, handed to the engine or relayed to the tables.

#include "gamemessages.h"
#include "names.h"
#include "sessionmessages.h"
#include "sessiontext.h"
#include "tserver.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace morlu {

void TServer::registerCommands()
{
    const auto add = [this](std::string_view word, void (TServer::*handler)(std::string_view, int)) {
        m_dispatcher.add(word, this, handler);
    };
    add(CMD_logininfo, &TServer::receivedlogininfo);
    add(CMD_kickhim, &TServer::kickhim);
    add(CMD_chat, &TServer::chat);
    add(CMD_action, &TServer::action);
    add(CMD_botspeed, &TServer::botspeed);
    add(CMD_botlevel, &TServer::botlevel);
    add(CMD_allowhints, &TServer::allowhints);
    add(CMD_hint, &TServer::hint);
    add(CMD_startgame, &TServer::startgame);
    add(CMD_justwatch, &TServer::justwatch);
    add(CMD_choosetype, &TServer::choosetype);
    add(CMD_playcard, &TServer::playcard);
    add(CMD_playasound, &TServer::playasound);
    add(CMD_seatkey, &TServer::seatkey);
    add(CMD_rejoin, &TServer::rejoin);
}

std::string TServer::seatName(std::string_view received, int s) const
{
    return sessiontext::distinctName(sessiontext::cleanName(received, s), [this, s](const QString& name) {
        for (int k = 1; k <= m_slotcount; ++k) {
            const SeatRecord& other = m_engine.seat(k);
            if (k != s && other.inuse == 1 && sessiontext::sameName(QString::fromStdString(other.name), name))
                return true;
        }
        return false;
    });
}

void TServer::receivedlogininfo(std::string_view rest, int connection)
{
    const LoginInfo login = LoginInfo::read(rest);
    const int s = login.slot;
    ConnectionTable::Connection* c = m_connections.find(connection);
    // A login whose connection has gone (or is going) would seat a dead connection: dropped. A table
    // logs in once; taking another name mid-game would pass it off as someone else.
    if (c == nullptr || !c->open || c->closing || c->loggedIn || !speaksFor(connection, s))
        return;
    c->loggedIn = true;
    c->hintChanges = m_hintChanges;
    // Whoever held a key for this slot has lost it to this table.
    m_seatKeys.revoke(s);
    SeatRecord& r = record(s);
    r.name = seatName(login.name, s);
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
    settleRejoins();
    log(QStringLiteral("Slot %1: logged in as %2 (version %3)")
            .arg(s)
            .arg(sessiontext::forLog(r.name), sessiontext::forLog(login.version)));
    emit loggedIn(s);
}

void TServer::kickhim(std::string_view rest, int connection)
{
    const KickHim request = KickHim::read(rest);
    if (request.requestingSlot != 1 || !speaksFor(connection, request.requestingSlot))
        return;
    const int n = request.slot;
    if (n >= 1 && n <= kSlotCount && record(n).inuse == 1) {
        // A removed table may not come back with its key; one that knows the words is told first.
        m_seatKeys.revoke(n);
        ConnectionTable::Connection* removed = m_connections.find(record(n).socket);
        if (removed != nullptr) {
            removed->removed = true;
            if (removed->seatKeys)
                m_outbox.toSlot(n, Removed{}.write(m_line));
        }
    }
    disconnectsock(n);
}

template <typename Relay> void TServer::relayChat(int s, std::string_view received)
{
    // No line breaks or direction controls, a colour the tables can read; the relay adds the name and
    // a separator: the text is cut so the whole still fits one line.
    const std::string& name = record(s).name;
    const std::string_view clean = sessiontext::cleanChat(received, m_cleaned);
    const std::size_t room = sessiontext::relayRoom(Relay::command, s, name, Relay::separator);
    m_outbox.toAll(Relay::relay(m_line, s, name, sessiontext::fitChatText(clean, room, m_scratch)));
}

void TServer::chat(std::string_view rest, int connection)
{
    const ChatRequest request = ChatRequest::read(rest);
    if (speaksFor(connection, request.slot))
        relayChat<ChatRelay>(request.slot, request.rest);
}

void TServer::action(std::string_view rest, int connection)
{
    const ActionRequest request = ActionRequest::read(rest);
    if (speaksFor(connection, request.slot))
        relayChat<ActionRelay>(request.slot, request.rest);
}

void TServer::playasound(std::string_view rest, int connection)
{
    PlayASoundRequest request = PlayASoundRequest::read(rest);
    if (!speaksFor(connection, request.slot))
        return;
    request.rest = sessiontext::cutUtf8(request.rest, sessiontext::relayRoom(PlayASoundRequest::command, request.slot));
    m_outbox.toAll(request.write(m_line));
}

void TServer::botspeed(std::string_view rest, int connection)
{
    const BotSpeed request = BotSpeed::read(rest);
    if (request.slot != 1 || !speaksFor(connection, request.slot))
        return;
    m_engine.setBotdelay(std::clamp(request.milliseconds, 0, kMaxBotDelay));
}

void TServer::botlevel(std::string_view rest, int connection)
{
    const BotLevel request = BotLevel::read(rest);
    const std::optional<ComputerLevel> level = computerLevelFor(request.level);
    if (speaksFor(connection, 1) && GameState::isSeat(request.seat) && level)
        m_engine.setComputerLevel(request.seat, *level);
}

void TServer::allowhints(std::string_view rest, int connection)
{
    bool valid = false;
    const AllowHints request = AllowHints::read(rest, valid);
    if (!valid || !speaksFor(connection, 1) || request.allowed == m_allowHints)
        return;
    m_allowHints = request.allowed;
    ++m_hintChanges;
    m_outbox.toAll(hintsLine());
}

std::string_view TServer::hintsLine()
{
    return ChatRelay{0, m_allowHints ? kHintsAllowedLine : kHintsRefusedLine, "clBlue", true}.write(m_line);
}

void TServer::hint(std::string_view rest, int connection)
{
    // Only the table that holds the seat, while it plays the seat itself; with other humans at the
    // table only when the host player allows hints.
    const int s = HintRequest::read(rest).seat;
    if (!GameState::isSeat(s) || !speaksFor(connection, s) || record(s).computerPlayed())
        return;
    bool othersSeated = false;
    for (int n = 1; n <= kSeatCount; ++n)
        othersSeated = othersSeated || (n != s && record(n).inuse == 1);
    if (othersSeated && !m_allowHints)
        return;
    if (const std::optional<Hint> answer = m_engine.hintFor(s))
        m_outbox.toSlot(s, answer->write(m_line));
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

void TServer::startgame(std::string_view rest, int connection)
{
    // Only the host player's table starts (or restarts) a game; tables offer it nowhere else. The
    // starter's name goes to every table: one line, in its own direction.
    if (!speaksFor(connection, 1))
        return;
    StartGame request = StartGame::read(rest);
    const std::string starter = sessiontext::cleanText(request.name);
    request.name = starter;
    m_engine.startgame(request);
}

void TServer::choosetype(std::string_view rest, int connection)
{
    const ChooseType request = ChooseType::read(rest);
    if (speaksFor(connection, request.seat))
        m_engine.choosetype(request);
}

void TServer::playcard(std::string_view rest, int connection)
{
    const PlayCard request = PlayCard::read(rest);
    if (speaksFor(connection, request.seat))
        m_engine.playcard(request);
}

void TServer::seatkey(std::string_view rest, int connection)
{
    const SeatKeyRequest request = SeatKeyRequest::read(rest);
    ConnectionTable::Connection* c = m_connections.find(connection);
    if (c == nullptr || !c->open || c->closing || !c->loggedIn || !speaksFor(connection, request.slot))
        return;
    const bool first = !std::exchange(c->seatKeys, true);
    const std::string key = m_seatKeys.issue(request.slot, connection);
    m_outbox.toSlot(request.slot, SeatKey{request.slot, key}.write(m_line));
    // A table that arrives (or comes back) after slot 1 allowed hints has not heard it: it is told once,
    // after its login and catch-up, in the words the others heard, unless a change since its login told
    // it already. Refused is the default: nothing new.
    if (first && m_allowHints && request.slot != 1 && c->hintChanges == m_hintChanges)
        m_outbox.toSlot(request.slot, hintsLine());
    // The catch-up of its login showed the table the game, but not always that nobody is on turn: the
    // DOMINO hand that has just ended looks like one still being played.
    if (first && m_engine.handOver())
        m_outbox.toSlot(request.slot, HandOver{}.write(m_line));
    // Nor does it show a DOMINO layout: it names the card each seat laid last, and no card counts.
    if (first)
        if (const std::optional<DLayout> layout = m_engine.dominoLayout())
            m_outbox.toSlot(request.slot, layout->write(m_line));
}

void TServer::rejoin(std::string_view rest, int connection)
{
    const Rejoin request = Rejoin::read(rest);
    const int n = request.slot;
    ConnectionTable::Connection* c = m_connections.find(connection);
    // Only in answer to a slot offer: before the login of a connection that holds the offered slot.
    if (c == nullptr || !c->open || c->closing || c->loggedIn || !speaksFor(connection, n) || rejoinWaiting(connection))
        return;
    const SeatKeys::Holder holder = m_seatKeys.take(request.key);
    const int s = holder.slot;
    if (s == 0) {
        log(QStringLiteral("Slot %1: a rejoin with a key that is not live").arg(n));
        m_outbox.toSlot(n, SendLoginInfo{n}.write(m_line));
        return;
    }
    if (s != n && record(s).inuse == 1 && record(s).socket == holder.connection) {
        // The table is back before the host noticed that its old connection had gone (it died without a
        // word): that connection leaves now, as if it had closed.
        log(QStringLiteral("Slot %1: its table is back on a new connection; the old one is closed").arg(s));
        closeConnection(holder.connection);
    }
    m_rejoins.push_back({connection, s});
    settleRejoins();
}

bool TServer::rejoinWaiting(int connection) const
{
    return std::any_of(m_rejoins.begin(), m_rejoins.end(),
                       [connection](const WaitingRejoin& w) { return w.connection == connection; });
}

void TServer::settleRejoins()
{
    // Each pass answers or moves one waiting rejoin, or finds that all of them must wait.
    for (bool changed = true; changed;) {
        changed = false;
        for (auto it = m_rejoins.begin(); it != m_rejoins.end() && !changed; ++it) {
            ConnectionTable::Connection* c = m_connections.find(it->connection);
            const int s = it->slot;
            if (c == nullptr || !c->open || c->closing || c->loggedIn) {
                m_rejoins.erase(it);
                changed = true;
                break;
            }
            const int n = c->slot;
            SeatRecord& target = record(s);
            const ConnectionTable::Connection* other = target.inuse == 1 ? m_connections.find(target.socket) : nullptr;
            if (s == n) {
                answerRejoin(n, s);
            } else if (target.inuse == 0) {
                // Slot n was only offered, never announced: it is free again as if nobody had come.
                SeatRecord& offered = record(n);
                offered.inuse = 0;
                offered.socket = 0;
                offered.name.clear();
                offered.justwatch = 0;
                c->slot = s;
                target.inuse = 1;
                target.socket = c->id;
                // The seat was human for a moment: if it is due to play or choose, the computer does it.
                if (m_engine.gamerunning())
                    m_engine.computerTakesOver(n);
                answerRejoin(n, s);
            } else if (other != nullptr && !other->loggedIn && other->open && rejoinWaiting(other->id)) {
                // Two returning tables were each offered the other's slot: they change places. The
                // other one still waits for its own slot, which may now be the one it holds.
                ConnectionTable::Connection* swapped = m_connections.find(other->id);
                swapped->slot = n;
                record(n).socket = swapped->id;
                c->slot = s;
                target.socket = c->id;
                answerRejoin(n, s);
            } else if (other == nullptr || other->loggedIn || !other->open) {
                log(QStringLiteral("Slot %1: a rejoin for slot %2, which is taken now").arg(n).arg(s));
                m_outbox.toSlot(n, SendLoginInfo{n}.write(m_line));
            } else {
                continue; // offered to a table that has not said yet who it is: wait for it
            }
            m_rejoins.erase(it);
            changed = true;
            break;
        }
    }
}

void TServer::answerRejoin(int offered, int slot)
{
    log(QStringLiteral("Slot %1: a table comes back to slot %2").arg(offered).arg(slot));
    m_outbox.toSlot(slot, SendLoginInfo{slot}.write(m_line));
}

} // namespace morlu
