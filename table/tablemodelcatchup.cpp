// The table model's handlers of the catch-up a table gets when it arrives or comes back while a game
// runs: the game as it stands, the contracts its seat has used, and the words a host adds for a table
// that asked for its seat key (the hand is over, the DOMINO layout).

#include "gamemessages.h"
#include "names.h"
#include "sessionmessages.h"
#include "tablemodel.h"
#include "viewtext.h"

#include <algorithm>
#include <array>

namespace {

/// How many ranks @p card lies above the DOMINO start rank @p start on its foundation, going on from the
/// Ace to the 7: 0 for the start rank itself, 7 for the last card of a full foundation.
int rungsAbove(int card, int start)
{
    return (morlu::dominorank(card) - start + 8) % 8;
}

/**
 * A layout that can stand: a start rank and a foundation top of its own suit for each suit laid (none
 * before the first card), 0..8 cards in each hand, and every one of the 32 cards either laid or held.
 */
bool plausibleLayout(const morlu::DLayout& layout)
{
    if (layout.dominoStart < 0 || layout.dominoStart > 8)
        return false;
    int laid = 0;
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit) {
        const int top = layout.tops[std::size_t(suit - 1)];
        if (top == 0)
            continue;
        if (layout.dominoStart == 0 || morlu::getsuit(top) != suit)
            return false;
        // The foundation runs from the start rank up to its top, going on from the Ace to the 7.
        laid += rungsAbove(top, layout.dominoStart) + 1;
    }
    int held = 0;
    for (const int count : layout.held) {
        if (count < 0 || count > morlu::kHandSlots)
            return false;
        held += count;
    }
    return (layout.dominoStart == 0) == (laid == 0) && laid + held == morlu::kCardCount;
}

} // namespace

void TableModel::handover(std::string_view)
{
    // After the catch-up: the trick or the DOMINO hand it showed is over, and nobody may play until the
    // next one opens.
    if (m_g.gamerunning && m_g.chooser == 0 && m_g.contract != 0)
        m_g.handOver = true;
}

bool TableModel::acceptsLayout(const morlu::DLayout& layout) const
{
    return m_g.gamerunning && m_g.chooser == 0 && m_g.contract == morlu::Domino && plausibleLayout(layout);
}

void TableModel::dlayout(std::string_view rest)
{
    // After the catch-up, which named the card each seat laid last: the layout itself and the cards held.
    const auto message = morlu::DLayout::read(rest);
    if (!acceptsLayout(message))
        return refuse();
    m_g.domino = morlu::DominoFoundations::fromTops(message.dominoStart, message.tops);
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit)
        m_g.tops[std::size_t(suit)] = message.tops[std::size_t(suit - 1)];
    for (int n = 1; n <= morlu::kSeatCount; ++n)
        m_g.seats[std::size_t(n)].cardsLeft = message.held[std::size_t(n - 1)];
}

void TableModel::handsused(std::string_view rest)
{
    const auto message = morlu::HandsUsed::read(rest);
    if (!validSeatNumber(message.seat) ||
        !std::all_of(message.contracts.begin(), message.contracts.end(), morlu::validContract))
        return refuse();
    if (message.seat != m_myslot)
        return;
    for (const int code : message.contracts)
        m_g.used[std::size_t(code)] = true;
}

