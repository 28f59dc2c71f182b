#pragma once

// A place list of any size for dorvan-cli's solve, groups and render, read without making a
// project of it: no limit of 99 places, the values kept in columns (a million places take
// about 80 bytes each besides the file).
//
// A CSV list is read line by line by the same rules as the import (PlaceCsv.h: separator,
// header, quotes, decimal comma, names, latitude/longitude or --crs, every bad line named, a
// name given twice too), except that it may hold a single place and any number of them, and
// that places on the same spot are allowed. A GeoJSON list (RFC 7946) is a FeatureCollection
// of Point features in WGS84 with the property "name" and optionally "quantity"; a bad feature
// is named by its number and the line it begins on.
//
// The weight of a place is quantity x price x flexibility of the columns the list has, as a
// project weighs the places whose criteria the columns switch on.

#include "core/cli/CliArguments.h"
#include "core/cli/PlaceCsv.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::cli {

// The largest place list read (a million places take about 40 MB of CSV).
inline constexpr std::size_t MaxPlaceListBytes = std::size_t { 1 } << 30;
// The most places a list may hold.
inline constexpr std::size_t MaxListPlaces = 20'000'000;

struct PlaceTable {
    // In the plane: kilometres as given, or of the local projection of real coordinates.
    std::vector<double> x, y;
    std::vector<double> weight;
    // Real coordinates of each place in degrees (given, or from --crs); empty without them.
    std::vector<double> latitude, longitude;
    std::vector<std::int32_t> lines; // where each place stands in the file
    std::string reference; // the local projection of real coordinates, empty for plain x/y
    bool geographic = false; // the list gives latitude and longitude (or --crs)
    bool quantity = false;
    bool price = false;
    bool flexibility = false;
    bool metreSized = false; // plain x/y above MetreSizedAbove (a notice)
    std::vector<CsvProblem> problems; // every refused line in the order of the file
    std::vector<std::string> notices;

    std::size_t size() const { return x.size(); }
    std::string_view name(std::size_t i) const
    {
        const std::size_t from = i == 0 ? 0 : nameEnds[i - 1];
        return std::string_view(names).substr(from, nameEnds[i] - from);
    }
    bool ok() const { return problems.empty(); }

    // The names in UTF-8, one after another; place i ends at nameEnds[i].
    std::string names;
    std::vector<std::size_t> nameEnds;
};

// A CSV place list from the bytes of its file.
PlaceTable readPlaceTable(std::string_view bytes, const PlaceCsvOptions& options = {});
// A GeoJSON place list from the bytes of its file.
PlaceTable readPlaceGeoJson(std::string_view bytes);

// The places names given on the command line stand for, told as a repeated name is (letter case
// and surrounding spaces aside); nothing for a name no place has.
std::vector<std::optional<std::size_t>> placesNamed(
    const PlaceTable& table, const std::vector<std::string>& utf8Names);

// The list in a file of that kind, read whole; a file that cannot be read is a UsageError.
PlaceTable loadPlaceTable(const std::string& path, InputKind kind, const PlaceCsvOptions& options);

} // namespace dorvan::cli
