#include "core/allocation/MapChartGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace dorvan;

std::vector<std::string> texts(const std::vector<ChartText>& labels)
{
    std::vector<std::string> out;
    for (const ChartText& t : labels)
        out.push_back(t.text);
    return out;
}

const ChartStroke* strokeAt(const std::vector<ChartStroke>& strokes, const ChartLine& line)
{
    for (const ChartStroke& s : strokes)
        if (s.line == line)
            return &s;
    return nullptr;
}

TEST(MapDrawingArea, ProportionalFitsThePictureAndNotProportionalFillsTheFrame)
{
    // "NIE": the frame less 4 by 17, whatever the picture.
    EXPECT_EQ(mapDrawingArea({ 300, 200 }, { 800, 600 }, false), (PixelSize { 796, 583 }));
    // A picture smaller than the frame keeps its size.
    EXPECT_EQ(mapDrawingArea({ 300, 200 }, { 800, 600 }, true), (PixelSize { 300, 200 }));
    // Larger both ways: 2000 × 600 div 1000 - 4 = 1196 > 800, so fitted to the width.
    EXPECT_EQ(mapDrawingArea({ 2000, 1000 }, { 800, 600 }, true), (PixelSize { 796, 383 }));
    // Larger both ways but relatively higher: fitted to the height.
    EXPECT_EQ(mapDrawingArea({ 1000, 1000 }, { 800, 600 }, true), (PixelSize { 596, 583 }));
    // Too high: round(400 × 600 / 1000) - 4; too wide: round(300 × 800 / 1000) - 17.
    EXPECT_EQ(mapDrawingArea({ 400, 1000 }, { 800, 600 }, true), (PixelSize { 236, 583 }));
    EXPECT_EQ(mapDrawingArea({ 1000, 300 }, { 800, 600 }, true), (PixelSize { 796, 223 }));

    // A side exactly as long as the frame's counts as larger: scaled down like a picture one
    // pixel larger would be, never left at some earlier size.
    EXPECT_EQ(mapDrawingArea({ 800, 300 }, { 800, 600 }, true), (PixelSize { 796, 283 }));
    EXPECT_EQ(mapDrawingArea({ 500, 600 }, { 800, 600 }, true), (PixelSize { 496, 583 }));
    EXPECT_EQ(mapDrawingArea({ 800, 600 }, { 800, 600 }, true), (PixelSize { 796, 583 }));
    EXPECT_EQ(mapDrawingArea({ 800, 1200 }, { 800, 600 }, true), (PixelSize { 396, 583 }));

    // No picture size to keep: the frame is filled; a tiny frame never gives a side below 2.
    EXPECT_EQ(mapDrawingArea({ 0, 0 }, { 800, 600 }, true), (PixelSize { 796, 583 }));
    EXPECT_EQ(mapDrawingArea({ 300, 200 }, { 3, 10 }, false), (PixelSize { 2, 2 }));

    // The picture's own size, or the record's when the picture is missing.
    TProjectRecord r;
    r.PictureWidth = 30;
    r.PictureHeight = 20;
    EXPECT_EQ(mapPictureSize(RgbPicture {}, r), (PixelSize { 30, 20 }));
    EXPECT_EQ(mapPictureSize(RgbPicture { 7, 5 }, r), (PixelSize { 7, 5 }));
}

