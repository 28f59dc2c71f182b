#include "core/entry/GroupList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace dorvan;

namespace {
using Lines = std::vector<std::string>;
const std::string H1 = "--- Skupina 1 ---";
const std::string H2 = "--- Skupina 2 ---";
const std::string H3 = "--- Skupina 3 ---";

GroupLists lists(Lines places, Lines groups, int groupCount)
{
    GroupLists l;
    l.places = std::move(places);
    l.groups = std::move(groups);
    l.lastGroupItem = static_cast<int>(l.groups.size()) - 1;
    l.groupCount = groupCount;
    return l;
}
} // namespace

TEST(GroupList, HeaderLines)
{
    EXPECT_EQ(groupHeader(1), H1);
    EXPECT_EQ(groupHeader(12), "--- Skupina 12 ---");
    EXPECT_TRUE(isGroupHeader(H2));
    EXPECT_FALSE(isGroupHeader("--- Skupina  ---"));
    EXPECT_FALSE(isGroupHeader("--- Skupina x ---"));
    EXPECT_FALSE(isGroupHeader("Skupina 1"));
}

TEST(GroupList, FirstMoveOpensGroupOneAndLaterMovesGoWhereChosen)
{
    GroupLists l = lists({ "A", "B", "C", "D" }, {}, 0);
    MoveInResult m = moveIntoGroups(l, 0, -1);
    EXPECT_TRUE(m.moved);
    EXPECT_EQ(l.groups, (Lines { H1, "A" }));
    EXPECT_EQ(l.places, (Lines { "B", "C", "D" }));
    EXPECT_EQ(l.groupCount, 1);
    EXPECT_EQ(l.lastGroupItem, 1);

    // "OK" right after a header adds no second header; after a member it opens the next group.
    EXPECT_TRUE(confirmGroup(l).headerAdded);
    EXPECT_EQ(l.groups, (Lines { H1, "A", H2 }));
    ConfirmResult again = confirmGroup(l);
    EXPECT_TRUE(again.acted);
    EXPECT_FALSE(again.headerAdded);
    EXPECT_EQ(l.groups.size(), 3u);

    moveIntoGroups(l, 1, -1); // C goes to the last group
    EXPECT_EQ(l.groups, (Lines { H1, "A", H2, "C" }));
    moveIntoGroups(l, 0, 0); // B after the chosen line, the header of group 1
    EXPECT_EQ(l.groups, (Lines { H1, "B", "A", H2, "C" }));
    moveIntoGroups(l, 0, 4); // the chosen line is the last: appended
    EXPECT_EQ(l.groups, (Lines { H1, "B", "A", H2, "C", "D" }));
    EXPECT_EQ(l.lastGroupItem, 5);
    EXPECT_TRUE(l.places.empty());

    EXPECT_FALSE(confirmGroup(l).acted); // no place left to group
    EXPECT_FALSE(moveIntoGroups(l, 0, -1).moved);
}

TEST(GroupList, TakingTheOnlyMemberOutOfAMiddleGroupRenumbers)
{
    GroupLists l = lists({}, { H1, "A", H2, "B", H3, "C" }, 3);
    TakeOutResult t = takeOutOfGroups(l, 3);
    EXPECT_TRUE(t.moved);
    EXPECT_TRUE(t.emptyGroupRemoved);
    EXPECT_FALSE(t.emptyLastGroupRemoved);
    EXPECT_EQ(l.groups, (Lines { H1, "A", H2, "C" }));
    EXPECT_EQ(l.groupCount, 2);
    EXPECT_EQ(l.lastGroupItem, 3);
    EXPECT_EQ(l.places, (Lines { "B" }));

    // Headers do not move.
    EXPECT_FALSE(takeOutOfGroups(l, 2).moved);
    EXPECT_FALSE(takeOutOfGroups(l, 9).moved);

    // The last group left empty goes too; so does the last header of all.
    t = takeOutOfGroups(l, 3);
    EXPECT_TRUE(t.emptyLastGroupRemoved);
    EXPECT_EQ(l.groups, (Lines { H1, "A" }));
    EXPECT_EQ(l.groupCount, 1);
    t = takeOutOfGroups(l, 1);
    EXPECT_TRUE(t.groupsEmptied);
    EXPECT_TRUE(l.groups.empty());
    EXPECT_EQ(l.groupCount, 0);
    EXPECT_EQ(l.lastGroupItem, -1);
}

