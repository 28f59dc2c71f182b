#pragma once

// Every number of the result chart: the coordinate window, the scales, where the axes, ticks,
// grid lines, labels, place markers, iteration path and optimum lie in pixels, and the texts.
// The painters in ChartPainter only draw what these functions return, so the chart can be
// checked here figure by figure without a display.
//
// Pixels: (0, 0) is the top left corner, y grows downwards, while coordinate Y grows upwards.
// Every pixel position is computed in extended precision and rounded to the nearest integer,
// halves to even.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// A project place or group member as the chart sees it (PlaceX / PlaceY, GroupMemberX / Y).
struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
};

// One iterate of the Cooper path (IterX / IterY or GroupIterX / GroupIterY, in that order).
struct IteratePoint {
    long double x = 0.0L;
    long double y = 0.0L;
};

// How the places were entered: typed in ("Dáta - RUČNE") or clicked onto a map picture.
enum class ChartDataMode { Manual, Picture };

// How the chart scales its axes: each to fill the drawing area on its own, or both alike
// ("Rovnaká mierka osí"), so that distances look true and a circle stays round.
enum class ChartScale { Free, Equal };

// A rectangle from (left, top) to (right, bottom), the right and bottom edges excluded: it
// covers the pixels left..right-1 and top..bottom-1. A marker "from (x-3, y-3) to (x+4, y+4)"
// is thus 7 × 7 pixels centred on (x, y).
struct ChartRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ChartRect&) const = default;
};

// The chart state kept by the allocation window between drawings (one instance, rewritten by
// every drawing). The mapping of coordinates to pixels belongs to it.
struct ChartState {
    double ChartMinX = 0.0;
    double ChartMaxX = 0.0;
    double ChartMinY = 0.0;
    double ChartMaxY = 0.0;
    double ChartScaleX = 0.0; // pixels per coordinate unit along X
    double ChartScaleY = 0.0; // pixels per coordinate unit along Y
    ChartScale Scale = ChartScale::Free;
    // The boxes of the place and optimum labels drawn on this chart so far, so that a group
    // drawn later puts its labels where they cover none of them.
    std::vector<ChartRect> LabelBoxes;

    // The pixel column of coordinate X: the window's [ChartMinX; ChartMaxX] maps onto 20..W-20.
    int px(long double X) const;
    // The pixel row of coordinate Y: the window's [ChartMinY; ChartMaxY] maps onto H-20..20.
    int py(long double Y) const;

    // Two states are the same chart when they map alike; the labels taken are not compared.
    bool operator==(const ChartState& o) const
    {
        return ChartMinX == o.ChartMinX && ChartMaxX == o.ChartMaxX && ChartMinY == o.ChartMinY
            && ChartMaxY == o.ChartMaxY && ChartScaleX == o.ChartScaleX && ChartScaleY == o.ChartScaleY
            && Scale == o.Scale;
    }
};

struct ChartLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const ChartLine&) const = default;
};

struct ChartPixel {
    int x = 0;
    int y = 0;
    bool operator==(const ChartPixel&) const = default;
};

// A text and the top left corner it is written at.
struct ChartText {
    std::string text; // UTF-8
    int x = 0;
    int y = 0;
    bool operator==(const ChartText&) const = default;
};

// Drawing areas below this size in either direction are not drawn; the window is resized.
inline constexpr int ChartMinSide = 50;
// The distance of the coordinate window's edges from the drawing area's edges.
inline constexpr int ChartInset = 20;
// Coordinate units added around the places on every side.
inline constexpr double ChartMargin = 5.0;

// The chart's arithmetic, shared with the drawing over the map picture.
namespace chart {
// Points far off the drawing area are pulled in to this distance: what is visible of a
// horizontal or vertical line stays the same, and the painter never sees coordinates that
// could overflow its rasteriser.
inline constexpr int FarPixel = 1'000'000;
// No half-axis ever has this many ticks; the bound only keeps a damaged state from looping.
inline constexpr long long MaxTicks = 100'000;
// A tick that falls exactly on the window's end in decimal terms may miss it by a rounding
// error of the binary step (0.2 is not exact); this much of a pixel lets it in.
inline constexpr long double TickSlack = 1e-9L;

// A pixel position: rounded, halves to even, and kept within FarPixel.
int toPixel(long double v);
bool finitePoint(const ChartPoint& p);
// The tick spacing is usable only when it is a positive finite number.
bool usableSpacing(long double t);
// The last tick k that is labelled on a half-axis of `ticks` tick spacings; 0 when not finite.
long long lastLabelled(long double ticks);
// Moves the window's extremes out to a place strictly beyond them.
void widenTo(ChartState& s, const ChartPoint& p);
// The window always holds the origin, so both axes are drawn.
void includeOrigin(ChartState& s);
} // namespace chart

// Whether a W × H drawing area is too small for the chart.
bool chartTooSmall(int width, int height);

// The client size the allocation window takes instead of drawing a too small chart: the two
// result lists plus 100 pixels wide and 100 pixels high.
struct ChartWindowSize {
    int clientWidth = 0;
    int clientHeight = 0;
};
ChartWindowSize chartFallbackSize(int placesWidth, int pathWidth);

// The tick step for a whole range R: 80 to 200 ticks across the range, one grid line on every
// tenth tick. R = 20 gives 0.1, 30 gives 0.2, 110 gives 1, 350 gives 2.5, 999 gives 10. A range
// below 1 has no step (0).
long double tickStep(long double range);

// The length of tick k of a half-axis counted from the origin: every fifth tick is medium,
// every tenth long and carries a grid line, the others are short.
enum class TickKind { Short, Medium, Long };
TickKind tickKind(long long k);
int tickLength(TickKind kind); // 3, 5 or 10 pixels

