#include "core/allocation/CandidateSites.h"

#include "core/allocation/CooperRunDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

struct Site {
    const char* name;
    double x;
    double y;
    double quantity;
};

// F(x, y) summed here term by term, apart from the code under test.
double independentF(const std::vector<Site>& sites, double x, double y)
{
    double f = 0.0;
    for (const Site& s : sites)
        f += s.quantity * std::hypot(s.x - x, s.y - y);
    return f;
}

std::unique_ptr<TProjectRecord> record(const std::vector<Site>& sites)
{
    auto r = std::make_unique<TProjectRecord>();
    int i = 0;
    for (const Site& s : sites) {
        ++i;
        r->PlaceName[i] = Text100::fromUtf8(s.name);
        r->PlaceX[i] = s.x;
        r->PlaceY[i] = s.y;
        r->PlaceQuantity[i] = s.quantity;
        r->PlacePrice[i] = 1.0;
        r->PlaceFlexibility[i] = 1;
    }
    return r;
}

CooperRunInputs quantityInputs()
{
    CooperRunInputs in;
    in.quantityOn = true;
    return in;
}

// The candidates as the test expects them: each site's F, sorted by F with ties in site order.
void expectCandidates(const std::vector<CandidateSite>& got, const std::vector<Site>& sites, double objective)
{
    ASSERT_EQ(got.size(), sites.size());
    std::vector<std::size_t> order(sites.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return independentF(sites, sites[a].x, sites[a].y) < independentF(sites, sites[b].x, sites[b].y) - 1e-9;
    });
    for (std::size_t k = 0; k < got.size(); ++k) {
        const Site& s = sites[order[k]];
        const double f = independentF(sites, s.x, s.y);
        EXPECT_EQ(got[k].name, s.name) << k;
        EXPECT_NEAR(static_cast<double>(got[k].objective), f, 1e-9 * f) << s.name;
        ASSERT_TRUE(got[k].excess.has_value()) << s.name;
        EXPECT_NEAR(static_cast<double>(*got[k].excess), (f - objective) / objective * 100.0, 1e-9) << s.name;
    }
}

} // namespace

