#include "core/allocation/CooperSolver.h"
#include "core/allocation/ChartGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace dorvan;

namespace {

// The reference figures come from cooper_reference.py (decimal arithmetic, 60 digits); the
// 80-bit sums agree with them to far better than this.
constexpr long double Tolerance = 1e-15L;

::testing::AssertionResult near(long double actual, long double expected)
{
    long double scale = std::fmax(1.0L, std::fabs(expected));
    if (std::fabs(actual - expected) <= Tolerance * scale)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << static_cast<double>(actual) << " differs from " << static_cast<double>(expected);
}

CooperPlace place(double x, double y, double quantity = 1.0)
{
    return CooperPlace { x, y, quantity, 1.0, 1 };
}

CooperSettings settings(StartPoint start, StoppingRule rule, const char* e = "0,01", const char* k = "1,0")
{
    return CooperSettings { start, rule, e, k };
}

// Two places on the X axis, A(1;0) of weight 1 and B(3;0) of weight 3, started from [0;0]. By
// hand: from x in (1;3) the X step is x + 2 / (1/(x-1) + 3/(3-x)), so the path is 0, 2, 2,5,
// 2,8, ...; Y stays 0. Along it the objective 1|x-1| + 3|x-3| is 10, 4, 3, ...
const std::vector<CooperPlace> Horizontal { place(1, 0), place(3, 0, 3) };
// The same turned onto the Y axis: X stays 0, Y runs 0, 2, 2,5, ...
const std::vector<CooperPlace> Vertical { place(0, 1), place(0, 3, 3) };

} // namespace

