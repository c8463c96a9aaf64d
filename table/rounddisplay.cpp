#include "rounddisplay.h"

#include "artpicture.h"
#include "board.h"
#include "boarddisplay.h"
#include "cardplace.h"
#include "cards.h"
#include "chatsink.h"
#include "commands.h"
#include "contractchooser.h"
#include "gamemessages.h"
#include "sessionmessages.h"
#include "tableevents.h"
#include "tablestate.h"
#include "titledpanel.h"
#include "viewtext.h"

#include <QLabel>

RoundDisplay::RoundDisplay(BoardDisplay& display, ChatSink& chat, TableEvents& events)
    : m_display(display), m_board(display.board()), m_state(display.state()), m_chat(chat), m_events(events)
{
}

void RoundDisplay::registerOn(morlu::Dispatcher<>& dispatcher)
{
    dispatcher.add(morlu::CMD_startgame, this, &RoundDisplay::startthegame);
    dispatcher.add(morlu::CMD_startround, this, &RoundDisplay::startround);
    dispatcher.add(morlu::CMD_mycards, this, &RoundDisplay::mycards);
    dispatcher.add(morlu::CMD_choosehand, this, &RoundDisplay::choosehand);
    dispatcher.add(morlu::CMD_alreadychoose, this, &RoundDisplay::alreadychoose);
    dispatcher.add(morlu::CMD_nextplayer, this, &RoundDisplay::getnextplayer);
    dispatcher.add(morlu::CMD_handsused, this, &RoundDisplay::handsused);
    dispatcher.add(morlu::CMD_justwatching, this, &RoundDisplay::justwatching);
}

void RoundDisplay::getnextplayer(std::string_view rest)
{
    // In DOMINO the host passes over a seat that can lay nothing; the model's log says so.
    if (!m_display.take(morlu::CMD_nextplayer, rest))
        return;
    m_display.getnextplayer(morlu::NextPlayer::read(rest).seat);
}

void RoundDisplay::startthegame(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_startgame, rest))
        return;
    const auto message = morlu::StartGame::read(rest);
    m_board.startButton()->hide();
    m_events.setJustWatchChecked(false);
    m_board.winnerPanel()->hide();
    m_display.clearall();
    m_board.statusLabel()->clear();
    m_display.setgametype(fromView(message.length));
    m_chat.systemLine(ChatSink::isolated(fromView(message.name)) + QStringLiteral(" has started a game."));
    m_display.nameComputerSeats();
}

void RoundDisplay::startround(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_startround, rest))
        return;
    const auto message = morlu::StartRound::read(rest);
    const int director = message.seat;
    m_display.showCounter();
    m_display.showChoosing(director);
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        m_board.playedCard(seat)->clearPicture();
        m_board.setBonusText(seat, QString());
        m_board.setCardCountText(seat, QString());
    }
    m_board.dominoPanel()->hide();
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.turnMarker()->hide();
    m_board.handTypeLabel()->clear();
    // The rank order belongs to the contract, which is still to be chosen.
    m_board.rankLabel()->clear();
    m_events.playsounds(QStringLiteral("startround"));
}

void RoundDisplay::mycards(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_mycards, rest))
        return;
    const auto message = morlu::MyCards::read(rest);
    // The host deals each seat its own cards; another seat's are none of this table's hand.
    if (message.seat != m_state.myseat)
        return;
    for (const morlu::HandCard& held : message.cards) {
        CardPlace* place = m_board.handPlace(held.slot);
        if (!place)
            continue;
        place->show();
        place->clearPicture();
        place->setSlot(held.slot);
        place->setCardCode(held.card);
        place->drawCard(held.card);
    }
    // The catch-up of a DOMINO round: the own card count is the hand's.
    m_display.showCardCounts();
}

void RoundDisplay::choosehand(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_choosehand, rest))
        return;
    const auto message = morlu::ChooseHand::read(rest);
    m_board.chooseContractBanner()->hide();
    if (message.seat == m_state.myseat)
        m_board.chooser()->setMarked(message.contract, true);
    m_board.chooser()->hide();
    m_display.setcontract(message.contract);
    m_events.playsounds(QStringLiteral("choosecontract"));
}

void RoundDisplay::alreadychoose(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_alreadychoose, rest))
        return;
    const auto message = morlu::AlreadyChoose::read(rest);
    if (message.seat > morlu::kSeatCount)
        return;
    m_board.chooseContractBanner()->show();
    m_board.chooser()->setMarked(message.contract, true);
    m_board.addErrorLine(QStringLiteral("You have already choosen that type of CONTRACT."));
    Board::showInFront(m_board.chooser());
    Board::showInFront(m_board.errorPanel());
    m_events.playsounds(QStringLiteral("error"));
}

void RoundDisplay::handsused(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_handsused, rest))
        return;
    const auto message = morlu::HandsUsed::read(rest);
    if (message.seat != m_state.myseat)
        return;
    for (const int code : message.contracts)
        m_board.chooser()->setMarked(code, true);
}

void RoundDisplay::justwatching(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_justwatching, rest))
        return;
    const auto message = morlu::JustWatching::read(rest);
    const int seat = message.seat;
    if (seat > morlu::kSeatCount)
        return;
    const bool watching = message.watching();
    if (seat == m_state.myseat)
        m_events.setJustWatchChecked(watching);
    m_chat.systemLine(ChatSink::isolated(m_board.seatName(seat)) +
                      (watching ? QStringLiteral(" is just watching") : QStringLiteral(" is now playing again")));
    m_board.setEyesShown(seat, watching);
}
