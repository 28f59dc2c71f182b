#include "ui/main/Dorvan_Hlavny.h"
#include "core/project/ProjectFile.h"
#include "support/EntryWindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace {

using dorvan::test::control;
using dorvan::test::lines;
using dorvan::test::ScriptedDialogs;

// A record saved to a file and opened again in a main window, as "Otvor ako ..." opens it.
struct OpenedProject {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> main;
    TVstupUdajov* entry = nullptr;

    explicit OpenedProject(const dorvan::TProjectRecord& r)
    {
        EXPECT_TRUE(dir.isValid());
        const QString file = dir.filePath("saved.mzd");
        dorvan::saveProjectFile(file.toStdString(), r, {});
        main = std::make_unique<TDorvan_Central>(dialogs);
        main->resize(1280, 900);
        main->show();
        EXPECT_TRUE(main->openProjectFile(file));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        entry = main->entryWindow();
    }
};

// The relation pages over a complete list of three places: Alfa (0;0), Beta (4;0), Gama (0;3).
class RelationPages : public dorvan::test::ThreePlacesFixture {
public:
    RelationPages()
        : ThreePlacesFixture({ 1200, 800 })
    {
    }

    // Shows a page of the criteria and clicks a line of one of its lists.
    void pickLine(const char* sheet, const char* listName, int row)
    {
        get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>(sheet));
        auto* l = get<QListWidget>(listName);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
        ASSERT_EQ(l->currentRow(), row);
    }
    void distance(const char* text)
    {
        typeInto("Edit11", u(text));
        click("Button10");
    }
    QString entryCaption() { return get<QGroupBox>("GroupBox13")->title(); }
    // A user's double-click: a click, then the second press of the pair.
    void doubleClick(const char* listName, int row)
    {
        auto* l = get<QListWidget>(listName);
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    }
    using ThreePlacesFixture::editCell;
    using ThreePlacesFixture::get;
};
using RelationPagesHelper = RelationPages;

TEST_F(RelationPages, EnterInADistanceFieldIsItsOk)
{
    auto& r = project.Record;
    tick("CheckBox3");
    auto enter = [&](const char* edit, const char* text) {
        typeInto(edit, u(text));
        QTest::keyClick(get<QLineEdit>(edit), Qt::Key_Return);
    };
    // Refused as OK refuses it: the same message, the field emptied, the pair still asked.
    enter("Edit11", "-2");
    EXPECT_EQ(dialogs.texts("warn"), QStringList { u("Chybné zadanie VZDIALENOSTI !!!") });
    EXPECT_TRUE(get<QLineEdit>("Edit11")->text().isEmpty());
    EXPECT_EQ(entryCaption(), u(" Vzdialenosť Alfa<--->Beta "));
    enter("Edit11", "6,5");
    EXPECT_EQ(r.Distance[1][2], 6.5);
    EXPECT_EQ(entryCaption(), u(" Vzdialenosť Alfa<--->Gama "));
    enter("Edit11", "3,25");
    enter("Edit11", "7");
    EXPECT_EQ(r.Distance[2][3], 7.0);
    EXPECT_EQ(r.DistanceEntryState, 2);
    // Once the entry is done, Enter in its (disabled) field does nothing.
    EXPECT_EQ(dialogs.texts("warn").size(), 1);

    // The change of a pair: Enter is the change's OK.
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet3"));
    click("Button11");
    QTest::keyClick(get<QComboBox>("ComboBox3"), Qt::Key_Down); // Alfa
    QTest::keyClick(get<QComboBox>("ComboBox4"), Qt::Key_Down); // Alfa
    QTest::keyClick(get<QComboBox>("ComboBox4"), Qt::Key_Down); // Beta
    dialogs.shown.clear();
    enter("Edit13", "x");
    EXPECT_EQ(dialogs.texts("warn"), QStringList { u("Chybné zadanie VZDIALENOSTI !!!") });
    EXPECT_EQ(r.Distance[1][2], 6.5);
    enter("Edit13", "9");
    EXPECT_EQ(r.Distance[1][2], 9.0);
    EXPECT_EQ(r.Distance[2][1], 9.0);
    EXPECT_EQ(get<QLineEdit>("Edit16")->text(), "9");
    EXPECT_FALSE(get<QPushButton>("Button12")->isEnabled());
}

