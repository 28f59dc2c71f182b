#include "core/project/RecordCodec.h"

#include <bit>
#include <cstring>
#include <limits>

namespace dorvan {

static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);
static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559, "doubles must be IEEE binary64");

namespace {

constexpr std::size_t Text100Size = 101;

// Every offset is the previous one plus the size of what lies there.
namespace O = RecordOffset;
static_assert(O::EntryStateA == O::CriterionOn + 16);
static_assert(O::EntryStateB == O::EntryStateA + 4);
static_assert(O::DistanceEntryState == O::EntryStateB + 4);
static_assert(O::RouteLengthState == O::DistanceEntryState + 4);
static_assert(O::DistributionTimeState == O::RouteLengthState + 4);
static_assert(O::CentralState == O::DistributionTimeState + 4);
static_assert(O::ReservedWord == O::CentralState + 4);
static_assert(O::SavedPlaceCount == O::ReservedWord + 4);
static_assert(O::WarehouseCount == O::SavedPlaceCount + 4);
static_assert(O::PriorityCount == O::WarehouseCount + 4);
static_assert(O::PlaceName == O::PriorityCount + 4);
static_assert(O::Padding1 == O::PlaceName + 100 * Text100Size);
static_assert(O::PlaceX == O::Padding1 + 4);
static_assert(O::PlaceY == O::PlaceX + 100 * 8);
static_assert(O::PlaceQuantity == O::PlaceY + 100 * 8);
static_assert(O::PlacePrice == O::PlaceQuantity + 100 * 8);
static_assert(O::PlaceFlexibility == O::PlacePrice + 100 * 8);
static_assert(O::Distance == O::PlaceFlexibility + 100 * 4);
static_assert(O::WarehouseName == O::Distance + 100 * 100 * 8);
static_assert(O::PriorityName == O::WarehouseName + 100 * Text100Size);
static_assert(O::GroupedPlaceName == O::PriorityName + 100 * Text100Size);
static_assert(O::GroupPlaceCount == O::GroupedPlaceName + 100 * Text100Size);
static_assert(O::Padding2 == O::GroupPlaceCount + 100 * 4);
static_assert(O::MaxRouteLength == O::Padding2 + 4);
static_assert(O::MaxDistributionTime == O::MaxRouteLength + 8);
static_assert(O::CentralName == O::MaxDistributionTime + 8);
static_assert(O::Padding3 == O::CentralName + Text100Size);
static_assert(O::LoadTimeDC == O::Padding3 + 3);
static_assert(O::LoadTimeDS == O::LoadTimeDC + 8);
static_assert(O::LoadTimeDM == O::LoadTimeDS + 8);
static_assert(O::CapacityDC == O::LoadTimeDM + 8);
static_assert(O::CapacityDS == O::CapacityDC + 8);
static_assert(O::CapacityDM == O::CapacityDS + 8);
static_assert(O::VehicleCount == O::CapacityDM + 8);
static_assert(O::Padding4 == O::VehicleCount + 4);
static_assert(O::VehicleCapacity == O::Padding4 + 4);
static_assert(O::VehicleSpeed == O::VehicleCapacity + 8);
static_assert(O::PlacesPerGroup == O::VehicleSpeed + 8);
static_assert(O::GroupCount == O::PlacesPerGroup + 4);
static_assert(O::PictureHeight == O::GroupCount + 4);
static_assert(O::PictureWidth == O::PictureHeight + 4);
static_assert(O::MapRangeX == O::PictureWidth + 4);
static_assert(O::MapRangeY == O::MapRangeX + 4);
static_assert(O::End == O::MapRangeY + 4);
static_assert(O::End == RecordSize);

class Writer {
public:
    explicit Writer(RecordBytes& b) : b_(b) {}

