#include "dominolayout.h"

namespace morlu {

bool DominoLayout::mayLay(int card) const
{
    const int suit = getsuit(card);
    if (suit == NoSuit || m_dominostart == 0)
        return false;
    const int rank = dominorank(card);
    if (rank == m_dominostart)
        return true;
    if (rank == 1)
        return m_foundations[suit][8];
    return m_foundations[suit][rank - 1];
}

bool DominoLayout::checkforplay(const SeatRecord& seat) const
{
    for (int slot = 1; slot <= kHandSlots; ++slot) {
        if (mayLay(seat.cards[slot]))
            return true;
    }
    return false;
}

} // namespace morlu
