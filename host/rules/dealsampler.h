#pragma once

#include "playoutrandom.h"
#include "seatview.h"

#include <array>

namespace morlu {

/**
 * Guesses the hidden hands of a position: deals the cards no table has seen to the other seats, each
 * getting as many as it holds, none getting a card its play has shown it cannot hold. The most
 * constrained cards are dealt first, each to an allowed seat drawn in proportion to the room it has
 * left; when that runs into a dead end it starts again, and after a few failures it deals without the
 * constraints (a position the history cannot explain should still get an answer).
 */
class DealSampler {
public:
    using Hands = std::array<CardMask, kSeatCount + 1>;

    /// Prepares the sampler for @p view: the unseen cards, the room per seat and the constraints.
    explicit DealSampler(const SeatView& view);

    /// One guess at the other seats' hands (the viewer's own entry is left empty).
    Hands sample(PlayoutRandom& random) const;

    static constexpr int kAttempts = 12;

private:
    bool tryDeal(PlayoutRandom& random, bool constrained, Hands& hands) const;

    int m_seat;
    std::array<int, kCardCount> m_cards{}; ///< unseen cards, most constrained first
    int m_count = 0;
    std::array<int, kSeatCount + 1> m_room{};
    std::array<CardMask, kSeatCount + 1> m_excluded{};
};

} // namespace morlu
