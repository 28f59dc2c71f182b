// The mouse on the allocation window's drawing: a drag selects a rectangle, which is shown over
// the result while the mouse moves and magnified over the whole area when the button is
// released; a click, or a release without a real selection, runs the allocation again. Resting
// on a place mark shows the place in a tooltip.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/ChartHover.h"
#include "core/allocation/ChartZoom.h"
#include "core/allocation/MapChartGeometry.h"
#include "render/ChartZoomPainter.h"
#include "render/CooperRunPainter.h"
#include "render/MapChartPainter.h"

#include <cstdlib>
#include <utility>

dorvan::ChartPixel TCooperAlokMetod::clampToImage(int X, int Y) const
{
    return dorvan::clampToArea(X, Y, drawingArea->width(), drawingArea->height());
}

void TCooperAlokMetod::onDrawingMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (!settingsOn() || !DragIdle)
        return;
    DragIdle = false;
    const dorvan::ChartPixel at = clampToImage(X, Y);
    DragStartX = DragEndX = at.x;
    DragStartY = DragEndY = at.y;
    pressDrawing_ = resultShown_;
}

// The result as drawn at the press, with the rectangle from the press point to the mouse over
// it: the same pixels as the result drawn anew, as nothing it depends on changes meanwhile.
void TCooperAlokMetod::onDrawingMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    if (!settingsOn() || DragIdle)
        return;
    surface_ = pressDrawing_.isNull() ? dorvan::cooperSurface(drawingArea->size()) : pressDrawing_;
    dorvan::paintSelection(surface_, { DragStartX, DragStartY }, clampToImage(X, Y));
    showOverlay();
}

// Comes before the release, which alone records the end point: every left-button release over
// the area first runs the allocation.
void TCooperAlokMetod::onDrawingClicked()
{
    if (std::abs(DragStartX - DragEndX) > 1 && std::abs(DragStartY - DragEndY) > 1)
        return;
    SpustiCooper();
}

void TCooperAlokMetod::onDrawingMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (!settingsOn() || DragIdle)
        return;
    DragIdle = true;
    pressDrawing_ = QImage();
    const dorvan::ChartPixel at = clampToImage(X, Y);
    DragEndX = at.x;
    DragEndY = at.y;
    if (DragStartX > DragEndX)
        std::swap(DragStartX, DragEndX);
    if (DragStartY > DragEndY)
        std::swap(DragStartY, DragEndY);
    const auto selection = dorvan::zoomSelection({ DragStartX, DragStartY }, { DragEndX, DragEndY });
    if (!selection) {
        SpustiCooper();
        return;
    }
    zoomInto(*selection);
}

// The zoomed view stays until the next drawing of the area.
void TCooperAlokMetod::zoomInto(const dorvan::ChartRect& selection)
{
    dorvan::ResultDrawing drawing = drawn_;
    if (drawing.kind == dorvan::ResultDrawing::Kind::Map) {
        drawing.picture = dorvan::mapPictureImage(project_.MapPicture);
        drawing.pictureSize = dorvan::mapPictureSize(project_.MapPicture, project_.Record);
    }
    QImage zoom = dorvan::zoomResult(drawing, drawingArea->size(), selection, chart_);
    if (zoom.isNull()) {
        // Nothing drawn yet to magnify: the area shows what it showed before the drag.
        surface_ = resultShown_;
        showOverlay();
        return;
    }
    // The selection as it lies on the zoom's surface, as the drag left it.
    const dorvan::PixelSize f = dorvan::zoomSurfaceSize(drawing, drawingArea->size());
    zoomPlan_ = dorvan::zoomPlan(selection, drawingArea->width(), drawingArea->height(), f.width, f.height);
    if (zoomPlan_) {
        DragStartX = zoomPlan_->source.left;
        DragStartY = zoomPlan_->source.top;
        DragEndX = zoomPlan_->source.right;
        DragEndY = zoomPlan_->source.bottom;
    }
    surface_ = std::move(zoom);
    zoomed_ = true;
    zoomSelection_ = selection;
    zoomArea_ = drawingArea->size();
    showOverlay();
}

// The marks are those of the drawing shown, on the chart state it left: in a zoom, the state of
// the zoom's surface F, onto which the mouse's pixel is carried first.
QString TCooperAlokMetod::placeTipAt(QPoint at) const
{
    if (!DragIdle || drawn_.kind == dorvan::ResultDrawing::Kind::None || surface_.isNull())
        return {};
    dorvan::ChartPixel pixel { at.x(), at.y() };
    if (zoomed_) {
        if (!zoomPlan_)
            return {};
        pixel = dorvan::zoomSourcePixel(*zoomPlan_, pixel);
    }
    const std::vector<dorvan::PlaceMark> marks = drawn_.groupRun
        ? dorvan::groupMemberMarks(chart_, drawn_.groups)
        : dorvan::resultPlaceMarks(chart_, drawn_.places, project_.Record, drawn_.mode);
    const std::optional<std::size_t> under = dorvan::markUnder(marks, pixel.x, pixel.y);
    if (!under)
        return {};
    return QString::fromStdString(
        dorvan::placeTip(project_.Record, marks[*under], separator().toStdString()));
}

std::optional<dorvan::ChartRect> TCooperAlokMetod::zoomSelection() const
{
    if (!zoomed_)
        return std::nullopt;
    return zoomSelection_;
}
