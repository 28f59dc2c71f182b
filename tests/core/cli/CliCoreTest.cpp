#include "core/allocation/CooperRunDriver.h"
#include "core/cli/CliArguments.h"
#include "core/cli/CliCommands.h"
#include "core/cli/JsonWriter.h"
#include "core/entry/GroupList.h"
#include "core/entry/ProjectSession.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <vector>

using namespace dorvan;
using namespace dorvan::cli;

namespace {

CliRequest parse(std::initializer_list<const char*> args)
{
    return parseArguments(std::vector<std::string>(args.begin(), args.end()));
}

std::string usageError(std::initializer_list<const char*> args)
{
    try {
        parse(args);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "(accepted)";
}

} // namespace

TEST(CliArguments, DefaultsAreThoseOfANewWindowAndOptionsTakeBothForms)
{
    const CliRequest s = parse({ "solve", "p.mzd" });
    EXPECT_EQ(s.command, Command::Solve);
    EXPECT_EQ(s.solve.project, "p.mzd");
    EXPECT_EQ(s.solve.settings.start, StartPoint::Computed);
    EXPECT_EQ(s.solve.settings.rule, StoppingRule::BothAxes);
    EXPECT_EQ(s.solve.settings.precisionText(), "0,01");
    EXPECT_EQ(s.solve.settings.correctionText(), "1,0");
    EXPECT_FALSE(s.solve.groups);
    EXPECT_EQ(s.solve.format, OutputFormat::Text);

    const CliRequest o = parse({ "solve", "--start=origin", "--stop", "objective", "--precision", "-1",
        "--correction=2,5", "--groups", "p.mzd", "--format", "json" });
    EXPECT_EQ(o.solve.settings.start, StartPoint::Origin);
    EXPECT_EQ(o.solve.settings.rule, StoppingRule::Objective);
    EXPECT_EQ(o.solve.settings.precisionText(), "-1"); // checked by the run, as the window does
    EXPECT_EQ(o.solve.settings.correctionText(), "2,5");
    EXPECT_TRUE(o.solve.groups);
    EXPECT_EQ(o.solve.format, OutputFormat::Json);

    const CliRequest r
        = parse({ "render", "p.mzd", "--out", "c.PDF", "--size", "640x480", "--picture", "no" });
    EXPECT_TRUE(r.render.pdf);
    EXPECT_EQ(r.render.width, 640);
    EXPECT_EQ(r.render.height, 480);
    EXPECT_FALSE(r.render.picture);
    EXPECT_TRUE(r.render.proportional);
    EXPECT_EQ(parse({ "render", "p.mzd", "--out", "c.png" }).render.width, 800);
    EXPECT_EQ(parse({ "places", "p.mzd" }).places.format, OutputFormat::Csv);
    EXPECT_EQ(parse({ "import", "a.csv", "--out", "b.mzd" }).import.out, "b.mzd");
    EXPECT_EQ(parse({ "solve", "--help" }).helpTopic, "solve");
    EXPECT_NE(usageText("render").find("drawn over its picture"), std::string::npos);
}

TEST(CliArguments, ReportTakesTheChartOptionsOfRender)
{
    const ReportOptions r
        = parse({ "report", "p.mzd", "--out", "z.pdf", "--picture", "no", "--equal-scale", "--select",
                    "30,-5,10,40", "--size", "300x200", "--proportional", "no", "--contours", "1,5" })
              .report;
    EXPECT_FALSE(r.picture);
    EXPECT_EQ(r.scale, ChartScale::Equal);
    ASSERT_TRUE(r.select.has_value());
    EXPECT_EQ(*r.select, (std::array<int, 4> { 30, -5, 10, 40 }));
    EXPECT_EQ(r.width, 300);
    EXPECT_EQ(r.height, 200);
    EXPECT_FALSE(r.proportional);
    EXPECT_EQ(r.contours, (std::vector<double> { 1.0, 5.0 }));
    const ReportOptions plain = parse({ "report", "p.mzd", "--out", "z.pdf" }).report;
    EXPECT_TRUE(plain.picture);
    EXPECT_EQ(plain.scale, ChartScale::Free);
    EXPECT_FALSE(plain.select.has_value());
    EXPECT_EQ(plain.width, 800);
    EXPECT_EQ(plain.height, 600);

    const struct {
        std::initializer_list<const char*> args;
        const char* message;
    } refused[] = {
        { { "report", "p.mzd", "--out", "z.pdf", "--picture", "maybe" }, "--picture" },
        { { "report", "p.mzd", "--out", "z.pdf", "--select", "1,2,3" }, "is not X1,Y1,X2,Y2 in pixels" },
        { { "report", "p.mzd", "--out", "z.pdf", "--size", "800x600" },
            "without --select they are not used" },
        { { "report", "p.mzd", "--out", "z.pdf", "--proportional", "no" },
            "without --select they are not used" },
        { { "report", "p.mzd", "--out", "z.pdf", "--select", "1,2,3,4", "--size", "10x10" },
            "outside 120 to 5000" },
        { { "report", "p.mzd", "--out", "z.pdf", "--equal-scale=yes" }, "takes no value" },
    };
    for (const auto& c : refused)
        EXPECT_NE(usageError(c.args).find(c.message), std::string::npos)
            << c.message << ": " << usageError(c.args);
}

TEST(CliArguments, BadArgumentsAreRefusedWithAReason)
{
    EXPECT_EQ(usageError({}), "a command is missing (see dorvan-cli --help)");
    EXPECT_EQ(usageError({ "optimise" }), "unknown command \"optimise\" (see dorvan-cli --help)");
    EXPECT_NE(usageError({ "network" }).find("the project file is missing"), std::string::npos);
    EXPECT_NE(
        usageError({ "network", "a", "--out", "x.gif" }).find("must end in .png or .pdf"), std::string::npos);
    EXPECT_NE(
        usageError({ "network", "a", "--size", "50x50" }).find("outside 120 to 5000"), std::string::npos);
    EXPECT_NE(
        usageError({ "network", "a", "--size", "300x200" }).find("--size needs --out"), std::string::npos);
    EXPECT_EQ(parse({ "network", "a", "--size", "300x200", "--out", "g.png" }).network.width, 300);
    const NetworkOptions rounds = parse({ "network", "a", "--method", "rounds", "--time-limit", "2,5",
                                            "--seed", "7", "--iterations", "900", "--out", "r.GeoJSON" })
                                      .network;
    EXPECT_EQ(rounds.method, NetworkMethod::Rounds);
    EXPECT_EQ(rounds.timeLimit, 2.5);
    EXPECT_EQ(rounds.seed, 7u);
    EXPECT_EQ(rounds.iterations, 900);
    EXPECT_TRUE(rounds.geoJson);
    EXPECT_EQ(parse({ "network", "a" }).network.method, NetworkMethod::Star);
    struct Refused {
        std::initializer_list<const char*> args;
        const char* message;
    };
    const Refused roundsRefused[] = {
        { { "network", "a", "--method", "ring" }, "--method \"ring\" is not one of" },
        { { "network", "a", "--time-limit", "2" }, "--time-limit is for --method rounds" },
        { { "network", "a", "--seed", "2" }, "--seed is for --method rounds" },
        { { "network", "a", "--method", "rounds", "--time-limit", "0" }, "not a number of seconds above 0" },
        { { "network", "a", "--method", "rounds", "--time-limit", "5s" }, "not a number of seconds above 0" },
        { { "network", "a", "--method", "rounds", "--iterations", "0" }, "from 1 to 1000000000" },
        { { "network", "a", "--out", "r.geojson" }, "must end in .png or .pdf" },
        { { "network", "a", "--method", "rounds", "--out", "r.txt" }, "must end in .png, .pdf or .geojson" },
    };
    for (const Refused& r : roundsRefused)
        EXPECT_NE(usageError(r.args).find(r.message), std::string::npos)
            << r.message << ": " << usageError(r.args);
    EXPECT_NE(usageError({ "solve" }).find("the project file is missing"), std::string::npos);
    EXPECT_NE(usageError({ "solve", "a", "b" }).find("unexpected argument \"b\""), std::string::npos);
    EXPECT_NE(usageError({ "solve", "a", "--out", "x" }).find("unknown option --out"), std::string::npos);
    EXPECT_NE(usageError({ "solve", "a", "--groups=yes" }).find("takes no value"), std::string::npos);
    EXPECT_NE(usageError({ "solve", "a", "--stop" }).find("needs a value"), std::string::npos);
    EXPECT_NE(
        usageError({ "solve", "a", "--stop", "x", "--stop", "y" }).find("given twice"), std::string::npos);
    EXPECT_NE(usageError({ "solve", "a", "--start", "centre" }).find("not one of gravity|origin"),
        std::string::npos);
    EXPECT_NE(
        usageError({ "places", "a", "--format", "text" }).find("not one of csv|json"), std::string::npos);
    EXPECT_NE(usageError({ "render", "a" }).find("--out FILE is required"), std::string::npos);
    EXPECT_NE(
        usageError({ "render", "a", "--out", "c.jpg" }).find("must end in .png or .pdf"), std::string::npos);
    for (const char* size : { "800", "800x", "x600", "80ox600", "800x600x1", "-800x600" })
        EXPECT_NE(usageError({ "render", "a", "--out", "c.png", "--size", size }).find("is not WIDTHxHEIGHT"),
            std::string::npos)
            << size;
    EXPECT_NE(
        usageError({ "render", "a", "--out", "c.png", "--size", "119x600" }).find("outside 120 to 5000"),
        std::string::npos);
    EXPECT_NE(
        usageError({ "render", "a", "--out", "c.png", "--size", "800x5001" }).find("outside 120 to 5000"),
        std::string::npos);
    EXPECT_NE(usageError({ "import", "a.csv" }).find("--out FILE is required"), std::string::npos);
}

TEST(JsonWriter, WritesEscapedTextAndRoundTripNumbers)
{
    EXPECT_EQ(jsonString("a\"b\\c\n\x01Ž"), "\"a\\\"b\\\\c\\n\\u0001Ž\"");
    EXPECT_EQ(jsonNumber(0.1), "0.1");
    EXPECT_EQ(jsonNumber(-2.0), "-2");
    EXPECT_EQ(std::stod(jsonNumber(1.0 / 3.0)), 1.0 / 3.0);
    EXPECT_EQ(jsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(jsonNumber(std::numeric_limits<double>::infinity()), "null");

    JsonWriter j;
    j.beginObject();
    j.key("a");
    j.beginArray(true);
    j.value(1.5);
    j.value(2);
    j.endArray();
    j.key("b");
    j.beginArray();
    j.endArray();
    j.key("c");
    j.null();
    j.key("d");
    j.value(true);
    j.endObject();
    EXPECT_EQ(j.text(), "{\n  \"a\": [1.5, 2],\n  \"b\": [],\n  \"c\": null,\n  \"d\": true\n}\n");
}

namespace {

// Places A..H; groups {A, B, C}, {D, E}, {F, G, H}.
std::unique_ptr<TProjectRecord> groupProject()
{
    auto r = std::make_unique<TProjectRecord>();
    const char* names[] = { "A", "B", "C", "D", "E", "F", "G", "H" };
    const double xy[][2]
        = { { 0, 0 }, { 10, 0 }, { 5, 10 }, { 30, 30 }, { 40, 30 }, { 60, 0 }, { 70, 0 }, { 65, 9 } };
    for (int i = 1; i <= 8; ++i) {
        r->PlaceName[i] = Text100::fromUtf8(names[i - 1]);
        r->PlaceX[i] = xy[i - 1][0];
        r->PlaceY[i] = xy[i - 1][1];
        r->PlaceQuantity[i] = r->PlacePrice[i] = 1.0;
        r->PlaceFlexibility[i] = 1;
    }
    r->GroupCount = 3;
    r->GroupPlaceCount[1] = 3;
    r->GroupPlaceCount[2] = 2;
    r->GroupPlaceCount[3] = 3;
    for (int k = 1; k <= 8; ++k)
        r->GroupedPlaceName[k] = r->PlaceName[k];
    return r;
}

} // namespace

TEST(CooperRunDriver, GroupRunListsEveryGroupWarnsOnceAndResetsABadPrecisionForTheRest)
{
    const auto r = groupProject();
    // The run's inputs come from the project as the program holds it after opening the file.
    auto project = std::make_unique<Project>();
    project->Record = *r;
    project->State.PlaceCount = 8;
    project->Choices = choicesAsOpened(*r, 8);
    project->Record.setCriterion(CritGroups, true);
    project->Choices.Settings.setPrecisionText("11"); // above 10
    CooperRunInputs in = runInputs(*project, ",");
    EXPECT_EQ(in.groups.Count, 3);
    ASSERT_EQ(in.groups.Groups.size(), 3u);
    EXPECT_EQ(in.groups.members(2), (std::vector<std::string> { "D", "E" }));
    std::vector<std::string> warned;
    std::vector<int> listed;
    int resets = 0;
    CooperRunCallbacks cb;
    cb.warn = [&](const std::string& t) { warned.push_back(t); };
    cb.resetPrecision = [&] { ++resets; };
    cb.groupListed = [&](const CooperRunResult& soFar, int g) {
        listed.push_back(g);
        EXPECT_EQ(soFar.groups.back().no, g);
    };
    auto state = std::make_unique<CooperState>();
    const CooperRunResult res = runCooperDriver(*state, *r, 8, in, cb);

    EXPECT_TRUE(res.groupRun);
    EXPECT_EQ(listed, (std::vector<int> { 1, 2, 3 }));
    // The bad precision is met in group 1 only: group 3 reads the reset text.
    EXPECT_EQ(warned,
        (std::vector<std::string> {
            "Chybná presnosť !!!", "Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!" }));
    EXPECT_EQ(res.warnings, warned);
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(res.precisionReset);
    ASSERT_EQ(res.pathLines.size(), 2u);
    EXPECT_EQ(res.pathLines[0].rfind("[Xopt1;Yopt1]=[", 0), 0u);
    EXPECT_EQ(res.pathLines[1].rfind("[Xopt3;Yopt3]=[", 0), 0u);
    EXPECT_EQ(res.placeLines,
        (std::vector<std::string> { "--- Skupina 1 ---", "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [5;10]",
            "--- Skupina 2 ---", "M4: D, [30;30]", "M5: E, [40;30]", "--- Skupina 3 ---", "M6: F, [60;0]",
            "M7: G, [70;0]", "M8: H, [65;9]" }));
    ASSERT_EQ(res.groups.size(), 3u);
    EXPECT_FALSE(res.groups[1].solved);
    EXPECT_EQ(res.groups[2].firstMemberNumber, 6);
    EXPECT_EQ(static_cast<int>(res.groups[2].iterates.size()), res.groups[2].finalIter);
    EXPECT_TRUE(res.optimumText.empty());

    // Without groups: one centre, Edit1 holds the last path line.
    project->Record.setCriterion(CritGroups, false);
    in = runInputs(*project, ",");
    EXPECT_FALSE(in.groupsOn);
    EXPECT_TRUE(in.groups.Groups.empty());
    const CooperRunResult one = runCooperDriver(*state, *r, 8, in);
    EXPECT_FALSE(one.groupRun);
    ASSERT_FALSE(one.pathLines.empty());
    EXPECT_EQ(one.optimumText, one.pathLines.back());
    EXPECT_EQ(one.pathLines.size(), static_cast<std::size_t>(2 * one.finalIter - 1));
    EXPECT_EQ(one.placeLines.size(), 8u);
}

TEST(CooperRunDriver, NoticeNamesTheGroupsWhoseHistoryRanOut)
{
    EXPECT_EQ(runNoticeText({}), "");
    EXPECT_EQ(runNoticeText({ 0 }), std::string(HistoryFullNotice));
    EXPECT_EQ(
        runNoticeText({ 2, 3 }), "Zadaná presnosť nebola dosiahnutá ani po 999 krokoch (SKUPINA 2, 3) !!!");
}

namespace {

struct GroupsRun {
    int code = 0;
    std::string out;
    std::string error;
};

GroupsRun groups(const std::vector<const char*>& options)
{
    std::vector<std::string> args { "groups", DORVAN_EXAMPLES "/slovak_towns.mzd" };
    args.insert(args.end(), options.begin(), options.end());
    std::ostringstream out, err;
    GroupsRun r;
    try {
        const CliRequest request = parseArguments(args);
        r.code = groupsCommand(request.groups, out, err);
    } catch (const UsageError& e) {
        r.code = 2;
        r.error = e.what();
    }
    r.out = out.str();
    return r;
}

} // namespace

TEST(CliGroups, RefusalsNameTheRealProblem)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        { { "--centres", "5-2" }, "groups: --centres 5-2: the first number is larger than the second" },
        { { "--centres", "1" }, "groups: --centres 1: at least 2 centres (a table A-B may start at 1)" },
        { { "--centres", "0-4" }, "groups: --centres 0-4: at least 1 centre" },
        { { "--centres", "10" },
            "groups: --centres 10: 27 places allow at most 9 centres (at least 3 places a group)" },
        { { "--centres", "2", "--fixed", "Žilina,Nitra,Košice" },
            "groups: --fixed names 3 existing centres, more than --centres 2" },
        { { "--centres", "3", "--fixed", "Praha" },
            "groups: --fixed: no place named \"Praha\" in the project" },
        { { "--centres", "3", "--fixed", "Žilina,Žilina" }, "groups: --fixed: \"Žilina\" is named twice" },
        { { "--centres", "3", "--fixed", "Žilina," },
            "groups: --fixed \"Žilina,\" holds an empty place name" },
        { { "--centres", "3", "--max-places", "2" },
            "groups: --max-places \"2\" is not a whole number from 3 to 99" },
        { { "--centres", "2", "--max-places", "13" },
            "groups: Skupiny nepojmú všetky miesta: P = 2, najviac m = 13 miest v skupine, spolu 26 miest, "
            "projekt má n = 27 miest !!!" },
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> args { "groups", DORVAN_EXAMPLES "/slovak_towns.mzd" };
        args.insert(args.end(), options.begin(), options.end());
        std::ostringstream out, err;
        std::string got = "(accepted)";
        try {
            groupsCommand(parseArguments(args).groups, out, err);
        } catch (const UsageError& e) {
            got = e.what();
        }
        EXPECT_EQ(got, message);
        EXPECT_TRUE(out.str().empty()) << message;
    }
}

