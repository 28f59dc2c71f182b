// The star search. Expected figures are worked out by hand in the comments and checked with
// tests/network/star_reference.py, an independent reading of the search.
#include "core/network/StarSearch.h"
#include "core/entry/PlaceList.h"
#include "core/network/StationGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace dorvan;

struct PlaceSpec {
    const char* name;
    double x;
    double y;
};

// A project with the places in the order given (not sorted) and straight-line distances.
std::unique_ptr<Project> projectWith(const std::vector<PlaceSpec>& places)
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    int i = 0;
    for (const PlaceSpec& s : places)
        storeNewPlace(p->Record, ++i, Text100::fromUtf8(s.name), s.x, s.y);
    computeDistances(p->Record, i);
    p->State.PlaceCount = i;
    return p;
}

void tick(Project& p, Criterion c)
{
    p.Record.setCriterion(c, true);
}

// Reach and capacity as the route length and the places per group give them (0: unticked).
StarSearchResult searchWith(Project& p, double routeLength, int perGroup)
{
    if (routeLength != 0) {
        tick(p, CritMaxRouteLength);
        p.Record.MaxRouteLength = routeLength;
    }
    if (perGroup > 0) {
        tick(p, CritEvenGroups);
        p.Record.PlacesPerGroup = perGroup;
    }
    return Hviezda(VstupUdajRealStavCreate(p), ",");
}

std::vector<std::string> names(const StarSolution& s)
{
    std::vector<std::string> out;
    for (const Text100& t : s.StarOrder)
        out.push_back(displayName(t));
    return out;
}

using Lines = std::vector<std::string>;

TEST(StarSearch, FarPlaceFormsItsOwnStarAndTheGridShowsTheBest)
{
    // Reach 2, three places a star. Star 1 around Alfa takes Beta (1) and Cyril (1); Dunaj lies
    // 14,1 away and forms star 2: 2 stars, total 2. Alternatives: keeping star 1 pools one
    // place only; keeping none pools all four, and Beta (1 + 1,414), Cyril (the same) and Dunaj
    // (0 + 2) as first centres give no strictly better total: 4 solutions in all.
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 1, 0 }, { "Cyril", 0, 1 }, { "Dunaj", 10, 10 } });
    const StarSearchResult r = searchWith(*p, 2, 3);
    EXPECT_EQ(r.best.StarCount, 2);
    EXPECT_EQ(r.best.StarTotal, 2.0);
    EXPECT_EQ(r.best.RecalcCount, 4);
    EXPECT_EQ(names(r.best), (Lines { "Alfa", "Beta", "Cyril", "Dunaj" }));
    EXPECT_EQ(r.best.StarSize, (std::vector<int> { 3, 1 }));
    EXPECT_EQ(r.best.StarCentre, (std::vector<int> { 1, 4 }));
    EXPECT_EQ(r.lists[0], (Lines { "Pocet Central: 2", "----------" }));
    EXPECT_EQ(r.lists[2], (Lines { "Centrum1: 1", "Centrum2: 4" }));
    EXPECT_EQ(r.lists[3], (Lines { "Pocet miest v okruhu1: 3", "Pocet miest v okruhu2: 1" }));
    EXPECT_EQ(r.lists[4], (Lines { "Dlzka okruhu: 2" }));

    const std::vector<StarGridRow> grid = starResultGrid(r.best, 4, ",");
    ASSERT_EQ(grid.size(), 5u);
    EXPECT_EQ(grid[0], (StarGridRow { "", "Miesta", "Centrum", "Hviezda Pocet", "Celková dráha - čas" }));
    EXPECT_EQ(grid[1], (StarGridRow { "1", "Alfa", "Alfa", "3", "2" }));
    EXPECT_EQ(grid[2], (StarGridRow { "2", "Beta", "Alfa", "3", "Pocet Prepoctov: 4" }));
    EXPECT_EQ(grid[3], (StarGridRow { "3", "Cyril", "Alfa", "3", "Pocet Central: 2" }));
    EXPECT_EQ(grid[4], (StarGridRow { "4", "Dunaj", "Dunaj", "1", "" }));
}

