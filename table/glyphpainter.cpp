#include "glyphpainter.h"

#include "cardpainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kInk(60, 35, 10);
const QColor kGold(237, 215, 61);
const QColor kDarkBlue(0, 64, 128);
const QColor kPurple(87, 41, 182);

enum Face {
    Smile,
    Grin,
    Wink,
    Sad,
    Tongue,
    Surprised,
    Cool,
    Angry,
    Crying,
    Laughing,
    Neutral,
    Confused,
    Kiss,
    Love,
    Sleepy,
    Devil,
    Angel,
    Sick
};

/// The face geometry: centre and radius; horns and halo need room above the face.
struct Head {
    QPointF c;
    qreal r;
    QPointF at(qreal dx, qreal dy) const { return {c.x() + dx * r / 7.0, c.y() + dy * r / 7.0}; }
    qreal s(qreal v) const { return v * r / 7.0; }
};

void drawHead(QPainter& p, const Head& h, const QColor& light, const QColor& dark, const QColor& rim)
{
    QRadialGradient fill(h.at(-2.5, -3.0), h.r * 1.3);
    fill.setColorAt(0.0, light);
    fill.setColorAt(1.0, dark);
    p.setPen(QPen(rim, 0.9));
    p.setBrush(fill);
    p.drawEllipse(h.c, h.r, h.r);
}

void dotEyes(QPainter& p, const Head& h, qreal ry = 1.4)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(h.at(-2.5, -1.8), h.s(1.0), h.s(ry));
    p.drawEllipse(h.at(2.5, -1.8), h.s(1.0), h.s(ry));
}

void arcEye(QPainter& p, const Head& h, qreal dx, bool up)
{
    QPainterPath eye;
    eye.moveTo(h.at(dx - 1.6, -1.4));
    eye.quadTo(h.at(dx, up ? -3.4 : 0.4), h.at(dx + 1.6, -1.4));
    p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(eye);
}

void curve(QPainter& p, const Head& h, QPointF from, QPointF ctrl, QPointF to, const QColor& colour = kInk)
{
    QPainterPath mouth;
    mouth.moveTo(h.at(from.x(), from.y()));
    mouth.quadTo(h.at(ctrl.x(), ctrl.y()), h.at(to.x(), to.y()));
    p.setPen(QPen(colour, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

void smile(QPainter& p, const Head& h)
{
    curve(p, h, {-3.6, 1.8}, {0, 5.6}, {3.6, 1.8});
}

void frown(QPainter& p, const Head& h)
{
    curve(p, h, {-3.0, 4.4}, {0, 1.6}, {3.0, 4.4});
}

void openMouth(QPainter& p, const Head& h, bool teeth)
{
    QPainterPath mouth;
    mouth.moveTo(h.at(-3.8, 1.4));
    mouth.lineTo(h.at(3.8, 1.4));
    mouth.quadTo(h.at(3.6, 6.2), h.at(0, 6.0));
    mouth.quadTo(h.at(-3.6, 6.2), h.at(-3.8, 1.4));
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(120, 20, 20));
    p.drawPath(mouth);
    if (teeth) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(h.at(-3.2, 1.6), h.at(3.2, 2.8)));
    }
}

void heart(QPainter& p, QPointF centre, qreal size, const QColor& colour)
{
    p.fillPath(CardPainter::suitPath(3, QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size)), colour);
}

} // namespace

