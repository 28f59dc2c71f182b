#pragma once

// The place marks of the allocation window's drawing, for the tooltip that names the place
// under the mouse (core/entry/PlaceHover.h): the places of a one-centre result, or the members
// of a group run, at the pixels and with the labels the chart and the drawing over the map
// picture give them, and the pixel of the zoom's surface that a pixel of a zoomed area shows.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/ChartZoom.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/entry/PlaceHover.h"

#include <span>
#include <vector>

namespace dorvan {

// Places 1..n of the drawing (`places` as drawn, the names from the record), labelled as the
// chart labels them in the data mode; a place whose coordinates are not finite has no mark.
std::vector<PlaceMark> resultPlaceMarks(const ChartState& state, std::span<const ChartPoint> places,
    const TProjectRecord& record, ChartDataMode mode);

// The members of every listed group whose name matched a place, labelled "M" + m with m counted
// on through the groups.
std::vector<PlaceMark> groupMemberMarks(const ChartState& state, std::span<const CooperGroupResult> groups);

// The pixel of the zoom's surface F that pixel `at` of the zoomed drawing area shows.
ChartPixel zoomSourcePixel(const ZoomPlan& plan, ChartPixel at);

} // namespace dorvan
