// Equal scales on both axes, the thinning of the tick labels and the free sides the labels of
// places and optima move to, with a text measure of fixed pitch so that every box can be worked
// out by hand.
#include "core/allocation/ChartLabels.h"
#include "core/allocation/ChartGeometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dorvan;

namespace {

// 7 pixels a character and 12 high in 8 points, 9 and 15 in 10 points.
ChartTextSize fixedPitch(std::string_view text, int points)
{
    const int n = static_cast<int>(text.size());
    return points == OptimumLabelPoints ? ChartTextSize { 9 * n, 15 } : ChartTextSize { 7 * n, 12 };
}

std::vector<std::string> textsOfHalf(const ChartBackground& b, std::size_t half)
{
    std::size_t first = 0;
    for (std::size_t h = 0; h < half; ++h)
        first += b.labelCounts[h];
    std::vector<std::string> out;
    for (std::size_t i = first; i < first + b.labelCounts[half]; ++i)
        out.push_back(b.labels[i].text);
    return out;
}

const std::vector<ChartPoint> Square { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 } };

} // namespace

TEST(EqualScale, BothAxesTakeTheSmallerScaleAndTheDrawingStaysCentred)
{
    // The square with its margin spans -5..15 both ways: 400 / 20 = 20 and 200 / 20 = 10 pixels a
    // unit across and down. Equal: 10 both ways, X widened by 20 units to -15..25 (and likewise Y
    // for the tall area), so the square's middle (5, 5) lands in the middle of the area.
    struct Case {
        int width, height;
        double minX, maxX, minY, maxY;
    };
    for (const Case& c : { Case { 440, 240, -15, 25, -5, 15 }, Case { 240, 440, -5, 15, -15, 25 },
             Case { 240, 240, -5, 15, -5, 15 } }) {
        const ChartState s = chartWindow(Square, c.width, c.height, ChartScale::Equal);
        EXPECT_DOUBLE_EQ(s.ChartScaleX, 10.0) << c.width;
        EXPECT_EQ(s.ChartScaleX, s.ChartScaleY) << c.width;
        EXPECT_DOUBLE_EQ(s.ChartMinX, c.minX) << c.width;
        EXPECT_DOUBLE_EQ(s.ChartMaxX, c.maxX) << c.width;
        EXPECT_DOUBLE_EQ(s.ChartMinY, c.minY) << c.width;
        EXPECT_DOUBLE_EQ(s.ChartMaxY, c.maxY) << c.width;
        EXPECT_EQ(s.px(5.0L), c.width / 2) << c.width;
        EXPECT_EQ(s.py(5.0L), c.height / 2) << c.width;
        // Both axes get the step of the longer range: 40 units give 0.25 (2.5 × 10 / 100).
        const ChartBackground b = chartBackground(s, c.width, c.height, ChartBackgroundStyle::OneCentre, ",");
        const long double step = c.width == c.height ? 0.1L : 0.25L;
        EXPECT_EQ(b.stepX, step) << c.width;
        EXPECT_EQ(b.stepY, step) << c.width;
    }
    // Free scales stay as they were: 20 and 10.
    const ChartState free = chartWindow(Square, 440, 240);
    EXPECT_DOUBLE_EQ(free.ChartScaleX, 20.0);
    EXPECT_DOUBLE_EQ(free.ChartScaleY, 10.0);
    EXPECT_EQ(free.Scale, ChartScale::Free);
}

