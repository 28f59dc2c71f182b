#pragma once

// Where the chart's texts go so that none covers another: the tick labels are thinned out to
// every k-th along each axis, and the labels of places and optima move to another free side of
// their point when their usual place is taken. The core has no fonts: the painter says how large
// a text is, and these functions only choose positions.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/MapChartGeometry.h"

#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace dorvan {

// The pixels a text takes in the chart's bold font of the given point size: its advance and
// the font's line height, the box an opaque label is filled in.
struct ChartTextSize {
    int width = 0;
    int height = 0;
};
using ChartTextMeasure = std::function<ChartTextSize(std::string_view text, int points)>;

// The point sizes of the chart's texts.
inline constexpr int TickLabelPoints = 8;
inline constexpr int PlaceLabelPoints = 8;
inline constexpr int OptimumLabelPoints = 10;
// Tick labels kept on an axis stand at least this many pixels apart.
inline constexpr int TickLabelGap = 3;

// The box a text written at its top left corner covers.
ChartRect textBox(const ChartText& text, ChartTextSize size);
// Whether two boxes share a pixel.
bool boxesMeet(const ChartRect& a, const ChartRect& b);

// The tick labels thinned so that no two cover each other: along each axis every k-th label is
// kept (ticks 10k, 20k, ... on both halves), with the smallest k for which each kept label stands
// TickLabelGap pixels clear of the next; a label that would still meet one kept before it (the
// two axes near the origin) is left out. Before that, a label that runs over the drawing's edge
// is moved inside, as far as it stays beside its tick (a label along X sideways only while its
// tick's column stays under it, a label along Y up or down only while its tick's row stays
// beside it), and left out where it cannot be: no number is ever drawn in part.
void thinTickLabels(ChartBackground& background, const ChartTextMeasure& measure);
// The same along the picture's edges (labels on the positive half-axes only).
void thinTickLabels(MapChartBackground& background, const ChartTextMeasure& measure);
// The boxes of the tick labels, which the labels of places and optima keep clear of.
std::vector<ChartRect> tickLabelBoxes(const ChartBackground& background, const ChartTextMeasure& measure);
std::vector<ChartRect> tickLabelBoxes(const MapChartBackground& background, const ChartTextMeasure& measure);

// Where a label may stand around its point, its usual place first: above (the usual place),
// below, right, left, then above right, above left, below right, below left.
std::vector<ChartText> markerLabelPlaces(const ChartMarker& marker, ChartTextSize size);
std::vector<ChartText> optimumLabelPlaces(const ChartOptimum& optimum, ChartTextSize size);

// Moves the labels of an optimum (first, when there is one) and of markers, in that order, each
// to the first of its places that lies inside the W × H drawing and covers no label in `taken`
// and no label placed before it; a label with no such place stays in its usual place. Every
// label's box is added to `taken`. A label whose usual place is free does not move.
void placePointLabels(std::vector<ChartMarker>& markers, ChartOptimum* optimum,
    const ChartTextMeasure& measure, std::vector<ChartRect>& taken, int width, int height);

} // namespace dorvan