TEST(CliGroups, ExistingCentreStaysAndGroupsKeepTheLimit)
{
    // Žilina kept, two more centres, at most 12 places a group.
    const GroupsRun r
        = groups({ "--centres", "3", "--fixed", "Žilina", "--max-places", "12", "--format", "json" });
    ASSERT_EQ(r.code, 0) << r.error;
    const std::string& j = r.out;
    // The fixed group comes first, served from Žilina's own coordinates (123.6034; 163.6368 in the sample).
    const std::size_t first = j.find(
        "\"centre\": [123.6034, 163.6368],\n      \"fixed\": true,\n      \"centre_place\": \"Žilina\"");
    EXPECT_NE(first, std::string::npos) << j;
    std::size_t fixedCount = 0, freeCount = 0;
    for (std::size_t at = j.find("\"fixed\": "); at != std::string::npos; at = j.find("\"fixed\": ", at + 1))
        (j.compare(at + 9, 4, "true") == 0 ? fixedCount : freeCount)++;
    EXPECT_EQ(fixedCount, 1u);
    EXPECT_EQ(freeCount, 2u);
    // Every group's member list within 3..12 names; 27 names in all.
    std::size_t members = 0;
    for (std::size_t at = j.find("\"members\": ["); at != std::string::npos;
         at = j.find("\"members\": [", at + 1)) {
        const std::size_t end = j.find(']', at);
        const auto names = static_cast<std::size_t>(std::count(
                               j.begin() + static_cast<long>(at), j.begin() + static_cast<long>(end), '"'))
                / 2
            - 1;
        EXPECT_GE(names, 3u);
        EXPECT_LE(names, 12u);
        members += names;
    }
    EXPECT_EQ(members, 27u);
    // The table with the same existing centre starts at one centre: Žilina serving everything.
    const GroupsRun table = groups({ "--centres", "1-3", "--fixed", "Žilina" });
    ASSERT_EQ(table.code, 0) << table.error;
    EXPECT_NE(table.out.find("\n1;"), std::string::npos) << table.out;
}

