#include "core/cli/DistanceMatrix.h"

#include "core/cli/JsonReader.h"
#include "core/cli/PlaceCsv.h"
#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <exception>

namespace dorvan::cli {

namespace {

std::string quotedName(std::string_view s)
{
    return "\"" + std::string(s) + "\"";
}

// The lines of a CSV matrix that hold something: blank lines and "#" comments left out.
std::vector<CsvLine> matrixLines(std::string_view bytes)
{
    std::vector<CsvLine> lines;
    for (CsvLine& line : csvLines(bytes)) {
        const std::string_view t = trimBlanks(line.text);
        if (!line.decodeError.empty() || (!t.empty() && t.front() != '#'))
            lines.push_back(std::move(line));
    }
    return lines;
}

char separatorOfLine(std::string_view line)
{
    bool quotedPart = false;
    for (char c : line) {
        if (c == '"')
            quotedPart = !quotedPart;
        else if (c == ';' && !quotedPart)
            return ';';
    }
    return ',';
}

// The unit a header cell names by its last word: "km", or "m" and the words for metres.
std::optional<DistanceUnit> unitNamed(std::string_view cell)
{
    std::string s;
    for (char c : cell)
        s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!s.empty() && (s.back() == ')' || s.back() == ']' || s.back() == ' '))
        s.pop_back();
    const std::size_t cut = s.find_last_of(" _([-/.");
    const std::string word = cut == std::string::npos ? s : s.substr(cut + 1);
    if (word == "km")
        return DistanceUnit::Kilometres;
    if (word == "m" || word == "metres" || word == "meters" || word == "metre" || word == "meter"
        || word == "metrov")
        return DistanceUnit::Metres;
    return std::nullopt;
}

// A JSON number in plain decimal notation: the exponent moved into the digits.
std::string plainDecimal(std::string_view number)
{
    const std::size_t e = number.find_first_of("eE");
    if (e == std::string_view::npos)
        return std::string(number);
    std::string_view mantissa = number.substr(0, e);
    const std::optional<std::int64_t> exponent = parseWholeNumber(number.substr(e + 1));
    std::string sign;
    if (!mantissa.empty() && mantissa.front() == '-') {
        sign = "-";
        mantissa.remove_prefix(1);
    }
    const std::size_t point = mantissa.find('.');
    std::string digits(mantissa.substr(0, point));
    if (point != std::string_view::npos)
        digits += mantissa.substr(point + 1);
    // A number beyond any distance (or below a tenth of a millimetre) needs no exact digits.
    const std::int64_t shift = std::clamp<std::int64_t>(exponent.value_or(0), -40, 40);
    const std::int64_t at
        = static_cast<std::int64_t>(point == std::string_view::npos ? mantissa.size() : point) + shift;
    if (at <= 0)
        return sign + "0." + std::string(static_cast<std::size_t>(-at), '0') + digits;
    if (at >= static_cast<std::int64_t>(digits.size()))
        return sign + digits
            + std::string(static_cast<std::size_t>(at - static_cast<std::int64_t>(digits.size())), '0');
    return sign + digits.substr(0, static_cast<std::size_t>(at)) + "."
        + digits.substr(static_cast<std::size_t>(at));
}

std::int64_t halvedEven(std::int64_t sum)
{
    std::int64_t q = sum / 2;
    if (sum % 2 != 0 && q % 2 != 0)
        ++q;
    return q;
}

std::int64_t metresToKm(std::int64_t t)
{
    std::int64_t q = t / 1000;
    const std::int64_t r = t % 1000;
    if (r > 500 || (r == 500 && q % 2 != 0))
        ++q;
    return q;
}

// The values given for the pairs of places, checked one by one as they come.
class MatrixCollector {
public:
    MatrixCollector(const TProjectRecord& r, int n, DistanceMatrixRead& out)
        : r_(r)
        , n_(n)
        , out_(out)
        , value_(static_cast<std::size_t>(n * n))
        , lineOf_(static_cast<std::size_t>(n * n), -1)
        , present_(static_cast<std::size_t>(n + 1), false)
    {
    }