TEST(CooperSolver, StartPointIsTheWeightedMeanOrTheOriginAndNeverAPlace)
{
    // Equal weights: the plain mean (12/3; 9/3).
    CooperRun r = solveCooper(std::vector { place(1, 2), place(4, 6), place(7, 1) },
        settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_EQ(r.IterX[1], 4.0L);
    EXPECT_EQ(r.IterY[1], 3.0L);

    // Weight 2 x 1,5 x 3 = 9 against 1: (10/10; 20/10).
    CooperRun w = solveCooper(std::vector { CooperPlace { 0, 0, 2.0, 1.5, 3 }, place(10, 20) },
        settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_EQ(w.IterX[1], 1.0L);
    EXPECT_EQ(w.IterY[1], 2.0L);

    // The mean falls exactly on the third place: start at 0,01 in both coordinates.
    CooperRun on = solveCooper(std::vector { place(-2, 0), place(2, 0), place(0, 0) },
        settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_EQ(on.IterX[1], 0.01L);
    EXPECT_EQ(on.IterY[1], 0.01L);
    // That place is the optimum (the other two pull equally both ways): the run ends on it.
    EXPECT_EQ(on.IterX[on.FinalIter], 0.0L);
    EXPECT_EQ(on.IterY[on.FinalIter], 0.0L);
    EXPECT_EQ(on.report.resultOnPlace, 3);

    // Start [0;0] with a place at the origin.
    CooperRun origin = solveCooper(std::vector { place(4, 0), place(0, 0), place(0, 4) },
        settings(StartPoint::Origin, StoppingRule::BothAxes));
    EXPECT_EQ(origin.IterX[1], 0.01L);
    EXPECT_EQ(origin.IterY[1], 0.01L);

    // Without a place there it really starts at the origin (first step to (2;0) by hand).
    CooperRun zero = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::AxisX));
    EXPECT_EQ(zero.IterX[1], 0.0L);
    EXPECT_EQ(zero.IterY[1], 0.0L);
    EXPECT_EQ(zero.IterX[2], 2.0L);
}

TEST(CooperSolver, StoppingRulesCompareStrictlySoAChangeEqualToEGoesOn)
{
    const StartPoint o = StartPoint::Origin;
    // The first step changes X by exactly 2 and Y by 0, the second X by 0,5.
    CooperRun x2 = solveCooper(Horizontal, settings(o, StoppingRule::AxisX, "2"));
    EXPECT_EQ(x2.FinalIter, 3);
    EXPECT_EQ(x2.IterX[2], 2.0L);
    EXPECT_EQ(x2.precisionUnits, 20000);
    CooperRun x2a = solveCooper(Horizontal, settings(o, StoppingRule::AxisX, "2,0001"));
    EXPECT_EQ(x2a.FinalIter, 2);
    // The smallest run makes one step.
    EXPECT_EQ(x2a.IterX[2], 2.0L);
    EXPECT_EQ(x2a.IterY[2], 0.0L);
    EXPECT_EQ(solveCooper(Horizontal, settings(o, StoppingRule::AxisY, "2")).FinalIter, 2);
    EXPECT_EQ(solveCooper(Horizontal, settings(o, StoppingRule::BothAxes, "2")).FinalIter, 3);
    EXPECT_EQ(solveCooper(Horizontal, settings(o, StoppingRule::BothAxes, "2,0001")).FinalIter, 2);

    // Turned: now Y changes by 2 and X by 0.
    EXPECT_EQ(solveCooper(Vertical, settings(o, StoppingRule::AxisX, "2")).FinalIter, 2);
    EXPECT_EQ(solveCooper(Vertical, settings(o, StoppingRule::AxisY, "2")).FinalIter, 3);
    EXPECT_EQ(solveCooper(Vertical, settings(o, StoppingRule::AxisY, "2,0001")).FinalIter, 2);
    EXPECT_EQ(solveCooper(Vertical, settings(o, StoppingRule::BothAxes, "2")).FinalIter, 3);
    CooperRun v = solveCooper(Vertical, settings(o, StoppingRule::BothAxes, "2,0001"));
    EXPECT_EQ(v.FinalIter, 2);
    EXPECT_EQ(v.IterX[2], 0.0L);
    EXPECT_EQ(v.IterY[2], 2.0L);

    // Objective: 10 -> 4 is a change of 6, then 4 -> 3 a change of 1.
    const StoppingRule f = StoppingRule::Objective;
    EXPECT_EQ(solveCooper(Horizontal, settings(o, f, "6", "1,0")).FinalIter, 3);
    EXPECT_EQ(solveCooper(Horizontal, settings(o, f, "6,0001", "1,0")).FinalIter, 2);
    // k = 0,5 halves both values: changes 3 and 0,5.
    CooperRun half = solveCooper(Horizontal, settings(o, f, "3", "0,5"));
    EXPECT_EQ(half.FinalIter, 3);
    EXPECT_EQ(half.correctionUnits, 5000);
    EXPECT_EQ(solveCooper(Horizontal, settings(o, f, "3,0001", "0,5")).FinalIter, 2);
    EXPECT_EQ(solveCooper(Horizontal, settings(o, f, "6", "0,5")).FinalIter, 2);
}

TEST(CooperSolver, FullHistoryOfARunEndingOnTheHeavierPlace)
{
    // The path towards B(3;0), whose weight 3 outweighs the pull 1 of A: the run stops at
    // entry 8 near B and the result is B itself.
    CooperRun r = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::BothAxes));
    const long double x[] = { 0.0L, 2.0L, 2.5L, 2.8L, 2.928571428571428571428571L,
        2.975609756097560975609756L, 2.991803278688524590163934L, 3.0L };
    ASSERT_EQ(r.FinalIter, 8);
    for (int j = 1; j <= 8; ++j) {
        EXPECT_TRUE(near(r.IterX[j], x[j - 1])) << "entry " << j;
        EXPECT_EQ(r.IterY[j], 0.0L) << "entry " << j;
    }
    EXPECT_EQ(r.IterX[8], 3.0L);
    EXPECT_EQ(r.report.resultOnPlace, 2);
    EXPECT_TRUE(r.report.movedOntoPlace);
    EXPECT_FALSE(r.report.historyFull);
    EXPECT_TRUE(r.report.messages.empty());
    // Entries past the result stay empty.
    EXPECT_EQ(r.IterX[9], 0.0L);

    // Stopped at (2;0), equally far from both places: the first of them, A, is tried and is
    // not optimal, so the result stays where the rule held.
    CooperRun early = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::AxisX, "2,0001"));
    EXPECT_EQ(early.IterX[2], 2.0L);
    EXPECT_EQ(early.report.resultOnPlace, 0);
}

