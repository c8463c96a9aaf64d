#pragma once

#include "gamestate.h"
#include "roundhistory.h"
#include "seatview.h"

namespace morlu {

/**
 * The view of @p seat (1..4) of the host's @p state, with the round's public @p history: the seat's
 * own hand and what its table was shown. The only place where a computer player's input is taken
 * from the host's state; it reads no hand but the seat's own.
 */
SeatView seatViewOf(const GameState& state, const RoundHistory& history, int seat);

} // namespace morlu
