#include "core/cli/PlaceCsv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace dorvan;
using dorvan::cli::CsvProblem;
using dorvan::cli::readPlaceCsv;

namespace {

// The problems as "line: message" texts, for readable failures.
std::vector<std::string> problemTexts(const cli::PlaceCsv& csv)
{
    std::vector<std::string> out;
    for (const CsvProblem& p : csv.problems)
        out.push_back(std::to_string(p.line) + ": " + p.message);
    return out;
}

bool hasProblem(const cli::PlaceCsv& csv, int line, const std::string& part)
{
    for (const CsvProblem& p : csv.problems)
        if (p.line == line && p.message.find(part) != std::string::npos)
            return true;
    return false;
}

std::string manyPlaces(int n)
{
    std::string s = "name;x;y\n";
    for (int i = 1; i <= n; ++i) {
        s += 'P';
        s += std::to_string(i);
        s += ';';
        s += std::to_string(i);
        s += ";0\n";
    }
    return s;
}

} // namespace

TEST(PlaceCsv, SemicolonListWithHeaderBecomesASortedProjectAsTypedEntryLeavesIt)
{
    const auto csv = readPlaceCsv("\xEF\xBB\xBF# towns\n"
                                  "name;x;y;quantity\r\n"
                                  "\n"
                                  "Žilina; 1,23456 ;2.5;3\r\n"
                                  "  # a note\n"
                                  "Miesto2;-4;0,00005;1\n"
                                  "\"Miesto10\";7;8;1,5\n");
    ASSERT_TRUE(csv.ok()) << testing::PrintToString(problemTexts(csv));
    EXPECT_TRUE(csv.header);
    EXPECT_EQ(csv.separator, ';');
    EXPECT_EQ(csv.columns, 4);
    ASSERT_EQ(csv.placeCount, 3);
    const TProjectRecord& r = csv.record;
    // Code-page order: Miesto10 before Miesto2, Ž (0x8E) after every ASCII letter.
    EXPECT_EQ(r.PlaceName[1].toUtf8(), "Miesto10");
    EXPECT_EQ(r.PlaceName[2].toUtf8(), "Miesto2");
    EXPECT_EQ(r.PlaceName[3].toUtf8(), "Žilina");
    // Four decimals, rounded to nearest, halves to even; every value moved with its place.
    EXPECT_EQ(r.PlaceX[3], 1.2346);
    EXPECT_EQ(r.PlaceY[3], 2.5);
    EXPECT_EQ(r.PlaceY[2], 0.0);
    EXPECT_EQ(r.PlaceQuantity[1], 1.5);
    EXPECT_EQ(r.PlaceQuantity[3], 3.0);
    EXPECT_EQ(r.PlacePrice[1], 1.0);
    EXPECT_EQ(r.PlaceFlexibility[2], 1);
    // The distance matrix of the sorted places.
    EXPECT_EQ(r.Distance[1][1], 0.0);
    EXPECT_DOUBLE_EQ(r.Distance[1][2], std::hypot(11.0, 8.0));
    EXPECT_EQ(r.Distance[2][1], r.Distance[1][2]);
    // Only the quantity column was there.
    EXPECT_EQ(r.CriterionOn[CritQuantity], 1);
    EXPECT_EQ(r.CriterionOn[CritPrice], 0);
    EXPECT_EQ(r.CriterionOn[CritFlexibility], 0);
    EXPECT_EQ(r.CriterionOn[CritGroups], 0);
    // What "Nový" leaves and saving sets.
    EXPECT_EQ(r.SavedPlaceCount, 3);
    EXPECT_EQ(r.VehicleCount, 1);
    EXPECT_EQ(r.VehicleSpeed, 0.0);
    EXPECT_FALSE(r.hasPicture());
}