TEST(StarSearch, WithoutLimitsOneStarAroundTheCentreWithTheSmallestSum)
{
    // Places on a line at 0, 1, 2 and 10; the reach is the largest distance (10), the capacity
    // 5. Pass 1: Alfa 0+1+2+10 = 13 first; Beta 0+1+1+9 = 11 better (pass improved); then Cyril
    // 0+2+1+8 = 11 (not strictly better) and Dunaj 27. Pass 2 on the order Beta, Alfa, Cyril,
    // Dunaj: 11, then Alfa 13, Cyril 11, Dunaj 27, nothing better: 8 solutions.
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 1, 0 }, { "Cyril", 2, 0 }, { "Dunaj", 10, 0 } });
    const StarSearchResult r = searchWith(*p, 0, 0);
    EXPECT_EQ(r.reach, 10.0);
    EXPECT_EQ(r.capacity, 5);
    EXPECT_EQ(r.best.StarCount, 1);
    EXPECT_EQ(r.best.StarTotal, 11.0);
    EXPECT_EQ(r.best.RecalcCount, 8);
    EXPECT_EQ(r.passes, 2);
    EXPECT_EQ(names(r.best), (Lines { "Beta", "Alfa", "Cyril", "Dunaj" }));
    EXPECT_EQ(r.lists[0], (Lines { "Pocet Central: 1", "----------", "Pocet Central: 1", "----------" }));
    EXPECT_EQ(r.lists[1],
        (Lines { "Hviezda Zoznam1: Alfa", "Hviezda Zoznam2: Beta", "Hviezda Zoznam3: Cyril",
            "Hviezda Zoznam4: Dunaj", "----------", "Hviezda Zoznam1: Beta", "Hviezda Zoznam2: Alfa",
            "Hviezda Zoznam3: Cyril", "Hviezda Zoznam4: Dunaj" }));
    // Beta's position in the order of pass 1, not in the assignment order.
    EXPECT_EQ(r.lists[2], (Lines { "Centrum1: 1", "----------", "Centrum1: 2" }));
    EXPECT_EQ(r.lists[4], (Lines { "Dlzka okruhu: 13", "----------", "Dlzka okruhu: 11" }));
}

TEST(StarSearch, FullStarSwapsItsFarthestPlaceForANearerOne)
{
    // Capacity 2, reach 5. Alfa takes Beta (5) and is full; Cyril (1) is nearer than Beta, so
    // Cyril takes Beta's slot and the sum becomes 5 - 5 + 1 = 1; Beta forms star 2. The
    // alternatives (Cyril: 1 + 0, Beta: 5 - 5 + 4 + 0) are no better.
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 5, 0 }, { "Cyril", 1, 0 } });
    const StarSearchResult r = searchWith(*p, 0, 2);
    EXPECT_EQ(r.best.StarCount, 2);
    EXPECT_EQ(r.best.StarTotal, 1.0);
    EXPECT_EQ(r.best.StarSum, (std::vector<double> { 1.0, 0.0 }));
    EXPECT_EQ(names(r.best), (Lines { "Alfa", "Cyril", "Beta" }));
    EXPECT_EQ(r.best.StarCentre, (std::vector<int> { 1, 3 }));
    EXPECT_EQ(r.lists[2], (Lines { "Centrum1: 1", "Centrum2: 2" }));
    EXPECT_EQ(r.best.RecalcCount, 3);

    const std::vector<StarGridRow> grid = starResultGrid(r.best, 3, ",");
    EXPECT_EQ(grid[3], (StarGridRow { "3", "Beta", "Beta", "1", "Pocet Central: 2" }));
}

