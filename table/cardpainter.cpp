#include "cardpainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <vector>

namespace {

constexpr QRectF kCardRect(0.5, 0.5, 53.0, 73.0);
constexpr qreal kCorner = 4.0;
const QColor kBorder(118, 118, 124);
const QColor kGold(237, 215, 61);
const QColor kDarkBlue(0, 64, 128);
const QColor kPurple(87, 41, 182);

/// Rank inside a suit: 1=7, 2=8, 3=9, 4=Jack, 5=Queen, 6=King, 7=10, 8=Ace.
int rankOf(int code)
{
    return (code - 1) % 8 + 1;
}

int suitOf(int code)
{
    return (code - 1) / 8 + 1;
}

/// Maps a point of the unit square into @p box.
QPointF at(const QRectF& box, qreal x, qreal y)
{
    return {box.left() + x * box.width(), box.top() + y * box.height()};
}

struct Pip {
    qreal x;
    qreal y;
};

/// Pip centres for the number cards 7, 8, 9 and 10 (columns 20 / 27 / 34).
std::vector<Pip> pipLayout(int rank)
{
    constexpr qreal L = 20.0, M = 27.0, R = 34.0;
    constexpr qreal top = 13.0, bottom = 61.0;
    const qreal third = (bottom - top) / 3.0;
    const qreal mid = (top + bottom) / 2.0;
    switch (rank) {
    case 1: // 7
        return {{L, top}, {R, top}, {M, (top + mid) / 2.0}, {L, mid}, {R, mid}, {L, bottom}, {R, bottom}};
    case 2: // 8
        return {{L, top},    {R, top},   {M, (top + mid) / 2.0}, {L, mid}, {R, mid}, {M, (mid + bottom) / 2.0},
                {L, bottom}, {R, bottom}};
    case 3: // 9
        return {{L, top},
                {R, top},
                {L, top + third},
                {R, top + third},
                {M, mid},
                {L, bottom - third},
                {R, bottom - third},
                {L, bottom},
                {R, bottom}};
    case 7: // 10
        return {{L, top},
                {R, top},
                {M, top + third / 2.0},
                {L, top + third},
                {R, top + third},
                {L, bottom - third},
                {R, bottom - third},
                {M, bottom - third / 2.0},
                {L, bottom},
                {R, bottom}};
    default:
        return {};
    }
}

} // namespace

