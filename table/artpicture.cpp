#include "artpicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

ArtPicture::ArtPicture(const QString& name, Source source, QWidget* parent)
    : QWidget(parent), m_source(std::move(source))
{
    setObjectName(name);
    const QPixmap initial = pixmap();
    if (!initial.isNull()) {
        m_natural = initial.deviceIndependentSize().toSize();
        resize(m_natural);
    }
}

ArtPicture::Source ArtPicture::resource(const QString& path)
{
    return [path](qreal) { return QPixmap(path); };
}

QPixmap ArtPicture::pixmap() const
{
    return m_source ? m_source(devicePixelRatioF()) : QPixmap();
}

void ArtPicture::paintEvent(QPaintEvent*)
{
    const qreal larger = m_natural.isEmpty() ? 1.0 : qreal(width()) / m_natural.width();
    const QPixmap picture = m_source ? m_source(devicePixelRatioF() * larger) : QPixmap();
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture);
}

void ArtPicture::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ArtPicture::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}
