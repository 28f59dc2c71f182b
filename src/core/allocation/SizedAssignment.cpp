#include "core/allocation/SizedAssignment.h"

#include "core/allocation/PMedianIndex.h"
#include "core/allocation/SizedFlow.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

namespace dorvan::pmedian {

namespace sized {

namespace {

constexpr int MaxPriceRounds = 12;
// A cold start takes its prices from a sample of the places from this many places and this many
// a centre on.
constexpr std::size_t CoarseFrom = 20000;
constexpr std::size_t CoarsePerCentre = 64;

} // namespace

// Prices under which `start` is as near optimal as its chains allow: the shortest distances on
// the centres' graph of that assignment (Bellman-Ford, stopped after P + 1 rounds when a cheaper
// chain exists). Any prices give a correct result; good ones leave little to repair.
void SizedFlow::pricesFrom(std::span<const std::int32_t> start)
{
    std::vector<int> centre(start.begin(), start.end());
    std::vector<char> fixed(idx(n_), 0);
    for (auto [place, c] : pinnedTo_) {
        centre[idx(place)] = c;
        fixed[idx(place)] = 1;
    }
    const std::size_t p = idx(p_);
    std::vector<double> arc(p * p, Unreached);
    std::vector<int> held(p, 0);
    for (int i = 0; i < n_; ++i) {
        const int a = centre[idx(i)];
        if (a < 0)
            continue; // a place the start has no centre for
        ++held[idx(a)];
        if (fixed[idx(i)])
            continue;
        const double own = cost(i, a);
        double* row = &arc[idx(a) * p];
        if (apart_.empty()) {
            for (int b = 0; b < p_; ++b)
                row[b] = std::min(row[b], cost(i, b) - own);
            continue;
        }
        // cost(i, b) - cost(i, a) >= w x (distance(a, b) - 2 x distance(i, a))
        const double w = in_.w[idx(i)];
        const double reach = 2
            * std::sqrt(
                std::pow(in_.x[idx(i)] - in_.cx[idx(a)], 2) + std::pow(in_.y[idx(i)] - in_.cy[idx(a)], 2));
        const double* d = &apart_[idx(a) * p];
        for (int b = 0; b < p_; ++b)
            if (w * (d[b] - reach) < row[b])
                row[b] = std::min(row[b], cost(i, b) - own);
    }
    std::vector<double> d(p + 1, 0.0);
    for (int round = 0; round <= p_; ++round) {
        bool changed = false;
        auto relaxTo = [&](int u, int v, double c) {
            if (d[idx(u)] + c < d[idx(v)]) {
                d[idx(v)] = d[idx(u)] + c;
                changed = true;
            }
        };
        for (int a = 0; a < p_; ++a) {
            for (int b = 0; b < p_; ++b)
                if (b != a && arc[idx(a) * p + idx(b)] < Unreached)
                    relaxTo(a, b, arc[idx(a) * p + idx(b)]);
            const int flow = std::clamp(held[idx(a)], lo_, hi_);
            if (flow < hi_)
                relaxTo(a, t_, 0.0);
            if (flow > lo_)
                relaxTo(t_, a, 0.0);
        }
        if (!changed)
            break;
    }
    // A centre strictly within its sizes has arcs both ways to the sink at no cost, so at an
    // optimum it has the sink's price; a cheaper chain left in `start` only pulls it away.
    for (int a = 0; a < p_; ++a)
        if (held[idx(a)] > lo_ && held[idx(a)] < hi_)
            d[idx(a)] = d[idx(t_)];
    pi_ = d;
}

// Every place at its cheapest centre under the prices (pinned ones where they are pinned),
// searched from its centre in `guesses` (a start) or its nearest centre.
void SizedFlow::placeAll(std::span<const std::int32_t> guesses)
{
    for (auto [place, c] : pinnedTo_) {
        of_[idx(place)] = c;
        cost_[idx(place)] = cost(place, c);
        ++count_[idx(c)];
    }
    const double top = topPrice();
    CentreIndex index;
    if (guesses.empty() && !nearOrder_.empty())
        index.build(in_.cx, in_.cy);
    for (int i = 0; i < n_; ++i) {
        if (of_[idx(i)] >= 0)
            continue;
        int guess = -1;
        if (!guesses.empty())
            guess = guesses[idx(i)];
        else if (!nearOrder_.empty())
            guess = index.nearest(in_.x[idx(i)], in_.y[idx(i)]).centre;
        const auto [best, bestCost] = cheapest(i, guess, -1, top);
        of_[idx(i)] = best;
        cost_[idx(i)] = bestCost;
        pos_[idx(i)] = static_cast<int>(members_[idx(best)].size());
        members_[idx(best)].push_back(i);
        ++count_[idx(best)];
    }
}

// A few rounds of price moves that bring each centre within its sizes on its own, every place
// staying at its cheapest centre: a centre over its largest size gets dearer by just enough
// for its surplus to leave to their next cheapest centres, one under its least size cheaper by
// just enough for the places it lacks to come. Centres pushed on others may then be over or
// under; what is left after the rounds goes to the exact repair. (Moving prices back towards
// the sink's price as well converges too slowly to pay for its scans.)
void SizedFlow::balancePrices(const std::atomic<bool>* cancel)
{
    long long before = -1; // what was off after the last round; none before the first
    for (int round = 0; round < MaxPriceRounds; ++round) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return;
        long long off = 0;
        for (int c = 0; c < p_; ++c) {
            const int held = count_[idx(c)];
            if (held > hi_) {
                off += held - hi_;
                pushOut(c, held - hi_, Unreached);
            } else if (held < lo_) {
                off += lo_ - held;
                pullIn(c, lo_ - held, Unreached);
            }
        }
        if (off == 0 || (before >= 0 && 4 * off > 3 * before))
            return; // balanced, or the rounds no longer help much
        before = off;
    }
}

namespace {

// Puts the `k` smallest gaps of steps first (0 < k <= size) and returns the price change that
// moves exactly those: half way to the next gap, at most `cap`. Only the steps with a gap
// below the change are taken (a gap equal to it is a tie: either centre is as cheap).
std::size_t takeSteps(std::vector<PriceStep>& steps, std::size_t k, double cap, double& change)
{
    const auto cut = steps.begin() + static_cast<std::ptrdiff_t>(k);
    std::nth_element(steps.begin(), cut - 1, steps.end(),
        [](const PriceStep& l, const PriceStep& r) { return l.gap < r.gap; });
    const double last = (cut - 1)->gap;
    change = last;
    if (k < steps.size()) {
        const double next = std::min_element(cut, steps.end(), [](const PriceStep& l, const PriceStep& r) {
            return l.gap < r.gap;
        })->gap;
        change = last + (next - last) / 2;
    }
    if (change <= cap)
        return k;
    change = cap;
    const auto taken = std::partition(steps.begin(), cut, [cap](const PriceStep& s) { return s.gap < cap; });
    return static_cast<std::size_t>(taken - steps.begin());
}

} // namespace

void SizedFlow::pushOut(int centre, int surplus, double cap)
{
    steps_.clear();
    const double own = pi_[idx(centre)];
    const double top = topPrice();
    for (int i : members_[idx(centre)]) {
        const Choice other = cheapest(i, centre, centre, top);
        if (other.centre >= 0)
            steps_.push_back(
                { (other.cost - pi_[idx(other.centre)]) - (cost_[idx(i)] - own), i, other.centre });
    }
    const std::size_t k = std::min(steps_.size(), idx(surplus));
    if (k == 0)
        return;
    double change = 0.0;
    const std::size_t taken = takeSteps(steps_, k, cap, change);
    pi_[idx(centre)] -= change;
    for (std::size_t s = 0; s < taken; ++s)
        relocate(steps_[s].place, steps_[s].to);
}

void SizedFlow::pullIn(int centre, int shortfall, double cap)
{
    steps_.clear();
    for (int c = 0; c < p_; ++c)
        if (c != centre)
            for (int i : members_[idx(c)])
                steps_.push_back({ (cost(i, centre) - pi_[idx(centre)]) - value(i), i, centre });
    const std::size_t k = std::min(steps_.size(), idx(shortfall));
    if (k == 0)
        return;
    double change = 0.0;
    const std::size_t taken = takeSteps(steps_, k, cap, change);
    pi_[idx(centre)] += change;
    for (std::size_t s = 0; s < taken; ++s)
        relocate(steps_[s].place, centre);
}

void SizedFlow::relocate(int place, int to)
{
    const int from = of_[idx(place)];
    std::vector<int>& old = members_[idx(from)];
    const int at = pos_[idx(place)];
    old[idx(at)] = old.back();
    pos_[idx(old[idx(at)])] = at;
    old.pop_back();
    --count_[idx(from)];
    pos_[idx(place)] = static_cast<int>(members_[idx(to)].size());
    members_[idx(to)].push_back(place);
    ++count_[idx(to)];
    of_[idx(place)] = to;
    cost_[idx(place)] = cost(place, to);
    ++stamp_[idx(place)];
}

// Prices for a cold start at scale: the exact solve of a quarter of the places (every pinned
// place among them) within sizes scaled alike, itself started the same way while it is large.
// Its prices put the places of the whole problem about where the optimum has them, so the
// repair moves few of them (the shortest paths cost more the more places a centre holds).
std::optional<std::vector<double>> coarsePrices(
    const Inputs& in, int lo, int hi, const std::atomic<bool>* cancel)
{
    const std::size_t n = in.x.size();
    std::vector<char> pinnedPlace(n, 0);
    for (int place : in.pinned)
        if (place >= 0)
            pinnedPlace[idx(place)] = 1;
    std::vector<double> x, y, w;
    std::vector<int> newIndex(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint64_t h = (i + 1) * 0x9E3779B97F4A7C15ULL; // a fixed scatter of the indices
        h ^= h >> 31;
        if ((h & 3) != 0 && !pinnedPlace[i])
            continue;
        newIndex[i] = static_cast<int>(x.size());
        x.push_back(in.x[i]);
        y.push_back(in.y[i]);
        w.push_back(in.w[i]);
    }
    std::vector<int> pinned(in.pinned.begin(), in.pinned.end());
    for (int& place : pinned)
        if (place >= 0)
            place = newIndex[idx(place)];
    const double share = static_cast<double>(x.size()) / static_cast<double>(n);
    const int m = static_cast<int>(x.size());
    const int coarseLo = static_cast<int>(std::floor(lo * share));
    const int coarseHi = std::min(m, std::max(1, static_cast<int>(std::ceil(hi * share))));
    auto solved = solve({ x, y, w, in.cx, in.cy, pinned }, coarseLo, coarseHi, {}, cancel);
    if (!solved)
        return std::nullopt;
    return std::move(solved->prices);
}

std::optional<Solved> solve(
    const Inputs& in, int lo, int hi, std::span<const std::int32_t> start, const std::atomic<bool>* cancel)
{
    SizedFlow flow(in, lo, hi);
    const auto known = std::count_if(start.begin(), start.end(), [](std::int32_t c) { return c >= 0; });
    if (2 * static_cast<std::size_t>(known) >= in.x.size() && known > 0) {
        flow.pricesFrom(start); // for centres that moved a little better than a sample's prices
    } else if (in.x.size() >= CoarseFrom && in.x.size() >= CoarsePerCentre * in.cx.size()) {
        auto prices = coarsePrices(in, lo, hi, cancel);
        if (!prices)
            return std::nullopt;
        flow.setPrices(std::move(*prices));
    }
    flow.placeAll(start);
    flow.balancePrices(cancel);
    flow.startFlows();
    if (!flow.repair(cancel))
        return std::nullopt;
    std::vector<double> prices = flow.prices();
    return Solved { flow.takeAssignment(), std::move(prices) };
}

} // namespace sized

