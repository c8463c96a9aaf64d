#include "illustrations.h"

#include "artwork.h"
#include "cardpainter.h"
#include "feltpainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

const QColor kGold(237, 215, 61);
const QColor kPurple(87, 41, 182);
const QColor kTitleBlue(0, 79, 157);

QFont font(qreal pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(qRound(pixelSize));
    f.setBold(bold);
    return f;
}

QImage feltImage(int width, int height, unsigned seed)
{
    return FeltPainter::felt(QSize(width, height), seed).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void prepare(QPainter& p)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
}

/// Card @p code drawn as vector art with its top left at @p topLeft, scaled by @p scale.
void drawCard(QPainter& p, int code, QPointF topLeft, qreal scale = 1.0, qreal opacity = 1.0)
{
    p.save();
    p.setOpacity(opacity);
    p.translate(topLeft);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(QRectF(1.5, 2, 54, 74), 4, 4);
    CardPainter::paintFace(p, code);
    p.restore();
}

/// A flat panel in the window colour with a gold rim, like the table's panels.
void panel(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(r.translated(2, 3), 6, 6);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, kPurple.lighter(112));
    fill.setColorAt(1.0, kPurple.darker(115));
    p.setPen(QPen(kGold, 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(r, 6, 6);
}

/// A mouse pointer with its tip at @p tip.
void pointer(QPainter& p, QPointF tip)
{
    QPolygonF arrow;
    arrow << QPointF(0, 0) << QPointF(0, 15) << QPointF(4, 11.5) << QPointF(7, 18) << QPointF(9.5, 17)
          << QPointF(6.5, 10.5) << QPointF(11.5, 10.5);
    arrow.translate(tip);
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
}

/// 1: the contract chooser, two contracts already used (checked), the pointer on a free one.
QImage chooser()
{
    QImage image = feltImage(445, 175, 21);
    QPainter painter(&image);
    prepare(painter);
    panel(painter, QRectF(4.5, 4.5, 436, 166));
    painter.setFont(font(14, true));
    painter.setPen(kGold);
    painter.drawText(QRectF(14, 6, 300, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Choose Contract"));
    painter.drawPixmap(QPointF(404, 7), Artwork::directorMarker(1.0));

    const QRectF white(12, 29, 421, 134);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(white);
    struct Entry {
        const char* title;
        const char* text;
        bool used;
    };
    const std::array<Entry, 6> entries{{
        {"Morlu", "Player pays you $800 for taking the King of Hearts.", true},
        {"Waterloo", "Players pay you $200 for each queen they take.", false},
        {"Siege", "Players pay you $100 for each spade they take.", false},
        {"Touche", "Players pay you $400 for taking the first and last trick.", true},
        {"Guillotine", "All of the above apply.", false},
        {"Dominoes", "Not a Trick taking around. Player who is left with cards pays you $800.", false},
    }};
    for (size_t i = 0; i < entries.size(); ++i) {
        const qreal left = white.left() + (i % 2) * 211.0;
        const qreal top = white.top() + (i / 2) * 44.0 + 3.0;
        if (i == 2) { // the entry under the pointer, lit as if hovered
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 244, 196));
            painter.drawRoundedRect(QRectF(left + 2, top - 2, 207, 42), 4, 4);
        }
        if (entries[i].used)
            painter.drawPixmap(QPointF(left + 5, top + 1), Artwork::checkMark(1.0));
        painter.setFont(font(12, true));
        painter.setPen(kTitleBlue);
        painter.drawText(QRectF(left + 27, top, 180, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromLatin1(entries[i].title));
        painter.setFont(font(9, false));
        painter.setPen(Qt::black);
        const qreal textWidth = i % 2 == 0 ? 158.0 : 178.0; // the left column leaves room for the pointer
        painter.drawText(QRectF(left + 27, top + 16, textWidth, 26), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         QString::fromLatin1(entries[i].text));
    }
    pointer(painter, QPointF(196, 86));
    painter.end();
    return image;
}

/// 2: the hand with the contract box under it.
QImage contractLine()
{
    QImage image = feltImage(263, 103, 22);
    QPainter painter(&image);
    prepare(painter);
    const std::array<int, 8> hand{1, 8, 12, 15, 19, 21, 26, 30};
    for (size_t i = 0; i < hand.size(); ++i)
        drawCard(painter, hand[i], QPointF(7.0 + i * 30.5, 4.0), 0.62);

    const QRectF box(4.5, 56.5, 254, 42);
    painter.setPen(QPen(kGold, 1.0));
    painter.setBrush(QColor(8, 44, 28, 220));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(kGold);
    painter.setFont(font(11, true));
    painter.drawText(box.adjusted(0, 3, 0, -19), Qt::AlignCenter, QStringLiteral("MORLU - Avoid the King of Hearts."));
    painter.setFont(font(9.5, true));
    painter.drawText(box.adjusted(0, 22, 0, -3), Qt::AlignCenter, QStringLiteral("All fees payable to Klot"));
    painter.end();
    return image;
}

/// 3: a trick of four cards; the Queen of Hearts led, the 10 of Hearts takes it.
QImage trick()
{
    QImage image = feltImage(384, 134, 23);
    QPainter painter(&image);
    prepare(painter);
    const std::array<const char*, 4> names{"You", "Klot", "Klock", "Kling"};
    const std::array<int, 4> cards{21, 18, 23, 9};
    for (int seat = 0; seat < 4; ++seat) {
        const qreal left = 21.0 + seat * 96.0;
        painter.setFont(font(11, true));
        painter.setPen(kGold);
        painter.drawText(QRectF(left - 20, 1, 94, 16), Qt::AlignCenter,
                         QString::fromLatin1(names[static_cast<size_t>(seat)]));
        drawCard(painter, cards[static_cast<size_t>(seat)], QPointF(left, 22));
    }
    painter.drawPixmap(QPointF(21 - 4, 22 - 5), Artwork::leadMarker(1.0));
    painter.drawPixmap(QPointF(213 - 4, 22 - 5), Artwork::takerMarker(1.0));
    painter.setFont(font(10.5, true));
    painter.setPen(QColor(255, 250, 225));
    painter.drawText(QRectF(0, 112, 384, 20), Qt::AlignCenter,
                     QStringLiteral("The highest card of the suit led takes the trick."));
    painter.end();
    return image;
}

/// 4: DOMINO foundations 10 of Diamonds, 8 of Clubs, Jack of Hearts, 7 of Spades, and what may follow.
QImage domino()
{
    QImage image = feltImage(315, 133, 24);
    QPainter painter(&image);
    prepare(painter);
    const QRectF box(27.5, 3.5, 260, 83);
    panel(painter, box);
    const std::array<int, 4> tops{7, 10, 20, 25};
    const std::array<int, 4> next{4, 11, 21, 26};
    const std::array<qreal, 4> lefts{7, 71, 135, 199};
    for (size_t i = 0; i < tops.size(); ++i) {
        const qreal left = box.left() + lefts[i];
        drawCard(painter, tops[i], QPointF(left, box.top() + 4.5));
        // The card that may be laid next: one rank higher in the same suit.
        const qreal miniLeft = left + 20.0;
        drawCard(painter, next[i], QPointF(miniLeft, 92.0), 0.52);
        QPainterPath arrow;
        arrow.moveTo(miniLeft - 9, 126);
        arrow.lineTo(miniLeft - 9, 100);
        arrow.moveTo(miniLeft - 13.5, 105);
        arrow.lineTo(miniLeft - 9, 99);
        arrow.lineTo(miniLeft - 4.5, 105);
        painter.setPen(QPen(kGold, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(arrow);
    }
    painter.end();
    return image;
}

} // namespace

QImage Illustrations::instructions(int number)
{
    switch (number) {
    case 1:
        return chooser();
    case 2:
        return contractLine();
    case 3:
        return trick();
    case 4:
        return domino();
    default:
        return {};
    }
}
