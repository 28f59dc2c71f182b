// "Importovať vzdialenosti ..." on the distance sheet over three places, Alfa (0;0), Beta (4;0)
// and Gama (0;3): the matrix files are written here and the stored values read back from them.
#include "core/project/RecordCodec.h"
#include "support/EntryWindowFixture.h"
#include "ui/common/Utf8Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>

using namespace dorvan;
using namespace dorvan::test;

namespace {

class DistanceImportPage : public ThreePlacesFixture {
protected:
    QString file(const char* name, const QString& text)
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
        return path;
    }
    std::vector<std::uint8_t> recordBytes() const
    {
        const auto bytes = encodeRecord(project.Record);
        return { bytes.begin(), bytes.end() };
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(DistanceImportPage, ButtonBesideThePairEntryStoresEveryPairAndFinishesTheEntry)
{
    tick("CheckBox3");
    typeInto("Edit11", "6,5");
    click("Button10"); // Alfa<--->Beta typed; Alfa<--->Gama asked next
    ASSERT_EQ(project.Record.DistanceEntryState, 0);
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet3"));
    auto* button = get<QPushButton>("ImportVzdialenosti");
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(button->isEnabled());
    const int changesBefore = host.changes;
    // Alfa-Beta both ways, 10 and 10,5: 5 % apart, the mean 10,25 kept; the others one way.
    dialogs.fileAnswers = { file(
        "cesty.csv", u("od;do;km\nAlfa;Beta;10\nBeta;Alfa;10,5\nGama;Alfa;3,75\nBeta;Gama;5,125\n")) };
    click("ImportVzdialenosti");
    EXPECT_EQ(dialogs.texts("open"),
        QStringList {
            u("Importovať vzdialenosti ...|Vzdialenosti (*.csv *.txt *.json);;Všetky súbory (*)") });
    EXPECT_EQ(dialogs.texts("warn"),
        QStringList {
            u("Počet dvojíc miest, ktorých vzdialenosti tam a späť sa líšia o viac ako 1\u00A0%: 1. "
              "Uložený je priemer oboch smerov.") });
    const auto& r = project.Record;
    EXPECT_EQ(r.Distance[1][2], 10.25);
    EXPECT_EQ(r.Distance[2][1], 10.25);
    EXPECT_EQ(r.Distance[1][3], 3.75);
    EXPECT_EQ(r.Distance[3][1], 3.75);
    EXPECT_EQ(r.Distance[2][3], 5.125);
    EXPECT_EQ(r.Distance[3][2], 5.125);
    EXPECT_EQ(r.Distance[2][2], 0.0);
    EXPECT_EQ(r.DistanceEntryState, 2);
    EXPECT_GT(host.changes, changesBefore);
    // The pair entry is over; the change box offers the pairs, with the imported values.
    EXPECT_FALSE(get<QLineEdit>("Edit11")->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button10")->isEnabled());
    EXPECT_TRUE(get<QGroupBox>("GroupBox14")->isEnabled());
    click("Button11");
    auto* first = get<QComboBox>("ComboBox3");
    ASSERT_EQ(first->count(), 3);
    first->setCurrentIndex(1);
    emit first->activated(1);
    auto* second = get<QComboBox>("ComboBox4");
    second->setCurrentIndex(2);
    emit second->activated(2);
    EXPECT_EQ(get<QLineEdit>("Edit16")->text(), u("5,125"));
}

TEST_F(DistanceImportPage, ImportWithTheBoxUntickedTicksItAndEqualsTypingEveryPair)
{
    // Typed first: every pair through the pair entry with the box ticked.
    tick("CheckBox3");
    for (const char* value : { "4,5", "3,25", "6,125" }) {
        typeInto("Edit11", value);
        click("Button10");
    }
    ASSERT_EQ(project.Record.DistanceEntryState, 2);
    const auto typed = recordBytes();
    const auto typedChoices = project.tickedCriteria();

    // The same values from a square matrix after the box was unticked: ticked again, the same
    // record byte for byte.
    tick("CheckBox3");
    ASSERT_FALSE(get<QCheckBox>("CheckBox3")->isChecked());
    project.Record.Distance[1][2] = project.Record.Distance[2][1] = 99.0;
    dialogs.fileAnswers = { file(
        "stvorec.csv", u(";Gama;Beta;Alfa\nAlfa;3,25;4,5;0\nBeta;6,125;0;4,5\nGama;0;6,125;3,25\n")) };
    w->importDistances(); // the main window's "Importovať vzdialenosti ..."
    EXPECT_EQ(dialogs.texts("warn"), QStringList());
    EXPECT_TRUE(get<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_EQ(get<QTabWidget>("PageControl2")->currentWidget(), get<QWidget>("TabSheet3"));
    EXPECT_EQ(get<QTabWidget>("PageControl1")->currentWidget(), get<QWidget>("List2"));
    EXPECT_TRUE(recordBytes() == typed);
    EXPECT_EQ(project.tickedCriteria(), typedChoices);
}

TEST_F(DistanceImportPage, RefusalsAreOneMessageAndChangeNothing)
{
    tick("CheckBox3");
    const auto before = recordBytes();
    struct Case {
        const char* file;
        QString text;
        QString message;
    };
    const Case cases[] = {
        { "riadky.json", R"({"distances":[[0,1],[1,0]]})",
            u("Vzdialenosti zo súboru riadky.json sa nedajú importovať:\n"
              "počet riadkov tabuľky: 2, miest v projekte: 3\nNič nebolo zmenené.") },
        { "chyba.csv", u("Alfa;Beta;4\nAlfa;Alfa;1\nBeta;Delta;2\n"),
            u("Vzdialenosti zo súboru chyba.csv sa nedajú importovať:\n"
              "riadok 2: Alfa<--->Alfa: vzdialenosť miesta od seba musí byť 0, nie 1\n"
              "riadok 3: \"Delta\" nie je miesto projektu\n"
              "chýbajú vzdialenosti miesta Gama\nNič nebolo zmenené.") },
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        dialogs.fileAnswers = { file(c.file, c.text) };
        click("ImportVzdialenosti");
        EXPECT_EQ(dialogs.texts("warn"), QStringList { c.message });
        EXPECT_TRUE(recordBytes() == before) << c.file;
        EXPECT_TRUE(get<QLineEdit>("Edit11")->isEnabled()) << c.file; // the pair entry goes on
    }
    // A cancelled dialog and a file that cannot be read change nothing either.
    dialogs.shown.clear();
    dialogs.fileAnswers = { QString(), dir.filePath("nie.csv") };
    click("ImportVzdialenosti");
    click("ImportVzdialenosti");
    EXPECT_EQ(dialogs.texts("warn"), QStringList { u("Súbor nie.csv sa nedá čítať !!!") });
    EXPECT_TRUE(recordBytes() == before);

    // While places are being added the list is not complete.
    dialogs.shown.clear();
    showPage(0);
    count("1");
    ASSERT_FALSE(project.State.PlacesComplete);
    w->importDistances();
    EXPECT_EQ(dialogs.texts("warn"), QStringList { u("Najprv dokončite zoznam miest !!!") });
}
