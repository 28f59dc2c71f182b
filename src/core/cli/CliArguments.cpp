#include "core/cli/CliArguments.h"
#include "core/cli/CliCommandTable.h"

#include "core/allocation/CostContours.h"
#include "core/entry/MapPlacement.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <set>

namespace dorvan::cli {

namespace {

struct RawArguments {
    std::string input;
    std::string second; // map: the map file after the project
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    bool help = false;
};

RawArguments readRaw(Command c, std::string_view name, const std::vector<std::string>& args)
{
    const auto& known = optionsOf(c);
    RawArguments raw;
    const std::string cmd(name);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            raw.help = true;
            continue;
        }
        if (a.size() > 1 && a[0] == '-' && !(a.size() > 1 && (a[1] >= '0' && a[1] <= '9'))) {
            const std::size_t eq = a.find('=');
            const std::string opt = a.substr(0, eq);
            const auto it = known.find(opt);
            if (it == known.end())
                throw UsageError(cmd + ": unknown option " + opt + " (see dorvan-cli " + cmd + " --help)");
            if (raw.values.count(opt) != 0 || raw.flags.count(opt) != 0)
                throw UsageError(cmd + ": option " + opt + " is given twice");
            if (!it->second) {
                if (eq != std::string::npos)
                    throw UsageError(cmd + ": option " + opt + " takes no value");
                raw.flags.insert(opt);
                continue;
            }
            if (eq != std::string::npos) {
                raw.values[opt] = a.substr(eq + 1);
            } else {
                if (i + 1 >= args.size())
                    throw UsageError(cmd + ": option " + opt + " needs a value");
                raw.values[opt] = args[++i];
            }
            continue;
        }
        if ((c == Command::Map || c == Command::Distances) && !raw.input.empty() && raw.second.empty()) {
            raw.second = a;
            continue;
        }
        if (!raw.input.empty())
            throw UsageError(cmd + ": unexpected argument \"" + a + "\" (one input file only)");
        raw.input = a;
    }
    return raw;
}

template <typename T>
T choice(const RawArguments& raw, const std::string& cmd, const std::string& opt, T fallback,
    const std::vector<std::pair<std::string, T>>& choices)
{
    const auto it = raw.values.find(opt);
    if (it == raw.values.end())
        return fallback;
    std::string allowed;
    for (const auto& [text, value] : choices) {
        if (it->second == text)
            return value;
        allowed += allowed.empty() ? "" : "|";
        allowed += text;
    }
    throw UsageError(cmd + ": " + opt + " \"" + it->second + "\" is not one of " + allowed);
}

SolveOptions solveOptions(const RawArguments& raw, const std::string& cmd)
{
    SolveOptions o;
    o.project = raw.input;
    o.settings.start = choice<StartPoint>(raw, cmd, "--start", StartPoint::Computed,
        { { "gravity", StartPoint::Computed }, { "origin", StartPoint::Origin } });
    o.settings.rule = choice<StoppingRule>(raw, cmd, "--stop", StoppingRule::BothAxes,
        { { "x", StoppingRule::AxisX }, { "y", StoppingRule::AxisY }, { "xy", StoppingRule::BothAxes },
            { "objective", StoppingRule::Objective } });
    if (auto it = raw.values.find("--precision"); it != raw.values.end())
        o.settings.setPrecisionText(it->second);
    if (auto it = raw.values.find("--correction"); it != raw.values.end())
        o.settings.setCorrectionText(it->second);
    o.groups = raw.flags.count("--groups") != 0;
    return o;
}

int sizePart(std::string_view text, bool& ok)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    // Digits only: no sign, no blank.
    ok = ok && !text.empty() && std::isdigit(static_cast<unsigned char>(text.front())) && ec == std::errc()
        && end == text.data() + text.size();
    return v;
}

// Four whole numbers separated by commas, each with an optional minus sign.
std::optional<std::array<int, 4>> parseSelection(std::string_view text)
{
    std::array<int, 4> v {};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (i > 0) {
            if (at == end || *at != ',')
                return std::nullopt;
            ++at;
        }
        const char* digits = at != end && *at == '-' ? at + 1 : at;
        if (digits == end || !std::isdigit(static_cast<unsigned char>(*digits)))
            return std::nullopt;
        const auto [next, ec] = std::from_chars(at, end, v[i]);
        if (ec != std::errc())
            return std::nullopt;
        at = next;
    }
    if (at != end)
        return std::nullopt;
    return v;
}

