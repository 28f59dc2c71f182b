#include "core/allocation/ChartZoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>

namespace {

using dorvan::ChartPixel;
using dorvan::ChartRect;

TEST(ChartZoom, PointsAreClampedToTheAreaIncludingItsRightAndBottomEdge)
{
    struct Case {
        int x, y;
        ChartPixel want;
    };
    const Case cases[] = {
        { 100, 50, { 100, 50 } }, // inside
        { -5, -1, { 0, 0 } }, // left of and above the area
        { 0, 400, { 0, 400 } }, // on the bottom edge
        { 700, 999, { 500, 400 } }, // past the right and bottom edges: onto them
        { 500, 399, { 500, 399 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(dorvan::clampToArea(c.x, c.y, 500, 400), c.want) << c.x << ", " << c.y;
}

TEST(ChartZoom, SelectionIsTheSameInEitherDirectionAndNeedsTwoPixelsEachWay)
{
    const ChartRect want { 100, 100, 200, 150 };
    EXPECT_EQ(dorvan::zoomSelection({ 100, 100 }, { 200, 150 }), want);
    EXPECT_EQ(dorvan::zoomSelection({ 200, 150 }, { 100, 100 }), want);
    EXPECT_EQ(dorvan::zoomSelection({ 200, 100 }, { 100, 150 }), want);
    // At most one pixel in either direction is a click.
    EXPECT_EQ(dorvan::zoomSelection({ 100, 100 }, { 101, 150 }), std::nullopt);
    EXPECT_EQ(dorvan::zoomSelection({ 100, 100 }, { 300, 101 }), std::nullopt);
    EXPECT_EQ(dorvan::zoomSelection({ 7, 7 }, { 7, 7 }), std::nullopt);
    EXPECT_EQ(dorvan::zoomSelection({ 100, 100 }, { 102, 102 }), (ChartRect { 100, 100, 102, 102 }));
}

// A 500 × 400 area, selection (100, 100)-(200, 150): F is 540 × 440, the selection lies at
// (108, 110)-(216, 165) on it, C is 109 × 56 and is stretched over the 500 × 400 area.
TEST(ChartZoom, WorkedExampleMapsTheSelectionOntoTheLargerSurface)
{
    const auto plan = dorvan::zoomPlan({ 100, 100, 200, 150 }, 500, 400, 540, 440);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->source, (ChartRect { 108, 110, 216, 165 }));
    EXPECT_EQ(plan->cropWidth, 109);
    EXPECT_EQ(plan->cropHeight, 56);

    // Each area pixel samples F through C, at the pixel centres (worked out by hand and by a
    // short independent script).
    const std::vector<int> cols = dorvan::zoomColumns(*plan);
    const std::vector<int> rows = dorvan::zoomRows(*plan);
    ASSERT_EQ(cols.size(), 500u);
    ASSERT_EQ(rows.size(), 400u);
    EXPECT_EQ(cols[0], 108);
    EXPECT_EQ(cols[4], 108);
    EXPECT_EQ(cols[5], 109);
    EXPECT_EQ(cols[250], 162); // 250.5 × 109 / 500 → C 54; 54.5 × 108 / 109 = 54 exactly
    EXPECT_EQ(cols[499], 215); // the last column of the selection, not its right edge
    EXPECT_EQ(rows[0], 110);
    EXPECT_EQ(rows[7], 111);
    EXPECT_EQ(rows[399], 164);
    // Every column and row of the selection shows, in order, and nothing outside it.
    EXPECT_TRUE(std::is_sorted(cols.begin(), cols.end()));
    std::vector<int> all(108);
    std::iota(all.begin(), all.end(), 108);
    std::vector<int> seen = cols;
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen, all);
    // A source column becomes 4 or 5 pixels wide; the one C doubles becomes 9.
    std::map<int, int> widths;
    for (int c : cols)
        ++widths[c];
    std::map<int, int> histogram;
    for (const auto& [c, n] : widths)
        ++histogram[n];
    EXPECT_EQ(histogram, (std::map<int, int> { { 4, 44 }, { 5, 63 }, { 9, 1 } }));
}

TEST(ChartZoom, HalvesOfTheMappingRoundToEven)
{
    // 540 × 1 / 8 = 67.5 → 68; 540 × 3 / 8 = 202.5 → 202; 440 × 5 / 16 = 137.5 → 138.
    const auto plan = dorvan::zoomPlan({ 1, 5, 3, 7 }, 8, 16, 540, 440);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->source.left, 68);
    EXPECT_EQ(plan->source.right, 202);
    EXPECT_EQ(plan->source.top, 138);
    EXPECT_EQ(plan->source.bottom, 192); // 192.5 → 192
}

TEST(ChartZoom, SelectionReachingTheEdgesAndSurfacesSmallerThanTheAreaStayInside)
{
    // The whole area, the end point on its right and bottom edges: F read up to its last pixel.
    auto plan = dorvan::zoomPlan({ 0, 0, 500, 400 }, 500, 400, 540, 440);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->source, (ChartRect { 0, 0, 540, 440 }));
    EXPECT_EQ(dorvan::zoomColumns(*plan).back(), 539);
    EXPECT_EQ(dorvan::zoomRows(*plan).back(), 439);

    // A picture smaller than the area: a 2-pixel selection maps onto less than a pixel of F,
    // which still reads one pixel, inside F.
    plan = dorvan::zoomPlan({ 300, 200, 302, 202 }, 1000, 800, 60, 50);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->source, (ChartRect { 18, 12, 19, 13 }));
    EXPECT_EQ(plan->cropWidth, 1);
    for (int c : dorvan::zoomColumns(*plan))
        EXPECT_EQ(c, 18);

    EXPECT_EQ(dorvan::zoomPlan({ 0, 0, 5, 5 }, 0, 400, 540, 440), std::nullopt);
    EXPECT_EQ(dorvan::zoomPlan({ 0, 0, 5, 5 }, 500, 400, 0, 440), std::nullopt);
}

TEST(ChartZoom, StretchSamplesUnderThePixelCentres)
{
    // Enlarging 2 → 5: the centre of pixel 2 lies at (2 + 0.5) × 2 / 5 = 1.0, on source pixel 1.
    std::vector<int> got;
    for (int i = 0; i < 5; ++i)
        got.push_back(dorvan::stretchSample(i, 2, 5));
    EXPECT_EQ(got, (std::vector<int> { 0, 0, 1, 1, 1 }));
    // Shrinking 10 → 3: centres at 1.67, 5, 8.33.
    got.clear();
    for (int i = 0; i < 3; ++i)
        got.push_back(dorvan::stretchSample(i, 10, 3));
    EXPECT_EQ(got, (std::vector<int> { 1, 5, 8 }));
    EXPECT_EQ(dorvan::stretchSample(3, 0, 5), 0);
}

} // namespace
