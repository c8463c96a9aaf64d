#include "tablesession.h"

#include "board.h"
#include "chatsink.h"
#include "commands.h"
#include "hostrequests.h"
#include "names.h"
#include "sessionmessages.h"
#include "tableevents.h"
#include "tablestate.h"
#include "viewtext.h"

#include <string>
#include <utility>

namespace {

bool isPlayerSeat(int slot)
{
    return slot >= 1 && slot <= morlu::kSeatCount;
}

QString spyEntry(int slot, const QString& name)
{
    return QStringLiteral("%1: %2").arg(slot).arg(name);
}

} // namespace

TableSession::TableSession(Board& board, TableState& state, ChatSink& chat, HostRequests& host, TableEvents& events)
    : m_board(board), m_state(state), m_chat(chat), m_host(host), m_events(events)
{
}

void TableSession::registerOn(morlu::Dispatcher<>& dispatcher)
{
    dispatcher.add(morlu::CMD_sendlogininfo, this, &TableSession::sendloginfo);
    dispatcher.add(morlu::CMD_newplayerinfo, this, &TableSession::newplayerinfo);
    dispatcher.add(morlu::CMD_existingplayers, this, &TableSession::newplayerinfo);
    dispatcher.add(morlu::CMD_playerdisconnected, this, &TableSession::playerdisconnected);
    dispatcher.add(morlu::CMD_havewrongversion, this, &TableSession::havewrongversion);
    dispatcher.add(morlu::CMD_wrongversion, this, &TableSession::wrongversion);
    dispatcher.add(morlu::CMD_seatkey, this, &TableSession::seatkey);
    dispatcher.add(morlu::CMD_playerremoved, this, &TableSession::playerremoved);
}

void TableSession::sendloginfo(std::string_view rest)
{
    const morlu::SendLoginInfo login = morlu::SendLoginInfo::read(rest);
    std::string line;
    if (std::exchange(m_state.rejoining, false) && !m_state.seatkey.empty()) {
        // A key is good for one try: the host answers with the slot to log in to either way.
        const std::string key = std::exchange(m_state.seatkey, std::string());
        m_host.sendline(morlu::Rejoin{login.slot, key}.write(line));
        return;
    }
    if (m_state.myseat != 0)
        forgetArrivals();
    m_state.myseat = login.slot;
    m_state.connected = true;
    m_events.giveSeat(login.slot);
    m_board.markOwnSeat(isPlayerSeat(login.slot) ? login.slot : 0);
    const QByteArray name = m_state.myname.toUtf8();
    m_host.sendline(
        morlu::LoginInfo{login.slot, morlu::kVersionText, std::string_view(name.constData(), std::size_t(name.size()))}
            .write(line));
    // The host player's table lives and ends with its host: it never needs to come back.
    if (!m_state.ishost)
        m_host.sendline(morlu::SeatKeyRequest{login.slot}.write(line));
}

void TableSession::seatkey(std::string_view rest)
{
    const morlu::SeatKey answer = morlu::SeatKey::read(rest);
    if (answer.slot != m_state.myseat || !morlu::isSeatKey(answer.key))
        return;
    m_state.seatkey = std::string(answer.key);
    if (m_keepkey)
        m_keepkey(m_state.seatkey);
}

void TableSession::playerremoved(std::string_view rest)
{
    m_removedslot = morlu::PlayerRemoved::read(rest).slot;
}

void TableSession::forgetArrivals()
{
    m_removedslot = 0;
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        m_board.setSeatName(seat, m_board.computerName(seat));
        m_board.setEyesShown(seat, false);
    }
    m_spys.clear();
    m_events.setSpys(m_spys);
}

void TableSession::newplayerinfo(std::string_view rest)
{
    const morlu::NewPlayerInfo arrival = morlu::NewPlayerInfo::read(rest);
    const int s = arrival.slot;
    const QString name = fromView(arrival.name);
    // A removal asked for that no departure followed (the slot had already gone): its next table stays.
    if (s == m_removedslot)
        m_removedslot = 0;
    if (s == m_state.myseat) {
        m_chat.systemLine(QStringLiteral("You are Connected."));
        // The host makes names clean and distinct ("Ann (2)"): the player hears which one is his.
        if (!m_state.myname.isEmpty() && name != m_state.myname)
            m_chat.systemLine(QStringLiteral("The host seats you as ") + ChatSink::isolated(name) +
                              QStringLiteral("."));
        m_chat.systemLine(QStringLiteral("Press Ctrl-i for quick instructions."));
        if (m_loadinifile)
            m_loadinifile();
    } else {
        m_chat.systemLine(ChatSink::isolated(name) + QStringLiteral(" is Connected."));
    }
    if (isPlayerSeat(s)) {
        m_board.setSeatName(s, name);
        m_board.setScoreShown(s, true);
    } else if (s > morlu::kSeatCount && s <= morlu::kSlotCount) {
        // A slot holds one spectator: an arrival there replaces whoever the list still had in it.
        const QString slotTag = spyEntry(s, QString());
        m_spys.removeIf([&slotTag](const QString& entry) { return entry.startsWith(slotTag); });
        m_spys.append(spyEntry(s, name));
        m_events.setSpys(m_spys);
        m_chat.systemLine(s == m_state.myseat ? QStringLiteral("You are spying.")
                                              : ChatSink::isolated(name) + QStringLiteral(" is spying."));
    }
    if (m_state.myseat == 1 && m_state.connected) {
        std::string line;
        m_host.sendline(morlu::BotSpeed{1, m_chosenbotspeed ? m_chosenbotspeed() : 0}.write(line));
    }
    m_events.playsounds(QStringLiteral("entered"));
    if (s == m_state.myseat)
        m_events.confirmSeat(s);
}

void TableSession::playerdisconnected(std::string_view rest)
{
    const morlu::PlayerDisconnected departure = morlu::PlayerDisconnected::read(rest);
    const int s = departure.slot;
    const int marked = std::exchange(m_removedslot, 0);
    const bool removed = marked != 0 && marked == s;
    const QString gone = QStringLiteral(" has been removed from the game.");
    if (isPlayerSeat(s)) {
        const QString caption = m_board.seatName(s);
        const QString computer = m_board.computerName(s);
        // The own slot's departure is this table's old connection, which the host closes when the table
        // comes back on a new one before the host noticed the old one had gone: not news to the player.
        if (caption != computer && s != m_state.myseat)
            m_chat.systemLine(ChatSink::isolated(caption) + (removed ? gone : QStringLiteral(" disconnected.")));
        m_board.setSeatName(s, computer);
        m_board.setEyesShown(s, false);
    } else if (s > morlu::kSeatCount) {
        const QString name = fromView(departure.name);
        const qsizetype at = m_spys.indexOf(spyEntry(s, name));
        if (at >= 0) {
            m_chat.systemLine(ChatSink::isolated(name) + (removed ? gone : QStringLiteral(" has left.")));
            m_spys.removeAt(at);
            m_events.setSpys(m_spys);
        }
    }
}

void TableSession::havewrongversion(std::string_view rest)
{
    m_chat.systemLine(ChatSink::isolated(fromView(morlu::HaveWrongVersion::read(rest).name)) +
                      QStringLiteral(" has a different version of the game then you."));
}

void TableSession::wrongversion(std::string_view)
{
    m_chat.systemLine(QStringLiteral("You have a differnt version of the game then the host."));
}