TEST_F(RelationPages, DistancesAreAskedPairByPairAndChangedLater)
{
    auto& r = project.Record;
    tick("CheckBox3");
    EXPECT_EQ(entryCaption(), u(" Vzdialenosť Alfa<--->Beta "));
    EXPECT_TRUE(get<QLineEdit>("Edit11")->isEnabled());

    const int before = host.changes;
    distance("0");
    distance("-2");
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, u("Chybné zadanie VZDIALENOSTI !!!"));
    EXPECT_TRUE(get<QLineEdit>("Edit11")->text().isEmpty());
    EXPECT_EQ(entryCaption(), u(" Vzdialenosť Alfa<--->Beta "));
    EXPECT_EQ(r.Distance[1][2], 4.0); // still the straight-line distance
    EXPECT_EQ(host.changes, before);

    distance("6,5");
    EXPECT_EQ(entryCaption(), u(" Vzdialenosť Alfa<--->Gama "));
    EXPECT_TRUE(get<QLineEdit>("Edit11")->text().isEmpty());
    distance("3,25");
    EXPECT_EQ(entryCaption(), u(" Vzdialenosť Beta<--->Gama "));
    EXPECT_EQ(r.DistanceEntryState, 0);
    distance("7");
    EXPECT_EQ(r.Distance[1][2], 6.5);
    EXPECT_EQ(r.Distance[2][1], 6.5);
    EXPECT_EQ(r.Distance[3][1], 3.25);
    EXPECT_EQ(r.Distance[2][3], 7.0);
    EXPECT_EQ(r.Distance[3][3], 0.0);
    EXPECT_EQ(host.changes, before + 3);
    EXPECT_EQ(r.DistanceEntryState, 2);
    EXPECT_FALSE(get<QLineEdit>("Edit11")->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button10")->isEnabled());
    EXPECT_TRUE(get<QPushButton>("Button11")->isEnabled());

    // The change of one pair.
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet3"));
    click("Button11");
    auto* mx = get<QComboBox>("ComboBox3");
    auto* my = get<QComboBox>("ComboBox4");
    ASSERT_EQ(mx->count(), 3);
    EXPECT_EQ(my->count(), 0);
    EXPECT_FALSE(my->isEnabled());
    dialogs.shown.clear();
    QTest::keyClick(mx, Qt::Key_Down); // Alfa
    EXPECT_EQ(mx->currentText(), "Alfa");
    EXPECT_TRUE(my->isEnabled());
    EXPECT_EQ(my->count(), 3);
    EXPECT_FALSE(get<QPushButton>("Button12")->isEnabled()); // no pair yet
    QTest::keyClick(my, Qt::Key_Down); // Alfa again
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, u("MIESTA SA ROVNAJÚ !!!"));
    EXPECT_FALSE(get<QPushButton>("Button12")->isEnabled());
    QTest::keyClick(my, Qt::Key_Down); // Beta
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(get<QLineEdit>("Edit16")->text(), u("6,5"));
    typeInto("Edit13", "0");
    click("Button12");
    EXPECT_EQ(dialogs.shown.back().text, u("Chybné zadanie VZDIALENOSTI !!!"));
    EXPECT_EQ(r.Distance[1][2], 6.5);
    typeInto("Edit13", "8,125");
    click("Button12");
    EXPECT_EQ(r.Distance[1][2], 8.125);
    EXPECT_EQ(r.Distance[2][1], 8.125);
    EXPECT_EQ(get<QLineEdit>("Edit16")->text(), u("8,125"));
    EXPECT_FALSE(get<QPushButton>("Button12")->isEnabled());
    EXPECT_FALSE(mx->isEnabled());

    // Unticked and ticked again, a finished entry stays finished.
    tick("CheckBox3");
    EXPECT_EQ(r.CriterionOn[2], 0);
    tick("CheckBox3");
    EXPECT_FALSE(get<QPushButton>("Button10")->isEnabled());
    EXPECT_TRUE(get<QPushButton>("Button11")->isEnabled());
}

TEST_F(RelationPages, AfterAnAdditionOnlyTheAddedPlacesAreAsked)
{
    auto& r = project.Record;
    // Two places planned, one entered, then the count typed again as one: Kappa and Omega are
    // both added places.
    count("2");
    place("Kappa", "5", "5");
    count("1");
    place("Omega", "6", "6");
    ASSERT_EQ(project.State.PlaceCount, 5);
    ASSERT_EQ(r.DistanceEntryState, 1);
    tick("CheckBox3");
    QStringList asked;
    for (int i = 0; i < 20 && get<QPushButton>("Button10")->isEnabled(); ++i) {
        asked << entryCaption();
        distance("9");
    }
    QStringList expected;
    // The pair of the two added places is asked once.
    for (const char* pair : { "Kappa<--->Alfa", "Kappa<--->Beta", "Kappa<--->Gama", "Kappa<--->Omega",
             "Omega<--->Alfa", "Omega<--->Beta", "Omega<--->Gama" })
        expected << u(" Vzdialenosť ") + u(pair) + u(" ");
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(r.DistanceEntryState, 2);
    EXPECT_EQ(r.Distance[5][1], 9.0);
    EXPECT_EQ(r.Distance[1][5], 9.0);
    EXPECT_EQ(r.Distance[4][5], 9.0);
    EXPECT_EQ(r.Distance[4][4], 0.0);
    EXPECT_EQ(r.Distance[1][2], 4.0); // the old pairs are not asked
}

