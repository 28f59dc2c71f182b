// The chart's texts as painted: each label's ink found on its own image, the boxes of that ink
// compared, and the places of a circle found in the picture to see it drawn round.
#include "render/ChartPainter.h"
#include "render/MapChartPainter.h"
#include "support/Colours.h"

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace dorvan;

namespace {

using dorvan::test::Black;
using dorvan::test::Red;
using dorvan::test::White;

// A text as the chart writes it, alone on a white surface of the chart's size: its ink.
struct Ink {
    QRect box;
    std::vector<QPoint> pixels;
};

Ink inkOf(const ChartText& text, int points, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(White);
    {
        QPainter p(&img);
        beginPart(p, {});
        paintChartText(p, text, chartFont(points), Black);
    }
    Ink ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == Black) {
                ink.pixels.emplace_back(x, y);
                ink.box |= QRect(x, y, 1, 1);
            }
    return ink;
}

struct Written {
    ChartText text;
    int points;
};

std::vector<Written> writtenTexts(
    const std::vector<ChartText>& ticks, const std::vector<ChartMarker>& places, const ChartOptimum* optimum)
{
    std::vector<Written> out;
    for (const ChartText& t : ticks)
        out.push_back({ t, TickLabelPoints });
    for (const ChartMarker& m : places)
        out.push_back({ m.label, PlaceLabelPoints });
    if (optimum != nullptr)
        out.push_back({ optimum->label, OptimumLabelPoints });
    return out;
}

// The texts of a one-centre chart as KresliGrafCooper writes them.
std::vector<Written> chartTexts(
    const std::vector<ChartPoint>& places, const std::vector<IteratePoint>& path, QSize size, bool thinned)
{
    const std::string sep = QLocale().decimalPoint().toStdString();
    OneCentreChart c = oneCentreChart(places, path, ChartDataMode::Manual, size.width(), size.height(), sep);
    if (thinned) {
        thinChartLabels(c.background);
        c.state.LabelBoxes = tickLabelBoxes(c.background, chartTextMeasure());
        placePointLabels(c.places, c.hasOptimum ? &c.optimum : nullptr, chartTextMeasure(),
            c.state.LabelBoxes, size.width(), size.height());
    }
    return writtenTexts(c.background.labels, c.places, c.hasOptimum ? &c.optimum : nullptr);
}

// The same over a map picture of the given range, as KresliGrafMapaCooper writes them.
std::vector<Written> mapChartTexts(PictureRange range, const std::vector<ChartPoint>& places,
    const std::vector<IteratePoint>& path, QSize size, bool thinned)
{
    const std::string sep = QLocale().decimalPoint().toStdString();
    MapOneCentreChart c = mapOneCentreChart(range, places, path, size.width(), size.height(), sep);
    if (thinned) {
        thinTickLabels(c.background, chartTextMeasure());
        c.state.LabelBoxes = tickLabelBoxes(c.background, chartTextMeasure());
        placePointLabels(c.places, c.hasOptimum ? &c.optimum : nullptr, chartTextMeasure(),
            c.state.LabelBoxes, size.width(), size.height());
    }
    return writtenTexts(c.background.labels, c.places, c.hasOptimum ? &c.optimum : nullptr);
}

int meetingPairs(const std::vector<Ink>& inks, const std::vector<Written>& texts = {})
{
    int n = 0;
    for (std::size_t i = 0; i < inks.size(); ++i)
        for (std::size_t j = i + 1; j < inks.size(); ++j)
            if (inks[i].box.intersects(inks[j].box)) {
                ++n;
                if (!texts.empty())
                    ADD_FAILURE() << texts[i].text.text << " meets " << texts[j].text.text << " at ("
                                  << texts[i].text.x << ", " << texts[i].text.y << ")";
            }
    return n;
}

// Places around the origin, two of them close to the optimum the path ends at.
const std::vector<ChartPoint> TownPoints { { 0, 0 }, { 40, 0 }, { 20, 30 }, { 21, 12 }, { 60, 80 },
    { -20, 50 }, { 90, -10 }, { 10, 90 }, { 26, 17 } };
const std::vector<IteratePoint> TownsPath { { 30.0L, 20.0L }, { 22.0L, 13.5L } };

} // namespace

