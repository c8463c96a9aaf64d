#pragma once

#include "playout.h"
#include "playoutrandom.h"

#include <array>

namespace morlu {

/**
 * The fast card choice every seat makes inside the expert's playouts: a few rules of thumb that a
 * careful player follows, computed on card sets. In a trick it ducks under the winning card with its
 * highest card that still loses, takes with its highest card when it must take anyway, and when void
 * throws its most dangerous card; it leads the low card of a suit in which others hold higher cards.
 * In TOUCHE's free tricks it sheds high cards. In DOMINO it lays the card that frees more of its own.
 *
 * It sees the whole sampled deal (every playout is one guess at the hidden hands) and draws from the
 * given stream only for its rare random choices, so playouts stay reproducible.
 */
class PlayoutPolicy {
public:
    /// @p explore is the chance (in 1/256) of a random legal card instead of the rule's choice.
    explicit PlayoutPolicy(int explore = 0);

    /// The card the seat on turn in @p p plays.
    int choose(const Playout& p, PlayoutRandom& random) const;

    /// How much a seat wants to be rid of @p card when void in the led suit, in @p contract.
    int danger(int contract, int card) const { return m_danger[contract][card]; }

private:
    int lead(const Playout& p, CardMask legal) const;
    int follow(const Playout& p, CardMask legal) const;
    int discard(const Playout& p, CardMask legal) const;
    int domino(const Playout& p, CardMask legal) const;

    int m_explore;
    std::array<std::array<int, kCardCount + 1>, kContractCount + 1> m_danger{};
};

} // namespace morlu
