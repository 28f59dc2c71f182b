#pragma once

// The sums of the weighted Weber problem, which the Cooper iteration, the group search, the
// certificate and the cost contours all take over the places. For a point p, places a_i with
// weights w_i and distances d_i = |p - a_i|:
//     objective    F(p)   = sum w_i d_i
//     here         H(p)   = sum of w_i over the places lying on p (d_i <= reach)
//     pull         R(p)   = sum w_i (a_i - p) / d_i over the other places: the resultant of
//                           their unit pulls times their weights, -grad F where no place lies
//     spread       S(p)   = sum w_i / d_i over the other places
//     map          M(p)   = sum w_i a_i / d_i over the other places; M / S is Weiszfeld's step
//     curvature    C(p)   = sum w_i / d_i^3 (dy^2, -dx dy, dx^2) over the other places, with
//                           (dx, dy) = p - a_i: the Hessian of F where no place lies
// Kuhn's test: a point on places is an optimum (for weights not negative) exactly when
// |R| <= H; its residual max(0, |R| - H) is the length of the least subgradient there.
//
// The callers keep results that are compared digit by digit (the iteration histories the
// allocation window lists, the group totals, the contour pixels), so the precision (Real) and
// the way a term is formed (WeberParts::order) are parameters rather than fixed here: the sums
// are taken in the order of the places, every term exactly as described below.

#include <cmath>
#include <cstddef>
#include <span>

