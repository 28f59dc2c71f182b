#include "core/allocation/ChartGeometry.h"

#include "core/common/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dorvan {

namespace chart {

int toPixel(long double v)
{
    return std::clamp(roundToInt(v), -FarPixel, FarPixel);
}

bool finitePoint(const ChartPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool usableSpacing(long double t)
{
    return std::isfinite(t) && t > 0.0L;
}

long long lastLabelled(long double ticks)
{
    return std::isfinite(ticks) ? std::min<long long>(roundToInt(ticks), MaxTicks) : 0LL;
}

void widenTo(ChartState& s, const ChartPoint& p)
{
    if (p.x > s.ChartMaxX)
        s.ChartMaxX = p.x;
    if (p.x < s.ChartMinX)
        s.ChartMinX = p.x;
    if (p.y > s.ChartMaxY)
        s.ChartMaxY = p.y;
    if (p.y < s.ChartMinY)
        s.ChartMinY = p.y;
}

void includeOrigin(ChartState& s)
{
    if (s.ChartMaxX > 0 && s.ChartMinX > 0)
        s.ChartMinX = 0;
    if (s.ChartMaxX < 0 && s.ChartMinX < 0)
        s.ChartMaxX = 0;
    if (s.ChartMaxY > 0 && s.ChartMinY > 0)
        s.ChartMinY = 0;
    if (s.ChartMaxY < 0 && s.ChartMinY < 0)
        s.ChartMaxY = 0;
}

} // namespace chart

using namespace chart;

namespace {

// How far the axes and grid lines reach; the group background keeps them further inside.
struct Reach {
    int axisYTop;
    int axisXRightInset;
    int verticalGridTop;
    int verticalGridBottomInset;
    int upperGridLeft;
    int upperGridRightInset;
    int lowerGridLeft;
    int lowerGridRightInset;
};

Reach reachOf(ChartBackgroundStyle style)
{
    if (style == ChartBackgroundStyle::Groups)
        return { 20, 20, 25, 25, 25, 25, 30, 30 };
    return { 15, 15, 15, 20, 20, 15, 20, 15 };
}

std::string placeLabelText(int n, ChartDataMode mode)
{
    std::string text = mode == ChartDataMode::Manual ? "M" : (n <= 9 ? "A0" : "A");
    text += std::to_string(n);
    return text;
}

int placeLabelOffset(int n, ChartDataMode mode)
{
    return mode == ChartDataMode::Manual && n <= 9 ? 8 : 13;
}

ChartMarker markerAt(ChartPixel c, std::string text, int labelOffset)
{
    ChartMarker m;
    m.centre = c;
    m.circle = { c.x - 3, c.y - 3, c.x + 4, c.y + 4 };
    m.label = { std::move(text), c.x - labelOffset, c.y - 16 };
    return m;
}

} // namespace

double labelValue(long long k, long double extreme, long double scale, long double spacing, long double step)
{
    long double ticksToExtreme = extreme * scale / spacing;
    if (ticksToExtreme == 0.0L)
        return static_cast<double>(static_cast<long double>(k) * step);
    return static_cast<double>(static_cast<long double>(k) * extreme / ticksToExtreme);
}

int ChartState::px(long double X) const
{
    long double sx = ChartScaleX;
    return toPixel(-static_cast<long double>(ChartMinX) * sx + 20.0L + X * sx);
}

int ChartState::py(long double Y) const
{
    long double sy = ChartScaleY;
    return toPixel(static_cast<long double>(ChartMaxY) * sy + 20.0L - Y * sy);
}

bool chartTooSmall(int width, int height)
{
    return width < ChartMinSide || height < ChartMinSide;
}

ChartWindowSize chartFallbackSize(int placesWidth, int pathWidth)
{
    return { placesWidth + pathWidth + 100, 100 };
}

long double tickStep(long double range)
{
    if (!std::isfinite(range) || range < 1.0L)
        return 0.0L;
    // u = 10^(d-1) for the d decimal digits of R, formed by multiplying so that it is exact.
    long double power = 1.0L;
    while (power <= range)
        power *= 10.0L;
    long double u = power / 10.0L;
    long double q = range / u;
    long double f;
    if (q <= 2.0L)
        f = 1.0L;
    else if (q <= 3.0L)
        f = 2.0L;
    else if (q <= 4.0L)
        f = 2.5L;
    else if (q <= 7.0L)
        f = 5.0L;
    else if (q <= 9.0L)
        f = 7.5L;
    else
        f = 10.0L;
    return u * f / 100.0L;
}

TickKind tickKind(long long k)
{
    long long c = (k - 1) % 10 + 1;
    if (c == 10)
        return TickKind::Long;
    if (c == 5)
        return TickKind::Medium;
    return TickKind::Short;
}

int tickLength(TickKind kind)
{
    switch (kind) {
    case TickKind::Short:
        return 3;
    case TickKind::Medium:
        return 5;
    case TickKind::Long:
        return 10;
    }
    return 3;
}

std::string formatGeneral15(double value, std::string_view separator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0.0)
        return "0"; // also for -0
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string raw(buf);
    std::string out;
    out.reserve(raw.size() + separator.size());
    std::size_t e = raw.find('e');
    std::string mantissa = raw.substr(0, e);
    for (char ch : mantissa) {
        if (ch == '.')
            out.append(separator);
        else
            out.push_back(ch);
    }
    if (e != std::string::npos) {
        // "e+15" and "e-05" become "E+15" and "E-5".
        out.push_back('E');
        std::size_t i = e + 1;
        char sign = raw[i] == '-' ? '-' : '+';
        if (raw[i] == '-' || raw[i] == '+')
            ++i;
        while (i + 1 < raw.size() && raw[i] == '0')
            ++i;
        out.push_back(sign);
        out.append(raw, i, std::string::npos);
    }
    return out;
}