TEST(PlaceCsv, CommaSeparatedListTakesPointsAndQuotedDecimalCommas)
{
    const auto csv = readPlaceCsv("\"Nitra, mesto\",1.5,\"2,5\",2,3,4\n"
                                  "\"Say \"\"Hi\"\"\", 3 ,\"4\",1,1,1\n");
    ASSERT_TRUE(csv.ok()) << testing::PrintToString(problemTexts(csv));
    EXPECT_FALSE(csv.header);
    EXPECT_EQ(csv.separator, ',');
    EXPECT_EQ(csv.record.PlaceName[1].toUtf8(), "Nitra, mesto");
    EXPECT_EQ(csv.record.PlaceY[1], 2.5);
    EXPECT_EQ(csv.record.PlaceName[2].toUtf8(), "Say \"Hi\"");
    EXPECT_EQ(csv.record.PlacePrice[1], 3.0);
    EXPECT_EQ(csv.record.PlaceFlexibility[1], 4);
    for (Criterion c : { CritQuantity, CritPrice, CritFlexibility })
        EXPECT_EQ(csv.record.CriterionOn[c], 1) << c;

    // A bare decimal comma in a comma-separated file splits the number: the line is refused
    // with the rule that avoids it.
    const auto bare = readPlaceCsv("A,1.5,2\nB,1,5,2\n");
    ASSERT_EQ(bare.problems.size(), 1u);
    EXPECT_TRUE(hasProblem(bare, 2, "4 fields, but the first line has 3"));
    EXPECT_TRUE(hasProblem(bare, 2, "decimal comma must be quoted"));
}

TEST(PlaceCsv, EveryBadLineIsReportedWithItsNumber)
{
    std::string text = "name;x;y;quantity;price;flexibility\n" // 1
                       "Good;1;2;1;1;1\n" // 2
                       ";1;2;1;1;1\n"; // 3: empty name
    text.append(101, 'n'); // 4
    text += ";1;2;1;1;1\n"
            "Snow\xE2\x98\x83;1;2;1;1;1\n" // 5: a character outside the code page
            "Tab\x01"
            "name;1;2;1;1;1\n" // 6
            "BadX;abc;2;1;1;1\n" // 7
            "BigY;1;99999999999999999;1;1;1\n" // 8
            "SmallQ;1;2;0,5;1;1\n" // 9
            "BadPrice;1;2;1;x;1\n" // 10
            "ZeroFlex;1;2;1;1;0\n" // 11
            "HalfFlex;1;2;1;1;2,5\n" // 12
            "Short;1;2\n" // 13
            "\"Open;1;2;1;1;1\n" // 14
            "\"Done\"x;1;2;1;1;1\n" // 15
            "Fine;3;4;1;1;1\n"; // 16
    const auto csv = readPlaceCsv(text);
    EXPECT_FALSE(csv.ok());
    EXPECT_TRUE(hasProblem(csv, 3, "the name is empty"));
    EXPECT_TRUE(hasProblem(csv, 4, "101 characters; at most 100"));
    EXPECT_TRUE(hasProblem(csv, 5, "Windows-1250 cannot store"));
    EXPECT_TRUE(hasProblem(csv, 6, "control character"));
    EXPECT_TRUE(hasProblem(csv, 7, "X \"abc\" is not a number"));
    EXPECT_TRUE(hasProblem(csv, 8, "Y \"99999999999999999\" is too large"));
    EXPECT_TRUE(hasProblem(csv, 9, "quantity \"0,5\" is below 1"));
    EXPECT_TRUE(hasProblem(csv, 10, "price \"x\" is not a number"));
    EXPECT_TRUE(hasProblem(csv, 11, "flexibility \"0\" is not a whole number"));
    EXPECT_TRUE(hasProblem(csv, 12, "flexibility \"2,5\" is not a whole number"));
    EXPECT_TRUE(hasProblem(csv, 13, "3 fields, but the first line has 6"));
    EXPECT_TRUE(hasProblem(csv, 14, "quote is not closed"));
    EXPECT_TRUE(hasProblem(csv, 15, "text after the closing quote"));
    // One problem for each bad line, none for the good ones.
    EXPECT_EQ(csv.problems.size(), 13u) << testing::PrintToString(problemTexts(csv));

    // A name of exactly 100 characters is whole; quantity and price of exactly 1 pass.
    std::string edgeText(100, 'n');
    edgeText += ";1;2;1;1;2147483647\nB;3;4;1,0;1.0000;1\n";
    const auto edge = readPlaceCsv(edgeText);
    ASSERT_TRUE(edge.ok()) << testing::PrintToString(problemTexts(edge));
    EXPECT_EQ(edge.record.PlaceName[2].length(), 100);
    EXPECT_EQ(edge.record.PlaceFlexibility[2], 2147483647);
    EXPECT_TRUE(hasProblem(readPlaceCsv("A;1;2;1;1;2147483648\nB;3;4;1;1;1\n"), 1, "flexibility"));
}

