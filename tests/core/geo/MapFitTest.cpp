// Maps fitted to projects, checked against positions worked out without the code under test:
// the red block's latitude/longitude from the raster's own numbers (degrees as they stand, the
// spherical Mercator formulas, GeographicLib's UTM), then carried by the project's reference.

#include "core/geo/MapFit.h"
#include "core/common/MapRaster.h"
#include "core/entry/MapPlacement.h"
#include "core/geo/GeoReference.h"
#include "core/project/Project.h"

#include "support/TestRasters.h"

#include <GeographicLib/UTMUPS.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <unistd.h>

namespace {

using namespace dorvan;
using geo::LatLon;
using testrasters::Form;
namespace fs = std::filesystem;

// A folder of this run's rasters, gone when the tests end.
struct Scratch {
    fs::path dir = fs::temp_directory_path() / ("dorvan_map_" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(dir); }
    ~Scratch()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

fs::path scratch(const std::string& name)
{
    static Scratch s;
    return s.dir / name;
}

enum class System { Degrees, Mercator, Utm34 };

struct MapCase {
    const char* name;
    Form form;
    System system;
    testrasters::Raster raster;
};

const MapCase Maps[] = {
    { "GeoTIFF in EPSG:4326", Form::GeoTiff, System::Degrees,
        { 200, 150, { 18.0, 0.005, 0.0, 49.0, 0.0, -0.005 }, "EPSG:4326", 60, 40 } },
    { "GeoTIFF in EPSG:3857", Form::GeoTiff, System::Mercator,
        { 200, 150, { 2000000.0, 500.0, 0.0, 6270000.0, 0.0, -500.0 }, "EPSG:3857", 150, 100 } },
    { "PNG with a world file and .prj in EPSG:32634", Form::PngWorldPrj, System::Utm34,
        { 200, 150, { 350000.0, 400.0, 0.0, 5400000.0, 0.0, -400.0 }, "EPSG:32634", 30, 120 } },
    { "JPEG with a world file and .prj in EPSG:32634", Form::JpegWorldPrj, System::Utm34,
        { 200, 150, { 360000.0, 300.0, 0.0, 5390000.0, 0.0, -300.0 }, "EPSG:32634", 120, 50 } },
};

// The centre of pixel (c, r) of the raster in latitude/longitude, by the system's own formulas.
LatLon knownPoint(const MapCase& m)
{
    const auto& t = m.raster.transform;
    const double x = t[0] + (m.raster.redColumn + 0.5) * t[1];
    const double y = t[3] + (m.raster.redRow + 0.5) * t[5];
    switch (m.system) {
    case System::Degrees:
        return { y, x };
    case System::Mercator: {
        constexpr double R = 6378137.0;
        const double deg = 180.0 / std::numbers::pi;
        return { (2.0 * std::atan(std::exp(y / R)) - std::numbers::pi / 2.0) * deg, x / R * deg };
    }
    case System::Utm34: {
        LatLon p;
        GeographicLib::UTMUPS::Reverse(34, true, x, y, p.latitude, p.longitude);
        return p;
    }
    }
    return {};
}

// The centroid of the red in a picture, in pixel units (a pixel's centre at c + 0.5).
struct Spot {
    double u = 0.0, v = 0.0;
    double weight = 0.0;
};
Spot redSpot(const RgbPicture& p)
{
    Spot s;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const auto c = p.pixel(x, y);
            const double red = c.r - std::max(c.g, c.b);
            if (red > 32) {
                s.u += (x + 0.5) * red;
                s.v += (y + 0.5) * red;
                s.weight += red;
            }
        }
    if (s.weight > 0) {
        s.u /= s.weight;
        s.v /= s.weight;
    }
    return s;
}

struct ProjectCase {
    const char* name;
    std::optional<std::string> reference;
    std::vector<geo::PlanarPoint> places;
};

// A reference whose origin lies inside every map (so the map reaches below 0 and the origin
// moves), and one far enough west and south that nothing moves; with a place far to the east.
const ProjectCase Projects[] = {
    { "no reference", std::nullopt, {} },
    { "reference, map below 0", geo::localDefinition({ 48.7, 19.0 }, 10000, 20000),
        { { 5.0, 5.0 }, { 300.0, 60.0 } } },
    { "reference, map inside", geo::localDefinition({ 48.7, 19.0 }, 400000, 300000), { { 420.0, 310.0 } } },
};

} // namespace

