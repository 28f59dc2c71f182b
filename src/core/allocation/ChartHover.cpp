#include "core/allocation/ChartHover.h"

#include "core/entry/PlaceList.h"

#include <algorithm>
#include <string>

namespace dorvan {

std::vector<PlaceMark> resultPlaceMarks(const ChartState& state, std::span<const ChartPoint> places,
    const TProjectRecord& record, ChartDataMode mode)
{
    // The chart's own markers, in place order with the places that cannot be drawn left out.
    const std::vector<ChartMarker> markers = placeMarkers(state, places, mode);
    std::vector<PlaceMark> marks;
    std::size_t next = 0;
    for (std::size_t i = 0; i < places.size() && next < markers.size(); ++i) {
        if (!chart::finitePoint(places[i]))
            continue;
        const ChartMarker& m = markers[next++];
        const int n = static_cast<int>(i) + 1;
        const std::string name = n <= MaxPlaceCount ? displayName(record.PlaceName[n]) : std::string();
        marks.push_back({ m.centre.x, m.centre.y, m.label.text, name, places[i].x, places[i].y });
    }
    return marks;
}

std::vector<PlaceMark> groupMemberMarks(const ChartState& state, std::span<const CooperGroupResult> groups)
{
    std::vector<PlaceMark> marks;
    for (const CooperGroupResult& g : groups) {
        const std::size_t size = std::min(g.memberPoints.size(), g.memberNames.size());
        for (std::size_t k = 0; k < size; ++k) {
            const ChartPoint& p = g.memberPoints[k];
            if (k >= g.memberFound.size() || !g.memberFound[k] || !chart::finitePoint(p))
                continue;
            const std::string label = "M" + std::to_string(g.firstMemberNumber + static_cast<int>(k));
            marks.push_back({ state.px(p.x), state.py(p.y), label, g.memberNames[k], p.x, p.y });
        }
    }
    return marks;
}

ChartPixel zoomSourcePixel(const ZoomPlan& plan, ChartPixel at)
{
    const int x = std::clamp(at.x, 0, std::max(plan.areaWidth - 1, 0));
    const int y = std::clamp(at.y, 0, std::max(plan.areaHeight - 1, 0));
    const int cx = stretchSample(x, plan.cropWidth, plan.areaWidth);
    const int cy = stretchSample(y, plan.cropHeight, plan.areaHeight);
    return { plan.source.left + stretchSample(cx, plan.source.right - plan.source.left, plan.cropWidth),
        plan.source.top + stretchSample(cy, plan.source.bottom - plan.source.top, plan.cropHeight) };
}

} // namespace dorvan
