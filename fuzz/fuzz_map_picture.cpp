// Feeds arbitrary bytes to the map picture readers: the program's own bitmap and JPEG reader, and
// GDAL's path for PNG, GeoTIFF and the rest. A picture or a refusal with a notice, never a
// crash, and an accepted picture has exactly the bytes its size needs.
#include "core/common/MapRaster.h"
#include "core/entry/MapPictureDecoder.h"

#include <cmath>
#include <cstdlib>

namespace {

bool isNotice(const std::string& m)
{
    return m.size() >= 4 && m.compare(m.size() - 4, 4, " !!!") == 0;
}

void ownReader(const std::uint8_t* data, std::size_t size)
{
    dorvan::MapPictureResult r = dorvan::tryDecodeMapPicture({ data, size });
    if (r.ok()) {
        const dorvan::RgbPicture& p = *r.picture;
        if (p.empty()
            || p.data().size()
                != static_cast<std::size_t>(p.width()) * static_cast<std::size_t>(p.height()) * 3u)
            std::abort();
    } else if (!isNotice(r.message)) {
        std::abort();
    }
}

void gdalReader(const std::uint8_t* data, std::size_t size)
{
    const dorvan::RasterOpen opened = dorvan::RasterFile::openBytes({ data, size });
    if (!opened.ok()) {
        if (!isNotice(opened.message))
            std::abort();
        return;
    }
    const dorvan::RasterFile& f = *opened.file;
    if (f.width() < 1 || f.height() < 1 || f.width() > dorvan::MaxRasterSide
        || f.height() > dorvan::MaxRasterSide)
        std::abort();
    if (const auto& g = f.georeference()) {
        for (double v : g->transform)
            if (!std::isfinite(v))
                std::abort();
    }
    // Pixels only of small rasters: the fuzzer's inputs stay cheap.
    if (static_cast<std::uint64_t>(f.width()) * static_cast<std::uint64_t>(f.height()) > (1u << 20))
        return;
    std::string message;
    const auto p = f.readRgb(message);
    if (p) {
        if (p->rgb.size() != static_cast<std::size_t>(p->width) * static_cast<std::size_t>(p->height) * 3u)
            std::abort();
    } else if (!isNotice(message)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ownReader(data, size);
    gdalReader(data, size);
    return 0;
}
