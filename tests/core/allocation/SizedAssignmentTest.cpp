#include "core/allocation/SizedAssignment.h"

#include "core/allocation/ConstrainedGroups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using dorvan::pmedian::assignWithinSizes;
using dorvan::pmedian::lastSizedAssignmentStats;
using dorvan::pmedian::SizeLimits;

namespace {

struct SizedCase {
    std::vector<double> x, y, w, cx, cy;
    std::vector<int> pinned;
    SizeLimits limits;
    int n() const { return static_cast<int>(x.size()); }
    int p() const { return static_cast<int>(cx.size()); }
    double cost(int i, int c) const { return w[i] * std::hypot(x[i] - cx[c], y[i] - cy[c]); }
    double total(const std::vector<std::int32_t>& of) const
    {
        long double t = 0;
        for (int i = 0; i < n(); ++i)
            t += cost(i, of[i]);
        return static_cast<double>(t);
    }
    std::optional<std::vector<std::int32_t>> solve(std::span<const std::int32_t> start = {}) const
    {
        return assignWithinSizes(x, y, w, cx, cy, pinned, limits, start);
    }
};

// Places on a coarse grid (so that equal distances and equal places happen), weights 0 to 9.
SizedCase randomSizedCase(int n, int p, SizeLimits limits, int pins, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> coord(0, 20);
    std::uniform_int_distribution<int> weight(0, 9);
    SizedCase s;
    for (int i = 0; i < n; ++i) {
        s.x.push_back(coord(gen) * 5.0);
        s.y.push_back(coord(gen) * 5.0);
        s.w.push_back(weight(gen));
    }
    for (int c = 0; c < p; ++c) {
        s.cx.push_back(coord(gen) * 5.0 + 1.5);
        s.cy.push_back(coord(gen) * 5.0 - 0.5);
    }
    s.limits = limits;
    if (pins > 0) {
        s.pinned.assign(p, -1);
        for (int c = 0; c < pins; ++c) {
            s.pinned[c] = 2 * c + 1; // existing centres stand on their places
            s.cx[c] = s.x[2 * c + 1];
            s.cy[c] = s.y[2 * c + 1];
        }
    }
    return s;
}

// The sizes and pins of an answer, checked here.
void expectKeepsSizes(const SizedCase& s, const std::vector<std::int32_t>& of, const std::string& what)
{
    ASSERT_EQ(static_cast<int>(of.size()), s.n()) << what;
    std::vector<int> count(s.p(), 0);
    for (std::int32_t c : of) {
        ASSERT_GE(c, 0) << what;
        ASSERT_LT(c, s.p()) << what;
        ++count[c];
    }
    for (int c = 0; c < s.p(); ++c) {
        EXPECT_GE(count[c], s.limits.minPlaces) << what << " centre " << c;
        if (s.limits.maxPlaces > 0) {
            EXPECT_LE(count[c], s.limits.maxPlaces) << what << " centre " << c;
        }
        if (!s.pinned.empty() && s.pinned[c] >= 0) {
            EXPECT_EQ(of[s.pinned[c]], c) << what << " pinned place of centre " << c;
        }
    }
}

// Every assignment of up to 8 places, the cheapest that keeps the sizes and pins.
double cheapestOfAllAssignments(const SizedCase& s)
{
    double best = std::numeric_limits<double>::infinity();
    std::vector<std::int32_t> of(s.n(), 0);
    for (;;) {
        std::vector<int> count(s.p(), 0);
        for (int c : of)
            ++count[c];
        bool ok = true;
        for (int c = 0; c < s.p() && ok; ++c)
            ok = count[c] >= s.limits.minPlaces && (s.limits.maxPlaces == 0 || count[c] <= s.limits.maxPlaces)
                && (s.pinned.empty() || s.pinned[c] < 0 || of[s.pinned[c]] == c);
        if (ok)
            best = std::min(best, s.total(of));
        int k = 0;
        while (k < s.n() && ++of[k] == s.p())
            of[k++] = 0;
        if (k == s.n())
            return best;
    }
}

// A textbook min-cost flow on the whole bipartite graph (source -> place -> centre -> sink, the
// least sizes as arcs of a cost below any assignment's), shortest paths by Bellman-Ford with a
// queue. Returns the total, or infinity when the sizes cannot work.
double denseMinCostFlow(const SizedCase& s)
{
    struct Arc {
        int to;
        int cap;
        double cost;
    };
    const int n = s.n(), p = s.p();
    const int source = n + p, sink = source + 1, nodes = sink + 1;
    std::vector<Arc> arcs;
    std::vector<std::vector<int>> out(nodes);
    auto add = [&](int u, int v, int cap, double cost) {
        out[u].push_back(static_cast<int>(arcs.size()));
        arcs.push_back({ v, cap, cost });
        out[v].push_back(static_cast<int>(arcs.size()));
        arcs.push_back({ u, 0, -cost });
    };
    double scale = 1.0;
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < p; ++c)
            scale += s.cost(i, c);
    for (int i = 0; i < n; ++i) {
        add(source, i, 1, 0.0);
        for (int c = 0; c < p; ++c)
            if (s.pinned.empty() || std::find(s.pinned.begin(), s.pinned.end(), i) == s.pinned.end()
                || s.pinned[c] == i)
                add(i, n + c, 1, s.cost(i, c));
    }
    const int hi = s.limits.maxPlaces > 0 ? s.limits.maxPlaces : n;
    for (int c = 0; c < p; ++c) {
        add(n + c, sink, s.limits.minPlaces, -scale); // the least size first, at any price
        add(n + c, sink, hi - s.limits.minPlaces, 0.0);
    }
    for (int unit = 0; unit < n; ++unit) {
        std::vector<double> d(nodes, std::numeric_limits<double>::infinity());
        std::vector<int> via(nodes, -1), inQueue(nodes, 0);
        std::vector<int> queue { source };
        d[source] = 0;
        for (std::size_t q = 0; q < queue.size(); ++q) {
            const int u = queue[q];
            inQueue[u] = 0;
            for (int a : out[u])
                if (arcs[a].cap > 0 && d[u] + arcs[a].cost < d[arcs[a].to] - 1e-9) {
                    d[arcs[a].to] = d[u] + arcs[a].cost;
                    via[arcs[a].to] = a;
                    if (!inQueue[arcs[a].to]) {
                        inQueue[arcs[a].to] = 1;
                        queue.push_back(arcs[a].to);
                    }
                }
        }
        if (via[sink] < 0)
            return std::numeric_limits<double>::infinity();
        for (int v = sink; v != source; v = arcs[via[v] ^ 1].to) {
            --arcs[via[v]].cap;
            ++arcs[via[v] ^ 1].cap;
        }
    }
    std::vector<std::int32_t> of(n, -1);
    for (int i = 0; i < n; ++i)
        for (int a : out[i])
            if (arcs[a].to >= n && arcs[a].to < n + p && arcs[a].cap == 0 && (a % 2) == 0)
                of[i] = arcs[a].to - n;
    for (int c = 0; c < p; ++c)
        for (int a : out[n + c])
            if (arcs[a].to == sink && arcs[a].cost < 0 && arcs[a].cap > 0)
                return std::numeric_limits<double>::infinity(); // a least size not reached
    return s.total(of);
}

