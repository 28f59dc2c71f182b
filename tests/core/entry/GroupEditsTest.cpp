// The group page's commands on a project: what they leave in the choices and the record, the
// page's place list and its order, storing on unticking, and the groups following a deleted
// place. Expected lists are written out by hand from the page's rules.
#include "core/entry/GroupEdits.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace dorvan;

namespace {

using Names = std::vector<std::string>;
const std::string G1 = "--- Skupina 1 ---";
const std::string G2 = "--- Skupina 2 ---";

// A new project with the typed places given (sorted by name once the list is complete).
std::unique_ptr<Project> projectOfPlaces(const Names& names)
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    ProjectSession s(*p);
    s.startNew();
    EXPECT_TRUE(s.acceptCount(std::to_string(names.size())).message.empty());
    int k = 0;
    for (const std::string& name : names) {
        ++k;
        EXPECT_EQ(s.places().acceptPlace({ name, std::to_string(k), std::to_string(3 * k % 7) }).refused,
            PlaceField::None);
        s.places().settleTypedList();
    }
    return p;
}

// A record whose places 1..n carry these names in this order, as a clicked list keeps them.
TProjectRecord recordOfNames(const Names& names)
{
    TProjectRecord r;
    for (std::size_t i = 0; i < names.size(); ++i)
        r.PlaceName[static_cast<int>(i) + 1] = Text100::fromUtf8(names[i]);
    return r;
}

} // namespace

TEST(GroupEdits, ThePlaceListKeepsItsOrderAndPutsNewNamesWhereTheyBelong)
{
    // Place-number order differs from name order here; Ž sorts after Z in the code page.
    const Names places { "Senica", "Žilina", "Bojnice", "Dubnica" };
    const TProjectRecord r = recordOfNames(places);
    const DistributionGroups none;
    const DistributionGroups bojnice { 1, { { 1, { "Bojnice" } } } };
    struct Row {
        const char* what;
        const DistributionGroups& groups;
        Names shown;
        Names expected;
    };
    const Row rows[] = {
        { "nothing shown: place-number order", none, {}, { "Senica", "Žilina", "Bojnice", "Dubnica" } },
        { "the order shown is kept", none, { "Dubnica", "Senica", "Bojnice", "Žilina" },
            { "Dubnica", "Senica", "Bojnice", "Žilina" } },
        { "a grouped place leaves", bojnice, { "Dubnica", "Senica", "Bojnice", "Žilina" },
            { "Dubnica", "Senica", "Žilina" } },
        // Bojnice goes before the first greater name (Senica), Dubnica then before Senica too.
        { "names not shown go before the first greater line", none, { "Senica", "Žilina" },
            { "Bojnice", "Dubnica", "Senica", "Žilina" } },
        { "a line of no place goes", bojnice, { "Zvolen", "Žilina", "Dubnica", "Senica" },
            { "Žilina", "Dubnica", "Senica" } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ungroupedLines(r, 4, row.groups, row.shown), row.expected);
    }
    // Two places of one name are two lines; a count beyond the 99 places of a project is bounded.
    const TProjectRecord twice = recordOfNames({ "Senica", "Bojnice", "Senica" });
    EXPECT_EQ(ungroupedLines(twice, 3, none, { "Senica" }), (Names { "Bojnice", "Senica", "Senica" }));
    EXPECT_EQ(ungroupedLines(twice, 5000, none, {}).size(), 99u);
}

TEST(GroupEdits, EachMoveLeavesTheGroupsTheCountsAndThePlaceListInTheProject)
{
    auto p = projectOfPlaces({ "Nitra", "Trnava", "Zlín", "Žilina" });
    GroupEdits edits(*p);
    edits.switchGroups(true);
    EXPECT_EQ(p->Record.CriterionOn[CritGroups], 1);
    EXPECT_TRUE(p->ticked(CritGroups));
    EXPECT_EQ(p->Choices.GroupPlaces, (Names { "Nitra", "Trnava", "Zlín", "Žilina" }));

    struct Step {
        const char* what;
        std::function<GroupMove()> move;
        Names groupLines; // the group list
        Names places; // the place list
        int shownCount; // "Počet skupín"
        int groupCount; // the record's
        bool rerun;
    };
    const Step steps[] = {
        // Two chosen rows: the second moves up by one when the first has gone.
        { "two places in",
            [&] {
                return edits.moveIn({ 0, 1 }, -1);
            },
            { G1, "Nitra", "Trnava" }, { "Zlín", "Žilina" }, 1, 1, false },
        // The shown count lags behind the group just opened.
        { "OK", [&] { return edits.confirm(); }, { G1, "Nitra", "Trnava", G2 }, { "Zlín", "Žilina" }, 1, 2,
            true },
        { "Žilina to the last group", [&] { return edits.moveIn({ 1 }, -1); },
            { G1, "Nitra", "Trnava", G2, "Žilina" }, { "Zlín" }, 2, 2, false },
        // After the chosen line (Nitra); the place list empties.
        { "Zlín after Nitra", [&] { return edits.moveIn({ 0 }, 1); },
            { G1, "Nitra", "Zlín", "Trnava", G2, "Žilina" }, {}, 2, 2, true },
        // Žilina is member 3; its group goes with it.
        { "Žilina out", [&] { return edits.takeOut({ 3 }); }, { G1, "Nitra", "Zlín", "Trnava" }, { "Žilina" },
            1, 1, true },
        // Members 0 and 1 chosen together: Nitra, then Zlín (member 0 by then).
        { "Nitra and Zlín out",
            [&] {
                return edits.takeOut({ 0, 1 });
            },
            { G1, "Trnava" }, { "Nitra", "Zlín", "Žilina" }, 1, 1, false },
        { "the last member out", [&] { return edits.takeOut({ 0 }); }, {},
            { "Nitra", "Trnava", "Zlín", "Žilina" }, 0, 0, true },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const GroupMove m = step.move();
        EXPECT_TRUE(m.moved);
        EXPECT_EQ(groupLines(p->Choices.Groups), step.groupLines);
        EXPECT_EQ(p->Choices.GroupPlaces, step.places);
        EXPECT_EQ(groupPlaces(*p), step.places);
        EXPECT_EQ(p->Choices.Groups.Count, step.shownCount);
        EXPECT_EQ(p->Record.GroupCount, step.groupCount);
        EXPECT_EQ(m.rerun, step.rerun);
    }
    // Nothing to take out, and "OK" with no group: no step.
    const std::size_t done = p->History->done;
    EXPECT_FALSE(edits.takeOut({ 0 }).moved);
    EXPECT_FALSE(edits.confirm().moved);
    EXPECT_EQ(p->History->done, done);
}