TEST_F(RelationPages, CentreAndDepotsExcludeEachOther)
{
    auto& r = project.Record;
    r.LoadTimeDM = 2.0;
    r.CapacityDM = 3.0;
    r.LoadTimeDC = 4.0;
    r.CapacityDC = 5.0;
    r.LoadTimeDS = 6.0;
    tick("CheckBox7");
    auto* places = get<QListWidget>("ListBox2");
    auto* depots = get<QListWidget>("ListBox3");
    EXPECT_EQ(lines(places), (QStringList { "Alfa", "Beta", "Gama" }));
    EXPECT_FALSE(depots->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button23")->isEnabled());
    click("Button22"); // nothing selected: nothing happens
    EXPECT_EQ(r.WarehouseCount, 0);
    pickLine("TabSheet7", "ListBox2", 2); // Gama
    click("Button22");
    pickLine("TabSheet7", "ListBox2", 1); // Beta
    click("Button22");
    EXPECT_EQ(lines(depots), (QStringList { "Beta", "Gama" }));
    EXPECT_EQ(lines(places), (QStringList { "Alfa" }));
    ASSERT_EQ(r.WarehouseCount, 2);
    EXPECT_EQ(r.WarehouseName[1].toUtf8(), "Beta");
    EXPECT_TRUE(depots->isEnabled());

    tick("CheckBox6");
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet6"));
    auto* choice = get<QComboBox>("ComboBox5");
    ASSERT_EQ(choice->count(), 3);
    dialogs.shown.clear();
    click("Button19");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, u("Vyberte DISTRIBUČNÚ CENTRÁLU !!!"));
    EXPECT_EQ(r.CentralState, 0);
    QTest::keyClick(choice, Qt::Key_Down);
    QTest::keyClick(choice, Qt::Key_Down); // Beta
    click("Button19");
    EXPECT_EQ(r.CentralName.toUtf8(), "Beta");
    EXPECT_EQ(r.CentralState, 2);
    EXPECT_FALSE(choice->isEnabled());
    EXPECT_TRUE(get<QPushButton>("Button20")->isEnabled());
    // Beta is no depot any more and is left out of the place list.
    ASSERT_EQ(r.WarehouseCount, 1);
    EXPECT_EQ(r.WarehouseName[1].toUtf8(), "Gama");
    EXPECT_EQ(lines(depots), (QStringList { "Gama" }));
    EXPECT_EQ(lines(places), (QStringList { "Alfa" }));
    EXPECT_EQ(r.LoadTimeDM, 2.0);

    // The last place becomes a depot: no DM place remains.
    pickLine("TabSheet7", "ListBox2", 0);
    click("Button22");
    EXPECT_EQ(r.LoadTimeDM, 0.0);
    EXPECT_EQ(r.CapacityDM, 0.0);
    EXPECT_FALSE(places->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button22")->isEnabled());
    // The loading-time page follows: DC and DS entries open, DM closed.
    tick("CheckBox8");
    EXPECT_TRUE(get<QLineEdit>("Edit23")->isEnabled());
    EXPECT_TRUE(get<QLineEdit>("Edit24")->isEnabled());
    EXPECT_FALSE(get<QLineEdit>("Edit26")->isEnabled());

    // Put back, a depot lands in name order; the last one clears the DS values.
    pickLine("TabSheet7", "ListBox3", 1); // Gama
    click("Button23");
    pickLine("TabSheet7", "ListBox3", 0); // Alfa
    click("Button23");
    EXPECT_EQ(lines(places), (QStringList { "Alfa", "Gama" }));
    EXPECT_EQ(r.WarehouseCount, 0);
    EXPECT_EQ(r.LoadTimeDS, 0.0);
    EXPECT_FALSE(depots->isEnabled());
    EXPECT_TRUE(get<QLineEdit>("Edit26")->isEnabled()); // DM entry open again

    // Change to nothing: the question has Yes preselected; No keeps the centre.
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet6"));
    click("Button20");
    EXPECT_EQ(get<QLineEdit>("Edit25")->text(), "Beta");
    dialogs.shown.clear();
    dialogs.confirmAnswers = { false, true };
    click("Button21");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "confirm");
    EXPECT_EQ(dialogs.shown[0].text, u("Zrušiť DISTRIBUČNÚ CENTRÁLU ?!!"));
    EXPECT_TRUE(dialogs.shown[0].defaultYes);
    EXPECT_EQ(r.CentralName.toUtf8(), "Beta");
    click("Button21");
    EXPECT_TRUE(r.CentralName.empty());
    EXPECT_EQ(r.CentralState, 0);
    EXPECT_EQ(r.LoadTimeDC, 0.0);
    EXPECT_EQ(r.CapacityDC, 0.0);
    EXPECT_TRUE(get<QLineEdit>("Edit25")->text().isEmpty());
    EXPECT_FALSE(get<QPushButton>("Button20")->isEnabled());
    EXPECT_TRUE(choice->isEnabled()); // the first choice again
    EXPECT_EQ(choice->count(), 3);
    EXPECT_EQ(lines(places), (QStringList { "Alfa", "Beta", "Gama" }));
}

