#include "boarddisplay.h"

#include "artpicture.h"
#include "board.h"
#include "cardplace.h"
#include "cards.h"
#include "contractchooser.h"
#include "tableevents.h"
#include "tablestate.h"
#include "titledpanel.h"

#include <QLabel>

#include <array>

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

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

void BoardDisplay::take(std::string_view word, std::string_view rest)
{
    m_model.setMyslot(m_state.myseat);
    m_model.apply(word, rest);
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
    m_state.chooserseat = 0;
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.handTypeLabel()->clear();
    m_state.contract = 0;
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
    m_state.contracttotal = length.contracts;
    m_board.setRoundText(QStringLiteral("CONTRACT: 0/%1").arg(m_state.contracttotal));
}

void BoardDisplay::setcontract(int code)
{
    m_board.takerMarker()->hide();
    m_board.leadMarker()->hide();
    m_board.chooseContractBanner()->hide();
    if (morlu::validContract(code)) {
        m_state.contract = code;
        m_board.setHandTypeText(text(morlu::contractLabel(code)));
        m_board.addLogLine(text(morlu::contractName(code)));
    }
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
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        m_board.playedCard(seat)->clearPicture();
        m_board.setCardCountText(seat, QStringLiteral("CARDS: %1").arg(morlu::kHandSlots));
    }
    m_board.dominoPanel()->show();
}

void BoardDisplay::getnextplayer(int seat)
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
    m_events.playsounds(m_events.chosenturnsound() == 1 ? QStringLiteral("turnnew") : QStringLiteral("turn"));
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
    m_state.chooserseat = director;
    m_state.directorseat = director;
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
    m_board.setRoundText(QStringLiteral("CONTRACT: %1/%2").arg(m_state.contractnumber).arg(m_state.contracttotal));
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