namespace {

// Widens [low; high] at both ends alike so that it spans `pixels` at `scale` pixels a unit.
void widenToScale(double& low, double& high, long double pixels, long double scale)
{
    const long double spare = pixels / scale - (static_cast<long double>(high) - low);
    if (spare <= 0.0L)
        return;
    low = static_cast<double>(low - spare / 2.0L);
    high = static_cast<double>(high + spare / 2.0L);
}

// Both axes at the smaller scale, the other axis widened around its middle.
void equalScales(ChartState& s, int width, int height)
{
    const long double scale = std::min<long double>(s.ChartScaleX, s.ChartScaleY);
    if (!std::isfinite(scale) || scale <= 0.0L)
        return;
    widenToScale(s.ChartMinX, s.ChartMaxX, width - 2 * ChartInset, scale);
    widenToScale(s.ChartMinY, s.ChartMaxY, height - 2 * ChartInset, scale);
    s.ChartScaleX = s.ChartScaleY = static_cast<double>(scale);
}

} // namespace

ChartState chartWindow(std::span<const ChartPoint> places, int width, int height, ChartScale scale)
{
    ChartState s;
    bool first = true;
    for (const ChartPoint& p : places) {
        if (!finitePoint(p))
            continue;
        if (first) {
            s.ChartMinX = s.ChartMaxX = p.x;
            s.ChartMinY = s.ChartMaxY = p.y;
            first = false;
            continue;
        }
        widenTo(s, p);
    }
    // The window always holds the origin, so both axes are drawn.
    includeOrigin(s);
    s.ChartMaxX += ChartMargin;
    s.ChartMinX -= ChartMargin;
    s.ChartMaxY += ChartMargin;
    s.ChartMinY -= ChartMargin;
    s.ChartScaleX = static_cast<double>(static_cast<long double>(width - 2 * ChartInset)
        / (static_cast<long double>(s.ChartMaxX) - s.ChartMinX));
    s.ChartScaleY = static_cast<double>(static_cast<long double>(height - 2 * ChartInset)
        / (static_cast<long double>(s.ChartMaxY) - s.ChartMinY));
    s.Scale = scale;
    if (scale == ChartScale::Equal)
        equalScales(s, width, height);
    return s;
}

