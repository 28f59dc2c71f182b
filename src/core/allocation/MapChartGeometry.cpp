#include "core/allocation/MapChartGeometry.h"

#include "core/common/Rounding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace dorvan {

using namespace chart;

namespace {

// round(a × b / c), the product in integers, the division in extended precision.
int scaled(std::int64_t a, std::int64_t b, std::int64_t c)
{
    return roundToInt(static_cast<long double>(a * b) / static_cast<long double>(c));
}

// The picture page places a label by the same edge rules with its own, larger offsets. Its
// choice of rule is taken over and only the offset is exchanged for the one of this drawing.
struct LabelOffset {
    int pageDx, pageDy; // the picture page's offset from the marker centre
    int dx, dy; // this drawing's
};
constexpr std::array<LabelOffset, 8> LabelOffsets { {
    { -20, -30, -13, -16 }, // above the marker
    { -20, 10, -13, 4 }, // below it, near the top edge
    { 10, 10, 4, 4 }, // top left corner
    { -45, 10, -28, 4 }, // top right corner
    { 10, -10, 5, -5 }, // left edge
    { -45, -10, -28, -5 }, // right edge
    { 10, -30, 5, -10 }, // bottom left corner
    { -45, -30, -28, -10 }, // bottom right corner
} };

std::vector<ChartMarker> relabelled(std::vector<ChartMarker> markers, int width, int height)
{
    for (ChartMarker& m : markers) {
        const ChartPixel at = mapLabelAt(m.centre, width, height);
        m.label.x = at.x;
        m.label.y = at.y;
    }
    return markers;
}

} // namespace

PixelSize mapDrawingArea(PixelSize picture, PixelSize frame, bool proportional)
{
    const PixelSize fill { std::max(frame.width - 4, MinPictureControlSide),
        std::max(frame.height - 17, MinPictureControlSide) };
    if (!proportional || picture.width <= 0 || picture.height <= 0)
        return fill;
    if (const auto fitted = fitPictureOnPage(picture, frame, true))
        return *fitted;
    // A side equal to the frame's: that side counts as larger.
    const std::int64_t W = picture.width, H = picture.height, BW = frame.width, BH = frame.height;
    const PixelSize toHeight { std::max(scaled(W, BH, H) - 4, MinPictureControlSide), fill.height };
    const PixelSize toWidth { fill.width, std::max(scaled(H, BW, W) - 17, MinPictureControlSide) };
    if (W < BW)
        return toHeight; // H == BH
    if (H < BH)
        return toWidth; // W == BW
    return BW < W * BH / H - 4 ? toWidth : toHeight;
}

PixelSize mapPictureSize(const RgbPicture& picture, const TProjectRecord& record)
{
    if (!picture.empty())
        return { picture.width(), picture.height() };
    return { record.PictureWidth, record.PictureHeight };
}

bool mapChartTooSmall(int width, int height)
{
    return width - 2 * MapPictureInset < MapMinInner || height - 2 * MapPictureInset < MapMinInner;
}

ChartState mapChartWindow(PictureRange range, std::span<const ChartPoint> places, int width, int height)
{
    ChartState s;
    s.ChartMaxX = std::max(range.x, 0);
    s.ChartMinX = 0.0;
    s.ChartMaxY = std::max(range.y, 0);
    s.ChartMinY = 0.0;
    for (const ChartPoint& p : places)
        if (finitePoint(p))
            widenTo(s, p);
    includeOrigin(s);
    // A window side with no whole unit has no tick step and no finite scale.
    if (roundHalfEven(static_cast<long double>(s.ChartMaxX) - s.ChartMinX) < 1.0L)
        s.ChartMaxX = s.ChartMinX + 1.0;
    if (roundHalfEven(static_cast<long double>(s.ChartMaxY) - s.ChartMinY) < 1.0L)
        s.ChartMaxY = s.ChartMinY + 1.0;
    s.ChartScaleX = static_cast<double>(static_cast<long double>(width - 2 * MapPictureInset)
        / (static_cast<long double>(s.ChartMaxX) - s.ChartMinX));
    s.ChartScaleY = static_cast<double>(static_cast<long double>(height - 2 * MapPictureInset)
        / (static_cast<long double>(s.ChartMaxY) - s.ChartMinY));
    return s;
}

