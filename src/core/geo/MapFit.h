#pragma once

// A georeferenced map made to fit a project: warped into the project's plane so that the stored
// picture covers exactly [0, rangeX] x [0, rangeY] kilometres, both whole. Pixel (c, r) of a
// w x h picture covers X in [c rangeX / w, (c + 1) rangeX / w] and Y in
// [(h - r - 1) rangeY / h, (h - r) rangeY / h].

#include "core/common/MapRaster.h"
#include "core/common/RgbPicture.h"
#include "core/geo/GeoReference.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvan::geo {

// The largest warped picture; a finer map is warped at a coarser resolution.
inline constexpr int MaxMapWidth = 8000;
inline constexpr int MaxMapHeight = 6000;

inline constexpr const char* MapSystemQuestion = "Zadajte súradnicový systém mapy (EPSG)";
inline constexpr const char* MapOutsideText = "Mapa sa nedá previesť do súradníc projektu !!!";
inline constexpr const char* ReferenceTooLongText = "Posunutý súradnicový systém projektu je príliš dlhý !!!";
std::string unknownEpsgText(int epsg);

struct MapFitRequest {
    // The project's reference; without one the map defines it (a local azimuthal equidistant
    // projection centred on the map, its false origin at the map's lower-left corner).
    std::optional<std::string> reference;
    // The project's places in its plane: the extent grows to hold them.
    std::vector<PlanarPoint> places;
    // The map's system when its files name none (or to overrule them).
    std::optional<int> epsg;
};

struct MapFit {
    RgbPicture picture;
    int rangeX = 0; // kilometres
    int rangeY = 0;
    std::string reference; // the project's reference after the fit
    // Added to the places' X/Y when the false origin moved so that nothing of the map is cut.
    double shiftX = 0.0;
    double shiftY = 0.0;
    bool coarser = false; // the 8000 x 6000 bound lowered the resolution
    // The request's places against the map's own area (not the white the picture grows by to
    // hold them): how many were looked at, how many lie outside, and how far the nearest of
    // those outside lies from the map's edge (kilometres of the project's plane).
    int placesChecked = 0;
    int placesOutside = 0;
    double nearestOutsideKm = 0.0;
};

struct MapFitResult {
    std::optional<MapFit> fit;
    bool needsSystem = false; // the georeference names no system and no EPSG code was given
    std::string message; // why it was refused (MapSystemQuestion when needsSystem)
    bool stopped = false; // the progress said stop
    bool ok() const { return fit.has_value(); }
};

// Warps the pixels (bilinear, at the resolution GDAL suggests for the project's system, white
// where the map does not reach). Refuses a system it cannot use, a map that cannot be carried
// into the plane, and a warp needing more than MaxWarpBytes. The warp reports to progress,
// which may stop it.
MapFitResult fitMap(const RasterPixels& pixels, const RasterGeoreference& georeference,
    const MapFitRequest& request, const StepProgress& progress = {});

// The places of `places` outside the closed polygon `ring` (its corners in order, the last joined
// to the first), and the distance of the nearest of them from the polygon's edge.
struct PlacesAgainstArea {
    int outside = 0;
    double nearestOutside = 0.0;
};
PlacesAgainstArea placesAgainstArea(std::span<const PlanarPoint> ring, std::span<const PlanarPoint> places);

// The definition with its false origin moved by (dx, dy) kilometres (+x_0/+y_0 are metres);
// nothing when the result is longer than a reference may be.
std::optional<std::string> shiftedDefinition(const std::string& definition, double dxKm, double dyKm);

} // namespace dorvan::geo
