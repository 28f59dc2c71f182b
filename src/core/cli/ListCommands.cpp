#include "core/cli/ListCommands.h"

#include "core/allocation/ListWeberPoint.h"
#include "core/allocation/PMedian.h"
#include "core/cli/JsonWriter.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>

namespace dorvan::cli {

std::optional<PlaceTable> readListFor(const std::string& path, const ListOptions& o, std::ostream& err)
{
    std::error_code same;
    if (!o.out.empty() && std::filesystem::equivalent(path, o.out, same))
        throw UsageError("--out " + o.out + " is the place list itself; choose another name for the result");
    PlaceTable table = loadPlaceTable(path, o.input, PlaceCsvOptions { o.crs });
    for (const std::string& notice : table.notices)
        err << "dorvan-cli: " << path << ": " << notice << '\n';
    if (table.ok())
        return table;
    for (const CsvProblem& p : table.problems) {
        err << "dorvan-cli: " << path;
        if (p.line > 0)
            err << ':' << p.line;
        err << ": " << p.message << '\n';
    }
    err << "dorvan-cli: " << path << ": the list was refused; nothing was computed\n";
    return std::nullopt;
}

ListResult oneCentreResult(const PlaceTable& table)
{
    const auto start = std::chrono::steady_clock::now();
    const ListWeberPoint p = listWeberPoint(table.x, table.y, table.weight);
    ListResult r;
    r.oneCentre = true;
    r.total = p.objective;
    r.certificate = p.certificate;
    r.centres.push_back({ p.x, p.y, p.objective, static_cast<long>(table.size()), -1, p.onPlace });
    r.centreOf.assign(table.size(), 0);
    r.starts = 1;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return r;
}

ListResult listGroups(const PlaceTable& table, const ListOptions& o, int centres, const std::string& cmd,
    const std::function<void(double, double, double)>& progress)
{
    pmedian::Problem problem;
    problem.x = table.x;
    problem.y = table.y;
    problem.weight = table.weight;
    problem.centres = centres;
    problem.minPlaces = o.minPlaces;
    problem.maxPlaces = o.maxPlaces;
    const auto found = placesNamed(table, o.fixed);
    for (std::size_t k = 0; k < o.fixed.size(); ++k) {
        if (!found[k])
            throw UsageError(cmd + ": --fixed: no place named \"" + o.fixed[k] + "\" in the list");
        const int i = static_cast<int>(*found[k]);
        if (std::find(problem.fixed.begin(), problem.fixed.end(), i) != problem.fixed.end())
            throw UsageError(cmd + ": --fixed: \"" + o.fixed[k] + "\" is named twice");
        problem.fixed.push_back(i);
    }
    if (const auto why = pmedian::problemWith(problem))
        throw UsageError(cmd + ": " + *why);
    pmedian::Options options;
    options.timeLimitSeconds = o.timeLimit;
    options.threads = o.threads;
    options.seed = o.seed;
    if (progress)
        options.progress
            = [&](const pmedian::Progress& p) { progress(p.fraction, p.elapsedSeconds, p.bestTotal); };
    const auto start = std::chrono::steady_clock::now();
    const pmedian::Solution s = pmedian::solve(problem, options);
    ListResult r;
    r.total = s.total;
    r.centreOf = s.centreOf;
    r.starts = s.starts;
    r.timedOut = s.timedOut;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const pmedian::Centre& c : s.centres)
        r.centres.push_back({ c.x, c.y, c.objective, c.members, c.fixedPlace, c.onPlace });
    return r;
}

void ProgressDisplay::show(double fraction, double seconds, double bestTotal)
{
    if (!shown_)
        return;
    err_ << '\r' << progressLine(fraction, seconds, bestTotal > 0.0 ? std::optional(bestTotal) : std::nullopt)
         << "\x1b[K" << std::flush;
    drawn_ = true;
}

void ProgressDisplay::finish()
{
    if (drawn_)
        err_ << "\r\x1b[K" << std::flush;
    drawn_ = false;
}

std::function<void(double, double, double)> ProgressDisplay::callback()
{
    if (!shown_)
        return {};
    return [this](double fraction, double seconds, double best) { show(fraction, seconds, best); };
}

int listSolveCommand(const SolveOptions& o, std::ostream& out, std::ostream& err)
{
    const std::optional<PlaceTable> table = readListFor(o.project, o.list, err);
    if (!table)
        return ExitBadInput;
    const ListResult r = oneCentreResult(*table);
    if (o.format == OutputFormat::Json)
        writeListJson(*table, r, o.list.members, out);
    else
        writeListSolveText(*table, r, out);
    if (!o.list.out.empty())
        writeListFile(o.list.out, *table, r);
    return ExitOk;
}

namespace {

// The table of centre counts A-B: each count's best total and its saving against the count
// before; a count the list cannot take is a refused row with the reason.
void listTable(const PlaceTable& table, const GroupsOptions& o, ProgressDisplay& display, std::ostream& out)
{
    struct Row {
        int centres = 0;
        std::optional<long double> total;
        std::optional<long double> saving;
        std::string refused;
    };
    std::vector<Row> rows;
    for (int p = o.centresFrom; p <= o.centresTo; ++p) {
        Row row { p, std::nullopt, std::nullopt, {} };
        try {
            row.total = p == 1 && o.list.fixed.empty() && o.list.maxPlaces == 0 && o.list.minPlaces == 0
                ? oneCentreResult(table).total
                : listGroups(table, o.list, p, "groups", display.callback()).total;
        } catch (const UsageError& e) {
            row.refused = e.what();
            row.refused.erase(0, std::string("groups: ").size());
        }
        if (row.total && !rows.empty() && rows.back().total)
            row.saving = *rows.back().total - *row.total;
        rows.push_back(row);
    }
    display.finish();
    if (o.format == OutputFormat::Json) {
        JsonWriter j;
        j.beginObject();
        j.key("table");
        j.beginArray();
        for (const Row& row : rows) {
            j.beginObject(true);
            j.key("centres");
            j.value(row.centres);
            j.key("total");
            row.total ? j.value(static_cast<double>(*row.total)) : j.null();
            j.key("saving");
            row.saving ? j.value(static_cast<double>(*row.saving)) : j.null();
            j.key("refused");
            row.refused.empty() ? j.null() : j.value(row.refused);
            j.endObject();
        }
        j.endArray();
        j.endObject();
        out << j.text();
        return;
    }
    out << "Počet centier;Náklady;Úspora;Odmietnuté\n";
    for (const Row& row : rows)
        out << row.centres << ';' << (row.total ? listNumber(*row.total) : "") << ';'
            << (row.saving ? listNumber(*row.saving) : "") << ';' << csvField(row.refused) << '\n';
}

} // namespace

int listGroupsCommand(const GroupsOptions& o, std::ostream& out, std::ostream& err)
{
    const std::optional<PlaceTable> table = readListFor(o.project, o.list, err);
    if (!table)
        return ExitBadInput;
    ProgressDisplay display(err, o.list.terminal && !o.list.quiet);
    if (o.table) {
        listTable(*table, o, display, out);
        return ExitOk;
    }
    const ListResult r = listGroups(*table, o.list, o.centresFrom, "groups", display.callback());
    display.finish();
    if (o.format == OutputFormat::Json)
        writeListJson(*table, r, o.list.members, out);
    else
        writeListGroupsText(*table, r, o.list.members, out);
    if (!o.out.empty())
        writeListFile(o.out, *table, r);
    return ExitOk;
}

} // namespace dorvan::cli
