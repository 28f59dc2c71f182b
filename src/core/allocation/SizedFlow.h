#pragma once

// The flow behind assignWithinSizes (SizedAssignment.h); only its two source files include this.

#include "core/allocation/SizedAssignment.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace dorvan::pmedian::sized {

inline constexpr double Unreached = std::numeric_limits<double>::infinity();

// Up to this many centres each knows the others in order of distance (P x P numbers).
inline constexpr int MaxOrderedCentres = 1024;

inline std::size_t idx(int i)
{
    return static_cast<std::size_t>(i);
}

// The statistics of the running call on this thread.
SizedAssignmentStats& stats();

// A place of centre a that could move to centre b, at weight x (distance to b - distance to a).
// `stamp` tells whether the place has moved since (then the entry is stale).
struct MoveCandidate {
    double delta;
    std::int32_t place;
    std::uint32_t stamp;
};

// The min-heap order of std::push_heap and friends (ties by place, so runs repeat exactly).
struct LaterMove {
    bool operator()(const MoveCandidate& a, const MoveCandidate& b) const
    {
        return a.delta > b.delta || (a.delta == b.delta && a.place > b.place);
    }
};
inline constexpr LaterMove laterMove {};

// The cheapest candidates of one pair of centres (a, b): every member of a outside the heap and
// outside a's arrivals not yet seen has delta >= bound, so the heap's valid top is the pair's
// cheapest move while the heap has one. A place joining a goes into the heap at once only when
// it is the new cheapest; otherwise the pair takes it from a's arrivals when its top is needed
// next (pairs whose top never moves never pay for it).
struct MoveList {
    std::vector<MoveCandidate> heap;
    double bound = 0.0;
    std::size_t length = 0; // how many the last rebuild kept; 0 while never built
    std::size_t seen = 0; // a's arrivals looked at so far
};

// A place that joined a centre during the repair (stale once it moved on: its stamp changed).
struct Arrival {
    std::int32_t place;
    std::uint32_t stamp;
};

// A place that a price change would move to centre `to`, and the change it takes.
struct PriceStep {
    double gap;
    int place;
    int to;
};

struct Inputs {
    std::span<const double> x, y, w, cx, cy;
    std::span<const int> pinned;
};

// The transportation problem as a flow: every place sends one unit to its centre, every centre
// c sends flow_[c] units (between its least and largest size) to the sink T. A centre holding
// more than its flow has an excess, fewer a deficit; T has the excess sum(flow) - n. Residual
// arcs: centre a -> centre b (move a place of a to b), c -> T (flow below the largest size),
// T -> c (flow above the least size). Prices pi_ keep every residual reduced cost
// cost(u, v) + pi_[u] - pi_[v] non-negative, that is every free place sits at a centre c of the
// least cost(i, c) - pi_[c]; each shortest path found by Dijkstra on the P + 1 nodes keeps the
// flow optimal, and when no excess is left the assignment is optimal.
class SizedFlow {
public:
    SizedFlow(const Inputs& in, int lo, int hi)
        : in_(in)
        , n_(static_cast<int>(in.x.size()))
        , p_(static_cast<int>(in.cx.size()))
        , t_(p_)
        , lo_(lo)
        , hi_(hi)
        , of_(idx(n_), -1)
        , cost_(idx(n_), 0.0)
        , stamp_(idx(n_), 0)
        , pos_(idx(n_), -1)
        , members_(idx(p_))
        , arrivals_(idx(p_))
        , count_(idx(p_), 0)
        , flow_(idx(p_), 0)
        , pi_(idx(p_ + 1), 0.0)
        , lists_(idx(p_) * idx(p_))
        , topDelta_(idx(p_) * idx(p_), Unreached)
        , topPlace_(idx(p_) * idx(p_), -1)
        , exact_(idx(p_) * idx(p_), 0)
        , reach_(idx(p_), 0.0)
        , lightest_(idx(p_), Unreached)
        , viaBound_(idx(p_ + 1), 0)
        , dist_(idx(p_ + 1))
        , parent_(idx(p_ + 1))
        , done_(idx(p_ + 1))
    {
        for (int c = 0; c < static_cast<int>(in.pinned.size()); ++c)
            if (in.pinned[idx(c)] >= 0)
                pinnedTo_.emplace_back(in.pinned[idx(c)], c);
        bounded_ = std::all_of(in.w.begin(), in.w.end(), [](double w) { return w >= 0.0; });
        if (bounded_ && p_ <= MaxOrderedCentres)
            orderCentres();
        // about 16 candidates a place if every list were built (only the lists of near pairs
        // are, as a rule), 32 to 4,096 a list
        firstLength_
            = std::clamp<std::size_t>(16 * idx(n_) / std::max<std::size_t>(1, idx(p_) * idx(p_)), 32, 4096);
    }

    // The centre (other than `skip`, -1 for none) of least cost(i, c) - pi_[c], and that cost:
    // searched from `guess` outwards by distance between centres while the triangle inequality
    // allows a cheaper one (a plain scan where the bounds do not hold or guess is -1).
    struct Choice {
        int centre;
        double cost;
    };
    Choice cheapest(int i, int guess, int skip, double topPrice) const;
    double topPrice() const { return *std::max_element(pi_.begin(), pi_.end() - 1); }

