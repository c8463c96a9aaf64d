#pragma once

#include <QImage>

/**
 * One picture with every piece of artwork: the 32 cards and the back, magnified cards, markers,
 * buttons, banner, logo, smilies, glyphs, icons, the instruction illustrations and two previews of
 * the board with sample labels. For looking at the art, not shipped.
 */
class ContactSheet {
public:
    static QImage render();
};
