#include "core/cli/PlaceCsv.h"

#include "core/cli/PlaceCsvColumns.h"

#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
#include <limits>

namespace dorvan::cli {

using placecsv::Columns;
using placecsv::Coordinates;
using placecsv::namedColumns;
using placecsv::namesCoordinates;
using placecsv::positionalColumns;
using placecsv::quotedText;
using placecsv::readRow;
using placecsv::Row;

namespace {

constexpr int MinColumns = 3;
constexpr int MaxColumns = 6;
constexpr int MinPlaces = 2;
constexpr std::int64_t UnitsOfOne = 10000; // 1 in ten-thousandths

using Line = CsvLine;

bool skipped(const Line& line)
{
    const std::string_view t = trimBlanks(line.text);
    return line.decodeError.empty() && (t.empty() || t.front() == '#');
}

// The separator decided by the first line: ";" when it holds one outside quotes.
char separatorOf(std::string_view line)
{
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ';' && !quoted)
            return ';';
    }
    return ',';
}

bool isNumber(std::string_view field)
{
    return parseDecimal4(field).ok();
}

std::string numberProblem(const char* what, std::string_view field, const DecimalParse& parsed)
{
    std::string m = what;
    m += ' ';
    m += quotedText(field);
    m += parsed.error == DecimalError::Overflow ? " is too large" : " is not a number";
    return m;
}

std::string columnCountProblem(int fields)
{
    return std::to_string(fields) + (fields == 1 ? " field" : " fields")
        + "; a line holds name, x, y and optionally quantity, price, flexibility";
}

// The name of a place as typed entry takes it: 1 to 100 characters of Windows-1250.
std::optional<std::string> checkName(std::string_view name, Text100& stored)
{
    if (name.empty())
        return "the name is empty";
    const std::size_t length = utf8Length(name);
    if (length > static_cast<std::size_t>(Text100::Capacity))
        return "the name has " + std::to_string(length) + " characters; at most 100 are allowed";
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::string("the name holds a control character");
    try {
        stored = Text100::fromUtf8(name);
    } catch (const std::exception&) {
        // Find the first character the code page lacks, to name it.
        std::size_t i = 0;
        while (i < name.size()) {
            std::size_t n = 1;
            const auto b = static_cast<unsigned char>(name[i]);
            if (b >= 0xF0)
                n = 4;
            else if (b >= 0xE0)
                n = 3;
            else if (b >= 0xC0)
                n = 2;
            const std::string_view ch = name.substr(i, n);
            try {
                (void)utf8ToCp1250(ch);
            } catch (const std::exception&) {
                return "the name holds " + quotedText(ch) + ", which Windows-1250 cannot store";
            }
            i += n;
        }
        return std::string("the name cannot be stored in Windows-1250");
    }
    return std::nullopt;
}

