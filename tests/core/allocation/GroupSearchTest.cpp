#include "core/allocation/GroupSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

std::vector<GroupSite> randomSites(int n, unsigned seed, bool weighted = true)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> coord(0.0, 100.0);
    std::uniform_int_distribution<int> weight(1, 9);
    std::vector<GroupSite> s;
    for (int i = 0; i < n; ++i)
        s.push_back({ "M" + std::to_string(i + 1), coord(gen), coord(gen),
            weighted ? static_cast<long double>(weight(gen)) : 1.0L });
    return s;
}

// The reference written apart from the code under test: a textbook Weiszfeld iteration with a
// check of every place by Kuhn's condition, then a brute force over every labelling.
double refCost(const std::vector<GroupSite>& s, const std::vector<int>& m, double x, double y)
{
    double f = 0.0;
    for (int i : m)
        f += static_cast<double>(s[i].weight) * std::hypot(s[i].x - x, s[i].y - y);
    return f;
}

double refWeber(const std::vector<GroupSite>& s, const std::vector<int>& m)
{
    for (int j : m) {
        double gx = 0.0, gy = 0.0;
        for (int i : m)
            if (i != j) {
                const double d = std::hypot(s[i].x - s[j].x, s[i].y - s[j].y);
                gx += static_cast<double>(s[i].weight) * (s[i].x - s[j].x) / d;
                gy += static_cast<double>(s[i].weight) * (s[i].y - s[j].y) / d;
            }
        if (std::hypot(gx, gy) <= static_cast<double>(s[j].weight))
            return refCost(s, m, s[j].x, s[j].y);
    }
    double x = 0.0, y = 0.0;
    for (int i : m) {
        x += s[i].x / static_cast<double>(m.size());
        y += s[i].y / static_cast<double>(m.size());
    }
    for (int it = 0; it < 100000; ++it) {
        double nx = 0.0, ny = 0.0, den = 0.0;
        for (int i : m) {
            const double d = std::max(std::hypot(s[i].x - x, s[i].y - y), 1e-300);
            nx += static_cast<double>(s[i].weight) * s[i].x / d;
            ny += static_cast<double>(s[i].weight) * s[i].y / d;
            den += static_cast<double>(s[i].weight) / d;
        }
        const double step = std::hypot(nx / den - x, ny / den - y);
        x = nx / den;
        y = ny / den;
        if (step < 1e-13)
            break;
    }
    return refCost(s, m, x, y);
}

// The least total over all labellings of the places with p labels, every label used 3 times or
// more; Weber costs cached by subset.
double bruteForceTotal(const std::vector<GroupSite>& s, int p)
{
    const int n = static_cast<int>(s.size());
    std::vector<double> cost(1u << n, -1.0);
    auto costOf = [&](unsigned mask) {
        if (cost[mask] < 0.0) {
            std::vector<int> m;
            for (int i = 0; i < n; ++i)
                if (mask & (1u << i))
                    m.push_back(i);
            cost[mask] = refWeber(s, m);
        }
        return cost[mask];
    };
    double best = std::numeric_limits<double>::infinity();
    std::vector<int> label(n, 0);
    while (true) {
        std::vector<unsigned> masks(p, 0);
        for (int i = 0; i < n; ++i)
            masks[label[i]] |= 1u << i;
        if (std::all_of(masks.begin(), masks.end(), [](unsigned m) { return std::popcount(m) >= 3; })) {
            double t = 0.0;
            for (unsigned m : masks)
                t += costOf(m);
            best = std::min(best, t);
        }
        int k = 0;
        while (k < n && ++label[k] == p)
            label[k++] = 0;
        if (k == n)
            break;
    }
    return best;
}

// Every place in exactly one group, every group 3 places or more, each group's objective and
// the total as recomputed from the coordinates.
void expectSound(const GroupSearchResult& r, const std::vector<GroupSite>& s, int p)
{
    ASSERT_EQ(static_cast<int>(r.groups.size()), p);
    std::vector<int> seen(s.size(), 0);
    double total = 0.0;
    for (const FoundGroup& g : r.groups) {
        EXPECT_GE(g.members.size(), 3u);
        for (int i : g.members)
            ++seen[static_cast<std::size_t>(i)];
        const double f
            = refCost(s, g.members, static_cast<double>(g.centre.x), static_cast<double>(g.centre.y));
        EXPECT_NEAR(static_cast<double>(g.centre.objective), f, 1e-9 * f + 1e-12);
        total += f;
    }
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int c) { return c == 1; }));
    EXPECT_NEAR(static_cast<double>(r.total), total, 1e-9 * total);
    EXPECT_GE(r.bestFound, 1);
    EXPECT_LE(r.bestFound, r.starts);
}

} // namespace

TEST(GroupSearch, SmallProjectsEqualTheBruteForceOptimum)
{
    struct Case {
        int n;
        int p;
        unsigned seed;
    };
    // Up to 10 places every partition is tried; above that the multi-start search runs.
    for (const Case c : { Case { 6, 2, 1 }, Case { 8, 2, 2 }, Case { 9, 3, 3 }, Case { 10, 3, 4 },
             Case { 12, 2, 5 }, Case { 11, 3, 7 }, Case { 12, 3, 6 } }) {
        SCOPED_TRACE("n=" + std::to_string(c.n) + " p=" + std::to_string(c.p));
        const auto s = randomSites(c.n, c.seed);
        const GroupSearchResult r = searchGroups(s, { c.p, DefaultGroupStarts, 1 });
        EXPECT_EQ(r.exact, c.n <= ExactGroupSearchPlaces);
        expectSound(r, s, c.p);
        const double ref = bruteForceTotal(s, c.p);
        EXPECT_NEAR(static_cast<double>(r.total), ref, 1e-7 * ref);
    }
}