bool endsWithNoCase(std::string_view s, std::string_view suffix)
{
    if (s.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), s.end() - static_cast<std::ptrdiff_t>(suffix.size()),
        [](char lower, char c) { return std::tolower(static_cast<unsigned char>(c)) == lower; });
}

void needInput(const RawArguments& raw, const std::string& cmd, const char* what)
{
    if (raw.input.empty())
        throw UsageError(cmd + ": " + what + " is missing (see dorvan-cli " + cmd + " --help)");
}

std::string needValue(const RawArguments& raw, const std::string& cmd, const std::string& opt)
{
    const auto it = raw.values.find(opt);
    if (it == raw.values.end() || it->second.empty())
        throw UsageError(cmd + ": " + opt + " FILE is required (see dorvan-cli " + cmd + " --help)");
    return it->second;
}

bool hasGeoJsonSuffix(const std::string& path)
{
    std::string lower = path;
    std::transform(
        lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.ends_with(".geojson") || lower.ends_with(".json");
}

// --method star|rounds|exact, the time limit of the rounds and of the exact network, and the
// rounds' --seed and --iterations.
void readNetworkMethod(const RawArguments& raw, const std::string& cmd, NetworkOptions& o)
{
    o.method = choice<NetworkMethod>(raw, cmd, "--method", NetworkMethod::Star,
        { { "star", NetworkMethod::Star }, { "rounds", NetworkMethod::Rounds },
            { "exact", NetworkMethod::Exact } });
    const bool rounds = o.method == NetworkMethod::Rounds;
    if (o.method == NetworkMethod::Exact)
        o.timeLimit = 30.0;
    if (auto it = raw.values.find("--time-limit"); it != raw.values.end()) {
        if (o.method == NetworkMethod::Star)
            throw UsageError(cmd + ": --time-limit is for --method rounds or exact");
        o.timeLimit = timeLimitSeconds(cmd, it->second);
    }
    if (auto it = raw.values.find("--seed"); it != raw.values.end()) {
        if (!rounds)
            throw UsageError(cmd + ": --seed is for --method rounds");
        const auto n = wholeNumber(it->second, 0, UINT64_MAX);
        if (!n)
            throw UsageError(cmd + ": --seed \"" + it->second + "\" is not a whole number");
        o.seed = *n;
    }
    if (auto it = raw.values.find("--iterations"); it != raw.values.end()) {
        if (!rounds)
            throw UsageError(cmd + ": --iterations is for --method rounds");
        const auto n = wholeNumber(it->second, 1, 1000000000);
        if (!n)
            throw UsageError(
                cmd + ": --iterations \"" + it->second + "\" is not a whole number from 1 to 1000000000");
        o.iterations = static_cast<long>(*n);
    }
}

GroupsOptions groupsOptions(const RawArguments& raw, const std::string& cmd)
{
    GroupsOptions o;
    o.project = raw.input;
    const auto c = raw.values.find("--centres");
    if (c == raw.values.end())
        throw UsageError(cmd + ": --centres P is required (see dorvan-cli " + cmd + " --help)");
    const std::string& text = c->second;
    const std::size_t dash = text.find('-');
    const auto from = wholeNumber(std::string_view(text).substr(0, dash), 0, 1000);
    const auto to
        = dash == std::string::npos ? from : wholeNumber(std::string_view(text).substr(dash + 1), 0, 1000);
    if (!from || !to)
        throw UsageError(cmd + ": --centres \"" + text + "\" is not a number of centres or a range A-B");
    o.table = dash != std::string::npos;
    o.centresFrom = static_cast<int>(*from);
    o.centresTo = static_cast<int>(*to);
    if (o.centresFrom > o.centresTo)
        throw UsageError(cmd + ": --centres " + text + ": the first number is larger than the second");
    if (auto it = raw.values.find("--fixed"); it != raw.values.end()) {
        o.fixed = fixedPlaceNames(cmd, it->second);
    }
    if (auto it = raw.values.find("--max-places");
        it != raw.values.end() && inputKindOf(raw.input) == InputKind::Project) {
        const auto m = wholeNumber(it->second, 3, 99);
        if (!m)
            throw UsageError(
                cmd + ": --max-places \"" + it->second + "\" is not a whole number from 3 to 99");
        o.maxPlaces = static_cast<int>(*m);
    }
    if (auto it = raw.values.find("--starts"); it != raw.values.end()) {
        const auto n = wholeNumber(it->second, 1, 10000);
        if (!n)
            throw UsageError(cmd + ": --starts \"" + it->second + "\" is not a whole number from 1 to 10000");
        o.starts = static_cast<int>(*n);
    }
    if (auto it = raw.values.find("--seed"); it != raw.values.end()) {
        const auto n = wholeNumber(it->second, 0, UINT64_MAX);
        if (!n)
            throw UsageError(cmd + ": --seed \"" + it->second + "\" is not a whole number");
        o.seed = *n;
    }
    o.format = choice<OutputFormat>(raw, cmd, "--format", OutputFormat::Text,
        { { "text", OutputFormat::Text }, { "json", OutputFormat::Json } });
    if (auto it = raw.values.find("--out"); it != raw.values.end()) {
        if (it->second.empty())
            throw UsageError(cmd + ": --out needs a file name");
        if (o.table)
            throw UsageError(cmd + ": --out needs one number of centres, not a range");
        o.out = it->second;
    }
    readListOptions(Command::Groups, cmd, raw.input, raw.values, raw.flags, o.list);
    if (o.list.list()) {
        o.list.fixed = o.fixed;
        o.list.seed = o.seed;
        o.maxPlaces = o.list.maxPlaces;
    }
    return o;
}

// True for a PDF file, false for a PNG picture.
bool pictureKind(const std::string& out, const std::string& cmd)
{
    if (endsWithNoCase(out, ".pdf"))
        return true;
    if (!endsWithNoCase(out, ".png"))
        throw UsageError(cmd + ": --out \"" + out + "\" must end in .png or .pdf");
    return false;
}

void readSize(const RawArguments& raw, const std::string& name, int& width, int& height)
{
    const auto it = raw.values.find("--size");
    if (it == raw.values.end())
        return;
    const std::string& s = it->second;
    const std::size_t x = s.find_first_of("xX");
    bool ok = x != std::string::npos;
    if (ok) {
        width = sizePart(std::string_view(s).substr(0, x), ok);
        height = sizePart(std::string_view(s).substr(x + 1), ok);
    }
    if (!ok)
        throw UsageError(name + ": --size \"" + s + "\" is not WIDTHxHEIGHT in pixels");
    if (width < MinRenderSide || height < MinRenderSide || width > MaxRenderSide || height > MaxRenderSide)
        throw UsageError(name + ": --size " + s + " is outside 120 to 5000 pixels a side");
}

std::vector<double> contourOption(const RawArguments& raw, const std::string& name)
{
    const auto it = raw.values.find("--contours");
    if (it == raw.values.end())
        return {};
    std::optional<std::vector<double>> levels = parseContourLevels(it->second, ',');
    if (!levels)
        throw UsageError(name + ": --contours \"" + it->second
            + "\" is not a list of 1 to 10 percents above 0 and at most 1000");
    return std::move(*levels);
}

// The chart's options, which render and report read alike.
template <class Options> void readChartOptions(const RawArguments& raw, const std::string& name, Options& o)
{
    readSize(raw, name, o.width, o.height);
    o.picture = choice<bool>(raw, name, "--picture", true, { { "yes", true }, { "no", false } });
    o.proportional = choice<bool>(raw, name, "--proportional", true, { { "yes", true }, { "no", false } });
    if (auto it = raw.values.find("--select"); it != raw.values.end()) {
        o.select = parseSelection(it->second);
        if (!o.select)
            throw UsageError(name + ": --select \"" + it->second + "\" is not X1,Y1,X2,Y2 in pixels");
    }
    o.contours = contourOption(raw, name);
    if (raw.flags.count("--equal-scale") != 0)
        o.scale = ChartScale::Equal;
}

} // namespace

