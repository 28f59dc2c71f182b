#include "core/cli/CliCommands.h"

#include "core/allocation/CooperRunText.h"
#include "core/allocation/GroupSearch.h"
#include "core/cli/JsonWriter.h"
#include "core/cli/PlaceCsv.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>

namespace dorvan::cli {

namespace {

// The program shows numbers the Slovak way.
constexpr const char* Separator = ",";

std::string quoted(std::string_view s)
{
    std::string q = "\"";
    q += s;
    q += '"';
    return q;
}

void writePoint(JsonWriter& j, long double x, long double y)
{
    j.beginArray(true);
    j.value(static_cast<double>(x));
    j.value(static_cast<double>(y));
    j.endArray();
}

// "latitude" and "longitude" of a point of the plane, 7 decimals, with a reference only.
void writeLatLon(JsonWriter& j, const geo::Projection* reference, std::optional<IteratePoint> point)
{
    if (reference == nullptr)
        return;
    const auto p = point ? reference->toLatLon({ static_cast<double>(point->x), static_cast<double>(point->y) })
                         : std::nullopt;
    j.key("latitude");
    p ? j.value(geo::roundDegrees(p->latitude)) : j.null();
    j.key("longitude");
    p ? j.value(geo::roundDegrees(p->longitude)) : j.null();
}

void writeIterates(JsonWriter& j, const std::vector<IteratePoint>& points)
{
    j.beginArray();
    for (const IteratePoint& p : points)
        writePoint(j, p.x, p.y);
    j.endArray();
}

void writeLines(JsonWriter& j, const std::vector<std::string>& lines)
{
    j.beginArray();
    for (const std::string& l : lines)
        j.value(l);
    j.endArray();
}

// "objective", "lower_bound" and "gap" of a certificate, in full double precision; the bound
// and the gap are null where nothing can be said (a negative weight).
void writeCertificate(JsonWriter& j, const CooperCertificate& c)
{
    j.key("objective");
    j.value(static_cast<double>(c.objective));
    j.key("lower_bound");
    c.available ? j.value(static_cast<double>(c.lowerBound)) : j.null();
    j.key("gap");
    c.available ? j.value(static_cast<double>(c.gap)) : j.null();
}

void writeSolveSettings(
    JsonWriter& j, const SolveOptions& o, const CooperRunInputs& in, const CooperRunResult& res)
{
    j.key("settings");
    j.beginObject();
    j.key("start");
    j.value(startName(o.settings.start));
    j.key("stop");
    j.value(stopName(o.settings.rule));
    j.key("precision");
    j.value(res.precisionReset ? std::string(DefaultPrecisionText) : o.settings.precisionText);
    j.key("correction");
    j.value(res.correctionReset ? std::string(DefaultCorrectionText) : o.settings.correctionText);
    j.key("quantity");
    j.value(in.quantityOn);
    j.key("price");
    j.value(in.priceOn);
    j.key("flexibility");
    j.value(in.flexibilityOn);
    j.key("groups");
    j.value(o.groups);
    j.endObject();
}

// The one-centre result; in a group run its fields are null and each group has its own.
void writeOneCentreResult(
    JsonWriter& j, const CooperRunResult& res, const CooperState& state, const geo::Projection* reference)
{
    const std::vector<IteratePoint> path = res.groupRun
        ? std::vector<IteratePoint> {}
        : historyPoints(state.IterX, state.IterY, res.finalIter);
    j.key("start");
    if (path.empty())
        j.null();
    else
        writePoint(j, path.front().x, path.front().y);
    j.key("optimum");
    if (path.empty())
        j.null();
    else
        writePoint(j, path.back().x, path.back().y);
    writeLatLon(j, reference, path.empty() ? std::nullopt : std::optional(path.back()));
    j.key("final_iter");
    if (res.groupRun)
        j.null();
    else
        j.value(res.finalIter);
    j.key("iterates");
    writeIterates(j, path);
    if (!res.groupRun)
        writeCertificate(j, res.certificate);
}

void writeListLines(JsonWriter& j, const CooperRunResult& res)
{
    j.key("lines");
    j.beginObject();
    if (!res.groupRun) {
        j.key("Edit1");
        j.value(res.optimumText);
    }
    j.key("ListBox1");
    writeLines(j, res.pathLines);
    j.key("ListBox2");
    writeLines(j, res.placeLines);
    j.endObject();
}

void writeGroupMembers(JsonWriter& j, const CooperGroupResult& g)
{
    j.key("members");
    j.beginArray();
    for (std::size_t k = 0; k < g.memberNames.size(); ++k) {
        j.beginObject(true);
        j.key("number");
        j.value(g.firstMemberNumber + static_cast<int>(k));
        j.key("name");
        j.value(g.memberNames[k]);
        const bool found = k < g.memberFound.size() && g.memberFound[k];
        j.key("x");
        found ? j.value(g.memberPoints[k].x) : j.null();
        j.key("y");
        found ? j.value(g.memberPoints[k].y) : j.null();
        j.endObject();
    }
    j.endArray();
}

void writeGroup(JsonWriter& j, const CooperGroupResult& g, const geo::Projection* reference)
{
    j.beginObject();
    j.key("no");
    j.value(g.no);
    writeGroupMembers(j, g);
    if (g.solved && !g.iterates.empty()) {
        j.key("start");
        writePoint(j, g.iterates.front().x, g.iterates.front().y);
        j.key("optimum");
        writePoint(j, g.iterates.back().x, g.iterates.back().y);
        writeLatLon(j, reference, g.iterates.back());
        j.key("final_iter");
        j.value(g.finalIter);
        j.key("iterates");
        writeIterates(j, g.iterates);
        writeCertificate(j, g.certificate);
    } else {
        j.key("warning");
        j.value(tooFewMembersMessage(g.no));
    }
    j.endObject();
}

void writeSolveJson(JsonWriter& j, const SolveOptions& o, const CooperRunInputs& in,
    const CooperRunResult& res, const CooperState& state, const geo::Projection* reference)
{
    j.beginObject();
    j.key("project");
    j.value(o.project);
    j.key("run");
    j.value(res.groupRun ? "groups" : "one-centre");
    writeSolveSettings(j, o, in, res);
    writeOneCentreResult(j, res, state, reference);
    writeListLines(j, res);
    if (res.groupRun) {
        j.key("group_count");
        j.value(res.groupCount);
        j.key("groups");
        j.beginArray();
        for (const CooperGroupResult& g : res.groups)
            writeGroup(j, g, reference);
        j.endArray();
        j.key("ungrouped");
        writeLines(j, res.ungroupedPlaces);
    }
    j.key("warnings");
    writeLines(j, res.warnings);
    j.key("notice");
    const std::string notice = runNoticeText(res.historyFullGroups);
    if (notice.empty())
        j.null();
    else
        j.value(notice);
    j.endObject();
}

// Degrees with 7 decimals and the decimal comma of the lists.
std::string degreesText(double degrees)
{
    std::string s = geo::fixedDegrees(degrees);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

// A CSV field, quoted when it holds the separator, a quote or a line break.
std::string csvField(std::string_view s)
{
    if (s.find_first_of(";\"\r\n") == std::string_view::npos)
        return std::string(s);
    std::string q = "\"";
    for (char c : s) {
        if (c == '"')
            q += '"';
        q += c;
    }
    q += '"';
    return q;
}

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
            out << ';' << (p ? degreesText(p->latitude) : "") << ';' << (p ? degreesText(p->longitude) : "");
        }
        out << '\n';
    }
    out << "\ncriterion;on;value\n";
    for (const PlaceCriterion& c : PlaceCriteria)
        out << c.key << ';' << (r.tickedWhenOpened(c.criterion) ? 1 : 0) << ";\n";
    for (const SingleValue& v : singleValues(r)) {
        out << v.key << ';' << (r.tickedWhenOpened(v.criterion) ? 1 : 0) << ';';
        if (v.kind == SingleValue::Number)
            out << formatGeneral15(v.number, Separator);
        else if (v.kind == SingleValue::Whole)
            out << v.whole;
        else
            out << csvField(v.text);
        out << '\n';
    }
    out << "groups;" << (r.tickedWhenOpened(CritGroups) ? 1 : 0) << ';'
        << std::clamp(r.GroupCount, 0, MaxPlaces) << '\n';
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
        j.value(r.tickedWhenOpened(c.criterion));
        j.endObject();
    }
    for (const SingleValue& v : singleValues(r)) {
        j.key(v.key);
        j.beginObject(true);
        j.key("on");
        j.value(r.tickedWhenOpened(v.criterion));
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
    j.value(r.tickedWhenOpened(CritGroups));
    j.key("count");
    j.value(std::clamp(r.GroupCount, 0, MaxPlaces));
    j.endObject();
    j.endObject();
    j.endObject();
    out << j.text();
}

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

