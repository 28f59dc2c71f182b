#include "render/ChartPainter.h"
#include "render/ContourPainter.h"
#include "core/allocation/CooperSolver.h"
#include "core/allocation/CostContours.h"
#include "render/MapChartPainter.h"

#include "support/RenderTestApp.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace dorvan;

namespace {

// The test needs a QGuiApplication for fonts.
QGuiApplication& app()
{
    return test::renderTestApp();
}

const QRgb Magenta = qRgb(255, 0, 255);

// F written out again, in coordinates.
double cost(const std::vector<CooperPlace>& places, double x, double y)
{
    double f = 0.0;
    for (const CooperPlace& p : places)
        f += p.quantity * p.price * p.flexibility * std::hypot(x - p.x, y - p.y);
    return f;
}

double worldX(const ChartState& s, double px)
{
    return s.ChartMinX + (px - 20.0) / s.ChartScaleX;
}
double worldY(const ChartState& s, double py)
{
    return s.ChartMaxY - (py - 20.0) / s.ChartScaleY;
}

// Whether some level passes through the square of pixel (i, j): F takes values on both sides
// of it within half a pixel of the centre either way.
bool onALevel(const std::vector<CooperPlace>& places, const ChartState& s, int i, int j,
    const std::vector<double>& levels)
{
    double lo = INFINITY, hi = -INFINITY;
    for (int a = 0; a <= 8; ++a)
        for (int b = 0; b <= 8; ++b) {
            const double f = cost(places, worldX(s, i - 0.5 + a / 8.0), worldY(s, j - 0.5 + b / 8.0));
            lo = std::min(lo, f);
            hi = std::max(hi, f);
        }
    for (double c : levels)
        if (lo <= c && c <= hi)
            return true;
    return false;
}

bool inside(const ChartText& label, int w, int h, int i, int j)
{
    return i >= label.x && i < label.x + w && j >= label.y && j < label.y + h;
}

std::vector<CooperPlace> randomPlaces(std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> coord(0.0, 100.0);
    std::uniform_int_distribution<int> q(1, 9);
    std::vector<CooperPlace> places;
    for (int k = 0; k < n; ++k)
        places.push_back({ coord(rng), coord(rng), static_cast<double>(q(rng)), 1.0, 1 });
    return places;
}

std::vector<CostSite> sitesOf(const std::vector<CooperPlace>& places)
{
    std::vector<CostSite> sites;
    for (const CooperPlace& p : places)
        sites.push_back({ p.x, p.y, cooperWeight(p) });
    return sites;
}

std::vector<ChartPoint> pointsOf(const std::vector<CooperPlace>& places)
{
    std::vector<ChartPoint> points;
    for (const CooperPlace& p : places)
        points.push_back({ p.x, p.y });
    return points;
}

} // namespace

TEST(CostContours, LevelsParseFromTheFieldAndTheCommandLine)
{
    EXPECT_EQ(parseContourLevels("1; 5; 10"), (std::vector<double> { 1, 5, 10 }));
    EXPECT_EQ(parseContourLevels("2,5;0.5"), (std::vector<double> { 2.5, 0.5 }));
    EXPECT_EQ(parseContourLevels("1,5,10", ','), (std::vector<double> { 1, 5, 10 }));
    EXPECT_EQ(parseContourLevels("1000"), (std::vector<double> { 1000 }));
    for (const char* bad : { "", " ", "0", "-1", "1;;5", "x", "1001", "1;2;3;4;5;6;7;8;9;10;11", "1; 5;" })
        EXPECT_FALSE(parseContourLevels(bad)) << bad;
    EXPECT_EQ(contourLabelText(2.5, ","), "+2,5 %");
    EXPECT_EQ(contourLabelText(10, ","), "+10 %");
}

