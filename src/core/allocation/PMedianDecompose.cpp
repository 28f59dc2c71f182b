// The decomposition step of the p-median search: a few neighbouring centres and the places
// they serve form a small problem of their own, searched afresh from their current centres;
// a better answer there is a better answer for the whole.

#include "core/allocation/PMedianSearch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace dorvan::pmedian {

namespace {

constexpr double Lower = 1e-10; // a total this much (relatively) lower is a better total
constexpr int FewestNeighbours = 3;
constexpr int MostNeighbours = 6;
constexpr std::size_t LargePart = 2000;
constexpr int InnerFailsPerCentre = 2; // perturbations without gain that end a small search, per centre

} // namespace

bool Search::decompose(Layout& layout)
{
    if (freeCount() <= 0 || setup_.centres < 2)
        return false;
    std::vector<int> order(at(setup_.centres));
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[at(static_cast<std::int64_t>(next() % i))]);
    bool improved = false;
    for (const int c : order) {
        if (stop_.now())
            break;
        const int span = MostNeighbours - FewestNeighbours + 1;
        const int size = std::min(
            setup_.centres, FewestNeighbours + static_cast<int>(next() % static_cast<std::uint64_t>(span)));
        improved = resolveAround(layout, c, size) || improved;
    }
    return improved;
}

bool Search::resolveAround(Layout& layout, int seedCentre, int size)
{
    const PlaceArrays& p = setup_.places;
    const auto fixedCount = static_cast<int>(setup_.fixed.size());
    // The seed and its size - 1 nearest centres; the fixed ones first, as a problem wants them.
    std::vector<int> near(at(setup_.centres));
    std::iota(near.begin(), near.end(), 0);
    const double sx = layout.cx[at(seedCentre)], sy = layout.cy[at(seedCentre)];
    const auto far = [&](int c) { return std::hypot(layout.cx[at(c)] - sx, layout.cy[at(c)] - sy); };
    std::partial_sort(near.begin(), near.begin() + size, near.end(), [&](int a, int b) {
        const double fa = far(a), fb = far(b);
        return fa < fb || (fa == fb && a < b);
    });
    near.resize(at(size));
    std::sort(near.begin(), near.end());
    if (std::all_of(near.begin(), near.end(), [&](int c) { return c < fixedCount; }))
        return false;
    std::vector<std::int32_t> local(at(setup_.centres), -1);
    for (std::size_t k = 0; k < near.size(); ++k)
        local[at(near[k])] = static_cast<std::int32_t>(k);
    std::vector<double> x, y, w;
    std::vector<std::int32_t> placeOf(at(p.n), -1);
    long double cost = 0;
    for (std::int32_t i = 0; i < p.n; ++i) {
        if (local[at(layout.of[at(i)])] < 0)
            continue;
        placeOf[at(i)] = static_cast<std::int32_t>(x.size());
        x.push_back(p.x[at(i)]);
        y.push_back(p.y[at(i)]);
        w.push_back(p.w[at(i)]);
        cost += static_cast<long double>(p.w[at(i)]) * layout.d[at(i)];
    }
    if (x.size() <= near.size())
        return false;
    SearchSetup sub;
    sub.places = { x.data(), y.data(), w.data(), static_cast<std::int32_t>(x.size()), p.reach };
    sub.centres = size;
    for (const int c : near)
        if (c < fixedCount) {
            const std::int32_t place = placeOf[at(setup_.fixed[at(c)])];
            if (place < 0)
                return false; // its own place went to another centre that stands on the same spot
            sub.fixed.push_back(place);
        }
    sub.tolerance = setup_.tolerance;
    sub.finalTolerance = setup_.finalTolerance;
    sub.weberSteps = setup_.weberSteps;
    sub.stall = setup_.stall;
    sub.candidates = setup_.candidates;
    // A large part gets the interchange moves from its current centres alone.
    sub.failLimit = x.size() > LargePart ? 0 : InnerFailsPerCentre * size;
    sub.rounds = 1;
    sub.decompose = false;
    buildPlaceGrid(sub);
    Layout start;
    for (const int c : near) {
        start.cx.push_back(layout.cx[at(c)]);
        start.cy.push_back(layout.cy[at(c)]);
    }
    Search inner(sub, next(), stop_);
    inner.run(nullptr, nullptr, &start);
    const Layout& found = inner.best();
    if (!(found.total < static_cast<double>(cost) * (1 - Lower)))
        return false;
    Layout trial = layout;
    for (std::size_t k = 0; k < near.size(); ++k) {
        trial.cx[at(near[k])] = found.cx[k];
        trial.cy[at(near[k])] = found.cy[k];
    }
    alternate(trial, setup_.tolerance, setup_.weberSteps, setup_.stall);
    if (!(trial.total < layout.total * (1 - Lower)))
        return false;
    layout = std::move(trial);
    return true;
}

} // namespace dorvan::pmedian

