#include "support/EntryWindowFixture.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QStatusTipEvent>

#include <cmath>

namespace {

using dorvan::test::Here;

const QString Invalid = u("Chybné zadanie!!!");
const QString Max99 = u("Chybné zadanie - celkový počet MAX 99 !!!");
const QString BadName = u("Chybné zadanie MENA MIESTA !!!");
using dorvan::test::SameSpot;

// The place page's grid is StringGrid6.
class EntryWindow : public dorvan::test::EntryWindowFixture {
protected:
    using EntryWindowFixture::cell;
    using EntryWindowFixture::editCell;
    QTableWidget* grid() { return get<QTableWidget>("StringGrid6"); }
    QString cell(int row, int col, Here at = Here::current()) { return cell("StringGrid6", row, col, at); }
    void editCell(int row, int col, const QString& text, Here at = Here::current())
    {
        editCell("StringGrid6", row, col, text, at);
    }
    // A complete first list of places named by `names`, at (i, 2i).
    void list(const QStringList& names)
    {
        count(QString::number(names.size()));
        for (int i = 0; i < names.size(); ++i)
            place(names[i], QString::number(i), QString::number(2 * i));
    }
    void deleteRow(int row)
    {
        grid()->setCurrentCell(row, 1);
        QTest::keyClick(grid(), Qt::Key_Delete);
    }
    QStringList listLines(const char* name) { return dorvan::test::lines(get<QListWidget>(name)); }
    void select(const char* list, int row) { get<QListWidget>(list)->setCurrentRow(row); }
};

TEST_F(EntryWindow, StartsWithThePagesInOrderAndOnlyTheEntryPagesUsable)
{
    EXPECT_EQ(w->windowTitle(), u("Zadávanie vstupných údajov"));
    EXPECT_EQ(w->toolTip(), u("Definovanie vstupných hodnôt"));
    auto* pages = get<QTabWidget>("PageControl1");
    ASSERT_EQ(pages->count(), 5);
    const char* names[] = { "List1", "List2", "List3", "List4", "TabSheet19" };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(pages->widget(i)->objectName(), names[i]);
    EXPECT_EQ(pages->tabText(0), u("Vstupné dáta - RUČNÉ ZADANIE"));
    EXPECT_EQ(pages->tabText(1), u("Definovanie kritérií"));
    EXPECT_EQ(pages->tabText(4), u("Vstupné dáta - OBRÁZOK"));
    // A page's hint reaches the status bar from anywhere on the page.
    QStringList tips;
    for (const char* page : { "List1", "List2", "List4" }) {
        struct TipCatcher : QObject {
            QStringList* out;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::StatusTip)
                    *out << static_cast<QStatusTipEvent*>(e)->tip();
                return false;
            }
        } catcher;
        catcher.out = &tips;
        w->installEventFilter(&catcher);
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(get<QWidget>(page), &enter);
        w->removeEventFilter(&catcher);
    }
    EXPECT_EQ(tips,
        (QStringList {
            u("Povinné vstupné hodnoty"), u("Ďalšie rozširujúce kritériá"), u("Zoznam vstupných hodnôt") }));
    EXPECT_TRUE(pages->isTabEnabled(0));
    EXPECT_FALSE(pages->isTabEnabled(1));
    EXPECT_FALSE(pages->isTabVisible(2));
    EXPECT_FALSE(pages->isTabEnabled(3));
    EXPECT_FALSE(get<QGroupBox>("VstupGroupBox1")->isEnabled());
    EXPECT_FALSE(get<QPushButton>("OKButton3")->isEnabled());
    EXPECT_TRUE(get<QTableWidget>("StringGrid6")->isHidden());
    EXPECT_TRUE(get<QGroupBox>("GroupBox53")->isHidden());
    EXPECT_TRUE(get<QGroupBox>("GroupBox1")->isHidden());
    auto* inner = get<QTabWidget>("PageControl2");
    EXPECT_FALSE(inner->isTabVisible(inner->indexOf(get<QWidget>("TabSheet14"))));
    EXPECT_FALSE(inner->isTabVisible(inner->indexOf(get<QWidget>("TabSheet15"))));
    EXPECT_EQ(get<QLineEdit>("Edit47")->text(), "0,01");
    EXPECT_EQ(get<QLineEdit>("Edit48")->text(), "1,0");
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "0");
    EXPECT_EQ(w->stoppingRule(), dorvan::StoppingRule::BothAxes);
    EXPECT_EQ(w->startPoint(), dorvan::StartPoint::Computed);
}

