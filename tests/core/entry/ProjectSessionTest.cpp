// The project's transitions, each checked on the record, the choices and the working state it
// leaves. The expected values are worked out by hand from the record layouts the cases build.
#include "core/entry/ProjectSession.h"
#include "core/entry/PlaceList.h"
#include "core/geo/GeoReference.h"

#include "core/project/Project.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace dorvan;

namespace {

struct Place {
    const char* name;
    double x, y;
};

TProjectRecord recordOf(const std::vector<Place>& places)
{
    TProjectRecord r;
    ResetProjectAtStart(r);
    int k = 0;
    for (const Place& p : places) {
        ++k;
        r.PlaceName[k] = Text100::fromUtf8(p.name);
        r.PlaceX[k] = p.x;
        r.PlaceY[k] = p.y;
    }
    r.SavedPlaceCount = k;
    return r;
}

// A project some earlier work left dirty: a file, a picture, ticked boxes, unsaved changes.
std::unique_ptr<Project> dirtyProject()
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    p->Record = recordOf({ { "Old", 5, 5 }, { "Older", 6, 6 } });
    p->Record.PictureWidth = 4;
    p->Record.PictureHeight = 3;
    p->Record.MapRangeX = 400;
    p->Record.MapRangeY = 300;
    p->MapPicture.resizeForOverwrite(4, 3);
    p->State.MapPictureOwned = true;
    p->State.PictureMode = true;
    p->State.PlaceCount = 2;
    p->State.NextPlace = 3;
    p->State.CoordsDiffer = true;
    p->State.AddPlacesMode = true;
    p->State.PlacesComplete = true;
    p->State.EntryClosable = true;
    p->State.ProjectFile = "old.mzd";
    p->State.ProjectFileName = "old.mzd";
    p->State.UnsavedChanges = true;
    p->Record.setCriterion(CritPrice, true);
    p->Choices.SettingsOn = true;
    p->Choices.Settings.setPrecisionText("0,5");
    return p;
}

std::vector<std::string> names(const Project& p)
{
    std::vector<std::string> out;
    for (int k = 1; k <= p.State.PlaceCount; ++k)
        out.push_back(p.Record.PlaceName[k].toUtf8());
    return out;
}

// Types a count and the places of a new project, each OK settling the list as the window does.
void typePlaces(ProjectSession& session, int count, const std::vector<Place>& places)
{
    ASSERT_TRUE(session.acceptCount(std::to_string(count)).message.empty());
    for (const Place& p : places) {
        const PlaceOutcome out
            = session.places().acceptPlace({ p.name, std::to_string(p.x), std::to_string(p.y) });
        ASSERT_EQ(out.refused, PlaceField::None) << p.name << ": " << out.message;
        session.places().settleTypedList();
    }
}