std::optional<std::uint64_t> wholeNumber(std::string_view text, std::uint64_t lo, std::uint64_t hi)
{
    std::uint64_t v = 0;
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front())))
        return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi)
        return std::nullopt;
    return v;
}

double timeLimitSeconds(const std::string& cmd, const std::string& text)
{
    std::string digits = text;
    std::replace(digits.begin(), digits.end(), ',', '.');
    double v = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || !(v > 0.0)
        || v > 3600.0)
        throw UsageError(
            cmd + ": --time-limit \"" + text + "\" is not a number of seconds above 0, at most 3600");
    return v;
}

std::vector<std::string> fixedPlaceNames(const std::string& cmd, const std::string& text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        std::string name = text.substr(start, comma == std::string::npos ? comma : comma - start);
        if (name.empty())
            throw UsageError(cmd + ": --fixed \"" + text + "\" holds an empty place name");
        names.push_back(std::move(name));
        if (comma == std::string::npos)
            return names;
        start = comma + 1;
    }
}

InputKind inputKindOf(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return InputKind::Project;
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == "csv" || ext == "txt")
        return InputKind::Csv;
    if (ext == "geojson" || ext == "json")
        return InputKind::GeoJson;
    return InputKind::Project;
}

std::string_view startName(StartPoint start)
{
    return start == StartPoint::Origin ? "origin" : "gravity";
}