// A table A-B prints every row: a count that cannot keep the rules is a refused row saying why
// (the groups page leaves it empty), and the row after it has no saving.
TEST(CliGroups, TableMarksRowsThatCannotKeepTheRulesInsteadOfRefusingTheRange)
{
    struct Case {
        std::vector<const char*> options;
        std::vector<std::string> refused; // the reason of each row, "" for a row with a total
    };
    // 27 places: at most 12 a group needs 3 centres; two existing centres need 2.
    const std::string m12
        = "Skupiny nepojmú všetky miesta: P = %P, najviac m = 12 miest v skupine, spolu %S miest, "
          "projekt má n = 27 miest !!!";
    auto sizes = [&](int p) {
        std::string s = m12;
        s.replace(s.find("%P"), 2, std::to_string(p));
        s.replace(s.find("%S"), 2, std::to_string(12 * p));
        return s;
    };
    const Case cases[] = {
        // One centre of all places is the baseline of the savings, limit or not.
        { { "--centres", "1-4", "--max-places", "12" }, { "", sizes(2), "", "" } },
        { { "--centres", "1-4", "--max-places", "12", "--fixed", "Žilina" }, { sizes(1), sizes(2), "", "" } },
        { { "--centres", "1-3", "--fixed", "Žilina,Nitra" },
            { "Počet centier P = 1 je menší ako počet existujúcich centier (2) !!!", "", "" } },
    };
    for (const Case& c : cases) {
        const GroupsRun r = groups(c.options);
        ASSERT_EQ(r.code, 0) << r.error;
        std::istringstream lines(r.out);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "Počet centier;Náklady;Úspora;Odmietnuté");
        bool before = false; // the row before had a total
        for (std::size_t k = 0; k < c.refused.size(); ++k) {
            ASSERT_TRUE(std::getline(lines, line)) << r.out;
            const std::string p = std::to_string(static_cast<int>(k) + 1);
            if (!c.refused[k].empty()) {
                EXPECT_EQ(line, p + ";;;" + c.refused[k]);
                before = false;
                continue;
            }
            // A total, a saving only after a row with a total, no reason.
            const std::size_t a = line.find(';'), b = line.find(';', a + 1), d = line.find(';', b + 1);
            ASSERT_NE(d, std::string::npos) << line;
            EXPECT_EQ(line.substr(0, a), p);
            EXPECT_GT(b - a, 1u) << line;
            EXPECT_EQ(d - b > 1, before) << line;
            EXPECT_EQ(d + 1, line.size()) << line;
            before = true;
        }
        EXPECT_FALSE(std::getline(lines, line)) << r.out;
    }
    // The total of a row is that of the proposal of as many centres under the same rules.
    const GroupsRun one = groups({ "--centres", "3", "--max-places", "12", "--format", "json" });
    const GroupsRun table = groups({ "--centres", "1-3", "--max-places", "12", "--format", "json" });
    ASSERT_EQ(one.code, 0) << one.error;
    const std::size_t total = one.out.find("\"total\": ");
    ASSERT_NE(total, std::string::npos);
    const std::string figure = one.out.substr(total, one.out.find(',', total) - total);
    EXPECT_NE(table.out.find("\"centres\": 3, " + figure + ", \"saving\": null, \"refused\": null"),
        std::string::npos)
        << table.out;
    EXPECT_NE(
        table.out.find("\"centres\": 2, \"total\": null, \"saving\": null, \"refused\": \"Skupiny nepojm"),
        std::string::npos)
        << table.out;
}