TEST(StarSearch, AlternativeThatSavesAStarMarksThePassAndASecondPassFollows)
{
    // Reach 1 on a line at 0, 1, 2: Alfa takes Beta, Cyril is alone (2 stars, total 1). With
    // no star kept, Beta as centre takes all three (1 star, total 2): fewer stars win. Then
    // Cyril of the new best (Cyril, Beta; Alfa) gives 2 stars. Pass 2 on Beta, Alfa, Cyril: the
    // first solution equals the best, Alfa and Cyril give 2 stars: 6 solutions in 2 passes.
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 1, 0 }, { "Cyril", 2, 0 } });
    const StarSearchResult r = searchWith(*p, 1, 0);
    EXPECT_EQ(r.best.StarCount, 1);
    EXPECT_EQ(r.best.StarTotal, 2.0);
    EXPECT_EQ(r.best.RecalcCount, 6);
    EXPECT_EQ(r.passes, 2);
    EXPECT_EQ(names(r.best), (Lines { "Beta", "Alfa", "Cyril" }));
    EXPECT_EQ(r.lists[0], (Lines { "Pocet Central: 2", "----------", "Pocet Central: 1", "----------" }));
    EXPECT_EQ(r.lists[2], (Lines { "Centrum1: 1", "Centrum2: 3", "----------", "Centrum1: 2" }));
    EXPECT_EQ(r.lists[3],
        (Lines { "Pocet miest v okruhu1: 2", "Pocet miest v okruhu2: 1", "----------",
            "Pocet miest v okruhu1: 3" }));
}

TEST(StarSearch, SecondPassImprovesOnTheOrderOfTheBest)
{
    // Found by star_reference.py: capacity 3, no reach limit; pass 2 finds a better total on
    // the order of pass 1's best, pass 3 finds nothing.
    auto p = projectWith(
        { { "P0", 2, 2 }, { "P1", 1, 6 }, { "P2", 0, 5 }, { "P3", 1, 5 }, { "P4", 5, 2 }, { "P5", 3, 1 } });
    const StarSearchResult r = searchWith(*p, 0, 3);
    EXPECT_EQ(r.passes, 3);
    EXPECT_EQ(r.best.StarCount, 2);
    EXPECT_EQ(r.best.StarTotal, 5.650281539872885);
    EXPECT_EQ(r.best.StarSum, (std::vector<double> { 3.6502815398728847, 2.0 }));
    EXPECT_EQ(r.best.RecalcCount, 24);
    EXPECT_EQ(names(r.best), (Lines { "P5", "P0", "P4", "P3", "P1", "P2" }));
    EXPECT_EQ(r.lists[4],
        (Lines { "Dlzka okruhu: 6,8284", "----------", "Dlzka okruhu: 6,4142", "----------",
            "Dlzka okruhu: 6,0645", "----------", "Dlzka okruhu: 5,6503" }));
    EXPECT_EQ(r.lists[2],
        (Lines { "Centrum1: 1", "Centrum2: 2", "----------", "Centrum1: 1", "Centrum2: 4", "----------",
            "Centrum1: 6", "Centrum2: 2", "----------", "Centrum1: 1", "Centrum2: 6" }));
}

TEST(StarSearch, AlternativeWhoseCentreRunsPastTheLastPlaceIsSkipped)
{
    // Reach 1, in the file's order B (0;2), A (1;3), A (2;0), A (2;0), A (0;2). Stars {B, A5},
    // {A2}, {A3, A4}: 3 stars, total 0. Keeping star 1 pools A2, A3, A4; their name "A" is
    // looked up as the later place A5, which star 1 holds, and no place after it is free: k = 2
    // and 3 are skipped, neither evaluated nor counted. Keeping none, every k finds A5 free:
    // 4 more solutions, none better.
    auto p = projectWith({ { "B", 0, 2 }, { "A", 1, 3 }, { "A", 2, 0 }, { "A", 2, 0 }, { "A", 0, 2 } });
    const StarSearchResult r = searchWith(*p, 1, 0);
    EXPECT_EQ(r.best.RecalcCount, 5);
    EXPECT_EQ(r.best.StarCount, 3);
    EXPECT_EQ(r.best.StarTotal, 0.0);
    EXPECT_EQ(r.best.StarSize, (std::vector<int> { 2, 1, 2 }));
}

