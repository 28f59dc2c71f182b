// The project's edit history: every kind of edit undone gives the record byte for byte as
// before it and redone as after it; a long random sequence of edits undone to its start; the
// saved point. The expected bytes are those the codec wrote before and after each edit, taken
// by the test itself, never from the history.
#include "core/entry/GroupEdits.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectEdits.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"
#include "support/HistoryProjects.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace dorvan;
using namespace dorvan::test::history;

namespace {

// The typed project with the price criterion ticked.
std::unique_ptr<Project> pricedProject()
{
    auto p = typedProject();
    ProjectEdits(*p).tickCriterion(CritPrice, true);
    return p;
}

// The typed project with groups ticked: Nitra and Trnava in group 1, Zlín in group 2 (just
// opened, so the shown count lags), Žilina left.
std::unique_ptr<Project> groupedHistoryProject()
{
    auto p = typedProject();
    GroupEdits edits(*p);
    edits.switchGroups(true);
    edits.moveIn({ 0, 1 }, -1);
    edits.confirm();
    edits.moveIn({ 0 }, -1);
    edits.confirm();
    return p;
}

} // namespace

TEST(ProjectHistory, EveryKindOfEditIsUndoneAndRedoneByteForByte)
{
    struct Row {
        const char* what;
        std::unique_ptr<Project> (*start)();
        std::function<void(Project&)> edit;
    };
    const Text100 zlin = Text100::fromUtf8("Zlín");
    const Text100 nitra = Text100::fromUtf8("Nitra");
    const std::vector<Row> rows = {
        { "count of places to add", typedProject, [](Project& p) { ProjectSession(p).acceptCount("2"); } },
        { "typed place with its sorting", addingProject,
            [](Project& p) {
                // The place, the sorting and the list's completion are one step.
                ProjectSession s(p);
                s.places().acceptPlace({ "Banská Bystrica", "0,5", "1" });
                s.places().settleTypedList();
            } },
        { "clicked place completing the list", clickedProject,
            [](Project& p) {
                ProjectSession s(p);
                s.places().storeClickedPlace(s.places().clickTarget().place, 33.25, 70);
                s.places().completeClickedList();
            } },
        { "places renamed and moved", typedProject,
            [](Project& p) {
                ProjectSession(p).editPlaces({ { "Abc", "1", "2" }, { "Nitra", "10", "3" },
                    { "Trnava", "2,5", "21" }, { "Zlín", "40", "8,25" } });
            } },
        { "typed place deleted", typedProject, [](Project& p) { ProjectSession(p).deleteTypedPlace(2); } },
        { "clicked place deleted (later ones relabelled)", clickedProject,
            [](Project& p) { ProjectSession(p).deletePicturePlace(1); } },
        { "map picture loaded", typedProject,
            [](Project& p) {
                RgbPicture picture(6, 4);
                picture.setPixel(5, 3, { 1, 2, 3 });
                ProjectSession(p).takeMapPicture(std::move(picture));
            } },
        { "picture replaced with a scale", clickedProject,
            [](Project& p) {
                ProjectSession(p).takeScaledPicture(RgbPicture(8, 8), { 80, 80 });
            } },
        { "distances imported", typedProject,
            [](Project& p) { ProjectSession(p).importDistances(tableOf(4)); } },
        { "distance typed", typedProject,
            [](Project& p) { ProjectSession(p).places().enterDistance(12.5); } },
        { "last distance typed, finishing the entry", lastPairProject,
            [](Project& p) { ProjectSession(p).places().enterDistance(30.25); } },
        { "criterion ticked", typedProject,
            [](Project& p) { ProjectEdits(p).tickCriterion(CritPrice, true); } },
        { "criterion unticked", pricedProject,
            [](Project& p) { ProjectEdits(p).tickCriterion(CritPrice, false, true); } },
        { "single value typed", typedProject,
            [](Project& p) {
                EXPECT_TRUE(ProjectEdits(p).enterSingleValue(SingleValue::CapacityDS, "7,5"));
            } },
        { "route limit entered", typedProject,
            [](Project& p) { EXPECT_TRUE(ProjectEdits(p).enterRouteLimit(RouteLimit::Time, "4,25")); } },
        { "quantities of the places", typedProject,
            [](Project& p) {
                ProjectEdits(p).placeValues(PlaceValueKind::Quantity, { "5", "x", "2,75", "1" }, ",");
            } },
        { "a criterion value", typedProject,
            [](Project& p) { ProjectEdits(p).setValue(&TProjectRecord::VehicleSpeed, 62.5); } },
        { "a criterion count", typedProject,
            [](Project& p) { ProjectEdits(p).setCount(&TProjectRecord::VehicleCount, 3); } },
        { "centre chosen", typedProject, [&zlin](Project& p) { ProjectEdits(p).chooseCentral(zlin, 4); } },
        { "depot added", typedProject, [&nitra](Project& p) { ProjectEdits(p).addDepot(nitra, 4); } },
        { "priority added", typedProject, [&zlin](Project& p) { ProjectEdits(p).addPriority(zlin); } },
        { "two depots and a priority moved by one click", typedProject,
            [&zlin, &nitra](Project& p) {
                ProjectEdits e(p);
                e.relationsTogether([&] {
                    e.addDepot(zlin, 4);
                    e.addDepot(nitra, 4);
                    e.addPriority(nitra);
                });
            } },
        { "distance typed over", typedProject, [](Project& p) { ProjectEdits(p).setDistance(1, 3, 99.5); } },
        { "settings", typedProject,
            [](Project& p) {
                ProjectEdits(p).setSettings({ StartPoint::Origin, StoppingRule::Objective, "0,5", "2" });
            } },
        { "precision typed", typedProject, [](Project& p) { ProjectEdits(p).typePrecision("0,5", true); } },
        { "correction typed", typedProject, [](Project& p) { ProjectEdits(p).typeCorrection("x", false); } },
        { "stopping rule", typedProject,
            [](Project& p) { ProjectEdits(p).setStoppingRule(StoppingRule::Objective, true); } },
        { "start point", typedProject,
            [](Project& p) { ProjectEdits(p).setStartPoint(StartPoint::Origin, true); } },
        { "groups by hand", typedProject,
            [](Project& p) {
                ProjectEdits(p).setGroups({ 2, { { 1, { "Nitra", "Zlín" } }, { 2, { "Trnava" } } } }, 2);
            } },
        { "proposal taken", typedProject,
            [](Project& p) {
                ProjectEdits(p).takeProposedGroups(
                    { "1. skupina", "Nitra", "Trnava", "2. skupina", "Zlín", "Žilina" }, 2);
            } },
        { "existing centres", typedProject,
            [](Project& p) {
                ProjectEdits(p).setExistingCentres({ "Trnava", "Nitra" });
            } },
        { "picture range from its display", plainPictureProject,
            [](Project& p) {
                ProjectEdits(p).takePictureRange({ 300, 201 });
            } },
        { "groups ticked", typedProject, [](Project& p) { GroupEdits(p).switchGroups(true); } },
        { "groups unticked and stored", groupedHistoryProject,
            [](Project& p) { GroupEdits(p).switchGroups(false); } },
        { "places moved into a group", groupedHistoryProject,
            [](Project& p) { GroupEdits(p).moveIn({ 0 }, 1); } },
        { "members taken out", groupedHistoryProject,
            [](Project& p) {
                GroupEdits(p).takeOut({ 2, 0 });
            } },
        { "group list stored", groupedHistoryProject, [](Project& p) { GroupEdits(p).storeGroups(); } },
        { "existing centre chosen", typedProject,
            [](Project& p) { GroupEdits(p).moveExistingCentre("Zlín", true); } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto p = row.start();
        ProjectDocument doc(*p);
        doc.startClean();
        const ContentOf before = contentOf(*p);
        const RgbPicture pictureBefore = p->MapPicture;
        row.edit(*p);
        const ContentOf after = contentOf(*p);
        const RgbPicture pictureAfter = p->MapPicture;
        EXPECT_FALSE(after.bytes == before.bytes && after.choices == before.choices)
            << "the edit changed nothing";
        EXPECT_FALSE(doc.clean());
        EXPECT_TRUE(p->State.UnsavedChanges);

        ASSERT_TRUE(doc.undo());
        expectSame(contentOf(*p), before);
        EXPECT_TRUE(p->MapPicture == pictureBefore);
        EXPECT_FALSE(doc.canUndo()) << "one edit, one step";
        EXPECT_TRUE(doc.clean());
        EXPECT_FALSE(p->State.UnsavedChanges);

        ASSERT_TRUE(doc.redo());
        expectSame(contentOf(*p), after);
        EXPECT_TRUE(p->MapPicture == pictureAfter);
        EXPECT_FALSE(doc.canRedo());
        EXPECT_TRUE(p->State.UnsavedChanges);
    }
}

TEST(ProjectHistory, FiveHundredRandomEditsUndoneToTheStartAndRedoneToTheEnd)
{
    auto p = typedProject();
    ProjectSession s(*p);
    ProjectEdits e(*p);
    ProjectDocument doc(*p);
    doc.startClean();
    std::mt19937 random(20260412);
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto coordinate = [&pick] { return std::to_string(pick(500)) + "," + std::to_string(pick(10000)); };

    // The record after each step, to check every undo on the way back, not only the last.
    const ContentOf opening = contentOf(*p);
    std::vector<std::size_t> states { fingerprint(*p) };
    int made = 0;
    for (int edit = 0; edit < 500; ++edit) {
        const int count = p->State.PlaceCount;
        const bool awaiting = p->State.NextPlace <= count;
        switch (awaiting ? 0 : pick(9)) {
        case 0:
            if (awaiting) {
                s.places().acceptPlace({ "P" + std::to_string(edit), coordinate(), coordinate() });
                s.places().settleTypedList();
            } else if (count < 60) {
                s.acceptCount(std::to_string(1 + pick(3)));
            }
            break;
        case 1:
            if (count > 3)
                s.deleteTypedPlace(1 + pick(count));
            break;
        case 2: {
            std::vector<std::string> names, xs, ys;
            std::vector<PlaceTexts> rows;
            for (int k = 1; k <= count; ++k) {
                names.push_back(p->Record.PlaceName[k].toUtf8() + (pick(4) == 0 ? "x" : ""));
                xs.push_back(pick(3) == 0 ? coordinate() : std::to_string(k));
                ys.push_back(coordinate());
            }
            for (int k = 0; k < count; ++k)
                rows.push_back({ names[static_cast<std::size_t>(k)], xs[static_cast<std::size_t>(k)],
                    ys[static_cast<std::size_t>(k)] });
            s.editPlaces(rows);
            break;
        }
        case 3:
            e.tickCriterion(static_cast<Criterion>(pick(CriterionCount)), pick(2) == 0);
            break;
        case 4: {
            std::vector<std::string> cells;
            for (int k = 1; k <= count; ++k)
                cells.push_back(std::to_string(1 + pick(900)));
            e.placeValues(static_cast<PlaceValueKind>(pick(3)), cells, ",");
            break;
        }
        case 5:
            if (count >= 2)
                e.setDistance(1 + pick(count), 1 + pick(count), 1 + pick(300));
            break;
        case 6:
            e.setSettings({ pick(2) == 0 ? StartPoint::Origin : StartPoint::Computed,
                static_cast<StoppingRule>(pick(4)), "0," + std::to_string(1 + pick(9)),
                std::to_string(1 + pick(5)) });
            break;
        case 7:
            if (count >= 1)
                e.chooseCentral(p->Record.PlaceName[1 + pick(count)], count);
            break;
        default:
            s.places().enterDistance(1 + pick(100));
            break;
        }
        if (doc.canUndo() && static_cast<int>(states.size()) <= static_cast<int>(p->History->done)) {
            states.push_back(fingerprint(*p));
            ++made;
        }
        ASSERT_EQ(states.size(), p->History->done + 1) << "edit " << edit;
    }
    EXPECT_GT(made, 400) << "most random edits change the project";
    const ContentOf final = contentOf(*p);

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_TRUE(doc.undo());
        ASSERT_EQ(fingerprint(*p), states[k - 1]) << "after undoing step " << k;
    }
    EXPECT_FALSE(doc.undo());
    expectSame(contentOf(*p), opening);
    EXPECT_TRUE(doc.clean());
    while (doc.redo()) { }
    expectSame(contentOf(*p), final);
}

