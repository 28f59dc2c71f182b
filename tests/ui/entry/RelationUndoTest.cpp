// The relation sheets (real distances, centre, depots, priorities) after an undo and a redo: the
// record comes back byte for byte and each sheet shows the project as it stands again.
#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"
#include "support/EntryWindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>

#include <functional>

namespace {

using dorvan::test::lines;

// The three places Alfa (0;0), Beta (4;0), Gama (0;3) with the criteria page shown.
class RelationUndo : public dorvan::test::ThreePlacesFixture {
public:
    RelationUndo()
        : ThreePlacesFixture({ 1200, 800 })
    {
    }
    using ThreePlacesFixture::click;
    using ThreePlacesFixture::dialogs;
    using ThreePlacesFixture::get;
    using ThreePlacesFixture::showPage;
    using ThreePlacesFixture::tick;

    dorvan::RecordBytes bytes() const { return dorvan::encodeRecord(project.Record); }
    bool undo() { return dorvan::ProjectDocument(project).undo(); }
    bool redo() { return dorvan::ProjectDocument(project).redo(); }

    void sheet(const char* name) { get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>(name)); }
    void distance(const char* text)
    {
        typeInto("Edit11", u(text));
        click("Button10");
    }
    QString asked() { return get<QGroupBox>("GroupBox13")->title(); }
    bool enabled(const char* name) { return get<QWidget>(name)->isEnabled(); }
    void pickLine(const char* sheetName, const char* listName, int row)
    {
        sheet(sheetName);
        auto* l = get<QListWidget>(listName);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }
    // A line added to the lines chosen.
    void ctrlPick(const char* listName, int row)
    {
        auto* l = get<QListWidget>(listName);
        QTest::mouseClick(
            l->viewport(), Qt::LeftButton, Qt::ControlModifier, l->visualItemRect(l->item(row)).center());
    }
    void chooseInCombo(const char* name, int downs)
    {
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(get<QComboBox>(name), Qt::Key_Down);
    }
};

QString askedCaption(const char* names)
{
    return u(" Vzdialenosť ") + u(names) + u(" ");
}

// One step per pair answered: an undo asks the pair again with its straight-line distance
// back, a redo stores the typed value and asks the next pair; the last pair finishes the entry
// within its own step.
TEST_F(RelationUndo, TypedDistancesAreUndonePairByPair)
{
    auto& r = project.Record;
    tick("CheckBox3");
    struct Answer {
        const char* value;
        int row, col;
        double typed, straight;
        const char* askedBefore;
        const char* askedAfter; // nothing: the entry is finished
    };
    const Answer answers[] = {
        { "6,5", 1, 2, 6.5, 4.0, "Alfa<--->Beta", "Alfa<--->Gama" },
        { "3,25", 1, 3, 3.25, 3.0, "Alfa<--->Gama", "Beta<--->Gama" },
        { "7", 2, 3, 7.0, 5.0, "Beta<--->Gama", nullptr },
    };
    for (const Answer& a : answers) {
        SCOPED_TRACE(a.askedBefore);
        const dorvan::RecordBytes before = bytes();
        ASSERT_EQ(asked(), askedCaption(a.askedBefore));
        // Answered with Enter: the field, emptied for the next pair, has no edit of its own that
        // "Krok späť" would take back before the pair.
        typeInto("Edit11", u(a.value));
        QTest::keyClick(get<QLineEdit>("Edit11"), Qt::Key_Return);
        if (a.askedAfter != nullptr) {
            EXPECT_FALSE(get<QLineEdit>("Edit11")->isUndoAvailable());
        }
        const dorvan::RecordBytes after = bytes();
        ASSERT_EQ(r.Distance[a.row][a.col], a.typed);

        ASSERT_TRUE(undo());
        EXPECT_TRUE(bytes() == before);
        EXPECT_EQ(r.Distance[a.row][a.col], a.straight);
        EXPECT_EQ(r.Distance[a.col][a.row], a.straight);
        EXPECT_EQ(r.DistanceEntryState, 0);
        EXPECT_EQ(asked(), askedCaption(a.askedBefore));
        EXPECT_TRUE(enabled("Edit11"));
        EXPECT_TRUE(enabled("Button10"));
        EXPECT_FALSE(enabled("Button11")) << "no change of a pair before the entry is finished";

        ASSERT_TRUE(redo());
        EXPECT_TRUE(bytes() == after);
        EXPECT_EQ(r.Distance[a.col][a.row], a.typed);
        if (a.askedAfter != nullptr) {
            EXPECT_EQ(asked(), askedCaption(a.askedAfter));
            EXPECT_TRUE(enabled("Button10"));
        } else {
            EXPECT_EQ(r.DistanceEntryState, 2);
            EXPECT_FALSE(enabled("Edit11"));
            EXPECT_FALSE(enabled("Button10"));
            EXPECT_TRUE(enabled("Button11"));
        }
    }
    // The undone pairs were asked again and answered: nothing else was stored.
    EXPECT_EQ(r.Distance[1][2], 6.5);
    EXPECT_EQ(r.Distance[3][1], 3.25);
    EXPECT_FALSE(dorvan::ProjectDocument(project).canRedo());
}

