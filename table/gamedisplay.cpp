#include "gamedisplay.h"

#include "artpicture.h"
#include "board.h"
#include "boarddisplay.h"
#include "cardplace.h"
#include "cards.h"
#include "chatsink.h"
#include "commands.h"
#include "gamemessages.h"
#include "sessionmessages.h"
#include "tableevents.h"
#include "tablestate.h"
#include "titledpanel.h"
#include "viewtext.h"

#include <QLabel>

#include <array>

namespace {

const QString kOneMoment = QStringLiteral("One Moment Please..");

/// Reasons of CMD_aerror, codes 1..5.
constexpr std::array<const char*, 5> kRefusals{
    "You cannot lead a HEART when doing a Morlu.",
    "You cannot lead a SPADE when doing a Seige.",
    "You cannot lead a HEART or a SPADE when doing a Guillotine.",
    "You must follow suit.",
    "That card cannot be played.",
};

} // namespace

GameDisplay::GameDisplay(BoardDisplay& display, ChatSink& chat, TableEvents& events)
    : m_display(display), m_board(display.board()), m_state(display.state()), m_chat(chat), m_events(events)
{
}

void GameDisplay::registerOn(morlu::Dispatcher<>& dispatcher)
{
    dispatcher.add(morlu::CMD_starthand, this, &GameDisplay::starthand);
    dispatcher.add(morlu::CMD_placecard, this, &GameDisplay::placecard);
    dispatcher.add(morlu::CMD_dplacecard, this, &GameDisplay::dplacecard);
    dispatcher.add(morlu::CMD_endhand, this, &GameDisplay::endhand);
    dispatcher.add(morlu::CMD_took, this, &GameDisplay::took);
    dispatcher.add(morlu::CMD_scores, this, &GameDisplay::scores);
    dispatcher.add(morlu::CMD_dendhand, this, &GameDisplay::dendhand);
    dispatcher.add(morlu::CMD_handover, this, &GameDisplay::handover);
    dispatcher.add(morlu::CMD_dlayout, this, &GameDisplay::dlayout);
    dispatcher.add(morlu::CMD_aerror, this, &GameDisplay::aerror);
    dispatcher.add(morlu::CMD_agame, this, &GameDisplay::agame);
    dispatcher.add(morlu::CMD_winner, this, &GameDisplay::winner);
}

void GameDisplay::starthand(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_starthand, rest))
        return;
    morlu::StartHand::read(rest);
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        m_board.playedCard(seat)->clearPicture();
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
}

void GameDisplay::placecard(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_placecard, rest))
        return;
    const auto message = morlu::PlaceCard::read(rest);
    if (CardPlace* place = m_board.playedCard(message.seat))
        place->drawCard(message.card);
    if (message.lead)
        m_board.placeLead(message.seat);
    if (message.seat == m_state.myseat)
        m_display.emptyHandPlace(message.handSlot);
    m_events.playsounds(QStringLiteral("placecard"));
}

void GameDisplay::dplacecard(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_dplacecard, rest))
        return;
    const auto message = morlu::DPlaceCard::read(rest);
    m_display.showCardCounts();
    m_display.showDominoRank(message.dominoStart);
    if (CardPlace* foundation = m_board.foundation(message.suit)) {
        foundation->clearPicture();
        foundation->drawCard(message.card);
    }
    if (message.seat == m_state.myseat)
        m_display.emptyHandPlace(message.handSlot);
    m_events.playsounds(QStringLiteral("placecard"));
}

void GameDisplay::endhand(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_endhand, rest))
        return;
    const int seat = morlu::EndHand::read(rest).seat;
    m_board.statusLabel()->setText(kOneMoment);
    m_board.placeTaker(seat);
    m_board.turnMarker()->hide();
}

void GameDisplay::took(std::string_view rest)
{
    // Only the game log tells who took a money card: the model writes it.
    m_display.take(morlu::CMD_took, rest);
}

void GameDisplay::scores(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_scores, rest))
        return;
    const auto message = morlu::Scores::read(rest);
    for (const morlu::ScoreGroup& group : message.groups) {
        if (QLabel* bank = m_board.scoreLabel(group.seat))
            bank->setText(QStringLiteral("$%1").arg(group.bank));
        if (!m_board.bonusLabel(group.seat))
            continue;
        const bool own = group.seat == m_state.myseat;
        if (group.money == 0) {
            m_board.setBonusText(group.seat, QString());
        } else if (group.money < 0) {
            m_board.setBonusText(group.seat, QString::number(group.money));
            if (own)
                m_events.playsounds(QStringLiteral("lostmoney"));
        } else {
            m_board.setBonusText(group.seat, QStringLiteral("+%1").arg(group.money));
            if (own)
                m_events.playsounds(QStringLiteral("gotmoney"));
        }
    }
}

