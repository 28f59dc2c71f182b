// The exact star network. The expected optima come from a brute force written here: every set of
// centres and every assignment of the other places to a centre that reaches them, within the
// capacity; never from the solver.
#include "core/cli/CliArguments.h"
#include "core/entry/PlaceList.h"
#include "core/network/ExactNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace dorvan;

struct Optimum {
    int stars = std::numeric_limits<int>::max();
    double total = std::numeric_limits<double>::infinity();
};

// The least total of assigning places[k..] to the centres (use[c]: places the star holds).
double bestAssignment(const ExactStarProblem& pb, const std::vector<int>& centres,
    const std::vector<int>& others, std::size_t k, std::vector<int>& use)
{
    if (k == others.size())
        return 0.0;
    double best = std::numeric_limits<double>::infinity();
    const int p = others[k];
    for (std::size_t c = 0; c < centres.size(); ++c) {
        const int centre = centres[c];
        if (use[c] >= pb.capacity || !(pb.d(centre, p) <= pb.reach))
            continue;
        ++use[c];
        best = std::min(best, pb.d(centre, p) + bestAssignment(pb, centres, others, k + 1, use));
        --use[c];
    }
    return best;
}

Optimum bruteForce(const ExactStarProblem& pb)
{
    Optimum best;
    for (unsigned mask = 1; mask < (1u << pb.n); ++mask) {
        std::vector<int> centres, others;
        double own = 0.0;
        for (int i = 0; i < pb.n; ++i)
            if (mask & (1u << i)) {
                centres.push_back(i);
                own += pb.d(i, i);
            } else {
                others.push_back(i);
            }
        const int stars = static_cast<int>(centres.size());
        if (stars > best.stars)
            continue;
        std::vector<int> use(centres.size(), 1);
        const double total = own + bestAssignment(pb, centres, others, 0, use);
        if (!std::isfinite(total))
            continue;
        if (stars < best.stars || total < best.total)
            best = { stars, total };
    }
    return best;
}

// Places in a 100 × 100 square; asymmetric: each entry off its straight-line value by up to 30 %
// and each diagonal entry (the centre's own) between 0 and 8.
ExactStarProblem randomProblem(unsigned seed, int n, int capacity, double reach, bool asymmetric)
{
    std::mt19937 g(seed);
    std::uniform_real_distribution<double> coord(0.0, 100.0), noise(0.7, 1.3), own(0.0, 8.0);
    std::vector<double> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        x[static_cast<std::size_t>(i)] = coord(g);
        y[static_cast<std::size_t>(i)] = coord(g);
    }
    ExactStarProblem pb;
    pb.n = n;
    pb.capacity = capacity;
    pb.reach = reach;
    for (int c = 0; c < n; ++c)
        for (int p = 0; p < n; ++p) {
            const auto a = static_cast<std::size_t>(c), b = static_cast<std::size_t>(p);
            double d = std::hypot(x[a] - x[b], y[a] - y[b]);
            if (asymmetric)
                d = c == p ? own(g) : d * noise(g);
            pb.D.push_back(d);
        }
    return pb;
}

struct BruteCase {
    unsigned seed;
    int n;
    int capacity;
    double reach;
    bool asymmetric;
};

TEST(ExactStars, MatchesTheBruteForceOfEveryStarAssignment)
{
    const BruteCase cases[] = {
        { 1, 6, 3, 40.0, false }, { 2, 7, 2, 50.0, false }, { 3, 8, 3, 35.0, false },
        { 4, 9, 4, 30.0, false }, { 5, 9, 10, 1e9, false }, // no limits: one star
        { 6, 8, 3, 45.0, true }, { 7, 9, 3, 40.0, true }, { 8, 9, 5, 60.0, true },
        { 9, 7, 1, 1e9, true }, // one place a star: every place alone
        { 10, 8, 4, 5.0, false }, // a reach that keeps most places alone
        { 11, 1, 3, 10.0, true }, { 12, 2, 2, 1e9, true }, // one place, two places
    };
    for (const BruteCase& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        const ExactStarProblem pb = randomProblem(c.seed, c.n, c.capacity, c.reach, c.asymmetric);
        const Optimum want = bruteForce(pb);
        const ExactStarResult r = solveExactStars(pb, {}, {});
        EXPECT_TRUE(feasibleStars(pb, r.stars));
        EXPECT_EQ(r.starCount, want.stars);
        EXPECT_NEAR(r.total, want.total, 1e-6);
        EXPECT_TRUE(r.proven);
        EXPECT_EQ(r.lowerBoundStars, r.starCount);
        EXPECT_EQ(r.lowerBoundTotal, r.total);
        double sums = 0.0;
        for (const ExactStar& s : r.stars)
            sums += s.sum;
        EXPECT_NEAR(sums, r.total, 1e-9);
    }
}

