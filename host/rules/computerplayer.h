#pragma once

#include "gamestate.h"
#include "random.h"

namespace morlu {

/**
 * The computer's decisions for a seat with no human, or whose human only watches: fixed rules with no
 * memory of the cards played, and random choices drawn from the source it is given (the game's
 * own generator under `--seed`, else a stream of its own seeded securely). It only reads the game;
 * the engine turns each decision into the same request text a table would send.
 *
 * Every decision returns 0 when there is nothing to decide (no unused contract, no card to play).
 */
class ComputerPlayer {
public:
    ComputerPlayer(const GameState& state, RandomSource& random) : m_state(state), m_random(&random) {}

    /// Where the random choices come from from now on.
    void setRandom(RandomSource& random) { m_random = &random; }

    /**
     * A contract the seat has not used yet: (draw 6) + 1 until an unused one comes up. The draws are
     * bounded; should they all miss, the lowest unused contract is taken.
     */
    int computerchoosehand(int seat);
    /// The hand slot to play: a DOMINO card, a follow to the led suit, or a lead.
    int computerplay(int seat);
    /// The first slot whose card may lead; a leader who holds only barred cards leads its first card.
    int computerlead(int seat) const;
    /// The highest card of the led suit, or else the lowest card code in the hand.
    int computerfollow(int seat) const;
    /**
     * DOMINO: the opening card is a random held slot; afterwards up to 16 random slots are tried and
     * the first whose card may be laid is played, and failing that the first such slot in order.
     */
    int computerdomino(int seat);

    /// Upper bound on the draws of computerchoosehand before it falls back to the lowest unused contract.
    static constexpr int kMaxContractDraws = 1000;

private:
    int drawSlot() { return static_cast<int>(m_random->draw(kHandSlots)) + 1; }

    const GameState& m_state;
    RandomSource* m_random;
};

} // namespace morlu
