#pragma once

// A matrix of road distances between the places of a project, as a routing engine, a GIS or a
// haulier's spreadsheet gives it, read and checked before anything changes. Three forms:
// - long CSV: one pair a line, "from;to;distance", the places named as the project names them,
//   optionally under a header line (the first line is a header when its third field is no
//   number);
// - square CSV: a header line of place names after one corner cell, then one line a place: its
//   name and its distance to the place of each column (an empty cell gives nothing);
// - the JSON of a routing engine's table service, {"distances": [[...], ...]}: rows and columns
//   in the project's place order, as distanceRequestUrl asks for them; null is no value.
// The CSV text is read as a place list is (PlaceCsv.h): UTF-8 or else Windows-1250, blank and
// "#" lines skipped, ";" or "," as the first line decides, a decimal comma or point, quotes.
// A CSV file is square when its first line holds more than three fields, or three whose second
// and third are names of the project's places; otherwise it is long.
//
// Units: the JSON is in metres and the CSV in kilometres, unless the header names the unit (the
// third field of a long header, the corner of a square one, ending in "km" or "m": "km",
// "distance_m", "vzdialenosť (km)") or the caller gives one, which wins.
//
// Checks: every pair present in one direction at least (a missing pair is named "A<--->B"),
// every number a number and not negative, a place to itself 0, every name a place of the
// project and none repeated, the matrix as large as the list. The project keeps one symmetric
// matrix of kilometres to four decimals, as typed entry keeps it: where both directions are
// given and differ, their mean is kept.

#include "core/entry/PlaceRelations.h"
#include "core/geo/GeoReference.h"
#include "core/project/ProjectRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::cli {

enum class DistanceUnit { Kilometres, Metres };
enum class MatrixFormat { LongCsv, SquareCsv, Json };

// The largest matrix file read: a routing server's answer for 99 places, with its durations and
// waypoints, fits many times over.
inline constexpr std::size_t MaxDistanceMatrixBytes = 16u * 1024u * 1024u;

// One thing wrong with the matrix: in English for the command line, in Slovak for the window.
struct MatrixProblem {
    int line = 0; // 0: the file as a whole
    std::string english;
    std::string slovak;
};

struct DistanceMatrixRead {
    MatrixFormat format = MatrixFormat::LongCsv;
    DistanceUnit unit = DistanceUnit::Kilometres;
    DistanceTable table; // the matrix for the project, complete only when ok()
    std::vector<MatrixProblem> problems;
    int averaged = 0; // pairs given both ways with different values: their mean is kept
    int differing = 0; // of those, the pairs whose two values differ by more than 1 % of the mean

    bool ok() const { return problems.empty(); }
};

// Reads a matrix for places 1..placeCount of the record from the bytes of a file.
DistanceMatrixRead readDistanceMatrix(std::string_view bytes, const TProjectRecord& record, int placeCount,
    std::optional<DistanceUnit> unit = std::nullopt);

// The notice about pairs whose two directions differ by more than 1 %; empty for none.
std::string differingNoticeEnglish(const DistanceMatrixRead& read);
std::string differingNoticeSlovak(const DistanceMatrixRead& read);

// The one message the window shows for a refused matrix: every problem on a line of its own
// ("riadok N: " before those of a line), at most maxListed of them and then how many more.
std::string slovakRefusal(std::string_view file, const DistanceMatrixRead& read, std::size_t maxListed = 15);

// The names of the forms and units as the command line reports them.
std::string_view formatName(MatrixFormat format);
std::string_view unitName(DistanceUnit unit);

// The request to a routing engine's table service for the distances between the places given
// in latitude/longitude: BASE/table/v1/driving/lon,lat;lon,lat;...?annotations=distance, the
// places in the given order. A base that already names a table service ("/table/" in it) is
// followed by the coordinates only.
std::string distanceRequestUrl(std::string_view base, const std::vector<geo::LatLon>& places);

} // namespace dorvan::cli
