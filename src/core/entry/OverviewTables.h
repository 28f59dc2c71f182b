#pragma once

#include "core/project/ProjectRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// A grid of texts addressed like the string grids: cell (column, row), both from 0.
class TextTable {
public:
    TextTable() = default;
    TextTable(int columns, int rows);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // Throws std::out_of_range outside the table.
    std::string& at(int column, int row);
    const std::string& at(int column, int row) const;

private:
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::string> cells_; // row by row
};

// What the overview page lists, every table read from the project as it stands.
struct OverviewTables {
    TextTable amounts; // "Množstvo, Cena": one row per place
    TextTable distances; // "Vzdialenosti, čas": the distance matrix with numbers and names
    TextTable settings; // "Ďalšie nastavenia": twelve single values
    TextTable priorities; // the priority places in priority order
    TextTable depots; // the depots in stored order
};

// The depot and priority tables list their names only while their criteria are ticked.
struct OverviewTicks {
    bool depots = false;
    bool priorities = false;
};

// The tables for places 1..enteredPlaces (all places entered so far, at most 99); numbers with
// four decimals and the given decimal separator, counts as whole numbers.
OverviewTables overviewTables(
    const TProjectRecord& r, int enteredPlaces, OverviewTicks ticks, std::string_view separator);

} // namespace dorvan