TEST(ProjectSession, OpenTakesTheFileAndItsChoicesWhateverWasBefore)
{
    // Three places, quantity byte 1 (ticked), price byte 2 (not ticked: only 1 ticks), two
    // stored groups: A,B and C.
    TProjectRecord grouped = recordOf({ { "A", 0, 0 }, { "B", 1, 2 }, { "C", 2, 4 } });
    grouped.CriterionOn[CritQuantity] = 1;
    grouped.CriterionOn[CritPrice] = 2;
    grouped.CriterionOn[CritGroups] = 1;
    grouped.GroupCount = 2;
    grouped.GroupPlaceCount[1] = 2;
    grouped.GroupPlaceCount[2] = 1;
    grouped.GroupedPlaceName[1] = Text100::fromUtf8("A");
    grouped.GroupedPlaceName[2] = Text100::fromUtf8("B");
    grouped.GroupedPlaceName[3] = Text100::fromUtf8("C");
    TProjectRecord oneSpot = recordOf({ { "P", 3, 3 }, { "Q", 3, 3 } });
    TProjectRecord single = recordOf({ { "Only", 1, 1 } });
    TProjectRecord pictured = recordOf({ { "1", 10, 20 }, { "2", 30, 40 } });
    pictured.PictureWidth = 8;
    pictured.PictureHeight = 6;
    pictured.MapRangeX = 640;
    pictured.MapRangeY = 480;

    struct Case {
        const char* what;
        const TProjectRecord* record;
        int placeCount;
        bool differ; // also "Riešenie DORVAN" ticked
        bool pictureMode;
        int rangeX, rangeY;
        std::vector<int> ticked;
        DistributionGroups groups;
    };
    const std::vector<Case> cases = {
        { "groups and criteria", &grouped, 3, true, false, 0, 0, { CritQuantity, CritGroups },
            { 2, { { 1, { "A", "B" } }, { 2, { "C" } } } } },
        { "all at one spot", &oneSpot, 2, false, false, 0, 0, {}, {} },
        { "one place", &single, 1, false, false, 0, 0, {}, {} },
        { "picture", &pictured, 2, true, true, 640, 480, {}, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = dirtyProject();
        ProjectSession(*p).open(*c.record, "new.mzd");
        const WorkingState& s = p->State;
        EXPECT_EQ(s.PlaceCount, c.placeCount);
        EXPECT_EQ(s.NextPlace, c.placeCount + 1);
        EXPECT_EQ(s.CoordsDiffer, c.differ);
        EXPECT_EQ(s.PictureMode, c.pictureMode);
        EXPECT_EQ(s.PictureRangeX, c.rangeX);
        EXPECT_EQ(s.PictureRangeY, c.rangeY);
        EXPECT_TRUE(s.AddPlacesMode && s.PlacesComplete && s.EntryClosable);
        EXPECT_EQ(s.ProjectFile, "new.mzd");
        EXPECT_FALSE(s.UnsavedChanges);
        // The old picture is gone until the new one is built.
        EXPECT_TRUE(p->MapPicture.empty());
        EXPECT_FALSE(s.MapPictureOwned);
        EXPECT_EQ(p->Record.PlaceName[1].toUtf8(), c.record->PlaceName[1].toUtf8());
        for (int b = 0; b < CriterionCount; ++b) {
            const bool expected = std::find(c.ticked.begin(), c.ticked.end(), b) != c.ticked.end();
            EXPECT_EQ(p->ticked(static_cast<Criterion>(b)), expected) << "criterion byte " << b;
        }
        EXPECT_EQ(p->Choices.SettingsOn, c.differ);
        EXPECT_EQ(p->Choices.Settings, CooperSettings {});
        EXPECT_EQ(p->Choices.Groups, c.groups);
    }
}

TEST(ProjectSession, NewCloseAndCancelledOpenLeaveNoPictureAndTheirOwnFlags)
{
    struct Case {
        const char* what;
        void (*transition)(ProjectSession&);
        bool recordReset; // the places and criteria go (only "Nový")
        bool addMode;
        bool closable;
        bool choicesCleared;
        bool unsaved;
        const char* file;
        bool referenceKept; // the coordinate reference goes with "Nový" and closing
    };
    const Case cases[] = {
        { "new", [](ProjectSession& s) { s.startNew(); }, true, false, false, true, false, "", false },
        { "close", [](ProjectSession& s) { s.close(); }, false, false, false, true, false, "old.mzd", false },
        { "open cancelled", [](ProjectSession& s) { s.openCancelled(); }, false, false, true, false, true,
            "old.mzd", true },
    };
    const std::string reference
        = "+proj=aeqd +lat_0=48.5 +lon_0=19.5 +x_0=180000 +y_0=86000 +datum=WGS84 +units=km";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = dirtyProject();
        ASSERT_TRUE(geo::setProjectReference(p->Record, reference));
        ProjectSession session(*p);
        c.transition(session);
        const TProjectRecord& r = p->Record;
        EXPECT_EQ(geo::projectReference(r).value_or("(none)"), c.referenceKept ? reference : "(none)");
        EXPECT_EQ(r.PictureWidth, 0);
        EXPECT_EQ(r.PictureHeight, 0);
        EXPECT_EQ(r.MapRangeX, 0);
        EXPECT_EQ(r.MapRangeY, 0);
        EXPECT_TRUE(p->MapPicture.empty());
        EXPECT_FALSE(p->State.MapPictureOwned);
        EXPECT_EQ(r.SavedPlaceCount, c.recordReset ? 0 : 2);
        EXPECT_EQ(p->State.AddPlacesMode, c.addMode);
        EXPECT_EQ(p->State.EntryClosable, c.closable);
        // The boxes are the record's: only "Nový" unticks them.
        EXPECT_EQ(p->ticked(CritPrice), !c.recordReset);
        EXPECT_EQ(p->Choices.Settings.precisionText(), c.choicesCleared ? "0,01" : "0,5");
        EXPECT_EQ(p->State.UnsavedChanges, c.unsaved);
        EXPECT_EQ(p->State.ProjectFile, c.file);
    }
    // A new project awaits its first count.
    auto p = dirtyProject();
    ProjectSession(*p).startNew();
    EXPECT_EQ(p->State.PlaceCount, 0);
    EXPECT_EQ(p->State.NextPlace, 1);
    EXPECT_TRUE(p->State.FirstEntryMode && p->State.EntryStarted);
    EXPECT_FALSE(p->State.PlacesComplete || p->State.PictureMode || p->State.CoordsDiffer);
    EXPECT_EQ(p->State.ProjectFileName, "");
}