QPainterPath CardPainter::suitPath(int suit, const QRectF& b)
{
    QPainterPath path;
    switch (suit) {
    case 1: // Diamonds
        path.moveTo(at(b, 0.5, 0.0));
        path.quadTo(at(b, 0.68, 0.27), at(b, 0.94, 0.5));
        path.quadTo(at(b, 0.68, 0.73), at(b, 0.5, 1.0));
        path.quadTo(at(b, 0.32, 0.73), at(b, 0.06, 0.5));
        path.quadTo(at(b, 0.32, 0.27), at(b, 0.5, 0.0));
        break;
    case 3: // Hearts
        path.moveTo(at(b, 0.5, 1.0));
        path.cubicTo(at(b, 0.22, 0.74), at(b, 0.0, 0.54), at(b, 0.0, 0.30));
        path.cubicTo(at(b, 0.0, 0.11), at(b, 0.13, 0.0), at(b, 0.28, 0.0));
        path.cubicTo(at(b, 0.40, 0.0), at(b, 0.48, 0.08), at(b, 0.5, 0.19));
        path.cubicTo(at(b, 0.52, 0.08), at(b, 0.60, 0.0), at(b, 0.72, 0.0));
        path.cubicTo(at(b, 0.87, 0.0), at(b, 1.0, 0.11), at(b, 1.0, 0.30));
        path.cubicTo(at(b, 1.0, 0.54), at(b, 0.78, 0.74), at(b, 0.5, 1.0));
        break;
    case 4: { // Spades
        QPainterPath blade;
        blade.moveTo(at(b, 0.5, 0.0));
        blade.cubicTo(at(b, 0.78, 0.26), at(b, 1.0, 0.42), at(b, 1.0, 0.60));
        blade.cubicTo(at(b, 1.0, 0.76), at(b, 0.88, 0.84), at(b, 0.74, 0.84));
        blade.cubicTo(at(b, 0.64, 0.84), at(b, 0.56, 0.79), at(b, 0.5, 0.70));
        blade.cubicTo(at(b, 0.44, 0.79), at(b, 0.36, 0.84), at(b, 0.26, 0.84));
        blade.cubicTo(at(b, 0.12, 0.84), at(b, 0.0, 0.76), at(b, 0.0, 0.60));
        blade.cubicTo(at(b, 0.0, 0.42), at(b, 0.22, 0.26), at(b, 0.5, 0.0));
        QPainterPath stem;
        stem.moveTo(at(b, 0.46, 0.66));
        stem.cubicTo(at(b, 0.45, 0.84), at(b, 0.38, 0.95), at(b, 0.27, 1.0));
        stem.lineTo(at(b, 0.73, 1.0));
        stem.cubicTo(at(b, 0.62, 0.95), at(b, 0.55, 0.84), at(b, 0.54, 0.66));
        stem.closeSubpath();
        path = blade.united(stem);
        break;
    }
    case 2: { // Clubs
        const qreal r = 0.23;
        QPainterPath leaves;
        const auto lobe = [&](qreal cx, qreal cy) {
            QPainterPath lobePath;
            lobePath.addEllipse(QRectF(at(b, cx - r, cy - r), at(b, cx + r, cy + r)));
            leaves = leaves.united(lobePath);
        };
        lobe(0.5, 0.25);
        lobe(0.24, 0.58);
        lobe(0.76, 0.58);
        QPainterPath core;
        core.addEllipse(QRectF(at(b, 0.36, 0.36), at(b, 0.64, 0.64)));
        QPainterPath stem;
        stem.moveTo(at(b, 0.46, 0.55));
        stem.cubicTo(at(b, 0.45, 0.80), at(b, 0.38, 0.94), at(b, 0.27, 1.0));
        stem.lineTo(at(b, 0.73, 1.0));
        stem.cubicTo(at(b, 0.62, 0.94), at(b, 0.55, 0.80), at(b, 0.54, 0.55));
        stem.closeSubpath();
        path = leaves.united(core).united(stem);
        break;
    }
    default:
        break;
    }
    return path;
}

QColor CardPainter::suitColor(int suit)
{
    return suit == 1 || suit == 3 ? QColor(204, 24, 30) : QColor(22, 22, 28);
}

QString CardPainter::rankText(int code)
{
    static const std::array<const char*, 8> names{"7", "8", "9", "J", "Q", "K", "10", "A"};
    if (code < 1 || code > 32)
        return {};
    return QString::fromLatin1(names[static_cast<size_t>(rankOf(code) - 1)]);
}

void CardPainter::paintBlank(QPainter& painter)
{
    QLinearGradient paper(0, 0, kWidth, kHeight);
    paper.setColorAt(0.0, QColor(255, 255, 255));
    paper.setColorAt(1.0, QColor(244, 241, 233));
    painter.setPen(QPen(kBorder, 1.0));
    painter.setBrush(paper);
    painter.drawRoundedRect(kCardRect, kCorner, kCorner);
}

void CardPainter::paintIndex(QPainter& painter, int code)
{
    const int suit = suitOf(code);
    const QString rank = rankText(code);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(suitColor(suit));
    // Two corners, the second turned upside down like on a printed card.
    for (int corner = 0; corner < 2; ++corner) {
        painter.save();
        if (corner == 1) {
            painter.translate(kWidth, kHeight);
            painter.rotate(180);
        }
        painter.fillPath(suitPath(suit, QRectF(2.75, 16.0, 8.5, 9.0)), suitColor(suit));
        const QRectF box(0.5, 2.0, 13.0, 13.0);
        if (rank.size() > 1) { // "10" is squeezed to the width of one figure
            painter.translate(box.center());
            painter.scale(0.7, 1.0);
            painter.translate(-box.center());
        }
        painter.drawText(box, Qt::AlignCenter, rank);
        painter.restore();
    }
}

