#include "core/allocation/CooperRunText.h"

#include "core/allocation/CooperRunDriver.h"
#include "core/entry/GroupList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

const std::string Comma = ",";

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

TEST(CooperRunText, IteratesAreRoundedToFourDecimalsAndPlacesKeepFifteenDigits)
{
    EXPECT_EQ(formatIterate(12.5L, Comma), "12,5");
    EXPECT_EQ(formatIterate(3.0L, Comma), "3");
    EXPECT_EQ(formatIterate(3.106747098767042L, Comma), "3,1067");
    EXPECT_EQ(formatIterate(3.333333333333333333L, Comma), "3,3333");
    EXPECT_EQ(formatIterate(-0.12346L, Comma), "-0,1235");
    EXPECT_EQ(formatIterate(-0.123449L, Comma), "-0,1234");
    EXPECT_EQ(formatIterate(0.00004L, Comma), "0");
    EXPECT_EQ(formatIterate(-7.00001L, Comma), "-7");
    EXPECT_EQ(formatIterate(2.5L, "."), "2.5");
    // Beyond the count of ten-thousandths, and not finite: still a text, no crash.
    EXPECT_FALSE(formatIterate(1.0e30L, Comma).empty());
    EXPECT_FALSE(formatIterate(std::numeric_limits<long double>::quiet_NaN(), Comma).empty());

    // Place coordinates are not rounded to four decimals.
    EXPECT_EQ(formatCoordinate(12.5, Comma), "12,5");
    EXPECT_EQ(formatCoordinate(-3.0, Comma), "-3");
    EXPECT_EQ(formatCoordinate(0.1, Comma), "0,1");
    EXPECT_EQ(formatCoordinate(1.23456, Comma), "1,23456");
    EXPECT_EQ(formatCoordinate(1234567.891, Comma), "1234567,891");
}

TEST(CooperRunText, PanelsAreSevenPixelsACharacterAndTenMore)
{
    EXPECT_EQ(textPanelWidth(""), 10);
    EXPECT_EQ(textPanelWidth("[X0;Y0]=[5;3,3333]"), 7 * 18 + 10);
    // Characters, not bytes: "Žilina" is six characters in seven bytes.
    EXPECT_EQ(textPanelWidth("Žilina"), 52);
    EXPECT_EQ(fitPanelWidth(100, "abc"), 100) << "a wider panel stays";
    EXPECT_EQ(fitPanelWidth(10, "abc"), 31);
}

TEST(CooperRunText, PathListsTheXMoveAndTheWholeStepOfEveryIteration)
{
    CooperHistory x, y;
    x[1] = 5.0L;
    y[1] = 10.0L / 3.0L;
    x[2] = 5.0L;
    y[2] = 3.106747098767042L;
    x[3] = 4.99995L;
    y[3] = 3.1L;

    // One step: three lines; the middle one keeps the old Y.
    EXPECT_EQ(iterationLines(x, y, 2, Comma),
        (std::vector<std::string> { "[X0;Y0]=[5;3,3333]", "[X1;Y0]=[5;3,3333]", "[X1,Y1]=[5;3,1067]" }));
    EXPECT_EQ(optimumLine(x, y, 2, Comma), "[X1,Y1]=[5;3,1067]");

    const auto two = iterationLines(x, y, 3, Comma);
    ASSERT_EQ(two.size(), 5u);
    EXPECT_EQ(two[3], "[X2;Y1]=[5;3,1067]");
    EXPECT_EQ(two[4], "[X2,Y2]=[5;3,1]");
    EXPECT_EQ(optimumLine(x, y, 3, Comma), two.back());

    // No result yet, or a count beyond the history: nothing read outside it.
    EXPECT_TRUE(iterationLines(x, y, 0, Comma).empty());
    EXPECT_EQ(optimumLine(x, y, 0, Comma), "");
    EXPECT_EQ(iterationLines(x, y, 5000, Comma).size(), 1999u);
    EXPECT_EQ(optimumLine(x, y, 5000, Comma).rfind("[X999,Y999]=", 0), 0u);
}

