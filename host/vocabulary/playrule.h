#pragma once

#include "cards.h"

#include <array>

/**
 * Which cards of a hand the host accepts, as a pure function of what every table can see: the
 * contract, the trick, the suit led, the DOMINO layout and the hand. The host refuses a play with the
 * code this gives (CMD_aerror), and a table uses the same answer to mark the cards it may play, so the
 * two can never disagree.
 */
namespace morlu {

/// The DOMINO layout as far as the rule needs it: the start rank and the ranks laid in each suit.
struct DominoFoundations {
    int start = 0;                             ///< domino rank 1..8 of the round's first card; 0 before it
    std::array<std::array<bool, 9>, 5> laid{}; ///< [suit 1..4][domino rank 1..8]: laid on its foundation

    /// True when @p card may be laid: its rank is the start rank, or the rank below it in its suit (the Ace
    /// below the 7) has been laid. False for no card and before the first card (which is free).
    bool mayLay(int card) const;
    /// Foundations built from the card last laid on each: every rank from @p start up to that card's rank,
    /// going on from the Ace to the 7. @p tops holds card codes (0 = nothing laid), in any order.
    static DominoFoundations fromTops(int start, const std::array<int, 4>& tops);
};

/// Everything the rule looks at when a seat is to play.
struct PlayPosition {
    int contract = 0;                       ///< 1..6; 0 before a contract is set
    int trick = 1;                          ///< trick of the round, 1..8
    int ledsuit = NoSuit;                   ///< suit led to the current trick; NoSuit when this seat leads
    DominoFoundations domino;               ///< DOMINO only
    std::array<int, kHandSlots + 1> hand{}; ///< slots 1..8: card code, 0 = no card
};

/// CMD_aerror codes of the refusals.
enum PlayRefusal : int {
    PlayAllowed = 0,
    NoHeartLead = 1,        ///< MORLU: no Heart may lead the first trick
    NoSpadeLead = 2,        ///< SIEGE: no Spade may lead the first trick
    NoHeartOrSpadeLead = 3, ///< GUILLOTINE: neither may lead the first trick
    MustFollowSuit = 4,
    CannotBePlayed = 5, ///< DOMINO: the card does not fit the layout
};

/**
 * The refusal of playing hand slot @p slot in @p position, or PlayAllowed. A first-trick lead is
 * allowed all the same when every card held is barred from leading. A slot outside 1..8 or without a
 * card has nothing to play: CannotBePlayed.
 */
int playRefusal(const PlayPosition& position, int slot);

/// The slots 1..8 whose card the host would accept (index 0 unused).
std::array<bool, kHandSlots + 1> playableSlots(const PlayPosition& position);

} // namespace morlu
