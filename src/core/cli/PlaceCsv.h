#pragma once

// A project from a place list kept in a spreadsheet: one place a line, "name;x;y" optionally
// followed by quantity, price and flexibility. Every rule of typed place entry holds: 2 to 99
// places, names of 1 to 100 Windows-1250 characters, numbers rounded to four decimals,
// quantity and price at least 1, flexibility a whole number above 0, not all coordinates
// equal; the places are sorted by name and the distance matrix is computed.
//
// How a file is read:
// - Text: UTF-8 (a leading byte-order mark is ignored). A file that is not valid UTF-8 is read
//   as Windows-1250, which spreadsheet programs on Slovak Windows systems write.
// - Blank lines and lines whose first non-blank character is "#" are skipped.
// - Separator: the first remaining line decides. With a ";" in it (outside quotes) the fields
//   are separated by ";", otherwise by ",".
// - Numbers take a decimal comma or a decimal point. In a ","-separated file an unquoted comma
//   always separates fields, so a number with a decimal comma must stand in double quotes
//   ("48,15"); with ";" as the separator both forms may stand bare.
// - A field may be enclosed in double quotes; inside them the separator is plain text and ""
//   is one quote. Blanks around a field are ignored.
// - The first line is a header when neither its second nor its third field is a number.
// - Three to six fields a line: name, x, y, then quantity, price, flexibility in this order;
//   every line has as many fields as the first. A column that is present switches its
//   criterion on ("Množstvo", "Cena", "Flexibilita").
// - Real coordinates: a header naming a latitude ("latitude", "lat", "šírka") and a longitude
//   ("longitude", "lon", "lng", "dĺžka") column, in any case and order, gives the places in
//   decimal degrees on WGS84 ("zemepisná šírka"/"dĺžka" and the Czech "(zeměpisná) šířka"/
//   "délka" too); its other columns are named too: "name"/"názov"/"název" and the optional
//   "quantity"/"množstvo", "price"/"cena", "flexibility"/"flexibilita" ("x" and "y" columns
//   are then ignored with a notice). The degrees keep all their digits. The places are
//   projected into a local azimuthal equidistant plane in kilometres, which becomes the
//   project's reference.
// - With a coordinate reference system ("EPSG:N") given, the x and y columns are in that
//   system (x the easting, y the northing) and are transformed to latitude/longitude and then
//   in the same way. Plain x/y of which any is larger than 10 000 in size are still read as
//   kilometres, with a notice: they look like the metres of a national grid.
// - Every bad line is reported in one run, in the order of the file, a name given twice too.

#include "core/project/ProjectRecord.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::cli {

// The largest place list read; 99 places fit in far less.
inline constexpr std::size_t MaxPlaceCsvBytes = 4u * 1024u * 1024u;

// A refused line; line 0 speaks of the file as a whole.
struct CsvProblem {
    int line = 0;
    std::string message;
    bool operator==(const CsvProblem&) const = default;
};

// Plain X/Y above this in size look like metres (a national grid) rather than kilometres.
inline constexpr double MetreSizedAbove = 10000.0;
inline constexpr const char* MetreSizedNotice
    = "x or y is larger than 10 000: metres of a national grid? They are read as kilometres; give "
      "their system with --crs EPSG:N (S-JTSK: --crs EPSG:5514) to place them";

struct PlaceCsv {
    TProjectRecord record; // the project, meaningful only when problems is empty
    int placeCount = 0;
    char separator = ';';
    bool header = false;
    int columns = 0; // fields a line: 3 to 6, up to 8 with named real coordinates
    std::vector<CsvProblem> problems;
    std::vector<std::string> notices; // said on the side; the list is still read
    bool xyIgnored = false; // x and y columns beside latitude and longitude (a notice)
    bool metreSized = false; // plain x/y above MetreSizedAbove in size (a notice)
    // The criteria switched on by a column.
    bool quantity = false;
    bool price = false;
    bool flexibility = false;
    bool geographic = false; // latitude/longitude columns
    std::string reference; // the projection of real coordinates, empty for plain x/y

    bool ok() const { return problems.empty(); }
};

struct PlaceCsvOptions {
    std::string crs; // "EPSG:N" for x/y columns in that system; empty for plain numbers
};

// The system of X/Y as a user types it: "5514", "epsg:5514" or " EPSG : 5514 " give
// "EPSG:5514"; blanks only give "" (plain kilometres); anything else is kept, trimmed, for PROJ
// to refuse.
std::string crsFromUserText(std::string_view text);

// Reads a place list from the bytes of a file; every bad line is reported.
PlaceCsv readPlaceCsv(std::string_view bytes, const PlaceCsvOptions& options = {});

// One line of a CSV file as text: its number (from 1) and its text in UTF-8, the file read as
// UTF-8 when it is valid UTF-8 (a leading byte-order mark dropped) and as Windows-1250
// otherwise; decodeError tells of a line with a byte that has no character in either.
struct CsvLine {
    int number = 0;
    std::string text;
    std::string decodeError;
};
std::vector<CsvLine> csvLines(std::string_view bytes);
// The same lines one at a time, without keeping them (a list of a million lines).
void forEachCsvLine(std::string_view bytes, const std::function<void(const CsvLine&)>& lineRead);

// The fields of one line split at the separator, with quotes and blanks as described above, or
// the reason the quotes are broken.
struct CsvFields {
    std::vector<std::string> fields;
    std::string error; // empty when the line splits

    bool ok() const { return error.empty(); }
};
CsvFields splitCsvLine(std::string_view line, char separator);

// Whether a text is valid UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool isValidUtf8(std::string_view text);

// A field of a list separated by `separator`, quoted (quotes doubled) when it holds the separator,
// a quote or a line break, as spreadsheets read it.
std::string separatedField(std::string_view s, char separator);
// A field of the ";"-separated lists dorvan-cli writes.
std::string csvField(std::string_view s);

} // namespace dorvan::cli
