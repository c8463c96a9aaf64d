#pragma once

#include <QImage>
#include <QRect>

/**
 * Makes the textured backgrounds: the green felt of the board, with the light plates that carry the
 * board's dark lettering, and the seamless purple tile of the window. Deterministic: the same
 * program always draws the same pixels.
 */
class FeltPainter {
public:
    /** Plain felt with a vignette, @p size large; @p seed varies the grain. */
    static QImage felt(QSize size, unsigned seed);
    /** The 768 x 537 board background. */
    static QImage board();
    /** A 64 x 64 tile that repeats without seams, around RGB(87, 41, 182). */
    static QImage tile();
};