TEST(ProjectHistory, UnsavedIsTheDistanceFromTheSavedPoint)
{
    auto p = typedProject();
    ProjectSession s(*p);
    ProjectEdits e(*p);
    ProjectDocument doc(*p);
    std::vector<unsigned> told;
    auto watching
        = p->Observers.observe([&told](ProjectChange what) { told.push_back(static_cast<unsigned>(what)); });

    // A save marks the point; edits leave it, undoing back reaches it again.
    s.saved("a.mzd");
    EXPECT_TRUE(doc.clean());
    EXPECT_FALSE(p->State.UnsavedChanges);
    const std::uint64_t r0 = doc.revision();
    e.tickCriterion(CritQuantity, true);
    e.setValue(&TProjectRecord::LoadTimeDC, 2);
    EXPECT_EQ(doc.revision(), r0 + 2);
    EXPECT_TRUE(p->State.UnsavedChanges);
    EXPECT_EQ(doc.undoName(), "Hodnota");
    ASSERT_TRUE(doc.undo());
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(doc.clean());
    EXPECT_FALSE(p->State.UnsavedChanges);
    EXPECT_EQ(doc.revision(), r0 + 4) << "an undo is a new revision of the inputs";
    EXPECT_EQ(doc.redoName(), "Kritérium");
    // Undoing past the save is unsaved too, and redoing back to it is clean.
    s.acceptCount("x"); // refused: no step, no revision
    EXPECT_EQ(doc.revision(), r0 + 4);
    ASSERT_TRUE(doc.redo());
    s.saved("a.mzd");
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(p->State.UnsavedChanges);
    ASSERT_TRUE(doc.redo());
    EXPECT_FALSE(p->State.UnsavedChanges);

    // A new edit below the saved point drops the redo that led to it: never clean again.
    ASSERT_TRUE(doc.undo());
    e.setValue(&TProjectRecord::LoadTimeDS, 3);
    EXPECT_FALSE(doc.canRedo());
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(p->State.UnsavedChanges);
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(p->State.UnsavedChanges);

    // A change beside the commands stays unsaved whatever is undone, until a save.
    s.saved("a.mzd");
    e.setValue(&TProjectRecord::LoadTimeDS, 4);
    p->changed(ProjectChange::Places);
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(p->State.UnsavedChanges);
    s.saved("a.mzd");
    p->State.UnsavedChanges = true; // set by hand where an edit did not come through a command
    e.setValue(&TProjectRecord::LoadTimeDS, 5);
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(p->State.UnsavedChanges);

    // The observers hear every step, and an undo as a state put back.
    told.clear();
    e.setSettingsOn(true);
    ASSERT_TRUE(doc.undo());
    const auto history = static_cast<unsigned>(ProjectChange::History);
    const auto restored = static_cast<unsigned>(ProjectChange::Restored);
    const auto settings = static_cast<unsigned>(ProjectChange::Settings);
    EXPECT_EQ(told, (std::vector<unsigned> { settings | history, settings | history | restored }));

    // Opening starts a clean history.
    TProjectRecord r = p->Record;
    s.open(r, "b.mzd");
    EXPECT_FALSE(doc.canUndo());
    EXPECT_FALSE(doc.canRedo());
    EXPECT_TRUE(doc.clean());
}