TEST(MapChartWindow, IsThePictureRangeWidenedByPlacesBeyondIt)
{
    const std::vector<ChartPoint> inside { { 100, 50 }, { 390, 290 }, { 0, 0 } };
    const ChartState s = mapChartWindow({ 400, 300 }, inside, 440, 340);
    EXPECT_EQ(s.ChartMinX, 0.0);
    EXPECT_EQ(s.ChartMaxX, 400.0);
    EXPECT_EQ(s.ChartMinY, 0.0);
    EXPECT_EQ(s.ChartMaxY, 300.0);
    EXPECT_EQ(s.ChartScaleX, 1.0);
    EXPECT_EQ(s.ChartScaleY, 1.0);
    // The place (100; 50) lies where it was clicked: 20 pixels of margin, Y from the bottom.
    EXPECT_EQ(s.px(100), 120);
    EXPECT_EQ(s.py(50), 270);

    // A place right of the picture widens the window; the picture still fills the area, and
    // the places are drawn relative to the wider window.
    const std::vector<ChartPoint> beyond { { 100, 50 }, { 800, 100 } };
    const ChartState w = mapChartWindow({ 400, 300 }, beyond, 440, 340);
    EXPECT_EQ(w.ChartMaxX, 800.0);
    EXPECT_EQ(w.ChartScaleX, 0.5);
    EXPECT_EQ(w.px(800), 420);
    EXPECT_EQ(w.px(100), 70);
    // One left of it and below it moves the minima; the origin stays inside.
    const std::vector<ChartPoint> negative { { -100, -60 }, { 10, 10 } };
    const ChartState n = mapChartWindow({ 400, 300 }, negative, 440, 340);
    EXPECT_EQ(n.ChartMinX, -100.0);
    EXPECT_EQ(n.ChartMinY, -60.0);
    EXPECT_EQ(n.ChartMaxX, 400.0);

    // No range and every place at the origin: one unit each way, finite scales.
    const std::vector<ChartPoint> origin { { 0, 0 }, { 0.2, 0.4 } };
    const ChartState z = mapChartWindow({ 0, 0 }, origin, 440, 340);
    EXPECT_EQ(z.ChartMaxX - z.ChartMinX, 1.0);
    EXPECT_EQ(z.ChartMaxY - z.ChartMinY, 1.0);
    EXPECT_TRUE(std::isfinite(z.ChartScaleX));
    // A damaged negative range counts as none; a place that is not finite is left out.
    const std::vector<ChartPoint> damaged { { std::numeric_limits<double>::quiet_NaN(), 5 }, { 50, 40 } };
    const ChartState d = mapChartWindow({ -400, -300 }, damaged, 440, 340);
    EXPECT_EQ(d.ChartMinX, 0.0);
    EXPECT_EQ(d.ChartMaxX, 50.0);
    EXPECT_EQ(d.ChartMaxY, 40.0);
}

