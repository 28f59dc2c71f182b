#pragma once

// The result chart painted onto the allocation window's drawing surface (or onto any
// image of the same kind, such as the zoom's off-screen surface). Antialiasing is off, so
// every pixel lands where ChartGeometry puts it; these functions only draw what it returns.
//
// Text is written in the application's default font, bold, sized in points as on a 96 DPI
// screen whatever the image's own resolution, so the chart looks the same on screen, in a
// zoom and in a print.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/ChartLabels.h"
#include "core/allocation/CostContours.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QPen>
#include <QRect>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QPainter;

namespace dorvan {

// The chart's named colours.
namespace chart_colours {
inline const QColor Red(255, 0, 0);
inline const QColor Silver(192, 192, 192);
inline const QColor Blue(0, 0, 255);
inline const QColor Black(0, 0, 0);
inline const QColor White(255, 255, 255);
} // namespace chart_colours

// The decimal separator of the application's locale, as the charts write numbers.
std::string chartDecimalSeparator();

// Where an image lies in the drawing it holds: the drawing is laid out for a surface of `size`
// and the image's pixel (0, 0) is the drawing's pixel `origin`. The default is the whole drawing
// on the image itself. Drawing a part paints the same pixels as drawing the whole surface and
// cutting the part out, at the cost of the part alone (the zoom's surface over a large picture
// would take hundreds of megabytes).
struct SurfacePart {
    QSize size; // empty: the image's own size
    QPoint origin;
    QSize sizeOf(const QImage& image) const { return size.isEmpty() ? image.size() : size; }
};

// A pen with flat caps: like the chart's coordinates, a line stops short of its end point instead
// of running on by half its width.
QPen chartPen(const QColor& colour, int width, Qt::PenStyle style = Qt::SolidLine);
// The pixels left..right-1 × top..bottom-1 as Qt strokes them with a one-pixel pen.
QRect chartOutline(const ChartRect& r);
QLine chartQLine(const ChartLine& l);

// A painter on the image that draws in the whole drawing's pixels, antialiasing off.
void beginPart(QPainter& p, const SurfacePart& part);

// The one-centre chart: frame, axes, ticks, grid, tick labels, the project places 1..n with
// their labels by the data mode, the iteration path IterX / IterY[1..FinalIter] and the optimum
// marked "OPTIMAL". Returns false, drawing nothing and leaving state as it was, when `surface` is
// narrower or lower than 50 pixels: the window then takes chartFallbackSize. Otherwise state
// receives the new chart state.
// With contours, the cost contours are drawn over the background, under the places.
// The tick labels are thinned so that none covers another, and a place label or the
// optimum's text that would cover another label moves to a free side of its point.
// With ChartScale::Equal both axes share one scale and the drawing stays centred.
bool KresliGrafCooper(QImage& surface, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, ChartDataMode mode, ChartState& state,
    const SurfacePart& part = {}, const ContourInput* contours = nullptr,
    ChartScale scale = ChartScale::Free);

// The same on a painter the caller has opened, over a drawing of the given size (the report
// draws it in vector form onto a page).
bool paintOneCentreChart(QPainter& p, QSize size, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, ChartDataMode mode, ChartState& state,
    const ContourInput* contours = nullptr, ChartScale scale = ChartScale::Free);

// The background of a group run: the chart of KresliGrafCooper without places, path and
// optimum, its axes and grid lines kept a little further inside. The coordinate window covers
// all project places, grouped or not. Same size guard and result as KresliGrafCooper.
bool KresliGrafCooperSkupiny1(QImage& surface, std::span<const ChartPoint> places, ChartState& state,
    const SurfacePart& part = {}, ChartScale scale = ChartScale::Free);

// The same on a painter the caller has opened.
bool paintGroupBackground(QPainter& p, QSize size, std::span<const ChartPoint> places, ChartState& state,
    ChartScale scale = ChartScale::Free);

// One group over that background, with the chart state it left: the members in the group's
// colour, labelled "M" + m with m counted on through the groups (GroupMemberTotal is the count
// including this group), and for a group of at least 3 members its path GroupIterX /
// GroupIterY[1..FinalIter] and its optimum marked "OPTIM " + GroupNo. Its labels keep clear of
// those the groups before it left in state.
void KresliGrafCooperSkupiny2(QImage& surface, ChartState& state, int GroupNo, int GroupMemberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates);

// The pieces the three drawings are made of, for the drawing over the map picture, which
// shares its markers, path, optimum and frame with this chart. All paint with antialiasing
// off on a painter the caller has opened.

// A colour written as 0x00BBGGRR, the way the group colours are given.
QColor chartColour(std::uint32_t bgr);
// A font of the given point size, bold, in whole pixels.
QFont chartFont(int points);
// The size of a text in chartFont: its advance and the font's height.
ChartTextMeasure chartTextMeasure();
// The tick labels of a background thinned by chartTextMeasure.
void thinChartLabels(ChartBackground& background);
// A text with its top left corner at its point: transparent, or on an opaque white box so
// that it stays legible over a picture. Where the painter clips, a text not wholly inside the
// clip is left out rather than drawn in part.
enum class ChartTextBox { Transparent, OpaqueWhite };
void paintChartText(QPainter& p, const ChartText& text, const QFont& font, const QColor& colour,
    ChartTextBox box = ChartTextBox::Transparent);
// The outer frame (light 3-D edge outline, tooltip background fill) and the white plotting
// rectangle inside it, both with a pen of width 2.
void paintChartFrame(QPainter& p, const ChartRect& outer, const ChartRect& inner);
// Ticks in solid red, grid lines dotted in gridColour, each of width 1, in the given order.
void paintChartStrokes(QPainter& p, const std::vector<ChartStroke>& strokes, const QColor& gridColour);
// Circles outlined in outline and filled white; their labels in 8 points, bold.
void paintChartMarkers(QPainter& p, const std::vector<ChartMarker>& markers, const QColor& outline,
    const QColor& textColour, ChartTextBox box = ChartTextBox::Transparent);
// The blue staircase of the iteration, pen width 2.
void paintChartPath(QPainter& p, const std::vector<ChartPixel>& path);
// The red dot and its red 10-point text.
void paintChartOptimum(QPainter& p, const ChartOptimum& optimum);

} // namespace dorvan
