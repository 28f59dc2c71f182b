// The options of solve, groups and render that read and search a place list instead of a
// project, and the refusal of the options that belong to the other kind of input.
#include "core/cli/CliCommandTable.h"

#include "core/cli/PlaceCsv.h"

#include <algorithm>
#include <cctype>
#include <thread>

namespace dorvan::cli {

namespace {

struct OptionKinds {
    std::vector<std::string> projectOnly;
    std::vector<std::string> listOnly;
};

OptionKinds optionKinds(Command c)
{
    const std::vector<std::string> run { "--start", "--stop", "--precision", "--correction", "--groups" };
    switch (c) {
    case Command::Solve:
        return { run, { "--crs", "--out", "--members", "--quiet" } };
    case Command::Groups:
        return { { "--starts" },
            { "--crs", "--time-limit", "--threads", "--min-places", "--quiet", "--members" } };
    case Command::Render: {
        std::vector<std::string> chart = run;
        chart.insert(
            chart.end(), { "--picture", "--proportional", "--select", "--contours", "--equal-scale" });
        return { chart,
            { "--crs", "--centres", "--time-limit", "--threads", "--seed", "--fixed", "--min-places",
                "--max-places", "--quiet" } };
    }
    default:
        return {};
    }
}

// A count option within lo..hi, or the fallback when it is not given.
int countOption(const std::map<std::string, std::string>& values, const std::string& cmd,
    const std::string& opt, std::uint64_t lo, std::uint64_t hi, int fallback)
{
    const auto it = values.find(opt);
    if (it == values.end())
        return fallback;
    const auto n = wholeNumber(it->second, lo, hi);
    if (!n)
        throw UsageError(cmd + ": " + opt + " \"" + it->second + "\" is not a whole number from "
            + std::to_string(lo) + " to " + std::to_string(hi));
    return static_cast<int>(*n);
}

} // namespace

void readListOptions(Command c, const std::string& cmd, const std::string& input,
    const std::map<std::string, std::string>& values, const std::set<std::string>& flags, ListOptions& o)
{
    o.input = inputKindOf(input);
    const auto given
        = [&](const std::string& opt) { return values.count(opt) != 0 || flags.count(opt) != 0; };
    const OptionKinds kinds = optionKinds(c);
    for (const std::string& opt : o.list() ? kinds.projectOnly : kinds.listOnly)
        if (given(opt))
            throw UsageError(o.list() ? cmd + ": " + opt + " is for projects (.mzd), not for a place list"
                                      : cmd + ": unknown option " + opt
                        + " for a project (it is for place lists: .csv, .geojson)");
    if (!o.list())
        return;
    if (auto it = values.find("--crs"); it != values.end()) {
        if (o.input == InputKind::GeoJson)
            throw UsageError(cmd + ": --crs is for the x and y columns of a CSV list; GeoJSON is in WGS84");
        o.crs = crsFromUserText(it->second);
        if (o.crs.empty())
            o.crs = "(empty)";
    }
    if (auto it = values.find("--time-limit"); it != values.end()) {
        o.timeLimit = timeLimitSeconds(cmd, it->second);
    }
    o.threads = countOption(values, cmd, "--threads", 1, 256, 0);
    o.minPlaces = countOption(values, cmd, "--min-places", 1, 100000000, 0);
    o.maxPlaces = countOption(values, cmd, "--max-places", 1, 100000000, 0);
    if (o.minPlaces > 0 && o.maxPlaces > 0 && o.minPlaces > o.maxPlaces)
        throw UsageError(cmd + ": --min-places " + std::to_string(o.minPlaces)
            + " is larger than --max-places " + std::to_string(o.maxPlaces));
    if (auto it = values.find("--seed"); it != values.end()) {
        const auto n = wholeNumber(it->second, 0, UINT64_MAX);
        if (!n)
            throw UsageError(cmd + ": --seed \"" + it->second + "\" is not a whole number");
        o.seed = *n;
    }
    if (auto it = values.find("--members"); it != values.end()) {
        if (it->second != "yes" && it->second != "no")
            throw UsageError(cmd + ": --members \"" + it->second + "\" is not one of yes|no");
        o.members = it->second == "yes";
    }
    o.quiet = flags.count("--quiet") != 0;
    if (auto it = values.find("--fixed"); it != values.end() && c == Command::Render) {
        o.fixed = fixedPlaceNames(cmd, it->second);
    }
    if (auto it = values.find("--out"); it != values.end() && c != Command::Render) {
        if (inputKindOf(it->second) == InputKind::Project)
            throw UsageError(
                cmd + ": --out \"" + it->second + "\" must end in .geojson or .csv for a place list");
        o.out = it->second;
    }
}

} // namespace dorvan::cli
