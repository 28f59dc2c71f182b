#include "core/geo/GeoReference.h"

#include "core/common/DecimalText.h"

#include <proj.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <mutex>
#include <thread>

namespace dorvan::geo {

// One PROJ context for one object, so objects may live in different threads. Not in the
// unnamed namespace: the handles of the public classes derive from it.
struct ProjContext {
    PJ_CONTEXT* ctx = nullptr;
    PJ* pj = nullptr;

    ProjContext()
    {
        ctx = proj_context_create();
        if (ctx != nullptr) {
            proj_log_level(ctx, PJ_LOG_NONE);
            // No grid is ever downloaded, whatever PROJ_NETWORK says.
            proj_context_set_enable_network(ctx, 0);
        }
    }
    ~ProjContext()
    {
        if (pj != nullptr)
            proj_destroy(pj);
        if (ctx != nullptr)
            proj_context_destroy(ctx);
    }
    ProjContext(const ProjContext&) = delete;
    ProjContext& operator=(const ProjContext&) = delete;
};

namespace {

bool finite(const PJ_COORD& c)
{
    return std::isfinite(c.xy.x) && std::isfinite(c.xy.y) && c.xy.x != HUGE_VAL && c.xy.y != HUGE_VAL;
}

bool plainAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x20 && b < 0x7F;
    });
}

// Fixed notation with a decimal point whatever the locale (a window sets the user's).
std::string fixed(double v, int decimals)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

// A number for a definition: at most `decimals` decimals, no trailing zeros, a point.
std::string definitionNumber(double v, int decimals)
{
    std::string s = fixed(v, decimals);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    if (s == "-0")
        s = "0";
    return s;
}

double normalizedLongitude(double lon)
{
    while (lon > 180.0)
        lon -= 360.0;
    while (lon <= -180.0)
        lon += 360.0;
    return lon;
}

// The middle of the shortest arc of longitudes holding every place.
double middleLongitude(std::vector<double> lons)
{
    std::sort(lons.begin(), lons.end());
    // The largest gap between neighbours, the one across 180° included, is what the arc leaves out.
    double gap = lons.front() + 360.0 - lons.back();
    double start = lons.front();
    for (std::size_t k = 1; k < lons.size(); ++k) {
        const double g = lons[k] - lons[k - 1];
        if (g > gap) {
            gap = g;
            start = lons[k];
        }
    }
    const double span = 360.0 - gap;
    return normalizedLongitude(start + span / 2.0);
}

std::string aeqdDefinition(double lat0, double lon0, double x0Metres, double y0Metres)
{
    return "+proj=aeqd +lat_0=" + definitionNumber(lat0, 6) + " +lon_0=" + definitionNumber(lon0, 6)
        + " +x_0=" + definitionNumber(x0Metres, 0) + " +y_0=" + definitionNumber(y0Metres, 0)
        + " +datum=WGS84 +units=km";
}

} // namespace

struct Projection::Handle : ProjContext { };

Projection::Projection(std::string definition, std::unique_ptr<Handle> handle)
    : definition_(std::move(definition))
    , handle_(std::move(handle))
{
}
Projection::Projection(Projection&&) noexcept = default;
Projection& Projection::operator=(Projection&&) noexcept = default;
Projection::~Projection() = default;

std::optional<Projection> Projection::create(std::string_view definition)
{
    if (definition.size() > MaxDefinitionLength || definition.substr(0, 6) != "+proj="
        || !plainAscii(definition))
        return std::nullopt;
    auto h = std::make_unique<Handle>();
    if (h->ctx == nullptr)
        return std::nullopt;
    const std::string text(definition);
    h->pj = proj_create(h->ctx, text.c_str());
    if (h->pj == nullptr)
        return std::nullopt;
    // A projection: degrees of latitude/longitude in, planar numbers out, and back.
    const PJ_TYPE type = proj_get_type(h->pj);
    if (type != PJ_TYPE_OTHER_COORDINATE_OPERATION && type != PJ_TYPE_CONVERSION)
        return std::nullopt;
    if (!proj_angular_input(h->pj, PJ_FWD) || proj_angular_output(h->pj, PJ_FWD)
        || !proj_pj_info(h->pj).has_inverse)
        return std::nullopt;
    return Projection(text, std::move(h));
}

std::optional<PlanarPoint> Projection::toPlanar(LatLon p) const
{
    if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude))
        return std::nullopt;
    proj_errno_reset(handle_->pj);
    const PJ_COORD out
        = proj_trans(handle_->pj, PJ_FWD, proj_coord(proj_torad(p.longitude), proj_torad(p.latitude), 0, 0));
    if (!finite(out) || proj_errno(handle_->pj) != 0)
        return std::nullopt;
    return PlanarPoint { out.xy.x, out.xy.y };
}

