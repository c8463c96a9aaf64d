#include "playoutpolicy.h"

#include <bit>

namespace morlu {

namespace {

/// Position 1..8 of a card inside its suit in trick order (7 lowest, Ace highest).
constexpr int trickRank(int card)
{
    return (card - 1) % 8 + 1;
}

/// The @p index-th card (from 0, lowest first) of @p mask.
int nthCard(CardMask mask, std::uint32_t index)
{
    for (; index > 0; --index)
        mask &= mask - 1;
    return lowestCard(mask);
}

bool freeTrick(const Playout& p)
{
    return p.contract() == Touche && p.tricknumber() != 1 && p.tricknumber() != 8;
}

} // namespace

PlayoutPolicy::PlayoutPolicy(int explore) : m_explore(explore)
{
    for (int contract = 1; contract <= kContractCount; ++contract) {
        const CardMask money = moneyCards(contract);
        for (int card = 1; card <= kCardCount; ++card) {
            int value = trickRank(card) * 10;
            if (money & cardBit(card)) {
                value += card == kKingOfHearts ? 2000 : isQueen(card) ? 900 : 300;
                if (isQueen(card) && isSpade(card) && contract == Guillotine)
                    value += 600;
            }
            // Cards that would take a money card of their own suit are the next most dangerous.
            if ((money & higherInSuit(card)) == 0 && (money & lowerInSuit(card)) != 0)
                value += 150;
            m_danger[contract][card] = value;
        }
    }
}

int PlayoutPolicy::choose(const Playout& p, PlayoutRandom& random) const
{
    const CardMask legal = p.legal();
    if ((legal & (legal - 1)) == 0)
        return lowestCard(legal);
    if (m_explore > 0 && static_cast<int>(random.below(256)) < m_explore)
        return nthCard(legal, random.below(static_cast<std::uint32_t>(cardCount(legal))));
    if (p.contract() == Domino)
        return domino(p, legal);
    if (p.ledsuit() == NoSuit)
        return lead(p, legal);
    if ((legal & suitMask(p.ledsuit())) == 0)
        return discard(p, legal);
    return follow(p, legal);
}

int PlayoutPolicy::lead(const Playout& p, CardMask legal) const
{
    if (freeTrick(p))
        return highestCard(legal);
    const CardMask others = p.othersHands(p.turn());
    const CardMask money = moneyCards(p.contract());
    int best = 0;
    int bestScore = -100000;
    for (int suit = 1; suit <= 4; ++suit) {
        const CardMask mine = legal & suitMask(suit);
        if (mine == 0)
            continue;
        // The low card of the suit, unless it costs money and another does not.
        const CardMask safe = mine & ~money;
        const int card = lowestCard(safe != 0 ? safe : mine);
        const int higher = cardCount(others & higherInSuit(card));
        const int lower = cardCount(others & lowerInSuit(card));
        int score = higher > 0 ? 100 + higher * 4 - lower * 6 - trickRank(card) : -trickRank(card) * 10;
        if (money & cardBit(card))
            score -= 300;
        // Leading into a suit that still hides a money card for somebody else is worth a little more.
        if ((money & others & suitMask(suit)) != 0 && higher > 0)
            score += 20;
        if (score > bestScore) {
            bestScore = score;
            best = card;
        }
    }
    return best;
}

int PlayoutPolicy::follow(const Playout& p, CardMask legal) const
{
    if (freeTrick(p))
        return highestCard(legal);
    const CardMask money = moneyCards(p.contract());
    const CardMask under = legal & lowerInSuit(p.winningCard());
    if (under != 0)
        return highestCard(under);
    // Every card takes the lead; the last seat takes the trick whatever it plays.
    const CardMask safe = legal & ~money;
    if (p.onTrick() == kSeatCount - 1)
        return highestCard(safe != 0 ? safe : legal);
    return lowestCard(safe != 0 ? safe : legal);
}

int PlayoutPolicy::discard(const Playout& p, CardMask legal) const
{
    if (freeTrick(p))
        return highestCard(legal);
    const auto& danger = m_danger[p.contract()];
    int best = 0;
    int bestScore = -1;
    for (CardMask rest = legal; rest != 0; rest &= rest - 1) {
        const int card = lowestCard(rest);
        // A short suit is worth emptying: it lets the seat discard again later.
        const int score = danger[card] + (8 - cardCount(legal & suitMask(getsuit(card)))) * 3;
        if (score > bestScore) {
            bestScore = score;
            best = card;
        }
    }
    return best;
}

int PlayoutPolicy::domino(const Playout& p, CardMask legal) const
{
    const CardMask hand = p.hand(p.turn());
    if (p.dominostart() == 0) {
        // Open with the rank the seat holds most of: each of them opens a suit for it later.
        int best = lowestCard(legal);
        int bestCount = 0;
        for (CardMask rest = legal; rest != 0; rest &= rest - 1) {
            const int card = lowestCard(rest);
            const int rank = dominorank(card);
            int count = 0;
            for (int suit = 1; suit <= 4; ++suit)
                count += (hand & cardBit(dominoCard(suit, rank))) ? 1 : 0;
            if (count > bestCount) {
                bestCount = count;
                best = card;
            }
        }
        return best;
    }
    const CardMask others = p.othersHands(p.turn());
    int best = 0;
    int bestScore = -1000;
    for (CardMask rest = legal; rest != 0; rest &= rest - 1) {
        const int card = lowestCard(rest);
        const int suit = getsuit(card);
        // Count the seat's own cards this one frees in a row, and whether it frees somebody else's.
        int rank = dominorank(card);
        int run = 0;
        bool freesOthers = false;
        for (int step = 0; step < 7; ++step) {
            rank = rank % 8 + 1;
            if (rank == p.dominostart())
                break;
            const CardMask next = cardBit(dominoCard(suit, rank));
            if (hand & next) {
                ++run;
                continue;
            }
            freesOthers = (others & next) != 0;
            break;
        }
        int score = run * 10 - (freesOthers ? 4 : 0);
        // A start-rank card opens a whole suit: the same weighing applies to it.
        score += std::popcount(hand & suitMask(suit)) - 1;
        if (score > bestScore) {
            bestScore = score;
            best = card;
        }
    }
    return best;
}

} // namespace morlu
