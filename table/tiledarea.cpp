#include "tiledarea.h"

#include "boardstyle.h"

#include <QPainter>

TiledArea::TiledArea(const QSize& minimum, QWidget* parent) : QWidget(parent), m_tile(QStringLiteral(":/art/tile.jpg"))
{
    setObjectName(QStringLiteral("panel_main"));
    setMinimumSize(minimum);
}

void TiledArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_tile.isNull())
        painter.fillRect(rect(), boardstyle::kWindow);
    else
        painter.drawTiledPixmap(rect(), m_tile);
}
