#include "core/entry/PlaceHover.h"

#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace dorvan {

std::optional<std::size_t> markUnder(std::span<const PlaceMark> marks, int x, int y, int reach)
{
    std::optional<std::size_t> best;
    std::int64_t bestDistance = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::int64_t dx = static_cast<std::int64_t>(marks[i].x) - x;
        const std::int64_t dy = static_cast<std::int64_t>(marks[i].y) - y;
        if (std::abs(dx) > reach || std::abs(dy) > reach)
            continue;
        const std::int64_t distance = dx * dx + dy * dy;
        if (!best || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<PlaceMark> picturePlaceMarks(
    const TProjectRecord& record, const WorkingState& state, PixelSize control, PictureRange range)
{
    const int entered = std::clamp(std::min(state.PlaceCount, state.NextPlace - 1), 0, MaxPlaceCount);
    std::vector<PlaceMark> marks;
    for (int k = 1; k <= entered; ++k) {
        const double px = record.PlaceX[k];
        const double py = record.PlaceY[k];
        if (!std::isfinite(px) || !std::isfinite(py))
            continue;
        const std::optional<PixelPoint> at = pixelFromReference(px, py, control, range);
        if (!at)
            continue;
        marks.push_back({ at->x, at->y, picturePlaceLabel(k), displayName(record.PlaceName[k]), px, py });
    }
    return marks;
}

std::string placeTip(const TProjectRecord& record, const PlaceMark& mark, std::string_view separator)
{
    // A clicked place keeps its label as its name until it is renamed.
    std::string tip
        = mark.label.empty() || mark.label == mark.name ? mark.name : mark.label + ": " + mark.name;
    tip += "\nX = " + formatDecimal4(mark.placeX, separator)
        + "; Y = " + formatDecimal4(mark.placeY, separator);
    if (const std::optional<geo::LatLon> position = geo::toLatLon(record, mark.placeX, mark.placeY))
        tip += "\n" + geo::formatLatLon(*position);
    return tip;
}

} // namespace dorvan