TEST_F(EntryWindow, FirstCountTakesTwoToNinetyNine)
{
    for (const char* bad : { "0", "1", "abc", "" }) {
        dialogs.shown.clear();
        count(bad);
        EXPECT_EQ(dialogs.messages(), QStringList { Invalid }) << bad;
        EXPECT_TRUE(get<QLineEdit>("Edit1")->text().isEmpty());
        EXPECT_TRUE(get<QLineEdit>("Edit1")->hasFocus());
    }
    dialogs.shown.clear();
    count("100");
    EXPECT_EQ(dialogs.messages(), QStringList { Max99 });
    EXPECT_EQ(project.State.PlaceCount, 0);
    EXPECT_FALSE(get<QGroupBox>("VstupGroupBox1")->isEnabled());
    EXPECT_TRUE(host.calls.isEmpty());

    dialogs.shown.clear();
    count("99");
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(project.State.PlaceCount, 99);
    EXPECT_EQ(project.State.NextPlace, 1);
    EXPECT_EQ(host.calls, QStringList { "firstCount" });
    EXPECT_GE(host.changes, 1);
    EXPECT_TRUE(get<QGroupBox>("VstupGroupBox1")->isEnabled());
    EXPECT_TRUE(get<QPushButton>("OKButton3")->isEnabled());
    EXPECT_EQ(get<QGroupBox>("VstupGroupBox1")->title(), u(" Vstupné hodnoty MIESTA_1"));
    EXPECT_EQ(get<QLabel>("Label2")->text(), u("Meno MIESTA_1"));
    EXPECT_EQ(get<QLabel>("Label4")->text(), u("Súradnica Y_1"));
    EXPECT_EQ(get<QLineEdit>("Edit2")->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_TRUE(get<QLineEdit>("Edit2")->hasFocus());
}

TEST_F(EntryWindow, EnterKeysWalkThroughOnePlaceAndRefuseBadFields)
{
    count("2");
    auto* name = get<QLineEdit>("Edit2");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialogs.messages(), QStringList { BadName });
    EXPECT_TRUE(name->hasFocus());
    QTest::keyClicks(name, "Nitra");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(get<QLineEdit>("Edit3")->hasFocus());
    QTest::keyClicks(get<QLineEdit>("Edit3"), "1,2,3");
    QTest::keyClick(get<QLineEdit>("Edit3"), Qt::Key_Return);
    EXPECT_EQ(dialogs.messages().last(), u("Chybné zadanie SÚRADNICE X !!!"));
    EXPECT_TRUE(get<QLineEdit>("Edit3")->text().isEmpty());
    QTest::keyClicks(get<QLineEdit>("Edit3"), "4.5");
    QTest::keyClick(get<QLineEdit>("Edit3"), Qt::Key_Return);
    EXPECT_TRUE(get<QLineEdit>("Edit4")->hasFocus());
    QTest::keyClicks(get<QLineEdit>("Edit4"), "y");
    QTest::keyClick(get<QLineEdit>("Edit4"), Qt::Key_Return);
    EXPECT_EQ(dialogs.messages().last(), u("Chybné zadanie SÚRADNICE Y !!!"));
    EXPECT_EQ(project.State.NextPlace, 1); // nothing stored
    QTest::keyClicks(get<QLineEdit>("Edit4"), "-1");
    QTest::keyClick(get<QLineEdit>("Edit4"), Qt::Key_Return);
    EXPECT_EQ(project.State.NextPlace, 2);
    EXPECT_EQ(project.Record.PlaceName[1].toUtf8(), "Nitra");
    EXPECT_EQ(project.Record.PlaceX[1], 4.5);
    EXPECT_EQ(project.Record.PlaceY[1], -1.0);
    EXPECT_EQ(project.Record.PlaceQuantity[1], 1.0);
    EXPECT_EQ(project.Record.PlaceFlexibility[1], 1);
    EXPECT_EQ(get<QLabel>("Label2")->text(), u("Meno MIESTA_2"));
    EXPECT_TRUE(name->hasFocus());
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_FALSE(grid()->isHidden());
    EXPECT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(cell(0, 1), "Miesta");
    EXPECT_EQ(cell(0, 6), "Flexibilita");
    EXPECT_EQ(cell(1, 1), "Nitra");
    EXPECT_EQ(cell(1, 2), "4,5");

    // A name of 100 characters is kept whole; the field takes no more.
    typeInto("Edit2", QString(100, 'n'));
    QTest::keyClicks(get<QLineEdit>("Edit2"), "x");
    EXPECT_EQ(get<QLineEdit>("Edit2")->text().size(), 100);
    typeInto("Edit3", "0");
    typeInto("Edit4", "0");
    QTest::mouseClick(get<QPushButton>("OKButton3"), Qt::LeftButton);
    EXPECT_EQ(project.Record.PlaceName[2].length(), 100); // after "Nitra"
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), std::string(100, 'n'));

    // A character the code page cannot hold is refused like an empty name.
    dialogs.shown.clear();
    count("3"); // places to add
    ASSERT_EQ(project.State.NextPlace, 3);
    place(u("Tōkyō"), "1", "1");
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_NE(dialogs.messages().first().indexOf("Windows-1250"), -1);
    EXPECT_TRUE(get<QLineEdit>("Edit2")->text().isEmpty());
    EXPECT_EQ(project.State.NextPlace, 3);
}

