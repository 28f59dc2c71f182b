#include "core/cli/ExportCommand.h"

#include "core/cli/CliCommands.h"
#include "core/cli/ResultExport.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>

namespace dorvan::cli {

// Written beside the target and renamed over it, so a failed export leaves no half file.
void writeTextFile(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".part";
    {
        std::ofstream f(temporary, std::ios::binary | std::ios::trunc);
        if (!f)
            throw UsageError(path + ": cannot be written");
        f << text;
        f.close();
        if (!f) {
            std::remove(temporary.c_str());
            throw UsageError(path + ": cannot be written");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        throw UsageError(path + ": cannot be written");
    }
}

int exportCommand(const ExportOptions& o, std::ostream& out, std::ostream& err)
{
    std::error_code same;
    if (std::filesystem::equivalent(o.solve.project, o.out, same))
        throw UsageError("--out " + o.out + " is the project itself; choose another name for the export");
    const LoadedProject project = loadProject(o.solve.project, err);
    const TProjectRecord& r = project.record;
    const auto reference = geo::projectionOf(r);
    if (o.format == ExportFormat::GeoJson && !reference)
        throw UsageError(o.solve.project + ": " + NoReferenceForGeoJson);
    const std::shared_ptr<const AllocationResult> result = allocationFor(r, o.solve, err);
    reportNotice(result->run, err);
    const RunExport run = runExport(r, *result, o.contours);
    std::string text;
    if (o.format == ExportFormat::GeoJson) {
        const auto json = exportGeoJson(run, *reference);
        if (!json)
            throw UsageError(o.solve.project + ": a point of the result has no latitude and longitude in the reference");
        text = *json;
    } else {
        text = exportCsv(run, reference ? &*reference : nullptr);
    }
    writeTextFile(o.out, text);
    std::size_t contours = run.contours.size();
    out << o.out << ": " << run.places.size() << " places, " << run.results.size()
        << (run.results.size() == 1 ? " result" : " results");
    if (o.format == ExportFormat::GeoJson && !o.contours.empty())
        out << ", " << contours << (contours == 1 ? " contour" : " contours");
    out << '\n';
    return ExitOk;
}

} // namespace dorvan::cli
