#pragma once

#include "core/project/ProjectRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace dorvan {

inline constexpr std::size_t RecordSize = 124680;

using RecordBytes = std::array<std::uint8_t, RecordSize>;

// Byte offsets of the .mzd record; each follows from the one before it and its size, which
// the static checks in RecordCodec.cpp prove.
namespace RecordOffset {
inline constexpr std::size_t CriterionOn = 0;
inline constexpr std::size_t EntryStateA = 16;
inline constexpr std::size_t EntryStateB = 20;
inline constexpr std::size_t DistanceEntryState = 24;
inline constexpr std::size_t RouteLengthState = 28;
inline constexpr std::size_t DistributionTimeState = 32;
inline constexpr std::size_t CentralState = 36;
inline constexpr std::size_t ReservedWord = 40;
inline constexpr std::size_t SavedPlaceCount = 44;
inline constexpr std::size_t WarehouseCount = 48;
inline constexpr std::size_t PriorityCount = 52;
inline constexpr std::size_t PlaceName = 56;
inline constexpr std::size_t Padding1 = 10156;
inline constexpr std::size_t PlaceX = 10160;
inline constexpr std::size_t PlaceY = 10960;
inline constexpr std::size_t PlaceQuantity = 11760;
inline constexpr std::size_t PlacePrice = 12560;
inline constexpr std::size_t PlaceFlexibility = 13360;
inline constexpr std::size_t Distance = 13760;
inline constexpr std::size_t WarehouseName = 93760;
inline constexpr std::size_t PriorityName = 103860;
inline constexpr std::size_t GroupedPlaceName = 113960;
inline constexpr std::size_t GroupPlaceCount = 124060;
inline constexpr std::size_t Padding2 = 124460;
inline constexpr std::size_t MaxRouteLength = 124464;
inline constexpr std::size_t MaxDistributionTime = 124472;
inline constexpr std::size_t CentralName = 124480;
inline constexpr std::size_t Padding3 = 124581;
inline constexpr std::size_t LoadTimeDC = 124584;
inline constexpr std::size_t LoadTimeDS = 124592;
inline constexpr std::size_t LoadTimeDM = 124600;
inline constexpr std::size_t CapacityDC = 124608;
inline constexpr std::size_t CapacityDS = 124616;
inline constexpr std::size_t CapacityDM = 124624;
inline constexpr std::size_t VehicleCount = 124632;
inline constexpr std::size_t Padding4 = 124636;
inline constexpr std::size_t VehicleCapacity = 124640;
inline constexpr std::size_t VehicleSpeed = 124648;
inline constexpr std::size_t PlacesPerGroup = 124656;
inline constexpr std::size_t GroupCount = 124660;
inline constexpr std::size_t PictureHeight = 124664;
inline constexpr std::size_t PictureWidth = 124668;
inline constexpr std::size_t MapRangeX = 124672;
inline constexpr std::size_t MapRangeY = 124676;
inline constexpr std::size_t End = 124680;
} // namespace RecordOffset

// The record in its file layout: little-endian integers, IEEE doubles, zeros in padding and
// beyond each name's length.
RecordBytes encodeRecord(const TProjectRecord& r);

// The record from its file layout. Nothing is validated here beyond what memory safety needs
// (a damaged length byte is kept as it is but never read past the slot); the project-file
// reader checks counts before it accepts a file.
TProjectRecord decodeRecord(std::span<const std::uint8_t, RecordSize> bytes);

} // namespace dorvan
