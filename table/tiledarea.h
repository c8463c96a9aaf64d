#pragma once

#include <QPixmap>
#include <QWidget>

/**
 * The window's client area under the menu bar (`panel_main`): the window tile repeated behind the
 * board, or the plain window colour when the tile cannot be loaded.
 */
class TiledArea : public QWidget {
public:
    /** An area that never gets smaller than @p minimum. */
    TiledArea(const QSize& minimum, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_tile;
};
