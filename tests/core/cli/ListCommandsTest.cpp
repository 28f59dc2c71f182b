// Place lists of any size given to solve and groups instead of a project: the reader (CSV as the
// import reads it, GeoJSON), the results against hand-worked numbers, the list against the
// project it was imported into, the files of --out read back, the progress line.
#include "core/cli/ListCommands.h"
#include "core/cli/CliArguments.h"
#include "core/cli/CliCommands.h"
#include "core/cli/JsonReader.h"
#include "core/cli/JsonWriter.h"
#include "core/cli/PlaceCsv.h"
#include "core/cli/PlaceTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

using namespace dorvan;
using namespace dorvan::cli;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> listProblems(const PlaceTable& t)
{
    std::vector<std::string> out;
    for (const CsvProblem& p : t.problems)
        out.push_back(std::to_string(p.line) + ": " + p.message);
    return out;
}

// A folder of this test's own, removed at the end.
struct ListFolder {
    fs::path dir = fs::temp_directory_path() / ("dorvan_placelist_" + std::to_string(::getpid()));
    ListFolder() { fs::create_directories(dir); }
    ~ListFolder()
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    std::string write(const std::string& name, const std::string& text) const
    {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
};

struct CliRun {
    int code = 0;
    std::string out;
    std::string err;
};

// dorvan-cli in this process: the arguments after the program name.
CliRun runCli(const std::vector<std::string>& args)
{
    CliRun r;
    std::ostringstream out, err;
    try {
        const CliRequest req = parseArguments(args);
        r.code = req.command == Command::Solve ? solveCommand(req.solve, out, err)
                                               : groupsCommand(req.groups, out, err);
    } catch (const UsageError& e) {
        err << e.what();
        r.code = ExitBadInput;
    }
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string readText(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

std::vector<std::string> textLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

} // namespace

TEST(ListInput, BadCsvListsNameEveryBadLineAsTheImportDoes)
{
    struct Case {
        const char* text;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        { "name;x;y\nA;0;0\nB;x;1\nC;1\nA;2;2\n\"D;3;3\nE;1;2;3\n",
            { "3: X \"x\" is not a number", "4: 2 fields, but the first line has 3",
                "5: Miesto A už existuje !!!", "6: field 1: a quote is not closed",
                "7: 4 fields, but the first line has 3" } },
        // Names told apart as typed entry tells them: letter case and surrounding blanks aside.
        { "a;1;1\nb;2;2\n\" A \";3;3\nB;4;4\n",
            { "3: Miesto A už existuje !!!", "4: Miesto B už existuje !!!" } },
        { "name;latitude;longitude;quantity\nX;48,1;17,1;0,5\nY;91;17;1\nZ;48;200;2\n",
            { "2: quantity \"0,5\" is below 1", "3: latitude \"91\" is outside -90 to 90",
                "4: longitude \"200\" is outside -180 to 180" } },
        { "# nothing\n", { "0: the file holds no place" } },
    };
    for (const Case& c : cases) {
        const PlaceTable t = readPlaceTable(c.text);
        EXPECT_EQ(listProblems(t), c.problems) << c.text;
    }
}

TEST(ListInput, CsvListHoldsAnyNumberOfPlacesWithTheirWeightsAndDegrees)
{
    // One place is a list; 150 places are more than a project holds.
    const PlaceTable one = readPlaceTable("Solo;1;2\n");
    ASSERT_TRUE(one.ok()) << testing::PrintToString(listProblems(one));
    EXPECT_EQ(one.size(), 1u);
    std::string many = "name;x;y;quantity;price\n";
    for (int i = 0; i < 150; ++i)
        many += "M" + std::to_string(i) + ";" + std::to_string(i) + ",25;" + std::to_string(i % 7)
            + ";2;1,5\n";
    const PlaceTable t = readPlaceTable(many);
    ASSERT_TRUE(t.ok()) << testing::PrintToString(listProblems(t));
    ASSERT_EQ(t.size(), 150u);
    EXPECT_EQ(t.name(149), "M149");
    EXPECT_EQ(t.x[3], 3.25);
    EXPECT_EQ(t.y[10], 3.0);
    EXPECT_EQ(t.weight[0], 3.0); // quantity x price
    EXPECT_TRUE(t.latitude.empty());

    // Latitude/longitude: the same plane as the import gives the project.
    const std::string geo = "name;latitude;longitude\nBratislava;48.1486;17.1077\nKošice;48.7164;21.2611\n"
                            "Žilina;49.2231;18.7394\n";
    const PlaceTable g = readPlaceTable(geo);
    const PlaceCsv project = readPlaceCsv(geo);
    ASSERT_TRUE(g.ok() && project.ok());
    EXPECT_EQ(g.reference, project.reference);
    // The project sorts by name: Bratislava, Košice, Žilina keep their order here.
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(g.x[static_cast<std::size_t>(k)], project.record.PlaceX[k + 1]);
        EXPECT_EQ(g.y[static_cast<std::size_t>(k)], project.record.PlaceY[k + 1]);
    }
    EXPECT_EQ(g.latitude[1], 48.7164);
    EXPECT_EQ(g.longitude[2], 18.7394);
}

TEST(ListInput, GeoJsonListsReadPointsAndNameEveryBadFeature)
{
    const std::string good = R"({"type": "FeatureCollection", "features": [
 {"type": "Feature", "geometry": {"type": "Point", "coordinates": [17.1077, 48.1486]},
  "properties": {"name": "Bratislava", "quantity": 475}},
 {"type": "Feature", "geometry": {"type": "Point", "coordinates": [21.2611, 48.7164]},
  "properties": {"name": "Košice"}}
]})";
    const PlaceTable t = readPlaceGeoJson(good);
    ASSERT_TRUE(t.ok()) << testing::PrintToString(listProblems(t));
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t.name(1), "Košice");
    EXPECT_EQ(t.weight[0], 475.0);
    EXPECT_EQ(t.weight[1], 1.0);
    EXPECT_EQ(t.latitude[0], 48.1486);
    EXPECT_FALSE(t.reference.empty());

    const std::string bad = R"({"type": "FeatureCollection", "features": [
 {"type": "Feature", "geometry": {"type": "LineString", "coordinates": [[0, 0], [1, 1]]}, "properties": {"name": "L"}},
 {"type": "Feature", "geometry": {"type": "Point", "coordinates": [17, 48]}, "properties": {"quantity": 3}},
 {"type": "Feature", "geometry": {"type": "Point", "coordinates": [17, 95]}, "properties": {"name": "N"}},
 {"type": "Feature", "geometry": {"type": "Point", "coordinates": [18, 48]}, "properties": {"name": "n"}},
 {"type": "Feature", "geometry": {"type": "Point", "coordinates": [18, 49]}, "properties": {"name": "Q", "quantity": "a"}}
]})";
    EXPECT_EQ(listProblems(readPlaceGeoJson(bad)),
        (std::vector<std::string> { "2: feature 1: has no Point geometry",
            "3: feature 2: has no property \"name\" with a text",
            "4: feature 3: latitude \"95\" is outside -90 to 90", "5: Miesto n už existuje !!!",
            "6: feature 5: has a \"quantity\" that is not a number" }));
    const auto broken
        = listProblems(readPlaceGeoJson("{\"type\": \"FeatureCollection\",\n \"features\": [1,"));
    ASSERT_EQ(broken.size(), 2u);
    EXPECT_EQ(broken[0], "2: feature 1: is not a GeoJSON Feature");
    EXPECT_EQ(broken[1].rfind("2: not GeoJSON: ", 0), 0u) << broken[1];
}