TEST(GroupEdits, UntickingStoresTheGroupsAndTickingBringsThemBack)
{
    auto p = projectOfPlaces({ "Nitra", "Trnava", "Zlín", "Žilina" });
    GroupEdits edits(*p);
    edits.switchGroups(true);
    edits.moveIn({ 0, 1 }, -1);
    edits.confirm();
    edits.moveIn({ 0 }, -1);
    edits.switchGroups(false);
    const auto& r = p->Record;
    EXPECT_EQ(r.CriterionOn[CritGroups], 0);
    EXPECT_EQ(r.GroupCount, 2);
    EXPECT_EQ(r.GroupPlaceCount[1], 2);
    EXPECT_EQ(r.GroupPlaceCount[2], 1);
    EXPECT_EQ(r.GroupedPlaceName[1].toUtf8(), "Nitra");
    EXPECT_EQ(r.GroupedPlaceName[2].toUtf8(), "Trnava");
    EXPECT_EQ(r.GroupedPlaceName[3].toUtf8(), "Zlín");
    // Unticked, the page holds no group.
    EXPECT_TRUE(p->Choices.Groups.Groups.empty());
    EXPECT_TRUE(p->Choices.GroupPlaces.empty());

    edits.switchGroups(true);
    const DistributionGroups back { 2, { { 1, { "Nitra", "Trnava" } }, { 2, { "Zlín" } } } };
    EXPECT_EQ(p->Choices.Groups, back);
    EXPECT_EQ(p->Choices.GroupPlaces, Names { "Žilina" });

    // An emptied group list is not stored: the file keeps the last groups under a count of 0.
    for (int i = 0; i < 3; ++i)
        edits.takeOut({ 0 });
    edits.switchGroups(false);
    EXPECT_EQ(r.GroupCount, 0);
    EXPECT_EQ(r.GroupPlaceCount[1], 2);
    EXPECT_EQ(r.GroupedPlaceName[3].toUtf8(), "Zlín");
}

TEST(GroupEdits, ADeletedPlaceLeavesItsGroupAndAnUndoPutsItBack)
{
    auto p = projectOfPlaces({ "Nitra", "Trnava", "Zlín", "Žilina" });
    GroupEdits edits(*p);
    edits.switchGroups(true);
    edits.moveIn({ 0, 2 }, -1); // Nitra and Zlín
    const EntryChoices before = p->Choices;
    ProjectSession(*p).deleteTypedPlace(1); // Nitra
    EXPECT_EQ(p->Choices.Groups, (DistributionGroups { 1, { { 1, { "Zlín" } } } }));
    EXPECT_EQ(p->Choices.GroupPlaces, (Names { "Trnava", "Žilina" }));
    ASSERT_TRUE(ProjectDocument(*p).undo());
    EXPECT_EQ(p->Choices, before);
    EXPECT_EQ(groupPlaces(*p), (Names { "Trnava", "Žilina" }));
}

TEST(GroupEdits, ExistingCentresAreChosenInOrderAndEachChoiceIsAStep)
{
    auto p = projectOfPlaces({ "Nitra", "Trnava", "Zlín" });
    GroupEdits edits(*p);
    ProjectDocument doc(*p);
    doc.startClean();
    EXPECT_TRUE(edits.moveExistingCentre("Zlín", true));
    EXPECT_TRUE(edits.moveExistingCentre("Nitra", true));
    EXPECT_FALSE(edits.moveExistingCentre("Nitra", true)); // chosen already
    EXPECT_FALSE(edits.moveExistingCentre("Trnava", false)); // not chosen
    EXPECT_EQ(p->Choices.ExistingCentres, (Names { "Zlín", "Nitra" }));
    EXPECT_TRUE(edits.moveExistingCentre("Zlín", false));
    EXPECT_EQ(p->Choices.ExistingCentres, Names { "Nitra" });
    EXPECT_EQ(p->History->done, 3u);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(p->Choices.ExistingCentres, (Names { "Zlín", "Nitra" }));
}
