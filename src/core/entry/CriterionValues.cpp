#include "core/entry/CriterionValues.h"

#include "core/common/DecimalText.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace dorvan {

namespace {

std::optional<Decimal4> decimal(std::string_view text)
{
    return parseDecimal4(text).number;
}

std::optional<std::int32_t> wholeAtLeast(std::string_view text, std::int64_t least)
{
    std::optional<std::int64_t> n = parseWholeNumber(text);
    // A count beyond the record's 32 bits would wrap; it is refused like any other bad count.
    if (!n || *n < least || *n > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*n);
}

} // namespace

std::optional<double> parseQuantityOrPrice(std::string_view text)
{
    std::optional<Decimal4> d = decimal(text);
    if (!d || d->tenThousandths < 10000)
        return std::nullopt;
    return d->value();
}

std::optional<std::int32_t> parseFlexibility(std::string_view text)
{
    return wholeAtLeast(text, 1);
}

std::optional<double> parseNonNegative(std::string_view text)
{
    std::optional<Decimal4> d = decimal(text);
    if (!d || d->tenThousandths < 0)
        return std::nullopt;
    return d->value();
}

std::optional<std::int32_t> parseVehicleCount(std::string_view text)
{
    return wholeAtLeast(text, 0);
}

std::optional<std::int32_t> parsePlacesPerGroup(std::string_view text)
{
    return wholeAtLeast(text, 1);
}

std::string placeValueText(const TProjectRecord& r, PlaceValueKind kind, int p, std::string_view separator)
{
    switch (kind) {
    case PlaceValueKind::Quantity:
        return formatDecimal4(r.PlaceQuantity[p], separator);
    case PlaceValueKind::Price:
        return formatDecimal4(r.PlacePrice[p], separator);
    case PlaceValueKind::Flexibility:
        break;
    }
    return std::to_string(r.PlaceFlexibility[p]);
}

PlaceValueCommit commitPlaceValues(TProjectRecord& r, PlaceValueKind kind,
    const std::vector<std::string>& cells, std::string_view separator)
{
    PlaceValueCommit out;
    const int n = static_cast<int>(std::min<std::size_t>(cells.size(), MaxPlaces - 1));
    for (int p = 1; p <= n; ++p) {
        const std::string& text = cells[static_cast<std::size_t>(p - 1)];
        if (text == placeValueText(r, kind, p, separator))
            continue;
        bool good = false;
        if (kind == PlaceValueKind::Flexibility) {
            if (auto v = parseFlexibility(text)) {
                r.PlaceFlexibility[p] = *v;
                good = true;
            }
        } else if (auto v = parseQuantityOrPrice(text)) {
            (kind == PlaceValueKind::Quantity ? r.PlaceQuantity : r.PlacePrice)[p] = *v;
            good = true;
        }
        if (good)
            ++out.stored;
        else
            out.refused.push_back(p);
    }
    return out;
}

SiteEntries siteEntries(const TProjectRecord& r, int placeCount)
{
    SiteEntries e;
    e.dc = !r.CentralName.empty();
    e.ds = r.WarehouseCount > 0;
    e.dm = e.dc ? r.WarehouseCount + 1 < placeCount : r.WarehouseCount < placeCount;
    return e;
}

bool weighsPlaces(Criterion c)
{
    return c == CritQuantity || c == CritPrice || c == CritFlexibility;
}

namespace {

// A single value's field: a decimal or a count, never both.
struct SingleValueField {
    double TProjectRecord::*real = nullptr;
    std::int32_t TProjectRecord::*whole = nullptr;
};

SingleValueField singleValueField(SingleValue v)
{
    switch (v) {
    case SingleValue::LoadTimeDC:
        return { &TProjectRecord::LoadTimeDC };
    case SingleValue::LoadTimeDS:
        return { &TProjectRecord::LoadTimeDS };
    case SingleValue::LoadTimeDM:
        return { &TProjectRecord::LoadTimeDM };
    case SingleValue::CapacityDC:
        return { &TProjectRecord::CapacityDC };
    case SingleValue::CapacityDS:
        return { &TProjectRecord::CapacityDS };
    case SingleValue::CapacityDM:
        return { &TProjectRecord::CapacityDM };
    case SingleValue::VehicleCount:
        return { nullptr, &TProjectRecord::VehicleCount };
    case SingleValue::VehicleCapacity:
        return { &TProjectRecord::VehicleCapacity };
    case SingleValue::VehicleSpeed:
        return { &TProjectRecord::VehicleSpeed };
    case SingleValue::PlacesPerGroup:
        return { nullptr, &TProjectRecord::PlacesPerGroup };
    }
    throw std::logic_error("unknown single value");
}

struct RouteLimitFields {
    double TProjectRecord::*value;
    std::int32_t TProjectRecord::*state;
};

RouteLimitFields routeLimitFields(RouteLimit limit)
{
    return limit == RouteLimit::Length
        ? RouteLimitFields { &TProjectRecord::MaxRouteLength, &TProjectRecord::RouteLengthState }
        : RouteLimitFields { &TProjectRecord::MaxDistributionTime, &TProjectRecord::DistributionTimeState };
}

} // namespace

double singleValue(const TProjectRecord& r, SingleValue v)
{
    const SingleValueField f = singleValueField(v);
    return f.real != nullptr ? r.*f.real : static_cast<double>(r.*f.whole);
}

std::string singleValueText(const TProjectRecord& r, SingleValue v, std::string_view separator)
{
    const SingleValueField f = singleValueField(v);
    return f.real != nullptr ? formatDecimal4(r.*f.real, separator) : std::to_string(r.*f.whole);
}

bool storeSingleValue(TProjectRecord& r, SingleValue v, std::string_view text)
{
    const SingleValueField f = singleValueField(v);
    if (f.real != nullptr) {
        const std::optional<double> d = parseNonNegative(text);
        if (d)
            r.*f.real = *d;
        return d.has_value();
    }
    const std::optional<std::int32_t> n
        = v == SingleValue::VehicleCount ? parseVehicleCount(text) : parsePlacesPerGroup(text);
    if (n)
        r.*f.whole = *n;
    return n.has_value();
}

double routeLimit(const TProjectRecord& r, RouteLimit limit)
{
    return r.*routeLimitFields(limit).value;
}

bool routeLimitEntered(const TProjectRecord& r, RouteLimit limit)
{
    return r.*routeLimitFields(limit).state != 0;
}

bool storeRouteLimit(TProjectRecord& r, RouteLimit limit, std::string_view text)
{
    const std::optional<double> d = parseNonNegative(text);
    if (!d)
        return false;
    const RouteLimitFields f = routeLimitFields(limit);
    r.*f.value = *d;
    r.*f.state = 2;
    return true;
}

} // namespace dorvan
