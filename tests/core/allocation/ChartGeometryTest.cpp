#include "core/allocation/ChartGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

const std::vector<ChartPoint> TwoPlaces { { 0.0, 0.0 }, { 10.0, 20.0 } };

// prefix + n, built by appending (GCC 12 warns falsely on "literal" + std::string).
std::string numbered(const char* prefix, int n)
{
    std::string text = prefix;
    text += std::to_string(n);
    return text;
}

std::vector<std::string> labelTexts(const ChartBackground& b)
{
    std::vector<std::string> texts;
    for (const ChartText& t : b.labels)
        texts.push_back(t.text);
    return texts;
}

const ChartText* findLabel(const ChartBackground& b, const std::string& text)
{
    auto it
        = std::find_if(b.labels.begin(), b.labels.end(), [&](const ChartText& t) { return t.text == text; });
    return it == b.labels.end() ? nullptr : &*it;
}

std::vector<int> verticalGridColumns(const ChartBackground& b)
{
    std::vector<int> xs;
    for (const ChartStroke& s : b.strokes)
        if (s.grid && s.line.x1 == s.line.x2)
            xs.push_back(s.line.x1);
    std::sort(xs.begin(), xs.end());
    return xs;
}

std::vector<int> horizontalGridRows(const ChartBackground& b)
{
    std::vector<int> ys;
    for (const ChartStroke& s : b.strokes)
        if (s.grid && s.line.y1 == s.line.y2)
            ys.push_back(s.line.y1);
    std::sort(ys.begin(), ys.end());
    return ys;
}

} // namespace

TEST(ChartGeometry, TwoPlacesOn540x400MatchTheWorkedFigures)
{
    ChartState s = chartWindow(TwoPlaces, 540, 400);
    EXPECT_EQ(s.ChartMinX, -5.0);
    EXPECT_EQ(s.ChartMaxX, 15.0);
    EXPECT_EQ(s.ChartMinY, -5.0);
    EXPECT_EQ(s.ChartMaxY, 25.0);
    EXPECT_EQ(s.ChartScaleX, 25.0);
    EXPECT_EQ(s.ChartScaleY, 12.0);

    ChartBackground b = chartBackground(s, 540, 400, ChartBackgroundStyle::OneCentre, ",");
    EXPECT_DOUBLE_EQ(static_cast<double>(b.stepX), 0.1);
    EXPECT_DOUBLE_EQ(static_cast<double>(b.stepY), 0.2);
    EXPECT_DOUBLE_EQ(static_cast<double>(b.tickX), 2.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(b.tickY), 2.4);
    EXPECT_EQ(b.originX, 145);
    EXPECT_EQ(b.originY, 320);
    EXPECT_EQ(b.axisY, (ChartLine { 145, 15, 145, 380 }));
    EXPECT_EQ(b.axisX, (ChartLine { 20, 320, 525, 320 }));
    EXPECT_EQ(b.outerFrame, (ChartRect { 1, 1, 540, 400 }));
    EXPECT_EQ(b.innerFrame, (ChartRect { 10, 10, 530, 390 }));

    // Tick 10 of the positive X half-axis: its grid line comes first, then the long tick.
    auto grid = std::find(b.strokes.begin(), b.strokes.end(), ChartStroke { { 170, 15, 170, 380 }, true });
    ASSERT_NE(grid, b.strokes.end());
    ASSERT_NE(grid + 1, b.strokes.end());
    EXPECT_EQ(*(grid + 1), (ChartStroke { { 170, 320, 170, 330 }, false }));

    const ChartText* one = findLabel(b, "1");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->x, 160);
    EXPECT_EQ(one->y, 330);
    // "2" is written twice: at X = 2 below the X axis and at Y = 2 left of the Y axis.
    std::vector<ChartText> twos;
    std::copy_if(b.labels.begin(), b.labels.end(), std::back_inserter(twos),
        [](const ChartText& t) { return t.text == "2"; });
    EXPECT_EQ(twos, (std::vector<ChartText> { { "2", 185, 330 }, { "2", 125, 296 } }));

    std::vector<std::string> expected;
    for (int v = 1; v <= 15; ++v)
        expected.push_back(std::to_string(v));
    for (int v = 1; v <= 5; ++v)
        expected.push_back(numbered("-", v));
    for (int v = 2; v <= 24; v += 2)
        expected.push_back(std::to_string(v));
    for (int v = 2; v <= 4; v += 2)
        expected.push_back(numbered("-", v));
    EXPECT_EQ(labelTexts(b), expected);

    // Grid lines on every whole X unit and every second Y unit, the axes themselves excepted.
    std::vector<int> columns;
    for (int X = -5; X <= 15; ++X)
        if (X != 0)
            columns.push_back(s.px(X));
    EXPECT_EQ(verticalGridColumns(b), columns);
    std::vector<int> rows;
    for (int Y = 24; Y >= -4; Y -= 2)
        if (Y != 0)
            rows.push_back(s.py(Y));
    EXPECT_EQ(horizontalGridRows(b), rows);

    std::vector<ChartMarker> markers = placeMarkers(s, TwoPlaces, ChartDataMode::Manual);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[1].centre, (ChartPixel { 395, 80 }));
    EXPECT_EQ(markers[1].circle, (ChartRect { 392, 77, 399, 84 }));
    EXPECT_EQ(markers[1].label, (ChartText { "M2", 387, 64 }));
    EXPECT_EQ(markers[0].centre, (ChartPixel { 145, 320 }));
}

