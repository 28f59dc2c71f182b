// Road-distance matrices read and checked for a project of four places, and the project after
// an import. Every expected number is the matrix written in the test (in ten-thousandths of a
// kilometre, converted by hand), its mean worked out by hand, or found by brute force over the
// test's own matrix.
#include "core/cli/DistanceMatrix.h"
#include "core/cli/JsonReader.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectSession.h"
#include "core/network/Rounds.h"
#include "core/network/RoundsSearch.h"
#include "core/network/StarSearch.h"
#include "core/project/RecordCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

using namespace dorvan;
using namespace dorvan::cli;

namespace {

// Nitra, Trnava, Zlín, Žilina: already in the code page's order, so typing keeps the numbers.
struct MatrixPlace {
    const char* name;
    double x, y;
};
const MatrixPlace FourPlaces[]
    = { { "Nitra", 40, 0 }, { "Trnava", 0, 10 }, { "Zlín", 10, 60 }, { "Žilina", 90, 70 } };

// The road distances of the tests, in ten-thousandths of a kilometre: N-T 52.3, N-Z 118.75,
// N-Ž 141.2, T-Z 96.05, T-Ž 158.9, Z-Ž 98.4.
const std::int64_t Road[4][4] = {
    { 0, 523000, 1187500, 1412000 },
    { 523000, 0, 960500, 1589000 },
    { 1187500, 960500, 0, 984000 },
    { 1412000, 1589000, 984000, 0 },
};

TProjectRecord fourPlaceRecord()
{
    TProjectRecord r;
    ResetProjectAtStart(r);
    for (int k = 1; k <= 4; ++k) {
        r.PlaceName[k] = Text100::fromUtf8(FourPlaces[k - 1].name);
        r.PlaceX[k] = FourPlaces[k - 1].x;
        r.PlaceY[k] = FourPlaces[k - 1].y;
    }
    r.SavedPlaceCount = 4;
    return r;
}

DistanceMatrixRead readFor4(std::string_view text, std::optional<DistanceUnit> unit = std::nullopt)
{
    return readDistanceMatrix(text, fourPlaceRecord(), 4, unit);
}

std::vector<std::string> englishOf(const DistanceMatrixRead& read)
{
    std::vector<std::string> out;
    for (const MatrixProblem& p : read.problems)
        out.push_back((p.line > 0 ? std::to_string(p.line) + ": " : std::string()) + p.english);
    return out;
}

void expectRoad(const DistanceMatrixRead& read, const std::string& what)
{
    ASSERT_TRUE(read.ok()) << what << ": " << (read.problems.empty() ? "" : read.problems.front().english);
    ASSERT_EQ(read.table.count, 4) << what;
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            EXPECT_EQ(read.table.at(i, j), Road[i - 1][j - 1]) << what << " " << i << "," << j;
}

} // namespace

