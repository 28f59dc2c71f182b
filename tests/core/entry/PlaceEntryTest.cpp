#include "core/entry/PlaceEntry.h"

#include "core/entry/PlaceList.h"
#include "core/project/Project.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace dorvan;

namespace {

// A project as "Nový" leaves it for a new data-entry window.
std::unique_ptr<Project> newProject()
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    p->State.NextPlace = 1;
    p->State.EntryStarted = true;
    return p;
}

std::string placeName(const Project& p, int n)
{
    return p.Record.PlaceName[n].toUtf8();
}

struct Typed {
    std::string name, x, y;
};

// Types one place and settles the list, as the OK button does.
ListSettling type(PlaceEntry& entry, const Typed& t)
{
    PlaceOutcome placed = entry.acceptPlace({ t.name, t.x, t.y });
    EXPECT_TRUE(placed.handled) << t.name;
    EXPECT_EQ(placed.refused, PlaceField::None) << t.name << ": " << placed.message;
    return entry.settleTypedList();
}

// A count and its places, each place at (i, 2i).
void typeList(PlaceEntry& entry, const std::vector<std::string>& names)
{
    ASSERT_TRUE(entry.acceptCount(std::to_string(names.size())).message.empty());
    for (std::size_t i = 0; i < names.size(); ++i)
        type(entry, { names[i], std::to_string(i), std::to_string(2 * i) });
}

TEST(PlaceEntry, FirstCountTakesTwoToNinetyNine)
{
    struct Case {
        const char* text;
        std::string_view message;
        int count; // the accepted total
    };
    const Case cases[] = {
        { "0", InvalidCountText, 0 },
        { "1", InvalidCountText, 0 },
        { "abc", InvalidCountText, 0 },
        { "", InvalidCountText, 0 },
        { "-3", InvalidCountText, 0 },
        { "2,5", InvalidCountText, 0 },
        { "100", TotalOver99Text, 0 },
        { "1000000000000000000000", TotalOver99Text, 0 },
        { "2", {}, 2 },
        { "99", {}, 99 },
        { " 7 ", {}, 7 },
    };
    for (const Case& c : cases) {
        auto project = newProject();
        project->State.AddCount = 5; // left over from nowhere: a first count clears it
        PlaceEntry entry(*project);
        const CountOutcome out = entry.acceptCount(c.text);
        EXPECT_TRUE(out.handled) << c.text;
        EXPECT_FALSE(out.showAddPrompt) << c.text;
        EXPECT_EQ(out.message, c.message) << c.text;
        const bool accepted = c.count > 0;
        EXPECT_EQ(out.raiseFirstCountAccepted, accepted) << c.text;
        EXPECT_EQ(out.askPlace, accepted ? 1 : 0) << c.text;
        EXPECT_EQ(project->State.PlaceCount, c.count) << c.text;
        EXPECT_EQ(project->State.NextPlace, 1) << c.text;
        EXPECT_EQ(project->State.AddCount, 0) << c.text;
        EXPECT_FALSE(project->State.AddPlacesMode) << c.text;
        EXPECT_TRUE(project->State.FirstEntryMode) << c.text;
        EXPECT_EQ(project->Record.DistanceEntryState, 0) << c.text;
    }
}

TEST(PlaceEntry, CountFieldMeansNothingOutsideBothModes)
{
    auto project = newProject();
    project->State.FirstEntryMode = false;
    PlaceEntry entry(*project);
    const CountOutcome out = entry.acceptCount("5");
    EXPECT_FALSE(out.handled);
    EXPECT_FALSE(out.raiseFirstCountAccepted);
    EXPECT_EQ(project->State.PlaceCount, 0);

    // Nor is any place awaited before a count.
    EXPECT_FALSE(entry.acceptPlace({ "A", "1", "1" }).handled);
    EXPECT_TRUE(project->Record.PlaceName[1].empty());
}