void TableModel::agame(std::string_view rest)
{
    const auto message = morlu::AGame::read(rest);
    // The game as it stands: a round of the longest game at most, seats 0 (none) to 4, a contract, a
    // DOMINO start rank and the cards on the table.
    const auto seatOrNone = [](int seat) { return seat == 0 || validSeatNumber(seat); };
    if (!validSlotNumber(message.slot) || message.round < 0 || message.round > kMostRounds ||
        !seatOrNone(message.director) || !seatOrNone(message.turn) || !seatOrNone(message.leader) ||
        (message.contract != 0 && !morlu::validContract(message.contract)) || message.dominoStart < 0 ||
        message.dominoStart > 8 ||
        !std::all_of(message.trick.begin(), message.trick.end(), [](int card) { return card == 0 || validCard(card); }))
        return refuse();
    if (message.slot != m_myslot)
        return;
    // A table back after a lost connection in the round it left has its contract in the log already.
    const bool contractLogged = m_g.round == message.round && m_g.contract != 0 && m_g.contract == message.contract;
    // In a DOMINO round the card counts only ever fall: those such a table knew are upper bounds still.
    std::array<int, morlu::kSeatCount + 1> knownLeft;
    knownLeft.fill(morlu::kHandSlots);
    if (contractLogged && m_g.contract == morlu::Domino)
        for (int n = 1; n <= morlu::kSeatCount; ++n)
            knownLeft[std::size_t(n)] = m_g.seats[std::size_t(n)].cardsLeft;
    reset();
    m_g.gamerunning = true;
    setLength(message.length);
    nameComputerSeats();
    m_g.round = message.round;
    m_g.joinedRound = std::max(1, message.round);
    // The choice passes round the table, so every finished round's director is known; the rounds won
    // before are not (the host only says the banks).
    for (int round = 1; round < message.round; ++round)
        ++m_g.seats[std::size_t(chooserOfRound(round))].directed;
    m_g.director = validSeatNumber(message.director) ? message.director : 0;
    m_g.turn = validSeatNumber(message.turn) ? message.turn : 0;
    m_g.contract = morlu::validContract(message.contract) ? message.contract : 0;
    // While a choice is pending the host still names the last round's director: the seat that chooses
    // this round is the one after it, and the round has no contract yet.
    const int chooser = chooserOfRound(message.round);
    if (chooser != 0 && m_g.director != chooser && nextSeatNumber(m_g.director) == chooser) {
        m_g.chooser = chooser;
        m_g.director = chooser;
        m_g.contract = 0;
        m_g.turn = 0;
        // Nothing of this round has been paid yet: this table sees it whole.
        m_g.roundSettled = false;
        return;
    }
    if (validSeatNumber(m_g.director))
        ++m_g.seats[std::size_t(m_g.director)].directed;
    if (m_g.contract != 0 && !contractLogged)
        addLog(fromView(morlu::contractName(m_g.contract)));
    m_g.leader = validSeatNumber(message.leader) ? message.leader : 0;
    if (m_g.contract == morlu::Domino) {
        m_g.domino.start = message.dominoStart;
        // The catch-up names the card each seat laid last, not the layout: the best guess is the highest of
        // them in each suit with everything under it. A host that gave this table its key sends the layout
        // and the card counts next (CMD_dlayout).
        const int start = message.dominoStart >= 1 && message.dominoStart <= 8 ? message.dominoStart : 1;
        for (const int card : message.trick) {
            const int suit = morlu::getsuit(card);
            int& top = m_g.tops[std::size_t(suit)];
            if (suit != morlu::NoSuit && (top == 0 || rungsAbove(card, start) > rungsAbove(top, start)))
                top = card;
        }
        m_g.domino = morlu::DominoFoundations::fromTops(message.dominoStart,
                                                        {m_g.tops[1], m_g.tops[2], m_g.tops[3], m_g.tops[4]});
        // Nor does it say how many cards each seat holds: at most 8 less the one a seat is named to have laid,
        // and no more than a table back in the round it left knew. The own hand (CMD_mycards) and a host
        // that gave this table its key (CMD_dlayout) tell the counts next.
        for (int n = 1; n <= morlu::kSeatCount; ++n) {
            const int laid = message.trick[std::size_t(n - 1)] != 0 ? 1 : 0;
            m_g.seats[std::size_t(n)].cardsLeft = std::min(morlu::kHandSlots - laid, knownLeft[std::size_t(n)]);
        }
    } else {
        for (int n = 1; n <= morlu::kSeatCount; ++n)
            m_g.trick[std::size_t(n)] = message.trick[std::size_t(n - 1)];
        // A full trick is one the host has already decided: the table arrives in the pause before the
        // next trick or round, and nobody may play until it opens.
        m_g.handOver = trickFull();
    }
}
