#pragma once

// The command line of dorvan-cli: its subcommands, their options and their usage texts.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CooperSolver.h"
#include "core/allocation/GroupSearch.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::cli {

// Bad arguments or bad input: the command stops with exit code 2 and this one-line message.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int ExitOk = 0;
inline constexpr int ExitBadInput = 2;
// network --method rounds: rounds were printed, but no plan the search found keeps every limit.
inline constexpr int ExitLimitsMissed = 3;

// What a command's input file is by its name: a place list (.csv, .txt; .geojson, .json) or a
// project (anything else).
enum class InputKind { Project, Csv, GeoJson };
InputKind inputKindOf(std::string_view path);

// A whole number written with digits only, within lo..hi; nothing otherwise.
std::optional<std::uint64_t> wholeNumber(std::string_view text, std::uint64_t lo, std::uint64_t hi);

// The seconds of --time-limit: a number above 0 and at most 3600, with a decimal point or
// comma (a UsageError naming the command otherwise).
double timeLimitSeconds(const std::string& cmd, const std::string& text);

// The place names of --fixed: comma-separated, none of them empty (a UsageError naming the
// command otherwise).
std::vector<std::string> fixedPlaceNames(const std::string& cmd, const std::string& text);

enum class Command { Help, Solve, Render, Places, Import, Groups, Network, Export, Report, Map, Distances };
enum class OutputFormat { Text, Json, Csv };

// A place list given instead of a project (solve, groups, render): how it is read, searched and
// shown.
struct ListOptions {
    InputKind input = InputKind::Project;
    std::string crs; // "EPSG:N": the x/y columns are in that system
    double timeLimit = 10.0; // seconds of the search at most
    int threads = 0; // 0: every core
    std::uint64_t seed = 1;
    int minPlaces = 0; // 0: no limit
    int maxPlaces = 0; // 0: no limit
    std::vector<std::string> fixed; // places of existing centres, by name
    bool quiet = false; // no progress
    bool members = true; // the member names in the output
    std::string out; // solve: .geojson or .csv, none when empty
    bool terminal = false; // stderr is a terminal (the program tells): progress is drawn there
    bool list() const { return input != InputKind::Project; }
};

struct SolveOptions {
    std::string project;
    ListOptions list;
    CooperSettings settings; // the defaults of a new data-entry window
    bool groups = false;
    OutputFormat format = OutputFormat::Text;
};

// The drawing area a render draws on: at least the 120 pixels a run needs, at most 5000.
inline constexpr int MinRenderSide = 120;
inline constexpr int MaxRenderSide = 5000;

struct RenderOptions {
    SolveOptions solve;
    std::string out;
    int width = 800;
    int height = 600;
    bool picture = true; // "S obrázkom" rather than "Bez obrázku"
    bool proportional = true; // "ÁNO" rather than "NIE"
    bool pdf = false; // by the extension of out
    // A drag over the drawing area from (X1, Y1) to (X2, Y2), released there: the render shows
    // the area as the window does after it (zoomed, or plain for a selection of at most a pixel).
    std::optional<std::array<int, 4>> select;
    // Cost contours at these percents above the optimum's cost; none when empty.
    std::vector<double> contours;
    // Both axes of the chart at one scale ("Rovnaká mierka osí").
    ChartScale scale = ChartScale::Free;
    int centres = 1; // a place list: the groups drawn (1: the one-centre result)
};

struct PlacesOptions {
    std::string project;
    OutputFormat format = OutputFormat::Csv;
};

struct ImportOptions {
    std::string csv;
    std::string out;
    std::string crs; // "EPSG:N": the x/y columns are in that system
};

// map: a map or a scaled picture put into a copy of a project.
struct MapOptions {
    std::string project;
    std::string map;
    std::string out;
    std::optional<int> epsg; // the map's system when its files name none
    std::optional<int> scaleWidth; // kilometres; with --scale only
    std::optional<int> scaleHeight;
    bool scaled() const { return scaleWidth || scaleHeight; }
};

// distances: a matrix of road distances imported into a copy of a project, or the request that
// fetches one from a routing server.
struct DistancesOptions {
    std::string project;
    std::string matrix; // empty with --request-url
    std::string out;
    enum class Unit { Default, Kilometres, Metres } unit = Unit::Default;
    std::string requestUrl; // --request-url BASE: print the request instead of importing
};

// groups: the centre counts asked for (one count, or a range for the table) and the search.
struct GroupsOptions {
    std::string project;
    int centresFrom = 0;
    int centresTo = 0; // equal to centresFrom for one count
    bool table = false; // --centres A-B
    int starts = DefaultGroupStarts;
    std::uint64_t seed = DefaultGroupSeed;
    OutputFormat format = OutputFormat::Text;
    std::string out; // empty: no project is written
    std::vector<std::string> fixed; // --fixed: the places of existing centres, as named in the project
    int maxPlaces = 0; // --max-places; 0: the project's value when its criterion is ticked
    ListOptions list; // a place list: its reading and search (fixed, maxPlaces, seed, out copied)
};

// The station graph's drawing area of the network window at its design size.
inline constexpr int NetworkGraphWidth = 624;
inline constexpr int NetworkGraphHeight = 446;

// The methods of the network window: the star search, the delivery rounds.
enum class NetworkMethod { Star, Rounds, Exact };

struct NetworkOptions {
    std::string project;
    NetworkMethod method = NetworkMethod::Star;
    // rounds (default 10) and exact (default 30): seconds of the search at most
    double timeLimit = 10.0;
    std::uint64_t seed = 1; // rounds: the seed of the search
    long iterations = 0; // rounds: steps of the search; 0: as many as the places ask for
    OutputFormat format = OutputFormat::Text;
    // The station graph's picture (PNG or PDF), or for the rounds also a GeoJSON file; none
    // when empty.
    std::string out;
    bool geoJson = false;
    int width = NetworkGraphWidth;
    int height = NetworkGraphHeight;
    bool pdf = false;
};

// export: a solved run for other programs.
enum class ExportFormat { GeoJson, Csv };

struct ExportOptions {
    SolveOptions solve;
    ExportFormat format = ExportFormat::GeoJson;
    std::string out;
    std::vector<double> contours; // percents above the optimum's cost; none when empty
};

// report: the PDF report of a solved run.
struct ReportOptions {
    SolveOptions solve;
    std::string out; // ends in .pdf
    std::vector<double> contours; // percents above the optimum's cost; none when empty
    // The chart as render draws it: over the picture or not, its axes' scales, and the part a
    // drag selects over a drawing area of width x height (sized by proportional over the picture,
    // as render sizes it).
    bool picture = true;
    ChartScale scale = ChartScale::Free;
    std::optional<std::array<int, 4>> select;
    int width = 800;
    int height = 600;
    bool proportional = true;
};

struct CliRequest {
    Command command = Command::Help;
    std::string helpTopic; // Help: the subcommand asked about, empty for the overview
    SolveOptions solve;
    RenderOptions render;
    PlacesOptions places;
    ImportOptions import;
    GroupsOptions groups;
    NetworkOptions network;
    ExportOptions exportRun;
    ReportOptions report;
    MapOptions map;
    DistancesOptions distances;
};

// The request from the arguments after the program name. Throws UsageError.
CliRequest parseArguments(const std::vector<std::string>& args);

// The usage text of a subcommand, or the overview for an empty or unknown topic.
std::string usageText(std::string_view topic);

// Names of the settings as the options write them.
std::string_view startName(StartPoint start);
std::string_view stopName(StoppingRule rule);

} // namespace dorvan::cli
