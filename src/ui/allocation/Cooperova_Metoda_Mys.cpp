// The mouse on the allocation window's drawing: a drag selects a rectangle, which is shown over
// the result while the mouse moves and magnified over the whole area when the button is
// released; a click, or a release without a real selection, runs the allocation again. Resting
// on a place mark shows the place in a tooltip.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/ChartHover.h"
#include "core/allocation/MapChartGeometry.h"
#include "render/CooperRunPainter.h"
#include "render/MapChartPainter.h"

#include <QWidget>

#include <cstdlib>
#include <utility>

namespace dorvan::allocation {

ChartDrag::ChartDrag(const Project& project, DrawingView view, std::function<void()> run)
    : project_(project)
    , view_(view)
    , run_(std::move(run))
{
}

ChartPixel ChartDrag::clamped(int X, int Y) const
{
    return clampToArea(X, Y, view_.area->width(), view_.area->height());
}

void ChartDrag::press(int X, int Y)
{
    if (!settingsOn(project_) || !DragIdle)
        return;
    DragIdle = false;
    const ChartPixel at = clamped(X, Y);
    DragStartX = DragEndX = at.x;
    DragStartY = DragEndY = at.y;
    pressDrawing_ = *view_.shown;
}

// The result as drawn at the press, with the rectangle from the press point to the mouse over
// it: the same pixels as the result drawn anew, as nothing it depends on changes meanwhile.
void ChartDrag::move(int X, int Y)
{
    if (!settingsOn(project_) || DragIdle)
        return;
    *view_.surface = pressDrawing_.isNull() ? cooperSurface(view_.area->size()) : pressDrawing_;
    paintSelection(*view_.surface, { DragStartX, DragStartY }, clamped(X, Y));
    view_.area->update();
}

// Comes before the release, which alone records the end point: every left-button release over
// the area first runs the allocation.
void ChartDrag::click()
{
    if (std::abs(DragStartX - DragEndX) > 1 && std::abs(DragStartY - DragEndY) > 1)
        return;
    run_();
}

void ChartDrag::release(int X, int Y)
{
    if (!settingsOn(project_) || DragIdle)
        return;
    DragIdle = true;
    pressDrawing_ = QImage();
    const ChartPixel at = clamped(X, Y);
    DragEndX = at.x;
    DragEndY = at.y;
    if (DragStartX > DragEndX)
        std::swap(DragStartX, DragEndX);
    if (DragStartY > DragEndY)
        std::swap(DragStartY, DragEndY);
    const auto selection = zoomSelection({ DragStartX, DragStartY }, { DragEndX, DragEndY });
    if (!selection) {
        run_();
        return;
    }
    zoomInto(*selection);
}

// The zoomed view stays until the next drawing of the area.
void ChartDrag::zoomInto(const ChartRect& selection)
{
    ResultDrawing drawing = *view_.drawn;
    if (drawing.kind == ResultDrawing::Kind::Map) {
        drawing.picture = mapPictureImage(project_.MapPicture);
        drawing.pictureSize = mapPictureSize(project_.MapPicture, project_.Record);
    }
    const QSize area = view_.area->size();
    QImage zoom = zoomResult(drawing, area, selection, *view_.chart);
    if (zoom.isNull()) {
        // Nothing drawn yet to magnify: the area shows what it showed before the drag.
        *view_.surface = *view_.shown;
        view_.area->update();
        return;
    }
    // The selection as it lies on the zoom's surface, as the drag left it.
    const PixelSize f = zoomSurfaceSize(drawing, area);
    zoomPlan_ = zoomPlan(selection, area.width(), area.height(), f.width, f.height);
    if (zoomPlan_) {
        DragStartX = zoomPlan_->source.left;
        DragStartY = zoomPlan_->source.top;
        DragEndX = zoomPlan_->source.right;
        DragEndY = zoomPlan_->source.bottom;
    }
    *view_.surface = std::move(zoom);
    zoomed_ = true;
    zoomSelection_ = selection;
    zoomArea_ = area;
    view_.area->update();
}

std::optional<ChartRect> ChartDrag::selection() const
{
    if (!zoomed_)
        return std::nullopt;
    return zoomSelection_;
}

std::optional<ChartPixel> ChartDrag::drawingPixel(QPoint at) const
{
    if (!DragIdle)
        return std::nullopt;
    const ChartPixel pixel { at.x(), at.y() };
    if (!zoomed_)
        return pixel;
    if (!zoomPlan_)
        return std::nullopt;
    return zoomSourcePixel(*zoomPlan_, pixel);
}

} // namespace dorvan::allocation

// The marks are those of the drawing shown, on the chart state it left: in a zoom, the state of
// the zoom's surface F, onto which the mouse's pixel is carried first.
QString TCooperAlokMetod::placeTipAt(QPoint at) const
{
    if (drawn_.kind == dorvan::ResultDrawing::Kind::None || surface_.isNull())
        return {};
    const std::optional<dorvan::ChartPixel> pixel = drag_->drawingPixel(at);
    if (!pixel)
        return {};
    const std::vector<dorvan::PlaceMark> marks = drawn_.groupRun
        ? dorvan::groupMemberMarks(chart_, drawn_.groups)
        : dorvan::resultPlaceMarks(chart_, drawn_.places, project_.Record, drawn_.mode);
    const std::optional<std::size_t> under = dorvan::markUnder(marks, pixel->x, pixel->y);
    if (!under)
        return {};
    return QString::fromStdString(
        dorvan::placeTip(project_.Record, marks[*under], dorvan::allocation::decimalSeparator()));
}
