#include "dominolayout.h"

#include "cardmask.h"

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

int DominoLayout::top(int suit) const
{
    if (suit < Diamonds || suit > Spades || m_dominostart == 0)
        return 0;
    // Every foundation starts at the start rank and goes up without gaps: walk it to its end.
    int last = 0;
    for (int rank = m_dominostart, step = 0; step < 8 && m_foundations[suit][rank]; ++step, rank = rank % 8 + 1)
        last = rank;
    return last == 0 ? 0 : dominoCard(suit, last);
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
