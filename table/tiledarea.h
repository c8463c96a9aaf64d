#pragma once

#include <QPixmap>
#include <QWidget>

class Board;

/**
 * The window's client area under the menu bar (`panel_main`): the window tile repeated behind the
 * board, or the plain window colour when the tile cannot be loaded. It holds the board at the largest
 * scale that fits with its margins, keeping the board's proportions: at the designed size and below
 * (the area never gets smaller than its minimum) the board is drawn as designed, at (6, 6); in a larger
 * window it grows and stands centred across, 6 pixels below the menu bar.
 */
class TiledArea : public QWidget {
public:
    /** Margins around the board: 6 left and top, the rest to the right and below. */
    static constexpr QSize kMargins{21, 12};
    static constexpr int kBoardOffset = 6;

    /** An area that never gets smaller than @p minimum. */
    TiledArea(const QSize& minimum, QWidget* parent);

    /** The board this area holds and scales. */
    void setBoard(Board* board);
    /** The scale at which a board fits an area of @p size: 1 or more. */
    static qreal fittingScale(const QSize& size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitBoard();

    QPixmap m_tile;
    Board* m_board = nullptr;
};
