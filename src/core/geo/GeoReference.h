#pragma once

// Real coordinates of a project. A project may carry a coordinate reference: the PROJ
// definition of the planar system its X/Y are given in, in kilometres, kept in the name field
// of place entry 100 (never a place, so files without a reference and their readers are
// untouched). Text there that PROJ does not accept, or that does not begin with "+proj=",
// means no reference. Every transformation uses exactly the stored text.

#include "core/project/ProjectRecord.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::geo {

// The place entry whose name field holds the reference.
inline constexpr int ReferenceEntry = MaxPlaces;
// The longest definition the field holds.
inline constexpr std::size_t MaxDefinitionLength = 100;

// Degrees on WGS84.
struct LatLon {
    double latitude = 0.0;
    double longitude = 0.0;
};

struct PlanarPoint {
    double x = 0.0;
    double y = 0.0;
};

// A definition PROJ accepts as a projection from WGS84 latitude/longitude to planar
// coordinates: ASCII, at most 100 characters, beginning with "+proj=".
class Projection {
public:
    // Nothing when the text is not such a definition.
    static std::optional<Projection> create(std::string_view definition);

    Projection(Projection&&) noexcept;
    Projection& operator=(Projection&&) noexcept;
    ~Projection();

    const std::string& definition() const { return definition_; }
    // Nothing when the point has no image (not finite, or PROJ refuses it).
    std::optional<PlanarPoint> toPlanar(LatLon p) const;
    std::optional<LatLon> toLatLon(PlanarPoint p) const;

private:
    struct Handle;
    explicit Projection(std::string definition, std::unique_ptr<Handle> handle);
    std::string definition_;
    std::unique_ptr<Handle> handle_;
};

bool isAcceptedDefinition(std::string_view definition);

// The project's reference, or nothing when entry 100 holds no accepted definition.
std::optional<std::string> projectReference(const TProjectRecord& record);
// Stores a definition; false (and the record unchanged) when it is not accepted.
bool setProjectReference(TProjectRecord& record, std::string_view definition);
// A project without a reference: "Nový" and closing the data entry clear it.
void clearProjectReference(TProjectRecord& record);

// The projection of the project's reference; nothing without one.
std::optional<Projection> projectionOf(const TProjectRecord& record);

// A point of the project's plane in latitude/longitude; nothing without a reference.
std::optional<LatLon> toLatLon(const TProjectRecord& record, double x, double y);

// Degrees rounded to 7 decimals, the precision every output gives.
double roundDegrees(double degrees);

// Degrees with 7 decimals and a decimal point, whatever the locale ("-0.1234560").
std::string fixedDegrees(double degrees);
// The same with a decimal comma ("-0,1234560"), as the lists and the report give degrees.
std::string commaDegrees(double degrees);

// "48,7312345° s. š., 19,1456789° v. d." (south "j. š.", west "z. d."), 7 decimals.
std::string formatLatLon(LatLon p);
// "Poloha optima: " followed by formatLatLon.
std::string formatPosition(LatLon p);

// A local azimuthal equidistant projection for a list of places: centred on the middle of
// their bounding box (in longitude the shortest arc holding all of them, so a list across
// 180° is centred on it), on WGS84, in kilometres, with a false origin that puts every place at
// X, Y >= 1. The X/Y are computed through the stored definition and rounded to four decimals.
inline constexpr double MaxDistanceFromCentreKm = 2000.0;

struct LocalProjection {
    std::string definition;
    LatLon centre;
    std::vector<PlanarPoint> points; // one per place, in the order given
    // When a place lies more than 2,000 km from the centre: its index, and no points.
    std::optional<std::size_t> tooFar;
    double tooFarKm = 0.0;
};

// places must hold at least one point, each latitude in -90..90 and longitude in -180..180.
// The places are projected on up to `threads` threads (each with a PROJ context of its own; a
// thread for at least 20,000 places), with the same result whatever their number.
LocalProjection localProjection(const std::vector<LatLon>& places, int threads = 1);

// The definition of such a projection centred on `centre` (degrees written with at most 6
// decimals) with a false origin in whole metres.
std::string localDefinition(LatLon centre, double x0Metres, double y0Metres);

// A picture given a scale in kilometres without any real coordinates keeps this text in the
// reference's field: its ranges are kilometres, but there is no latitude or longitude. It does
// not begin with "+proj=", so it is never taken for a reference.
inline constexpr std::string_view ScaledPictureMarker = "#picture-scale-km";
bool isScaledPicture(const TProjectRecord& record);
void markScaledPicture(TProjectRecord& record);

// A national or other grid given as "EPSG:N", transformed to WGS84 as PROJ chooses. x is the
// easting, y the northing (the traditional GIS order).
class GridToWgs84 {
public:
    // Nothing when PROJ does not know the system, or the text is not "EPSG:" and digits.
    static std::optional<GridToWgs84> create(std::string_view crs);

    GridToWgs84(GridToWgs84&&) noexcept;
    GridToWgs84& operator=(GridToWgs84&&) noexcept;
    ~GridToWgs84();

    std::optional<LatLon> toLatLon(double x, double y) const;

private:
    struct Handle;
    explicit GridToWgs84(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle_;
};

} // namespace dorvan::geo
