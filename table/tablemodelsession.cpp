// The table model's handlers of the session's words: the own slot, the names at the seats, departures
// and seats that watch.

#include "sessionmessages.h"
#include "tablemodel.h"
#include "viewtext.h"

void TableModel::sendlogininfo(std::string_view rest)
{
    const int slot = morlu::SendLoginInfo::read(rest).slot;
    if (!validSlotNumber(slot))
        return refuse();
    // A table that had a slot is offered one again only on a new connection after a lost one. What it
    // knew of the game may be over by now: the host's catch-up tells it again if a game still runs, so
    // until then none does, and nobody is on turn or chooses.
    if (m_myslot != 0) {
        m_g.gamerunning = false;
        m_g.turn = 0;
        m_g.chooser = 0;
    }
    m_myslot = slot;
}

void TableModel::playerinfo(std::string_view rest)
{
    const auto message = morlu::NewPlayerInfo::read(rest);
    if (!validSlotNumber(message.slot))
        return refuse();
    if (validSeatNumber(message.slot))
        m_g.seats[std::size_t(message.slot)].name = fromView(message.name);
}

void TableModel::playerdisconnected(std::string_view rest)
{
    const auto message = morlu::PlayerDisconnected::read(rest);
    if (!validSlotNumber(message.slot))
        return refuse();
    if (!validSeatNumber(message.slot))
        return;
    m_g.seats[std::size_t(message.slot)].name.clear();
    m_g.seats[std::size_t(message.slot)].watching = false;
    // The seat shows its computer player's name from now on (seat 1 none).
    m_g.seats[std::size_t(message.slot)].computerNamed = true;
}

void TableModel::justwatching(std::string_view rest)
{
    const auto message = morlu::JustWatching::read(rest);
    if (!validSeatNumber(message.seat))
        return refuse();
    m_g.seats[std::size_t(message.seat)].watching = message.watching();
}