// An optimality certificate worked out here from the answer alone: on the graph of the centres
// (a -> b: the cheapest move of a free place of a to b; a -> T while a holds fewer than its
// largest size, T -> a while more than its least) no cycle has a negative cost.
bool hasCheaperChain(const SizedCase& s, const std::vector<std::int32_t>& of)
{
    const int p = s.p(), t = p;
    const int hi = s.limits.maxPlaces > 0 ? s.limits.maxPlaces : s.n();
    std::vector<double> arc(p * p, std::numeric_limits<double>::infinity());
    std::vector<int> count(p, 0);
    for (int i = 0; i < s.n(); ++i) {
        ++count[of[i]];
        if (std::find(s.pinned.begin(), s.pinned.end(), i) != s.pinned.end())
            continue;
        for (int b = 0; b < p; ++b)
            arc[of[i] * p + b] = std::min(arc[of[i] * p + b], s.cost(i, b) - s.cost(i, of[i]));
    }
    std::vector<double> d(p + 1, 0.0);
    const double slack = 1e-9 * (1.0 + s.total(of));
    for (int round = 0; round <= p + 1; ++round) {
        bool changed = false;
        auto relax = [&](int u, int v, double c) {
            if (d[u] + c < d[v] - slack) {
                d[v] = d[u] + c;
                changed = true;
            }
        };
        for (int a = 0; a < p; ++a) {
            for (int b = 0; b < p; ++b)
                if (a != b)
                    relax(a, b, arc[a * p + b]);
            if (count[a] < hi)
                relax(a, t, 0.0);
            if (count[a] > s.limits.minPlaces)
                relax(t, a, 0.0);
        }
        if (!changed)
            return false;
    }
    return true;
}

} // namespace