std::optional<LatLon> Projection::toLatLon(PlanarPoint p) const
{
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return std::nullopt;
    proj_errno_reset(handle_->pj);
    const PJ_COORD out = proj_trans(handle_->pj, PJ_INV, proj_coord(p.x, p.y, 0, 0));
    if (!finite(out) || proj_errno(handle_->pj) != 0)
        return std::nullopt;
    return LatLon { proj_todeg(out.lp.phi), normalizedLongitude(proj_todeg(out.lp.lam)) };
}

bool isAcceptedDefinition(std::string_view definition)
{
    return Projection::create(definition).has_value();
}

std::optional<std::string> projectReference(const TProjectRecord& record)
{
    const std::string_view text = record.PlaceName[ReferenceEntry].bytes();
    if (!isAcceptedDefinition(text))
        return std::nullopt;
    return std::string(text);
}

bool setProjectReference(TProjectRecord& record, std::string_view definition)
{
    if (!isAcceptedDefinition(definition))
        return false;
    record.PlaceName[ReferenceEntry] = Text100::fromBytes(definition);
    return true;
}

void clearProjectReference(TProjectRecord& record)
{
    record.PlaceName[ReferenceEntry] = Text100 {};
}

std::optional<Projection> projectionOf(const TProjectRecord& record)
{
    return Projection::create(record.PlaceName[ReferenceEntry].bytes());
}

std::optional<LatLon> toLatLon(const TProjectRecord& record, double x, double y)
{
    const auto p = projectionOf(record);
    if (!p)
        return std::nullopt;
    return p->toLatLon({ x, y });
}

double roundDegrees(double degrees)
{
    const double r = std::round(degrees * 1e7) / 1e7;
    return r == 0.0 ? 0.0 : r;
}

std::string fixedDegrees(double degrees)
{
    return fixed(roundDegrees(degrees), 7);
}

