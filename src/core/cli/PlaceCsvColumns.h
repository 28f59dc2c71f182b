#pragma once

// The columns of a place list (PlaceCsv.cpp): where name, coordinates and values stand, by
// position or by the names of a header. Internal to the reader.

#include "core/cli/PlaceCsv.h"

#include <string>
#include <string_view>
#include <vector>

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

} // namespace dorvan::cli::placecsv
