#include "render/ContourPainter.h"

#include "render/ChartPainter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

namespace dorvan {

namespace {

ChartRect textRect(const ChartText& text, const QFont& font)
{
    const QFontMetrics m(font);
    const int w = m.horizontalAdvance(QString::fromStdString(text.text));
    return { text.x, text.y, text.x + w, text.y + m.height() };
}

// Paper (a PDF or a printer) has no pixels: there the curves are drawn as lines through their
// points, at least PaperContourPoints wide on the page, where a pixel's dots would print as a
// faint hairline.
bool onPaper(const QPainter& p)
{
    return dynamic_cast<const QPagedPaintDevice*>(p.device()) != nullptr;
}

void paintContourCurves(QPainter& p, const CostContours& contours, const QColor& colour)
{
    // Device units a drawing pixel takes, and a point of the page in device units.
    const QTransform& t = p.worldTransform();
    const double pixel = std::sqrt(t.m11() * t.m11() + t.m12() * t.m12());
    const double point = p.device()->logicalDpiX() / 72.0;
    const double width = pixel > 0.0 ? std::max(1.0, PaperContourPoints * point / pixel) : 1.0;
    QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const ContourLine& line : contours.lines) {
        QPolygonF curve;
        curve.reserve(static_cast<qsizetype>(line.points.size()));
        for (const ContourPoint& c : line.points)
            curve.append(QPointF(c.x + 0.5, c.y + 0.5)); // whole numbers are pixel centres
        p.drawPolyline(curve);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace

CostContours paintCostContours(QPainter& p, const ContourInput& input, const ChartState& chart, QSize drawing,
    const ChartOptimum* optimum, std::span<const ChartMarker> markers, ChartTextBox box)
{
    if (input.percents.empty())
        return {};
    const std::string separator = chartDecimalSeparator();
    const QFont font = chartFont(8);
    const QFontMetrics metrics(font);
    std::vector<ContourLabelSize> sizes;
    for (double percent : input.percents)
        sizes.push_back(
            { metrics.horizontalAdvance(QString::fromStdString(contourLabelText(percent, separator))),
                metrics.height() });
    std::vector<ChartRect> keepClear;
    if (optimum != nullptr) {
        keepClear.push_back(optimum->dot);
        keepClear.push_back(textRect(optimum->label, chartFont(10)));
    }
    for (const ChartMarker& m : markers) {
        keepClear.push_back(m.circle);
        keepClear.push_back(textRect(m.label, font));
    }
    const CostContours contours = costContours(
        input, chart, contourArea(drawing.width(), drawing.height()), sizes, keepClear, separator);

    const QColor magenta = chartColour(ContourColour);
    p.setBrush(Qt::NoBrush);
    if (onPaper(p)) {
        paintContourCurves(p, contours, magenta);
        for (const ChartText& label : contours.labels)
            paintChartText(p, label, font, magenta, box);
        return contours;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(chartPen(magenta, 1));
    for (const ContourLine& line : contours.lines) {
        QPolygon points;
        points.reserve(static_cast<qsizetype>(line.pixels.size()));
        for (const ChartPixel& px : line.pixels)
            points.append(QPoint(px.x, px.y));
        p.drawPoints(points);
    }
    for (const ChartText& label : contours.labels)
        paintChartText(p, label, font, magenta, box);
    return contours;
}

} // namespace dorvan