namespace {

// Every label's ink shown in the drawn chart, no black pixel that is not a label's, and no two
// labels' ink boxes meeting.
void expectLabelsApart(const QImage& chart, const std::vector<Written>& texts)
{
    const int width = chart.width();
    std::vector<Ink> inks;
    std::vector<bool> inked(static_cast<std::size_t>(width * chart.height()), false);
    for (const Written& w : texts) {
        inks.push_back(inkOf(w.text, w.points, chart.size()));
        if (w.points == OptimumLabelPoints)
            continue; // red, like the axes: its box is compared, not its pixels
        // Much of each black label's ink is black in the chart (the path, the optimum's dot
        // and the markers are drawn over the labels).
        int shown = 0;
        for (const QPoint& q : inks.back().pixels) {
            shown += chart.pixelColor(q) == Black ? 1 : 0;
            inked[static_cast<std::size_t>(q.y() * width + q.x())] = true;
        }
        EXPECT_GE(shown * 10, static_cast<int>(inks.back().pixels.size()) * 4) << width << " " << w.text.text;
    }
    // Every black pixel of the chart belongs to one of these labels: they are what it shows.
    int stray = 0;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < width; ++x)
            stray
                += chart.pixelColor(x, y) == Black && !inked[static_cast<std::size_t>(y * width + x)] ? 1 : 0;
    EXPECT_EQ(stray, 0) << width;
    EXPECT_EQ(meetingPairs(inks, texts), 0) << width;
}

int rawMeetings(const std::vector<Written>& texts, QSize size)
{
    std::vector<Ink> raw;
    for (const Written& w : texts)
        raw.push_back(inkOf(w.text, w.points, size));
    return meetingPairs(raw);
}

} // namespace

TEST(ChartLabelInk, NoTwoLabelsOfTheChartCoverEachOtherAtAnyWidth)
{
    for (int width : { 150, 260, 400, 800 }) {
        const QSize size(width, 300);
        QImage chart(size, QImage::Format_RGB32);
        ChartState state;
        ASSERT_TRUE(KresliGrafCooper(chart, TownPoints, TownsPath, ChartDataMode::Manual, state));
        expectLabelsApart(chart, chartTexts(TownPoints, TownsPath, size, true));
        if (!qEnvironmentVariable("DORVAN_CHART_PNG").isEmpty())
            chart.save(
                qEnvironmentVariable("DORVAN_CHART_PNG") + QStringLiteral("/labels_%1.png").arg(width));
    }
    // Unthinned and unmoved, the same chart's labels do meet when it is narrow and near the optimum.
    EXPECT_GT(rawMeetings(chartTexts(TownPoints, TownsPath, QSize(150, 300), false), QSize(150, 300)), 0);
}

TEST(ChartLabelInk, NoTwoLabelsOverTheMapCoverEachOtherAtAnyWidth)
{
    // A white picture of 400 x 300 units: what shows in black is the labels alone.
    const PictureRange range { 400, 300 };
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(White);
    const std::vector<ChartPoint> places { { 10, 10 }, { 200, 150 }, { 250, 180 }, { 150, 110 }, { 380, 290 },
        { 30, 280 }, { 390, 20 } };
    const std::vector<IteratePoint> path { { 150.0L, 100.0L }, { 205.0L, 150.0L } };
    for (int width : { 150, 260, 400, 800 }) {
        const QSize size(width, 300);
        QImage chart(size, QImage::Format_RGB32);
        ChartState state;
        ASSERT_TRUE(KresliGrafMapaCooper(chart, picture, range, places, path, state));
        expectLabelsApart(chart, mapChartTexts(range, places, path, size, true));
    }
    // Without thinning and moving, the narrow drawing's labels do meet.
    EXPECT_GT(rawMeetings(mapChartTexts(range, places, path, QSize(150, 300), false), QSize(150, 300)), 0);
}

namespace {

// The centres of the place markers: a white pixel with the red outline 3 pixels away each way
// and white 2 pixels away.
std::vector<QPoint> markerCentres(const QImage& img)
{
    std::vector<QPoint> found;
    auto is = [&](int x, int y, const QColor& c) { return img.valid(x, y) && img.pixelColor(x, y) == c; };
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (is(x, y, White) && is(x - 3, y, Red) && is(x + 3, y, Red) && is(x, y - 3, Red)
                && is(x, y + 3, Red) && is(x - 2, y, White) && is(x + 2, y, White) && is(x, y - 2, White)
                && is(x, y + 2, White))
                found.emplace_back(x, y);
    return found;
}

} // namespace