TEST(CostContours, MagentaPixelsLieOnTheirLevelsAndNoCrossingIsMissed)
{
    app();
    std::mt19937 rng(14);
    for (int project = 0; project < 4; ++project) {
        SCOPED_TRACE(project);
        const std::vector<CooperPlace> places = randomPlaces(rng, 5 + 7 * project);
        const CooperRun run = solveCooper(
            places, CooperSettings { StartPoint::Computed, StoppingRule::BothAxes, "0,0001", "1,0" });
        const IteratePoint result { run.IterX[run.FinalIter], run.IterY[run.FinalIter] };
        const std::vector<ChartPoint> points = pointsOf(places);
        const int w = 540 + 100 * project, h = 400;
        const ChartState s = chartWindow(points, w, h);
        const ContourInput input { sitesOf(places), result, { 1, 5, 10 } };
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        CostContours drawn;
        {
            QPainter p(&image);
            drawn = paintCostContours(p, input, s, image.size(), nullptr);
        }
        const double base = cost(places, static_cast<double>(result.x), static_cast<double>(result.y));
        const std::vector<double> levels { 1.01 * base, 1.05 * base, 1.10 * base };
        ASSERT_EQ(drawn.values.size(), 3u);
        const QFont font = chartFont(8);
        const QFontMetrics m(font);
        int magenta = 0, off = 0;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                if (image.pixel(i, j) != Magenta)
                    continue;
                bool label = false;
                for (const ChartText& t : drawn.labels)
                    label = label
                        || inside(t, m.horizontalAdvance(QString::fromStdString(t.text)), m.height(), i, j);
                if (label)
                    continue;
                ++magenta;
                if (!onALevel(places, s, i, j, levels))
                    ++off;
            }
        EXPECT_GT(magenta, 300);
        EXPECT_EQ(off, 0) << "of " << magenta;
        EXPECT_EQ(drawn.labels.size(), 3u);

        // Every crossing of a level along the row and the column through the optimum, found
        // here from F at the pixel centres, has a magenta pixel next to it.
        const int oi = s.px(result.x), oj = s.py(result.y);
        int crossings = 0, missed = 0;
        auto check = [&](int i0, int j0, int i1, int j1) {
            for (double c : levels) {
                const double f0 = cost(places, worldX(s, i0), worldY(s, j0));
                const double f1 = cost(places, worldX(s, i1), worldY(s, j1));
                if ((f0 < c) == (f1 < c))
                    continue;
                ++crossings;
                bool near = false;
                for (int dj = -1; dj <= 1; ++dj)
                    for (int di = -1; di <= 1; ++di)
                        for (auto [a, b] : { std::pair { i0, j0 }, std::pair { i1, j1 } })
                            near = near || image.pixel(a + di, b + dj) == Magenta;
                missed += near ? 0 : 1;
            }
        };
        for (int i = 21; i + 1 < w - 21; ++i)
            check(i, oj, i + 1, oj);
        for (int j = 21; j + 1 < h - 21; ++j)
            check(oi, j, oi, j + 1);
        EXPECT_GE(crossings, 6);
        EXPECT_EQ(missed, 0);
    }
}

TEST(CostContours, OnTheChartUnderTheMarkersWithLabelsClearOfTheOptimum)
{
    app();
    // A heavy place at (0;0) is the optimum, which the labels must leave free.
    const std::vector<CooperPlace> places { { 0, 0, 10.0, 1.0, 1 }, { 30, 0, 1.0, 1.0, 1 },
        { 0, 40, 1.0, 1.0, 1 }, { 25, 35, 2.0, 1.0, 1 }, { -10, 20, 1.0, 1.0, 1 } };
    const CooperRun run
        = solveCooper(places, CooperSettings { StartPoint::Computed, StoppingRule::BothAxes, "0,01", "1,0" });
    ASSERT_EQ(run.report.resultOnPlace, 1);
    std::vector<IteratePoint> path;
    for (int k = 1; k <= run.FinalIter; ++k)
        path.push_back({ run.IterX[k], run.IterY[k] });
    const std::vector<ChartPoint> points = pointsOf(places);
    const ContourInput input { sitesOf(places), path.back(), { 1, 5, 10, 50 } };

    QImage plain(540, 400, QImage::Format_RGB32), drawn(540, 400, QImage::Format_RGB32);
    plain.fill(Qt::yellow);
    drawn.fill(Qt::yellow);
    ChartState s1, s2;
    ASSERT_TRUE(KresliGrafCooper(plain, points, path, ChartDataMode::Manual, s1));
    ASSERT_TRUE(KresliGrafCooper(drawn, points, path, ChartDataMode::Manual, s2, {}, &input));
    EXPECT_EQ(s1, s2);
    // No levels: the very same pixels as without contours.
    const ContourInput none { sitesOf(places), path.back(), {} };
    QImage empty(540, 400, QImage::Format_RGB32);
    empty.fill(Qt::yellow);
    ChartState s3;
    KresliGrafCooper(empty, points, path, ChartDataMode::Manual, s3, {}, &none);
    EXPECT_EQ(empty, plain);

    // The contours only add magenta; the places, the path and the optimum stay on top.
    const OneCentreChart c = oneCentreChart(points, path, ChartDataMode::Manual, 540, 400, ",");
    int added = 0;
    for (int j = 0; j < 400; ++j)
        for (int i = 0; i < 540; ++i)
            if (drawn.pixel(i, j) != plain.pixel(i, j)) {
                EXPECT_EQ(drawn.pixel(i, j), Magenta) << i << "," << j;
                ++added;
            }
    EXPECT_GT(added, 200);
    for (const ChartMarker& m : c.places)
        EXPECT_EQ(drawn.pixel(m.centre.x, m.centre.y), plain.pixel(m.centre.x, m.centre.y));
    EXPECT_EQ(drawn.pixel(c.optimum.centre.x, c.optimum.centre.y), qRgb(255, 0, 0));

    // The labels stand clear of the optimum's dot and text.
    QImage bare(540, 400, QImage::Format_RGB32);
    bare.fill(Qt::white);
    QPainter p(&bare);
    const CostContours cc = paintCostContours(p, input, s2, bare.size(), &c.optimum);
    p.end();
    ASSERT_EQ(cc.labels.size(), 4u);
    const QFontMetrics m(chartFont(8));
    const QFontMetrics big(chartFont(10));
    const QRect dot(c.optimum.dot.left, c.optimum.dot.top, c.optimum.dot.right - c.optimum.dot.left,
        c.optimum.dot.bottom - c.optimum.dot.top);
    const QRect text(c.optimum.label.x, c.optimum.label.y, big.horizontalAdvance("OPTIMAL"), big.height());
    for (const ChartText& t : cc.labels) {
        const QRect box(t.x, t.y, m.horizontalAdvance(QString::fromStdString(t.text)), m.height());
        EXPECT_FALSE(box.intersects(dot)) << t.text;
        EXPECT_FALSE(box.intersects(text)) << t.text;
    }
    EXPECT_EQ(cc.labels[3].text, "+50 %");
}