TEST(StarSearch, CentreJoinsItsStarWhateverTheReachOrItsOwnEntry)
{
    // A negative route length: no place qualifies, yet each is the centre of a star of its own.
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 1, 0 }, { "Cyril", 2, 0 } });
    StarSearchResult r = searchWith(*p, -1, 0);
    EXPECT_EQ(r.best.StarCount, 3);
    EXPECT_EQ(r.best.StarSize, (std::vector<int> { 1, 1, 1 }));

    // Real distances with a damaged diagonal of 7 and 1 between the places, reach 2: every
    // centre still joins first (its 7 counted), and the star takes the others.
    auto q = projectWith({ { "Alfa", 0, 0 }, { "Beta", 1, 0 }, { "Cyril", 2, 0 } });
    tick(*q, CritRealDistances);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            q->Record.Distance[i][j] = i == j ? 7.0 : 1.0;
    r = searchWith(*q, 2, 0);
    EXPECT_EQ(r.best.StarCount, 1);
    EXPECT_EQ(r.best.StarTotal, 9.0);
    EXPECT_EQ(r.best.StarCentre, (std::vector<int> { 1 }));
}

TEST(StarSearch, PlacesPerGroupBelowOneCountsAsUnticked)
{
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 1, 0 }, { "Cyril", 2, 0 } });
    tick(*p, CritEvenGroups);
    p->Record.PlacesPerGroup = 0;
    StarWorkingCopy w = VstupUdajRealStavCreate(*p);
    EXPECT_EQ(starCapacity(w), 4);
    EXPECT_EQ(Hviezda(w, ",").best.StarCount, 1);
    p->Record.PlacesPerGroup = -3;
    EXPECT_EQ(starCapacity(VstupUdajRealStavCreate(*p)), 4);
    p->Record.PlacesPerGroup = 2;
    EXPECT_EQ(starCapacity(VstupUdajRealStavCreate(*p)), 2);
}

TEST(StarSearch, CriteriaGiveTheReachAndTheMatrix)
{
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 3, 4 } });
    p->Record.MaxRouteLength = 2.5;
    p->Record.MaxDistributionTime = 0.5;
    p->Record.VehicleSpeed = 80;
    // Values without their boxes count for nothing: the largest distance, 5.
    EXPECT_EQ(starReach(VstupUdajRealStavCreate(*p)), 5.0);
    tick(*p, CritMaxRouteLength);
    EXPECT_EQ(starReach(VstupUdajRealStavCreate(*p)), 2.5);
    // Time × speed wins over the route length; the speed is 60 while its box is unticked.
    tick(*p, CritMaxDistributionTime);
    EXPECT_EQ(starReach(VstupUdajRealStavCreate(*p)), 30.0);
    tick(*p, CritVehicleSpeed);
    EXPECT_EQ(starReach(VstupUdajRealStavCreate(*p)), 40.0);

    // The project's matrix with "Reálne vzdialenosti medzi miestami", straight lines without.
    p->Record.Distance[1][2] = 11.0;
    p->Record.Distance[2][1] = 12.0;
    EXPECT_EQ(VstupUdajRealStavCreate(*p).d0(1, 2), 5.0);
    tick(*p, CritRealDistances);
    const StarWorkingCopy w = VstupUdajRealStavCreate(*p);
    EXPECT_EQ(w.d0(1, 2), 11.0);
    EXPECT_EQ(w.d0(2, 1), 12.0);
    EXPECT_EQ(w.n, 2);
}

TEST(StarSearch, GridOfTwoPlacesHasNoStarCountRowAndTotalsKeepFourDecimals)
{
    auto p = projectWith({ { "Alfa", 0, 0 }, { "Beta", 1, 1 } });
    const StarSearchResult r = searchWith(*p, 0, 1);
    ASSERT_EQ(r.best.StarCount, 2);
    const std::vector<StarGridRow> grid = starResultGrid(r.best, 2, ",");
    ASSERT_EQ(grid.size(), 3u);
    EXPECT_EQ(grid[1][4], "0");
    EXPECT_EQ(grid[2][4], "Pocet Prepoctov: " + std::to_string(r.best.RecalcCount));

    StarSolution s = r.best;
    s.StarTotal = 1.03125; // 10312,5 ten-thousandths: the half goes to the even 10312
    EXPECT_EQ(starResultGrid(s, 2, ",")[1][4], "1,0312");
    s.StarTotal = 2.5;
    EXPECT_EQ(starResultGrid(s, 2, ".")[1][4], "2.5");

    // No places: no search, the header row only.
    auto none = projectWith({});
    const StarSearchResult empty = Hviezda(VstupUdajRealStavCreate(*none), ",");
    EXPECT_EQ(empty.best.StarCount, 0);
    EXPECT_EQ(starResultGrid(empty.best, 0, ",").size(), 1u);
}

} // namespace

