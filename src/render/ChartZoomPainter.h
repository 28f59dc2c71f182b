#pragma once

// The result drawing kept so that it can be drawn again on any surface, the rubber-band zoom of
// it, and the selection rectangle drawn while dragging. Shared by the allocation window and the
// command line's render, so that both show the same magnified pixels.

#include "core/allocation/ChartGeometry.h"
#include "render/ChartPainter.h"
#include "core/allocation/ChartZoom.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/entry/PicturePlacement.h"

#include <QImage>
#include <QSize>

#include <optional>
#include <vector>

class QPainter;

namespace dorvan {

// What the drawing area shows as the result of the last run: enough to draw it again.
struct ResultDrawing {
    enum class Kind { None, Chart, Map };
    Kind kind = Kind::None; // nothing drawn yet, the chart, or the drawing over the map picture
    std::vector<ChartPoint> places; // the project places 1..n
    ChartDataMode mode = ChartDataMode::Manual;
    std::vector<IteratePoint> path; // one centre: IterX / IterY[1..FinalIter]
    bool groupRun = false; // the background and every listed group instead of the one centre
    std::vector<CooperGroupResult> groups;
    QImage picture; // Map: the map picture (mapPictureImage)
    PixelSize pictureSize; // Map: its size in pixels, which the zoom draws it at
    PictureRange range; // Map: the picture's coordinate range
    std::optional<ContourInput> contours; // one centre: the cost contours drawn with it
    std::optional<std::vector<double>> groupContourPercents; // groups: their contours' levels
    ChartScale scale = ChartScale::Free; // Chart: the axes' scales ("Rovnaká mierka osí")
};

// Paints the drawing onto the image (or the part of it the image holds). Returns false where
// the surface is too small for more than the frame (and the picture); state receives the chart
// state of the drawing.
bool paintResult(
    QImage& image, const ResultDrawing& drawing, ChartState& state, const SurfacePart& part = {});

// The same on a painter the caller has opened, over a drawing of the given size: the report
// draws the result this way in vector form.
bool paintResult(QPainter& p, QSize size, const ResultDrawing& drawing, ChartState& state);

// The zoom surface F for a drawing area of `area`: 40 pixels wider and higher than the area, or
// than the picture for a drawing over it, which F then shows at its own resolution.
PixelSize zoomSurfaceSize(const ResultDrawing& drawing, QSize area);

// The drawing area after the zoom: each pixel the pixel of F that the plan's stretches bring
// there, read from `surface`, which holds F's pixels from `origin` on and must cover the
// plan's source rectangle (a null image when it does not).
QImage stretchZoom(const QImage& surface, QPoint origin, const ZoomPlan& plan);

// The zoom of a drawing area of `area` onto a selection of it: the drawing laid out on F, its
// source rectangle cut out and stretched over the whole area. Only the pixels of F that the
// stretch reads are drawn, in bands of bounded size, so a zoom over a large picture neither
// draws nor holds all of F. A null image when there is nothing to zoom; state receives the
// chart state of F.
QImage zoomResult(const ResultDrawing& drawing, QSize area, const ChartRect& selection, ChartState& state);
// The same, drawing at most bandPixels pixels of F at a time (at least one row).
QImage zoomResult(const ResultDrawing& drawing, QSize area, const ChartRect& selection, ChartState& state,
    qsizetype bandPixels);

// The selection rectangle between two points of the area, corners in either order: blue, pen
// width 2, solid, not filled.
void paintSelection(QImage& image, ChartPixel from, ChartPixel to);

} // namespace dorvan