TEST(CostContours, OverTheMapPictureAndNotForNegativeWeights)
{
    app();
    const std::vector<CooperPlace> places { { 100, 50, 1.0, 1.0, 1 }, { 300, 250, 1.0, 1.0, 1 },
        { 350, 60, 1.0, 1.0, 1 } };
    const CooperRun run
        = solveCooper(places, CooperSettings { StartPoint::Computed, StoppingRule::BothAxes, "0,01", "1,0" });
    const std::vector<IteratePoint> path { { run.IterX[run.FinalIter], run.IterY[run.FinalIter] } };
    const std::vector<ChartPoint> points = pointsOf(places);
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(qRgb(40, 120, 40));
    QImage image(440, 340, QImage::Format_RGB32);
    image.fill(Qt::white);
    ChartState s;
    const ContourInput input { sitesOf(places), path.back(), { 5, 20 } };
    ASSERT_TRUE(KresliGrafMapaCooper(image, picture, PictureRange { 400, 300 }, points, path, s, {}, &input));
    // The labels, which are magenta too, as the painter placed them.
    QImage scratch(440, 340, QImage::Format_RGB32);
    QPainter sp(&scratch);
    const CostContours cc = paintCostContours(sp, input, s, scratch.size(), nullptr);
    sp.end();
    const QFontMetrics m(chartFont(8));
    const double base = cost(places, static_cast<double>(path.back().x), static_cast<double>(path.back().y));
    int magenta = 0, off = 0;
    for (int j = 21; j < 320; ++j)
        for (int i = 21; i < 420; ++i) {
            bool label = false;
            for (const ChartText& t : cc.labels)
                label = label
                    || inside(t, m.horizontalAdvance(QString::fromStdString(t.text)), m.height(), i, j);
            if (image.pixel(i, j) == Magenta && !label) {
                ++magenta;
                off += onALevel(places, s, i, j, { 1.05 * base, 1.2 * base }) ? 0 : 1;
            }
        }
    EXPECT_GT(magenta, 300);
    EXPECT_EQ(off, 0);
    EXPECT_EQ(cc.labels.size(), 2u);

    // A negative weight: no curves at all.
    std::vector<CostSite> negative = sitesOf(places);
    negative[0].w = -1.0L;
    const CostContours none = costContours({ negative, path.back(), { 5 } }, s, contourArea(440, 340),
        std::vector<ContourLabelSize> { { 20, 10 } }, {}, ",");
    EXPECT_TRUE(none.lines.empty());
}

TEST(CostContours, TwoEqualPlacesKeepTheirOptimumBetweenThemOnTheChart)
{
    app();
    // Every point between (0;0) and (10;20) is optimal; the iteration stops at once on (5;10)
    // and the red optimum stays there, at (270, 200) of the 540 x 400 chart, not on (0;0).
    const std::vector<CooperPlace> pair { { 0, 0, 1.0, 1.0, 1 }, { 10, 20, 1.0, 1.0, 1 } };
    const CooperRun run
        = solveCooper(pair, CooperSettings { StartPoint::Computed, StoppingRule::BothAxes, "0,01", "1,0" });
    std::vector<IteratePoint> path;
    for (int k = 1; k <= run.FinalIter; ++k)
        path.push_back({ run.IterX[k], run.IterY[k] });
    QImage image(540, 400, QImage::Format_RGB32);
    ChartState s;
    ASSERT_TRUE(KresliGrafCooper(image, pointsOf(pair), path, ChartDataMode::Manual, s));
    EXPECT_EQ(image.pixel(270, 200), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(273, 203), qRgb(255, 0, 0));
    // The place (0;0) keeps its white marker at (145, 320).
    EXPECT_EQ(image.pixel(145, 320), qRgb(255, 255, 255));
    EXPECT_EQ(run.report.certificate.gap, 0.0L);
}