TEST_F(RelationPages, PrioritiesKeepTheOrderTheListShows)
{
    auto& r = project.Record;
    tick("CheckBox10");
    auto* places = get<QListWidget>("ListBox6");
    auto* chosen = get<QListWidget>("ListBox7");
    EXPECT_EQ(lines(places), (QStringList { "Alfa", "Beta", "Gama" }));
    EXPECT_FALSE(get<QPushButton>("Button34")->isEnabled());
    pickLine("TabSheet10", "ListBox6", 2); // Gama
    click("Button30");
    pickLine("TabSheet10", "ListBox6", 0); // Alfa
    click("Button30");
    pickLine("TabSheet10", "ListBox6", 0); // Beta
    click("Button30");
    EXPECT_EQ(lines(chosen), (QStringList { "Gama", "Alfa", "Beta" }));
    EXPECT_FALSE(places->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button30")->isEnabled());
    auto stored = [&r] {
        QStringList s;
        for (int k = 1; k <= r.PriorityCount; ++k)
            s << QString::fromStdString(r.PriorityName[k].toUtf8());
        return s;
    };
    EXPECT_EQ(stored(), lines(chosen));

    const int before = host.changes;
    pickLine("TabSheet10", "ListBox7", 2); // Beta
    click("Button34");
    EXPECT_EQ(lines(chosen), (QStringList { "Gama", "Beta", "Alfa" }));
    EXPECT_EQ(chosen->currentRow(), 1);
    click("Button34");
    click("Button34"); // from the top it wraps to the end
    EXPECT_EQ(lines(chosen), (QStringList { "Gama", "Alfa", "Beta" }));
    EXPECT_EQ(chosen->currentRow(), 2);
    click("Button35"); // from the end to the top
    EXPECT_EQ(lines(chosen), (QStringList { "Beta", "Gama", "Alfa" }));
    EXPECT_EQ(stored(), lines(chosen));
    EXPECT_EQ(host.changes, before + 4);

    pickLine("TabSheet10", "ListBox7", 1); // Gama
    click("Button31");
    EXPECT_EQ(lines(places), (QStringList { "Gama" }));
    pickLine("TabSheet10", "ListBox7", 0); // Beta
    click("Button31");
    EXPECT_EQ(lines(places), (QStringList { "Beta", "Gama" })); // name order
    EXPECT_EQ(stored(), (QStringList { "Alfa" }));
    pickLine("TabSheet10", "ListBox7", 0);
    click("Button31");
    EXPECT_EQ(r.PriorityCount, 0);
    EXPECT_FALSE(chosen->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button31")->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button35")->isEnabled());
}

