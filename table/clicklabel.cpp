#include "clicklabel.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(const QString& name, const QString& text, int tag, QWidget* parent)
    : QLabel(text, parent), m_tag(tag)
{
    setObjectName(name);
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit released(m_tag, event->button());
}
