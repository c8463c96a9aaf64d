// The requests a table may send the host: each is read once into its message and, when the
// connection speaks for the seat it names, handed to the engine or relayed to the tables.

#include "tserver.h"

#include "gamemessages.h"
#include "names.h"
#include "sessionmessages.h"
#include "sessiontext.h"

#include <algorithm>
#include <optional>
#include <string>

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
    log(QStringLiteral("Slot %1: logged in as %2 (version %3)").arg(s).arg(sessiontext::forLog(r.name), sessiontext::forLog(login.version)));
    emit loggedIn(s);
}

void TServer::kickhim(std::string_view rest, int connection)
{
    const KickHim request = KickHim::read(rest);
    if (request.requestingSlot != 1 || !speaksFor(connection, request.requestingSlot))
        return;
    disconnectsock(request.slot);
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
    const ChatRelay line{0, m_allowHints ? kHintsAllowedLine : kHintsRefusedLine, "clBlue", true};
    m_outbox.toAll(line.write(m_line));
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

} // namespace morlu
