#pragma once

#include "playrule.h"

class Board;
struct TableState;

/**
 * Marks the cards of the own hand that the host would refuse while it is the player's turn: they are
 * dimmed when the option "Show Playable Cards" is on, and their accessible names say "playable" or
 * "not playable" either way. The verdict is the host's own rule (morlu::playRefusal) applied to what the
 * board shows: the contract, the cards left in the hand, the suit of the card that led, the DOMINO start
 * rank and the top card of each foundation. The table still sends every card the player chooses; the
 * host decides.
 */
class PlayableCards {
public:
    PlayableCards(Board& board, const TableState& state);

    /** The option "Show Playable Cards" (on by default). */
    bool shown() const { return m_shown; }
    void setShown(bool shown);

    /** Brings the marks up to date; the window calls it after every line from the host. */
    void refresh();

    /** True while the host waits for a card from this table's seat. */
    bool ownTurn() const;
    /** What the board shows of the round, as the rule reads it. */
    morlu::PlayPosition position() const;

private:
    Board& m_board;
    const TableState& m_state;
    bool m_shown = true;
};
