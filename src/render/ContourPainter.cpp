#include "render/ContourPainter.h"

#include "render/ChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <vector>

namespace dorvan {

namespace {

ChartRect textRect(const ChartText& text, const QFont& font)
{
    const QFontMetrics m(font);
    const int w = m.horizontalAdvance(QString::fromStdString(text.text));
    return { text.x, text.y, text.x + w, text.y + m.height() };
}

} // namespace

CostContours paintCostContours(QPainter& p, const ContourInput& input, const ChartState& chart,
    QSize drawing, const ChartOptimum* optimum, std::span<const ChartMarker> markers, ChartTextBox box)
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
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(chartPen(magenta, 1));
    p.setBrush(Qt::NoBrush);
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
