#include "fitlabel.h"

#include "boardscaler.h"
#include "boardstyle.h"

#include <QPainter>

#include <algorithm>

FitLabel::FitLabel(const QString& name, const QString& text, QWidget* parent, int smallestPixelSize)
    : QLabel(text, parent), m_smallest(smallestPixelSize)
{
    setObjectName(name);
}

QFont FitLabel::fittedFont() const
{
    QFont font = this->font();
    const int width = contentsRect().width();
    const QString whole = text();
    int size = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    // The floor follows the label's own size, so a board drawn larger keeps the same proportions.
    const int designed = BoardScaler::designedFont(this).pixelSize();
    const int smallest =
        designed > 0 ? std::max(1, qRound(m_smallest * qreal(size) / designed)) : std::min(m_smallest, size);
    font.setPixelSize(size);
    while (size > smallest && QFontMetrics(font).horizontalAdvance(whole) > width) {
        --size;
        font.setPixelSize(size);
    }
    return font;
}

QString FitLabel::shownText() const
{
    const QFontMetrics metrics(fittedFont());
    const int width = std::max(0, contentsRect().width());
    if (metrics.horizontalAdvance(text()) <= width)
        return text();
    return metrics.elidedText(text(), Qt::ElideRight, width);
}

bool FitLabel::isElided() const
{
    return shownText() != text();
}

int FitLabel::baseline() const
{
    // Placed for the label's own font, so a shrunk text stands on the same line as its neighbours.
    const QFontMetrics metrics(font());
    const QRect box = contentsRect();
    if (alignment() & Qt::AlignTop)
        return box.top() + metrics.ascent();
    if (alignment() & Qt::AlignBottom)
        return box.bottom() + 1 - metrics.descent();
    return box.top() + (box.height() - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
}

QRect FitLabel::textRect() const
{
    const QString shown = shownText();
    if (shown.isEmpty())
        return QRect();
    const QFontMetrics metrics(fittedFont());
    const QRect box = contentsRect();
    const int width = metrics.horizontalAdvance(shown);
    int left = box.left();
    if (alignment() & Qt::AlignRight)
        left = box.right() + 1 - width;
    else if (alignment() & Qt::AlignHCenter)
        left = box.left() + (box.width() - width) / 2;
    return QRect(left, baseline() - metrics.ascent(), width, metrics.ascent() + metrics.descent());
}

void FitLabel::setHighlighted(bool highlighted)
{
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

void FitLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_highlighted) {
        const QRectF pill = QRectF(contentsRect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = pill.height() / 2.0;
        painter.setPen(QPen(boardstyle::kDarkBlue, std::max(1.0, height() / 16.0)));
        painter.setBrush(QColor(237, 215, 61, 150));
        painter.drawRoundedRect(pill, radius, radius);
    }
    painter.setFont(fittedFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect where = textRect();
    painter.drawText(QPoint(where.left(), baseline()), shownText());
}
