#include "boardpainter.h"

#include "boardlayout.h"
#include "boardstyle.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>

#include <array>
#include <cstdint>

using namespace boardlayout;

namespace {

const QColor kFeltLight(31, 122, 76);
const QColor kFeltDark(12, 66, 40);
const QColor kCream(246, 240, 220);
const QColor kCreamShade(226, 214, 178);
const QColor kRim(176, 146, 60);

/// A tile of fine grain, one device pixel per dot, laid over the felt without scaling.
const QPixmap& grain()
{
    static const QPixmap tile = [] {
        QImage image(96, 96, QImage::Format_ARGB32_Premultiplied);
        std::uint32_t seed = 0x2545F491u;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                seed ^= seed << 13;
                seed ^= seed >> 17;
                seed ^= seed << 5;
                const int alpha = int(seed % 23u);
                const bool light = (seed >> 8) & 1u;
                image.setPixel(x, y,
                               light ? qPremultiply(qRgba(255, 255, 255, alpha)) : qPremultiply(qRgba(0, 0, 0, alpha)));
            }
        }
        return QPixmap::fromImage(image);
    }();
    return tile;
}

/// A raised cream box with a gold rim.
void paintStrip(QPainter& painter, const QRect& box, qreal radius)
{
    const QRectF r = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(r.translated(0, 1.5), radius, radius);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, kCream);
    fill.setColorAt(1.0, kCreamShade);
    painter.setBrush(fill);
    painter.setPen(QPen(kRim, 1.0));
    painter.drawRoundedRect(r, radius, radius);
}

/// A sunken dark box with a thin gold line.
void paintWell(QPainter& painter, const QRect& box, qreal radius, int alpha)
{
    painter.setBrush(QColor(4, 40, 22, alpha));
    painter.setPen(
        QPen(QColor(boardstyle::kGold.red(), boardstyle::kGold.green(), boardstyle::kGold.blue(), 120), 1.0));
    painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

/// The outline of an empty card place.
void paintSlot(QPainter& painter, const QRect& card)
{
    painter.setBrush(QColor(0, 0, 0, 36));
    painter.setPen(QPen(QColor(120, 200, 150, 70), 1.0));
    painter.drawRoundedRect(QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

} // namespace

void BoardPainter::paint(QPainter& painter, const QRect& target, double scale)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient felt(target.center(), target.width() * 0.62);
    felt.setColorAt(0.0, kFeltLight);
    felt.setColorAt(1.0, kFeltDark);
    painter.fillRect(target, felt);
    // The grain stays one device pixel per dot at any size.
    painter.drawTiledPixmap(target, grain());

    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setPen(QPen(QColor(237, 215, 61, 110), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(5.5, 5.5, kBoardSize.width() - 11.0, kBoardSize.height() - 11.0), 8, 8);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 55));
    painter.drawRoundedRect(QRectF(kPanelShadow), 6, 6);

    paintWell(painter, kHandTray, 6, 60);
    for (int k = 0; k < 8; ++k)
        paintSlot(painter, QRect(kHandLeft + kHandStep * k, kHandTop, 54, 74));
    for (const int left : kPlayedLeft)
        paintSlot(painter, QRect(left, 72, 54, 74));

    paintStrip(painter, kTopStrip, 7);
    paintStrip(painter, kCornerBox, 6);
    paintStrip(painter, kStatusStrip, 5);
    paintWell(painter, kContractBox, 4, 200);
    paintStrip(painter, kRankStrip, 5);
    painter.restore();
}
