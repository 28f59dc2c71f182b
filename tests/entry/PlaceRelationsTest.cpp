#include "entry/PlaceRelations.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using dorvan::DistanceCursor;
using dorvan::Text100;
using dorvan::TProjectRecord;

Text100 t(const char* s)
{
    return Text100::fromUtf8(s);
}

// Every pair the entry asks for until it finishes, typing value 10*row+col each time.
std::vector<std::pair<int, int>> askAll(TProjectRecord& r, int state, int n, int added)
{
    std::vector<std::pair<int, int>> asked;
    DistanceCursor c = dorvan::firstDistancePair(state, n, added);
    for (int guard = 0; guard < 1000 && !dorvan::distanceEntryFinished(c, n); ++guard) {
        asked.emplace_back(c.row, c.col);
        EXPECT_TRUE(dorvan::enterDistance(r, c, n, added, 10.0 * c.row + c.col));
    }
    return asked;
}

TEST(DistanceEntry, FirstListAsksEachPairOnceInBothDirections)
{
    TProjectRecord r;
    r.Distance[4][4] = 7.0;
    auto asked = askAll(r, 0, 4, 0);
    std::vector<std::pair<int, int>> expected { { 1, 2 }, { 1, 3 }, { 1, 4 }, { 2, 3 }, { 2, 4 }, { 3, 4 } };
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(r.Distance[2][4], 24.0);
    EXPECT_EQ(r.Distance[4][2], 24.0);
    EXPECT_EQ(r.Distance[1][3], 13.0);
    EXPECT_EQ(r.Distance[3][1], 13.0);
    EXPECT_EQ(r.Distance[4][4], 0.0); // the last diagonal is reached and cleared

    TProjectRecord two;
    auto pair = askAll(two, 0, 2, 0);
    ASSERT_EQ(pair.size(), 1u);
    EXPECT_EQ(two.Distance[2][1], 12.0);
}

TEST(DistanceEntry, AfterAnAdditionEachAddedPlaceIsAskedAgainstEveryPlace)
{
    TProjectRecord r;
    r.Distance[1][2] = 3.0;
    r.Distance[5][5] = 9.0;
    auto one = askAll(r, 1, 5, 1);
    std::vector<std::pair<int, int>> expected { { 5, 1 }, { 5, 2 }, { 5, 3 }, { 5, 4 } };
    EXPECT_EQ(one, expected);
    EXPECT_EQ(r.Distance[3][5], 53.0);
    EXPECT_EQ(r.Distance[5][5], 0.0);
    EXPECT_EQ(r.Distance[1][2], 3.0); // pairs of the old places stay

    TProjectRecord r2;
    auto two = askAll(r2, 1, 6, 2);
    std::vector<std::pair<int, int>> expected2 { { 5, 1 }, { 5, 2 }, { 5, 3 }, { 5, 4 }, { 5, 6 }, { 6, 1 },
        { 6, 2 }, { 6, 3 }, { 6, 4 }, { 6, 5 } };
    EXPECT_EQ(two, expected2);
    EXPECT_EQ(r2.Distance[5][5], 0.0);
    EXPECT_EQ(r2.Distance[6][6], 0.0);

    // Added places that cannot be counted (an opened project knows none) ask the whole list.
    EXPECT_EQ(dorvan::firstDistancePair(1, 4, 0), (DistanceCursor { 1, 2 }));
    EXPECT_EQ(dorvan::firstDistancePair(1, 4, 4), (DistanceCursor { 1, 2 }));
}

TEST(DistanceEntry, CursorOutsideTheListStoresNothingAndValuesAbove0Only)
{
    TProjectRecord r;
    DistanceCursor past { 3, 1 };
    EXPECT_FALSE(dorvan::enterDistance(r, past, 2, 0, 5.0));
    EXPECT_TRUE(dorvan::distanceEntryFinished(past, 2));
    DistanceCursor single = dorvan::firstDistancePair(0, 1, 0);
    EXPECT_TRUE(dorvan::distanceEntryFinished(single, 1));
    EXPECT_FALSE(dorvan::enterDistance(r, single, 1, 0, 5.0));

    EXPECT_FALSE(dorvan::parseDistance("0").has_value());
    EXPECT_FALSE(dorvan::parseDistance("0,00004").has_value()); // rounds to 0
    EXPECT_FALSE(dorvan::parseDistance("-3").has_value());
    EXPECT_FALSE(dorvan::parseDistance("abc").has_value());
    EXPECT_FALSE(dorvan::parseDistance("").has_value());
    ASSERT_TRUE(dorvan::parseDistance("12,34567").has_value());
    EXPECT_DOUBLE_EQ(*dorvan::parseDistance("12,34567"), 12.3457);
    EXPECT_DOUBLE_EQ(*dorvan::parseDistance("0,0001"), 0.0001);
}

