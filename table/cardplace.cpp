#include "cardplace.h"

#include "artwork.h"

#include <QMouseEvent>
#include <QPainter>

CardPlace::CardPlace(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    resize(Artwork::kCardSize);
}

bool CardPlace::hasPicture() const
{
    return m_picture != 0 && !Artwork::card(m_picture).isNull();
}

void CardPlace::drawCard(int code)
{
    m_picture = code;
    update();
}

void CardPlace::clearPicture()
{
    m_picture = 0;
    update();
}

void CardPlace::paintEvent(QPaintEvent*)
{
    if (m_picture == 0)
        return;
    const QPixmap face = Artwork::card(m_picture, devicePixelRatioF());
    if (face.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), face);
}

void CardPlace::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CardPlace::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked(this);
}