TEST(ListInput, SolveGivesTheWeberPointWithItsCertificate)
{
    const ListFolder folder;
    // The centre of a square's corners: 4 x sqrt(2) from (1; 1).
    const std::string square = folder.write("square.csv", "A;0;0\nB;2;0\nC;0;2\nD;2;2\n");
    const CliRun text = runCli({ "solve", square });
    ASSERT_EQ(text.code, 0) << text.err;
    const auto lines = textLines(text.out);
    ASSERT_EQ(lines.size(), 4u) << text.out;
    EXPECT_EQ(lines[0], "places 4");
    EXPECT_EQ(lines[1], "optimum [1;1]");
    EXPECT_EQ(lines[2], "objective " + listNumber(4.0L * std::sqrt(2.0L)));
    EXPECT_EQ(lines[3].rfind("Výsledok je nanajvýš o ", 0), 0u) << lines[3];

    // A place heavier than all the others together is the optimum (Kuhn's test), and says so.
    const std::string heavy = folder.write("heavy.csv", "Hub;0;0;10\nP;3;0;1\nQ;0;4;1\nR;5;5;2\n");
    const CliRun json = runCli({ "solve", heavy, "--format", "json", "--members", "no" });
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_NE(json.out.find("\"certificate_line\": \"Výsledok je optimum (miesto Hub)\""), std::string::npos)
        << json.out;
    // 3 + 4 + 2 x sqrt(50)
    EXPECT_NE(json.out.find("\"total\": " + jsonNumber(static_cast<double>(7.0L + 2.0L * std::sqrt(50.0L)))),
        std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"centre\": [0, 0]"), std::string::npos) << json.out;
    EXPECT_EQ(json.out.find("\"members\""), std::string::npos);
}