    void u32(std::size_t off, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b_[off + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    void i32(std::size_t off, std::int32_t v) { u32(off, static_cast<std::uint32_t>(v)); }
    void f64(std::size_t off, double v)
    {
        auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            b_[off + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    void text(std::size_t off, const Text100& t)
    {
        auto bytes = t.bytes();
        b_[off] = static_cast<std::uint8_t>(bytes.size());
        std::memcpy(&b_[off + 1], bytes.data(), bytes.size());
        // The rest of the slot stays zero.
    }
    template <int N>
    void f64s(std::size_t off, const Array1<double, N>& a)
    {
        for (int k = 1; k <= N; ++k)
            f64(off + 8 * static_cast<std::size_t>(k - 1), a[k]);
    }
    template <int N>
    void i32s(std::size_t off, const Array1<std::int32_t, N>& a)
    {
        for (int k = 1; k <= N; ++k)
            i32(off + 4 * static_cast<std::size_t>(k - 1), a[k]);
    }
    template <int N>
    void texts(std::size_t off, const Array1<Text100, N>& a)
    {
        for (int k = 1; k <= N; ++k)
            text(off + Text100Size * static_cast<std::size_t>(k - 1), a[k]);
    }

private:
    RecordBytes& b_;
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t, RecordSize> b) : b_(b) {}

    std::uint32_t u32(std::size_t off) const
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(b_[off + static_cast<std::size_t>(i)]) << (8 * i);
        return v;
    }
    std::int32_t i32(std::size_t off) const { return static_cast<std::int32_t>(u32(off)); }
    double f64(std::size_t off) const
    {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<std::uint64_t>(b_[off + static_cast<std::size_t>(i)]) << (8 * i);
        return std::bit_cast<double>(bits);
    }
    Text100 text(std::size_t off) const
    {
        return Text100::fromRaw(b_[off], reinterpret_cast<const char*>(&b_[off + 1]));
    }
    template <int N>
    void f64s(std::size_t off, Array1<double, N>& a) const
    {
        for (int k = 1; k <= N; ++k)
            a[k] = f64(off + 8 * static_cast<std::size_t>(k - 1));
    }
    template <int N>
    void i32s(std::size_t off, Array1<std::int32_t, N>& a) const
    {
        for (int k = 1; k <= N; ++k)
            a[k] = i32(off + 4 * static_cast<std::size_t>(k - 1));
    }
    template <int N>
    void texts(std::size_t off, Array1<Text100, N>& a) const
    {
        for (int k = 1; k <= N; ++k)
            a[k] = text(off + Text100Size * static_cast<std::size_t>(k - 1));
    }

private:
    std::span<const std::uint8_t, RecordSize> b_;
};

} // namespace

RecordBytes encodeRecord(const TProjectRecord& r)
{
    RecordBytes b{};
    Writer w(b);
    std::memcpy(&b[O::CriterionOn], r.CriterionOn.data(), CriterionCount);
    w.i32(O::EntryStateA, r.EntryStateA);
    w.i32(O::EntryStateB, r.EntryStateB);
    w.i32(O::DistanceEntryState, r.DistanceEntryState);
    w.i32(O::RouteLengthState, r.RouteLengthState);
    w.i32(O::DistributionTimeState, r.DistributionTimeState);
    w.i32(O::CentralState, r.CentralState);
    w.i32(O::ReservedWord, r.ReservedWord);
    w.i32(O::SavedPlaceCount, r.SavedPlaceCount);
    w.i32(O::WarehouseCount, r.WarehouseCount);
    w.i32(O::PriorityCount, r.PriorityCount);
    w.texts(O::PlaceName, r.PlaceName);
    w.f64s(O::PlaceX, r.PlaceX);
    w.f64s(O::PlaceY, r.PlaceY);
    w.f64s(O::PlaceQuantity, r.PlaceQuantity);
    w.f64s(O::PlacePrice, r.PlacePrice);
    w.i32s(O::PlaceFlexibility, r.PlaceFlexibility);
    for (int i = 1; i <= MaxPlaces; ++i)
        w.f64s(O::Distance + 800 * static_cast<std::size_t>(i - 1), r.Distance[i]);
    w.texts(O::WarehouseName, r.WarehouseName);
    w.texts(O::PriorityName, r.PriorityName);
    w.texts(O::GroupedPlaceName, r.GroupedPlaceName);
    w.i32s(O::GroupPlaceCount, r.GroupPlaceCount);
    w.f64(O::MaxRouteLength, r.MaxRouteLength);
    w.f64(O::MaxDistributionTime, r.MaxDistributionTime);
    w.text(O::CentralName, r.CentralName);
    w.f64(O::LoadTimeDC, r.LoadTimeDC);
    w.f64(O::LoadTimeDS, r.LoadTimeDS);
    w.f64(O::LoadTimeDM, r.LoadTimeDM);
    w.f64(O::CapacityDC, r.CapacityDC);
    w.f64(O::CapacityDS, r.CapacityDS);
    w.f64(O::CapacityDM, r.CapacityDM);
    w.i32(O::VehicleCount, r.VehicleCount);
    w.f64(O::VehicleCapacity, r.VehicleCapacity);
    w.f64(O::VehicleSpeed, r.VehicleSpeed);
    w.i32(O::PlacesPerGroup, r.PlacesPerGroup);
    w.i32(O::GroupCount, r.GroupCount);
    w.i32(O::PictureHeight, r.PictureHeight);
    w.i32(O::PictureWidth, r.PictureWidth);
    w.i32(O::MapRangeX, r.MapRangeX);
    w.i32(O::MapRangeY, r.MapRangeY);
    return b;
}

TProjectRecord decodeRecord(std::span<const std::uint8_t, RecordSize> bytes)
{
    TProjectRecord r;
    Reader rd(bytes);
    std::memcpy(r.CriterionOn.data(), &bytes[O::CriterionOn], CriterionCount);
    r.EntryStateA = rd.i32(O::EntryStateA);
    r.EntryStateB = rd.i32(O::EntryStateB);
    r.DistanceEntryState = rd.i32(O::DistanceEntryState);
    r.RouteLengthState = rd.i32(O::RouteLengthState);
    r.DistributionTimeState = rd.i32(O::DistributionTimeState);
    r.CentralState = rd.i32(O::CentralState);
    r.ReservedWord = rd.i32(O::ReservedWord);
    r.SavedPlaceCount = rd.i32(O::SavedPlaceCount);
    r.WarehouseCount = rd.i32(O::WarehouseCount);
    r.PriorityCount = rd.i32(O::PriorityCount);
    rd.texts(O::PlaceName, r.PlaceName);
    rd.f64s(O::PlaceX, r.PlaceX);
    rd.f64s(O::PlaceY, r.PlaceY);
    rd.f64s(O::PlaceQuantity, r.PlaceQuantity);
    rd.f64s(O::PlacePrice, r.PlacePrice);
    rd.i32s(O::PlaceFlexibility, r.PlaceFlexibility);
    for (int i = 1; i <= MaxPlaces; ++i)
        rd.f64s(O::Distance + 800 * static_cast<std::size_t>(i - 1), r.Distance[i]);
    rd.texts(O::WarehouseName, r.WarehouseName);
    rd.texts(O::PriorityName, r.PriorityName);
    rd.texts(O::GroupedPlaceName, r.GroupedPlaceName);
    rd.i32s(O::GroupPlaceCount, r.GroupPlaceCount);
    r.MaxRouteLength = rd.f64(O::MaxRouteLength);
    r.MaxDistributionTime = rd.f64(O::MaxDistributionTime);
    r.CentralName = rd.text(O::CentralName);
    r.LoadTimeDC = rd.f64(O::LoadTimeDC);
    r.LoadTimeDS = rd.f64(O::LoadTimeDS);
    r.LoadTimeDM = rd.f64(O::LoadTimeDM);
    r.CapacityDC = rd.f64(O::CapacityDC);
    r.CapacityDS = rd.f64(O::CapacityDS);
    r.CapacityDM = rd.f64(O::CapacityDM);
    r.VehicleCount = rd.i32(O::VehicleCount);
    r.VehicleCapacity = rd.f64(O::VehicleCapacity);
    r.VehicleSpeed = rd.f64(O::VehicleSpeed);
    r.PlacesPerGroup = rd.i32(O::PlacesPerGroup);
    r.GroupCount = rd.i32(O::GroupCount);
    r.PictureHeight = rd.i32(O::PictureHeight);
    r.PictureWidth = rd.i32(O::PictureWidth);
    r.MapRangeX = rd.i32(O::MapRangeX);
    r.MapRangeY = rd.i32(O::MapRangeY);
    return r;
}

} // namespace dorvan