namespace {

TEST(StationGraphGeometry, ListWidthAndTheWindowWithoutPlaces)
{
    const std::vector<dorvan::GraphPlace> places { { dorvan::Text100::fromUtf8("Žilina"), 12.5, -3 },
        { dorvan::Text100::fromUtf8("B"), 0, 1e20 } };
    const std::vector<std::string> lines = dorvan::graphListLines(places, ",");
    EXPECT_EQ(lines, (std::vector<std::string> { "M1: Žilina, [12,5;-3]", "M2: B, [0;1E+20]" }));
    // "M1: Žilina, [12,5;-3]" has 21 characters (Ž is one): 6 × 21 - 25 = 101.
    EXPECT_EQ(dorvan::graphListWidth(lines), 101);
    EXPECT_EQ(dorvan::graphListWidth({}), 0);

    // With no places the window is the 5 units around the origin: sx = 584 / 10.
    const dorvan::GraphWindow w = dorvan::graphWindow({}, 624, 446);
    EXPECT_EQ(w.minX, -5.0);
    EXPECT_EQ(w.maxY, 5.0);
    EXPECT_EQ(w.sx, 58.4);
    EXPECT_EQ(w.px(0), 312);
    // Negative places only: the maximum becomes 0, then 5.
    const std::vector<dorvan::GraphPlace> west { { dorvan::Text100::fromUtf8("A"), -20, -10 } };
    const dorvan::GraphWindow v = dorvan::graphWindow(west, 624, 446);
    EXPECT_EQ(v.maxX, 5.0);
    EXPECT_EQ(v.minX, -25.0);
    EXPECT_EQ(v.maxY, 5.0);
}

TEST(StationGraphGeometry, LabelsOfCoordinatesBeyondTheIntRangeKeepTheirValue)
{
    // X from -5 to 99999999999 + 5: a hundred ticks on the right half axis (100 × 100000000004 /
    // 100000000009 rounds to 100), labelled at every tenth with round(k × 100000000004 / 100).
    const std::vector<dorvan::GraphPlace> places { { dorvan::Text100::fromUtf8("A"), 99999999999.0, 2 },
        { dorvan::Text100::fromUtf8("B"), 3, 4 } };
    const dorvan::StationGraph g = dorvan::stationGraph(places, dorvan::StarSolution {}, 624, 446);
    std::vector<std::string> texts;
    for (const dorvan::ChartText& t : g.labels)
        texts.push_back(t.text);
    for (const char* want : { "10000000000", "50000000002", "100000000004" })
        EXPECT_NE(std::find(texts.begin(), texts.end(), want), texts.end()) << want;
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "2147483647"), texts.end());
    // Y from -5 to 9: nothing big there, and no "-0".
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "-0"), texts.end());

    // Only a damaged file brings 1e300: the last label of its half axis keeps the magnitude,
    // short.
    const std::vector<dorvan::GraphPlace> far { { dorvan::Text100::fromUtf8("A"), 1e300, 2 } };
    const dorvan::StationGraph h = dorvan::stationGraph(far, dorvan::StarSolution {}, 624, 446);
    std::vector<std::string> farTexts;
    for (const dorvan::ChartText& t : h.labels)
        farTexts.push_back(t.text);
    EXPECT_NE(std::find(farTexts.begin(), farTexts.end(), "1E+300"), farTexts.end());
    for (const std::string& t : farTexts)
        EXPECT_LE(t.size(), 16u) << t;
}

} // namespace