std::string commaDegrees(double degrees)
{
    std::string s = fixedDegrees(degrees);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string formatLatLon(LatLon p)
{
    auto part = [](double v, const char* positive, const char* negative) {
        const double r = roundDegrees(v);
        return commaDegrees(std::fabs(r)) + "\xC2\xB0 " + (r < 0.0 ? negative : positive);
    };
    return part(p.latitude, "s. \xC5\xA1.", "j. \xC5\xA1.") + ", " + part(p.longitude, "v. d.", "z. d.");
}

std::string formatPosition(LatLon p)
{
    return "Poloha optima: " + formatLatLon(p);
}

namespace {

// f(begin, end, projection) over the places in `threads` parts, each part on a thread of its own
// with a projection of its own (one PROJ context each); false when PROJ refuses the definition.
template <typename Part>
bool projectInParts(const std::string& definition, std::size_t count, int threads, Part part)
{
    const std::size_t parts = std::clamp<std::size_t>(
        static_cast<std::size_t>(std::max(threads, 1)), 1, std::max<std::size_t>(count / 20000, 1));
    std::vector<std::optional<Projection>> projections;
    for (std::size_t k = 0; k < parts; ++k) {
        projections.push_back(Projection::create(definition));
        if (!projections.back())
            return false;
    }
    std::vector<std::thread> running;
    for (std::size_t k = 1; k < parts; ++k)
        running.emplace_back([&, k] { part(count * k / parts, count * (k + 1) / parts, *projections[k]); });
    part(std::size_t { 0 }, count / parts, *projections[0]);
    for (std::thread& t : running)
        t.join();
    return true;
}

} // namespace

LocalProjection localProjection(const std::vector<LatLon>& places, int threads)
{
    LocalProjection out;
    if (places.empty())
        return out;
    double south = places.front().latitude;
    double north = south;
    std::vector<double> lons;
    lons.reserve(places.size());
    for (const LatLon& p : places) {
        south = std::min(south, p.latitude);
        north = std::max(north, p.latitude);
        lons.push_back(normalizedLongitude(p.longitude));
    }
    const double lat0 = std::round((south + north) / 2.0 * 1e6) / 1e6;
    const double lon0 = std::round(middleLongitude(std::move(lons)) * 1e6) / 1e6;
    out.centre = { lat0, lon0 };

    // The distance from the centre is true in an azimuthal equidistant projection. Each part
    // finds its least X and Y and the place farthest beyond the limit.
    struct Extent {
        double minX = HUGE_VAL;
        double minY = HUGE_VAL;
        std::optional<std::size_t> tooFar;
        double tooFarKm = 0.0;
    };
    const std::size_t parts = static_cast<std::size_t>(std::max(threads, 1));
    std::vector<Extent> extents(parts + 1);
    std::mutex extentsLock;
    const bool bareMade = projectInParts(aeqdDefinition(lat0, lon0, 0.0, 0.0), places.size(), threads,
        [&](std::size_t begin, std::size_t end, const Projection& bare) {
            Extent e;
            for (std::size_t k = begin; k < end; ++k) {
                const auto xy = bare.toPlanar(places[k]);
                const double d = xy ? std::hypot(xy->x, xy->y) : HUGE_VAL;
                if (!(d <= MaxDistanceFromCentreKm)) {
                    if (!e.tooFar || d > e.tooFarKm) {
                        e.tooFar = k;
                        e.tooFarKm = d;
                    }
                    continue;
                }
                e.minX = std::min(e.minX, xy->x);
                e.minY = std::min(e.minY, xy->y);
            }
            const std::lock_guard lock(extentsLock);
            extents[begin * parts / places.size()] = e;
        });
    if (!bareMade)
        return out;
    double minX = HUGE_VAL;
    double minY = HUGE_VAL;
    for (const Extent& e : extents) {
        // The farthest of them, the first in the list among equals.
        if (e.tooFar
            && (!out.tooFar || e.tooFarKm > out.tooFarKm
                || (e.tooFarKm == out.tooFarKm && *e.tooFar < *out.tooFar))) {
            out.tooFar = e.tooFar;
            out.tooFarKm = e.tooFarKm;
        }
        minX = std::min(minX, e.minX);
        minY = std::min(minY, e.minY);
    }
    if (out.tooFar)
        return out;
    // Whole kilometres of false origin, written in metres as PROJ takes them.
    const double shiftX = std::ceil(1.0 - minX + 1e-6);
    const double shiftY = std::ceil(1.0 - minY + 1e-6);
    out.definition = aeqdDefinition(lat0, lon0, shiftX * 1000.0, shiftY * 1000.0);
    out.points.resize(places.size());
    const bool storedMade = projectInParts(out.definition, places.size(), threads,
        [&](std::size_t begin, std::size_t end, const Projection& stored) {
            for (std::size_t k = begin; k < end; ++k) {
                const auto xy = stored.toPlanar(places[k]);
                out.points[k]
                    = xy ? PlanarPoint { fourDecimals(xy->x), fourDecimals(xy->y) } : PlanarPoint {};
            }
        });
    if (!storedMade) {
        out.definition.clear();
        out.points.clear();
    }
    return out;
}

std::string localDefinition(LatLon centre, double x0Metres, double y0Metres)
{
    return aeqdDefinition(centre.latitude, centre.longitude, std::round(x0Metres), std::round(y0Metres));
}

bool isScaledPicture(const TProjectRecord& record)
{
    return record.PlaceName[ReferenceEntry].bytes() == ScaledPictureMarker;
}

void markScaledPicture(TProjectRecord& record)
{
    record.PlaceName[ReferenceEntry] = Text100::fromBytes(ScaledPictureMarker);
}

struct GridToWgs84::Handle : ProjContext { };

GridToWgs84::GridToWgs84(std::unique_ptr<Handle> handle)
    : handle_(std::move(handle))
{
}
GridToWgs84::GridToWgs84(GridToWgs84&&) noexcept = default;
GridToWgs84& GridToWgs84::operator=(GridToWgs84&&) noexcept = default;
GridToWgs84::~GridToWgs84() = default;

std::optional<GridToWgs84> GridToWgs84::create(std::string_view crs)
{
    if (crs.size() < 6 || crs.size() > 15 || crs.substr(0, 5) != "EPSG:")
        return std::nullopt;
    if (!std::all_of(crs.begin() + 5, crs.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    auto h = std::make_unique<Handle>();
    if (h->ctx == nullptr)
        return std::nullopt;
    const std::string source(crs);
    PJ* op = proj_create_crs_to_crs(h->ctx, source.c_str(), "EPSG:4326", nullptr);
    if (op == nullptr)
        return std::nullopt;
    // Easting/northing in, longitude/latitude out, whatever the axis order of the systems.
    h->pj = proj_normalize_for_visualization(h->ctx, op);
    proj_destroy(op);
    if (h->pj == nullptr)
        return std::nullopt;
    return GridToWgs84(std::move(h));
}

std::optional<LatLon> GridToWgs84::toLatLon(double x, double y) const
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    proj_errno_reset(handle_->pj);
    const PJ_COORD out = proj_trans(handle_->pj, PJ_FWD, proj_coord(x, y, 0, 0));
    if (!finite(out) || proj_errno(handle_->pj) != 0)
        return std::nullopt;
    const LatLon p { out.xy.y, out.xy.x };
    if (!(std::fabs(p.latitude) <= 90.0) || !(std::fabs(p.longitude) <= 180.0))
        return std::nullopt;
    return p;
}

} // namespace dorvan::geo
