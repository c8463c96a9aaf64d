#pragma once

#include <QList>
#include <QRect>

/**
 * Where the table window may stand: the rules for its bounds (left, top, width, height as the settings
 * file keeps them) that do not depend on the window itself, so they can be checked with any screens.
 */
class WindowPlacement {
public:
    /// "Reset Screen Location", and the place of a window whose stored bounds lie off every screen.
    static constexpr QRect kDefault{3, 3, 789, 595};
    /// How much narrower or lower a window that does not fit the work area is closed.
    static constexpr int kShrink = 15;

    /**
     * @p bounds if enough of the window's top edge (where it is grabbed to move it) lies on one of
     * @p screens (their work areas); else the same size at the default place on the first screen. A
     * monitor that has gone since the bounds were stored must not hide the table. A width or height of
     * none takes the default's, and one larger than all screens together is cut to them.
     */
    static QRect onScreen(const QRect& bounds, const QList<QRect>& screens);

    /**
     * The bounds written at close: 15 pixels narrower when @p frame (the window with its frame) is wider
     * than @p workArea, 15 pixels lower when it is taller, once each, whatever the excess.
     */
    static QRect atClose(const QRect& bounds, const QRect& frame, const QRect& workArea);
};