TEST(DistanceMatrix, EachFormReadsTheMatrixWrittenInTheTest)
{
    struct Case {
        const char* what;
        std::string text;
        MatrixFormat format;
        DistanceUnit unit;
    };
    const Case cases[] = {
        { "long with a header, one direction each",
            "from;to;distance\nNitra;Trnava;52,3\nNitra;Zlín;118,75\nŽilina;Nitra;141.2\n"
            "Trnava;Zlín;96,05\nTrnava;Žilina;158,9\nZlín;Žilina;98,4\n",
            MatrixFormat::LongCsv, DistanceUnit::Kilometres },
        { "long without a header, commas, quoted decimal comma, self pairs and comments",
            "# from a spreadsheet\r\nNitra,Trnava,\"52,3\"\r\nNitra,Nitra,0\r\nNitra,Zlín,118.75\r\n\r\n"
            "Nitra,Žilina,141.2\r\nTrnava,Zlín,96.05\r\nTrnava,Žilina,158.9\r\nZlín,Žilina,98.4\r\n",
            MatrixFormat::LongCsv, DistanceUnit::Kilometres },
        { "long in metres by its header",
            "odkiaľ;kam;distance_m\nNitra;Trnava;52300\nNitra;Zlín;118750\nNitra;Žilina;141200\n"
            "Trnava;Zlín;96050\nTrnava;Žilina;158900\nZlín;Žilina;98400\n",
            MatrixFormat::LongCsv, DistanceUnit::Metres },
        { "square, columns in another order, one empty cell",
            "km;Žilina;Zlín;Trnava;Nitra\nNitra;141,2;118,75;52,3;0\nTrnava;158,9;96,05;0;52,3\n"
            "Zlín;98,4;0;96,05;\nŽilina;0;98,4;158,9;141,2\n",
            MatrixFormat::SquareCsv, DistanceUnit::Kilometres },
        { "routing table JSON in metres with an exponent and a null",
            R"({"code":"Ok","distances":[[0,52300,118750,1.412e5],[52300,0,96050.0,158900],)"
            R"([null,96050,0,98400],[141200,158900,98400,0]],"sources":[{"name":"x"}]})",
            MatrixFormat::Json, DistanceUnit::Metres },
    };
    for (const Case& c : cases) {
        const DistanceMatrixRead read = readFor4(c.text);
        expectRoad(read, c.what);
        EXPECT_EQ(read.format, c.format) << c.what;
        EXPECT_EQ(read.unit, c.unit) << c.what;
        EXPECT_EQ(read.averaged, 0) << c.what;
    }
    // The caller's unit wins over the header's and the form's.
    const DistanceMatrixRead km = readFor4(
        R"({"distances":[[0,52.3,118.75,141.2],[52.3,0,96.05,158.9],[118.75,96.05,0,98.4],[141.2,158.9,98.4,0]]})",
        DistanceUnit::Kilometres);
    expectRoad(km, "JSON in kilometres by the caller");
}

TEST(DistanceMatrix, BothDirectionsGiveTheirMeanAndTheNoticeCountsThoseOverOnePercent)
{
    // N-T 10 and 10.05 (0.5 % of 10.025), N-Z 10 and 10.2 (2 %), N-Ž 1.0001 and 1.0002
    // (mean 1.00015, halves to even: 1.0002), T-Z 96.05 both ways; the rest one way only.
    const DistanceMatrixRead read
        = readFor4("Nitra;Trnava;10\nTrnava;Nitra;10,05\nNitra;Zlín;10\nZlín;Nitra;10,2\n"
                   "Nitra;Žilina;1,0001\nŽilina;Nitra;1,0002\nTrnava;Zlín;96,05\n"
                   "Zlín;Trnava;96,05\nTrnava;Žilina;158,9\nZlín;Žilina;98,4\n");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.table.at(1, 2), 100250);
    EXPECT_EQ(read.table.at(2, 1), 100250);
    EXPECT_EQ(read.table.at(1, 3), 101000);
    EXPECT_EQ(read.table.at(1, 4), 10002);
    EXPECT_EQ(read.table.at(4, 1), 10002);
    EXPECT_EQ(read.table.at(2, 3), 960500);
    EXPECT_EQ(read.averaged, 3);
    EXPECT_EQ(read.differing, 1);
    EXPECT_EQ(differingNoticeEnglish(read),
        "1 pair differs by more than 1 % between its two directions; the mean of both is kept");
    EXPECT_EQ(differingNoticeSlovak(read),
        "Počet dvojíc miest, ktorých vzdialenosti tam a späť sa líšia o viac ako 1\u00A0%: 1. Uložený je "
        "priemer "
        "oboch smerov.");
    // Metres to kilometres to four decimals, halves to even: 52300.05 m is 52.30005 km.
    const DistanceMatrixRead m
        = readFor4("a;b;m\nNitra;Trnava;52300.05\nNitra;Zlín;52300.15\nNitra;Žilina;0.04\n"
                   "Trnava;Zlín;1\nTrnava;Žilina;1\nZlín;Žilina;1\n");
    ASSERT_TRUE(m.ok());
    EXPECT_EQ(m.table.at(1, 2), 523000);
    EXPECT_EQ(m.table.at(1, 3), 523002);
    EXPECT_EQ(m.table.at(1, 4), 0);
    EXPECT_EQ(m.table.at(2, 3), 10);
}