TEST(MapFit, TheRedBlockLandsWhereTheReferencePutsItAndAClickGivesItBack)
{
    for (const MapCase& m : Maps) {
        const char* extension = m.form == Form::GeoTiff ? ".tif"
            : m.form == Form::JpegWorldPrj              ? ".jpg"
                                                        : ".png";
        const fs::path file = scratch(std::string("map") + std::to_string(&m - Maps) + extension);
        testrasters::write(file, m.raster, m.form);
        RasterOpen opened = RasterFile::open(file.string());
        ASSERT_TRUE(opened.ok()) << m.name;
        ASSERT_TRUE(opened.file->georeference()) << m.name;
        std::string message;
        const auto pixels = opened.file->readRgb(message);
        ASSERT_TRUE(pixels) << message;
        const LatLon known = knownPoint(m);
        for (const ProjectCase& pc : Projects) {
            SCOPED_TRACE(std::string(m.name) + ", " + pc.name);
            const geo::MapFitResult r
                = geo::fitMap(*pixels, *opened.file->georeference(), { pc.reference, pc.places, {} });
            ASSERT_TRUE(r.ok()) << r.message;
            const geo::MapFit& f = *r.fit;
            const auto plane = geo::Projection::create(f.reference);
            ASSERT_TRUE(plane) << f.reference;
            const int w = f.picture.width(), h = f.picture.height();
            const double pixelKm = std::max(double(f.rangeX) / w, double(f.rangeY) / h);

            // The block where the reference puts the known point, within one picture pixel.
            const auto xy = plane->toPlanar(known);
            ASSERT_TRUE(xy);
            const Spot spot = redSpot(f.picture);
            ASSERT_GT(spot.weight, 0.0);
            EXPECT_NEAR(spot.u, xy->x * w / f.rangeX, 1.0);
            EXPECT_NEAR(spot.v, (f.rangeY - xy->y) * h / f.rangeY, 1.0);

            // A click on the block's pixel of the picture shown at its own size.
            const auto km = kilometresFromPixel(int(spot.u), int(spot.v), w, h, f.rangeX, f.rangeY);
            ASSERT_TRUE(km);
            const auto clicked = plane->toLatLon({ km->x, km->y });
            ASSERT_TRUE(clicked);
            const auto back = plane->toPlanar(*clicked);
            EXPECT_LE(std::hypot(back->x - xy->x, back->y - xy->y), 1.5 * pixelKm);

            // Places stay inside, at the same latitude/longitude after the origin moved.
            const auto before = pc.reference ? geo::Projection::create(*pc.reference) : std::nullopt;
            for (const geo::PlanarPoint& p : pc.places) {
                const geo::PlanarPoint moved { p.x + f.shiftX, p.y + f.shiftY };
                EXPECT_LE(moved.x, f.rangeX);
                EXPECT_LE(moved.y, f.rangeY);
                EXPECT_GE(std::min(moved.x, moved.y), 0.0);
                const auto a = before->toLatLon(p), b = plane->toLatLon(moved);
                EXPECT_NEAR(a->latitude, b->latitude, 1e-7);
                EXPECT_NEAR(a->longitude, b->longitude, 1e-7);
            }
            // Nothing of the map below 0: every corner of the raster at X, Y >= 0 (a metre of play).
            for (int corner = 0; corner < 4; ++corner) {
                const auto& t = m.raster.transform;
                const double cx = t[0] + (corner % 2) * m.raster.width * t[1];
                const double cy = t[3] + (corner / 2) * m.raster.height * t[5];
                testrasters::Raster c = m.raster;
                c.transform = { cx - 0.5 * t[1], t[1], 0, cy - 0.5 * t[5], 0, t[5] };
                c.redColumn = c.redRow = 0;
                const auto q = plane->toPlanar(knownPoint({ m.name, m.form, m.system, c }));
                EXPECT_GE(q->x, -0.001);
                EXPECT_GE(q->y, -0.001);
                EXPECT_LE(q->x, f.rangeX);
                EXPECT_LE(q->y, f.rangeY);
            }
            if (!pc.reference) {
                EXPECT_EQ(f.reference.rfind("+proj=aeqd ", 0), 0u);
                EXPECT_EQ(f.shiftX, 0.0);
            }
        }
    }
}

