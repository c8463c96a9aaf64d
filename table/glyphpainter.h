#pragma once

class QPainter;

/**
 * Draws the small pictures of the chat (eighteen smilies, the phrase and chatter-sound glyphs) and
 * the window icon with a QPainter, in logical pixels, for Artwork to cache.
 */
class GlyphPainter {
public:
    /** Smiley @p index (0..17) in a 17 x 16 box. */
    static void paintSmiley(QPainter& painter, int index);
    /** Speech bubble in a 16 x 16 box. */
    static void paintPhraseGlyph(QPainter& painter);
    /** Loudspeaker with sound waves in a 16 x 16 box. */
    static void paintSoundGlyph(QPainter& painter);
    /** The program's icon in a @p size x @p size box: two fanned cards on a purple tile. */
    static void paintAppIcon(QPainter& painter, int size);
};
