#include "render/MapChartPainter.h"

#include "render/ChartPainter.h"
#include "render/ContourPainter.h"
#include "core/allocation/ChartLabels.h"
#include "core/allocation/MapChartGeometry.h"
#include "render/PictureImage.h"

#include <QPainter>
#include <QPen>

namespace dorvan {

namespace {

using chart_colours::Black;
using chart_colours::Red;

// Frame and picture, then, on an area large enough, the axes, ticks, grid and labels.
void paintMapBackground(QPainter& p, const MapChartBackground& b, const QImage& picture)
{
    paintChartFrame(p, b.outerFrame, b.innerFrame);
    const QRect target(
        b.picture.left, b.picture.top, b.picture.right - b.picture.left, b.picture.bottom - b.picture.top);
    if (!picture.isNull() && target.width() > 0 && target.height() > 0)
        p.drawImage(target, picture);
    if (b.tooSmall)
        return;
    p.setPen(chartPen(Red, 2));
    p.drawLine(b.axisX.x1, b.axisX.y1, b.axisX.x2, b.axisX.y2);
    p.drawLine(b.axisY.x1, b.axisY.y1, b.axisY.x2, b.axisY.y2);
    paintChartStrokes(p, b.strokes, Red);
    const QFont font = chartFont(8);
    for (const ChartText& label : b.labels)
        paintChartText(p, label, font, Black);
}

} // namespace

QImage mapPictureImage(const RgbPicture& picture)
{
    return pictureView(picture);
}

bool KresliGrafMapaCooper(QImage& surface, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, std::span<const IteratePoint> iterates, ChartState& state,
    const SurfacePart& part, const ContourInput* contours)
{
    if (surface.isNull())
        return false;
    QPainter p(&surface);
    beginPart(p, part);
    return paintMapOneCentreChart(p, part.sizeOf(surface), picture, range, places, iterates, state, contours);
}

bool paintMapOneCentreChart(QPainter& p, QSize size, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, std::span<const IteratePoint> iterates, ChartState& state,
    const ContourInput* contours)
{
    MapOneCentreChart c
        = mapOneCentreChart(range, places, iterates, size.width(), size.height(), chartDecimalSeparator());
    thinTickLabels(c.background, chartTextMeasure());
    c.state.LabelBoxes = tickLabelBoxes(c.background, chartTextMeasure());
    placePointLabels(c.places, c.hasOptimum ? &c.optimum : nullptr, chartTextMeasure(), c.state.LabelBoxes,
        size.width(), size.height());
    state = c.state;
    paintMapBackground(p, c.background, picture);
    if (c.background.tooSmall)
        return false;
    if (contours != nullptr)
        paintCostContours(
            p, *contours, c.state, size, c.hasOptimum ? &c.optimum : nullptr, c.places, ChartTextBox::OpaqueWhite);
    paintChartMarkers(p, c.places, Red, Black, ChartTextBox::OpaqueWhite);
    paintChartPath(p, c.path);
    if (c.hasOptimum)
        paintChartOptimum(p, c.optimum);
    return true;
}

bool KresliGrafMapaCooperSkupiny1(QImage& surface, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, ChartState& state, const SurfacePart& part)
{
    if (surface.isNull())
        return false;
    QPainter p(&surface);
    beginPart(p, part);
    return paintMapGroupBackground(p, part.sizeOf(surface), picture, range, places, state);
}

bool paintMapGroupBackground(QPainter& p, QSize size, const QImage& picture, PictureRange range,
    std::span<const ChartPoint> places, ChartState& state)
{
    state = mapChartWindow(range, places, size.width(), size.height());
    MapChartBackground b = mapChartBackground(state, size.width(), size.height(), chartDecimalSeparator());
    thinTickLabels(b, chartTextMeasure());
    state.LabelBoxes = tickLabelBoxes(b, chartTextMeasure());
    paintMapBackground(p, b, picture);
    return !b.tooSmall;
}

} // namespace dorvan