ChartBackground chartBackground(
    const ChartState& state, int width, int height, ChartBackgroundStyle style, std::string_view separator)
{
    const long double minX = state.ChartMinX;
    const long double maxX = state.ChartMaxX;
    const long double minY = state.ChartMinY;
    const long double maxY = state.ChartMaxY;
    const long double sx = state.ChartScaleX;
    const long double sy = state.ChartScaleY;
    const int W = width;
    const int H = height;
    const Reach reach = reachOf(style);

    ChartBackground b;
    b.width = W;
    b.height = H;
    b.stepX = tickStep(roundHalfEven(maxX - minX));
    b.stepY = tickStep(roundHalfEven(maxY - minY));
    if (state.Scale == ChartScale::Equal)
        b.stepX = b.stepY = tickStep(roundHalfEven(std::max(maxX - minX, maxY - minY)));
    b.tickX = b.stepX * sx;
    b.tickY = b.stepY * sy;
    b.outerFrame = { 1, 1, W, H };
    b.innerFrame = { 10, 10, W - 10, H - 10 };

    b.originX = 20 - toPixel(minX * sx);
    b.originY = toPixel(maxY * sy) + 20;
    b.axisY = { b.originX, reach.axisYTop, b.originX, H - 20 };
    b.axisX = { 20, b.originY, W - reach.axisXRightInset, b.originY };

    // The rows and columns the ticks start from, as the tick formulas give them.
    const int x0 = toPixel(-minX * sx + 20.0L);
    const int y0 = toPixel(maxY * sy + 20.0L);
    const long double tx = b.tickX;
    const long double ty = b.tickY;

    auto xTick = [&](int x, long long k) {
        TickKind kind = tickKind(k);
        if (kind == TickKind::Long)
            b.strokes.push_back({ { x, reach.verticalGridTop, x, H - reach.verticalGridBottomInset }, true });
        b.strokes.push_back({ { x, y0, x, y0 + tickLength(kind) }, false });
    };
    auto yTick = [&](int y, long long k, int gridLeft, int gridRightInset) {
        TickKind kind = tickKind(k);
        if (kind == TickKind::Long)
            b.strokes.push_back({ { gridLeft, y, W - gridRightInset, y }, true });
        b.strokes.push_back({ { x0, y, x0 - tickLength(kind), y }, false });
    };

    // Each half-axis is walked from the origin outwards; the positive ones run up to 5 pixels
    // past the window's end.
    if (usableSpacing(tx)) {
        for (long long k = 1; k <= MaxTicks && maxX * sx + 5.0L + TickSlack >= k * tx; ++k)
            xTick(toPixel(k * tx + 20.0L - minX * sx), k);
        for (long long k = 1; k <= MaxTicks && minX * sx - TickSlack <= -k * tx; ++k)
            xTick(toPixel(-k * tx + 20.0L - minX * sx), k);
    }
    if (usableSpacing(ty)) {
        for (long long k = 1; k <= MaxTicks && maxY * sy + 5.0L + TickSlack >= k * ty; ++k)
            yTick(toPixel(-k * ty + 20.0L + maxY * sy), k, reach.upperGridLeft, reach.upperGridRightInset);
        for (long long k = 1; k <= MaxTicks && minY * sy - TickSlack <= -k * ty; ++k)
            yTick(toPixel(k * ty + 20.0L + maxY * sy), k, reach.lowerGridLeft, reach.lowerGridRightInset);
    }

    // Every tenth tick is labelled with its coordinate.
    std::size_t counted = 0;
    auto countHalf = [&](std::size_t half) {
        b.labelCounts[half] = b.labels.size() - counted;
        counted = b.labels.size();
    };
    if (usableSpacing(tx)) {
        long long up = lastLabelled(maxX * sx / tx);
        for (long long k = 10; k <= up; k += 10)
            b.labels.push_back({ formatGeneral15(labelValue(k, maxX, sx, tx, b.stepX), separator),
                toPixel(k * tx + 10.0L - minX * sx), y0 + 10 });
        countHalf(0);
        long long down = lastLabelled(-minX * sx / tx);
        for (long long k = 10; k <= down; k += 10)
            b.labels.push_back({ formatGeneral15(labelValue(k, minX, -sx, tx, -b.stepX), separator),
                toPixel(-k * tx + 10.0L - minX * sx), y0 + 10 });
        countHalf(1);
    }
    if (usableSpacing(ty)) {
        long long up = lastLabelled(maxY * sy / ty);
        for (long long k = 10; k <= up; k += 10)
            b.labels.push_back({ formatGeneral15(labelValue(k, maxY, sy, ty, b.stepY), separator), x0 - 20,
                toPixel(-k * ty + 20.0L + maxY * sy) });
        countHalf(2);
        long long down = lastLabelled(-minY * sy / ty);
        for (long long k = 10; k <= down; k += 10)
            b.labels.push_back({ formatGeneral15(labelValue(k, minY, -sy, ty, -b.stepY), separator), x0 - 20,
                toPixel(k * ty + 20.0L + maxY * sy) });
        countHalf(3);
    }
    return b;
}

