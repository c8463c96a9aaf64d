#include "tablesession.h"

#include "board.h"
#include "names.h"
#include "sessionmessages.h"
#include "tableservices.h"
#include "tablestate.h"

#include <string>

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

bool isPlayerSeat(int slot)
{
    return slot >= 1 && slot <= 4;
}

QString spyEntry(int slot, const QString& name)
{
    return QStringLiteral("%1: %2").arg(slot).arg(name);
}

} // namespace

TableSession::TableSession(Board& board, TableState& state, TableServices& services)
    : m_board(board), m_state(state), m_services(services)
{
}

void TableSession::systemLine(const QString& text)
{
    m_services.addlinetochat(QStringLiteral("0+") + text, m_services.systemcolor());
}

void TableSession::sendloginfo(std::string_view rest)
{
    const morlu::SendLoginInfo login = morlu::SendLoginInfo::read(rest);
    m_state.myseat = login.slot;
    m_state.connected = true;
    const QByteArray name = m_state.myname.toUtf8();
    std::string line;
    m_services.sendline(
        morlu::LoginInfo{login.slot, morlu::kVersionText, std::string_view(name.constData(), std::size_t(name.size()))}
            .write(line));
}

void TableSession::newplayerinfo(std::string_view rest)
{
    const morlu::NewPlayerInfo arrival = morlu::NewPlayerInfo::read(rest);
    const int s = arrival.slot;
    const QString name = fromView(arrival.name);
    if (s == m_state.myseat) {
        systemLine(QStringLiteral("You are Connected."));
        systemLine(QStringLiteral("Press Ctrl-i for quick instructions."));
        if (m_loadinifile)
            m_loadinifile();
    } else {
        systemLine(name + QStringLiteral(" is Connected."));
    }
    if (isPlayerSeat(s)) {
        m_board.setSeatName(s, name);
        m_board.setScoreShown(s, true);
    } else if (s > 4) {
        m_spys.append(spyEntry(s, name));
        systemLine(s == m_state.myseat ? QStringLiteral("You are spying.") : name + QStringLiteral(" is spying."));
    }
    if (m_state.myseat == 1 && m_state.connected) {
        std::string line;
        m_services.sendline(morlu::BotSpeed{1, m_chosenbotspeed ? m_chosenbotspeed() : 0}.write(line));
    }
    m_services.playsounds(QStringLiteral("entered"));
}

void TableSession::playerdisconnected(std::string_view rest)
{
    const morlu::PlayerDisconnected departure = morlu::PlayerDisconnected::read(rest);
    const int s = departure.slot;
    if (isPlayerSeat(s)) {
        const QString caption = m_board.seatName(s);
        const QString computer = m_board.computerName(s);
        if (caption != computer)
            systemLine(caption + QStringLiteral(" disconnected."));
        m_board.setSeatName(s, computer);
        m_board.setEyesShown(s, false);
    } else if (s > 4) {
        const QString name = fromView(departure.name);
        const qsizetype at = m_spys.indexOf(spyEntry(s, name));
        if (at >= 0) {
            systemLine(name + QStringLiteral(" has left."));
            m_spys.removeAt(at);
        }
    }
}