TEST(MapChartBackground, AxesOnThePicturesEdgesAndTicksOnThePositiveHalfAxes)
{
    const ChartState s = mapChartWindow({ 400, 300 }, std::vector<ChartPoint> { { 100, 50 } }, 440, 340);
    const MapChartBackground b = mapChartBackground(s, 440, 340, ",");
    EXPECT_FALSE(b.tooSmall);
    EXPECT_EQ(b.outerFrame, (ChartRect { 1, 1, 440, 340 }));
    EXPECT_EQ(b.innerFrame, (ChartRect { 10, 10, 430, 330 }));
    // The picture occupies (20, 20) to (420, 320).
    EXPECT_EQ(b.picture, (ChartRect { 20, 20, 420, 320 }));
    EXPECT_EQ(b.axisX, (ChartLine { 15, 320, 425, 320 }));
    EXPECT_EQ(b.axisY, (ChartLine { 20, 15, 20, 325 }));
    // Rx = 400 gives 2.5, Ry = 300 gives 2.
    EXPECT_EQ(b.stepX, 2.5L);
    EXPECT_EQ(b.stepY, 2.0L);

    // X ticks every 2.5 pixels from the picture's left edge, a grid line over the picture on
    // every tenth; tick 5 at 20 + round(12.5) = 32 is medium, hanging 5 pixels below the axis.
    const ChartStroke* medium = strokeAt(b.strokes, { 32, 320, 32, 325 });
    ASSERT_NE(medium, nullptr);
    EXPECT_FALSE(medium->grid);
    const ChartStroke* grid = strokeAt(b.strokes, { 45, 20, 45, 325 });
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->grid);
    EXPECT_NE(strokeAt(b.strokes, { 45, 320, 45, 330 }), nullptr);
    // The last X tick is the one within 5 pixels past the window: k = 162 at 425.
    EXPECT_NE(strokeAt(b.strokes, { 425, 320, 425, 323 }), nullptr);
    EXPECT_EQ(strokeAt(b.strokes, { 428, 320, 428, 323 }), nullptr);
    // Y ticks stick out left of the picture, grid lines across it; tick 10 at 320 - 20.
    EXPECT_NE(strokeAt(b.strokes, { 20, 300, 425, 300 }), nullptr);
    EXPECT_NE(strokeAt(b.strokes, { 20, 300, 10, 300 }), nullptr);
    EXPECT_NE(strokeAt(b.strokes, { 20, 318, 17, 318 }), nullptr);
    // No tick on a negative half-axis.
    for (const ChartStroke& st : b.strokes) {
        EXPECT_GE(st.line.x1, 20);
        EXPECT_LE(st.line.y1, 320);
    }

    // Labels on every tenth tick: "25", "50", … "400" along X, "20" … "300" along Y.
    std::vector<std::string> expected;
    for (int v = 25; v <= 400; v += 25)
        expected.push_back(std::to_string(v));
    for (int v = 20; v <= 300; v += 20)
        expected.push_back(std::to_string(v));
    EXPECT_EQ(texts(b.labels), expected);
    EXPECT_EQ(b.labels.front(), (ChartText { "25", 35, 327 }));
    EXPECT_EQ(b.labels[15], (ChartText { "400", 410, 327 }));
    EXPECT_EQ(b.labels[16], (ChartText { "20", 0, 300 }));
    EXPECT_EQ(b.labels.back(), (ChartText { "300", 0, 20 }));

    // Decimal steps are written with the separator given.
    const ChartState small = mapChartWindow({ 30, 20 }, std::vector<ChartPoint> {}, 440, 340);
    const MapChartBackground sb = mapChartBackground(small, 440, 340, ",");
    EXPECT_EQ(sb.stepX, tickStep(30));
    EXPECT_EQ(sb.labels.front().text, "2");
    EXPECT_EQ(sb.labels[15].text, "1"); // after the 15 X labels
}

TEST(MapChartBackground, TooSmallAnAreaKeepsOnlyFrameAndPicture)
{
    const std::vector<ChartPoint> one { { 10, 10 } };
    EXPECT_TRUE(mapChartTooSmall(89, 300));
    EXPECT_TRUE(mapChartTooSmall(300, 89));
    EXPECT_FALSE(mapChartTooSmall(90, 90));
    const ChartState s = mapChartWindow({ 50, 50 }, one, 89, 200);
    const MapChartBackground b = mapChartBackground(s, 89, 200, ",");
    EXPECT_TRUE(b.tooSmall);
    EXPECT_EQ(b.picture, (ChartRect { 20, 20, 69, 180 }));
    EXPECT_TRUE(b.strokes.empty());
    EXPECT_TRUE(b.labels.empty());
    const MapOneCentreChart c
        = mapOneCentreChart({ 50, 50 }, one, std::vector<IteratePoint> { { 10, 10 } }, 89, 200, ",");
    EXPECT_TRUE(c.places.empty());
    EXPECT_FALSE(c.hasOptimum);
    // The chart state is still set, for a group drawn on this background.
    EXPECT_EQ(c.state.ChartMaxX, 50.0);
}

