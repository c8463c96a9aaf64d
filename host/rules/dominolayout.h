#pragma once

#include "seatrecord.h"

#include <array>

namespace morlu {

/**
 * The DOMINO layout: the rank of the round's first card (`dominostart`) and the four foundations of
 * laid cards, one per suit. Every foundation is built upward from the starting rank, goes on from the
 * Ace to the 7 and ends with the rank just below the start; there is no building downward.
 */
class DominoLayout {
public:
    /// Domino rank 1..8 of the round's first card; 0 until a card has been laid.
    int dominostart() const { return m_dominostart; }
    void setDominostart(int rank) { m_dominostart = rank; }

    /// Forgets every laid card (the start rank is kept; the round start clears it).
    void clearFoundations() { m_foundations = {}; }
    /// Marks @p card as laid.
    void lay(int card) { m_foundations[getsuit(card)][dominorank(card)] = true; }
    bool laid(int suit, int rank) const { return m_foundations[suit][rank]; }
    /// The card last laid on the foundation of @p suit (1..4): the top of its run up from the start rank;
    /// 0 while the suit has none.
    int top(int suit) const;

    /**
     * True when @p card may be laid now that the start rank is set: its rank is the start rank, or it
     * is a 7 whose Ace has been laid, or the card one rank below it in its suit has been laid. False
     * for no card and while no card has been laid (the opening card is free and needs no check).
     */
    bool mayLay(int card) const;
    /// True when any card in @p seat's hand may be laid now.
    bool checkforplay(const SeatRecord& seat) const;

private:
    int m_dominostart = 0;
    std::array<std::array<bool, 9>, 5> m_foundations{}; ///< [suit 1..4][domino rank 1..8]
};

} // namespace morlu