TEST(SizedAssignment, MatchesEveryAssignmentOfAFewPlaces)
{
    struct Case {
        int n, p;
        SizeLimits limits;
        int pins;
    };
    const std::vector<Case> cases = {
        { 6, 2, { 0, 3 }, 0 },
        { 7, 3, { 0, 3 }, 1 },
        { 8, 3, { 2, 3 }, 0 },
        { 8, 2, { 3, 0 }, 2 },
        { 7, 3, { 2, 0 }, 3 },
        { 7, 4, { 1, 2 }, 2 },
        { 5, 1, { 5, 5 }, 1 },
        { 8, 3, { 0, 0 }, 1 },
        { 6, 3, { 1, 2 }, 0 },
        { 8, 2, { 0, 4 }, 0 },
        { 1, 1, { 1, 1 }, 0 },
        { 7, 4, { 1, 0 }, 3 },
    };
    unsigned seed = 3;
    for (const Case& c : cases)
        for (int repeat = 0; repeat < 4; ++repeat) {
            SizedCase s = randomSizedCase(c.n, c.p, c.limits, c.pins, seed++);
            if (repeat == 3)
                for (int i = 1; i < c.n; i += 2)
                    s.w[i] = -s.w[i]; // a weight below zero prefers the farthest centre
            const std::string what = "n=" + std::to_string(c.n) + " P=" + std::to_string(c.p)
                + " min=" + std::to_string(c.limits.minPlaces) + " max=" + std::to_string(c.limits.maxPlaces)
                + " pins=" + std::to_string(c.pins) + " seed=" + std::to_string(seed - 1);
            const auto got = s.solve();
            ASSERT_TRUE(got) << what;
            expectKeepsSizes(s, *got, what);
            const double best = cheapestOfAllAssignments(s);
            EXPECT_NEAR(s.total(*got), best, 1e-9 * (1 + std::fabs(best))) << what;
        }
}