TEST_F(RelationPages, TheCentreChangesToAnotherPlace)
{
    auto& r = project.Record;
    tick("CheckBox10");
    tick("CheckBox6");
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet6"));
    QTest::keyClick(get<QComboBox>("ComboBox5"), Qt::Key_Down); // Alfa
    click("Button19");
    EXPECT_EQ(r.CentralName.toUtf8(), "Alfa");
    EXPECT_EQ(get<QComboBox>("ComboBox5")->currentText(), "Alfa");
    EXPECT_EQ(lines(get<QListWidget>("ListBox6")), (QStringList { "Beta", "Gama" }));
    click("Button20");
    auto* change = get<QComboBox>("ComboBox6");
    ASSERT_TRUE(change->isEnabled());
    ASSERT_EQ(change->count(), 3);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(change, Qt::Key_Down); // Gama
    const int before = host.changes;
    click("Button21");
    EXPECT_TRUE(dialogs.shown.empty()); // a choice asks nothing
    EXPECT_EQ(r.CentralName.toUtf8(), "Gama");
    EXPECT_EQ(r.CentralState, 2);
    EXPECT_EQ(get<QLineEdit>("Edit25")->text(), "Gama");
    // Both boxes, disabled now, name the current centre (the first one named Alfa still).
    EXPECT_FALSE(get<QComboBox>("ComboBox5")->isEnabled());
    EXPECT_EQ(get<QComboBox>("ComboBox5")->currentText(), "Gama");
    EXPECT_EQ(change->currentText(), "Gama");
    EXPECT_FALSE(change->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button21")->isEnabled());
    EXPECT_GT(host.changes, before);
    EXPECT_EQ(lines(get<QListWidget>("ListBox6")), (QStringList { "Alfa", "Beta" }));
    // Unticked, the centre stays chosen.
    tick("CheckBox6");
    EXPECT_EQ(r.CentralName.toUtf8(), "Gama");
    EXPECT_FALSE(get<QPushButton>("Button19")->isEnabled());
}

// Every caption the distance entry shows until it finishes, answering each pair with `value`.
QStringList askedPairs(RelationPagesHelper& h, const char* value)
{
    QStringList asked;
    for (int i = 0; i < 200 && h.get<QPushButton>("Button10")->isEnabled(); ++i) {
        asked << h.entryCaption();
        h.distance(value);
    }
    return asked;
}

QStringList captions(std::initializer_list<const char*> pairs)
{
    QStringList out;
    for (const char* pair : pairs)
        out << u(" Vzdialenosť ") + u(pair) + u(" ");
    return out;
}

TEST_F(RelationPages, AddedPlacesAreAskedByTheirNamesWhereverTheySort)
{
    auto& r = project.Record;
    showPage(0);
    count("1");
    place("Delta", "2", "2"); // four places: Alfa, Beta, Delta, Gama
    tick("CheckBox3");
    // The list was never asked for distances: an addition asks for the added place only.
    ASSERT_EQ(askedPairs(*this, "9"), captions({ "Delta<--->Alfa", "Delta<--->Beta", "Delta<--->Gama" }));
    ASSERT_EQ(r.DistanceEntryState, 2);
    // Two added places: "Aaa" sorts first, "Zzz" last.
    showPage(0);
    count("2");
    place("Aaa", "5", "5");
    place("Zzz", "6", "6");
    ASSERT_EQ(r.PlaceName[1].toUtf8(), "Aaa");
    ASSERT_EQ(r.PlaceName[6].toUtf8(), "Zzz");
    showPage(1);
    tick("CheckBox3");
    tick("CheckBox3");
    EXPECT_EQ(askedPairs(*this, "11"),
        captions({ "Aaa<--->Alfa", "Aaa<--->Beta", "Aaa<--->Delta", "Aaa<--->Gama", "Aaa<--->Zzz",
            "Zzz<--->Alfa", "Zzz<--->Beta", "Zzz<--->Delta", "Zzz<--->Gama" }));
    EXPECT_EQ(r.DistanceEntryState, 2);
    EXPECT_FALSE(get<QLineEdit>("Edit11")->isEnabled());
    for (int k = 2; k <= 6; ++k) {
        EXPECT_EQ(r.Distance[1][k], 11.0) << k;
        EXPECT_EQ(r.Distance[k][1], 11.0) << k;
    }
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(r.Distance[6][k], 11.0) << k;
    // Delta's typed pairs moved with it (Delta is place 4 now, Alfa 2).
    EXPECT_EQ(r.Distance[4][2], 9.0);
    EXPECT_EQ(r.Distance[5][4], 9.0);
    EXPECT_EQ(r.Distance[2][3], 4.0); // Alfa - Beta, never asked: straight
}

TEST_F(RelationPages, TypedDistancesSurviveEditsAndASavedFile)
{
    auto& r = project.Record;
    tick("CheckBox3");
    distance("6,5"); // Alfa - Beta
    distance("3,25"); // Alfa - Gama
    distance("7"); // Beta - Gama
    // A place added between them keeps every typed pair with its places. A click into the
    // place list before the new place is typed does not end its questions.
    showPage(0);
    count("1");
    auto* places = get<QTableWidget>("StringGrid6");
    QTest::mouseClick(
        places->viewport(), Qt::LeftButton, {}, places->visualItemRect(places->item(1, 1)).center());
    place("Cyril", "1", "1");
    ASSERT_EQ(r.PlaceName[3].toUtf8(), "Cyril");
    EXPECT_EQ(r.Distance[1][2], 6.5);
    EXPECT_EQ(r.Distance[1][4], 3.25);
    EXPECT_EQ(r.Distance[4][2], 7.0);
    EXPECT_DOUBLE_EQ(r.Distance[3][2], std::sqrt(10.0)); // Cyril (1;1) - Beta (4;0), straight
    showPage(1);
    EXPECT_EQ(askedPairs(*this, "2"), captions({ "Cyril<--->Alfa", "Cyril<--->Beta", "Cyril<--->Gama" }));

    // Gama moved in the place list: only its pairs are straight again and asked anew; a renamed
    // place keeps its pairs.
    showPage(0);
    editCell("StringGrid6", 4, 2, "8");
    editCell("StringGrid6", 1, 1, "Aura");
    EXPECT_EQ(r.Distance[1][2], 6.5); // Aura - Beta
    EXPECT_EQ(r.Distance[3][1], 2.0); // Cyril - Aura
    EXPECT_EQ(r.Distance[4][1], std::hypot(8.0, 3.0)); // Gama (8;3) - Aura (0;0)
    EXPECT_EQ(r.Distance[2][4], r.Distance[4][2]);
    EXPECT_EQ(r.DistanceEntryState, 1);
    showPage(1);
    EXPECT_EQ(get<QGroupBox>("GroupBox13")->title(), u(" Vzdialenosť Gama<--->Aura "));
    EXPECT_EQ(askedPairs(*this, "4,5"), captions({ "Gama<--->Aura", "Gama<--->Beta", "Gama<--->Cyril" }));
    EXPECT_EQ(r.Distance[2][4], 4.5);

    // Saved and opened again, the typed distances are there, and clicking into the place list of
    // the opened project keeps them.
    r.SavedPlaceCount = project.State.PlaceCount;
    const auto typed = r.Distance;
    OpenedProject opened(r);
    TVstupUdajov* entry = opened.entry;
    auto& main = opened.main;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(main->project().Record.Distance, typed);
    auto* list = control<QTableWidget>(entry, "StringGrid6");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2, 1)).center());
    EXPECT_EQ(main->project().Record.Distance, typed);
    auto* pages = control<QTabWidget>(entry, "PageControl1");
    pages->setCurrentIndex(3);
    EXPECT_EQ(control<QTableWidget>(entry, "StringGrid2")->item(3, 2)->text(), u("6,5"));
    EXPECT_EQ(control<QTableWidget>(entry, "StringGrid2")->item(5, 3)->text(), u("4,5"));
}