TEST(ChartGeometry, TicksCountFromTheOriginWithMediumAndLongTicks)
{
    ChartState s = chartWindow(TwoPlaces, 540, 400);
    ChartBackground b = chartBackground(s, 540, 400, ChartBackgroundStyle::OneCentre, ",");
    // The positive X half-axis comes first: ticks 1, 2, ... with a grid line before every tenth.
    // Halves round to the even neighbour: 147.5 gives 148, 152.5 gives 152.
    const std::vector<int> columns { 148, 150, 152, 155, 158, 160, 162, 165, 168, 170, 172 };
    std::vector<ChartStroke> firstTicks(b.strokes.begin(), b.strokes.begin() + 12);
    for (int k = 1; k <= 11; ++k) {
        std::size_t index = static_cast<std::size_t>(k <= 9 ? k - 1 : k);
        const ChartStroke& t = firstTicks[index];
        int length = k == 5 ? 5 : (k == 10 ? 10 : 3);
        EXPECT_EQ(t,
            (ChartStroke { { columns[static_cast<std::size_t>(k - 1)], 320,
                               columns[static_cast<std::size_t>(k - 1)], 320 + length },
                false }))
            << k;
    }
    EXPECT_TRUE(firstTicks[9].grid);

    // The positive half-axes run up to 5 pixels past the window's end: 152 X ticks and 127 Y
    // ticks; the negative ones stop at the window's end: 50 X ticks and 25 Y ticks.
    auto countTicks = [&](auto pred) {
        return std::count_if(b.strokes.begin(), b.strokes.end(),
            [&](const ChartStroke& t) { return !t.grid && pred(t.line); });
    };
    EXPECT_EQ(countTicks([](const ChartLine& l) { return l.x1 == l.x2 && l.x1 > 145; }), 152);
    EXPECT_EQ(countTicks([](const ChartLine& l) { return l.x1 == l.x2 && l.x1 < 145; }), 50);
    EXPECT_EQ(countTicks([](const ChartLine& l) { return l.y1 == l.y2 && l.y1 < 320; }), 127);
    EXPECT_EQ(countTicks([](const ChartLine& l) { return l.y1 == l.y2 && l.y1 > 320; }), 25);

    // Y ticks stick out to the left of the Y axis; tick 5 below the origin is medium.
    auto lowerFifth = std::find_if(b.strokes.begin(), b.strokes.end(),
        [&](const ChartStroke& t) { return !t.grid && t.line.y1 == t.line.y2 && t.line.y1 == 332; });
    ASSERT_NE(lowerFifth, b.strokes.end());
    EXPECT_EQ(lowerFifth->line, (ChartLine { 145, 332, 140, 332 }));

    EXPECT_EQ(tickKind(1), TickKind::Short);
    EXPECT_EQ(tickKind(5), TickKind::Medium);
    EXPECT_EQ(tickKind(10), TickKind::Long);
    EXPECT_EQ(tickKind(15), TickKind::Medium);
    EXPECT_EQ(tickKind(20), TickKind::Long);
    EXPECT_EQ(tickKind(21), TickKind::Short);
}