TEST(ProjectSession, NewLeavesNoBoxOfTheLastProjectTickedInTheFileSavedNext)
{
    // The last project ticked the criteria whose bytes "Nový" once kept while the new window
    // showed their boxes unticked; their values went with the reset, the group size stays.
    auto p = dirtyProject();
    const Criterion kept[] = { CritMaxRouteLength, CritMaxDistributionTime, CritCentral, CritWarehouses,
        CritLoadTimes, CritEvenGroups };
    for (Criterion c : kept)
        p->Record.setCriterion(c, true);
    p->Record.PlacesPerGroup = 4;
    ProjectSession session(*p);
    session.startNew();
    for (Criterion c : kept)
        EXPECT_FALSE(p->ticked(c)) << "criterion byte " << c;
    typePlaces(session, 3, { { "A", 0, 0 }, { "B", 4, 0 }, { "C", 0, 3 } });
    session.prepareSave();

    // What the file holds, opened again: no box ticked, the group size kept for its box.
    auto q = std::make_unique<Project>();
    q->resetAtStart();
    ProjectSession(*q).open(p->Record, "next.mzd");
    for (int b = 0; b < CriterionCount; ++b) {
        EXPECT_EQ(p->Record.CriterionOn[static_cast<std::size_t>(b)], 0) << "criterion byte " << b;
        EXPECT_FALSE(q->ticked(static_cast<Criterion>(b))) << "criterion byte " << b;
    }
    EXPECT_EQ(q->Record.PlacesPerGroup, 4);
}

TEST(ProjectSession, AMapPictureAndTheAllocationWindowSetTheirParts)
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    ProjectSession session(*p);
    session.startNew();
    p->State.NextPlace = 3;
    RgbPicture picture;
    picture.resizeForOverwrite(7, 5);
    session.takeMapPicture(std::move(picture));
    EXPECT_EQ(p->Record.PictureWidth, 7);
    EXPECT_EQ(p->Record.PictureHeight, 5);
    EXPECT_TRUE(p->Record.hasPicture());
    EXPECT_EQ(p->MapPicture.width(), 7);
    EXPECT_TRUE(p->State.MapPictureOwned);
    EXPECT_EQ(p->State.NextPlace, 1);

    // A plain picture 200 x 100 pixels given as 40 x 20 km: the ranges are the kilometres, the
    // project is marked scaled, clicking starts again at place 1.
    p->State.NextPlace = 4;
    RgbPicture scaled;
    scaled.resizeForOverwrite(200, 100);
    session.takeScaledPicture(std::move(scaled), { 40, 20 });
    EXPECT_EQ(p->Record.PictureWidth, 200);
    EXPECT_EQ(p->Record.MapRangeX, 40);
    EXPECT_EQ(p->State.PictureRangeY, 20);
    EXPECT_TRUE(p->State.PictureMode);
    EXPECT_EQ(p->State.NextPlace, 1);

    // An opened project: complete, entry not started; the allocation window restarts it.
    ProjectSession(*p).open(recordOf({ { "A", 0, 0 }, { "B", 1, 1 } }), "a.mzd");
    p->State.FirstEntryMode = false;
    p->State.EntryStarted = false;
    session.allocationOpened();
    EXPECT_TRUE(p->State.FirstEntryMode);
    EXPECT_TRUE(p->State.EntryStarted);
    EXPECT_FALSE(p->State.PlacesComplete);
    // The list itself stays open for additions.
    EXPECT_TRUE(p->State.AddPlacesMode);
    EXPECT_EQ(p->State.PlaceCount, 2);
}

