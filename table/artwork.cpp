#include "artwork.h"

#include "cardpainter.h"
#include "glyphpainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const QColor kGold(237, 215, 61);
const QColor kDarkBlue(0, 64, 128);

enum class Kind {
    Card,
    Back,
    Director,
    Turn,
    Lead,
    Taker,
    Check,
    Eyes,
    Ok,
    Start,
    StartGame,
    Banner,
    Logo,
    Smiley,
    Phrase,
    Sound
};

using Paint = std::function<void(QPainter&)>;

QHash<QString, QPixmap>& cache()
{
    static QHash<QString, QPixmap> pixmaps;
    return pixmaps;
}

/// Draws @p paint in logical coordinates onto a transparent pixmap of @p size at ratio @p dpr, cached.
QPixmap render(Kind kind, int code, QSize size, qreal dpr, const Paint& paint)
{
    if (!(dpr > 0.0) || !std::isfinite(dpr))
        dpr = 1.0;
    // A board drawn at any size asks for many ratios: two decimals are sharp enough, and the cache is
    // emptied rather than left to grow while the window is dragged larger and smaller.
    dpr = std::clamp(std::round(dpr * 100.0) / 100.0, 0.25, 16.0);
    if (cache().size() > 2000)
        cache().clear();
    const QString key = QStringLiteral("%1/%2/%3").arg(static_cast<int>(kind)).arg(code).arg(dpr);
    auto found = cache().constFind(key);
    if (found != cache().constEnd())
        return found.value();

    QImage image(qRound(size.width() * dpr), qRound(size.height() * dpr), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        paint(painter);
    }
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(dpr);
    cache().insert(key, pixmap);
    return pixmap;
}

