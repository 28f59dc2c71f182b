// The place list's edits as steps of the history, seen in the data-entry window: a deletion and
// the groups that follow it are one step, a grid commit that changes nothing is none, and the
// overview shows the state an undo or a redo put back.
#include "support/EntryWindowFixture.h"

#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"

#include <QListWidget>

namespace {

using dorvan::test::lines;

// Alfa (0;0), Beta (4;0), Gama (0;3), complete, on the criteria page.
class PlaceEditHistory : public dorvan::test::ThreePlacesFixture {
protected:
    PlaceEditHistory()
        : ThreePlacesFixture({ 1200, 800 })
    {
    }
    dorvan::RecordBytes bytes() const { return dorvan::encodeRecord(project.Record); }
    void intoGroup(int placeRow)
    {
        get<QListWidget>("ListBox8")->setCurrentRow(placeRow);
        click("Button43");
    }
};

} // namespace

TEST_F(PlaceEditHistory, ADeletedPlaceAndTheGroupsFollowingItAreOneStep)
{
    tick("CheckBox17");
    intoGroup(0); // Alfa
    intoGroup(0); // Beta
    const QString h1 = "--- Skupina 1 ---";
    ASSERT_EQ(lines(get<QListWidget>("ListBox9")), (QStringList { h1, "Alfa", "Beta" }));
    const dorvan::RecordBytes before = bytes();
    const dorvan::DistributionGroups groupsBefore = project.Choices.Groups;

    showPage(0);
    dialogs.confirmAnswers = { true };
    auto* list = get<QTableWidget>("StringGrid6");
    list->setCurrentCell(1, 1);
    QTest::keyClick(list, Qt::Key_Delete); // Alfa
    ASSERT_EQ(project.State.PlaceCount, 2);
    const dorvan::RecordBytes after = bytes();
    EXPECT_EQ(project.Choices.Groups, (dorvan::DistributionGroups { 1, { { 1, { "Beta" } } } }));
    const dorvan::DistributionGroups groupsAfter = project.Choices.Groups;

    dorvan::ProjectDocument document(project);
    EXPECT_EQ(document.undoName(), "Vymazanie miesta");
    // The step holds the groups as they were before the deletion (how the group page shows them
    // again is its own concern).
    const dorvan::EditStep& step = project.History->steps[project.History->done - 1];
    ASSERT_TRUE(step.choicesBefore.has_value());
    EXPECT_EQ(step.choicesBefore->Groups, groupsBefore);
    EXPECT_EQ(step.choicesAfter->Groups, groupsAfter);
    ASSERT_TRUE(document.undo());
    document.viewsShown();
    EXPECT_EQ(bytes(), before) << "one undo takes back the place";
    EXPECT_EQ(cell("StringGrid6", 1, 1), "Alfa");
    ASSERT_TRUE(document.redo());
    document.viewsShown();
    EXPECT_EQ(bytes(), after);
    EXPECT_EQ(cell("StringGrid6", 1, 1), "Beta");
}

// Entering and leaving the grid commits it; cells as stored change nothing, tell nothing and
// make no step. A cell changed is one step and is told once.
TEST_F(PlaceEditHistory, AGridCommitOfStoredCellsIsNoStep)
{
    dorvan::ProjectDocument document(project);
    document.markSaved();
    const dorvan::RecordBytes saved = bytes();
    showPage(0);
    const int changes = host.changes;
    for (int pass = 0; pass < 2; ++pass) {
        get<QTableWidget>("StringGrid6")->setFocus();
        get<QLineEdit>("Edit1")->setFocus();
    }
    EXPECT_EQ(bytes(), saved);
    EXPECT_EQ(host.changes, changes);
    EXPECT_TRUE(document.clean());
    EXPECT_FALSE(project.State.UnsavedChanges);

    editCell("StringGrid6", 3, 3, "5");
    get<QLineEdit>("Edit1")->setFocus();
    EXPECT_EQ(project.Record.PlaceY[3], 5.0);
    EXPECT_EQ(host.changes, changes + 1);
    EXPECT_EQ(document.undoName(), "Úprava miest");
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(bytes(), saved);
    EXPECT_FALSE(project.State.UnsavedChanges);
    EXPECT_EQ(cell("StringGrid6", 3, 3), "3");
}

// The overview page stays current while an undo and a redo change what it lists.
TEST_F(PlaceEditHistory, TheOverviewShowsWhatAnUndoAndARedoPutBack)
{
    tick("CheckBox3"); // the distances are listed
    showPage(0);
    editCell("StringGrid6", 2, 2, "8"); // Beta from x = 4 to x = 8
    showPage(3);
    // Alfa (0;0) to Beta: 8 km now, 4 km before.
    EXPECT_EQ(cell("StringGrid2", 2, 3), "8");
    dorvan::ProjectDocument document(project);
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(cell("StringGrid2", 2, 3), "4");
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(cell("StringGrid2", 2, 3), "8");
}