// A project with places M1..Mn at random and the reach and places per group ticked.
std::unique_ptr<Project> randomProject(unsigned seed, int n, int capacity, double reach)
{
    std::mt19937 g(seed);
    std::uniform_int_distribution<int> coord(0, 1000);
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    for (int i = 1; i <= n; ++i)
        storeNewPlace(
            p->Record, i, Text100::fromUtf8("M" + std::to_string(i)), coord(g) / 10.0, coord(g) / 10.0);
    computeDistances(p->Record, n);
    p->State.PlaceCount = n;
    p->Record.setCriterion(CritEvenGroups, true);
    p->Record.PlacesPerGroup = capacity;
    p->Record.setCriterion(CritMaxRouteLength, true);
    p->Record.MaxRouteLength = reach;
    return p;
}

TEST(ExactStars, NeverWorseThanTheStarSearchItStartsFrom)
{
    const BruteCase cases[] = { { 21, 9, 3, 35.0, false }, { 22, 30, 4, 20.0, false },
        { 23, 25, 5, 25.0, false }, { 24, 20, 3, 30.0, false } };
    for (const BruteCase& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        const auto project = randomProject(c.seed, c.n, c.capacity, c.reach);
        const StarWorkingCopy copy = VstupUdajRealStavCreate(*project);
        const StarSearchResult h = Hviezda(copy, ",");
        // The start is the star search's network as it stands.
        const ExactStarProblem pb = exactProblem(copy);
        std::vector<ExactStar> start = starsOfSolution(copy, h.best);
        ASSERT_TRUE(feasibleStars(pb, start));
        EXPECT_NEAR(starsTotal(pb, start), h.best.StarTotal, 1e-9);

        const ExactStarResult r = searchExactNetwork(copy, h.best, {});
        EXPECT_TRUE(r.proven);
        EXPECT_LE(r.starCount, h.best.StarCount);
        if (r.starCount == h.best.StarCount) {
            EXPECT_LE(r.total, h.best.StarTotal + 1e-9);
        }
        if (c.n <= 9) {
            const Optimum want = bruteForce(pb);
            EXPECT_EQ(r.starCount, want.stars);
            EXPECT_NEAR(r.total, want.total, 1e-6);
        }
        // The graph's solution: the centres first, the names of the places star after star.
        const StarSolution drawn = starSolutionOf(copy, r);
        EXPECT_EQ(drawn.StarCount, r.starCount);
        EXPECT_EQ(static_cast<int>(drawn.StarOrder.size()), c.n);
        EXPECT_EQ(starsOfSolution(copy, drawn).size(), r.stars.size());
    }
}

