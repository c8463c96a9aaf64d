#include "boarddisplay.h"

#include "artpicture.h"
#include "board.h"
#include "cardplace.h"
#include "cards.h"
#include "contractchooser.h"
#include "tableevents.h"
#include "tablestate.h"
#include "titledpanel.h"
#include "viewtext.h"

#include <QLabel>

#include <algorithm>
#include <array>
#include <functional>

namespace {

const QString kOneMoment = QStringLiteral("One Moment Please..");
const QString kFrenchOrder = QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7");
const QString kAmericanOrder = QStringLiteral("AMERICAN ORDER OF RANKS IS USED: 7-8-9-10-J-Q-K-A");

/// The DOMINO ranks 1..8 by name.
constexpr std::array kDominoRanks{"7", "8", "9", "10", "J", "Q", "K", "A"};

QString gameTypeText(int contracts)
{
    switch (contracts) {
    case 8:
        return QStringLiteral("SHORT GAME");
    case 16:
        return QStringLiteral("HALF GAME");
    default:
        return QStringLiteral("LONG GAME");
    }
}

} // namespace

BoardDisplay::BoardDisplay(Board& board, TableState& state, TableEvents& events)
    : m_board(board), m_state(state), m_events(events)
{
}

bool BoardDisplay::take(std::string_view word, std::string_view rest)
{
    m_model.setMyslot(m_state.myseat);
    const bool taken = m_model.apply(word, rest);
    drawNewLog();
    return taken;
}

void BoardDisplay::drawNewLog()
{
    const QStringList& log = m_model.log();
    const qsizetype fresh = qsizetype(std::min<qint64>(m_model.logTotal() - m_logDrawn, log.size()));
    for (qsizetype n = log.size() - fresh; n < log.size(); ++n)
        m_board.addLogLine(log.at(n));
    m_logDrawn = m_model.logTotal();
}

void BoardDisplay::redraw()
{
    const TableModel& model = m_model;
    const int contract = model.contract();
    const bool domino = contract == morlu::Domino;
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        const TableModel::Seat& held = model.seat(seat);
        m_board.setSeatName(seat, model.seatName(seat));
        m_board.scoreLabel(seat)->setText(QStringLiteral("$%1").arg(held.bank));
        m_board.setBonusText(seat, held.change == 0  ? QString()
                                   : held.change < 0 ? QString::number(held.change)
                                                     : QStringLiteral("+%1").arg(held.change));
        m_board.setEyesShown(seat, held.watching);
        CardPlace* played = m_board.playedCard(seat);
        played->clearPicture();
        if (!domino && model.trick()[std::size_t(seat)] != 0)
            played->drawCard(model.trick()[std::size_t(seat)]);
    }
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot) {
        const int card = model.hand()[std::size_t(slot)];
        CardPlace* place = m_board.handPlace(slot);
        if (card == 0) {
            emptyHandPlace(slot);
            continue;
        }
        place->show();
        place->clearPicture();
        place->setSlot(slot);
        place->setCardCode(card);
        place->drawCard(card);
    }

    m_board.dominoPanel()->setVisible(domino);
    showDominoLayout();

    const auto place = [](ArtPicture* marker, int seat, const std::function<void(int)>& at) {
        if (seat == 0)
            marker->hide();
        else
            at(seat);
    };
    place(m_board.directorMarker(), model.director(), [this](int seat) { m_board.placeDirector(seat); });
    place(m_board.leadMarker(), model.leader(), [this](int seat) { m_board.placeLead(seat); });
    place(m_board.takerMarker(), model.taker(), [this](int seat) { m_board.placeTaker(seat); });

    if (model.contracttotal() != 0) {
        m_board.setGameTypeText(gameTypeText(model.contracttotal()));
        showCounter();
    }
    for (int code = 1; code <= morlu::kContractCount; ++code)
        m_board.chooser()->setMarked(code, model.contractUsed(code),
                                     ContractChooser::reasonFor(model.contractOutOfGame(code), model.contracttotal()));
    if (morlu::validContract(contract)) {
        m_board.setHandTypeText(fromView(morlu::contractLabel(contract)));
        if (domino)
            m_board.setRankText(kAmericanOrder, Qt::black);
        else
            m_board.setRankText(kFrenchOrder, Qt::red);
    } else {
        m_board.handTypeLabel()->clear();
        m_board.rankLabel()->clear();
    }

    showTurnLine();
    if (model.gameOver()) {
        m_board.setWinnerText(winnerText());
        Board::showInFront(m_board.winnerPanel());
    } else {
        m_board.winnerPanel()->hide();
    }

    m_board.setLogLines(model.log());
    m_logDrawn = model.logTotal();
}