namespace dorvan {

// A place as its cost counts: coordinates and the weight the run gives it.
struct CostSite {
    long double x = 0.0L;
    long double y = 0.0L;
    long double w = 0.0L;
};

// A place as the sums read it, in the precision they run in.
template <typename Real> struct WeberTerm {
    Real x = 0;
    Real y = 0;
    Real w = 0;
};

// How the term of a place off the point is formed from a value v (a coordinate or an offset):
// w * v / d, or (w / d) * v. The two differ in the last digit.
enum class TermOrder { WeightFirst, RatioFirst };

// Whether the pull sums take a - p (the pull of the places) or p - a (its opposite, the
// gradient of F). Each is summed as it stands, so a zero keeps the sign the caller's sums gave.
enum class Direction { Pull, Gradient };

// Which sums one pass takes; the rest stay 0. here and onPlace are always kept.
struct WeberParts {
    bool objective = false;
    bool pullX = false;
    bool pullY = false;
    bool spread = false;
    bool map = false; // both coordinates
    bool curvature = false; // the three entries of the Hessian
    TermOrder order = TermOrder::WeightFirst;
    Direction direction = Direction::Pull;
};

inline constexpr WeberParts ObjectiveOnly { .objective = true };
inline constexpr WeberParts KuhnParts { .pullX = true, .pullY = true, .spread = true };

template <typename Real> struct WeberSums {
    Real objective = 0;
    Real here = 0;
    Real pullX = 0; // with Direction::Gradient the gradient of the other terms instead
    Real pullY = 0;
    Real spread = 0;
    Real mapX = 0;
    Real mapY = 0;
    Real curveXX = 0;
    Real curveXY = 0;
    Real curveYY = 0;
    bool onPlace = false; // some place lies within reach of the point

    Real pullLength() const { return std::sqrt(pullX * pullX + pullY * pullY); }
    // Kuhn's test: the pull of the others does not outweigh the weight on the point.
    bool kuhnOptimal() const { return pullLength() <= here; }
    // max(0, |R| - H): how far the point is from meeting Kuhn's test.
    Real kuhnResidual() const
    {
        const Real r = pullLength();
        return r > here ? r - here : Real(0);
    }
    // The pull shortened by the weight on the point (zero when Kuhn's test holds): minus the
    // subgradient of least length, or with Direction::Gradient that subgradient itself. Its
    // factor is 1 - H / |R|, applied to each component.
    WeberTerm<Real> residualPull() const
    {
        const Real r = pullLength();
        const Real keep = r > here ? Real(1) - here / r : Real(0);
        return { pullX * keep, pullY * keep, 0 };
    }
};

template <typename Real> Real weberDistance(Real px, Real py, Real x, Real y)
{
    const Real dx = px - x;
    const Real dy = py - y;
    return std::sqrt(dx * dx + dy * dy);
}

// Reads an element with members x, y and w (CostSite, WeberTerm) in the precision Real.
template <typename Real> struct ReadXyw {
    template <typename Site> WeberTerm<Real> operator()(const Site& s) const
    {
        return { static_cast<Real>(s.x), static_cast<Real>(s.y), static_cast<Real>(s.w) };
    }
};

// Called with each element, its distance and its weight; the certificate learns the nearest
// and farthest place on the same pass.
struct IgnorePlace {
    template <typename Element, typename Real> void operator()(const Element&, Real, Real) const { }
};

// One pass over the places (any range; read turns an element into a WeberTerm<Real>) at the
// point (px, py). A place no farther than reach lies on the point: it adds its weight to here
// and its w * d to the objective, but no pull, spread or map term.
template <typename Real, WeberParts parts, typename Places, typename Read = ReadXyw<Real>,
    typename Visit = IgnorePlace>
WeberSums<Real> weberSums(
    const Places& places, Real px, Real py, Real reach, Read read = {}, Visit visit = {})
{
    WeberSums<Real> s;
    for (const auto& element : places) {
        const WeberTerm<Real> a = read(element);
        const Real dx = px - a.x;
        const Real dy = py - a.y;
        const Real d = std::sqrt(dx * dx + dy * dy);
        visit(element, d, a.w);
        if constexpr (parts.objective)
            s.objective += a.w * d;
        if (d <= reach) {
            s.here += a.w;
            s.onPlace = true;
            continue;
        }
        const Real vx = parts.direction == Direction::Pull ? a.x - px : dx;
        const Real vy = parts.direction == Direction::Pull ? a.y - py : dy;
        if constexpr (parts.order == TermOrder::WeightFirst) {
            if constexpr (parts.pullX)
                s.pullX += a.w * vx / d;
            if constexpr (parts.pullY)
                s.pullY += a.w * vy / d;
            if constexpr (parts.map) {
                s.mapX += a.w * a.x / d;
                s.mapY += a.w * a.y / d;
            }
            if constexpr (parts.spread)
                s.spread += a.w / d;
        } else {
            const Real ratio = a.w / d;
            if constexpr (parts.pullX)
                s.pullX += ratio * vx;
            if constexpr (parts.pullY)
                s.pullY += ratio * vy;
            if constexpr (parts.map) {
                s.mapX += ratio * a.x;
                s.mapY += ratio * a.y;
            }
            if constexpr (parts.spread)
                s.spread += ratio;
        }
        if constexpr (parts.curvature) {
            const Real c = a.w / (d * d * d);
            s.curveXX += c * dy * dy;
            s.curveXY -= c * dx * dy;
            s.curveYY += c * dx * dx;
        }
    }
    return s;
}

// F(px, py) alone: sum w d over all places, in the order given.
template <typename Real, typename Places, typename Read = ReadXyw<Real>>
Real weberObjective(const Places& places, Real px, Real py, Read read = {})
{
    Real f = 0;
    for (const auto& element : places) {
        const WeberTerm<Real> a = read(element);
        f += a.w * weberDistance(px, py, a.x, a.y);
    }
    return f;
}

// The weights and their moments: sum w, sum w x, sum w y. Their quotients are the weighted
// mean, where the iterations start.
template <typename Real, typename Places, typename Read = ReadXyw<Real>>
WeberTerm<Real> weightMoments(const Places& places, Read read = {})
{
    WeberTerm<Real> m;
    for (const auto& element : places) {
        const WeberTerm<Real> a = read(element);
        m.w += a.w;
        m.x += a.w * a.x;
        m.y += a.w * a.y;
    }
    return m;
}

// F(x, y), the weighted sum of distances, in extended precision.
long double weightedDistanceSum(std::span<const CostSite> sites, long double x, long double y);

} // namespace dorvan