TEST_F(EntryWindow, PlacesAreSortedByCodePageNameAndShownRounded)
{
    count("5");
    place("B", "2,50", "1,23456");
    EXPECT_EQ(cell(1, 1), "B");
    place("A", "3", "0,00005");
    // After the second place: A is place 1.
    EXPECT_EQ(project.Record.PlaceName[1].toUtf8(), "A");
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), "B");
    EXPECT_EQ(cell(1, 1), "A");
    EXPECT_EQ(cell(1, 2), "3");
    EXPECT_EQ(cell(1, 3), "0");
    EXPECT_EQ(cell(2, 2), "2,5");
    EXPECT_EQ(cell(2, 3), "1,2346");
    EXPECT_EQ(project.Record.PlaceY[2], 1.2346);
    EXPECT_EQ(project.Record.Distance[1][2], project.Record.Distance[2][1]);
    EXPECT_NEAR(project.Record.Distance[1][2], std::hypot(0.5, 1.2346), 1e-15);

    place("Miesto2", "0", "0");
    place(u("Šala"), "0", "0");
    place("Miesto10", "0", "0");
    QStringList shown;
    for (int row = 1; row <= 5; ++row)
        shown << cell(row, 1);
    EXPECT_EQ(shown, (QStringList { "A", "B", "Miesto10", "Miesto2", u("Šala") }));
    EXPECT_EQ(cell(5, 0), "5");
    EXPECT_EQ(project.Record.PlaceName[5].toUtf8(), "Šala");
}

