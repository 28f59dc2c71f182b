#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dorvan {

// A fixed array indexed from 1, like every array of the project record. Access outside
// 1..N throws instead of touching foreign memory.
template <typename T, int N> struct Array1 {
    std::array<T, N> items {};

    static constexpr int size() { return N; }
    T& operator[](int k)
    {
        check(k);
        return items[static_cast<std::size_t>(k - 1)];
    }
    const T& operator[](int k) const
    {
        check(k);
        return items[static_cast<std::size_t>(k - 1)];
    }
    bool operator==(const Array1&) const = default;

private:
    static void check(int k)
    {
        if (k < 1 || k > N)
            throw std::out_of_range("index " + std::to_string(k) + " outside 1.." + std::to_string(N));
    }
};

// A length-prefixed name of at most 100 Windows-1250 characters (101 bytes in the file).
class Text100 {
public:
    static constexpr int Capacity = 100;

    Text100() = default;

    // From UTF-8; a text longer than 100 characters is cut to its first 100. Throws
    // CodePageError when a character has no Windows-1250 byte.
    static Text100 fromUtf8(std::string_view utf8);
    // From code-page bytes; more than 100 bytes are cut.
    static Text100 fromBytes(std::string_view cp1250);

    std::string toUtf8() const;
    // The stored code-page bytes (length clamped to 100 for a damaged length byte).
    std::string_view bytes() const;
    int length() const;
    bool empty() const { return length() == 0; }

    // Raw slot access for the file codec: the length byte as stored and all 100 bytes.
    std::uint8_t rawLength() const { return len_; }
    const std::array<char, Capacity>& rawChars() const { return chars_; }
    static Text100 fromRaw(std::uint8_t len, const char* chars100);

    bool operator==(const Text100& o) const { return bytes() == o.bytes(); }

private:
    std::uint8_t len_ = 0;
    std::array<char, Capacity> chars_ {};
};

inline constexpr int MaxPlaces = 100; // array entries; at most 99 places are ever entered
inline constexpr int CriterionCount = 16;

// Byte numbers of CriterionOn.
enum Criterion : int {
    CritQuantity = 0,
    CritPrice = 1,
    CritRealDistances = 2,
    CritMaxRouteLength = 3,
    CritMaxDistributionTime = 4,
    CritCentral = 5,
    CritWarehouses = 6,
    CritLoadTimes = 7,
    CritWarehouseCapacity = 8,
    CritPriority = 9,
    CritVehicleCount = 10,
    CritVehicleCapacity = 11,
    CritVehicleSpeed = 12,
    CritFlexibility = 13,
    CritEvenGroups = 14,
    CritGroups = 15,
};

// The criteria's names by byte, as the criteria page's boxes show them (the groups' switch
// below them adds " - DORVAN"); the report lists the criteria by them.
inline constexpr std::array<const char*, CriterionCount> CriterionCaptions { "Množstvo", "Cena",
    "Reálne vzdialenosti medzi miestami", "Maximálna dĺžka distribučnej trasy", "Maximálny čas distribúcie",
    "Distribučná centrála (rozvoz z centrály)", "Distribučné sklady (rozvoz zo skladov)",
    "Čas potrebný na nakladanie a vykladanie (DC, DS, DM)", "Kapacita distribučných skladov",
    "Priorita miest v štruktúre", "Počet dopravných prostriedkov", "Kapacita dopravných prostriedkov",
    "Priemerná rýchlosť DP", "Flexibilita zásobovania miest za mesiac (počet návštev)",
    "Rovnomernosť počtu miest v skupinách", "Definovanie distribučných skupín" };

// The one project record. Field names and order follow the .mzd file layout, which the
// codec in RecordCodec.cpp writes byte by byte.
struct TProjectRecord {
    std::array<std::uint8_t, CriterionCount> CriterionOn {};
    std::int32_t EntryStateA = 0;
    std::int32_t EntryStateB = 0;
    std::int32_t DistanceEntryState = 0;
    std::int32_t RouteLengthState = 0;
    std::int32_t DistributionTimeState = 0;
    std::int32_t CentralState = 0;
    std::int32_t ReservedWord = 0;
    std::int32_t SavedPlaceCount = 0;
    std::int32_t WarehouseCount = 0;
    std::int32_t PriorityCount = 0;
    Array1<Text100, MaxPlaces> PlaceName;
    Array1<double, MaxPlaces> PlaceX;
    Array1<double, MaxPlaces> PlaceY;
    Array1<double, MaxPlaces> PlaceQuantity;
    Array1<double, MaxPlaces> PlacePrice;
    Array1<std::int32_t, MaxPlaces> PlaceFlexibility;
    Array1<Array1<double, MaxPlaces>, MaxPlaces> Distance;
    Array1<Text100, MaxPlaces> WarehouseName;
    Array1<Text100, MaxPlaces> PriorityName;
    Array1<Text100, MaxPlaces> GroupedPlaceName;
    Array1<std::int32_t, MaxPlaces> GroupPlaceCount;
    double MaxRouteLength = 0.0;
    double MaxDistributionTime = 0.0;
    Text100 CentralName;
    double LoadTimeDC = 0.0;
    double LoadTimeDS = 0.0;
    double LoadTimeDM = 0.0;
    double CapacityDC = 0.0;
    double CapacityDS = 0.0;
    double CapacityDM = 0.0;
    std::int32_t VehicleCount = 0;
    double VehicleCapacity = 0.0;
    double VehicleSpeed = 0.0;
    std::int32_t PlacesPerGroup = 0;
    std::int32_t GroupCount = 0;
    std::int32_t PictureHeight = 0;
    std::int32_t PictureWidth = 0;
    std::int32_t MapRangeX = 0;
    std::int32_t MapRangeY = 0;

    // The record holds the criterion boxes: a box is ticked exactly when its byte is 1 (a tick
    // writes 1, an untick 0; another value from a file ticks nothing and is kept as it is).
    bool ticked(Criterion c) const { return CriterionOn[static_cast<std::size_t>(c)] == 1; }
    std::array<bool, CriterionCount> tickedCriteria() const
    {
        std::array<bool, CriterionCount> out {};
        for (int b = 0; b < CriterionCount; ++b)
            out[static_cast<std::size_t>(b)] = ticked(static_cast<Criterion>(b));
        return out;
    }
    void setCriterion(Criterion c, bool on) { CriterionOn[static_cast<std::size_t>(c)] = on ? 1 : 0; }
    bool hasPicture() const { return PictureHeight >= 1 && PictureWidth >= 1; }
};

// The start values of the record when the main window is created; the record is zeroed first.
void ResetProjectAtStart(TProjectRecord& r);
// The reset of "Nový": clears the criteria and values of a project but keeps the place
// arrays and the name lists. Every criterion byte goes: the new window shows every box
// unticked, and a byte kept from the last project would tick its box in a file saved later.
void ResetProjectForNew(TProjectRecord& r);

} // namespace dorvan