TEST(PlaceEntry, AddedPlacesKeepTheTotalBelowOneHundred)
{
    struct Case {
        const char* text;
        std::string_view message;
        bool raised; // a number at all fixes the input mode
        int placeCount;
    };
    // On top of 97 entered places.
    const Case cases[] = {
        { "0", InvalidCountText, false, 97 },
        { "-1", InvalidCountText, false, 97 },
        { "abc", InvalidCountText, false, 97 },
        { "", InvalidCountText, false, 97 },
        { "3", TotalOver99Text, true, 97 },
        { "50", TotalOver99Text, true, 97 },
        { "2", {}, true, 99 },
        { "1", {}, true, 98 },
    };
    std::vector<std::string> names;
    for (int i = 1; i <= 97; ++i)
        names.push_back("P" + std::to_string(100 + i));
    for (const Case& c : cases) {
        auto project = newProject();
        PlaceEntry entry(*project);
        typeList(entry, names);
        ASSERT_TRUE(project->State.AddPlacesMode);
        ASSERT_EQ(project->State.NextPlace, 98);

        const CountOutcome out = entry.acceptCount(c.text);
        EXPECT_TRUE(out.handled) << c.text;
        EXPECT_TRUE(out.showAddPrompt) << c.text;
        EXPECT_EQ(out.message, c.message) << c.text;
        EXPECT_EQ(out.raiseFirstCountAccepted, c.raised) << c.text;
        EXPECT_EQ(project->State.PlaceCount, c.placeCount) << c.text;
        EXPECT_EQ(project->State.NextPlace, 98) << c.text;
        const bool accepted = c.message.empty();
        EXPECT_EQ(out.askPlace, accepted ? 98 : 0) << c.text;
        EXPECT_EQ(project->State.AddCount, accepted ? c.placeCount - 97 : 0) << c.text;
        EXPECT_EQ(project->State.PlacesComplete, !accepted) << c.text;
        EXPECT_EQ(project->State.FirstEntryMode, !accepted) << c.text;
        EXPECT_EQ(project->Record.EntryStateA, accepted ? 1 : 0) << c.text;
        EXPECT_EQ(project->Record.EntryStateB, accepted ? 1 : 0) << c.text;
        EXPECT_EQ(project->Record.DistanceEntryState, accepted ? 1 : 0) << c.text;
        // An addition asks only for the pairs of the places to come; a refused count leaves the
        // first list's pairs asked.
        EXPECT_EQ(entry.distanceQuestions().next(97).has_value(), !accepted) << c.text;
    }
}

TEST(PlaceEntry, ACountTypedAgainDuringAnAdditionCountsFromTheEnteredPlaces)
{
    auto project = newProject();
    auto& s = project->State;
    PlaceEntry entry(*project);
    typeList(entry, { "A", "B" });
    ASSERT_TRUE(entry.acceptCount("2").message.empty());
    type(entry, { "C", "5", "5" });
    ASSERT_EQ(s.NextPlace, 4);
    ASSERT_EQ(s.PlaceCount, 4);

    // Too many on top of the three entered places: the addition under way goes on unchanged.
    CountOutcome out = entry.acceptCount("97");
    EXPECT_EQ(out.message, TotalOver99Text);
    EXPECT_EQ(s.NextPlace, 4);
    EXPECT_EQ(s.PlaceCount, 4);
    EXPECT_EQ(s.AddCount, 2);

    // One more than the entered places: no place is left out unentered, and the addition still
    // started from the two places of the complete list.
    out = entry.acceptCount("1");
    EXPECT_TRUE(out.message.empty());
    EXPECT_EQ(out.askPlace, 4);
    EXPECT_EQ(s.NextPlace, 4);
    EXPECT_EQ(s.PlaceCount, 4);
    EXPECT_EQ(s.AddCount, 1);

    const ListSettling last = type(entry, { "D", "7", "7" });
    EXPECT_TRUE(last.completed);
    EXPECT_EQ(s.PlaceCount, 4);
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(placeName(*project, k), std::string(1, static_cast<char>('A' + k - 1)));
    // Both C and D are added places: their pairs are asked, each once.
    std::vector<std::pair<int, int>> asked;
    DistanceQuestions& q = entry.distanceQuestions();
    while (auto c = q.next(4)) {
        asked.emplace_back(c->row, c->col);
        q.answered(*c);
    }
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>> { { 3, 1 }, { 3, 2 }, { 3, 4 }, { 4, 1 }, { 4, 2 } }));
}

