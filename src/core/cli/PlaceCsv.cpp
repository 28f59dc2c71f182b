#include "core/cli/PlaceCsv.h"

#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>

namespace dorvan::cli {

namespace {

constexpr int MinColumns = 3;
constexpr int MaxColumns = 6;
constexpr int MinPlaces = 2;
constexpr std::int64_t UnitsOfOne = 10000; // 1 in ten-thousandths

// A line with a byte of the code page that has no character, reported like a bad line.
struct Line {
    int number = 0;
    std::string text; // UTF-8
    std::string decodeError;
};

std::vector<Line> splitLines(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const bool utf8 = isValidUtf8(bytes);
    std::vector<Line> lines;
    int number = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view raw = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        Line line;
        line.number = ++number;
        if (utf8) {
            line.text = std::string(raw);
        } else {
            try {
                line.text = cp1250ToUtf8(raw);
            } catch (const std::exception&) {
                line.decodeError = "the line holds a byte that is neither UTF-8 nor Windows-1250";
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

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

std::string quotedText(std::string_view s)
{
    std::string q = "\"";
    q += s;
    q += '"';
    return q;
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

struct Row {
    Text100 name;
    double x = 0.0;
    double y = 0.0;
    double quantity = 1.0;
    double price = 1.0;
    std::int32_t flexibility = 1;
};

// One data line; the problems of its fields go to problems, the first of each field.
std::optional<Row> readRow(const std::vector<std::string>& f, int line, std::vector<CsvProblem>& problems)
{
    Row row;
    bool good = true;
    auto fail = [&](std::string message) {
        problems.push_back({ line, std::move(message) });
        good = false;
    };
    if (auto p = checkName(f[0], row.name))
        fail(*p);
    const char* axes[] = { "X", "Y" };
    double* coords[] = { &row.x, &row.y };
    for (int a = 0; a < 2; ++a) {
        const std::string& text = f[static_cast<std::size_t>(a + 1)];
        const DecimalParse d = parseDecimal4(text);
        if (!d.ok())
            fail(numberProblem(axes[a], text, d));
        else
            *coords[a] = d.number->value();
    }
    const char* factors[] = { "quantity", "price" };
    double* values[] = { &row.quantity, &row.price };
    for (int k = 0; k < 2 && static_cast<int>(f.size()) > 3 + k; ++k) {
        const std::string& text = f[static_cast<std::size_t>(3 + k)];
        const DecimalParse d = parseDecimal4(text);
        if (!d.ok())
            fail(numberProblem(factors[k], text, d));
        else if (d.number->tenThousandths < UnitsOfOne)
            fail(std::string(factors[k]) + " " + quotedText(text) + " is below 1");
        else
            *values[k] = d.number->value();
    }
    if (f.size() > 5) {
        const std::string& text = f[5];
        const std::optional<std::int64_t> n = parseWholeNumber(text);
        if (!n || *n <= 0 || *n > std::numeric_limits<std::int32_t>::max())
            fail("flexibility " + quotedText(text) + " is not a whole number from 1 to 2147483647");
        else
            row.flexibility = static_cast<std::int32_t>(*n);
    }
    if (!good)
        return std::nullopt;
    return row;
}

} // namespace

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int n = 0;
        std::uint32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
            cp = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2;
            cp = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3;
            cp = b & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(n) >= text.size())
            return false;
        for (int k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0u) != 0x80u)
                return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

CsvFields splitCsvLine(std::string_view line, char separator)
{
    CsvFields out;
    std::vector<std::string>& fields = out.fields;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                field += line[i++];
            }
            if (!closed) {
                out.error = "field " + std::to_string(fields.size() + 1) + ": a quote is not closed";
                return out;
            }
            while (i < line.size() && isBlank(line[i]))
                ++i;
            if (i < line.size() && line[i] != separator) {
                out.error = "field " + std::to_string(fields.size() + 1) + ": text after the closing quote";
                return out;
            }
        } else {
            const std::size_t end = std::min(line.find(separator, i), line.size());
            field = std::string(trimBlanks(line.substr(i, end - i)));
            i = end;
        }
        fields.push_back(std::move(field));
        if (i >= line.size())
            break;
        ++i; // the separator; a separator at the very end leaves one more, empty field
        if (i == line.size()) {
            fields.emplace_back();
            break;
        }
    }
    return out;
}

PlaceCsv readPlaceCsv(std::string_view bytes)
{
    PlaceCsv out;
    if (bytes.size() > MaxPlaceCsvBytes) {
        out.problems.push_back({ 0, "the file is larger than 4 MB; a list of 99 places is far smaller" });
        return out;
    }
    std::vector<Row> rows;
    bool first = true;
    int hundredthLine = 0;
    for (const Line& line : splitLines(bytes)) {
        if (!line.decodeError.empty()) {
            out.problems.push_back({ line.number, line.decodeError });
            continue;
        }
        if (skipped(line))
            continue;
        if (first)
            out.separator = separatorOf(line.text);
        const CsvFields split = splitCsvLine(line.text, out.separator);
        if (!split.ok()) {
            out.problems.push_back({ line.number, split.error });
            first = false;
            continue;
        }
        const int count = static_cast<int>(split.fields.size());
        if (first) {
            first = false;
            if (count < MinColumns || count > MaxColumns) {
                out.problems.push_back({ line.number, columnCountProblem(count) });
                continue;
            }
            out.columns = count;
            if (!isNumber(split.fields[1]) && !isNumber(split.fields[2])) {
                out.header = true;
                continue;
            }
        }
        if (out.columns == 0)
            continue; // the first line was refused: its field count cannot be the measure
        if (count != out.columns) {
            std::string m = std::to_string(count) + (count == 1 ? " field" : " fields")
                + ", but the first line has " + std::to_string(out.columns);
            if (out.separator == ',')
                m += " (with \",\" as the separator a decimal comma must be quoted: \"48,15\")";
            out.problems.push_back({ line.number, m });
            continue;
        }
        if (static_cast<int>(rows.size()) >= MaxPlaceCount) {
            if (hundredthLine == 0) {
                hundredthLine = line.number;
                out.problems.push_back({ line.number, "place 100: a project holds at most 99 places" });
            }
            continue;
        }
        if (auto row = readRow(split.fields, line.number, out.problems))
            rows.push_back(*row);
        else
            rows.emplace_back(); // keeps the count of places for the limit above
    }
    if (!out.ok())
        return out;

    const int n = static_cast<int>(rows.size());
    if (n < MinPlaces) {
        out.problems.push_back({ 0,
            n == 0 ? std::string("the file holds no place; a project needs 2 to 99")
                   : std::string("the file holds 1 place; a project needs 2 to 99") });
        return out;
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
    r.setCriterion(CritQuantity, out.columns >= 4);
    r.setCriterion(CritPrice, out.columns >= 5);
    r.setCriterion(CritFlexibility, out.columns >= 6);
    r.SavedPlaceCount = n;
    out.placeCount = n;
    return out;
}

} // namespace dorvan::cli
