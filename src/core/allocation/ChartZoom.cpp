#include "core/allocation/ChartZoom.h"

#include "core/common/Rounding.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace dorvan {

namespace {

// round(surface × v / area): the product in whole numbers, the division in floating point.
int mapOntoSurface(int v, int surface, int area)
{
    const std::int64_t product = static_cast<std::int64_t>(surface) * v;
    return roundToInt(static_cast<long double>(product) / static_cast<long double>(area));
}

// The rows or columns of the area through C back to F.
std::vector<int> composedSamples(int area, int crop, int sourceStart, int sourceLength)
{
    std::vector<int> out(static_cast<std::size_t>(std::max(area, 0)));
    for (int i = 0; i < area; ++i) {
        const int c = stretchSample(i, crop, area);
        out[static_cast<std::size_t>(i)] = sourceStart + stretchSample(c, sourceLength, crop);
    }
    return out;
}

// A mapped edge pair kept inside 0..surface with at least one pixel between them.
void keepInside(int& low, int& high, int surface)
{
    low = std::clamp(low, 0, surface - 1);
    high = std::clamp(high, low + 1, surface);
}

} // namespace

ChartPixel clampToArea(int x, int y, int width, int height)
{
    return { std::clamp(x, 0, std::max(width, 0)), std::clamp(y, 0, std::max(height, 0)) };
}

std::optional<ChartRect> zoomSelection(ChartPixel press, ChartPixel release)
{
    const ChartRect r { std::min(press.x, release.x), std::min(press.y, release.y),
        std::max(press.x, release.x), std::max(press.y, release.y) };
    if (r.right - r.left <= 1 || r.bottom - r.top <= 1)
        return std::nullopt;
    return r;
}

std::optional<ZoomPlan> zoomPlan(
    const ChartRect& selection, int width, int height, int surfaceWidth, int surfaceHeight)
{
    if (width <= 0 || height <= 0 || surfaceWidth <= 0 || surfaceHeight <= 0)
        return std::nullopt;
    ZoomPlan plan;
    plan.areaWidth = width;
    plan.areaHeight = height;
    plan.surfaceWidth = surfaceWidth;
    plan.surfaceHeight = surfaceHeight;
    ChartRect s { mapOntoSurface(selection.left, surfaceWidth, width),
        mapOntoSurface(selection.top, surfaceHeight, height),
        mapOntoSurface(selection.right, surfaceWidth, width),
        mapOntoSurface(selection.bottom, surfaceHeight, height) };
    // C is sized from the mapping as it stands; only the pixels read from F are kept inside it.
    plan.cropWidth = std::abs(s.right - s.left) + 1;
    plan.cropHeight = std::abs(s.bottom - s.top) + 1;
    keepInside(s.left, s.right, surfaceWidth);
    keepInside(s.top, s.bottom, surfaceHeight);
    plan.source = s;
    return plan;
}

int stretchSample(int i, int from, int to)
{
    if (to <= 0 || from <= 0)
        return 0;
    const std::int64_t sample
        = (2 * static_cast<std::int64_t>(i) + 1) * from / (2 * static_cast<std::int64_t>(to));
    return static_cast<int>(std::clamp<std::int64_t>(sample, 0, from - 1));
}

std::vector<int> zoomColumns(const ZoomPlan& plan)
{
    return composedSamples(
        plan.areaWidth, plan.cropWidth, plan.source.left, plan.source.right - plan.source.left);
}

std::vector<int> zoomRows(const ZoomPlan& plan)
{
    return composedSamples(
        plan.areaHeight, plan.cropHeight, plan.source.top, plan.source.bottom - plan.source.top);
}

} // namespace dorvan