TEST(DistanceMatrix, EveryProblemIsNamedAndNothingIsKept)
{
    const std::string rest = "Trnava;Zlín;96,05\nTrnava;Žilina;158,9\nZlín;Žilina;98,4\n";
    const std::string fullLong = "Nitra;Trnava;52,3\nNitra;Zlín;118,75\nNitra;Žilina;141,2\n" + rest;
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        { "missing pairs", "Nitra;Trnava;52,3\nNitra;Žilina;141,2\n" + rest,
            { "the distance Nitra<--->Zlín is missing" } },
        { "a place without any distance", "Trnava;Zlín;96,05\nTrnava;Žilina;158,9\nZlín;Žilina;98,4\n",
            { "no distance to or from Nitra is given" } },
        { "negative, no number, too large", "Nitra;Trnava;-52,3\nNitra;Zlín;abc\nNitra;Žilina;1e3\n" + rest,
            { "1: Nitra<--->Trnava: the distance -52,3 is negative",
                "2: Nitra<--->Zlín: \"abc\" is not a number",
                "3: Nitra<--->Žilina: \"1e3\" is not a number" } },
        { "a place to itself", fullLong + "Zlín;Zlín;0,5\n",
            { "7: Zlín<--->Zlín: a place's distance to itself must be 0, not 0,5" } },
        { "unknown names and a pair twice", fullLong + "Brno;Zlín;130\nNitra;Trnava;52,3\n",
            { "7: \"Brno\" is no place of the project",
                "8: Nitra<--->Trnava is given twice (lines 1 and 8)" } },
        { "a line of another length", fullLong + "Nitra;Trnava\n",
            { "7: 2 fields; a line holds from;to;distance" } },
        { "square: a repeated and an extra name, a short line",
            ";Nitra;Trnava;Zlín;Žilina;Nitra\nNitra;0;1;2;3;0\nTrnava;1;0;4;5;1\nZlín;2;4;0;6\nŽilina;3;5;6;"
            "0;3\n",
            { "1: \"Nitra\" heads two columns", "1: the header names 5 places; the project has 4",
                "4: 5 fields; the header has 6" } },
        { "square: too few places", ";Nitra;Trnava;Zlín\nNitra;0;1;2\nTrnava;1;0;4\nZlín;2;4;0\n",
            { "1: the header names 3 places; the project has 4",
                "the matrix has 3 lines of places; the project has 4 places",
                "no distance to or from Žilina is given" } },
        { "square: an unknown row and a row twice",
            ";Nitra;Trnava;Zlín;Žilina\nNitra;0;1;2;3\nTrnava;1;0;4;5\nZlin;2;4;0;6\nŽilina;3;5;6;0\nNitra;0;"
            "1;2;3\n",
            { "4: \"Zlin\" is no place of the project", "6: \"Nitra\" has two lines (2 and 6)",
                "the matrix has 5 lines of places; the project has 4 places" } },
        { "JSON of three rows", R"({"distances":[[0,1,2],[1,0,3],[2,3,0]]})",
            { "the table has 3 rows; the project has 4 places" } },
        { "JSON: a short row, text and nulls both ways",
            R"({"distances":[[0,1,null,3],[1,0,4],[null,4,0,"6"],[3,5,6,0]]})",
            { "row 2 (Trnava) has 3 values; 4 expected", "Zlín<--->Žilina: not a number",
                "the distance Nitra<--->Zlín is missing" } },
        { "JSON: the server's refusal", R"({"code":"InvalidQuery","message":"Query string malformed"})",
            { "the routing server answered InvalidQuery: Query string malformed" } },
        { "JSON broken", R"({"distances":[[0,1],[1,0]})",
            { "not valid JSON: \",\" or \"]\" expected in an array (at byte 26)" } },
        { "empty", "\n# nothing\n", { "the file holds no distances" } },
    };
    for (const Case& c : cases) {
        const DistanceMatrixRead read = readFor4(c.text);
        EXPECT_FALSE(read.ok()) << c.what;
        EXPECT_EQ(englishOf(read), c.problems) << c.what;
        EXPECT_EQ(read.table.count, 0) << c.what;
        for (const MatrixProblem& p : read.problems)
            EXPECT_FALSE(p.slovak.empty()) << c.what;
    }
    // The Slovak text names the pair as the distance page does.
    const DistanceMatrixRead missing = readFor4("Nitra;Trnava;52,3\nNitra;Žilina;141,2\n" + rest);
    ASSERT_EQ(missing.problems.size(), 1u);
    EXPECT_EQ(missing.problems[0].slovak, "chýba vzdialenosť Nitra<--->Zlín");
}

