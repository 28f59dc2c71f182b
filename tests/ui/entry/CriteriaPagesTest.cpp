#include "core/allocation/CooperRunDriver.h"
#include "core/project/ProjectFile.h"
#include "support/EntryWindowFixture.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/main/Dorvan_Hlavny.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTemporaryDir>

#include <memory>

namespace {

using dorvan::test::control;
using dorvan::test::Here;
using dorvan::test::ScriptedDialogs;

// The criteria pages over a complete list of three places: Alfa (0;0), Beta (4;0), Gama (0;3).
class CriteriaPages : public dorvan::test::ThreePlacesFixture {
protected:
    bool tabShown(const char* sheet)
    {
        auto* pages = get<QTabWidget>("PageControl2");
        return pages->isTabVisible(pages->indexOf(get<QWidget>(sheet)));
    }
    // Types into the value column of a criterion's grid.
    void editValue(const char* grid, int row, const QString& text, Here at = Here::current())
    {
        editCell(grid, row, 4, text, at);
    }
    QStringList warnings() const { return dialogs.texts("warn"); }
    bool silver(const char* edit)
    {
        return get<QLineEdit>(edit)->palette().color(QPalette::Base) == QColor(0xC0, 0xC0, 0xC0);
    }
};

TEST_F(CriteriaPages, QuantityBoxShowsItsGridAndKeepsTheValuesWhenTickedAgain)
{
    auto& r = project.Record;
    auto* pages = get<QTabWidget>("PageControl2");
    EXPECT_EQ(get<QCheckBox>("CheckBox1")->text(), u("Množstvo"));
    EXPECT_EQ(
        get<QCheckBox>("CheckBox14")->text(), u("Flexibilita zásobovania miest za mesiac (počet návštev)"));
    EXPECT_FALSE(tabShown("TabSheet1"));
    const int openBefore = project.State.OpenCriterionPages;

    const int changes = host.changes;
    tick("CheckBox1");
    EXPECT_EQ(r.CriterionOn[0], 1);
    EXPECT_TRUE(tabShown("TabSheet1"));
    EXPECT_EQ(pages->currentWidget(), get<QWidget>("TabSheet1"));
    EXPECT_EQ(pages->tabText(pages->indexOf(get<QWidget>("TabSheet1"))), u("Množstvo"));
    EXPECT_TRUE(get<QGroupBox>("GroupBox1")->isVisibleTo(w));
    EXPECT_EQ(project.State.OpenCriterionPages, openBefore + 1);
    EXPECT_GT(host.changes, changes);

    auto* g = get<QTableWidget>("StringGrid8");
    ASSERT_EQ(g->rowCount(), 4);
    EXPECT_EQ(cell("StringGrid8", 0, 1), "Miesta");
    EXPECT_EQ(cell("StringGrid8", 0, 4), u("Množstvo"));
    EXPECT_EQ(cell("StringGrid8", 2, 0), "2");
    EXPECT_EQ(cell("StringGrid8", 2, 1), "Beta");
    EXPECT_EQ(cell("StringGrid8", 2, 2), "4");
    EXPECT_EQ(cell("StringGrid8", 2, 4), "1");
    EXPECT_EQ(g->columnWidth(0), 20);
    EXPECT_EQ(g->columnWidth(4), 100);
    // Only the value column can be edited.
    EXPECT_FALSE(g->item(1, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(g->item(1, 4)->flags() & Qt::ItemIsEditable);

    // 0,5 is below 1 and refused: the stored value comes back into the cell and the user is
    // told once; leaving the grid asks nothing more. 2,5 is stored and shows in the place list.
    editValue("StringGrid8", 1, "0,5");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie MNOŽSTVA !!!") });
    EXPECT_EQ(cell("StringGrid8", 1, 4), "1");
    EXPECT_EQ(r.PlaceQuantity[1], 1.0);
    dialogs.shown.clear();
    get<QCheckBox>("CheckBox2")->setFocus(Qt::TabFocusReason);
    g->setFocus(Qt::MouseFocusReason);
    get<QCheckBox>("CheckBox2")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(warnings().isEmpty());
    editValue("StringGrid8", 1, "2,5");
    editValue("StringGrid8", 3, "1");
    EXPECT_TRUE(warnings().isEmpty());
    EXPECT_EQ(r.PlaceQuantity[1], 2.5);
    EXPECT_EQ(r.PlaceQuantity[3], 1.0);
    EXPECT_EQ(get<QTableWidget>("StringGrid6")->item(1, 4)->text(), "2,5");

    // Unticked: byte off, page gone, the grid off; ticked again: the stored values are back.
    tick("CheckBox1");
    EXPECT_EQ(r.CriterionOn[0], 0);
    EXPECT_FALSE(tabShown("TabSheet1"));
    EXPECT_FALSE(g->isEnabled());
    EXPECT_EQ(project.State.OpenCriterionPages, openBefore);
    EXPECT_EQ(r.PlaceQuantity[1], 2.5);
    tick("CheckBox1");
    EXPECT_TRUE(g->isEnabled());
    EXPECT_EQ(cell("StringGrid8", 1, 4), "2,5");
}

TEST_F(CriteriaPages, BadFrequencyCellsGiveOneMessageAndTheGoodRowsAreStored)
{
    auto& r = project.Record;
    tick("CheckBox14");
    EXPECT_EQ(r.CriterionOn[13], 1);
    EXPECT_TRUE(tabShown("TabSheet12"));
    auto* g = get<QTableWidget>("StringGrid10");
    EXPECT_EQ(cell("StringGrid10", 0, 4), "Flexibilita");
    // Two bad cells typed without a commit, then one commit through the last cell.
    g->item(1, 4)->setText("0");
    g->item(2, 4)->setText("1,5");
    editValue("StringGrid10", 3, "4");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie FLEXIBILITY !!!") });
    EXPECT_EQ(cell("StringGrid10", 1, 4), "1");
    EXPECT_EQ(cell("StringGrid10", 2, 4), "1");
    EXPECT_EQ(r.PlaceFlexibility[1], 1);
    EXPECT_EQ(r.PlaceFlexibility[2], 1);
    EXPECT_EQ(r.PlaceFlexibility[3], 4);
    EXPECT_EQ(get<QTableWidget>("StringGrid6")->item(3, 6)->text(), "4");

    // Leaving the grid commits it again: the cells show their stored values, so nothing is
    // refused any more.
    dialogs.shown.clear();
    tick("CheckBox2");
    EXPECT_TRUE(warnings().isEmpty());

    // Price: its own grid and message.
    dialogs.shown.clear();
    EXPECT_EQ(r.CriterionOn[1], 1);
    editValue("StringGrid9", 2, "abc");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie CENY !!!") });
    EXPECT_EQ(r.PlacePrice[2], 1.0);
}

TEST_F(CriteriaPages, WeighingBoxesAndGridsAskForANewRunOnlyWhileTheAllocationIsOpen)
{
    tick("CheckBox1");
    EXPECT_EQ(host.reruns, 0);
    host.cooperOpen = true;
    tick("CheckBox2");
    EXPECT_EQ(host.reruns, 1);
    tick("CheckBox4"); // no weight: no run
    EXPECT_EQ(host.reruns, 1);
    editValue("StringGrid9", 1, "3");
    EXPECT_GE(host.reruns, 2);
    EXPECT_EQ(project.Record.PlacePrice[1], 3.0);
}

TEST_F(CriteriaPages, AddedPlacesAppearOnTheTickedValuePages)
{
    tick("CheckBox1");
    editValue("StringGrid8", 2, "7");
    typeInto("Edit1", "1");
    QTest::keyClick(get<QLineEdit>("Edit1"), Qt::Key_Return);
    place("Delta", "9", "9");
    auto* g = get<QTableWidget>("StringGrid8");
    // Sorted by name: the new place comes third and Beta keeps its quantity.
    ASSERT_EQ(g->rowCount(), 5);
    EXPECT_EQ(cell("StringGrid8", 3, 1), "Delta");
    EXPECT_EQ(cell("StringGrid8", 3, 4), "1");
    EXPECT_EQ(cell("StringGrid8", 4, 1), "Gama");
    EXPECT_EQ(cell("StringGrid8", 2, 4), "7");
}

TEST_F(CriteriaPages, VehicleBoxesShareOnePage)
{
    auto& r = project.Record;
    tick("CheckBox11");
    tick("CheckBox13");
    EXPECT_TRUE(tabShown("TabSheet11"));
    EXPECT_EQ(get<QLineEdit>("Edit38")->text(), "1"); // VehicleCount at start
    EXPECT_EQ(get<QLineEdit>("Edit40")->text(), "60"); // VehicleSpeed at start
    EXPECT_TRUE(get<QLineEdit>("Edit30")->isEnabled());
    EXPECT_FALSE(get<QLineEdit>("Edit31")->isEnabled()); // capacity not ticked

    typeInto("Edit30", "-1");
    click("Button32");
    EXPECT_EQ(warnings(), QStringList { u("Chybne zadaný POČET DOPRAVNÝCH PROSTRIEDKOV !!!") });
    EXPECT_EQ(get<QLineEdit>("Edit30")->text(), "");
    EXPECT_EQ(r.VehicleCount, 1);
    typeInto("Edit30", "3");
    click("Button32");
    EXPECT_EQ(r.VehicleCount, 3);
    EXPECT_EQ(get<QLineEdit>("Edit38")->text(), "3");
    EXPECT_EQ(get<QLineEdit>("Edit30")->text(), "");
    typeInto("Edit41", "45.5");
    click("Button36");
    EXPECT_EQ(r.VehicleSpeed, 45.5);
    EXPECT_EQ(get<QLineEdit>("Edit40")->text(), "45.5"); // the text as typed

    // Unticking the count keeps the page for the speed; its own edits go off and empty.
    tick("CheckBox11");
    EXPECT_EQ(r.CriterionOn[10], 0);
    EXPECT_TRUE(tabShown("TabSheet11"));
    EXPECT_FALSE(get<QLineEdit>("Edit30")->isEnabled());
    EXPECT_EQ(get<QLineEdit>("Edit38")->text(), "");
    EXPECT_TRUE(get<QLineEdit>("Edit41")->isEnabled());
    tick("CheckBox13");
    EXPECT_FALSE(tabShown("TabSheet11"));

    // Places per group: a whole number above 0.
    dialogs.shown.clear();
    tick("CheckBox15");
    EXPECT_TRUE(tabShown("TabSheet13"));
    typeInto("Edit45", "0");
    click("Button40");
    EXPECT_EQ(warnings(), QStringList { u("Chybne zadaný POČET MIEST V SKUPINE !!!") });
    typeInto("Edit45", "4");
    click("Button40");
    EXPECT_EQ(r.PlacesPerGroup, 4);
    EXPECT_EQ(get<QLineEdit>("Edit46")->text(), "4");
}

TEST_F(CriteriaPages, RoutePagesShowTheEnteredValueAsTheCurrentOneAfterOk)
{
    struct Page {
        const char* box;
        const char* entry;
        const char* entryOk;
        const char* allow;
        const char* change;
        const char* changeOk;
        const char* current;
        double dorvan::TProjectRecord::*value;
    };
    for (const Page& p : { Page { "CheckBox4", "Edit17", "Button13", "Button14", "Edit18", "Button15", "Edit19",
                               &dorvan::TProjectRecord::MaxRouteLength },
             Page { "CheckBox5", "Edit20", "Button16", "Button17", "Edit21", "Button18", "Edit22",
                 &dorvan::TProjectRecord::MaxDistributionTime } }) {
        tick(p.box);
        typeInto(p.entry, "12,5");
        click(p.entryOk);
        EXPECT_EQ(project.Record.*p.value, 12.5) << p.box;
        EXPECT_EQ(get<QLineEdit>(p.current)->text(), "12,5") << p.box;
        click(p.allow);
        typeInto(p.change, "x");
        click(p.changeOk);
        EXPECT_EQ(get<QLineEdit>(p.current)->text(), "12,5") << p.box << ": a refused value changes nothing";
        typeInto(p.change, "30,25");
        click(p.changeOk);
        EXPECT_EQ(project.Record.*p.value, 30.25) << p.box;
        EXPECT_EQ(get<QLineEdit>(p.current)->text(), "30,25") << p.box;
    }
}

TEST_F(CriteriaPages, RouteLengthMovesFromEntryToChange)
{
    auto& r = project.Record;
    tick("CheckBox4");
    EXPECT_EQ(r.CriterionOn[3], 1);
    EXPECT_TRUE(get<QGroupBox>("GroupBox18")->isEnabled());
    EXPECT_FALSE(get<QGroupBox>("GroupBox19")->isEnabled());
    EXPECT_FALSE(silver("Edit17"));

    typeInto("Edit17", "-2");
    click("Button13");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie DĹŽKY !!!") });
    EXPECT_EQ(get<QLineEdit>("Edit17")->text(), "");
    EXPECT_EQ(r.RouteLengthState, 0);

    typeInto("Edit17", "0");
    click("Button13");
    EXPECT_EQ(r.MaxRouteLength, 0.0);
    EXPECT_EQ(r.RouteLengthState, 2);
    EXPECT_FALSE(get<QGroupBox>("GroupBox18")->isEnabled());
    EXPECT_TRUE(silver("Edit17"));
    EXPECT_TRUE(get<QGroupBox>("GroupBox19")->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button15")->isEnabled());

    r.MaxRouteLength = 12.5;
    click("Button14");
    EXPECT_EQ(get<QLineEdit>("Edit19")->text(), "12,5");
    EXPECT_TRUE(get<QLineEdit>("Edit18")->isEnabled());
    dialogs.shown.clear();
    typeInto("Edit18", "x");
    click("Button15");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie DĹŽKY !!!") });
    EXPECT_EQ(get<QLineEdit>("Edit18")->text(), "");
    typeInto("Edit18", "30");
    click("Button15");
    EXPECT_EQ(r.MaxRouteLength, 30.0);
    EXPECT_FALSE(get<QLineEdit>("Edit18")->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button15")->isEnabled());

    // Ticked again in the change state: the entry stays off, the change is offered.
    tick("CheckBox4");
    EXPECT_FALSE(tabShown("TabSheet4"));
    tick("CheckBox4");
    EXPECT_FALSE(get<QGroupBox>("GroupBox18")->isEnabled());
    EXPECT_TRUE(get<QGroupBox>("GroupBox19")->isEnabled());
    EXPECT_TRUE(get<QPushButton>("Button14")->isEnabled());

    // The distribution time has its own message.
    dialogs.shown.clear();
    tick("CheckBox5");
    typeInto("Edit20", "-1");
    click("Button16");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie ČASU !!!") });
    typeInto("Edit20", "8");
    click("Button16");
    EXPECT_EQ(r.MaxDistributionTime, 8.0);
    EXPECT_EQ(r.DistributionTimeState, 2);
}

TEST_F(CriteriaPages, LoadingTimeEntriesFollowCentreAndDepots)
{
    auto& r = project.Record;
    r.LoadTimeDS = 2.5;
    r.LoadTimeDM = -1.0; // a negative stored value is not shown
    tick("CheckBox8");
    EXPECT_EQ(r.CriterionOn[7], 1);
    // No centre, no depots: only the other places take a value.
    EXPECT_FALSE(get<QLineEdit>("Edit23")->isEnabled());
    EXPECT_FALSE(get<QLineEdit>("Edit24")->isEnabled());
    EXPECT_TRUE(get<QLineEdit>("Edit26")->isEnabled());
    EXPECT_EQ(get<QLineEdit>("Edit32")->text(), "0");
    EXPECT_EQ(get<QLineEdit>("Edit33")->text(), "2,5");
    EXPECT_EQ(get<QLineEdit>("Edit34")->text(), "");

    // A centre and depots covering every place: the DM entry stays off.
    r.CentralName = dorvan::Text100::fromUtf8("Alfa");
    r.WarehouseCount = 2;
    w->refreshLoadTimesPage();
    EXPECT_TRUE(get<QLineEdit>("Edit23")->isEnabled());
    EXPECT_TRUE(get<QLineEdit>("Edit24")->isEnabled());
    EXPECT_FALSE(get<QLineEdit>("Edit26")->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button26")->isEnabled());

    typeInto("Edit23", "-3");
    click("Button24");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie ČASU DC !!!") });
    typeInto("Edit23", "1,25");
    click("Button24");
    EXPECT_EQ(r.LoadTimeDC, 1.25);
    EXPECT_EQ(get<QLineEdit>("Edit32")->text(), "1,25");

    // Capacities: the same rule on their own page.
    dialogs.shown.clear();
    tick("CheckBox9");
    EXPECT_TRUE(tabShown("TabSheet9"));
    typeInto("Edit28", "-1");
    click("Button28");
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie KAPACITY SKLADOV DS !!!") });
    typeInto("Edit28", "100");
    click("Button28");
    EXPECT_EQ(r.CapacityDS, 100.0);
}

TEST_F(CriteriaPages, ReleasingDownCommitsThePriceGrid)
{
    tick("CheckBox2");
    auto* g = get<QTableWidget>("StringGrid9");
    g->setFocus();
    g->setCurrentCell(1, 4);
    g->item(1, 4)->setText("3,5");
    g->item(2, 4)->setText("0");
    dialogs.shown.clear();
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_EQ(project.Record.PlacePrice[1], 3.5);
    EXPECT_EQ(project.Record.PlacePrice[2], 1.0);
    EXPECT_EQ(warnings(), QStringList { u("Chybné zadanie CENY !!!") });
    EXPECT_EQ(get<QTableWidget>("StringGrid6")->item(1, 5)->text(), "3,5");
}

// At program end the project goes before the window; a grid losing its focus while the window
// is destroyed must not commit into it.
TEST_F(CriteriaPages, DestroyingTheWindowCommitsNothing)
{
    tick("CheckBox1");
    auto* g = get<QTableWidget>("StringGrid8");
    g->setFocus();
    ASSERT_TRUE(g->hasFocus());
    g->item(1, 4)->setText("0,5");
    dialogs.shown.clear();
    const int changes = host.changes;
    delete w.data();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(host.changes, changes);
}

TEST_F(CriteriaPages, PlaceRelationBoxesSwitchTheirByteAndPage)
{
    auto& r = project.Record;
    const char* boxes[] = { "CheckBox3", "CheckBox6", "CheckBox7", "CheckBox10" };
    const char* sheets[] = { "TabSheet3", "TabSheet6", "TabSheet7", "TabSheet10" };
    const int bytes[] = { 2, 5, 6, 9 };
    for (int i = 0; i < 4; ++i) {
        tick(boxes[i]);
        EXPECT_EQ(r.CriterionOn[static_cast<std::size_t>(bytes[i])], 1) << boxes[i];
        EXPECT_TRUE(tabShown(sheets[i])) << sheets[i];
        tick(boxes[i]);
        EXPECT_EQ(r.CriterionOn[static_cast<std::size_t>(bytes[i])], 0) << boxes[i];
        EXPECT_FALSE(tabShown(sheets[i])) << sheets[i];
    }
}

// A saved project with its quantities ticked opens with the box ticked, the values on the page,
// and an allocation weighted by them.
TEST(CriteriaOnOpening, QuantitiesOfASavedProjectWeighTheAllocation)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    dorvan::TProjectRecord r;
    dorvan::ResetProjectAtStart(r);
    const char* names[] = { "Alfa", "Beta", "Gama", "Delta" };
    const double xs[] = { 0, 10, 0, 10 };
    const double ys[] = { 0, 0, 10, 10 };
    const double qs[] = { 1, 2, 3, 40 };
    for (int p = 1; p <= 4; ++p) {
        r.PlaceName[p] = dorvan::Text100::fromUtf8(names[p - 1]);
        r.PlaceX[p] = xs[p - 1];
        r.PlaceY[p] = ys[p - 1];
        r.PlaceQuantity[p] = qs[p - 1];
        r.PlacePrice[p] = 5.0; // not ticked: must not weigh
        r.PlaceFlexibility[p] = 1;
    }
    r.SavedPlaceCount = 4;
    r.setCriterion(dorvan::CritQuantity, true);
    const QString file = dir.filePath("weighted.mzd");
    dorvan::saveProjectFile(file.toStdString(), r, {});

    ScriptedDialogs dialogs;
    auto main = std::make_unique<TDorvan_Central>(dialogs);
    main->resize(1280, 900);
    main->show();
    ASSERT_TRUE(main->openProjectFile(file));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TVstupUdajov* entry = main->entryWindow();
    ASSERT_NE(entry, nullptr);
    auto* box = control<QCheckBox>(entry, "CheckBox1");
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(control<QCheckBox>(entry, "CheckBox2")->isChecked());
    auto* pages = control<QTabWidget>(entry, "PageControl2");
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(control<QWidget>(entry, "TabSheet1"))));
    // The update ran twice on opening; the page is counted once (with the settings page).
    EXPECT_EQ(main->project().State.OpenCriterionPages, 2);
    auto* g = control<QTableWidget>(entry, "StringGrid8");
    ASSERT_EQ(g->rowCount(), 5);
    EXPECT_EQ(g->item(3, 1)->text(), "Gama");
    EXPECT_EQ(g->item(3, 4)->text(), "3");
    EXPECT_EQ(g->item(4, 1)->text(), "Delta");
    EXPECT_EQ(g->item(4, 4)->text(), "40");
    EXPECT_EQ(g->item(2, 4)->text(), "2");

    main->CooperClick();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    auto* cooper = main->findChild<TCooperAlokMetod*>("CooperAlokMetod");
    ASSERT_NE(cooper, nullptr);
    const auto& shown = cooper->solverState();

    // The same run in the core, weighted by the quantities only.
    EXPECT_TRUE(main->project().ticked(dorvan::CritQuantity)) << "the project follows the box";
    dorvan::CooperRunInputs in;
    in.quantityOn = true;
    dorvan::CooperState expected;
    dorvan::runCooperDriver(expected, main->project().Record, 4, in);
    ASSERT_GT(shown.FinalIter, 1);
    EXPECT_EQ(shown.FinalIter, expected.FinalIter);
    EXPECT_EQ(shown.IterX[shown.FinalIter], expected.IterX[expected.FinalIter]);
    EXPECT_EQ(shown.IterY[shown.FinalIter], expected.IterY[expected.FinalIter]);
    // Unweighted, the start would be the plain mean (5;5); the weighted one leans to Delta.
    EXPECT_GT(static_cast<double>(shown.IterX[1]), 5.0);
    EXPECT_GT(static_cast<double>(shown.IterY[1]), 5.0);

    // Unticking the quantities runs the allocation again, now without weights.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(main->project().ticked(dorvan::CritQuantity));
    dorvan::CooperState plain;
    dorvan::runCooperDriver(plain, main->project().Record, 4, dorvan::CooperRunInputs {});
    // The window shows the project's new result: its solver state is read again.
    const auto& rerun = cooper->solverState();
    EXPECT_EQ(static_cast<double>(rerun.IterX[1]), 5.0);
    EXPECT_EQ(rerun.IterX[rerun.FinalIter], plain.IterX[plain.FinalIter]);

    main.reset();
}

} // namespace