TEST(CooperSolver, HeavyCornerOfATriangleIsReachedExactly)
{
    // Weight 10 at (0;0) against 1 at (3;0) and (0;4): Kuhn's test holds at the corner
    // (|(1;0) + (0;1)| = 1,41 <= 10). The iterates only close in on it.
    CooperRun r = solveCooper(std::vector { place(0, 0, 10), place(3, 0), place(0, 4) },
        settings(StartPoint::Computed, StoppingRule::BothAxes));
    ASSERT_EQ(r.FinalIter, 4);
    EXPECT_TRUE(near(r.IterX[1], 0.25L));
    EXPECT_TRUE(near(r.IterY[1], 0.3333333333333333333333333L));
    EXPECT_TRUE(near(r.IterX[2], 0.04396453400024871135029819L));
    EXPECT_TRUE(near(r.IterY[2], 0.03594018099557447186277781L));
    EXPECT_TRUE(near(r.IterX[3], 0.005743306750947759101554913L));
    EXPECT_TRUE(near(r.IterY[3], 0.003664793937270971403348408L));
    EXPECT_EQ(r.IterX[4], 0.0L);
    EXPECT_EQ(r.IterY[4], 0.0L);
    EXPECT_EQ(r.report.resultOnPlace, 1);
    EXPECT_TRUE(r.report.movedOntoPlace);
}

TEST(CooperSolver, AnIterateExactlyOnAPlaceNeitherDividesByZeroNorSticks)
{
    // From [0;0] the X step lands exactly on P1 = (2;0): the weighted pulls along X of the
    // other places, 2 x (-2/4) and 2,5 x 2/5, cancel. The Y step then starts on P1.
    auto project = [](double w1) {
        return std::vector { place(2, 0, w1), place(0, 4), place(0, -4), place(4, 3, 2.5) };
    };

    // Weight 1: P1 fails Kuhn's test (|pull| 2,14 > 1), so it is left out of that Y step:
    // Y = (7,5/sqrt 13) / (2/sqrt 20 + 2,5/sqrt 13). The run goes on to P4, the optimum.
    CooperRun light = solveCooper(project(1), settings(StartPoint::Origin, StoppingRule::BothAxes));
    ASSERT_EQ(light.FinalIter, 27);
    EXPECT_EQ(light.IterX[2], 2.0L);
    EXPECT_TRUE(near(light.IterY[2], 1.823729692480048088068515L));
    EXPECT_TRUE(near(light.IterX[3], 2.542419799963660733703970L));
    EXPECT_TRUE(near(light.IterY[3], 1.972806950344976222878438L));
    EXPECT_TRUE(near(light.IterX[26], 3.738670322955212079274123L));
    EXPECT_TRUE(near(light.IterY[26], 2.814692697755763176270030L));
    EXPECT_EQ(light.IterX[27], 4.0L);
    EXPECT_EQ(light.IterY[27], 3.0L);
    EXPECT_EQ(light.report.resultOnPlace, 4);
    for (int j = 1; j <= light.FinalIter; ++j)
        EXPECT_TRUE(std::isfinite(light.IterX[j]) && std::isfinite(light.IterY[j])) << "entry " << j;

    // Weight 0: the same first step; a weightless place never holds the iterate.
    CooperRun none = solveCooper(project(0), settings(StartPoint::Origin, StoppingRule::BothAxes));
    ASSERT_EQ(none.FinalIter, 12);
    EXPECT_TRUE(near(none.IterY[2], 1.823729692480048088068515L));
    EXPECT_TRUE(near(none.IterX[3], 2.730877624686274259008444L));
    EXPECT_TRUE(near(none.IterY[3], 2.574948271859711561415561L));
    EXPECT_TRUE(near(none.IterX[11], 3.974635016019866791678314L));
    EXPECT_TRUE(near(none.IterY[11], 2.993057407504584874412632L));

    // Weight 10: P1 is the optimum; the run stops on it after the one step.
    CooperRun heavy = solveCooper(project(10), settings(StartPoint::Origin, StoppingRule::BothAxes));
    EXPECT_EQ(heavy.FinalIter, 2);
    EXPECT_EQ(heavy.IterX[2], 2.0L);
    EXPECT_EQ(heavy.IterY[2], 0.0L);
    EXPECT_EQ(heavy.report.resultOnPlace, 1);
    EXPECT_FALSE(heavy.report.movedOntoPlace);
    // Whatever the rule: the point does not move any more.
    EXPECT_EQ(solveCooper(project(10), settings(StartPoint::Origin, StoppingRule::Objective)).FinalIter, 2);
}

