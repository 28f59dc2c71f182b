#include "core/cli/CliCommands.h"

#include "core/cli/JsonWriter.h"
#include "core/cli/PlaceCsv.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <optional>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace dorvan::cli {

namespace {

// The criteria that hold one value each, with the byte that switches them on.
struct SingleValue {
    const char* key;
    Criterion criterion;
    enum Kind { Number, Whole, Text } kind;
    double number = 0.0;
    std::int64_t whole = 0;
    std::string text;
};

std::vector<SingleValue> singleValues(const TProjectRecord& r)
{
    return {
        { "max_route_length", CritMaxRouteLength, SingleValue::Number, r.MaxRouteLength, 0, {} },
        { "max_distribution_time", CritMaxDistributionTime, SingleValue::Number, r.MaxDistributionTime, 0,
            {} },
        { "central", CritCentral, SingleValue::Text, 0.0, 0, displayName(r.CentralName) },
        { "load_time_dc", CritLoadTimes, SingleValue::Number, r.LoadTimeDC, 0, {} },
        { "load_time_ds", CritLoadTimes, SingleValue::Number, r.LoadTimeDS, 0, {} },
        { "load_time_dm", CritLoadTimes, SingleValue::Number, r.LoadTimeDM, 0, {} },
        { "capacity_dc", CritWarehouseCapacity, SingleValue::Number, r.CapacityDC, 0, {} },
        { "capacity_ds", CritWarehouseCapacity, SingleValue::Number, r.CapacityDS, 0, {} },
        { "capacity_dm", CritWarehouseCapacity, SingleValue::Number, r.CapacityDM, 0, {} },
        { "vehicle_count", CritVehicleCount, SingleValue::Whole, 0.0, r.VehicleCount, {} },
        { "vehicle_capacity", CritVehicleCapacity, SingleValue::Number, r.VehicleCapacity, 0, {} },
        { "vehicle_speed", CritVehicleSpeed, SingleValue::Number, r.VehicleSpeed, 0, {} },
        { "places_per_group", CritEvenGroups, SingleValue::Whole, 0.0, r.PlacesPerGroup, {} },
    };
}

// The per-place criteria, which weigh the places.
struct PlaceCriterion {
    const char* key;
    Criterion criterion;
};
const PlaceCriterion PlaceCriteria[]
    = { { "quantity", CritQuantity }, { "price", CritPrice }, { "flexibility", CritFlexibility } };

// A place's latitude and longitude, 7 decimals, with a reference only.
std::optional<geo::LatLon> placeLatLon(const geo::Projection* reference, const TProjectRecord& r, int i)
{
    if (reference == nullptr)
        return std::nullopt;
    auto p = reference->toLatLon({ r.PlaceX[i], r.PlaceY[i] });
    if (p)
        p = geo::LatLon { geo::roundDegrees(p->latitude), geo::roundDegrees(p->longitude) };
    return p;
}

void placesCsv(const TProjectRecord& r, int n, std::ostream& out)
{
    const auto reference = geo::projectionOf(r);
    out << "number;name;x;y;quantity;price;flexibility" << (reference ? ";latitude;longitude\n" : "\n");
    for (int i = 1; i <= n; ++i) {
        out << i << ';' << csvField(displayName(r.PlaceName[i])) << ';'
            << formatGeneral15(r.PlaceX[i], Separator) << ';' << formatGeneral15(r.PlaceY[i], Separator)
            << ';' << formatGeneral15(r.PlaceQuantity[i], Separator) << ';'
            << formatGeneral15(r.PlacePrice[i], Separator) << ';' << r.PlaceFlexibility[i];
        if (reference) {
            const auto p = placeLatLon(&*reference, r, i);
            out << ';' << (p ? geo::commaDegrees(p->latitude) : "") << ';'
                << (p ? geo::commaDegrees(p->longitude) : "");
        }
        out << '\n';
    }
    out << "\ncriterion;on;value\n";
    for (const PlaceCriterion& c : PlaceCriteria)
        out << c.key << ';' << (r.ticked(c.criterion) ? 1 : 0) << ";\n";
    for (const SingleValue& v : singleValues(r)) {
        out << v.key << ';' << (r.ticked(v.criterion) ? 1 : 0) << ';';
        if (v.kind == SingleValue::Number)
            out << formatGeneral15(v.number, Separator);
        else if (v.kind == SingleValue::Whole)
            out << v.whole;
        else
            out << csvField(v.text);
        out << '\n';
    }
    out << "groups;" << (r.ticked(CritGroups) ? 1 : 0) << ';' << std::clamp(r.GroupCount, 0, MaxPlaces)
        << '\n';
}

void placesJson(const TProjectRecord& r, int n, const std::string& path, std::ostream& out)
{
    const auto reference = geo::projectionOf(r);
    JsonWriter j;
    j.beginObject();
    j.key("project");
    j.value(path);
    j.key("place_count");
    j.value(n);
    j.key("picture");
    if (r.hasPicture()) {
        j.beginObject(true);
        j.key("width");
        j.value(r.PictureWidth);
        j.key("height");
        j.value(r.PictureHeight);
        j.endObject();
    } else {
        j.null();
    }
    j.key("places");
    j.beginArray();
    for (int i = 1; i <= n; ++i) {
        j.beginObject(true);
        j.key("number");
        j.value(i);
        j.key("name");
        j.value(displayName(r.PlaceName[i]));
        j.key("x");
        j.value(r.PlaceX[i]);
        j.key("y");
        j.value(r.PlaceY[i]);
        if (reference) {
            const auto p = placeLatLon(&*reference, r, i);
            j.key("latitude");
            p ? j.value(p->latitude) : j.null();
            j.key("longitude");
            p ? j.value(p->longitude) : j.null();
        }
        j.key("quantity");
        j.value(r.PlaceQuantity[i]);
        j.key("price");
        j.value(r.PlacePrice[i]);
        j.key("flexibility");
        j.value(r.PlaceFlexibility[i]);
        j.endObject();
    }
    j.endArray();
    j.key("criteria");
    j.beginObject();
    for (const PlaceCriterion& c : PlaceCriteria) {
        j.key(c.key);
        j.beginObject(true);
        j.key("on");
        j.value(r.ticked(c.criterion));
        j.endObject();
    }
    for (const SingleValue& v : singleValues(r)) {
        j.key(v.key);
        j.beginObject(true);
        j.key("on");
        j.value(r.ticked(v.criterion));
        j.key("value");
        if (v.kind == SingleValue::Number)
            j.value(v.number);
        else if (v.kind == SingleValue::Whole)
            j.value(v.whole);
        else
            j.value(v.text);
        j.endObject();
    }
    j.key("groups");
    j.beginObject(true);
    j.key("on");
    j.value(r.ticked(CritGroups));
    j.key("count");
    j.value(std::clamp(r.GroupCount, 0, MaxPlaces));
    j.endObject();
    j.endObject();
    j.endObject();
    out << j.text();
}

} // namespace

