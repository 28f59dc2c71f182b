#pragma once

// A solved run written for other programs: GeoJSON (RFC 7946: WGS84, [longitude, latitude],
// 7 decimals) for a project with a reference, and CSV in X/Y (with latitude and longitude when
// there is a reference). The command line's export and the window's export share it.

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/geo/GeoReference.h"
#include "core/project/ProjectRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace dorvan::cli {

using geo::LatLon;
using geo::PlanarPoint;
using geo::Projection;

struct ExportPlace {
    std::string name; // UTF-8
    double x = 0.0;
    double y = 0.0;
    double weight = 1.0; // as the run weighs the place
    int group = 0; // the first group listing it in a group run; 0 for none
};

struct ExportResult {
    int group = 0; // 0 for a one-centre run
    PlanarPoint optimum;
    double objective = 0.0;
    std::optional<double> gap; // nothing where nothing can be said (a negative weight)
    std::vector<PlanarPoint> path; // the iterates from the start to the optimum
    // The existing centre that serves the group from its place (the optimum is then that
    // place, not iterated); empty for an iterated centre.
    std::string existingCentre;
};

struct ExportContour {
    int group = 0;
    double level = 0.0; // percent above the optimum's cost
    std::vector<PlanarPoint> points;
};

struct RunExport {
    bool groups = false;
    std::vector<ExportPlace> places;
    std::vector<ExportResult> results; // one, or one per solved group
    std::vector<ExportContour> contours;
};

// What an allocation result over the places of the record left, with the cost contours at the
// given percents (none when empty) around each result, as the chart finds them over the
// places' window.
RunExport runExport(
    const TProjectRecord& record, const AllocationResult& result, const std::vector<double>& contourPercents);

// The FeatureCollection: a Point per place (name, weight, group with groups), a Point per
// result (role "optimum", group, objective, gap, existing: whether it is an existing centre,
// with existing_centre its name in a group run), the iteration path as a LineString (role
// "path", group) and each contour as a LineString (role "contour", group, level). Nothing when
// a point has no latitude/longitude.
std::optional<std::string> exportGeoJson(const RunExport& run, const Projection& reference);

// One table a GIS reads (ResultCsv.cpp): a header and one row a feature, "," separated, numbers
// with a decimal point (reals always with a fraction or an exponent), UTF-8. Columns
// kind,group,name,step,x,y,weight,objective,gap,existing and, with a reference,
// latitude,longitude; kind "place" (group, name, weight), "optimum" (group, objective, gap,
// existing 1 with the name of an existing centre that serves the group from its place, else 0)
// and "path" (group, step from 0 at the start point to the optimum). A value a feature does not
// have is an empty field.
std::string exportCsv(const RunExport& run, const Projection* reference);

// A real as a GIS types it: a decimal point whatever the locale, 15 significant digits, and
// always a fraction or an exponent, so that a column of whole numbers is still read as reals.
// Nothing for a value that is not finite.
std::string gisReal(double v);

// Two tables separated by an empty line, tab-separated with decimal commas, for a spreadsheet to
// paste: the places (kind, group, name, x, y, weight) and the results (kind, group, x, y,
// objective, gap), each row ending in latitude and longitude when there is a reference. In a run
// where existing centres serve groups the results take a column "existing" before latitude and
// longitude: the name of the existing centre that serves the group, empty for an iterated centre.
std::string exportTabSeparated(const RunExport& run, const Projection* reference);

// Without a reference GeoJSON cannot be written.
inline constexpr const char* NoReferenceForGeoJson
    = "the project has no coordinate reference (import its places with latitude and longitude "
      "or --crs); GeoJSON needs latitude and longitude, so export CSV in X/Y instead";

} // namespace dorvan::cli
