#include "core/allocation/CooperSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

struct NamedPlace {
    const char* name;
    double x;
    double y;
    double quantity;
};

void setPlaces(CooperState& s, const std::vector<NamedPlace>& places)
{
    s.CooperPlaceCount = static_cast<int>(places.size());
    int i = 0;
    for (const NamedPlace& p : places) {
        ++i;
        s.CooperPlaceName[i] = Text100::fromUtf8(p.name);
        s.CooperPlaceX[i] = p.x;
        s.CooperPlaceY[i] = p.y;
        s.CooperQuantity[i] = p.quantity;
        s.CooperPrice[i] = 1.0;
        s.CooperFlexibility[i] = 1;
    }
}

void setGroup(CooperState& s, int groupNo, const std::vector<std::string>& members)
{
    s.GroupNo = groupNo;
    s.GroupSize = static_cast<int>(members.size());
    int k = 0;
    for (const std::string& m : members)
        s.GroupMemberName[++k] = Text100::fromUtf8(m);
}

CooperPlace solverPlace(const NamedPlace& p)
{
    return CooperPlace { p.x, p.y, p.quantity, 1.0, 1 };
}

const NamedPlace A { "Avas", 1, 0, 1 };
const NamedPlace B { "Bánovce", 3, 0, 3 };
const NamedPlace C { "Čierna", 0, 4, 1 };
const NamedPlace D { "Detva", 10, 10, 1 };
const NamedPlace E { "Ekel", -5, 2, 2 };

} // namespace

TEST(CooperGroups, AGroupOfThreeIsSolvedOnItsMembersOnly)
{
    CooperState s;
    setPlaces(s, { A, B, C, D, E });
    setGroup(s, 1, { "Čierna", "Avas", "Bánovce" });
    CooperReport rep = PocitajCooperSkupiny(s, CooperSettings {});
    EXPECT_FALSE(rep.tooFewMembers);
    EXPECT_TRUE(rep.messages.empty());

    // Members in the order of the group list.
    EXPECT_EQ(s.GroupMemberX[1], 0.0);
    EXPECT_EQ(s.GroupMemberY[1], 4.0);
    EXPECT_EQ(s.GroupMemberX[2], 1.0);
    EXPECT_EQ(s.GroupMemberX[3], 3.0);
    // Start: ((0 + 1 + 9) / 5; 4 / 5); D and E take no part.
    EXPECT_EQ(s.GroupIterX[1], 2.0L);
    EXPECT_EQ(s.GroupIterY[1], 4.0L / 5.0L);

    // The same as solving the three places alone.
    CooperRun alone
        = solveCooper(std::vector { solverPlace(C), solverPlace(A), solverPlace(B) }, CooperSettings {});
    ASSERT_EQ(s.FinalIter, alone.FinalIter);
    EXPECT_EQ(s.IterIndex, alone.FinalIter);
    EXPECT_GE(s.FinalIter, 2);
    for (int j = 1; j <= alone.FinalIter; ++j) {
        EXPECT_EQ(s.GroupIterX[j], alone.IterX[j]) << "entry " << j;
        EXPECT_EQ(s.GroupIterY[j], alone.IterY[j]) << "entry " << j;
    }
    // B (weight 3 against pulls of 1 and 1) is the group's optimum: the result is on member 3.
    EXPECT_EQ(rep.resultOnPlace, 3);
    EXPECT_EQ(s.GroupIterX[s.FinalIter], 3.0L);
    EXPECT_EQ(s.GroupIterY[s.FinalIter], 0.0L);
    // The one-centre history is not touched by a group.
    EXPECT_EQ(s.IterX[1], 0.0L);
}

