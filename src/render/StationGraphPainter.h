#pragma once

// The station network graph painted onto an image, with antialiasing off so that every pixel
// lands where stationGraph puts it. The graph window and dorvan-cli paint with the same code.

#include "core/network/StationGraph.h"

#include <QColor>
#include <QImage>
#include <QSize>

namespace dorvan {

// The outline colour of the graph's two rectangles (the desktop background colour of the
// classic desktop).
inline const QColor DesktopBackground(0, 128, 128);

// Frame, axes, ticks, grid, labels, the stars, the delivery rounds and the depot, in this order.
void paintStationGraph(QImage& image, const StationGraph& graph);

// A new image of the given size with the graph of the places and the best network.
QImage drawStationGraph(
    std::span<const GraphPlace> places, const StarSolution& best, QSize size, const RoundsTrace& rounds = {});

} // namespace dorvan