TEST(ChartGeometry, TickStepRule)
{
    auto step = [](long double r) { return static_cast<double>(tickStep(r)); };
    EXPECT_DOUBLE_EQ(step(20), 0.1);
    EXPECT_DOUBLE_EQ(step(30), 0.2);
    EXPECT_DOUBLE_EQ(step(100), 1.0);
    EXPECT_DOUBLE_EQ(step(110), 1.0);
    EXPECT_DOUBLE_EQ(step(350), 2.5);
    EXPECT_DOUBLE_EQ(step(800), 7.5);
    EXPECT_DOUBLE_EQ(step(999), 10.0);
    // The edges of the bands: q = 2, 3, 4, 7 and 9 still take the lower factor.
    EXPECT_DOUBLE_EQ(step(10), 0.1);
    EXPECT_DOUBLE_EQ(step(21), 0.2);
    EXPECT_DOUBLE_EQ(step(40), 0.25);
    EXPECT_DOUBLE_EQ(step(41), 0.5);
    EXPECT_DOUBLE_EQ(step(70), 0.5);
    EXPECT_DOUBLE_EQ(step(71), 0.75);
    EXPECT_DOUBLE_EQ(step(90), 0.75);
    EXPECT_DOUBLE_EQ(step(91), 1.0);
    EXPECT_DOUBLE_EQ(step(400), 2.5);
    EXPECT_DOUBLE_EQ(step(1000), 10.0);
    EXPECT_DOUBLE_EQ(step(1e12), 1e10);
    // No range, no step.
    EXPECT_EQ(step(0), 0.0);
    EXPECT_EQ(step(std::numeric_limits<long double>::infinity()), 0.0);
    EXPECT_EQ(step(std::numeric_limits<long double>::quiet_NaN()), 0.0);
}

TEST(ChartGeometry, WindowAlwaysHoldsTheOriginAndAMargin)
{
    // All places in the positive quadrant: the axes lie 5 units inside the lower left corner.
    std::vector<ChartPoint> positive { { 30.0, 40.0 }, { 50.0, 45.0 }, { 35.0, 60.0 } };
    ChartState s = chartWindow(positive, 440, 340);
    EXPECT_EQ(s.ChartMinX, -5.0);
    EXPECT_EQ(s.ChartMaxX, 55.0);
    EXPECT_EQ(s.ChartMinY, -5.0);
    EXPECT_EQ(s.ChartMaxY, 65.0);
    ChartBackground b = chartBackground(s, 440, 340, ChartBackgroundStyle::OneCentre, ",");
    EXPECT_EQ(b.originX, std::lround(20 + 5 * s.ChartScaleX));
    EXPECT_EQ(b.originY, std::lround(340 - 20 - 5 * s.ChartScaleY));

    // All negative: the maxima become 0 before the margin.
    std::vector<ChartPoint> negative { { -30.0, -40.0 }, { -10.0, -20.0 } };
    s = chartWindow(negative, 440, 340);
    EXPECT_EQ(s.ChartMinX, -35.0);
    EXPECT_EQ(s.ChartMaxX, 5.0);
    EXPECT_EQ(s.ChartMinY, -45.0);
    EXPECT_EQ(s.ChartMaxY, 5.0);

    // One place: a range of exactly 10.
    std::vector<ChartPoint> origin { { 0.0, 0.0 } };
    s = chartWindow(origin, 140, 140);
    EXPECT_EQ(s.ChartMaxX - s.ChartMinX, 10.0);
    EXPECT_EQ(s.ChartScaleX, 10.0);
}