// A coordinate with all its digits: an optionally signed decimal number with a comma or a point.
std::optional<double> parseCoordinate(std::string_view text)
{
    text = trimBlanks(text);
    std::string s(text);
    std::replace(s.begin(), s.end(), ',', '.');
    std::size_t i = s.empty() || (s[0] != '-' && s[0] != '+') ? 0 : 1;
    bool digit = false;
    bool point = false;
    for (std::size_t k = i; k < s.size(); ++k) {
        if (s[k] >= '0' && s[k] <= '9')
            digit = true;
        else if (s[k] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    if (s[0] == '+')
        s.erase(0, 1);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

namespace placecsv {

// One data line; the problems of its fields go to problems, the first of each field. Real
// coordinates come as x = longitude, y = latitude, or as the grid's easting and northing.
Row readRow(const std::vector<std::string>& f, const Columns& c, Coordinates kind, int line,
    std::vector<CsvProblem>& problems)
{
    Row row;
    row.line = line;
    bool good = true;
    auto fail = [&](std::string message) {
        problems.push_back({ line, std::move(message) });
        good = false;
    };
    auto field = [&](int column) -> const std::string& { return f[static_cast<std::size_t>(column)]; };
    if (auto p = checkName(field(c.name), row.name))
        fail(*p);
    else
        row.nameGood = true;
    if (kind == Coordinates::Geographic) {
        struct Axis {
            const char* what;
            int column;
            double limit;
            double* value;
        };
        const Axis axes[]
            = { { "latitude", c.latitude, 90.0, &row.y }, { "longitude", c.longitude, 180.0, &row.x } };
        for (const Axis& a : axes) {
            const std::string& text = field(a.column);
            const auto v = parseCoordinate(text);
            if (trimBlanks(text).empty())
                fail(std::string("the ") + a.what + " is missing");
            else if (!v)
                fail(std::string(a.what) + " " + quotedText(text) + " is not a number");
            else if (std::fabs(*v) > a.limit)
                fail(std::string(a.what) + " " + quotedText(text) + " is outside -"
                    + (a.limit == 90.0 ? "90 to 90" : "180 to 180"));
            else
                *a.value = *v;
        }
    } else {
        const char* axes[] = { "X", "Y" };
        double* coords[] = { &row.x, &row.y };
        const int columns[] = { c.x, c.y };
        for (int a = 0; a < 2; ++a) {
            const std::string& text = field(columns[a]);
            if (kind == Coordinates::Grid) {
                const auto v = parseCoordinate(text);
                if (!v)
                    fail(std::string(axes[a]) + " " + quotedText(text) + " is not a number");
                else
                    *coords[a] = *v;
                continue;
            }
            const DecimalParse d = parseDecimal4(text);
            if (!d.ok())
                fail(numberProblem(axes[a], text, d));
            else
                *coords[a] = d.number->value();
        }
    }
    const char* factors[] = { "quantity", "price" };
    double* values[] = { &row.quantity, &row.price };
    const int factorColumns[] = { c.quantity, c.price };
    for (int k = 0; k < 2; ++k) {
        if (factorColumns[k] < 0)
            continue;
        const std::string& text = field(factorColumns[k]);
        const DecimalParse d = parseDecimal4(text);
        if (!d.ok())
            fail(numberProblem(factors[k], text, d));
        else if (d.number->tenThousandths < UnitsOfOne)
            fail(std::string(factors[k]) + " " + quotedText(text) + " is below 1");
        else
            *values[k] = d.number->value();
    }
    if (c.flexibility >= 0) {
        const std::string& text = field(c.flexibility);
        const std::optional<std::int64_t> n = parseWholeNumber(text);
        if (!n || *n <= 0 || *n > std::numeric_limits<std::int32_t>::max())
            fail("flexibility " + quotedText(text) + " is not a whole number from 1 to 2147483647");
        else
            row.flexibility = static_cast<std::int32_t>(*n);
    }
    row.good = good;
    return row;
}

std::string projectPoints(std::vector<double>& x, std::vector<double>& y,
    const std::optional<geo::GridToWgs84>& grid, const std::string& crs,
    const std::function<int(std::size_t)>& lineOf, std::vector<CsvProblem>& problems,
    std::vector<geo::LatLon>* keptDegrees, int threads)
{
    std::vector<geo::LatLon> degrees;
    degrees.reserve(x.size());
    for (std::size_t k = 0; k < x.size(); ++k) {
        if (!grid) {
            degrees.push_back({ y[k], x[k] });
            continue;
        }
        const auto p = grid->toLatLon(x[k], y[k]);
        if (!p) {
            problems.push_back(
                { lineOf(k), "x, y cannot be transformed from " + crs + " to latitude and longitude" });
            continue;
        }
        degrees.push_back(*p);
    }
    if (!problems.empty())
        return {};
    geo::LocalProjection local = geo::localProjection(degrees, threads);
    if (local.tooFar) {
        const long km = std::isfinite(local.tooFarKm) ? std::lround(local.tooFarKm) : -1;
        problems.push_back({ lineOf(*local.tooFar),
            "the place lies " + (km >= 0 ? std::to_string(km) + " km" : std::string("too far"))
                + " from the middle of the list; every place must lie within 2000 km of it" });
        return {};
    }
    if (local.definition.empty() || local.points.size() != x.size()) {
        problems.push_back({ 0, "PROJ cannot project the places" });
        return {};
    }
    for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = local.points[k].x;
        y[k] = local.points[k].y;
    }
    if (keptDegrees != nullptr)
        *keptDegrees = std::move(degrees);
    return local.definition;
}

std::string nameKey(const Text100& name)
{
    return placeNameKey(name.bytes());
}

void readListLines(std::string_view bytes, bool grid, const std::string& crs, ListLayout& out,
    std::vector<CsvProblem>& problems, std::vector<std::string>& notices,
    const std::function<void(const std::vector<std::string>&, int)>& dataLine)
{
    out.kind = grid ? Coordinates::Grid : Coordinates::Plain;
    bool first = true;
    forEachCsvLine(bytes, [&](const Line& line) {
        if (!line.decodeError.empty()) {
            problems.push_back({ line.number, line.decodeError });
            return;
        }
        if (skipped(line))
            return;
        if (first)
            out.separator = separatorOf(line.text);
        const CsvFields split = splitCsvLine(line.text, out.separator);
        if (!split.ok()) {
            problems.push_back({ line.number, split.error });
            first = false;
            return;
        }
        const int count = static_cast<int>(split.fields.size());
        if (first) {
            first = false;
            const bool header
                = count >= 2 && !isNumber(split.fields[1]) && (count < 3 || !isNumber(split.fields[2]));
            if (header && namesCoordinates(split.fields)) {
                out.header = true;
                out.geographic = true;
                out.columns = count;
                if (grid) {
                    problems.push_back({ line.number,
                        "--crs " + crs + " is for x and y columns; this list gives latitude and longitude" });
                    out.headerRefused = true;
                    return;
                }
                out.kind = Coordinates::Geographic;
                const std::size_t before = problems.size();
                out.named = namedColumns(split.fields, line.number, problems, notices);
                out.headerRefused = problems.size() != before;
                return;
            }
            if (count < MinColumns || count > MaxColumns) {
                problems.push_back({ line.number, columnCountProblem(count) });
                return;
            }
            out.columns = count;
            out.named = positionalColumns(count);
            if (header) {
                out.header = true;
                return;
            }
        }
        if (out.columns == 0)
            return; // the first line was refused: its field count cannot be the measure
        if (count != out.columns) {
            std::string m = std::to_string(count) + (count == 1 ? " field" : " fields")
                + ", but the first line has " + std::to_string(out.columns);
            if (out.separator == ',')
                m += " (with \",\" as the separator a decimal comma must be quoted: \"48,15\")";
            problems.push_back({ line.number, m });
            return;
        }
        dataLine(split.fields, line.number);
    });
}

} // namespace placecsv

namespace {

// Plain X/Y this large are metres of a national grid rather than kilometres of a plane.
bool looksLikeMetres(const std::vector<Row>& rows)
{
    return std::any_of(rows.begin(), rows.end(),
        [](const Row& r) { return std::fabs(r.x) > MetreSizedAbove || std::fabs(r.y) > MetreSizedAbove; });
}

} // namespace

PlaceCsv readPlaceCsv(std::string_view bytes, const PlaceCsvOptions& options)
{
    PlaceCsv out;
    if (bytes.size() > MaxPlaceCsvBytes) {
        out.problems.push_back({ 0, "the file is larger than 4 MB; a list of 99 places is far smaller" });
        return out;
    }
    std::optional<geo::GridToWgs84> grid;
    if (!options.crs.empty()) {
        grid = geo::GridToWgs84::create(options.crs);
        if (!grid) {
            out.problems.push_back({ 0,
                "--crs " + options.crs
                    + ": PROJ knows no such coordinate reference system (write it as EPSG:N, e.g. "
                      "EPSG:5514)" });
            return out;
        }
    }
    placecsv::ListLayout layout;
    std::vector<Row> rows;
    int hundredthLine = 0;
    placecsv::readListLines(bytes, grid.has_value(), options.crs, layout, out.problems, out.notices,
        [&](const std::vector<std::string>& fields, int line) {
            if (static_cast<int>(rows.size()) >= MaxPlaceCount) {
                if (hundredthLine == 0) {
                    hundredthLine = line;
                    out.problems.push_back({ line, "place 100: a project holds at most 99 places" });
                }
                return;
            }
            if (layout.headerRefused)
                return; // a refused header names no columns to read the lines by
            rows.push_back(readRow(fields, layout.named, layout.kind, line, out.problems));
        });
    out.separator = layout.separator;
    out.header = layout.header;
    out.columns = layout.columns;
    out.geographic = layout.geographic;
    const Coordinates kind = layout.kind;
    const Columns& columns = layout.named;
    // A place named twice, each repeat, among every line whose name is good, also when other
    // lines are refused: one run lists every bad line, in the order of the file.
    std::vector<Text100> names;
    std::vector<int> nameLines;
    for (const Row& row : rows)
        if (row.nameGood) {
            names.push_back(row.name);
            nameLines.push_back(row.line);
        }
    for (const auto& [at, earlier] : repeatedNames(names)) {
        const std::size_t k = static_cast<std::size_t>(at - 1);
        out.problems.push_back({ nameLines[k], placeExistsText(names[k].toUtf8()) });
    }
    std::stable_sort(out.problems.begin(), out.problems.end(),
        [](const CsvProblem& a, const CsvProblem& b) { return a.line < b.line; });
    if (!out.ok())
        return out;

    const int n = static_cast<int>(rows.size());
    if (n < MinPlaces) {
        out.problems.push_back({ 0,
            n == 0 ? std::string("the file holds no place; a project needs 2 to 99")
                   : std::string("the file holds 1 place; a project needs 2 to 99") });
        return out;
    }
    if (kind != Coordinates::Plain) {
        std::vector<double> xs, ys;
        for (const Row& row : rows) {
            xs.push_back(row.x);
            ys.push_back(row.y);
        }
        out.reference = placecsv::projectPoints(
            xs, ys, grid, options.crs, [&](std::size_t k) { return rows[k].line; }, out.problems);
        if (!out.ok())
            return out;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            rows[k].x = xs[k];
            rows[k].y = ys[k];
        }
    }

    // The project as "Nový" and typed entry leave it, then saved.
    TProjectRecord& r = out.record;
    r = TProjectRecord {};
    ResetProjectAtStart(r);
    ResetProjectForNew(r);
    for (int p = 1; p <= n; ++p) {
        const Row& row = rows[static_cast<std::size_t>(p - 1)];
        storeNewPlace(r, p, row.name, row.x, row.y);
        r.PlaceQuantity[p] = row.quantity;
        r.PlacePrice[p] = row.price;
        r.PlaceFlexibility[p] = row.flexibility;
    }
    if (!coordinatesDiffer(r, n)) {
        out.problems.push_back({ 0, "all places have the same coordinates" });
        return out;
    }
    sortPlacesByName(r, n);
    computeDistances(r, n);
    out.quantity = columns.quantity >= 0;
    out.price = columns.price >= 0;
    out.flexibility = columns.flexibility >= 0;
    r.setCriterion(CritQuantity, out.quantity);
    r.setCriterion(CritPrice, out.price);
    r.setCriterion(CritFlexibility, out.flexibility);
    if (!out.reference.empty() && !geo::setProjectReference(r, out.reference)) {
        out.problems.push_back({ 0, "PROJ does not accept the projection " + quotedText(out.reference) });
        return out;
    }
    r.SavedPlaceCount = n;
    out.placeCount = n;
    out.xyIgnored = !out.notices.empty();
    if (kind == Coordinates::Plain && looksLikeMetres(rows)) {
        out.metreSized = true;
        out.notices.push_back(MetreSizedNotice);
    }
    return out;
}

} // namespace dorvan::cli