    int count() const { return n_; }
    // The file cannot be laid over the places at all: what it lacks is not counted pair by pair.
    void abandon(int line, std::string english, std::string slovak)
    {
        problem(line, std::move(english), std::move(slovak));
        abandoned_ = true;
    }

    void problem(int line, std::string english, std::string slovak)
    {
        out_.problems.push_back({ line, std::move(english), std::move(slovak) });
    }

    std::string name(int i) const { return displayName(r_.PlaceName[i]); }
    std::string pair(int i, int j) const { return name(i) + "<--->" + name(j); }

    // The place of that name, 0 when the project has none (told as a problem of the line).
    int place(int line, std::string_view text)
    {
        const int k = placeQuietly(text);
        if (k > 0)
            present_[static_cast<std::size_t>(k)] = true;
        else
            problem(
                line, quotedName(text) + " is no place of the project", quotedName(text) + " nie je miesto projektu");
        return k;
    }
    int placeQuietly(std::string_view text) const
    {
        try {
            const Text100 wanted = Text100::fromUtf8(text);
            for (int k = 1; k <= n_; ++k)
                if (r_.PlaceName[k] == wanted)
                    return k;
        } catch (const std::exception&) {
            // A name the code page cannot hold is no place's name.
        }
        return 0;
    }
    void markPresent(int k) { present_[static_cast<std::size_t>(k)] = true; }

    // A value for the pair from i to j.
    void give(int line, int i, int j, std::string_view text)
    {
        const std::size_t at = index(i, j);
        if (lineOf_[at] >= 0) {
            const std::string lines = std::to_string(lineOf_[at]) + " a " + std::to_string(line);
            problem(line,
                pair(i, j) + " is given twice (lines " + std::to_string(lineOf_[at]) + " and "
                    + std::to_string(line) + ")",
                pair(i, j) + " je zadaná dvakrát (riadky " + lines + ")");
            return;
        }
        lineOf_[at] = line;
        const DecimalParse p = parseDecimal4(text);
        if (!p.ok()) {
            if (p.error == DecimalError::Overflow)
                problem(line, pair(i, j) + ": " + quotedName(text) + " is too large",
                    pair(i, j) + ": " + quotedName(text) + " je príliš veľké číslo");
            else
                problem(line, pair(i, j) + ": " + quotedName(text) + " is not a number",
                    pair(i, j) + ": " + quotedName(text) + " nie je číslo");
            return;
        }
        const std::int64_t t = p.number->tenThousandths;
        if (t < 0) {
            problem(line, pair(i, j) + ": the distance " + std::string(trimBlanks(text)) + " is negative",
                pair(i, j) + ": záporná vzdialenosť " + std::string(trimBlanks(text)));
            return;
        }
        const std::int64_t km = out_.unit == DistanceUnit::Metres ? metresToKm(t) : t;
        if (i == j && km != 0) {
            problem(line,
                pair(i, j) + ": a place's distance to itself must be 0, not " + std::string(trimBlanks(text)),
                pair(i, j) + ": vzdialenosť miesta od seba musí byť 0, nie " + std::string(trimBlanks(text)));
            return;
        }
        value_[at] = km;
    }

    // Every place and pair accounted for: the symmetric table, or the problems of what is missing.
    void finish()
    {
        if (abandoned_)
            return;
        for (int k = 1; k <= n_; ++k)
            if (!present_[static_cast<std::size_t>(k)])
                problem(0, "no distance to or from " + name(k) + " is given",
                    "chýbajú vzdialenosti miesta " + name(k));
        for (int i = 1; i <= n_; ++i)
            for (int j = i + 1; j <= n_; ++j)
                if (present_[static_cast<std::size_t>(i)] && present_[static_cast<std::size_t>(j)]
                    && lineOf_[index(i, j)] < 0 && lineOf_[index(j, i)] < 0)
                    problem(
                        0, "the distance " + pair(i, j) + " is missing", "chýba vzdialenosť " + pair(i, j));
        if (!out_.problems.empty())
            return;
        DistanceTable& t = out_.table;
        t.count = n_;
        t.tenThousandths.assign(static_cast<std::size_t>(n_ * n_), 0);
        for (int i = 1; i <= n_; ++i)
            for (int j = i + 1; j <= n_; ++j) {
                const std::optional<std::int64_t> a = value_[index(i, j)];
                const std::optional<std::int64_t> b = value_[index(j, i)];
                std::int64_t v = a ? *a : *b;
                if (a && b && *a != *b) {
                    ++out_.averaged;
                    v = halvedEven(*a + *b);
                    // More than 1 % of the mean: 100 |a - b| > (a + b) / 2.
                    if (200.0L * std::fabs(static_cast<long double>(*a - *b))
                        > static_cast<long double>(*a + *b))
                        ++out_.differing;
                }
                t.tenThousandths[index(i, j)] = v;
                t.tenThousandths[index(j, i)] = v;
            }
    }

private:
    std::size_t index(int i, int j) const { return static_cast<std::size_t>((i - 1) * n_ + (j - 1)); }

