#include "core/project/ProjectRecord.h"

#include "core/common/CodePage.h"

#include <algorithm>
#include <cstring>

namespace dorvan {

Text100 Text100::fromUtf8(std::string_view utf8)
{
    // Cut by characters first: every Windows-1250 character is one byte.
    return fromBytes(utf8ToCp1250(utf8Left(utf8, Capacity)));
}

Text100 Text100::fromBytes(std::string_view cp1250)
{
    Text100 t;
    std::size_t n = std::min<std::size_t>(cp1250.size(), Capacity);
    t.len_ = static_cast<std::uint8_t>(n);
    std::memcpy(t.chars_.data(), cp1250.data(), n);
    return t;
}

Text100 Text100::fromRaw(std::uint8_t len, const char* chars100)
{
    Text100 t;
    t.len_ = len;
    std::memcpy(t.chars_.data(), chars100, Capacity);
    return t;
}

int Text100::length() const
{
    return std::min<int>(len_, Capacity);
}

std::string_view Text100::bytes() const
{
    return std::string_view(chars_.data(), static_cast<std::size_t>(length()));
}

std::string Text100::toUtf8() const
{
    return cp1250ToUtf8(bytes());
}

namespace {

// The resets share everything except the few fields listed in each.
void resetCommon(TProjectRecord& r)
{
    r.CriterionOn.fill(0);
    r.EntryStateA = 0;
    r.EntryStateB = 0;
    r.DistanceEntryState = 0;
    r.RouteLengthState = 0;
    r.DistributionTimeState = 0;
    r.CentralState = 0;
    r.ReservedWord = 0;
    r.MaxRouteLength = 0.0;
    r.MaxDistributionTime = 0.0;
    r.CentralName = Text100();
    r.WarehouseCount = 0;
    r.PriorityCount = 0;
    r.SavedPlaceCount = 0;
    r.LoadTimeDC = r.LoadTimeDS = r.LoadTimeDM = 0.0;
    r.CapacityDC = r.CapacityDS = r.CapacityDM = 0.0;
    r.VehicleCount = 1;
    r.VehicleCapacity = 1.0;
    r.GroupCount = 0;
    r.PictureHeight = r.PictureWidth = 0;
    r.MapRangeX = r.MapRangeY = 0;
}

} // namespace

void ResetProjectAtStart(TProjectRecord& r)
{
    resetCommon(r);
    r.VehicleSpeed = 60.0;
    r.PlacesPerGroup = 1;
}

void ResetProjectForNew(TProjectRecord& r)
{
    resetCommon(r);
    r.VehicleSpeed = 0.0;
}

} // namespace dorvan