TEST(ListInput, GroupsOfTwoClustersAgainstHandWorkedNumbersInTextJsonAndFiles)
{
    const ListFolder folder;
    // Two columns of three places 10 apart: each group's Weber point is its middle place and
    // its objective 1 + 1; the total 4.
    const std::string list
        = folder.write("two.csv", "name;x;y\nA1;0;0\nA2;0;1\nA3;0;2\nB1;10;0\nB2;10;1\nB3;10;2\n");
    const CliRun text = runCli({ "groups", list, "--centres", "2", "--threads", "1", "--time-limit", "5" });
    ASSERT_EQ(text.code, 0) << text.err;
    const auto lines = textLines(text.out);
    ASSERT_EQ(lines.size(), 11u) << text.out;
    EXPECT_EQ(lines[0].rfind("centres 2, total 4 (", 0), 0u) << lines[0];
    const std::set<std::string> first(lines.begin() + 3, lines.begin() + 6);
    const std::set<std::string> second(lines.begin() + 8, lines.end());
    EXPECT_TRUE((first == std::set<std::string> { "A1", "A2", "A3" }
                    && second == std::set<std::string> { "B1", "B2", "B3" })
        || (first == std::set<std::string> { "B1", "B2", "B3" }
            && second == std::set<std::string> { "A1", "A2", "A3" }))
        << text.out;
    EXPECT_NE(text.out.find("objective 2, 3 places"), std::string::npos) << text.out;

    const std::string csvOut = (folder.dir / "two_out.csv").string();
    const CliRun json = runCli({ "groups", list, "--centres", "2", "--format", "json", "--out", csvOut });
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_NE(json.out.find("\"total\": 4,"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"members\": [\"A1\", \"A2\", \"A3\"]"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"objective\": 2,"), std::string::npos) << json.out;

    // The CSV: a row per place with its group, a row per centre at the middle place.
    const auto rows = textLines(readText(csvOut));
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], "kind,group,name,x,y,weight,objective,members,existing");
    std::map<std::string, std::string> groupOf;
    for (std::size_t k = 1; k <= 6; ++k) {
        const std::string& row = rows[k];
        const std::size_t a = row.find(','), b = row.find(',', a + 1), c = row.find(',', b + 1);
        ASSERT_EQ(row.substr(0, a), "place");
        groupOf[row.substr(b + 1, c - b - 1)] = row.substr(a + 1, b - a - 1);
    }
    EXPECT_EQ(groupOf["A1"], groupOf["A3"]);
    EXPECT_EQ(groupOf["B1"], groupOf["B2"]);
    EXPECT_NE(groupOf["A2"], groupOf["B2"]);
    const std::string centreA = "centre," + groupOf["A1"] + ",,0.0,1.0,,2.0,3,0";
    const std::string centreB = "centre," + groupOf["B1"] + ",,10.0,1.0,,2.0,3,0";
    EXPECT_TRUE((rows[7] == centreA && rows[8] == centreB) || (rows[7] == centreB && rows[8] == centreA))
        << rows[7] << '\n'
        << rows[8];

    // The list itself is never overwritten by its result.
    const std::string before = readText(list);
    EXPECT_NE(
        runCli({ "groups", list, "--centres", "2", "--out", list }).err.find("is the place list itself"),
        std::string::npos);
    EXPECT_EQ(readText(list), before);

    // GeoJSON needs latitude and longitude; --fixed names a place of the list.
    EXPECT_NE(runCli({ "groups", list, "--centres", "2", "--out", (folder.dir / "x.geojson").string() })
                  .err.find("no latitude and longitude"),
        std::string::npos);
    EXPECT_NE(runCli({ "groups", list, "--centres", "2", "--fixed", "Z9" }).err.find("no place named \"Z9\""),
        std::string::npos);
    const CliRun fixed = runCli({ "groups", list, "--centres", "2", "--fixed", "a1", "--members", "no" });
    ASSERT_EQ(fixed.code, 0) << fixed.err;
    EXPECT_NE(fixed.out.find("existing centre A1, objective 3, 3 places"), std::string::npos) << fixed.out;
    EXPECT_EQ(fixed.out.find("B2\n"), std::string::npos) << fixed.out;
}

