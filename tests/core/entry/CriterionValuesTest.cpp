#include "core/entry/CriterionValues.h"
#include "core/project/RecordCodec.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace dorvan;

TEST(CriterionValues, QuantityAndPriceAreAtLeastOneAfterRounding)
{
    EXPECT_EQ(parseQuantityOrPrice("1"), 1.0);
    EXPECT_EQ(parseQuantityOrPrice("2,5"), 2.5);
    EXPECT_EQ(parseQuantityOrPrice(" 12.34567 "), 12.3457);
    EXPECT_FALSE(parseQuantityOrPrice("0,5"));
    // 0,99995 rounds to 1,0000 (halves to even: 9999.5 -> 10000) and so counts as 1.
    EXPECT_EQ(parseQuantityOrPrice("0,99995"), 1.0);
    EXPECT_FALSE(parseQuantityOrPrice("0,99994"));
    EXPECT_FALSE(parseQuantityOrPrice("-3"));
    EXPECT_FALSE(parseQuantityOrPrice(""));
    EXPECT_FALSE(parseQuantityOrPrice("abc"));
    EXPECT_FALSE(parseQuantityOrPrice("1e3"));
}

TEST(CriterionValues, WholeNumbersKeepToTheirRangeAndToThirtyTwoBits)
{
    EXPECT_EQ(parseFlexibility("4"), 4);
    EXPECT_FALSE(parseFlexibility("0"));
    EXPECT_FALSE(parseFlexibility("-1"));
    EXPECT_FALSE(parseFlexibility("2,5"));
    EXPECT_FALSE(parseFlexibility(""));
    EXPECT_EQ(parseFlexibility("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_FALSE(parseFlexibility("2147483648"));
    EXPECT_FALSE(parseFlexibility("99999999999999999999999"));

    EXPECT_EQ(parseVehicleCount("0"), 0);
    EXPECT_EQ(parseVehicleCount("12"), 12);
    EXPECT_FALSE(parseVehicleCount("-1"));
    EXPECT_FALSE(parseVehicleCount("1,5"));

    EXPECT_EQ(parsePlacesPerGroup("3"), 3);
    EXPECT_FALSE(parsePlacesPerGroup("0"));
    EXPECT_FALSE(parsePlacesPerGroup("x"));
}

TEST(CriterionValues, SingleValuesAreZeroOrMore)
{
    EXPECT_EQ(parseNonNegative("0"), 0.0);
    EXPECT_EQ(parseNonNegative("12,5"), 12.5);
    // -0,00004 rounds to a count of 0 and is therefore 0, not negative.
    EXPECT_EQ(parseNonNegative("-0,00004"), 0.0);
    EXPECT_FALSE(parseNonNegative("-0,0001"));
    EXPECT_FALSE(parseNonNegative("-5"));
    EXPECT_FALSE(parseNonNegative(""));
}

TEST(CriterionValues, GridCommitStoresValidRowsAndReportsTheOthers)
{
    TProjectRecord r;
    for (int p = 1; p <= 4; ++p) {
        r.PlaceQuantity[p] = 7.0;
        r.PlaceFlexibility[p] = 3;
        r.PlacePrice[p] = 9.0;
    }
    PlaceValueCommit q = commitPlaceValues(r, PlaceValueKind::Quantity, { "2", "0,5", "", "3,25" }, ",");
    EXPECT_EQ(q.stored, 2);
    EXPECT_EQ(q.refused, (std::vector<int> { 2, 3 }));
    EXPECT_EQ(r.PlaceQuantity[1], 2.0);
    EXPECT_EQ(r.PlaceQuantity[2], 7.0);
    EXPECT_EQ(r.PlaceQuantity[3], 7.0);
    EXPECT_EQ(r.PlaceQuantity[4], 3.25);
    EXPECT_EQ(r.PlacePrice[1], 9.0); // another kind is untouched

    PlaceValueCommit f = commitPlaceValues(r, PlaceValueKind::Flexibility, { "0", "5", "1,5" }, ",");
    EXPECT_EQ(f.stored, 1);
    EXPECT_EQ(f.refused, (std::vector<int> { 1, 3 }));
    EXPECT_EQ(r.PlaceFlexibility[1], 3);
    EXPECT_EQ(r.PlaceFlexibility[2], 5);

    PlaceValueCommit c = commitPlaceValues(r, PlaceValueKind::Price, { "1" }, ",");
    EXPECT_EQ(c.stored, 1);
    EXPECT_EQ(r.PlacePrice[1], 1.0);

    // More cells than places never reach entry 100.
    std::vector<std::string> many(150, "2");
    PlaceValueCommit m = commitPlaceValues(r, PlaceValueKind::Price, many, ",");
    EXPECT_EQ(m.stored, 99);
    EXPECT_EQ(r.PlacePrice[100], 0.0);

    EXPECT_EQ(placeValueText(r, PlaceValueKind::Quantity, 4, ","), "3,25");

    // A cell that still shows its stored value is no edit: neither stored nor refused, even
    // where the stored value (0 from a file) would not be accepted if typed.
    r.PlaceQuantity[2] = 0.0;
    PlaceValueCommit same = commitPlaceValues(r, PlaceValueKind::Quantity, { "2", "0", "7", "4" }, ",");
    EXPECT_EQ(same.stored, 1);
    EXPECT_TRUE(same.refused.empty());
    EXPECT_EQ(r.PlaceQuantity[4], 4.0);
    EXPECT_EQ(placeValueText(r, PlaceValueKind::Flexibility, 2, ","), "5");
}

TEST(CriterionValues, SiteEntriesFollowCentreAndDepots)
{
    TProjectRecord r;
    SiteEntries none = siteEntries(r, 5);
    EXPECT_FALSE(none.dc);
    EXPECT_FALSE(none.ds);
    EXPECT_TRUE(none.dm);

    r.CentralName = Text100::fromUtf8("A");
    r.WarehouseCount = 4;
    SiteEntries all = siteEntries(r, 5); // centre and depots cover every place
    EXPECT_TRUE(all.dc);
    EXPECT_TRUE(all.ds);
    EXPECT_FALSE(all.dm);

    r.WarehouseCount = 3;
    EXPECT_TRUE(siteEntries(r, 5).dm);

    r.CentralName = Text100();
    r.WarehouseCount = 5;
    SiteEntries depots = siteEntries(r, 5);
    EXPECT_FALSE(depots.dc);
    EXPECT_TRUE(depots.ds);
    EXPECT_FALSE(depots.dm);
}

// Each single value lands in its own field by its own rule, and nothing else of the record
// moves; a refused text leaves the record byte for byte as it was.
TEST(CriterionValues, EachSingleValueGoesToItsOwnFieldByItsOwnRule)
{
    using R = TProjectRecord;
    struct Row {
        SingleValue value;
        double R::*real;
        std::int32_t R::*whole;
        const char* typed;
        double stored;
        const char* shown;
        const char* refused;
    };
    const Row rows[] = {
        { SingleValue::LoadTimeDC, &R::LoadTimeDC, nullptr, "2,5", 2.5, "2,5", "-1" },
        { SingleValue::LoadTimeDS, &R::LoadTimeDS, nullptr, "0", 0.0, "0", "x" },
        { SingleValue::LoadTimeDM, &R::LoadTimeDM, nullptr, "3,14159", 3.1416, "3,1416", "-0,5" },
        { SingleValue::CapacityDC, &R::CapacityDC, nullptr, "100", 100.0, "100", "" },
        { SingleValue::CapacityDS, &R::CapacityDS, nullptr, "7,25", 7.25, "7,25", "abc" },
        { SingleValue::CapacityDM, &R::CapacityDM, nullptr, "0,00004", 0.0, "0", "-2" },
        { SingleValue::VehicleCount, nullptr, &R::VehicleCount, "0", 0.0, "0", "2,5" },
        { SingleValue::VehicleCapacity, &R::VehicleCapacity, nullptr, "12,5", 12.5, "12,5", "-1" },
        { SingleValue::VehicleSpeed, &R::VehicleSpeed, nullptr, "80", 80.0, "80", "fast" },
        { SingleValue::PlacesPerGroup, nullptr, &R::PlacesPerGroup, "3", 3.0, "3", "0" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        R r;
        ResetProjectAtStart(r);
        // Every field starts at 9, so that a stored 0 shows.
        for (const Row& other : rows) {
            if (other.real != nullptr)
                r.*other.real = 9.0;
            else
                r.*other.whole = 9;
        }
        const RecordBytes before = encodeRecord(r);
        EXPECT_EQ(singleValue(r, row.value), 9.0);
        EXPECT_FALSE(storeSingleValue(r, row.value, row.refused));
        EXPECT_TRUE(encodeRecord(r) == before) << "a refused value changed the record";

        ASSERT_TRUE(storeSingleValue(r, row.value, row.typed));
        if (row.real != nullptr)
            EXPECT_EQ(r.*row.real, row.stored);
        else
            EXPECT_EQ(r.*row.whole, static_cast<std::int32_t>(row.stored));
        EXPECT_EQ(singleValue(r, row.value), row.stored);
        EXPECT_EQ(singleValueText(r, row.value, ","), row.shown);
        // Put back, the record is as before: no other field moved.
        if (row.real != nullptr)
            r.*row.real = 9.0;
        else
            r.*row.whole = 9;
        EXPECT_TRUE(encodeRecord(r) == before) << "another field changed";
    }
}

TEST(CriterionValues, ARouteLimitIsStoredAndEnteredOnlyWhenZeroOrMore)
{
    using R = TProjectRecord;
    struct Row {
        RouteLimit limit;
        double R::*value;
        std::int32_t R::*state;
    };
    const Row rows[] = { { RouteLimit::Length, &R::MaxRouteLength, &R::RouteLengthState },
        { RouteLimit::Time, &R::MaxDistributionTime, &R::DistributionTimeState } };
    for (const Row& row : rows) {
        R r;
        ResetProjectAtStart(r);
        const RecordBytes before = encodeRecord(r);
        for (const char* bad : { "-0,5", "", "12 km" })
            EXPECT_FALSE(storeRouteLimit(r, row.limit, bad)) << bad;
        EXPECT_TRUE(encodeRecord(r) == before);
        EXPECT_FALSE(routeLimitEntered(r, row.limit));

        ASSERT_TRUE(storeRouteLimit(r, row.limit, "0"));
        EXPECT_EQ(r.*row.value, 0.0);
        EXPECT_EQ(r.*row.state, 2);
        EXPECT_TRUE(routeLimitEntered(r, row.limit));
        // A change keeps the limit entered.
        ASSERT_TRUE(storeRouteLimit(r, row.limit, "12,34567"));
        EXPECT_EQ(routeLimit(r, row.limit), 12.3457);
        EXPECT_EQ(r.*row.state, 2);
    }
}
