// A place list's result drawn by render PLACES: where the points land, their colours, their
// size as the list grows.
#include "core/allocation/ListChart.h"
#include "render/ListChartPainter.h"

#include "support/RenderTestApp.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <vector>

using namespace dorvan;

namespace {

QGuiApplication& listChartApp()
{
    return test::renderTestApp();
}

QRgb opaque(std::uint32_t rgb)
{
    return 0xFF000000u | rgb;
}

} // namespace

TEST(ListChart, PlacesLandAtOneScaleInTheirGroupsColours)
{
    listChartApp();
    // Four corners of a 10 x 5 km rectangle, two groups by column, centres at the columns' middles.
    const std::vector<double> x { 0, 10, 0, 10 }, y { 0, 5, 5, 0 };
    const std::vector<std::int32_t> group { 0, 1, 0, 1 };
    const std::vector<double> cx { 0, 10 }, cy { 2.5, 2.5 };
    const ListChart c = listChart(x, y, group, cx, cy, 220, 150);
    // Worked by hand: margins 24, title 18: an area of 172 x 84 pixels; 16.8 pixels a kilometre
    // (the height binds), the drawing 168 wide, centred: from x = 26; y from 42 down.
    EXPECT_FLOAT_EQ(c.px[0], 26.0f);
    EXPECT_FLOAT_EQ(c.py[0], 42.0f + 5.0f * 16.8f);
    EXPECT_FLOAT_EQ(c.px[1], 26.0f + 168.0f);
    EXPECT_FLOAT_EQ(c.py[1], 42.0f);
    EXPECT_FLOAT_EQ(c.centres[1].y, 42.0f + 2.5f * 16.8f);
    EXPECT_EQ(c.dotRadius, 3.0f);
    EXPECT_EQ(c.title, "4 miesta, 2 centrá");
    // The scale bar: a round length at most a quarter of the area (172 / 4 / 16.8 = 2.56 km).
    EXPECT_EQ(c.barKm, 2.0);
    EXPECT_FLOAT_EQ(c.barPixels, 2.0f * 16.8f);

    const QImage image = paintListChart(c);
    ASSERT_EQ(image.size(), QSize(220, 150));
    EXPECT_EQ(image.pixel(26, 126), opaque(listGroupColour(0)));
    EXPECT_EQ(image.pixel(194, 42), opaque(listGroupColour(1)));
    EXPECT_EQ(image.pixel(26 + 84, 84), qRgb(255, 255, 255)); // between the groups, nothing
    EXPECT_EQ(image.pixel(194, 84), opaque(listGroupColour(1))); // the centre's square
    // The program's group colours first (group 1 black, group 7 red: 0x00BBGGRR 0x0000FF),
    // then colours of their own.
    EXPECT_EQ(listGroupColour(0), 0x000000u);
    EXPECT_EQ(listGroupColour(6), 0xFF0000u);
    EXPECT_NE(listGroupColour(7), listGroupColour(8));
}

TEST(ListChart, AHundredThousandPlacesAreSinglePixels)
{
    listChartApp();
    std::vector<double> x, y;
    std::vector<std::int32_t> group;
    for (int i = 0; i < 100000; ++i) {
        x.push_back(i % 400);
        y.push_back(i / 400);
        group.push_back(i % 400 < 200 ? 0 : 1);
    }
    const std::vector<double> cx { 100, 300 }, cy { 125, 125 };
    const ListChart c = listChart(x, y, group, cx, cy, 800, 600, std::vector<std::string>(100000, "n"));
    EXPECT_LT(c.dotRadius, 1.0f);
    EXPECT_TRUE(c.names.empty()); // no names for so many
    const QImage image = paintListChart(c);
    const int px = static_cast<int>(c.px[5]), py = static_cast<int>(c.py[5]);
    EXPECT_EQ(image.pixel(px, py), opaque(listGroupColour(0)));
    const int qx = static_cast<int>(c.px[395]), qy = static_cast<int>(c.py[395]);
    EXPECT_EQ(image.pixel(qx, qy), opaque(listGroupColour(1)));
}
