#pragma once

// A map or a picture put into a project, for the picture page and dorvan-cli alike: a
// georeferenced map is warped into the project's plane and its ranges are kilometres; a plain
// picture stays as it is, in display ranges, or with a scale in kilometres.

#include "core/common/RgbPicture.h"
#include "core/geo/MapFit.h"
#include "core/project/Project.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

inline constexpr const char* MapScaleTitleText = "Mierka mapy";
inline constexpr const char* MapWidthLabelText = "Šírka mapy (km)";
inline constexpr const char* MapHeightLabelText = "Výška mapy (km)";
inline constexpr const char* BadMapScaleText = "Mierka mapy musí byť celý počet kilometrov, aspoň 1 !!!";
inline constexpr const char* PlainPictureTooLargeText = "Súbor obrázka je príliš veľký !!!";
inline constexpr const char* PictureNeedsScaleText
    = "Miesta projektu majú skutočné súradnice: obrázok bez georeferencie potrebuje mierku mapy "
      "(šírka alebo výška v km) !!!";

// A side of the scale as typed: a whole number of kilometres, at least 1 (a decimal, a sign or
// anything else is refused); nothing for an empty text.
struct KilometresText {
    std::optional<int> km;
    bool ok = true;
};
KilometresText parseKilometres(std::string_view text);

// The ranges of a plain picture of `picture` pixels given one side or both in kilometres; the
// missing side follows the picture's aspect, to the nearest whole kilometre and at least 1.
// Nothing when neither side is given or the picture is empty.
struct ScaleKm {
    int x = 0;
    int y = 0;
};
std::optional<ScaleKm> scaleRanges(
    std::optional<int> widthKm, std::optional<int> heightKm, int pictureWidth, int pictureHeight);

// A picture file read for a project.
struct MapLoad {
    enum Kind { Map, Picture, Refused, NeedsSystem, Stopped } kind = Refused;
    std::string message; // Refused: why; NeedsSystem: the question to ask
    std::optional<geo::MapFit> fit; // Map
    RgbPicture picture; // Picture
};

// What a map is fitted to: the project's reference and its places 1..placeCount, copied from
// the project so that the reading may run away from it (on another thread).
struct MapLoadInputs {
    std::optional<std::string> reference;
    std::vector<geo::PlanarPoint> places;
};
MapLoadInputs mapLoadInputs(const Project& project, int placeCount);
// The same reference and the same places at the same coordinates.
bool sameInputs(const MapLoadInputs& a, const MapLoadInputs& b);

// Reads `path`: a georeferenced raster is fitted to the inputs; a plain bitmap or JPEG goes
// through the program's own readers, any other plain raster through GDAL. epsg names the map's
// system when its files do not. Reading and warping report their share done to progress
// (reading up to 0.5, warping the rest), which may stop them (a Stopped load).
MapLoad loadMapFile(const std::string& path, const MapLoadInputs& inputs, std::optional<int> epsg,
    const StepProgress& progress = {});
// The same for a project and its places 1..placeCount. Nothing of the project changes.
MapLoad loadMapFile(const std::string& path, const Project& project, int placeCount, std::optional<int> epsg);

// The places a fitted map leaves outside its own area, as the user is told: "1 miesto leží mimo
// mapy", "3 miesta ležia mimo mapy", "7 miest leží mimo mapy".
std::string placesOutsideText(int count);
// A map that holds none of the places it was fitted to lies far from every place: the user is
// asked before it is taken.
bool farFromEveryPlace(const geo::MapFit& fit);
std::string farMapQuestion(const geo::MapFit& fit);

// The fitted map becomes the project's picture: the reference, the places 1..placeCount moved
// with the false origin, the picture, its size and its ranges in kilometres.
void placeFittedMap(Project& project, int placeCount, geo::MapFit fit);

// A plain picture with a scale: its ranges are those kilometres. A project without a reference
// gets the scaled-picture marker in its place.
void placeScaledPicture(Project& project, RgbPicture picture, ScaleKm scale);

// The picture's ranges are kilometres (a map or a scaled picture), never taken from the display.
bool rangesFixed(const TProjectRecord& record);

// A plain picture without a scale cannot be taken into a project whose places have real
// coordinates: its range would be kilometres it does not have (every click at 0, 0).
bool plainPictureNeedsScale(const TProjectRecord& record);

// The X/Y in kilometres of a place clicked at display pixel (x, y) of a control of `width` x
// `height` showing the whole picture: X = x rangeX / CW, Y = (CH - y - 1) rangeY / (CH - 1), the
// same mapping the marks are drawn by, rounded to 4 decimals. Nothing for a control too small.
struct Kilometres {
    double x = 0.0;
    double y = 0.0;
};
std::optional<Kilometres> kilometresFromPixel(int x, int y, int width, int height, int rangeX, int rangeY);

} // namespace dorvan