TEST(PlaceCsv, PlaceCountAndCoordinatesFollowTheRulesOfTypedEntry)
{
    EXPECT_TRUE(readPlaceCsv(manyPlaces(99)).ok());
    EXPECT_EQ(readPlaceCsv(manyPlaces(2)).placeCount, 2);

    const auto hundred = readPlaceCsv(manyPlaces(101));
    ASSERT_EQ(hundred.problems.size(), 1u);
    EXPECT_EQ(hundred.problems[0], (CsvProblem { 101, "place 100: a project holds at most 99 places" }));

    const auto one = readPlaceCsv("name;x;y\nA;1;2\n");
    ASSERT_EQ(one.problems.size(), 1u);
    EXPECT_EQ(one.problems[0].line, 0);
    EXPECT_NE(one.problems[0].message.find("1 place"), std::string::npos);
    EXPECT_FALSE(readPlaceCsv("# only a note\n\n").ok());
    EXPECT_FALSE(readPlaceCsv("").ok());

    const auto equal = readPlaceCsv("A;1;2\nB;1,00001;2\n");
    ASSERT_EQ(equal.problems.size(), 1u);
    EXPECT_EQ(equal.problems[0].message, "all places have the same coordinates");
    EXPECT_TRUE(readPlaceCsv("A;1;2\nB;1,0001;2\n").ok());

    // Two or seven fields cannot be a place list at all.
    EXPECT_TRUE(hasProblem(readPlaceCsv("A;1\nB;2\n"), 1, "2 fields"));
    EXPECT_TRUE(hasProblem(readPlaceCsv("A;1;2;1;1;1;1\nB;2;3;1;1;1;1\n"), 1, "7 fields"));
}

