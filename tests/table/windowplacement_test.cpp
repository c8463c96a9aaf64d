#include "windowplacement.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct ScreenRow {
    const char* name;
    QRect bounds;
    QList<QRect> screens;
    QRect placed;
};

class WindowPlacementScreens : public ::testing::TestWithParam<ScreenRow> {};

TEST_P(WindowPlacementScreens, BoundsOffEveryScreenComeBackToTheDefaultPlace)
{
    EXPECT_EQ(WindowPlacement::onScreen(GetParam().bounds, GetParam().screens), GetParam().placed);
}

const QRect kLeft(0, 0, 1920, 1040);
const QRect kRight(1920, 0, 1280, 984);

INSTANTIATE_TEST_SUITE_P(
    Screens, WindowPlacementScreens,
    ::testing::Values(ScreenRow{"OnTheScreen", {3, 3, 789, 595}, {kLeft}, {3, 3, 789, 595}},
                      ScreenRow{"OnTheSecondScreen", {2000, 100, 789, 595}, {kLeft, kRight}, {2000, 100, 789, 595}},
                      ScreenRow{"SecondScreenGone", {2000, 100, 789, 595}, {kLeft}, {3, 3, 789, 595}},
                      ScreenRow{"PartlyOffButGrabbable", {1700, 500, 789, 595}, {kLeft}, {1700, 500, 789, 595}},
                      ScreenRow{"TitleAboveTheScreen", {100, -300, 789, 595}, {kLeft}, {3, 3, 789, 595}},
                      ScreenRow{"OnlyACornerShows", {1900, 1030, 789, 595}, {kLeft}, {3, 3, 789, 595}},
                      ScreenRow{"KeepsItsSize", {-5000, 0, 1000, 700}, {kRight}, {1923, 3, 1000, 700}},
                      // What a hand-edited settings file may hold.
                      ScreenRow{"LeftNearTheIntsEnd", {2147483000, 3, 600, 595}, {kLeft}, {3, 3, 600, 595}},
                      ScreenRow{"AtTheIntsStart", {INT_MIN, INT_MIN, 789, 595}, {kLeft}, {3, 3, 789, 595}},
                      ScreenRow{"NoSize", {3, 3, 0, -5}, {kLeft}, {3, 3, 789, 595}},
                      ScreenRow{"LargerThanTheScreen", {3, 3, 5000, 5000}, {kLeft}, {3, 3, 1920, 1040}},
                      ScreenRow{"SpansBothScreens", {0, 0, 3000, 900}, {kLeft, kRight}, {0, 0, 3000, 900}}),
    [](const ::testing::TestParamInfo<ScreenRow>& info) { return std::string(info.param.name); });

TEST(WindowPlacement, AWindowLargerThanTheWorkAreaClosesFifteenPixelsSmallerOnce)
{
    struct Row {
        QRect frame;
        QRect written;
    };
    const QRect work(0, 0, 1000, 700);
    const Row rows[] = {
        {{0, 0, 1000, 700}, {3, 3, 800, 600}}, // fits
        {{0, 0, 1020, 700}, {3, 3, 785, 600}}, // 20 wider: 15 narrower
        {{0, 0, 1500, 900}, {3, 3, 785, 585}}, // much larger: 15 each, once
        {{0, 0, 1000, 701}, {3, 3, 800, 585}}, // one pixel taller
    };
    for (const Row& row : rows)
        EXPECT_EQ(WindowPlacement::atClose(QRect(3, 3, 800, 600), row.frame, work), row.written) << row.frame.width();
}

} // namespace
