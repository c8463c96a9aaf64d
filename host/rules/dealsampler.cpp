#include "dealsampler.h"

#include <algorithm>

namespace morlu {

DealSampler::DealSampler(const SeatView& view) : m_seat(view.seat)
{
    const CardMask unseen = view.unseen();
    std::array<int, kCardCount> allowedSeats{};
    for (CardMask rest = unseen; rest != 0; rest &= rest - 1) {
        const int card = lowestCard(rest);
        int allowed = 0;
        for (int n = 1; n <= kSeatCount; ++n)
            allowed += n != m_seat && !(view.excluded[n] & cardBit(card)) ? 1 : 0;
        m_cards[m_count] = card;
        allowedSeats[card - 1] = allowed;
        ++m_count;
    }
    std::stable_sort(m_cards.begin(), m_cards.begin() + m_count,
                     [&](int a, int b) { return allowedSeats[a - 1] < allowedSeats[b - 1]; });

    // The room of each seat: what it holds. Should the counts not add up to the unseen cards (a
    // position set up by hand), the difference is spread over the seats.
    int total = 0;
    for (int n = 1; n <= kSeatCount; ++n) {
        m_room[n] = n == m_seat ? 0 : std::max(0, view.held[n]);
        m_excluded[n] = view.excluded[n];
        total += m_room[n];
    }
    for (int n = 1; total != m_count; n = n % kSeatCount + 1) {
        if (n == m_seat)
            continue;
        if (total < m_count) {
            ++m_room[n];
            ++total;
        } else if (m_room[n] > 0) {
            --m_room[n];
            --total;
        }
    }
}

DealSampler::Hands DealSampler::sample(PlayoutRandom& random) const
{
    Hands hands{};
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (tryDeal(random, true, hands))
            return hands;
    }
    tryDeal(random, false, hands);
    return hands;
}

bool DealSampler::tryDeal(PlayoutRandom& random, bool constrained, Hands& hands) const
{
    hands = {};
    std::array<int, kSeatCount + 1> room = m_room;
    for (int i = 0; i < m_count; ++i) {
        const int card = m_cards[i];
        const CardMask bit = cardBit(card);
        int total = 0;
        for (int n = 1; n <= kSeatCount; ++n) {
            if (!constrained || !(m_excluded[n] & bit))
                total += room[n];
        }
        if (total == 0)
            return false;
        int pick = static_cast<int>(random.below(static_cast<std::uint32_t>(total)));
        for (int n = 1; n <= kSeatCount; ++n) {
            if (constrained && (m_excluded[n] & bit))
                continue;
            if (pick < room[n]) {
                hands[n] |= bit;
                --room[n];
                break;
            }
            pick -= room[n];
        }
    }
    return true;
}

} // namespace morlu
