#include "cli/CliReport.h"

#include "cli/CliRender.h"
#include "core/allocation/ChartZoom.h"
#include "core/allocation/MapChartGeometry.h"
#include "core/cli/CliCommands.h"
#include "render/ReportPainter.h"

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>

namespace dorvan::cli {

namespace {

// The part of the chart --select chooses, on the drawing area render would draw on; none for a
// selection of at most a pixel either way, which leaves the whole chart.
std::optional<report::ChartSelection> selectedPart(
    const ReportOptions& o, const report::ReportSource& source, const RgbPicture& picture)
{
    if (!o.select)
        return std::nullopt;
    const bool overPicture = report::chartOverPicture(source);
    const QSize area = drawingArea(QSize(o.width, o.height),
        overPicture ? std::optional(mapPictureSize(picture, *source.record)) : std::nullopt, o.proportional);
    const std::array<int, 4>& drag = *o.select;
    const std::optional<ChartRect> rect
        = zoomSelection(clampToArea(drag[0], drag[1], area.width(), area.height()),
            clampToArea(drag[2], drag[3], area.width(), area.height()));
    if (!rect)
        return std::nullopt;
    return report::ChartSelection { *rect, area };
}

} // namespace

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
    source.ticked = r.tickedCriteria();
    source.allocation = allocationFor(r, o.solve, err);
    source.contours = o.contours;
    source.view.withPicture = o.picture;
    source.view.scale = o.scale;
    source.view.selection = selectedPart(o, source, project.picture);
    const report::PreparedReport prepared = report::prepareReport(source);
    if (const std::optional<QString> why = report::writeReportPdf(prepared, QString::fromStdString(o.out)))
        throw UsageError(o.out + ": cannot be written (" + why->toStdString() + ")");
    out << o.out << ": " << prepared.layout.pages.size() << " pages\n";
    return ExitOk;
}

} // namespace dorvan::cli