TEST(DistanceMatrix, JsonReaderKeepsNumbersAsWrittenAndBoundsItsNesting)
{
    const JsonParse p = parseJson(R"( {"a":[1.50,-2e-3,true,null,"\u017dilina\n"],"b":{}} )");
    ASSERT_TRUE(p.value) << p.error;
    const JsonValue* a = p.value->member("a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->items.size(), 5u);
    EXPECT_EQ(a->items[0].text, "1.50");
    EXPECT_EQ(a->items[1].text, "-2e-3");
    EXPECT_TRUE(a->items[2].boolean);
    EXPECT_EQ(a->items[3].kind, JsonValue::Kind::Null);
    EXPECT_EQ(a->items[4].text, "Žilina\n");
    EXPECT_EQ(p.value->member("b")->kind, JsonValue::Kind::Object);
    for (const std::string bad : { "[01]", "[1,]", "{\"a\" 1}", "\"\\ud800\"", "[1] 2", "-", "[" })
        EXPECT_FALSE(parseJson(bad).value) << bad;
    EXPECT_FALSE(parseJson(std::string(100, '[') + std::string(100, ']')).value);
    EXPECT_TRUE(parseJson(std::string(60, '[') + std::string(60, ']')).value);
}

TEST(DistanceMatrix, RequestUrlListsLongitudeAndLatitudeInPlaceOrder)
{
    const std::vector<geo::LatLon> places { { 48.1485998, 17.1076995 }, { 49.2232, 18.7394 } };
    EXPECT_EQ(distanceRequestUrl("http://localhost:5000/", places),
        "http://localhost:5000/table/v1/driving/"
        "17.1076995,48.1485998;18.7394000,49.2232000?annotations=distance");
    EXPECT_EQ(distanceRequestUrl("https://r.example/table/v1/car", places),
        "https://r.example/table/v1/car/17.1076995,48.1485998;18.7394000,49.2232000?annotations=distance");
}

// The project after an import is the project after typing every pair on the distance page with
// its box ticked: the same record bytes, the entry finished, the same choices.
TEST(DistanceImport, LeavesTheStateOfEveryPairTyped)
{
    auto startList = [](Project& p, ProjectSession& s) {
        p.resetAtStart();
        ASSERT_EQ(s.acceptCount("4").askPlace, 1);
        for (const MatrixPlace& m : FourPlaces) {
            const std::string x = std::to_string(static_cast<int>(m.x));
            const std::string y = std::to_string(static_cast<int>(m.y));
            ASSERT_GT(s.places().acceptPlace({ m.name, x, y }).stored, 0);
            s.places().settleTypedList();
        }
        ASSERT_TRUE(p.State.PlacesComplete);
    };
    Project typed;
    ProjectSession typing(typed);
    startList(typed, typing);
    // The box ticked, then each pair typed as the page asks it.
    typed.Record.setCriterion(CritRealDistances, true);
    typed.Record.setCriterion(CritRealDistances, true);
    DistanceQuestions& q = typing.places().distanceQuestions();
    int asked = 0;
    while (const auto c = q.next(4)) {
        ASSERT_TRUE(
            enterDistance(typed.Record, q, 4, static_cast<double>(Road[c->row - 1][c->col - 1]) / 10000.0));
        ++asked;
    }
    EXPECT_EQ(asked, 6);
    typing.places().finishDistances();

    Project imported;
    ProjectSession importing(imported);
    startList(imported, importing);
    imported.State.UnsavedChanges = false;
    const DistanceMatrixRead read
        = readDistanceMatrix("Nitra;Trnava;52,3\nNitra;Zlín;118,75\nNitra;Žilina;141,2\nTrnava;Zlín;96,"
                             "05\nTrnava;Žilina;158,9\nZlín;Žilina;98,4\n",
            imported.Record, 4);
    ASSERT_TRUE(read.ok());
    ASSERT_TRUE(importing.importDistances(read.table));

    EXPECT_TRUE(encodeRecord(imported.Record) == encodeRecord(typed.Record));
    EXPECT_EQ(imported.tickedCriteria(), typed.tickedCriteria());
    EXPECT_EQ(imported.Record.DistanceEntryState, 2);
    EXPECT_FALSE(importing.places().distanceQuestions().next(4));
    EXPECT_TRUE(imported.State.UnsavedChanges);

    // The distance block byte for byte: rows of 100 little-endian doubles, the 4 × 4 corner the
    // test's matrix, every other entry as the new project left it (0).
    const auto bytes = encodeRecord(imported.Record);
    for (int i = 1; i <= 100; ++i)
        for (int j = 1; j <= 100; ++j) {
            const double v = i <= 4 && j <= 4 ? static_cast<double>(Road[i - 1][j - 1]) / 10000.0 : 0.0;
            unsigned char expected[8];
            std::memcpy(expected, &v, 8);
            const std::size_t at = RecordOffset::Distance + 800 * static_cast<std::size_t>(i - 1)
                + 8 * static_cast<std::size_t>(j - 1);
            ASSERT_EQ(std::memcmp(bytes.data() + at, expected, 8), 0) << i << "," << j;
        }

    // A table of another size, or a list still being typed, changes nothing.
    DistanceTable three { 3, std::vector<std::int64_t>(9, 0) };
    EXPECT_FALSE(importing.importDistances(three));
    imported.State.PlacesComplete = false;
    EXPECT_FALSE(importing.importDistances(read.table));
}

// The star search runs on what was imported: without limits every solution is one star, and the
// best centre is the place with the least sum of distances to the others (brute force over the
// test's matrices). The straight lines make Nitra the centre, the road distances Trnava.
TEST(DistanceImport, StarSearchRunsOnTheImportedDistances)
{
    auto project = std::make_unique<Project>();
    project->resetAtStart();
    ProjectSession session(*project);
    session.open(fourPlaceRecord(), "four.mzd");

    auto bestCentre = [](auto distance) {
        int best = 0;
        double bestSum = 0.0;
        for (int c = 1; c <= 4; ++c) {
            double sum = 0.0;
            for (int p = 1; p <= 4; ++p)
                sum += distance(c, p);
            if (best == 0 || sum < bestSum) {
                best = c;
                bestSum = sum;
            }
        }
        return std::pair { best, bestSum };
    };
    auto centreOf = [](const StarSearchResult& r) {
        return displayName(r.best.StarOrder[static_cast<std::size_t>(r.best.StarCentre.at(0) - 1)]);
    };
    const auto [straightCentre, straightSum] = bestCentre([](int i, int j) {
        return std::hypot(
            FourPlaces[i - 1].x - FourPlaces[j - 1].x, FourPlaces[i - 1].y - FourPlaces[j - 1].y);
    });
    const StarSearchResult before = Hviezda(VstupUdajRealStavCreate(*project), ",");
    ASSERT_EQ(before.best.StarCount, 1);
    EXPECT_EQ(centreOf(before), FourPlaces[straightCentre - 1].name);
    EXPECT_NEAR(before.best.StarTotal, straightSum, 1e-9);

    const DistanceMatrixRead read = readDistanceMatrix(
        R"({"distances":[[0,52300,118750,141200],[52300,0,96050,158900],[118750,96050,0,98400],[141200,158900,98400,0]]})",
        project->Record, 4);
    ASSERT_TRUE(read.ok());
    ASSERT_TRUE(session.importDistances(read.table));
    const auto [roadCentre, roadSum]
        = bestCentre([](int i, int j) { return static_cast<double>(Road[i - 1][j - 1]) / 10000.0; });
    ASSERT_NE(roadCentre, straightCentre);
    const StarSearchResult after = Hviezda(VstupUdajRealStavCreate(*project), ",");
    ASSERT_EQ(after.best.StarCount, 1);
    EXPECT_EQ(centreOf(after), FourPlaces[roadCentre - 1].name);
    EXPECT_NEAR(after.best.StarTotal, roadSum, 1e-9);
}

// Whatever the bytes, the reader answers: a refusal, or a table that is whole, symmetric and
// zero on its diagonal. Every cut of three good files and a run of deterministic byte changes.
TEST(DistanceMatrix, DamagedFilesAreRefusedOrGiveAWholeSymmetricTable)
{
    const std::string good[] = {
        "od;do;km\nNitra;Trnava;52,3\nNitra;Zlín;118,75\nŽilina;Nitra;141.2\nTrnava;Zlín;96,05\n"
        "Trnava;Žilina;158,9\nZlín;Žilina;98,4\n",
        ";Nitra;Trnava;Zlín;Žilina\nNitra;0;5;6;7\nTrnava;5;0;8;9\nZlín;6;8;0;1\nŽilina;7;9;1;0\n",
        R"({"distances":[[0,5e3,6000,7000],[5000,0,8000,9000],[6000,8000,0,1000],[7000,9000,1000,0]]})",
    };
    int whole = 0;
    auto check = [&whole](const std::string& text) {
        const DistanceMatrixRead read = readFor4(text);
        if (!read.ok()) {
            EXPECT_EQ(read.table.count, 0);
            return;
        }
        ++whole;
        ASSERT_EQ(read.table.count, 4);
        ASSERT_EQ(read.table.tenThousandths.size(), 16u);
        for (int i = 1; i <= 4; ++i)
            for (int j = 1; j <= 4; ++j) {
                EXPECT_EQ(read.table.at(i, j), read.table.at(j, i));
                EXPECT_GE(read.table.at(i, j), 0);
                if (i == j) {
                    EXPECT_EQ(read.table.at(i, j), 0);
                }
            }
    };
    std::uint32_t seed = 12345;
    for (const std::string& text : good) {
        for (std::size_t cut = 0; cut <= text.size(); ++cut)
            check(text.substr(0, cut));
        for (int k = 0; k < 300; ++k) {
            std::string damaged = text;
            seed = seed * 1664525u + 1013904223u;
            const std::size_t at = (seed >> 8) % damaged.size();
            const char bytes[] = { ';', ',', '"', '\n', '-', '0', '[', ']', '{', '\x8E', '\xC3', 'e', '\0' };
            damaged[at] = bytes[(seed >> 4) % sizeof bytes];
            check(damaged);
        }
    }
    EXPECT_GT(whole, 3); // the whole files and the harmless changes still read
}

// The delivery rounds run on the imported distances too: from the centre Nitra, with no limit,
// one round serves the three others, in the order of the shortest tour over the test's matrix
// (brute force over the six orders; the matrix keeps the triangle inequality, so no split into
// several rounds is shorter).
TEST(DistanceImport, DeliveryRoundsRunOnTheImportedDistances)
{
    auto project = std::make_unique<Project>();
    project->resetAtStart();
    ProjectSession session(*project);
    session.open(fourPlaceRecord(), "four.mzd");
    project->Record.CentralName = Text100::fromUtf8("Nitra");
    project->Record.CentralState = 2;
    project->Record.setCriterion(CritCentral, true);
    project->Record.setCriterion(CritCentral, true);
    const DistanceMatrixRead read
        = readDistanceMatrix("Nitra;Trnava;52,3\nNitra;Zlín;118,75\nNitra;Žilina;141,2\nTrnava;Zlín;96,"
                             "05\nTrnava;Žilina;158,9\nZlín;Žilina;98,4\n",
            project->Record, 4);
    ASSERT_TRUE(read.ok());
    ASSERT_TRUE(session.importDistances(read.table));

    const RoundsInput input = roundsProblem(*project);
    ASSERT_TRUE(input.problem) << input.refusal;
    const RoundsProblem& problem = *input.problem;
    ASSERT_EQ(problem.n, 3);
    auto place
        = [&problem](int node) { return node == 0 ? 1 : problem.placeNo[static_cast<std::size_t>(node)]; };
    for (int a = 0; a <= 3; ++a)
        for (int b = 0; b <= 3; ++b)
            EXPECT_EQ(problem.d(a, b), static_cast<double>(Road[place(a) - 1][place(b) - 1]) / 10000.0)
                << a << "," << b;

    double best = 0.0;
    std::vector<int> order { 2, 3, 4 };
    do {
        const double length = static_cast<double>(Road[0][order[0] - 1] + Road[order[0] - 1][order[1] - 1]
                                  + Road[order[1] - 1][order[2] - 1] + Road[order[2] - 1][0])
            / 10000.0;
        if (best == 0.0 || length < best)
            best = length;
    } while (std::next_permutation(order.begin(), order.end()));
    RoundsOptions options;
    options.threads = 1;
    const RoundsPlan plan = searchRounds(problem, options);
    ASSERT_EQ(plan.rounds.size(), 1u);
    EXPECT_NEAR(plan.total, best, 1e-9);
}