TEST(ChartEqualScale, ACircleOfPlacesIsDrawnRoundAndCentred)
{
    // Twelve places on a circle of radius 50 around the origin, on a wide area.
    std::vector<ChartPoint> circle;
    const double pi = std::acos(-1.0);
    for (int k = 0; k < 12; ++k)
        circle.push_back({ 50.0 * std::cos(k * pi / 6.0), 50.0 * std::sin(k * pi / 6.0) });
    auto extents = [&](ChartScale scale) {
        QImage img(800, 300, QImage::Format_RGB32);
        ChartState state;
        EXPECT_TRUE(KresliGrafCooper(img, circle, {}, ChartDataMode::Manual, state, {}, nullptr, scale));
        const std::vector<QPoint> centres = markerCentres(img);
        EXPECT_EQ(centres.size(), 12u);
        QRect box;
        for (const QPoint& c : centres)
            box |= QRect(c, QSize(1, 1));
        return box;
    };
    const QRect round = extents(ChartScale::Equal);
    // 100 units across and down: the pixels per unit of both axes agree within a pixel over the
    // diameter, and the circle's middle is the area's middle (400, 150).
    EXPECT_LE(std::abs(round.width() - round.height()), 1) << round.width() << " x " << round.height();
    EXPECT_GT(round.height(), 200); // 260 pixels for 110 units: about 236 for the diameter
    EXPECT_LE(std::abs(round.center().x() - 400), 1);
    EXPECT_LE(std::abs(round.center().y() - 150), 1);
    // Free scales stretch it across the wide area.
    const QRect stretched = extents(ChartScale::Free);
    EXPECT_GT(stretched.width(), 2 * stretched.height());
}

namespace {

// A drawing of `size` painted with its origin 100 pixels inside a larger white image: whatever
// the chart would have drawn past its own edges shows in the border around it.
QImage paddedChart(const std::function<void(QImage&, const SurfacePart&)>& draw, QSize size)
{
    QImage img(size + QSize(200, 200), QImage::Format_RGB32);
    img.fill(White);
    draw(img, SurfacePart { size, QPoint(-100, -100) });
    return img;
}

int inkOutside(const QImage& padded, QSize size)
{
    int n = 0;
    const QRect drawing(QPoint(100, 100), size);
    for (int y = 0; y < padded.height(); ++y)
        for (int x = 0; x < padded.width(); ++x)
            n += !drawing.contains(x, y) && padded.pixelColor(x, y) != White ? 1 : 0;
    return n;
}

} // namespace

// A national grid in metres taken for kilometres: every place far in the negative quarter, the
// origin and the Y axis at the right edge, the X axis at the top. The labels that would run past
// the edge, "-100000" among them, are moved inside whole or left out: nothing is drawn past the
// drawing's edges, and "-100000" is drawn whole, every pixel of its ink.
TEST(ChartLabelInk, ATickLabelAtTheEdgeIsDrawnWholeOrNotAtAll)
{
    const std::vector<ChartPoint> metres { { -742000, -1043000 }, { -598000, -1161000 },
        { -470000, -1210000 }, { -520000, -1100000 } };
    const std::string sep = QLocale().decimalPoint().toStdString();
    for (const QSize size : { QSize(640, 480), QSize(420, 700) }) {
        const QImage padded = paddedChart(
            [&](QImage& img, const SurfacePart& part) {
                ChartState state;
                ASSERT_TRUE(KresliGrafCooper(img, metres, {}, ChartDataMode::Manual, state, part));
            },
            size);
        EXPECT_EQ(inkOutside(padded, size), 0) << size.width();
        // The labels as the painter keeps them, and "-100000" among those along Y.
        OneCentreChart c
            = oneCentreChart(metres, {}, ChartDataMode::Manual, size.width(), size.height(), sep);
        thinChartLabels(c.background);
        const auto& labels = c.background.labels;
        const auto found = std::find_if(
            labels.begin(), labels.end(), [](const ChartText& t) { return t.text == "-100000"; });
        ASSERT_NE(found, labels.end()) << size.width();
        const Ink ink = inkOf(*found, TickLabelPoints, size + QSize(200, 200));
        ASSERT_FALSE(ink.pixels.empty());
        for (const QPoint& q : ink.pixels) {
            EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(q)) << size.width();
            const QPoint at = q + QPoint(100, 100);
            EXPECT_EQ(padded.pixelColor(at), Black) << size.width() << ": " << at.x() << "," << at.y();
        }
    }
    // The same places over a map picture and in a group run's background.
    const QSize size(500, 400);
    QImage white(50, 40, QImage::Format_RGB32);
    white.fill(White);
    const QImage map = paddedChart(
        [&](QImage& img, const SurfacePart& part) {
            ChartState state;
            KresliGrafMapaCooper(img, white, PictureRange { 12, 9 }, metres, {}, state, part);
        },
        size);
    EXPECT_EQ(inkOutside(map, size), 0);
    const QImage groups = paddedChart(
        [&](QImage& img, const SurfacePart& part) {
            ChartState state;
            ASSERT_TRUE(KresliGrafCooperSkupiny1(img, metres, state, part));
        },
        size);
    EXPECT_EQ(inkOutside(groups, size), 0);
}