namespace dorvan::pmedian {

bool Search::moveTiedPlace(Layout& layout, double tolerance, std::vector<std::uint8_t>& changed)
{
    const PlaceArrays& p = setup_.places;
    const auto fixedCount = static_cast<int>(setup_.fixed.size());
    const double tie = 16 * tolerance;
    bool grouped = false;
    for (std::int32_t i = 0; i < p.n; ++i) {
        if (layout.lower[at(i)] - layout.d[at(i)] > tie || p.w[at(i)] <= 0)
            continue;
        const NearestTwo two = index_.nearestTwo(p.x[at(i)], p.y[at(i)]);
        if (two.second.centre < 0 || two.second.distance - two.first.distance > tie)
            continue;
        const int a = layout.of[at(i)];
        const int b = two.first.centre == a ? two.second.centre : two.first.centre;
        if (a < fixedCount && b < fixedCount)
            continue;
        if (!grouped) {
            buildGroups(layout);
            grouped = true;
        }
        std::vector<std::int32_t> without, with;
        for (const std::int32_t m : membersOf(a))
            if (m != i)
                without.push_back(m);
        const auto members = membersOf(b);
        with.assign(members.begin(), members.end());
        with.push_back(i);
        const auto solved = [&](int c, std::span<const std::int32_t> group) {
            if (c < fixedCount)
                return WeberStep { layout.cx[at(c)], layout.cy[at(c)], true, setup_.fixed[at(c)] };
            return weberSteps(p, group, layout.cx[at(c)], layout.cy[at(c)], tolerance, 200);
        };
        const WeberStep na = solved(a, without), nb = solved(b, with);
        const long double before = groupCost(p, membersOf(a), layout.cx[at(a)], layout.cy[at(a)])
            + groupCost(p, membersOf(b), layout.cx[at(b)], layout.cy[at(b)]);
        const long double after = groupCost(p, without, na.x, na.y) + groupCost(p, with, nb.x, nb.y);
        const double toA = std::hypot(p.x[at(i)] - na.x, p.y[at(i)] - na.y);
        const double toB = std::hypot(p.x[at(i)] - nb.x, p.y[at(i)] - nb.y);
        if (!(after < before * (1 - Lower)) || !(toB < toA - tie))
            continue;
        layout.cx[at(a)] = na.x;
        layout.cy[at(a)] = na.y;
        layout.cx[at(b)] = nb.x;
        layout.cy[at(b)] = nb.y;
        layout.onPlace[at(a)] = na.onPlace;
        layout.onPlace[at(b)] = nb.onPlace;
        changed[at(a)] = changed[at(b)] = 1;
        return true;
    }
    return false;
}

} // namespace dorvan::pmedian

namespace dorvan::pmedian {

Layout sampledStart(const SearchSetup& setup, int sampleSize, std::uint64_t seed, const Stop& stop,
    std::atomic<int>* localSearches)
{
    const PlaceArrays& p = setup.places;
    // A random share of the places (the fixed ones always among them), in their order.
    std::vector<std::uint8_t> chosen(at(p.n), 0);
    for (const std::int32_t f : setup.fixed)
        chosen[at(f)] = 1;
    std::uint64_t state = seed;
    const auto next = [&state] {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    };
    for (int k = 0; k < sampleSize; ++k)
        chosen[at(static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(p.n)))] = 1;
    std::vector<double> x, y, w;
    std::vector<std::int32_t> position(at(p.n), -1);
    for (std::int32_t i = 0; i < p.n; ++i)
        if (chosen[at(i)]) {
            position[at(i)] = static_cast<std::int32_t>(x.size());
            x.push_back(p.x[at(i)]);
            y.push_back(p.y[at(i)]);
            w.push_back(p.w[at(i)]);
        }
    SearchSetup sub = setup;
    sub.places = { x.data(), y.data(), w.data(), static_cast<std::int32_t>(x.size()), p.reach };
    sub.sized = {};
    for (std::int32_t& f : sub.fixed)
        f = position[at(f)];
    buildPlaceGrid(sub);
    Search inner(sub, next(), stop);
    inner.run(nullptr, localSearches);
    Layout start;
    start.cx = inner.best().cx;
    start.cy = inner.best().cy;
    return start;
}

} // namespace dorvan::pmedian
