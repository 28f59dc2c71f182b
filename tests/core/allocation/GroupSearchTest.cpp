#include "core/allocation/GroupSearch.h"

#include "support/GroupReference.h"

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

using group_reference::bruteForce;
using group_reference::randomSites;

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
            = group_reference::cost(s, g.members, static_cast<double>(g.centre.x), static_cast<double>(g.centre.y));
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
        const double ref = bruteForce(s, c.p);
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
