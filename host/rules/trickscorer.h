#pragma once

#include "announcer.h"
#include "gamestate.h"

namespace morlu {

/**
 * Charges a finished trick of the five trick contracts: finds the money cards and money tricks of the
 * contract, reports each with CMD_took in check order, and moves the money from the seats that took
 * them to the director. Sets `tricknumber` to 8 when the contract's last money card has fallen, so the
 * round ends after this trick.
 */
class TrickScorer {
public:
    TrickScorer(GameState& state, Announcer& announcer) : m_state(state), m_announcer(announcer) {}

    /// Clears every seat's `money`, runs the checks of the contract for the trick @p winner took, settles.
    void score(int winner);

    /// The King of Hearts (800).
    void check1(int winner);
    /// Each Queen (200); WATERLOO ends with the fourth.
    void check2(int winner);
    /// Each Spade (100); SIEGE ends with the eighth.
    void check3(int winner);
    /// Trick 1 and trick 8 (400 each), charged to the seats marked `tookfirst` and `tooklast`.
    void check4();
    /// Every seat but the director pays what it took to the director.
    void settle();

private:
    void charge(int taker, int kind, int amount, bool roundOver);

    GameState& m_state;
    Announcer& m_announcer;
};

} // namespace morlu
