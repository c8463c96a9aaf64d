#include "cardplace.h"

#include "artwork.h"
#include "boardstyle.h"
#include "printers.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

/// The place drawn on a transparent ground, so the corners outside the card stay see-through.
QImage render(CardPlace& place)
{
    QImage image(place.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    place.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

/// Printed ink of a card face: the suit colours and black, not the paper, its shading or the grey outline.
bool isInk(QRgb pixel)
{
    return qAlpha(pixel) == 255 && std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 110;
}

bool isRing(QRgb pixel)
{
    const QColor ring = boardstyle::kHintRing;
    return qAbs(qRed(pixel) - ring.red()) < 40 && qAbs(qGreen(pixel) - ring.green()) < 40 &&
           qAbs(qBlue(pixel) - ring.blue()) < 40;
}

} // namespace

// The hint ring runs along the card's edge on every side and leaves every printed mark of the face as
// it was: the corner index stays readable on a ringed card, at the designed size and larger.
TEST(CardPlace, HintRingLeavesThePrintedFaceReadable)
{
    struct Row {
        int code;
        int scale;
    };
    const Row rows[] = {{9, 1}, {31, 1}, {15, 1}, {22, 1}, {32, 1}, {9, 2}, {31, 2}, {12, 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "card " << row.code << " at " << row.scale << "x");
        CardPlace place(QStringLiteral("card_1"), nullptr);
        place.resize(Artwork::kCardSize * row.scale);
        place.drawCard(row.code);
        const QImage plain = render(place);
        place.setHinted(true);
        const QImage ringed = render(place);

        // The card's own outline lies in its outermost unit; everything printed inside it must stay.
        const int edge = row.scale;
        int ink = 0;
        int covered = 0;
        for (int y = edge; y < plain.height() - edge; ++y)
            for (int x = edge; x < plain.width() - edge; ++x) {
                if (!isInk(plain.pixel(x, y)))
                    continue;
                ++ink;
                if (ringed.pixel(x, y) != plain.pixel(x, y))
                    ++covered;
            }
        EXPECT_GT(ink, 100);
        EXPECT_EQ(covered, 0);

        const int midX = plain.width() / 2;
        const int midY = plain.height() / 2;
        const QPoint sides[] = {
            {midX, edge}, {midX, plain.height() - 1 - edge}, {edge, midY}, {plain.width() - 1 - edge, midY}};
        for (const QPoint& side : sides)
            EXPECT_TRUE(isRing(ringed.pixel(side))) << side.x() << "," << side.y();
    }
}