void BoardDisplay::showTurnLine()
{
    const TableModel& model = m_model;
    m_board.chooser()->hide();
    m_board.chooseContractBanner()->hide();
    if (model.director() != 0) {
        const bool own = model.director() == m_state.myseat;
        m_board.feeLabel()->setText(own ? QStringLiteral("Get Ready to Cash In!")
                                        : QStringLiteral("All fees payable to ") + m_board.seatName(model.director()));
    }
    if (model.onTurn() != 0)
        m_board.placeTurn(model.onTurn());
    else
        m_board.turnMarker()->hide();
    if (model.gameOver()) {
        m_board.statusLabel()->clear();
    } else if (model.chooser() != 0) {
        showChoosing(model.chooser());
    } else if (model.gamerunning() && model.handOver()) {
        m_board.statusLabel()->setText(kOneMoment);
    } else if (model.onTurn() != 0) {
        showTurnStatus(model.onTurn());
    } else {
        m_board.statusLabel()->clear();
    }
}

void BoardDisplay::showReconnecting()
{
    m_board.statusLabel()->setText(QStringLiteral("Reconnecting to the host..."));
    m_board.turnMarker()->hide();
    m_board.chooser()->hide();
    m_board.chooseContractBanner()->hide();
}

void BoardDisplay::showDominoLayout()
{
    const TableModel& model = m_model;
    showCardCounts();
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit) {
        m_board.foundation(suit)->clearPicture();
        if (model.foundationTop(suit) != 0)
            m_board.foundation(suit)->drawCard(model.foundationTop(suit));
    }
    showDominoRank(model.dominoStart());
    if (model.dominoStart() == 0)
        for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit)
            m_board.dominoRank(suit)->setText(QStringLiteral("?"));
}

void BoardDisplay::showCardCounts()
{
    const bool domino = m_model.contract() == morlu::Domino;
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        m_board.setCardCountText(seat,
                                 domino ? QStringLiteral("CARDS: %1").arg(m_model.seat(seat).cardsLeft) : QString());
}

bool BoardDisplay::ownWin() const
{
    return m_model.isPlayerSeat() && m_model.gameOver() && m_model.seatName(m_model.myslot()) == m_model.winner();
}

QString BoardDisplay::winnerText() const
{
    return m_model.winner() + (ownWin() ? QStringLiteral(" have Won the Game!") : QStringLiteral(" has Won the Game!"));
}

void BoardDisplay::clearall()
{
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        m_board.scoreLabel(seat)->setText(QStringLiteral("$%1").arg(morlu::kStartingBank));
        m_board.setBonusText(seat, QString());
        m_board.setCardCountText(seat, QString());
        m_board.playedCard(seat)->clearPicture();
        m_board.setEyesShown(seat, false);
    }
    for (int code = 1; code <= morlu::kContractCount; ++code)
        m_board.chooser()->setMarked(code, false);
    m_board.dominoPanel()->hide();
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.handTypeLabel()->clear();
    m_board.chooseContractBanner()->hide();
}

