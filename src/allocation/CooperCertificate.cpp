#include "allocation/CooperCertificate.h"

#include "common/Rounding.h" // the sums need the 80-bit long double it checks for

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvan {

namespace {

// F at a point with its subgradient of least length, and what the pass learnt on the way.
struct Slope {
    long double f = 0.0L;
    long double gx = 0.0L;
    long double gy = 0.0L;
    int onPlace = 0; // 1-based weighted place lying exactly on the point, 0 when none
    int nearest = 0; // 1-based weighted place nearest to the point, 0 when none carries weight
    long double nearestDistance = 0.0L;
};

Slope slopeAt(std::span<const CostSite> sites, long double zx, long double zy)
{
    Slope s;
    long double here = 0.0L; // weight lying on the point: its terms add a disc of radius here
    s.nearestDistance = std::numeric_limits<long double>::infinity();
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const CostSite& a = sites[i];
        const long double dx = zx - a.x;
        const long double dy = zy - a.y;
        const long double d = std::sqrt(dx * dx + dy * dy);
        s.f += a.w * d;
        if (a.w > 0.0L && d < s.nearestDistance) {
            s.nearestDistance = d;
            s.nearest = static_cast<int>(i) + 1;
        }
        if (d == 0.0L) {
            here += a.w;
            if (a.w > 0.0L && s.onPlace == 0)
                s.onPlace = static_cast<int>(i) + 1;
            continue;
        }
        s.gx += a.w * dx / d;
        s.gy += a.w * dy / d;
    }
    // The subgradients at the point are the gradient of the other terms plus any vector of
    // length up to here; the shortest of them shortens that gradient by here, or is zero.
    const long double length = std::sqrt(s.gx * s.gx + s.gy * s.gy);
    const long double keep = length > here ? 1.0L - here / length : 0.0L;
    s.gx *= keep;
    s.gy *= keep;
    return s;
}

bool stationary(const Slope& s)
{
    return s.gx == 0.0L && s.gy == 0.0L;
}

// F(z) + min over the weighted places of g . (a_i - z), never below 0 as F never is.
long double boundAt(std::span<const CostSite> sites, long double zx, long double zy, const Slope& s)
{
    if (stationary(s))
        return s.f;
    long double least = std::numeric_limits<long double>::infinity();
    for (const CostSite& a : sites)
        if (a.w > 0.0L)
            least = std::min(least, s.gx * (a.x - zx) + s.gy * (a.y - zy));
    if (!std::isfinite(least))
        return s.f; // nothing weighs: F is 0 everywhere
    return std::max(0.0L, s.f + least);
}

} // namespace

long double weightedDistanceSum(std::span<const CostSite> sites, long double x, long double y)
{
    long double f = 0.0L;
    for (const CostSite& a : sites) {
        const long double dx = x - a.x;
        const long double dy = y - a.y;
        f += a.w * std::sqrt(dx * dx + dy * dy);
    }
    return f;
}

CooperCertificate certifyResult(std::span<const CostSite> sites, long double x, long double y)
{
    CooperCertificate c;
    const Slope atResult = slopeAt(sites, x, y);
    c.objective = atResult.f;
    if (std::any_of(sites.begin(), sites.end(), [](const CostSite& a) { return !(a.w >= 0.0L); })
        || !std::isfinite(atResult.f))
        return c;
    c.available = true;
    long double bound = boundAt(sites, x, y, atResult);
    if (stationary(atResult) && atResult.onPlace > 0)
        c.optimalPlace = atResult.onPlace;
    // Close to a place the gradient at the result is long (the place's own unit pull), which
    // makes a poor bound; the shortest subgradient at the place itself may be much shorter.
    if (bound < c.objective && atResult.nearest > 0 && atResult.nearestDistance > 0.0L) {
        const CostSite& a = sites[static_cast<std::size_t>(atResult.nearest - 1)];
        bound = std::max(bound, boundAt(sites, a.x, a.y, slopeAt(sites, a.x, a.y)));
    }
    c.lowerBound = std::min(bound, c.objective);
    c.gap = c.objective > 0.0L ? (c.objective - c.lowerBound) / c.objective : 0.0L;
    return c;
}

} // namespace dorvan
