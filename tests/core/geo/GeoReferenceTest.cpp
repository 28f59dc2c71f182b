// Real coordinates checked against numbers the code under test does not make: geodesic
// distances from GeographicLib, published S-JTSK coordinates, the input degrees themselves.

#include "core/geo/GeoReference.h"
#include "core/cli/PlaceCsv.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceList.h"
#include "core/project/Project.h"
#include "core/project/ProjectFile.h"

#include "support/LoopbackListener.h"

#include <GeographicLib/Geodesic.hpp>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace dorvan;
using geo::LatLon;

struct Region {
    const char* name;
    std::vector<LatLon> places;
};

// Approximate town centres; what matters is that they are real spreads of places.
const std::vector<Region>& regions()
{
    static const std::vector<Region> r {
        { "Slovakia",
            { { 48.1486, 17.1077 }, { 48.7164, 21.2611 }, { 48.9984, 21.2339 }, { 49.2231, 18.7394 },
                { 48.3069, 18.0864 }, { 48.7363, 19.1462 }, { 47.7633, 18.1289 }, { 49.2918, 21.2727 },
                { 48.7543, 21.9195 } } },
        { "Norway 62-68 N",
            { { 62.4722, 6.1495 }, { 63.4305, 10.3951 }, { 67.2804, 14.4049 }, { 66.3128, 14.1428 },
                { 64.0149, 11.4954 }, { 63.1105, 7.7279 }, { 65.8363, 13.1934 }, { 64.4662, 11.4950 } } },
        { "across 180 degrees",
            { { -18.1416, 178.4419 }, { -17.7765, 177.4356 }, { -16.4332, 179.3645 }, { -16.8500, -179.9700 },
                { -18.2000, -178.8000 }, { -19.0500, 178.2000 }, { -17.0000, -179.3000 } } },
    };
    return r;
}

double geodesicKm(LatLon a, LatLon b)
{
    double metres = 0.0;
    GeographicLib::Geodesic::WGS84().Inverse(a.latitude, a.longitude, b.latitude, b.longitude, metres);
    return metres / 1000.0;
}

