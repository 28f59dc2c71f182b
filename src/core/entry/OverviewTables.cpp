#include "core/entry/OverviewTables.h"

#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace dorvan {

TextTable::TextTable(int columns, int rows)
    : columns_(std::max(0, columns))
    , rows_(std::max(0, rows))
    , cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_))
{
}

std::string& TextTable::at(int column, int row)
{
    return const_cast<std::string&>(std::as_const(*this).at(column, row));
}

const std::string& TextTable::at(int column, int row) const
{
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_)
        throw std::out_of_range("cell outside the table");
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_)
        + static_cast<std::size_t>(column)];
}

namespace {

TextTable amountTable(const TProjectRecord& r, int n, std::string_view sep)
{
    TextTable t(7, n + 1);
    const char* const headers[] = { "", "Miesta", "Sur X", "Sur Y", "Množstvo", "Cena", "Flexibilita" };
    for (int c = 0; c < 7; ++c)
        t.at(c, 0) = headers[c];
    for (int i = 1; i <= n; ++i) {
        t.at(0, i) = std::to_string(i);
        t.at(1, i) = displayName(r.PlaceName[i]);
        t.at(2, i) = formatDecimal4(r.PlaceX[i], sep);
        t.at(3, i) = formatDecimal4(r.PlaceY[i], sep);
        t.at(4, i) = formatDecimal4(r.PlaceQuantity[i], sep);
        t.at(5, i) = formatDecimal4(r.PlacePrice[i], sep);
        t.at(6, i) = std::to_string(r.PlaceFlexibility[i]);
    }
    return t;
}

// Place numbers in the outer fixed row and column, names in the inner ones; column i + 1 and
// row j + 1 hold Distance[i][j].
TextTable distanceTable(const TProjectRecord& r, int n, std::string_view sep)
{
    TextTable t(n + 2, n + 2);
    t.at(1, 1) = "Vzdialenosť";
    for (int k = 1; k <= n; ++k) {
        t.at(0, k + 1) = t.at(k + 1, 0) = std::to_string(k);
        t.at(1, k + 1) = t.at(k + 1, 1) = displayName(r.PlaceName[k]);
    }
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            t.at(i + 1, j + 1) = formatDecimal4(r.Distance[i][j], sep);
    return t;
}

std::string limitText(double v, std::string_view sep)
{
    return v == 0.0 ? std::string("Bez obmedzenia") : formatDecimal4(v, sep);
}

TextTable settingsTable(const TProjectRecord& r, std::string_view sep)
{
    const auto num = [sep](double v) { return formatDecimal4(v, sep); };
    const std::pair<const char*, std::string> rows[] = {
        { "Maximálna dĺžka distribučnej trasy", limitText(r.MaxRouteLength, sep) },
        { "Maximálny čas distribúcie", limitText(r.MaxDistributionTime, sep) },
        { "Distribučná centrála",
            r.CentralName.empty() ? std::string("Nedefinované") : displayName(r.CentralName) },
        { "Čas nakladania - vykladania v DC", num(r.LoadTimeDC) },
        { "Čas nakladania - vykladania v DS", num(r.LoadTimeDS) },
        { "Čas nakladania - vykladania v DM", num(r.LoadTimeDM) },
        { "Kapacita skladu v DC", num(r.CapacityDC) },
        { "Kapacita skladov v DS", num(r.CapacityDS) },
        { "Kapacita skladov v DM", num(r.CapacityDM) },
        { "Počet dopravných prostriedkov", std::to_string(r.VehicleCount) },
        { "Kapacita dopravných prostriedkov", num(r.VehicleCapacity) },
        { "Priemerná rýchlosť dopravných prostriedkov", num(r.VehicleSpeed) },
    };
    TextTable t(2, 12);
    for (int row = 0; row < 12; ++row) {
        t.at(0, row) = rows[row].first;
        t.at(1, row) = rows[row].second;
    }
    return t;
}

// A heading and the names 1..count of a list, or the heading and `none` when the list is empty
// or its criterion unticked.
TextTable nameTable(
    const Array1<Text100, MaxPlaces>& names, int count, bool ticked, const char* heading, const char* none)
{
    count = std::clamp(count, 0, MaxPlaces);
    if (count == 0 || !ticked) {
        TextTable t(1, 2);
        t.at(0, 0) = heading;
        t.at(0, 1) = none;
        return t;
    }
    TextTable t(1, count + 1);
    t.at(0, 0) = heading;
    for (int k = 1; k <= count; ++k)
        t.at(0, k) = displayName(names[k]);
    return t;
}

} // namespace

OverviewTables overviewTables(
    const TProjectRecord& r, int enteredPlaces, OverviewTicks ticks, std::string_view separator)
{
    const int n = std::clamp(enteredPlaces, 0, MaxPlaceCount);
    return {
        .amounts = amountTable(r, n, separator),
        .distances = distanceTable(r, n, separator),
        .settings = settingsTable(r, separator),
        .priorities = nameTable(r.PriorityName, r.PriorityCount, ticks.priorities,
            "Poradie miest podľa priority", "Priorita neurčená"),
        .depots = nameTable(r.WarehouseName, r.WarehouseCount, ticks.depots, "Zoznam definovaných skladov",
            "Sklady nedefinované"),
    };
}

} // namespace dorvan
