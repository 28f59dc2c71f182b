#include "core/allocation/ChartHover.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

using dorvan::ChartPoint;
using dorvan::ChartState;

// X from -10 at 10 pixels a unit, Y up to 30 at 5 pixels a unit: px = 20 + 10 (X + 10),
// py = 20 + 5 (30 - Y).
ChartState handState()
{
    ChartState s;
    s.ChartMinX = -10;
    s.ChartMaxX = 40;
    s.ChartMinY = -5;
    s.ChartMaxY = 30;
    s.ChartScaleX = 10;
    s.ChartScaleY = 5;
    return s;
}

TEST(ChartHover, ResultMarksStandAtThePlacesPixelsWithTheChartsLabels)
{
    auto r = std::make_unique<dorvan::TProjectRecord>();
    const char* names[] = { "Alfa", "Beta", "Gama" };
    for (int k = 1; k <= 3; ++k)
        r->PlaceName[k] = dorvan::Text100::fromUtf8(names[k - 1]);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<ChartPoint> places { { 0, 0 }, { nan, 3 }, { 12.5, -4 } };

    const auto manual = dorvan::resultPlaceMarks(handState(), places, *r, dorvan::ChartDataMode::Manual);
    ASSERT_EQ(manual.size(), 2u); // Beta has no mark
    EXPECT_EQ(manual[0].x, 120);
    EXPECT_EQ(manual[0].y, 170);
    EXPECT_EQ(manual[0].label, "M1");
    EXPECT_EQ(manual[0].name, "Alfa");
    EXPECT_EQ(manual[1].x, 245); // 20 + 10 × 22,5
    EXPECT_EQ(manual[1].y, 190); // 20 + 5 × 34
    EXPECT_EQ(manual[1].label, "M3");
    EXPECT_EQ(manual[1].name, "Gama");
    EXPECT_EQ(manual[1].placeY, -4.0);

    const auto picture = dorvan::resultPlaceMarks(handState(), places, *r, dorvan::ChartDataMode::Picture);
    ASSERT_EQ(picture.size(), 2u);
    EXPECT_EQ(picture[1].label, "A03");
}

TEST(ChartHover, GroupMarksAreTheFoundMembersNumberedOnThroughTheGroups)
{
    dorvan::CooperGroupResult g1;
    g1.firstMemberNumber = 1;
    g1.memberNames = { "Alfa", "Zmenené", "Beta" };
    g1.memberFound = { true, false, true };
    g1.memberPoints = { { 0, 0 }, { 0, 0 }, { 1, 2 } };
    dorvan::CooperGroupResult g2;
    g2.firstMemberNumber = 4;
    g2.memberNames = { "Gama" };
    g2.memberFound = { true };
    g2.memberPoints = { { -10, 30 } };
    const std::vector<dorvan::CooperGroupResult> groups { g1, g2 };

    const auto marks = dorvan::groupMemberMarks(handState(), groups);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].label, "M1");
    EXPECT_EQ(marks[1].label, "M3"); // the member not found keeps its number
    EXPECT_EQ(marks[1].name, "Beta");
    EXPECT_EQ(marks[1].x, 130);
    EXPECT_EQ(marks[1].y, 160);
    EXPECT_EQ(marks[2].label, "M4");
    EXPECT_EQ(marks[2].x, 20);
    EXPECT_EQ(marks[2].y, 20);
}

TEST(ChartHover, AZoomedPixelShowsThePixelOfTheSurfaceTheStretchReads)
{
    // Against the zoom's own column and row tables, pixel by pixel.
    const dorvan::ChartRect selections[]
        = { { 100, 100, 200, 150 }, { 0, 0, 499, 399 }, { 480, 390, 500, 400 } };
    for (const dorvan::ChartRect& sel : selections) {
        const auto plan = dorvan::zoomPlan(sel, 500, 400, 540, 440);
        ASSERT_TRUE(plan);
        const std::vector<int> cols = dorvan::zoomColumns(*plan);
        const std::vector<int> rows = dorvan::zoomRows(*plan);
        for (int y = 0; y < 400; y += 13)
            for (int x = 0; x < 500; x += 7) {
                const dorvan::ChartPixel f = dorvan::zoomSourcePixel(*plan, { x, y });
                ASSERT_EQ(f.x, cols[static_cast<std::size_t>(x)]) << x;
                ASSERT_EQ(f.y, rows[static_cast<std::size_t>(y)]) << y;
            }
        // A point beyond the area is taken at its edge.
        EXPECT_EQ(dorvan::zoomSourcePixel(*plan, { 900, -5 }).x, cols.back());
        EXPECT_EQ(dorvan::zoomSourcePixel(*plan, { 900, -5 }).y, rows.front());
    }
}

} // namespace
