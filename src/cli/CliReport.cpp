#include "cli/CliReport.h"

#include "cli/CliRender.h"
#include "core/cli/CliCommands.h"
#include "core/entry/ProjectSession.h"
#include "render/ReportPainter.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace dorvan::cli {

int reportCommand(const ReportOptions& o, std::ostream& out, std::ostream& err)
{
    std::optional<QGuiApplication> app;
    startOffscreenGui(app);
    std::error_code same;
    if (std::filesystem::equivalent(o.solve.project, o.out, same))
        throw UsageError("--out " + o.out + " is the project itself; choose another name for the report");
    const LoadedProject project = loadProject(o.solve.project, err);
    const TProjectRecord& r = project.record;
    report::ReportSource source;
    source.projectName = std::filesystem::path(o.solve.project).filename().string();
    source.date = report::today();
    source.record = &r;
    source.picture = &project.picture;
    source.placeCount = projectPlaceCount(r);
    source.ticked = choicesAsOpened(r, source.placeCount).Ticked;
    source.inputs = runInputsFor(r, o.solve);
    source.contours = o.contours;
    const report::PreparedReport prepared = report::prepareReport(source, reportingCallbacks(o.solve, err));
    if (const std::optional<QString> why = report::writeReportPdf(prepared, QString::fromStdString(o.out)))
        throw UsageError(o.out + ": cannot be written (" + why->toStdString() + ")");
    out << o.out << ": " << prepared.layout.pages.size() << " pages\n";
    return ExitOk;
}

} // namespace dorvan::cli
