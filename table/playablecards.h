#pragma once

#include "playrule.h"

class Board;
class TableModel;

/**
 * Marks the cards of the own hand that the host would refuse while it is the player's turn: they are
 * dimmed when the option "Show Playable Cards" is on, and their accessible names say "playable" or
 * "not playable" either way. The verdict is the host's own rule (morlu::playRefusal) applied to what the
 * host has said (the table's model): the contract, the trick, the hand, the suit led and the DOMINO
 * layout. The table still sends every card the player chooses; the host decides.
 *
 * When the turn comes while the keyboard focus rests on a card it dims, the focus moves to the nearest
 * card the host would take, so a player on the keys can play it at once.
 */
class PlayableCards {
public:
    PlayableCards(Board& board, const TableModel& model);

    /** The option "Show Playable Cards" (on by default). */
    bool shown() const { return m_shown; }
    void setShown(bool shown);

    /** Brings the marks up to date; the window calls it after every line from the host. */
    void refresh();

    /** True while the host waits for a card from this table's seat, and could receive it. */
    bool ownTurn() const;
    /**
     * While @p offline (the table has lost its host and is not seated again) no card is judged: the host
     * could not receive one. Refreshes the marks.
     */
    void setOffline(bool offline);

private:
    Board& m_board;
    const TableModel& m_model;
    bool m_shown = true;
    bool m_offline = false;
    bool m_judged = false; ///< the marks were last made on the player's turn
};
