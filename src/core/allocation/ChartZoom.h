#pragma once

// The rubber-band zoom of the result drawing, in numbers: the selection a drag makes on the
// drawing area, the larger surface F the result is drawn on again, where the selection lies on
// F, the crop C cut out of it, and which pixel of F each pixel of the drawing area shows once C
// is stretched over the whole area. The painters draw only the part of F the crop needs.

#include "core/allocation/ChartGeometry.h"

#include <optional>
#include <vector>

namespace dorvan {

// F is this much wider and higher than what it is made for.
inline constexpr int ZoomSurfaceExtra = 40;

// A mouse point kept to the drawing area: X ≤ 0 gives 0, X ≥ width gives width, likewise Y. The
// point may thus lie on the right or bottom edge itself.
ChartPixel clampToArea(int x, int y, int width, int height);

// The rectangle between the press and the release point, corners in either order, as left/top
// ≤ right/bottom. None when it is at most 1 pixel wide or high: such a drag is a click.
std::optional<ChartRect> zoomSelection(ChartPixel press, ChartPixel release);

// Everything of one zoom.
struct ZoomPlan {
    int areaWidth = 0; // the window's drawing area
    int areaHeight = 0;
    int surfaceWidth = 0; // F
    int surfaceHeight = 0;
    // The selection mapped onto F: round(FW × x / width), halves to even. Its pixels are
    // left..right-1 × top..bottom-1, never fewer than one each way and always inside F.
    ChartRect source;
    int cropWidth = 0; // C: the mapped width + 1
    int cropHeight = 0;
};

// The plan for a selection on a width × height area and a surface F of surfaceWidth ×
// surfaceHeight. None for an empty area or surface.
std::optional<ZoomPlan> zoomPlan(
    const ChartRect& selection, int width, int height, int surfaceWidth, int surfaceHeight);

// Where each pixel of the stretch from a run of `from` pixels onto one of `to` pixels samples:
// the source pixel under the target pixel's centre, floor((i + 1/2) × from / to).
int stretchSample(int i, int from, int to);

// For each column (row) of the drawing area, the column (row) of F it shows after the source
// rectangle is stretched onto C and C over the area.
std::vector<int> zoomColumns(const ZoomPlan& plan);
std::vector<int> zoomRows(const ZoomPlan& plan);

} // namespace dorvan