TEST_F(RelationPages, DepotAndPriorityListsFollowThePlaceList)
{
    auto& r = project.Record;
    tick("CheckBox7");
    tick("CheckBox10");
    pickLine("TabSheet7", "ListBox2", 1); // Beta
    click("Button22");
    pickLine("TabSheet10", "ListBox6", 1); // Beta
    click("Button30");
    pickLine("TabSheet10", "ListBox6", 1); // Gama
    click("Button30");

    showPage(0);
    editCell("StringGrid6", 2, 1, "Bora"); // Beta renamed
    EXPECT_EQ(lines(get<QListWidget>("ListBox3")), (QStringList { "Bora" }));
    EXPECT_EQ(lines(get<QListWidget>("ListBox7")), (QStringList { "Bora", "Gama" }));
    EXPECT_EQ(r.WarehouseName[1].toUtf8(), "Bora");
    EXPECT_EQ(r.PriorityName[1].toUtf8(), "Bora");

    // A new place shows in its sorted position on the left.
    count("1");
    place("Cyril", "1", "1");
    EXPECT_EQ(lines(get<QListWidget>("ListBox2")), (QStringList { "Alfa", "Cyril", "Gama" }));
    EXPECT_EQ(lines(get<QListWidget>("ListBox6")), (QStringList { "Alfa", "Cyril" }));

    // Deleted places leave both sides and the stored lists.
    dialogs.confirmAnswers = { true, true };
    auto* list = get<QTableWidget>("StringGrid6");
    list->setCurrentCell(2, 1); // Bora
    QTest::keyClick(list, Qt::Key_Delete);
    list->setCurrentCell(3, 1); // Gama
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(project.State.PlaceCount, 2);
    EXPECT_EQ(lines(get<QListWidget>("ListBox2")), (QStringList { "Alfa", "Cyril" }));
    EXPECT_TRUE(lines(get<QListWidget>("ListBox3")).isEmpty());
    EXPECT_EQ(lines(get<QListWidget>("ListBox6")), (QStringList { "Alfa", "Cyril" }));
    EXPECT_TRUE(lines(get<QListWidget>("ListBox7")).isEmpty());
    EXPECT_EQ(r.WarehouseCount, 0);
    EXPECT_EQ(r.PriorityCount, 0);
}