TEST(SizedAssignment, MatchesTheGroupProposalsAssignmentAndADenseFlow)
{
    // assignPlaces holds at least 3 places a group; the dense flow allows any least size.
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const int n = 30 + static_cast<int>(seed) * 7, p = 3 + static_cast<int>(seed % 5);
        const int m = (n + p - 1) / p + static_cast<int>(seed % 3);
        SizedCase s = randomSizedCase(n, p, { 3, m }, static_cast<int>(seed % 3), 100 + seed);
        std::vector<dorvan::GroupSite> sites;
        for (int i = 0; i < n; ++i)
            sites.push_back({ "M" + std::to_string(i), s.x[i], s.y[i], static_cast<long double>(s.w[i]) });
        const std::vector<long double> cx(s.cx.begin(), s.cx.end()), cy(s.cy.begin(), s.cy.end());
        std::vector<int> pinned = s.pinned.empty() ? std::vector<int>(p, -1) : s.pinned;
        const std::vector<int> theirs = dorvan::assignPlaces(sites, cx, cy, pinned, m);
        const auto ours = s.solve();
        const std::string what = "seed=" + std::to_string(seed);
        ASSERT_TRUE(ours) << what;
        expectKeepsSizes(s, *ours, what);
        const double theirTotal = s.total(std::vector<std::int32_t>(theirs.begin(), theirs.end()));
        EXPECT_NEAR(s.total(*ours), theirTotal, 1e-9 * theirTotal) << what;
        EXPECT_NEAR(s.total(*ours), denseMinCostFlow(s), 1e-9 * theirTotal) << what;

        s.limits = { static_cast<int>(seed % 4) * 2, static_cast<int>(seed % 2) * (m + 4) };
        const auto loose = s.solve();
        ASSERT_TRUE(loose) << what;
        expectKeepsSizes(s, *loose, what + " loose");
        EXPECT_NEAR(s.total(*loose), denseMinCostFlow(s), 1e-9 * theirTotal) << what << " loose";
    }
}

TEST(SizedAssignment, LargerAnswersHaveNoCheaperChainColdOrWarm)
{
    // Uniform places with real-valued weights; the centres then move a little and the previous
    // answer warm-starts the next call, which must find the same optimum as a cold one.
    std::mt19937_64 gen(77);
    std::uniform_real_distribution<double> coord(0.0, 1000.0), weight(0.5, 20.0);
    SizedCase s;
    const int n = 2500, p = 25;
    for (int i = 0; i < n; ++i) {
        s.x.push_back(coord(gen));
        s.y.push_back(coord(gen));
        s.w.push_back(weight(gen));
    }
    for (int c = 0; c < p; ++c) {
        s.cx.push_back(coord(gen));
        s.cy.push_back(coord(gen));
    }
    s.pinned.assign(p, -1);
    s.pinned[4] = 17;
    s.limits = { 80, 120 };
    const auto cold = s.solve();
    ASSERT_TRUE(cold);
    expectKeepsSizes(s, *cold, "cold");
    EXPECT_FALSE(hasCheaperChain(s, *cold));
    const long long coldPaths = lastSizedAssignmentStats().augmentations;
    EXPECT_GT(coldPaths, 0);

    std::normal_distribution<double> nudge(0.0, 2.0);
    for (int c = 0; c < p; ++c) {
        s.cx[c] += nudge(gen);
        s.cy[c] += nudge(gen);
    }
    const auto warm = s.solve(*cold);
    const long long warmPaths = lastSizedAssignmentStats().augmentations;
    const auto again = s.solve();
    ASSERT_TRUE(warm && again);
    expectKeepsSizes(s, *warm, "warm");
    EXPECT_FALSE(hasCheaperChain(s, *warm));
    EXPECT_NEAR(s.total(*warm), s.total(*again), 1e-9 * s.total(*again));
    EXPECT_LT(warmPaths * 2, lastSizedAssignmentStats().augmentations) << "the warm start repairs little";

    // any start gives the optimum, even one far from the sizes or with places left out (-1)
    std::vector<std::int32_t> crowdedStart(n, 2);
    std::fill(crowdedStart.begin(), crowdedStart.begin() + n / 3, -1);
    const auto crowded = s.solve(crowdedStart);
    ASSERT_TRUE(crowded);
    expectKeepsSizes(s, *crowded, "crowded start");
    EXPECT_NEAR(s.total(*crowded), s.total(*again), 1e-9 * s.total(*again));

    // the certificate itself can fail: swap two places of different centres of the answer
    std::vector<std::int32_t> worse = *warm;
    int a = 0, b = 1;
    while (worse[a] == worse[b] || worse[a] == 4 || worse[b] == 4 || a == 17 || b == 17)
        ++b;
    std::swap(worse[a], worse[b]);
    EXPECT_TRUE(hasCheaperChain(s, worse) || s.total(worse) == s.total(*warm));
}

