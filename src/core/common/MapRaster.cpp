#include "core/common/MapRaster.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <gdal_frmts.h>
#include <ogr_srs_api.h>
#include <proj.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <new>

namespace dorvan {

namespace {

std::atomic<bool> gdalRegistered { false };

// The raster formats a map may come in. Nothing else opens: no description of other files (VRT),
// of a service (WMS, WCS, a database) or of vectors, whose opening would read other files or
// reach the network and carry their bytes into the project.
const char* const MapDrivers[] = { "GTiff", "PNG", "JPEG", "BMP", nullptr };

} // namespace

void keepGeoLibrariesOffline()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // The options set here overrule the environment's. The network file systems (/vsicurl/,
        // /vsis3/, /vsigs/, /vsiaz/ ...) take only names ending in an extension no file has, so
        // they refuse every name before they connect anywhere.
        CPLSetConfigOption("CPL_VSIL_CURL_ALLOWED_EXTENSIONS", ".dorvan-never-fetched");
        CPLSetConfigOption("GDAL_HTTP_MAX_RETRY", "0");
        // PROJ downloads no grid: neither through GDAL's contexts nor through the program's own.
        CPLSetConfigOption("PROJ_NETWORK", "OFF");
        ::setenv("PROJ_NETWORK", "OFF", 1);
        OSRSetPROJEnableNetwork(FALSE);
        proj_context_set_enable_network(nullptr, 0);
    });
}

void ensureGdal()
{
    static std::once_flag once;
    std::call_once(once, [] {
        keepGeoLibrariesOffline();
        // Only the drivers the program means (and MEM for its warps): no plugin and no driver
        // that reads descriptions of other data is even registered.
        GDALRegister_GTiff();
        GDALRegister_PNG();
        GDALRegister_JPEG();
        GDALRegister_BMP();
        GDALRegister_MEM();
        // Refusals reach the user as the program's own messages, never as GDAL's text on stderr.
        CPLSetErrorHandler(CPLQuietErrorHandler);
        gdalRegistered = true;
    });
}

void releaseGeoLibraries()
{
    // GDAL's drivers and caches, then PROJ's (GDAL holds PROJ contexts of its own).
    if (gdalRegistered.exchange(false))
        GDALDestroy();
    proj_cleanup();
}

struct RasterFile::Handle {
    GDALDatasetH dataset = nullptr;
    std::string memoryFile; // the /vsimem/ name of bytes opened from memory
    ~Handle()
    {
        if (dataset != nullptr)
            GDALClose(dataset);
        if (!memoryFile.empty())
            VSIUnlink(memoryFile.c_str());
    }
};