TEST_F(EntryWindow, CompletedListOpensTheCriteriaAndTheSettings)
{
    list({ "A", "B", "C" });
    auto& s = project.State;
    EXPECT_TRUE(s.PlacesComplete);
    EXPECT_TRUE(s.AddPlacesMode);
    EXPECT_TRUE(s.EntryClosable);
    EXPECT_FALSE(s.EntryStarted);
    EXPECT_TRUE(s.CoordsDiffer);
    auto* pages = get<QTabWidget>("PageControl1");
    EXPECT_TRUE(pages->isTabEnabled(1));
    EXPECT_TRUE(pages->isTabEnabled(3));
    EXPECT_FALSE(pages->isTabVisible(2));
    EXPECT_FALSE(get<QGroupBox>("VstupGroupBox1")->isEnabled());
    EXPECT_EQ(get<QGroupBox>("VstupGroupBox1")->title(), u(" Vstupné hodnoty MIESTA "));
    EXPECT_EQ(get<QLabel>("Label1")->text(), u(" Koľko miest doplniť ? "));
    EXPECT_EQ(get<QLineEdit>("Edit2")->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(get<QCheckBox>("CheckBox16")->isChecked());
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(host.calls, (QStringList { "firstCount", "lastPlace", "settingsOn" }));
    EXPECT_TRUE(host.cooperEnabled);
    EXPECT_FALSE(get<QGroupBox>("GroupBox1")->isHidden());
    auto* inner = get<QTabWidget>("PageControl2");
    EXPECT_TRUE(inner->isTabVisible(inner->indexOf(get<QWidget>("TabSheet14"))));
    EXPECT_EQ(inner->currentWidget()->objectName(), "TabSheet14");
    EXPECT_EQ(s.OpenCriterionPages, 1);
    EXPECT_EQ(grid()->rowCount(), 4);
    const int standard = grid()->horizontalHeader()->defaultSectionSize();
    EXPECT_EQ(grid()->columnWidth(0), 20);
    EXPECT_EQ(grid()->columnWidth(4), 100);
    EXPECT_EQ(grid()->columnWidth(1), standard);
    EXPECT_EQ(grid()->width(), 20 + 5 * standard + 100 + 10);
}

TEST_F(EntryWindow, PlacesAtOneSpotWarnAndLeaveTheAllocationOff)
{
    count("2");
    place("A", "1", "1");
    place("B", "1,00001", "1"); // rounds to the same spot
    EXPECT_EQ(dialogs.messages(), QStringList { SameSpot });
    EXPECT_FALSE(project.State.CoordsDiffer);
    EXPECT_FALSE(get<QCheckBox>("CheckBox16")->isChecked());
    EXPECT_FALSE(host.calls.contains("settingsOn"));
    EXPECT_FALSE(host.cooperEnabled);
    EXPECT_TRUE(project.State.PlacesComplete);

    // Ticking the settings box by hand while the spot is shared warns again.
    showPage(1);
    dialogs.shown.clear();
    tick("CheckBox16");
    EXPECT_EQ(dialogs.messages(), QStringList { SameSpot });
    EXPECT_FALSE(host.cooperEnabled);

    // Moving one place in the grid and ticking again enables it.
    tick("CheckBox16");
    EXPECT_EQ(host.calls.last(), "settingsOff");
    showPage(0);
    editCell(2, 2, "5");
    EXPECT_TRUE(project.State.CoordsDiffer);
    showPage(1);
    tick("CheckBox16");
    EXPECT_TRUE(host.cooperEnabled);
}

TEST_F(EntryWindow, AddingPlacesKeepsTheTotalBelowOneHundred)
{
    QStringList names;
    for (int i = 1; i <= 97; ++i)
        names << QString("P%1").arg(i, 2, 10, QChar('0'));
    list(names);
    ASSERT_EQ(project.State.PlaceCount, 97);
    ASSERT_TRUE(project.State.AddPlacesMode);

    dialogs.shown.clear();
    count("3");
    EXPECT_EQ(dialogs.messages(), QStringList { Max99 });
    EXPECT_EQ(project.State.PlaceCount, 97);
    EXPECT_FALSE(get<QGroupBox>("VstupGroupBox1")->isEnabled());

    count("2");
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(project.State.PlaceCount, 99);
    EXPECT_EQ(project.State.NextPlace, 98);
    EXPECT_EQ(project.State.AddCount, 2);
    EXPECT_FALSE(project.State.FirstEntryMode);
    EXPECT_EQ(project.Record.EntryStateA, 1);
    EXPECT_EQ(project.Record.DistanceEntryState, 1);
    EXPECT_EQ(get<QLabel>("Label2")->text(), u("Meno MIESTA_98"));
    EXPECT_EQ(get<QLabel>("Label1")->text(), u(" Koľko miest doplniť ? "));

    project.Record.Distance[100][100] = 42;
    place("P00", "500", "500");
    place("P98", "1", "1");
    EXPECT_TRUE(project.State.PlacesComplete);
    EXPECT_EQ(grid()->rowCount(), 100);
    EXPECT_EQ(cell(1, 1), "P00");
    EXPECT_EQ(cell(99, 1), "P98");
    EXPECT_EQ(project.Record.Distance[100][100], 42); // slot 100 is never a place
}

TEST_F(EntryWindow, ACountTypedAgainDuringAnAdditionCountsFromTheEnteredPlaces)
{
    list({ "A", "B" });
    count("2");
    place("C", "5", "5");
    ASSERT_EQ(project.State.NextPlace, 4);
    // Too many on top of the three entered places: the addition under way goes on unchanged.
    dialogs.shown.clear();
    count("97");
    EXPECT_EQ(dialogs.messages(), QStringList { Max99 });
    EXPECT_EQ(project.State.NextPlace, 4);
    EXPECT_EQ(project.State.PlaceCount, 4);
    EXPECT_EQ(get<QLabel>("Label2")->text(), u("Meno MIESTA_4"));

    // One more than the entered places: no place is left out unentered.
    count("1");
    EXPECT_EQ(project.State.NextPlace, 4);
    EXPECT_EQ(project.State.PlaceCount, 4);
    EXPECT_EQ(project.State.AddCount, 1);
    place("D", "7", "7");
    EXPECT_TRUE(project.State.PlacesComplete);
    EXPECT_EQ(project.State.PlaceCount, 4);
    EXPECT_EQ(grid()->rowCount(), 5);
    QStringList shown;
    for (int row = 1; row <= 4; ++row)
        shown << cell(row, 1);
    EXPECT_EQ(shown, (QStringList { "A", "B", "C", "D" }));
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST_F(EntryWindow, CompletingAListCommitsNoGridEditOnTheWay)
{
    list({ "A", "B" });
    host.cooperOpen = true;
    ASSERT_TRUE(get<QCheckBox>("CheckBox16")->isChecked());
    // Completed with the OK button and with Enter: the place itself is the only rerun.
    count("1");
    int reruns = host.reruns;
    place("C", "5", "5");
    EXPECT_EQ(host.reruns, reruns + 1);
    EXPECT_TRUE(get<QLineEdit>("Edit1")->hasFocus());
    count("1");
    reruns = host.reruns;
    typeInto("Edit2", "D");
    typeInto("Edit3", "6");
    typeInto("Edit4", "6");
    QTest::keyClick(get<QLineEdit>("Edit4"), Qt::Key_Return);
    EXPECT_EQ(host.reruns, reruns + 1);
    EXPECT_TRUE(get<QLineEdit>("Edit1")->hasFocus());
}

TEST_F(EntryWindow, GridEditsAreCheckedStoredAndSorted)
{
    list({ "A", "B", "C" });
    dialogs.shown.clear();
    editCell(2, 1, "");
    EXPECT_EQ(dialogs.messages(), QStringList { BadName });
    EXPECT_EQ(cell(2, 1), "B"); // the stored name is back
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), "B");

    dialogs.shown.clear();
    editCell(2, 1, "B2");
    EXPECT_TRUE(dialogs.messages().isEmpty());
    editCell(1, 3, "x");
    EXPECT_EQ(dialogs.messages(), QStringList { u("Chybné zadanie SÚRADNICE !!!") });
    EXPECT_EQ(cell(1, 3), "0");
    EXPECT_EQ(project.Record.PlaceY[1], 0.0);
    editCell(1, 3, "7,25");
    EXPECT_EQ(project.Record.PlaceY[1], 7.25);
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), "B2");
    EXPECT_EQ(project.Record.Distance[1][2], std::hypot(1.0, 5.25));

    // Renaming A to Z moves it to the end.
    editCell(1, 1, "Z");
    EXPECT_EQ(cell(1, 1), "B2");
    EXPECT_EQ(cell(3, 1), "Z");
    EXPECT_EQ(cell(3, 3), "7,25");
    EXPECT_EQ(project.Record.PlaceY[3], 7.25);

    // Typing into the quantity column is not read back; the refill shows the stored value.
    editCell(1, 4, "5");
    EXPECT_EQ(cell(1, 4), "1");
}

