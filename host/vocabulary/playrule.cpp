#include "playrule.h"

namespace morlu {

namespace {

/// Refusal of leading @p card to the first trick of @p contract; 0 when it may lead.
int firstLeadRefusal(int contract, int card)
{
    const int suit = getsuit(card);
    if (contract == Morlu && suit == Hearts)
        return NoHeartLead;
    if (contract == Siege && suit == Spades)
        return NoSpadeLead;
    if (contract == Guillotine && (suit == Hearts || suit == Spades))
        return NoHeartOrSpadeLead;
    return PlayAllowed;
}

/// The domino rank after @p rank: 7 up to the Ace, then the 7 again.
int nextRank(int rank)
{
    return rank % 8 + 1;
}

} // namespace

bool DominoFoundations::mayLay(int card) const
{
    const int suit = getsuit(card);
    if (suit == NoSuit || start == 0)
        return false;
    const int rank = dominorank(card);
    if (rank == start)
        return true;
    return laid[std::size_t(suit)][std::size_t(rank == 1 ? 8 : rank - 1)];
}

DominoFoundations DominoFoundations::fromTops(int start, const std::array<int, 4>& tops)
{
    DominoFoundations foundations;
    foundations.start = start >= 1 && start <= 8 ? start : 0;
    if (foundations.start == 0)
        return foundations;
    for (const int top : tops) {
        const int suit = getsuit(top);
        if (suit == NoSuit)
            continue;
        const int last = dominorank(top);
        // Walk up from the start rank to the top card; eight steps at most.
        int rank = foundations.start;
        for (int step = 0; step < 8; ++step) {
            foundations.laid[std::size_t(suit)][std::size_t(rank)] = true;
            if (rank == last)
                break;
            rank = nextRank(rank);
        }
    }
    return foundations;
}

int playRefusal(const PlayPosition& position, int slot)
{
    if (slot < 1 || slot > kHandSlots || getsuit(position.hand[std::size_t(slot)]) == NoSuit)
        return CannotBePlayed;
    const int card = position.hand[std::size_t(slot)];
    if (position.contract == Domino) {
        // The round's first card is free; every later one must fit the layout.
        return position.domino.start == 0 || position.domino.mayLay(card) ? PlayAllowed : CannotBePlayed;
    }
    if (position.ledsuit != NoSuit) {
        if (getsuit(card) == position.ledsuit)
            return PlayAllowed;
        for (int n = 1; n <= kHandSlots; ++n) {
            if (getsuit(position.hand[std::size_t(n)]) == position.ledsuit)
                return MustFollowSuit;
        }
        return PlayAllowed;
    }
    if (position.trick != 1)
        return PlayAllowed;
    const int refusal = firstLeadRefusal(position.contract, card);
    if (refusal == PlayAllowed)
        return PlayAllowed;
    // A leader whose every card is barred could lead nothing at all, so it may lead any card.
    for (int n = 1; n <= kHandSlots; ++n) {
        const int held = position.hand[std::size_t(n)];
        if (held != 0 && firstLeadRefusal(position.contract, held) == PlayAllowed)
            return refusal;
    }
    return PlayAllowed;
}

std::array<bool, kHandSlots + 1> playableSlots(const PlayPosition& position)
{
    std::array<bool, kHandSlots + 1> playable{};
    for (int slot = 1; slot <= kHandSlots; ++slot)
        playable[std::size_t(slot)] = playRefusal(position, slot) == PlayAllowed;
    return playable;
}

} // namespace morlu
