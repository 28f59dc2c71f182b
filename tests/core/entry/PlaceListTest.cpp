#include "core/entry/PlaceList.h"

#include "core/common/CodePage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

using namespace dorvan;

namespace {

std::unique_ptr<TProjectRecord> recordWith(
    std::initializer_list<std::tuple<const char*, double, double>> places)
{
    auto r = std::make_unique<TProjectRecord>();
    int k = 0;
    for (auto [name, x, y] : places)
        storeNewPlace(*r, ++k, Text100::fromUtf8(name), x, y);
    return r;
}

// The plain exchange sort: every pass restarts at place 1.
void referenceSort(TProjectRecord& r, int count)
{
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int i = 1; i <= count && !exchanged; ++i)
            for (int j = i; j <= count && !exchanged; ++j)
                if (compareNames(r.PlaceName[i].bytes(), r.PlaceName[j].bytes()) > 0) {
                    std::swap(r.PlaceName[i], r.PlaceName[j]);
                    std::swap(r.PlaceX[i], r.PlaceX[j]);
                    std::swap(r.PlaceY[i], r.PlaceY[j]);
                    std::swap(r.PlaceQuantity[i], r.PlaceQuantity[j]);
                    std::swap(r.PlacePrice[i], r.PlacePrice[j]);
                    std::swap(r.PlaceFlexibility[i], r.PlaceFlexibility[j]);
                    exchanged = true;
                }
    }
}

} // namespace

TEST(PlaceList, NamesCompareByCodePageBytes)
{
    EXPECT_LT(compareNames("Miesto10", "Miesto2"), 0);
    EXPECT_LT(compareNames("A", "AB"), 0); // a proper prefix first
    EXPECT_LT(compareNames("B", "a"), 0); // case-sensitive, capitals first
    EXPECT_EQ(compareNames("Nitra", "Nitra"), 0);
    // Bytes compare unsigned: 0x8A (Š) after every ASCII letter.
    EXPECT_GT(compareNames("\x8A"
                           "ala",
                  "Zvolen"),
        0);
    // Code-page order differs from UTF-8 byte order: Š is 0x8A, á is 0xE1 in Windows-1250,
    // but in UTF-8 á (C3 A1) comes before Š (C5 A0).
    EXPECT_LT(compareNamesUtf8("Šala", "ábel"), 0);
    EXPECT_GT(compareNamesUtf8("Žilina", "Zvolen"), 0);
}

TEST(PlaceList, SortCarriesAllSixValuesOfAPlace)
{
    auto r = recordWith({ { "Miesto2", 1, 2 }, { "Miesto10", 3, 4 }, { "Šala", 5, 6 }, { "Zvolen", 7, 8 } });
    r->PlaceQuantity[1] = 11;
    r->PlacePrice[1] = 12;
    r->PlaceFlexibility[1] = 13;
    sortPlacesByName(*r, 4);
    EXPECT_EQ(r->PlaceName[1].toUtf8(), "Miesto10");
    EXPECT_EQ(r->PlaceName[2].toUtf8(), "Miesto2");
    EXPECT_EQ(r->PlaceName[3].toUtf8(), "Zvolen");
    EXPECT_EQ(r->PlaceName[4].toUtf8(), "Šala");
    EXPECT_EQ(r->PlaceX[2], 1);
    EXPECT_EQ(r->PlaceY[2], 2);
    EXPECT_EQ(r->PlaceQuantity[2], 11);
    EXPECT_EQ(r->PlacePrice[2], 12);
    EXPECT_EQ(r->PlaceFlexibility[2], 13);
    EXPECT_EQ(r->PlaceQuantity[1], 1);
}

TEST(PlaceList, SortGivesTheSameOrderAsRestartingEveryPass)
{
    // Equal names are never exchanged with each other, but other exchanges can still reorder
    // them; the order must match the restarting sort place for place, including coordinates.
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round) {
        int count = 1 + static_cast<int>(rng() % 30);
        auto a = std::make_unique<TProjectRecord>();
        for (int k = 1; k <= count; ++k) {
            std::string name(1, static_cast<char>('A' + rng() % 4));
            if (rng() % 2)
                name += static_cast<char>('a' + rng() % 2);
            storeNewPlace(*a, k, Text100::fromBytes(name), k, -k);
        }
        auto b = std::make_unique<TProjectRecord>(*a);
        sortPlacesByName(*a, count);
        referenceSort(*b, count);
        for (int k = 1; k <= count; ++k) {
            ASSERT_EQ(a->PlaceName[k], b->PlaceName[k]) << "round " << round << " place " << k;
            ASSERT_EQ(a->PlaceX[k], b->PlaceX[k]) << "round " << round << " place " << k;
        }
    }
}

TEST(PlaceList, DistancesAreEuclideanAndStayInsideTheMatrix)
{
    auto r = recordWith({ { "A", 0, 0 }, { "B", 3, 4 }, { "C", -1.5, 2 } });
    r->Distance[1][1] = 99;
    computeDistances(*r, 3);
    EXPECT_EQ(r->Distance[1][1], 0.0);
    EXPECT_EQ(r->Distance[1][2], 5.0);
    EXPECT_EQ(r->Distance[2][1], 5.0);
    long double dx = 4.5L, dy = 2.0L;
    EXPECT_EQ(r->Distance[2][3], static_cast<double>(std::sqrt(dx * dx + dy * dy)));
    // A count beyond the list of 99 places never reaches row or column 100.
    r->Distance[100][100] = 7;
    r->Distance[1][100] = 7;
    EXPECT_NO_THROW(computeDistances(*r, 150));
    EXPECT_EQ(r->Distance[100][100], 7);
    EXPECT_EQ(r->Distance[1][100], 7);
}

