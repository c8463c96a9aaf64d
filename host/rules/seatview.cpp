#include "seatview.h"

namespace morlu {

CardMask SeatView::legal() const
{
    Playout p = playout({});
    return p.legal();
}

Playout SeatView::playout(const std::array<CardMask, kSeatCount + 1>& hands) const
{
    Playout p;
    std::array<CardMask, kSeatCount + 1> all = hands;
    all[seat] = hand;
    p.setHands(all);
    if (contract == Domino) {
        p.setDomino(director, dominostart, laidCount, seat);
        return p;
    }
    p.setTrick(contract, director, tricknumber, seat);
    for (int k = 0; k < onTrick; ++k)
        p.putOnTrick(trickOrder[k], trickCard[k]);
    p.setTaken(taken);
    return p;
}

} // namespace morlu
