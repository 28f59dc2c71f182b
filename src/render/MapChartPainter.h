#pragma once

// The result drawn over the map picture on the allocation window's drawing surface (or a
// render of the command line): frame, the picture stretched between 20-pixel margins, axes and
// ticks along the picture's left and bottom edges, a red dotted grid over it, and the places,
// path and optimum of the plain chart with their labels kept legible on white. The surface
// must already have the drawing area's size (mapDrawingArea); antialiasing is off.

#include "core/allocation/ChartGeometry.h"
#include "render/ChartPainter.h"
#include "core/allocation/CostContours.h"
#include "core/entry/PicturePlacement.h"

#include <QImage>

#include <span>

namespace dorvan {

struct CooperState;
class RgbPicture;

// The map picture as the painter takes it; a null image for an empty picture. The image shares
// the picture's pixels (a copy of a large picture would cost more than drawing it): it is
// valid while the picture is neither changed nor destroyed.
QImage mapPictureImage(const RgbPicture& picture);

// The one-centre result over the picture: the project places 1..n labelled "A0" + n / "A" + n,
// the path IterX / IterY[1..FinalIter] and the optimum marked "OPTIMAL". The coordinate window
// is the picture's range, widened to any place beyond it; state receives it. Returns false when
// the area leaves less than 50 pixels between the margins: then only the frame and the picture
// are drawn, and the window takes chartFallbackSize.
// With contours, the cost contours are drawn over the picture, under the places.
bool KresliGrafMapaCooper(QImage& surface, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, std::span<const IteratePoint> iterates, ChartState& state,
    const SurfacePart& part = {}, const ContourInput* contours = nullptr);

// The background of a group run over the picture: the same without places, path and optimum.
bool KresliGrafMapaCooperSkupiny1(QImage& surface, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, ChartState& state, const SurfacePart& part = {});

// Both on a painter the caller has opened, over a drawing of the given size.
bool paintMapOneCentreChart(QPainter& p, QSize size, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, std::span<const IteratePoint> iterates, ChartState& state,
    const ContourInput* contours = nullptr);
bool paintMapGroupBackground(QPainter& p, QSize size, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, ChartState& state);

} // namespace dorvan