TEST(CooperSolver, HistoryEndsAtEntry1000AndSaysSo)
{
    // Two heavy places make a nearly flat valley between them; the light third one drags the
    // iterate along it by about 2e-4 a step, always more than e = 0,0001.
    const std::vector<CooperPlace> valley { place(0, 0, 1000), place(1, 0, 1000), place(0.9, 0.1) };
    CooperRun r = solveCooper(valley, settings(StartPoint::Computed, StoppingRule::AxisX, "0,0001"));
    EXPECT_EQ(r.FinalIter, CooperHistorySize);
    EXPECT_TRUE(r.report.historyFull);
    EXPECT_EQ(r.report.resultOnPlace, 0);
    EXPECT_TRUE(r.report.messages.empty());
    EXPECT_TRUE(near(r.IterX[1], 0.5001999000499750124937531L));
    EXPECT_TRUE(near(r.IterY[1], 0.00004997501249375312343828086L));
    EXPECT_TRUE(near(r.IterX[999], 0.7180398506380346653512576L));
    EXPECT_TRUE(near(r.IterX[1000], 0.7182171372146703571255664L));
    EXPECT_TRUE(near(r.IterY[1000], 0.00009747286106439861982527529L));

    // With the light place on the line it is the optimum, and the cut-off result is set on it.
    const std::vector<CooperPlace> line { place(0, 0, 1000), place(1, 0, 1000), place(0.9, 0) };
    CooperRun l = solveCooper(line, settings(StartPoint::Computed, StoppingRule::AxisX, "0,0001"));
    EXPECT_EQ(l.FinalIter, CooperHistorySize);
    EXPECT_TRUE(l.report.historyFull);
    EXPECT_EQ(l.report.resultOnPlace, 3);
    EXPECT_EQ(l.IterX[1000], static_cast<long double>(0.9)); // the place, a double
    EXPECT_TRUE(near(l.IterX[999], 0.7306770486612478328991669L));

    // The state keeps it too.
    CooperState s;
    s.CooperPlaceCount = 3;
    for (int i = 1; i <= 3; ++i) {
        s.CooperPlaceX[i] = valley[static_cast<std::size_t>(i - 1)].x;
        s.CooperPlaceY[i] = valley[static_cast<std::size_t>(i - 1)].y;
        s.CooperQuantity[i] = valley[static_cast<std::size_t>(i - 1)].quantity;
        s.CooperPrice[i] = 1.0;
        s.CooperFlexibility[i] = 1;
    }
    CooperReport rep = PocitajCooper(s, settings(StartPoint::Computed, StoppingRule::AxisX, "0,0001"));
    EXPECT_TRUE(rep.historyFull);
    EXPECT_EQ(s.FinalIter, 1000);
    EXPECT_EQ(s.IterIndex, 1000);
    EXPECT_EQ(s.IterX[1000], r.IterX[1000]);
}