TEST(ProjectHistory, ACommandThatFailsLeavesTheProjectAsItWas)
{
    auto p = typedProject();
    ProjectDocument doc(*p);
    doc.startClean();
    const ContentOf before = contentOf(*p);
    EXPECT_THROW(doc.execute({ .name = "Chyba" },
                     [&p] {
                         p->Record.PlaceX[1] = 1234.5;
                         p->Choices.SettingsOn = true;
                         p->State.PlaceCount = 1;
                         throw std::runtime_error("zlyhanie");
                     }),
        std::runtime_error);
    expectSame(contentOf(*p), before);
    EXPECT_FALSE(doc.canUndo());
    EXPECT_TRUE(doc.clean());
    // What saving sets in the record with no edit to join is no step either.
    ProjectSession(*p).prepareSave();
    EXPECT_FALSE(doc.canUndo());
    EXPECT_EQ(p->Record.SavedPlaceCount, 4);
}

TEST(ProjectHistory, AChangeBesideTheCommandsIsAStepOfItsOwn)
{
    auto p = typedProject();
    ProjectDocument doc(*p);
    ProjectSession(*p).saved("a.mzd");
    const ContentOf before = contentOf(*p);
    // A window writes the record and the choices itself and marks the project unsaved.
    p->Record.LoadTimeDC = 7.5;
    p->Choices.SettingsOn = !p->Choices.SettingsOn;
    p->State.UnsavedChanges = true;
    const ContentOf beside = contentOf(*p);
    ProjectEdits(*p).setValue(&TProjectRecord::VehicleSpeed, 40);
    const ContentOf after = contentOf(*p);
    EXPECT_EQ(doc.undoName(), "Hodnota");
    ASSERT_TRUE(doc.undo());
    expectSame(contentOf(*p), beside);
    EXPECT_EQ(doc.undoName(), "Úprava");
    ASSERT_TRUE(doc.undo());
    expectSame(contentOf(*p), before);
    EXPECT_TRUE(doc.clean());
    EXPECT_FALSE(p->State.UnsavedChanges);
    ASSERT_TRUE(doc.redo());
    ASSERT_TRUE(doc.redo());
    expectSame(contentOf(*p), after);
    // An undo takes back a change beside the commands made since the last step first.
    p->Record.PlaceQuantity[2] = 3;
    ASSERT_TRUE(doc.undo());
    expectSame(contentOf(*p), after);
}