TEST(PlaceEntry, BadFieldsAreRefusedOneAtATimeAndStoreNothing)
{
    struct Case {
        Typed typed;
        PlaceField field;
        std::string_view message; // empty: a code-page message naming the code page
    };
    const Case cases[] = {
        { { "", "1", "1" }, PlaceField::Name, BadPlaceNameText },
        { { "", "x", "y" }, PlaceField::Name, BadPlaceNameText },
        { { "Tōkyō", "1", "1" }, PlaceField::Name, {} },
        { { "Nitra", "1,2,3", "1" }, PlaceField::X, BadCoordinateXText },
        { { "Nitra", "", "y" }, PlaceField::X, BadCoordinateXText },
        { { "Nitra", "1e3", "1" }, PlaceField::X, BadCoordinateXText },
        { { "Nitra", "4.5", "y" }, PlaceField::Y, BadCoordinateYText },
        { { "Nitra", "4.5", "" }, PlaceField::Y, BadCoordinateYText },
    };
    for (const Case& c : cases) {
        auto project = newProject();
        PlaceEntry entry(*project);
        ASSERT_TRUE(entry.acceptCount("2").message.empty());
        const PlaceOutcome out = entry.acceptPlace({ c.typed.name, c.typed.x, c.typed.y });
        EXPECT_TRUE(out.handled) << c.typed.name << c.typed.x << c.typed.y;
        EXPECT_EQ(out.refused, c.field) << c.typed.name << c.typed.x << c.typed.y;
        if (c.message.empty())
            EXPECT_NE(out.message.find("Windows-1250"), std::string::npos) << out.message;
        else
            EXPECT_EQ(out.message, c.message) << c.typed.name << c.typed.x << c.typed.y;
        EXPECT_EQ(out.stored, 0);
        EXPECT_EQ(out.askPlace, 0);
        EXPECT_EQ(project->State.NextPlace, 1);
        EXPECT_TRUE(project->Record.PlaceName[1].empty());
        EXPECT_FALSE(entry.settleTypedList().settled);
    }
}

TEST(PlaceEntry, EnterInTheNameAndXBoxesChecksOnlyThatBox)
{
    EXPECT_EQ(nameOnEnterMessage(""), BadPlaceNameText);
    EXPECT_TRUE(nameOnEnterMessage("Nitra").empty());
    // The code page is looked at only when the place is stored.
    EXPECT_TRUE(nameOnEnterMessage("Tōkyō").empty());
    EXPECT_EQ(xOnEnterMessage("1,2,3"), BadCoordinateXText);
    EXPECT_EQ(xOnEnterMessage(""), BadCoordinateXText);
    EXPECT_TRUE(xOnEnterMessage("4.5").empty());
    EXPECT_TRUE(xOnEnterMessage("-0,00001").empty());
}

TEST(PlaceEntry, CoordinatesAreReadToFourDecimalsHalvesToEven)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        { "4.5", 4.5 },
        { "-1", -1.0 },
        { "2,50", 2.5 },
        { "1,23456", 1.2346 },
        { "0,00005", 0.0 },
        { "0,00015", 0.0002 },
        { "0,00025", 0.0002 },
        { "-0,00035", -0.0004 },
        { "1,00001", 1.0 },
        { " 7,25 ", 7.25 },
    };
    for (const Case& c : cases) {
        auto project = newProject();
        PlaceEntry entry(*project);
        ASSERT_TRUE(entry.acceptCount("2").message.empty());
        const PlaceOutcome out = entry.acceptPlace({ "A", c.text, c.text });
        ASSERT_EQ(out.refused, PlaceField::None) << c.text;
        EXPECT_EQ(project->Record.PlaceX[1], c.value) << c.text;
        EXPECT_EQ(project->Record.PlaceY[1], c.value) << c.text;
    }
}

