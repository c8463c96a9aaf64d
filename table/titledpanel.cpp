#include "titledpanel.h"

#include "boardstyle.h"

#include <QLabel>
#include <QPainter>

TitledPanel::TitledPanel(const QString& name, const QString& titleName, const QString& title, QWidget* parent)
    : QFrame(parent)
{
    setObjectName(name);
    setGeometry(kGeometry);
    m_title = boardstyle::makeLabel(this, titleName, QRect(0, 1, kGeometry.width(), 18), title, boardstyle::kGold,
                                    boardstyle::font(13, true), Qt::AlignCenter);
    m_body = new QWidget(this);
    m_body->setObjectName(name + QStringLiteral("_body"));
    m_body->setGeometry(kBodyGeometry);
    m_body->setAutoFillBackground(true);
    QPalette palette = m_body->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_body->setPalette(palette);
}

void TitledPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0.0, boardstyle::kWindow.lighter(112));
    fill.setColorAt(1.0, boardstyle::kWindow.darker(118));
    painter.setBrush(fill);
    painter.setPen(QPen(boardstyle::kGold, 1.0));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}
