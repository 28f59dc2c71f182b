#include "core/allocation/CooperCertificate.h"
#include "core/allocation/CooperSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
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

namespace {

// F in extended precision, summed here rather than by the code under test.
long double sumAt(const std::vector<CostSite>& sites, long double x, long double y)
{
    long double f = 0.0L;
    for (const CostSite& s : sites)
        f += s.w * std::hypot(x - s.x, y - s.y);
    return f;
}

// The minimum of the weighted sum worked out apart from the solver and the certificate: the
// best of every place and of a long Weiszfeld iteration in extended precision, whose step off a
// place it lands on is the one Kuhn's test gives (move along the others' pull by
// (|R| - w) / S, stay when |R| <= w).
long double tightMinimum(const std::vector<CostSite>& sites)
{
    long double best = std::numeric_limits<long double>::infinity();
    long double w = 0.0L, x = 0.0L, y = 0.0L;
    for (const CostSite& s : sites) {
        best = std::min(best, sumAt(sites, s.x, s.y));
        w += s.w;
        x += s.w * s.x;
        y += s.w * s.y;
    }
    x /= w;
    y /= w;
    for (int step = 0; step < 40000; ++step) {
        long double sx = 0.0L, sy = 0.0L, sw = 0.0L, rx = 0.0L, ry = 0.0L, here = 0.0L;
        for (const CostSite& s : sites) {
            const long double d = std::hypot(x - s.x, y - s.y);
            if (d == 0.0L) {
                here += s.w;
                continue;
            }
            sx += s.w * s.x / d;
            sy += s.w * s.y / d;
            sw += s.w / d;
            rx += s.w * (s.x - x) / d;
            ry += s.w * (s.y - y) / d;
        }
        const long double r = std::hypot(rx, ry);
        if (here > 0.0L) {
            if (r <= here)
                break;
            x += rx / r * (r - here) / sw;
            y += ry / r * (r - here) / sw;
        } else {
            x = sx / sw;
            y = sy / sw;
        }
        best = std::min(best, sumAt(sites, x, y));
    }
    return best;
}

// How the optimum of a test project lies: anywhere, on place 1, or next to it (place 1 weighs
// a share just under what the others pull with at its spot, so Kuhn's test just fails there).
enum class Optimum { Anywhere, OnPlace, NextToPlace, HardByPlace };

std::vector<CooperPlace> projectWith(std::mt19937& rng, int n, Optimum kind)
{
    std::vector<CooperPlace> places = randomProject(rng, n, kind == Optimum::OnPlace);
    if (kind == Optimum::Anywhere || kind == Optimum::OnPlace)
        return places;
    long double rx = 0.0L, ry = 0.0L;
    for (std::size_t i = 1; i < places.size(); ++i) {
        const long double dx = places[i].x - places[0].x, dy = places[i].y - places[0].y;
        const long double d = std::hypot(dx, dy);
        rx += places[i].quantity * dx / d;
        ry += places[i].quantity * dy / d;
    }
    const long double share = kind == Optimum::NextToPlace ? 0.99L : 0.99999L;
    places[0].quantity = static_cast<double>(share * std::hypot(rx, ry));
    return places;
}

} // namespace

TEST(CooperCertificate, BoundIsWithinAMillionthOfTheMinimumAtFinePrecision)
{
    std::mt19937 rng(20261210);
    const Optimum kinds[]
        = { Optimum::Anywhere, Optimum::OnPlace, Optimum::NextToPlace, Optimum::HardByPlace };
    const StoppingRule rules[]
        = { StoppingRule::AxisX, StoppingRule::AxisY, StoppingRule::BothAxes, StoppingRule::Objective };
    auto state = std::make_unique<CooperState>();
    for (int project = 0; project < 24; ++project) {
        const Optimum kind = kinds[project % 4];
        // A group of the first members among places that are not in it: the group run solves
        // and certifies the members alone.
        const int members = 3 + project % 13;
        const bool group = project / 4 % 2 == 1;
        std::vector<CooperPlace> places = projectWith(rng, members, kind);
        const long double minimum = tightMinimum(costSites(places));
        for (StoppingRule rule : rules) {
            SCOPED_TRACE(::testing::Message() << "project " << project << " kind " << static_cast<int>(kind)
                                              << " group " << group << " rule " << static_cast<int>(rule));
            const CooperSettings fine = settings(rule, "0,0001");
            CooperCertificate c;
            if (group) {
                CooperState& s = *state;
                s.CooperPlaceCount = members + 3;
                for (int i = 1; i <= s.CooperPlaceCount; ++i) {
                    const bool member = i <= members;
                    const CooperPlace p = member ? places[static_cast<std::size_t>(i - 1)]
                                                 : CooperPlace { 5000.0 * i, -300.0, 40.0, 1.0, 1 };
                    s.CooperPlaceName[i] = Text100::fromUtf8("P" + std::to_string(i));
                    s.CooperPlaceX[i] = p.x;
                    s.CooperPlaceY[i] = p.y;
                    s.CooperQuantity[i] = p.quantity;
                    s.CooperPrice[i] = p.price;
                    s.CooperFlexibility[i] = p.flexibility;
                    if (member)
                        s.GroupMemberName[i] = s.CooperPlaceName[i];
                }
                s.GroupNo = 1;
                s.GroupSize = members;
                c = PocitajCooperSkupiny(s, fine).certificate;
            } else {
                c = solveCooper(places, fine).report.certificate;
            }
            ASSERT_TRUE(c.available);
            EXPECT_LE(c.lowerBound, minimum * (1.0L + 1e-15L));
            EXPECT_GE(c.objective, minimum * (1.0L - 1e-15L));
            EXPECT_LE((minimum - c.lowerBound) / minimum, 1e-6L)
                << static_cast<double>(minimum) << " " << static_cast<double>(c.lowerBound);
        }
    }
}
