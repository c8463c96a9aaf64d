#include "tiledarea.h"

#include "board.h"
#include "boardstyle.h"

#include <QPainter>

#include <algorithm>

TiledArea::TiledArea(const QSize& minimum, QWidget* parent) : QWidget(parent), m_tile(QStringLiteral(":/art/tile.jpg"))
{
    setObjectName(QStringLiteral("panel_main"));
    setMinimumSize(minimum);
}

void TiledArea::setBoard(Board* board)
{
    m_board = board;
    fitBoard();
}

qreal TiledArea::fittingScale(const QSize& size)
{
    const qreal across = qreal(size.width() - kMargins.width()) / Board::kWidth;
    const qreal down = qreal(size.height() - kMargins.height()) / Board::kHeight;
    return std::max(1.0, std::min(across, down));
}

void TiledArea::fitBoard()
{
    if (!m_board)
        return;
    m_board->setScale(fittingScale(size()));
    const int spare = width() - kMargins.width() - m_board->width();
    m_board->move(kBoardOffset + std::max(0, spare / 2), kBoardOffset);
}

void TiledArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitBoard();
}

void TiledArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    boardstyle::paintWindow(painter, rect(), m_tile);
}