std::vector<ChartMarker> placeMarkers(
    const ChartState& state, std::span<const ChartPoint> places, ChartDataMode mode)
{
    std::vector<ChartMarker> markers;
    markers.reserve(places.size());
    int n = 0;
    for (const ChartPoint& p : places) {
        ++n;
        if (!finitePoint(p))
            continue; // a damaged coordinate has no place on the chart
        markers.push_back(
            markerAt({ state.px(p.x), state.py(p.y) }, placeLabelText(n, mode), placeLabelOffset(n, mode)));
    }
    return markers;
}

std::vector<ChartMarker> memberMarkers(
    const ChartState& state, std::span<const ChartPoint> members, int memberTotal)
{
    std::vector<ChartMarker> markers;
    markers.reserve(members.size());
    const long long size = static_cast<long long>(members.size());
    long long k = 0;
    for (const ChartPoint& p : members) {
        ++k;
        if (!finitePoint(p))
            continue;
        long long m = memberTotal - size + k;
        std::string text = "M";
        text += std::to_string(m);
        markers.push_back(markerAt({ state.px(p.x), state.py(p.y) }, std::move(text), m < 10 ? 8 : 13));
    }
    return markers;
}

std::vector<ChartPixel> iterationPath(const ChartState& state, std::span<const IteratePoint> iterates)
{
    std::vector<ChartPixel> path;
    if (iterates.empty())
        return path;
    path.reserve(2 * iterates.size() + 1);
    ChartPixel at { state.px(iterates.front().x), state.py(iterates.front().y) };
    path.push_back(at);
    for (const IteratePoint& it : iterates) {
        at.x = state.px(it.x);
        path.push_back(at);
        at.y = state.py(it.y);
        path.push_back(at);
    }
    return path;
}

ChartOptimum optimumAt(ChartPixel point, std::string_view text)
{
    ChartOptimum o;
    o.centre = point;
    o.dot = { point.x - 3, point.y - 3, point.x + 5, point.y + 5 };
    o.label = { std::string(text), point.x - 22, point.y - 17 };
    return o;
}

std::string groupOptimumText(int groupNo)
{
    std::string text = "OPTIM ";
    text += std::to_string(groupNo);
    return text;
}

std::string existingCentreChartText(int groupNo)
{
    return "CENTRUM " + std::to_string(groupNo);
}

OneCentreChart oneCentreChart(std::span<const ChartPoint> places, std::span<const IteratePoint> iterates,
    ChartDataMode mode, int width, int height, std::string_view separator, ChartScale scale)
{
    OneCentreChart c;
    c.state = chartWindow(places, width, height, scale);
    c.background = chartBackground(c.state, width, height, ChartBackgroundStyle::OneCentre, separator);
    c.places = placeMarkers(c.state, places, mode);
    c.path = iterationPath(c.state, iterates);
    if (!c.path.empty()) {
        c.hasOptimum = true;
        c.optimum = optimumAt(c.path.back(), OptimumText);
    }
    return c;
}

GroupChart groupChart(const ChartState& state, int groupNo, int memberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates)
{
    GroupChart g;
    g.members = memberMarkers(state, members, memberTotal);
    // A group of fewer than 3 members has no computed path.
    if (members.size() < 3)
        return g;
    g.path = iterationPath(state, iterates);
    if (!g.path.empty()) {
        g.hasOptimum = true;
        g.optimum = optimumAt(g.path.back(), groupOptimumText(groupNo));
    }
    return g;
}

} // namespace dorvan
