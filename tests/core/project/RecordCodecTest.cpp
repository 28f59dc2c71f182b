#include "core/project/RecordCodec.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <random>

using namespace dorvan;

namespace {

std::int32_t i32At(const RecordBytes& b, std::size_t off)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(b[off + static_cast<std::size_t>(i)]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

double f64At(const RecordBytes& b, std::size_t off)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= static_cast<std::uint64_t>(b[off + static_cast<std::size_t>(i)]) << (8 * i);
    return std::bit_cast<double>(v);
}

// GCC 12 warns falsely (-Wrestrict) about "literal" + std::string at -O3; build it by appending.
std::string label(char c, int k)
{
    std::string s(1, c);
    s += std::to_string(k);
    return s;
}

std::string textAt(const RecordBytes& b, std::size_t off)
{
    return std::string(reinterpret_cast<const char*>(&b[off + 1]), b[off]);
}

// Fills every field with a value of its own so that a field written at a wrong offset shows.
TProjectRecord distinctRecord()
{
    TProjectRecord r;
    for (int i = 0; i < CriterionCount; ++i)
        r.CriterionOn[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
    r.EntryStateA = 101;
    r.EntryStateB = 102;
    r.DistanceEntryState = 103;
    r.RouteLengthState = 104;
    r.DistributionTimeState = 105;
    r.CentralState = 106;
    r.ReservedWord = 107;
    r.SavedPlaceCount = 108;
    r.WarehouseCount = 109;
    r.PriorityCount = 110;
    for (int k = 1; k <= 100; ++k) {
        r.PlaceName[k] = Text100::fromBytes(label('P', k));
        r.PlaceX[k] = 1000 + k;
        r.PlaceY[k] = 2000 + k;
        r.PlaceQuantity[k] = 3000 + k;
        r.PlacePrice[k] = 4000 + k;
        r.PlaceFlexibility[k] = 5000 + k;
        for (int j = 1; j <= 100; ++j)
            r.Distance[k][j] = k * 1000.0 + j;
        r.WarehouseName[k] = Text100::fromBytes(label('W', k));
        r.PriorityName[k] = Text100::fromBytes(label('R', k));
        r.GroupedPlaceName[k] = Text100::fromBytes(label('G', k));
        r.GroupPlaceCount[k] = 6000 + k;
    }
    r.MaxRouteLength = 7.25;
    r.MaxDistributionTime = 8.5;
    r.CentralName = Text100::fromBytes("Centrala");
    r.LoadTimeDC = 11.0;
    r.LoadTimeDS = 12.0;
    r.LoadTimeDM = 13.0;
    r.CapacityDC = 14.0;
    r.CapacityDS = 15.0;
    r.CapacityDM = 16.0;
    r.VehicleCount = 17;
    r.VehicleCapacity = 18.0;
    r.VehicleSpeed = 19.0;
    r.PlacesPerGroup = 20;
    r.GroupCount = 21;
    r.PictureHeight = 22;
    r.PictureWidth = 23;
    r.MapRangeX = 24;
    r.MapRangeY = 25;
    return r;
}

TProjectRecord randomRecord(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::int32_t> int32(std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max());
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_int_distribution<int> len(0, 100);
    auto dbl = [&] { return std::bit_cast<double>(bits(rng)); };   // any bit pattern, NaNs included
    auto txt = [&] {
        std::string s(static_cast<std::size_t>(len(rng)), ' ');
        for (char& c : s)
            c = static_cast<char>(byte(rng));
        return Text100::fromBytes(s);
    };
    TProjectRecord r;
    for (auto& c : r.CriterionOn)
        c = static_cast<std::uint8_t>(byte(rng));
    for (std::int32_t* f : {&r.EntryStateA, &r.EntryStateB, &r.DistanceEntryState, &r.RouteLengthState,
                            &r.DistributionTimeState, &r.CentralState, &r.ReservedWord, &r.SavedPlaceCount,
                            &r.WarehouseCount, &r.PriorityCount, &r.VehicleCount, &r.PlacesPerGroup,
                            &r.GroupCount, &r.PictureHeight, &r.PictureWidth, &r.MapRangeX, &r.MapRangeY})
        *f = int32(rng);
    for (double* f : {&r.MaxRouteLength, &r.MaxDistributionTime, &r.LoadTimeDC, &r.LoadTimeDS, &r.LoadTimeDM,
                      &r.CapacityDC, &r.CapacityDS, &r.CapacityDM, &r.VehicleCapacity, &r.VehicleSpeed})
        *f = dbl();
    r.CentralName = txt();
    for (int k = 1; k <= 100; ++k) {
        r.PlaceName[k] = txt();
        r.WarehouseName[k] = txt();
        r.PriorityName[k] = txt();
        r.GroupedPlaceName[k] = txt();
        r.PlaceX[k] = dbl();
        r.PlaceY[k] = dbl();
        r.PlaceQuantity[k] = dbl();
        r.PlacePrice[k] = dbl();
        r.PlaceFlexibility[k] = int32(rng);
        r.GroupPlaceCount[k] = int32(rng);
        for (int j = 1; j <= 100; ++j)
            r.Distance[k][j] = dbl();
    }
    return r;
}

} // namespace

TEST(RecordCodec, EveryFieldLandsAtItsOffset)
{
    RecordBytes b = encodeRecord(distinctRecord());
    ASSERT_EQ(b.size(), 124680u);
    namespace O = RecordOffset;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(b[static_cast<std::size_t>(i)], i + 1);
    EXPECT_EQ(i32At(b, 16), 101);
    EXPECT_EQ(i32At(b, 20), 102);
    EXPECT_EQ(i32At(b, 24), 103);
    EXPECT_EQ(i32At(b, 28), 104);
    EXPECT_EQ(i32At(b, 32), 105);
    EXPECT_EQ(i32At(b, 36), 106);
    EXPECT_EQ(i32At(b, 40), 107);
    EXPECT_EQ(i32At(b, 44), 108);
    EXPECT_EQ(i32At(b, 48), 109);
    EXPECT_EQ(i32At(b, 52), 110);
    for (int k : {1, 2, 57, 100}) {
        std::size_t k0 = static_cast<std::size_t>(k - 1);
        EXPECT_EQ(textAt(b, 56 + 101 * k0), label('P', k));
        EXPECT_EQ(f64At(b, 10160 + 8 * k0), 1000 + k);
        EXPECT_EQ(f64At(b, 10960 + 8 * k0), 2000 + k);
        EXPECT_EQ(f64At(b, 11760 + 8 * k0), 3000 + k);
        EXPECT_EQ(f64At(b, 12560 + 8 * k0), 4000 + k);
        EXPECT_EQ(i32At(b, 13360 + 4 * k0), 5000 + k);
        EXPECT_EQ(textAt(b, 93760 + 101 * k0), label('W', k));
        EXPECT_EQ(textAt(b, 103860 + 101 * k0), label('R', k));
        EXPECT_EQ(textAt(b, 113960 + 101 * k0), label('G', k));
        EXPECT_EQ(i32At(b, 124060 + 4 * k0), 6000 + k);
    }
    EXPECT_EQ(f64At(b, 14576), 2003.0) << "Distance[2][3] lies at 13,760 + 800 + 16";
    EXPECT_EQ(f64At(b, 13760), 1001.0);
    EXPECT_EQ(f64At(b, 13760 + 800 * 99 + 8 * 99), 100100.0);
    EXPECT_EQ(i32At(b, 10156), 0) << "padding";
    EXPECT_EQ(f64At(b, 124464), 7.25);
    EXPECT_EQ(f64At(b, 124472), 8.5);
    EXPECT_EQ(textAt(b, 124480), "Centrala");
    EXPECT_EQ(b[124581] | b[124582] | b[124583], 0) << "padding";
    EXPECT_EQ(f64At(b, 124584), 11.0);
    EXPECT_EQ(f64At(b, 124592), 12.0);
    EXPECT_EQ(f64At(b, 124600), 13.0);
    EXPECT_EQ(f64At(b, 124608), 14.0);
    EXPECT_EQ(f64At(b, 124616), 15.0);
    EXPECT_EQ(f64At(b, 124624), 16.0);
    EXPECT_EQ(i32At(b, 124632), 17);
    EXPECT_EQ(i32At(b, 124636), 0) << "padding";
    EXPECT_EQ(f64At(b, 124640), 18.0);
    EXPECT_EQ(f64At(b, 124648), 19.0);
    EXPECT_EQ(i32At(b, 124656), 20);
    EXPECT_EQ(i32At(b, 124660), 21);
    EXPECT_EQ(i32At(b, 124664), 22);
    EXPECT_EQ(i32At(b, 124668), 23);
    EXPECT_EQ(i32At(b, 124672), 24);
    EXPECT_EQ(i32At(b, 124676), 25);
    EXPECT_EQ(i32At(b, 124460), 0) << "padding";
    (void)O::End;
}

TEST(RecordCodec, IntegersAreLittleEndianAndNegativeValuesSurvive)
{
    TProjectRecord r;
    r.SavedPlaceCount = 0x01020304;
    r.GroupCount = -2;
    RecordBytes b = encodeRecord(r);
    EXPECT_EQ(b[44], 0x04);
    EXPECT_EQ(b[47], 0x01);
    EXPECT_EQ(b[124660], 0xFE);
    EXPECT_EQ(b[124663], 0xFF);
    EXPECT_EQ(decodeRecord(b).GroupCount, -2);
}

TEST(RecordCodec, RandomRecordsSurviveEncodeDecodeByteForByte)
{
    std::mt19937_64 rng(20261208);
    for (int round = 0; round < 20; ++round) {
        TProjectRecord r = randomRecord(rng);
        RecordBytes first = encodeRecord(r);
        TProjectRecord back = decodeRecord(first);
        RecordBytes second = encodeRecord(back);
        ASSERT_EQ(first, second) << "round " << round;
        EXPECT_EQ(back.PlaceName[77].bytes(), r.PlaceName[77].bytes());
        EXPECT_EQ(back.PlaceFlexibility[100], r.PlaceFlexibility[100]);
    }
}

TEST(RecordCodec, BytesBeyondANameAreWrittenAsZeros)
{
    TProjectRecord r;
    char junk[100];
    std::memset(junk, 'J', sizeof junk);
    r.CentralName = Text100::fromRaw(3, junk);   // as a reader may leave it
    RecordBytes b = encodeRecord(r);
    EXPECT_EQ(textAt(b, RecordOffset::CentralName), "JJJ");
    for (std::size_t i = RecordOffset::CentralName + 4; i < RecordOffset::CentralName + 101; ++i)
        ASSERT_EQ(b[i], 0) << "byte " << i;
}

TEST(RecordCodec, DecodingArbitraryBytesIsSafe)
{
    RecordBytes b;
    b.fill(0xFF);   // every length byte 255, every count -1
    TProjectRecord r = decodeRecord(b);
    EXPECT_EQ(r.PlaceName[1].length(), 100);
    EXPECT_EQ(r.SavedPlaceCount, -1);
    RecordBytes again = encodeRecord(r);
    EXPECT_EQ(again[RecordOffset::PlaceName], 100);
}
