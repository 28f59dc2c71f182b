// A place list of any size: the import's line reader, with the rows kept in columns.
#include "core/cli/PlaceTable.h"

#include "core/cli/CliArguments.h"
#include "core/cli/CliCommands.h"
#include "core/cli/PlaceCsvColumns.h"
#include "core/common/CodePage.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <numeric>
#include <thread>

namespace dorvan::cli {

namespace placecsv {

void TableRows::add(PlaceTable& table, const Row& row, std::string_view utf8Name)
{
    if (table.size() >= MaxListPlaces) {
        if (!tooMany) {
            tooMany = true;
            table.problems.push_back({ row.line,
                "place " + std::to_string(MaxListPlaces + 1) + ": a list holds at most "
                    + std::to_string(MaxListPlaces) + " places" });
        }
        return;
    }
    if (!row.nameGood)
        return;
    table.x.push_back(row.x);
    table.y.push_back(row.y);
    table.weight.push_back(row.quantity * row.price * static_cast<double>(row.flexibility));
    table.lines.push_back(row.line);
    table.names.append(utf8Name);
    table.nameEnds.push_back(table.names.size());
    keys.push_back(std::hash<std::string> {}(nameKey(row.name)));
}

namespace {

// The key of a name the table holds (it passed the name checks, so the code page holds it).
std::string tableNameKey(const PlaceTable& table, std::size_t i)
{
    return nameKey(Text100::fromUtf8(table.name(i)));
}

} // namespace

void TableRows::finish(
    PlaceTable& table, const std::optional<geo::GridToWgs84>& grid, const std::string& crs, Coordinates kind)
{
    // Each repeat of a name, at its line, among every line whose name is good: sorted by the
    // hash of the key, a run of equal hashes compared by the keys themselves.
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t { 0 });
    std::sort(order.begin(), order.end(),
        [&](std::size_t a, std::size_t b) { return keys[a] != keys[b] ? keys[a] < keys[b] : a < b; });
    for (std::size_t from = 0; from < order.size();) {
        std::size_t to = from + 1;
        while (to < order.size() && keys[order[to]] == keys[order[from]])
            ++to;
        if (to - from > 1) {
            std::vector<std::string> runKeys;
            for (std::size_t k = from; k < to; ++k)
                runKeys.push_back(tableNameKey(table, order[k]));
            for (std::size_t k = 1; k < runKeys.size(); ++k)
                if (std::find(runKeys.begin(), runKeys.begin() + static_cast<std::ptrdiff_t>(k), runKeys[k])
                    != runKeys.begin() + static_cast<std::ptrdiff_t>(k)) {
                    const std::size_t at = order[from + k];
                    table.problems.push_back({ table.lines[at], placeExistsText(table.name(at)) });
                }
        }
        from = to;
    }
    keys.clear();
    keys.shrink_to_fit();
    std::stable_sort(table.problems.begin(), table.problems.end(),
        [](const CsvProblem& a, const CsvProblem& b) { return a.line < b.line; });
    if (!table.ok())
        return;
    if (table.size() == 0) {
        table.problems.push_back({ 0, "the file holds no place" });
        return;
    }
    if (kind == Coordinates::Plain) {
        const auto large = [](double v) { return std::fabs(v) > MetreSizedAbove; };
        if (std::any_of(table.x.begin(), table.x.end(), large)
            || std::any_of(table.y.begin(), table.y.end(), large)) {
            table.metreSized = true;
            table.notices.push_back(MetreSizedNotice);
        }
        return;
    }
    std::vector<geo::LatLon> degrees;
    table.reference = projectPoints(
        table.x, table.y, grid, crs, [&](std::size_t k) { return table.lines[k]; }, table.problems, &degrees,
        static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    if (!table.ok())
        return;
    table.geographic = true;
    table.latitude.resize(degrees.size());
    table.longitude.resize(degrees.size());
    for (std::size_t k = 0; k < degrees.size(); ++k) {
        table.latitude[k] = degrees[k].latitude;
        table.longitude[k] = degrees[k].longitude;
    }
}

} // namespace placecsv

PlaceTable readPlaceTable(std::string_view bytes, const PlaceCsvOptions& options)
{
    PlaceTable table;
    if (bytes.size() > MaxPlaceListBytes) {
        table.problems.push_back({ 0, "the file is larger than 1 GB" });
        return table;
    }
    std::optional<geo::GridToWgs84> grid;
    if (!options.crs.empty()) {
        grid = geo::GridToWgs84::create(options.crs);
        if (!grid) {
            table.problems.push_back({ 0,
                "--crs " + options.crs
                    + ": PROJ knows no such coordinate reference system (write it as EPSG:N, e.g. "
                      "EPSG:5514)" });
            return table;
        }
    }
    placecsv::ListLayout layout;
    placecsv::TableRows rows;
    placecsv::readListLines(bytes, grid.has_value(), options.crs, layout, table.problems, table.notices,
        [&](const std::vector<std::string>& fields, int line) {
            if (layout.headerRefused)
                return;
            const placecsv::Row row
                = placecsv::readRow(fields, layout.named, layout.kind, line, table.problems);
            rows.add(table, row, fields[static_cast<std::size_t>(layout.named.name)]);
        });
    table.quantity = layout.named.quantity >= 0;
    table.price = layout.named.price >= 0;
    table.flexibility = layout.named.flexibility >= 0;
    rows.finish(table, grid, options.crs, layout.kind);
    return table;
}

std::vector<std::optional<std::size_t>> placesNamed(
    const PlaceTable& table, const std::vector<std::string>& utf8Names)
{
    std::vector<std::optional<std::string>> keys;
    for (const std::string& name : utf8Names) {
        std::optional<std::string> key;
        try {
            if (utf8Length(name) <= static_cast<std::size_t>(Text100::Capacity))
                key = placecsv::nameKey(Text100::fromUtf8(name));
        } catch (const std::exception&) {
            // The code page cannot hold it: no place has it.
        }
        keys.push_back(std::move(key));
    }
    std::vector<std::optional<std::size_t>> found(utf8Names.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string key = placecsv::nameKey(Text100::fromUtf8(table.name(i)));
        for (std::size_t k = 0; k < keys.size(); ++k)
            if (!found[k] && keys[k] == key)
                found[k] = i;
    }
    return found;
}

PlaceTable loadPlaceTable(const std::string& path, InputKind kind, const PlaceCsvOptions& options)
{
    const std::string bytes = readWholeFile(path, MaxPlaceListBytes);
    if (kind == InputKind::GeoJson) {
        if (!options.crs.empty())
            throw UsageError("--crs is for the x and y columns of a CSV list; GeoJSON is in WGS84");
        return readPlaceGeoJson(bytes);
    }
    return readPlaceTable(bytes, options);
}

} // namespace dorvan::cli
