#pragma once

#include <QFont>
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

/**
 * Draws the board larger than designed while keeping its proportions: every widget below the board
 * keeps its geometry, font, contents margins, size limits and (buttons) icon size in board coordinates
 * at the designed size (stored on the widget as the properties designGeometry, designFont,
 * designMargins, designMinimum, designMaximum and designIconSize), and setScale() applies them multiplied by the scale
 * factor. A widget met for the first time is taken to stand at its designed place, so widgets that other parts add to
 * the board (the chat area's) scale too without knowing about it. Widgets placed by a layout keep the layout's
 * geometry; their fonts, margins and size limits scale all the same, and so do the layout's margins and spacing.
 *
 * Who moves a board widget or changes its font after it was built says it in designed units through
 * place() and setDesignedFont(), which apply the current scale at once.
 */
class BoardScaler {
public:
    /** Scales the descendants of @p root, whose designed size is @p designed. */
    BoardScaler(QWidget& root, QSize designed);

    qreal scale() const { return m_scale; }
    /** Resizes the root to designed × @p scale and re-applies every descendant's design at that scale. */
    void setScale(qreal scale);

    /** Moves @p widget to @p designed (board units) and applies the current scale. */
    void place(QWidget* widget, const QRect& designed);
    /** Gives @p widget the font @p designed (sizes in board units) at the current scale. */
    void setDesignedFont(QWidget* widget, const QFont& designed);
    /** Gives @p widget the contents margins @p designed (board units) at the current scale. */
    void setDesignedMargins(QWidget* widget, const QMargins& designed);
    /** The geometry @p widget has at the designed size (its current geometry when not yet recorded). */
    static QRect designedGeometry(const QWidget* widget);
    /** The font and the contents margins of @p widget at the designed size (its current ones when not yet
     *  recorded). */
    static QFont designedFont(const QWidget* widget);
    static QMargins designedMargins(const QWidget* widget);

    /** @p rect × @p scale, with each edge rounded so neighbouring rectangles stay neighbours. */
    static QRect scaled(const QRect& rect, qreal scale);
    /** @p font with its pixel or point size × @p scale. */
    static QFont scaled(QFont font, qreal scale);

private:
    void record(QWidget* widget) const;
    void apply(QWidget* widget) const;

    QWidget& m_root;
    QSize m_designed;
    qreal m_scale = 1.0;
};