void GameDisplay::dendhand(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_dendhand, rest))
        return;
    m_board.statusLabel()->setText(kOneMoment);
    // The round is over: nobody is on turn any more (the seat last marked may hold no card).
    m_board.turnMarker()->hide();
}

void GameDisplay::handover(std::string_view rest)
{
    // A host that gave this table its key says so after the catch-up: the turn line and the marker as the
    // model now has them ("One Moment Please..", nobody on turn).
    if (!m_display.take(morlu::CMD_handover, rest))
        return;
    m_display.showTurnLine();
}

void GameDisplay::dlayout(std::string_view rest)
{
    // A host that gave this table its key sends the DOMINO layout after the catch-up, which could only
    // guess it: the foundations and card counts as the model now has them. One the model did not take
    // leaves the board as it was.
    if (m_display.take(morlu::CMD_dlayout, rest))
        m_display.showDominoLayout();
}

void GameDisplay::aerror(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_aerror, rest))
        return;
    const auto message = morlu::AError::read(rest);
    if (message.seat != m_state.myseat)
        return;
    QStringList lines;
    if (message.code >= 1 && message.code <= static_cast<int>(kRefusals.size()))
        lines << QString::fromLatin1(kRefusals[message.code - 1]);
    lines << QString() << QStringLiteral("Please select a different card.");
    m_board.setErrorLines(lines);
    Board::showInFront(m_board.errorPanel());
    m_events.playsounds(QStringLiteral("error"));
}

void GameDisplay::agame(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_agame, rest))
        return;
    const auto message = morlu::AGame::read(rest);
    if (message.slot != m_state.myseat)
        return;
    m_board.startButton()->hide();
    m_display.nameComputerSeats();
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        m_board.playedCard(seat)->clearPicture();
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit)
        m_board.foundation(suit)->clearPicture();
    m_board.placeDirector(message.director);
    m_display.setgametype(fromView(message.length));
    m_display.showCounter();
    // The turn line as the host left it: the seat that chooses (the last round's director is named while
    // the next one chooses), the pause after a full trick, or the seat on turn, the own one included: the
    // host waits for its card.
    m_display.showTurnLine();
    if (m_display.model().chooser() != 0)
        return;
    m_display.setcontract(message.contract);
    // A rank outside 1..8 keeps the "?" that setcontract has just shown.
    if (message.contract == morlu::Domino && !BoardDisplay::dominoRankName(message.dominoStart).isEmpty())
        m_display.showDominoRank(message.dominoStart);
    if (message.leader > 0)
        m_board.placeLead(message.leader);
    // The four cards on the table: by seat in a trick. In a DOMINO layout they are the card each seat laid
    // last, each drawn on its own suit's foundation (the model's guess); a host that gave this table its
    // key sends the layout itself next (CMD_dlayout).
    for (int n = 1; n <= morlu::kSeatCount; ++n) {
        if (message.contract == morlu::Domino) {
            if (const int top = m_display.model().foundationTop(n); top != 0)
                m_board.foundation(n)->drawCard(top);
            continue;
        }
        if (const int card = message.trick[std::size_t(n - 1)]; card > 0)
            m_board.playedCard(n)->drawCard(card);
    }
}

void GameDisplay::winner(std::string_view rest)
{
    if (!m_display.take(morlu::CMD_winner, rest))
        return;
    const TableModel& model = m_display.model();
    const QString text = model.winner();
    m_events.playsounds(QStringLiteral("winner"));
    const bool player = model.isPlayerSeat();
    const bool ownWin = m_display.ownWin();
    const QString shown = m_display.winnerText();
    m_board.setWinnerText(shown);
    // The game is over: the last trick's "One Moment Please.." no longer holds.
    m_board.statusLabel()->clear();
    m_chat.systemLine(ChatSink::isolated(text) + shown.mid(text.size()));
    Board::showInFront(m_board.winnerPanel());
    if (m_state.isHostPlayer())
        m_board.startButton()->show();
    if (!player)
        return;
    if (ownWin)
        m_events.addgame(QStringLiteral("addtomine"));
    else if (!text.contains(QLatin1String(" and ")))
        m_events.addgame(text);
}