std::string number(long double v)
{
    return formatGeneral15(static_cast<double>(v), Separator);
}

void groupsText(const GroupSearchResult& r, const std::vector<GroupSite>& sites, std::ostream& out)
{
    out << "centres " << r.centres << ", total " << number(r.total);
    if (r.exact)
        out << " (exact: every partition tried)\n";
    else
        out << " (best total reached by " << r.bestFound << " of " << r.starts << " starts)\n";
    int g = 0;
    for (const FoundGroup& group : r.groups) {
        out << groupHeader(++g) << '\n';
        out << "centre [" << number(group.centre.x) << ";" << number(group.centre.y) << "], objective "
            << number(group.centre.objective) << '\n';
        for (int i : group.members)
            out << sites[static_cast<std::size_t>(i)].name << '\n';
    }
}

void groupsJson(const GroupSearchResult& r, const std::vector<GroupSite>& sites, std::ostream& out)
{
    JsonWriter j;
    j.beginObject();
    j.key("centres");
    j.value(r.centres);
    j.key("total");
    j.value(static_cast<double>(r.total));
    j.key("exact");
    j.value(r.exact);
    j.key("starts");
    j.value(r.starts);
    j.key("best_found");
    j.value(r.bestFound);
    j.key("groups");
    j.beginArray();
    for (const FoundGroup& group : r.groups) {
        j.beginObject();
        j.key("centre");
        writePoint(j, group.centre.x, group.centre.y);
        j.key("members");
        j.beginArray(true);
        for (int i : group.members)
            j.value(sites[static_cast<std::size_t>(i)].name);
        j.endArray();
        j.key("objective");
        j.value(static_cast<double>(group.centre.objective));
        j.endObject();
    }
    j.endArray();
    j.endObject();
    out << j.text();
}