QFont artFont(int pixelSize, bool serif = false)
{
    QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

/// A raised gold button with dark blue lettering.
void paintButton(QPainter& painter, QSizeF size, const QString& text, int pixelSize)
{
    const QRectF outer(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const qreal radius = std::min(size.height() / 4.0, 9.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(outer.adjusted(1.0, 1.5, 0, 0), radius, radius);

    const QRectF face = outer.adjusted(0, 0, -1.0, -1.5);
    QLinearGradient gold(face.topLeft(), face.bottomLeft());
    gold.setColorAt(0.0, QColor(255, 243, 160));
    gold.setColorAt(0.45, kGold);
    gold.setColorAt(1.0, QColor(196, 160, 28));
    painter.setPen(QPen(QColor(120, 86, 8), 1.0));
    painter.setBrush(gold);
    painter.drawRoundedRect(face, radius, radius);
    painter.setPen(QPen(QColor(255, 255, 230, 150), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(face.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5, radius - 1.5);

    painter.setFont(artFont(pixelSize));
    painter.setPen(QColor(255, 250, 220, 170));
    painter.drawText(face.translated(0, 1.0), Qt::AlignCenter, text);
    painter.setPen(kDarkBlue);
    painter.drawText(face, Qt::AlignCenter, text);
}

/// Halo around the card place (4, 5, 54, 74) of a marker, with a small label tag.
void paintHalo(QPainter& painter, QSize size, const QColor& colour, const QString& label, bool labelRight)
{
    const QRectF card(Artwork::kMarkerCardOffset, Artwork::kCardSize);
    QPainterPath outside;
    outside.addRect(QRectF(QPointF(0, 0), size));
    QPainterPath cardPath;
    cardPath.addRoundedRect(card, 4, 4);
    painter.setClipPath(outside.subtracted(cardPath));

    painter.setBrush(Qt::NoBrush);
    for (int i = 3; i >= 1; --i) {
        QColor glow = colour;
        glow.setAlpha(40 + (3 - i) * 25);
        painter.setPen(QPen(glow, 2.0));
        painter.drawRoundedRect(card.adjusted(-1.5 - i, -1.5 - i, 1.5 + i, 1.5 + i), 5 + i, 5 + i);
    }
    painter.setPen(QPen(colour, 2.2));
    painter.drawRoundedRect(card.adjusted(-1.5, -1.5, 1.5, 1.5), 5, 5);

    const QRectF tag = labelRight ? QRectF(card.right() + 1.0, card.top() + 14.0, 12.5, 46.0)
                                  : QRectF(card.left() + 4.0, card.bottom() + 1.0, card.width() - 8.0, 11.5);
    painter.setPen(QPen(colour.darker(160), 0.8));
    painter.setBrush(colour);
    painter.drawRoundedRect(tag, 4, 4);
    painter.setFont(artFont(9));
    painter.setPen(kDarkBlue);
    if (labelRight) {
        painter.translate(tag.center());
        painter.rotate(-90);
        painter.drawText(QRectF(-tag.height() / 2.0, -tag.width() / 2.0, tag.height(), tag.width()), Qt::AlignCenter,
                         label);
    } else {
        painter.drawText(tag, Qt::AlignCenter, label);
    }
}

void paintDirector(QPainter& painter)
{
    const QPointF c(15, 15.5);
    QRadialGradient ring(c + QPointF(-4, -5), 18);
    ring.setColorAt(0.0, QColor(255, 246, 170));
    ring.setColorAt(0.6, kGold);
    ring.setColorAt(1.0, QColor(170, 130, 20));
    painter.setPen(QPen(QColor(110, 80, 10), 1.0));
    painter.setBrush(ring);
    painter.drawEllipse(c, 14.0, 14.0);
    QRadialGradient disc(c + QPointF(-2, -3), 12);
    disc.setColorAt(0.0, kDarkBlue.lighter(150));
    disc.setColorAt(1.0, kDarkBlue.darker(120));
    painter.setPen(QPen(QColor(255, 250, 210, 160), 0.8));
    painter.setBrush(disc);
    painter.drawEllipse(c, 10.5, 10.5);

    QPolygonF crown;
    crown << QPointF(8.0, 20.0) << QPointF(7.0, 10.0) << QPointF(11.3, 14.5) << QPointF(15.0, 8.0)
          << QPointF(18.7, 14.5) << QPointF(23.0, 10.0) << QPointF(22.0, 20.0);
    painter.setPen(QPen(QColor(120, 86, 8), 0.8));
    painter.setBrush(kGold);
    painter.drawPolygon(crown);
    painter.drawRect(QRectF(8.0, 20.0, 14.0, 2.6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 40, 50));
    painter.drawEllipse(QPointF(15.0, 17.0), 1.4, 1.4);
    painter.setBrush(QColor(255, 255, 235));
    for (const QPointF& tip : {QPointF(7.0, 10.0), QPointF(15.0, 8.0), QPointF(23.0, 10.0)})
        painter.drawEllipse(tip, 1.1, 1.1);
}

void paintTurn(QPainter& painter)
{
    QPainterPath arrow;
    arrow.moveTo(0, -3.2);
    arrow.lineTo(19, -3.2);
    arrow.lineTo(19, -7.5);
    arrow.lineTo(30.5, 0);
    arrow.lineTo(19, 7.5);
    arrow.lineTo(19, 3.2);
    arrow.lineTo(0, 3.2);
    arrow.closeSubpath();
    painter.translate(3.5, 4.2);
    painter.rotate(20);
    painter.setPen(QPen(QColor(255, 255, 255, 110), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow);
    QLinearGradient gold(0, -7, 0, 7);
    gold.setColorAt(0.0, QColor(255, 243, 150));
    gold.setColorAt(0.5, kGold);
    gold.setColorAt(1.0, QColor(205, 150, 20));
    painter.setPen(QPen(kDarkBlue, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(gold);
    painter.drawPath(arrow);
}

void paintCheck(QPainter& painter)
{
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.5, 12.8);
    tick.lineTo(14.5, 2.8);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 80, 20), 4.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    painter.setPen(QPen(QColor(40, 170, 60), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
}

void paintEyes(QPainter& painter)
{
    for (qreal cx : {6.5, 18.5}) {
        painter.setPen(QPen(kDarkBlue, 1.0));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(cx, 5.5), 5.6, 4.6);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 90, 170));
        painter.drawEllipse(QPointF(cx + 1.4, 6.0), 2.6, 2.6);
        painter.setBrush(QColor(10, 10, 30));
        painter.drawEllipse(QPointF(cx + 1.6, 6.1), 1.3, 1.3);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(cx + 0.8, 5.0), 0.7, 0.7);
    }
}

void paintBanner(QPainter& painter)
{
    const QColor tailColour(196, 150, 24);
    const QColor edge(120, 84, 8);
    const QRectF band(26, 6, 285, 48);
    for (int side = 0; side < 2; ++side) {
        painter.save();
        if (side == 1) {
            painter.translate(337, 0);
            painter.scale(-1, 1);
        }
        QPolygonF tail;
        tail << QPointF(2, 18) << QPointF(46, 18) << QPointF(46, 64) << QPointF(2, 64) << QPointF(15, 41);
        painter.setPen(QPen(edge, 1.0));
        painter.setBrush(tailColour);
        painter.drawPolygon(tail);
        QPolygonF fold;
        fold << QPointF(26, 54) << QPointF(46, 64) << QPointF(46, 54);
        painter.setBrush(QColor(130, 90, 10));
        painter.drawPolygon(fold);
        painter.restore();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(band.translated(2, 3), 3, 3);
    QLinearGradient gold(band.topLeft(), band.bottomLeft());
    gold.setColorAt(0.0, QColor(255, 240, 140));
    gold.setColorAt(0.5, kGold);
    gold.setColorAt(1.0, QColor(206, 166, 30));
    painter.setPen(QPen(edge, 1.2));
    painter.setBrush(gold);
    painter.drawRoundedRect(band, 3, 3);
    painter.setPen(QPen(QColor(255, 250, 220, 170), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(band.adjusted(3.5, 3.5, -3.5, -3.5), 2, 2);

    const QColor red(204, 24, 30);
    const QColor dark(22, 22, 28);
    painter.fillPath(CardPainter::suitPath(3, QRectF(36, 23, 13, 13)), red);
    painter.fillPath(CardPainter::suitPath(4, QRectF(288, 23, 13, 13)), dark);

    // The largest lettering that leaves the two pips free.
    const QString text = QStringLiteral("Choose a Contract");
    QFont font = artFont(25, true);
    while (font.pixelSize() > 12 && QFontMetricsF(font).horizontalAdvance(text) > 228.0)
        font.setPixelSize(font.pixelSize() - 1);
    painter.setFont(font);
    painter.setPen(QColor(255, 252, 230, 200));
    painter.drawText(band.translated(0, 1.2), Qt::AlignCenter, text);
    painter.setPen(kDarkBlue);
    painter.drawText(band, Qt::AlignCenter, text);
}

void paintLogo(QPainter& painter)
{
    QFont font = artFont(31, true);
    font.setItalic(true);
    QPainterPath word;
    word.addText(0, 0, font, QStringLiteral("Morlu"));
    // Scaled to fill the space above the pips, whatever the font's exact width.
    const QRectF bounds = word.boundingRect();
    const qreal scale = std::min(82.0 / bounds.width(), 30.0 / bounds.height());
    QTransform fit;
    fit.translate(45.0, 17.5);
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    word = fit.map(word);
    painter.setPen(QPen(QColor(0, 30, 70), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(word);
    QLinearGradient gold(0, 4, 0, 32);
    gold.setColorAt(0.0, QColor(255, 246, 170));
    gold.setColorAt(0.55, kGold);
    gold.setColorAt(1.0, QColor(214, 160, 24));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawPath(word);

    const int suits[4] = {1, 2, 3, 4};
    for (int i = 0; i < 4; ++i) {
        const QRectF box(26.0 + i * 10.5, 35.0, 7.5, 8.0);
        const QPainterPath pip = CardPainter::suitPath(suits[i], box);
        painter.setPen(QPen(QColor(0, 30, 70), 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(pip);
        painter.fillPath(pip, suits[i] == 1 || suits[i] == 3 ? QColor(236, 60, 60) : QColor(250, 244, 220));
    }
}

} // namespace

QPixmap Artwork::card(int code, qreal dpr)
{
    if (code < 1 || code > 32)
        return {};
    return render(Kind::Card, code, kCardSize, dpr, [code](QPainter& p) { CardPainter::paintFace(p, code); });
}

QPixmap Artwork::cardBack(qreal dpr)
{
    return render(Kind::Back, 0, kCardSize, dpr, [](QPainter& p) { CardPainter::paintBack(p); });
}

QPixmap Artwork::directorMarker(qreal dpr)
{
    return render(Kind::Director, 0, kDirectorMarkerSize, dpr, paintDirector);
}

QPixmap Artwork::turnMarker(qreal dpr)
{
    return render(Kind::Turn, 0, kTurnMarkerSize, dpr, paintTurn);
}

QPixmap Artwork::leadMarker(qreal dpr)
{
    return render(Kind::Lead, 0, kLeadMarkerSize, dpr, [](QPainter& p) {
        paintHalo(p, kLeadMarkerSize, QColor(96, 214, 255), QStringLiteral("LEAD"), true);
    });
}

QPixmap Artwork::takerMarker(qreal dpr)
{
    return render(Kind::Taker, 0, kTakerMarkerSize, dpr, [](QPainter& p) {
        paintHalo(p, kTakerMarkerSize, QColor(255, 184, 40), QStringLiteral("TAKES"), false);
    });
}

QPixmap Artwork::checkMark(qreal dpr)
{
    return render(Kind::Check, 0, kCheckMarkSize, dpr, paintCheck);
}

QPixmap Artwork::eyes(qreal dpr)
{
    return render(Kind::Eyes, 0, kEyesSize, dpr, paintEyes);
}

QPixmap Artwork::okButton(qreal dpr)
{
    return render(Kind::Ok, 0, kOkButtonSize, dpr,
                  [](QPainter& p) { paintButton(p, kOkButtonSize, QStringLiteral("OK"), 15); });
}

QPixmap Artwork::startButton(qreal dpr)
{
    return render(Kind::Start, 0, kStartButtonSize, dpr,
                  [](QPainter& p) { paintButton(p, kStartButtonSize, QStringLiteral("START"), 17); });
}

QPixmap Artwork::startGameButton(qreal dpr)
{
    return render(Kind::StartGame, 0, kStartGameButtonSize, dpr,
                  [](QPainter& p) { paintButton(p, kStartGameButtonSize, QStringLiteral("START"), 14); });
}

QPixmap Artwork::chooseContractBanner(qreal dpr)
{
    return render(Kind::Banner, 0, kBannerSize, dpr, paintBanner);
}

QPixmap Artwork::logo(qreal dpr)
{
    return render(Kind::Logo, 0, kLogoSize, dpr, paintLogo);
}

QPixmap Artwork::smiley(int index, qreal dpr)
{
    if (index < 0 || index >= kSmileyCount)
        return {};
    return render(Kind::Smiley, index, kSmileySize, dpr, [index](QPainter& p) { GlyphPainter::paintSmiley(p, index); });
}

QPixmap Artwork::phraseGlyph(qreal dpr)
{
    return render(Kind::Phrase, 0, kGlyphSize, dpr, [](QPainter& p) { GlyphPainter::paintPhraseGlyph(p); });
}

QPixmap Artwork::soundGlyph(qreal dpr)
{
    return render(Kind::Sound, 0, kGlyphSize, dpr, [](QPainter& p) { GlyphPainter::paintSoundGlyph(p); });
}

QImage Artwork::appIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    GlyphPainter::paintAppIcon(painter, size);
    return image;
}

QIcon Artwork::appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    return icon;
}

void Artwork::clearCache()
{
    cache().clear();
}
