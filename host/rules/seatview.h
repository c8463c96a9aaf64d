#pragma once

#include "cardmask.h"
#include "playout.h"

#include <array>

namespace morlu {

/**
 * What one seat's table shows, and nothing more: the seat's own hand, every card played this round and
 * who played it, the cards on the current trick, the contract, the director, the DOMINO layout, the
 * banks and the contracts used. From the public history it also reads what the other seats cannot
 * hold: a seat that did not follow suit has none of that suit, and a seat passed over in DOMINO holds
 * none of the cards that could be laid at that moment.
 *
 * The engine builds it (seatViewOf(), seatobserver.h) and hands it to the computer players
 * (SeatPlayer); they never see the host's state, another seat's hand or the dealing generator.
 */
struct SeatView {
    int seat = 0;
    int contract = 0;    ///< 0 while the contract is being chosen
    int director = 0;    ///< the director, or the seat choosing the contract
    int tricknumber = 1; ///< 1..8
    int contractnumber = 0;
    int contracttotal = 0;
    CardMask hand = 0;                            ///< the seat's own cards
    CardMask gone = 0;                            ///< every card played this round, the current trick included
    CardMask taken = 0;                           ///< cards in tricks finished this round
    std::array<int, kSeatCount + 1> trickOrder{}; ///< seats that put a card on the current trick, in order
    std::array<int, kSeatCount + 1> trickCard{};  ///< their cards, in the same order
    int onTrick = 0;
    std::array<int, kSeatCount + 1> held{};          ///< cards each seat still holds
    std::array<CardMask, kSeatCount + 1> excluded{}; ///< cards each seat is known not to hold
    int dominostart = 0;
    std::array<int, 5> laidCount{}; ///< DOMINO: cards laid on each suit's foundation
    std::array<int, kSeatCount + 1> bank{};
    std::array<std::array<bool, kContractCount + 1>, kSeatCount + 1> used{};

    /// Cards no table has seen: the other seats' hands together.
    CardMask unseen() const { return kAllCards & ~hand & ~gone; }
    /// The seat's cards that the host would accept now.
    CardMask legal() const;
    /// The position as a playout, with the other seats' hands taken from @p hands.
    Playout playout(const std::array<CardMask, kSeatCount + 1>& hands) const;
};

} // namespace morlu