void tableOut(const std::vector<CentreCountRow>& rows, OutputFormat format, std::ostream& out)
{
    if (format == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject();
        j.key("table");
        j.beginArray();
        for (const CentreCountRow& row : rows) {
            j.beginObject(true);
            j.key("centres");
            j.value(row.centres);
            j.key("total");
            j.value(static_cast<double>(row.total));
            j.key("saving");
            row.saving ? j.value(static_cast<double>(*row.saving)) : j.null();
            j.endObject();
        }
        j.endArray();
        j.endObject();
        out << j.text();
        return;
    }
    out << "Počet centier;Náklady;Úspora\n";
    for (const CentreCountRow& row : rows)
        out << row.centres << ';' << number(row.total) << ';' << (row.saving ? number(*row.saving) : "")
            << '\n';
}

} // namespace

LoadedProject loadProject(const std::string& path, std::ostream& err)
{
    LoadedProject p;
    try {
        p = readProjectFile(path);
    } catch (const std::exception& e) {
        throw UsageError(path + ": " + e.what());
    }
    if (p.pictureTruncated)
        err << "dorvan-cli: " << path << ": " << TruncatedPictureMessage << '\n';
    return p;
}

int projectPlaceCount(const TProjectRecord& record)
{
    return runPlaceCount(record.SavedPlaceCount);
}

std::unique_ptr<Project> projectAsOpened(const TProjectRecord& r)
{
    auto project = std::make_unique<Project>();
    project->Record = r;
    project->State.PlaceCount = projectPlaceCount(r);
    project->State.PictureMode = r.hasPicture();
    project->Choices = choicesAsOpened(r, project->State.PlaceCount);
    return project;
}

CooperRunInputs runInputsFor(const TProjectRecord& r, const SolveOptions& o)
{
    // The project as the program holds it after opening the file, with the settings given.
    auto project = projectAsOpened(r);
    project->Choices.Ticked[CritGroups] = o.groups;
    project->Choices.Settings = o.settings;
    return runInputs(*project, Separator);
}