void GlyphPainter::paintSmiley(QPainter& p, int index)
{
    const Face face = static_cast<Face>(index);
    const bool extra = face == Devil || face == Angel;
    const Head h{extra ? QPointF(8.5, 9.0) : QPointF(8.5, 8.0), extra ? 6.5 : 7.2};
    const QColor yellowLight(255, 244, 140), yellowDark(244, 186, 20), rim(150, 96, 0);

    if (face == Angel) {
        p.setPen(QPen(kGold, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8.5, 1.8), 4.5, 1.3);
    }
    if (face == Devil) {
        p.setPen(QPen(QColor(90, 0, 0), 0.6));
        p.setBrush(QColor(200, 20, 20));
        for (int side : {-1, 1}) {
            QPolygonF horn;
            horn << QPointF(8.5 + side * 2.2, 3.6) << QPointF(8.5 + side * 6.5, 0.3) << QPointF(8.5 + side * 5.4, 5.0);
            p.drawPolygon(horn);
        }
    }

    switch (face) {
    case Angry:
        drawHead(p, h, QColor(255, 170, 120), QColor(220, 50, 30), QColor(120, 20, 0));
        break;
    case Devil:
        drawHead(p, h, QColor(255, 120, 110), QColor(190, 20, 30), QColor(100, 0, 0));
        break;
    case Sick:
        drawHead(p, h, QColor(210, 240, 150), QColor(120, 180, 60), QColor(50, 90, 20));
        break;
    default:
        drawHead(p, h, yellowLight, yellowDark, rim);
        break;
    }

    switch (face) {
    case Smile:
    case Angel:
        dotEyes(p, h);
        smile(p, h);
        break;
    case Grin:
        dotEyes(p, h);
        openMouth(p, h, true);
        break;
    case Wink:
        arcEye(p, h, -2.5, true);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(h.at(2.5, -1.8), h.s(1.0), h.s(1.4));
        smile(p, h);
        break;
    case Sad:
        dotEyes(p, h);
        frown(p, h);
        break;
    case Tongue: {
        dotEyes(p, h);
        p.setPen(QPen(QColor(150, 30, 40), 0.6));
        p.setBrush(QColor(240, 90, 110));
        p.drawEllipse(h.at(0.6, 4.6), h.s(1.9), h.s(2.2));
        curve(p, h, {-3.6, 2.6}, {0, 4.4}, {3.6, 2.6});
        break;
    }
    case Surprised:
        dotEyes(p, h, 1.8);
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(QColor(120, 20, 20));
        p.drawEllipse(h.at(0, 3.6), h.s(1.7), h.s(2.1));
        break;
    case Cool: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 20, 30));
        p.drawRoundedRect(QRectF(h.at(-5.6, -3.4), h.at(-0.6, -0.2)), 1.2, 1.2);
        p.drawRoundedRect(QRectF(h.at(0.6, -3.4), h.at(5.6, -0.2)), 1.2, 1.2);
        p.setPen(QPen(QColor(20, 20, 30), 0.9));
        p.drawLine(h.at(-6.6, -2.6), h.at(6.6, -2.6));
        p.setPen(QPen(QColor(255, 255, 255, 180), 0.6));
        p.drawLine(h.at(-4.6, -2.6), h.at(-3.2, -1.2));
        curve(p, h, {-3.0, 3.2}, {1.0, 5.2}, {3.8, 2.0});
        break;
    }
    case Angry:
        p.setPen(QPen(kInk, 1.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(h.at(-4.2, -4.2), h.at(-1.0, -2.6));
        p.drawLine(h.at(4.2, -4.2), h.at(1.0, -2.6));
        dotEyes(p, h, 1.0);
        curve(p, h, {-3.0, 4.2}, {0, 2.2}, {3.0, 4.2});
        break;
    case Crying:
        dotEyes(p, h);
        frown(p, h);
        p.setPen(QPen(QColor(30, 100, 200), 0.5));
        p.setBrush(QColor(120, 190, 255));
        p.drawEllipse(h.at(-3.4, 1.4), h.s(1.1), h.s(1.7));
        p.drawEllipse(h.at(3.6, 2.6), h.s(0.9), h.s(1.4));
        break;
    case Laughing:
        arcEye(p, h, -2.5, true);
        arcEye(p, h, 2.5, true);
        openMouth(p, h, false);
        break;
    case Neutral:
        dotEyes(p, h);
        p.setPen(QPen(kInk, 1.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(h.at(-3.0, 3.2), h.at(3.0, 3.2));
        break;
    case Confused: {
        dotEyes(p, h);
        p.setPen(QPen(kInk, 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(h.at(1.2, -4.6), h.at(4.0, -5.2));
        QPainterPath wave;
        wave.moveTo(h.at(-3.6, 3.6));
        wave.cubicTo(h.at(-1.8, 1.6), h.at(-0.6, 5.6), h.at(0.6, 3.4));
        wave.cubicTo(h.at(1.6, 1.6), h.at(2.8, 4.8), h.at(3.8, 2.8));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
        break;
    }
    case Kiss:
        arcEye(p, h, -2.5, false);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(h.at(2.5, -1.8), h.s(1.0), h.s(1.4));
        p.setPen(QPen(QColor(180, 20, 40), 1.1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(h.at(0, 3.4), h.s(1.1), h.s(1.3));
        heart(p, QPointF(14.0, 11.8), 4.4, QColor(230, 30, 60));
        break;
    case Love:
        heart(p, h.at(-2.6, -1.6), 4.2, QColor(225, 20, 50));
        heart(p, h.at(2.6, -1.6), 4.2, QColor(225, 20, 50));
        smile(p, h);
        break;
    case Sleepy: {
        p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(h.at(-4.0, -1.2), h.at(-1.2, -1.2));
        p.drawLine(h.at(1.2, -1.2), h.at(4.0, -1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(h.at(0, 3.6), h.s(1.0), h.s(1.2));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(6);
        p.setFont(font);
        p.setPen(QColor(30, 60, 180));
        p.drawText(QRectF(11.5, -0.5, 6, 6), Qt::AlignCenter, QStringLiteral("z"));
        break;
    }
    case Devil:
        p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(h.at(-4.0, -3.8), h.at(-1.2, -2.6));
        p.drawLine(h.at(4.0, -3.8), h.at(1.2, -2.6));
        dotEyes(p, h, 1.1);
        curve(p, h, {-3.8, 1.8}, {0, 6.2}, {3.8, 1.8});
        break;
    case Sick: {
        p.setPen(QPen(kInk, 0.9, Qt::SolidLine, Qt::RoundCap));
        for (qreal dx : {-2.6, 2.6}) {
            p.drawLine(h.at(dx - 1.3, -3.1), h.at(dx + 1.3, -0.5));
            p.drawLine(h.at(dx - 1.3, -0.5), h.at(dx + 1.3, -3.1));
        }
        QPainterPath wave;
        wave.moveTo(h.at(-3.6, 3.4));
        wave.cubicTo(h.at(-2.0, 1.8), h.at(-1.0, 5.0), h.at(0, 3.4));
        wave.cubicTo(h.at(1.0, 1.8), h.at(2.0, 5.0), h.at(3.6, 3.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        break;
    }
    }
}

void GlyphPainter::paintPhraseGlyph(QPainter& p)
{
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.0, 1.5, 14.0, 10.0), 3.5, 3.5);
    QPainterPath tail;
    tail.moveTo(3.5, 10.5);
    tail.lineTo(2.5, 15.0);
    tail.lineTo(8.0, 10.5);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    QLinearGradient fill(0, 1.5, 0, 12);
    fill.setColorAt(0.0, QColor(255, 255, 255));
    fill.setColorAt(1.0, QColor(255, 238, 160));
    p.setPen(QPen(kDarkBlue, 1.0));
    p.setBrush(fill);
    p.drawPath(bubble);
    p.setPen(Qt::NoPen);
    p.setBrush(kPurple);
    for (qreal x : {4.7, 8.0, 11.3})
        p.drawEllipse(QPointF(x, 6.5), 1.2, 1.2);
}

void GlyphPainter::paintSoundGlyph(QPainter& p)
{
    QPolygonF speaker;
    speaker << QPointF(1.5, 5.5) << QPointF(4.5, 5.5) << QPointF(8.5, 2.0) << QPointF(8.5, 14.0) << QPointF(4.5, 10.5)
            << QPointF(1.5, 10.5);
    QLinearGradient fill(0, 2, 0, 14);
    fill.setColorAt(0.0, QColor(255, 243, 160));
    fill.setColorAt(1.0, QColor(214, 170, 30));
    p.setPen(QPen(kDarkBlue, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(speaker);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kDarkBlue, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(6.5, 5.0, 5.0, 6.0), -60 * 16, 120 * 16);
    p.drawArc(QRectF(6.0, 2.5, 9.0, 11.0), -60 * 16, 120 * 16);
}

void GlyphPainter::paintAppIcon(QPainter& p, int size)
{
    p.save();
    p.scale(size / 64.0, size / 64.0);
    const QRectF tile(2, 2, 60, 60);
    QLinearGradient purple(tile.topLeft(), tile.bottomLeft());
    purple.setColorAt(0.0, kPurple.lighter(135));
    purple.setColorAt(1.0, kPurple.darker(140));
    p.setPen(QPen(kGold, 2.5));
    p.setBrush(purple);
    p.drawRoundedRect(tile.adjusted(1, 1, -1, -1), 12, 12);

    const auto card = [&](QPointF centre, qreal angle, int suit, QRectF pip) {
        p.save();
        p.translate(centre);
        p.rotate(angle);
        const QRectF face(-14, -19, 28, 38);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawRoundedRect(face.translated(1.5, 2), 3.5, 3.5);
        p.setPen(QPen(QColor(90, 90, 100), 1.2));
        p.setBrush(QColor(255, 253, 246));
        p.drawRoundedRect(face, 3.5, 3.5);
        p.fillPath(CardPainter::suitPath(suit, pip), CardPainter::suitColor(suit));
        p.restore();
    };
    card(QPointF(23, 34), -16, 4, QRectF(-11, -13, 13, 14)); // the spade peeks out at the left
    card(QPointF(40, 31), 12, 3, QRectF(-9, -10, 18, 19));
    p.restore();
}