// A number as the chart and the result lists write it: the general format with up to 15
// significant digits, shortest form, with the given decimal separator (UTF-8) and a leading
// "-" for negative values. Values of 1E15 and more in size, or below 1E-4, are written with an
// exponent ("1,5E+15", "2E-5").
std::string formatGeneral15(double value, std::string_view separator);

// The value of tick label k of a half-axis, formed from the window's extreme as the tick count
// across that half of the window: k × extreme / (extreme × scale / spacing), which is k × step
// (k × step itself when the extreme is 0).
double labelValue(long long k, long double extreme, long double scale, long double spacing, long double step);

// The coordinate window around the places, with the origin and a margin of 5 units, and the
// scales for a W × H drawing area. Needs at least one place; with none the window is the
// margin around the origin. A coordinate that is not finite is left out of the window.
// With equal scales both axes take the smaller of the two scales, and the axis that then has
// room to spare is widened by the same amount at both ends, so the drawing stays centred.
ChartState chartWindow(
    std::span<const ChartPoint> places, int width, int height, ChartScale scale = ChartScale::Free);

// The plain chart's background and the group run's background differ only in how far the axes
// and grid lines reach.
enum class ChartBackgroundStyle { OneCentre, Groups };

// A stroke of the tick pass in drawing order: a grid line (silver, dotted) or a tick (red).
struct ChartStroke {
    ChartLine line;
    bool grid = false;
    bool operator==(const ChartStroke&) const = default;
};

// Frame, axes, ticks, grid and tick labels: everything of the chart that does not depend on
// the result.
struct ChartBackground {
    int width = 0;
    int height = 0;
    long double stepX = 0.0L; // hx, coordinate units between ticks along X
    long double stepY = 0.0L; // hy
    long double tickX = 0.0L; // tx = hx × sx, pixels between ticks (not rounded)
    long double tickY = 0.0L; // ty = hy × sy
    int originX = 0; // x0, the pixel column of X = 0 (the Y axis)
    int originY = 0; // y0, the pixel row of Y = 0 (the X axis)
    ChartRect outerFrame; // light 3-D edge outline, tooltip background fill, pen 2
    ChartRect innerFrame; // the same outline, white fill, pen 2
    ChartLine axisY; // red, pen 2
    ChartLine axisX;
    std::vector<ChartStroke> strokes; // X > 0, X < 0, Y > 0, Y < 0 in this order
    std::vector<ChartText> labels; // every tenth tick, the same order of half-axes
    // How many of labels belong to each half-axis: X > 0, X < 0, Y > 0, Y < 0.
    std::array<std::size_t, 4> labelCounts {};
};

// The background for a state made by chartWindow on the same W × H area. separator is the
// locale's decimal separator for the labels. With equal scales both axes take the tick step
// of the longer range, so the grid is square.
ChartBackground chartBackground(
    const ChartState& state, int width, int height, ChartBackgroundStyle style, std::string_view separator);

// A place marker (small circle) with its label.
struct ChartMarker {
    ChartPixel centre;
    ChartRect circle; // from (x-3, y-3) to (x+4, y+4)
    ChartText label;
};

// The markers of the project places 1..n in order, labelled by the data mode: "M" + n when
// typed in, "A0" + n / "A" + n when clicked on a picture.
std::vector<ChartMarker> placeMarkers(
    const ChartState& state, std::span<const ChartPoint> places, ChartDataMode mode);

// The markers of a group's members, labelled "M" + m in both data modes, m counting on through
// the groups: m = memberTotal - members.size() + k for member k.
std::vector<ChartMarker> memberMarkers(
    const ChartState& state, std::span<const ChartPoint> members, int memberTotal);

// The iteration path as a staircase: for each iterate a horizontal move to its X, then a
// vertical move to its Y, starting at the first iterate. Empty for an empty history.
std::vector<ChartPixel> iterationPath(const ChartState& state, std::span<const IteratePoint> iterates);

// The red dot at the path's last point and its text.
struct ChartOptimum {
    ChartPixel centre;
    ChartRect dot; // from (x-3, y-3) to (x+5, y+5)
    ChartText label;
};

// The optimum at a pixel: labelled "OPTIMAL" for one centre, "OPTIM " + groupNo for a group.
ChartOptimum optimumAt(ChartPixel point, std::string_view text);
inline constexpr std::string_view OptimumText = "OPTIMAL";
std::string groupOptimumText(int groupNo);
// A group's centre that is an existing centre, not an optimum: "CENTRUM " + groupNo.
std::string existingCentreChartText(int groupNo);

// Everything of the one-centre chart.
struct OneCentreChart {
    ChartState state;
    ChartBackground background;
    std::vector<ChartMarker> places;
    std::vector<ChartPixel> path;
    bool hasOptimum = false; // false only for an empty history
    ChartOptimum optimum;
};

// The one-centre chart on a W × H area; the caller checks chartTooSmall first. iterates are
// IterX / IterY[1..FinalIter].
OneCentreChart oneCentreChart(std::span<const ChartPoint> places, std::span<const IteratePoint> iterates,
    ChartDataMode mode, int width, int height, std::string_view separator, ChartScale scale = ChartScale::Free);

// One group drawn over the group background, with the chart state that background left.
struct GroupChart {
    std::vector<ChartMarker> members;
    std::vector<ChartPixel> path;
    bool hasOptimum = false; // a group of at least 3 members with a history
    ChartOptimum optimum;
};

// Members are GroupMemberX / Y[1..GroupSize]; iterates GroupIterX / Y[1..FinalIter], used only
// for a group of at least 3 members.
GroupChart groupChart(const ChartState& state, int groupNo, int memberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates);

} // namespace dorvan