TEST(CooperGroups, AGroupOfTwoIsOnlyLookedUp)
{
    CooperState s;
    setPlaces(s, { A, B, C, D, E });
    setGroup(s, 1, { "Avas", "Bánovce", "Čierna" });
    PocitajCooperSkupiny(s, CooperSettings {});
    const int finalBefore = s.FinalIter;
    const long double resultX = s.GroupIterX[finalBefore];

    setGroup(s, 2, { "Detva", "Ekel" });
    CooperReport rep = PocitajCooperSkupiny(
        s, CooperSettings { StartPoint::Computed, StoppingRule::BothAxes, "11", "1,0" });
    EXPECT_TRUE(rep.tooFewMembers);
    EXPECT_EQ(tooFewMembersMessage(s.GroupNo), "Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!");
    // Looked up for the list and the drawing...
    EXPECT_EQ(s.GroupMemberX[1], 10.0);
    EXPECT_EQ(s.GroupMemberY[1], 10.0);
    EXPECT_EQ(s.GroupMemberX[2], -5.0);
    EXPECT_EQ(s.GroupMemberY[2], 2.0);
    // ...but not solved: no iteration, so not even the bad precision text is read.
    EXPECT_EQ(s.FinalIter, finalBefore);
    EXPECT_EQ(s.GroupIterX[finalBefore], resultX);
    EXPECT_TRUE(rep.messages.empty());

    setGroup(s, 3, {});
    EXPECT_TRUE(PocitajCooperSkupiny(s, CooperSettings {}).tooFewMembers);
}

TEST(CooperGroups, MembersAreFoundByExactNameAndTheLaterPlaceWins)
{
    CooperState s;
    // Two places called "Avas"; the later one, at (7;8), counts.
    setPlaces(s, { A, B, C, NamedPlace { "Avas", 7, 8, 1 } });
    s.GroupMemberX[4] = 77.0;
    s.GroupMemberY[4] = 88.0;
    setGroup(s, 1, { "Avas", "Bánovce", "Čierna", "avas" });
    CooperReport rep = PocitajCooperSkupiny(
        s, CooperSettings { StartPoint::Origin, StoppingRule::BothAxes, "0,01", "1,0" });
    EXPECT_FALSE(rep.tooFewMembers);
    EXPECT_EQ(s.GroupMemberX[1], 7.0);
    EXPECT_EQ(s.GroupMemberY[1], 8.0);
    EXPECT_TRUE(s.GroupMemberFound[1]);
    // "avas" matches nothing (names are case-sensitive): it keeps what it had and takes no part.
    EXPECT_FALSE(s.GroupMemberFound[4]);
    EXPECT_EQ(s.GroupMemberX[4], 77.0);
    EXPECT_EQ(s.GroupMemberY[4], 88.0);

    CooperRun alone = solveCooper(std::vector { CooperPlace { 7, 8 }, solverPlace(B), solverPlace(C) },
        CooperSettings { StartPoint::Origin, StoppingRule::BothAxes, "0,01", "1,0" });
    ASSERT_EQ(s.FinalIter, alone.FinalIter);
    for (int j = 1; j <= alone.FinalIter; ++j) {
        EXPECT_EQ(s.GroupIterX[j], alone.IterX[j]) << "entry " << j;
        EXPECT_EQ(s.GroupIterY[j], alone.IterY[j]) << "entry " << j;
    }
}

TEST(CooperGroups, UnknownMembersContributeNothing)
{
    CooperState s;
    setPlaces(s, { A, B, C });
    // Stale coordinates exactly where the start point of A and B will be: the start point
    // would be moved off a phantom member if it took part.
    s.GroupMemberX[3] = 2.5;
    s.GroupMemberY[3] = 0.0;
    setGroup(s, 1, { "Avas", "Bánovce", "Nikde" });
    PocitajCooperSkupiny(s, CooperSettings {});
    EXPECT_FALSE(s.GroupMemberFound[3]);
    // (1 + 9) / 4: the weighted mean of A and B alone.
    EXPECT_EQ(s.GroupIterX[1], 2.5L);
    EXPECT_EQ(s.GroupIterY[1], 0.0L);

    // No member found at all: no weight, no place, the run stays at [0;0] and ends.
    setGroup(s, 2, { "X", "Y", "Z" });
    CooperReport rep = PocitajCooperSkupiny(s, CooperSettings {});
    EXPECT_FALSE(rep.tooFewMembers);
    EXPECT_EQ(s.FinalIter, 2);
    EXPECT_EQ(s.GroupIterX[2], 0.0L);
    EXPECT_EQ(s.GroupIterY[2], 0.0L);
}

