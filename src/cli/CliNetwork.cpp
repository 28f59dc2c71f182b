#include "cli/CliNetwork.h"

#include "cli/CliRender.h"
#include "core/cli/CliCommands.h"
#include "core/cli/ExportCommand.h"
#include "core/cli/JsonWriter.h"
#include "core/cli/RoundsExport.h"
#include "core/entry/PlaceList.h"
#include "core/network/NetworkResults.h"
#include "core/network/RoundsSearch.h"
#include "render/StationGraphPainter.h"

#include <ostream>

namespace dorvan::cli {

namespace {

const char* const ListNames[] = { "ListBox1", "ListBox2", "ListBox3", "ListBox4", "ListBox5" };

void writeText(const NetworkRun& run, std::ostream& out)
{
    for (std::size_t k = 0; k < 5; ++k) {
        out << ListNames[k] << '\n';
        for (const std::string& l : run.search.lists[k])
            out << l << '\n';
    }
    out << "StringGrid1\n";
    for (const StarGridRow& row : starResultGrid(run.search.best, run.project->State.PlaceCount, Separator))
        out << row[0] << '\t' << row[1] << '\t' << row[2] << '\t' << row[3] << '\t' << row[4] << '\n';
}

void writeStars(JsonWriter& j, const StarSolution& b)
{
    j.key("stars");
    j.beginArray();
    std::size_t next = 0;
    for (std::size_t s = 0; s < b.StarSize.size(); ++s) {
        j.beginObject();
        j.key("centre");
        j.value(displayName(b.StarOrder[static_cast<std::size_t>(b.StarCentre[s] - 1)]));
        j.key("members");
        j.beginArray(true);
        for (int m = 0; m < b.StarSize[s]; ++m)
            j.value(displayName(b.StarOrder[next++]));
        j.endArray();
        j.key("sum");
        j.value(b.StarSum[s]);
        j.endObject();
    }
    j.endArray();
}

void writeHeuristic(JsonWriter& j, const StarSolution& b)
{
    j.key("star_count");
    j.value(b.StarCount);
    j.key("total");
    j.value(b.StarTotal);
    j.key("recalc_count");
    j.value(b.RecalcCount);
    writeStars(j, b);
}

// The exact result first, the star search's under "heuristic".
void writeExactJson(const NetworkOptions& o, const NetworkRun& run, std::ostream& out)
{
    const ExactStarResult& r = *run.exact;
    JsonWriter j;
    j.beginObject();
    j.key("project");
    j.value(o.project);
    j.key("method");
    j.value("exact");
    writeStars(j, run.project->BestStars);
    j.key("star_count");
    j.value(r.starCount);
    j.key("total");
    j.value(r.total);
    j.key("proven");
    j.value(r.proven);
    j.key("lower_bound_stars");
    j.value(r.lowerBoundStars);
    j.key("lower_bound_total");
    j.value(r.lowerBoundTotal);
    j.key("seconds");
    j.value(r.seconds);
    j.key("heuristic");
    j.beginObject();
    writeHeuristic(j, run.search.best);
    j.endObject();
    j.endObject();
    out << j.text();
}

void writeExactText(const NetworkRun& run, std::ostream& out)
{
    const StarWorkingCopy copy = VstupUdajRealStavCreate(*run.project);
    out << comparisonLine(*run.exact, run.search.best, Separator) << '\n';
    for (const std::string& l : exactListLines(copy, *run.exact, Separator))
        out << l << '\n';
}

void writeJson(const NetworkOptions& o, const NetworkRun& run, std::ostream& out)
{
    JsonWriter j;
    j.beginObject();
    j.key("project");
    j.value(o.project);
    writeHeuristic(j, run.search.best);
    j.endObject();
    out << j.text();
}

} // namespace

NetworkRun runNetwork(const std::string& path, std::ostream& err)
{
    const LoadedProject loaded = loadProject(path, err);
    NetworkRun run;
    run.project = projectAsOpened(loaded.record);
    Project& p = *run.project;
    run.search = *networkResultsOf(p).stars(p, Separator);
    p.BestStars = run.search.best;
    return run;
}

RoundsRun runRounds(const NetworkOptions& o, std::ostream& err)
{
    const LoadedProject loaded = loadProject(o.project, err);
    RoundsRun run;
    run.project = projectAsOpened(loaded.record);
    RoundsInput in = roundsProblem(*run.project);
    if (!in.problem)
        throw UsageError("network: " + in.refusal);
    run.problem = std::move(*in.problem);
    RoundsOptions options;
    options.timeLimit = o.timeLimit;
    options.seed = o.seed;
    options.iterations = o.iterations;
    run.plan = *networkResultsOf(*run.project).searchedRounds(run.problem, options, Separator);
    return run;
}

namespace {

int roundsCommand(const NetworkOptions& o, std::ostream& out, std::ostream& err)
{
    const RoundsRun run = runRounds(o, err);
    if (o.format == OutputFormat::Json)
        out << roundsJson(o.project, run.problem, run.plan);
    else
        for (const std::string& line : roundsLines(run.problem, run.plan, Separator))
            out << line << '\n';
    if (o.geoJson) {
        const auto reference = geo::projectionOf(run.project->Record);
        const auto text
            = roundsGeoJson(run.project->Record, run.problem, run.plan, reference ? &*reference : nullptr);
        if (!text)
            throw UsageError(o.out + ": a point of the rounds has no latitude and longitude");
        writeTextFile(o.out, *text);
        err << "dorvan-cli: " << o.out << ": " << run.plan.rounds.size() << " rounds\n";
    }
    if (!o.out.empty() && !o.geoJson) {
        // The station graph as the window draws it: the stars of the star search under the rounds.
        std::optional<QGuiApplication> app;
        startOffscreenGui(app);
        const Project& p = *run.project;
        const StarSearchResult stars = *networkResultsOf(p).stars(p, Separator);
        const QImage image = drawStationGraph(graphPlaces(p.Record, p.State.PlaceCount), stars.best,
            QSize(o.width, o.height), roundsTrace(run.problem, run.plan));
        writePicture(image, o.out, o.pdf);
        err << "dorvan-cli: " << o.out << ": " << image.width() << " x " << image.height()
            << (o.pdf ? " PDF\n" : " PNG\n");
    }
    for (const std::string& m : run.plan.missed)
        err << "dorvan-cli: " << m << '\n';
    return run.plan.missed.empty() ? ExitOk : ExitLimitsMissed;
}

// The exact search started from the star search's network; the graph draws its result.
void runExact(NetworkRun& run, double timeLimit)
{
    const StarWorkingCopy copy = VstupUdajRealStavCreate(*run.project);
    ExactStarOptions options;
    options.timeLimit = timeLimit;
    try {
        run.exact = searchExactNetwork(copy, run.search.best, options);
    } catch (const std::runtime_error& e) {
        throw UsageError(e.what());
    }
    run.project->BestStars = starSolutionOf(copy, *run.exact);
}

} // namespace

int networkCommand(const NetworkOptions& o, std::ostream& out, std::ostream& err)
{
    if (o.method == NetworkMethod::Rounds)
        return roundsCommand(o, out, err);
    NetworkRun run = runNetwork(o.project, err);
    const bool exact = o.method == NetworkMethod::Exact;
    if (exact)
        runExact(run, o.timeLimit);
    if (exact && o.format == OutputFormat::Json)
        writeExactJson(o, run, out);
    else if (exact)
        writeExactText(run, out);
    else if (o.format == OutputFormat::Json)
        writeJson(o, run, out);
    else
        writeText(run, out);
    if (o.out.empty())
        return ExitOk;
    std::optional<QGuiApplication> app;
    startOffscreenGui(app);
    const Project& p = *run.project;
    const QImage image
        = drawStationGraph(graphPlaces(p.Record, p.State.PlaceCount), p.BestStars, QSize(o.width, o.height));
    writePicture(image, o.out, o.pdf);
    err << "dorvan-cli: " << o.out << ": " << image.width() << " x " << image.height()
        << (o.pdf ? " PDF\n" : " PNG\n");
    return ExitOk;
}

} // namespace dorvan::cli
