#pragma once

// Every number of the result drawn over the map picture: the size of the drawing area, the
// coordinate window (the picture's own coordinate range), the axes along the picture's left and
// bottom edges, the ticks, the grid and the labels, and where the labels of the places and group
// members go so that they stay inside the surface. The markers, the path, the optimum, the tick
// step and the world-to-pixel mapping are the plain chart's (ChartGeometry).

#include "core/allocation/ChartGeometry.h"
#include "core/common/RgbPicture.h"
#include "core/entry/PicturePlacement.h"
#include "core/project/ProjectRecord.h"

#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace dorvan {

// The margin between the drawing area's edges and the picture.
inline constexpr int MapPictureInset = 20;
// Below this many pixels between the margins, only the frame and the picture are drawn.
inline constexpr int MapMinInner = 50;

// The size of the drawing area for a picture of `picture` pixels in a frame of `frame` client
// size. Not proportional ("NIE"): the frame less 4 by 17. Proportional ("ÁNO"): the picture
// page's rule (fit to the height, to the width, or the natural size). A picture exactly as wide
// or as high as the frame, for which that rule has no case, counts as larger than the frame on
// that side, so that it is scaled down to fit like its neighbours one pixel larger.
PixelSize mapDrawingArea(PixelSize picture, PixelSize frame, bool proportional);

// The picture's size in pixels: the map picture's own, or the record's for a project whose
// picture is missing.
PixelSize mapPictureSize(const RgbPicture& picture, const TProjectRecord& record);

// Whether a W × H drawing area leaves less than 50 pixels between the margins.
bool mapChartTooSmall(int width, int height);

// The coordinate window: X from 0 to rangeX and Y from 0 to rangeY, widened to every place
// beyond it, with the origin always inside; no margin. Scales for a W × H area, the window
// mapped onto 20..W-20 and 20..H-20. A range below 0 (a damaged project) counts as 0, and a
// window side that rounds to less than one unit is made one unit long, so that it has a tick
// step and a finite scale. Places whose coordinates are not finite are left out.
ChartState mapChartWindow(PictureRange range, std::span<const ChartPoint> places, int width, int height);

// Frame, picture rectangle, axes along the picture's edges, ticks and red dotted grid lines on
// the positive half-axes, and the labels of every tenth tick.
struct MapChartBackground {
    int width = 0;
    int height = 0;
    ChartRect outerFrame; // as the plain chart's frame
    ChartRect innerFrame;
    ChartRect picture; // from (20, 20) to (W - 20, H - 20): the picture is stretched into it
    bool tooSmall = false; // only frame and picture: no axes, strokes or labels
    long double stepX = 0.0L; // hx
    long double stepY = 0.0L; // hy
    long double tickX = 0.0L; // tx = hx × sx
    long double tickY = 0.0L; // ty = hy × sy
    ChartLine axisX; // red, pen 2, along the picture's bottom edge
    ChartLine axisY; // along its left edge
    std::vector<ChartStroke> strokes; // X then Y; grid lines red and dotted
    std::vector<ChartText> labels; // X then Y
    std::array<std::size_t, 2> labelCounts {}; // how many of labels are along X, along Y
};

// The background for a state made by mapChartWindow on the same W × H area. separator is the
// locale's decimal separator for the labels.
MapChartBackground mapChartBackground(
    const ChartState& state, int width, int height, std::string_view separator);

// The top left corner of the label of a marker centred at `mark` on a W × H surface: above the
// marker, or moved inside near the edges. The same offsets serve one- and two-digit numbers.
ChartPixel mapLabelAt(ChartPixel mark, int width, int height);

// The project places over the picture, labelled "A0" + n / "A" + n, labels placed by mapLabelAt.
std::vector<ChartMarker> mapPlaceMarkers(
    const ChartState& state, std::span<const ChartPoint> places, int width, int height);

// A group's members over the picture, labelled "M" + m with m counted on through the groups
// (m = memberTotal - members.size() + k), labels placed by mapLabelAt.
std::vector<ChartMarker> mapMemberMarkers(
    const ChartState& state, std::span<const ChartPoint> members, int memberTotal, int width, int height);

// Everything of the one-centre result over the picture.
struct MapOneCentreChart {
    ChartState state;
    MapChartBackground background;
    std::vector<ChartMarker> places; // empty when the area is too small
    std::vector<ChartPixel> path;
    bool hasOptimum = false;
    ChartOptimum optimum;
};

// The one-centre result on a W × H area; iterates are IterX / IterY[1..FinalIter].
MapOneCentreChart mapOneCentreChart(PictureRange range, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, int width, int height, std::string_view separator);

// One group over the picture background, with the chart state that background left; members
// GroupMemberX / Y[1..GroupSize], iterates used only for a group of at least 3 members.
GroupChart mapGroupChart(const ChartState& state, int groupNo, int memberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates, int width, int height);

} // namespace dorvan