// --fixed names a place as duplicate names are told apart: letter case and surrounding spaces aside.
TEST(CliGroups, FixedNamesMatchLikeDuplicateNames)
{
    const GroupsRun exact = groups({ "--centres", "3", "--fixed", "Žilina" });
    ASSERT_EQ(exact.code, 0) << exact.error;
    ASSERT_NE(exact.out.find(" existing centre Žilina,"), std::string::npos) << exact.out;
    for (const char* name : { "žilina", "  ŽILINA ", "žILINA\t" }) {
        const GroupsRun r = groups({ "--centres", "3", "--fixed", name });
        EXPECT_EQ(r.code, 0) << name << ": " << r.error;
        EXPECT_EQ(r.out, exact.out) << name;
    }
    const GroupsRun twice = groups({ "--centres", "3", "--fixed", "Žilina,žilina" });
    EXPECT_EQ(twice.error, "groups: --fixed: \"žilina\" is named twice");
    // Not the same place: another letter, or a name the code page cannot hold.
    EXPECT_EQ(groups({ "--centres", "3", "--fixed", "Zilina" }).error,
        "groups: --fixed: no place named \"Zilina\" in the project");
    EXPECT_EQ(groups({ "--centres", "3", "--fixed", "Žilina☃" }).error,
        "groups: --fixed: no place named \"Žilina☃\" in the project");
}