std::string_view stopName(StoppingRule rule)
{
    switch (rule) {
    case StoppingRule::AxisX:
        return "x";
    case StoppingRule::AxisY:
        return "y";
    case StoppingRule::BothAxes:
        return "xy";
    case StoppingRule::Objective:
        return "objective";
    }
    return "xy";
}

namespace {

// "WxH" in whole kilometres, or "Wx" / "xH" with the other side following the picture.
void readScale(const std::string& text, const std::string& cmd, MapOptions& o)
{
    const std::size_t x = text.find_first_of("xX");
    const KilometresText w = parseKilometres(x == std::string::npos ? text : text.substr(0, x));
    const KilometresText h = parseKilometres(x == std::string::npos ? std::string() : text.substr(x + 1));
    if (x == std::string::npos || !w.ok || !h.ok || (!w.km && !h.km))
        throw UsageError(
            cmd + ": --scale \"" + text + "\" is not WxH in whole kilometres of at least 1 (or Wx, xH)");
    o.scaleWidth = w.km;
    o.scaleHeight = h.km;
}

MapOptions mapOptions(const RawArguments& raw, const std::string& name)
{
    MapOptions o;
    needInput(raw, name, "the project file");
    if (raw.second.empty())
        throw UsageError(
            name + ": the map file is missing (dorvan-cli map PROJECT.mzd MAPFILE --out NEW.mzd)");
    o.project = raw.input;
    o.map = raw.second;
    o.out = needValue(raw, name, "--out");
    if (auto it = raw.values.find("--epsg"); it != raw.values.end()) {
        const KilometresText code = parseKilometres(it->second);
        if (!code.km)
            throw UsageError(name + ": --epsg \"" + it->second + "\" is not an EPSG code");
        o.epsg = code.km;
    }
    if (auto it = raw.values.find("--scale"); it != raw.values.end())
        readScale(it->second, name, o);
    return o;
}

DistancesOptions distancesOptions(const RawArguments& raw, const std::string& name)
{
    DistancesOptions o;
    needInput(raw, name, "the project file");
    o.project = raw.input;
    o.matrix = raw.second;
    if (auto it = raw.values.find("--request-url"); it != raw.values.end()) {
        if (it->second.empty())
            throw UsageError(name + ": --request-url needs the address of a routing server");
        if (!o.matrix.empty() || raw.values.count("--out") != 0 || raw.values.count("--unit") != 0)
            throw UsageError(
                name + ": --request-url prints the request only; it takes no matrix, --out or --unit");
        o.requestUrl = it->second;
        return o;
    }
    if (o.matrix.empty())
        throw UsageError(name
            + ": the matrix file is missing (dorvan-cli distances PROJECT.mzd MATRIX --out NEW.mzd, "
              "or --request-url BASE)");
    o.out = needValue(raw, name, "--out");
    o.unit = choice<DistancesOptions::Unit>(raw, name, "--unit", DistancesOptions::Unit::Default,
        { { "km", DistancesOptions::Unit::Kilometres }, { "m", DistancesOptions::Unit::Metres } });
    return o;
}

} // namespace