// The sheet the user works on stays the current one through an undo and a redo, though other
// ticked sheets (a value grid) are shown again too.
TEST_F(RelationUndo, TheCurrentSheetStaysThroughAnUndo)
{
    tick("CheckBox1");
    tick("CheckBox3");
    sheet("TabSheet3");
    distance("6,5");
    auto* sheets = get<QTabWidget>("PageControl2");
    ASSERT_EQ(sheets->currentWidget(), get<QWidget>("TabSheet3"));
    ASSERT_TRUE(undo());
    EXPECT_EQ(sheets->currentWidget(), get<QWidget>("TabSheet3"));
    EXPECT_EQ(asked(), askedCaption("Alfa<--->Beta"));
    ASSERT_TRUE(redo());
    EXPECT_EQ(sheets->currentWidget(), get<QWidget>("TabSheet3"));
    // Undoing the tick of the sheet shown hides it: another sheet is current then.
    ASSERT_TRUE(undo());
    ASSERT_TRUE(undo());
    EXPECT_FALSE(get<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_EQ(sheets->indexOf(get<QWidget>("TabSheet3")), -1);
}

// An added place undone while the addition waits for it: nothing is asked, and showing that
// writes nothing back, so the place can be redone with its pairs.
TEST_F(RelationUndo, AnUndoneAddedPlaceCanBeRedoneWithItsPairs)
{
    auto& r = project.Record;
    tick("CheckBox3");
    distance("6,5");
    distance("3,25");
    distance("7");
    showPage(0);
    count("1");
    const dorvan::RecordBytes waiting = bytes();
    ASSERT_EQ(r.DistanceEntryState, 1);
    place("Delta", "2", "2");
    const dorvan::RecordBytes added = bytes();
    showPage(1);
    ASSERT_EQ(asked(), askedCaption("Delta<--->Alfa"));

    ASSERT_TRUE(undo());
    EXPECT_TRUE(bytes() == waiting);
    EXPECT_EQ(r.DistanceEntryState, 1);
    EXPECT_FALSE(enabled("Button10"));
    ASSERT_TRUE(dorvan::ProjectDocument(project).canRedo());
    ASSERT_TRUE(redo());
    EXPECT_TRUE(bytes() == added);
    EXPECT_EQ(asked(), askedCaption("Delta<--->Alfa"));
    EXPECT_TRUE(enabled("Button10"));
    EXPECT_FALSE(enabled("Button11"));
}

// A matrix imported over a started entry is one step: the undo asks the pair it asked before,
// the redo shows the entry finished with the imported values.
TEST_F(RelationUndo, AnImportedMatrixIsUndoneAsOneStep)
{
    auto& r = project.Record;
    tick("CheckBox3");
    distance("6,5");
    const dorvan::RecordBytes before = bytes();
    QTemporaryDir dir;
    const QString path = dir.filePath("cesty.csv");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("od;do;km\nAlfa;Beta;10\nAlfa;Gama;3,75\nBeta;Gama;5,125\n");
    f.close();
    dialogs.fileAnswers = { path };
    sheet("TabSheet3");
    click("ImportVzdialenosti");
    ASSERT_EQ(r.DistanceEntryState, 2);
    const dorvan::RecordBytes after = bytes();

    ASSERT_TRUE(undo());
    EXPECT_TRUE(bytes() == before);
    EXPECT_EQ(r.Distance[1][2], 6.5);
    EXPECT_EQ(r.Distance[2][3], 5.0);
    EXPECT_EQ(asked(), askedCaption("Alfa<--->Gama"));
    EXPECT_TRUE(enabled("Button10"));
    EXPECT_FALSE(enabled("Button11"));
    EXPECT_TRUE(get<QCheckBox>("CheckBox3")->isChecked());

    ASSERT_TRUE(redo());
    EXPECT_TRUE(bytes() == after);
    EXPECT_EQ(r.Distance[3][2], 5.125);
    EXPECT_FALSE(enabled("Button10"));
    EXPECT_TRUE(enabled("Button11"));
}

// A pair changed after the entry: the undo gives the old value, and the change box starts over
// so that it shows no value the project no longer holds.
TEST_F(RelationUndo, AChangedPairIsUndoneAndTheChangeBoxStartsOver)
{
    auto& r = project.Record;
    tick("CheckBox3");
    distance("6,5");
    distance("3,25");
    distance("7");
    const dorvan::RecordBytes before = bytes();
    sheet("TabSheet3");
    click("Button11");
    chooseInCombo("ComboBox3", 2); // Beta
    chooseInCombo("ComboBox4", 3); // Gama
    ASSERT_EQ(get<QLineEdit>("Edit16")->text(), u("7"));
    typeInto("Edit13", u("9,75"));
    click("Button12");
    ASSERT_EQ(r.Distance[3][2], 9.75);
    const dorvan::RecordBytes after = bytes();

    ASSERT_TRUE(undo());
    EXPECT_TRUE(bytes() == before);
    EXPECT_EQ(r.Distance[2][3], 7.0);
    EXPECT_TRUE(get<QLineEdit>("Edit16")->text().isEmpty());
    EXPECT_EQ(get<QComboBox>("ComboBox3")->count(), 0);
    EXPECT_FALSE(enabled("Button12"));
    EXPECT_TRUE(enabled("Button11"));
    // The change box works on the restored value.
    click("Button11");
    chooseInCombo("ComboBox3", 3); // Gama
    chooseInCombo("ComboBox4", 2); // Beta
    EXPECT_EQ(get<QLineEdit>("Edit16")->text(), u("7"));

    ASSERT_TRUE(redo());
    EXPECT_TRUE(bytes() == after);
    EXPECT_EQ(r.Distance[2][3], 9.75);
}

// Each row: an edit made through a sheet's controls after its preparation, and the lines one of
// its lists shows before and after it. The undo must show the lines as before, the redo as after.
struct ListEdit {
    const char* what;
    std::function<void(RelationUndo&)> prepare, edit;
    const char* list;
    QStringList before, after;
};

void depotBeta(RelationUndo& t)
{
    t.tick("CheckBox7");
    t.pickLine("TabSheet7", "ListBox2", 1);
    t.click("Button22");
}

void threePriorities(RelationUndo& t)
{
    t.tick("CheckBox10");
    for (int k = 0; k < 3; ++k) {
        t.pickLine("TabSheet10", "ListBox6", 0);
        t.click("Button30");
    }
}

const ListEdit ListEdits[] = {
    { "depot added", [](RelationUndo& t) { t.tick("CheckBox7"); },
        [](RelationUndo& t) {
            t.pickLine("TabSheet7", "ListBox2", 2);
            t.click("Button22");
        },
        "ListBox3", {}, { "Gama" } },
    { "depot removed", depotBeta,
        [](RelationUndo& t) {
            t.pickLine("TabSheet7", "ListBox3", 0);
            t.click("Button23");
        },
        "ListBox2", { "Alfa", "Gama" }, { "Alfa", "Beta", "Gama" } },
    { "two depots moved by one click", [](RelationUndo& t) { t.tick("CheckBox7"); },
        [](RelationUndo& t) {
            t.pickLine("TabSheet7", "ListBox2", 0);
            t.ctrlPick("ListBox2", 2);
            t.click("Button22");
        },
        "ListBox3", {}, { "Alfa", "Gama" } },
    { "two priorities moved back by one click", threePriorities,
        [](RelationUndo& t) {
            t.pickLine("TabSheet10", "ListBox7", 0);
            t.ctrlPick("ListBox7", 1);
            t.click("Button31");
        },
        "ListBox7", { "Alfa", "Beta", "Gama" }, { "Gama" } },
    // A step of the place list: the depot of a deleted place comes back with it.
    { "depot's place deleted", depotBeta,
        [](RelationUndo& t) {
            t.showPage(0);
            auto* places = t.get<QTableWidget>("StringGrid6");
            places->setCurrentCell(2, 1); // Beta
            t.dialogs.confirmAnswers = { true };
            QTest::keyClick(places, Qt::Key_Delete);
            t.showPage(1);
        },
        "ListBox3", { "Beta" }, {} },
    { "priority added", [](RelationUndo& t) { t.tick("CheckBox10"); },
        [](RelationUndo& t) {
            t.pickLine("TabSheet10", "ListBox6", 1);
            t.click("Button30");
        },
        "ListBox7", {}, { "Beta" } },
    { "priority moved up", threePriorities,
        [](RelationUndo& t) {
            t.pickLine("TabSheet10", "ListBox7", 2);
            t.click("Button34");
        },
        "ListBox7", { "Alfa", "Beta", "Gama" }, { "Alfa", "Gama", "Beta" } },
    { "centre chosen among the depots",
        [](RelationUndo& t) {
            depotBeta(t);
            t.tick("CheckBox6");
        },
        [](RelationUndo& t) {
            t.sheet("TabSheet6");
            t.chooseInCombo("ComboBox5", 2); // Beta
            t.click("Button19");
        },
        "ListBox3", { "Beta" }, {} },
};

class RelationListUndo : public RelationUndo, public ::testing::WithParamInterface<int> { };

TEST_P(RelationListUndo, TheListShowsTheRestoredProject)
{
    const ListEdit& row = ListEdits[GetParam()];
    SCOPED_TRACE(row.what);
    row.prepare(*this);
    const dorvan::RecordBytes before = bytes();
    ASSERT_EQ(lines(get<QListWidget>(row.list)), row.before);
    row.edit(*this);
    const dorvan::RecordBytes after = bytes();
    ASSERT_EQ(lines(get<QListWidget>(row.list)), row.after);

    ASSERT_TRUE(undo());
    EXPECT_TRUE(bytes() == before);
    EXPECT_EQ(lines(get<QListWidget>(row.list)), row.before);
    ASSERT_TRUE(redo());
    EXPECT_TRUE(bytes() == after);
    EXPECT_EQ(lines(get<QListWidget>(row.list)), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, RelationListUndo, ::testing::Range(0, static_cast<int>(std::size(ListEdits))));

// The centre's sheet after an undo: the first choice again when no centre is left, the change
// box when the undo brought one back.
TEST_F(RelationUndo, TheCentreSheetShowsWhetherThereIsACentre)
{
    auto& r = project.Record;
    tick("CheckBox6");
    sheet("TabSheet6");
    chooseInCombo("ComboBox5", 3); // Gama
    click("Button19");
    ASSERT_EQ(r.CentralState, 2);
    click("Button20");
    ASSERT_EQ(get<QLineEdit>("Edit25")->text(), "Gama");

    ASSERT_TRUE(undo());
    EXPECT_EQ(r.CentralState, 0);
    EXPECT_TRUE(enabled("ComboBox5"));
    EXPECT_EQ(get<QComboBox>("ComboBox5")->count(), 3);
    EXPECT_TRUE(enabled("Button19"));
    EXPECT_FALSE(enabled("Button20"));
    EXPECT_FALSE(enabled("Button21"));
    EXPECT_TRUE(get<QLineEdit>("Edit25")->text().isEmpty());

    ASSERT_TRUE(redo());
    EXPECT_EQ(r.CentralName.toUtf8(), "Gama");
    EXPECT_FALSE(enabled("Button19"));
    EXPECT_TRUE(enabled("Button20"));
    EXPECT_EQ(get<QComboBox>("ComboBox5")->currentText(), "Gama");

    // Cancelled and the cancellation undone: the centre is back with its change box.
    click("Button20");
    dialogs.confirmAnswers = { true };
    click("Button21");
    ASSERT_EQ(r.CentralState, 0);
    ASSERT_TRUE(undo());
    EXPECT_EQ(r.CentralName.toUtf8(), "Gama");
    EXPECT_FALSE(enabled("ComboBox5"));
    EXPECT_EQ(get<QComboBox>("ComboBox5")->currentText(), "Gama");
    EXPECT_TRUE(enabled("Button20"));
    EXPECT_FALSE(enabled("Button21"));
}

} // namespace