TEST(ProjectSession, DeletingATypedPlaceShortensTheListAndEndsAnUnfinishedEntry)
{
    const std::vector<Place> abc = { { "A", 0, 0 }, { "B", 1, 2 }, { "C", 2, 4 } };
    struct Case {
        const char* what;
        int count; // planned
        std::vector<Place> typed;
        int row;
        std::vector<std::string> left;
        bool differ, settingsOff, ended, completed;
    };
    const std::vector<Case> cases = {
        { "middle of a complete list", 3, abc, 2, { "A", "C" }, true, false, false, false },
        { "down to one place", 2, { abc[0], abc[1] }, 1, { "B" }, false, true, false, false },
        { "unfinished entry, places left", 4, abc, 3, { "A", "B" }, true, false, true, true },
        { "unfinished entry, none left", 3, { abc[0] }, 1, {}, false, true, true, false },
        { "row past the list", 3, abc, 4, { "A", "B", "C" }, true, false, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = std::make_unique<Project>();
        p->resetAtStart();
        ProjectSession session(*p);
        session.startNew();
        typePlaces(session, c.count, c.typed);
        p->State.UnsavedChanges = false;
        const bool valid = c.row <= static_cast<int>(c.typed.size());

        const PlaceDeletion d = session.deleteTypedPlace(c.row);
        EXPECT_EQ(names(*p), c.left);
        EXPECT_EQ(p->State.NextPlace, static_cast<int>(c.left.size()) + 1);
        EXPECT_EQ(p->State.CoordsDiffer, c.differ);
        EXPECT_EQ(d.settingsOff, c.settingsOff);
        EXPECT_EQ(d.entryEnded, c.ended);
        EXPECT_EQ(d.completion.has_value(), c.completed);
        if (c.completed) {
            EXPECT_TRUE(d.completion->tickSettings);
            EXPECT_TRUE(p->State.PlacesComplete && p->State.AddPlacesMode && p->State.EntryClosable);
        }
        EXPECT_EQ(p->State.UnsavedChanges, valid);
        EXPECT_EQ(d.change.newNumber.empty(), !valid);
    }
}

TEST(ProjectSession, DeletingAClickedPlaceMovesTheLaterOnesUp)
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    p->Record = recordOf({ { "1", 10, 10 }, { "2", 20, 30 }, { "3", 40, 50 } });
    p->State.PlaceCount = 3;
    p->State.NextPlace = 4;
    ProjectSession session(*p);
    const PlaceDeletion d = session.deletePicturePlace(1);
    EXPECT_EQ(p->State.PlaceCount, 2);
    EXPECT_EQ(p->State.NextPlace, 3);
    EXPECT_EQ(p->Record.PlaceX[1], 20);
    EXPECT_EQ(p->Record.PlaceY[2], 50);
    EXPECT_TRUE(p->State.CoordsDiffer);
    EXPECT_FALSE(d.settingsOff);
    EXPECT_FALSE(d.entryEnded);
    EXPECT_EQ(d.change.newNumber, (std::vector<int> { 0, 1, 2 }));
}

