#pragma once

// Where the label of a contour level goes: beside its curve, clear of what is already drawn.
// Used by the cost contours only.

#include "core/allocation/CostContours.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace dorvan::contour {

// The label box of a level beside its curve, outside it as seen from the optimum, inside the
// area and overlapping none of taken; nothing when no such place is found.
std::optional<ChartRect> placeLabel(const std::vector<ContourLine>& lines, std::size_t level,
    ContourPoint optimum, ContourLabelSize size, const ChartRect& area, const std::vector<ChartRect>& taken);

} // namespace dorvan::contour
