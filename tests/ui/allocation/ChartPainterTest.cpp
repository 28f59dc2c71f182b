#include "render/ChartPainter.h"

#include "core/allocation/GroupColours.h"
#include "support/Colours.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using namespace dorvan;


namespace {

using dorvan::test::Red;
using dorvan::test::Blue;
using dorvan::test::White;
using dorvan::test::Black;
using dorvan::test::Silver;
// Frame colours no theme uses, so that the test sees they come from the palette.
const QColor EdgeColour(1, 2, 3);
const QColor TipColour(250, 240, 200);
const QColor Untouched(12, 34, 56);

const std::vector<ChartPoint> TwoPlaces { { 0.0, 0.0 }, { 10.0, 20.0 } };
// Ends at (6,4; 12,8), pixel (305, 166) on 540 × 400.
const std::vector<IteratePoint> ShortPath { { 5.0L, 10.0L }, { 6.0L, 12.0L }, { 6.4L, 12.8L } };

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Untouched);
    return img;
}

QColor at(const QImage& img, int x, int y)
{
    return img.pixelColor(x, y);
}

// How many pixels of a colour lie in the box from (x, y), w × h.
int countIn(const QImage& img, int x, int y, int w, int h, const QColor& colour)
{
    int n = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (img.valid(i, j) && img.pixelColor(i, j) == colour)
                ++n;
    return n;
}

using dorvan::test::keepPicture;

class ChartPainter : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = QApplication::palette();
        QPalette p = saved_;
        p.setColor(QPalette::Midlight, EdgeColour);
        p.setColor(QPalette::ToolTipBase, TipColour);
        QApplication::setPalette(p);
    }
    void TearDown() override { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

} // namespace

TEST_F(ChartPainter, OneCentreChartPutsEveryElementAtItsPixel)
{
    QImage img = blank(540, 400);
    ChartState state;
    ASSERT_TRUE(KresliGrafCooper(img, TwoPlaces, ShortPath, ChartDataMode::Manual, state));
    keepPicture(img, "chart_one_centre.png");
    EXPECT_EQ(state.ChartScaleX, 25.0);
    EXPECT_EQ(state.ChartScaleY, 12.0);

    // Frame: tooltip fill between the edges, white plotting area inside, edge colour outlines.
    EXPECT_EQ(at(img, 5, 5), TipColour);
    EXPECT_EQ(at(img, 534, 394), TipColour);
    EXPECT_EQ(at(img, 1, 200), EdgeColour);
    EXPECT_EQ(at(img, 10, 200), EdgeColour);
    EXPECT_EQ(at(img, 270, 1), EdgeColour);
    EXPECT_EQ(countIn(img, 0, 0, 540, 400, Untouched), 0) << "the whole surface is painted";
    EXPECT_EQ(at(img, 60, 30), White);

    // Axes, two pixels wide, over the columns and rows of X = 0 and Y = 0.
    EXPECT_EQ(at(img, 145, 203), Red);
    EXPECT_EQ(at(img, 145, 17), Red);
    EXPECT_EQ(at(img, 145, 378), Red);
    EXPECT_NE(at(img, 145, 12), Red);
    EXPECT_EQ(at(img, 300, 320), Red);
    EXPECT_EQ(at(img, 22, 320), Red);
    EXPECT_EQ(at(img, 523, 320), Red);
    EXPECT_NE(at(img, 528, 320), Red);

    // Tick 10 of the positive X half-axis hangs 10 pixels below the axis at x = 170, with its
    // dotted silver grid line above; tick 9 is short.
    EXPECT_EQ(at(img, 170, 328), Red);
    EXPECT_NE(at(img, 168, 328), Red);
    EXPECT_EQ(at(img, 168, 322), Red);
    EXPECT_GT(countIn(img, 170, 20, 1, 290, Silver), 60);
    EXPECT_GT(countIn(img, 170, 20, 1, 290, White), 60);

    // Tick labels "1" at (160, 330) and "2" at (125, 296), in black.
    EXPECT_GT(countIn(img, 160, 330, 10, 14, Black), 5);
    EXPECT_GT(countIn(img, 125, 296, 10, 14, Black), 5);

    // Place (10; 20): a red circle over (392, 77)-(398, 83), white inside, labelled "M2" at
    // (387, 64) in black.
    EXPECT_EQ(at(img, 392, 80), Red);
    EXPECT_EQ(at(img, 398, 80), Red);
    EXPECT_EQ(at(img, 395, 77), Red);
    EXPECT_EQ(at(img, 395, 83), Red);
    EXPECT_EQ(at(img, 395, 80), White);
    EXPECT_NE(at(img, 399, 80), Red);
    EXPECT_NE(at(img, 395, 84), Red);
    EXPECT_NE(at(img, 392, 77), Red) << "rounded corner";
    EXPECT_GT(countIn(img, 387, 64, 20, 13, Black), 10);
    EXPECT_EQ(countIn(img, 387, 64, 20, 13, Red), 0);

    // The path: from (270, 200) right to x = 295, up to y = 176, right to x = 305, up to 166.
    EXPECT_EQ(at(img, 282, 200), Blue);
    EXPECT_EQ(at(img, 295, 188), Blue);
    EXPECT_EQ(at(img, 300, 176), Blue);
    EXPECT_NE(at(img, 282, 195), Blue);
    // The optimum: a red dot over (302, 163)-(309, 170) and "OPTIMAL" in red at (283, 149).
    for (int y = 164; y <= 169; ++y)
        for (int x = 303; x <= 308; ++x)
            EXPECT_EQ(at(img, x, y), Red) << x << "," << y;
    EXPECT_NE(at(img, 310, 166), Red);
    EXPECT_GT(countIn(img, 283, 149, 60, 16, Red), 40);
}

