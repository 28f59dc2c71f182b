#include "core/network/StationGraph.h"

#include "core/common/Rounding.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dorvan {

namespace {

constexpr double Margin = 5.0;
constexpr int Inset = 20;

// "M" + j. Appended rather than written "M" + std::to_string(j), which GCC 12 at -O2 and
// above wrongly warns about (-Wrestrict) in every Release build.
std::string placeLabel(int j)
{
    std::string label = "M";
    label += std::to_string(j);
    return label;
}
// No half-axis of a sound window has more than 100 ticks; the bound keeps a damaged one short.
constexpr long long MaxTicks = 1000;

int pixel(long double v)
{
    return chart::toPixel(v);
}

ChartRect circleAt(int x, int y)
{
    return { x, y, x + 7, y + 7 };
}

std::size_t utf8Length(std::string_view s)
{
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

struct HalfAxis {
    long double origin; // pixel of coordinate 0, unrounded
    long double step; // pixels between ticks, signed outwards
    long long ticks;
    double end; // the window's extreme on this side
};

long long tickCount(long double extent, long double step)
{
    if (!(step > 0) || !std::isfinite(static_cast<double>(extent / step)))
        return 0;
    return std::clamp<long long>(static_cast<long long>(roundHalfEven(extent / step)), 0, MaxTicks);
}

// The whole number nearest to k × end / ticks, written in full: a coordinate beyond the int range
// (typed X 99999999999) is labelled with its own value, not with the largest int. Past the
// 15 digits typed input can reach, only a damaged file brings such values; the label keeps
// its magnitude in a short form ("1E+300") instead of hundreds of digits.
std::string labelText(long long k, double end, long long ticks)
{
    const long double v = roundHalfEven(static_cast<long double>(k) * end / static_cast<long double>(ticks));
    if (!std::isfinite(v))
        return std::to_string(roundToInt(v));
    char text[64];
    if (std::fabs(v) < 1e15L)
        std::snprintf(text, sizeof text, "%.0Lf", v + 0.0L); // + 0 writes -0 as 0
    else
        std::snprintf(text, sizeof text, "%.0LE", v);
    return text;
}

void xTicks(StationGraph& g, const HalfAxis& a, int axisRow)
{
    for (long long k = 1; k <= a.ticks; ++k) {
        const int x = pixel(a.origin + k * a.step);
        const TickKind kind = tickKind(k);
        if (kind == TickKind::Long) {
            g.strokes.push_back({ { x, 25, x, g.height - 25 }, true });
            g.labels.push_back({ labelText(k, a.end, a.ticks), x - 10, axisRow + 10 });
        }
        g.strokes.push_back({ { x, axisRow, x, axisRow + tickLength(kind) }, false });
    }
}

void yTicks(StationGraph& g, const HalfAxis& a, int axisColumn, int gridInset)
{
    for (long long k = 1; k <= a.ticks; ++k) {
        const int y = pixel(a.origin + k * a.step);
        const TickKind kind = tickKind(k);
        if (kind == TickKind::Long) {
            g.strokes.push_back({ { gridInset, y, g.width - gridInset, y }, true });
            g.labels.push_back({ labelText(k, a.end, a.ticks), axisColumn - 20, y });
        }
        g.strokes.push_back({ { axisColumn, y, axisColumn - tickLength(kind), y }, false });
    }
}

void axesAndTicks(StationGraph& g)
{
    const GraphWindow& w = g.window;
    const long double sx = w.sx;
    const long double sy = w.sy;
    const int axisColumn = 20 - pixel(w.minX * sx);
    const int axisRow = pixel(w.maxY * sy) + 20;
    g.axisY = { axisColumn, 20, axisColumn, g.height - 20 };
    g.axisX = { 20, axisRow, g.width - 20, axisRow };

    // A hundredth of the drawn range between ticks; each half-axis walked out from the origin.
    const long double stepX = (static_cast<long double>(w.maxX) - w.minX) * sx / 100;
    const long double stepY = (static_cast<long double>(w.maxY) - w.minY) * sy / 100;
    const long double x0 = Inset - w.minX * sx;
    const long double y0 = Inset + w.maxY * sy;
    xTicks(g, { x0, stepX, tickCount(w.maxX * sx, stepX), w.maxX }, axisRow);
    xTicks(g, { x0, -stepX, tickCount(-w.minX * sx, stepX), w.minX }, axisRow);
    yTicks(g, { y0, -stepY, tickCount(w.maxY * sy, stepY), w.maxY }, axisColumn, 25);
    yTicks(g, { y0, stepY, tickCount(-w.minY * sy, stepY), w.minY }, axisColumn, 30);
}

// The last place of this name, or 0.
int lastPlaceNamed(std::span<const GraphPlace> places, const Text100& name)
{
    for (std::size_t i = places.size(); i > 0; --i)
        if (places[i - 1].name == name)
            return static_cast<int>(i);
    return 0;
}

GraphStar starOf(std::span<const GraphPlace> places, const StarSolution& best, int s, std::size_t& next,
    const GraphWindow& w)
{
    GraphStar star;
    star.colour = starColour(s);
    const auto k = static_cast<std::size_t>(s - 1);
    const int centrePos = k < best.StarCentre.size() ? best.StarCentre[k] : 0;
    int cx = 0;
    int cy = 0;
    if (centrePos >= 1 && centrePos <= static_cast<int>(best.StarOrder.size())) {
        const int c = lastPlaceNamed(places, best.StarOrder[static_cast<std::size_t>(centrePos - 1)]);
        if (c > 0) {
            star.hasCentre = true;
            cx = w.px(places[static_cast<std::size_t>(c - 1)].x);
            cy = w.py(places[static_cast<std::size_t>(c - 1)].y);
            star.centreCircle = circleAt(cx, cy);
        }
    }
    const int size = k < best.StarSize.size() ? best.StarSize[k] : 0;
    for (int e = 0; e < size && next < best.StarOrder.size(); ++e, ++next) {
        for (std::size_t j = 1; j <= places.size(); ++j) {
            const GraphPlace& p = places[j - 1];
            if (!(p.name == best.StarOrder[next]))
                continue;
            const int x = w.px(p.x);
            const int y = w.py(p.y);
            if (star.hasCentre)
                star.lines.push_back({ cx, cy, x, y });
            star.circles.push_back(circleAt(x, y));
            star.labels.push_back({ placeLabel(j), j < 10 ? x - 5 : x - 10, y - 12 });
        }
    }
    return star;
}

} // namespace

int GraphWindow::px(double x) const
{
    return pixel(static_cast<long double>(sx) * x + Inset - static_cast<long double>(sx) * minX);
}

int GraphWindow::py(double y) const
{
    return pixel(Inset + static_cast<long double>(sy) * maxY - static_cast<long double>(sy) * y);
}

std::vector<GraphPlace> graphPlaces(const TProjectRecord& record, int n)
{
    std::vector<GraphPlace> places;
    for (int i = 1; i <= n && i <= MaxPlaces; ++i)
        places.push_back({ record.PlaceName[i], record.PlaceX[i], record.PlaceY[i] });
    return places;
}

GraphWindow graphWindow(std::span<const GraphPlace> places, int width, int height)
{
    // The extremes of the places with the origin taken in, as the result chart takes them.
    ChartState s;
    if (!places.empty())
        s = { places[0].x, places[0].x, places[0].y, places[0].y, 0.0, 0.0, ChartScale::Free, {} };
    for (const GraphPlace& p : places)
        chart::widenTo(s, { p.x, p.y });
    chart::includeOrigin(s);
    GraphWindow w { s.ChartMinX, s.ChartMaxX, s.ChartMinY, s.ChartMaxY, 0.0, 0.0 };
    w.maxX += Margin;
    w.minX -= Margin;
    w.maxY += Margin;
    w.minY -= Margin;
    w.sx = (width - 2 * Inset) / (w.maxX - w.minX);
    w.sy = (height - 2 * Inset) / (w.maxY - w.minY);
    return w;
}

std::uint32_t roundColour(int r)
{
    // Red, blue, green, magenta, orange, teal, purple, brown (0x00BBGGRR).
    static constexpr std::uint32_t palette[] = { 0x0000D0, 0xD00000, 0x00A000, 0xC000C0, 0x0080FF, 0x808000, 0x800060,
        0x004080 };
    const int k = r < 1 ? 0 : (r - 1) % 8;
    return palette[k];
}

namespace {

void addRounds(StationGraph& g, const RoundsTrace& trace)
{
    if (!trace.present)
        return;
    const GraphWindow& w = g.window;
    const int dx = w.px(trace.depot.x), dy = w.py(trace.depot.y);
    int no = 0;
    for (const auto& stops : trace.rounds) {
        GraphRound round;
        round.colour = roundColour(++no);
        int x = dx, y = dy;
        for (const RoundsTrace::Point& p : stops) {
            const int nx = w.px(p.x), ny = w.py(p.y);
            round.lines.push_back({ x, y, nx, ny });
            x = nx;
            y = ny;
        }
        round.lines.push_back({ x, y, dx, dy });
        g.rounds.push_back(std::move(round));
    }
    g.hasDepot = true;
    g.depotMark = { dx - 4, dy - 4, dx + 5, dy + 5 };
    g.depotLabel = { "DC", dx - 6, dy - 18 };
}

} // namespace

StationGraph stationGraph(
    std::span<const GraphPlace> places, const StarSolution& best, int width, int height, const RoundsTrace& rounds)
{
    StationGraph g;
    g.width = width;
    g.height = height;
    g.window = graphWindow(places, width, height);
    g.outer = { 0, 0, width, height };
    g.inner = { 10, 10, width - 10, height - 10 };
    axesAndTicks(g);
    std::size_t next = 0;
    for (int s = 1; s <= best.StarCount; ++s)
        g.stars.push_back(starOf(places, best, s, next, g.window));
    addRounds(g, rounds);
    return g;
}

std::vector<std::string> graphListLines(std::span<const GraphPlace> places, std::string_view separator)
{
    std::vector<std::string> lines;
    int i = 0;
    for (const GraphPlace& p : places)
        lines.push_back(placeLabel(++i) + ": " + displayName(p.name) + ", [" + formatGeneral15(p.x, separator)
            + ";" + formatGeneral15(p.y, separator) + "]");
    return lines;
}

int graphListWidth(const std::vector<std::string>& lines)
{
    int widest = 0;
    for (const std::string& l : lines)
        widest = std::max(widest, 6 * static_cast<int>(utf8Length(l)) - 25);
    return widest;
}

} // namespace dorvan