TEST(GroupList, NamesGoBackInCodePageOrder)
{
    GroupLists l = lists({ "Alfa", "Zeta", "ábel" }, { H1, "Šala", "Beta", "Omega" }, 1);
    EXPECT_EQ(takeOutOfGroups(l, 2).placeRow, 1);
    EXPECT_EQ(l.places, (Lines { "Alfa", "Beta", "Zeta", "ábel" }));
    // Š (0x8A) comes after Z but before á (0xE1) in the code page.
    EXPECT_EQ(takeOutOfGroups(l, 1).placeRow, 3);
    EXPECT_EQ(l.places, (Lines { "Alfa", "Beta", "Zeta", "Šala", "ábel" }));
    takeOutOfGroups(l, 1);
    EXPECT_EQ(l.places.back(), "ábel");
    EXPECT_EQ(l.places[2], "Omega");
}

TEST(GroupList, SelectedGroupsAreStoredWithTheirSizes)
{
    auto r = std::make_unique<TProjectRecord>();
    selectGroups({ H1, "A", "B", H2, "C" }, 2, 2, *r);
    EXPECT_EQ(r->GroupPlaceCount[1], 2);
    EXPECT_EQ(r->GroupPlaceCount[2], 1);
    EXPECT_EQ(r->GroupedPlaceName[1].toUtf8(), "A");
    EXPECT_EQ(r->GroupedPlaceName[2].toUtf8(), "B");
    EXPECT_EQ(r->GroupedPlaceName[3].toUtf8(), "C");

    // A just-opened empty last group, not yet in the shown count, leaves no stale size behind.
    r->GroupPlaceCount[2] = 7;
    selectGroups({ H1, "Žilina", H2 }, 1, 2, *r);
    EXPECT_EQ(r->GroupPlaceCount[1], 1);
    EXPECT_EQ(r->GroupPlaceCount[2], 0);
    EXPECT_EQ(r->GroupedPlaceName[1].toUtf8(), "Žilina");

    // An empty list or no shown group stores nothing.
    selectGroups({}, 3, 3, *r);
    selectGroups({ H1, "X" }, 0, 1, *r);
    EXPECT_EQ(r->GroupedPlaceName[1].toUtf8(), "Žilina");
}

TEST(GroupList, RebuiltFromStoredGroupsWithUngroupedPlacesAfter)
{
    auto r = std::make_unique<TProjectRecord>();
    const char* names[] = { "A", "B", "C", "D" };
    for (int k = 1; k <= 4; ++k)
        r->PlaceName[k] = Text100::fromUtf8(names[k - 1]);
    selectGroups({ H1, "A", "B", H2, "C" }, 2, 2, *r);
    r->GroupCount = 2;
    GroupLists l = buildGroupLists(*r, 4);
    EXPECT_EQ(l.groups, (Lines { H1, "A", "B", H2, "C" }));
    EXPECT_EQ(l.places, (Lines { "D" }));
    EXPECT_EQ(l.lastGroupItem, 4);
    EXPECT_EQ(l.groupCount, 2);

    r->GroupCount = 0;
    l = buildGroupLists(*r, 4);
    EXPECT_TRUE(l.groups.empty());
    EXPECT_EQ(l.places, (Lines { "A", "B", "C", "D" }));
    EXPECT_EQ(l.lastGroupItem, -1);
}

TEST(GroupList, DamagedStoredCountsStayInsideTheArrays)
{
    auto r = std::make_unique<TProjectRecord>();
    r->GroupCount = 5000;
    for (int g = 1; g <= 100; ++g)
        r->GroupPlaceCount[g] = g % 2 ? 300 : -4;
    GroupLists l;
    ASSERT_NO_THROW(l = buildGroupLists(*r, 120));
    EXPECT_EQ(l.groupCount, 100);
    EXPECT_EQ(l.groups.size(), 100u + 100u); // 100 headers and the 100 stored names

    // Storing a list longer than the arrays keeps the first 100 members.
    Lines many { H1 };
    for (int i = 0; i < 150; ++i) {
        std::string name = "P";
        name += std::to_string(i);
        many.push_back(name);
    }
    ASSERT_NO_THROW(selectGroups(many, 1, 1, *r));
    EXPECT_EQ(r->GroupPlaceCount[1], 100);
    ASSERT_NO_THROW(selectGroups(many, 5000, 5000, *r));
}
