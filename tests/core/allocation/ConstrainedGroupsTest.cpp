#include "core/allocation/ConstrainedGroups.h"

#include "support/GroupReference.h"

#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>

using namespace dorvan;

namespace {

using group_reference::bruteForce;
using group_reference::cost;
using group_reference::typedSites;

// What every result must satisfy, recomputed here from its members.
void expectKeepsRules(const std::vector<GroupSite>& sites, const GroupSearchResult& r, int centres,
    const std::vector<int>& fixed, int m, const std::string& what)
{
    ASSERT_EQ(static_cast<int>(r.groups.size()), centres) << what;
    std::vector<int> seen(sites.size(), 0);
    double total = 0.0;
    for (std::size_t g = 0; g < r.groups.size(); ++g) {
        const FoundGroup& group = r.groups[g];
        EXPECT_GE(group.members.size(), 3u) << what;
        if (m > 0) {
            EXPECT_LE(static_cast<int>(group.members.size()), m) << what;
        }
        for (int i : group.members)
            ++seen[i];
        if (g < fixed.size()) {
            // fixed groups come first, in the order given, and never move
            EXPECT_EQ(group.fixedPlace, fixed[g]) << what;
            EXPECT_TRUE(std::count(group.members.begin(), group.members.end(), fixed[g])) << what;
            EXPECT_EQ(static_cast<double>(group.centre.x), sites[fixed[g]].x) << what;
            EXPECT_EQ(static_cast<double>(group.centre.y), sites[fixed[g]].y) << what;
            total += cost(sites, group.members, sites[fixed[g]].x, sites[fixed[g]].y);
        } else {
            EXPECT_EQ(group.fixedPlace, -1) << what;
            for (int f : fixed)
                EXPECT_FALSE(std::count(group.members.begin(), group.members.end(), f)) << what;
            total += cost(sites, group.members, static_cast<double>(group.centre.x),
                static_cast<double>(group.centre.y));
        }
    }
    for (int c : seen)
        EXPECT_EQ(c, 1) << what << ": every place in exactly one group";
    EXPECT_NEAR(static_cast<double>(r.total), total, 1e-9 * total) << what;
}

} // namespace

TEST(ConstrainedGroups, ExactSearchMatchesBruteForceWithFixedCentresAndLimits)
{
    struct Case {
        int n;
        int centres;
        std::vector<int> fixed;
        int m;
    };
    const std::vector<Case> cases = {
        { 6, 2, { 0 }, 0 }, { 6, 2, {}, 3 }, { 6, 1, { 4 }, 0 }, { 7, 2, { 3 }, 4 }, { 7, 2, { 1, 5 }, 0 },
        { 8, 2, {}, 4 }, { 8, 2, { 2 }, 5 }, { 9, 3, { 0, 8 }, 0 }, { 9, 3, {}, 3 }, { 9, 3, { 4 }, 4 },
        { 10, 3, { 9 }, 4 }, { 10, 2, { 0, 1 }, 6 }, { 10, 3, {}, 4 }, { 10, 1, { 5 }, 0 },
    };
    unsigned seed = 11;
    for (const Case& c : cases) {
        const auto sites = typedSites(c.n, seed++);
        const std::string what = "n=" + std::to_string(c.n) + " P=" + std::to_string(c.centres) + " fixed="
            + std::to_string(c.fixed.size()) + " m=" + std::to_string(c.m);
        const GroupRules rules { c.fixed, c.m };
        ASSERT_FALSE(groupRulesProblem(sites, c.centres, rules)) << what;
        const GroupSearchResult r = searchGroupsWithRules(sites, { c.centres, 24, 1 }, rules);
        EXPECT_TRUE(r.exact) << what;
        expectKeepsRules(sites, r, c.centres, c.fixed, c.m, what);
        const double ref = bruteForce(sites, c.centres, c.fixed, c.m);
        EXPECT_NEAR(static_cast<double>(r.total), ref, 1e-7 * ref) << what;
    }
}

TEST(ConstrainedGroups, AssignmentIsTheCheapestWithinTheSizes)
{
    // Every assignment of 9 places to 3 fixed points tried: sizes 3..4, place 0 pinned to centre 2.
    const auto sites = typedSites(9, 5);
    const std::vector<long double> cx { 10.0L, 50.0L, 500.0L }, cy { 10.0L, 80.0L, 500.0L }; // centre 2 far off: only the least size fills it
    const std::vector<int> pinned { -1, -1, 0 };
    const auto got = assignPlaces(sites, cx, cy, pinned, 4);
    auto cost = [&](const std::vector<int>& of) {
        double c = 0.0;
        for (std::size_t i = 0; i < of.size(); ++i)
            c += static_cast<double>(sites[i].weight)
                * std::hypot(sites[i].x - static_cast<double>(cx[of[i]]), sites[i].y - static_cast<double>(cy[of[i]]));
        return c;
    };
    double best = std::numeric_limits<double>::infinity();
    std::vector<int> of(9);
    for (int code = 0; code < 19683; ++code) { // 3^9
        int rest = code;
        int count[3] = { 0, 0, 0 };
        for (int i = 0; i < 9; ++i) {
            of[i] = rest % 3;
            rest /= 3;
            ++count[of[i]];
        }
        if (of[0] != 2 || *std::min_element(count, count + 3) < 3 || *std::max_element(count, count + 3) > 4)
            continue;
        best = std::min(best, cost(of));
    }
    int count[3] = { 0, 0, 0 };
    for (int c : got)
        ++count[c];
    EXPECT_EQ(got[0], 2);
    EXPECT_GE(*std::min_element(count, count + 3), 3);
    EXPECT_LE(*std::max_element(count, count + 3), 4);
    EXPECT_NEAR(cost(got), best, 1e-9 * best);
}

