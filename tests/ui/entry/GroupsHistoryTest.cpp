// The group page's edits undone and redone in the real data-entry window: each step driven
// through its control, then undone and redone as "Krok späť" and "Krok vpred" do; the record's
// bytes, the choices and what the page shows come back each time.
#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"
#include "support/EntryWindowFixture.h"

#include <QCheckBox>

#include <functional>

namespace {

using dorvan::test::Here;

const QString GroupOne = QStringLiteral("--- Skupina 1 ---");

// What the page shows of the groups.
struct GroupsView {
    QStringList places, groups, centres, offered;
    QString count;
    bool ticked = false;
    bool sheetShown = false;
    bool operator==(const GroupsView&) const = default;
};

void PrintTo(const GroupsView& v, std::ostream* os)
{
    *os << "places " << v.places.join('|').toStdString() << "; groups " << v.groups.join('|').toStdString()
        << "; count " << v.count.toStdString() << "; ticked " << v.ticked << "; centres "
        << v.centres.join('|').toStdString() << "; offered " << v.offered.join('|').toStdString()
        << "; sheet " << v.sheetShown;
}

class GroupsPageHistory : public dorvan::test::EntryWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(EntryWindowFixture::SetUp());
        enterList({ { "Nitra", "0", "0" }, { "Trnava", "4", "1" }, { u("Zlín"), "1", "5" },
            { u("Žilina"), "6", "6" } });
        showPage(1);
    }
    QStringList linesOf(const char* list, Here at = Here::current())
    {
        return dorvan::test::lines(get<QListWidget>(list, at));
    }
    // The existing centres' lists only while their sheet is shown.
    GroupsView view()
    {
        auto* sheets = get<QTabWidget>("PageControl2");
        const bool shown = sheets->isTabVisible(sheets->indexOf(get<QWidget>("TabSheet15")));
        return { linesOf("ListBox8"), linesOf("ListBox9"),
            shown ? linesOf("FixedCentresList") : QStringList(),
            shown ? linesOf("FixedPlacesList") : QStringList(), get<QLineEdit>("Edit49")->text(),
            get<QCheckBox>("CheckBox17")->isChecked(), shown };
    }
    // Chooses lines as Ctrl-clicks do.
    void choose(const char* listName, std::initializer_list<int> rows)
    {
        auto* l = get<QListWidget>(listName);
        l->clearSelection();
        for (int row : rows)
            l->item(row)->setSelected(true);
    }
    // The main window's undo and redo: the step, then the views shown are no edit.
    bool step(bool forward)
    {
        dorvan::ProjectDocument document(project);
        const bool done = forward ? document.redo() : document.undo();
        document.viewsShown();
        return done;
    }
};

} // namespace

TEST_F(GroupsPageHistory, EveryEditOfThePageIsUndoneAndRedoneAsTheUserSawIt)
{
    struct Edit {
        const char* what;
        std::function<void()> act;
    };
    const Edit edits[] = {
        { "groups ticked", [&] { tick("CheckBox17"); } },
        { "two places moved in with >>>",
            [&] {
                choose("ListBox8", { 0, 2 });
                click("Button43");
            } },
        { "group confirmed with OK", [&] { click("Button45"); } },
        { "a place moved in by a double-click",
            [&] {
                auto* l = get<QListWidget>("ListBox8");
                const QPoint at = l->visualItemRect(l->item(1)).center();
                QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at); // a click, then the pair's second
                QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
            } },
        { "a member taken out with <<<",
            [&] {
                choose("ListBox9", { 1 });
                click("Button44");
            } },
        { "an existing centre chosen",
            [&] {
                choose("FixedPlacesList", { 0 });
                click("FixedAddButton");
            } },
        { "groups unticked", [&] { tick("CheckBox17"); } },
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        const dorvan::RecordBytes bytesBefore = dorvan::encodeRecord(project.Record);
        const dorvan::EntryChoices choicesBefore = project.Choices;
        const GroupsView before = view();
        const std::size_t steps = project.History->done;
        edit.act();
        const dorvan::RecordBytes bytesAfter = dorvan::encodeRecord(project.Record);
        const dorvan::EntryChoices choicesAfter = project.Choices;
        const GroupsView after = view();
        ASSERT_NE(after, before) << "the edit showed nothing new";
        ASSERT_EQ(project.History->done, steps + 1) << "one edit, one step";

        ASSERT_TRUE(step(false));
        EXPECT_TRUE(dorvan::encodeRecord(project.Record) == bytesBefore);
        EXPECT_EQ(project.Choices, choicesBefore);
        EXPECT_EQ(view(), before);
        ASSERT_TRUE(step(true));
        EXPECT_TRUE(dorvan::encodeRecord(project.Record) == bytesAfter);
        EXPECT_EQ(project.Choices, choicesAfter);
        EXPECT_EQ(view(), after);
        EXPECT_EQ(project.History->done, steps + 1) << "showing the project again made no step";
    }
}