TEST(ProjectSession, AGridEditIsCheckedColumnByColumnAndStoredWholeOrNotAtAll)
{
    struct Row {
        std::string name, x, y;
    };
    struct Case {
        const char* what;
        std::vector<Row> rows;
        int row, column; // the refused cell, 0 when stored
        std::string message;
        std::vector<std::string> names; // the places afterwards, sorted
    };
    const std::vector<Case> cases = {
        // Three places and more are sorted again by name.
        { "renamed and moved", { { "Zeta", "0", "0" }, { "Beta", "5,5", "1" }, { "C", "2", "2" } }, 0, 0, "",
            { "Beta", "C", "Zeta" } },
        // Names are checked in all rows before any coordinate.
        { "bad X before empty name", { { "A", "x", "0" }, { "", "1", "1" } }, 2, 1,
            std::string(BadPlaceNameText), { "A", "B", "C" } },
        { "bad Y after good X", { { "A", "0", "0" }, { "B", "1", "?" } }, 2, 3,
            std::string(BadGridCoordinateText), { "A", "B", "C" } },
        { "outside the code page", { { "A", "0", "0" }, { "\xe4\xb8\xad", "1", "1" } }, 2, 1, "",
            { "A", "B", "C" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = std::make_unique<Project>();
        p->resetAtStart();
        p->Record = recordOf({ { "A", 0, 0 }, { "B", 1, 1 }, { "C", 2, 2 } });
        p->State.PlaceCount = 3;
        p->State.NextPlace = 4;
        ProjectSession session(*p);
        std::vector<PlaceTexts> rows;
        for (const Row& r : c.rows)
            rows.push_back({ r.name, r.x, r.y });
        const auto refused = session.editPlaces(rows);
        EXPECT_EQ(refused.has_value(), c.row != 0);
        if (refused) {
            EXPECT_EQ(refused->row, c.row);
            EXPECT_EQ(refused->column, c.column);
            if (!c.message.empty()) {
                EXPECT_EQ(refused->message, c.message);
            }
            EXPECT_FALSE(refused->message.empty());
        }
        EXPECT_EQ(names(*p), c.names);
        // A stored edit moves each place's coordinates with its name.
        EXPECT_EQ(p->Record.PlaceX[1], refused ? 0.0 : 5.5);
    }
}

TEST(ProjectSession, SavingStoresThePlacesEnteredTheGroupsAndThePictureRange)
{
    struct Case {
        const char* what;
        std::vector<Place> places;
        int placeCount, nextPlace;
        bool picture;
        bool groupsTicked;
        bool savable;
        int saved; // SavedPlaceCount
        int rangeX, rangeY;
    };
    const std::vector<Place> abc = { { "A", 0, 0 }, { "B", 1, 2 }, { "C", 2, 4 } };
    const std::vector<Case> cases = {
        { "complete list", abc, 3, 4, false, false, true, 3, 0, 0 },
        { "list being typed", abc, 5, 3, false, false, true, 2, 0, 0 },
        { "list started again", abc, 3, 1, false, false, false, 0, 0, 0 },
        { "all at one spot", { { "P", 1, 1 }, { "Q", 1, 1 } }, 2, 3, false, false, false, 2, 0, 0 },
        { "picture", abc, 3, 4, true, false, true, 3, 640, 480 },
        { "groups", abc, 3, 4, false, true, true, 3, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = std::make_unique<Project>();
        p->resetAtStart();
        p->Record = recordOf(c.places);
        p->Record.SavedPlaceCount = 99;
        p->Record.MapRangeX = 1;
        p->Record.MapRangeY = 1;
        p->Record.CriterionOn[CritGroups] = 1;
        if (c.picture) {
            p->Record.PictureWidth = 8;
            p->Record.PictureHeight = 6;
        }
        p->State.PlaceCount = c.placeCount;
        p->State.NextPlace = c.nextPlace;
        p->State.CoordsDiffer = true;
        p->State.PictureRangeX = 640;
        p->State.PictureRangeY = 480;
        p->State.UnsavedChanges = true;
        p->Record.setCriterion(CritGroups, c.groupsTicked);
        p->Choices.Groups = { 2, { { 1, { "C" } }, { 2, { "A", "B" } } } };
        p->Record.GroupCount = 2;
        ProjectSession session(*p);

        EXPECT_EQ(session.savable(), c.savable);
        session.prepareSave();
        const TProjectRecord& r = p->Record;
        EXPECT_EQ(r.SavedPlaceCount, c.saved);
        EXPECT_EQ(r.MapRangeX, c.rangeX);
        EXPECT_EQ(r.MapRangeY, c.rangeY);
        EXPECT_EQ(r.ticked(CritGroups), c.groupsTicked);
        if (c.groupsTicked) {
            EXPECT_EQ(r.GroupPlaceCount[1], 1);
            EXPECT_EQ(r.GroupPlaceCount[2], 2);
            EXPECT_EQ(r.GroupedPlaceName[1].toUtf8(), "C");
            EXPECT_EQ(r.GroupedPlaceName[3].toUtf8(), "B");
        }
        session.saved("saved.mzd");
        EXPECT_EQ(p->State.ProjectFile, "saved.mzd");
        EXPECT_FALSE(p->State.UnsavedChanges);
    }
}

} // namespace

TEST(ProjectSession, APlaceNameMayNotRepeatAnotherInAnyCaseOrSpacing)
{
    // The opened list, its names in the code page's capitals and small letters; place 4 repeats
    // place 1 as an older file may.
    const std::vector<Place> opened { { "Nitra", 0, 0 }, { "Šaľa", 1, 1 }, { "ŽILINA", 2, 2 },
        { "nitra", 3, 3 } };
    struct Case {
        const char* typed;
        const char* refusal; // empty: accepted
    };
    const Case cases[] = {
        { " NITRA\t", "Miesto NITRA už existuje !!!" },
        { "ŠAĽA", "Miesto ŠAĽA už existuje !!!" },
        { "žilina ", "Miesto žilina už existuje !!!" },
        { "Saľa", "" }, // S without its caron is another letter
        { "Nitra 2", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        auto p = std::make_unique<Project>();
        p->resetAtStart();
        ProjectSession session(*p);
        session.open(recordOf(opened), "old.mzd");
        ASSERT_TRUE(session.acceptCount("1").message.empty());
        const PlaceOutcome out = session.places().acceptPlace({ c.typed, "7", "8" });
        EXPECT_EQ(out.message, c.refusal);
        EXPECT_EQ(out.refused, *c.refusal ? PlaceField::Name : PlaceField::None);
        EXPECT_EQ(out.stored, *c.refusal ? 0 : 5);
        EXPECT_EQ(p->State.NextPlace, *c.refusal ? 5 : 6);

        // The grid: place 2 renamed to the typed name is refused at its cell, whether that name
        // was the list's already or has just been typed as place 5; only "Šaľa" may change the
        // case of its own name. The name the file repeats stays and stops no edit.
        const std::vector<PlaceTexts> grid { { "Nitra", "0", "0" }, { c.typed, "1", "1" },
            { "ŽILINA", "2", "2" }, { "nitra", "3", "3" } };
        const auto refused = session.editPlaces(grid);
        const bool ownName = std::string_view(c.typed) == "ŠAĽA";
        ASSERT_EQ(refused.has_value(), !ownName);
        if (refused) {
            EXPECT_EQ(refused->row, 2);
            EXPECT_EQ(refused->column, 1);
            EXPECT_EQ(refused->message, placeExistsText(c.typed));
            EXPECT_EQ(names(*p)[1], "Šaľa");
        } else {
            EXPECT_EQ(
                p->Record.PlaceName[placeNamed(p->Record, 5, Text100::fromUtf8("šaľa"))].toUtf8(), "ŠAĽA");
        }
    }
    // Messages name the place as typed, without the spaces around it.
    EXPECT_EQ(placeExistsText("  Horná Ves "), "Miesto Horná Ves už existuje !!!");
}

TEST(ProjectSession, AClickIsRefusedWhereItsLabelNamesAPlaceAlready)
{
    // Two typed places, the second named as the third click would label its place.
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    p->State.NextPlace = 1;
    ProjectSession session(*p);
    PlaceEntry& entry = session.places();
    ASSERT_EQ(entry.clickTarget().place, 1);
    entry.storeClickedPlace(1, 1, 1);
    p->Record.PlaceName[1] = Text100::fromUtf8(" a02 ");
    const ClickTarget second = entry.clickTarget();
    EXPECT_EQ(second.place, 0);
    EXPECT_EQ(second.message, "Miesto A02 už existuje !!!");
    p->Record.PlaceName[1] = Text100::fromUtf8("A2");
    EXPECT_EQ(entry.clickTarget().place, 2);
}
