#pragma once

// Cost contours painted onto a result drawing: solid magenta curves of one pixel, each labelled
// "+L %" in magenta, drawn over the background and under the places, path and optimum. The
// window and the command line both paint them through here.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CostContours.h"
#include "render/ChartPainter.h"

#include <span>

class QPainter;

#include <QSize>

namespace dorvan {

// The curves' colour, RGB(255, 0, 255).
inline constexpr std::uint32_t ContourColour = 0xFF00FF;
// On paper (a PDF writer or a printer) the curves are lines through their points this many
// points wide at least; on a screen or an image they are the pixels they cross.
inline constexpr double PaperContourPoints = 0.6;

// The curves for a drawing of the given size (the whole drawing, also when the painter's device
// holds only a part of it) with the chart's mapping; labels keep
// clear of the optimum (its dot and text) when there is one, and of the markers and their
// labels that will be drawn over them. On paper the curves are drawn as lines (PaperContourPoints). Over a
// picture (box OpaqueWhite) the labels stand on white, as the places' labels do. Returns what it drew.
CostContours paintCostContours(QPainter& p, const ContourInput& input, const ChartState& chart, QSize drawing,
    const ChartOptimum* optimum, std::span<const ChartMarker> markers = {},
    ChartTextBox box = ChartTextBox::Transparent);

} // namespace dorvan