TEST(CooperGroups, OneCentreRunUsesTheWorkingCopyAndFillsTheState)
{
    TProjectRecord r;
    const NamedPlace places[] = { A, B, C };
    for (int i = 1; i <= 3; ++i) {
        const NamedPlace& p = places[i - 1];
        r.PlaceName[i] = Text100::fromUtf8(p.name);
        r.PlaceX[i] = p.x;
        r.PlaceY[i] = p.y;
        r.PlaceQuantity[i] = p.quantity;
        r.PlacePrice[i] = 2.0;
        r.PlaceFlexibility[i] = 5;
    }
    CooperState s;
    // Criteria not ticked: every factor is 1.
    VstupUdajCMStavCreate(s, r, 3, false, false, false);
    EXPECT_EQ(s.CooperPlaceCount, 3);
    EXPECT_EQ(s.CooperPlaceName[2], Text100::fromUtf8("Bánovce"));
    EXPECT_EQ(s.CooperQuantity[2], 1.0);
    EXPECT_EQ(s.CooperPrice[2], 1.0);
    EXPECT_EQ(s.CooperFlexibility[2], 1);
    s.IterX[999] = 42.0L; // an entry past the result of the coming run
    PocitajCooper(s, CooperSettings {});
    // Equal weights: ((1 + 3 + 0) / 3; 4 / 3).
    EXPECT_EQ(s.IterX[1], 4.0L / 3.0L);
    EXPECT_EQ(s.IterY[1], 4.0L / 3.0L);
    EXPECT_EQ(s.IterIndex, s.FinalIter);
    EXPECT_GE(s.FinalIter, 2);
    EXPECT_EQ(s.IterX[999], 42.0L);

    // All three ticked: weights 1 x 2 x 5 = 10, 30, 10: the mean is ((10 + 90) / 50; 40 / 50).
    VstupUdajCMStavCreate(s, r, 3, true, true, true);
    EXPECT_EQ(s.CooperQuantity[2], 3.0);
    EXPECT_EQ(s.CooperFlexibility[2], 5);
    PocitajCooper(s, CooperSettings {});
    EXPECT_EQ(s.IterX[1], 2.0L);
    EXPECT_EQ(s.IterY[1], 0.8L);
}

TEST(CooperGroups, AGroupWhoseMeanFallsOnAPlaceUpToRoundingStillReachesTheOptimum)
{
    // Members (0;2) and (0;-2) of 4, (0,7001;0) and (6,3009;0) of 1: the weighted mean is
    // (7,0010 / 10; 0), the third member, missed only in the last digit of the doubles. It fails
    // Kuhn's test (the heavy pair pulls back with 8 x 0,7001 / 2,119 = 2,64 against 1). By
    // symmetry the optimum has Y = 0; left of the third member the sum is
    // 8 sqrt(4 + x^2) + 7,001 - 2x, least at x = 2 / sqrt 15 with the value 4 sqrt 15 + 7,001.
    const NamedPlace top { "Horné", 0, 2, 4 };
    const NamedPlace bottom { "Dolné", 0, -2, 4 };
    const NamedPlace near { "Blízke", 0.7001, 0, 1 };
    const NamedPlace far { "Ďaleké", 6.3009, 0, 1 };
    const long double minimum = 4.0L * std::sqrt(15.0L) + 7.001L;

    CooperState s;
    // The places outside the group would move the mean of a one-centre run.
    setPlaces(s, { D, top, near, E, bottom, far });
    setGroup(s, 1, { "Horné", "Blízke", "Dolné", "Ďaleké" });
    for (StoppingRule rule :
        { StoppingRule::AxisX, StoppingRule::AxisY, StoppingRule::BothAxes, StoppingRule::Objective }) {
        SCOPED_TRACE(static_cast<int>(rule));
        CooperReport rep
            = PocitajCooperSkupiny(s, CooperSettings { StartPoint::Computed, rule, "0,0001", "1,0" });
        EXPECT_EQ(rep.resultOnPlace, 0);
        EXPECT_FALSE(rep.historyFull);
        EXPECT_NEAR(static_cast<double>(s.GroupIterX[1]), 0.7001, 1e-12); // started on the member
        const long double x = s.GroupIterX[s.FinalIter];
        const long double y = s.GroupIterY[s.FinalIter];
        long double f = 0.0L;
        for (const NamedPlace& p : { top, bottom, near, far })
            f += p.quantity * std::hypot(x - p.x, y - p.y);
        EXPECT_LE(f - minimum, 1e-3L) << static_cast<double>(f);
        EXPECT_GE(f - minimum, -1e-9L) << static_cast<double>(f);
    }
}