std::string readWholeFile(const std::string& path, std::size_t limit)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw UsageError(path + ": cannot be read");
    std::string bytes;
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        bytes.append(buf, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > limit)
            break;
    }
    if (in.bad())
        throw UsageError(path + ": cannot be read");
    return bytes;
}

int placesCommand(const PlacesOptions& o, std::ostream& out, std::ostream& err)
{
    const LoadedProject project = loadProject(o.project, err);
    const int n = projectPlaceCount(project.record);
    if (o.format == OutputFormat::Json)
        placesJson(project.record, n, o.project, out);
    else
        placesCsv(project.record, n, out);
    return ExitOk;
}

int importCommand(const ImportOptions& o, std::ostream& out, std::ostream& err)
{
    std::error_code same;
    if (std::filesystem::equivalent(o.csv, o.out, same)) {
        std::string m = "--out ";
        m += o.out;
        m += " is the place list itself; choose another name for the project";
        throw UsageError(m);
    }
    const std::string bytes = readWholeFile(o.csv, MaxPlaceCsvBytes);
    const PlaceCsv csv = readPlaceCsv(bytes, PlaceCsvOptions { o.crs });
    for (const std::string& notice : csv.notices)
        err << "dorvan-cli: " << o.csv << ": " << notice << '\n';
    if (!csv.ok()) {
        for (const CsvProblem& p : csv.problems) {
            err << "dorvan-cli: " << o.csv;
            if (p.line > 0)
                err << ':' << p.line;
            err << ": " << p.message << '\n';
        }
        err << "dorvan-cli: " << o.csv << ": nothing was written\n";
        return ExitBadInput;
    }
    try {
        saveProjectFile(o.out, csv.record, RgbPicture {});
    } catch (const std::exception& e) {
        throw UsageError(o.out + ": " + e.what());
    }
    out << o.out << ": " << csv.placeCount << " places";
    const char* with[] = { nullptr, "quantity", "price", "quantity and price", "flexibility",
        "quantity and flexibility", "price and flexibility", "quantity, price and flexibility" };
    if (const char* w = with[(csv.quantity ? 1 : 0) + (csv.price ? 2 : 0) + (csv.flexibility ? 4 : 0)])
        out << " with " << w;
    out << '\n';
    if (!csv.reference.empty())
        out << o.out << ": reference " << csv.reference << '\n';
    return ExitOk;
}

} // namespace dorvan::cli
