#include "render/ChartZoomPainter.h"

#include "render/CooperRunPainter.h"
#include "render/MapChartPainter.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstring>

namespace dorvan {

namespace {

// At most this many pixels of F (16 MB) are drawn at a time.
constexpr qsizetype ZoomBandPixels = qsizetype { 4 } * 1024 * 1024;

// The rows of the area whose pixels come from rows first..last-1 of F.
void copyBand(QImage& out, const QImage& band, int first, const std::vector<int>& rows,
    const std::vector<int>& columns, int left)
{
    const int last = first + band.height();
    for (int y = 0; y < out.height(); ++y) {
        const int from = rows[static_cast<std::size_t>(y)];
        if (from < first || from >= last)
            continue;
        const auto* src = reinterpret_cast<const QRgb*>(band.constScanLine(from - first));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            dst[x] = src[columns[static_cast<std::size_t>(x)] - left];
    }
}

} // namespace

bool paintResult(QImage& image, const ResultDrawing& d, ChartState& state, const SurfacePart& part)
{
    if (image.isNull())
        return false;
    QPainter p(&image);
    beginPart(p, part);
    return paintResult(p, part.sizeOf(image), d, state);
}

bool paintResult(QPainter& p, QSize size, const ResultDrawing& d, ChartState& state)
{
    const ContourInput* contours = d.contours ? &*d.contours : nullptr;
    if (d.groupRun) {
        const bool overPicture = d.kind == ResultDrawing::Kind::Map;
        const bool drawn = overPicture ? paintMapGroupBackground(p, size, d.picture, d.range, d.places, state)
                                       : paintGroupBackground(p, size, d.places, state, d.scale);
        if (overPicture || drawn)
            for (const CooperGroupResult& g : d.groups)
                paintListedGroup(p, size, state, g, overPicture,
                    d.groupContourPercents ? &*d.groupContourPercents : nullptr);
        return drawn;
    }
    switch (d.kind) {
    case ResultDrawing::Kind::Chart:
        return paintOneCentreChart(p, size, d.places, d.path, d.mode, state, contours, d.scale);
    case ResultDrawing::Kind::Map:
        return paintMapOneCentreChart(p, size, d.picture, d.range, d.places, d.path, state, contours);
    case ResultDrawing::Kind::None:
        break;
    }
    return false;
}

PixelSize zoomSurfaceSize(const ResultDrawing& d, QSize area)
{
    if (d.kind == ResultDrawing::Kind::Map)
        return { d.pictureSize.width + ZoomSurfaceExtra, d.pictureSize.height + ZoomSurfaceExtra };
    return { area.width() + ZoomSurfaceExtra, area.height() + ZoomSurfaceExtra };
}

QImage stretchZoom(const QImage& surface, QPoint origin, const ZoomPlan& plan)
{
    const ChartRect& s = plan.source;
    if (!QRect(origin, surface.size()).contains(QRect(s.left, s.top, s.right - s.left, s.bottom - s.top)))
        return {};
    QImage out(plan.areaWidth, plan.areaHeight, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const QImage rgb = surface.convertToFormat(QImage::Format_RGB32);
    std::vector<int> rows = zoomRows(plan);
    for (int& r : rows)
        r -= origin.y();
    std::vector<int> columns = zoomColumns(plan);
    copyBand(out, rgb, 0, rows, columns, origin.x());
    return out;
}

QImage zoomResult(const ResultDrawing& d, QSize area, const ChartRect& selection, ChartState& state)
{
    return zoomResult(d, area, selection, state, ZoomBandPixels);
}

QImage zoomResult(
    const ResultDrawing& d, QSize area, const ChartRect& selection, ChartState& state, qsizetype bandPixels)
{
    const PixelSize f = zoomSurfaceSize(d, area);
    const std::optional<ZoomPlan> plan = zoomPlan(selection, area.width(), area.height(), f.width, f.height);
    if (!plan || d.kind == ResultDrawing::Kind::None)
        return {};
    QImage out(plan->areaWidth, plan->areaHeight, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const ChartRect& s = plan->source;
    const int width = s.right - s.left;
    const int bandHeight = static_cast<int>(std::clamp<qsizetype>(bandPixels / width, 1, s.bottom - s.top));
    const std::vector<int> rows = zoomRows(*plan);
    const std::vector<int> columns = zoomColumns(*plan);
    for (int top = s.top; top < s.bottom; top += bandHeight) {
        const int height = std::min(bandHeight, s.bottom - top);
        // A band no row of the area shows is not drawn.
        if (std::none_of(rows.begin(), rows.end(), [&](int r) { return r >= top && r < top + height; }))
            continue;
        QImage band = cooperSurface(QSize(width, height));
        paintResult(band, d, state, { QSize(f.width, f.height), QPoint(s.left, top) });
        copyBand(out, band, top, rows, columns, s.left);
    }
    return out;
}

void paintSelection(QImage& image, ChartPixel from, ChartPixel to)
{
    if (image.isNull())
        return;
    const int left = std::min(from.x, to.x), right = std::max(from.x, to.x);
    const int top = std::min(from.y, to.y), bottom = std::max(from.y, to.y);
    QPainter p(&image);
    beginPart(p, {});
    p.setPen(chartPen(QColor(0, 0, 255), 2));
    p.setBrush(Qt::NoBrush);
    // The pixels left..right-1 × top..bottom-1, as the chart's frames are outlined.
    p.drawRect(QRect(left, top, std::max(0, right - left - 1), std::max(0, bottom - top - 1)));
}

} // namespace dorvan
