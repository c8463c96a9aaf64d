#include "computerplayer.h"

namespace morlu {

int ComputerPlayer::computerchoosehand(int seat)
{
    const SeatRecord& record = m_state.seats[seat];
    int firstUnused = 0;
    for (int code = kContractCount; code >= 1; --code) {
        if (!record.used[code])
            firstUnused = code;
    }
    if (firstUnused == 0)
        return 0;
    for (int draws = 0; draws < kMaxContractDraws; ++draws) {
        const int code = static_cast<int>(m_random->draw(kContractCount)) + 1;
        if (!record.used[code])
            return code;
    }
    return firstUnused;
}

int ComputerPlayer::computerplay(int seat)
{
    if (m_state.contract == Domino)
        return computerdomino(seat);
    if (m_state.ledsuit != NoSuit)
        return computerfollow(seat);
    return computerlead(seat);
}

int ComputerPlayer::computerlead(int seat) const
{
    const auto& cards = m_state.seats[seat].cards;
    int firstHeld = 0;
    for (int slot = 1; slot <= kHandSlots; ++slot) {
        if (cards[slot] == 0)
            continue;
        if (m_state.firstLeadCode(cards[slot]) == 0)
            return slot;
        if (firstHeld == 0)
            firstHeld = slot;
    }
    // Nothing may lead under the first-lead rules, so any card may: the lowest one goes.
    return firstHeld;
}

int ComputerPlayer::computerfollow(int seat) const
{
    const auto& cards = m_state.seats[seat].cards;
    for (int slot = kHandSlots; slot >= 1; --slot) {
        if (getsuit(cards[slot]) == m_state.ledsuit)
            return slot;
    }
    for (int slot = 1; slot <= kHandSlots; ++slot) {
        if (cards[slot] != 0)
            return slot;
    }
    return 0;
}

int ComputerPlayer::computerdomino(int seat)
{
    const auto& cards = m_state.seats[seat].cards;
    const DominoLayout& layout = m_state.domino;
    if (layout.dominostart() == 0) {
        bool holdsAny = false;
        for (int slot = 1; slot <= kHandSlots; ++slot)
            holdsAny = holdsAny || cards[slot] != 0;
        if (!holdsAny)
            return 0; // the draw below would never end
        for (;;) {
            const int slot = drawSlot();
            if (cards[slot] != 0)
                return slot;
        }
    }
    for (int draws = 0; draws < 16; ++draws) {
        const int slot = drawSlot();
        if (layout.mayLay(cards[slot]))
            return slot;
    }
    for (int slot = 1; slot <= kHandSlots; ++slot) {
        if (layout.mayLay(cards[slot]))
            return slot;
    }
    return 0;
}

} // namespace morlu
