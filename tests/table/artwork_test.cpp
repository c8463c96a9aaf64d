#include "artwork.h"

#include "printers.h"

#include <QColor>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

/// Opaque pixels and distinct colours of a picture: a blank or flat picture has few of either.
struct Ink {
    int opaque = 0;
    int colours = 0;
};

Ink inkOf(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    Ink ink;
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 255)
                ++ink.opaque;
            seen.insert(pixel);
        }
    ink.colours = static_cast<int>(seen.size());
    return ink;
}

struct Picture {
    const char* name;
    std::function<QPixmap(qreal)> make;
    QSize size;
};

std::vector<Picture> pictures()
{
    return {
        {"cardBack", [](qreal d) { return Artwork::cardBack(d); }, {54, 74}},
        {"directorMarker", [](qreal d) { return Artwork::directorMarker(d); }, {30, 31}},
        {"turnMarker", [](qreal d) { return Artwork::turnMarker(d); }, {36, 19}},
        {"leadMarker", [](qreal d) { return Artwork::leadMarker(d); }, {72, 83}},
        {"takerMarker", [](qreal d) { return Artwork::takerMarker(d); }, {63, 92}},
        {"checkMark", [](qreal d) { return Artwork::checkMark(d); }, {17, 16}},
        {"eyes", [](qreal d) { return Artwork::eyes(d); }, {25, 11}},
        {"okButton", [](qreal d) { return Artwork::okButton(d); }, {60, 30}},
        {"startButton", [](qreal d) { return Artwork::startButton(d); }, {90, 40}},
        {"startGameButton", [](qreal d) { return Artwork::startGameButton(d); }, {68, 42}},
        {"chooseContractBanner", [](qreal d) { return Artwork::chooseContractBanner(d); }, {337, 71}},
        {"logo", [](qreal d) { return Artwork::logo(d); }, {90, 45}},
        {"phraseGlyph", [](qreal d) { return Artwork::phraseGlyph(d); }, {16, 16}},
        {"soundGlyph", [](qreal d) { return Artwork::soundGlyph(d); }, {16, 16}},
        {"smiley 0", [](qreal d) { return Artwork::smiley(0, d); }, {17, 16}},
        {"card 1", [](qreal d) { return Artwork::card(1, d); }, {54, 74}},
    };
}

TEST(Artwork, EveryCardIs54By74DrawnAndUnlikeEveryOther)
{
    std::vector<QImage> faces;
    for (int code = 1; code <= 32; ++code) {
        SCOPED_TRACE(code);
        const QPixmap pixmap = Artwork::card(code);
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), QSize(54, 74));
        const Ink ink = inkOf(pixmap.toImage());
        EXPECT_GT(ink.opaque, 54 * 74 * 8 / 10); // a solid card, not an outline
        EXPECT_GT(ink.colours, 20);              // with a face drawn on it
        faces.push_back(pixmap.toImage());
    }
    faces.push_back(Artwork::cardBack().toImage());
    for (size_t a = 0; a < faces.size(); ++a)
        for (size_t b = a + 1; b < faces.size(); ++b)
            EXPECT_NE(faces[a], faces[b]) << "pictures " << a + 1 << " and " << b + 1 << " are the same";
}

TEST(Artwork, CodesOutsideTheirRangeGiveNoPicture)
{
    for (int code : {-1, 0, 33, 1000})
        EXPECT_TRUE(Artwork::card(code).isNull()) << code;
    for (int index : {-1, 18, 99})
        EXPECT_TRUE(Artwork::smiley(index).isNull()) << index;
}