TEST(SizedAssignment, ColdStartFromASampleAtScaleIsExact)
{
    // 20,000 places take their first prices from a solve of a quarter of them; the answer must
    // still be an optimum within both limits, with its pinned place where it belongs.
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> coord(0.0, 100.0), weight(0.0, 3.0);
    SizedCase s;
    const int n = 20000, p = 12;
    for (int i = 0; i < n; ++i) {
        s.x.push_back(coord(gen));
        s.y.push_back(coord(gen) * 0.3); // a strip: the centres' cells are far from equal
        s.w.push_back(weight(gen));
    }
    for (int c = 0; c < p; ++c) {
        s.cx.push_back(coord(gen) * 0.5);
        s.cy.push_back(coord(gen) * 0.3);
    }
    s.pinned.assign(p, -1);
    s.pinned[7] = 12345;
    s.limits = { 1500, 1750 };
    const auto cold = s.solve();
    ASSERT_TRUE(cold);
    expectKeepsSizes(s, *cold, "sampled prices");
    EXPECT_FALSE(hasCheaperChain(s, *cold));

    const std::atomic<bool> cancelled { true };
    EXPECT_FALSE(assignWithinSizes(s.x, s.y, s.w, s.cx, s.cy, s.pinned, s.limits, {}, &cancelled));
}

TEST(SizedAssignment, RefusesSizesThatCannotWorkAndBadInput)
{
    SizedCase s = randomSizedCase(10, 3, {}, 0, 9);
    auto with = [&](SizeLimits limits, std::vector<int> pinned = {}) {
        SizedCase t = s;
        t.limits = limits;
        t.pinned = std::move(pinned);
        return t.solve();
    };
    EXPECT_FALSE(with({ 4, 0 })); // 3 x 4 > 10
    EXPECT_FALSE(with({ 0, 3 })); // 3 x 3 < 10
    EXPECT_FALSE(with({ 4, 3 }));
    EXPECT_FALSE(with({ 0, 0 }, { 2, 5, 2 })); // one place pinned to two centres
    EXPECT_TRUE(with({ 3, 4 }, { 2, 5, -1 }));
    EXPECT_TRUE(with({ 0, 10 }));
    EXPECT_FALSE(assignWithinSizes(s.x, s.y, s.w, {}, {}, {}, {}));
    EXPECT_TRUE(assignWithinSizes({}, {}, {}, s.cx, s.cy, {}, { 0, 5 }).value().empty());

    EXPECT_THROW(with({}, { 1, 2 }), std::invalid_argument); // not one entry a centre
    EXPECT_THROW(with({}, { 1, 2, 10 }), std::invalid_argument);
    SizedCase bad = s;
    bad.w[3] = std::nan("");
    EXPECT_THROW(bad.solve(), std::invalid_argument);
    EXPECT_THROW(s.solve(std::vector<std::int32_t>(10, 3)), std::invalid_argument);
    EXPECT_THROW(s.solve(std::vector<std::int32_t>(10, -2)), std::invalid_argument);
    EXPECT_THROW(s.solve(std::vector<std::int32_t>(9, 0)), std::invalid_argument);
    SizedCase huge = s;
    huge.cx[1] = 1e200;
    EXPECT_FALSE(huge.solve()); // refused, not thrown: the engine's threads call it
    try {
        bad.solve();
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()), "Priradenie miest: súradnice a váhy musia byť konečné čísla.");
    }

    const std::atomic<bool> cancelled { true };
    s.limits = { 0, 4 };
    EXPECT_FALSE(assignWithinSizes(s.x, s.y, s.w, s.cx, s.cy, {}, s.limits, {}, &cancelled));
}