TEST(ConstrainedGroups, HeuristicKeepsTheRulesAndRepeatsForASeed)
{
    const auto sites = typedSites(60, 77);
    const std::vector<int> fixed { 7, 33 };
    const GroupRules rules { fixed, 16 };
    ASSERT_FALSE(groupRulesProblem(sites, 5, rules));
    const GroupSearchResult a = searchGroupsWithRules(sites, { 5, 8, 3 }, rules);
    const GroupSearchResult b = searchGroupsWithRules(sites, { 5, 8, 3 }, rules);
    EXPECT_FALSE(a.exact);
    expectKeepsRules(sites, a, 5, fixed, 16, "60 places");
    EXPECT_EQ(a.total, b.total);
    for (std::size_t g = 0; g < a.groups.size(); ++g)
        EXPECT_EQ(a.groups[g].members, b.groups[g].members);
    // The limit binds: without it the same centres would take more places in some group.
    const GroupSearchResult freeOfLimit = searchGroupsWithRules(sites, { 5, 8, 3 }, GroupRules { fixed, 0 });
    EXPECT_LE(freeOfLimit.total, a.total * (1 + 1e-12));
}

TEST(ConstrainedGroups, RefusalsNameTheProblem)
{
    const auto sites = typedSites(10, 3);
    struct Case {
        int centres;
        GroupRules rules;
        std::string message;
    };
    const std::vector<Case> cases = {
        { 2, { { 1, 2, 3 }, 0 }, "Počet centier P = 2 je menší ako počet existujúcich centier (3) !!!" },
        { 2, { { 4, 4 }, 0 }, "Existujúce centrum P4 je uvedené dvakrát !!!" },
        { 4, { {}, 0 }, "Skupiny nemožno naplniť: P = 4, aspoň 3 miesta v skupine, spolu 12 miest, projekt má n = 10 miest !!!" },
        { 4, { {}, 5 }, "Skupiny nemožno naplniť: P = 4, aspoň 3 miesta v skupine, spolu 12 miest, projekt má n = 10 miest (m = 5) !!!" },
        { 2, { {}, 4 }, "Skupiny nepojmú všetky miesta: P = 2, najviac m = 4 miesta v skupine, spolu 8 miest, projekt má n = 10 miest !!!" },
        { 3, { {}, 2 }, "Skupina musí smieť mať aspoň 3 miesta, m = 2 je málo !!!" },
        { 1, { {}, 0 }, "Počet centier musí byť aspoň 2 !!!" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(groupRulesProblem(sites, c.centres, c.rules).value_or("(none)"), c.message);
    EXPECT_FALSE(groupRulesProblem(sites, 1, { { 0 }, 0 })) << "one existing centre alone";
    EXPECT_FALSE(groupRulesProblem(sites, 3, { {}, 4 }));
}

TEST(ConstrainedGroups, HeuristicFindsTheOptimumOfSmallProjectsAboveTheExactLimit)
{
    // 12 places are searched, not enumerated; the brute force still can (S(12,3) = 86,526).
    struct Case {
        int centres;
        std::vector<int> fixed;
        int m;
    };
    const std::vector<Case> cases = { { 3, { 2 }, 5 }, { 3, {}, 4 }, { 3, { 0, 11 }, 0 }, { 2, { 6 }, 7 } };
    unsigned seed = 101;
    for (const Case& c : cases) {
        const auto sites = typedSites(12, seed++);
        const GroupRules rules { c.fixed, c.m };
        const GroupSearchResult r = searchGroupsWithRules(sites, { c.centres, 24, 1 }, rules);
        const std::string what = "P=" + std::to_string(c.centres) + " m=" + std::to_string(c.m);
        EXPECT_FALSE(r.exact);
        expectKeepsRules(sites, r, c.centres, c.fixed, c.m, what);
        const double ref = bruteForce(sites, c.centres, c.fixed, c.m);
        EXPECT_NEAR(static_cast<double>(r.total), ref, 1e-7 * ref) << what;
    }
}

TEST(ConstrainedGroups, TableRowsTakeTheBaselineRefuseWhatBreaksTheRulesAndSaveAgainstTheRowBefore)
{
    const auto sites = typedSites(10, 21);
    const auto total = [](int p) { return 1000.0L / p; }; // stands for the caller's search
    // No existing centre: P = 1 is the Weber point of all places, whatever total() says.
    const CentreCountEntry one = centreCountEntry(sites, 1, GroupRules {}, nullptr, total);
    EXPECT_FALSE(one.refusal);
    EXPECT_NEAR(static_cast<double>(one.row.total), group_reference::weber(sites, { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 }), 1e-7);
    EXPECT_FALSE(one.row.saving);
    // With one existing centre P = 1 is a proposal like any other.
    const CentreCountEntry fixedOne = centreCountEntry(sites, 1, GroupRules { { 3 }, 0 }, nullptr, total);
    EXPECT_EQ(fixedOne.row.total, 1000.0L);
    // The saving is against the row before.
    const CentreCountEntry two = centreCountEntry(sites, 2, GroupRules { {}, 5 }, &fixedOne.row, total);
    ASSERT_FALSE(two.refusal);
    EXPECT_EQ(two.row.total, 500.0L);
    EXPECT_EQ(two.row.saving.value_or(-1.0L), 500.0L);
    // Four centres of 3 places need 12: refused with the core's words, no total.
    const CentreCountEntry four = centreCountEntry(sites, 4, GroupRules { {}, 5 }, &two.row, total);
    EXPECT_EQ(four.refusal.value_or(""),
        "Skupiny nemožno naplniť: P = 4, aspoň 3 miesta v skupine, spolu 12 miest, projekt má n = 10 miest (m = 5) !!!");
    EXPECT_FALSE(four.row.saving);
}
