#include "rounddisplay.h"

#include "artpicture.h"
#include "board.h"
#include "cardplace.h"
#include "cards.h"
#include "contractchooser.h"
#include "gamemessages.h"
#include "sessionmessages.h"
#include "tableservices.h"
#include "tablestate.h"
#include "titledpanel.h"

#include <QLabel>

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

const QString kFrenchOrder = QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7");
const QString kAmericanOrder = QStringLiteral("AMERICAN ORDER OF RANKS IS USED: 7-8-9-10-J-Q-K-A");

} // namespace

RoundDisplay::RoundDisplay(Board& board, TableState& state, TableServices& services)
    : m_board(board), m_state(state), m_services(services)
{
}

void RoundDisplay::clearall()
{
    for (int seat = 1; seat <= 4; ++seat) {
        m_board.scoreLabel(seat)->setText(QStringLiteral("$10000"));
        m_board.setBonusText(seat, QString());
        m_board.setCardCountText(seat, QString());
        m_board.playedCard(seat)->clearPicture();
        m_board.setEyesShown(seat, false);
    }
    for (int code = 1; code <= 6; ++code)
        m_board.chooser()->setMarked(code, false);
    m_board.dominoPanel()->hide();
    m_state.chooserseat = 0;
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.handTypeLabel()->clear();
    m_board.chooseContractBanner()->hide();
}

void RoundDisplay::setgametype(const QString& letter)
{
    if (letter == QLatin1String("s")) {
        for (int code = 1; code <= 4; ++code)
            m_board.chooser()->setMarked(code, true);
        m_board.setGameTypeText(QStringLiteral("SHORT GAME"));
        m_state.contracttotal = 8;
    } else if (letter == QLatin1String("h")) {
        for (int code = 1; code <= 2; ++code)
            m_board.chooser()->setMarked(code, true);
        m_board.setGameTypeText(QStringLiteral("HALF GAME"));
        m_state.contracttotal = 16;
    } else {
        m_board.setGameTypeText(QStringLiteral("LONG GAME"));
        m_state.contracttotal = 24;
    }
    m_board.setRoundText(QStringLiteral("CONTRACT: 0/%1").arg(m_state.contracttotal));
}

void RoundDisplay::setcontract(int code)
{
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.chooseContractBanner()->hide();
    if (morlu::validContract(code)) {
        m_board.setHandTypeText(text(morlu::contractLabel(code)));
        m_board.addLogLine(text(morlu::contractName(code)));
    }
    if (code != morlu::Domino) {
        m_board.setRankText(kFrenchOrder, Qt::red);
        m_board.dominoPanel()->hide();
        return;
    }
    m_board.setRankText(kAmericanOrder, Qt::black);
    for (int n = 1; n <= 4; ++n) {
        m_board.foundation(n)->clearPicture();
        m_board.playedCard(n)->clearPicture();
        m_board.dominoRank(n)->setText(QStringLiteral("?"));
        m_board.setCardCountText(n, QStringLiteral("CARDS: 8"));
    }
    m_board.dominoPanel()->show();
}

void RoundDisplay::getnextplayer(int seat)
{
    m_state.turnseat = seat;
    if (seat == 0)
        return;
    m_board.placeTurn(seat);
    const QString name = m_board.seatName(seat);
    if (name != m_state.myname) {
        m_board.statusLabel()->setText(name + QStringLiteral("'s turn."));
        return;
    }
    m_board.statusLabel()->setText(QStringLiteral("Your Turn."));
    m_services.playsounds(m_services.chosenturnsound() == 1 ? QStringLiteral("turnnew") : QStringLiteral("turn"));
}

void RoundDisplay::getnextplayer(std::string_view rest)
{
    getnextplayer(morlu::NextPlayer::read(rest).seat);
}

void RoundDisplay::startthegame(std::string_view rest)
{
    const auto message = morlu::StartGame::read(rest);
    m_board.startButton()->hide();
    m_services.setJustWatchChecked(false);
    m_board.winnerPanel()->hide();
    clearall();
    m_board.statusLabel()->clear();
    setgametype(text(message.length));
    systemLine(text(message.name) + QStringLiteral(" has started a game."));
    nameComputerSeats();
}