namespace {

RasterOpen refusedOpen(const char* message)
{
    RasterOpen r;
    r.message = message;
    return r;
}

std::string wktOf(OGRSpatialReferenceH srs)
{
    char* wkt = nullptr;
    std::string out;
    if (OSRExportToWkt(srs, &wkt) == OGRERR_NONE && wkt != nullptr)
        out = wkt;
    CPLFree(wkt);
    return out;
}

// The system a .prj beside the picture names (GDAL reads one beside a GeoTIFF only).
std::string systemFromPrj(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    const std::string stem = dot == std::string::npos || (slash != std::string::npos && dot < slash)
        ? path
        : path.substr(0, dot);
    for (const char* ext : { ".prj", ".PRJ" }) {
        std::ifstream in(stem + ext, std::ios::binary);
        if (!in)
            continue;
        std::string text(64 * 1024, '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
        // WKT, in its own or ESRI's dialect, and nothing else: a .prj naming a file, an address
        // or a catalogue entry reads nothing further.
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        std::string wkt;
        if (!text.empty() && text.find('\0') == std::string::npos) {
            char* lines[] = { text.data(), nullptr };
            char* cursor = text.data();
            if (OSRImportFromWkt(srs, &cursor) == OGRERR_NONE || OSRImportFromESRI(srs, lines) == OGRERR_NONE)
                wkt = wktOf(srs);
        }
        OSRDestroySpatialReference(srs);
        return wkt;
    }
    return {};
}

std::optional<RasterGeoreference> georeferenceOf(GDALDatasetH ds, const std::string& path)
{
    RasterGeoreference g;
    if (GDALGetGeoTransform(ds, g.transform.data()) != CE_None)
        return std::nullopt;
    const auto& t = g.transform;
    if (!std::all_of(t.begin(), t.end(), [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    if (t[1] * t[5] - t[2] * t[4] == 0.0)
        return std::nullopt;
    if (t == std::array<double, 6> { 0, 1, 0, 0, 0, 1 })
        return std::nullopt;
    if (OGRSpatialReferenceH srs = GDALGetSpatialRef(ds))
        g.system = wktOf(srs);
    if (g.system.empty() && !path.empty())
        g.system = systemFromPrj(path);
    return g;
}

bool usable(GDALDatasetH ds)
{
    return ds != nullptr && GDALGetRasterCount(ds) >= 1 && GDALGetRasterXSize(ds) >= 1
        && GDALGetRasterYSize(ds) >= 1;
}

} // namespace

RasterFile::RasterFile(std::unique_ptr<Handle> handle)
    : handle_(std::move(handle))
{
}

RasterFile::~RasterFile() = default;

RasterOpen RasterFile::opened(std::unique_ptr<Handle> h, const std::string& path)
{
    if (!usable(h->dataset))
        return refusedOpen(RasterUnreadableText);
    const int w = GDALGetRasterXSize(h->dataset), ht = GDALGetRasterYSize(h->dataset);
    if (w > MaxRasterSide || ht > MaxRasterSide)
        return refusedOpen(RasterTooLargeText);
    auto georeference = georeferenceOf(h->dataset, path);
    RasterOpen r;
    r.file.reset(new RasterFile(std::move(h)));
    r.file->width_ = w;
    r.file->height_ = ht;
    r.file->georeference_ = std::move(georeference);
    return r;
}

namespace {

// The one way a raster is opened, from a file or from memory: the map drivers only.
GDALDatasetH openMapDataset(const std::string& path)
{
    return GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, MapDrivers, nullptr, nullptr);
}

} // namespace

std::optional<std::string> localRasterPath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec || !std::filesystem::is_regular_file(absolute, ec) || ec)
        return std::nullopt;
    // GDAL takes a name beginning with /vsi as one of its virtual file systems, whatever exists
    // on the disk. An absolute name can carry no driver prefix ("GTIFF_DIR:1:...") either.
    std::string text = absolute.string();
    std::string head = text.substr(0, 4);
    for (char& c : head)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (head == "/vsi")
        return std::nullopt;
    return text;
}

RasterOpen RasterFile::open(const std::string& path)
{
    ensureGdal();
    const auto local = localRasterPath(path);
    if (!local)
        return refusedOpen(RasterUnreadableText);
    auto h = std::make_unique<Handle>();
    h->dataset = openMapDataset(*local);
    return opened(std::move(h), *local);
}

RasterOpen RasterFile::openBytes(std::span<const std::uint8_t> bytes)
{
    ensureGdal();
    static std::atomic<unsigned long> counter { 0 };
    auto h = std::make_unique<Handle>();
    h->memoryFile = "/vsimem/dorvan_raster_" + std::to_string(++counter);
    // GDAL only reads the buffer: it is given without a copy and stays the caller's.
    VSILFILE* f = VSIFileFromMemBuffer(h->memoryFile.c_str(), const_cast<GByte*>(bytes.data()),
        static_cast<vsi_l_offset>(bytes.size()), FALSE);
    if (f == nullptr) {
        h->memoryFile.clear();
        return refusedOpen(RasterUnreadableText);
    }
    VSIFCloseL(f);
    h->dataset = openMapDataset(h->memoryFile);
    return opened(std::move(h), {});
}

namespace {

int sampleBits(GDALRasterBandH band)
{
    const char* nbits = GDALGetMetadataItem(band, "NBITS", "IMAGE_STRUCTURE");
    return nbits != nullptr ? std::atoi(nbits) : GDALGetDataTypeSizeBits(GDALGetRasterDataType(band));
}

// Rows [top, top + rows) of one band into byte `channel` of every pixel. 16-bit samples keep
// their 8 highest bits (of those NBITS says are used); other types are clamped to 0..255 by GDAL.
bool readBandRows(GDALRasterBandH band, RasterPixels& p, int channel, int top, int rows)
{
    const GDALDataType type = GDALGetRasterDataType(band);
    std::uint8_t* first = p.rgb.data() + static_cast<std::size_t>(top) * p.width * 3 + channel;
    if (type != GDT_UInt16) {
        return GDALRasterIOEx(band, GF_Read, 0, top, p.width, rows, first, p.width, rows, GDT_Byte, 3,
                   static_cast<GSpacing>(p.width) * 3, nullptr)
            == CE_None;
    }
    const int shift = std::clamp(sampleBits(band), 8, 16) - 8;
    std::vector<std::uint16_t> row(static_cast<std::size_t>(p.width));
    for (int y = top; y < top + rows; ++y) {
        if (GDALRasterIOEx(band, GF_Read, 0, y, p.width, 1, row.data(), p.width, 1, GDT_UInt16, 0, 0, nullptr)
            != CE_None)
            return false;
        std::uint8_t* out = p.rgb.data() + static_cast<std::size_t>(y) * p.width * 3 + channel;
        for (int x = 0; x < p.width; ++x)
            out[static_cast<std::size_t>(x) * 3]
                = static_cast<std::uint8_t>(std::min(row[static_cast<std::size_t>(x)] >> shift, 255));
    }
    return true;
}

// Strips of about 4 MB of samples: a stop is heard within a fraction of a second.
int stripRows(int width)
{
    return std::max(1, (4 << 20) / std::max(width, 1));
}

void expandPalette(GDALColorTableH table, RasterPixels& p)
{
    std::array<std::array<std::uint8_t, 3>, 256> colours {};
    const int count = std::min(GDALGetColorEntryCount(table), 256);
    for (int i = 0; i < count; ++i) {
        GDALColorEntry e {};
        GDALGetColorEntryAsRGB(table, i, &e);
        colours[static_cast<std::size_t>(i)] = { static_cast<std::uint8_t>(std::clamp<short>(e.c1, 0, 255)),
            static_cast<std::uint8_t>(std::clamp<short>(e.c2, 0, 255)),
            static_cast<std::uint8_t>(std::clamp<short>(e.c3, 0, 255)) };
    }
    for (std::size_t at = 0; at < p.rgb.size(); at += 3) {
        const auto& c = colours[p.rgb[at]];
        std::copy(c.begin(), c.end(), p.rgb.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

void expandGrey(GDALRasterBandH band, RasterPixels& p)
{
    const int bits = sampleBits(band);
    const unsigned top = bits >= 1 && bits < 8 ? (1u << bits) - 1u : 255u;
    for (std::size_t at = 0; at < p.rgb.size(); at += 3) {
        const auto v = static_cast<std::uint8_t>(std::min<unsigned>(p.rgb[at], top) * 255u / top);
        p.rgb[at] = p.rgb[at + 1] = p.rgb[at + 2] = v;
    }
}

} // namespace

std::optional<RasterPixels> RasterFile::readRgb(std::string& message, const StepProgress& progress) const
{
    GDALDatasetH ds = handle_->dataset;
    RasterPixels p;
    p.width = width_;
    p.height = height_;
    try {
        p.rgb.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3u);
    } catch (const std::bad_alloc&) {
        message = "Nedostatok pamäte pre mapu !!!";
        return std::nullopt;
    }
    GDALRasterBandH first = GDALGetRasterBand(ds, 1);
    GDALColorTableH table = GDALGetRasterColorTable(first);
    const int bands = GDALGetRasterCount(ds) >= 3 && table == nullptr ? 3 : 1;
    const int strip = stripRows(width_);
    // Strip by strip, all bands of a strip together (a pixel-interleaved file is read once).
    for (int top = 0; top < height_; top += strip) {
        const int rows = std::min(strip, height_ - top);
        for (int b = 0; b < bands; ++b) {
            if (!readBandRows(GDALGetRasterBand(ds, b + 1), p, b, top, rows)) {
                message = RasterUnreadableText;
                return std::nullopt;
            }
        }
        if (progress && !progress(static_cast<double>(top + rows) / height_)) {
            message = RasterStoppedText;
            return std::nullopt;
        }
    }
    if (bands == 1 && table != nullptr)
        expandPalette(table, p);
    else if (bands == 1)
        expandGrey(first, p);
    return p;
}

} // namespace dorvan