TEST(GroupSearch, FarApartClustersSplitAndAHeavyPlaceIsItsGroupsCentre)
{
    // Two clusters of 10 places 1000 apart; place 3 weighs more than the rest of its cluster.
    std::vector<GroupSite> s;
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> jitter(0.0, 10.0);
    for (int i = 0; i < 20; ++i)
        s.push_back({ "P" + std::to_string(i), (i % 2 ? 1000.0 : 0.0) + jitter(gen), jitter(gen), 1.0L });
    s[2].weight = 50.0L;
    const GroupSearchResult r = searchGroups(s, { 2, DefaultGroupStarts, 7 });
    expectSound(r, s, 2);
    ASSERT_EQ(r.groups.size(), 2u);
    for (const FoundGroup& g : r.groups) {
        ASSERT_EQ(g.members.size(), 10u);
        for (int i : g.members)
            EXPECT_EQ(i % 2, g.members.front() % 2);
    }
    const FoundGroup& even = r.groups[0];
    EXPECT_EQ(even.centre.onPlace, 2);
    EXPECT_EQ(even.centre.x, static_cast<long double>(s[2].x));
    EXPECT_EQ(even.centre.y, static_cast<long double>(s[2].y));
    EXPECT_EQ(r.bestFound, r.starts);
}

TEST(GroupSearch, LargerProjectsAreSoundAndRepeatForTheSameSeed)
{
    for (const auto& [n, p] :
        { std::pair { 27, 3 }, std::pair { 50, 8 }, std::pair { 99, 5 }, std::pair { 18, 6 } }) {
        SCOPED_TRACE("n=" + std::to_string(n) + " p=" + std::to_string(p));
        const auto s = randomSites(n, static_cast<unsigned>(n * 31 + p));
        const GroupSearchResult a = searchGroups(s, { p, 8, 42 });
        expectSound(a, s, p);
        EXPECT_EQ(a.starts, 8);
        const GroupSearchResult b = searchGroups(s, { p, 8, 42 });
        EXPECT_EQ(a.total, b.total);
        EXPECT_EQ(groupListLines(a, s), groupListLines(b, s));
        // More centres never cost more than one centre for all.
        EXPECT_LT(a.total, singleCentreTotal(s));
    }
}

TEST(GroupSearch, ACancelledSearchStopsBeforeItsNextStart)
{
    const auto s = randomSites(30, 3);
    std::atomic<bool> cancel { true };
    const GroupSearchResult r = searchGroups(s, { 3, 50, 1 }, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.starts, 0);
    EXPECT_TRUE(r.groups.empty());
}

TEST(GroupSearch, RefusesCentreCountsAndPlacesItCannotGroup)
{
    auto s = randomSites(9, 1);
    EXPECT_EQ(groupSearchProblem(s, 1), "Počet centier musí byť od 2 do 3 !!!");
    EXPECT_EQ(groupSearchProblem(s, 4), "Počet centier musí byť od 2 do 3 !!!");
    EXPECT_EQ(groupSearchProblem(s, 3), std::nullopt);
    EXPECT_EQ(groupSearchProblem(randomSites(5, 1), 2), "Na 2 centrá treba aspoň 6 miest !!!");
    s[4].weight = -1.0L;
    EXPECT_EQ(groupSearchProblem(s, 2), "Miesto M5 má zápornú alebo neplatnú váhu !!!");
    s[4].weight = 1.0L;
    s[0].x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(groupSearchProblem(s, 2), "Miesto M1 nemá platné súradnice !!!");
    s[0].x = 1.0;
    s[7].name = "M3";
    EXPECT_EQ(groupSearchProblem(s, 2), "Meno miesta M3 sa opakuje, skupiny ho nerozlíšia !!!");
}

TEST(GroupSearch, WeberPointOfThreePlacesAndTheGroupLines)
{
    // An equilateral-free triangle with all angles below 120 degrees: the Fermat point of
    // (0,0), (4,0), (0,4) lies on the diagonal x = y, at 4/(3+sqrt 3) from the axes.
    const std::vector<GroupSite> s { { "A", 0, 0, 1 }, { "B", 4, 0, 1 }, { "C", 0, 4, 1 } };
    const std::vector<int> all { 0, 1, 2 };
    const WeberResult w = weberPoint(s, all);
    const double t = 4.0 / (3.0 + std::sqrt(3.0));
    EXPECT_NEAR(static_cast<double>(w.x), t, 1e-12);
    EXPECT_NEAR(static_cast<double>(w.y), t, 1e-12);
    EXPECT_EQ(w.onPlace, -1);
    GroupSearchResult r;
    r.groups = { { { 0, 2 }, {} }, { { 1 }, {} } };
    EXPECT_EQ(groupListLines(r, s),
        (std::vector<std::string> { "--- Skupina 1 ---", "A", "C", "--- Skupina 2 ---", "B" }));
}