CooperRunCallbacks reportingCallbacks(const SolveOptions& o, std::ostream& err)
{
    CooperRunCallbacks cb;
    cb.warn = [&err, &o](const std::string& text) {
        err << "dorvan-cli: " << text;
        if (text == BadPrecisionMessage)
            err << " (the precision " << quoted(o.settings.precisionText) << " is replaced by "
                << quoted(DefaultPrecisionText) << ")";
        else if (text == BadCorrectionMessage)
            err << " (the correction value " << quoted(o.settings.correctionText) << " is replaced by "
                << quoted(DefaultCorrectionText) << ")";
        err << '\n';
    };
    return cb;
}

void reportNotice(const CooperRunResult& result, std::ostream& err)
{
    const std::string notice = runNoticeText(result.historyFullGroups);
    if (!notice.empty())
        err << "dorvan-cli: " << notice << '\n';
}

int solveCommand(const SolveOptions& o, std::ostream& out, std::ostream& err)
{
    const LoadedProject project = loadProject(o.project, err);
    const TProjectRecord& r = project.record;
    const CooperRunInputs in = runInputsFor(r, o);
    auto state = std::make_unique<CooperState>();
    const CooperRunResult res
        = runCooperDriver(*state, r, projectPlaceCount(r), in, reportingCallbacks(o, err));
    reportNotice(res, err);

    if (o.format == OutputFormat::Json) {
        JsonWriter j;
        const auto reference = geo::projectionOf(r);
        writeSolveJson(j, o, in, res, *state, reference ? &*reference : nullptr);
        out << j.text();
        return ExitOk;
    }
    if (!res.groupRun)
        out << "Edit1\n" << res.optimumText << '\n';
    out << "ListBox1\n";
    for (const std::string& l : res.pathLines)
        out << l << '\n';
    out << "ListBox2\n";
    for (const std::string& l : res.placeLines)
        out << l << '\n';
    if (const std::string ungrouped = ungroupedText(res.ungroupedPlaces); !ungrouped.empty())
        out << ungrouped << '\n';
    return ExitOk;
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

namespace dorvan::cli {

int groupsCommand(const GroupsOptions& o, std::ostream& out, std::ostream& err)
{
    LoadedProject loaded = loadProject(o.project, err);
    const auto project = projectAsOpened(loaded.record);
    const std::vector<GroupSite> sites = groupingSites(*project);
    const int most = maxCentres(static_cast<int>(sites.size()));
    const int lowest = o.table ? 1 : 2;
    if (o.centresFrom < lowest || o.centresTo > most || o.centresFrom > o.centresTo) {
        std::string m = "groups: --centres " + std::to_string(o.centresFrom);
        if (o.table)
            m += "-" + std::to_string(o.centresTo);
        m += " is outside " + std::to_string(lowest) + " to " + std::to_string(most) + " for "
            + std::to_string(sites.size()) + " places (at least 3 places a group)";
        throw UsageError(m);
    }
    for (int p = std::max(o.centresFrom, 2); p <= o.centresTo; ++p)
        if (const auto problem = groupSearchProblem(sites, p))
            throw UsageError("groups: " + *problem);

    if (o.table) {
        std::vector<CentreCountRow> rows;
        for (int p = o.centresFrom; p <= o.centresTo; ++p) {
            const long double total
                = p == 1 ? singleCentreTotal(sites) : searchGroups(sites, { p, o.starts, o.seed }).total;
            rows.push_back(centreCountRow(p, total, rows.empty() ? nullptr : &rows.back()));
        }
        if (o.centresFrom > 1)
            rows.front().saving.reset();
        tableOut(rows, o.format, out);
        return ExitOk;
    }
    const GroupSearchResult r = searchGroups(sites, { o.centresFrom, o.starts, o.seed });
    if (o.format == OutputFormat::Json)
        groupsJson(r, sites, out);
    else
        groupsText(r, sites, out);
    if (!o.out.empty()) {
        project->Choices.Groups = groupsFromLines(groupListLines(r, sites), r.centres);
        storeProposedGroups(project->Choices.Groups, loaded.record);
        try {
            saveProjectFile(o.out, loaded.record, loaded.picture);
        } catch (const std::exception& e) {
            throw UsageError(o.out + ": " + e.what());
        }
    }
    return ExitOk;
}

} // namespace dorvan::cli
