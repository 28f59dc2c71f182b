#include "core/allocation/PMedianSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvan::pmedian {

namespace {

constexpr int SearchWeberSteps = 25; // Weiszfeld steps per group and alternation round
constexpr int MaxRounds = 500; // alternation rounds at most
constexpr int TriedSwaps = 3; // best estimated interchanges tried with the alternation
constexpr double Better = 1e-10;
// An interchange estimated this much (relatively) worse is still tried: the alternation after
// it may turn it into a gain.
constexpr double SwapSlack = 1e-3; // a total this much (relatively) lower is a better total

} // namespace

bool Stop::now() const
{
    if (cancel && cancel->load(std::memory_order_relaxed))
        cancelled = true;
    else if (std::chrono::steady_clock::now() >= deadline)
        timedOut = true;
    return cancelled || timedOut;
}

Search::Search(const SearchSetup& setup, std::uint64_t seed, const Stop& stop)
    : setup_(setup)
    , stop_(stop)
    , state_(seed)
{
}

std::uint64_t Search::next()
{ // splitmix64: the same numbers on every platform
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::int32_t Search::draw(std::span<const double> prefix)
{
    const double total = prefix.back();
    if (!(total > 0))
        return static_cast<std::int32_t>(next() % prefix.size());
    const double target = uniform() * total;
    const auto it = std::upper_bound(prefix.begin(), prefix.end(), target);
    return static_cast<std::int32_t>(std::min<std::ptrdiff_t>(it - prefix.begin(), std::ssize(prefix) - 1));
}

void Search::sumTotal(Layout& layout) const
{
    long double sum = 0;
    const PlaceArrays& p = setup_.places;
    for (std::int32_t i = 0; i < p.n; ++i)
        sum += static_cast<long double>(p.w[at(i)]) * layout.d[at(i)];
    layout.total = static_cast<double>(sum);
}

void Search::allocate(Layout& layout, std::vector<std::uint8_t>& changed, std::int64_t& changes)
{
    const PlaceArrays& p = setup_.places;
    changes = 0;
    if (setup_.sized) {
        std::vector<std::int32_t> of = layout.of;
        if (!setup_.sized(layout.cx, layout.cy, of))
            return;
        for (std::int32_t i = 0; i < p.n; ++i) {
            const auto c = of[at(i)];
            if (c != layout.of[at(i)]) {
                ++changes;
                if (layout.of[at(i)] >= 0)
                    changed[at(layout.of[at(i)])] = 1;
                changed[at(c)] = 1;
            }
            const double dx = p.x[at(i)] - layout.cx[at(c)], dy = p.y[at(i)] - layout.cy[at(c)];
            layout.d[at(i)] = std::sqrt(dx * dx + dy * dy);
        }
        layout.of.swap(of);
        return;
    }
    index_.build(layout.cx, layout.cy);
    for (std::int32_t i = 0; i < p.n; ++i) {
        const Nearest nn = index_.nearest(p.x[at(i)], p.y[at(i)]);
        const std::int32_t old = layout.of[at(i)];
        if (nn.centre != old) {
            ++changes;
            if (old >= 0)
                changed[at(old)] = 1;
            changed[at(nn.centre)] = 1;
            layout.of[at(i)] = nn.centre;
        }
        layout.d[at(i)] = nn.distance;
    }
}

void Search::buildGroups(const Layout& layout)
{
    const auto centres = at(setup_.centres);
    groupStart_.assign(centres + 1, 0);
    for (const std::int32_t c : layout.of)
        ++groupStart_[at(c) + 1];
    for (std::size_t c = 0; c < centres; ++c)
        groupStart_[c + 1] += groupStart_[c];
    groupList_.resize(layout.of.size());
    std::vector<std::int32_t> fill(groupStart_.begin(), groupStart_.end() - 1);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(layout.of.size()); ++i)
        groupList_[at(fill[at(layout.of[at(i)])]++)] = i;
}

std::span<const std::int32_t> Search::membersOf(int c) const
{
    const auto from = at(groupStart_[at(c)]), to = at(groupStart_[at(c) + 1]);
    return { groupList_.data() + from, to - from };
}

