#pragma once

// The report of an allocation result on paged devices: the result the core keeps for the
// project (AllocationResults), its pages laid out by the core, painted here on a PDF writer or
// on a printer (which the window opens: QPrinter belongs to the widget libraries). Nothing here
// solves: the result comes as data. Text and the chart stay vector
// graphics; only the map picture of a run in picture mode is an image. The command line and the
// window both go through prepareReport and paintReport, so they make the same pages.

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/common/RgbPicture.h"
#include "core/report/ReportContent.h"
#include "core/report/ReportLayout.h"
#include "render/ChartZoomPainter.h"

#include <QRectF>
#include <QSize>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPagedPaintDevice;

namespace dorvan::report {

// A part of the chart chosen by a drag over a drawing area, as the allocation window's zoom
// takes it: the chart page shows that part magnified, as the zoom shows it on that area.
struct ChartSelection {
    ChartRect rect; // the drag's rectangle, left/top before right/bottom, over a pixel each way
    QSize area; // the drawing area it was dragged over
};

// How the chart page draws the result, as the allocation window's result box sets it.
struct ReportChartView {
    bool withPicture = true; // "S obrázkom": over the map picture when the run is in picture mode
    ChartScale scale = ChartScale::Free; // "Rovnaká mierka osí"
    std::optional<ChartSelection> selection; // none: the whole chart
};

// What a report is made of.
struct ReportSource {
    std::string projectName; // the project file's name without its folder
    ReportDate date;
    const TProjectRecord* record = nullptr;
    const RgbPicture* picture = nullptr; // the map picture; none or empty for a project without one
    int placeCount = 0;
    std::array<bool, CriterionCount> ticked {}; // the criterion boxes
    // The allocation result reported, with the inputs it was made from (never null).
    std::shared_ptr<const AllocationResult> allocation;
    std::vector<double> contours; // percents above the optimum's cost; none when empty
    ReportChartView view;
    std::vector<ReportSection> extras; // the window's own tables, after the place table
};

// The part of the chart a selection chose, to scale: the coordinates the selection covered on
// the window's drawing, and their rectangle on the zoom's surface F drawn with equal axes (over
// a map picture, as the window draws F).
struct SelectedPart {
    QSize surface; // F
    QRectF source; // in F's pixels
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
};

// The room the zoomed part's axes take beside its frame, in points: the Y labels on the left,
// the X labels below, half a label's height above.
inline constexpr double AxisRoomLeft = 52.0;
inline constexpr double AxisRoomBottom = 16.0;
inline constexpr double AxisRoomTop = 6.0;

struct PreparedReport {
    ReportLayout layout;
    ResultDrawing chart; // holds its own copy of the map picture; drawn with equal axes
    std::optional<ChartSelection> selection; // the part of the chart shown; none for all of it
    std::optional<SelectedPart> part; // that part to scale, when there is one
};

// The width in points of a text in a style of the report's fonts.
double measuredWidth(std::string_view text, TextStyle style);

// Whether the source's chart is drawn over the map picture: "S obrázkom" chosen, the run in
// picture mode and the project's picture at hand.
bool chartOverPicture(const ReportSource& source);

// Lays the report of the source's result out.
PreparedReport prepareReport(const ReportSource& source);

// Sets the device to A4 without margins, each page in its layout's orientation, and paints one
// page a laid-out page. False
// when a painter cannot begin on the device.
bool paintReport(QPagedPaintDevice& device, const PreparedReport& report);

// Writes the report as PDF beside the file and renames it over the file, so a failure (an
// unwritable folder, a full disk) leaves neither a part nor a changed file; the reason when it
// fails.
std::optional<QString> writeReportPdf(const PreparedReport& report, const QString& path);

// Today's date on this machine.
ReportDate today();

} // namespace dorvan::report
