#pragma once

class QPainter;
class QRect;

/**
 * Paints the felt of the board and the boxes the game's texts stand in (the seat strip, the corner box,
 * the status, contract and rank strips, the card slots and the hand tray) with QPainter in board units,
 * so the board is as sharp drawn four times larger as at its designed size.
 */
class BoardPainter {
public:
    /** Paints the board into @p target (the board widget's rectangle) at @p scale times its designed size. */
    static void paint(QPainter& painter, const QRect& target, double scale);
};