    double cost(int i, int c) const
    {
        const double dx = in_.x[idx(i)] - in_.cx[idx(c)];
        const double dy = in_.y[idx(i)] - in_.cy[idx(c)];
        return in_.w[idx(i)] * std::sqrt(dx * dx + dy * dy);
    }

    void pricesFrom(std::span<const std::int32_t> start);
    void placeAll(std::span<const std::int32_t> guesses);
    void balancePrices(const std::atomic<bool>* cancel);
    void startFlows();
    bool repair(const std::atomic<bool>* cancel);

    std::vector<std::int32_t> takeAssignment() { return std::move(of_); }
    const std::vector<double>& prices() const { return pi_; }
    void setPrices(std::vector<double> prices) { pi_ = std::move(prices); }

private:
    long long excess(int v) const
    {
        return v == t_ ? flowSum_ - n_ : static_cast<long long>(count_[idx(v)]) - flow_[idx(v)];
    }
    double value(int i) const { return cost_[idx(i)] - pi_[idx(of_[idx(i)])]; }

    void relocate(int place, int to);
    void pushOut(int centre, int surplus, double cap);
    void pullIn(int centre, int shortfall, double cap);
    int shortestPath();
    void relax(int u, int v, double reduced, bool bound = false)
    {
        const double d = dist_[idx(u)] + std::max(reduced, 0.0); // rounding may leave a tiny negative
        if (d < dist_[idx(v)]) {
            dist_[idx(v)] = d;
            parent_[idx(v)] = u;
            viaBound_[idx(v)] = bound;
        }
    }
    void relaxFrom(int u);
    void augment(int target);
    bool valid(const MoveCandidate& m, int centre) const
    {
        return of_[idx(m.place)] == centre && stamp_[idx(m.place)] == m.stamp;
    }
    void setTop(int a, int b);
    void absorbArrivals(int a, int b, MoveList& list);
    void rebuild(int a, int b, MoveList& list);
    void move(int place, int to);
    void measureReach(int a);
    void orderCentres();
    double apart(int a, int b) const
    {
        return apart_.empty() ? std::hypot(in_.cx[idx(a)] - in_.cx[idx(b)], in_.cy[idx(a)] - in_.cy[idx(b)])
                              : apart_[idx(a) * idx(p_) + idx(b)];
    }
    void boundRow(int a);
    bool settleOrRevise(int u);

    Inputs in_;
    int n_;
    int p_;
    int t_; // the sink's node
    int lo_;
    int hi_;
    std::vector<std::pair<int, int>> pinnedTo_; // (place, centre)
    std::vector<std::int32_t> of_;
    std::vector<double> cost_;
    std::vector<std::uint32_t> stamp_;
    std::vector<int> pos_; // index in its centre's members (free places only)
    std::vector<std::vector<int>> members_; // the free places of each centre
    std::vector<std::vector<Arrival>> arrivals_; // per centre, the places moved into it
    std::vector<int> count_; // all places of each centre, pinned ones included
    std::vector<int> flow_;
    long long flowSum_ = 0;
    std::vector<double> pi_;
    std::vector<MoveList> lists_;
    std::vector<double> topDelta_; // per pair (a, b): the cheapest move's delta, or Unreached
    std::vector<int> topPlace_; // and its place
    // A pair's list is built when first needed where the centres are far apart (more than twice
    // the reach of a's places): until then topDelta_ holds a lower bound of its cheapest move,
    // lightest x (distance between the centres - 2 x reach), by the triangle inequality.
    std::vector<char> exact_; // per pair: the list is built and topDelta_ is exact
    std::vector<double> reach_; // per centre: the farthest of its free places, or more
    std::vector<double> lightest_; // per centre: the least weight of its free places, or less
    std::vector<char> viaBound_; // per node: its tentative distance came along a lower bound
    bool lazy_ = true; // far pairs' lists built when needed
    bool bounded_ = true; // no weight below zero: the triangle inequality bounds costs
    std::vector<double> apart_; // per pair of centres their distance (up to MaxOrderedCentres)
    std::vector<int> nearOrder_; // per centre every centre by distance from it, itself first
    std::vector<double> dist_;
    std::vector<int> parent_;
    std::vector<char> done_;
    std::vector<int> path_;
    std::vector<MoveCandidate> scratch_;
    std::vector<PriceStep> steps_;
    std::size_t firstLength_ = 16;
};

// An optimal assignment and the prices that prove it.
struct Solved {
    std::vector<std::int32_t> assignment;
    std::vector<double> prices;
};

// The whole solve on checked inputs (hi already at most n): prices from `start` when it gives a
// centre to half the places or more, else at scale from a sample of the places, then the
// repair. Nothing when cancelled.
std::optional<Solved> solve(
    const Inputs& in, int lo, int hi, std::span<const std::int32_t> start, const std::atomic<bool>* cancel);

} // namespace dorvan::pmedian::sized