TEST(ListInput, TheListAndTheProjectImportedFromItGiveTheSameGroups)
{
    // The sample project is the sample list imported; the project's rule of 3 places a group is
    // --min-places 3 for the list (at 2 and 3 centres it does not bind), the project's size
    // limit --max-places.
    const std::string project = std::string(DORVAN_EXAMPLES) + "/slovak_towns.mzd";
    const std::string list = std::string(DORVAN_EXAMPLES) + "/slovak_towns.csv";
    struct Case {
        std::vector<std::string> projectArgs, listArgs;
    };
    const Case cases[]
        = { { { "--centres", "2" }, { "--centres", "2" } }, { { "--centres", "3" }, { "--centres", "3" } },
              { { "--centres", "5" }, { "--centres", "5", "--min-places", "3" } },
              { { "--centres", "4", "--max-places", "8" },
                  { "--centres", "4", "--min-places", "3", "--max-places", "8" } } };
    for (const Case& c : cases) {
        std::vector<std::string> projectRun { "groups", project },
            listRun { "groups", list, "--threads", "1" };
        projectRun.insert(projectRun.end(), c.projectArgs.begin(), c.projectArgs.end());
        listRun.insert(listRun.end(), c.listArgs.begin(), c.listArgs.end());
        const CliRun fromProject = runCli(projectRun);
        const CliRun fromList = runCli(listRun);
        ASSERT_EQ(fromProject.code, 0) << fromProject.err;
        ASSERT_EQ(fromList.code, 0) << fromList.err;
        // The member names of each group, as sets of groups.
        const auto groupsOf = [](const std::string& text) {
            std::set<std::set<std::string>> groups;
            std::set<std::string> current;
            bool inGroup = false;
            for (const std::string& l : textLines(text)) {
                if (l.rfind("--- Skupina", 0) == 0) {
                    if (inGroup)
                        groups.insert(current);
                    current.clear();
                    inGroup = true;
                } else if (inGroup && l.rfind("centre [", 0) != 0 && l.find("° s. š.") == std::string::npos) {
                    current.insert(l);
                }
            }
            groups.insert(current);
            return groups;
        };
        EXPECT_EQ(groupsOf(fromProject.out), groupsOf(fromList.out)) << fromProject.out << fromList.out;
        const auto total = [](const std::string& text) {
            const std::size_t at = text.find("total ") + 6;
            std::string n = text.substr(at, text.find(' ', at) - at);
            std::replace(n.begin(), n.end(), ',', '.');
            return std::stod(n);
        };
        EXPECT_NEAR(total(fromList.out), total(fromProject.out), 1e-9 * total(fromProject.out));
    }
}