TEST(PlaceEntry, PlacesGoWhereTheyAreAwaitedAndAreSortedFromTheSecondOn)
{
    auto project = newProject();
    const auto& r = project->Record;
    PlaceEntry entry(*project);
    ASSERT_EQ(entry.acceptCount("5").askPlace, 1);

    PlaceOutcome out = entry.acceptPlace({ "B", "2,50", "1,23456" });
    EXPECT_EQ(out.stored, 1);
    EXPECT_EQ(out.askPlace, 2);
    EXPECT_EQ(r.PlaceQuantity[1], 1.0);
    EXPECT_EQ(r.PlacePrice[1], 1.0);
    EXPECT_EQ(r.PlaceFlexibility[1], 1);
    EXPECT_FALSE(entry.settleTypedList().settled); // one place: nothing to sort

    out = entry.acceptPlace({ "A", "3", "0,00005" });
    EXPECT_EQ(out.stored, 2);
    EXPECT_EQ(out.askPlace, 3);
    EXPECT_EQ(placeName(*project, 2), "A"); // stored where awaited ...
    ListSettling settled = entry.settleTypedList();
    EXPECT_TRUE(settled.settled);
    EXPECT_FALSE(settled.completed);
    EXPECT_EQ(placeName(*project, 1), "A"); // ... then sorted
    EXPECT_EQ(placeName(*project, 2), "B");
    EXPECT_EQ(r.PlaceX[1], 3.0);
    EXPECT_EQ(r.PlaceY[2], 1.2346);
    EXPECT_EQ(r.Distance[1][2], r.Distance[2][1]);
    EXPECT_NEAR(r.Distance[1][2], std::hypot(0.5, 1.2346), 1e-15);
    EXPECT_EQ(r.Distance[1][1], 0.0);

    // A refused place from the third on still leaves the list sorted, but not complete.
    out = entry.acceptPlace({ "", "0", "0" });
    EXPECT_EQ(out.refused, PlaceField::Name);
    settled = entry.settleTypedList();
    EXPECT_TRUE(settled.settled);
    EXPECT_FALSE(settled.completed);

    // Code-page order: digits one by one, Š after the plain letters.
    type(entry, { "Miesto2", "0", "0" });
    type(entry, { "Šala", "0", "0" });
    out = entry.acceptPlace({ "Miesto10", "0", "0" });
    EXPECT_EQ(out.stored, 5);
    EXPECT_EQ(out.askPlace, 0);
    settled = entry.settleTypedList();
    EXPECT_TRUE(settled.completed);
    const char* expected[] = { "A", "B", "Miesto10", "Miesto2", "Šala" };
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(placeName(*project, k), expected[k - 1]);

    // Nothing more is awaited.
    EXPECT_FALSE(entry.acceptPlace({ "C", "1", "1" }).handled);
}