TEST(TickLabels, EveryKthLabelIsKeptSoThatNoTwoMeet)
{
    // Places (0, 0) and (100, 100): each axis spans -5..105, the step is 1, a label every 10
    // units ("10" .. "100" on each positive half, none on the negative ones).
    const std::vector<ChartPoint> places { { 0, 0 }, { 100, 100 } };
    struct Case {
        int side;
        std::vector<std::string> keptX; // on the positive halves
        std::vector<std::string> keptY;
    };
    const std::vector<std::string> all { "10", "20", "30", "40", "50", "60", "70", "80", "90", "100" };
    // 260 pixels: 2 pixels a unit, labels 20 pixels apart, 14 + 3 wide and 12 + 3 high: all fit.
    // 150 pixels: 1 pixel a unit, 10 apart: every second one. 80 pixels: 0,4 a unit, 4 apart:
    // every fifth across (20 pixels for 17); down, the rounded rows of 10, 40, 80 and 90 lie 15
    // pixels apart, so every fourth fits (and 30 to 70, 14 pixels, is not asked).
    const std::vector<std::string> second { "20", "40", "60", "80", "100" };
    for (const Case& c : { Case { 260, all, all }, Case { 150, second, second },
             Case { 80, { "50", "100" }, { "40", "80" } } }) {
        const ChartState s = chartWindow(places, c.side, c.side);
        ChartBackground b = chartBackground(s, c.side, c.side, ChartBackgroundStyle::OneCentre, ",");
        ASSERT_EQ(textsOfHalf(b, 0), all) << c.side;
        ASSERT_EQ(textsOfHalf(b, 2), all) << c.side;
        thinTickLabels(b, fixedPitch);
        EXPECT_EQ(textsOfHalf(b, 0), c.keptX) << c.side;
        EXPECT_EQ(textsOfHalf(b, 2), c.keptY) << c.side;
        EXPECT_EQ(b.labelCounts[1] + b.labelCounts[3], 0u);
        for (std::size_t i = 0; i < b.labels.size(); ++i)
            for (std::size_t j = i + 1; j < b.labels.size(); ++j)
                EXPECT_FALSE(boxesMeet(textBox(b.labels[i], fixedPitch(b.labels[i].text, 8)),
                    textBox(b.labels[j], fixedPitch(b.labels[j].text, 8))))
                    << c.side << ": " << b.labels[i].text << " and " << b.labels[j].text;
    }
}

TEST(PointLabels, ALabelThatWouldCoverAnotherMovesToTheFirstFreeSide)
{
    // The optimum at (100, 100): "OPTIMAL" at (78, 83), 63 × 15. A place at (104, 96) would have
    // "M1" at (96, 80), 14 × 12, which meets it; below the place, at (96, 102), it is free.
    ChartOptimum optimum = optimumAt({ 100, 100 }, OptimumText);
    std::vector<ChartMarker> markers
        = placeMarkers(chartWindow(Square, 400, 400), Square, ChartDataMode::Manual);
    markers.resize(2);
    markers[0].centre = { 104, 96 };
    markers[0].label = { "M1", 96, 80 };
    markers[1].centre = { 300, 300 };
    markers[1].label = { "M2", 292, 284 };
    std::vector<ChartRect> taken;
    placePointLabels(markers, &optimum, fixedPitch, taken, 400, 400);
    EXPECT_EQ(optimum.label, (ChartText { "OPTIMAL", 78, 83 }));
    EXPECT_EQ(markers[0].label, (ChartText { "M1", 96, 102 }));
    EXPECT_EQ(markers[1].label, (ChartText { "M2", 292, 284 })); // free where it was
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[1], (ChartRect { 96, 102, 110, 114 }));

    // A later group's optimum at (101, 120), "OPTIM 2" 63 × 15: above, at (79, 103), it meets
    // "M1"; below, at (79, 128), a label an earlier group left at (0, 125)-(100, 150); right of
    // the dot, at (109, 114), it is free.
    taken.push_back({ 0, 125, 100, 150 });
    ChartOptimum second = optimumAt({ 101, 120 }, groupOptimumText(2));
    std::vector<ChartMarker> none;
    placePointLabels(none, &second, fixedPitch, taken, 400, 400);
    EXPECT_EQ(second.label, (ChartText { "OPTIM 2", 109, 114 }));
    EXPECT_EQ(taken.back(), (ChartRect { 109, 114, 172, 129 }));

    // With every side taken or outside the area the label stays where it usually stands.
    ChartOptimum cornered = optimumAt({ 390, 5 }, OptimumText);
    std::vector<ChartRect> full { { 0, 0, 400, 400 } };
    placePointLabels(none, &cornered, fixedPitch, full, 400, 400);
    EXPECT_EQ(cornered.label, (ChartText { "OPTIMAL", 368, -12 }));
}

