#include "core/allocation/GroupWeber.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace dorvan::grouping {

namespace {

constexpr long double CoincidenceTolerance = 1e-12L;
constexpr int MaxWeiszfeldSteps = 5000;

// Member i (an index into the sites) as the sums read it.
template <typename Real> struct ReadMember {
    std::span<const GroupSite> sites;
    WeberTerm<Real> operator()(int i) const
    {
        const GroupSite& s = sites[static_cast<std::size_t>(i)];
        return { static_cast<Real>(s.x), static_cast<Real>(s.y), static_cast<Real>(s.weight) };
    }
};

// Kuhn's test at a point: the weight lying on it against the pull of the others.
WeberSums<long double> pullAt(std::span<const GroupSite> sites, std::span<const int> members, long double px,
    long double py, long double reach)
{
    constexpr WeberParts Pull { .pullX = true, .pullY = true };
    return weberSums<long double, Pull>(members, px, py, reach, ReadMember<long double> { sites });
}

// One Weiszfeld step from (x, y); from a place that is not optimal the step of Vardi and
// Zhang, which leaves the place along its pull.
std::pair<long double, long double> weiszfeldStep(std::span<const GroupSite> sites,
    std::span<const int> members, long double x, long double y, long double reach)
{
    constexpr WeberParts Map { .spread = true, .map = true };
    const WeberSums<long double> s
        = weberSums<long double, Map>(members, x, y, reach, ReadMember<long double> { sites });
    if (s.spread == 0.0L)
        return { x, y };
    const long double nx = s.mapX / s.spread;
    const long double ny = s.mapY / s.spread;
    if (s.here == 0.0L)
        return { nx, ny };
    const WeberSums<long double> p = pullAt(sites, members, x, y, reach);
    const long double share = std::min(1.0L, s.here / p.pullLength());
    return { (1.0L - share) * nx + share * x, (1.0L - share) * ny + share * y };
}

// A Weiszfeld step in double precision, which is all the search needs to compare groups and
// several times faster; a point on a place takes the careful step.
std::pair<long double, long double> quickStep(std::span<const GroupSite> sites, std::span<const int> members,
    long double x, long double y, long double reach)
{
    constexpr WeberParts Map { .spread = true, .map = true, .order = TermOrder::RatioFirst };
    const WeberSums<double> s = weberSums<double, Map>(members, static_cast<double>(x),
        static_cast<double>(y), static_cast<double>(reach), ReadMember<double> { sites });
    if (s.onPlace)
        return weiszfeldStep(sites, members, x, y, reach);
    if (s.spread == 0.0)
        return { x, y };
    return { s.mapX / s.spread, s.mapY / s.spread };
}

// Whether place j passes Kuhn's test: then it is the optimum, and the only one.
bool optimalPlace(std::span<const GroupSite> sites, std::span<const int> members, int j, long double reach)
{
    const GroupSite& s = sites[static_cast<std::size_t>(j)];
    if (!(s.weight > 0.0L))
        return false;
    return pullAt(sites, members, s.x, s.y, reach).kuhnOptimal();
}

WeberResult onPlace(std::span<const GroupSite> sites, std::span<const int> members, int j)
{
    const GroupSite& s = sites[static_cast<std::size_t>(j)];
    WeberResult r { s.x, s.y, 0.0L, j };
    r.objective = objectiveAt(sites, members, r.x, r.y);
    return r;
}

// Weightless places cost nothing wherever the centre is; their plain mean serves.
WeberResult plainMean(std::span<const GroupSite> sites, std::span<const int> members)
{
    long double mx = 0.0L, my = 0.0L;
    for (int i : members) {
        mx += sites[static_cast<std::size_t>(i)].x;
        my += sites[static_cast<std::size_t>(i)].y;
    }
    const auto m = static_cast<long double>(members.size());
    WeberResult r;
    r.x = mx / m;
    r.y = my / m;
    return r;
}

} // namespace

long double objectiveAt(
    std::span<const GroupSite> sites, std::span<const int> members, long double x, long double y)
{
    return weberObjective(members, x, y, ReadMember<long double> { sites });
}


long double reachOf(std::span<const GroupSite> sites)
{
    long double scale = 0.0L;
    for (const GroupSite& s : sites)
        scale = std::max(
            { scale, std::fabs(static_cast<long double>(s.x)), std::fabs(static_cast<long double>(s.y)) });
    return CoincidenceTolerance * scale;
}

WeberResult solveWeber(std::span<const GroupSite> sites, std::span<const int> members, long double reach,
    Accuracy accuracy, const WeberResult* from)
{
    if (members.empty())
        return {};
    const WeberTerm<long double> moments
        = weightMoments<long double>(members, ReadMember<long double> { sites });
    const long double total = moments.w;
    if (!(total > 0.0L))
        return plainMean(sites, members);
    if (accuracy.everyPlace)
        for (int j : members)
            if (optimalPlace(sites, members, j, reach))
                return onPlace(sites, members, j);
    const long double cx = moments.x / total;
    const long double cy = moments.y / total;
    long double x = from ? from->x : cx;
    long double y = from ? from->y : cy;
    long double spread = 0.0L;
    for (int i : members)
        spread = std::max(spread, dist(cx, cy, sites[static_cast<std::size_t>(i)]));
    const long double stop = accuracy.step * std::max(spread, reach);
    for (int step = 0; step < MaxWeiszfeldSteps; ++step) {
        const auto [nx, ny] = accuracy.everyPlace ? weiszfeldStep(sites, members, x, y, reach)
                                                  : quickStep(sites, members, x, y, reach);
        const long double dx = nx - x;
        const long double dy = ny - y;
        x = nx;
        y = ny;
        if (std::sqrt(dx * dx + dy * dy) <= stop)
            break;
    }
    // The iteration only creeps towards an optimal place: the nearest place gets the test.
    int nearest = members.front();
    for (int i : members)
        if (dist(x, y, sites[static_cast<std::size_t>(i)])
            < dist(x, y, sites[static_cast<std::size_t>(nearest)]))
            nearest = i;
    if (optimalPlace(sites, members, nearest, reach))
        return onPlace(sites, members, nearest);
    WeberResult r;
    r.x = x;
    r.y = y;
    r.objective = objectiveAt(sites, members, x, y);
    return r;
}

long double totalOf(const std::vector<FoundGroup>& groups)
{
    long double t = 0.0L;
    for (const FoundGroup& g : groups)
        t += g.centre.objective;
    return t;
}

void orderGroups(std::vector<FoundGroup>& groups)
{
    std::stable_sort(groups.begin(), groups.end(), [](const FoundGroup& a, const FoundGroup& b) {
        if ((a.fixedPlace >= 0) != (b.fixedPlace >= 0))
            return a.fixedPlace >= 0;
        if (a.fixedPlace >= 0)
            return false;
        return a.members.front() < b.members.front();
    });
}

} // namespace dorvan::grouping