TEST(ChartGeometry, PlaceLabelsFollowTheDataModeAndTheNumberWidth)
{
    std::vector<ChartPoint> places;
    for (int i = 1; i <= 12; ++i)
        places.push_back({ static_cast<double>(i), static_cast<double>(i % 5) });
    ChartState s = chartWindow(places, 540, 400);

    std::vector<ChartMarker> manual = placeMarkers(s, places, ChartDataMode::Manual);
    ASSERT_EQ(manual.size(), 12u);
    for (int i = 1; i <= 12; ++i) {
        const ChartMarker& m = manual[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(m.label.text, numbered("M", i));
        EXPECT_EQ(m.label.x, m.centre.x - (i <= 9 ? 8 : 13)) << i;
        EXPECT_EQ(m.label.y, m.centre.y - 16);
        EXPECT_EQ(m.circle, (ChartRect { m.centre.x - 3, m.centre.y - 3, m.centre.x + 4, m.centre.y + 4 }));
    }

    std::vector<ChartMarker> picture = placeMarkers(s, places, ChartDataMode::Picture);
    EXPECT_EQ(picture[6].label.text, "A07");
    EXPECT_EQ(picture[8].label.text, "A09");
    EXPECT_EQ(picture[9].label.text, "A10");
    EXPECT_EQ(picture[11].label.text, "A12");
    EXPECT_EQ(picture[6].label.x, picture[6].centre.x - 13);
    EXPECT_EQ(picture[11].label.x, picture[11].centre.x - 13);
}

TEST(ChartGeometry, PathIsAStaircaseEndingAtTheOptimum)
{
    ChartState s = chartWindow(TwoPlaces, 540, 400);
    std::vector<IteratePoint> iterates { { 5.0L, 10.0L }, { 6.0L, 12.0L }, { 6.4L, 12.8L } };
    std::vector<ChartPixel> path = iterationPath(s, iterates);
    // Start point, then per iterate a horizontal move to its X and a vertical move to its Y;
    // the first pass stands still.
    std::vector<ChartPixel> expected {
        { s.px(5), s.py(10) },
        { s.px(5), s.py(10) },
        { s.px(5), s.py(10) },
        { s.px(6), s.py(10) },
        { s.px(6), s.py(12) },
        { s.px(6.4L), s.py(12) },
        { s.px(6.4L), s.py(12.8L) },
    };
    EXPECT_EQ(path, expected);
    EXPECT_EQ(path.back(), (ChartPixel { 305, 166 }));
    EXPECT_TRUE(iterationPath(s, {}).empty());

    OneCentreChart chart = oneCentreChart(TwoPlaces, iterates, ChartDataMode::Manual, 540, 400, ",");
    ASSERT_TRUE(chart.hasOptimum);
    EXPECT_EQ(chart.optimum.centre, (ChartPixel { 305, 166 }));
    EXPECT_EQ(chart.optimum.dot, (ChartRect { 302, 163, 310, 171 }));
    EXPECT_EQ(chart.optimum.label, (ChartText { "OPTIMAL", 283, 149 }));
    EXPECT_EQ(chart.state, s);

    OneCentreChart noRun = oneCentreChart(TwoPlaces, {}, ChartDataMode::Manual, 540, 400, ",");
    EXPECT_FALSE(noRun.hasOptimum);
    EXPECT_TRUE(noRun.path.empty());
}

TEST(ChartGeometry, GroupsAreNumberedOnAndSmallGroupsHaveNoPath)
{
    ChartState s = chartWindow(TwoPlaces, 540, 400);
    std::vector<IteratePoint> iterates { { 1.0L, 1.0L }, { 2.0L, 3.0L } };

    // Group 2 after a group of 4: members M5, M6, M7, coloured path and "OPTIM 2".
    std::vector<ChartPoint> three { { 1.0, 1.0 }, { 2.0, 5.0 }, { 4.0, 2.0 } };
    GroupChart g = groupChart(s, 2, 7, three, iterates);
    ASSERT_EQ(g.members.size(), 3u);
    EXPECT_EQ(g.members[0].label.text, "M5");
    EXPECT_EQ(g.members[2].label.text, "M7");
    EXPECT_EQ(g.members[0].label.x, g.members[0].centre.x - 8);
    ASSERT_TRUE(g.hasOptimum);
    EXPECT_EQ(g.optimum.label.text, "OPTIM 2");
    EXPECT_EQ(g.optimum.centre, (ChartPixel { s.px(2), s.py(3) }));
    EXPECT_EQ(g.optimum.label.x, g.optimum.centre.x - 22);
    EXPECT_EQ(g.optimum.label.y, g.optimum.centre.y - 17);

    // Members numbered 10 and on stand 13 pixels left.
    GroupChart later = groupChart(s, 3, 11, three, iterates);
    EXPECT_EQ(later.members[0].label.text, "M9");
    EXPECT_EQ(later.members[0].label.x, later.members[0].centre.x - 8);
    EXPECT_EQ(later.members[1].label.text, "M10");
    EXPECT_EQ(later.members[1].label.x, later.members[1].centre.x - 13);

    // A group of 2: markers and labels only, whatever history is left over.
    std::vector<ChartPoint> two { { 1.0, 1.0 }, { 2.0, 5.0 } };
    GroupChart small = groupChart(s, 4, 13, two, iterates);
    EXPECT_EQ(small.members.size(), 2u);
    EXPECT_EQ(small.members[1].label.text, "M13");
    EXPECT_TRUE(small.path.empty());
    EXPECT_FALSE(small.hasOptimum);
}

TEST(ChartGeometry, GroupBackgroundKeepsAxesAndGridFurtherInside)
{
    ChartState s = chartWindow(TwoPlaces, 540, 400);
    ChartBackground one = chartBackground(s, 540, 400, ChartBackgroundStyle::OneCentre, ",");
    ChartBackground groups = chartBackground(s, 540, 400, ChartBackgroundStyle::Groups, ",");
    EXPECT_EQ(groups.axisY, (ChartLine { 145, 20, 145, 380 }));
    EXPECT_EQ(groups.axisX, (ChartLine { 20, 320, 520, 320 }));
    ASSERT_EQ(groups.strokes.size(), one.strokes.size());
    for (std::size_t i = 0; i < one.strokes.size(); ++i) {
        const ChartStroke& a = one.strokes[i];
        const ChartStroke& b = groups.strokes[i];
        if (!a.grid) {
            EXPECT_EQ(a, b);
            continue;
        }
        if (a.line.x1 == a.line.x2) {
            EXPECT_EQ(b.line, (ChartLine { a.line.x1, 25, a.line.x1, 375 }));
        } else if (a.line.y1 < 320) {
            EXPECT_EQ(b.line, (ChartLine { 25, a.line.y1, 515, a.line.y1 }));
        } else {
            EXPECT_EQ(b.line, (ChartLine { 30, a.line.y1, 510, a.line.y1 }));
        }
    }
    EXPECT_EQ(groups.labels, one.labels);
}

TEST(ChartGeometry, LabelsUseTheDecimalSeparatorAndFifteenDigits)
{
    // X from -5 to 30: R = 35, step 0.25, so the labels read 2,5 5 7,5 ...
    std::vector<ChartPoint> places { { 0.0, 0.0 }, { 25.0, 5.0 } };
    ChartState s = chartWindow(places, 540, 400);
    ChartBackground b = chartBackground(s, 540, 400, ChartBackgroundStyle::OneCentre, ",");
    EXPECT_DOUBLE_EQ(static_cast<double>(b.stepX), 0.25);
    std::vector<std::string> texts = labelTexts(b);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], "2,5");
    EXPECT_EQ(texts[1], "5");
    EXPECT_EQ(texts[2], "7,5");
    EXPECT_NE(findLabel(b, "-2,5"), nullptr);

    EXPECT_EQ(formatGeneral15(2.5, "."), "2.5");
    EXPECT_EQ(formatGeneral15(-1234.5678, ","), "-1234,5678");
    EXPECT_EQ(formatGeneral15(0.1 + 0.2, ","), "0,3");
    EXPECT_EQ(formatGeneral15(1.0 / 3.0, ","), "0,333333333333333");
    EXPECT_EQ(formatGeneral15(123456789012345.0, ","), "123456789012345");
    EXPECT_EQ(formatGeneral15(1.5e15, ","), "1,5E+15");
    EXPECT_EQ(formatGeneral15(0.0001, ","), "0,0001");
    EXPECT_EQ(formatGeneral15(0.00002, ","), "2E-5");
    EXPECT_EQ(formatGeneral15(-0.0, ","), "0");
}