TEST(ExactStars, StoppedOrOutOfTimeReturnsAFeasibleNetworkWithHonestBounds)
{
    // Stopped at once: the start comes back, unproven, with bounds no higher than the optimum.
    const ExactStarProblem small = randomProblem(31, 9, 3, 35.0, true);
    const Optimum want = bruteForce(small);
    std::vector<ExactStar> alone;
    for (int i = 0; i < small.n; ++i)
        alone.push_back(ExactStar { i, { i }, 0.0 });
    std::atomic<bool> cancel { true };
    ExactStarOptions stop;
    stop.cancel = &cancel;
    const ExactStarResult s = solveExactStars(small, alone, stop);
    EXPECT_TRUE(s.stopped);
    EXPECT_FALSE(s.proven);
    EXPECT_TRUE(feasibleStars(small, s.stars));
    EXPECT_LE(s.lowerBoundStars, want.stars);
    EXPECT_LE(s.lowerBoundTotal, want.total + 1e-9);
    EXPECT_GE(s.lowerBoundStars, 3); // 9 places, 3 a star

    // 99 places with a short limit: the best network found, not proven, the gap open.
    const ExactStarProblem big = randomProblem(32, 99, 6, 25.0, false);
    ExactStarOptions brief;
    brief.timeLimit = 0.3;
    const ExactStarResult b = solveExactStars(big, {}, brief);
    EXPECT_TRUE(feasibleStars(big, b.stars));
    EXPECT_FALSE(b.stopped);
    EXPECT_EQ(b.timedOut, !b.proven);
    EXPECT_LE(b.lowerBoundStars, b.starCount);
    EXPECT_GE(b.lowerBoundStars, 17); // 99 places, 6 a star
    EXPECT_LE(b.lowerBoundTotal, b.total);
}

TEST(ExactStars, ReportsProgressAndStopsWhenAsked)
{
    const ExactStarProblem pb = randomProblem(41, 60, 4, 20.0, false);
    std::atomic<bool> cancel { false };
    std::vector<ExactStarProgress> seen;
    ExactStarOptions o;
    o.cancel = &cancel;
    o.progress = [&](const ExactStarProgress& p) {
        seen.push_back(p);
        cancel = true;
    };
    const ExactStarResult r = solveExactStars(pb, {}, o);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().phase, 1);
    EXPECT_EQ(seen.front().bestStars, 60); // the places standing alone, before any better
    EXPECT_GE(seen.front().boundStars, 15);
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.proven);
    EXPECT_TRUE(feasibleStars(pb, r.stars));
}

TEST(ExactStars, RefusesDistancesThatAreNoNumbersAndSolvesNoPlaces)
{
    ExactStarProblem pb = randomProblem(51, 4, 2, 50.0, false);
    for (double bad :
        { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300 }) {
        pb.D[5] = bad;
        try {
            solveExactStars(pb, {}, {});
            ADD_FAILURE() << "accepted " << bad;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("optimálnu sieť nemožno vypočítať !!!"), std::string::npos);
        }
    }
    const ExactStarResult none = solveExactStars(ExactStarProblem {}, {}, {});
    EXPECT_EQ(none.starCount, 0);
    EXPECT_TRUE(none.proven);
}

ExactStarResult resultOf(int stars, double total, bool proven, int lbStars, double lbTotal, bool stopped)
{
    ExactStarResult r;
    r.starCount = stars;
    r.total = total;
    r.proven = proven;
    r.lowerBoundStars = lbStars;
    r.lowerBoundTotal = lbTotal;
    r.stopped = stopped;
    return r;
}

TEST(ExactStars, ComparisonLineNamesBothResultsAndTheDifference)
{
    struct Row {
        ExactStarResult exact;
        int hStars;
        double hTotal;
        const char* line;
    };
    const Row rows[] = {
        { resultOf(21, 1234.56781, true, 21, 1234.56781, false), 23, 1302.1,
            "Optimum: 21 hviezd, celková dráha 1234,5678 (dokázané); heuristika: 23 hviezd, 1302,1 (+2 "
            "hviezdy)" },
        { resultOf(4, 100.0, true, 4, 100.0, false), 4, 107.3,
            "Optimum: 4 hviezdy, celková dráha 100 (dokázané); heuristika: 4 hviezdy, 107,3 (dráha +7,3 %)" },
        { resultOf(1, 10.5, true, 1, 10.5, false), 1, 10.5,
            "Optimum: 1 hviezda, celková dráha 10,5 (dokázané); heuristika: 1 hviezda, 10,5 (rovnako "
            "dobrá)" },
        { resultOf(17, 770.06, false, 16, 712.8249, false), 18, 776.37,
            "Najlepšia nájdená: 17 hviezd, celková dráha 770,06 (časový limit, nedokázané: aspoň 16 hviezd, "
            "dráha aspoň 712,8249); heuristika: 18 hviezd, 776,37 (+1 hviezda)" },
        { resultOf(5, 50.0, false, 5, 40.0, true), 6, 40.0,
            "Najlepšia nájdená: 5 hviezd, celková dráha 50 (zastavené, nedokázané: aspoň 5 hviezd, dráha "
            "aspoň "
            "40); heuristika: 6 hviezd, 40 (+1 hviezda)" },
    };
    for (const Row& row : rows) {
        StarSolution h;
        h.StarCount = row.hStars;
        h.StarTotal = row.hTotal;
        EXPECT_EQ(comparisonLine(row.exact, h, ","), row.line);
    }
}