    const TProjectRecord& r_;
    int n_;
    DistanceMatrixRead& out_;
    std::vector<std::optional<std::int64_t>> value_;
    std::vector<int> lineOf_; // the line a directed pair was given on, -1 for none
    std::vector<bool> present_;
    bool abandoned_ = false;
};

std::string fieldsText(std::size_t n)
{
    return std::to_string(n) + (n == 1 ? " field" : " fields");
}

// The lines split into fields; a line whose quotes are broken is a problem of its own.
std::vector<std::pair<int, std::vector<std::string>>> splitMatrixLines(
    const std::vector<CsvLine>& lines, char separator, MatrixCollector& c)
{
    std::vector<std::pair<int, std::vector<std::string>>> rows;
    for (const CsvLine& line : lines) {
        if (!line.decodeError.empty()) {
            c.problem(line.number, "the line holds a byte that is neither UTF-8 nor Windows-1250",
                "riadok obsahuje bajt, ktorý nie je ani UTF-8, ani Windows-1250");
            continue;
        }
        CsvFields f = splitCsvLine(line.text, separator);
        if (!f.ok()) {
            c.problem(line.number, f.error, "chybné úvodzovky v riadku");
            continue;
        }
        rows.emplace_back(line.number, std::move(f.fields));
    }
    return rows;
}

void readLong(const std::vector<std::pair<int, std::vector<std::string>>>& rows, MatrixCollector& c)
{
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const auto& [line, f] = rows[k];
        if (k == 0 && f.size() == 3 && !parseDecimal4(f[2]).ok())
            continue; // the header
        if (f.size() != 3) {
            c.problem(line, fieldsText(f.size()) + "; a line holds from;to;distance",
                "počet polí: " + std::to_string(f.size()) + "; riadok má tvar odkiaľ;kam;vzdialenosť");
            continue;
        }
        const int i = c.place(line, f[0]);
        const int j = c.place(line, f[1]);
        if (i > 0 && j > 0)
            c.give(line, i, j, f[2]);
    }
}

