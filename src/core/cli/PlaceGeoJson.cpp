// A place list as GeoJSON (RFC 7946): a FeatureCollection of Point features in WGS84, each with
// the property "name" and optionally "quantity". The features are read one at a time, each
// through the same row checks as a line of a CSV list.
#include "core/cli/PlaceTable.h"

#include "core/cli/JsonReader.h"
#include "core/cli/PlaceCsvColumns.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace dorvan::cli {

namespace {

// A JSON number as the CSV reader takes one: its own text, or without an exponent where it has
// one (1e-3 as 0.001).
std::string plainNumber(const std::string& text)
{
    if (text.find_first_of("eE") == std::string::npos)
        return text;
    double v = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.17f", v);
    return buf;
}

// Line numbers of byte offsets that only grow: counts the line breaks in between.
class LineCounter {
public:
    explicit LineCounter(std::string_view text)
        : text_(text)
    {
    }
    int lineAt(std::size_t offset)
    {
        offset = std::min(offset, text_.size());
        if (offset < at_) {
            at_ = 0;
            line_ = 1;
        }
        line_ += static_cast<int>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(at_),
            text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        at_ = offset;
        return line_;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
};

// The columns a feature's values are laid out in for readRow: name, latitude, longitude,
// quantity.
placecsv::Columns featureColumns()
{
    placecsv::Columns c;
    c.name = 0;
    c.x = c.y = -1;
    c.latitude = 1;
    c.longitude = 2;
    c.quantity = 3;
    return c;
}

// The fields of one feature, or what is wrong with its shape.
std::optional<std::string> featureFields(
    const JsonValue& f, std::vector<std::string>& fields, bool& hasQuantity)
{
    using Kind = JsonValue::Kind;
    const JsonValue* type = f.member("type");
    if (f.kind != Kind::Object || type == nullptr || type->text != "Feature")
        return "is not a GeoJSON Feature";
    const JsonValue* geometry = f.member("geometry");
    const JsonValue* gtype = geometry != nullptr ? geometry->member("type") : nullptr;
    if (gtype == nullptr || gtype->kind != Kind::String || gtype->text != "Point")
        return "has no Point geometry";
    const JsonValue* coords = geometry->member("coordinates");
    if (coords == nullptr || coords->kind != Kind::Array || coords->items.size() < 2
        || coords->items[0].kind != Kind::Number || coords->items[1].kind != Kind::Number)
        return "has no coordinates [longitude, latitude]";
    const JsonValue* properties = f.member("properties");
    const JsonValue* name = properties != nullptr ? properties->member("name") : nullptr;
    if (name == nullptr || name->kind != Kind::String)
        return "has no property \"name\" with a text";
    const JsonValue* quantity = properties->member("quantity");
    hasQuantity = quantity != nullptr && quantity->kind != Kind::Null;
    if (hasQuantity && quantity->kind != Kind::Number)
        return "has a \"quantity\" that is not a number";
    fields = { name->text, plainNumber(coords->items[1].text), plainNumber(coords->items[0].text),
        hasQuantity ? plainNumber(quantity->text) : std::string("1") };
    return std::nullopt;
}

} // namespace

PlaceTable readPlaceGeoJson(std::string_view bytes)
{
    PlaceTable table;
    if (bytes.size() > MaxPlaceListBytes) {
        table.problems.push_back({ 0, "the file is larger than 1 GB" });
        return table;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    LineCounter lines(bytes);
    placecsv::TableRows rows;
    const placecsv::Columns columns = featureColumns();
    int number = 0;
    std::vector<std::string> fields;
    const JsonParse parsed = parseJsonStreaming(bytes, "features", [&](JsonValue&& f, std::size_t offset) {
        const int line = lines.lineAt(offset);
        const std::string which = "feature " + std::to_string(++number) + ": ";
        bool hasQuantity = false;
        if (const auto wrong = featureFields(f, fields, hasQuantity)) {
            table.problems.push_back({ line, which + *wrong });
            return;
        }
        table.quantity = table.quantity || hasQuantity;
        std::vector<CsvProblem> own;
        const placecsv::Row row
            = placecsv::readRow(fields, columns, placecsv::Coordinates::Geographic, line, own);
        for (CsvProblem& p : own)
            table.problems.push_back({ line, which + p.message });
        rows.add(table, row, fields[0]);
    });
    if (!parsed.value) {
        table.problems.push_back({ lines.lineAt(parsed.errorOffset), "not GeoJSON: " + parsed.error });
        return table;
    }
    const JsonValue* type = parsed.value->member("type");
    if (type == nullptr || type->text != "FeatureCollection" || parsed.value->member("features") == nullptr) {
        table.problems.insert(table.problems.begin(), { 0, "the file is not a GeoJSON FeatureCollection" });
        return table;
    }
    rows.finish(table, std::nullopt, std::string(), placecsv::Coordinates::Geographic);
    return table;
}

} // namespace dorvan::cli
