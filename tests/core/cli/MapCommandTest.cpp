// dorvan-cli map on the sample project of Slovak towns, with rasters made by GDAL's API.

#include "core/cli/CliArguments.h"
#include "core/cli/CliCommands.h"
#include "core/entry/MapPlacement.h"
#include "core/geo/GeoReference.h"
#include "core/project/ProjectFile.h"

#include "support/LoopbackListener.h"
#include "support/TestRasters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace dorvan;
using namespace dorvan::cli;
namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path dir = fs::temp_directory_path() / ("dorvan_mapcli_" + std::to_string(::getpid()));
    Folder() { fs::create_directories(dir); }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

fs::path scratch(const std::string& name)
{
    static Folder f;
    return f.dir / name;
}

const std::string Sample = DORVAN_EXAMPLES "/slovak_towns.mzd";
// Bratislava as the sample's list gives it.
constexpr double BratislavaLat = 48.1486, BratislavaLon = 17.1077;

// A map in degrees whose red block is centred on Bratislava and which reaches west and south of
// every town (so the project's origin has to move).
testrasters::Raster bratislavaMap()
{
    const double step = 0.0025;
    return { 160, 120, { BratislavaLon - 40.5 * step, step, 0.0, BratislavaLat + 30.5 * step, 0.0, -step },
        "EPSG:4326", 40, 30 };
}

struct MapRun {
    int status = -1;
    std::string out, error, notices;
};

MapRun runMap(std::vector<std::string> args)
{
    args.insert(args.begin(), "map");
    MapRun r;
    std::ostringstream out, err;
    try {
        r.status = mapCommand(parseArguments(args).map, out, err);
    } catch (const UsageError& e) {
        r.status = ExitBadInput;
        r.error = e.what();
    }
    r.out = out.str();
    r.notices = err.str();
    return r;
}

int placeNamed(const TProjectRecord& r, std::string_view name)
{
    for (int i = 1; i <= projectPlaceCount(r); ++i)
        if (r.PlaceName[i].bytes() == name)
            return i;
    return 0;
}

} // namespace

TEST(MapCommand, ArgumentsTakeTwoFilesAScaleAndAnEpsgCode)
{
    const CliRequest r
        = parseArguments({ "map", "p.mzd", "m.tif", "--out", "n.mzd", "--epsg", "3857", "--scale", "12x" });
    EXPECT_EQ(r.command, Command::Map);
    EXPECT_EQ(r.map.project, "p.mzd");
    EXPECT_EQ(r.map.map, "m.tif");
    EXPECT_EQ(r.map.out, "n.mzd");
    EXPECT_EQ(r.map.epsg, 3857);
    EXPECT_EQ(r.map.scaleWidth, 12);
    EXPECT_FALSE(r.map.scaleHeight);
    const auto refused = [](std::vector<std::string> a) {
        try {
            parseArguments(a);
        } catch (const UsageError& e) {
            return std::string(e.what());
        }
        return std::string("(accepted)");
    };
    EXPECT_EQ(refused({ "map", "p.mzd", "--out", "n.mzd" }),
        "map: the map file is missing (dorvan-cli map PROJECT.mzd MAPFILE --out NEW.mzd)");
    EXPECT_EQ(refused({ "map", "p.mzd", "m.png", "--out", "n.mzd", "--scale", "2,5x3" }),
        "map: --scale \"2,5x3\" is not WxH in whole kilometres of at least 1 (or Wx, xH)");
    EXPECT_EQ(refused({ "map", "p.mzd", "m.png", "--out", "n.mzd", "--scale", "x" }),
        "map: --scale \"x\" is not WxH in whole kilometres of at least 1 (or Wx, xH)");
    EXPECT_EQ(refused({ "map", "p.mzd", "m.png", "--out", "n.mzd", "--epsg", "EPSG:1" }),
        "map: --epsg \"EPSG:1\" is not an EPSG code");
}