TEST(CandidateSites, EachSiteIsPricedAgainstTheObjectiveCheapestFirstTiesInOrder)
{
    struct Case {
        const char* what;
        std::vector<Site> sites;
        double objective;
    };
    const std::vector<Case> cases {
        { "a line, the middle is cheapest", { { "Ľavá", 0, 0, 1 }, { "Stred", 5, 0, 1 }, { "Pravá", 10, 0, 1 } }, 10.0 },
        // A square's corners all cost the same: they keep their order.
        { "ties", { { "D", 0, 0, 1 }, { "C", 4, 0, 1 }, { "B", 4, 4, 1 }, { "A", 0, 4, 1 } }, 11.3137 },
        { "weights pull to the heavy place",
            { { "Šaľa", 0, 0, 1 }, { "Žilina", 3, 4, 5 }, { "Čadca", 6, 0, 1 } }, 10.0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<CostSite> sites;
        std::vector<std::string> names;
        for (const Site& s : c.sites) {
            sites.push_back({ s.x, s.y, s.quantity });
            names.emplace_back(s.name);
        }
        expectCandidates(candidateSites(sites, names, c.objective), c.sites, c.objective);
    }
    // The corners of the square tie exactly: the order of the run stays.
    const std::vector<CostSite> square { { 0, 0, 1 }, { 4, 0, 1 }, { 4, 4, 1 }, { 0, 4, 1 } };
    const std::vector<std::string> names { "D", "C", "B", "A" };
    std::vector<std::string> order;
    for (const CandidateSite& c : candidateSites(square, names, 11.0L))
        order.push_back(c.name);
    EXPECT_EQ(order, names);
    // All weight on one point: F at the result is 0 and no percentage can be said.
    const std::vector<CostSite> one { { 2, 2, 3 }, { 2, 2, 1 } };
    const auto zero = candidateSites(one, std::vector<std::string> { "X", "Y" }, 0.0L);
    ASSERT_EQ(zero.size(), 2u);
    EXPECT_FALSE(zero[0].excess.has_value());
    EXPECT_EQ(candidateLine(zero[0], ","), "X: \u2013");
}

TEST(CandidateSites, LineShowsTheExcessToTwoDecimalsWithTheSeparator)
{
    const struct {
        long double excess;
        const char* separator;
        const char* line;
    } cases[] = {
        { 0.8349L, ",", "Nitra: +0,83 %" },
        { 0.835001L, ",", "Nitra: +0,84 %" },
        { 12.5L, ".", "Nitra: +12.50 %" },
        { 0.0L, ",", "Nitra: +0,00 %" },
        // A hair under the result (a coarse stopping rule) is no saving worth a minus.
        { -0.001L, ",", "Nitra: +0,00 %" },
        { -1.25L, ",", "Nitra: -1,25 %" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(candidateLine({ "Nitra", 1.0L, c.excess }, c.separator), c.line);
}

TEST(CandidateSites, OneCentreRunPricesEveryPlaceAgainstTheCertifiedObjective)
{
    const std::vector<Site> sites { { "Ábel", 0, 0, 2 }, { "Beňo", 10, 0, 1 }, { "Čaplovič", 5, 8, 1 },
        { "Ďurica", 2, 3, 3 }, { "Érsek", 9, 9, 1 } };
    const auto r = record(sites);
    auto state = std::make_unique<CooperState>();
    const CooperRunResult res = runCooperDriver(*state, *r, 5, quantityInputs());
    ASSERT_FALSE(res.groupRun);
    const double x = static_cast<double>(state->IterX[res.finalIter]);
    const double y = static_cast<double>(state->IterY[res.finalIter]);
    const double objective = independentF(sites, x, y);
    EXPECT_NEAR(static_cast<double>(res.certificate.objective), objective, 1e-9 * objective);
    const std::vector<CandidateSite> got = oneCentreCandidates(*r, 5, res, *state);
    expectCandidates(got, sites, static_cast<double>(res.certificate.objective));
    // No place beats the optimum by more than the certificate's gap allows.
    EXPECT_GE(static_cast<double>(*got.front().excess), -100.0 * static_cast<double>(res.certificate.gap) - 1e-9);
}

TEST(CandidateSites, GroupRunPricesEachSolvedGroupOverItsOwnMembers)
{
    // Two groups of three and one of two (too few to solve); "Nikde" names no place.
    const std::vector<Site> sites { { "A", 0, 0, 1 }, { "B", 10, 0, 2 }, { "C", 5, 10, 1 }, { "D", 30, 30, 1 },
        { "E", 40, 30, 1 }, { "F", 35, 40, 4 }, { "G", 70, 0, 1 }, { "H", 80, 0, 1 } };
    const auto r = record(sites);
    CooperRunInputs in = quantityInputs();
    in.groupsOn = true;
    in.groups.Count = 3;
    in.groups.Groups = { { 1, { "A", "B", "C" } }, { 2, { "D", "Nikde", "E", "F" } }, { 3, { "G", "H" } } };
    auto state = std::make_unique<CooperState>();
    const CooperRunResult res = runCooperDriver(*state, *r, 8, in);
    ASSERT_TRUE(res.groupRun);
    ASSERT_EQ(res.groups.size(), 3u);
    const std::vector<std::vector<Site>> members { { sites[0], sites[1], sites[2] }, { sites[3], sites[4], sites[5] } };
    for (std::size_t g = 0; g < 2; ++g) {
        SCOPED_TRACE(g + 1);
        const CooperGroupResult& group = res.groups[g];
        ASSERT_TRUE(group.solved);
        const IteratePoint at = group.iterates.back();
        const double objective = independentF(members[g], static_cast<double>(at.x), static_cast<double>(at.y));
        EXPECT_NEAR(static_cast<double>(group.certificate.objective), objective, 1e-9 * objective);
        expectCandidates(groupCandidates(group), members[g], static_cast<double>(group.certificate.objective));
    }
    EXPECT_FALSE(res.groups[2].solved);
    EXPECT_TRUE(groupCandidates(res.groups[2]).empty());
    EXPECT_TRUE(oneCentreCandidates(*r, 8, res, *state).empty());
}
