#include "core/entry/PlaceRelations.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using dorvan::DistanceCursor;
using dorvan::DistanceQuestions;
using dorvan::followedLine;
using dorvan::PlaceListChange;
using dorvan::Text100;
using dorvan::TProjectRecord;

Text100 t(const char* s)
{
    return Text100::fromUtf8(s);
}

using Pairs = std::vector<std::pair<int, int>>;

// Every pair the entry asks for until it finishes, typing value 10*row+col each time.
Pairs answerAll(TProjectRecord& r, DistanceQuestions& q, int n)
{
    Pairs asked;
    for (int guard = 0; guard < 10000; ++guard) {
        const std::optional<DistanceCursor> c = q.next(n);
        if (!c)
            break;
        asked.emplace_back(c->row, c->col);
        EXPECT_TRUE(dorvan::enterDistance(r, q, n, 10.0 * c->row + c->col));
    }
    return asked;
}

TEST(DistanceEntry, FirstListAsksEachPairOnceInBothDirections)
{
    TProjectRecord r;
    r.Distance[4][4] = 7.0;
    DistanceQuestions q;
    q.askAll(4);
    EXPECT_EQ(answerAll(r, q, 4), (Pairs { { 1, 2 }, { 1, 3 }, { 1, 4 }, { 2, 3 }, { 2, 4 }, { 3, 4 } }));
    EXPECT_EQ(r.Distance[2][4], 24.0);
    EXPECT_EQ(r.Distance[4][2], 24.0);
    EXPECT_EQ(r.Distance[1][3], 13.0);
    EXPECT_EQ(r.Distance[3][1], 13.0);
    EXPECT_EQ(r.Distance[3][3], 0.0);
    EXPECT_FALSE(dorvan::enterDistance(r, q, 4, 5.0)); // nothing left: nothing stored
    EXPECT_EQ(r.Distance[1][2], 12.0);

    TProjectRecord two;
    DistanceQuestions q2;
    q2.askAll(2);
    EXPECT_EQ(answerAll(two, q2, 2), (Pairs { { 1, 2 } }));
    EXPECT_EQ(two.Distance[2][1], 12.0);
    DistanceQuestions single;
    single.askAll(1);
    EXPECT_FALSE(single.next(1).has_value());
}

TEST(DistanceEntry, AddedPlacesAreAskedAgainstEveryPlaceEachPairOnce)
{
    TProjectRecord r;
    r.Distance[1][2] = 3.0;
    DistanceQuestions q;
    q.askPlace(5, 5);
    EXPECT_EQ(answerAll(r, q, 5), (Pairs { { 5, 1 }, { 5, 2 }, { 5, 3 }, { 5, 4 } }));
    EXPECT_EQ(r.Distance[3][5], 53.0);
    EXPECT_EQ(r.Distance[1][2], 3.0); // pairs of the old places stay

    // Two added places: the pair of the two is asked once, under the first.
    TProjectRecord r2;
    DistanceQuestions q2;
    q2.askPlace(5, 5);
    q2.askPlace(6, 6);
    EXPECT_EQ(answerAll(r2, q2, 6),
        (Pairs { { 5, 1 }, { 5, 2 }, { 5, 3 }, { 5, 4 }, { 5, 6 }, { 6, 1 }, { 6, 2 }, { 6, 3 }, { 6, 4 } }));
    EXPECT_EQ(r2.Distance[6][5], 56.0);
}

TEST(DistanceEntry, QuestionsMoveWithTheirPlaces)
{
    // Four places and two added ones, "Aaa" entered as place 5 and "Zzz" as 6; sorting by name
    // makes Aaa place 1 and the old places 2..5.
    DistanceQuestions q;
    q.askPlace(5, 5);
    q.askPlace(6, 6);
    q.answered({ 5, 2 }); // Aaa against the old place 2, answered before the sort
    q.reorder({ 5, 1, 2, 3, 4, 6 });
    TProjectRecord r;
    EXPECT_EQ(answerAll(r, q, 6),
        (Pairs { { 1, 2 }, { 1, 4 }, { 1, 5 }, { 1, 6 }, { 6, 2 }, { 6, 3 }, { 6, 4 }, { 6, 5 } }));

    // A deleted place takes its pairs along; the later ones move down.
    DistanceQuestions d;
    d.askPlace(3, 4);
    d.askPlace(4, 4);
    d.remove(3, 4);
    EXPECT_EQ(answerAll(r, d, 3), (Pairs { { 3, 1 }, { 3, 2 } }));
    DistanceQuestions gone;
    gone.askPlace(2, 2);
    gone.remove(2, 2);
    EXPECT_FALSE(gone.next(2).has_value());
    EXPECT_NO_THROW(gone.remove(0, 120));
}

