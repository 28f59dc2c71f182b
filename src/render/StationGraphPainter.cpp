#include "render/StationGraphPainter.h"

#include "render/ChartPainter.h"

#include <QPainter>
#include <QPen>

namespace dorvan {

namespace {

using chart_colours::Black;
using chart_colours::Red;
using chart_colours::Silver;
using chart_colours::White;

void paintFrame(QPainter& p, const StationGraph& g)
{
    p.setPen(chartPen(DesktopBackground, 2));
    p.setBrush(Silver);
    p.drawRect(chartOutline(g.outer));
    p.setBrush(White);
    p.drawRect(chartOutline(g.inner));
    p.setBrush(Qt::NoBrush);
}

void paintAxes(QPainter& p, const StationGraph& g)
{
    p.setPen(chartPen(Red, 2));
    p.drawLine(chartQLine(g.axisY));
    p.drawLine(chartQLine(g.axisX));
    paintChartStrokes(p, g.strokes, Silver);
    const QFont font = chartFont(8);
    for (const ChartText& label : g.labels)
        paintChartText(p, label, font, Black);
}

void paintStar(QPainter& p, const GraphStar& star, const QFont& font)
{
    const QColor colour = chartColour(star.colour);
    p.setPen(chartPen(colour, 1));
    p.setBrush(colour);
    if (star.hasCentre)
        p.drawEllipse(chartOutline(star.centreCircle));
    for (const ChartLine& l : star.lines)
        p.drawLine(chartQLine(l));
    for (const ChartRect& c : star.circles)
        p.drawEllipse(chartOutline(c));
    p.setBrush(Qt::NoBrush);
    for (const ChartText& label : star.labels)
        paintChartText(p, label, font, colour);
}

void paintRounds(QPainter& p, const StationGraph& g)
{
    p.setBrush(Qt::NoBrush);
    for (const GraphRound& round : g.rounds) {
        p.setPen(chartPen(chartColour(round.colour), 2));
        for (const ChartLine& l : round.lines)
            p.drawLine(chartQLine(l));
    }
    if (!g.hasDepot)
        return;
    const QRect mark(g.depotMark.left, g.depotMark.top, g.depotMark.right - g.depotMark.left,
        g.depotMark.bottom - g.depotMark.top);
    p.fillRect(mark, Qt::black);
    paintChartText(p, g.depotLabel, chartFont(8), Qt::black);
}

} // namespace

void paintStationGraph(QImage& image, const StationGraph& graph)
{
    if (image.isNull())
        return;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    paintFrame(p, graph);
    paintAxes(p, graph);
    const QFont font = chartFont(5);
    for (const GraphStar& star : graph.stars)
        paintStar(p, star, font);
    paintRounds(p, graph);
}

QImage drawStationGraph(
    std::span<const GraphPlace> places, const StarSolution& best, QSize size, const RoundsTrace& rounds)
{
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    image.fill(White);
    paintStationGraph(image, stationGraph(places, best, size.width(), size.height(), rounds));
    return image;
}

} // namespace dorvan
