#include "playout.h"

namespace morlu {

namespace {

constexpr int nextSeat(int seat)
{
    return seat % kSeatCount + 1;
}

/// Cards barred from the first lead of @p contract.
constexpr CardMask barredFirstLeads(int contract)
{
    switch (contract) {
    case Morlu:
        return suitMask(Hearts);
    case Siege:
        return suitMask(Spades);
    case Guillotine:
        return suitMask(Hearts) | suitMask(Spades);
    default:
        return 0;
    }
}

} // namespace

Playout Playout::start(int contract, int director, const std::array<CardMask, kSeatCount + 1>& hands)
{
    Playout p;
    p.m_hands = hands;
    if (contract == Domino)
        p.setDomino(director, 0, {}, director);
    else
        p.setTrick(contract, director, 1, director);
    return p;
}

void Playout::setTrick(int contract, int director, int tricknumber, int turn)
{
    m_contract = contract;
    m_director = director;
    m_tricknumber = tricknumber;
    m_turn = turn;
    m_finished = false;
}

void Playout::putOnTrick(int seat, int card)
{
    if (m_onTrick == 0) {
        m_ledsuit = getsuit(card);
        m_winning = card;
        m_winner = seat;
    } else if (beatsInTrick(card, m_winning, m_ledsuit)) {
        m_winning = card;
        m_winner = seat;
    }
    m_trickMask |= cardBit(card);
    ++m_onTrick;
}

void Playout::setDomino(int director, int dominostart, const std::array<int, 5>& laidCount, int turn)
{
    m_contract = Domino;
    m_director = director;
    m_dominostart = dominostart;
    m_laidCount = laidCount;
    m_turn = turn;
    m_finished = false;
}

CardMask Playout::othersHands(int seat) const
{
    CardMask all = 0;
    for (int n = 1; n <= kSeatCount; ++n)
        all |= n == seat ? 0 : m_hands[n];
    return all;
}

CardMask Playout::layable() const
{
    if (m_dominostart == 0)
        return kAllCards;
    CardMask mask = 0;
    for (int suit = 1; suit <= 4; ++suit) {
        if (m_laidCount[suit] < 8)
            mask |= cardBit(dominoCard(suit, (m_dominostart - 1 + m_laidCount[suit]) % 8 + 1));
    }
    return mask;
}

CardMask Playout::legal() const
{
    const CardMask hand = m_hands[m_turn];
    if (m_contract == Domino)
        return hand & layable();
    if (m_ledsuit != NoSuit) {
        const CardMask follow = hand & suitMask(m_ledsuit);
        return follow != 0 ? follow : hand;
    }
    if (m_tricknumber == 1) {
        const CardMask allowed = hand & ~barredFirstLeads(m_contract);
        return allowed != 0 ? allowed : hand;
    }
    return hand;
}

void Playout::play(int card)
{
    const int seat = m_turn;
    m_hands[seat] &= ~cardBit(card);
    if (m_contract == Domino) {
        if (m_dominostart == 0)
            m_dominostart = dominorank(card);
        ++m_laidCount[getsuit(card)];
        nextDominoTurn();
        return;
    }
    putOnTrick(seat, card);
    if (m_onTrick == kSeatCount)
        endTrick();
    else
        m_turn = nextSeat(seat);
}

void Playout::endTrick()
{
    const bool all = m_contract == Guillotine;
    int cost = 0;
    if ((all || m_contract == Morlu) && (m_trickMask & kKingOfHeartsMask))
        cost += kKingOfHeartsCost;
    if (all || m_contract == Waterloo)
        cost += kQueenCost * cardCount(m_trickMask & kQueenMask);
    if (all || m_contract == Siege)
        cost += kSpadeCost * cardCount(m_trickMask & suitMask(Spades));
    if ((all || m_contract == Touche) && (m_tricknumber == 1 || m_tricknumber == 8))
        cost += kTrickCost;
    if (m_winner != m_director) {
        m_money[m_winner] -= cost;
        m_money[m_director] += cost;
    }
    m_taken |= m_trickMask;
    bool over = m_tricknumber >= 8;
    if (m_contract == Morlu)
        over = over || (m_trickMask & kKingOfHeartsMask) != 0;
    else if (m_contract == Waterloo)
        over = over || cardCount(m_taken & kQueenMask) == 4;
    else if (m_contract == Siege)
        over = over || cardCount(m_taken & suitMask(Spades)) == 8;
    m_finished = over;
    ++m_tricknumber;
    m_turn = m_winner;
    m_ledsuit = NoSuit;
    m_onTrick = 0;
    m_trickMask = 0;
    m_winning = 0;
}

void Playout::nextDominoTurn()
{
    int out = 0;
    int loser = 0;
    for (int n = 1; n <= kSeatCount; ++n) {
        if (m_hands[n] == 0)
            ++out;
        else
            loser = n;
    }
    if (out >= kSeatCount - 1) {
        if (loser != 0 && loser != m_director) {
            m_money[loser] -= kDominoCost;
            m_money[m_director] += kDominoCost;
        }
        m_finished = true;
        return;
    }
    const CardMask can = layable();
    for (int step = 0; step < kSeatCount; ++step) {
        m_turn = nextSeat(m_turn);
        if (m_hands[m_turn] & can)
            return;
    }
    // No seat can lay: a broken position; end it rather than loop.
    m_finished = true;
}

} // namespace morlu