TEST(PlaceEntry, ACompleteListTicksTheSettingsUnlessAllPlacesShareOneSpot)
{
    struct Case {
        std::vector<Typed> places;
        bool differ;
    };
    const Case cases[] = {
        { { { "A", "0", "0" }, { "B", "1", "2" }, { "C", "2", "4" } }, true },
        { { { "A", "1", "1" }, { "B", "1,00001", "1" } }, false }, // rounds to the same spot
        { { { "A", "1", "1" }, { "B", "1", "1,0001" } }, true },
        { { { "A", "5", "5" }, { "B", "5", "5" }, { "C", "5", "5" } }, false },
    };
    for (const Case& c : cases) {
        auto project = newProject();
        const auto& s = project->State;
        PlaceEntry entry(*project);
        ASSERT_TRUE(entry.acceptCount(std::to_string(c.places.size())).message.empty());
        ListSettling settled;
        for (const Typed& t : c.places)
            settled = type(entry, t);
        EXPECT_TRUE(settled.completed) << c.places[1].x;
        EXPECT_EQ(settled.completion.tickSettings, c.differ) << c.places[1].x;
        EXPECT_EQ(settled.completion.message, c.differ ? std::string_view() : AllAtOneSpotText);
        EXPECT_EQ(s.CoordsDiffer, c.differ);
        EXPECT_TRUE(s.PlacesComplete);
        EXPECT_TRUE(s.AddPlacesMode);
        EXPECT_TRUE(s.EntryClosable);
        EXPECT_FALSE(s.EntryStarted);
        EXPECT_EQ(s.NextPlace, static_cast<int>(c.places.size()) + 1);
    }
}

TEST(PlaceEntry, CaptionsNameThePlaceAskedFor)
{
    const PlaceCaptions atRest = placeCaptions(0);
    EXPECT_EQ(atRest.group, " Vstupné hodnoty MIESTA ");
    EXPECT_EQ(atRest.name, "Meno MIESTA");
    EXPECT_EQ(atRest.x, "Súradnica X");
    EXPECT_EQ(atRest.y, "Súradnica Y");
    const PlaceCaptions asked = placeCaptions(98);
    EXPECT_EQ(asked.group, " Vstupné hodnoty MIESTA_98");
    EXPECT_EQ(asked.name, "Meno MIESTA_98");
    EXPECT_EQ(asked.x, "Súradnica X_98");
    EXPECT_EQ(asked.y, "Súradnica Y_98");
}

TEST(PlaceEntry, ClickedPlacesCompleteTheListFromTheThirdOn)
{
    auto project = newProject();
    const auto& s = project->State;
    const auto& r = project->Record;
    PlaceEntry entry(*project);

    const ClickTarget first = entry.clickTarget();
    EXPECT_EQ(first.place, 1);
    EXPECT_TRUE(first.setsRange);
    ClickedPlace clicked = entry.storeClickedPlace(1, 10, 10);
    EXPECT_FALSE(clicked.raiseSettingsOn);
    EXPECT_FALSE(clicked.completesList);
    EXPECT_EQ(placeName(*project, 1), "A01");
    EXPECT_EQ(s.PlaceCount, 1);

    const ClickTarget second = entry.clickTarget();
    EXPECT_EQ(second.place, 2);
    EXPECT_FALSE(second.setsRange);
    clicked = entry.storeClickedPlace(2, 10, 10);
    EXPECT_TRUE(clicked.raiseSettingsOn);
    EXPECT_FALSE(clicked.completesList);
    EXPECT_FALSE(s.CoordsDiffer);

    clicked = entry.storeClickedPlace(entry.clickTarget().place, 10, 10);
    EXPECT_TRUE(clicked.completesList);
    ListCompletion done = entry.completeClickedList();
    EXPECT_FALSE(done.tickSettings);
    EXPECT_EQ(done.message, AllAtOneSpotText);
    EXPECT_TRUE(s.PlacesComplete);
    EXPECT_TRUE(s.AddPlacesMode);
    EXPECT_TRUE(s.EntryClosable);
    EXPECT_FALSE(s.EntryStarted);

    for (int k = 4; k <= 10; ++k) {
        ASSERT_EQ(entry.clickTarget().place, k);
        EXPECT_TRUE(entry.storeClickedPlace(k, 2.0 * k, 3).completesList);
    }
    done = entry.completeClickedList();
    EXPECT_TRUE(done.tickSettings);
    EXPECT_TRUE(done.message.empty());
    EXPECT_EQ(placeName(*project, 9), "A09");
    EXPECT_EQ(placeName(*project, 10), "A10");
    EXPECT_EQ(s.PlaceCount, 10);
    EXPECT_DOUBLE_EQ(r.Distance[1][10], std::hypot(10.0, 7.0));

    // The 100th place is refused.
    project->State.NextPlace = 100;
    const ClickTarget tooMany = entry.clickTarget();
    EXPECT_EQ(tooMany.place, 0);
    EXPECT_EQ(tooMany.message, PictureOver99Text);
    project->State.NextPlace = 99;
    EXPECT_EQ(entry.clickTarget().place, 99);
}

} // namespace