TEST(DistanceEntry, OnlyValuesAbove0AreDistances)
{
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

namespace {

TEST(PlaceNames, DepotAndPriorityListsFollowRenamesAndDeletions)
{
    TProjectRecord r;
    const char* before[] = { "Alfa", "Beta", "Gama", "Gama", "Delta" };
    const std::vector<Text100> oldNames { t("Alfa"), t("Beta"), t("Gama"), t("Gama"), t("Delta") };
    // Alfa deleted, Beta renamed Zeta, the first Gama deleted, the second renamed Omega, Delta
    // kept: the places are now Zeta, Omega, Delta.
    const std::vector<int> newNumber { 0, 1, 0, 2, 3 };
    r.PlaceName[1] = t("Zeta");
    r.PlaceName[2] = t("Omega");
    r.PlaceName[3] = t("Delta");
    for (const char* n : before)
        dorvan::addWarehouse(r, t(n));
    dorvan::addWarehouse(r, t("Stary")); // a name no place carried (a damaged file): it stays
    for (const char* n : { "Delta", "Beta", "Alfa", "Gama" })
        dorvan::addPriority(r, t(n));
    dorvan::followPlaceNames(r, oldNames, newNumber);

    std::vector<std::string> depots, priorities;
    for (int k = 1; k <= r.WarehouseCount; ++k)
        depots.push_back(r.WarehouseName[k].toUtf8());
    for (int k = 1; k <= r.PriorityCount; ++k)
        priorities.push_back(r.PriorityName[k].toUtf8());
    EXPECT_EQ(depots, (std::vector<std::string> { "Delta", "Omega", "Stary", "Zeta" }));
    EXPECT_EQ(priorities, (std::vector<std::string> { "Delta", "Zeta", "Omega" }));
    EXPECT_TRUE(r.WarehouseName[5].empty()); // the freed entries hold no stale name

    // The centre follows its place: renamed with it, cancelled with its deletion.
    const auto centreAfter = [&](const char* centre) {
        TProjectRecord c = r;
        dorvan::chooseCentral(c, t(centre), 5);
        c.LoadTimeDC = 2.5;
        dorvan::followPlaceNames(c, oldNames, newNumber);
        return std::pair { c.CentralName.toUtf8(), c.CentralState == 0 && c.LoadTimeDC == 0.0 };
    };
    EXPECT_EQ(centreAfter("Beta"), (std::pair<std::string, bool> { "Zeta", false }));
    EXPECT_EQ(centreAfter("Delta"), (std::pair<std::string, bool> { "Delta", false }));
    EXPECT_EQ(centreAfter("Alfa"), (std::pair<std::string, bool> { "", true }));

    // Two places of one name, one renamed: the name stays for the other.
    TProjectRecord s;
    s.PlaceName[1] = t("Kappa");
    s.PlaceName[2] = t("Lambda");
    dorvan::addPriority(s, t("Kappa"));
    dorvan::followPlaceNames(s, { t("Kappa"), t("Kappa") }, { 1, 2 });
    ASSERT_EQ(s.PriorityCount, 1);
    EXPECT_EQ(s.PriorityName[1].toUtf8(), "Kappa");
}

} // namespace

TEST(PlaceRelations, ListLinesFollowADeletedPlaceAndTheRelabelledOnes)
{
    // Four places clicked onto a picture, A01..A04; A02 is deleted and the later ones take the
    // labels of their new numbers: old A03 is A02 now, old A04 is A03.
    TProjectRecord r;
    PlaceListChange change;
    for (const char* name : { "A01", "A02", "A03", "A04" })
        change.oldNames.push_back(Text100::fromUtf8(name));
    change.newNumber = { 1, 0, 2, 3 };
    for (int k = 1; k <= 3; ++k)
        r.PlaceName[k] = Text100::fromUtf8("A0" + std::to_string(k));
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases {
        { "--- Skupina 1 ---", "--- Skupina 1 ---" }, // names no place: stays
        { "A01", "A01" },
        { "A02", std::nullopt }, // the deleted place, although a place carries its label now
        { "A03", "A02" },
        { "A04", "A03" },
        { "Mimo", "Mimo" },
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(followedLine(r, line, change), expected) << line;
}