namespace {

using sized::idx;

constexpr double LargestValue = 1e100;

void checkInputs(std::span<const double> x, std::span<const double> y, std::span<const double> weight,
    std::span<const double> cx, std::span<const double> cy, std::span<const int> pinned,
    std::span<const std::int32_t> start)
{
    if (y.size() != x.size() || weight.size() != x.size() || cy.size() != cx.size()
        || (!pinned.empty() && pinned.size() != cx.size()) || (!start.empty() && start.size() != x.size()))
        throw std::invalid_argument(
            "Priradenie miest: zoznamy súradníc, váh a centier nemajú rovnakú dĺžku.");
    if (x.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("Priradenie miest: príliš veľa miest.");
    auto finite = [](std::span<const double> v) {
        return std::all_of(v.begin(), v.end(), [](double d) { return std::isfinite(d); });
    };
    if (!finite(x) || !finite(y) || !finite(weight) || !finite(cx) || !finite(cy))
        throw std::invalid_argument("Priradenie miest: súradnice a váhy musia byť konečné čísla.");
    const auto n = static_cast<long long>(x.size());
    for (int p : pinned)
        if (p < -1 || p >= n)
            throw std::invalid_argument(
                "Priradenie miest: pevné miesto " + std::to_string(p) + " neexistuje.");
    const auto centres = static_cast<std::int32_t>(cx.size());
    for (std::int32_t c : start)
        if (c < -1 || c >= centres)
            throw std::invalid_argument(
                "Priradenie miest: počiatočné centrum " + std::to_string(c) + " neexistuje.");
}

} // namespace

bool sizesCanWork(int places, int centres, SizeLimits limits)
{
    if (places < 0 || centres < 0 || limits.minPlaces < 0 || limits.maxPlaces < 0)
        return false;
    if (centres == 0)
        return places == 0;
    if (limits.maxPlaces > 0 && limits.minPlaces > limits.maxPlaces)
        return false;
    const auto p = static_cast<long long>(centres);
    if (p * limits.minPlaces > places)
        return false;
    return limits.maxPlaces == 0 || p * limits.maxPlaces >= places;
}

std::optional<std::vector<std::int32_t>> assignWithinSizes(std::span<const double> x,
    std::span<const double> y, std::span<const double> weight, std::span<const double> cx,
    std::span<const double> cy, std::span<const int> pinned, SizeLimits limits,
    std::span<const std::int32_t> start, const std::atomic<bool>* cancel)
{
    sized::stats() = {};
    checkInputs(x, y, weight, cx, cy, pinned, start);
    const int n = static_cast<int>(x.size());
    const int p = static_cast<int>(cx.size());
    if (!sizesCanWork(n, p, limits))
        return std::nullopt;
    // sums of weight x distance along chains of moves must stay far from overflowing
    auto moderate = [](std::span<const double> v) {
        return std::all_of(v.begin(), v.end(), [](double d) { return std::fabs(d) <= LargestValue; });
    };
    if (!moderate(x) || !moderate(y) || !moderate(weight) || !moderate(cx) || !moderate(cy))
        return std::nullopt;
    std::vector<char> taken(x.size(), 0);
    for (int place : pinned)
        if (place >= 0 && std::exchange(taken[idx(place)], 1))
            return std::nullopt; // one place pinned to two centres
    if (n == 0)
        return std::vector<std::int32_t> {};
    const int hi = limits.maxPlaces > 0 ? std::min(limits.maxPlaces, n) : n;
    auto solved = sized::solve({ x, y, weight, cx, cy, pinned }, limits.minPlaces, hi, start, cancel);
    if (!solved)
        return std::nullopt;
    return std::move(solved->assignment);
}

SizedAssignmentStats lastSizedAssignmentStats()
{
    return sized::stats();
}

} // namespace dorvan::pmedian
