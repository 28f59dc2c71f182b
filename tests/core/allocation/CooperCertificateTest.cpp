#include "core/allocation/CooperCertificate.h"
#include "core/allocation/CooperSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string_view>
#include <vector>

using namespace dorvan;

namespace {

std::vector<CostSite> costSites(const std::vector<CooperPlace>& places)
{
    std::vector<CostSite> sites;
    for (const CooperPlace& p : places)
        sites.push_back({ p.x, p.y, cooperWeight(p) });
    return sites;
}

// The least weighted sum found apart from the solver: every place, and a long Weiszfeld
// iteration in extended precision from the weighted mean that stops only where it would divide
// by zero. The true minimum is at most this, and for these projects equal to it far below the
// tolerances used here.
long double referenceMinimum(const std::vector<CostSite>& sites)
{
    long double best = std::numeric_limits<long double>::infinity();
    long double w = 0.0L, x = 0.0L, y = 0.0L;
    for (const CostSite& s : sites) {
        best = std::min(best, weightedDistanceSum(sites, s.x, s.y));
        w += s.w;
        x += s.w * s.x;
        y += s.w * s.y;
    }
    x /= w;
    y /= w;
    for (int step = 0; step < 20000; ++step) {
        long double sx = 0.0L, sy = 0.0L, sw = 0.0L;
        bool onPlace = false;
        for (const CostSite& s : sites) {
            const long double d = std::hypot(x - s.x, y - s.y);
            if (d == 0.0L) {
                onPlace = true;
                break;
            }
            sx += s.w * s.x / d;
            sy += s.w * s.y / d;
            sw += s.w / d;
        }
        if (onPlace)
            break;
        x = sx / sw;
        y = sy / sw;
        best = std::min(best, weightedDistanceSum(sites, x, y));
    }
    return best;
}

CooperSettings settings(StoppingRule rule, const char* e, const char* k = "1,0")
{
    return CooperSettings { StartPoint::Computed, rule, e, k };
}

// A random project of n places with coordinates of four decimals up to 1000 and whole
// quantities; heavy makes place 1 outweigh all others together, so it is the optimum.
std::vector<CooperPlace> randomProject(std::mt19937& rng, int n, bool heavy)
{
    std::uniform_int_distribution<int> coord(0, 10'000'000);
    std::uniform_int_distribution<int> quantity(1, 50);
    std::vector<CooperPlace> places;
    double total = 0.0;
    for (int i = 0; i < n; ++i) {
        CooperPlace p { coord(rng) / 10000.0, coord(rng) / 10000.0, static_cast<double>(quantity(rng)), 1.0,
            1 };
        total += p.quantity;
        places.push_back(p);
    }
    if (heavy)
        places[0].quantity = total + 1.0;
    return places;
}

} // namespace

TEST(CooperCertificate, ExactMinimaAreNeverExceededAndClosedIn)
{
    // Three collinear places of weights 1, 2, 4 at x = 0, 3, 10: the weighted median is x = 10
    // (4 >= 1 + 2), where the sum is 10 + 2 x 7 = 24. Equal weights 1, 1, 1: the median x = 3,
    // sum 3 + 7 = 10.
    const std::vector<CooperPlace> heavyEnd { { 0, 0, 1.0, 1.0, 1 }, { 3, 0, 2.0, 1.0, 1 },
        { 10, 0, 4.0, 1.0, 1 } };
    const std::vector<CooperPlace> median { { 0, 0, 1.0, 1.0, 1 }, { 3, 0, 1.0, 1.0, 1 },
        { 10, 0, 1.0, 1.0, 1 } };
    // An equilateral triangle of side 6: the minimum is the centre, sqrt 3 x 6.
    const double h = 3.0 * std::sqrt(3.0);
    const std::vector<CooperPlace> triangle { { 0, 0, 1.0, 1.0, 1 }, { 6, 0, 1.0, 1.0, 1 },
        { 3, h, 1.0, 1.0, 1 } };
    struct Case {
        const char* name;
        const std::vector<CooperPlace>& places;
        long double minimum;
    };
    const Case cases[] = { { "heavy end", heavyEnd, 24.0L }, { "median", median, 10.0L },
        { "triangle", triangle, std::sqrt(3.0L) * 6.0L } };
    for (const Case& c : cases) {
        for (const char* e : { "10", "1", "0,01", "0,0001" }) {
            for (StoppingRule rule :
                { StoppingRule::AxisX, StoppingRule::BothAxes, StoppingRule::Objective }) {
                SCOPED_TRACE(
                    ::testing::Message() << c.name << " e=" << e << " rule " << static_cast<int>(rule));
                const CooperRun r = solveCooper(c.places, settings(rule, e));
                const CooperCertificate& cert = r.report.certificate;
                ASSERT_TRUE(cert.available);
                EXPECT_LE(cert.lowerBound, c.minimum * (1.0L + 1e-15L));
                EXPECT_GE(cert.objective, c.minimum * (1.0L - 1e-15L));
                EXPECT_GE(cert.lowerBound, 0.0L);
                EXPECT_NEAR(static_cast<double>(cert.gap),
                    static_cast<double>((cert.objective - cert.lowerBound) / cert.objective), 1e-15);
                if (std::string_view(e) == "0,0001") {
                    EXPECT_LT(cert.gap, 1e-3L);
                }
            }
        }
    }
    // The heavy end is set onto its place by Kuhn's test: certified optimal.
    const CooperRun onPlace = solveCooper(heavyEnd, settings(StoppingRule::BothAxes, "0,01"));
    EXPECT_EQ(onPlace.report.resultOnPlace, 3);
    EXPECT_EQ(onPlace.report.certificate.optimalPlace, 3);
    EXPECT_EQ(onPlace.report.certificate.lowerBound, onPlace.report.certificate.objective);
    EXPECT_EQ(onPlace.report.certificate.gap, 0.0L);
    EXPECT_EQ(onPlace.report.certificate.objective, 24.0L);
}

