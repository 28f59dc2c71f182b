// dorvan-cli distances: a matrix of road distances into a copy of a project, checked whole
// before anything is written, or the request that fetches one from a routing server.
#include "core/cli/CliCommands.h"

#include "core/cli/DistanceMatrix.h"
#include "core/entry/ProjectSession.h"
#include "core/geo/GeoReference.h"

#include <filesystem>
#include <ostream>

namespace dorvan::cli {

namespace {

int printRequest(const DistancesOptions& o, const TProjectRecord& r, int n, std::ostream& out)
{
    const auto projection = geo::projectionOf(r);
    if (!projection)
        throw UsageError(o.project
            + ": the project has no coordinate reference (its places were not imported with latitude and "
              "longitude or --crs), so no routing server can be asked for it");
    std::vector<geo::LatLon> places;
    for (int i = 1; i <= n; ++i) {
        const auto p = projection->toLatLon({ r.PlaceX[i], r.PlaceY[i] });
        if (!p)
            throw UsageError(o.project + ": place " + std::to_string(i) + " has no latitude and longitude");
        places.push_back(*p);
    }
    out << distanceRequestUrl(o.requestUrl, places) << '\n';
    return ExitOk;
}

} // namespace

int distancesCommand(const DistancesOptions& o, std::ostream& out, std::ostream& err)
{
    if (o.requestUrl.empty()) {
        for (const std::string* input : { &o.project, &o.matrix }) {
            std::error_code same;
            if (std::filesystem::equivalent(*input, o.out, same))
                throw UsageError("--out " + o.out + " is "
                    + (input == &o.project ? "the project" : "the matrix") + " itself; choose another name");
        }
    }
    const LoadedProject loaded = loadProject(o.project, err);
    const int n = projectPlaceCount(loaded.record);
    if (!o.requestUrl.empty())
        return printRequest(o, loaded.record, n, out);
    if (n < 2)
        throw UsageError(o.project + ": the project has fewer than two places");

    const std::string bytes = readWholeFile(o.matrix, MaxDistanceMatrixBytes);
    std::optional<DistanceUnit> unit;
    if (o.unit == DistancesOptions::Unit::Kilometres)
        unit = DistanceUnit::Kilometres;
    else if (o.unit == DistancesOptions::Unit::Metres)
        unit = DistanceUnit::Metres;
    const DistanceMatrixRead read = readDistanceMatrix(bytes, loaded.record, n, unit);
    if (!read.ok()) {
        for (const MatrixProblem& p : read.problems) {
            err << "dorvan-cli: " << o.matrix;
            if (p.line > 0)
                err << ':' << p.line;
            err << ": " << p.english << '\n';
        }
        err << "dorvan-cli: " << o.matrix << ": nothing was written\n";
        return ExitBadInput;
    }
    auto project = projectAsOpened(loaded.record);
    ProjectSession session(*project);
    if (!session.importDistances(read.table))
        throw UsageError(o.matrix + ": the matrix does not fit the project's places");
    try {
        saveProjectFile(o.out, project->Record, loaded.picture);
    } catch (const std::exception& e) {
        throw UsageError(o.out + ": " + e.what());
    }
    if (const std::string notice = differingNoticeEnglish(read); !notice.empty())
        err << "dorvan-cli: " << o.matrix << ": " << notice << '\n';
    out << o.out << ": " << n * (n - 1) / 2 << " distances between " << n << " places from "
        << formatName(read.format) << " in " << unitName(read.unit) << "; real distances switched on\n";
    return ExitOk;
}

} // namespace dorvan::cli
