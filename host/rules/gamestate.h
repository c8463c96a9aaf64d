#pragma once

#include "cards.h"
#include "dominolayout.h"
#include "seatrecord.h"

#include <array>
#include <string>

namespace morlu {

/**
 * Everything the host knows about a game: the eleven seat records and the game variables. The engine
 * owns and changes it; the computer players decide from a read-only view of it. There is no phase
 * variable: the phase follows from these values (a pending choice shows as `chooserseat`, a pause as
 * `playopen` 0 with the pause timer running).
 */
struct GameState {
    std::array<SeatRecord, kSeatRecords + 1> seats{}; ///< records 1..11; index 0 unused

    bool gamerunning = false;                     ///< from a game's start until its winner is announced
    bool playopen = false;                        ///< the current trick (or the DOMINO round) accepts cards
    int contracttotal = 24;                       ///< rounds in the game: 8, 16 or 24
    int contractnumber = 0;                       ///< current round, from 1
    std::string gamelength;                       ///< length letter as received (one character, or empty)
    int directorseat = 4;                         ///< director of the current round
    int chooserseat = 0;                          ///< seat that must choose a contract; 0 when no choice is pending
    int contract = 0;                             ///< contract of the current round; 0 before the first choice
    int turnseat = 0;                             ///< seat on turn
    int tricknumber = 1;                          ///< trick of the round, 1..8
    int ledsuit = 0;                              ///< suit led to the current trick; 0 = nobody has led
    std::array<int, kSeatCount + 1> trickcards{}; ///< seats 1..4: card on the current trick, 0 = none
    int trickleader = 0;                          ///< seat that led the current trick, 0 = none
    int queenstaken = 0;                          ///< WATERLOO: Queens taken this round
    int spadestaken = 0;                          ///< SIEGE: Spades taken this round
    DominoLayout domino;                          ///< DOMINO start rank and foundations
    int countdown = 0;                            ///< pause ticks left
    int timer1tag = 0; ///< what the pause starts when it runs out: 1 = next trick, 2 = next round

    static constexpr bool isSeat(int n) { return n >= 1 && n <= kSeatCount; }
    bool computerPlayed(int seat) const { return seats[seat].computerPlayed(); }

    /// True when @p seat holds a card of @p suit.
    bool holdsSuit(int seat, int suit) const
    {
        for (int slot = 1; slot <= kHandSlots; ++slot) {
            if (getsuit(seats[seat].cards[slot]) == suit)
                return true;
        }
        return false;
    }

    /**
     * Refusal code (1..3) of leading @p card under the first-lead rules of the current contract and
     * trick: no Heart in MORLU, no Spade in SIEGE, neither in GUILLOTINE, and only in trick 1. 0 when
     * the lead is allowed by those rules.
     */
    int firstLeadCode(int card) const
    {
        if (tricknumber != 1)
            return 0;
        const int suit = getsuit(card);
        if (contract == Morlu && suit == Hearts)
            return 1;
        if (contract == Siege && suit == Spades)
            return 2;
        if (contract == Guillotine && (suit == Hearts || suit == Spades))
            return 3;
        return 0;
    }

    /**
     * True when every card @p seat holds is barred by the first-lead rules. Such a leader could lead
     * nothing at all, so it may lead any card.
     */
    bool holdsOnlyForbiddenLeads(int seat) const
    {
        for (int slot = 1; slot <= kHandSlots; ++slot) {
            const int card = seats[seat].cards[slot];
            if (card != 0 && firstLeadCode(card) == 0)
                return false;
        }
        return true;
    }
};

} // namespace morlu
