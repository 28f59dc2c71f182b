#include "core/allocation/PMedianSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvan::pmedian {

namespace {

constexpr int MaxRounds = 500; // alternation rounds at most
constexpr int MaxTieMoves = 100;
constexpr std::size_t MeasuredMovers = 3; // centres measured rather than bounded in an allocation // places
                                          // moved off a tie per alternation at most
constexpr int TriedSwaps = 3; // best estimated interchanges tried with the alternation
constexpr double Better = 1e-10;
// An interchange estimated this much (relatively) worse is still tried: the alternation after
// it may turn it into a gain.
constexpr double SwapSlack = 1e-3;
// A decomposition sweep gaining less than this share of the total is not repeated at once.
constexpr double SweepGain = 1e-6; // a total this much (relatively) lower is a better total

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
        if (setup_.sized(layout.cx, layout.cy, of)) {
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
            layout.ax.clear();
            return;
        }
        // Cancelled: the nearest centres below still give every place one.
    }
    index_.build(layout.cx, layout.cy);
    // How far each centre moved since the places were last assigned: a place whose centre is
    // still nearer than its bound on every other centre keeps it without a query. The few
    // centres that moved most (a centre taken elsewhere) are measured instead of bounded.
    const bool bounded = layout.ax.size() == layout.cx.size() && layout.lower.size() == at(p.n);
    std::vector<std::pair<double, std::int32_t>> moved;
    double shift = 0;
    if (bounded) {
        for (std::size_t c = 0; c < layout.cx.size(); ++c) {
            const double dx = layout.cx[c] - layout.ax[c], dy = layout.cy[c] - layout.ay[c];
            moved.push_back({ std::sqrt(dx * dx + dy * dy), static_cast<std::int32_t>(c) });
        }
        const auto measured = std::min<std::size_t>(MeasuredMovers, moved.size());
        std::partial_sort(moved.begin(), moved.begin() + static_cast<std::ptrdiff_t>(measured), moved.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
        shift = measured < moved.size()
            ? std::max_element(moved.begin() + static_cast<std::ptrdiff_t>(measured), moved.end())->first
            : 0.0;
        moved.resize(measured);
        while (!moved.empty() && moved.back().first <= shift)
            moved.pop_back();
    }
    layout.lower.resize(at(p.n));
    for (std::int32_t i = 0; i < p.n; ++i) {
        const std::int32_t old = layout.of[at(i)];
        if (bounded && old >= 0) {
            const double px = p.x[at(i)], py = p.y[at(i)];
            const double dx = px - layout.cx[at(old)], dy = py - layout.cy[at(old)];
            const double own = std::sqrt(dx * dx + dy * dy);
            double lower = layout.lower[at(i)] - shift;
            for (const auto& [distance, c] : moved)
                if (c != old) {
                    const double mx = px - layout.cx[at(c)], my = py - layout.cy[at(c)];
                    lower = std::min(lower, std::sqrt(mx * mx + my * my));
                }
            if (own < lower) {
                layout.d[at(i)] = own;
                layout.lower[at(i)] = lower;
                continue;
            }
        }
        const NearestTwo two = index_.nearestTwo(p.x[at(i)], p.y[at(i)]);
        const std::int32_t now = two.first.centre;
        if (now != old) {
            ++changes;
            if (old >= 0)
                changed[at(old)] = 1;
            changed[at(now)] = 1;
            layout.of[at(i)] = now;
        }
        layout.d[at(i)] = two.first.distance;
        layout.lower[at(i)]
            = two.second.centre >= 0 ? two.second.distance : std::numeric_limits<double>::infinity();
    }
    layout.ax = layout.cx;
    layout.ay = layout.cy;
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

void Search::alternate(Layout& layout, double tolerance, int maxSteps, double stall)
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
    for (int moves = 0;; ++moves) {
        cooper(layout, tolerance, maxSteps, stall, changed, settled);
        if (setup_.sized || moves >= MaxTieMoves || stop_.now() || !moveTiedPlace(layout, tolerance, changed))
            break;
    }
    sumTotal(layout);
}

void Search::cooper(Layout& layout, double tolerance, int maxSteps, double stall,
    std::vector<std::uint8_t>& changed, std::vector<std::uint8_t>& settled)
{
    const PlaceArrays& p = setup_.places;
    const auto fixedCount = static_cast<int>(setup_.fixed.size());
    double before = std::numeric_limits<double>::infinity();
    for (int round = 0;; ++round) {
        std::int64_t changes = 0;
        allocate(layout, changed, changes);
        // A round that gains almost nothing ends the alternation on large lists, where places on
        // the borders keep changing their centre for many rounds.
        sumTotal(layout);
        const bool stalled = stall > 0 && before - layout.total <= stall * layout.total;
        before = layout.total;
        const bool allSettled
            = std::all_of(settled.begin() + fixedCount, settled.end(), [](std::uint8_t s) { return s != 0; });
        if ((round > 0 && ((changes == 0 && allSettled) || stalled)) || round >= MaxRounds || stop_.now())
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
            alternate(trial, setup_.tolerance, setup_.weberSteps, setup_.stall);
            if (trial.total < layout.total * (1 - Better)) {
                layout = std::move(trial);
                keep(layout); // the progress shows each gain of a long descent
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
    layout.ax.clear();
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

void Search::keep(const Layout& layout)
{
    if (!best_.cx.empty() && !(layout.total < best_.total * (1 - Better)))
        return;
    best_ = layout;
    if (published_) {
        double seen = published_->load();
        while (best_.total < seen && !published_->compare_exchange_weak(seen, best_.total)) { }
    }
}

// Perturbations of k centres (k cycling from 1 to kMax) around the current end, each followed
// by the alternation and the interchange moves; a better end becomes the current one.
void Search::perturb(Layout& current)
{
    const int kMax = std::max(1, std::min(freeCount(), std::max(2, setup_.centres / 4)));
    int k = 1;
    for (int fails = 0; fails < setup_.failLimit && freeCount() > 0 && !stop_.now();) {
        Layout trial = current;
        shake(trial, k);
        alternate(trial, setup_.tolerance, setup_.weberSteps, setup_.stall);
        interchange(trial);
        ++localSearches_;
        if (counter_)
            counter_->fetch_add(1);
        if (trial.total < current.total * (1 - Better)) {
            current = std::move(trial);
            k = 1;
            fails = 0;
            keep(current);
        } else {
            k = k < kMax ? k + 1 : 1;
            ++fails;
        }
    }
}

void Search::run(std::atomic<double>* published, std::atomic<int>* localSearches, const Layout* from)
{
    published_ = published;
    counter_ = localSearches;
    for (int round = 0; round < setup_.rounds && (round == 0 || !stop_.now()); ++round) {
        Layout current;
        if (round == 0 && from)
            current = *from;
        else
            spreadStart(current);
        alternate(current, setup_.tolerance, setup_.weberSteps, setup_.stall);
        keep(current);
        interchange(current);
        ++localSearches_;
        if (counter_)
            counter_->fetch_add(1);
        keep(current);
        for (;;) {
            // Sweeps of the decomposition while one gains more than a crumb.
            for (double swept = current.total; setup_.decompose && !stop_.now() && decompose(current);
                 swept = current.total) {
                keep(current);
                if (!(current.total < swept * (1 - SweepGain)))
                    break;
            }
            const double before = current.total;
            perturb(current);
            if (!setup_.decompose || !(current.total < before))
                break;
        }
    }
}

} // namespace dorvan::pmedian
