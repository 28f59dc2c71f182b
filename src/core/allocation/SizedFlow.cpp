#include "core/allocation/SizedFlow.h"

#include <algorithm>
#include <numeric>

namespace dorvan::pmedian::sized {

namespace {

constexpr int CancelCheckEvery = 256;

} // namespace

SizedAssignmentStats& stats()
{
    thread_local SizedAssignmentStats current;
    return current;
}

// The flows to the sink that the prices allow (an arc c -> T needs pi_[c] >= pi_[T], an arc
// T -> c needs pi_[c] <= pi_[T]) and the candidate lists of every pair of centres.
void SizedFlow::startFlows()
{
    const double sinkPrice = pi_[idx(t_)];
    for (int c = 0; c < p_; ++c) {
        const double own = pi_[idx(c)];
        flow_[idx(c)] = own > sinkPrice ? lo_ : own < sinkPrice ? hi_ : std::clamp(count_[idx(c)], lo_, hi_);
        flowSum_ += flow_[idx(c)];
    }
    lazy_ = bounded_;
    for (int a = 0; a < p_; ++a) {
        if (lazy_)
            measureReach(a);
        boundRow(a);
    }
}

void SizedFlow::measureReach(int a)
{
    double reach = 0.0, lightest = Unreached;
    for (int i : members_[idx(a)]) {
        const double dx = in_.x[idx(i)] - in_.cx[idx(a)], dy = in_.y[idx(i)] - in_.cy[idx(a)];
        reach = std::max(reach, std::sqrt(dx * dx + dy * dy));
        lightest = std::min(lightest, in_.w[idx(i)]);
    }
    reach_[idx(a)] = reach;
    lightest_[idx(a)] = lightest;
}

void SizedFlow::orderCentres()
{
    const std::size_t p = idx(p_);
    apart_.resize(p * p);
    nearOrder_.resize(p * p);
    for (int a = 0; a < p_; ++a) {
        for (int b = 0; b < p_; ++b)
            apart_[idx(a) * p + idx(b)]
                = std::hypot(in_.cx[idx(a)] - in_.cx[idx(b)], in_.cy[idx(a)] - in_.cy[idx(b)]);
        const auto row = nearOrder_.begin() + static_cast<std::ptrdiff_t>(idx(a) * p);
        std::iota(row, row + static_cast<std::ptrdiff_t>(p), 0);
        const double* d = &apart_[idx(a) * p];
        std::stable_sort(row, row + static_cast<std::ptrdiff_t>(p),
            [d](int l, int r) { return d[l] < d[r] || (d[l] == d[r] && l < r); });
    }
}

SizedFlow::Choice SizedFlow::cheapest(int i, int guess, int skip, double topPrice) const
{
    Choice best { -1, 0.0 };
    double bestValue = Unreached;
    auto consider = [&](int c) {
        const double k = cost(i, c);
        if (k - pi_[idx(c)] < bestValue) {
            best = { c, k };
            bestValue = k - pi_[idx(c)];
        }
    };
    if (guess < 0 || nearOrder_.empty()) {
        for (int c = 0; c < p_; ++c)
            if (c != skip)
                consider(c);
        return best;
    }
    // cost(i, c) >= w x (distance(guess, c) - distance(i, guess)), and the order is by the first
    const double dx = in_.x[idx(i)] - in_.cx[idx(guess)], dy = in_.y[idx(i)] - in_.cy[idx(guess)];
    const double away = std::sqrt(dx * dx + dy * dy);
    const double w = in_.w[idx(i)];
    const std::size_t row = idx(guess) * idx(p_);
    for (int k = 0; k < p_; ++k) {
        const int c = nearOrder_[row + idx(k)];
        if (w * (apart_[row + idx(c)] - away) - topPrice > bestValue)
            break;
        if (c != skip)
            consider(c);
    }
    return best;
}

// The pairs (a, b) not built yet: built now when b is near a (or a lower bound would not
// hold), given their lower bound otherwise.
void SizedFlow::boundRow(int a)
{
    const std::size_t row = idx(a) * idx(p_);
    for (int b = 0; b < p_; ++b) {
        if (b == a || exact_[row + idx(b)])
            continue;
        const double margin = apart(a, b) - 2 * reach_[idx(a)];
        if (!lazy_ || members_[idx(a)].empty() || margin <= 0) {
            setTop(a, b);
        } else {
            topDelta_[row + idx(b)] = lightest_[idx(a)] * margin * (1 - 1e-12); // below rounding
            topPlace_[row + idx(b)] = -1;
        }
    }
}

// Repairs every excess along shortest paths; false when cancelled or stuck.
bool SizedFlow::repair(const std::atomic<bool>* cancel)
{
    for (long long step = 0;; ++step) {
        if (cancel && step % CancelCheckEvery == 0 && cancel->load(std::memory_order_relaxed))
            return false;
        bool any = false;
        for (int v = 0; v <= p_ && !any; ++v)
            any = excess(v) != 0;
        if (!any)
            return true;
        const int target = shortestPath();
        if (target < 0)
            return false;
        augment(target);
        ++stats().augmentations;
    }
}

// Dijkstra from every node with an excess, on reduced costs, until the first node with a
// deficit; then the prices move by the distances (capped at that node's), which keeps every
// reduced cost non-negative and makes the path's arcs cost nothing.
int SizedFlow::shortestPath()
{
    const int nodes = p_ + 1;
    for (int v = 0; v < nodes; ++v) {
        dist_[idx(v)] = excess(v) > 0 ? 0.0 : Unreached;
        parent_[idx(v)] = -1;
        done_[idx(v)] = 0;
        viaBound_[idx(v)] = 0;
    }
    int target = -1;
    for (;;) {
        int u = -1;
        double least = Unreached;
        for (int v = 0; v < nodes; ++v)
            if (!done_[idx(v)] && dist_[idx(v)] < least) {
                u = v;
                least = dist_[idx(v)];
            }
        if (u < 0)
            return -1;
        if (!settleOrRevise(u))
            continue;
        if (excess(u) < 0) {
            target = u;
            break;
        }
        relaxFrom(u);
    }
    const double reach = dist_[idx(target)];
    for (int v = 0; v < nodes; ++v)
        pi_[idx(v)] += std::min(dist_[idx(v)], reach);
    return target;
}

// A node about to be settled whose distance came along a lower bound: that pair's list is
// built and the node's distance found again from the settled nodes (false: not settled yet).
// A bound never exceeds the true cost, so the distances of the settled nodes stay exact.
bool SizedFlow::settleOrRevise(int u)
{
    if (!viaBound_[idx(u)]) {
        done_[idx(u)] = 1;
        return true;
    }
    setTop(parent_[idx(u)], u);
    dist_[idx(u)] = Unreached;
    parent_[idx(u)] = -1;
    viaBound_[idx(u)] = 0;
    for (int s = 0; s <= p_; ++s) {
        if (!done_[idx(s)])
            continue;
        if (s == t_) {
            if (flow_[idx(u)] > lo_)
                relax(s, u, pi_[idx(t_)] - pi_[idx(u)]);
        } else {
            const std::size_t e = idx(s) * idx(p_) + idx(u);
            if (topDelta_[e] < Unreached)
                relax(s, u, topDelta_[e] + pi_[idx(s)] - pi_[idx(u)], !exact_[e]);
        }
    }
    return false;
}

void SizedFlow::relaxFrom(int u)
{
    if (u == t_) {
        for (int c = 0; c < p_; ++c)
            if (!done_[idx(c)] && flow_[idx(c)] > lo_)
                relax(u, c, pi_[idx(t_)] - pi_[idx(c)]);
        return;
    }
    const std::size_t row = idx(u) * idx(p_);
    const double from = pi_[idx(u)];
    for (int b = 0; b < p_; ++b)
        if (!done_[idx(b)] && topDelta_[row + idx(b)] < Unreached)
            relax(u, b, topDelta_[row + idx(b)] + from - pi_[idx(b)], !exact_[row + idx(b)]);
    if (!done_[idx(t_)] && flow_[idx(u)] < hi_)
        relax(u, t_, from - pi_[idx(t_)]);
}

// As many units as the path carries (one when it moves a place), from its source on.
void SizedFlow::augment(int target)
{
    path_.clear();
    for (int v = target; v >= 0; v = parent_[idx(v)])
        path_.push_back(v);
    std::reverse(path_.begin(), path_.end());
    long long units = std::min(excess(path_.front()), -excess(target));
    for (std::size_t k = 0; k + 1 < path_.size(); ++k) {
        const int u = path_[k];
        const int v = path_[k + 1];
        units = std::min<long long>(units, u == t_ ? flow_[idx(v)] - lo_ : v == t_ ? hi_ - flow_[idx(u)] : 1);
    }
    for (std::size_t k = 0; k + 1 < path_.size(); ++k) {
        const int u = path_[k];
        const int v = path_[k + 1];
        if (u == t_) {
            flow_[idx(v)] -= static_cast<int>(units);
            flowSum_ -= units;
        } else if (v == t_) {
            flow_[idx(u)] += static_cast<int>(units);
            flowSum_ += units;
        } else {
            move(topPlace_[idx(u) * idx(p_) + idx(v)], v);
        }
    }
}

// The valid cheapest candidate of the pair (a, b) on top of its heap (rebuilt from a's members
// when it ran dry), copied into the matrices Dijkstra reads.
void SizedFlow::setTop(int a, int b)
{
    MoveList& list = lists_[idx(a) * idx(p_) + idx(b)];
    if (list.length == 0)
        rebuild(a, b, list);
    absorbArrivals(a, b, list);
    for (;;) {
        while (!list.heap.empty() && !valid(list.heap.front(), a)) {
            std::pop_heap(list.heap.begin(), list.heap.end(), laterMove);
            list.heap.pop_back();
        }
        if (!list.heap.empty() || list.bound == Unreached)
            break;
        rebuild(a, b, list);
    }
    const std::size_t e = idx(a) * idx(p_) + idx(b);
    exact_[e] = 1;
    topDelta_[e] = list.heap.empty() ? Unreached : list.heap.front().delta;
    topPlace_[e] = list.heap.empty() ? -1 : list.heap.front().place;
}

void SizedFlow::absorbArrivals(int a, int b, MoveList& list)
{
    const std::vector<Arrival>& arrived = arrivals_[idx(a)];
    for (; list.seen < arrived.size(); ++list.seen) {
        const Arrival& m = arrived[list.seen];
        if (of_[idx(m.place)] != a || stamp_[idx(m.place)] != m.stamp)
            continue;
        const double delta = cost(m.place, b) - cost_[idx(m.place)];
        if (delta < list.bound) {
            list.heap.push_back({ delta, m.place, m.stamp });
            std::push_heap(list.heap.begin(), list.heap.end(), laterMove);
        }
    }
    if (list.heap.size() > 4 * list.length + 64) {
        std::erase_if(list.heap, [&](const MoveCandidate& m) { return !valid(m, a); });
        std::make_heap(list.heap.begin(), list.heap.end(), laterMove);
        list.length = std::max(list.length, list.heap.size());
    }
}

// The cheapest moves of a's members to b, four times as many as the last time (a list that runs
// dry again and again soon holds all of them).
void SizedFlow::rebuild(int a, int b, MoveList& list)
{
    ++stats().listRebuilds;
    list.length = list.length == 0 ? firstLength_ : 4 * list.length;
    scratch_.clear();
    const double bx = in_.cx[idx(b)], by = in_.cy[idx(b)];
    for (int i : members_[idx(a)]) {
        const double dx = in_.x[idx(i)] - bx, dy = in_.y[idx(i)] - by;
        scratch_.push_back(
            { in_.w[idx(i)] * std::sqrt(dx * dx + dy * dy) - cost_[idx(i)], i, stamp_[idx(i)] });
    }
    list.bound = Unreached;
    if (scratch_.size() > list.length) {
        const auto cut = scratch_.begin() + static_cast<std::ptrdiff_t>(list.length);
        std::nth_element(scratch_.begin(), cut, scratch_.end(),
            [](const MoveCandidate& l, const MoveCandidate& r) { return l.delta < r.delta; });
        list.bound = cut->delta;
        scratch_.resize(list.length);
    }
    list.heap.assign(scratch_.begin(), scratch_.end());
    std::make_heap(list.heap.begin(), list.heap.end(), laterMove);
    list.seen = arrivals_[idx(a)].size();
}

// A place moved along an arc of a shortest path: the pairs whose top it was look for their next
// candidate, and the pairs of its new centre take it as a candidate where it is cheap enough.
void SizedFlow::move(int place, int to)
{
    const int from = of_[idx(place)];
    relocate(place, to);
    const std::size_t p = idx(p_);
    for (int b = 0; b < p_; ++b)
        if (topPlace_[idx(from) * p + idx(b)] == place)
            setTop(from, b);
    if (lazy_) {
        const double dx = in_.x[idx(place)] - in_.cx[idx(to)], dy = in_.y[idx(place)] - in_.cy[idx(to)];
        const double away = std::sqrt(dx * dx + dy * dy);
        if (away > reach_[idx(to)] || in_.w[idx(place)] < lightest_[idx(to)]) {
            reach_[idx(to)] = std::max(reach_[idx(to)], away);
            lightest_[idx(to)] = std::min(lightest_[idx(to)], in_.w[idx(place)]);
            boundRow(to);
        }
    }
    const std::uint32_t stamp = stamp_[idx(place)];
    arrivals_[idx(to)].push_back({ place, stamp });
    for (int b = 0; b < p_; ++b) {
        const std::size_t e = idx(to) * p + idx(b);
        if (b == to || !exact_[e])
            continue; // a list not built yet takes the place from the members when it is
        const double delta = cost(place, b) - cost_[idx(place)];
        if (topPlace_[e] >= 0 && delta >= topDelta_[e])
            continue; // not the cheapest: the pair sees it among the arrivals when it needs to
        MoveList& list = lists_[e];
        list.heap.push_back({ delta, place, stamp });
        std::push_heap(list.heap.begin(), list.heap.end(), laterMove);
        topDelta_[e] = delta;
        topPlace_[e] = place;
    }
}

} // namespace dorvan::pmedian::sized
