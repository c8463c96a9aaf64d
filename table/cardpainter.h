#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

/**
 * Draws the faces and the back of the 32 cards in logical pixels (54 x 74) with a QPainter, so the
 * result is crisp at any device pixel ratio. Artwork caches the pixmaps; the instruction illustrations
 * and the icon reuse the suit shapes.
 */
class CardPainter {
public:
    static constexpr qreal kWidth = 54;
    static constexpr qreal kHeight = 74;

    /** Suit symbol 1..4 (Diamonds, Clubs, Hearts, Spades) filling @p box; empty for another suit. */
    static QPainterPath suitPath(int suit, const QRectF& box);
    /** Red for Diamonds and Hearts, near-black for Clubs and Spades. */
    static QColor suitColor(int suit);
    /** "7", "8", "9", "J", "Q", "K", "10" or "A" for card codes 1..32; empty for any other value. */
    static QString rankText(int code);

    /** Paints the face of card @p code (1..32) into the rectangle (0, 0, 54, 74). */
    static void paintFace(QPainter& painter, int code);
    /** Paints the card back into the rectangle (0, 0, 54, 74). */
    static void paintBack(QPainter& painter);

private:
    static void paintBlank(QPainter& painter);
    static void paintIndex(QPainter& painter, int code);
    static void paintPips(QPainter& painter, int code);
    static void paintCourt(QPainter& painter, int code);
    static void paintBust(QPainter& painter, int rank, int suit, const QRectF& half);
};