TEST(CooperCertificate, BoundHoldsOnRandomProjectsAndIsTightAtFinePrecision)
{
    std::mt19937 rng(20261209);
    int certifiedPlaces = 0;
    for (int project = 0; project < 60; ++project) {
        const bool heavy = project % 3 == 0;
        const std::vector<CooperPlace> places = randomProject(rng, 3 + project % 18, heavy);
        const std::vector<CostSite> sites = costSites(places);
        const long double minimum = referenceMinimum(sites);
        struct Setting {
            StoppingRule rule;
            const char* e;
        };
        for (Setting s : { Setting { StoppingRule::Objective, "10" }, Setting { StoppingRule::AxisY, "1" },
                 Setting { StoppingRule::BothAxes, "0,01" }, Setting { StoppingRule::BothAxes, "0,0001" } }) {
            SCOPED_TRACE(::testing::Message() << "project " << project << " e=" << s.e);
            const CooperRun r = solveCooper(places, settings(s.rule, s.e));
            const CooperCertificate& c = r.report.certificate;
            ASSERT_TRUE(c.available);
            EXPECT_LE(c.lowerBound, minimum * (1.0L + 1e-14L));
            EXPECT_GE(c.objective, minimum * (1.0L - 1e-14L));
            EXPECT_LE(c.lowerBound, c.objective);
            if (std::string_view(s.e) == "0,0001") {
                EXPECT_LT(c.gap, 1e-3L);
            }
            if (heavy && c.optimalPlace == 1)
                ++certifiedPlaces;
        }
    }
    // The heavy projects mostly end on their heavy place, certified.
    EXPECT_GT(certifiedPlaces, 40);
}

TEST(CooperCertificate, RunsCutAtEntry1000AndBadWeights)
{
    // The valley of the history test: the iteration creeps along and is cut at entry 1000, far
    // from the optimum; the bound must still hold.
    const std::vector<CooperPlace> valley { { 0, 0, 1000.0, 1.0, 1 }, { 1, 0, 1000.0, 1.0, 1 },
        { 0.9, 0.1, 1.0, 1.0, 1 } };
    const CooperRun r = solveCooper(valley, settings(StoppingRule::AxisX, "0,0001"));
    ASSERT_TRUE(r.report.historyFull);
    const long double minimum = referenceMinimum(costSites(valley));
    const CooperCertificate& c = r.report.certificate;
    ASSERT_TRUE(c.available);
    EXPECT_LE(c.lowerBound, minimum * (1.0L + 1e-15L));
    EXPECT_GT(c.gap, 0.0L);

    // Two equal places: every point between them is optimal; the result stays between them
    // and is certified with no gap, without naming a place.
    const std::vector<CooperPlace> pair { { 0, 0, 1.0, 1.0, 1 }, { 10, 20, 1.0, 1.0, 1 } };
    const CooperRun p = solveCooper(pair, settings(StoppingRule::BothAxes, "0,01"));
    EXPECT_EQ(p.report.certificate.gap, 0.0L);
    EXPECT_EQ(p.report.certificate.optimalPlace, 0);
    EXPECT_NEAR(static_cast<double>(p.report.certificate.objective), std::sqrt(500.0), 1e-12);

    // A negative weight makes the sum unbounded below: no bound is claimed.
    const std::vector<CooperPlace> negative { { 0, 0, -1.0, 1.0, 1 }, { 5, 0, 1.0, 1.0, 1 },
        { 0, 5, 1.0, 1.0, 1 } };
    EXPECT_FALSE(
        solveCooper(negative, settings(StoppingRule::BothAxes, "0,01")).report.certificate.available);
    // No weight at all: F is 0 everywhere, and so is the gap.
    const std::vector<CooperPlace> none { { 0, 0, 0.0, 1.0, 1 }, { 5, 0, 0.0, 1.0, 1 },
        { 0, 5, 0.0, 1.0, 1 } };
    const CooperCertificate z
        = solveCooper(none, settings(StoppingRule::BothAxes, "0,01")).report.certificate;
    EXPECT_TRUE(z.available);
    EXPECT_EQ(z.objective, 0.0L);
    EXPECT_EQ(z.gap, 0.0L);
}
