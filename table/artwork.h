#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

/**
 * The pictures of the table and its dialogs, all drawn by the program itself with QPainter.
 *
 * Every function returns a pixmap of the stated logical size whose device pixel ratio is @p dpr, so
 * it is crisp on any screen: pass the widget's devicePixelRatioF(). Pixmaps are cached per kind,
 * code and ratio for the life of the program; call them from the GUI thread only. Invalid codes give
 * a null pixmap. The board background, the window tile and the instruction illustrations are JPEG
 * resources (":/art/..."), not drawn here.
 */
class Artwork {
public:
    static constexpr QSize kCardSize{54, 74};
    static constexpr QSize kDirectorMarkerSize{30, 31};
    static constexpr QSize kTurnMarkerSize{36, 19};
    static constexpr QSize kLeadMarkerSize{72, 83};
    static constexpr QSize kTakerMarkerSize{63, 92};
    /** Where the 54 x 74 card place sits inside the lead and taker markers. */
    static constexpr QPoint kMarkerCardOffset{4, 5};
    static constexpr QSize kCheckMarkSize{17, 16};
    static constexpr QSize kEyesSize{25, 11};
    static constexpr QSize kOkButtonSize{60, 30};
    static constexpr QSize kStartButtonSize{90, 40};
    static constexpr QSize kStartGameButtonSize{68, 42};
    static constexpr QSize kBannerSize{337, 71};
    static constexpr QSize kLogoSize{90, 45};
    static constexpr QSize kSmileySize{17, 16};
    static constexpr QSize kGlyphSize{16, 16};
    static constexpr int kSmileyCount = 18;

    /** Face of card @p code, 1..32 (suits Diamonds, Clubs, Hearts, Spades; ranks 7, 8, 9, J, Q, K, 10, A). */
    static QPixmap card(int code, qreal dpr = 1.0);
    static QPixmap cardBack(qreal dpr = 1.0);

    /** Badge beside the director's name. */
    static QPixmap directorMarker(qreal dpr = 1.0);
    /** Arrow pointing down and right at the played-card place of the seat whose turn it is. */
    static QPixmap turnMarker(qreal dpr = 1.0);
    /** Halo around the card that led the trick, labelled "LEAD"; the card area stays transparent. */
    static QPixmap leadMarker(qreal dpr = 1.0);
    /** Halo around the card that took the trick, labelled "TAKES"; the card area stays transparent. */
    static QPixmap takerMarker(qreal dpr = 1.0);
    /** Tick beside a used contract or the chosen game length. */
    static QPixmap checkMark(qreal dpr = 1.0);
    /** Watching mark shown beside a player who only watches. */
    static QPixmap eyes(qreal dpr = 1.0);

    static QPixmap okButton(qreal dpr = 1.0);
    /** The table's START button (host only). */
    static QPixmap startButton(qreal dpr = 1.0);
    /** The START picture of the game start dialog. */
    static QPixmap startGameButton(qreal dpr = 1.0);
    /** "Choose a Contract" banner shown to the director while choosing. */
    static QPixmap chooseContractBanner(qreal dpr = 1.0);
    /** The word Morlu, shown at the board's top right. */
    static QPixmap logo(qreal dpr = 1.0);

    /** Chat smiley @p index, 0..17 (the chat code ":)#NN" shows index NN - 10). */
    static QPixmap smiley(int index, qreal dpr = 1.0);
    /** Glyph of the nine phrase buttons. */
    static QPixmap phraseGlyph(qreal dpr = 1.0);
    /** Glyph of the chatter-sound button. */
    static QPixmap soundGlyph(qreal dpr = 1.0);

    /** Window icon with sizes 16 to 256. */
    static QIcon appIcon();
    /** The icon drawn at @p size x @p size device pixels (also used for the installed PNG icons). */
    static QImage appIconImage(int size);

    /** Empties the pixmap cache (tests, or after a screen change). */
    static void clearCache();
};