TEST(MapCommand, AMapReachingWestOfEveryTownMovesTheOriginAndKeepsEveryLatitudeAndLongitude)
{
    const fs::path map = scratch("bratislava.tif");
    testrasters::write(map, bratislavaMap(), testrasters::Form::GeoTiff);
    const fs::path out = scratch("with_map.mzd");
    const MapRun run = runMap({ Sample, map.string(), "--out", out.string() });
    ASSERT_EQ(run.status, ExitOk) << run.error;

    const TProjectRecord before = readProjectFile(Sample).record;
    const LoadedProject after = readProjectFile(out.string());
    const TProjectRecord& r = after.record;
    const auto oldPlane = geo::projectionOf(before), newPlane = geo::projectionOf(r);
    ASSERT_TRUE(oldPlane && newPlane);
    EXPECT_NE(oldPlane->definition(), newPlane->definition());
    EXPECT_EQ(r.PictureWidth, after.picture.width());
    EXPECT_EQ(r.PictureHeight, after.picture.height());
    EXPECT_TRUE(rangesFixed(r));
    const int n = projectPlaceCount(r);
    ASSERT_EQ(n, projectPlaceCount(before));
    for (int i = 1; i <= n; ++i) {
        const auto a = oldPlane->toLatLon({ before.PlaceX[i], before.PlaceY[i] });
        const auto b = newPlane->toLatLon({ r.PlaceX[i], r.PlaceY[i] });
        EXPECT_NEAR(a->latitude, b->latitude, 2e-6) << i;
        EXPECT_NEAR(a->longitude, b->longitude, 2e-6) << i;
        EXPECT_GE(r.PlaceX[i], 0.0);
        EXPECT_LE(r.PlaceX[i], r.MapRangeX);
        EXPECT_LE(r.PlaceY[i], r.MapRangeY);
    }
    // The red block is drawn where Bratislava's place is, by the picture's own mapping.
    const int ba = placeNamed(r, "Bratislava");
    ASSERT_GT(ba, 0);
    const double u = r.PlaceX[ba] * r.PictureWidth / r.MapRangeX;
    const double v = (r.MapRangeY - r.PlaceY[ba]) * r.PictureHeight / r.MapRangeY;
    const auto c = after.picture.pixel(int(u), int(v));
    EXPECT_GT(c.r, 150);
    EXPECT_LT(c.g, 150);
    EXPECT_NE(run.out.find(out.string() + ": map "), std::string::npos) << run.out;

    // The map is a box of latitude/longitude: the towns outside it, counted from their own
    // positions, are named in a notice and the project is written all the same.
    const testrasters::Raster m = bratislavaMap();
    const double west = m.transform[0], north = m.transform[3];
    const double east = west + m.width * m.transform[1], south = north + m.height * m.transform[5];
    int outside = 0;
    for (int i = 1; i <= n; ++i) {
        const auto p = oldPlane->toLatLon({ before.PlaceX[i], before.PlaceY[i] });
        outside += p->longitude < west || p->longitude > east || p->latitude < south || p->latitude > north;
    }
    ASSERT_GT(outside, 0);
    ASSERT_LT(outside, n);
    EXPECT_EQ(run.notices,
        "dorvan-cli: " + map.string() + ": " + std::to_string(outside) + " of " + std::to_string(n)
            + " places lie outside the map\n");
}

