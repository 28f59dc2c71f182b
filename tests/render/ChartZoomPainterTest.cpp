#include "render/ChartZoomPainter.h"

#include "render/CooperRunPainter.h"
#include "render/MapChartPainter.h"
#include "core/common/RgbPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <vector>

using namespace dorvan;

namespace {

const std::vector<ChartPoint> Places { { 0.0, 0.0 }, { 10.0, 20.0 }, { 30.0, 5.0 }, { 22.5, 17.0 } };
const std::vector<IteratePoint> Path { { 15.0L, 10.0L }, { 14.0L, 11.0L }, { 13.6L, 11.4L } };

// A picture full of one-pixel detail: every pixel differs from its neighbours, so a zoom that
// read the wrong pixel of the picture shows it.
RgbPicture noisyPicture(int w, int h)
{
    RgbPicture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y,
                { static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(x ^ y),
                    static_cast<std::uint8_t>(x * 3 + y * 11) });
    return p;
}

// The zoom as the window makes it without clipping: all of F drawn, the source cut out of it.
QImage wholeSurfaceZoom(const ResultDrawing& d, QSize area, const ChartRect& selection)
{
    const PixelSize f = zoomSurfaceSize(d, area);
    const auto plan = zoomPlan(selection, area.width(), area.height(), f.width, f.height);
    EXPECT_TRUE(plan);
    QImage surface = cooperSurface(QSize(f.width, f.height));
    ChartState state;
    paintResult(surface, d, state);
    return stretchZoom(surface, QPoint(0, 0), *plan);
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

std::vector<CooperGroupResult> twoGroups()
{
    CooperGroupResult a;
    a.no = 1;
    a.firstMemberNumber = 1;
    a.memberPoints = { Places[0], Places[1], Places[2] };
    a.memberFound = { true, true, true };
    a.solved = true;
    a.iterates = Path;
    CooperGroupResult b;
    b.no = 2;
    b.firstMemberNumber = 4;
    b.memberPoints = { Places[3] };
    b.memberFound = { true };
    return { a, b };
}

// The zoom draws only the part of F its selection needs, in bands when that part is large; the
// pixels are those of F drawn whole and cut out, for the chart, the picture and the groups.
TEST(ChartZoomPainter, ClippedZoomEqualsTheZoomOfTheWholeSurface)
{
    const RgbPicture picture = noisyPicture(300, 220);
    ResultDrawing chart;
    chart.kind = ResultDrawing::Kind::Chart;
    chart.places = Places;
    chart.path = Path;
    ResultDrawing map = chart;
    map.kind = ResultDrawing::Kind::Map;
    map.picture = mapPictureImage(picture);
    map.pictureSize = { picture.width(), picture.height() };
    map.range = { 40, 30 };
    ResultDrawing groups = chart;
    groups.groupRun = true;
    groups.groups = twoGroups();
    ResultDrawing mapGroups = map;
    mapGroups.groupRun = true;
    mapGroups.groups = twoGroups();

    const QSize area(500, 400);
    const ChartRect selections[] = {
        { 100, 100, 200, 150 }, // the worked example
        { 0, 0, 500, 400 }, // all of it, edges included
        { 237, 11, 240, 397 }, // a narrow strip across labels and lines
        { 3, 300, 499, 310 },
        { 330, 120, 360, 180 },
    };
    struct Case {
        const char* name;
        const ResultDrawing* drawing;
    };
    for (const Case& c : { Case { "chart", &chart }, Case { "picture", &map }, Case { "groups", &groups },
             Case { "groups over the picture", &mapGroups } })
        for (const ChartRect& s : selections) {
            const QImage want = wholeSurfaceZoom(*c.drawing, area, s);
            ChartState state;
            EXPECT_EQ(differingPixels(zoomResult(*c.drawing, area, s, state), want), 0)
                << c.name << " (" << s.left << "," << s.top << ")-(" << s.right << "," << s.bottom << ")";
            // Bands of a few rows each.
            EXPECT_EQ(differingPixels(zoomResult(*c.drawing, area, s, state, 2000), want), 0)
                << c.name << " in bands (" << s.left << "," << s.top << ")";
        }
}

TEST(ChartZoomPainter, SelectionRectangleIsBlueTwoPixelsWideAndUnfilled)
{
    QImage img(100, 80, QImage::Format_RGB32);
    img.fill(Qt::white);
    // Corners in reverse order select the same rectangle, (10, 20)-(60, 50), outlined as the
    // chart's frames are: the 2-pixel pen on the outline of pixels 10..59 × 20..49 covers
    // columns 9-10 and 58-59, rows 19-20 and 48-49.
    paintSelection(img, { 60, 50 }, { 10, 20 });
    const QColor blue(0, 0, 255);
    const QColor white(Qt::white);
    struct Probe {
        int x, y;
        QColor want;
    };
    const Probe probes[] = { { 8, 35, white }, { 9, 35, blue }, { 10, 35, blue }, { 11, 35, white },
        { 57, 35, white }, { 58, 35, blue }, { 59, 35, blue }, { 60, 35, white }, { 35, 18, white },
        { 35, 19, blue }, { 35, 20, blue }, { 35, 21, white }, { 35, 47, white }, { 35, 48, blue },
        { 35, 49, blue }, { 35, 50, white }, { 35, 35, white } /* not filled */ };
    for (const Probe& p : probes)
        EXPECT_EQ(img.pixelColor(p.x, p.y), p.want) << p.x << ", " << p.y;
}

TEST(ChartZoomPainter, NothingToZoomGivesNoImage)
{
    ResultDrawing none;
    ChartState state;
    EXPECT_TRUE(zoomResult(none, QSize(500, 400), { 10, 10, 50, 50 }, state).isNull());
    ResultDrawing chart;
    chart.kind = ResultDrawing::Kind::Chart;
    chart.places = Places;
    EXPECT_TRUE(zoomResult(chart, QSize(0, 0), { 10, 10, 50, 50 }, state).isNull());
    // A surface that does not hold the whole source rectangle is not read past its edges.
    const auto plan = zoomPlan({ 100, 100, 200, 150 }, 500, 400, 540, 440);
    ASSERT_TRUE(plan);
    const QImage part = cooperSurface(QSize(100, 60));
    EXPECT_TRUE(stretchZoom(part, QPoint(108, 110), *plan).isNull()); // 100 of 108 columns
    EXPECT_TRUE(stretchZoom(cooperSurface(QSize(108, 55)), QPoint(109, 110), *plan).isNull());
    EXPECT_FALSE(stretchZoom(cooperSurface(QSize(108, 55)), QPoint(108, 110), *plan).isNull());
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