// Typed distances are a step per pair: each undo asks the pair just answered again with the
// record as it was, and the last pair finishes the entry within its own step.
TEST(ProjectHistory, TypedDistancesAreUndonePairByPair)
{
    using Pairs = std::vector<DistanceCursor>;
    struct Case {
        const char* what;
        std::unique_ptr<Project> (*start)();
        int openState; // the entry's state while pairs are asked
        Pairs asked; // in the order asked, worked out by hand
    };
    const Case cases[] = {
        { "first list of four", typedProject, 0,
            { { 1, 2 }, { 1, 3 }, { 1, 4 }, { 2, 3 }, { 2, 4 }, { 3, 4 } } },
        // "Alfa" sorts first: the added place is asked against every other place.
        { "one place added",
            [] {
                auto p = addingProject();
                ProjectSession s(*p);
                s.places().acceptPlace({ "Alfa", "1", "1" });
                s.places().settleTypedList();
                return p;
            },
            1, { { 1, 2 }, { 1, 3 }, { 1, 4 }, { 1, 5 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = c.start();
        ProjectSession s(*p);
        ProjectDocument doc(*p);
        doc.startClean();
        const int n = p->State.PlaceCount;
        std::vector<RecordBytes> before;
        Pairs asked;
        while (const auto pair = s.places().distanceQuestions().next(n)) {
            ASSERT_LT(asked.size(), c.asked.size());
            asked.push_back(*pair);
            ASSERT_EQ(p->Record.DistanceEntryState, c.openState);
            before.push_back(encodeRecord(p->Record));
            const double km = 100.0 + static_cast<double>(asked.size());
            ASSERT_TRUE(s.places().enterDistance(km));
            EXPECT_EQ(p->Record.Distance[pair->row][pair->col], km);
            EXPECT_EQ(p->Record.Distance[pair->col][pair->row], km);
        }
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(p->Record.DistanceEntryState, 2) << "the last pair finishes the entry";
        EXPECT_FALSE(s.places().enterDistance(1.0)) << "nothing is asked any more";
        const RecordBytes finished = encodeRecord(p->Record);

        for (std::size_t k = asked.size(); k-- > 0;) {
            ASSERT_TRUE(doc.undo());
            EXPECT_TRUE(encodeRecord(p->Record) == before[k]) << "after undoing pair " << k;
            EXPECT_EQ(p->Record.DistanceEntryState, c.openState);
            EXPECT_EQ(s.places().distanceQuestions().next(n), std::optional<DistanceCursor>(asked[k]));
        }
        EXPECT_FALSE(doc.canUndo()) << "one step per pair, none more";
        while (doc.redo()) { }
        EXPECT_TRUE(encodeRecord(p->Record) == finished);
        EXPECT_FALSE(s.places().distanceQuestions().next(n));
    }
}

// An imported list stands one step away from the empty project the import started from: undone,
// the project is as "Nový" leaves it and nothing is unsaved; redone, the list is back, unsaved.
TEST(ProjectHistory, AnImportedListIsOneStepFromAnEmptyProject)
{
    auto p = typedProject();
    TProjectRecord list = p->Record;
    list.SavedPlaceCount = 4;
    ProjectSession s(*p);
    s.open(list, "");
    s.openShown();
    s.importShown();
    const ContentOf imported = contentOf(*p);
    ProjectDocument doc(*p);
    EXPECT_EQ(doc.undoName(), "Import miest");
    EXPECT_TRUE(p->State.UnsavedChanges);

    // The same project started anew by hand: what the undo must give.
    auto fresh = typedProject();
    ProjectSession(*fresh).open(list, "");
    ProjectSession(*fresh).startNew();
    ASSERT_TRUE(doc.undo());
    expectSame(contentOf(*p), contentOf(*fresh));
    EXPECT_EQ(p->State.PlaceCount, 0);
    EXPECT_EQ(p->State.NextPlace, 1);
    EXPECT_TRUE(p->State.FirstEntryMode);
    EXPECT_FALSE(p->State.AddPlacesMode);
    EXPECT_FALSE(p->State.UnsavedChanges);
    EXPECT_FALSE(doc.canUndo());

    ASSERT_TRUE(doc.redo());
    expectSame(contentOf(*p), imported);
    EXPECT_EQ(p->State.PlaceCount, 4);
    EXPECT_EQ(p->Record.PlaceName[4].toUtf8(), "Žilina");
    EXPECT_TRUE(p->State.UnsavedChanges);
}

// A window's change beside the commands becomes a step when it says so, telling the history;
// not while a command runs (it is part of that step), nor while an undo is being shown, and a
// look that finds nothing changed tells nothing.
TEST(ProjectHistory, EditsBesideAreTakenAsAStepOnlyWhereTheyAreEdits)
{
    auto p = typedProject();
    ProjectDocument doc(*p);
    doc.startClean();
    int histories = 0;
    std::vector<bool> unsavedWhenTold;
    auto watching = p->Observers.observe([&](ProjectChange what) {
        if (has(what, ProjectChange::History)) {
            ++histories;
            unsavedWhenTold.push_back(p->State.UnsavedChanges);
        }
    });

    doc.takeEditsBeside();
    EXPECT_EQ(histories, 0) << "nothing changed";
    EXPECT_FALSE(doc.canUndo());

    p->Record.LoadTimeDC = 2.5;
    doc.takeEditsBeside();
    EXPECT_EQ(histories, 1);
    EXPECT_EQ(unsavedWhenTold, std::vector<bool> { true });
    EXPECT_EQ(doc.undoName(), "Úprava");
    doc.takeEditsBeside();
    EXPECT_EQ(histories, 1) << "the same change is not taken twice";

    // Within a command the change is the command's own step.
    doc.execute({ .name = "Hodnota" }, [&] {
        p->Record.LoadTimeDS = 4;
        doc.takeEditsBeside();
        EXPECT_TRUE(doc.running());
    });
    EXPECT_FALSE(doc.running());
    EXPECT_EQ(doc.undoName(), "Hodnota");
    EXPECT_EQ(histories, 2);

    // A view writing while an undo is shown makes no step: the redo stays.
    auto viewWrites = p->Observers.observe([&](ProjectChange what) {
        if (has(what, ProjectChange::Restored)) {
            p->Record.VehicleSpeed = 77;
            doc.takeEditsBeside();
        }
    });
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(doc.canRedo());
    EXPECT_EQ(doc.undoName(), "Úprava");
    viewWrites = {};
    doc.viewsShown();
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(p->Record.LoadTimeDC, 0.0);
    EXPECT_FALSE(p->State.UnsavedChanges);
    EXPECT_EQ(unsavedWhenTold.back(), false);
}

// A step that told an open allocation window to run again is not told so on undo or redo:
// whether the state put back can be allocated is for the views to judge.
TEST(ProjectHistory, UndoAndRedoLeaveTheRerunToTheViews)
{
    auto p = typedProject();
    ProjectDocument doc(*p);
    doc.startClean();
    std::vector<unsigned> told;
    auto watching
        = p->Observers.observe([&](ProjectChange what) { told.push_back(static_cast<unsigned>(what)); });
    doc.execute({ .name = "Úprava miest", .told = ProjectChange::Places | ProjectChange::RunInputs },
        [&] { p->Record.PlaceX[1] = 11; });
    ASSERT_TRUE(doc.undo());
    ASSERT_TRUE(doc.redo());
    const auto places = static_cast<unsigned>(ProjectChange::Places);
    const auto run = static_cast<unsigned>(ProjectChange::RunInputs);
    const auto history = static_cast<unsigned>(ProjectChange::History);
    const auto restored = static_cast<unsigned>(ProjectChange::Restored);
    EXPECT_EQ(told,
        (std::vector<unsigned> {
            places | run | history, places | history | restored, places | history | restored }));
}

// An edit of what weighs the places makes a shown allocation stale; other criteria, a hidden
// allocation or the settings switched off ask for no run. Its undo and redo tell the state put
// back, on which the views decide whether the allocation runs again.
TEST(ProjectHistory, AWeighingEditAsksForANewRunOnlyOfAShownAllocation)
{
    struct Row {
        const char* what;
        std::function<void(Project&, bool shown)> edit;
        bool weighs;
    };
    const std::vector<Row> rows = {
        { "quantity ticked",
            [](Project& p, bool shown) { ProjectEdits(p).tickCriterion(CritQuantity, true, shown); }, true },
        { "frequency ticked",
            [](Project& p, bool shown) { ProjectEdits(p).tickCriterion(CritFlexibility, true, shown); },
            true },
        { "route length ticked",
            [](Project& p, bool shown) { ProjectEdits(p).tickCriterion(CritMaxRouteLength, true, shown); },
            false },
        { "prices typed",
            [](Project& p, bool shown) {
                ProjectEdits(p).placeValues(PlaceValueKind::Price, { "2", "1", "1", "3" }, ",", shown);
            },
            true },
    };
    for (const Row& row : rows)
        for (const bool shown : { false, true })
            for (const bool settingsOn : { false, true }) {
                SCOPED_TRACE(std::string(row.what) + (shown ? ", shown" : ", hidden")
                    + (settingsOn ? ", settings on" : ", settings off"));
                auto p = typedProject();
                p->Choices.SettingsOn = settingsOn;
                ProjectDocument doc(*p);
                doc.startClean();
                std::vector<ProjectChange> heard;
                auto observation
                    = p->Observers.observe([&heard](ProjectChange what) { heard.push_back(what); });
                row.edit(*p, shown);
                ASSERT_TRUE(doc.undo());
                ASSERT_TRUE(doc.redo());
                ASSERT_EQ(heard.size(), 3u) << "the edit, its undo and its redo";
                const bool rerun = row.weighs && shown && settingsOn;
                EXPECT_EQ(has(heard[0], ProjectChange::RunInputs), rerun);
                for (std::size_t k = 1; k < heard.size(); ++k) {
                    EXPECT_TRUE(has(heard[k], ProjectChange::Restored));
                    EXPECT_FALSE(has(heard[k], ProjectChange::RunInputs));
                }
            }
}
