#include "render/ChartPainter.h"

#include "core/allocation/GroupColours.h"
#include "core/common/Rounding.h"
#include "render/ContourPainter.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <optional>

namespace dorvan {

namespace {

using chart_colours::Black;
using chart_colours::Blue;
using chart_colours::Red;
using chart_colours::Silver;
using chart_colours::White;

QPen solidPen(const QColor& colour, int width)
{
    return chartPen(colour, width);
}

QPen dottedPen(const QColor& colour)
{
    return chartPen(colour, 1, Qt::DotLine);
}

// The first pixel of a run of `from`..`to` (either direction) that lies in low..high-1 and is
// a whole number of `period` pixels from `from`; `from` itself when it lies there already.
int firstInside(int from, int to, int low, int high, int period)
{
    if (to >= from && from < low)
        return from + (low - from + period - 1) / period * period;
    if (to < from && from >= high)
        return from - (from - high + period) / period * period;
    return from;
}

// A dotted line that starts outside the painter's image begins, without changing a pixel, at
// its first dot inside it: Qt restarts the dot pattern where it clips the start of a line, so
// a part of a drawing (the zoom) would otherwise show the dots shifted. A line's last pixel is
// not drawn, so a line whose first dot inside would be its end point draws nothing. Only
// horizontal and vertical lines are dotted on the chart. The device's rectangle is taken in the
// drawing's pixels, so a painter that also scales (the report's zoomed part) keeps every dot.
std::optional<QLine> dottedInside(const QPainter& p, const ChartLine& l, int period)
{
    const QRect device
        = p.transform().inverted().mapRect(QRect(0, 0, p.device()->width(), p.device()->height()));
    const QPoint o = device.topLeft();
    const int w = device.width(), h = device.height();
    ChartLine in = l;
    if (l.x1 == l.x2) {
        in.y1 = firstInside(l.y1, l.y2, o.y(), o.y() + h, period);
        if (in.y1 != l.y1 && (in.y2 - in.y1) * (l.y2 - l.y1) <= 0)
            return std::nullopt;
    } else if (l.y1 == l.y2) {
        in.x1 = firstInside(l.x1, l.x2, o.x(), o.x() + w, period);
        if (in.x1 != l.x1 && (in.x2 - in.x1) * (l.x2 - l.x1) <= 0)
            return std::nullopt;
    }
    return chartQLine(in);
}

// A rectangle with corners rounded by a 10 × 10 ellipse. On the chart's markers, 7 and 8 pixels
// wide, the corners meet and the rectangle becomes a small circle.
void roundedRect(QPainter& p, const ChartRect& r)
{
    QRect box = chartOutline(r);
    if (box.width() < 10 && box.height() < 10)
        p.drawEllipse(box);
    else
        p.drawRoundedRect(box, 5, 5, Qt::AbsoluteSize);
}

void beginExact(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
}

void paintBackground(QPainter& p, const ChartBackground& b)
{
    paintChartFrame(p, b.outerFrame, b.innerFrame);
    p.setPen(solidPen(Red, 2));
    p.drawLine(chartQLine(b.axisY));
    p.drawLine(chartQLine(b.axisX));
    paintChartStrokes(p, b.strokes, Silver);
    const QFont font = chartFont(TickLabelPoints);
    for (const ChartText& label : b.labels)
        paintChartText(p, label, font, Black);
}

} // namespace

std::string chartDecimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

QColor chartColour(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
        static_cast<int>((bgr >> 16) & 0xFF));
}

// Sizes are in points as a 96 DPI screen shows them, whatever the image's own resolution.
QFont chartFont(int points)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(roundToInt(static_cast<long double>(points) * 96.0L / 72.0L));
    font.setBold(true);
    // Whole pixels only, like every other element of the chart.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

ChartTextMeasure chartTextMeasure()
{
    return [](std::string_view text, int points) {
        const QFontMetrics metrics(chartFont(points));
        const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return ChartTextSize { metrics.horizontalAdvance(s), metrics.height() };
    };
}

void thinChartLabels(ChartBackground& background)
{
    thinTickLabels(background, chartTextMeasure());
}

void paintChartText(
    QPainter& p, const ChartText& text, const QFont& font, const QColor& colour, ChartTextBox box)
{
    const QString s = QString::fromStdString(text.text);
    const QFontMetrics metrics(font);
    // Where the painter clips (the report's zoomed part), a text is written whole or not at all:
    // a label cut at the clip's edge would read as another name or number.
    if (p.hasClipping()
        && !p.clipBoundingRect().contains(
            QRectF(text.x, text.y, metrics.horizontalAdvance(s), metrics.height())))
        return;
    p.setFont(font);
    if (box == ChartTextBox::OpaqueWhite)
        p.fillRect(QRect(text.x, text.y, metrics.horizontalAdvance(s), metrics.height()), White);
    p.setPen(solidPen(colour, 1));
    p.drawText(QPoint(text.x, text.y + metrics.ascent()), s);
}

void paintChartFrame(QPainter& p, const ChartRect& outer, const ChartRect& inner)
{
    const QPalette palette = QGuiApplication::palette();
    p.setPen(solidPen(palette.color(QPalette::Midlight), 2));
    p.setBrush(palette.color(QPalette::ToolTipBase));
    p.drawRect(chartOutline(outer));
    p.setBrush(White);
    p.drawRect(chartOutline(inner));
    p.setBrush(Qt::NoBrush);
}