TEST(ChartGeometry, SizeGuardAndDamagedCoordinates)
{
    EXPECT_TRUE(chartTooSmall(49, 400));
    EXPECT_TRUE(chartTooSmall(400, 49));
    EXPECT_TRUE(chartTooSmall(0, 0));
    EXPECT_FALSE(chartTooSmall(50, 50));
    ChartWindowSize fallback = chartFallbackSize(130, 150);
    EXPECT_EQ(fallback.clientWidth, 380);
    EXPECT_EQ(fallback.clientHeight, 100);

    // A coordinate that is not a number neither moves the window nor gets a marker; the places
    // after it keep their numbers.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<ChartPoint> damaged { { nan, 3.0 }, { 0.0, 0.0 }, { 10.0, 20.0 } };
    ChartState s = chartWindow(damaged, 540, 400);
    EXPECT_EQ(s, chartWindow(TwoPlaces, 540, 400));
    std::vector<ChartMarker> markers = placeMarkers(s, damaged, ChartDataMode::Manual);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[1].label.text, "M3");

    // The widest window doubles allow still gets its 80 to 200 ticks per axis.
    std::vector<ChartPoint> huge { { -1.7e308, 0.0 }, { 1.7e308, 1.0 } };
    s = chartWindow(huge, 540, 400);
    ChartBackground b = chartBackground(s, 540, 400, ChartBackgroundStyle::OneCentre, ",");
    EXPECT_GT(b.stepX, 0.0L);
    EXPECT_LT(b.strokes.size(), 1000u);
    EXPECT_NE(findLabel(b, "1E+308"), nullptr);
    // A state that is no state at all draws no ticks and no labels.
    ChartState broken;
    broken.ChartScaleX = std::numeric_limits<double>::quiet_NaN();
    broken.ChartScaleY = std::numeric_limits<double>::quiet_NaN();
    ChartBackground none = chartBackground(broken, 540, 400, ChartBackgroundStyle::OneCentre, ",");
    EXPECT_TRUE(none.strokes.empty());
    EXPECT_TRUE(none.labels.empty());
    // Far points are pulled in so that the painter never sees an overflowing coordinate.
    ChartState zero;
    EXPECT_EQ(zero.px(1e300L), 20);
    zero.ChartScaleX = 1e300;
    EXPECT_EQ(zero.px(1e300L), 1'000'000);
    EXPECT_EQ(zero.px(-1e300L), -1'000'000);
}