// A free centre left without places moves to the place that costs most where it is.
void Search::fillEmpty(Layout& layout, std::vector<std::uint8_t>& changed)
{
    const PlaceArrays& p = setup_.places;
    std::vector<std::uint8_t> taken;
    for (int c = static_cast<int>(setup_.fixed.size()); c < setup_.centres; ++c) {
        if (groupStart_[at(c)] != groupStart_[at(c) + 1])
            continue;
        if (taken.empty())
            taken.assign(at(p.n), 0);
        std::int32_t worst = -1;
        double worstCost = 0;
        for (std::int32_t i = 0; i < p.n; ++i) {
            const double cost = p.w[at(i)] * layout.d[at(i)];
            if (!taken[at(i)] && cost > worstCost) {
                worstCost = cost;
                worst = i;
            }
        }
        if (worst < 0)
            return; // every place already lies on a centre
        taken[at(worst)] = 1;
        layout.cx[at(c)] = p.x[at(worst)];
        layout.cy[at(c)] = p.y[at(worst)];
        changed[at(c)] = 1;
    }
}

void Search::alternate(Layout& layout, double tolerance, int maxSteps)
{
    const PlaceArrays& p = setup_.places;
    const auto centres = at(setup_.centres);
    const auto fixedCount = static_cast<int>(setup_.fixed.size());
    layout.of.resize(at(p.n), -1);
    layout.d.resize(at(p.n), 0);
    layout.onPlace.assign(centres, -1);
    for (int f = 0; f < fixedCount; ++f)
        layout.onPlace[at(f)] = setup_.fixed[at(f)];
    std::vector<std::uint8_t> changed(centres, 1), settled(centres, 0);
    for (int round = 0;; ++round) {
        std::int64_t changes = 0;
        allocate(layout, changed, changes);
        const bool allSettled
            = std::all_of(settled.begin() + fixedCount, settled.end(), [](std::uint8_t s) { return s != 0; });
        if ((round > 0 && changes == 0 && allSettled) || round >= MaxRounds || stop_.now())
            break;
        buildGroups(layout);
        fillEmpty(layout, changed);
        for (int c = fixedCount; c < setup_.centres; ++c) {
            if (!changed[at(c)] && settled[at(c)])
                continue;
            const WeberStep s
                = weberSteps(p, membersOf(c), layout.cx[at(c)], layout.cy[at(c)], tolerance, maxSteps);
            layout.cx[at(c)] = s.x;
            layout.cy[at(c)] = s.y;
            layout.onPlace[at(c)] = s.onPlace;
            settled[at(c)] = s.converged ? 1 : 0;
        }
        std::fill(changed.begin(), changed.end(), 0);
    }
    sumTotal(layout);
}

// The best interchanges by their estimate with the centres where they are: the new centre on
// place i gains sum w max(0, d1 - dist(i)); losing centre j costs its places the way to the
// nearer of their second centre and the new one.
std::vector<Search::Swap> Search::bestSwaps(const Layout& layout, int keep)
{
    const PlaceArrays& p = setup_.places;
    index_.build(layout.cx, layout.cy);
    second_.resize(at(p.n));
    for (std::int32_t i = 0; i < p.n; ++i) {
        const NearestTwo two = index_.nearestTwo(p.x[at(i)], p.y[at(i)]);
        second_[at(i)]
            = two.second.centre >= 0 ? two.second.distance : std::numeric_limits<double>::infinity();
    }
    std::vector<std::int32_t> candidates;
    if (setup_.candidates <= 0 || setup_.candidates >= p.n) {
        candidates.resize(at(p.n));
        for (std::int32_t i = 0; i < p.n; ++i)
            candidates[at(i)] = i;
    } else {
        std::vector<double> prefix(at(p.n));
        double run = 0;
        for (std::int32_t i = 0; i < p.n; ++i)
            prefix[at(i)] = run += p.w[at(i)] * layout.d[at(i)];
        for (int k = 0; k < setup_.candidates; ++k)
            candidates.push_back(draw(prefix));
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    }
    const auto fixedCount = static_cast<int>(setup_.fixed.size());
    std::vector<double> loss(at(setup_.centres));
    std::vector<Swap> found;
    for (const std::int32_t site : candidates) {
        if (layout.d[at(site)] <= p.reach)
            continue; // a centre stands there already
        const double sx = p.x[at(site)], sy = p.y[at(site)];
        double gain = 0;
        std::fill(loss.begin(), loss.end(), 0.0);
        for (std::int32_t i = 0; i < p.n; ++i) {
            const double dx = p.x[at(i)] - sx, dy = p.y[at(i)] - sy;
            const double dn = std::sqrt(dx * dx + dy * dy);
            const double d1 = layout.d[at(i)], w = p.w[at(i)];
            if (dn < d1)
                gain += w * (d1 - dn);
            else
                loss[at(layout.of[at(i)])] += w * (std::min(dn, second_[at(i)]) - d1);
        }
        for (int c = fixedCount; c < setup_.centres; ++c)
            found.push_back({ loss[at(c)] - gain, site, c });
    }
    const auto kept = std::min<std::size_t>(at(keep), found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(),
        [](const Swap& a, const Swap& b) {
            return a.delta < b.delta
                || (a.delta == b.delta && (a.place < b.place || (a.place == b.place && a.centre < b.centre)));
        });
    found.resize(kept);
    return found;
}