TEST(TickLabels, ALabelOverTheEdgeMovesInsideBesideItsTickOrIsLeftOut)
{
    // A 200 × 100 drawing with one label on one half-axis at a time; fixed pitch: 7 pixels a
    // character, 12 high. X labels are written 10 pixels left of their tick's column, Y labels
    // with their top on their tick's row.
    struct Case {
        const char* what;
        std::size_t half; // X > 0, X < 0, Y > 0, Y < 0
        ChartText label;
        bool kept;
        int x, y; // where a kept label stands
    };
    const Case cases[] = {
        { "inside stays", 0, { "100", 50, 60 }, true, 50, 60 },
        // "-100000" is 49 wide: from 170 it would end at 219; moved to 151 (200 - 49).
        { "Y over the right edge", 2, { "-100000", 170, 40 }, true, 151, 40 },
        { "Y over the left edge", 3, { "-5", -6, 30 }, true, 0, 30 },
        // A Y label 5 rows below the foot (12 high from 93): up to 88, its row 93 still beside it.
        { "Y over the foot", 3, { "-20", 30, 93 }, true, 30, 88 },
        { "Y whose row is outside", 2, { "80", 30, -3 }, false, 0, 0 },
        { "X under the foot", 0, { "40", 80, 95 }, true, 80, 88 },
        // "100000" is 42 wide: 170..212 goes to 158..200, the tick's column 180 still under it.
        { "X over the right edge", 0, { "100000", 170, 80 }, true, 158, 80 },
        { "X over the left edge", 1, { "-300", -8, 80 }, true, 0, 80 },
        // The tick's column 205 lies beyond the drawing: no move keeps the label under it.
        { "X whose tick is outside", 0, { "1000", 195, 80 }, false, 0, 0 },
        { "wider than the drawing", 0, { std::string(30, '9'), 10, 80 }, false, 0, 0 },
    };
    for (const Case& c : cases) {
        ChartBackground b;
        b.width = 200;
        b.height = 100;
        b.labels = { c.label };
        b.labelCounts = {};
        b.labelCounts[c.half] = 1;
        thinTickLabels(b, fixedPitch);
        if (!c.kept) {
            EXPECT_TRUE(b.labels.empty()) << c.what;
            EXPECT_EQ(b.labelCounts[c.half], 0u) << c.what;
            continue;
        }
        ASSERT_EQ(b.labels.size(), 1u) << c.what;
        EXPECT_EQ(b.labels[0], (ChartText { c.label.text, c.x, c.y })) << c.what;
        EXPECT_EQ(b.labelCounts[c.half], 1u) << c.what;
    }
}

TEST(TickLabels, EveryLabelOfAChartInMetresLiesWhollyInside)
{
    // A national grid in metres read as kilometres: every place far in the negative quarter, so
    // the origin (and the Y axis) stands at the right edge, and labels such as "-100000" reach
    // past it. After thinning each label's box lies within the drawing, and the Y axis keeps
    // labels.
    const std::vector<ChartPoint> places { { -742000, -1043000 }, { -598000, -1161000 },
        { -470000, -1210000 } };
    for (const auto& [w, h] : { std::pair { 640, 480 }, std::pair { 300, 700 }, std::pair { 900, 200 } }) {
        const ChartState s = chartWindow(places, w, h);
        ChartBackground b = chartBackground(s, w, h, ChartBackgroundStyle::OneCentre, ",");
        thinTickLabels(b, fixedPitch);
        EXPECT_GT(b.labelCounts[3], 0u) << w;
        for (const ChartText& t : b.labels) {
            const ChartRect r = textBox(t, fixedPitch(t.text, TickLabelPoints));
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h)
                << w << "x" << h << ": " << t.text << " at " << t.x << "," << t.y;
        }
    }
}