TEST_F(RelationPages, SeveralChosenNamesMoveAtOnce)
{
    auto& r = project.Record;
    auto ctrlPick = [this](const char* listName, int row) {
        auto* l = get<QListWidget>(listName);
        QTest::mouseClick(
            l->viewport(), Qt::LeftButton, Qt::ControlModifier, l->visualItemRect(l->item(row)).center());
    };
    // Depots: Gama and Alfa chosen (in that order), moved in list order.
    tick("CheckBox7");
    pickLine("TabSheet7", "ListBox2", 2);
    ctrlPick("ListBox2", 0);
    const int before = host.changes;
    click("Button22");
    EXPECT_EQ(lines(get<QListWidget>("ListBox3")), (QStringList { "Alfa", "Gama" }));
    EXPECT_EQ(lines(get<QListWidget>("ListBox2")), (QStringList { "Beta" }));
    EXPECT_EQ(r.WarehouseCount, 2);
    EXPECT_EQ(host.changes, before + 2); // one change each, as two clicks would make
    pickLine("TabSheet7", "ListBox3", 0);
    ctrlPick("ListBox3", 1);
    click("Button23");
    EXPECT_EQ(lines(get<QListWidget>("ListBox2")), (QStringList { "Alfa", "Beta", "Gama" }));
    EXPECT_EQ(r.WarehouseCount, 0);
    // A double-click moves the one line.
    doubleClick("ListBox2", 1);
    EXPECT_EQ(lines(get<QListWidget>("ListBox3")), (QStringList { "Beta" }));

    // Priorities keep the list order of the chosen places; Shift-click chooses a range.
    tick("CheckBox10");
    pickLine("TabSheet10", "ListBox6", 2);
    auto* places = get<QListWidget>("ListBox6");
    QTest::mouseClick(places->viewport(), Qt::LeftButton, Qt::ShiftModifier,
        places->visualItemRect(places->item(0)).center());
    click("Button30");
    EXPECT_EQ(lines(get<QListWidget>("ListBox7")), (QStringList { "Alfa", "Beta", "Gama" }));
    pickLine("TabSheet10", "ListBox7", 0);
    ctrlPick("ListBox7", 2);
    click("Button31");
    EXPECT_EQ(lines(get<QListWidget>("ListBox7")), (QStringList { "Beta" }));
    EXPECT_EQ(lines(get<QListWidget>("ListBox6")), (QStringList { "Alfa", "Gama" }));
    ASSERT_EQ(r.PriorityCount, 1);
    EXPECT_EQ(r.PriorityName[1].toUtf8(), "Beta");

    // Groups: two places into group 1 at once, then both back.
    tick("CheckBox17");
    pickLine("TabSheet15", "ListBox8", 0);
    ctrlPick("ListBox8", 2);
    click("Button43");
    EXPECT_EQ(lines(get<QListWidget>("ListBox9")), (QStringList { "--- Skupina 1 ---", "Alfa", "Gama" }));
    EXPECT_EQ(lines(get<QListWidget>("ListBox8")), (QStringList { "Beta" }));
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "1");
    click("Button45");
    doubleClick("ListBox8", 0);
    EXPECT_EQ(lines(get<QListWidget>("ListBox9")),
        (QStringList { "--- Skupina 1 ---", "Alfa", "Gama", "--- Skupina 2 ---", "Beta" }));
    // Alfa and Beta chosen with a header between them: both go back, the emptied group 2 goes.
    pickLine("TabSheet15", "ListBox9", 1);
    ctrlPick("ListBox9", 3);
    ctrlPick("ListBox9", 4);
    click("Button44");
    EXPECT_EQ(lines(get<QListWidget>("ListBox9")), (QStringList { "--- Skupina 1 ---", "Gama" }));
    EXPECT_EQ(lines(get<QListWidget>("ListBox8")), (QStringList { "Alfa", "Beta" }));
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "1");
    ASSERT_EQ(project.Choices.Groups.Groups.size(), 1u);
    EXPECT_EQ(project.Choices.Groups.Groups[0].Members, (std::vector<std::string> { "Gama" }));
}