TEST_F(ChartPainter, PictureModeLabelsAndDecimalLabels)
{
    // 12 places on a line: places 1..9 "A01".."A09", then "A10".., all 13 pixels left.
    std::vector<ChartPoint> places;
    for (int i = 1; i <= 12; ++i)
        places.push_back({ 2.0 * i, 2.0 * i });
    QImage manual = blank(600, 600);
    QImage picture = blank(600, 600);
    ChartState s1, s2;
    ASSERT_TRUE(KresliGrafCooper(manual, places, {}, ChartDataMode::Manual, s1));
    ASSERT_TRUE(KresliGrafCooper(picture, places, {}, ChartDataMode::Picture, s2));
    keepPicture(picture, "chart_picture_mode.png");
    EXPECT_EQ(s1, s2);
    // Place 7: "M7" starts 8 pixels left of the centre, "A07" 13 pixels left.
    int x = s1.px(14.0), y = s1.py(14.0);
    EXPECT_GT(countIn(manual, x - 8, y - 16, 3, 12, Black), 0);
    EXPECT_EQ(countIn(manual, x - 13, y - 16, 5, 12, Black), 0);
    EXPECT_GT(countIn(picture, x - 13, y - 16, 3, 12, Black), 0);
    // Picture-mode labels are wider ("A07" against "M7").
    EXPECT_GT(
        countIn(picture, x - 13, y - 16, 30, 12, Black), countIn(manual, x - 13, y - 16, 30, 12, Black));
    // No run yet: neither path nor optimum.
    EXPECT_EQ(countIn(manual, 0, 0, 600, 600, Blue), 0);
}

TEST_F(ChartPainter, TooSmallSurfaceIsLeftAlone)
{
    ChartState state;
    state.ChartMaxX = 7.0;
    const ChartState before = state;
    for (QSize size : { QSize(49, 400), QSize(400, 49), QSize(0, 0) }) {
        QImage img = blank(size.width(), size.height());
        EXPECT_FALSE(KresliGrafCooper(img, TwoPlaces, ShortPath, ChartDataMode::Manual, state));
        EXPECT_FALSE(KresliGrafCooperSkupiny1(img, TwoPlaces, state));
        EXPECT_EQ(countIn(img, 0, 0, img.width(), img.height(), Untouched), img.width() * img.height());
        EXPECT_EQ(state, before);
    }
    QImage smallest = blank(50, 50);
    EXPECT_TRUE(KresliGrafCooper(smallest, TwoPlaces, ShortPath, ChartDataMode::Manual, state));
    EXPECT_NE(state, before);
}

