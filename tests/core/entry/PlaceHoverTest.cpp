#include "core/entry/PlaceHover.h"

#include "core/geo/GeoReference.h"
#include "core/project/ProjectRecord.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using dorvan::PlaceMark;

PlaceMark markAt(int x, int y)
{
    return { x, y, "", "", 0.0, 0.0 };
}

TEST(PlaceHover, TheNearestMarkWithinFourPixelsEachWayIsUnderTheMouse)
{
    const std::vector<PlaceMark> marks { markAt(10, 10), markAt(14, 10), markAt(100, 100), markAt(103, 103) };
    struct Probe {
        int x, y;
        std::optional<std::size_t> mark;
    };
    const Probe probes[] = {
        { 10, 10, 0 }, // on the centre
        { 12, 10, 0 }, // halfway between two: the first
        { 13, 10, 1 },
        { 14, 14, 1 }, // the corner of the reach
        { 14, 15, std::nullopt }, // one pixel below it
        { 6, 6, 0 },
        { 5, 10, std::nullopt },
        { 101, 102, 2 }, // distances² 5 and 5: the first of two
        { 102, 102, 3 }, // 8 against 2
        { 107, 107, 3 },
        { 108, 103, std::nullopt },
    };
    for (const Probe& p : probes)
        EXPECT_EQ(dorvan::markUnder(marks, p.x, p.y), p.mark) << p.x << ", " << p.y;
    EXPECT_EQ(dorvan::markUnder({}, 0, 0), std::nullopt);
    // Far-off marks do not overflow the distance.
    const std::vector<PlaceMark> far { markAt(2'000'000'000, -2'000'000'000) };
    EXPECT_EQ(dorvan::markUnder(far, -2'000'000'000, 2'000'000'000), std::nullopt);
}

std::unique_ptr<dorvan::TProjectRecord> hoverPlaces()
{
    auto r = std::make_unique<dorvan::TProjectRecord>();
    const char* names[] = { "A01", "Brno", "Žilina" };
    const double xs[] = { 50, 200, 0 };
    const double ys[] = { 25, 100, 0 };
    for (int k = 1; k <= 3; ++k) {
        r->PlaceName[k] = dorvan::Text100::fromUtf8(names[k - 1]);
        r->PlaceX[k] = xs[k - 1];
        r->PlaceY[k] = ys[k - 1];
    }
    return r;
}

TEST(PlaceHover, PicturePageMarksAreTheEnteredPlacesAtTheirPixels)
{
    const auto r = hoverPlaces();
    dorvan::WorkingState s;
    s.PlaceCount = 3;
    s.NextPlace = 4;
    // A 201 × 101 control for a range of 200 × 100: x = round(201 X / 200), y = 100 - round(Y).
    const auto marks = dorvan::picturePlaceMarks(*r, s, { 201, 101 }, { 200, 100 });
    ASSERT_EQ(marks.size(), 3u);
    // 201 × 50 / 200 = 50,25; 100 × 25 / 100 = 25.
    EXPECT_EQ(marks[0].x, 50);
    EXPECT_EQ(marks[0].y, 75);
    EXPECT_EQ(marks[1].x, 201);
    EXPECT_EQ(marks[1].y, 0);
    EXPECT_EQ(marks[2].x, 0);
    EXPECT_EQ(marks[2].y, 100);
    EXPECT_EQ(marks[1].label, "A02");
    EXPECT_EQ(marks[1].name, "Brno");
    EXPECT_EQ(marks[1].placeX, 200.0);

    // While the list is still being clicked only the places entered count.
    s.NextPlace = 3;
    EXPECT_EQ(dorvan::picturePlaceMarks(*r, s, { 201, 101 }, { 200, 100 }).size(), 2u);
    // A damaged range maps nothing.
    s.NextPlace = 4;
    EXPECT_TRUE(dorvan::picturePlaceMarks(*r, s, { 201, 101 }, { 0, 100 }).empty());
}

TEST(PlaceHover, TheTipNamesThePlaceItsCoordinatesAndWithAReferenceItsLatitudeLongitude)
{
    auto r = hoverPlaces();
    struct Tip {
        PlaceMark mark;
        const char* separator;
        std::string text;
    };
    const Tip plain[] = {
        { { 0, 0, "A07", "Brno", 16.6, 49.25 }, ",", "A07: Brno\nX = 16,6; Y = 49,25" },
        { { 0, 0, "M3", "Žilina", -0.00004, 123456.78904 }, ".", "M3: Žilina\nX = 0; Y = 123456.789" },
        { { 0, 0, "", "Brezno", 30.1, 45 }, ",", "Brezno\nX = 30,1; Y = 45" },
        { { 0, 0, "A01", "A01", 3, 4 }, ",", "A01\nX = 3; Y = 4" },
    };
    for (const Tip& t : plain)
        EXPECT_EQ(dorvan::placeTip(*r, t.mark, t.separator), t.text);

    // The reference's origin: 180 km east and 86 km north of the false origin lie at
    // 48,5° N 19,5° E; 10 km west of the false origin's meridian lies west of it.
    ASSERT_TRUE(dorvan::geo::setProjectReference(
        *r, "+proj=aeqd +lat_0=48.5 +lon_0=19.5 +x_0=180000 +y_0=86000 +datum=WGS84 +units=km"));
    EXPECT_EQ(dorvan::placeTip(*r, { 0, 0, "A02", "Banská Bystrica", 180, 86 }, ","),
        "A02: Banská Bystrica\nX = 180; Y = 86\n48,5000000° s. š., 19,5000000° v. d.");
}

} // namespace
