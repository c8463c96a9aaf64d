#include "seatobserver.h"

namespace morlu {

SeatView seatViewOf(const GameState& state, const RoundHistory& history, int seat)
{
    SeatView v;
    v.seat = seat;
    v.contract = state.chooserseat != 0 ? 0 : state.contract;
    v.director = state.chooserseat != 0 ? state.chooserseat : state.directorseat;
    v.tricknumber = state.tricknumber;
    v.contractnumber = state.contractnumber;
    v.contracttotal = state.contracttotal;
    for (int slot = 1; slot <= kHandSlots; ++slot)
        v.hand |= cardBit(state.seats[seat].cards[slot]);
    for (int n = 1; n <= kSeatCount; ++n) {
        v.held[n] = kHandSlots;
        v.bank[n] = state.seats[n].bank;
        for (int code = 1; code <= kContractCount; ++code)
            v.used[n][code] = state.seats[n].used[code] != 0;
    }

    // Replay the round: the cards each seat laid, the suits it showed it lacks, and in DOMINO the
    // cards it could not have held when it was passed over.
    DominoLayout layout;
    int position = 0;
    int led = NoSuit;
    for (const RoundHistory::Event& event : history.events()) {
        if (!GameState::isSeat(event.seat))
            continue;
        if (event.card == 0) {
            for (int card = 1; card <= kCardCount; ++card) {
                if (layout.dominostart() != 0 && layout.mayLay(card))
                    v.excluded[event.seat] |= cardBit(card);
            }
            continue;
        }
        v.gone |= cardBit(event.card);
        --v.held[event.seat];
        if (v.contract == Domino) {
            if (layout.dominostart() == 0)
                layout.setDominostart(dominorank(event.card));
            layout.lay(event.card);
            continue;
        }
        if (position == 0)
            led = getsuit(event.card);
        else if (getsuit(event.card) != led)
            v.excluded[event.seat] |= suitMask(led);
        position = (position + 1) % kSeatCount;
    }
    v.held[seat] = cardCount(v.hand);

    if (v.contract == Domino) {
        v.dominostart = state.domino.dominostart();
        for (int suit = 1; suit <= 4; ++suit) {
            for (int rank = 1; rank <= 8; ++rank)
                v.laidCount[suit] += state.domino.laid(suit, rank) ? 1 : 0;
        }
    } else if (v.contract != 0) {
        // The current trick, in the order its cards came: from the leader round the table.
        if (GameState::isSeat(state.trickleader) && state.ledsuit != NoSuit) {
            for (int k = 0, n = state.trickleader; k < kSeatCount; ++k, n = n % kSeatCount + 1) {
                if (state.trickcards[n] == 0 || n == seat)
                    break;
                v.trickOrder[v.onTrick] = n;
                v.trickCard[v.onTrick] = state.trickcards[n];
                ++v.onTrick;
            }
        }
        CardMask onTrick = 0;
        for (int k = 0; k < v.onTrick; ++k)
            onTrick |= cardBit(v.trickCard[k]);
        v.taken = v.gone & ~onTrick;
    }
    return v;
}

} // namespace morlu