TEST(Artwork, RedSuitsAreRedAndBlackSuitsDark)
{
    // The middle of an ace is its big pip: Diamonds (8) and Hearts (24) red, Clubs (16) and Spades (32) dark.
    struct Row {
        int code;
        bool red;
    };
    for (const Row row : {Row{8, true}, Row{16, false}, Row{24, true}, Row{32, false}}) {
        SCOPED_TRACE(row.code);
        const QColor middle = Artwork::card(row.code).toImage().pixelColor(27, 38);
        if (row.red) {
            EXPECT_GT(middle.red(), 150);
            EXPECT_LT(middle.green(), 80);
        } else {
            EXPECT_LT(middle.lightness(), 60);
        }
    }
}

TEST(Artwork, PicturesHaveTheirLogicalSizeAtAnyPixelRatio)
{
    for (const Picture& picture : pictures()) {
        SCOPED_TRACE(picture.name);
        for (qreal dpr : {1.0, 1.5, 2.0, 3.0}) {
            SCOPED_TRACE(dpr);
            const QPixmap pixmap = picture.make(dpr);
            ASSERT_FALSE(pixmap.isNull());
            EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), dpr);
            EXPECT_EQ(pixmap.size(), QSize(qRound(picture.size.width() * dpr), qRound(picture.size.height() * dpr)));
            EXPECT_GT(inkOf(pixmap.toImage()).colours, 3);
        }
        EXPECT_EQ(picture.make(2.0).size(), picture.make(1.0).size() * 2);
    }
}

TEST(Artwork, BadPixelRatioFallsBackToOne)
{
    for (qreal dpr : {0.0, -2.0})
        EXPECT_EQ(Artwork::checkMark(dpr).size(), QSize(17, 16)) << dpr;
}

TEST(Artwork, PixmapsAreCachedPerRatio)
{
    EXPECT_EQ(Artwork::card(5, 2.0).cacheKey(), Artwork::card(5, 2.0).cacheKey());
    EXPECT_NE(Artwork::card(5, 2.0).cacheKey(), Artwork::card(5, 1.0).cacheKey());
    const qint64 before = Artwork::logo().cacheKey();
    Artwork::clearCache();
    const QPixmap again = Artwork::logo();
    EXPECT_NE(again.cacheKey(), before);
    EXPECT_EQ(again.toImage(), Artwork::logo().toImage());
}

TEST(Artwork, LeadAndTakerMarkersLeaveTheCardPlaceClear)
{
    for (const QPixmap& marker : {Artwork::leadMarker(), Artwork::takerMarker()}) {
        const QImage image = marker.toImage();
        const QRect place(Artwork::kMarkerCardOffset, Artwork::kCardSize);
        int inkInside = 0;
        for (int y = place.top() + 1; y < place.bottom(); ++y)
            for (int x = place.left() + 1; x < place.right(); ++x)
                inkInside += qAlpha(image.pixel(x, y)) != 0;
        EXPECT_EQ(inkInside, 0);
        // The frame itself is drawn around the place.
        EXPECT_GT(qAlpha(image.pixel(place.left() - 2, place.center().y())), 100);
        EXPECT_GT(qAlpha(image.pixel(place.center().x(), place.top() - 2)), 100);
    }
}

TEST(Artwork, EighteenDifferentSmilies)
{
    std::vector<QImage> faces;
    for (int index = 0; index < Artwork::kSmileyCount; ++index) {
        const QPixmap smiley = Artwork::smiley(index);
        EXPECT_EQ(smiley.size(), QSize(17, 16)) << index;
        faces.push_back(smiley.toImage());
    }
    for (size_t a = 0; a < faces.size(); ++a)
        for (size_t b = a + 1; b < faces.size(); ++b)
            EXPECT_NE(faces[a], faces[b]) << "smilies " << a << " and " << b << " are the same";
}

TEST(Artwork, AppIconOffersSmallAndLargeSizes)
{
    const QList<QSize> sizes = Artwork::appIcon().availableSizes();
    for (int side : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    for (int side : {16, 64}) {
        const QImage image = Artwork::appIconImage(side);
        EXPECT_EQ(image.size(), QSize(side, side));
        EXPECT_GT(inkOf(image).opaque, side * side / 2);
    }
}

} // namespace
