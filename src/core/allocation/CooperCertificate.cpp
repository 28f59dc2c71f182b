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
    double hxx = 0.0, hxy = 0.0, hyy = 0.0; // the Hessian of the terms off the point
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
        .curvature = true,
        .order = TermOrder::RatioFirst,
        .direction = Direction::Gradient };
    // Weight lying on the point (here) adds a disc of that radius to the subgradients.
    const WeberSums<double> sums = weberSums<double, parts>(
        std::views::iota(std::size_t { 0 }, sites.size()), zx, zy, 0.0, read, note);
    s.f = sums.objective;
    s.hxx = sums.curveXX;
    s.hxy = sums.curveXY;
    s.hyy = sums.curveYY;
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

// A point and what a pass there found.
struct Probe {
    double x = 0.0;
    double y = 0.0;
    Slope slope;
};

// Newton's steps on F from a start, each cut in half until F falls: near a minimum off the
// places the gradient shrinks quadratically, and with it the first-order term of the bound.
// They stop once the bound is as close as the passes can tell, or where no step helps (on a
// place, or where the places are all in line and the Hessian is singular).
// The step of Newton's method from a point off the places. On a place F has a kink and no
// Hessian: the step goes along its least subgradient as far as the curvature of the other terms
// suggests (the place's own term grows linearly along it). False where the curvature gives
// no step (the places in line with the point).
bool newtonStep(const Slope& s, double& px, double& py)
{
    if (s.onPlace > 0) {
        const double along = s.gx * (s.hxx * s.gx + s.hxy * s.gy) + s.gy * (s.hxy * s.gx + s.hyy * s.gy);
        if (!(along > 0.0))
            return false;
        const double t = (s.gx * s.gx + s.gy * s.gy) / along;
        px = -t * s.gx;
        py = -t * s.gy;
        return true;
    }
    const double det = s.hxx * s.hyy - s.hxy * s.hxy;
    const double trace = s.hxx + s.hyy;
    if (!(det > 1e-14 * trace * trace))
        return false;
    px = -(s.hyy * s.gx - s.hxy * s.gy) / det;
    py = -(s.hxx * s.gy - s.hxy * s.gx) / det;
    return true;
}

constexpr int NewtonSteps = 12;
constexpr int Halvings = 40;
constexpr double CloseEnough = 1e-11;

Probe newtonFrom(std::span<const CostSite> sites, Probe z)
{
    for (int step = 0; step < NewtonSteps; ++step) {
        const Slope& s = z.slope;
        if (stationary(s))
            break;
        double px = 0.0, py = 0.0;
        if (!newtonStep(s, px, py))
            break;
        bool moved = false;
        double t = 1.0;
        for (int h = 0; h < Halvings && !moved; ++h, t *= 0.5) {
            const double nx = z.x + t * px, ny = z.y + t * py;
            if (nx == z.x && ny == z.y)
                break;
            Slope next = slopeAt(sites, nx, ny);
            if (next.f < s.f || (next.f == s.f && std::hypot(next.gx, next.gy) < std::hypot(s.gx, s.gy))) {
                z = { nx, ny, next };
                moved = true;
            }
        }
        if (!moved || z.slope.f - boundAt(sites, z.x, z.y, z.slope) <= CloseEnough * z.slope.f)
            break;
    }
    return z;
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
    // The bound may be taken at any point: the better the point, the shorter its subgradient
    // and the closer the bound. Newton's steps lead towards a minimum off the places; where the
    // minimum lies on a place or next to one, the least subgradient at that place (Kuhn's
    // residual) is short, so the place nearest to where the steps ended is tried as well.
    if (bound < atResult.f) {
        const Probe best = newtonFrom(sites, { zx, zy, atResult });
        if (best.x != zx || best.y != zy)
            bound = std::max(bound, boundAt(sites, best.x, best.y, best.slope));
        // The place nearest to where the steps ended: where Kuhn's test nearly holds its
        // residual is short; where it just fails, the minimum lies next to the place, and
        // Newton's steps from there reach it.
        const int k = best.slope.nearest;
        if (k > 0 && bound < atResult.f) {
            const CostSite& a = sites[static_cast<std::size_t>(k - 1)];
            const double ax = static_cast<double>(a.x), ay = static_cast<double>(a.y);
            const Probe place { ax, ay, slopeAt(sites, ax, ay) };
            bound = std::max(bound, boundAt(sites, ax, ay, place.slope));
            const Probe beside = newtonFrom(sites, place);
            if (bound < atResult.f && (beside.x != ax || beside.y != ay))
                bound = std::max(bound, boundAt(sites, beside.x, beside.y, beside.slope));
        }
    }
    c.lowerBound = std::min<long double>(bound, c.objective);
    c.gap = c.objective > 0.0L ? (c.objective - c.lowerBound) / c.objective : 0.0L;
    return c;
}

} // namespace dorvan
