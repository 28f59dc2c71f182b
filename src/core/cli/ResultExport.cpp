#include "core/cli/ResultExport.h"

#include "core/cli/PlaceCsv.h"

#include "core/allocation/CostContours.h"
#include "core/cli/JsonWriter.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <sstream>

namespace dorvan::cli {

using namespace dorvan::geo;

namespace {

// The drawing area the contours are found on: fine enough that a pixel is a small part of the
// places' spread.
constexpr int ContourCanvas = 1600;

PlanarPoint planar(const IteratePoint& p)
{
    return { static_cast<double>(p.x), static_cast<double>(p.y) };
}

std::vector<PlanarPoint> planarPath(const std::vector<IteratePoint>& points)
{
    std::vector<PlanarPoint> out;
    for (const IteratePoint& p : points)
        out.push_back(planar(p));
    return out;
}

void addContours(RunExport& out, int group, const std::vector<CostSite>& sites, const IteratePoint& result,
    const std::vector<double>& percents, const ChartState& chart)
{
    const ContourInput input { sites, result, percents };
    const std::vector<ContourLabelSize> sizes(percents.size());
    const CostContours contours
        = costContours(input, chart, contourArea(ContourCanvas, ContourCanvas), sizes, {}, ",");
    for (const ContourLine& line : contours.lines) {
        ExportContour c;
        c.group = group;
        c.level = line.level < percents.size() ? percents[line.level] : 0.0;
        // Back from pixels of the drawing area to the plane.
        for (const ContourPoint& p : line.points)
            c.points.push_back({ chart.ChartMinX + (p.x - 20.0) / chart.ChartScaleX,
                chart.ChartMaxY - (p.y - 20.0) / chart.ChartScaleY });
        if (c.points.size() >= 2)
            out.contours.push_back(std::move(c));
    }
}

std::string decimal(double v)
{
    std::string s = formatGeneral15(v, ",");
    return s;
}

void position(JsonWriter& j, const LatLon& p)
{
    j.beginArray(true);
    j.value(roundDegrees(p.longitude));
    j.value(roundDegrees(p.latitude));
    j.endArray();
}

} // namespace

RunExport runExport(const TProjectRecord& r, const AllocationResult& result, const std::vector<double>& percents)
{
    const CooperRunInputs& in = result.inputs;
    const CooperRunResult& res = result.run;
    RunExport out;
    out.groups = res.groupRun;
    const int n = result.placeCount;
    for (int i = 1; i <= n; ++i) {
        ExportPlace p;
        p.name = displayName(r.PlaceName[i]);
        p.x = r.PlaceX[i];
        p.y = r.PlaceY[i];
        const CooperPlace weighed { r.PlaceX[i], r.PlaceY[i], in.quantityOn ? r.PlaceQuantity[i] : 1.0,
            in.priceOn ? r.PlacePrice[i] : 1.0, in.flexibilityOn ? r.PlaceFlexibility[i] : 1 };
        p.weight = static_cast<double>(cooperWeight(weighed));
        for (const CooperGroupResult& g : res.groups) {
            for (std::size_t k = 0; k < g.memberNames.size() && p.group == 0; ++k)
                if (k < g.memberFound.size() && g.memberFound[k] && g.memberNames[k] == p.name)
                    p.group = g.no;
        }
        out.places.push_back(std::move(p));
    }
    const ChartState chart = chartWindow(projectChartPlaces(r, n), ContourCanvas, ContourCanvas);
    if (!res.groupRun) {
        const std::vector<IteratePoint> path = result.path();
        if (!path.empty()) {
            ExportResult e;
            e.optimum = planar(path.back());
            e.objective = static_cast<double>(res.certificate.objective);
            if (res.certificate.available)
                e.gap = static_cast<double>(res.certificate.gap);
            e.path = planarPath(path);
            out.results.push_back(std::move(e));
            if (!percents.empty())
                addContours(out, 0, oneCentreCostSites(result.state), path.back(), percents, chart);
        }
        return out;
    }
    for (const CooperGroupResult& g : res.groups) {
        if (!g.solved || g.iterates.empty())
            continue;
        ExportResult e;
        e.group = g.no;
        e.optimum = planar(g.iterates.back());
        e.objective = static_cast<double>(g.certificate.objective);
        if (g.certificate.available)
            e.gap = static_cast<double>(g.certificate.gap);
        e.path = planarPath(g.iterates);
        e.existingCentre = g.existingCentre;
        out.results.push_back(std::move(e));
        if (!percents.empty())
            addContours(out, g.no, g.costSites, g.iterates.back(), percents, chart);
    }
    return out;
}

std::optional<std::string> exportGeoJson(const RunExport& run, const Projection& reference)
{
    bool ok = true;
    auto at = [&](PlanarPoint p) {
        const auto q = reference.toLatLon(p);
        ok = ok && q.has_value();
        return q.value_or(LatLon {});
    };
    JsonWriter j;
    j.beginObject();
    j.key("type");
    j.value("FeatureCollection");
    j.key("features");
    j.beginArray();
    auto feature = [&](const char* type, auto&& coordinates, auto&& properties) {
        j.beginObject();
        j.key("type");
        j.value("Feature");
        j.key("geometry");
        j.beginObject();
        j.key("type");
        j.value(type);
        j.key("coordinates");
        coordinates();
        j.endObject();
        j.key("properties");
        j.beginObject(true);
        properties();
        j.endObject();
        j.endObject();
    };
    auto line = [&](const std::vector<PlanarPoint>& points) {
        return [&] {
            j.beginArray(true);
            for (const PlanarPoint& p : points)
                position(j, at(p));
            j.endArray();
        };
    };
    for (const ExportPlace& p : run.places)
        feature("Point", [&] { position(j, at({ p.x, p.y })); },
            [&] {
                j.key("name");
                j.value(p.name);
                j.key("weight");
                j.value(p.weight);
                if (run.groups) {
                    j.key("group");
                    p.group > 0 ? j.value(p.group) : j.null();
                }
            });
    for (const ExportResult& r : run.results) {
        auto group = [&] {
            j.key("group");
            run.groups ? j.value(r.group) : j.null();
        };
        feature("Point", [&] { position(j, at(r.optimum)); },
            [&] {
                j.key("role");
                j.value("optimum");
                group();
                j.key("objective");
                j.value(r.objective);
                j.key("gap");
                r.gap ? j.value(*r.gap) : j.null();
                j.key("existing");
                j.value(!r.existingCentre.empty());
                if (run.groups) {
                    j.key("existing_centre");
                    r.existingCentre.empty() ? j.null() : j.value(r.existingCentre);
                }
            });
        // A LineString needs two positions; a path of one iterate is its optimum alone.
        if (r.path.size() >= 2)
            feature("LineString", line(r.path), [&] {
                j.key("role");
                j.value("path");
                group();
            });
    }
    for (const ExportContour& c : run.contours)
        feature("LineString", line(c.points), [&] {
            j.key("role");
            j.value("contour");
            j.key("group");
            run.groups ? j.value(c.group) : j.null();
            j.key("level");
            j.value(c.level);
        });
    j.endArray();
    j.endObject();
    if (!ok)
        return std::nullopt;
    return j.text();
}

namespace {

// A field of a tab-separated line.
std::string tabField(std::string_view s)
{
    return separatedField(s, '\t');
}

// The two tables of the copy with the given field separator and field quoting; in a run with
// existing centres the results also name the one that serves each group.
std::string exportTables(const RunExport& run, const Projection* reference, char sep,
    std::string (*field)(std::string_view), bool existingColumn)
{
    std::ostringstream out;
    auto latLon = [&](PlanarPoint p) {
        if (reference == nullptr)
            return std::string();
        const auto q = reference->toLatLon(p);
        if (!q)
            return std::string(2, sep);
        return sep + commaDegrees(q->latitude) + sep + commaDegrees(q->longitude);
    };
    auto header = [&](std::initializer_list<const char*> names) {
        std::string line;
        for (const char* n : names)
            line += (line.empty() ? "" : std::string(1, sep)) + n;
        if (reference != nullptr)
            line += sep + std::string("latitude") + sep + "longitude";
        return line + '\n';
    };
    out << header({ "kind", "group", "name", "x", "y", "weight" });
    for (const ExportPlace& p : run.places)
        out << "place" << sep << (p.group > 0 ? std::to_string(p.group) : "") << sep << field(p.name) << sep
            << decimal(p.x) << sep << decimal(p.y) << sep << decimal(p.weight) << latLon({ p.x, p.y })
            << '\n';
    out << '\n'
        << (existingColumn ? header({ "kind", "group", "x", "y", "objective", "gap", "existing" })
                           : header({ "kind", "group", "x", "y", "objective", "gap" }));
    for (const ExportResult& r : run.results)
        out << "optimum" << sep << (run.groups ? std::to_string(r.group) : "") << sep << decimal(r.optimum.x)
            << sep << decimal(r.optimum.y) << sep << decimal(r.objective) << sep
            << (r.gap ? decimal(*r.gap) : "")
            << (existingColumn ? sep + field(r.existingCentre) : std::string()) << latLon(r.optimum) << '\n';
    return out.str();
}

} // namespace

std::string exportTabSeparated(const RunExport& run, const Projection* reference)
{
    const bool existing = std::any_of(run.results.begin(), run.results.end(),
        [](const ExportResult& r) { return !r.existingCentre.empty(); });
    return exportTables(run, reference, '\t', tabField, existing);
}

} // namespace dorvan::cli
