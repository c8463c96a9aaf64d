#pragma once

#include "boardparts.h"

class Board;

/**
 * Makes every element of the board at its place and under its object name (label_playername1,
 * card_5, panel_choosen ...), in the stacking order the board needs, and connects the clickable ones
 * to the board's signals. The board keeps the parts and gives them their first texts.
 */
class BoardBuilder {
public:
    explicit BoardBuilder(Board& board) : m_board(board) {}

    /** Builds the elements as children of the board and returns them. */
    BoardParts build();

private:
    void buildSeatColumns();
    void buildMarkers();
    void buildHandRow();
    void buildTextLines();
    void buildPanels();
    void buildWinnerAndDomino();
    void buildCorner();

    Board& m_board;
    BoardParts m_parts;
};