// A saved project with these criteria opens with the boxes ticked and their values shown again.
TEST(RelationsOnOpening, ASavedProjectShowsItsDistancesCentreDepotsAndPriorities)
{
    dorvan::TProjectRecord r;
    dorvan::ResetProjectAtStart(r);
    const char* names[] = { "Alfa", "Beta", "Delta", "Gama" };
    for (int p = 1; p <= 4; ++p) {
        r.PlaceName[p] = dorvan::Text100::fromUtf8(names[p - 1]);
        r.PlaceX[p] = p;
        r.PlaceY[p] = p * p;
        r.PlaceQuantity[p] = r.PlacePrice[p] = 1.0;
        r.PlaceFlexibility[p] = 1;
    }
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            r.Distance[i][j] = i == j ? 0.0 : 10.0 * (i + j) + 0.5;
    r.SavedPlaceCount = 4;
    r.DistanceEntryState = 2;
    r.CentralName = dorvan::Text100::fromUtf8("Beta");
    r.CentralState = 2;
    dorvan::addWarehouse(r, dorvan::Text100::fromUtf8("Gama"));
    dorvan::addWarehouse(r, dorvan::Text100::fromUtf8("Alfa"));
    dorvan::addPriority(r, dorvan::Text100::fromUtf8("Delta"));
    dorvan::addPriority(r, dorvan::Text100::fromUtf8("Alfa"));
    for (auto c :
        { dorvan::CritRealDistances, dorvan::CritCentral, dorvan::CritWarehouses, dorvan::CritPriority })
        r.setCriterion(c, true);
    OpenedProject opened(r);
    TVstupUdajov* entry = opened.entry;
    ASSERT_NE(entry, nullptr);
    for (const char* box : { "CheckBox3", "CheckBox6", "CheckBox7", "CheckBox10" })
        EXPECT_TRUE(control<QCheckBox>(entry, box)->isChecked()) << box;

    // Distances: the entry is finished, a pair shows its stored value.
    EXPECT_FALSE(control<QWidget>(entry, "Button10")->isEnabled());
    ASSERT_TRUE(control<QWidget>(entry, "Button11")->isEnabled());
    auto* pages = control<QTabWidget>(entry, "PageControl2");
    pages->setCurrentWidget(control<QWidget>(entry, "TabSheet3"));
    QTest::mouseClick(control<QPushButton>(entry, "Button11"), Qt::LeftButton);
    auto* mx = control<QComboBox>(entry, "ComboBox3");
    auto* my = control<QComboBox>(entry, "ComboBox4");
    QTest::keyClick(mx, Qt::Key_Down);
    QTest::keyClick(mx, Qt::Key_Down); // Beta
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(my, Qt::Key_Down); // Delta
    EXPECT_EQ(control<QLineEdit>(entry, "Edit16")->text(), u("50,5"));

    // The centre is in its change mode and shows its name, also in the disabled first box.
    EXPECT_FALSE(control<QWidget>(entry, "GroupBox22")->isEnabled());
    EXPECT_EQ(control<QComboBox>(entry, "ComboBox5")->currentText(), "Beta");
    ASSERT_TRUE(control<QWidget>(entry, "Button20")->isEnabled());
    pages->setCurrentWidget(control<QWidget>(entry, "TabSheet6"));
    QTest::mouseClick(control<QPushButton>(entry, "Button20"), Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>(entry, "Edit25")->text(), "Beta");

    EXPECT_EQ(lines(control<QListWidget>(entry, "ListBox2")), (QStringList { "Delta" }));
    EXPECT_EQ(lines(control<QListWidget>(entry, "ListBox3")), (QStringList { "Alfa", "Gama" }));
    EXPECT_EQ(lines(control<QListWidget>(entry, "ListBox6")), (QStringList { "Gama" }));
    EXPECT_EQ(lines(control<QListWidget>(entry, "ListBox7")), (QStringList { "Delta", "Alfa" }));
    EXPECT_TRUE(control<QWidget>(entry, "Button34")->isEnabled());
}

} // namespace

namespace {

TEST_F(RelationPages, TheCentreFollowsItsPlaceAndGoesWithItsDeletion)
{
    auto& r = project.Record;
    tick("CheckBox6");
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet6"));
    auto* choice = get<QComboBox>("ComboBox5");
    QTest::keyClick(choice, Qt::Key_Down);
    QTest::keyClick(choice, Qt::Key_Down); // Beta
    click("Button19");
    ASSERT_EQ(r.CentralName.toUtf8(), "Beta");
    click("Button20"); // the change box shows the centre
    ASSERT_EQ(get<QLineEdit>("Edit25")->text(), "Beta");

    // Renamed in the place list: the centre keeps its place under the new name.
    showPage(0);
    editCell("StringGrid6", 2, 1, "Bora");
    EXPECT_EQ(r.CentralName.toUtf8(), "Bora");
    EXPECT_EQ(get<QLineEdit>("Edit25")->text(), "Bora");
    EXPECT_EQ(choice->currentText(), "Bora");
    EXPECT_EQ(get<QComboBox>("ComboBox6")->count(), 3);

    // Deleted: no centre any more, and the page offers the first choice among the places left.
    auto* places = get<QTableWidget>("StringGrid6");
    places->setCurrentCell(2, 1);
    dialogs.confirmAnswers = { true };
    QTest::keyClick(places, Qt::Key_Delete);
    ASSERT_EQ(project.State.PlaceCount, 2);
    EXPECT_TRUE(r.CentralName.empty());
    EXPECT_EQ(r.CentralState, 0);
    EXPECT_TRUE(choice->isEnabled());
    EXPECT_EQ(choice->count(), 2);
    EXPECT_FALSE(get<QPushButton>("Button20")->isEnabled());
    EXPECT_TRUE(get<QLineEdit>("Edit25")->text().isEmpty());
}

} // namespace