TEST(MapLabels, StayInsideTheSurfaceNearItsEdges)
{
    const int W = 440, H = 340;
    EXPECT_EQ(mapLabelAt({ 200, 100 }, W, H), (ChartPixel { 187, 84 })); // above
    EXPECT_EQ(mapLabelAt({ 200, 30 }, W, H), (ChartPixel { 187, 34 })); // below, near the top
    EXPECT_EQ(mapLabelAt({ 200, 31 }, W, H), (ChartPixel { 187, 15 }));
    EXPECT_EQ(mapLabelAt({ 200, 330 }, W, H), (ChartPixel { 187, 314 })); // bottom middle: above
    EXPECT_EQ(mapLabelAt({ 30, 20 }, W, H), (ChartPixel { 34, 24 })); // top left
    EXPECT_EQ(mapLabelAt({ 410, 20 }, W, H), (ChartPixel { 382, 24 })); // top right
    EXPECT_EQ(mapLabelAt({ 20, 100 }, W, H), (ChartPixel { 25, 95 })); // left edge
    EXPECT_EQ(mapLabelAt({ 430, 100 }, W, H), (ChartPixel { 402, 95 })); // right edge
    EXPECT_EQ(mapLabelAt({ 20, 310 }, W, H), (ChartPixel { 25, 300 })); // bottom left
    EXPECT_EQ(mapLabelAt({ 430, 330 }, W, H), (ChartPixel { 402, 320 })); // bottom right

    // Places are labelled "A0" + n and "A" + n; a member numbered 12 sits like one numbered 2.
    const ChartState s = mapChartWindow({ 400, 300 }, std::vector<ChartPoint> {}, 440, 340);
    std::vector<ChartPoint> places(12, ChartPoint { 200, 150 });
    places[0] = { 100, 295 }; // near the top, in the middle
    places[1] = { 2, 2 }; // the bottom left corner
    const auto markers = mapPlaceMarkers(s, places, W, H);
    ASSERT_EQ(markers.size(), 12u);
    EXPECT_EQ(markers[0].label, (ChartText { "A01", 107, 29 }));
    EXPECT_EQ(markers[0].circle, (ChartRect { 117, 22, 124, 29 }));
    EXPECT_EQ(markers[1].centre, (ChartPixel { 22, 318 }));
    EXPECT_EQ(markers[1].label, (ChartText { "A02", 27, 308 }));
    EXPECT_EQ(markers[11].label, (ChartText { "A12", 207, 154 }));
    const std::vector<ChartPoint> members { { 200, 150 }, { 100, 100 } };
    const auto m = mapMemberMarkers(s, members, 12, W, H);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1].label, (ChartText { "M12", 107, 204 }));
    const auto m2 = mapMemberMarkers(s, members, 2, W, H);
    EXPECT_EQ(m2[1].label, (ChartText { "M2", 107, 204 }));
    const GroupChart g = mapGroupChart(s, 3, 12, members, std::vector<IteratePoint> { { 1, 1 } }, W, H);
    EXPECT_EQ(g.members[1].label, m[1].label);
    EXPECT_FALSE(g.hasOptimum); // fewer than 3 members
}

TEST(MapOneCentreChart, PathAndOptimumAtTheMappedPositions)
{
    const std::vector<ChartPoint> places { { 100, 50 }, { 300, 250 }, { 200, 100 } };
    const std::vector<IteratePoint> path { { 200, 133.3L }, { 190, 120 } };
    const MapOneCentreChart c = mapOneCentreChart({ 400, 300 }, places, path, 440, 340, ",");
    ASSERT_EQ(c.places.size(), 3u);
    EXPECT_EQ(c.places[0].centre, (ChartPixel { 120, 270 }));
    EXPECT_EQ(c.places[0].label, (ChartText { "A01", 107, 254 }));
    EXPECT_EQ(c.path,
        (std::vector<ChartPixel> { { 220, 187 }, { 220, 187 }, { 220, 187 }, { 210, 187 }, { 210, 200 } }));
    ASSERT_TRUE(c.hasOptimum);
    EXPECT_EQ(c.optimum.dot, (ChartRect { 207, 197, 215, 205 }));
    EXPECT_EQ(c.optimum.label, (ChartText { "OPTIMAL", 188, 183 }));
}

} // namespace
