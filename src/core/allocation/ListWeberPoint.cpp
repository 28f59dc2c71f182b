#include "core/allocation/ListWeberPoint.h"

#include "core/common/Rounding.h" // the sums need the 80-bit long double it checks for

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace dorvan {

namespace {

// What one pass over the places learns at a point z.
struct PassAt {
    long double f = 0.0L; // F(z)
    double gx = 0.0, gy = 0.0; // gradient of the terms of the places off z
    double hxx = 0.0, hxy = 0.0, hyy = 0.0; // their Hessian
    double pull = 0.0; // sum of w / d over the places off z
    double onWeight = 0.0; // weight lying exactly on z
    long nearest = -1; // the weighted place nearest to z
    double nearestDistance = std::numeric_limits<double>::infinity();
};

struct Places {
    std::span<const double> x, y, w;
};

PassAt passAt(const Places& p, double zx, double zy)
{
    PassAt s;
    for (std::size_t i = 0; i < p.x.size(); ++i) {
        const double w = p.w[i];
        const double dx = zx - p.x[i];
        const double dy = zy - p.y[i];
        const double d = std::sqrt(dx * dx + dy * dy);
        if (w > 0.0 && d < s.nearestDistance) {
            s.nearestDistance = d;
            s.nearest = static_cast<long>(i);
        }
        if (d == 0.0) {
            s.onWeight += w;
            continue;
        }
        s.f += static_cast<long double>(w * d);
        const double r = w / d;
        s.gx += r * dx;
        s.gy += r * dy;
        s.pull += r;
        const double c = r / (d * d);
        s.hxx += c * dy * dy;
        s.hxy -= c * dx * dy;
        s.hyy += c * dx * dx;
    }
    return s;
}

// The subgradient of least length: the gradient of the others shortened by the weight lying on
// the point; zero when Kuhn's test holds there.
void leastSubgradient(const PassAt& s, double& gx, double& gy)
{
    const double length = std::hypot(s.gx, s.gy);
    if (length <= s.onWeight) {
        gx = gy = 0.0;
        return;
    }
    const double keep = s.onWeight > 0.0 ? 1.0 - s.onWeight / length : 1.0;
    gx = s.gx * keep;
    gy = s.gy * keep;
}

// Newton's step for the least subgradient g; false where the Hessian gives none (the places in
// line with the point).
bool newtonDirection(const PassAt& s, double gx, double gy, double& px, double& py)
{
    const double det = s.hxx * s.hyy - s.hxy * s.hxy;
    const double trace = s.hxx + s.hyy;
    if (!(det > 1e-14 * trace * trace))
        return false;
    px = -(s.hyy * gx - s.hxy * gy) / det;
    py = -(s.hxx * gy - s.hxy * gx) / det;
    return std::isfinite(px) && std::isfinite(py);
}

constexpr int WeberMaxSteps = 200;
constexpr int WeberHalvings = 50;

} // namespace

ListWeberPoint listWeberPoint(
    std::span<const double> x, std::span<const double> y, std::span<const double> weight)
{
    ListWeberPoint out;
    if (x.empty() || y.size() != x.size() || weight.size() != x.size())
        return out;
    const Places places { x, y, weight };
    // The start: the weighted centre of gravity, and the scale of the list for the stopping rule.
    long double sw = 0.0L, sx = 0.0L, sy = 0.0L;
    double span = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sw += weight[i];
        sx += static_cast<long double>(weight[i]) * x[i];
        sy += static_cast<long double>(weight[i]) * y[i];
        span = std::max({ span, std::fabs(x[i] - x[0]), std::fabs(y[i] - y[0]) });
    }
    double zx = sw > 0.0L ? static_cast<double>(sx / sw) : x[0];
    double zy = sw > 0.0L ? static_cast<double>(sy / sw) : y[0];
    PassAt at = passAt(places, zx, zy);
    out.passes = 1;
    const double tiny = 1e-15 * (span + std::fabs(zx) + std::fabs(zy));
    for (int step = 0; step < WeberMaxSteps && sw > 0.0L; ++step) {
        double gx = 0.0, gy = 0.0;
        leastSubgradient(at, gx, gy);
        if (gx == 0.0 && gy == 0.0)
            break;
        // Newton's direction first, then Weiszfeld's (the gradient over the pull).
        double dirs[2][2] = { { 0.0, 0.0 }, { -gx / at.pull, -gy / at.pull } };
        const bool newton = newtonDirection(at, gx, gy, dirs[0][0], dirs[0][1]);
        bool moved = false;
        for (int d = newton ? 0 : 1; d < 2 && !moved; ++d) {
            if (!std::isfinite(dirs[d][0]) || !std::isfinite(dirs[d][1]))
                continue;
            double t = 1.0;
            for (int h = 0; h < WeberHalvings && !moved; ++h, t *= 0.5) {
                const double nx = zx + t * dirs[d][0], ny = zy + t * dirs[d][1];
                if (std::fabs(nx - zx) <= tiny && std::fabs(ny - zy) <= tiny)
                    break;
                const PassAt next = passAt(places, nx, ny);
                ++out.passes;
                if (next.f < at.f) {
                    zx = nx;
                    zy = ny;
                    at = next;
                    moved = true;
                }
            }
        }
        if (!moved)
            break;
    }
    // Kuhn's test at the place nearest to the result: the optimum lies on it when the pull of
    // the others is at most the weight on it.
    if (at.nearest >= 0 && at.nearestDistance > 0.0) {
        const auto k = static_cast<std::size_t>(at.nearest);
        const PassAt on = passAt(places, x[k], y[k]);
        ++out.passes;
        double gx = 0.0, gy = 0.0;
        leastSubgradient(on, gx, gy);
        if ((gx == 0.0 && gy == 0.0) || on.f <= at.f) {
            zx = x[k];
            zy = y[k];
            at = on;
        }
    }
    out.x = zx;
    out.y = zy;
    out.objective = at.f;
    if (at.nearestDistance == 0.0) {
        double gx = 0.0, gy = 0.0;
        leastSubgradient(at, gx, gy);
        if (gx == 0.0 && gy == 0.0)
            out.onPlace = at.nearest;
    }
    std::vector<CostSite> sites(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        sites[i] = { x[i], y[i], weight[i] };
    out.certificate = certifyResult(sites, zx, zy);
    return out;
}

} // namespace dorvan