TEST_F(ChartPainter, GroupChartsDrawMembersInTheirGroupColours)
{
    std::vector<ChartPoint> places { { 0.0, 0.0 }, { 10.0, 20.0 }, { 2.0, 2.0 }, { 4.0, 6.0 },
        { 12.0, 4.0 } };
    QImage img = blank(540, 400);
    ChartState state;
    ASSERT_TRUE(KresliGrafCooperSkupiny1(img, places, state));
    // The group background: axes and grid stop short of the plain chart's.
    const int x0 = state.px(0.0), y0 = state.py(0.0);
    EXPECT_EQ(at(img, x0, 203), Red);
    EXPECT_EQ(at(img, x0, 22), Red);
    EXPECT_NE(at(img, x0, 17), Red);
    EXPECT_EQ(at(img, 518, y0), Red);
    EXPECT_NE(at(img, 523, y0), Red);
    EXPECT_EQ(countIn(img, 0, 0, 540, 400, Blue), 0);

    // Group 7 (red) of three members with a path, then group 8 (green) of two without.
    std::vector<ChartPoint> seven { { 2.0, 2.0 }, { 4.0, 6.0 }, { 12.0, 4.0 } };
    std::vector<IteratePoint> sevenPath { { 6.0L, 4.0L }, { 5.0L, 4.5L }, { 4.5L, 4.6L } };
    KresliGrafCooperSkupiny2(img, state, 7, 3, seven, sevenPath);
    std::vector<ChartPoint> eight { { 10.0, 20.0 }, { 0.0, 0.0 } };
    KresliGrafCooperSkupiny2(img, state, 8, 5, eight, sevenPath);
    keepPicture(img, "chart_groups.png");

    const QColor groupRed(255, 0, 0);
    const QColor groupGreen(0, 128, 0);
    ASSERT_EQ(VstupUdajFarby(8), 0x008000u);
    // Member circles in the group colour, labels M1..M3 and M4, M5 in the same colour.
    int x = state.px(12.0), y = state.py(4.0);
    EXPECT_EQ(at(img, x - 3, y), groupRed);
    EXPECT_EQ(at(img, x, y), White);
    EXPECT_GT(countIn(img, x - 13, y - 16, 20, 13, groupRed), 8);
    x = state.px(10.0);
    y = state.py(20.0);
    EXPECT_EQ(at(img, x - 3, y), groupGreen);
    EXPECT_EQ(at(img, x + 3, y), groupGreen);
    EXPECT_GT(countIn(img, x - 8, y - 16, 20, 13, groupGreen), 8);
    EXPECT_EQ(countIn(img, x - 8, y - 16, 20, 13, Black), 0);

    // Only group 7 has a path and an optimum; group 8 draws neither, although a history
    // is at hand.
    int ox = state.px(4.5L), oy = state.py(4.6L);
    EXPECT_EQ(at(img, ox + 1, oy + 1), Red);
    EXPECT_GT(countIn(img, ox - 22, oy - 17, 60, 16, Red), 30);
    int blue = countIn(img, 0, 0, 540, 400, Blue);
    EXPECT_GT(blue, 20);
    QImage again = blank(540, 400);
    ChartState s2;
    ASSERT_TRUE(KresliGrafCooperSkupiny1(again, places, s2));
    KresliGrafCooperSkupiny2(again, s2, 7, 3, seven, sevenPath);
    EXPECT_EQ(countIn(again, 0, 0, 540, 400, Blue), blue) << "group 8 added no path";
}

TEST_F(ChartPainter, TextOverAPictureGetsAWhiteBox)
{
    EXPECT_EQ(chartColour(0x008ACF), QColor(0xCF, 0x8A, 0x00));
    EXPECT_EQ(chartColour(0x011387), QColor(0x87, 0x13, 0x01));

    QImage img = blank(120, 60);
    {
        QPainter p(&img);
        paintChartText(p, { "A12", 10, 10 }, chartFont(8), Black, ChartTextBox::OpaqueWhite);
        paintChartText(p, { "A12", 60, 10 }, chartFont(8), Black);
    }
    // The opaque label sits on white from its top left corner on; the transparent one keeps
    // what was under it.
    EXPECT_EQ(at(img, 10, 10), White);
    EXPECT_GT(countIn(img, 10, 10, 40, 15, White), 100);
    EXPECT_GT(countIn(img, 10, 10, 40, 15, Black), 10);
    EXPECT_EQ(countIn(img, 60, 10, 40, 15, White), 0);
    EXPECT_GT(countIn(img, 60, 10, 40, 15, Black), 10);
    EXPECT_EQ(at(img, 9, 10), Untouched);
    EXPECT_EQ(at(img, 10, 9), Untouched);
}