void CardPainter::paintPips(QPainter& painter, int code)
{
    const int suit = suitOf(code);
    const int rank = rankOf(code);
    const QColor colour = suitColor(suit);
    if (rank == 8) { // Ace: one large pip with a fine ring around it.
        const QRectF big(13.0, 21.0, 28.0, 31.0);
        painter.setPen(QPen(QColor(colour.red(), colour.green(), colour.blue(), 70), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(27, 37), 19.5, 21.5);
        painter.fillPath(suitPath(suit, big), colour);
        return;
    }
    const qreal w = rank >= 3 ? 9.0 : 9.5;
    const qreal h = rank >= 3 ? 9.5 : 10.0;
    const qreal centre = kHeight / 2.0;
    for (const Pip& pip : pipLayout(rank)) {
        painter.save();
        painter.translate(pip.x, pip.y);
        if (pip.y > centre + 0.5) // pips of the lower half stand upside down
            painter.rotate(180);
        painter.fillPath(suitPath(suit, QRectF(-w / 2.0, -h / 2.0, w, h)), colour);
        painter.restore();
    }
}

void CardPainter::paintBust(QPainter& painter, int rank, int suit, const QRectF& half)
{
    const bool red = suit == 1 || suit == 3;
    const QColor robe = red ? QColor(200, 34, 40) : QColor(28, 74, 150);
    const QColor trim(232, 190, 50);
    const QColor outline(50, 34, 30);
    const qreal cx = half.center().x();
    const qreal headY = half.top() + 13.0;
    const qreal shoulderY = headY + 7.0;

    // Sceptre (king), flower (queen) or spear (jack) behind the figure.
    painter.setPen(QPen(rank == 5 ? QColor(40, 130, 50) : QColor(150, 110, 20), 1.2, Qt::SolidLine, Qt::RoundCap));
    const qreal staffX = rank == 6 ? cx + 8.5 : cx - 8.5;
    painter.drawLine(QPointF(staffX, half.bottom()), QPointF(staffX, headY - (rank == 5 ? 0.0 : 4.0)));
    painter.setPen(QPen(outline, 0.5));
    if (rank == 6) {
        painter.setBrush(trim);
        painter.drawEllipse(QPointF(staffX, headY - 5.0), 1.6, 1.6);
    } else if (rank == 5) {
        painter.setBrush(red ? QColor(240, 200, 60) : QColor(230, 60, 80));
        for (int petal = 0; petal < 4; ++petal)
            painter.drawEllipse(QPointF(staffX + (petal % 2 ? 1.3 : -1.3) * (petal < 2 ? 1 : 0),
                                        headY - 1.0 + (petal % 2 ? 1.3 : -1.3) * (petal < 2 ? 0 : 1)),
                                1.3, 1.3);
    } else {
        painter.setBrush(QColor(210, 210, 220));
        QPolygonF blade;
        blade << QPointF(staffX, headY - 9.0) << QPointF(staffX + 1.6, headY - 5.0) << QPointF(staffX, headY - 3.5)
              << QPointF(staffX - 1.6, headY - 5.0);
        painter.drawPolygon(blade);
    }

    // Shoulders and robe with a gold collar and centre stripe.
    QPainterPath body;
    body.moveTo(half.left() + 2.0, half.bottom());
    body.lineTo(half.left() + 2.0, shoulderY + 5.0);
    body.quadTo(QPointF(half.left() + 2.0, shoulderY), QPointF(cx - 4.0, shoulderY - 0.5));
    body.lineTo(cx + 4.0, shoulderY - 0.5);
    body.quadTo(QPointF(half.right() - 2.0, shoulderY), QPointF(half.right() - 2.0, shoulderY + 5.0));
    body.lineTo(half.right() - 2.0, half.bottom());
    body.closeSubpath();
    QLinearGradient cloth(half.left(), 0, half.right(), 0);
    cloth.setColorAt(0.0, robe.darker(125));
    cloth.setColorAt(0.5, robe.lighter(115));
    cloth.setColorAt(1.0, robe.darker(125));
    painter.setPen(QPen(outline, 0.6));
    painter.setBrush(cloth);
    painter.drawPath(body);
    painter.setPen(QPen(trim, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF{QPointF(cx - 4.0, shoulderY - 0.3), QPointF(cx, shoulderY + 4.5),
                                   QPointF(cx + 4.0, shoulderY - 0.3)});
    painter.drawLine(QPointF(cx, shoulderY + 4.5), QPointF(cx, half.bottom()));
    painter.fillPath(suitPath(suit, QRectF(cx - 8.5, shoulderY + 3.5, 5.0, 5.5)), QColor(255, 248, 228));

    // Hair behind the head: long and golden for the queen.
    painter.setPen(Qt::NoPen);
    if (rank == 5) {
        painter.setBrush(QColor(222, 168, 46));
        painter.drawRoundedRect(QRectF(cx - 6.2, headY - 5.0, 12.4, 12.5), 5, 5);
    } else {
        painter.setBrush(rank == 6 ? QColor(120, 80, 44) : QColor(70, 44, 30));
        painter.drawEllipse(QPointF(cx, headY - 0.8), 5.2, 5.4);
    }

    // Face.
    painter.setPen(QPen(outline, 0.6));
    painter.setBrush(QColor(252, 224, 188));
    painter.drawEllipse(QPointF(cx, headY + 0.3), 4.3, 4.9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(outline);
    painter.drawEllipse(QPointF(cx - 1.6, headY - 0.4), 0.6, 0.65);
    painter.drawEllipse(QPointF(cx + 1.6, headY - 0.4), 0.6, 0.65);
    painter.setPen(QPen(QColor(190, 60, 60), 0.7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(cx - 1.0, headY + 2.6), QPointF(cx + 1.0, headY + 2.6));
    if (rank == 6) { // the king's beard
        painter.setPen(QPen(outline, 0.4));
        painter.setBrush(QColor(150, 104, 62));
        QPainterPath beard;
        beard.moveTo(cx - 4.2, headY + 1.2);
        beard.quadTo(cx, headY + 9.5, cx + 4.2, headY + 1.2);
        beard.quadTo(cx, headY + 4.6, cx - 4.2, headY + 1.2);
        painter.drawPath(beard);
    }

    // Headgear: crown for the king, tiara for the queen, cap with a feather for the jack.
    painter.setPen(QPen(QColor(120, 84, 10), 0.6));
    painter.setBrush(trim);
    const qreal brim = headY - 4.0;
    if (rank == 6) {
        QPolygonF crown;
        crown << QPointF(cx - 5.0, brim) << QPointF(cx - 5.6, brim - 6.0) << QPointF(cx - 2.8, brim - 3.0)
              << QPointF(cx, brim - 7.0) << QPointF(cx + 2.8, brim - 3.0) << QPointF(cx + 5.6, brim - 6.0)
              << QPointF(cx + 5.0, brim);
        painter.drawPolygon(crown);
        painter.setBrush(robe);
        painter.drawEllipse(QPointF(cx, brim - 1.7), 0.9, 0.9);
    } else if (rank == 5) {
        QPainterPath tiara;
        tiara.moveTo(cx - 4.6, brim + 0.6);
        tiara.quadTo(cx - 3.6, brim - 3.6, cx, brim - 5.2);
        tiara.quadTo(cx + 3.6, brim - 3.6, cx + 4.6, brim + 0.6);
        tiara.closeSubpath();
        painter.drawPath(tiara);
        painter.setBrush(robe);
        painter.drawEllipse(QPointF(cx, brim - 2.0), 1.0, 1.0);
    } else {
        painter.setPen(QPen(trim, 1.1, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(cx + 2.5, brim - 2.0), QPointF(cx + 6.5, brim - 5.5));
        painter.setPen(QPen(outline, 0.6));
        painter.setBrush(robe);
        QPainterPath cap;
        cap.moveTo(cx - 5.6, brim + 1.0);
        cap.quadTo(cx - 4.0, brim - 4.6, cx + 1.0, brim - 4.0);
        cap.quadTo(cx + 5.6, brim - 3.0, cx + 5.6, brim + 1.0);
        cap.closeSubpath();
        painter.drawPath(cap);
    }
}

void CardPainter::paintCourt(QPainter& painter, int code)
{
    const int suit = suitOf(code);
    const int rank = rankOf(code);
    const QColor colour = suitColor(suit);
    const QRectF frame(14.5, 5.5, 25.0, 63.0);

    QLinearGradient tint(frame.topLeft(), frame.bottomRight());
    tint.setColorAt(0.0, QColor(255, 246, 214));
    tint.setColorAt(1.0, QColor(246, 230, 180));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawRect(frame);

    painter.save();
    painter.setClipRect(frame);
    const QRectF half(frame.left(), frame.top(), frame.width(), frame.height() / 2.0);
    paintBust(painter, rank, suit, half);
    painter.translate(frame.center());
    painter.rotate(180);
    painter.translate(-frame.center());
    paintBust(painter, rank, suit, half);
    painter.restore();

    painter.setPen(QPen(colour, 0.8));
    painter.drawLine(QPointF(frame.left(), frame.center().y()), QPointF(frame.right(), frame.center().y()));
    painter.setPen(QPen(colour, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
}

void CardPainter::paintFace(QPainter& painter, int code)
{
    if (code < 1 || code > 32)
        return;
    painter.save();
    paintBlank(painter);
    const int rank = rankOf(code);
    if (rank >= 4 && rank <= 6)
        paintCourt(painter, code);
    else
        paintPips(painter, code);
    paintIndex(painter, code);
    painter.restore();
}

void CardPainter::paintBack(QPainter& painter)
{
    painter.save();
    paintBlank(painter);
    const QRectF inner(3.5, 3.5, 47.0, 67.0);
    QLinearGradient blue(inner.topLeft(), inner.bottomRight());
    blue.setColorAt(0.0, kDarkBlue.lighter(125));
    blue.setColorAt(1.0, kDarkBlue.darker(130));
    QPainterPath innerPath;
    innerPath.addRoundedRect(inner, 2.5, 2.5);
    painter.fillPath(innerPath, blue);

    // A fine gold lattice of diamonds.
    painter.save();
    painter.setClipPath(innerPath);
    QColor lattice = kGold;
    lattice.setAlpha(120);
    painter.setPen(QPen(lattice, 0.6));
    for (qreal d = -80; d < 130; d += 7.0) {
        painter.drawLine(QPointF(d, 0), QPointF(d + 74, 74));
        painter.drawLine(QPointF(d + 74, 0), QPointF(d, 74));
    }
    painter.restore();

    // Central medallion with the four suits.
    const QPointF c(27, 37);
    QRadialGradient glow(c, 15);
    glow.setColorAt(0.0, kPurple.lighter(130));
    glow.setColorAt(1.0, kPurple.darker(120));
    painter.setPen(QPen(kGold, 1.2));
    painter.setBrush(glow);
    painter.drawEllipse(c, 13.0, 16.0);
    const QColor pipColour(250, 240, 200);
    const std::array<QPointF, 4> spots{QPointF(27, 29.5), QPointF(20.5, 37), QPointF(33.5, 37), QPointF(27, 44.5)};
    const std::array<int, 4> suits{3, 2, 1, 4};
    for (size_t i = 0; i < spots.size(); ++i)
        painter.fillPath(suitPath(suits[i], QRectF(spots[i].x() - 3.5, spots[i].y() - 3.7, 7.0, 7.4)), pipColour);

    painter.setPen(QPen(kGold, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(innerPath);
    painter.restore();
}