CliRequest parseArguments(const std::vector<std::string>& args)
{
    CliRequest req;
    if (args.empty())
        throw UsageError("a command is missing (see dorvan-cli --help)");
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        req.command = Command::Help;
        if (args.size() > 1)
            req.helpTopic = args[1];
        return req;
    }
    const std::optional<Command> c = commandNamed(name);
    if (!c)
        throw UsageError("unknown command \"" + name + "\" (see dorvan-cli --help)");
    const RawArguments raw = readRaw(*c, name, args);
    if (raw.help) {
        req.command = Command::Help;
        req.helpTopic = name;
        return req;
    }
    req.command = *c;
    switch (*c) {
    case Command::Solve:
        needInput(raw, name, "the project file");
        req.solve = solveOptions(raw, name);
        req.solve.format = choice<OutputFormat>(raw, name, "--format", OutputFormat::Text,
            { { "text", OutputFormat::Text }, { "json", OutputFormat::Json } });
        readListOptions(Command::Solve, name, raw.input, raw.values, raw.flags, req.solve.list);
        break;
    case Command::Render: {
        needInput(raw, name, "the project file");
        RenderOptions& r = req.render;
        r.solve = solveOptions(raw, name);
        r.out = needValue(raw, name, "--out");
        r.pdf = pictureKind(r.out, name);
        readChartOptions(raw, name, r);
        readListOptions(Command::Render, name, raw.input, raw.values, raw.flags, r.solve.list);
        if (auto it = raw.values.find("--centres"); it != raw.values.end()) {
            const auto p = wholeNumber(it->second, 1, 100000);
            if (!p)
                throw UsageError(
                    name + ": --centres \"" + it->second + "\" is not a whole number from 1 to 100000");
            r.centres = static_cast<int>(*p);
        }
        if (r.solve.list.list() && r.pdf)
            throw UsageError(name + ": a place list is drawn into a PNG picture; --out must end in .png");
        break;
    }
    case Command::Export: {
        needInput(raw, name, "the project file");
        ExportOptions& e = req.exportRun;
        e.solve = solveOptions(raw, name);
        if (raw.values.count("--format") == 0)
            throw UsageError(
                name + ": --format geojson|csv is required (see dorvan-cli " + name + " --help)");
        e.format = choice<ExportFormat>(raw, name, "--format", ExportFormat::GeoJson,
            { { "geojson", ExportFormat::GeoJson }, { "csv", ExportFormat::Csv } });
        e.out = needValue(raw, name, "--out");
        e.contours = contourOption(raw, name);
        if (!e.contours.empty() && e.format == ExportFormat::Csv)
            throw UsageError(name + ": --contours are written to GeoJSON only");
        break;
    }
    case Command::Report: {
        needInput(raw, name, "the project file");
        ReportOptions& r = req.report;
        r.solve = solveOptions(raw, name);
        r.out = needValue(raw, name, "--out");
        if (!endsWithNoCase(r.out, ".pdf"))
            throw UsageError(name + ": --out \"" + r.out + "\" must end in .pdf");
        readChartOptions(raw, name, r);
        // The drawing area only places the selection's pixels.
        if (!r.select && (raw.values.count("--size") != 0 || raw.values.count("--proportional") != 0))
            throw UsageError(name
                + ": --size and --proportional give the drawing area of --select; "
                  "without --select they are not used");
        break;
    }
    case Command::Places:
        needInput(raw, name, "the project file");
        req.places.project = raw.input;
        req.places.format = choice<OutputFormat>(raw, name, "--format", OutputFormat::Csv,
            { { "csv", OutputFormat::Csv }, { "json", OutputFormat::Json } });
        break;
    case Command::Import:
        needInput(raw, name, "the CSV file");
        req.import.csv = raw.input;
        req.import.out = needValue(raw, name, "--out");
        if (auto it = raw.values.find("--crs"); it != raw.values.end())
            req.import.crs = it->second.empty() ? std::string("(empty)") : it->second;
        break;
    case Command::Groups:
        needInput(raw, name, "the project file");
        req.groups = groupsOptions(raw, name);
        break;
    case Command::Network: {
        needInput(raw, name, "the project file");
        NetworkOptions& o = req.network;
        o.project = raw.input;
        o.format = choice<OutputFormat>(raw, name, "--format", OutputFormat::Text,
            { { "text", OutputFormat::Text }, { "json", OutputFormat::Json } });
        readNetworkMethod(raw, name, o);
        if (auto it = raw.values.find("--out"); it != raw.values.end()) {
            o.out = needValue(raw, name, "--out");
            const bool rounds = o.method == NetworkMethod::Rounds;
            o.geoJson = rounds && hasGeoJsonSuffix(o.out);
            if (rounds && !o.geoJson && !endsWithNoCase(o.out, ".png") && !endsWithNoCase(o.out, ".pdf"))
                throw UsageError(name + ": --out \"" + o.out + "\" must end in .png, .pdf or .geojson");
            if (!o.geoJson)
                o.pdf = pictureKind(o.out, name);
        }
        readSize(raw, name, o.width, o.height);
        // The size is that of the graph's picture: without one it would be ignored unseen.
        if (raw.values.count("--size") != 0 && o.out.empty())
            throw UsageError(name + ": --size needs --out FILE.png|FILE.pdf (it sizes the station graph)");
        break;
    }
    case Command::Map:
        req.map = mapOptions(raw, name);
        break;
    case Command::Distances:
        req.distances = distancesOptions(raw, name);
        break;
    case Command::Help:
        break;
    }
    return req;
}

} // namespace dorvan::cli