void readSquare(const std::vector<std::pair<int, std::vector<std::string>>>& rows, MatrixCollector& c)
{
    const auto& [headerLine, header] = rows.front();
    const int n = c.count();
    std::vector<int> column;
    std::vector<int> firstColumnOf(static_cast<std::size_t>(n + 1), 0);
    for (std::size_t k = 1; k < header.size(); ++k) {
        const int p = c.place(headerLine, header[k]);
        column.push_back(p);
        if (p == 0)
            continue;
        if (firstColumnOf[static_cast<std::size_t>(p)] != 0)
            c.problem(headerLine, quotedName(header[k]) + " heads two columns",
                quotedName(header[k]) + " je v hlavičke dvakrát");
        else
            firstColumnOf[static_cast<std::size_t>(p)] = static_cast<int>(k);
    }
    const std::size_t names = header.size() - 1;
    if (names != static_cast<std::size_t>(n))
        c.problem(headerLine,
            "the header names " + std::to_string(names) + " places; the project has " + std::to_string(n),
            "počet miest v hlavičke: " + std::to_string(names) + ", v projekte: " + std::to_string(n));
    std::vector<int> rowLine(static_cast<std::size_t>(n + 1), 0);
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const auto& [line, f] = rows[k];
        if (f.size() != header.size()) {
            c.problem(line, fieldsText(f.size()) + "; the header has " + std::to_string(header.size()),
                "počet polí: " + std::to_string(f.size()) + ", v hlavičke: " + std::to_string(header.size()));
            continue;
        }
        const int i = c.place(line, f[0]);
        if (i == 0)
            continue;
        if (rowLine[static_cast<std::size_t>(i)] != 0) {
            c.problem(line,
                quotedName(f[0]) + " has two lines (" + std::to_string(rowLine[static_cast<std::size_t>(i)])
                    + " and " + std::to_string(line) + ")",
                quotedName(f[0]) + " má dva riadky (" + std::to_string(rowLine[static_cast<std::size_t>(i)])
                    + " a " + std::to_string(line) + ")");
            continue;
        }
        rowLine[static_cast<std::size_t>(i)] = line;
        for (std::size_t col = 0; col < column.size(); ++col)
            if (column[col] > 0 && !trimBlanks(f[col + 1]).empty()
                && firstColumnOf[static_cast<std::size_t>(column[col])] == static_cast<int>(col + 1))
                c.give(line, i, column[col], f[col + 1]);
    }
    const std::size_t lines = rows.size() - 1;
    if (lines != static_cast<std::size_t>(n))
        c.problem(0,
            "the matrix has " + std::to_string(lines) + " lines of places; the project has "
                + std::to_string(n) + " places",
            "počet riadkov miest v matici: " + std::to_string(lines)
                + ", miest v projekte: " + std::to_string(n));
}

void readJson(std::string_view bytes, MatrixCollector& c)
{
    const JsonParse parsed = parseJson(bytes);
    if (!parsed.value) {
        c.abandon(0, "not valid JSON: " + parsed.error, "súbor nie je platný JSON (" + parsed.error + ")");
        return;
    }
    const JsonValue& root = *parsed.value;
    const JsonValue* code = root.member("code");
    if (code != nullptr && code->kind == JsonValue::Kind::String && code->text != "Ok") {
        const JsonValue* message = root.member("message");
        const std::string said = code->text
            + (message != nullptr && message->kind == JsonValue::Kind::String ? ": " + message->text : "");
        c.abandon(0, "the routing server answered " + said, "smerovací server odpovedal " + said);
        return;
    }
    const JsonValue* d = root.member("distances");
    if (d == nullptr || d->kind != JsonValue::Kind::Array) {
        c.abandon(0, "the JSON holds no \"distances\" table", "JSON neobsahuje tabuľku \"distances\"");
        return;
    }
    const int n = c.count();
    if (d->items.size() != static_cast<std::size_t>(n)) {
        c.abandon(0,
            "the table has " + std::to_string(d->items.size()) + " rows; the project has " + std::to_string(n)
                + " places",
            "počet riadkov tabuľky: " + std::to_string(d->items.size())
                + ", miest v projekte: " + std::to_string(n));
        return;
    }
    for (int i = 1; i <= n; ++i) {
        c.markPresent(i);
        const JsonValue& row = d->items[static_cast<std::size_t>(i - 1)];
        if (row.kind != JsonValue::Kind::Array || row.items.size() != static_cast<std::size_t>(n)) {
            const std::string got
                = row.kind == JsonValue::Kind::Array ? std::to_string(row.items.size()) : "no";
            c.problem(0,
                "row " + std::to_string(i) + " (" + c.name(i) + ") has " + got + " values; "
                    + std::to_string(n) + " expected",
                "riadok " + std::to_string(i) + " (" + c.name(i) + ") nemá " + std::to_string(n) + " hodnôt");
            continue;
        }
        for (int j = 1; j <= n; ++j) {
            const JsonValue& v = row.items[static_cast<std::size_t>(j - 1)];
            if (v.kind == JsonValue::Kind::Null)
                continue;
            if (v.kind != JsonValue::Kind::Number) {
                c.problem(0, c.pair(i, j) + ": not a number", c.pair(i, j) + ": nie je číslo");
                continue;
            }
            c.give(0, i, j, plainDecimal(v.text));
        }
    }
}

} // namespace