TEST(MapRaster, GreyPaletteAndOneBitPicturesComeOutInRgb)
{
    GDALAllRegister();
    struct Case {
        const char* name;
        const char* driver;
        const char* file;
        int kind; // 0 grey, 1 palette, 2 one bit, 3 16-bit grey
        RgbPicture::Rgb at1x1;
        RgbPicture::Rgb at0x0;
    };
    const Case cases[] = {
        { "grey PNG", "PNG", "grey.png", 0, { 100, 100, 100 }, { 0, 0, 0 } },
        { "palette PNG", "PNG", "palette.png", 1, { 10, 20, 30 }, { 200, 150, 100 } },
        { "1-bit GeoTIFF", "GTiff", "bits.tif", 2, { 255, 255, 255 }, { 0, 0, 0 } },
        // 0x6480 keeps its high byte, 100; 0x00FF is 0.
        { "16-bit grey PNG", "PNG", "grey16.png", 3, { 100, 100, 100 }, { 0, 0, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = scratch(c.file);
        const char* nbits[] = { "NBITS=1", nullptr };
        const GDALDataType type = c.kind == 3 ? GDT_UInt16 : GDT_Byte;
        GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", 4, 3, 1, type, nullptr);
        std::uint16_t values[12] = {};
        values[0] = c.kind == 3 ? 0x00FF : 0;
        values[5] = c.kind == 0 ? 100 : c.kind == 3 ? 0x6480 : 1; // pixel (1, 1)
        ASSERT_EQ(
            GDALRasterIO(GDALGetRasterBand(mem, 1), GF_Write, 0, 0, 4, 3, values, 4, 3, GDT_UInt16, 0, 0),
            CE_None);
        if (c.kind == 1) {
            GDALColorTableH table = GDALCreateColorTable(GPI_RGB);
            const GDALColorEntry e0 { 200, 150, 100, 255 }, e1 { 10, 20, 30, 255 };
            GDALSetColorEntry(table, 0, &e0);
            GDALSetColorEntry(table, 1, &e1);
            GDALSetRasterColorTable(GDALGetRasterBand(mem, 1), table);
            GDALDestroyColorTable(table);
        }
        GDALClose(GDALCreateCopy(GDALGetDriverByName(c.driver), path.c_str(), mem, FALSE,
            c.kind == 2 ? const_cast<char**>(nbits) : nullptr, nullptr, nullptr));
        GDALClose(mem);
        RasterOpen opened = RasterFile::open(path.string());
        ASSERT_TRUE(opened.ok());
        EXPECT_FALSE(opened.file->georeference());
        std::string message;
        const auto p = opened.file->readRgb(message);
        ASSERT_TRUE(p);
        ASSERT_EQ(p->rgb.size(), 36u);
        EXPECT_EQ((RgbPicture::Rgb { p->rgb[15], p->rgb[16], p->rgb[17] }), c.at1x1);
        EXPECT_EQ((RgbPicture::Rgb { p->rgb[0], p->rgb[1], p->rgb[2] }), c.at0x0);
    }
}

TEST(MapPlacement, BadMapsAreRefusedWithAClearMessageAndNothingChanges)
{
    const testrasters::Raster utm { 200, 150, { 350000.0, 400.0, 0.0, 5400000.0, 0.0, -400.0 }, "EPSG:32634",
        30, 120 };
    const fs::path noSystem = scratch("nosystem.png");
    testrasters::write(noSystem, utm, Form::PngWorldOnly);
    const fs::path text = scratch("text.png");
    std::ofstream(text) << "this is no picture at all\n";
    const fs::path wide = scratch("wide.tif");
    testrasters::writeSparse(wide, MaxRasterSide + 1, 2);
    const fs::path heavy = scratch("heavy.tif");
    testrasters::writeSparse(heavy, 19000, 19000); // 1.08 GB of RGB before any warping

    struct Case {
        const char* name;
        fs::path file;
        std::optional<int> epsg;
        MapLoad::Kind kind;
        std::string message;
    };
    const Case cases[] = {
        { "not a picture", text, {}, MapLoad::Refused, RasterUnreadableText },
        { "wider than 20,000", wide, {}, MapLoad::Refused, RasterTooLargeText },
        { "warp over 1 GB", heavy, {}, MapLoad::Refused, WarpTooLargeText },
        { "no system", noSystem, {}, MapLoad::NeedsSystem, geo::MapSystemQuestion },
        { "unknown EPSG", noSystem, 999999, MapLoad::Refused, geo::unknownEpsgText(999999) },
        { "system given", noSystem, 32634, MapLoad::Map, "" },
    };
    Project project;
    const TProjectRecord before = project.Record;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapLoad m = loadMapFile(c.file.string(), project, 0, c.epsg);
        EXPECT_EQ(m.kind, c.kind);
        EXPECT_EQ(m.message, c.message);
        EXPECT_TRUE(project.MapPicture.empty());
        EXPECT_EQ(project.Record.PlaceName[geo::ReferenceEntry], before.PlaceName[geo::ReferenceEntry]);
    }
}

TEST(MapPlacement, ScaleTextsAndClicksInKilometres)
{
    struct Text {
        const char* text;
        std::optional<int> km;
        bool ok;
    };
    for (const Text& t :
        { Text { "", std::nullopt, true }, Text { " 12 ", 12, true }, Text { "0", std::nullopt, false },
            Text { "2,5", std::nullopt, false }, Text { "2.0", std::nullopt, false },
            Text { "-3", std::nullopt, false }, Text { "x", std::nullopt, false } }) {
        const KilometresText k = parseKilometres(t.text);
        EXPECT_EQ(k.km, t.km) << t.text;
        EXPECT_EQ(k.ok, t.ok) << t.text;
    }
    // 640 x 480 pixels: 50 km wide is 37.5 km high, to the nearest whole kilometre 38 (halves to even).
    struct Scale {
        std::optional<int> w, h;
        int x, y;
    };
    for (const Scale& s :
        { Scale { 50, {}, 50, 38 }, Scale { {}, 30, 40, 30 }, Scale { 7, 9, 7, 9 }, Scale { 1, {}, 1, 1 } }) {
        const auto r = scaleRanges(s.w, s.h, 640, 480);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->x, s.x);
        EXPECT_EQ(r->y, s.y);
    }
    EXPECT_FALSE(scaleRanges({}, {}, 640, 480));

    // X = x Rx / CW, Y = (CH - y - 1) Ry / (CH - 1), by hand: 50 km x 38 km shown at 400 x 300.
    const auto a = kilometresFromPixel(123, 45, 400, 300, 50, 38);
    EXPECT_DOUBLE_EQ(a->x, 15.375); // 123 * 50 / 400
    EXPECT_DOUBLE_EQ(a->y, 32.2809); // 254 * 38 / 299 = 32.28094...
    // The same corner points in any window size: the ranges are kilometres, not the display.
    for (const auto& [cw, ch] : { std::pair { 400, 300 }, std::pair { 800, 600 }, std::pair { 333, 251 } }) {
        EXPECT_DOUBLE_EQ(kilometresFromPixel(0, ch - 1, cw, ch, 50, 38)->x, 0.0);
        EXPECT_DOUBLE_EQ(kilometresFromPixel(0, ch - 1, cw, ch, 50, 38)->y, 0.0);
        EXPECT_DOUBLE_EQ(kilometresFromPixel(cw / 2, 0, cw, ch, 50, 38)->y, 38.0);
        EXPECT_NEAR(kilometresFromPixel(cw / 2, 0, cw, ch, 50, 38)->x, 25.0, 50.0 / cw);
    }
    EXPECT_FALSE(kilometresFromPixel(0, 0, 5, 1, 50, 38));
}

