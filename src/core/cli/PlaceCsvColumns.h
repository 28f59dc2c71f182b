#pragma once

// The columns of a place list (PlaceCsv.cpp): where name, coordinates and values stand, by
// position or by the names of a header. Internal to the reader.

#include "core/cli/PlaceCsv.h"
#include "core/geo/GeoReference.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::cli {
struct PlaceTable;
}

namespace dorvan::cli::placecsv {

// Where each value stands in a line; -1 for a column that is not there.
struct Columns {
    int name = 0;
    int x = 1;
    int y = 2;
    int quantity = -1;
    int price = -1;
    int flexibility = -1;
    int latitude = -1;
    int longitude = -1;
};

// The columns by position: name, x, y, then quantity, price, flexibility.
Columns positionalColumns(int count);

// Whether a header names a latitude and a longitude column (any of their accepted names, in any
// letter case).
bool namesCoordinates(const std::vector<std::string>& header);

// The columns a header with latitude and longitude names; problems go to problems, a notice when
// x and y columns are ignored to notices.
Columns namedColumns(const std::vector<std::string>& header, int line, std::vector<CsvProblem>& problems,
    std::vector<std::string>& notices);

// A text in double quotes, as the reader's messages quote what a line holds.
std::string quotedText(std::string_view s);

// How the coordinates of a line are read.
enum class Coordinates { Plain, Grid, Geographic };

// One data line as read; with real coordinates x is the longitude and y the latitude, or the
// grid's easting and northing.
struct Row {
    int line = 0;
    bool nameGood = false; // the name passed its checks (the line may still be refused)
    bool good = false; // every field passed
    Text100 name;
    double x = 0.0;
    double y = 0.0;
    double quantity = 1.0;
    double price = 1.0;
    std::int32_t flexibility = 1;
};

// One data line; the problems of its fields go to problems, the first of each field.
Row readRow(const std::vector<std::string>& fields, const Columns& c, Coordinates kind, int line,
    std::vector<CsvProblem>& problems);

// What the first lines of a list decided: the separator, the header, the field count and the
// columns.
struct ListLayout {
    char separator = ';';
    bool header = false;
    int columns = 0; // 0 while no line has given the count
    bool geographic = false;
    bool headerRefused = false; // a header naming no columns to read the lines by
    Coordinates kind = Coordinates::Plain;
    Columns named;
};

// Every line of a list in order: undecodable and broken lines and lines of another field count
// go to problems; each data line with the right count goes to `dataLine` with its fields and
// number (also after a refused header: `layout.headerRefused` says so). `grid` is true with
// --crs, whose text `crs` is.
void readListLines(std::string_view bytes, bool grid, const std::string& crs, ListLayout& layout,
    std::vector<CsvProblem>& problems, std::vector<std::string>& notices,
    const std::function<void(const std::vector<std::string>&, int)>& dataLine);

// The same place, as typed entry tells it, of a name that passed readRow's checks: the
// code-page name folded (placeNameKey).
std::string nameKey(const Text100& name);

// Real coordinates into a local plane: latitude/longitude (or the grid's numbers first to them)
// into the local projection of the list, in place in x and y; the degrees of every point go to
// `degrees` when it is given. Problems name the line of the place (lineOf(k) for point k). The
// projection's definition, empty when refused.
std::string projectPoints(std::vector<double>& x, std::vector<double>& y,
    const std::optional<geo::GridToWgs84>& grid, const std::string& crs,
    const std::function<int(std::size_t)>& lineOf, std::vector<CsvProblem>& problems,
    std::vector<geo::LatLon>* degrees = nullptr, int threads = 1);

// The rows of a PlaceTable as they are read: each row whose name is good goes into the table
// (the others are refused already), then `finish` names every repeated name and projects real
// coordinates.
struct TableRows {
    std::vector<std::uint64_t> keys; // a hash of each place's name key
    bool tooMany = false;

    void add(PlaceTable& table, const Row& row, std::string_view utf8Name);
    void finish(PlaceTable& table, const std::optional<geo::GridToWgs84>& grid, const std::string& crs,
        Coordinates kind);
};

} // namespace dorvan::cli::placecsv