TEST(PlaceCsv, HeaderOnlyWhenNeitherCoordinateIsANumberAndWindows1250Files)
{
    // A first line with one good coordinate is a bad place, not a header.
    const auto bad = readPlaceCsv("A;x;2\nB;1;2\nC;3;4\n");
    EXPECT_TRUE(hasProblem(bad, 1, "X \"x\" is not a number"));
    EXPECT_FALSE(bad.header);

    // A file that is not UTF-8 is Windows-1250: 0x9E is ž, 0xBE is ľ.
    const auto cp = readPlaceCsv("Topo\xBE\x10"
                                 "any;1;2\n\x9E"
                                 "iar;3;4\n");
    EXPECT_FALSE(cp.ok()); // 0x10 is a control character
    const auto cp2 = readPlaceCsv("Topo\xBE"
                                  "\xE8"
                                  "any;1;2\n\x9E"
                                  "iar;3;4\n");
    ASSERT_TRUE(cp2.ok()) << testing::PrintToString(problemTexts(cp2));
    EXPECT_EQ(cp2.record.PlaceName[1].toUtf8(), "Topoľčany");
    EXPECT_EQ(cp2.record.PlaceName[2].toUtf8(), "žiar");
    // A byte that has no character in Windows-1250 either.
    EXPECT_TRUE(hasProblem(readPlaceCsv("A;1;2\nB\x81;3;4\n"), 2, "neither UTF-8 nor Windows-1250"));

    EXPECT_TRUE(cli::isValidUtf8("Žilina \xE2\x82\xAC"));
    EXPECT_FALSE(cli::isValidUtf8("\xC0\xAF")); // overlong
    EXPECT_FALSE(cli::isValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(cli::isValidUtf8("\xE2\x82")); // cut short
}

// One run lists every bad line in the order of the file: a repeated name (as duplicates are
// told: letter case and surrounding spaces aside) beside the refused fields, also when the
// earlier line with that name is refused for another field.
TEST(PlaceCsv, RepeatedNamesAreListedWithTheOtherBadLinesInFileOrder)
{
    const auto csv = readPlaceCsv("name;x;y\n" // 1
                                  "A;1;1\n" // 2
                                  "B;x;2\n" // 3: X refused, the name is good
                                  " a ;3;3\n" // 4: A again
                                  "C;4;4\n" // 5
                                  "b;5;y\n" // 6: Y refused and B again
                                  ";6;6\n" // 7: no name, so no repeat either
                                  "CC;7;7\n" // 8
                                  "c;8;8\n"); // 9: C again
    const std::vector<std::string> expected { "3: X \"x\" is not a number", "4: Miesto a už existuje !!!",
        "6: Y \"y\" is not a number", "6: Miesto b už existuje !!!", "7: the name is empty",
        "9: Miesto c už existuje !!!" };
    EXPECT_EQ(problemTexts(csv), expected);
}

// Plain X/Y larger than 10 000 in size look like metres of a national grid: still read as
// kilometres, with a notice; never for latitude/longitude or a grid given with its system.
TEST(PlaceCsv, MetreSizedPlainCoordinatesGiveANotice)
{
    struct Case {
        const char* csv;
        const char* crs;
        bool metres;
    };
    const Case cases[] = {
        { "A;10000;0\nB;0;-10000\n", "", false }, // exactly 10 000: not over
        { "A;10000,0001;0\nB;0;0\n", "", true },
        { "A;1;2\nB;3;-10000,5\n", "", true },
        { "A;-568000;-1160000\nB;-560000;-1200000\n", "", true },
        { "A;-568000;-1160000\nB;-560000;-1200000\n", "EPSG:5514", false },
        { "name;lat;lon\nA;48;17\nB;49;18\n", "", false },
    };
    for (const Case& c : cases) {
        const auto csv = readPlaceCsv(c.csv, { c.crs });
        ASSERT_TRUE(csv.ok()) << c.csv << testing::PrintToString(problemTexts(csv));
        EXPECT_EQ(csv.metreSized, c.metres) << c.csv;
        EXPECT_EQ(csv.notices.size(), c.metres ? 1u : 0u) << c.csv;
        if (c.metres) {
            EXPECT_NE(csv.notices[0].find("--crs EPSG:5514"), std::string::npos);
            EXPECT_EQ(csv.reference, ""); // still plain kilometres
        }
    }
}

TEST(PlaceCsv, SystemTypedByTheUserBecomesAnEpsgCode)
{
    const std::pair<const char*, const char*> cases[] = {
        { "", "" },
        { "  \t", "" },
        { "5514", "EPSG:5514" },
        { " 32633 ", "EPSG:32633" },
        { "epsg:5514", "EPSG:5514" },
        { " Epsg : 5514 ", "EPSG:5514" },
        { "EPSG:", "EPSG:" },
        { "S-JTSK", "S-JTSK" },
        { "55 14", "55 14" },
        { "-5514", "-5514" },
    };
    for (const auto& [typed, code] : cases)
        EXPECT_EQ(cli::crsFromUserText(typed), code) << '"' << typed << '"';
}