TEST(CooperSolver, ZeroWeightsStartFromThePlainMeanAndStayThere)
{
    std::vector<CooperPlace> places { place(1, 2, 0), place(4, 6, 0), place(7, 1, 0) };
    for (StoppingRule rule :
        { StoppingRule::AxisX, StoppingRule::AxisY, StoppingRule::BothAxes, StoppingRule::Objective }) {
        CooperRun r = solveCooper(places, settings(StartPoint::Computed, rule));
        EXPECT_EQ(r.IterX[1], 4.0L);
        EXPECT_EQ(r.IterY[1], 3.0L);
        EXPECT_EQ(r.FinalIter, 2);
        EXPECT_EQ(r.IterX[2], 4.0L);
        EXPECT_EQ(r.IterY[2], 3.0L);
        EXPECT_EQ(r.report.resultOnPlace, 0);
    }
    // From [0;0] too; and one weightless place at the mean makes no difference to that.
    CooperRun o = solveCooper(places, settings(StartPoint::Origin, StoppingRule::BothAxes));
    EXPECT_EQ(o.FinalIter, 2);
    EXPECT_EQ(o.IterX[2], 0.0L);
    places.push_back(place(4, 3, 0));
    CooperRun m = solveCooper(places, settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_EQ(m.IterX[1], 0.01L);
    EXPECT_EQ(m.IterX[2], 0.01L);
    EXPECT_EQ(m.FinalIter, 2);

    // No place at all.
    CooperRun empty = solveCooper({}, settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_EQ(empty.FinalIter, 2);
    EXPECT_EQ(empty.IterX[2], 0.0L);
}

TEST(CooperSolver, BadPrecisionIsReportedOnceAndTheRunGoesOnWithTheDefault)
{
    const CooperRun good = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::AxisX, "0,01"));
    ASSERT_EQ(good.FinalIter, 8);

    for (const char* bad : { "0,00004", "11", "10,0001", "0", "", "abc", "1,2,3", "-0,01" }) {
        CooperRun r = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::AxisX, bad));
        ASSERT_EQ(r.report.messages.size(), 1u) << bad;
        EXPECT_EQ(r.report.messages[0], "Chybná presnosť !!!") << bad;
        EXPECT_TRUE(r.report.precisionReset) << bad;
        EXPECT_EQ(r.precisionUnits, 100) << bad;
        EXPECT_EQ(r.FinalIter, good.FinalIter) << bad;
        EXPECT_FALSE(r.report.correctionReset) << bad;
    }
    for (const char* ok : { "10", "0,0001", "0.0001", " 0,01 ", "0,00015" }) {
        CooperRun r = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::AxisX, ok));
        EXPECT_TRUE(r.report.messages.empty()) << ok;
        EXPECT_FALSE(r.report.precisionReset) << ok;
    }
    EXPECT_EQ(precisionUnits("10"), 100000);
    EXPECT_EQ(precisionUnits("0,0001"), 1);
    EXPECT_EQ(precisionUnits("0,00015"), 2); // halves go to the even count
    EXPECT_EQ(precisionUnits("0,00025"), 2);
    EXPECT_FALSE(precisionUnits("0,00005"));
}

TEST(CooperSolver, CorrectionIsReadOnlyByTheObjectiveRule)
{
    for (const char* bad : { "0", "-1", "0,00004", "x" }) {
        CooperRun f
            = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::Objective, "0,01", bad));
        ASSERT_EQ(f.report.messages.size(), 1u) << bad;
        EXPECT_EQ(f.report.messages[0], "Chybná korekčná hodnota !!!") << bad;
        EXPECT_TRUE(f.report.correctionReset) << bad;
        EXPECT_EQ(f.correctionUnits, 10000) << bad;

        for (StoppingRule rule : { StoppingRule::AxisX, StoppingRule::AxisY, StoppingRule::BothAxes }) {
            CooperRun r = solveCooper(Horizontal, settings(StartPoint::Origin, rule, "0,01", bad));
            EXPECT_TRUE(r.report.messages.empty()) << bad;
            EXPECT_FALSE(r.report.correctionReset) << bad;
            EXPECT_EQ(r.correctionUnits, 0) << bad;
        }
    }
    EXPECT_EQ(correctionUnits("0,0001"), 1);
    EXPECT_EQ(correctionUnits("1,0"), 10000);

    // Both texts bad: the precision complaint comes first, each only once.
    CooperRun both
        = solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::Objective, "11", "0"));
    ASSERT_EQ(both.report.messages.size(), 2u);
    EXPECT_EQ(both.report.messages[0], "Chybná presnosť !!!");
    EXPECT_EQ(both.report.messages[1], "Chybná korekčná hodnota !!!");
    EXPECT_EQ(both.FinalIter,
        solveCooper(Horizontal, settings(StartPoint::Origin, StoppingRule::Objective)).FinalIter);
}