void RoundDisplay::startround(std::string_view rest)
{
    const auto message = morlu::StartRound::read(rest);
    const int director = message.seat;
    m_state.chooserseat = director;
    m_state.contractnumber = message.round;
    m_board.addLogLine(QString());
    m_board.addLogLine(QStringLiteral("CONTRACT %1 is starting.").arg(message.round));
    showCounter();
    if (director == m_state.myseat) {
        m_board.statusLabel()->setText(QStringLiteral("Choose a CONTRACT."));
        m_board.feeLabel()->setText(QStringLiteral("Get Ready to Cash In!"));
        m_board.addLogLine(QStringLiteral("You are the director"));
        Board::showInFront(m_board.chooser());
        m_board.chooseContractBanner()->show();
    } else {
        const QString name = m_board.seatName(director);
        m_board.statusLabel()->setText(name + QStringLiteral(" is choosing a CONTRACT."));
        m_board.feeLabel()->setText(QStringLiteral("All fees payable to ") + name);
        m_board.addLogLine(name + QStringLiteral(" is the director"));
        m_board.chooser()->hide();
        m_board.chooseContractBanner()->hide();
    }
    m_board.placeDirector(director);
    m_state.directorseat = director;
    for (int seat = 1; seat <= 4; ++seat) {
        m_board.playedCard(seat)->clearPicture();
        m_board.setBonusText(seat, QString());
        m_board.setCardCountText(seat, QString());
    }
    m_board.dominoPanel()->hide();
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.turnMarker()->hide();
    m_board.handTypeLabel()->clear();
    m_services.playsounds(QStringLiteral("startround"));
}

void RoundDisplay::mycards(std::string_view rest)
{
    const auto message = morlu::MyCards::read(rest);
    if (message.seat > 4)
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
}

void RoundDisplay::choosehand(std::string_view rest)
{
    const auto message = morlu::ChooseHand::read(rest);
    m_state.chooserseat = 0;
    m_board.chooseContractBanner()->hide();
    if (message.seat == m_state.myseat)
        m_board.chooser()->setMarked(message.contract, true);
    m_board.chooser()->hide();
    setcontract(message.contract);
    m_services.playsounds(QStringLiteral("choosecontract"));
}

void RoundDisplay::alreadychoose(std::string_view rest)
{
    const auto message = morlu::AlreadyChoose::read(rest);
    if (message.seat > 4)
        return;
    m_state.chooserseat = message.seat;
    m_board.chooseContractBanner()->show();
    m_board.chooser()->setMarked(message.contract, true);
    m_board.addErrorLine(QStringLiteral("You have already choosen that type of CONTRACT."));
    Board::showInFront(m_board.chooser());
    Board::showInFront(m_board.errorPanel());
    m_services.playsounds(QStringLiteral("error"));
}

void RoundDisplay::handsused(std::string_view rest)
{
    const auto message = morlu::HandsUsed::read(rest);
    if (message.seat != m_state.myseat)
        return;
    for (const int code : message.contracts)
        m_board.chooser()->setMarked(code, true);
}

void RoundDisplay::justwatching(std::string_view rest)
{
    const auto message = morlu::JustWatching::read(rest);
    const int seat = message.seat;
    if (seat > 4)
        return;
    const bool watching = message.watching();
    if (seat == m_state.myseat)
        m_services.setJustWatchChecked(watching);
    systemLine(m_board.seatName(seat) +
               (watching ? QStringLiteral(" is just watching") : QStringLiteral(" is now playing again")));
    m_board.setEyesShown(seat, watching);
}

void RoundDisplay::systemLine(const QString& line)
{
    m_services.addlinetochat(QStringLiteral("0+") + line, m_services.systemcolor());
}

void RoundDisplay::nameComputerSeats()
{
    for (int seat = 2; seat <= 4; ++seat)
        if (m_board.seatName(seat) == QLatin1String(Board::kWaiting))
            m_board.setSeatName(seat, m_board.computerName(seat));
}

void RoundDisplay::showCounter()
{
    m_board.setRoundText(QStringLiteral("CONTRACT: %1/%2").arg(m_state.contractnumber).arg(m_state.contracttotal));
}

void RoundDisplay::emptyHandPlace(int place)
{
    CardPlace* hand = m_board.handPlace(place);
    if (!hand)
        return;
    hand->clearPicture();
    hand->hide();
    hand->setSlot(0);
}

void RoundDisplay::showDominoRank(int rank)
{
    const QString name = dominoRankName(rank);
    for (int n = 1; n <= 4; ++n)
        m_board.dominoRank(n)->setText(name);
}

QString RoundDisplay::dominoRankName(int rank)
{
    static const char* const kNames[] = {"7", "8", "9", "10", "J", "Q", "K", "A"};
    return rank >= 1 && rank <= 8 ? QString::fromLatin1(kNames[rank - 1]) : QString();
}