TEST_F(EntryWindow, DeletingPlacesAsksAndMovesTheRestDown)
{
    list({ "A", "B", "C" });
    dialogs.confirmAnswers = { false };
    deleteRow(2);
    EXPECT_EQ(dialogs.shown.back().text, u("Zmazať definované miesto B ?!!"));
    EXPECT_FALSE(dialogs.shown.back().defaultYes);
    EXPECT_EQ(project.State.PlaceCount, 3);

    dialogs.confirmAnswers = { true };
    deleteRow(2);
    EXPECT_EQ(project.State.PlaceCount, 2);
    EXPECT_EQ(project.State.NextPlace, 3);
    EXPECT_EQ(grid()->rowCount(), 3);
    EXPECT_EQ(cell(2, 1), "C");
    EXPECT_EQ(cell(2, 0), "2");
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), "C");
    EXPECT_EQ(project.Record.Distance[1][2], std::hypot(2.0, 4.0));
    EXPECT_TRUE(host.cooperEnabled);

    dialogs.confirmAnswers = { true };
    deleteRow(2); // the last one
    EXPECT_EQ(project.State.PlaceCount, 1);
    EXPECT_EQ(grid()->rowCount(), 2);
    EXPECT_FALSE(host.cooperEnabled);
    EXPECT_FALSE(project.State.CoordsDiffer);

    dialogs.confirmAnswers = { true };
    deleteRow(1);
    EXPECT_EQ(project.State.PlaceCount, 0);
    EXPECT_TRUE(grid()->isHidden());
    EXPECT_TRUE(get<QGroupBox>("GroupBox53")->isHidden());

    // The header row is no place.
    dialogs.shown.clear();
    grid()->setCurrentCell(0, 1);
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(EntryWindow, ClosingAnsweredNoKeepsEverything)
{
    list({ "A", "B" });
    project.Record.PictureWidth = 3;
    project.Record.PictureHeight = 2;
    // The typed places are not saved: the question also offers "Uložiť ...".
    using Answer = dorvan::UserDialogs::Answer;
    dialogs.saveAnswers = { Answer::No };
    EXPECT_FALSE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(dialogs.shown.back().text, u("Zavrieť \"Zadávanie údajov\" ?!!"));
    EXPECT_EQ(dialogs.shown.back().kind, "confirmSave");
    // "Uložiť ..." whose save does not happen (this host cannot save) keeps the window too.
    dialogs.saveAnswers = { Answer::Save };
    EXPECT_FALSE(w->close());
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(project.State.EntryWindowClosed);
    EXPECT_FALSE(w->childWindow().isClosing());
    EXPECT_TRUE(project.State.AddPlacesMode);
    EXPECT_TRUE(project.State.EntryClosable);
    EXPECT_EQ(project.State.PlaceCount, 2);
    EXPECT_EQ(project.Record.PictureWidth, 3);
    EXPECT_FALSE(host.calls.contains("closed"));

    dialogs.saveAnswers = { Answer::Yes };
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(project.State.UnsavedChanges); // the project is closed
    EXPECT_TRUE(project.State.EntryWindowClosed);
    EXPECT_TRUE(w->childWindow().isClosing());
    EXPECT_FALSE(project.State.AddPlacesMode);
    EXPECT_FALSE(project.State.EntryClosable);
    EXPECT_FALSE(project.State.PlacesComplete);
    EXPECT_EQ(project.Record.PictureWidth, 0);
    EXPECT_EQ(project.Record.PictureHeight, 0);
    EXPECT_EQ(host.calls.last(), "closed");
    // The places stay in the record.
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), "B");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST_F(EntryWindow, PrecisionAndCorrectionAreCheckedAndResetToTheirDefaults)
{
    list({ "A", "B" });
    showPage(1);
    auto* e = get<QLineEdit>("Edit47");
    auto check = [&](const char* text) {
        dialogs.shown.clear();
        e->clear();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
        return e->text();
    };
    for (const char* good : { "10", "0,0001" }) {
        EXPECT_EQ(check(good), good);
        EXPECT_TRUE(dialogs.messages().isEmpty()) << good;
    }
    for (const char* bad : { "10,0001", "0", "0,00001", "abc" }) {
        EXPECT_EQ(check(bad), "0,01") << bad;
        EXPECT_EQ(dialogs.messages(), QStringList { u("Chybná presnosť !!!") }) << bad;
    }

    auto* k = get<QLineEdit>("Edit48");
    k->clear();
    QTest::keyClicks(k, "0");
    dialogs.shown.clear();
    click("Button42");
    EXPECT_EQ(dialogs.messages(), QStringList { u("Chybná korekčná hodnota !!!") });
    EXPECT_EQ(k->text(), "1,0");
    k->clear();
    QTest::keyClicks(k, "0,0001");
    dialogs.shown.clear();
    int changes = host.changes;
    click("Button42");
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(host.changes, changes + 1);
    EXPECT_EQ(w->correctionText(), "0,0001");
    EXPECT_EQ(project.Choices.Settings.correctionText(), "0,0001") << "the project keeps what the page shows";
    e->setText("5");
    EXPECT_EQ(w->precisionText(), "5");
    // A run puts the texts back to their defaults in the project: the page shows them.
    project.Choices.Settings.setPrecisionText("0,01");
    project.Choices.Settings.setCorrectionText("1,0");
    project.changed(dorvan::ProjectChange::Settings);
    EXPECT_EQ(e->text(), "0,01");
    EXPECT_EQ(k->text(), "1,0");

    tick("RadioButton1");
    EXPECT_EQ(w->stoppingRule(), dorvan::StoppingRule::AxisX);
    tick("RadioButton4");
    EXPECT_EQ(w->stoppingRule(), dorvan::StoppingRule::Objective);
    tick("RadioButton5");
    EXPECT_EQ(w->startPoint(), dorvan::StartPoint::Origin);
    EXPECT_EQ(host.reruns, 0); // no allocation window open
}

