#include "core/allocation/ContourLabels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace dorvan::contour {

namespace {

// Room between a curve and its label, in pixels.
constexpr double LabelGap = 3.0;
constexpr int LabelSteps = 4;
constexpr double LabelStep = 8.0;

bool overlaps(const ChartRect& a, const ChartRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool within(const ChartRect& inner, const ChartRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

} // namespace

// The label of a level beside its curve, outside it as seen from the optimum: the curve's
// points are tried from the one up and to the right of the optimum round both ways, first
// right at the curve, then a little further out (a small curve round a crowded optimum).
std::optional<ChartRect> placeLabel(const std::vector<ContourLine>& lines, std::size_t level,
    ContourPoint optimum, ContourLabelSize size, const ChartRect& area, const std::vector<ChartRect>& taken)
{
    struct Candidate {
        int further; // extra distance from the curve, in steps
        double away; // angle from up-right, 0..pi
        ChartRect box;
    };
    std::vector<Candidate> candidates;
    const double halfW = size.width / 2.0, halfH = size.height / 2.0;
    for (const ContourLine& line : lines) {
        if (line.level != level)
            continue;
        for (const ContourPoint& p : line.points) {
            const double dx = p.x - optimum.x, dy = p.y - optimum.y;
            const double r = std::hypot(dx, dy);
            if (!(r > 0.0))
                continue;
            const double ux = dx / r, uy = dy / r;
            // How far out the box's centre must go for the box to clear the curve's point.
            const double away = std::acos(std::clamp((ux - uy) / std::numbers::sqrt2, -1.0, 1.0));
            for (int further = 0; further < LabelSteps; ++further) {
                const double reach
                    = std::abs(ux) * halfW + std::abs(uy) * halfH + LabelGap + further * LabelStep;
                const double cx = p.x + ux * reach, cy = p.y + uy * reach;
                const int left = static_cast<int>(std::lround(cx - halfW));
                const int top = static_cast<int>(std::lround(cy - halfH));
                candidates.push_back({ further, away, { left, top, left + size.width, top + size.height } });
            }
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.further != b.further ? a.further < b.further : a.away < b.away;
    });
    for (const Candidate& c : candidates) {
        if (!within(c.box, area))
            continue;
        if (std::none_of(taken.begin(), taken.end(), [&](const ChartRect& t) { return overlaps(c.box, t); }))
            return c.box;
    }
    return std::nullopt;
}

} // namespace dorvan::contour