void Search::interchange(Layout& layout)
{
    if (freeCount() <= 0)
        return;
    const PlaceArrays& p = setup_.places;
    for (;;) {
        if (stop_.now())
            return;
        bool improved = false;
        for (const Swap& s : bestSwaps(layout, TriedSwaps)) {
            if (s.delta > SwapSlack * layout.total)
                break;
            Layout trial = layout;
            trial.cx[at(s.centre)] = p.x[at(s.place)];
            trial.cy[at(s.centre)] = p.y[at(s.place)];
            alternate(trial, setup_.tolerance, SearchWeberSteps);
            if (trial.total < layout.total * (1 - Better)) {
                layout = std::move(trial);
                improved = true;
                break;
            }
        }
        if (!improved)
            return;
    }
}

void Search::spreadStart(Layout& layout)
{
    const PlaceArrays& p = setup_.places;
    const auto fixedCount = static_cast<int>(setup_.fixed.size());
    layout.cx.assign(at(setup_.centres), 0);
    layout.cy.assign(at(setup_.centres), 0);
    layout.of.assign(at(p.n), -1);
    std::vector<double> nearest(at(p.n), std::numeric_limits<double>::infinity());
    const auto place = [&](int c, std::int32_t site) {
        layout.cx[at(c)] = p.x[at(site)];
        layout.cy[at(c)] = p.y[at(site)];
        for (std::int32_t i = 0; i < p.n; ++i) {
            const double dx = p.x[at(i)] - p.x[at(site)], dy = p.y[at(i)] - p.y[at(site)];
            nearest[at(i)] = std::min(nearest[at(i)], std::sqrt(dx * dx + dy * dy));
        }
    };
    for (int f = 0; f < fixedCount; ++f)
        place(f, setup_.fixed[at(f)]);
    std::vector<double> prefix(at(p.n));
    for (int c = fixedCount; c < setup_.centres; ++c) {
        double run = 0;
        for (std::int32_t i = 0; i < p.n; ++i)
            prefix[at(i)] = run += p.w[at(i)] * (c == 0 ? 1.0 : nearest[at(i)]);
        place(c, draw(prefix));
    }
}

void Search::shake(Layout& layout, int k)
{
    const PlaceArrays& p = setup_.places;
    const int fixedCount = static_cast<int>(setup_.fixed.size());
    std::vector<double> prefix(at(p.n));
    double run = 0;
    for (std::int32_t i = 0; i < p.n; ++i)
        prefix[at(i)] = run += p.w[at(i)] * layout.d[at(i)];
    for (int m = 0; m < k; ++m) {
        const int c = fixedCount + static_cast<int>(next() % static_cast<std::uint64_t>(freeCount()));
        const std::int32_t site = draw(prefix);
        layout.cx[at(c)] = p.x[at(site)];
        layout.cy[at(c)] = p.y[at(site)];
    }
}

void Search::run(std::atomic<double>& published, std::atomic<int>& localSearches)
{
    const auto publish = [&](double total) {
        double seen = published.load();
        while (total < seen && !published.compare_exchange_weak(seen, total)) { }
    };
    const int kMax = std::max(1, std::min(freeCount(), std::max(2, setup_.centres / 4)));
    for (int round = 0; round < setup_.rounds && (round == 0 || !stop_.now()); ++round) {
        Layout current;
        spreadStart(current);
        alternate(current, setup_.tolerance, SearchWeberSteps);
        interchange(current);
        localSearches.fetch_add(1);
        if (best_.cx.empty() || current.total < best_.total * (1 - Better))
            best_ = current;
        publish(best_.total);
        int k = 1;
        for (int fails = 0; fails < setup_.failLimit && freeCount() > 0 && !stop_.now();) {
            Layout trial = current;
            shake(trial, k);
            alternate(trial, setup_.tolerance, SearchWeberSteps);
            interchange(trial);
            localSearches.fetch_add(1);
            if (trial.total < current.total * (1 - Better)) {
                current = std::move(trial);
                k = 1;
                fails = 0;
                if (current.total < best_.total * (1 - Better)) {
                    best_ = current;
                    publish(best_.total);
                }
            } else {
                k = k < kMax ? k + 1 : 1;
                ++fails;
            }
        }
    }
}

} // namespace dorvan::pmedian