TEST_F(EntryWindow, GroupsAreBuiltMovedRenumberedAndStored)
{
    list({ "A", "B", "C", "D" });
    showPage(1);
    tick("CheckBox17");
    EXPECT_EQ(project.Record.CriterionOn[15], 1);
    auto* inner = get<QTabWidget>("PageControl2");
    EXPECT_EQ(inner->currentWidget()->objectName(), "TabSheet15");
    EXPECT_EQ(project.State.OpenCriterionPages, 2);
    EXPECT_EQ(listLines("ListBox8"), (QStringList { "A", "B", "C", "D" }));
    EXPECT_TRUE(listLines("ListBox9").isEmpty());
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "0");

    const QString h1 = "--- Skupina 1 ---", h2 = "--- Skupina 2 ---", h3 = "--- Skupina 3 ---";
    click("Button43"); // nothing selected: nothing happens
    EXPECT_TRUE(listLines("ListBox9").isEmpty());
    select("ListBox8", 0);
    click("Button43");
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A" }));
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "1");
    EXPECT_EQ(project.Record.GroupCount, 1);
    click("Button45");
    click("Button45"); // right after a header: no second one
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", h2 }));
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "1"); // catches up at the next move
    select("ListBox8", 0);
    click("Button43");
    click("Button45");
    select("ListBox8", 0);
    click("Button43");
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", h2, "B", h3, "C" }));
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "3");
    EXPECT_EQ(listLines("ListBox8"), QStringList { "D" });
    // The project holds the groups as the page shows them, for every run to read.
    const dorvan::DistributionGroups three { 3, { { 1, { "A" } }, { 2, { "B" } }, { 3, { "C" } } } };
    EXPECT_EQ(project.Choices.Groups, three);
    EXPECT_TRUE(project.ticked(dorvan::CritGroups));

    // A header cannot be taken out; the only member of group 2 can, and group 3 becomes 2.
    select("ListBox9", 2);
    click("Button44");
    EXPECT_EQ(listLines("ListBox9").size(), 6);
    select("ListBox9", 3);
    click("Button44");
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", h2, "C" }));
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "2");
    EXPECT_EQ(project.Record.GroupCount, 2);
    EXPECT_EQ(project.Choices.Groups, (dorvan::DistributionGroups { 2, { { 1, { "A" } }, { 2, { "C" } } } }));
    EXPECT_EQ(listLines("ListBox8"), (QStringList { "B", "D" }));

    // B goes into group 1 after A; A comes back before B and D.
    select("ListBox9", 1);
    select("ListBox8", 0);
    click("Button43");
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", "B", h2, "C" }));
    select("ListBox9", 1);
    click("Button44");
    EXPECT_EQ(listLines("ListBox8"), (QStringList { "A", "D" }));
    select("ListBox9", 0);
    select("ListBox8", 0);
    click("Button43");
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", "B", h2, "C" }));

    w->SelektujSkupiny();
    EXPECT_EQ(project.Record.GroupPlaceCount[1], 2);
    EXPECT_EQ(project.Record.GroupPlaceCount[2], 1);
    EXPECT_EQ(project.Record.GroupedPlaceName[3].toUtf8(), "C");

    // Unticking stores the groups; ticking again rebuilds both lists from them.
    tick("CheckBox17");
    EXPECT_EQ(project.Record.CriterionOn[15], 0);
    EXPECT_FALSE(project.ticked(dorvan::CritGroups));
    EXPECT_FALSE(inner->isTabVisible(inner->indexOf(get<QWidget>("TabSheet15"))));
    EXPECT_TRUE(listLines("ListBox9").isEmpty());
    EXPECT_FALSE(get<QListWidget>("ListBox9")->isEnabled());
    EXPECT_EQ(project.State.OpenCriterionPages, 1);
    tick("CheckBox17");
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", "B", h2, "C" }));
    EXPECT_EQ(listLines("ListBox8"), QStringList { "D" });
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "2");

    // Emptying the group list takes the last header with it.
    for (int i = 0; i < 3; ++i) {
        select("ListBox9", 1);
        click("Button44");
    }
    EXPECT_TRUE(listLines("ListBox9").isEmpty());
    EXPECT_FALSE(get<QPushButton>("Button44")->isEnabled());
    EXPECT_EQ(project.Record.GroupCount, 0);
    EXPECT_EQ(listLines("ListBox8"), (QStringList { "A", "B", "C", "D" }));
}