MapChartBackground mapChartBackground(
    const ChartState& state, int width, int height, std::string_view separator)
{
    const long double minX = state.ChartMinX;
    const long double maxX = state.ChartMaxX;
    const long double minY = state.ChartMinY;
    const long double maxY = state.ChartMaxY;
    const long double sx = state.ChartScaleX;
    const long double sy = state.ChartScaleY;
    const int W = width;
    const int H = height;

    MapChartBackground b;
    b.width = W;
    b.height = H;
    b.outerFrame = { 1, 1, W, H };
    b.innerFrame = { 10, 10, W - 10, H - 10 };
    b.picture = { MapPictureInset, MapPictureInset, W - MapPictureInset, H - MapPictureInset };
    b.stepX = tickStep(roundHalfEven(maxX - minX));
    b.stepY = tickStep(roundHalfEven(maxY - minY));
    b.tickX = b.stepX * sx;
    b.tickY = b.stepY * sy;
    b.tooSmall = mapChartTooSmall(W, H);
    if (b.tooSmall)
        return b;

    b.axisX = { 15, H - 20, W - 15, H - 20 };
    b.axisY = { 20, 15, 20, H - 15 };

    // Only the positive half-axes, walked from the picture's edges; a grid line on every tenth
    // tick, drawn before the tick.
    const long double tx = b.tickX;
    const long double ty = b.tickY;
    if (usableSpacing(tx)) {
        for (long long k = 1; k <= MaxTicks && maxX * sx + 5.0L + TickSlack >= k * tx; ++k) {
            const int x = 20 + toPixel(k * tx);
            const TickKind kind = tickKind(k);
            if (kind == TickKind::Long)
                b.strokes.push_back({ { x, 20, x, H - 15 }, true });
            b.strokes.push_back({ { x, H - 20, x, H - 20 + tickLength(kind) }, false });
        }
    }
    if (usableSpacing(ty)) {
        for (long long k = 1; k <= MaxTicks && maxY * sy + 5.0L + TickSlack >= k * ty; ++k) {
            const int y = H - 20 - toPixel(k * ty);
            const TickKind kind = tickKind(k);
            if (kind == TickKind::Long)
                b.strokes.push_back({ { 20, y, W - 15, y }, true });
            b.strokes.push_back({ { 20, y, 20 - tickLength(kind), y }, false });
        }
    }

    if (usableSpacing(tx)) {
        const long long up = lastLabelled(maxX * sx / tx);
        for (long long k = 10; k <= up; k += 10)
            b.labels.push_back({ formatGeneral15(labelValue(k, maxX, sx, tx, b.stepX), separator),
                toPixel(k * tx + 10.0L - minX * sx), H - 13 });
    }
    b.labelCounts[0] = b.labels.size();
    if (usableSpacing(ty)) {
        const long long up = lastLabelled(maxY * sy / ty);
        const int x = toPixel(20.0L - minX * sx) - 20;
        for (long long k = 10; k <= up; k += 10)
            b.labels.push_back({ formatGeneral15(labelValue(k, maxY, sy, ty, b.stepY), separator), x,
                toPixel(20.0L + maxY * sy - k * ty) });
    }
    b.labelCounts[1] = b.labels.size() - b.labelCounts[0];
    return b;
}

ChartPixel mapLabelAt(ChartPixel mark, int width, int height)
{
    // On a surface wider and higher than 60 pixels exactly one rule holds; on a smaller one the
    // first that holds is taken.
    const std::vector<PixelPoint> page = labelPositions({ mark.x, mark.y }, { width, height });
    if (!page.empty()) {
        const int pageDx = page.front().x - mark.x;
        const int pageDy = page.front().y - mark.y;
        for (const LabelOffset& o : LabelOffsets)
            if (o.pageDx == pageDx && o.pageDy == pageDy)
                return { mark.x + o.dx, mark.y + o.dy };
    }
    return { mark.x - 13, mark.y - 16 };
}

std::vector<ChartMarker> mapPlaceMarkers(
    const ChartState& state, std::span<const ChartPoint> places, int width, int height)
{
    return relabelled(placeMarkers(state, places, ChartDataMode::Picture), width, height);
}

std::vector<ChartMarker> mapMemberMarkers(
    const ChartState& state, std::span<const ChartPoint> members, int memberTotal, int width, int height)
{
    return relabelled(memberMarkers(state, members, memberTotal), width, height);
}

MapOneCentreChart mapOneCentreChart(PictureRange range, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, int width, int height, std::string_view separator)
{
    MapOneCentreChart c;
    c.state = mapChartWindow(range, places, width, height);
    c.background = mapChartBackground(c.state, width, height, separator);
    if (c.background.tooSmall)
        return c;
    c.places = mapPlaceMarkers(c.state, places, width, height);
    c.path = iterationPath(c.state, iterates);
    if (!c.path.empty()) {
        c.hasOptimum = true;
        c.optimum = optimumAt(c.path.back(), OptimumText);
    }
    return c;
}

GroupChart mapGroupChart(const ChartState& state, int groupNo, int memberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates, int width, int height)
{
    GroupChart g = groupChart(state, groupNo, memberTotal, members, iterates);
    g.members = relabelled(std::move(g.members), width, height);
    return g;
}

} // namespace dorvan