namespace {

using Pairs = std::vector<std::pair<int, int>>;

// Answers every pair the distance entry asks for with 10*row+col and returns the pairs.
Pairs answerDistances(Project& p, PlaceEntry& entry)
{
    Pairs asked;
    DistanceQuestions& q = entry.distanceQuestions();
    while (auto c = q.next(p.State.PlaceCount)) {
        asked.emplace_back(c->row, c->col);
        enterDistance(p.Record, q, p.State.PlaceCount, 10.0 * c->row + c->col);
    }
    return asked;
}

std::vector<Text100> namesOf(const Project& p)
{
    std::vector<Text100> names;
    for (int k = 1; k <= p.State.PlaceCount; ++k)
        names.push_back(p.Record.PlaceName[k]);
    return names;
}

} // namespace

TEST(PlaceEntry, GridEditsKeepTypedDistancesAndAskAgainForMovedPlaces)
{
    auto project = newProject();
    auto& r = project->Record;
    PlaceEntry entry(*project);
    typeList(entry, { "A", "B", "C", "D" }); // at (0;0), (1;2), (2;4), (3;6)

    // Before any distance is typed an edit leaves the straight-line matrix of the new places.
    std::vector<Text100> names = namesOf(*project);
    std::vector<double> xs { 0, 1, 2, 3 }, ys { 0, 2, 4, 6 };
    xs[3] = 10;
    entry.storeEditedPlaces(names, xs, ys);
    auto fresh = std::make_unique<TProjectRecord>(r);
    computeDistances(*fresh, 4);
    EXPECT_EQ(r.Distance, fresh->Distance);
    EXPECT_EQ(r.DistanceEntryState, 0);

    ASSERT_EQ(answerDistances(*project, entry).size(), 6u);
    entry.finishDistances();
    r.WarehouseCount = 0;
    addWarehouse(r, Text100::fromUtf8("B"));
    addWarehouse(r, Text100::fromUtf8("C"));
    addPriority(r, Text100::fromUtf8("B"));
    addPriority(r, Text100::fromUtf8("A"));

    // B renamed to Zed (it sorts last), C moved to (9;4).
    names[1] = Text100::fromUtf8("Zed");
    xs[2] = 9;
    entry.storeEditedPlaces(names, xs, ys);
    const char* order[] = { "A", "C", "D", "Zed" };
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(placeName(*project, k), order[k - 1]);
    EXPECT_EQ(r.Distance[1][4], 12.0); // A - Zed as typed for A - B
    EXPECT_EQ(r.Distance[4][3], 24.0); // Zed - D as typed for B - D
    EXPECT_EQ(r.Distance[1][3], 14.0); // A - D
    EXPECT_DOUBLE_EQ(r.Distance[2][1], std::sqrt(97.0)); // C (9;4) - A (0;0), straight again
    EXPECT_DOUBLE_EQ(r.Distance[2][4], std::sqrt(68.0)); // C - Zed (1;2)
    EXPECT_EQ(r.Distance[2][3], r.Distance[3][2]);
    EXPECT_EQ(r.DistanceEntryState, 1);
    EXPECT_EQ(answerDistances(*project, entry), (Pairs { { 2, 1 }, { 2, 3 }, { 2, 4 } }));
    entry.finishDistances();
    // A coordinate held more finely than the grid shows it is no move when the grid is stored.
    r.PlaceX[1] = 0.00003;
    entry.storeEditedPlaces(namesOf(*project), { 0, 9, 10, 1 }, { 0, 4, 6, 2 });
    EXPECT_EQ(r.DistanceEntryState, 2);
    EXPECT_EQ(r.Distance[1][4], 12.0);

    // The lists follow the rename: the depots stay in name order.
    ASSERT_EQ(r.WarehouseCount, 2);
    EXPECT_EQ(r.WarehouseName[1].toUtf8(), "C");
    EXPECT_EQ(r.WarehouseName[2].toUtf8(), "Zed");
    ASSERT_EQ(r.PriorityCount, 2);
    EXPECT_EQ(r.PriorityName[1].toUtf8(), "Zed");
    EXPECT_EQ(r.PriorityName[2].toUtf8(), "A");
}

