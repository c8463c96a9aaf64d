#include "cardplace.h"

#include "artwork.h"
#include "boardstyle.h"
#include "cards.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include <array>

CardPlace::CardPlace(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    resize(Artwork::kCardSize);
    updateAccessibleName();
}

QString CardPlace::cardName(int code)
{
    static constexpr std::array kRanks{"7", "8", "9", "Jack", "Queen", "King", "10", "Ace"};
    static constexpr std::array kSuits{"Diamonds", "Clubs", "Hearts", "Spades"};
    const int suit = morlu::getsuit(code);
    if (suit == morlu::NoSuit)
        return QString();
    return QStringLiteral("%1 of %2")
        .arg(QString::fromLatin1(kRanks[std::size_t((code - 1) % 8)]),
             QString::fromLatin1(kSuits[std::size_t(suit - 1)]));
}

bool CardPlace::hasPicture() const
{
    return m_picture != 0 && !Artwork::card(m_picture).isNull();
}

void CardPlace::drawCard(int code)
{
    m_picture = code;
    updateAccessibleName();
    update();
}

void CardPlace::clearPicture()
{
    m_picture = 0;
    updateAccessibleName();
    update();
}

void CardPlace::setDimmed(bool dimmed)
{
    if (m_dimmed == dimmed)
        return;
    m_dimmed = dimmed;
    update();
}

void CardPlace::setHinted(bool hinted)
{
    if (m_hinted == hinted)
        return;
    m_hinted = hinted;
    updateAccessibleName();
    update();
}

void CardPlace::setPlayable(Playable playable)
{
    if (m_playable == playable)
        return;
    m_playable = playable;
    updateAccessibleName();
}

void CardPlace::updateAccessibleName()
{
    // Only what the place shows: a card that has left it is not named any more.
    QString name = hasPicture() ? cardName(m_picture) : QStringLiteral("No card");
    if (hasPicture() && m_playable != Playable::Unknown)
        name += m_playable == Playable::Yes ? QStringLiteral(", playable") : QStringLiteral(", not playable");
    if (hasPicture() && m_hinted)
        name += QStringLiteral(", hinted");
    if (name == accessibleName())
        return;
    setAccessibleName(name);
    if (hasFocus()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void CardPlace::paintEvent(QPaintEvent*)
{
    if (m_picture == 0)
        return;
    // The face is drawn for the place's drawn size, not scaled from the designed one.
    const qreal larger = qreal(width()) / Artwork::kCardSize.width();
    const QPixmap face = Artwork::card(m_picture, devicePixelRatioF() * larger);
    if (face.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), face);
    const qreal unit = larger;
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_dimmed) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(10, 30, 20, 130));
        painter.drawRoundedRect(card, 4 * unit, 4 * unit);
    }
    if (m_hinted)
        boardstyle::paintHintRing(painter, QRectF(rect()), unit);
    if (hasFocus()) {
        // Inside the hint ring when the card has both, so neither hides the other.
        const qreal in = (m_hinted ? boardstyle::kHintRingWidth : 0) * unit;
        const QRectF focus = card.adjusted(in, in, -in, -in);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(boardstyle::kGold, 3.0 * unit));
        painter.drawRoundedRect(focus.adjusted(1.5 * unit, 1.5 * unit, -1.5 * unit, -1.5 * unit), 4 * unit, 4 * unit);
        painter.setPen(QPen(boardstyle::kDarkBlue, 1.0 * unit, Qt::DashLine));
        painter.drawRoundedRect(focus.adjusted(3.5 * unit, 3.5 * unit, -3.5 * unit, -3.5 * unit), 3 * unit, 3 * unit);
    }
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

void CardPlace::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CardPlace::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
