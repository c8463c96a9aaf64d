#pragma once

#include "cards.h"

#include <array>
#include <bit>
#include <cstdint>

namespace morlu {

/**
 * A set of cards as 32 bits, card code c at bit c - 1. Inside a suit the bits run in trick order, so
 * the highest bit of a suit's cards is its highest card in a trick. The expert and its playouts work on
 * these sets: a legal-move check or a trick winner is a few bit operations.
 */
using CardMask = std::uint32_t;

inline constexpr CardMask kAllCards = 0xFFFFFFFFu;
inline constexpr CardMask kQueenMask = (1u << 4) | (1u << 12) | (1u << 20) | (1u << 28);
inline constexpr CardMask kKingOfHeartsMask = 1u << (kKingOfHearts - 1);

constexpr CardMask cardBit(int card)
{
    return card >= 1 && card <= kCardCount ? CardMask{1} << (card - 1) : 0;
}

/// The eight cards of @p suit (1..4).
constexpr CardMask suitMask(int suit)
{
    return suit >= 1 && suit <= 4 ? CardMask{0xFFu} << (8 * (suit - 1)) : 0;
}

/// Cards of the same suit as @p card that beat it in a trick.
constexpr CardMask higherInSuit(int card)
{
    return suitMask(getsuit(card)) & ~((cardBit(card) << 1) - 1);
}

/// Cards of the same suit as @p card that it beats in a trick.
constexpr CardMask lowerInSuit(int card)
{
    return suitMask(getsuit(card)) & (cardBit(card) - 1);
}

constexpr int cardCount(CardMask mask)
{
    return std::popcount(mask);
}

/// The lowest card code in @p mask; 0 for an empty set.
constexpr int lowestCard(CardMask mask)
{
    return mask == 0 ? 0 : std::countr_zero(mask) + 1;
}

/// The cards of @p mask, lowest code first, into @p cards (at most N of them); returns how many.
template <std::size_t N> constexpr int cardsOf(CardMask mask, std::array<int, N>& cards)
{
    int count = 0;
    for (CardMask rest = mask; rest != 0 && count < int(N); rest &= rest - 1)
        cards[std::size_t(count++)] = lowestCard(rest);
    return count;
}

/// The highest card code in @p mask; 0 for an empty set.
constexpr int highestCard(CardMask mask)
{
    return mask == 0 ? 0 : 32 - std::countl_zero(mask);
}

/// The card code of @p suit with domino rank @p rank (1..8: 7, 8, 9, 10, J, Q, K, A).
constexpr int dominoCard(int suit, int rank)
{
    constexpr int position[9] = {0, 1, 2, 3, 7, 4, 5, 6, 8};
    return (suit - 1) * 8 + position[rank];
}

/// The cards that cost money when taken in @p contract.
constexpr CardMask moneyCards(int contract)
{
    switch (contract) {
    case Morlu:
        return kKingOfHeartsMask;
    case Waterloo:
        return kQueenMask;
    case Siege:
        return suitMask(Spades);
    case Guillotine:
        return kKingOfHeartsMask | kQueenMask | suitMask(Spades);
    default:
        return 0;
    }
}

/// What taking @p card costs in @p contract: cards that cost the same may stand in for each other.
constexpr int cardCost(int contract, int card)
{
    const bool all = contract == Guillotine;
    int cost = 0;
    if ((all || contract == Morlu) && card == kKingOfHearts)
        cost += kKingOfHeartsCost;
    if ((all || contract == Waterloo) && isQueen(card))
        cost += kQueenCost;
    if ((all || contract == Siege) && isSpade(card))
        cost += kSpadeCost;
    return cost;
}

} // namespace morlu