TEST(MapFit, ShiftedDefinitionMovesTheFalseOriginInMetres)
{
    const std::string base = "+proj=aeqd +lat_0=48.7 +lon_0=19 +x_0=5000 +y_0=7000 +datum=WGS84 +units=km";
    EXPECT_EQ(geo::shiftedDefinition(base, 1.5, 0.25),
        "+proj=aeqd +lat_0=48.7 +lon_0=19 +x_0=6500 +y_0=7250 +datum=WGS84 +units=km");
    EXPECT_EQ(geo::shiftedDefinition("+proj=aeqd +lat_0=48.7 +lon_0=19 +datum=WGS84 +units=km", 0.001, 2),
        "+proj=aeqd +lat_0=48.7 +lon_0=19 +datum=WGS84 +units=km +x_0=1 +y_0=2000");
    EXPECT_FALSE(geo::shiftedDefinition(base + std::string(40, ' ') + "+no_defs", 1, 1));
}

// The open path the fuzzer feeds (bytes in memory) and the file path take the same drivers; a
// companion is read as it stands, never as the name of something else to read.
TEST(MapRaster, OnlyPictureFormatsOpenAndCompanionsNameNothingElse)
{
    const testrasters::Raster utm { 40, 30, { 350000.0, 400.0, 0.0, 5400000.0, 0.0, -400.0 }, "EPSG:32634",
        -1, -1 };
    const fs::path tiff = scratch("bytes.tif");
    testrasters::write(tiff, utm, Form::GeoTiff);
    std::ifstream in(tiff, std::ios::binary);
    const std::vector<std::uint8_t> tiffBytes((std::istreambuf_iterator<char>(in)), {});
    const fs::path secret = scratch("secret.raw");
    std::ofstream(secret) << std::string(64 * 28, 'S');
    const std::string vrt
        = "<VRTDataset rasterXSize=\"64\" rasterYSize=\"28\"><VRTRasterBand dataType=\"Byte\" "
          "band=\"1\" subClass=\"VRTRawRasterBand\"><SourceFilename>"
        + secret.string() + "</SourceFilename></VRTRasterBand></VRTDataset>";
    const std::vector<std::uint8_t> vrtBytes(vrt.begin(), vrt.end());
    const RasterOpen fromTiff = RasterFile::openBytes(tiffBytes);
    ASSERT_TRUE(fromTiff.ok());
    EXPECT_EQ(fromTiff.file->width(), 40);
    EXPECT_EQ(fromTiff.file->georeference()->transform[1], 400.0);
    const RasterOpen fromVrt = RasterFile::openBytes(vrtBytes);
    EXPECT_FALSE(fromVrt.ok());
    EXPECT_EQ(fromVrt.message, RasterUnreadableText);

    // A .prj whose text is the name of a file holding a system's WKT: no system.
    const fs::path png = scratch("named.png");
    testrasters::write(png, utm, Form::PngWorldOnly);
    const fs::path wkt = scratch("utm34.wkt");
    std::ofstream(wkt) << testrasters::wktOf("EPSG:32634");
    std::ofstream(scratch("named.prj")) << wkt.string();
    const RasterOpen named = RasterFile::open(png.string());
    ASSERT_TRUE(named.ok());
    ASSERT_TRUE(named.file->georeference());
    EXPECT_EQ(named.file->georeference()->system, "");
    // The same WKT written in the .prj is the system.
    std::ofstream(scratch("named.prj")) << testrasters::wktOf("EPSG:32634");
    EXPECT_NE(
        RasterFile::open(png.string()).file->georeference()->system.find("UTM zone 34N"), std::string::npos);

    // Local regular files only, by their absolute names.
    struct PathCase {
        std::string path;
        bool local;
    };
    const PathCase paths[] = {
        { tiff.string(), true },
        { scratch("").string(), false }, // a folder
        { scratch("missing.tif").string(), false },
        { "/vsicurl/http://127.0.0.1:9/x.tif", false },
        { "/VSIZIP/" + tiff.string(), false },
        { "/vsimem/x.tif", false },
        { "GTIFF_DIR:1:" + tiff.string(), false },
        { "/dev/null", false },
    };
    for (const PathCase& c : paths)
        EXPECT_EQ(localRasterPath(c.path).has_value(), c.local) << c.path;
    const fs::path here = fs::current_path();
    fs::current_path(tiff.parent_path());
    EXPECT_EQ(localRasterPath("bytes.tif"), tiff.string());
    fs::current_path(here);
}

