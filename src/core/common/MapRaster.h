#pragma once

// Map pictures read through GDAL: GeoTIFF, PNG, JPEG and bitmaps and nothing else, with the
// georeference that the file or its companions beside it give (a GeoTIFF's own keys, a world file
// .tfw/.pgw/.jgw/.bpw/.wld with an .aux.xml or a .prj naming the system). No other file is read
// and the network is never reached. The facade keeps every GDAL type out of the header: sizes,
// bytes, six numbers and the system's WKT.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvan {

// The largest raster the program opens, before any warping.
inline constexpr int MaxRasterSide = 20000;
// The most memory a map's warp may take: the source's pixels and the warped picture together.
inline constexpr std::uint64_t MaxWarpBytes = std::uint64_t { 1 } << 30;

inline constexpr const char* RasterUnreadableText = "Súbor sa nedá prečítať ako obrázok ani ako mapa !!!";
inline constexpr const char* RasterTooLargeText = "Mapa je väčšia ako 20 000 x 20 000 bodov !!!";
inline constexpr const char* RasterStoppedText = "Načítanie mapy bolo zrušené";
inline constexpr const char* WarpTooLargeText = "Prevod mapy by potreboval viac ako 1 GB pamäte !!!";

// Where the raster lies: GDAL's affine transform (X = t0 + column t1 + row t2, Y = t3 + column t4
// + row t5, at the pixels' corners) and the WKT of the system (empty when no file names one).
struct RasterGeoreference {
    std::array<double, 6> transform {};
    std::string system;
};

// Red, green, blue bytes per pixel, rows from the top.
struct RasterPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

class RasterFile;

// Told the share of a long step done (0 to 1) now and then; false stops the step.
using StepProgress = std::function<bool(double done)>;

// An opened raster, or the Slovak message (ending in " !!!") that says why it was refused.
struct RasterOpen {
    std::unique_ptr<RasterFile> file;
    std::string message;
    bool ok() const { return file != nullptr; }
};

class RasterFile {
public:
    // A file and its companions. Rasters over MaxRasterSide on a side are refused, and so is
    // anything but a local regular file (localRasterPath).
    static RasterOpen open(const std::string& path);
    // Bytes in memory (no companions): the fuzz target's way in.
    static RasterOpen openBytes(std::span<const std::uint8_t> bytes);

    ~RasterFile();
    RasterFile(const RasterFile&) = delete;
    RasterFile& operator=(const RasterFile&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    // Nothing for a plain picture (no transform, or the identity GDAL gives a bare one).
    const std::optional<RasterGeoreference>& georeference() const { return georeference_; }

    // The pixels expanded to RGB: grey and grey with alpha repeat the grey, a palette gives its
    // colours, fewer than 8 bits a sample are stretched to 0..255, RGB(A) keeps red, green and
    // blue (other sample types are clamped to 0..255). The caller bounds the size first; on
    // failure the message says why. Read in strips, each one reported to progress; progress
    // saying stop gives nothing and RasterStoppedText.
    std::optional<RasterPixels> readRgb(std::string& message, const StepProgress& progress = {}) const;

    struct Handle;

private:
    explicit RasterFile(std::unique_ptr<Handle> handle);
    static RasterOpen opened(std::unique_ptr<Handle> handle, const std::string& path);
    std::unique_ptr<Handle> handle_;
    int width_ = 0;
    int height_ = 0;
    std::optional<RasterGeoreference> georeference_;
};

// The absolute name of a regular local file that GDAL cannot take for one of its virtual file
// systems (/vsicurl/, /vsizip/ ...); nothing for any other path.
std::optional<std::string> localRasterPath(const std::string& path);

// GDAL's and PROJ's options that keep them off the network (no /vsicurl/ and kin, no grid
// download), whatever the environment says. Called once, early; ensureGdal calls it too.
void keepGeoLibrariesOffline();

// GDAL with the map drivers registered once, offline, quiet on stderr.
void ensureGdal();

// Releases GDAL's drivers and caches and PROJ's: the programs call it as main returns, while
// GDAL's thread-local caches still live (an atexit handler runs after they are gone). GDAL is
// not usable afterwards.
void releaseGeoLibraries();

// Keeps the libraries offline from the start of main (before any thread), and calls
// releaseGeoLibraries when main's scope ends, by return or by an exception.
struct GeoLibrariesRelease {
    GeoLibrariesRelease() { keepGeoLibrariesOffline(); }
    GeoLibrariesRelease(const GeoLibrariesRelease&) = delete;
    GeoLibrariesRelease& operator=(const GeoLibrariesRelease&) = delete;
    ~GeoLibrariesRelease() { releaseGeoLibraries(); }
};

} // namespace dorvan
