#pragma once

#include "core/project/ProjectRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// The per-place values of the criteria "Množstvo", "Cena" and the supply frequency.
enum class PlaceValueKind { Quantity, Price, Flexibility };

// A quantity or a price: a number whose four-decimal value is at least 1.
std::optional<double> parseQuantityOrPrice(std::string_view text);
// A supply frequency: a whole number above 0 that the record can hold.
std::optional<std::int32_t> parseFlexibility(std::string_view text);
// A single criterion value such as a time, a capacity or a speed: a number whose four-decimal
// value is 0 or more.
std::optional<double> parseNonNegative(std::string_view text);
// A number of vehicles: a whole number of 0 or more that the record can hold.
std::optional<std::int32_t> parseVehicleCount(std::string_view text);
// A number of places in a group: a whole number above 0 that the record can hold.
std::optional<std::int32_t> parsePlacesPerGroup(std::string_view text);

// The stored value of place p as its grid shows it: quantity and price in the four-decimal
// form with the given separator, the frequency as a whole number.
std::string placeValueText(const TProjectRecord& r, PlaceValueKind kind, int p, std::string_view separator);

// Stores the grid cells of places 1..cells.size() (cell k-1 belongs to place k, at most 99).
// A cell that still shows the stored value (placeValueText with separator) is no edit and is
// left alone; another valid cell is stored; an invalid one leaves its place's value as it was.
// The result counts the values stored and holds the places whose cells were refused, in order.
struct PlaceValueCommit {
    int stored = 0;
    std::vector<int> refused;
};
PlaceValueCommit commitPlaceValues(TProjectRecord& r, PlaceValueKind kind,
    const std::vector<std::string>& cells, std::string_view separator);

// Which of the three entries (centre, depots, other places) of the loading-time and capacity
// pages can take a value: the centre's when one is chosen, the depots' when there are depots,
// the other places' when some place is neither the centre nor a depot.
struct SiteEntries {
    bool dc = false;
    bool ds = false;
    bool dm = false;
};
SiteEntries siteEntries(const TProjectRecord& r, int placeCount);

// The criteria whose values weigh the places in an allocation: quantity, price and frequency.
bool weighsPlaces(Criterion c);

// The values of the criteria with one entry each: loading times and capacities of the centre
// (DC), the depots (DS) and the other places (DM), the vehicles, and the places per group.
enum class SingleValue {
    LoadTimeDC,
    LoadTimeDS,
    LoadTimeDM,
    CapacityDC,
    CapacityDS,
    CapacityDM,
    VehicleCount,
    VehicleCapacity,
    VehicleSpeed,
    PlacesPerGroup,
};
// The stored value, a count as a number.
double singleValue(const TProjectRecord& r, SingleValue v);
// As its current-value field shows it: the counts whole, the others in the four-decimal form.
std::string singleValueText(const TProjectRecord& r, SingleValue v, std::string_view separator);
// Stores a typed value when it is good for its field (the counts by their own rules, the others
// numbers of 0 or more); false, with the record as it was, when it is not.
bool storeSingleValue(TProjectRecord& r, SingleValue v, std::string_view text);

// The two limits with an entry and a change mode: the maximum route length and the maximum
// distribution time.
enum class RouteLimit { Length, Time };
double routeLimit(const TProjectRecord& r, RouteLimit limit);
// A first value was entered: the limit is in its change mode from then on.
bool routeLimitEntered(const TProjectRecord& r, RouteLimit limit);
// Stores a typed limit that is a number of 0 or more and marks it entered; false, with the
// record as it was, for anything else.
bool storeRouteLimit(TProjectRecord& r, RouteLimit limit, std::string_view text);

} // namespace dorvan
