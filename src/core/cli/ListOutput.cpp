// The results of a place list as text, JSON, GeoJSON and CSV, and the progress line.
#include "core/cli/ListOutput.h"

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/cli/CliArguments.h"
#include "core/cli/CliCommands.h"
#include "core/cli/JsonWriter.h"
#include "core/cli/ResultExport.h"
#include "core/entry/GroupList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>

namespace dorvan::cli {

namespace {

// A centre in latitude/longitude, 7 decimals; nothing for a list without them.
std::optional<geo::LatLon> centreLatLon(const std::optional<geo::Projection>& reference, const ListCentre& c)
{
    if (!reference)
        return std::nullopt;
    auto p = reference->toLatLon({ c.x, c.y });
    if (p)
        p = geo::LatLon { geo::roundDegrees(p->latitude), geo::roundDegrees(p->longitude) };
    return p;
}

std::optional<geo::Projection> referenceOf(const PlaceTable& table)
{
    if (table.reference.empty())
        return std::nullopt;
    return geo::Projection::create(table.reference);
}

// The members of each centre, in the order of the list.
std::vector<std::vector<std::size_t>> membersByCentre(const ListResult& r)
{
    std::vector<std::vector<std::size_t>> m(r.centres.size());
    for (std::size_t i = 0; i < r.centreOf.size(); ++i) {
        const auto c = static_cast<std::size_t>(r.centreOf[i]);
        if (c < m.size())
            m[c].push_back(i);
    }
    return m;
}


std::string placeLabel(const PlaceTable& table, long place)
{
    return place >= 0 ? std::string(table.name(static_cast<std::size_t>(place))) : std::string();
}

void writeListCsv(std::ostream& f, const PlaceTable& table, const ListResult& r,
    const std::optional<geo::Projection>& reference)
{
    const bool degrees = !table.latitude.empty();
    f << "kind,group,name,x,y,weight,objective,members,existing"
      << (degrees ? ",latitude,longitude\n" : "\n");
    for (std::size_t i = 0; i < table.size(); ++i) {
        f << "place," << r.centreOf[i] + 1 << ',' << separatedField(table.name(i), ',') << ','
          << gisReal(table.x[i]) << ',' << gisReal(table.y[i]) << ',' << gisReal(table.weight[i]) << ",,,";
        if (degrees)
            f << ',' << geo::fixedDegrees(table.latitude[i]) << ',' << geo::fixedDegrees(table.longitude[i]);
        f << '\n';
    }
    for (std::size_t c = 0; c < r.centres.size(); ++c) {
        const ListCentre& centre = r.centres[c];
        f << "centre," << c + 1 << ',' << separatedField(placeLabel(table, centre.fixedPlace), ',') << ','
          << gisReal(centre.x) << ',' << gisReal(centre.y) << ",,"
          << gisReal(static_cast<double>(centre.objective)) << ',' << centre.members << ','
          << (centre.fixedPlace >= 0 ? 1 : 0);
        if (degrees) {
            const auto p = centreLatLon(reference, centre);
            f << ',' << (p ? geo::fixedDegrees(p->latitude) : "") << ','
              << (p ? geo::fixedDegrees(p->longitude) : "");
        }
        f << '\n';
    }
}

void geoJsonPoint(std::ostream& f, double latitude, double longitude)
{
    f << "{\"type\":\"Point\",\"coordinates\":[" << geo::fixedDegrees(longitude) << ','
      << geo::fixedDegrees(latitude) << "]}";
}

void writeListGeoJson(std::ostream& f, const PlaceTable& table, const ListResult& r,
    const std::optional<geo::Projection>& reference)
{
    f << "{\"type\":\"FeatureCollection\",\"features\":[\n";
    for (std::size_t i = 0; i < table.size(); ++i) {
        f << "{\"type\":\"Feature\",\"geometry\":";
        geoJsonPoint(f, table.latitude[i], table.longitude[i]);
        f << ",\"properties\":{\"kind\":\"place\",\"name\":" << jsonString(table.name(i))
          << ",\"group\":" << r.centreOf[i] + 1 << ",\"weight\":" << gisReal(table.weight[i]) << "}},\n";
    }
    for (std::size_t c = 0; c < r.centres.size(); ++c) {
        const ListCentre& centre = r.centres[c];
        const auto p = centreLatLon(reference, centre);
        f << "{\"type\":\"Feature\",\"geometry\":";
        if (p)
            geoJsonPoint(f, p->latitude, p->longitude);
        else
            f << "null";
        f << ",\"properties\":{\"kind\":\"centre\",\"name\":"
          << (centre.fixedPlace >= 0 ? jsonString(placeLabel(table, centre.fixedPlace)) : std::string("null"))
          << ",\"group\":" << c + 1 << ",\"objective\":" << jsonNumber(static_cast<double>(centre.objective))
          << ",\"members\":" << centre.members
          << ",\"existing\":" << (centre.fixedPlace >= 0 ? "true" : "false") << "}}"
          << (c + 1 < r.centres.size() ? ",\n" : "\n");
    }
    f << "]}\n";
}

} // namespace

std::string listNumber(long double v)
{
    return formatGeneral15(static_cast<double>(v), Separator);
}

std::string listCertificateLine(const PlaceTable& table, const ListResult& r)
{
    const CooperCertificate& c = r.certificate;
    if (!r.oneCentre || !c.available)
        return {};
    if (!r.centres.empty() && r.centres.front().onPlace >= 0 && c.gap == 0.0L)
        return optimumPlaceText(placeLabel(table, r.centres.front().onPlace));
    return gapText(c.gap, Separator);
}

void writeListSolveText(const PlaceTable& table, const ListResult& r, std::ostream& out)
{
    const ListCentre& c = r.centres.front();
    out << "places " << table.size() << '\n';
    out << "optimum [" << listNumber(c.x) << ';' << listNumber(c.y) << "]\n";
    if (const auto p = centreLatLon(referenceOf(table), c))
        out << geo::formatPosition(*p) << '\n';
    out << "objective " << listNumber(r.total) << '\n';
    if (const std::string line = listCertificateLine(table, r); !line.empty())
        out << line << '\n';
}

void writeListGroupsText(const PlaceTable& table, const ListResult& r, bool members, std::ostream& out)
{
    out << "centres " << r.centres.size() << ", total " << listNumber(r.total) << " (" << r.starts
        << (r.starts == 1 ? " start" : " starts") << ", " << secondsText(r.seconds)
        << (r.timedOut ? ", stopped at the time limit" : "") << ")\n";
    const auto reference = referenceOf(table);
    const auto groups = members ? membersByCentre(r) : std::vector<std::vector<std::size_t>> {};
    for (std::size_t g = 0; g < r.centres.size(); ++g) {
        const ListCentre& c = r.centres[g];
        out << groupHeader(static_cast<int>(g) + 1) << '\n';
        out << "centre [" << listNumber(c.x) << ";" << listNumber(c.y) << "]";
        if (c.fixedPlace >= 0)
            out << " existing centre " << placeLabel(table, c.fixedPlace);
        out << ", objective " << listNumber(c.objective) << ", " << c.members
            << (c.members == 1 ? " place" : " places") << '\n';
        if (const auto p = centreLatLon(reference, c))
            out << geo::formatLatLon(*p) << '\n';
        if (members)
            for (std::size_t i : groups[g])
                out << table.name(i) << '\n';
    }
}

void writeListJson(const PlaceTable& table, const ListResult& r, bool members, std::ostream& out)
{
    const auto reference = referenceOf(table);
    const auto groups = members ? membersByCentre(r) : std::vector<std::vector<std::size_t>> {};
    JsonWriter j;
    j.beginObject();
    j.key("run");
    j.value(r.oneCentre ? "one-centre" : "groups");
    j.key("places");
    j.value(static_cast<std::int64_t>(table.size()));
    j.key("centres");
    j.value(static_cast<std::int64_t>(r.centres.size()));
    j.key("total");
    j.value(static_cast<double>(r.total));
    if (r.oneCentre) {
        j.key("lower_bound");
        r.certificate.available ? j.value(static_cast<double>(r.certificate.lowerBound)) : j.null();
        j.key("gap");
        r.certificate.available ? j.value(static_cast<double>(r.certificate.gap)) : j.null();
        const std::string line = listCertificateLine(table, r);
        j.key("certificate_line");
        line.empty() ? j.null() : j.value(line);
    } else {
        j.key("starts");
        j.value(r.starts);
        j.key("timed_out");
        j.value(r.timedOut);
        j.key("seconds");
        j.value(r.seconds);
    }
    j.key("groups");
    j.beginArray();
    for (std::size_t g = 0; g < r.centres.size(); ++g) {
        const ListCentre& c = r.centres[g];
        j.beginObject();
        j.key("centre");
        j.beginArray(true);
        j.value(c.x);
        j.value(c.y);
        j.endArray();
        if (reference) {
            const auto p = centreLatLon(reference, c);
            j.key("latitude");
            p ? j.value(p->latitude) : j.null();
            j.key("longitude");
            p ? j.value(p->longitude) : j.null();
        }
        j.key("fixed");
        j.value(c.fixedPlace >= 0);
        j.key("centre_place");
        c.fixedPlace >= 0 || c.onPlace >= 0
            ? j.value(placeLabel(table, c.fixedPlace >= 0 ? c.fixedPlace : c.onPlace))
            : j.null();
        j.key("objective");
        j.value(static_cast<double>(c.objective));
        j.key("member_count");
        j.value(static_cast<std::int64_t>(c.members));
        if (members) {
            j.key("members");
            j.beginArray(true);
            for (std::size_t i : groups[g])
                j.value(table.name(i));
            j.endArray();
        }
        j.endObject();
    }
    j.endArray();
    j.endObject();
    out << j.text();
}

void writeListFile(const std::string& path, const PlaceTable& table, const ListResult& r)
{
    const InputKind kind = inputKindOf(path);
    if (kind == InputKind::Project)
        throw UsageError("--out \"" + path + "\" must end in .geojson or .csv");
    if (kind == InputKind::GeoJson && table.latitude.empty())
        throw UsageError("--out " + path
            + ": the list has no latitude and longitude (give them, or x/y with --crs EPSG:N); write CSV "
              "instead");
    const auto reference = referenceOf(table);
    std::ofstream f(path, std::ios::binary);
    if (!f)
        throw UsageError(path + ": cannot be written");
    if (kind == InputKind::GeoJson)
        writeListGeoJson(f, table, r, reference);
    else
        writeListCsv(f, table, r, reference);
    f.flush();
    if (!f)
        throw UsageError(path + ": cannot be written");
}

std::string secondsText(double seconds)
{
    const double tenths = std::round(std::max(seconds, 0.0) * 10.0);
    std::string text = formatGeneral15(tenths / 10.0, Separator);
    if (std::fmod(tenths, 10.0) == 0.0)
        text += ",0";
    return text + " s";
}

std::string progressLine(double fraction, double seconds, std::optional<double> bestTotal, int width)
{
    fraction = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    std::string tail = "  " + secondsText(seconds);
    if (bestTotal)
        tail += "  best total " + listNumber(*bestTotal);
    // The bar keeps its length as the text after it grows (the best total appears).
    const int bar = std::max(10, width - ProgressTextRoom);
    const int filled = static_cast<int>(std::floor(fraction * bar + 1e-9));
    std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#')
        + std::string(static_cast<std::size_t>(bar - filled), '.') + "]" + tail;
    return line;
}

} // namespace dorvan::cli
