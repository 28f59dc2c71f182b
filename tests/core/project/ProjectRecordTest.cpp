#include "core/common/CodePage.h"
#include "core/project/Project.h"
#include "core/project/RecordCodec.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace dorvan;

namespace {

std::string hexAt(const RecordBytes& b, std::size_t off, std::size_t n)
{
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", b[off + i]);
        s += buf;
    }
    return s;
}

} // namespace

TEST(ProjectRecord, AfterStartEveryByteIsZeroButTheVehicleAndGroupDefaults)
{
    Project p;
    // Dirty everything first: the reset at start must not depend on a fresh object.
    p.Record.PlaceX[5] = 3.0;
    p.Record.VehicleSpeed = 5.0;
    p.State.PlaceCount = 7;
    p.resetAtStart();
    RecordBytes b = encodeRecord(p.Record);
    EXPECT_EQ(hexAt(b, RecordOffset::VehicleCount, 4), "01000000");
    EXPECT_EQ(hexAt(b, RecordOffset::VehicleCapacity, 8), "000000000000F03F");
    EXPECT_EQ(hexAt(b, RecordOffset::VehicleSpeed, 8), "0000000000004E40");
    EXPECT_EQ(hexAt(b, RecordOffset::PlacesPerGroup, 4), "01000000");
    for (std::size_t i = 0; i < b.size(); ++i) {
        bool isDefault = (i >= RecordOffset::VehicleCount && i < RecordOffset::VehicleCount + 4)
            || (i >= RecordOffset::VehicleCapacity && i < RecordOffset::PlacesPerGroup + 4);
        if (!isDefault) {
            ASSERT_EQ(b[i], 0) << "byte " << i;
        }
    }
    EXPECT_EQ(p.State.PlaceCount, 0);
    EXPECT_EQ(p.State.ProgramTitle, "Program DORVAN verzia 2.0");
    EXPECT_TRUE(p.State.EntryWindowClosed);
    EXPECT_TRUE(p.State.FirstEntryMode);
}

TEST(ProjectRecord, NewProjectResetKeepsPlacesAndListsButNoCriterion)
{
    Project p;
    p.resetAtStart();
    TProjectRecord& r = p.Record;
    r.CriterionOn.fill(1);
    r.EntryStateA = r.EntryStateB = r.DistanceEntryState = r.RouteLengthState = 2;
    r.DistributionTimeState = r.CentralState = r.ReservedWord = 2;
    r.MaxRouteLength = r.MaxDistributionTime = 9.5;
    r.CentralName = Text100::fromUtf8("Žilina");
    r.WarehouseCount = r.PriorityCount = r.SavedPlaceCount = 4;
    r.LoadTimeDC = r.LoadTimeDS = r.LoadTimeDM = r.CapacityDC = r.CapacityDS = r.CapacityDM = 2.5;
    r.VehicleCount = 7;
    r.VehicleCapacity = 8.0;
    r.VehicleSpeed = 90.0;
    r.PlacesPerGroup = 5;
    r.GroupCount = 3;
    r.PictureHeight = r.PictureWidth = r.MapRangeX = r.MapRangeY = 10;
    r.PlaceName[3] = Text100::fromUtf8("Nitra");
    r.PlaceX[3] = 1.25;
    r.Distance[2][3] = 4.0;
    r.WarehouseName[1] = Text100::fromUtf8("Nitra");
    r.GroupPlaceCount[1] = 2;

    ResetProjectForNew(r);

    // Every box of the new window is unticked, so no byte may tick one in a file saved later.
    for (int b = 0; b < CriterionCount; ++b)
        EXPECT_EQ(r.CriterionOn[static_cast<std::size_t>(b)], 0) << "criterion byte " << b;
    EXPECT_EQ(r.EntryStateA + r.EntryStateB + r.DistanceEntryState + r.RouteLengthState
            + r.DistributionTimeState + r.CentralState + r.ReservedWord,
        0);
    EXPECT_EQ(r.MaxRouteLength, 0.0);
    EXPECT_EQ(r.MaxDistributionTime, 0.0);
    EXPECT_TRUE(r.CentralName.empty());
    EXPECT_EQ(r.WarehouseCount + r.PriorityCount + r.SavedPlaceCount + r.GroupCount, 0);
    EXPECT_EQ(r.LoadTimeDC + r.LoadTimeDS + r.LoadTimeDM + r.CapacityDC + r.CapacityDS + r.CapacityDM, 0.0);
    EXPECT_EQ(r.VehicleCount, 1);
    EXPECT_EQ(r.VehicleCapacity, 1.0);
    EXPECT_EQ(r.VehicleSpeed, 0.0);   // unlike the start value 60
    EXPECT_EQ(r.PlacesPerGroup, 5);   // kept
    EXPECT_EQ(r.PictureHeight + r.PictureWidth + r.MapRangeX + r.MapRangeY, 0);
    // Place arrays, the distance matrix and the name lists survive.
    EXPECT_EQ(r.PlaceName[3].toUtf8(), "Nitra");
    EXPECT_EQ(r.PlaceX[3], 1.25);
    EXPECT_EQ(r.Distance[2][3], 4.0);
    EXPECT_EQ(r.WarehouseName[1].toUtf8(), "Nitra");
    EXPECT_EQ(r.GroupPlaceCount[1], 2);
}

TEST(ProjectRecord, NamesAreCutAtHundredCharactersAndRefusedOutsideTheCodePage)
{
    std::string hundred(100, 'a');
    hundred.replace(0, 2, "š");   // one two-byte UTF-8 character, still one code-page byte
    hundred += "b";               // 100 characters
    std::string longer = hundred + "xyz";

    Text100 t = Text100::fromUtf8(hundred);
    EXPECT_EQ(t.length(), 100);
    TProjectRecord r;
    r.PlaceName[1] = t;
    RecordBytes b = encodeRecord(r);
    EXPECT_EQ(b[RecordOffset::PlaceName], 100);
    EXPECT_EQ(b[RecordOffset::PlaceName + 1], 0x9A);   // š in Windows-1250
    EXPECT_EQ(b[RecordOffset::PlaceName + 100], 'b');
    EXPECT_EQ(b[RecordOffset::PlaceName + 101], 0) << "the next slot's length byte stays untouched";

    EXPECT_EQ(Text100::fromUtf8(longer).toUtf8(), hundred);
    EXPECT_THROW(Text100::fromUtf8("Ærø"), CodePageError);
    EXPECT_EQ(Text100::fromUtf8("").length(), 0);
}

TEST(ProjectRecord, ArraysAreIndexedFromOneAndRefuseOtherIndices)
{
    TProjectRecord r;
    EXPECT_NO_THROW(r.PlaceX[1] = 1.0);
    EXPECT_NO_THROW(r.PlaceX[100] = 1.0);
    EXPECT_THROW(r.PlaceX[0] = 1.0, std::out_of_range);
    EXPECT_THROW(r.PlaceX[101] = 1.0, std::out_of_range);
    EXPECT_THROW(r.Distance[1][0] = 1.0, std::out_of_range);
}

TEST(ProjectRecord, DamagedLengthByteIsNeverReadPastTheSlot)
{
    char chars[100];
    std::memset(chars, 'x', sizeof chars);
    Text100 t = Text100::fromRaw(250, chars);
    EXPECT_EQ(t.length(), 100);
    EXPECT_EQ(t.bytes().size(), 100u);
}