TEST(MapFit, PlacesAgainstTheMapsAreaByHand)
{
    // A 10 x 6 square with a notch: (0,0) (10,0) (10,6) (5,6) (5,3) (0,3).
    const std::vector<geo::PlanarPoint> ring { { 0, 0 }, { 10, 0 }, { 10, 6 }, { 5, 6 }, { 5, 3 }, { 0, 3 } };
    struct Case {
        std::vector<geo::PlanarPoint> places;
        int outside;
        double nearest;
    };
    const Case cases[] = {
        { { { 1, 1 }, { 9, 5 } }, 0, 0.0 }, // both inside
        { { { 2, 5 } }, 1, 2.0 }, // in the notch: 2 below its top edge... nearest side y = 3, 2 away
        { { { 13, 10 }, { -1, 1 } }, 2, 1.0 }, // 5 from the corner (10,6); 1 left of x = 0
        { { { 10, 2 } }, 0, 0.0 }, // on the edge counts as on the map
        { { { 5, 9 }, { 12, -4 } }, 2, 3.0 }, // 3 above (5,6); hypot(2, 4) = 4.47 from (10,0)
    };
    for (const Case& c : cases) {
        const geo::PlacesAgainstArea a = geo::placesAgainstArea(ring, c.places);
        EXPECT_EQ(a.outside, c.outside) << c.places.front().x;
        EXPECT_NEAR(a.nearestOutside, c.nearest, 1e-12) << c.places.front().x;
    }
}