TEST(CentreAndDepots, TheCentreLeavesTheDepotsAndClearsWhatNoLongerApplies)
{
    TProjectRecord r;
    r.LoadTimeDM = 4.0;
    r.CapacityDM = 5.0;
    r.LoadTimeDC = 6.0;
    r.CapacityDC = 7.0;
    EXPECT_EQ(dorvan::addWarehouse(r, t("Gama")), 1);
    EXPECT_EQ(dorvan::addWarehouse(r, t("Alfa")), 1);
    EXPECT_EQ(dorvan::addWarehouse(r, t("Beta")), 2);
    EXPECT_EQ(dorvan::addWarehouse(r, t("Beta")), 0); // already a depot
    ASSERT_EQ(r.WarehouseCount, 3);
    EXPECT_EQ(r.WarehouseName[3], t("Gama"));

    // Four places: Beta becomes the centre, Alfa and Gama stay depots, Delta is a DM place.
    dorvan::chooseCentral(r, t("Beta"), 4);
    EXPECT_EQ(r.CentralName, t("Beta"));
    EXPECT_EQ(r.CentralState, 2);
    ASSERT_EQ(r.WarehouseCount, 2);
    EXPECT_EQ(r.WarehouseName[1], t("Alfa"));
    EXPECT_EQ(r.WarehouseName[2], t("Gama"));
    EXPECT_EQ(r.LoadTimeDM, 4.0);

    // With three places the centre and the two depots cover all: DM values are cleared.
    dorvan::chooseCentral(r, t("Beta"), 3);
    EXPECT_EQ(r.LoadTimeDM, 0.0);
    EXPECT_EQ(r.CapacityDM, 0.0);

    dorvan::cancelCentral(r);
    EXPECT_TRUE(r.CentralName.empty());
    EXPECT_EQ(r.CentralState, 0);
    EXPECT_EQ(r.LoadTimeDC, 0.0);
    EXPECT_EQ(r.CapacityDC, 0.0);

    // Removal goes by name, so a stale entry before it does not take its place.
    EXPECT_TRUE(dorvan::removeWarehouse(r, t("Gama")));
    EXPECT_FALSE(dorvan::removeWarehouse(r, t("Gama")));
    ASSERT_EQ(r.WarehouseCount, 1);
    EXPECT_EQ(r.WarehouseName[1], t("Alfa"));
}

TEST(CentreAndDepots, SortedPositionFollowsCodePageBytes)
{
    std::vector<Text100> v { t("Beta"), t("Miesto10"), t("Miesto2"), t("ab") };
    EXPECT_EQ(dorvan::sortedPosition(v, t("Alfa")), 0);
    EXPECT_EQ(dorvan::sortedPosition(v, t("Miesto1")), 1);
    EXPECT_EQ(dorvan::sortedPosition(v, t("Miesto10")), 2); // after an equal name
    EXPECT_EQ(dorvan::sortedPosition(v, t("Zeta")), 3); // capitals before small letters
    EXPECT_EQ(dorvan::sortedPosition(v, t("Žilina")), 4); // Ž is byte 0x8E, after ASCII
    EXPECT_EQ(dorvan::sortedPosition({}, t("X")), 0);
}

TEST(Priorities, AppendRemoveAndMoveWithWrapping)
{
    TProjectRecord r;
    for (const char* n : { "C", "A", "D", "B" })
        ASSERT_TRUE(dorvan::addPriority(r, t(n)));
    auto order = [&r] {
        std::string s;
        for (int k = 1; k <= r.PriorityCount; ++k)
            s += r.PriorityName[k].toUtf8();
        return s;
    };
    EXPECT_EQ(order(), "CADB");
    EXPECT_EQ(dorvan::movePriority(r, 3, true), 2);
    EXPECT_EQ(order(), "CDAB");
    EXPECT_EQ(dorvan::movePriority(r, 2, false), 3);
    EXPECT_EQ(order(), "CADB");
    EXPECT_EQ(dorvan::movePriority(r, 1, true), 4); // the first goes to the end
    EXPECT_EQ(order(), "ADBC");
    EXPECT_EQ(dorvan::movePriority(r, 4, false), 1); // the last comes to the top
    EXPECT_EQ(order(), "CADB");
    EXPECT_EQ(dorvan::movePriority(r, 0, true), 0);
    EXPECT_EQ(dorvan::movePriority(r, 5, false), 0);
    EXPECT_EQ(order(), "CADB");

    EXPECT_TRUE(dorvan::removePriority(r, 2));
    EXPECT_EQ(order(), "CDB");
    EXPECT_FALSE(dorvan::removePriority(r, 4));
    EXPECT_EQ(r.PriorityCount, 3);
}

TEST(Priorities, ChoiceListsLeaveOutTheCentre)
{
    TProjectRecord r;
    for (int p = 1; p <= 4; ++p)
        r.PlaceName[p] = t(std::string(1, static_cast<char>('A' + p - 1)).c_str());
    r.CentralName = t("B");
    dorvan::addWarehouse(r, t("D"));
    dorvan::addWarehouse(r, t("Gone")); // a deleted place stays listed but matches no place
    auto s = dorvan::splitPlaces(r, 4, r.WarehouseName, r.WarehouseCount);
    EXPECT_EQ(s.listed, (std::vector<int> { 4 }));
    EXPECT_EQ(s.others, (std::vector<int> { 1, 3 }));
    EXPECT_TRUE(dorvan::listHolds(r.WarehouseName, r.WarehouseCount, t("Gone")));
    EXPECT_FALSE(dorvan::listHolds(r.WarehouseName, r.WarehouseCount, t("B")));
}

} // namespace
