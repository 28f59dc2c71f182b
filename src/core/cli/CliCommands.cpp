#include "core/cli/CliCommands.h"

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CandidateSites.h"
#include "core/allocation/ConstrainedGroups.h"
#include "core/allocation/CooperRunText.h"
#include "core/allocation/GroupSearch.h"
#include "core/cli/JsonWriter.h"
#include "core/cli/ListCommands.h"
#include "core/cli/PlaceCsv.h"
#include "core/common/CodePage.h"
#include "core/entry/ExistingCentres.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectSession.h"
#include "core/geo/GeoReference.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

namespace dorvan::cli {

namespace {

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
    const auto p = point
        ? reference->toLatLon({ static_cast<double>(point->x), static_cast<double>(point->y) })
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
    j.value(res.precisionReset ? std::string(DefaultPrecisionText) : o.settings.precisionText());
    j.key("correction");
    j.value(res.correctionReset ? std::string(DefaultCorrectionText) : o.settings.correctionText());
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

// "candidates": every place of the run as the centre, cheapest first, unrounded; the excess is
// null where the result costs nothing.
void writeCandidates(JsonWriter& j, const std::vector<CandidateSite>& candidates)
{
    j.key("candidates");
    j.beginArray();
    for (const CandidateSite& c : candidates) {
        j.beginObject(true);
        j.key("name");
        j.value(c.name);
        j.key("objective");
        j.value(static_cast<double>(c.objective));
        j.key("excess");
        c.excess ? j.value(static_cast<double>(*c.excess)) : j.null();
        j.endObject();
    }
    j.endArray();
}

void writeGroup(JsonWriter& j, const CooperGroupResult& g, const geo::Projection* reference)
{
    j.beginObject();
    j.key("no");
    j.value(g.no);
    // A group served from an existing centre: its place, which no iteration moved.
    j.key("existing");
    j.value(!g.existingCentre.empty());
    j.key("existing_centre");
    g.existingCentre.empty() ? j.null() : j.value(g.existingCentre);
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
        writeCandidates(j, groupCandidates(g));
    } else {
        j.key("warning");
        j.value(tooFewMembersMessage(g.no));
    }
    j.endObject();
}

void writeSolveJson(JsonWriter& j, const SolveOptions& o, const AllocationResult& result,
    const geo::Projection* reference, const std::string& certificateLine)
{
    const CooperRunInputs& in = result.inputs;
    const CooperRunResult& res = result.run;
    const CooperState& state = result.state;
    j.beginObject();
    j.key("project");
    j.value(o.project);
    j.key("run");
    j.value(res.groupRun ? "groups" : "one-centre");
    writeSolveSettings(j, o, in, res);
    writeOneCentreResult(j, res, state, reference);
    if (!res.groupRun)
        writeCandidates(j, result.candidates);
    writeListLines(j, res);
    if (res.groupRun) {
        j.key("group_count");
        j.value(res.groupCount);
        j.key("total");
        j.value(static_cast<double>(groupRunTotal(res)));
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
    // The line the window shows under its lists, made by the same function.
    j.key("certificate_line");
    if (certificateLine.empty())
        j.null();
    else
        j.value(certificateLine);
    j.key("notice");
    const std::string notice = runNoticeText(res.historyFullGroups);
    if (notice.empty())
        j.null();
    else
        j.value(notice);
    j.endObject();
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
        out << "centre [" << number(group.centre.x) << ";" << number(group.centre.y) << "]";
        if (group.fixedPlace >= 0)
            out << " existing centre " << sites[static_cast<std::size_t>(group.fixedPlace)].name;
        out << ", objective " << number(group.centre.objective) << '\n';
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
        j.key("fixed");
        j.value(group.fixedPlace >= 0);
        if (group.fixedPlace >= 0) {
            j.key("centre_place");
            j.value(sites[static_cast<std::size_t>(group.fixedPlace)].name);
        }
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

// Every row of the table; a count that cannot keep the rules has no total and says why, as the
// groups page leaves its row empty and tells why in its tooltip.
void tableOut(const std::vector<CentreCountEntry>& rows, OutputFormat format, std::ostream& out)
{
    if (format == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject();
        j.key("table");
        j.beginArray();
        for (const auto& [row, refusal] : rows) {
            j.beginObject(true);
            j.key("centres");
            j.value(row.centres);
            j.key("total");
            refusal ? j.null() : j.value(static_cast<double>(row.total));
            j.key("saving");
            row.saving ? j.value(static_cast<double>(*row.saving)) : j.null();
            j.key("refused");
            refusal ? j.value(*refusal) : j.null();
            j.endObject();
        }
        j.endArray();
        j.endObject();
        out << j.text();
        return;
    }
    out << "Počet centier;Náklady;Úspora;Odmietnuté\n";
    for (const auto& [row, refusal] : rows)
        out << row.centres << ';' << (refusal ? "" : number(row.total)) << ';'
            << (row.saving ? number(*row.saving) : "") << ';' << (refusal ? csvField(*refusal) : "") << '\n';
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
    // The same transition as the program's "Otvor ako ...", without a window to show it.
    auto project = std::make_unique<Project>();
    ProjectSession(*project).open(r, std::string());
    return project;
}

CooperRunCallbacks reportingCallbacks(const SolveOptions& o, std::ostream& err)
{
    CooperRunCallbacks cb;
    cb.warn = [&err, &o](const std::string& text) {
        err << "dorvan-cli: " << text;
        if (text == BadPrecisionMessage)
            err << " (the precision " << quoted(o.settings.precisionText()) << " is replaced by "
                << quoted(DefaultPrecisionText) << ")";
        else if (text == BadCorrectionMessage)
            err << " (the correction value " << quoted(o.settings.correctionText()) << " is replaced by "
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

std::shared_ptr<const AllocationResult> allocationFor(
    const TProjectRecord& r, const SolveOptions& o, std::ostream& err)
{
    // The project as the program holds it after opening the file, with the settings given.
    auto project = projectAsOpened(r);
    project->Record.setCriterion(CritGroups, o.groups);
    project->Choices.Settings = o.settings;
    std::shared_ptr<const AllocationResult> result
        = allocationsOf(*project).of(r, projectPlaceCount(r), runInputs(*project, Separator));
    replayAllocation(*result, reportingCallbacks(o, err));
    return result;
}

int solveCommand(const SolveOptions& o, std::ostream& out, std::ostream& err)
{
    if (o.list.list())
        return listSolveCommand(o, out, err);
    const LoadedProject project = loadProject(o.project, err);
    const TProjectRecord& r = project.record;
    const std::shared_ptr<const AllocationResult> result = allocationFor(r, o, err);
    const CooperRunResult& res = result->run;
    reportNotice(res, err);
    if (o.format == OutputFormat::Json) {
        JsonWriter j;
        const auto reference = geo::projectionOf(r);
        writeSolveJson(j, o, *result, reference ? &*reference : nullptr, certificateText(res, r, Separator));
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
    if (const std::string total = groupTotalText(res, Separator); !total.empty())
        out << total << '\n';
    return ExitOk;
}

} // namespace dorvan::cli

namespace dorvan::cli {

namespace {

// The key duplicate names are told by, of a UTF-8 name; nothing for a name the code page cannot
// hold (no place has it).
std::optional<std::string> utf8NameKey(std::string_view name)
{
    if (utf8Length(name) > static_cast<std::size_t>(Text100::Capacity))
        return std::nullopt; // would be cut, and then be some other name
    try {
        return placeNameKey(Text100::fromUtf8(name).bytes());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The rules of the proposal: the fixed centres by name, the size limit given or the project's.
GroupRules groupRules(const GroupsOptions& o, const Project& project, const std::vector<GroupSite>& sites)
{
    GroupRules rules;
    // Without --fixed the project's own existing centres hold, as in the window's proposal.
    for (const std::string& name : o.fixed.empty() ? project.Choices.ExistingCentres : o.fixed) {
        // A name is the place's as duplicate names are told: letter case and surrounding spaces
        // aside.
        const std::optional<std::string> key = utf8NameKey(name);
        const auto it = std::find_if(sites.begin(), sites.end(),
            [&](const GroupSite& s) { return key && utf8NameKey(s.name) == key; });
        if (it == sites.end())
            throw UsageError("groups: --fixed: no place named \"" + name + "\" in the project");
        const int i = static_cast<int>(it - sites.begin());
        if (std::find(rules.fixed.begin(), rules.fixed.end(), i) != rules.fixed.end())
            throw UsageError("groups: --fixed: \"" + name + "\" is named twice");
        rules.fixed.push_back(i);
    }
    rules.maxPlaces = o.maxPlaces != 0 ? o.maxPlaces : projectGroupSizeLimit(project);
    return rules;
}

// The rules a proposal was made under go with its groups: the existing centres, and a limit
// given by --max-places as the project's own "Rovnomernosť počtu miest v skupinách".
void storeProposalRules(const GroupRules& rules, const std::vector<GroupSite>& sites, TProjectRecord& r)
{
    std::vector<std::string> names;
    for (int i : rules.fixed)
        names.push_back(sites[static_cast<std::size_t>(i)].name);
    storeExistingCentres(names, projectPlaceCount(r), r);
    if (rules.maxPlaces > 0) {
        r.setCriterion(CritEvenGroups, true);
        r.PlacesPerGroup = rules.maxPlaces;
    }
}

// The counts asked for; in a table A-B a count that cannot keep the rules is a refused row, not
// a refusal of the whole range.
void checkCentreRange(const GroupsOptions& o, std::size_t places, const GroupRules& rules)
{
    const std::string asked
        = std::to_string(o.centresFrom) + (o.table ? "-" + std::to_string(o.centresTo) : std::string());
    const int fixed = static_cast<int>(rules.fixed.size());
    if (!o.table && fixed > o.centresFrom)
        throw UsageError("groups: --fixed names " + std::to_string(fixed)
            + " existing centres, more than --centres " + asked);
    const int lowest = o.table ? 1 : leastCentres(rules);
    if (o.centresFrom < lowest)
        throw UsageError("groups: --centres " + asked + ": at least " + std::to_string(lowest)
            + (lowest == 1 ? " centre" : " centres") + (o.table ? "" : " (a table A-B may start at 1)"));
    const int most = maxCentres(static_cast<int>(places));
    if (o.centresTo > most)
        throw UsageError("groups: --centres " + asked + ": " + std::to_string(places)
            + " places allow at most " + std::to_string(most) + " centres (at least 3 places a group)");
}

} // namespace

int groupsCommand(const GroupsOptions& o, std::ostream& out, std::ostream& err)
{
    if (o.list.list())
        return listGroupsCommand(o, out, err);
    LoadedProject loaded = loadProject(o.project, err);
    const auto project = projectAsOpened(loaded.record);
    const std::vector<GroupSite> sites = groupingSites(*project);
    const GroupRules rules = groupRules(o, *project, sites);
    checkCentreRange(o, sites.size(), rules);
    if (o.table) {
        std::vector<CentreCountEntry> rows;
        const auto total = [&](int p) { return proposeGroups(sites, { p, o.starts, o.seed }, rules).total; };
        for (int p = o.centresFrom; p <= o.centresTo; ++p) {
            // The row after a refused one has no saving.
            const bool before = !rows.empty() && !rows.back().refusal;
            rows.push_back(centreCountEntry(sites, p, rules, before ? &rows.back().row : nullptr, total));
        }
        tableOut(rows, o.format, out);
        return ExitOk;
    }
    if (!baselineCount(o.centresFrom, rules))
        if (const auto problem = proposalProblem(sites, o.centresFrom, rules))
            throw UsageError("groups: " + *problem);
    const GroupSearchResult r = proposeGroups(sites, { o.centresFrom, o.starts, o.seed }, rules);
    if (o.format == OutputFormat::Json)
        groupsJson(r, sites, out);
    else
        groupsText(r, sites, out);
    if (!o.out.empty()) {
        project->Choices.Groups = groupsFromLines(groupListLines(r, sites), r.centres);
        storeProposedGroups(project->Choices.Groups, loaded.record);
        storeProposalRules(rules, sites, loaded.record);
        try {
            saveProjectFile(o.out, loaded.record, loaded.picture);
        } catch (const std::exception& e) {
            throw UsageError(o.out + ": " + e.what());
        }
    }
    return ExitOk;
}

} // namespace dorvan::cli