TEST(CooperSolver, WeightIsQuantityTimesPriceTimesFlexibility)
{
    EXPECT_EQ(cooperWeight(CooperPlace { 0, 0, 2.5, 4.0, 3 }), 30.0L);
    EXPECT_EQ(cooperWeight(CooperPlace {}), 1.0L);
    EXPECT_EQ(cooperWeight(CooperPlace { 0, 0, 0.0, 7.0, 2 }), 0.0L);
}

namespace {

// The weighted sum the solver minimises, written out again for the reference optima.
long double weightedSum(const std::vector<CooperPlace>& places, long double x, long double y)
{
    long double f = 0.0L;
    for (const CooperPlace& p : places) {
        const long double w = static_cast<long double>(p.quantity) * p.price * p.flexibility;
        f += w * std::hypot(x - p.x, y - p.y);
    }
    return f;
}

} // namespace

TEST(CooperSolver, APointWithinRoundingOfAPlaceLeavesItUnlessThePlaceIsTheOptimum)
{
    // Decimal data whose weighted mean or first step falls on a place, but only up to the last
    // digit of the doubles, so the point misses it by about 1e-16.
    struct Case {
        const char* name;
        std::vector<CooperPlace> places;
        StartPoint start;
        long double minimum; // the least weighted sum, worked out apart from the solver
        int optimalPlace; // the place that is the optimum, 0 when none is
    };
    // Brezno (-20;0) and Detva (20;0) of 12, Hrinová (0;62,5075) and Lučenec (0;2,5003) of 1: the
    // mean is Lučenec. By symmetry the optimum has X = 0; below Lučenec the sum is
    // 24 sqrt(400 + y^2) + 65,0078 - 2y, least where y / sqrt(400 + y^2) = 1/12, at y = 20/sqrt 143,
    // where it is 40 sqrt 143 + 65,0078. Lučenec fails Kuhn's test (pull 2,98 - 1 > 1).
    const std::vector<CooperPlace> towns { place(-20, 0, 12), place(20, 0, 12), place(0, 62.5075),
        place(0, 2.5003) };
    // Lučenec of 2 instead: the mean does not change ((62,5075 + 2,5003 q) / (25 + q)), and now
    // the pull 1,98 is less than its weight, so Lučenec is the unique optimum.
    std::vector<CooperPlace> heavyLucenec = towns;
    heavyLucenec[3].quantity = 2;
    const long double lucenecSum = 24.0L * std::hypot(20.0L, 2.5003L) + 60.0072L;
    // The four places of the exact-landing test above scaled by 1,2345: from [0;0] the X step
    // lands on P1 = (2,469;0) up to rounding (the pulls balance for any weight of P1), and P1
    // fails Kuhn's test. P4 is the optimum: the unit vectors from it to the others sum to
    // (-2,021;-1,458), of length 2,492 < 2,5.
    const double s = 1.2345;
    const std::vector<CooperPlace> scaled { place(2 * s, 0), place(0, 4 * s), place(0, -4 * s),
        place(4 * s, 3 * s, 2.5) };
    const long double p4 = std::hypot(2.0L, 3.0L) + std::hypot(4.0L, 1.0L) + std::hypot(4.0L, 7.0L);

    const Case cases[] = {
        { "mean on a place", towns, StartPoint::Computed, 40.0L * std::sqrt(143.0L) + 65.0078L, 0 },
        { "mean on the optimal place", heavyLucenec, StartPoint::Computed, lucenecSum, 4 },
        { "first step onto a place", scaled, StartPoint::Origin, 1.2345L * p4, 4 },
    };
    for (const Case& c : cases) {
        for (StoppingRule rule :
            { StoppingRule::AxisX, StoppingRule::AxisY, StoppingRule::BothAxes, StoppingRule::Objective }) {
            SCOPED_TRACE(::testing::Message() << c.name << ", rule " << static_cast<int>(rule));
            const CooperRun r = solveCooper(c.places, settings(c.start, rule, "0,0001"));
            ASSERT_GE(r.FinalIter, 2);
            EXPECT_FALSE(r.report.historyFull);
            const long double x = r.IterX[r.FinalIter];
            const long double y = r.IterY[r.FinalIter];
            const long double f = weightedSum(c.places, x, y);
            EXPECT_LE(f - c.minimum, 1e-3L) << static_cast<double>(f);
            EXPECT_GE(f - c.minimum, -1e-9L) << static_cast<double>(f);
            EXPECT_EQ(r.report.resultOnPlace, c.optimalPlace);
            if (c.optimalPlace > 0) {
                const CooperPlace& opt = c.places[static_cast<std::size_t>(c.optimalPlace - 1)];
                EXPECT_EQ(x, static_cast<long double>(opt.x));
                EXPECT_EQ(y, static_cast<long double>(opt.y));
            }
            // Every entry is an ordinary point of the listing, and none raises the sum.
            for (int j = 2; j <= r.FinalIter; ++j) {
                EXPECT_TRUE(std::isfinite(r.IterX[j]) && std::isfinite(r.IterY[j])) << "entry " << j;
                EXPECT_LE(weightedSum(c.places, r.IterX[j], r.IterY[j]),
                    weightedSum(c.places, r.IterX[j - 1], r.IterY[j - 1]) * (1.0L + 1e-15L))
                    << "entry " << j;
            }
        }
    }

    // Started on the optimal place up to rounding, the run ends at once, set onto the place.
    const CooperRun onOptimum
        = solveCooper(heavyLucenec, settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_EQ(onOptimum.FinalIter, 2);
    EXPECT_TRUE(onOptimum.report.movedOntoPlace);
}

TEST(CooperSolver, ResultGoesOntoAPlaceOnlyWhenThatPlaceIsTheOnlyOptimum)
{
    // Two places of equal weight: every point of the segment between them is optimal, and the
    // iteration stops at once on the mean (5;10), balanced between the two pulls. Kuhn's test
    // holds at (0;0) only with equality (pull 1 = weight 1), so the result stays on (5;10).
    const std::vector<CooperPlace> pair { place(0, 0), place(10, 20) };
    for (StoppingRule rule :
        { StoppingRule::AxisX, StoppingRule::AxisY, StoppingRule::BothAxes, StoppingRule::Objective }) {
        const CooperRun r = solveCooper(pair, settings(StartPoint::Computed, rule));
        ASSERT_EQ(r.FinalIter, 2) << static_cast<int>(rule);
        EXPECT_EQ(r.IterX[2], 5.0L);
        EXPECT_EQ(r.IterY[2], 10.0L);
        EXPECT_EQ(r.report.resultOnPlace, 0);
        EXPECT_FALSE(r.report.movedOntoPlace);
        // The red optimum of the 540 x 400 chart: sx = 25, sy = 12, so (20 + 10 x 25; 20 + 15 x 12).
        const std::vector<IteratePoint> path { { r.IterX[1], r.IterY[1] }, { r.IterX[2], r.IterY[2] } };
        const std::vector<ChartPoint> places { { 0, 0 }, { 10, 20 } };
        const OneCentreChart chart = oneCentreChart(places, path, ChartDataMode::Manual, 540, 400, ",");
        ASSERT_TRUE(chart.hasOptimum);
        EXPECT_EQ(chart.optimum.centre, (ChartPixel { 270, 200 }));
    }
    // A third place of weight just over the pull tips the balance: (0;0) of weight 1 + 1e-6
    // against the unit pull of (10;20) is the only optimum, and the result is set onto it.
    const std::vector<CooperPlace> tipped { place(0, 0, 1.000001), place(10, 20) };
    const CooperRun t = solveCooper(tipped, settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_EQ(t.IterX[t.FinalIter], 0.0L);
    EXPECT_EQ(t.IterY[t.FinalIter], 0.0L);
    EXPECT_EQ(t.report.resultOnPlace, 1);
    // Within the rounding margin of a tie it is not.
    const std::vector<CooperPlace> tie { place(0, 0, 1.0 + 1e-12), place(10, 20) };
    const CooperRun u = solveCooper(tie, settings(StartPoint::Computed, StoppingRule::BothAxes));
    EXPECT_FALSE(u.report.movedOntoPlace);
}