TEST_F(EntryWindow, AnOpenAllocationWindowIsAskedToRunAgainExactlyWhereInputChanges)
{
    host.cooperOpen = true;
    count("3");
    EXPECT_EQ(host.reruns, 0);
    QTest::keyClick(get<QLineEdit>("Edit2"), Qt::Key_Return); // a refused name
    EXPECT_EQ(host.reruns, 0);
    place("A", "0", "0");
    EXPECT_EQ(host.reruns, 1);
    place("B", "1", "1");
    EXPECT_EQ(host.reruns, 2);
    place("C", "2", "0");
    // The OK itself, and ticking "Nastavenie premenných DORVAN" on completion.
    EXPECT_EQ(host.reruns, 4);

    editCell(1, 2, "0,5");
    EXPECT_EQ(host.reruns, 5);
    get<QLineEdit>("Edit1")->setFocus(); // leaving the grid commits it once more: no change, no run
    EXPECT_EQ(host.reruns, 5);
    editCell(1, 3, "0,5");
    get<QLineEdit>("Edit1")->setFocus();
    EXPECT_EQ(host.reruns, 6);
    showPage(1);

    for (const char* radio : { "RadioButton1", "RadioButton2", "RadioButton5" })
        tick(radio);
    EXPECT_EQ(host.reruns, 9);
    // A click on the option already chosen changes nothing and runs nothing.
    tick("RadioButton2");
    tick("RadioButton5");
    EXPECT_EQ(host.reruns, 9);
    get<QLineEdit>("Edit47")->setText("0,5");
    click("Button41");
    EXPECT_EQ(host.reruns, 10);
    get<QLineEdit>("Edit47")->setText("50");
    click("Button41"); // refused: no run
    get<QLineEdit>("Edit48")->setText("-1");
    click("Button42");
    EXPECT_EQ(host.reruns, 10);
    get<QLineEdit>("Edit48")->setText("2");
    click("Button42");
    EXPECT_EQ(host.reruns, 11);

    tick("CheckBox16"); // unticked: no run
    EXPECT_EQ(host.reruns, 11);
    // A grid commit runs the allocation again only while the settings box is ticked.
    showPage(0);
    editCell(1, 2, "0,25");
    get<QLineEdit>("Edit1")->setFocus();
    EXPECT_EQ(project.Record.PlaceX[1], 0.25);
    EXPECT_EQ(host.reruns, 11);
    showPage(1);
    tick("CheckBox16");
    EXPECT_EQ(host.reruns, 12);

    tick("CheckBox17");
    EXPECT_EQ(host.reruns, 13);
    select("ListBox8", 0);
    click("Button43"); // places left: no run
    EXPECT_EQ(host.reruns, 13);
    click("Button45"); // a group exists
    EXPECT_EQ(host.reruns, 14);
    select("ListBox8", 0);
    click("Button43");
    select("ListBox8", 0);
    click("Button43"); // the place list is now empty
    EXPECT_EQ(host.reruns, 15);
    ASSERT_EQ(
        listLines("ListBox9"), (QStringList { "--- Skupina 1 ---", "A", "--- Skupina 2 ---", "B", "C" }));
    select("ListBox9", 3);
    click("Button44"); // B out: group 2 keeps C, nothing else changes
    EXPECT_EQ(host.reruns, 15);
    select("ListBox9", 3);
    click("Button44"); // C out: the empty last group goes
    EXPECT_EQ(host.reruns, 16);
    select("ListBox9", 1);
    click("Button44"); // A out: no group is left and the list is empty
    EXPECT_EQ(host.reruns, 17);
    EXPECT_EQ(project.Record.GroupCount, 0);

    // The same changes with no allocation window open ask for nothing.
    host.cooperOpen = false;
    tick("CheckBox17");
    tick("RadioButton3");
    click("Button41");
    EXPECT_EQ(host.reruns, 17);
}

} // namespace

namespace {

// A main window that owns the project, as the real one does: at its destruction the project and
// the host go before the child windows do.
struct OwningWindow : QWidget, EntryHost {
    dorvan::Project project;
    bool* alive;
    explicit OwningWindow(bool* flag)
        : alive(flag)
    {
        *alive = true;
    }
    ~OwningWindow() override { *alive = false; }
    void touched()
    {
        if (!*alive)
            ADD_FAILURE() << "the data-entry window used its host after the host was gone";
    }
    void entryValuesChanged() override { touched(); }
    void entryFirstCountAccepted() override { touched(); }
    void entryLastPlaceEntered() override { touched(); }
    void entrySettingsSwitched(bool) override { touched(); }
    void entryWindowClosed() override { touched(); }
};

} // namespace

TEST(EntryWindowLifetime, GoesQuietlyWithItsOwnerWhileTheGridHasFocus)
{
    using dorvan::test::control;
    static bool alive = false;
    dorvan::test::ScriptedDialogs dialogs;
    auto* owner = new OwningWindow(&alive);
    owner->project.resetAtStart();
    owner->project.State.NextPlace = 1;
    auto* w = new TVstupUdajov(owner->project, dialogs, *owner, owner);
    owner->resize(900, 700);
    owner->show();
    QApplication::setActiveWindow(owner);
    ASSERT_TRUE(QTest::qWaitForWindowActive(owner));
    auto* count = control<QLineEdit>(w, "Edit1");
    QTest::keyClicks(count, "2");
    QTest::keyClick(count, Qt::Key_Return);
    for (const char* name : { "A", "B" }) {
        control<QLineEdit>(w, "Edit2")->setText(name);
        control<QLineEdit>(w, "Edit3")->setText(name[0] == 'A' ? "1" : "2");
        control<QLineEdit>(w, "Edit4")->setText("0");
        QTest::mouseClick(control<QPushButton>(w, "OKButton3"), Qt::LeftButton);
    }
    auto* grid = control<QTableWidget>(w, "StringGrid6");
    grid->setFocus();
    ASSERT_TRUE(grid->hasFocus());
    delete owner;
    EXPECT_FALSE(alive);
}