TEST_F(GroupsPageHistory, AnUndoneMoveShowsTheListsTheCountAndTheBytesOfBefore)
{
    tick("CheckBox17");
    choose("ListBox8", { 1, 3 });
    click("Button43");
    ASSERT_EQ(linesOf("ListBox9"), (QStringList { GroupOne, "Trnava", u("Žilina") }));
    click("Button45");
    choose("ListBox8", { 0 });
    click("Button43");
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "2");
    EXPECT_EQ(project.Record.GroupCount, 2);

    ASSERT_TRUE(step(false)); // Nitra back out of group 2, which stays open
    EXPECT_EQ(linesOf("ListBox8"), (QStringList { "Nitra", u("Zlín") }));
    EXPECT_EQ(linesOf("ListBox9"), (QStringList { GroupOne, "Trnava", u("Žilina"), "--- Skupina 2 ---" }));
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "1"); // the count shown before the move
    EXPECT_EQ(project.Record.GroupCount, 2);
    ASSERT_TRUE(step(false)); // the OK
    EXPECT_EQ(project.Record.GroupCount, 1);
    ASSERT_TRUE(step(false)); // the two places
    EXPECT_EQ(linesOf("ListBox8"), (QStringList { "Nitra", "Trnava", u("Zlín"), u("Žilina") }));
    EXPECT_TRUE(linesOf("ListBox9").isEmpty());
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "0");
    EXPECT_EQ(project.Record.GroupCount, 0);
    ASSERT_TRUE(step(false)); // the tick
    EXPECT_FALSE(get<QCheckBox>("CheckBox17")->isChecked());
    EXPECT_EQ(project.Record.CriterionOn[dorvan::CritGroups], 0);
    EXPECT_TRUE(linesOf("ListBox8").isEmpty());
    EXPECT_FALSE(get<QListWidget>("ListBox8")->isEnabled());
}

// A place added while the groups are on is listed on the group page at once, and ">>>" moves the
// line the user chose, not the one at its row in a list the page had not shown yet.
TEST_F(GroupsPageHistory, APlaceAddedWithGroupsOnIsListedAndTheChosenLineMoves)
{
    tick("CheckBox17");
    showPage(0);
    count("1");
    place("Bojnice", "2", "2");
    ASSERT_EQ(project.State.PlaceCount, 5);
    showPage(1);
    EXPECT_EQ(linesOf("ListBox8"), (QStringList { "Bojnice", "Nitra", "Trnava", u("Zlín"), u("Žilina") }));

    auto* places = get<QListWidget>("ListBox8");
    const QList<QListWidgetItem*> zlin = places->findItems(u("Zlín"), Qt::MatchExactly);
    ASSERT_EQ(zlin.size(), 1);
    places->clearSelection();
    zlin.front()->setSelected(true);
    click("Button43");
    EXPECT_EQ(linesOf("ListBox9"), (QStringList { GroupOne, u("Zlín") }));
    EXPECT_EQ(linesOf("ListBox8"), (QStringList { "Bojnice", "Nitra", "Trnava", u("Žilina") }));
}
