#include "core/cli/CliCommands.h"

#include "core/entry/MapPlacement.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>

namespace dorvan::cli {

namespace {

void refuseSameFile(const std::string& out, const std::string& input, const char* what)
{
    std::error_code ec;
    if (std::filesystem::equivalent(input, out, ec))
        throw UsageError("--out " + out + " is " + what + " itself; choose another name");
}

} // namespace

int mapCommand(const MapOptions& o, std::ostream& out, std::ostream& err)
{
    refuseSameFile(o.out, o.project, "the project");
    refuseSameFile(o.out, o.map, "the map");
    const LoadedProject loaded = loadProject(o.project, err);
    auto project = projectAsOpened(loaded.record);
    const int places = projectPlaceCount(loaded.record);
    MapLoad load = loadMapFile(o.map, *project, places, o.epsg);
    const bool coarser = load.fit && load.fit->coarser;
    // Places off the map lose nothing (the picture grows white to hold them): a notice, not a
    // refusal.
    std::string placesNotice;
    if (load.fit && farFromEveryPlace(*load.fit))
        placesNotice = "no place lies on the map, the nearest is "
            + std::to_string(std::max(1L, std::lround(load.fit->nearestOutsideKm)))
            + " km from its edge; the map is taken and the picture reaches out to the places";
    else if (load.fit && load.fit->placesOutside > 0)
        placesNotice = std::to_string(load.fit->placesOutside) + " of "
            + std::to_string(load.fit->placesChecked) + " places lie outside the map";
    switch (load.kind) {
    case MapLoad::NeedsSystem:
        throw UsageError(o.map + ": the georeference names no coordinate system; give --epsg N");
    case MapLoad::Refused:
    case MapLoad::Stopped:
        throw UsageError(o.map + ": " + load.message);
    case MapLoad::Picture: {
        if (!o.scaled())
            throw UsageError(o.map + ": a picture without a georeference needs --scale");
        const auto scale
            = scaleRanges(o.scaleWidth, o.scaleHeight, load.picture.width(), load.picture.height());
        placeScaledPicture(*project, std::move(load.picture), *scale);
        break;
    }
    case MapLoad::Map:
        if (o.scaled())
            throw UsageError(o.map + ": the map is georeferenced; --scale is for a plain picture");
        placeFittedMap(*project, places, std::move(*load.fit));
        break;
    }
    const TProjectRecord& r = project->Record;
    try {
        saveProjectFile(o.out, r, project->MapPicture);
    } catch (const std::exception& e) {
        throw UsageError(o.out + ": " + e.what());
    }
    out << o.out << ": " << (load.kind == MapLoad::Map ? "map " : "picture ") << r.PictureWidth << " x "
        << r.PictureHeight << " pixels covering " << r.MapRangeX << " x " << r.MapRangeY << " km\n";
    if (const auto reference = geo::projectReference(r))
        out << o.out << ": reference " << *reference << '\n';
    if (!placesNotice.empty())
        err << "dorvan-cli: " << o.map << ": " << placesNotice << '\n';
    if (coarser)
        out << o.out << ": warped at a coarser resolution (at most " << geo::MaxMapWidth << " x "
            << geo::MaxMapHeight << " pixels)\n";
    return ExitOk;
}

} // namespace dorvan::cli