TEST(MapCommand, RefusalsWriteNothingAndSayWhyOnOneLine)
{
    const testrasters::Raster plain { 200, 150, {}, "", -1, -1 };
    const fs::path png = scratch("plain.png");
    testrasters::write(png, plain, testrasters::Form::PngPlain);
    testrasters::Raster utm = bratislavaMap();
    utm.transform = { 300000.0, 400.0, 0.0, 5400000.0, 0.0, -400.0 };
    const fs::path noSystem = scratch("nosystem.png");
    testrasters::write(noSystem, utm, testrasters::Form::PngWorldOnly);
    const fs::path text = scratch("notes.png");
    std::ofstream(text) << "no picture\n";
    const fs::path out = scratch("refused.mzd");
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        { { Sample, png.string(), "--out", out.string() },
            png.string() + ": a picture without a georeference needs --scale" },
        { { Sample, noSystem.string(), "--out", out.string() },
            noSystem.string() + ": the georeference names no coordinate system; give --epsg N" },
        { { Sample, text.string(), "--out", out.string() }, text.string() + ": " + RasterUnreadableText },
        { { Sample, noSystem.string(), "--out", out.string(), "--epsg", "32634", "--scale", "5x5" },
            noSystem.string() + ": the map is georeferenced; --scale is for a plain picture" },
        { { Sample, png.string(), "--out", Sample },
            "--out " + Sample + " is the project itself; choose another name" },
    };
    for (const Case& c : cases) {
        const MapRun run = runMap(c.args);
        EXPECT_EQ(run.status, ExitBadInput);
        EXPECT_EQ(run.error, c.error);
        EXPECT_EQ(run.error.find('\n'), std::string::npos);
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(MapCommand, AScaledPictureKeepsItsKilometresAndIsToldApartAfterReopening)
{
    const testrasters::Raster plain { 200, 150, {}, "", 100, 75 };
    const fs::path png = scratch("scaled.png");
    testrasters::write(png, plain, testrasters::Form::PngPlain);
    // The sample without its reference: the places are plain numbers.
    LoadedProject bare = readProjectFile(Sample);
    geo::clearProjectReference(bare.record);
    const fs::path project = scratch("bare.mzd");
    saveProjectFile(project.string(), bare.record, RgbPicture {});

    const fs::path out = scratch("scaled.mzd");
    // 150 / 200 of 10 km is 7.5, to the nearest whole kilometre (halves to even) 8.
    const MapRun run = runMap({ project.string(), png.string(), "--out", out.string(), "--scale", "10x" });
    ASSERT_EQ(run.status, ExitOk) << run.error;
    const LoadedProject after = readProjectFile(out.string());
    EXPECT_EQ(after.record.MapRangeX, 10);
    EXPECT_EQ(after.record.MapRangeY, 8);
    EXPECT_EQ(after.picture.width(), 200);
    EXPECT_EQ(after.picture.pixel(100, 75), (RgbPicture::Rgb { 255, 0, 0 }));
    EXPECT_TRUE(geo::isScaledPicture(after.record));
    EXPECT_FALSE(geo::projectReference(after.record));
    EXPECT_TRUE(rangesFixed(after.record));
    for (int i = 1; i <= projectPlaceCount(after.record); ++i)
        EXPECT_EQ(after.record.PlaceX[i], bare.record.PlaceX[i]);
    // A file saved before maps existed is no map and no scaled picture.
    EXPECT_FALSE(rangesFixed(bare.record));
}

// Files that GDAL would read as rasters made of other files or of network answers: none is a
// map, none reads what it names, and nothing connects to the listener they point at.
TEST(MapCommand, FilesNamingOtherFilesOrTheNetworkAreRefusedWithoutReadingThem)
{
    testnet::LoopbackListener listener;
    // Were a request ever sent, it would fail after a second instead of waiting for an answer.
    CPLSetConfigOption("GDAL_HTTP_TIMEOUT", "1");
    const fs::path secret = scratch("secret.txt");
    std::ofstream(secret) << std::string(64 * 28, 'S');
    const std::string georeference
        = "<GeoTransform>16.0, 0.1, 0.0, 49.0, 0.0, -0.1</GeoTransform><SRS>EPSG:4326</SRS>";
    const auto file = [](const std::string& name, const std::string& text) {
        const fs::path p = scratch(name);
        std::ofstream(p) << text;
        return p.string();
    };
    const std::string localVrt = file("local.vrt",
        "<VRTDataset rasterXSize=\"64\" rasterYSize=\"28\">" + georeference
            + "<VRTRasterBand dataType=\"Byte\" band=\"1\" subClass=\"VRTRawRasterBand\">"
              "<SourceFilename relativeToVRT=\"0\">"
            + secret.string()
            + "</SourceFilename><ImageOffset>0</ImageOffset><PixelOffset>1</PixelOffset>"
              "<LineOffset>64</LineOffset></VRTRasterBand></VRTDataset>\n");
    const std::string curlVrt = file("remote.vrt",
        "<VRTDataset rasterXSize=\"64\" rasterYSize=\"28\">" + georeference
            + "<VRTRasterBand dataType=\"Byte\" band=\"1\"><SimpleSource><SourceFilename>/vsicurl/"
            + listener.url("/x.tif") + "</SourceFilename><SourceBand>1</SourceBand></SimpleSource>"
            + "</VRTRasterBand></VRTDataset>\n");
    const std::string wms = file("tiles.xml",
        "<GDAL_WMS><Service name=\"TMS\"><ServerUrl>" + listener.url("/${z}/${x}/${y}.png")
            + "</ServerUrl></Service><DataWindow><UpperLeftX>-20037508.34</UpperLeftX>"
              "<UpperLeftY>20037508.34</UpperLeftY><LowerRightX>20037508.34</LowerRightX>"
              "<LowerRightY>-20037508.34</LowerRightY><TileLevel>1</TileLevel><TileCountX>1</TileCountX>"
              "<TileCountY>1</TileCountY><YOrigin>top</YOrigin></DataWindow><Projection>EPSG:3857</"
              "Projection>"
              "<BlockSizeX>256</BlockSizeX><BlockSizeY>256</BlockSizeY><BandsCount>3</BandsCount></"
              "GDAL_WMS>\n");
    const std::string geojson = file("places.geojson",
        R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"name":"Brno"},)"
        R"("geometry":{"type":"Point","coordinates":[16.6068,49.1951]}}]})"
        "\n");
    const std::string kml = file("places.kml",
        R"(<?xml version="1.0" encoding="UTF-8"?><kml xmlns="http://www.opengis.net/kml/2.2"><Document>)"
        R"(<Placemark><name>Brno</name><Point><coordinates>16.6068,49.1951</coordinates></Point>)"
        R"(</Placemark></Document></kml>)"
        "\n");
    const fs::path out = scratch("never.mzd");
    for (const std::string& map : { localVrt, curlVrt, wms, geojson, kml,
             "/vsicurl/" + listener.url("/x.tif"), "/vsicurl/" + listener.url("/x.vrt") }) {
        SCOPED_TRACE(map);
        const MapRun run = runMap({ Sample, map, "--out", out.string() });
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.error, map + ": " + RasterUnreadableText);
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(listener.pendingConnections(), 0);
    // The listener would have seen one.
    ASSERT_TRUE(listener.connectOnce());
    EXPECT_EQ(listener.pendingConnections(), 1);
    CPLSetConfigOption("GDAL_HTTP_TIMEOUT", nullptr);
}