TEST(ExactStars, ListLinesShowTheStarsWithTheirPlaces)
{
    // Reach 5,5, three places a star: only Alfa reaches both Beta (5) and Cyril (5); Beta and
    // Cyril are 6 apart; Dunaj is far from all. The optimum: Alfa with Beta and Cyril (10) and
    // Dunaj alone (0), 2 stars, total 10.
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    storeNewPlace(p->Record, 1, Text100::fromUtf8("Alfa"), 0, 0);
    storeNewPlace(p->Record, 2, Text100::fromUtf8("Beta"), 3, 4);
    storeNewPlace(p->Record, 3, Text100::fromUtf8("Cyril"), -3, 4);
    storeNewPlace(p->Record, 4, Text100::fromUtf8("Dunaj"), 50, 50);
    computeDistances(p->Record, 4);
    p->State.PlaceCount = 4;
    p->Record.setCriterion(CritEvenGroups, true);
    p->Record.PlacesPerGroup = 3;
    p->Record.setCriterion(CritMaxRouteLength, true);
    p->Record.MaxRouteLength = 5.5;
    const StarWorkingCopy copy = VstupUdajRealStavCreate(*p);
    const ExactStarResult r = searchExactNetwork(copy, Hviezda(copy, ",").best, {});
    EXPECT_EQ(exactListLines(copy, r, ","),
        (std::vector<std::string> { "Optimálna sieť: 2 hviezdy", "Celková dráha: 10", "Dokázané optimum",
            "----------", "Hviezda 1: centrum Alfa, 3 miesta, dráha 10", "   Beta", "   Cyril",
            "Hviezda 2: centrum Dunaj, 1 miesto, dráha 0" }));
}

TEST(ExactStars, NetworkCommandTakesTheMethodAndTheTimeLimit)
{
    const auto parsed = [](std::vector<std::string> args) { return cli::parseArguments(args).network; };
    const auto refusal = [&](std::vector<std::string> args) {
        try {
            parsed(args);
        } catch (const cli::UsageError& e) {
            return std::string(e.what());
        }
        return std::string("(accepted)");
    };
    using cli::NetworkMethod;
    EXPECT_EQ(parsed({ "network", "a.mzd" }).method, NetworkMethod::Star);
    EXPECT_EQ(parsed({ "network", "a.mzd", "--method", "exact" }).method, NetworkMethod::Exact);
    EXPECT_EQ(parsed({ "network", "a.mzd", "--method", "exact" }).timeLimit, 30.0);
    EXPECT_EQ(parsed({ "network", "a.mzd", "--method", "rounds" }).timeLimit, 10.0);
    EXPECT_EQ(parsed({ "network", "a.mzd", "--method", "exact", "--time-limit", "2,5" }).timeLimit, 2.5);
    EXPECT_EQ(parsed({ "network", "a.mzd", "--method=exact", "--time-limit=3600" }).timeLimit, 3600.0);
    EXPECT_NE(refusal({ "network", "a.mzd", "--method", "mip" }).find("is not one of star|rounds|exact"),
        std::string::npos);
    EXPECT_NE(refusal({ "network", "a.mzd", "--time-limit", "5" })
                  .find("--time-limit is for --method rounds or exact"),
        std::string::npos);
    for (const char* bad : { "0", "-1", "3601", "abc", "5s", "", "nan", "inf" })
        EXPECT_NE(refusal({ "network", "a.mzd", "--method", "exact", "--time-limit", bad })
                      .find("is not a number of seconds above 0, at most 3600"),
            std::string::npos)
            << bad;
}

} // namespace
