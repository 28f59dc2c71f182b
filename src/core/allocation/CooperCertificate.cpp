#include "core/allocation/CooperCertificate.h"

#include "core/common/Rounding.h" // the sums need the 80-bit long double it checks for

#include <algorithm>
#include <cmath>
#include <limits>
#include <ranges>

namespace dorvan {

namespace {

// The passes over the places run in double precision: they are all a certificate costs, and a
// run should hardly notice them. Their rounding, a few units in the 16th digit per sum, is
// covered by this share of the sizes involved, taken off every bound that is not exact.
constexpr double RoundingAllowance = 1e-12;

// F at a point with its subgradient of least length, and what the pass learnt on the way.
struct Slope {
    double f = 0.0;
    double gx = 0.0;
    double gy = 0.0;
    int onPlace = 0; // 1-based weighted place lying exactly on the point, 0 when none
    int nearest = 0; // 1-based weighted place nearest to the point, 0 when none carries weight
    double nearestDistance = 0.0;
    double nearestPull = 0.0; // that place's w / d
    double totalPull = 0.0; // the sum of w / d over the places off the point
    double farthest = 0.0; // the largest distance to a place
};

Slope slopeAt(std::span<const CostSite> sites, double zx, double zy)
{
    Slope s;
    s.nearestDistance = std::numeric_limits<double>::infinity();
    const auto note = [&](std::size_t i, double d, double w) {
        s.farthest = std::max(s.farthest, d);
        if (w > 0.0 && d < s.nearestDistance) {
            s.nearestDistance = d;
            s.nearest = static_cast<int>(i) + 1;
        }
        if (d == 0.0 && w > 0.0 && s.onPlace == 0)
            s.onPlace = static_cast<int>(i) + 1;
    };
    const auto read = [&](std::size_t i) { return ReadXyw<double> {}(sites[i]); };
    constexpr WeberParts parts { .objective = true,
        .pullX = true,
        .pullY = true,
        .spread = true,
        .order = TermOrder::RatioFirst,
        .direction = Direction::Gradient };
    // Weight lying on the point (here) adds a disc of that radius to the subgradients.
    const WeberSums<double> sums = weberSums<double, parts>(
        std::views::iota(std::size_t { 0 }, sites.size()), zx, zy, 0.0, read, note);
    s.f = sums.objective;
    s.totalPull = sums.spread;
    if (s.nearest > 0 && s.nearestDistance != 0.0)
        s.nearestPull
            = static_cast<double>(sites[static_cast<std::size_t>(s.nearest - 1)].w) / s.nearestDistance;
    // The subgradients at the point are the gradient of the other terms plus any vector of
    // length up to here; the shortest of them shortens that gradient by here, or is zero.
    const WeberTerm<double> least = sums.residualPull();
    s.gx = least.x;
    s.gy = least.y;
    return s;
}

bool stationary(const Slope& s)
{
    return s.gx == 0.0 && s.gy == 0.0;
}

// F(z) + min over the weighted places of g . (a_i - z), less the rounding allowance, never
// below 0 as F never is. Where the subgradient is 0 the point is a minimum and F(z) is exact.
double boundAt(std::span<const CostSite> sites, double zx, double zy, const Slope& s)
{
    if (stationary(s))
        return s.f;
    double least = std::numeric_limits<double>::infinity();
    for (const CostSite& a : sites)
        if (a.w > 0.0L)
            least = std::min(
                least, s.gx * (static_cast<double>(a.x) - zx) + s.gy * (static_cast<double>(a.y) - zy));
    if (!std::isfinite(least))
        return s.f; // nothing weighs: F is 0 everywhere
    const double allowance = RoundingAllowance * (s.f + std::hypot(s.gx, s.gy) * s.farthest);
    return std::max(0.0, s.f + least - allowance);
}

} // namespace

CooperCertificate certifyResult(std::span<const CostSite> sites, long double x, long double y)
{
    CooperCertificate c;
    const double zx = static_cast<double>(x), zy = static_cast<double>(y);
    const Slope atResult = slopeAt(sites, zx, zy);
    c.objective = atResult.f;
    if (std::any_of(sites.begin(), sites.end(), [](const CostSite& a) { return !(a.w >= 0.0L); })
        || !std::isfinite(atResult.f))
        return c;
    c.available = true;
    double bound = boundAt(sites, zx, zy, atResult);
    if (stationary(atResult) && atResult.onPlace > 0)
        c.optimalPlace = atResult.onPlace;
    // Close to a place the gradient at the result is long (the place's own unit pull), which
    // makes a poor bound; the shortest subgradient at the place itself may be much shorter. A
    // place is that close when its w / d outweighs the others' together (the result is then
    // closing in on it); elsewhere the second pass would not pay.
    if (bound < atResult.f && atResult.nearest > 0 && atResult.nearestDistance > 0.0
        && 2.0 * atResult.nearestPull >= atResult.totalPull) {
        const CostSite& a = sites[static_cast<std::size_t>(atResult.nearest - 1)];
        const double ax = static_cast<double>(a.x), ay = static_cast<double>(a.y);
        bound = std::max(bound, boundAt(sites, ax, ay, slopeAt(sites, ax, ay)));
    }
    c.lowerBound = std::min<long double>(bound, c.objective);
    c.gap = c.objective > 0.0L ? (c.objective - c.lowerBound) / c.objective : 0.0L;
    return c;
}

} // namespace dorvan