void BoardDisplay::setgametype(const QString& letter)
{
    const QByteArray field = letter.toUtf8();
    const morlu::GameLength length =
        morlu::gamelengthFor(std::string_view(field.constData(), std::size_t(field.size())));
    for (int code = 1; code <= morlu::kContractCount; ++code)
        if (length.used[std::size_t(code)])
            m_board.chooser()->setMarked(code, true, ContractChooser::outOfGameReason(length.contracts));
    m_board.setGameTypeText(gameTypeText(length.contracts));
    m_board.setRoundText(QStringLiteral("CONTRACT: 0/%1").arg(length.contracts));
}

void BoardDisplay::setcontract(int code)
{
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.chooseContractBanner()->hide();
    if (morlu::validContract(code))
        m_board.setHandTypeText(fromView(morlu::contractLabel(code)));
    if (code != morlu::Domino) {
        m_board.setRankText(kFrenchOrder, Qt::red);
        m_board.dominoPanel()->hide();
        return;
    }
    m_board.setRankText(kAmericanOrder, Qt::black);
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit) {
        m_board.foundation(suit)->clearPicture();
        m_board.dominoRank(suit)->setText(QStringLiteral("?"));
    }
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        m_board.playedCard(seat)->clearPicture();
    showCardCounts();
    m_board.dominoPanel()->show();
}

void BoardDisplay::getnextplayer(int seat)
{
    if (seat == 0)
        return;
    m_board.placeTurn(seat);
    showTurnStatus(seat);
    if (seat == m_state.myseat)
        m_events.playsounds(m_events.chosenturnsound() == 1 ? QStringLiteral("turnnew") : QStringLiteral("turn"));
}

void BoardDisplay::showTurnStatus(int seat)
{
    // The seat, not the name: the host tells two tables with one name apart ("Bob (2)"), but the table
    // keeps the name it asked for.
    m_board.statusLabel()->setText(seat == m_state.myseat ? QStringLiteral("Your Turn.")
                                                          : m_board.seatName(seat) + QStringLiteral("'s turn."));
}

void BoardDisplay::showChoosing(int director)
{
    if (director == m_state.myseat) {
        m_board.statusLabel()->setText(QStringLiteral("Choose a CONTRACT."));
        m_board.feeLabel()->setText(QStringLiteral("Get Ready to Cash In!"));
        Board::showInFront(m_board.chooser());
        m_board.chooseContractBanner()->show();
    } else {
        const QString name = m_board.seatName(director);
        m_board.statusLabel()->setText(name + QStringLiteral(" is choosing a CONTRACT."));
        m_board.feeLabel()->setText(QStringLiteral("All fees payable to ") + name);
        m_board.chooser()->hide();
        m_board.chooseContractBanner()->hide();
    }
    m_board.placeDirector(director);
}

void BoardDisplay::nameComputerSeats()
{
    // Seat 1 is always a person: the hosting player's table.
    for (int seat = 2; seat <= morlu::kSeatCount; ++seat)
        if (m_board.seatName(seat) == QLatin1String(Board::kWaiting))
            m_board.setSeatName(seat, m_board.computerName(seat));
}

void BoardDisplay::showCounter()
{
    m_board.setRoundText(QStringLiteral("CONTRACT: %1/%2").arg(m_model.round()).arg(m_model.contracttotal()));
}

void BoardDisplay::emptyHandPlace(int place)
{
    CardPlace* hand = m_board.handPlace(place);
    if (!hand)
        return;
    hand->clearPicture();
    hand->hide();
    hand->setSlot(0);
}

void BoardDisplay::showDominoRank(int rank)
{
    const QString name = dominoRankName(rank);
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit)
        m_board.dominoRank(suit)->setText(name);
}

QString BoardDisplay::dominoRankName(int rank)
{
    return rank >= 1 && rank <= int(kDominoRanks.size()) ? QString::fromLatin1(kDominoRanks[std::size_t(rank - 1)])
                                                         : QString();
}
