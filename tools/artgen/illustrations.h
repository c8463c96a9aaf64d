#pragma once

#include <QImage>

/**
 * The four pictures of the quick instructions panel, drawn with the game's own cards, markers and
 * colours: 1 the contract chooser, 2 the contract line under the hand, 3 a trick and its taker,
 * 4 the DOMINO foundations of the example in the instructions text.
 */
class Illustrations {
public:
    /** Picture @p number (1..4) at its size on the panel; a null image for another number. */
    static QImage instructions(int number);
};