TEST(ListInput, GeoJsonOutReadsBackAsAPointPerPlaceAndPerCentre)
{
    const ListFolder folder;
    const std::string out = (folder.dir / "towns.geojson").string();
    const CliRun run = runCli({ "solve", std::string(DORVAN_EXAMPLES) + "/slovak_towns.csv", "--out", out });
    ASSERT_EQ(run.code, 0) << run.err;
    const JsonParse parsed = parseJson(readText(out));
    ASSERT_TRUE(parsed.value) << parsed.error;
    const JsonValue* features = parsed.value->member("features");
    ASSERT_NE(features, nullptr);
    ASSERT_EQ(features->items.size(), 27u + 1u);
    const JsonValue& first = features->items.front();
    EXPECT_EQ(first.member("properties")->member("name")->text, "Bratislava");
    // [longitude, latitude] as the list gives them, 7 decimals.
    const JsonValue* at = first.member("geometry")->member("coordinates");
    EXPECT_EQ(at->items[0].text, "17.1077000");
    EXPECT_EQ(at->items[1].text, "48.1486000");
    const JsonValue* centre = features->items.back().member("properties");
    EXPECT_EQ(centre->member("kind")->text, "centre");
    EXPECT_EQ(centre->member("members")->text, "27");
}

TEST(ListInput, TheSameSeedAndThreadsGiveTheSameGroups)
{
    const std::string list = std::string(DORVAN_EXAMPLES) + "/slovak_towns.csv";
    // Everything but the first line, which gives the seconds.
    const auto groups = [&](const char* seed) {
        const CliRun r = runCli({ "groups", list, "--centres", "6", "--seed", seed, "--threads", "2" });
        EXPECT_EQ(r.code, 0) << r.err;
        return r.out.substr(r.out.find('\n'));
    };
    const std::string first = groups("7");
    EXPECT_EQ(groups("7"), first);
    EXPECT_NE(first.find("--- Skupina 6 ---"), std::string::npos);
}

TEST(ListInput, OptionsBelongToTheirKindOfInput)
{
    const std::string project = std::string(DORVAN_EXAMPLES) + "/slovak_towns.mzd";
    const std::string list = std::string(DORVAN_EXAMPLES) + "/slovak_towns.csv";
    EXPECT_EQ(runCli({ "groups", project, "--centres", "2", "--threads", "2" }).err,
        "groups: unknown option --threads for a project (it is for place lists: .csv, .geojson)");
    EXPECT_EQ(runCli({ "groups", list, "--centres", "2", "--starts", "5" }).err,
        "groups: --starts is for projects (.mzd), not for a place list");
    EXPECT_EQ(runCli({ "solve", list, "--groups" }).err,
        "solve: --groups is for projects (.mzd), not for a place list");
    EXPECT_EQ(runCli({ "groups", list, "--centres", "2", "--out", "x.mzd" }).err,
        "groups: --out \"x.mzd\" must end in .geojson or .csv for a place list");
    EXPECT_EQ(runCli({ "groups", list, "--centres", "2", "--min-places", "5", "--max-places", "4" }).err,
        "groups: --min-places 5 is larger than --max-places 4");
}

TEST(ListInput, ProgressLineShowsTheShareTheTimeAndTheBestTotal)
{
    // The bar is the width less 44 characters for the text, at least 10; its length stays
    // when the best total appears.
    EXPECT_EQ(progressLine(0.5, 3.24, 1234.5, 64), "[##########..........]  3,2 s  best total 1234,5");
    EXPECT_EQ(progressLine(0.5, 3.24, std::nullopt, 64), "[##########..........]  3,2 s");
    EXPECT_EQ(progressLine(0.0, 0.0, std::nullopt, 30), "[..........]  0,0 s");
    EXPECT_EQ(progressLine(2.0, 12.0, std::nullopt, 20), "[##########]  12,0 s");
    EXPECT_EQ(progressLine(0.26, 1.05, std::nullopt, 54), "[##........]  1,1 s");

    // Drawn in place on a terminal and cleared at the end; nothing otherwise.
    std::ostringstream terminal, pipe;
    {
        ProgressDisplay shown(terminal, true), hidden(pipe, false);
        shown.show(0.25, 1.0, 10.0);
        hidden.show(0.25, 1.0, 10.0);
        EXPECT_FALSE(hidden.callback());
    }
    EXPECT_EQ(terminal.str(), "\r" + progressLine(0.25, 1.0, 10.0) + "\x1b[K\r\x1b[K");
    EXPECT_EQ(pipe.str(), "");
}
