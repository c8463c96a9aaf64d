#include "cardpainter.h"

#include "printers.h"

#include <QPainterPath>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CardPainter, RankTextsFollowTheCodeOrderInsideASuit)
{
    const std::vector<std::pair<int, QString>> rows{{1, "7"},  {2, "8"},  {3, "9"}, {4, "J"},   {5, "Q"},  {6, "K"},
                                                    {7, "10"}, {8, "A"},  {9, "7"}, {15, "10"}, {20, "J"}, {22, "K"},
                                                    {29, "Q"}, {32, "A"}, {0, ""},  {33, ""}};
    for (const auto& [code, text] : rows)
        EXPECT_EQ(CardPainter::rankText(code), text) << code;
}

TEST(CardPainter, SuitShapesFillTheirBoxAndDiffer)
{
    const QRectF box(10, 20, 30, 40);
    std::vector<QPainterPath> shapes;
    for (int suit = 1; suit <= 4; ++suit) {
        SCOPED_TRACE(suit);
        const QPainterPath path = CardPainter::suitPath(suit, box);
        ASSERT_FALSE(path.isEmpty());
        const QRectF bounds = path.boundingRect();
        EXPECT_TRUE(box.adjusted(-0.01, -0.01, 0.01, 0.01).contains(bounds));
        EXPECT_GT(bounds.width(), box.width() * 0.8);
        EXPECT_GT(bounds.height(), box.height() * 0.95);
        EXPECT_TRUE(path.contains(box.center()));
        for (const QPainterPath& other : shapes)
            EXPECT_NE(path, other);
        shapes.push_back(path);
    }
    for (int suit : {0, 5, -1})
        EXPECT_TRUE(CardPainter::suitPath(suit, box).isEmpty()) << suit;
}

TEST(CardPainter, DiamondsAndHeartsAreRed)
{
    EXPECT_EQ(CardPainter::suitColor(1), CardPainter::suitColor(3));
    EXPECT_EQ(CardPainter::suitColor(2), CardPainter::suitColor(4));
    EXPECT_GT(CardPainter::suitColor(1).red(), 150);
    EXPECT_LT(CardPainter::suitColor(2).lightness(), 40);
}

} // namespace
