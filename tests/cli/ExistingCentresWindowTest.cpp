// A group proposal with an existing centre taken into "Riešenie DORVAN": in the real windows on
// the sample of 27 towns, against dorvan-cli run on the saved project, and against a total
// computed here from the groups by the brute-force reference's sums (tests/support).
#include "core/allocation/GroupSearch.h"
#include "core/project/ProjectFile.h"
#include "support/CliProcess.h"
#include "support/GroupReference.h"
#include "support/ScriptedDialogs.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/Dorvan_Hlavny.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using dorvan::test::CliRun;
using dorvan::test::runCli;
using dorvan::test::ScriptedDialogs;

QStringList centreListLines(const QListWidget* l)
{
    QStringList out;
    for (int i = 0; l != nullptr && i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

class ExistingCentresInTheRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1400, 950);
        w->show();
    }
    void TearDown() override { w.reset(); }

    template <typename T> T* entry(const char* name) const
    {
        auto* c = w->entryWindow() != nullptr ? w->entryWindow()->findChild<T*>(QString::fromLatin1(name))
                                              : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Opens a file as "Otvor ako ..." does, the open project's close question answered.
    void openFile(const QString& file)
    {
        if (w->entryWindow() != nullptr && w->project().State.UnsavedChanges)
            dialogs.saveAnswers.push_back(dorvan::UserDialogs::Answer::Yes); // close without saving
        else if (w->entryWindow() != nullptr)
            dialogs.confirmAnswers.push_back(true);
        ASSERT_TRUE(w->openProjectFile(file));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void showProposal()
    {
        if (!entry<QCheckBox>("CheckBox17")->isChecked())
            entry<QCheckBox>("CheckBox17")->setChecked(true);
        entry<QTabWidget>("PageControl1")->setCurrentIndex(1);
        entry<QTabWidget>("PageControl2")->setCurrentWidget(entry<QWidget>("TabSheet15"));
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w;
};

TEST_F(ExistingCentresInTheRun, ZilinaKeepsItsPlaceTheTotalIsTheProposalsAndBothSurviveSaveAndOpen)
{
    // The sample with "Rovnomernosť počtu miest v skupinách" at 12.
    dorvan::LoadedProject sample = dorvan::readProjectFile(DORVAN_EXAMPLES "/slovak_towns.mzd");
    sample.record.setCriterion(dorvan::CritEvenGroups, true);
    sample.record.PlacesPerGroup = 12;
    const QString plan = dir.filePath("plan.mzd");
    dorvan::saveProjectFile(plan.toStdString(), sample.record, sample.picture);
    openFile(plan);
    showProposal();

    // Žilina (the last town) becomes an existing centre; 3 centres are proposed.
    auto* offered = entry<QListWidget>("FixedPlacesList");
    ASSERT_EQ(offered->item(26)->text(), u("Žilina"));
    offered->setCurrentRow(26);
    QTest::mouseClick(entry<QPushButton>("FixedAddButton"), Qt::LeftButton);
    EXPECT_EQ(w->project().Choices.ExistingCentres, std::vector<std::string> { "Žilina" });
    entry<QLineEdit>("CentreCountEdit")->setText("3");
    QTest::mouseClick(entry<QPushButton>("ProposeButton"), Qt::LeftButton);
    auto* table = entry<QTableWidget>("CentreTable");
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() >= 3; }, 60000));
    QCoreApplication::processEvents();
    bool ok = false;
    const double proposed = QLocale().toDouble(table->item(2, 1)->text(), &ok);
    ASSERT_TRUE(ok) << table->item(2, 1)->text().toStdString();
    ASSERT_EQ(entry<QListWidget>("ListBox9")->count(), 30); // taken: 3 headers and 27 towns

    // The same total from the groups taken, summed here: Žilina's group from Žilina, each other
    // group from its own Weber point.
    const std::vector<dorvan::GroupSite> sites = dorvan::groupingSites(w->project());
    double reference = 0.0;
    for (const dorvan::DistributionGroup& g : w->project().Choices.Groups.Groups) {
        std::vector<int> members;
        bool zilina = false;
        for (const std::string& name : g.Members)
            for (std::size_t i = 0; i < sites.size(); ++i)
                if (sites[i].name == name) {
                    members.push_back(static_cast<int>(i));
                    zilina = zilina || name == "Žilina";
                }
        reference += zilina ? group_reference::cost(sites, members, sites[26].x, sites[26].y)
                            : group_reference::weber(sites, members);
    }
    EXPECT_NEAR(proposed, reference, 0.00006);

    // Saved, then "Riešenie DORVAN": group 1 stays on Žilina without iterating, and the total
    // under the lists is the proposal's.
    const QString saved = dir.filePath("taken.mzd");
    dialogs.fileAnswers.push_back(saved);
    w->saving().UlozAkoVUClick();
    ASSERT_TRUE(QFile::exists(saved));
    w->CooperClick();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    auto* c = w->findChild<TCooperAlokMetod*>(QStringLiteral("CooperAlokMetod"));
    ASSERT_NE(c, nullptr);
    const QStringList centres = centreListLines(c->findChild<QListWidget*>(QStringLiteral("ListBox1")));
    ASSERT_EQ(centres.size(), 3);
    EXPECT_EQ(centres[0], u("[X1;Y1]=[123,6034;163,6368] Existujúce centrum: Žilina"));
    EXPECT_TRUE(centres[1].startsWith("[Xopt2;Yopt2]=")) << centres[1].toStdString();
    const QStringList position = c->lists().positionLine().split('\n');
    ASSERT_EQ(position.size(), 4) << c->lists().positionLine().toStdString();
    const QString totalPrefix = u("Vážený súčet skupín: ");
    ASSERT_TRUE(position[0].startsWith(totalPrefix)) << position[0].toStdString();
    const double runTotal = QLocale().toDouble(position[0].mid(totalPrefix.size()), &ok);
    ASSERT_TRUE(ok) << position[0].toStdString();
    EXPECT_NEAR(runTotal, reference, 0.00006);
    // Each group's position, as the single-centre run shows its optimum's.
    EXPECT_TRUE(position[1].startsWith(u("Skupina 1: Existujúce centrum Žilina: 49,")))
        << position[1].toStdString();
    EXPECT_TRUE(position[2].startsWith(u("Skupina 2: Poloha optima: "))) << position[2].toStdString();
    EXPECT_TRUE(position[3].startsWith(u("Skupina 3: Poloha optima: "))) << position[3].toStdString();

    // The command line on the saved file: the same lists, then the same total.
    const CliRun text = runCli({ "solve", saved, "--groups" });
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    const QStringList members = centreListLines(c->findChild<QListWidget*>(QStringLiteral("ListBox2")));
    EXPECT_EQ(text.outLines(),
        QStringList { "ListBox1" } + centres + QStringList { "ListBox2" } + members
            + QStringList { position[0] });

    // The drawing, its existing centre labelled "CENTRUM 1", is the command line's render.
    const QImage shown = c->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(shown.isNull());
    const QString png = dir.filePath("taken.png");
    ASSERT_EQ(runCli({ "render", saved, "--groups", "--out", png, "--size",
                         QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()) })
                  .code,
        0);
    const QImage drawn = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), shown.size());
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing += shown.pixel(x, y) != drawn.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);

    // The copy names the existing centre; so do the JSON and the GeoJSON of the command line.
    auto* copy = w->findChild<QAction*>(QStringLiteral("KopirovatVysledok"));
    ASSERT_NE(copy, nullptr);
    QGuiApplication::clipboard()->clear();
    copy->trigger();
    const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
    const qsizetype results
        = copied.indexOf(u("kind\tgroup\tx\ty\tobjective\tgap\texisting\tlatitude\tlongitude"));
    ASSERT_GE(results, 0) << QGuiApplication::clipboard()->text().toStdString();
    ASSERT_GT(copied.size(), results + 3);
    EXPECT_EQ(copied[results + 1].split('\t').value(6), u("Žilina"));
    EXPECT_EQ(copied[results + 2].split('\t').value(6), QString());
    const CliRun json = runCli({ "solve", saved, "--groups", "--format", "json" });
    const QJsonObject solved = QJsonDocument::fromJson(json.outBytes).object();
    EXPECT_NEAR(solved["total"].toDouble(), reference, 1e-6);
    const QJsonArray groups = solved["groups"].toArray();
    ASSERT_EQ(groups.size(), 3);
    EXPECT_TRUE(groups[0]["existing"].toBool());
    EXPECT_EQ(groups[0]["existing_centre"].toString(), u("Žilina"));
    EXPECT_EQ(groups[0]["final_iter"].toInt(), 1);
    EXPECT_FALSE(groups[1]["existing"].toBool());
    const QString geojson = dir.filePath("taken.geojson");
    ASSERT_EQ(runCli({ "export", saved, "--groups", "--format", "geojson", "--out", geojson }).code, 0);
    QFile file(geojson);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int existing = 0;
    for (const QJsonValue& f : QJsonDocument::fromJson(file.readAll()).object()["features"].toArray()) {
        const QJsonObject p = f["properties"].toObject();
        if (p["role"].toString() != "optimum")
            continue;
        EXPECT_EQ(p["existing"].toBool(), p["group"].toInt() == 1);
        existing += p["existing"].toBool() ? 1 : 0;
        if (p["group"].toInt() == 1) {
            EXPECT_EQ(p["existing_centre"].toString(), u("Žilina"));
        }
    }
    EXPECT_EQ(existing, 1);
    // The CSV for a GIS: the existing centre's optimum row names it and says 1, the others 0.
    const QString csv = dir.filePath("taken.csv");
    ASSERT_EQ(runCli({ "export", saved, "--groups", "--format", "csv", "--out", csv }).code, 0);
    QFile exportedCsv(csv);
    ASSERT_TRUE(exportedCsv.open(QIODevice::ReadOnly));
    QStringList optima;
    for (const QString& line : QString::fromUtf8(exportedCsv.readAll()).split('\n'))
        if (line.startsWith(u("optimum,")))
            optima << line.split(',').mid(0, 3).join(',') + ',' + line.split(',').value(9);
    EXPECT_EQ(optima, (QStringList { u("optimum,1,Žilina,1"), u("optimum,2,,0"), u("optimum,3,,0") }));

    // Opened again: Žilina is still the existing centre and the limit still 12.
    openFile(saved);
    EXPECT_EQ(w->project().Choices.ExistingCentres, std::vector<std::string> { "Žilina" });
    EXPECT_EQ(dorvan::projectGroupSizeLimit(w->project()), 12);
    showProposal();
    EXPECT_EQ(centreListLines(entry<QListWidget>("FixedCentresList")), QStringList { u("Žilina") });
    EXPECT_EQ(centreListLines(entry<QListWidget>("FixedPlacesList")).size(), 26);

    // The sample itself, written before existing centres were kept, opens with none.
    openFile(DORVAN_EXAMPLES "/slovak_towns.mzd");
    EXPECT_TRUE(w->project().Choices.ExistingCentres.empty());
}

} // namespace
