#include "core/geo/MapFit.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gdalwarper.h>
#include <ogr_spatialref.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace dorvan::geo {

std::string unknownEpsgText(int epsg)
{
    return "Súradnicový systém EPSG:" + std::to_string(epsg) + " nie je známy !!!";
}

namespace {

// A spatial reference with x the easting (or longitude), whatever the system's own axis order.
struct Srs {
    OGRSpatialReferenceH h = OSRNewSpatialReference(nullptr);
    Srs() { OSRSetAxisMappingStrategy(h, OAMS_TRADITIONAL_GIS_ORDER); }
    ~Srs() { OSRDestroySpatialReference(h); }
    Srs(const Srs&) = delete;
    Srs& operator=(const Srs&) = delete;
    // A definition, WKT or "EPSG:n"; never a file name or an address to read it from.
    bool set(const std::string& text)
    {
        return !text.empty()
            && OGRSpatialReference::FromHandle(h)->SetFromUserInput(
                   text.c_str(), OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS_get())
            == OGRERR_NONE;
    }
};

struct DatasetCloser {
    void operator()(void* ds) const { GDALClose(static_cast<GDALDatasetH>(ds)); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

// A MEM dataset over RGB bytes the caller owns: no copy of the pixels either way.
Dataset memoryDataset(std::uint8_t* data, int w, int h, const double* transform, const Srs& srs)
{
    ensureGdal();
    GDALDriverH mem = GDALGetDriverByName("MEM");
    Dataset ds(GDALCreate(mem, "", w, h, 0, GDT_Byte, nullptr));
    if (!ds)
        return ds;
    for (int b = 0; b < 3; ++b) {
        char pointer[64];
        std::snprintf(pointer, sizeof pointer, "DATAPOINTER=%p", static_cast<void*>(data + b));
        const std::string line = "LINEOFFSET=" + std::to_string(static_cast<long long>(w) * 3);
        const char* options[] = { pointer, "PIXELOFFSET=3", line.c_str(), nullptr };
        if (GDALAddBand(ds.get(), GDT_Byte, const_cast<char**>(options)) != CE_None)
            return nullptr;
    }
    GDALSetGeoTransform(ds.get(), const_cast<double*>(transform));
    GDALSetSpatialRef(ds.get(), srs.h);
    return ds;
}

struct Extent {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    double resolution = 0; // kilometres a pixel
};

// Where the map lands in the plane of `definition`, at GDAL's suggested resolution.
std::optional<Extent> suggestedExtent(GDALDatasetH src, const std::string& definition)
{
    const std::string dst = "DST_SRS=" + definition;
    const char* options[] = { dst.c_str(), nullptr };
    void* t = GDALCreateGenImgProjTransformer2(src, nullptr, const_cast<char**>(options));
    if (t == nullptr)
        return std::nullopt;
    double gt[6] = {};
    double extent[4] = {}; // the edges' true bounds, not cut to whole pixels
    int pixels = 0, lines = 0;
    const CPLErr e
        = GDALSuggestedWarpOutput2(src, GDALGenImgProjTransform, t, gt, &pixels, &lines, extent, 0);
    GDALDestroyGenImgProjTransformer(t);
    if (e != CE_None || pixels < 1 || lines < 1 || !(gt[1] > 0.0))
        return std::nullopt;
    Extent x { extent[0], extent[1], extent[2], extent[3], gt[1] };
    if (!std::isfinite(x.minX) || !std::isfinite(x.minY) || !std::isfinite(x.maxX) || !std::isfinite(x.maxY))
        return std::nullopt;
    return x;
}

// The map's edge carried into the plane, corners included: points along the top from left to
// right, down the right side, back along the bottom and up the left side. Points the plane
// cannot hold are left out.
std::optional<std::vector<PlanarPoint>> edgeRing(
    const RasterPixels& p, const RasterGeoreference& g, const Srs& system, const std::string& definition)
{
    Srs plane;
    if (!plane.set(definition))
        return std::nullopt;
    OGRCoordinateTransformationH ct = OCTNewCoordinateTransformation(system.h, plane.h);
    if (ct == nullptr)
        return std::nullopt;
    constexpr int N = 256;
    const double w = p.width, h = p.height;
    std::vector<double> xs, ys;
    const auto add = [&](double col, double row) {
        const auto& t = g.transform;
        xs.push_back(t[0] + col * t[1] + row * t[2]);
        ys.push_back(t[3] + col * t[4] + row * t[5]);
    };
    for (int i = 0; i < N; ++i)
        add(w * i / N, 0.0);
    for (int i = 0; i < N; ++i)
        add(w, h * i / N);
    for (int i = 0; i < N; ++i)
        add(w - w * i / N, h);
    for (int i = 0; i < N; ++i)
        add(0.0, h - h * i / N);
    std::vector<int> ok(xs.size(), 0);
    OCTTransformEx(ct, static_cast<int>(xs.size()), xs.data(), ys.data(), nullptr, ok.data());
    OCTDestroyCoordinateTransformation(ct);
    std::vector<PlanarPoint> ring;
    for (std::size_t k = 0; k < xs.size(); ++k)
        if (ok[k] && std::isfinite(xs[k]) && std::isfinite(ys[k]))
            ring.push_back({ xs[k], ys[k] });
    return ring;
}

// The bounds of the map's edges in the plane (GDAL's suggested extent can fall a fraction of a
// pixel short of a corner).
void widenBy(Extent& e, const std::vector<PlanarPoint>& ring)
{
    for (const PlanarPoint& q : ring) {
        e.minX = std::min(e.minX, q.x);
        e.minY = std::min(e.minY, q.y);
        e.maxX = std::max(e.maxX, q.x);
        e.maxY = std::max(e.maxY, q.y);
    }
}

// The map's centre in latitude/longitude.
std::optional<LatLon> mapCentre(const RasterPixels& p, const RasterGeoreference& g, const Srs& system)
{
    const auto& t = g.transform;
    double x = t[0] + p.width / 2.0 * t[1] + p.height / 2.0 * t[2];
    double y = t[3] + p.width / 2.0 * t[4] + p.height / 2.0 * t[5];
    Srs wgs84;
    if (!wgs84.set("EPSG:4326"))
        return std::nullopt;
    OGRCoordinateTransformationH ct = OCTNewCoordinateTransformation(system.h, wgs84.h);
    if (ct == nullptr)
        return std::nullopt;
    const bool ok = OCTTransform(ct, 1, &x, &y, nullptr) != 0;
    OCTDestroyCoordinateTransformation(ct);
    if (!ok || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return LatLon { std::round(y * 1e6) / 1e6, std::round(x * 1e6) / 1e6 };
}

int CPL_STDCALL warpProgress(double done, const char*, void* arg)
{
    const auto* progress = static_cast<const StepProgress*>(arg);
    return (*progress)(std::clamp(done, 0.0, 1.0)) ? TRUE : FALSE;
}

bool warp(GDALDatasetH src, GDALDatasetH dst, int w, int h, const StepProgress& progress)
{
    void* gen = GDALCreateGenImgProjTransformer2(src, dst, nullptr);
    if (gen == nullptr)
        return false;
    // The error bound gdalwarp uses by default: an eighth of a pixel.
    void* approx = GDALCreateApproxTransformer(GDALGenImgProjTransform, gen, 0.125);
    GDALWarpOptions* o = GDALCreateWarpOptions();
    o->hSrcDS = src;
    o->hDstDS = dst;
    o->nBandCount = 3;
    o->panSrcBands = static_cast<int*>(CPLMalloc(sizeof(int) * 3));
    o->panDstBands = static_cast<int*>(CPLMalloc(sizeof(int) * 3));
    for (int b = 0; b < 3; ++b)
        o->panSrcBands[b] = o->panDstBands[b] = b + 1;
    o->eResampleAlg = GRA_Bilinear;
    o->pfnTransformer = GDALApproxTransform;
    o->pTransformerArg = approx;
    o->dfWarpMemoryLimit = 64.0 * 1024 * 1024;
    o->papszWarpOptions = CSLSetNameValue(nullptr, "INIT_DEST", "255");
    if (progress) {
        o->pfnProgress = warpProgress;
        o->pProgressArg = const_cast<StepProgress*>(&progress);
    }
    GDALWarpOperationH op = GDALCreateWarpOperation(o);
    const bool ok = op != nullptr && GDALChunkAndWarpImage(op, 0, 0, w, h) == CE_None;
    if (op != nullptr)
        GDALDestroyWarpOperation(op);
    GDALDestroyWarpOptions(o);
    GDALDestroyApproxTransformer(approx);
    GDALDestroyGenImgProjTransformer(gen);
    return ok;
}

MapFitResult refused(std::string message)
{
    MapFitResult r;
    r.message = std::move(message);
    return r;
}

// The whole-kilometre ranges, the false origin's shift and the picture's size.
struct Layout {
    int rangeX = 1, rangeY = 1;
    double shiftX = 0, shiftY = 0; // kilometres, whole metres
    int width = 1, height = 1;
    bool coarser = false;
};

Layout layOut(Extent e, const std::vector<PlanarPoint>& places)
{
    for (const PlanarPoint& p : places) {
        e.minX = std::min(e.minX, p.x);
        e.minY = std::min(e.minY, p.y);
        e.maxX = std::max(e.maxX, p.x);
        e.maxY = std::max(e.maxY, p.y);
    }
    Layout l;
    l.shiftX = e.minX < 0.0 ? std::ceil(-e.minX * 1000.0 - 1e-6) / 1000.0 : 0.0;
    l.shiftY = e.minY < 0.0 ? std::ceil(-e.minY * 1000.0 - 1e-6) / 1000.0 : 0.0;
    l.rangeX = static_cast<int>(std::clamp(std::ceil(e.maxX + l.shiftX - 1e-9), 1.0, 1e9));
    l.rangeY = static_cast<int>(std::clamp(std::ceil(e.maxY + l.shiftY - 1e-9), 1.0, 1e9));
    double w = std::max(1.0, std::ceil(l.rangeX / e.resolution - 1e-9));
    double h = std::max(1.0, std::ceil(l.rangeY / e.resolution - 1e-9));
    if (w > MaxMapWidth || h > MaxMapHeight) {
        const double f = std::max(w / MaxMapWidth, h / MaxMapHeight);
        w = std::clamp(std::ceil(w / f - 1e-9), 1.0, double { MaxMapWidth });
        h = std::clamp(std::ceil(h / f - 1e-9), 1.0, double { MaxMapHeight });
        l.coarser = true;
    }
    l.width = static_cast<int>(w);
    l.height = static_cast<int>(h);
    return l;
}

} // namespace

MapFitResult fitMap(const RasterPixels& pixels, const RasterGeoreference& georeference,
    const MapFitRequest& request, const StepProgress& progress)
{
    Srs system;
    if (request.epsg) {
        if (OSRImportFromEPSG(system.h, *request.epsg) != OGRERR_NONE)
            return refused(unknownEpsgText(*request.epsg));
    } else if (!system.set(georeference.system)) {
        MapFitResult r = refused(MapSystemQuestion);
        r.needsSystem = true;
        return r;
    }
    // GDAL only reads the source through the dataset.
    auto* source = const_cast<std::uint8_t*>(pixels.rgb.data());
    const Dataset src
        = memoryDataset(source, pixels.width, pixels.height, georeference.transform.data(), system);
    if (!src)
        return refused(MapOutsideText);

    std::string reference;
    std::optional<LatLon> centre;
    if (request.reference) {
        reference = *request.reference;
    } else {
        centre = mapCentre(pixels, georeference, system);
        if (!centre)
            return refused(MapOutsideText);
        reference = localDefinition(*centre, 0.0, 0.0);
    }
    auto extent = suggestedExtent(src.get(), reference);
    const auto ring = extent ? edgeRing(pixels, georeference, system, reference) : std::nullopt;
    if (!ring)
        return refused(MapOutsideText);
    widenBy(*extent, *ring);
    const Layout l = layOut(*extent, request.reference ? request.places : std::vector<PlanarPoint> {});
    const std::uint64_t need = pixels.rgb.size()
        + std::uint64_t { 3 } * static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height);
    if (need > MaxWarpBytes)
        return refused(WarpTooLargeText);

    MapFit fit;
    if (centre) {
        fit.reference = localDefinition(*centre, l.shiftX * 1000.0, l.shiftY * 1000.0);
    } else if (l.shiftX != 0.0 || l.shiftY != 0.0) {
        const auto shifted = shiftedDefinition(reference, l.shiftX, l.shiftY);
        if (!shifted)
            return refused(ReferenceTooLongText);
        fit.reference = *shifted;
        fit.shiftX = l.shiftX;
        fit.shiftY = l.shiftY;
    } else {
        fit.reference = reference;
    }
    Srs plane;
    if (!plane.set(fit.reference))
        return refused(MapOutsideText);
    fit.picture.resizeForOverwrite(l.width, l.height);
    std::fill(fit.picture.data().begin(), fit.picture.data().end(), std::uint8_t { 255 });
    const double rx = l.rangeX, ry = l.rangeY;
    const double transform[6] = { 0.0, rx / l.width, 0.0, ry, 0.0, -ry / l.height };
    const Dataset dst = memoryDataset(fit.picture.data().data(), l.width, l.height, transform, plane);
    bool stopped = false;
    const StepProgress heard = [&](double done) { return !(stopped = progress && !progress(done)); };
    if (!dst || !warp(src.get(), dst.get(), l.width, l.height, heard)) {
        MapFitResult r = refused(stopped ? RasterStoppedText : MapOutsideText);
        r.stopped = stopped;
        return r;
    }
    if (request.reference && !request.places.empty()) {
        const PlacesAgainstArea a = placesAgainstArea(*ring, request.places);
        fit.placesChecked = static_cast<int>(request.places.size());
        fit.placesOutside = a.outside;
        fit.nearestOutsideKm = a.nearestOutside;
    }
    fit.rangeX = l.rangeX;
    fit.rangeY = l.rangeY;
    fit.coarser = l.coarser;
    MapFitResult r;
    r.fit = std::move(fit);
    return r;
}

PlacesAgainstArea placesAgainstArea(std::span<const PlanarPoint> ring, std::span<const PlanarPoint> places)
{
    PlacesAgainstArea a;
    const std::size_t n = ring.size();
    if (n < 3) {
        a.outside = static_cast<int>(places.size());
        return a;
    }
    double nearest = std::numeric_limits<double>::infinity();
    for (const PlanarPoint& p : places) {
        bool inside = false;
        double edge = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const PlanarPoint& a0 = ring[j];
            const PlanarPoint& a1 = ring[i];
            // Crossings of a ray from p towards +X (even-odd rule).
            if ((a1.y > p.y) != (a0.y > p.y) && p.x < (a0.x - a1.x) * (p.y - a1.y) / (a0.y - a1.y) + a1.x)
                inside = !inside;
            // The distance from p to the side a0-a1.
            const double dx = a1.x - a0.x, dy = a1.y - a0.y;
            const double length2 = dx * dx + dy * dy;
            const double t = length2 > 0.0
                ? std::clamp(((p.x - a0.x) * dx + (p.y - a0.y) * dy) / length2, 0.0, 1.0)
                : 0.0;
            edge = std::min(edge, std::hypot(p.x - (a0.x + t * dx), p.y - (a0.y + t * dy)));
        }
        if (!inside && edge > 1e-9) {
            ++a.outside;
            nearest = std::min(nearest, edge);
        }
    }
    a.nearestOutside = a.outside > 0 ? nearest : 0.0;
    return a;
}

namespace {

std::string metresText(double v)
{
    char buf[64];
    const auto r
        = std::to_chars(buf, buf + sizeof buf, std::round(v * 1000.0) / 1000.0, std::chars_format::fixed, 3);
    std::string s(buf, r.ptr);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

// Moves the value of "+key=" by delta, or appends the key when the definition has none.
std::string movedParameter(const std::string& definition, const std::string& key, double delta)
{
    const std::string token = " +" + key + "=";
    const std::size_t at = (" " + definition).find(token);
    if (at == std::string::npos)
        return definition + token + metresText(delta);
    const std::size_t start = at + token.size() - 1;
    std::size_t end = definition.find(' ', start);
    if (end == std::string::npos)
        end = definition.size();
    double old = 0.0;
    const auto r = std::from_chars(definition.data() + start, definition.data() + end, old);
    if (r.ec != std::errc {} || r.ptr != definition.data() + end)
        old = 0.0;
    return definition.substr(0, start) + metresText(old + delta) + definition.substr(end);
}

} // namespace

std::optional<std::string> shiftedDefinition(const std::string& definition, double dxKm, double dyKm)
{
    std::string s = definition;
    if (dxKm != 0.0)
        s = movedParameter(s, "x_0", dxKm * 1000.0);
    if (dyKm != 0.0)
        s = movedParameter(s, "y_0", dyKm * 1000.0);
    if (!isAcceptedDefinition(s))
        return std::nullopt;
    return s;
}

} // namespace dorvan::geo
