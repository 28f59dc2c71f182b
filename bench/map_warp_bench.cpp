// Opens a 4000 x 3000 GeoTIFF in EPSG:3857 and warps it into a project's reference, against
// gdalwarp doing the same warp (bilinear, the same extent and size, white fill, into memory) in
// the same run.
//   map_warp_bench [folder] [repetitions]
#include "core/common/MapRaster.h"
#include "core/geo/GeoReference.h"
#include "core/geo/MapFit.h"

#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace dorvan;
using Clock = std::chrono::steady_clock;

namespace {

double secondsOf(const auto& work)
{
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// 4000 x 3000 pixels of 25 m over western Slovakia, a pattern of stripes and blocks.
void writeMap(const std::string& path)
{
    ensureGdal();
    const int w = 4000, h = 3000;
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), w, h, 3, GDT_Byte, nullptr);
    double t[6] = { 1900000.0, 25.0, 0.0, 6200000.0, 0.0, -25.0 };
    GDALSetGeoTransform(ds, t);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 3857);
    GDALSetSpatialRef(ds, srs);
    OSRDestroySpatialReference(srs);
    std::vector<GByte> row(w);
    for (int b = 1; b <= 3; ++b)
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                row[x] = static_cast<GByte>((x / 7 * b + y / 5 * (4 - b) + (x ^ y)) & 0xFF);
            if (GDALRasterIO(GDALGetRasterBand(ds, b), GF_Write, 0, y, w, 1, row.data(), w, 1, GDT_Byte, 0, 0)
                != CE_None) {
                std::fprintf(stderr, "the test map was not written\n");
                std::exit(1);
            }
        }
    GDALClose(ds);
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::string map = (folder / "dorvan_bench_map3857.tif").string();
    writeMap(map);
    // A reference centred on the map, its origin a few kilometres west and south of it.
    const std::string reference = geo::localDefinition({ 48.2, 17.5 }, 40000, 30000);

    geo::MapFit fit;
    std::vector<double> ours, theirs;
    for (int k = 0; k < repetitions; ++k) {
        ours.push_back(secondsOf([&] {
            RasterOpen opened = RasterFile::open(map);
            std::string message;
            const auto pixels = opened.file->readRgb(message);
            auto r = geo::fitMap(*pixels, *opened.file->georeference(), { reference, {}, {} });
            if (!r.ok()) {
                std::fprintf(stderr, "fit failed: %s\n", r.message.c_str());
                std::exit(1);
            }
            fit = std::move(*r.fit);
        }));
        // Into memory like ours (the MEM driver), so that no file writing is timed.
        const std::string command = "gdalwarp -q -of MEM -r bilinear -wo INIT_DEST=255 -t_srs '"
            + reference + "' -te 0 0 " + std::to_string(fit.rangeX) + ' ' + std::to_string(fit.rangeY)
            + " -ts " + std::to_string(fit.picture.width()) + ' ' + std::to_string(fit.picture.height())
            + " '" + map + "' memory";
        theirs.push_back(secondsOf([&] {
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "gdalwarp failed: %s\n", command.c_str());
                std::exit(1);
            }
        }));
    }
    std::printf("warped picture: %d x %d pixels, %d x %d km\n", fit.picture.width(), fit.picture.height(),
        fit.rangeX, fit.rangeY);
    std::printf("open + warp (dorvan): %.3f s (median of %d)\n", median(ours), repetitions);
    std::printf("gdalwarp (MEM):       %.3f s\n", median(theirs));
    std::printf("ratio: %.2f (goal: at most 3)\n", median(ours) / median(theirs));
    std::filesystem::remove(map);
    return median(ours) <= 3.0 * median(theirs) ? 0 : 1;
}