namespace {

// A deletion that cuts an unfinished entry short leaves the places entered as the whole list:
// the page shows the list complete, and more places come through "Koľko miest doplniť ?".
struct CutShort : EntryWindow {
    void expectComplete(Here at = Here::current())
    {
        SCOPED_TRACE(::testing::Message() << "from line " << at.line());
        EXPECT_TRUE(project.State.PlacesComplete);
        EXPECT_FALSE(get<QGroupBox>("VstupGroupBox1")->isEnabled());
        EXPECT_FALSE(get<QPushButton>("OKButton3")->isEnabled());
        EXPECT_EQ(get<QLabel>("Label1")->text(), u(" Koľko miest doplniť ? "));
        EXPECT_TRUE(get<QTabWidget>("PageControl1")->isTabEnabled(1));
    }
};

TEST_F(CutShort, FirstEntry)
{
    count("4");
    place("A", "0", "0");
    place("B", "3", "0");
    place("C", "0", "4");
    dialogs.confirmAnswers = { true };
    deleteRow(2);
    EXPECT_EQ(project.State.PlaceCount, 2);
    expectComplete();
    EXPECT_TRUE(host.cooperEnabled);
    EXPECT_TRUE(get<QCheckBox>("CheckBox16")->isChecked());

    count("1");
    place("D", "9", "9");
    EXPECT_EQ(project.State.PlaceCount, 3);
    EXPECT_EQ(cell(3, 1), "D");
}

TEST_F(CutShort, Addition)
{
    list({ "A", "B", "C" });
    count("2");
    place("D", "7", "1");
    dialogs.confirmAnswers = { true };
    deleteRow(1);
    EXPECT_EQ(project.State.PlaceCount, 3);
    expectComplete();
    QStringList shown;
    for (int row = 1; row <= 3; ++row)
        shown << cell(row, 1);
    EXPECT_EQ(shown, (QStringList { "B", "C", "D" }));
}
} // namespace

TEST_F(EntryWindow, ADeletedPlaceLeavesItsGroupAndTheOthersKeepTheirs)
{
    list({ "A", "B", "C", "D" });
    showPage(1);
    tick("CheckBox17");
    const QString h1 = "--- Skupina 1 ---", h2 = "--- Skupina 2 ---";
    select("ListBox8", 0);
    click("Button43"); // A
    select("ListBox8", 0);
    click("Button43"); // B after A
    click("Button45");
    select("ListBox8", 0);
    click("Button43"); // C
    ASSERT_EQ(listLines("ListBox9"), (QStringList { h1, "A", "B", h2, "C" }));
    ASSERT_EQ(listLines("ListBox8"), QStringList { "D" });

    showPage(0);
    dialogs.confirmAnswers = { true };
    deleteRow(2); // B
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", h2, "C" }));
    EXPECT_EQ(project.Choices.Groups, (dorvan::DistributionGroups { 2, { { 1, { "A" } }, { 2, { "C" } } } }));
    dialogs.confirmAnswers = { true };
    deleteRow(3); // D, in no group
    EXPECT_TRUE(listLines("ListBox8").isEmpty());
    EXPECT_EQ(listLines("ListBox9"), (QStringList { h1, "A", h2, "C" }));
}

namespace {

TEST_F(EntryWindow, ANameOfAnotherPlaceIsRefusedWhenTypedOrRenamed)
{
    list({ "Nitra", u("Šaľa"), "Trnava" });
    dialogs.shown.clear();
    count("2"); // places to add
    // Enter in the name box already tells; the name stays to be mended.
    typeInto("Edit2", u(" šAĽA "));
    QTest::keyClick(get<QLineEdit>("Edit2"), Qt::Key_Return);
    EXPECT_EQ(dialogs.messages(), QStringList { u("Miesto šAĽA už existuje !!!") });
    EXPECT_TRUE(get<QLineEdit>("Edit2")->hasFocus());
    // OK refuses it the same way and stores nothing.
    place(u("NITRA"), "5", "5");
    EXPECT_EQ(dialogs.messages().last(), u("Miesto NITRA už existuje !!!"));
    EXPECT_TRUE(get<QLineEdit>("Edit2")->text().isEmpty());
    EXPECT_EQ(project.State.NextPlace, 4);
    place("Senica", "5", "5");
    place("Zvolen", "6", "5");
    EXPECT_EQ(project.State.NextPlace, 6);
    EXPECT_EQ(dialogs.messages().size(), 2);

    // Renamed in the place grid (Nitra, Senica, Trnava, Zvolen, Šaľa in code-page order).
    editCell(1, 1, "zvolen ");
    EXPECT_EQ(dialogs.messages().last(), u("Miesto zvolen už existuje !!!"));
    EXPECT_EQ(cell(1, 1), "Nitra");
    EXPECT_EQ(project.Record.PlaceName[1].toUtf8(), "Nitra");
    editCell(1, 1, "NITRA");
    EXPECT_EQ(dialogs.messages().size(), 3);
    EXPECT_EQ(project.Record.PlaceName[1].toUtf8(), "NITRA");
}

} // namespace
