#include "endgamesearch.h"

#include <algorithm>

namespace morlu {

namespace {

constexpr int kUnbounded = 30000;

/// The key of a position at the start of a trick (anywhere in DOMINO); 0 elsewhere.
std::uint64_t positionKey(const Playout& p, CardMask inHands)
{
    if (p.contract() != Domino && p.onTrick() != 0)
        return 0;
    return inHands | static_cast<std::uint64_t>(p.turn()) << 32 | static_cast<std::uint64_t>(p.dominostart()) << 36 |
           std::uint64_t{1} << 40;
}

/// Cards left in all hands together.
CardMask cardsInHands(const Playout& p)
{
    CardMask all = 0;
    for (int seat = 1; seat <= kSeatCount; ++seat)
        all |= p.hand(seat);
    return all;
}

} // namespace

EndgameSearch::EndgameSearch() : m_table(kTableSize) {}

bool EndgameSearch::prefers(const Playout& p, const Money& a, const Money& b)
{
    const int seat = p.turn();
    if (a[seat] != b[seat])
        return a[seat] > b[seat];
    // Indifferent for itself, a seat other than the director plays against the director.
    return seat != p.director() && a[p.director()] < b[p.director()];
}

CardMask EndgameSearch::distinctChoices(const Playout& p, CardMask legal)
{
    if (p.contract() == Domino)
        return legal;
    const CardMask live = cardsInHands(p) | p.trickMask();
    CardMask choices = 0;
    int previous = 0;
    for (CardMask rest = legal; rest != 0; rest &= rest - 1) {
        const int card = lowestCard(rest);
        // The card plays like the one below it when nothing live lies between them and both cost
        // the same; the lowest of such a run stands for all of it.
        const bool same = previous != 0 && getsuit(previous) == getsuit(card) &&
                          (live & higherInSuit(previous) & lowerInSuit(card)) == 0 &&
                          cardCost(p.contract(), previous) == cardCost(p.contract(), card);
        if (!same)
            choices |= cardBit(card);
        previous = card;
    }
    return choices;
}

EndgameSearch::Entry* EndgameSearch::lookup(std::uint64_t key)
{
    const std::uint64_t hash = key * 0x9E3779B97F4A7C15ull;
    return &m_table[static_cast<std::size_t>(hash >> 50) & (kTableSize - 1)];
}

bool EndgameSearch::search(const Playout& position, int& nodes, Money& money)
{
    money = {};
    return searchFrom(position, nodes, money);
}

bool EndgameSearch::searchFrom(const Playout& p, int& nodes, Money& money)
{
    if (p.finished()) {
        money = {};
        return true;
    }
    // At the start of a trick (and anywhere in DOMINO) the cards left and the seat on turn say
    // everything that matters for the rest of the round, the deal being fixed.
    Entry* entry = nullptr;
    const std::uint64_t key = positionKey(p, cardsInHands(p));
    if (key != 0) {
        entry = lookup(key);
        if (entry->generation == m_generation && entry->key == key) {
            money[0] = 0;
            for (int seat = 1; seat <= kSeatCount; ++seat)
                money[seat] = entry->money[seat - 1];
            return true;
        }
    }
    if (--nodes < 0)
        return false;
    ++m_visited;
    const CardMask choices = distinctChoices(p, p.legal());
    bool first = true;
    for (CardMask rest = choices; rest != 0; rest &= rest - 1) {
        Playout next = p;
        next.play(lowestCard(rest));
        Money result{};
        if (!searchFrom(next, nodes, result))
            return false;
        for (int seat = 1; seat <= kSeatCount; ++seat)
            result[seat] += next.money(seat) - p.money(seat);
        if (first || prefers(p, result, money))
            money = result;
        first = false;
    }
    if (entry != nullptr) {
        entry->key = key;
        entry->generation = m_generation;
        for (int seat = 1; seat <= kSeatCount; ++seat)
            entry->money[seat - 1] = static_cast<std::int16_t>(money[seat]);
    }
    return true;
}

bool EndgameSearch::searchAgainst(int seat, const Playout& position, int& nodes, int& money)
{
    m_seat = seat;
    return alphaBeta(position, -kUnbounded, kUnbounded, nodes, money);
}

bool EndgameSearch::alphaBeta(const Playout& p, int alpha, int beta, int& nodes, int& value)
{
    if (p.finished()) {
        value = 0;
        return true;
    }
    Entry* entry = nullptr;
    std::uint64_t key = positionKey(p, cardsInHands(p));
    if (key != 0) {
        key |= static_cast<std::uint64_t>(m_seat) << 41 | std::uint64_t{1} << 44;
        entry = lookup(key);
        if (entry->generation == m_generation && entry->key == key) {
            const int lower = entry->money[0];
            const int upper = entry->money[1];
            if (lower == upper || lower >= beta) {
                value = lower;
                return true;
            }
            if (upper <= alpha) {
                value = upper;
                return true;
            }
        } else {
            entry->key = key;
            entry->generation = m_generation;
            entry->money[0] = -kUnbounded;
            entry->money[1] = kUnbounded;
        }
    }
    if (--nodes < 0)
        return false;
    ++m_visited;
    const bool mine = p.turn() == m_seat;
    int best = mine ? -kUnbounded : kUnbounded;
    int low = alpha;
    int high = beta;
    const CardMask choices = distinctChoices(p, p.legal());
    if (choices == 0)
        best = 0;
    for (CardMask rest = choices; rest != 0 && low < high; rest &= rest - 1) {
        Playout next = p;
        next.play(lowestCard(rest));
        const int gain = next.money(m_seat) - p.money(m_seat);
        int result = 0;
        if (!alphaBeta(next, low - gain, high - gain, nodes, result))
            return false;
        result += gain;
        if (mine) {
            best = std::max(best, result);
            low = std::max(low, best);
        } else {
            best = std::min(best, result);
            high = std::min(high, best);
        }
    }
    // The children may have taken the entry's place; it is written again only if it is still ours.
    if (entry != nullptr && entry->generation == m_generation && entry->key == key) {
        int lower = entry->money[0];
        int upper = entry->money[1];
        if (best > alpha)
            lower = std::max(lower, best);
        if (best < beta)
            upper = std::min(upper, best);
        entry->money[0] = static_cast<std::int16_t>(lower);
        entry->money[1] = static_cast<std::int16_t>(upper);
    } else if (entry != nullptr) {
        entry->key = key;
        entry->generation = m_generation;
        entry->money[0] = static_cast<std::int16_t>(best > alpha ? best : -kUnbounded);
        entry->money[1] = static_cast<std::int16_t>(best < beta ? best : kUnbounded);
    }
    value = best;
    return true;
}

} // namespace morlu