TEST(CooperRunText, PlaceMemberAndCentreLines)
{
    EXPECT_EQ(placeLine(ChartDataMode::Manual, 3, "Nitra", 5.0, 10.25, Comma), "M3: Nitra, [5;10,25]");
    EXPECT_EQ(placeLine(ChartDataMode::Picture, 3, "Nitra", 5.0, -1.5, Comma), "Nitra, [5;-1,5]");
    EXPECT_EQ(memberLine(12, "Žilina", true, 0.5, 7.0, Comma), "M12: Žilina, [0,5;7]");
    EXPECT_EQ(memberLine(4, "Gone", false, 99.0, 99.0, Comma), "M4: Gone, [?;?]");
    EXPECT_EQ(groupOptimumLine(3, 4.56789L, -2.0L, Comma), "[Xopt3;Yopt3]=[4,5679;-2]");
}

TEST(CooperRunText, GroupCountAndMembersFromTheGroupList)
{
    EXPECT_EQ(groupCountFromText("3"), 3);
    EXPECT_EQ(groupCountFromText(" 2 "), 2);
    EXPECT_EQ(groupCountFromText("0"), 0);
    EXPECT_EQ(groupCountFromText(""), 0);
    EXPECT_EQ(groupCountFromText("-2"), 0);
    EXPECT_EQ(groupCountFromText("x"), 0);
    EXPECT_EQ(groupCountFromText("99999999999999999999"), MaxRunGroups);

    const std::vector<std::string> list { "--- Skupina 1 ---", "A", "B", "C", "--- Skupina 2 ---", "D", "E",
        "--- Skupina 3 ---", "F" };
    const DistributionGroups groups = groupsFromLines(list, 3);
    EXPECT_EQ(groups.Count, 3);
    EXPECT_EQ(groups.members(1), (std::vector<std::string> { "A", "B", "C" }));
    EXPECT_EQ(groups.members(2), (std::vector<std::string> { "D", "E" }));
    EXPECT_EQ(groups.members(3), (std::vector<std::string> { "F" }));
    EXPECT_TRUE(groups.members(4).empty()) << "a group without its header is empty";
    EXPECT_TRUE(groups.members(0).empty());

    // A missing header does not hand the next group's header and members to the one before.
    const DistributionGroups gap = groupsFromLines({ "--- Skupina 1 ---", "A", "--- Skupina 3 ---", "B" }, 3);
    EXPECT_EQ(gap.members(1), (std::vector<std::string> { "A" }));
    EXPECT_TRUE(gap.members(2).empty());
    EXPECT_EQ(gap.members(3), (std::vector<std::string> { "B" }));
    EXPECT_TRUE(groupsFromLines({ "A", "B" }, 1).Groups.empty()) << "lines before any header";

    // A run takes names cut to 100 characters, whole characters, and at most 100 members.
    std::vector<std::string> longOnes { "--- Skupina 1 ---", repeat("č", 150) };
    for (int i = 0; i < 120; ++i) {
        std::string name = "P";
        name += std::to_string(i);
        longOnes.push_back(name);
    }
    const auto members = groupRunMembers(groupsFromLines(longOnes, 1), 1);
    ASSERT_EQ(members.size(), 100u);
    EXPECT_EQ(members[0], repeat("č", 100));
    EXPECT_EQ(members[99], "P98");
}

TEST(CooperRunText, GapsAreWrittenInPercentToFourDigitsWithoutExponent)
{
    struct Case {
        long double gap; // as a fraction
        const char* separator;
        const char* percent;
    };
    const Case cases[] = {
        { 1.191e-7L, ",", "0,00001191" },
        { 1.5e-9L, ",", "0,00000015" },
        { 0.0023L, ",", "0,23" },
        { 0.0123456L, ",", "1,235" },
        { 0.0023L, ".", "0.23" },
        { 0.000099996L, ",", "0,01" }, // 0,0099996 rounds up to the next power of ten
        { 0.99999999L, ",", "100" },
        { 1.0L, ",", "100" },
        { 0.0L, ",", "0" },
        { 0.4567891L, ",", "45,68" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        EXPECT_EQ(gapText(c.gap, c.separator),
            std::string("Výsledok je nanajvýš o ") + c.percent + " % horší ako optimum");
    }
}
