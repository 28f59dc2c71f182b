#include "allocation/ChartPainter.h"

#include "allocation/GroupColours.h"
#include "common/Rounding.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPolygon>

#include <vector>

namespace dorvan {

namespace {

const QColor Red(255, 0, 0);
const QColor Silver(192, 192, 192);
const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);

QColor fromBgr(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
        static_cast<int>((bgr >> 16) & 0xFF));
}

// Flat caps: a line ends at its end point instead of running on by half its width.
QPen solidPen(const QColor& colour, int width)
{
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

QPen dottedPen(const QColor& colour)
{
    QPen pen(colour, 1, Qt::DotLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

// The pixels left..right-1 × top..bottom-1 as Qt strokes them with a one-pixel pen.
QRect outlineRect(const ChartRect& r)
{
    return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

QLine toQLine(const ChartLine& l)
{
    return QLine(l.x1, l.y1, l.x2, l.y2);
}

// A rectangle with corners rounded by a 10 × 10 ellipse. On the chart's markers, 7 and 8 pixels
// wide, the corners meet and the rectangle becomes a small circle.
void roundedRect(QPainter& p, const ChartRect& r)
{
    QRect box = outlineRect(r);
    if (box.width() < 10 && box.height() < 10)
        p.drawEllipse(box);
    else
        p.drawRoundedRect(box, 5, 5, Qt::AbsoluteSize);
}

// A font of the given point size as a 96 DPI screen shows it, bold.
QFont chartFont(int points)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(roundToInt(static_cast<long double>(points) * 96.0L / 72.0L));
    font.setBold(true);
    // Whole pixels only, like every other element of the chart.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Text with its top left corner at the given point, without a background.
void writeText(QPainter& p, const ChartText& t, const QFont& font, const QColor& colour)
{
    p.setFont(font);
    p.setPen(solidPen(colour, 1));
    p.drawText(QPoint(t.x, t.y + QFontMetrics(font).ascent()), QString::fromStdString(t.text));
}

void paintBackground(QPainter& p, const ChartBackground& b)
{
    const QPalette palette = QGuiApplication::palette();
    const QColor edge = palette.color(QPalette::Light);

    p.setPen(solidPen(edge, 2));
    p.setBrush(palette.color(QPalette::ToolTipBase));
    p.drawRect(outlineRect(b.outerFrame));
    p.setBrush(White);
    p.drawRect(outlineRect(b.innerFrame));
    p.setBrush(Qt::NoBrush);

    p.setPen(solidPen(Red, 2));
    p.drawLine(toQLine(b.axisY));
    p.drawLine(toQLine(b.axisX));

    const QPen tickPen = solidPen(Red, 1);
    const QPen gridPen = dottedPen(Silver);
    for (const ChartStroke& s : b.strokes) {
        p.setPen(s.grid ? gridPen : tickPen);
        p.drawLine(toQLine(s.line));
    }

    const QFont font = chartFont(8);
    for (const ChartText& label : b.labels)
        writeText(p, label, font, Black);
}

void paintMarkers(
    QPainter& p, const std::vector<ChartMarker>& markers, const QColor& colour, const QColor& textColour)
{
    const QFont font = chartFont(8);
    for (const ChartMarker& m : markers) {
        p.setPen(solidPen(colour, 1));
        p.setBrush(White);
        roundedRect(p, m.circle);
        p.setBrush(Qt::NoBrush);
        writeText(p, m.label, font, textColour);
    }
}

void paintPath(QPainter& p, const std::vector<ChartPixel>& path)
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

void paintOptimum(QPainter& p, const ChartOptimum& o)
{
    p.setPen(solidPen(Red, 1));
    p.setBrush(Red);
    roundedRect(p, o.dot);
    p.setBrush(Qt::NoBrush);
    writeText(p, o.label, chartFont(10), Red);
}

std::string decimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

// The background shared by the one-centre chart and the group run: false, with nothing drawn,
// when the surface is too small.
bool drawBackground(
    QImage& image, std::span<const ChartPoint> places, ChartBackgroundStyle style, ChartState& state)
{
    if (image.isNull() || chartTooSmall(image.width(), image.height()))
        return false;
    state = chartWindow(places, image.width(), image.height());
    ChartBackground b = chartBackground(state, image.width(), image.height(), style, decimalSeparator());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    paintBackground(p, b);
    return true;
}

} // namespace

bool KresliGrafCooper(QImage& Image1, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, ChartDataMode mode, ChartState& state)
{
    if (Image1.isNull() || chartTooSmall(Image1.width(), Image1.height()))
        return false;
    OneCentreChart c
        = oneCentreChart(places, iterates, mode, Image1.width(), Image1.height(), decimalSeparator());
    state = c.state;
    QPainter p(&Image1);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    paintBackground(p, c.background);
    paintMarkers(p, c.places, Red, Black);
    paintPath(p, c.path);
    if (c.hasOptimum)
        paintOptimum(p, c.optimum);
    return true;
}

bool KresliGrafCooperSkupiny1(QImage& Image1, std::span<const ChartPoint> places, ChartState& state)
{
    return drawBackground(Image1, places, ChartBackgroundStyle::Groups, state);
}

void KresliGrafCooperSkupiny2(QImage& Image1, const ChartState& state, int GroupNo, int GroupMemberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates)
{
    if (Image1.isNull())
        return;
    GroupChart g = groupChart(state, GroupNo, GroupMemberTotal, members, iterates);
    const QColor colour = fromBgr(VstupUdajFarby(GroupNo));
    QPainter p(&Image1);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    paintMarkers(p, g.members, colour, colour);
    paintPath(p, g.path);
    if (g.hasOptimum)
        paintOptimum(p, g.optimum);
}

} // namespace dorvan
