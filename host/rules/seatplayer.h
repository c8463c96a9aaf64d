#pragma once

#include "seatview.h"

namespace morlu {

/**
 * A computer player that decides for one seat from that seat's view alone. The engine builds the view
 * (seatViewOf()) each time the seat must decide and turns the answer into the same request a table
 * would send, so a player of this kind cannot reach the host's state, another seat's hand or the
 * dealing generator: whatever chance it uses is its own.
 *
 * Both decisions must be pure functions of the view and the player's own settings and seed, so that a
 * position repeats its decision and two positions a seat cannot tell apart get the same one.
 */
class SeatPlayer {
public:
    virtual ~SeatPlayer() = default;

    /// The contract code (1..6) the seat chooses as director (view.contract is 0); 0 when it has none left.
    virtual int chooseContract(const SeatView& view) const = 0;
    /// The card code the seat plays now; 0 when it holds nothing the host would accept.
    virtual int chooseCard(const SeatView& view) const = 0;

protected:
    SeatPlayer() = default;
    SeatPlayer(const SeatPlayer&) = default;
    SeatPlayer& operator=(const SeatPlayer&) = default;
};

} // namespace morlu
