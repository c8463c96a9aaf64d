#include "feltpainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const QColor kGold(237, 215, 61);
const QColor kPurple(87, 41, 182);

/// Integer hash to [0, 1).
double hash(int x, int y, unsigned seed)
{
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0x1000000);
}

/// Smooth value noise with cells of @p cell pixels; with @p period > 0 it repeats every period cells.
double valueNoise(double x, double y, double cell, unsigned seed, int period = 0)
{
    const double fx = x / cell, fy = y / cell;
    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double tx = fx - x0, ty = fy - y0;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto wrap = [period](int v) { return period > 0 ? ((v % period) + period) % period : v; };
    const double a = hash(wrap(x0), wrap(y0), seed), b = hash(wrap(x0 + 1), wrap(y0), seed);
    const double c = hash(wrap(x0), wrap(y0 + 1), seed), d = hash(wrap(x0 + 1), wrap(y0 + 1), seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

int clamp255(double v)
{
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

/// A cream plate with a gold rim and a soft shadow, for dark lettering.
void plate(QPainter& p, const QRectF& r, qreal radius)
{
    for (int i = 4; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 16));
        p.drawRoundedRect(r.adjusted(-i + 1.5, -i + 2.5, i + 1.5, i + 2.5), radius + i, radius + i);
    }
    QLinearGradient paper(r.topLeft(), r.bottomLeft());
    paper.setColorAt(0.0, QColor(250, 245, 226));
    paper.setColorAt(1.0, QColor(232, 222, 190));
    p.setPen(QPen(QColor(176, 146, 40), 1.2));
    p.setBrush(paper);
    p.drawRoundedRect(r, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), radius - 1.5, radius - 1.5);
}

/// A faint inset in the felt where a card is laid.
void cardSpot(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(255, 255, 255, 46), 1.0));
    p.setBrush(QColor(0, 0, 0, 34));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

} // namespace

QImage FeltPainter::felt(QSize size, unsigned seed)
{
    QImage image(size, QImage::Format_RGB32);
    const double w = size.width(), h = size.height();
    const double base[3] = {24, 104, 62};
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            // Broad cloudy shading, a finer nap, and a vignette darkening the corners.
            const double cloud = valueNoise(x, y, 90, seed) - 0.5;
            const double nap = valueNoise(x, y, 3.2, seed + 1) - 0.5;
            const double grain = hash(x, y, seed + 2) - 0.5;
            const double dx = (x - w / 2) / (w / 2), dy = (y - h / 2) / (h / 2);
            const double r2 = std::min(1.0, (dx * dx + dy * dy) / 2.0);
            const double vignette = 1.0 - 0.42 * std::pow(r2, 1.1);
            const double shade = (1.0 + cloud * 0.16 + nap * 0.10 + grain * 0.035) * vignette;
            line[x] = qRgb(clamp255(base[0] * shade), clamp255(base[1] * shade), clamp255(base[2] * shade));
        }
    }
    return image;
}

QImage FeltPainter::board()
{
    QImage image = felt(QSize(768, 537), 11);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Gold hairline frame just inside the edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 60), 3.0));
    p.drawRoundedRect(QRectF(6.5, 6.5, 755, 524), 10, 10);
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 150), 1.2));
    p.drawRoundedRect(QRectF(5.5, 5.5, 757, 526), 11, 11);

    // Soft shadow under the game log and its stacked panels at (24, 24), 185 x 297.
    for (int i = 6; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 12));
        p.drawRoundedRect(QRectF(24 - i + 3, 24 - i + 4, 185 + 2 * i, 297 + 2 * i), 4 + i, 4 + i);
    }

    // Plate under the names, banks, changes and card counts of the four seats.
    plate(p, QRectF(207.5, 12.5, 456, 57), 9);
    // Plate under the game length and the contract counter.
    plate(p, QRectF(647.5, 69.5, 112, 33), 7);

    // The hand row rail, and the four places where played cards land.
    p.setPen(QPen(QColor(255, 255, 255, 30), 1.0));
    p.setBrush(QColor(0, 0, 0, 38));
    p.drawRoundedRect(QRectF(256.5, 153.5, 462, 86), 12, 12);
    for (int k = 0; k < 8; ++k)
        cardSpot(p, QRectF(264 + 56 * k, 160, 54, 74));
    for (int left : {253, 359, 479, 591})
        cardSpot(p, QRectF(left, 72, 54, 74));

    // Status line, contract box and rank order line: light strips above and below a dark framed box.
    plate(p, QRectF(222.5, 234.5, 518, 18), 5);
    plate(p, QRectF(222.5, 305.5, 518, 19), 5);
    QLinearGradient box(0, 252, 0, 305);
    box.setColorAt(0.0, QColor(10, 50, 32, 200));
    box.setColorAt(1.0, QColor(6, 40, 26, 200));
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 170), 1.0));
    p.setBrush(box);
    p.drawRoundedRect(QRectF(226.5, 254.5, 510, 49), 4, 4);
    p.end();
    return image;
}

QImage FeltPainter::tile()
{
    constexpr int size = 64;
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            // Every term repeats every 64 pixels, so tiles meet without a seam.
            const double cloud = valueNoise(x, y, 16, 5, size / 16) - 0.5;
            const double fine = valueNoise(x, y, 4, 6, size / 4) - 0.5;
            const double weave = std::sin(x * M_PI / 2.0) * std::sin(y * M_PI / 2.0);
            const double shade = 1.0 + cloud * 0.14 + fine * 0.07 + weave * 0.025;
            line[x] = qRgb(clamp255(kPurple.red() * shade), clamp255(kPurple.green() * shade),
                           clamp255(kPurple.blue() * shade));
        }
    }
    return image;
}
