#pragma once

// Cost contours around a result: the curves F(x, y) = (1 + L / 100) F(result) for a few levels
// L in percent, F the weighted sum of distances a run minimises. They show how much it costs
// to move the centre away from the optimum to a site that is actually available.
//
// The curves are found in pixels of the drawing area. F is evaluated on a coarse grid; a coarse
// cell is looked at closer only when a level can cross it, which convexity decides for sure: F
// lies above the tangent plane of each corner, so the least value over the cell is at least
// the best of those planes' least corner values, and the largest is at a corner. Inside such a
// cell marching squares runs on a fine grid, each crossing refined on its edge to F's own
// level, and the pieces are joined into polylines.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CooperCertificate.h"
#include "core/allocation/CooperSolver.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// At most this many levels are drawn, each from above 0 up to 1000 percent.
inline constexpr std::size_t MaxContourLevels = 10;
inline constexpr double MaxContourPercent = 1000.0;
// The levels field's default, and what a field that cannot be read is answered with.
inline constexpr std::string_view DefaultContourLevels = "1; 5; 10";
inline constexpr std::string_view BadContourLevelsMessage = "Chybné zadanie IZOČIAR !!!";

// The levels of a text such as "1; 5; 10" (or "1,5,10" with delimiter ','): decimal numbers
// with a comma or a point, each above 0 and at most 1000, at most 10 of them. Nothing for a
// text that breaks any of that, including an empty one.
std::optional<std::vector<double>> parseContourLevels(std::string_view text, char delimiter = ';');

// What the curves are drawn for: the places with their weights, the result and the levels.
struct ContourInput {
    std::vector<CostSite> sites;
    IteratePoint result;
    std::vector<double> percents;
};

// The sites of a one-centre run (the working copy with the run's weights) and of the current
// group (its members that matched a place) as the solver state holds them.
std::vector<CostSite> oneCentreCostSites(const CooperState& s);
std::vector<CostSite> groupCostSites(const CooperState& s);

// A point in pixels of the drawing area: whole numbers are pixel centres.
struct ContourPoint {
    double x = 0.0;
    double y = 0.0;
};

// A curve as a polyline through points on the level, and as the pixels that draw it: those
// along the polyline whose square the level really crosses (F at the square's corners lies on
// both sides of it), so that no drawn pixel is more than half a pixel off its level.
struct ContourLine {
    std::size_t level = 0; // index into the percents
    std::vector<ContourPoint> points; // a closed curve repeats its first point at the end
    std::vector<ChartPixel> pixels;
};

// The label "+L %" of a level with the size the painter measured for it.
struct ContourLabelSize {
    int width = 0;
    int height = 0;
};

struct CostContours {
    std::vector<double> values; // F on each level, in the order of the percents
    std::vector<ContourLine> lines;
    std::vector<ChartText> labels; // at most one per level, top left corner
};

// The label text of a level: "+" + L + " %", L written as the chart writes numbers.
std::string contourLabelText(double percent, std::string_view separator);

// The curves within area (pixels area.left..area.right-1, area.top..area.bottom-1) for the
// chart's mapping. Labels keep inside the area and clear of keepClear (the optimum's dot and
// text) and of each other; a level whose label finds no such place is drawn without one.
// labelSizes gives one size per level. No curves where a weight is negative (F is then not
// convex and has no level to speak of) or where nothing is finite.
CostContours costContours(const ContourInput& input, const ChartState& chart, const ChartRect& area,
    std::span<const ContourLabelSize> labelSizes, std::span<const ChartRect> keepClear,
    std::string_view separator);

// The area curves are drawn in on a W × H drawing: the coordinate window's pixels 20..W-20.
ChartRect contourArea(int width, int height);

} // namespace dorvan