TEST(PlaceEntry, ADeletedPlaceTakesItsDistancesQuestionsAndListEntries)
{
    auto project = newProject();
    auto& r = project->Record;
    PlaceEntry entry(*project);
    typeList(entry, { "A", "B", "C" });
    ASSERT_EQ(answerDistances(*project, entry).size(), 3u);
    entry.finishDistances();
    // One place added: its pairs are still asked when B is deleted.
    ASSERT_TRUE(entry.acceptCount("1").message.empty());
    type(entry, { "D", "5", "5" });
    addWarehouse(r, Text100::fromUtf8("B"));
    addWarehouse(r, Text100::fromUtf8("D"));
    addPriority(r, Text100::fromUtf8("B"));

    entry.deletePlace(2, 4, false);
    project->State.PlaceCount = 3;
    EXPECT_EQ(placeName(*project, 2), "C");
    EXPECT_EQ(r.Distance[1][2], 13.0); // A - C as typed
    EXPECT_EQ(r.Distance[2][1], 13.0);
    ASSERT_EQ(r.WarehouseCount, 1);
    EXPECT_EQ(r.WarehouseName[1].toUtf8(), "D");
    EXPECT_EQ(r.PriorityCount, 0);
    EXPECT_EQ(answerDistances(*project, entry), (Pairs { { 3, 1 }, { 3, 2 } }));
}

// The pair asked next, as a view reads it: an opened project (whose questions are not learnt
// yet) asks every pair of its places, a finished one none, and reading learns nothing.
TEST(PlaceEntry, TheAskedPairIsReadWithoutLearningTheQuestions)
{
    struct Case {
        int state;
        std::optional<DistanceCursor> asked;
    };
    const Case cases[]
        = { { 0, DistanceCursor { 1, 2 } }, { 1, DistanceCursor { 1, 2 } }, { 2, std::nullopt } };
    for (const Case& c : cases) {
        auto project = newProject();
        PlaceEntry entry(*project);
        typeList(entry, { "A", "B", "C" });
        // As an opened project stands: the record's state, nothing learnt.
        project->Record.DistanceEntryState = c.state;
        project->QuestionsKnown = false;
        project->Questions = DistanceQuestions {};
        EXPECT_EQ(entry.askedPair(), c.asked) << c.state;
        EXPECT_FALSE(project->QuestionsKnown) << c.state;
        EXPECT_TRUE(project->Questions == DistanceQuestions {}) << c.state;
    }
    // Once learnt, the pairs answered are not asked again.
    auto project = newProject();
    PlaceEntry entry(*project);
    typeList(entry, { "A", "B", "C" });
    ASSERT_TRUE(entry.enterDistance(5.0));
    EXPECT_EQ(entry.askedPair(), (DistanceCursor { 1, 3 }));
    ASSERT_TRUE(entry.enterDistance(6.0));
    ASSERT_TRUE(entry.enterDistance(7.0));
    EXPECT_EQ(entry.askedPair(), std::nullopt);
}