DistanceMatrixRead readDistanceMatrix(
    std::string_view bytes, const TProjectRecord& record, int placeCount, std::optional<DistanceUnit> unit)
{
    DistanceMatrixRead out;
    const int n = std::clamp(placeCount, 0, MaxPlaceCount);
    MatrixCollector c(record, n, out);
    if (bytes.size() > MaxDistanceMatrixBytes) {
        c.problem(0, "the file is larger than 16 MB", "súbor je väčší ako 16 MB");
        return out;
    }
    std::string_view body = bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
    const std::size_t first = body.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && (body[first] == '{' || body[first] == '[')) {
        out.format = MatrixFormat::Json;
        out.unit = unit.value_or(DistanceUnit::Metres);
        readJson(body, c);
    } else {
        const std::vector<CsvLine> lines = matrixLines(bytes);
        if (lines.empty()) {
            c.abandon(0, "the file holds no distances", "súbor neobsahuje žiadne vzdialenosti");
            return out;
        }
        const auto rows = splitMatrixLines(lines, separatorOfLine(lines.front().text), c);
        if (rows.empty())
            return out;
        const std::vector<std::string>& head = rows.front().second;
        const bool square = head.size() > 3
            || (head.size() == 3 && c.placeQuietly(head[1]) > 0 && c.placeQuietly(head[2]) > 0);
        out.format = square ? MatrixFormat::SquareCsv : MatrixFormat::LongCsv;
        std::optional<DistanceUnit> named;
        if (square)
            named = unitNamed(head[0]);
        else if (head.size() == 3 && !parseDecimal4(head[2]).ok())
            named = unitNamed(head[2]);
        out.unit = unit.value_or(named.value_or(DistanceUnit::Kilometres));
        if (square)
            readSquare(rows, c);
        else
            readLong(rows, c);
    }
    c.finish();
    return out;
}

std::string differingNoticeEnglish(const DistanceMatrixRead& read)
{
    if (read.differing == 0)
        return {};
    return std::to_string(read.differing) + (read.differing == 1 ? " pair differs" : " pairs differ")
        + " by more than 1 % between its two directions; the mean of both is kept";
}

std::string differingNoticeSlovak(const DistanceMatrixRead& read)
{
    if (read.differing == 0)
        return {};
    // A non-breaking space keeps "1 %" on one line.
    return "Počet dvojíc miest, ktorých vzdialenosti tam a späť sa líšia o viac ako 1\u00A0%: "
        + std::to_string(read.differing) + ". Uložený je priemer oboch smerov.";
}

std::string slovakRefusal(std::string_view file, const DistanceMatrixRead& read, std::size_t maxListed)
{
    std::string text = "Vzdialenosti zo súboru " + std::string(file) + " sa nedajú importovať:";
    for (std::size_t k = 0; k < read.problems.size() && k < maxListed; ++k) {
        const MatrixProblem& p = read.problems[k];
        text += '\n';
        if (p.line > 0)
            text += "riadok " + std::to_string(p.line) + ": ";
        text += p.slovak;
    }
    if (read.problems.size() > maxListed)
        text += "\n... a ďalšie problémy: " + std::to_string(read.problems.size() - maxListed);
    return text + "\nNič nebolo zmenené.";
}

std::string_view formatName(MatrixFormat format)
{
    switch (format) {
    case MatrixFormat::LongCsv:
        return "long CSV";
    case MatrixFormat::SquareCsv:
        return "square CSV";
    case MatrixFormat::Json:
        return "routing table JSON";
    }
    return "";
}

std::string_view unitName(DistanceUnit unit)
{
    return unit == DistanceUnit::Metres ? "m" : "km";
}

std::string distanceRequestUrl(std::string_view base, const std::vector<geo::LatLon>& places)
{
    std::string url(base);
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    url += url.find("/table/") != std::string::npos ? "/" : "/table/v1/driving/";
    for (std::size_t k = 0; k < places.size(); ++k) {
        if (k > 0)
            url += ';';
        url += geo::fixedDegrees(places[k].longitude) + "," + geo::fixedDegrees(places[k].latitude);
    }
    return url + "?annotations=distance";
}

} // namespace dorvan::cli