// A UTM map into a project whose plane is the same UTM zone in kilometres: the map's area is
// the rectangle [350, 430] x [5340, 5400] km, so distances are worked out by hand.
TEST(MapFit, PlacesOffTheMapAreCountedAndAMapFarFromEveryPlaceIsToldApart)
{
    const testrasters::Raster utm { 200, 150, { 350000.0, 400.0, 0.0, 5400000.0, 0.0, -400.0 }, "EPSG:32634",
        -1, -1 };
    const fs::path file = scratch("area.tif");
    testrasters::write(file, utm, Form::GeoTiff);
    const std::string plane = "+proj=utm +zone=34 +datum=WGS84 +units=km";
    struct Case {
        std::vector<geo::PlanarPoint> places;
        int outside;
        double nearest;
        bool far;
        std::string told;
    };
    const Case cases[] = {
        { { { 360, 5350 }, { 429, 5341 } }, 0, 0.0, false, "0 miest leží mimo mapy" },
        { { { 360, 5350 }, { 300, 5350 }, { 440, 5410 } }, 2, std::hypot(10.0, 10.0), false,
            "2 miesta ležia mimo mapy" },
        { { { 300, 5350 }, { 500, 5370 } }, 2, 50.0, true, "2 miesta ležia mimo mapy" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.told);
        const MapLoad m = loadMapFile(file.string(), MapLoadInputs { plane, c.places }, std::nullopt);
        ASSERT_EQ(m.kind, MapLoad::Map) << m.message;
        EXPECT_EQ(m.fit->placesChecked, static_cast<int>(c.places.size()));
        EXPECT_EQ(m.fit->placesOutside, c.outside);
        EXPECT_NEAR(m.fit->nearestOutsideKm, c.nearest, 0.01);
        EXPECT_EQ(farFromEveryPlace(*m.fit), c.far);
        EXPECT_EQ(placesOutsideText(c.outside), c.told);
    }
    const MapLoad far = loadMapFile(file.string(), MapLoadInputs { plane, cases[2].places }, std::nullopt);
    EXPECT_EQ(farMapQuestion(*far.fit),
        "Žiadne miesto projektu neleží na mape, najbližšie je 50 km od jej okraja. Vložiť MAPU aj tak ?!!");
    EXPECT_EQ(placesOutsideText(1), "1 miesto leží mimo mapy");
    EXPECT_EQ(placesOutsideText(5), "5 miest leží mimo mapy");
    EXPECT_EQ(placesOutsideText(21), "21 miest leží mimo mapy");

    // Reading and warping report their share done in order up to the whole; a stop at any
    // point gives a stopped load.
    std::vector<double> shares;
    const MapLoad reported
        = loadMapFile(file.string(), MapLoadInputs { plane, {} }, std::nullopt, [&](double done) {
              shares.push_back(done);
              return true;
          });
    ASSERT_EQ(reported.kind, MapLoad::Map);
    ASSERT_GE(shares.size(), 3u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_DOUBLE_EQ(shares.back(), 1.0);
    EXPECT_TRUE(std::any_of(shares.begin(), shares.end(), [](double s) { return s == 0.5; }));
    // A stop while reading, and one while warping (after the first half, before the end).
    const auto warping = static_cast<std::size_t>(std::find_if(shares.begin(), shares.end(), [](double s) {
        return s > 0.5 && s < 1.0;
    }) - shares.begin());
    ASSERT_LT(warping, shares.size());
    for (std::size_t stopAt : { std::size_t { 0 }, warping }) {
        std::size_t calls = 0;
        const MapLoad stopped = loadMapFile(file.string(), MapLoadInputs { plane, {} }, std::nullopt,
            [&](double) { return calls++ < stopAt; });
        EXPECT_EQ(stopped.kind, MapLoad::Stopped) << stopAt;
        EXPECT_EQ(stopped.message, RasterStoppedText);
        EXPECT_FALSE(stopped.fit);
    }
}
