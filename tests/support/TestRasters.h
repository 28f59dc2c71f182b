#pragma once

// Rasters for the map tests, written with GDAL's own API: white pictures with one red 3 x 3 block,
// as a GeoTIFF with its system, or as a PNG with a world file (and a .prj) written by hand.

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace testrasters {

enum class Form {
    GeoTiff, // the system in the GeoTIFF's keys
    PngWorldPrj, // a .pgw world file and a .prj with the system's WKT
    PngWorldOnly, // a .pgw and no system
    PngPlain, // no georeference at all
    JpegWorldPrj, // a JPEG with a .jgw world file and a .prj
};

struct Raster {
    int width = 200;
    int height = 150;
    std::array<double, 6> transform {}; // GDAL's, at the pixels' corners
    std::string system; // "EPSG:N"
    int redColumn = -1; // centre of the red block; none when negative
    int redRow = -1;
};

inline std::vector<GByte> pixels(const Raster& r, int band)
{
    std::vector<GByte> p(static_cast<std::size_t>(r.width) * r.height, 255);
    if (r.redColumn < 0 || band == 1)
        return p;
    for (int y = r.redRow - 1; y <= r.redRow + 1; ++y)
        for (int x = r.redColumn - 1; x <= r.redColumn + 1; ++x)
            p[static_cast<std::size_t>(y) * r.width + x] = 0;
    return p;
}

inline std::string wktOf(const std::string& system)
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRSetFromUserInput(srs, system.c_str());
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    std::string out = wkt != nullptr ? wkt : "";
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    return out;
}

inline void fill(GDALDatasetH ds, const Raster& r)
{
    for (int b = 1; b <= 3; ++b) {
        std::vector<GByte> p = pixels(r, b);
        if (GDALRasterIO(GDALGetRasterBand(ds, b), GF_Write, 0, 0, r.width, r.height, p.data(), r.width,
                r.height, GDT_Byte, 0, 0)
            != CE_None)
            throw std::runtime_error("test raster not written");
    }
}

inline void write(const std::filesystem::path& path, const Raster& r, Form form)
{
    GDALAllRegister();
    if (form == Form::GeoTiff) {
        GDALDatasetH ds
            = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), r.width, r.height, 3, GDT_Byte, nullptr);
        double t[6];
        std::copy(r.transform.begin(), r.transform.end(), t);
        GDALSetGeoTransform(ds, t);
        GDALSetProjection(ds, wktOf(r.system).c_str());
        fill(ds, r);
        GDALClose(ds);
        return;
    }
    // The PNG or JPEG itself carries nothing but pixels: the georeference is in the companions.
    const bool jpeg = form == Form::JpegWorldPrj;
    GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", r.width, r.height, 3, GDT_Byte, nullptr);
    fill(mem, r);
    const char* quality[] = { "QUALITY=100", nullptr };
    GDALClose(GDALCreateCopy(GDALGetDriverByName(jpeg ? "JPEG" : "PNG"), path.c_str(), mem, FALSE,
        jpeg ? const_cast<char**>(quality) : nullptr, nullptr, nullptr));
    GDALClose(mem);
    std::filesystem::remove(path.string() + ".aux.xml");
    if (form == Form::PngPlain)
        return;
    // A world file gives the centre of the upper-left pixel.
    const auto& t = r.transform;
    std::ofstream w(std::filesystem::path(path).replace_extension(jpeg ? ".jgw" : ".pgw"));
    w.precision(17);
    w << t[1] << '\n'
      << t[4] << '\n'
      << t[2] << '\n'
      << t[5] << '\n'
      << t[0] + t[1] / 2 + t[2] / 2 << '\n'
      << t[3] + t[4] / 2 + t[5] / 2 << '\n';
    if (form == Form::PngWorldPrj || jpeg)
        std::ofstream(std::filesystem::path(path).replace_extension(".prj")) << wktOf(r.system);
}

// A georeferenced GeoTIFF of that size whose pixels are never written (a sparse file).
inline void writeSparse(const std::filesystem::path& path, int width, int height)
{
    GDALAllRegister();
    const char* options[] = { "SPARSE_OK=TRUE", "TILED=YES", nullptr };
    GDALDatasetH ds = GDALCreate(
        GDALGetDriverByName("GTiff"), path.c_str(), width, height, 3, GDT_Byte, const_cast<char**>(options));
    double t[6] = { 18.0, 0.0001, 0.0, 49.0, 0.0, -0.0001 };
    GDALSetGeoTransform(ds, t);
    GDALSetProjection(ds, wktOf("EPSG:4326").c_str());
    GDALClose(ds);
}

} // namespace testrasters
