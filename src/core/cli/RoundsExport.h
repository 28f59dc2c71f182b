#pragma once

// The delivery rounds for other programs: the JSON of "dorvan-cli network --method rounds" and
// the rounds as GeoJSON LineStrings.

#include "core/geo/GeoReference.h"
#include "core/network/Rounds.h"

#include <optional>
#include <string>

namespace dorvan::cli {

// {"project", "depot", "rounds": [{"places", "length", "load", "time"}], "total", "vehicles",
// "missed", "cancelled"}
std::string roundsJson(const std::string& project, const RoundsProblem& problem, const RoundsPlan& plan);

// A FeatureCollection: the depot as a Point, each round a LineString from the depot through its
// places and back, with its number, places, length, load and time. With a reference the
// positions are longitude/latitude, else the project's X/Y; nothing when a point has no
// latitude and longitude.
std::optional<std::string> roundsGeoJson(const TProjectRecord& record, const RoundsProblem& problem,
    const RoundsPlan& plan, const geo::Projection* reference);

} // namespace dorvan::cli