TEST(PlaceList, CoordinatesDifferWhenAnyPlaceLeavesTheFirstOnesSpot)
{
    auto r = recordWith({ { "A", 1, 1 }, { "B", 1, 1 }, { "C", 1, 1.0001 } });
    EXPECT_FALSE(coordinatesDiffer(*r, 1));
    EXPECT_FALSE(coordinatesDiffer(*r, 2));
    EXPECT_TRUE(coordinatesDiffer(*r, 3));
    EXPECT_FALSE(coordinatesDiffer(*r, 0));
}

TEST(PlaceList, RemovingAPlaceMovesTheLaterOnesDown)
{
    auto r = recordWith({ { "A", 1, 1 }, { "B", 2, 2 }, { "C", 3, 3 } });
    r->PlacePrice[3] = 5;
    removePlace(*r, 2, 3);
    EXPECT_EQ(r->PlaceName[2].toUtf8(), "C");
    EXPECT_EQ(r->PlaceX[2], 3);
    EXPECT_EQ(r->PlacePrice[2], 5);
    EXPECT_EQ(r->PlaceName[1].toUtf8(), "A");
    EXPECT_NO_THROW(removePlace(*r, 0, 3));
    EXPECT_NO_THROW(removePlace(*r, 120, 120));
}

TEST(PlaceList, PlaceCountsFromTwoToNinetyNine)
{
    for (const char* bad : { "0", "1", "abc", "", "-3", "2,5", " " })
        EXPECT_EQ(checkFirstCount(bad).check, CountCheck::Invalid) << bad;
    EXPECT_EQ(checkFirstCount("100").check, CountCheck::TooMany);
    EXPECT_EQ(checkFirstCount("99999999999999999999999").check, CountCheck::TooMany);
    EXPECT_EQ(checkFirstCount("99").check, CountCheck::Accepted);
    EXPECT_EQ(checkFirstCount("99").count, 99);
    EXPECT_EQ(checkFirstCount("2").count, 2);

    EXPECT_EQ(checkAddCount("2", 97).check, CountCheck::Accepted);
    EXPECT_EQ(checkAddCount("2", 97).count, 2);
    EXPECT_EQ(checkAddCount("3", 97).check, CountCheck::TooMany);
    EXPECT_EQ(checkAddCount("0", 5).check, CountCheck::Invalid);
    EXPECT_EQ(checkAddCount("x", 5).check, CountCheck::Invalid);
    EXPECT_EQ(checkAddCount("1", 98).check, CountCheck::Accepted);
    EXPECT_EQ(checkAddCount("99999999999999999999", 5).check, CountCheck::TooMany);
}

TEST(PlaceList, DamagedNameBytesStillDisplay)
{
    Text100 damaged = Text100::fromBytes("A\x81"
                                         "B");
    EXPECT_EQ(displayName(damaged),
        "A\xEF\xBF\xBD"
        "B");
    EXPECT_EQ(displayName(Text100::fromUtf8("Žilina")), "Žilina");
}

// A typed distance belongs to its pair of places, whatever numbers sorting and deleting give
// them; the straight-line values are those of computeDistances.
TEST(PlaceList, DistancesMoveWithTheirPlaces)
{
    auto r = recordWith({ { "Dora", 0, 0 }, { "Beta", 3, 4 }, { "Cyril", 6, 8 }, { "Adam", 0, 1 } });
    computeDistances(*r, 4);
    auto straight = std::make_unique<TProjectRecord>(*r);
    r->Distance[1][2] = r->Distance[2][1] = 77.5; // Dora - Beta typed
    const std::vector<int> from = sortPlacesByName(*r, 4);
    EXPECT_EQ(from, (std::vector<int> { 4, 2, 3, 1 })); // Adam, Beta, Cyril, Dora
    EXPECT_EQ(r->Distance[4][2], 77.5);
    EXPECT_EQ(r->Distance[2][4], 77.5);
    EXPECT_EQ(r->Distance[4][3], 10.0); // Dora (0;0) - Cyril (6;8)
    EXPECT_EQ(r->Distance[3][1], straight->Distance[3][4]);
    // After the sort every straight-line pair equals a fresh computation.
    auto fresh = std::make_unique<TProjectRecord>(*r);
    computeDistances(*fresh, 4);
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) {
            const bool typed = (i == 2 && j == 4) || (i == 4 && j == 2);
            EXPECT_EQ(r->Distance[i][j], typed ? 77.5 : fresh->Distance[i][j]) << i << "," << j;
        }
    }

    // Beta goes: Dora's typed pair with it goes too, Cyril and Dora move up.
    r->Distance[3][4] = r->Distance[4][3] = 12.25; // Cyril - Dora typed
    removePlace(*r, 2, 4);
    EXPECT_EQ(r->PlaceName[3].toUtf8(), "Dora");
    EXPECT_EQ(r->Distance[2][3], 12.25);
    EXPECT_EQ(r->Distance[3][2], 12.25);
    EXPECT_EQ(r->Distance[1][3], fresh->Distance[1][4]);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(r->Distance[4][k], 0.0);
        EXPECT_EQ(r->Distance[k][4], 0.0);
    }

    // A moved place gets its straight-line row and column back; other pairs stay.
    r->PlaceX[1] = 3;
    r->PlaceY[1] = 0;
    straightenDistances(*r, 1, 3);
    EXPECT_EQ(r->Distance[1][3], 3.0); // Dora (0;0)
    EXPECT_EQ(r->Distance[3][1], 3.0);
    EXPECT_DOUBLE_EQ(r->Distance[2][1], std::sqrt(73.0)); // Cyril (6;8)
    EXPECT_EQ(r->Distance[1][1], 0.0);
    EXPECT_EQ(r->Distance[2][3], 12.25);
}