double longitudeDifference(double a, double b)
{
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

TEST(LocalProjection, DistancesBackTransformAndFalseOriginHoldInEveryRegion)
{
    for (const Region& region : regions()) {
        SCOPED_TRACE(region.name);
        const geo::LocalProjection local = geo::localProjection(region.places);
        ASSERT_FALSE(local.tooFar);
        ASSERT_EQ(local.points.size(), region.places.size());
        EXPECT_LE(local.definition.size(), geo::MaxDefinitionLength);
        EXPECT_EQ(local.definition.rfind("+proj=aeqd ", 0), 0u) << local.definition;
        EXPECT_NE(local.definition.find("+datum=WGS84 +units=km"), std::string::npos);
        const auto stored = geo::Projection::create(local.definition);
        ASSERT_TRUE(stored);
        for (std::size_t i = 0; i < region.places.size(); ++i) {
            const geo::PlanarPoint p = local.points[i];
            EXPECT_GE(p.x, 1.0);
            EXPECT_GE(p.y, 1.0);
            // Four decimals, as typed entry keeps them.
            EXPECT_NEAR(p.x * 1e4, std::round(p.x * 1e4), 1e-3);
            const auto back = stored->toLatLon(p);
            ASSERT_TRUE(back);
            EXPECT_NEAR(back->latitude, region.places[i].latitude, 1e-5) << i;
            EXPECT_LE(longitudeDifference(back->longitude, region.places[i].longitude), 1e-5) << i;
            for (std::size_t j = i + 1; j < region.places.size(); ++j) {
                const double geodesic = geodesicKm(region.places[i], region.places[j]);
                const double planar = std::hypot(p.x - local.points[j].x, p.y - local.points[j].y);
                EXPECT_LE(std::fabs(planar - geodesic), 0.001 * geodesic) << i << "-" << j;
            }
        }
    }
}

TEST(LocalProjection, CentreLiesOnTheShortestArcAndFarPlacesAreNamed)
{
    EXPECT_GT(std::fabs(geo::localProjection(regions()[2].places).centre.longitude), 179.0);
    // Bounding box middle: latitudes 47.7633..49.2918, longitudes 17.1077..21.9195.
    const LatLon slovak = geo::localProjection(regions()[0].places).centre;
    EXPECT_NEAR(slovak.latitude, (47.7633 + 49.2918) / 2, 1e-6);
    EXPECT_NEAR(slovak.longitude, (17.1077 + 21.9195) / 2, 1e-6);

    // New York is about 7,000 km from Bratislava: the list's middle is over 2,000 km from both.
    const geo::LocalProjection far = geo::localProjection({ { 48.1486, 17.1077 }, { 40.7128, -74.0060 } });
    ASSERT_TRUE(far.tooFar);
    EXPECT_GT(far.tooFarKm, 2000.0);
    EXPECT_TRUE(far.points.empty());
}

TEST(GridToWgs84, SJtskGivesThePublishedPositions)
{
    // The centre coordinates epsg.io publishes for the areas of use of EPSG:5514 and of its
    // Slovak transformation, with the middle of each area's WGS84 bounds:
    //   https://epsg.io/5514       -544006.67 -1144002.81 for 12.09..22.56 E, 47.73..51.06 N
    //   https://epsg.io/5514-8443  -377604.01 -1238664.83 for 16.84..22.56 E, 47.73..49.61 N
    // PROJ may choose another datum shift than the page's; a few metres are within 1e-4 degrees.
    const auto grid = geo::GridToWgs84::create("EPSG:5514");
    ASSERT_TRUE(grid);
    struct Published {
        double x, y, latitude, longitude;
    };
    for (const Published& p :
        { Published { -544006.67, -1144002.81, (47.73 + 51.06) / 2, (12.09 + 22.56) / 2 },
            Published { -377604.01, -1238664.83, (47.73 + 49.61) / 2, (16.84 + 22.56) / 2 } }) {
        const auto ll = grid->toLatLon(p.x, p.y);
        ASSERT_TRUE(ll);
        EXPECT_NEAR(ll->latitude, p.latitude, 1e-4);
        EXPECT_NEAR(ll->longitude, p.longitude, 1e-4);
    }
    for (const char* bad : { "EPSG:999999", "EPSG:", "epsg:abc", "WGS84", "EPSG:5514 " })
        EXPECT_FALSE(geo::GridToWgs84::create(bad)) << bad;
}

TEST(ProjectReference, OnlyAcceptedDefinitionsCount)
{
    const std::string good
        = "+proj=aeqd +lat_0=48.5 +lon_0=19.5 +x_0=300000 +y_0=200000 +datum=WGS84 +units=km";
    auto r = std::make_unique<TProjectRecord>();
    EXPECT_FALSE(geo::projectReference(*r));
    ASSERT_TRUE(geo::setProjectReference(*r, good));
    EXPECT_EQ(geo::projectReference(*r), good);
    // A point of the plane: the centre lies at the false origin, 300 km east and 200 km north.
    const auto centre = geo::toLatLon(*r, 300.0, 200.0);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(centre->latitude, 48.5, 1e-9);
    EXPECT_NEAR(centre->longitude, 19.5, 1e-9);

    // Other text in the field, as older or damaged files may hold: no reference, nothing taken.
    for (const std::string& other : { std::string("Hlavny sklad"), std::string("+proj=nonsense +units=km"),
             std::string("+proj=longlat +datum=WGS84"), std::string(" +proj=aeqd +datum=WGS84"),
             std::string("proj=aeqd +datum=WGS84 +units=km") }) {
        auto other100 = std::make_unique<TProjectRecord>(*r);
        other100->PlaceName[100] = Text100::fromBytes(other);
        EXPECT_FALSE(geo::projectReference(*other100)) << other;
        EXPECT_FALSE(geo::toLatLon(*other100, 1.0, 1.0)) << other;
        EXPECT_FALSE(geo::setProjectReference(*other100, other)) << other;
        EXPECT_EQ(other100->PlaceName[100].bytes(), other.substr(0, 100)) << other;
    }
    // More than the field's 100 characters is never stored.
    EXPECT_FALSE(geo::setProjectReference(*r, good + " +no_defs +wktext +over"));
    EXPECT_EQ(geo::projectReference(*r), good);
    geo::clearProjectReference(*r);
    EXPECT_FALSE(geo::projectReference(*r));
    EXPECT_TRUE(r->PlaceName[100].empty());
}

TEST(ProjectReference, SurvivesSavingSortingAndDeletingPlaces)
{
    const std::string def
        = "+proj=aeqd +lat_0=64.9 +lon_0=10.3 +x_0=250000 +y_0=310000 +datum=WGS84 +units=km";
    // A full list of 99 places, the most entry ever gives, in reverse name order.
    auto r = std::make_unique<TProjectRecord>();
    ResetProjectAtStart(*r);
    for (int p = 1; p <= 99; ++p) {
        char name[16];
        std::snprintf(name, sizeof name, "P%03d", 100 - p);
        storeNewPlace(*r, p, Text100::fromUtf8(name), p, 2.0 * p);
    }
    computeDistances(*r, 99);
    ASSERT_TRUE(geo::setProjectReference(*r, def));
    r->SavedPlaceCount = 99;

    const auto path = std::filesystem::temp_directory_path() / "geo_reference_test.mzd";
    saveProjectFile(path.string(), *r, RgbPicture {});
    auto opened = std::make_unique<LoadedProject>(readProjectFile(path.string()));
    std::filesystem::remove(path);
    EXPECT_EQ(geo::projectReference(opened->record), def);

    TProjectRecord& s = opened->record;
    sortPlacesByName(s, 99);
    EXPECT_EQ(displayName(s.PlaceName[1]), "P001");
    EXPECT_EQ(geo::projectReference(s), def);
    removePlace(s, 1, 99);
    removePlace(s, 50, 98);
    EXPECT_EQ(geo::projectReference(s), def);

    // Deleting a place of the picture page renames the places after it by their numbers.
    Project project;
    project.Record = s;
    project.State.PlaceCount = 97;
    PlaceEntry entry(project);
    entry.deletePlace(3, 97, true);
    entry.deletePlace(96, 96, true);
    EXPECT_EQ(geo::projectReference(project.Record), def);
}

TEST(PositionText, NamesTheHemispheresInSlovak)
{
    struct Case {
        LatLon p;
        const char* text;
    };
    for (const Case& c : {
             Case { { 48.73123449, 19.14567891 }, "Poloha optima: 48,7312345° s. š., 19,1456789° v. d." },
             Case { { -33.8688, -70.5 }, "Poloha optima: 33,8688000° j. š., 70,5000000° z. d." },
             Case { { -0.00000001, 179.99999996 }, "Poloha optima: 0,0000000° s. š., 180,0000000° v. d." },
         })
        EXPECT_EQ(geo::formatPosition(c.p), c.text);
}

// The import of real coordinates: what it refuses, and that every refusal names its line.
TEST(PlaceCsvCoordinates, BadCoordinatesAreRefusedNamingTheLine)
{
    struct Case {
        const char* csv;
        const char* crs;
        int line;
        const char* says;
    };
    const Case cases[] = {
        { "name;lat;lon\nA;91;17\nB;48;18\n", "", 2, "latitude \"91\" is outside -90 to 90" },
        { "name;lat;lon\nA;48;17\nB;48;-180,5\n", "", 3, "longitude \"-180,5\" is outside -180 to 180" },
        { "name;lat;lon\nA;48;17\nB;;18\n", "", 3, "the latitude is missing" },
        { "name;lat;lon\nA;48;17\nB;48;east\n", "", 3, "longitude \"east\" is not a number" },
        { "name;lat;lon\nA;48.1;17\nB;48;1e2\n", "", 3, "longitude \"1e2\" is not a number" },
        // The middle lies between the two; New York, on the lower latitude, is the farther.
        { "name;lat;lon\nBratislava;48.15;17.11\nNew York;40.71;-74.01\n", "", 3, "within 2000 km" },
        { "name;x;y\nA;-568000;-1160000\nB;-560000;-1200000\n", "EPSG:999999", 0, "EPSG:999999" },
        { "name;x;y\nA;-568000;-1160000\nB;-560000;north\n", "EPSG:5514", 3, "Y \"north\" is not a number" },
        { "name;lat;lon\nA;48;17\nB;48;18\n", "EPSG:5514", 1, "latitude and longitude" },
        { "mesto;lat;lon;name\nA;48;17;A\nB;48;18;B\n", "", 1, "\"mesto\" is none of" },
    };
    for (const Case& c : cases) {
        const cli::PlaceCsv csv = cli::readPlaceCsv(c.csv, { c.crs });
        ASSERT_FALSE(csv.ok()) << c.csv;
        ASSERT_EQ(csv.problems.size(), 1u) << c.csv << csv.problems.back().message;
        EXPECT_EQ(csv.problems[0].line, c.line) << c.csv;
        EXPECT_NE(csv.problems[0].message.find(c.says), std::string::npos) << csv.problems[0].message;
    }
}

TEST(PlaceCsvCoordinates, NamedColumnsInAnyOrderGiveTheReferenceAndTheCriteria)
{
    // Slovak headers in capitals, longitude first, x/y beside them.
    const cli::PlaceCsv csv
        = cli::readPlaceCsv("D\xC4\xB9\xC5\xBDKA;x;Cena;\xC5\xA0\xC3\x8DRKA;N\xC3\x81ZOV;y\n"
                            "17,1077;1;2;48,1486;Bratislava;1\n"
                            "21.2611;1;3;48.7164;Ko\xC5\xA1ice;1\n"
                            "18,7394;1;4;49,2231;\xC5\xBDilina;1\n");
    ASSERT_TRUE(csv.ok()) << csv.problems[0].message;
    EXPECT_TRUE(csv.geographic);
    EXPECT_FALSE(csv.quantity);
    EXPECT_TRUE(csv.price);
    ASSERT_EQ(csv.notices.size(), 1u);
    EXPECT_NE(csv.notices[0].find("x and y columns are ignored"), std::string::npos);
    EXPECT_EQ(geo::projectReference(csv.record), csv.reference);
    // Sorted by name: Bratislava, Košice, Žilina; the price went with each.
    EXPECT_EQ(csv.record.PlacePrice[2], 3.0);
    const auto kosice = geo::toLatLon(csv.record, csv.record.PlaceX[2], csv.record.PlaceY[2]);
    ASSERT_TRUE(kosice);
    EXPECT_NEAR(kosice->latitude, 48.7164, 1e-5);
    EXPECT_NEAR(kosice->longitude, 21.2611, 1e-5);
    // The planar distance is the geodesic one within 0.1 % (GeographicLib).
    EXPECT_NEAR(csv.record.Distance[1][2], geodesicKm({ 48.1486, 17.1077 }, { 48.7164, 21.2611 }),
        0.001 * csv.record.Distance[1][2]);
    EXPECT_TRUE(csv.record.PlaceName[100].bytes() == csv.reference);

    // Czech and longer Slovak names of the columns give the same places.
    const char* const headers[] = { "n\xC3\xA1zev;zem\xC4\x9Bpisn\xC3\xA1 "
                                    "\xC5\xA1\xC3\xAD\xC5\x99ka;zem\xC4\x9Bpisn\xC3\xA1 d\xC3\xA9lka",
        "N\xC3\x81ZEV;\xC5\xA0\xC3\x8D\xC5\x98KA;D\xC3\x89LKA",
        "N\xC3\xA1zov;Zemepisn\xC3\xA1 \xC5\xA1\xC3\xADrka;Zemepisn\xC3\xA1 d\xC4\xBA\xC5\xBEka",
        "Name;Latitude;Longitude" };
    for (const char* header : headers) {
        const cli::PlaceCsv named = cli::readPlaceCsv(
            std::string(header) + "\nBratislava;48,1486;17,1077\nKo\xC5\xA1ice;48,7164;21,2611\n");
        ASSERT_TRUE(named.ok()) << header << ": " << named.problems[0].message;
        EXPECT_TRUE(named.geographic) << header;
        const auto kosice = geo::toLatLon(named.record, named.record.PlaceX[2], named.record.PlaceY[2]);
        ASSERT_TRUE(kosice) << header;
        EXPECT_NEAR(kosice->latitude, 48.7164, 1e-5) << header;
        EXPECT_NEAR(kosice->longitude, 21.2611, 1e-5) << header;
    }

    // Plain x/y without --crs stay exactly as they were: no reference.
    const cli::PlaceCsv plain = cli::readPlaceCsv("name;x;y\nA;1;2\nB;3;4\n");
    ASSERT_TRUE(plain.ok());
    EXPECT_FALSE(geo::projectReference(plain.record));
    EXPECT_TRUE(plain.record.PlaceName[100].empty());
}

} // namespace

// A reference naming a grid the machine lacks: PROJ is told by the environment to fetch grids
// from a listener of this test, and nothing connects.
TEST(ProjectReference, NoGridIsFetchedWhateverTheEnvironmentSays)
{
    testnet::LoopbackListener listener;
    // Were a request ever sent, it would be answered by a closed connection at once.
    std::atomic<bool> done { false };
    std::atomic<int> connections { 0 };
    std::thread closer([&] {
        while (!done) {
            connections += listener.pendingConnections();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    ::setenv("PROJ_NETWORK", "ON", 1);
    ::setenv("PROJ_NETWORK_ENDPOINT", listener.url("").c_str(), 1);
    const auto p = dorvan::geo::Projection::create(
        "+proj=tmerc +lon_0=15 +ellps=bessel +nadgrids=dorvan_missing_grid.tif +units=km");
    if (p)
        (void)p->toPlanar({ 48.0, 17.0 });
    ::setenv("PROJ_NETWORK", "OFF", 1);
    ::unsetenv("PROJ_NETWORK_ENDPOINT");
    done = true;
    closer.join();
    connections += listener.pendingConnections();
    EXPECT_EQ(connections, 0);
}