void paintChartStrokes(QPainter& p, const std::vector<ChartStroke>& strokes, const QColor& gridColour)
{
    const QPen tickPen = solidPen(Red, 1);
    const QPen gridPen = dottedPen(gridColour);
    qreal pattern = 0;
    for (qreal dash : gridPen.dashPattern())
        pattern += dash;
    const int period = std::max(1, static_cast<int>(pattern * gridPen.widthF()));
    for (const ChartStroke& s : strokes) {
        p.setPen(s.grid ? gridPen : tickPen);
        const std::optional<QLine> line = s.grid ? dottedInside(p, s.line, period) : chartQLine(s.line);
        if (line)
            p.drawLine(*line);
    }
}

void paintChartMarkers(QPainter& p, const std::vector<ChartMarker>& markers, const QColor& outline,
    const QColor& textColour, ChartTextBox box)
{
    const QFont font = chartFont(8);
    for (const ChartMarker& m : markers) {
        p.setPen(solidPen(outline, 1));
        p.setBrush(White);
        roundedRect(p, m.circle);
        p.setBrush(Qt::NoBrush);
        paintChartText(p, m.label, font, textColour, box);
    }
}

void paintChartPath(QPainter& p, const std::vector<ChartPixel>& path)
{
    if (path.size() < 2)
        return;
    QPolygon line;
    line.reserve(static_cast<qsizetype>(path.size()));
    for (const ChartPixel& at : path)
        line.append(QPoint(at.x, at.y));
    p.setPen(solidPen(Blue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
}

void paintChartOptimum(QPainter& p, const ChartOptimum& optimum)
{
    p.setPen(solidPen(Red, 1));
    p.setBrush(Red);
    roundedRect(p, optimum.dot);
    p.setBrush(Qt::NoBrush);
    paintChartText(p, optimum.label, chartFont(10), Red);
}

QPen chartPen(const QColor& colour, int width, Qt::PenStyle style)
{
    return QPen(colour, width, style, Qt::FlatCap, Qt::MiterJoin);
}

QRect chartOutline(const ChartRect& r)
{
    return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

QLine chartQLine(const ChartLine& l)
{
    return QLine(l.x1, l.y1, l.x2, l.y2);
}

void beginPart(QPainter& p, const SurfacePart& part)
{
    beginExact(p);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.translate(-part.origin);
}

bool KresliGrafCooper(QImage& surface, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, ChartDataMode mode, ChartState& state, const SurfacePart& part,
    const ContourInput* contours, ChartScale scale)
{
    const QSize size = part.sizeOf(surface);
    if (surface.isNull() || chartTooSmall(size.width(), size.height()))
        return false;
    QPainter p(&surface);
    beginPart(p, part);
    return paintOneCentreChart(p, size, places, iterates, mode, state, contours, scale);
}

bool paintOneCentreChart(QPainter& p, QSize size, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, ChartDataMode mode, ChartState& state,
    const ContourInput* contours, ChartScale scale)
{
    if (chartTooSmall(size.width(), size.height()))
        return false;
    OneCentreChart c
        = oneCentreChart(places, iterates, mode, size.width(), size.height(), chartDecimalSeparator(), scale);
    thinChartLabels(c.background);
    c.state.LabelBoxes = tickLabelBoxes(c.background, chartTextMeasure());
    placePointLabels(c.places, c.hasOptimum ? &c.optimum : nullptr, chartTextMeasure(), c.state.LabelBoxes,
        size.width(), size.height());
    state = c.state;
    paintBackground(p, c.background);
    if (contours != nullptr)
        paintCostContours(p, *contours, c.state, size, c.hasOptimum ? &c.optimum : nullptr, c.places);
    paintChartMarkers(p, c.places, Red, Black);
    paintChartPath(p, c.path);
    if (c.hasOptimum)
        paintChartOptimum(p, c.optimum);
    return true;
}

bool KresliGrafCooperSkupiny1(QImage& surface, std::span<const ChartPoint> places, ChartState& state,
    const SurfacePart& part, ChartScale scale)
{
    const QSize size = part.sizeOf(surface);
    if (surface.isNull() || chartTooSmall(size.width(), size.height()))
        return false;
    QPainter p(&surface);
    beginPart(p, part);
    return paintGroupBackground(p, size, places, state, scale);
}

bool paintGroupBackground(
    QPainter& p, QSize size, std::span<const ChartPoint> places, ChartState& state, ChartScale scale)
{
    if (chartTooSmall(size.width(), size.height()))
        return false;
    state = chartWindow(places, size.width(), size.height(), scale);
    ChartBackground b = chartBackground(
        state, size.width(), size.height(), ChartBackgroundStyle::Groups, chartDecimalSeparator());
    thinChartLabels(b);
    state.LabelBoxes = tickLabelBoxes(b, chartTextMeasure());
    paintBackground(p, b);
    return true;
}

void KresliGrafCooperSkupiny2(QImage& surface, ChartState& state, int GroupNo, int GroupMemberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates)
{
    if (surface.isNull())
        return;
    GroupChart g = groupChart(state, GroupNo, GroupMemberTotal, members, iterates);
    placePointLabels(g.members, g.hasOptimum ? &g.optimum : nullptr, chartTextMeasure(), state.LabelBoxes,
        surface.width(), surface.height());
    const QColor colour = chartColour(VstupUdajFarby(GroupNo));
    QPainter p(&surface);
    beginExact(p);
    paintChartMarkers(p, g.members, colour, colour);
    paintChartPath(p, g.path);
    if (g.hasOptimum)
        paintChartOptimum(p, g.optimum);
}

} // namespace dorvan
