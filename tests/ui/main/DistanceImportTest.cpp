// "Importovať vzdialenosti ..." of the main window on the sample of 27 towns, against
// dorvan-cli distances on the same matrix, and the command's refusals. The matrix is written
// here: the straight line between two towns times a factor of 1.20 to 1.40 that depends on the
// pair, to one decimal, which the tests read back as they wrote it.
#include "core/entry/PlaceList.h"
#include "core/project/ProjectFile.h"
#include "core/project/RecordCodec.h"
#include "support/CliProcess.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/main/NetworkWindows.h"
#include "ui/network/Metoda_Sieti.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace dorvan;
using dorvan::test::runCli;

namespace {

const QString SampleProject = QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd");

// Road kilometres in tenths: the straight line times 1.20, 1.25, ... 1.40 by the pair.
std::int64_t roadTenths(const TProjectRecord& r, int i, int j)
{
    const int a = std::min(i, j);
    const int b = std::max(i, j);
    const double factor = 1.20 + 0.05 * ((a * 7 + b * 3) % 5);
    return std::llround(10.0 * factor * std::hypot(r.PlaceX[a] - r.PlaceX[b], r.PlaceY[a] - r.PlaceY[b]));
}

QString tenthsText(std::int64_t t)
{
    return QString::number(t / 10) + "," + QString::number(t % 10);
}

// The square matrix of the sample, the towns in their order.
QByteArray squareMatrix(const TProjectRecord& r, int n)
{
    QString text = "km";
    for (int j = 1; j <= n; ++j)
        text += ";" + QString::fromStdString(displayName(r.PlaceName[j]));
    text += "\n";
    for (int i = 1; i <= n; ++i) {
        text += QString::fromStdString(displayName(r.PlaceName[i]));
        for (int j = 1; j <= n; ++j)
            text += ";" + (i == j ? QString("0") : tenthsText(roadTenths(r, i, j)));
        text += "\n";
    }
    return text.toUtf8();
}

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

class DistanceImportWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sample = readProjectFile(SampleProject.toStdString()).record;
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1280, 900);
        w->show();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QAction* importAction() const { return dorvan::test::control<QAction>(w.get(), "ImportujVzdialenosti"); }
    // The file menu as it opens: its actions' states are brought up to date.
    void openFileMenu() const { emit dorvan::test::control<QMenu>(w.get(), "Subor")->aboutToShow(); }
    QStringList networkList(const char* name) const
    {
        return dorvan::test::lines(
            dorvan::test::control<QListWidget>(w->networkWindows().networkWindow(), name));
    }

    QTemporaryDir dir;
    dorvan::test::ScriptedDialogs dialogs;
    TProjectRecord sample;
    std::unique_ptr<TDorvan_Central> w;
};

} // namespace

TEST_F(DistanceImportWindows, SampleMatrixThroughTheMenuEqualsTheCommandLineAndDrivesTheNetwork)
{
    const int n = sample.SavedPlaceCount;
    ASSERT_EQ(n, 27);
    const QString matrix = writeFile(dir, "cesty.csv", squareMatrix(sample, n));
    const QString road = dir.filePath("road.mzd");
    const auto imported = runCli({ "distances", SampleProject, matrix, "--out", road });
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.outLines(),
        QStringList {
            road + ": 351 distances between 27 places from square CSV in km; real distances switched on" });
    EXPECT_EQ(imported.err, QString());
    // The written file is the sample but for the distance block, the criterion's byte and the
    // entry's state.
    const QByteArray was = dorvan::test::fileBytes(SampleProject);
    const QByteArray now = dorvan::test::fileBytes(road);
    ASSERT_EQ(now.size(), was.size());
    int otherBytes = 0;
    for (qsizetype k = 0; k < now.size(); ++k) {
        const auto at = static_cast<std::size_t>(k);
        const bool distances = at >= RecordOffset::Distance && at < RecordOffset::Distance + 100 * 100 * 8;
        const bool state
            = at >= RecordOffset::DistanceEntryState && at < RecordOffset::DistanceEntryState + 4;
        if (!distances && !state && at != RecordOffset::CriterionOn + CritRealDistances)
            otherBytes += now[k] != was[k] ? 1 : 0;
    }
    EXPECT_EQ(otherBytes, 0);
    EXPECT_EQ(now[static_cast<qsizetype>(RecordOffset::CriterionOn + CritRealDistances)], 1);
    const auto roadNetwork = runCli({ "network", road });
    const auto straightNetwork = runCli({ "network", SampleProject });
    ASSERT_EQ(roadNetwork.code, 0);
    ASSERT_NE(roadNetwork.out, straightNetwork.out); // the road distances change the stars

    // Without a project the item is off.
    openFileMenu();
    EXPECT_FALSE(importAction()->isEnabled());
    ASSERT_TRUE(w->openProjectFile(SampleProject));
    settle();
    // The network window open on the straight lines, and the active window while the import runs.
    w->SieteClick();
    settle();
    ASSERT_NE(w->networkWindows().networkWindow(), nullptr);
    const QStringList straightTotal = networkList("ListBox5");
    openFileMenu();
    EXPECT_TRUE(importAction()->isEnabled());
    EXPECT_EQ(importAction()->text(), u("Importovať vzdialenosti ..."));
    dialogs.shown.clear();
    dialogs.fileAnswers = { matrix };
    importAction()->trigger();
    settle();
    EXPECT_EQ(dialogs.texts("warn"), QStringList());
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
    EXPECT_TRUE(dorvan::test::control<QCheckBox>(w->entryWindow(), "CheckBox3")->isChecked());
    const TProjectRecord& r = w->project().Record;
    EXPECT_EQ(r.DistanceEntryState, 2);
    EXPECT_EQ(r.Distance[1][2], static_cast<double>(roadTenths(sample, 1, 2)) / 10.0);
    EXPECT_EQ(r.Distance[27][3], static_cast<double>(roadTenths(sample, 3, 27)) / 10.0);
    // The window's record is the command line's, distances and all.
    const TProjectRecord written = readProjectFile(road.toStdString()).record;
    EXPECT_TRUE(encodeRecord(r) == encodeRecord(written));

    // The open network window searched again on the imported distances, as the command line's
    // search does.
    EXPECT_NE(networkList("ListBox5"), straightTotal);
    QStringList shown;
    for (const char* name : { "ListBox1", "ListBox2", "ListBox3", "ListBox4", "ListBox5" })
        shown << QString::fromLatin1(name) << networkList(name);
    const QStringList cli = roadNetwork.outLines();
    ASSERT_GT(cli.indexOf("StringGrid1"), 0);
    EXPECT_EQ(shown, cli.mid(0, cli.indexOf("StringGrid1")));
}

TEST_F(DistanceImportWindows, RefusedMatrixIsOneMessageAndChangesNothing)
{
    ASSERT_TRUE(w->openProjectFile(SampleProject));
    settle();
    const QByteArray before
        = QByteArray(reinterpret_cast<const char*>(encodeRecord(w->project().Record).data()),
            static_cast<qsizetype>(RecordSize));
    const QString statusBefore = w->statusPanelText(1);
    // Bratislava to Košice twice, one negative value, everything else missing.
    const QString matrix = writeFile(dir, "zle.csv",
        u("odkiaľ;kam;km\nBratislava;Košice;400\nBratislava;Košice;401\nBratislava;Nitra;-90\nViedeň;Nitra;"
          "60\n")
            .toUtf8());
    dialogs.shown.clear();
    dialogs.fileAnswers = { matrix };
    openFileMenu();
    importAction()->trigger();
    settle();
    const QStringList warned = dialogs.texts("warn");
    ASSERT_EQ(warned.size(), 1);
    EXPECT_TRUE(warned[0].startsWith(u("Vzdialenosti zo súboru zle.csv sa nedajú importovať:\n"
                                       "riadok 3: Bratislava<--->Košice je zadaná dvakrát (riadky 2 a 3)\n"
                                       "riadok 4: Bratislava<--->Nitra: záporná vzdialenosť -90\n"
                                       "riadok 5: \"Viedeň\" nie je miesto projektu\n"
                                       "chýbajú vzdialenosti miesta Banská Bystrica\n")))
        << warned[0].toStdString();
    // 3 bad lines, 24 towns without any distance, Košice<--->Nitra missing: 15 listed, 13 more.
    EXPECT_TRUE(warned[0].endsWith(u("\n... a ďalšie problémy: 13\nNič nebolo zmenené.")))
        << warned[0].toStdString();
    const QByteArray after
        = QByteArray(reinterpret_cast<const char*>(encodeRecord(w->project().Record).data()),
            static_cast<qsizetype>(RecordSize));
    EXPECT_TRUE(before == after);
    EXPECT_FALSE(dorvan::test::control<QCheckBox>(w->entryWindow(), "CheckBox3")->isChecked());
    EXPECT_EQ(w->statusPanelText(1), statusBefore);
}

TEST(CliDistances, RefusalsNameEveryProblemWriteNothingAndTheRequestNamesThePlaces)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("new.mzd");
    const QString bad = writeFile(dir, "bad.json", R"({"distances":[[0,1],[1,0]]})");
    auto r = runCli({ "distances", SampleProject, bad, "--out", out });
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.errLines(),
        (QStringList { "dorvan-cli: " + bad + ": the table has 2 rows; the project has 27 places",
            "dorvan-cli: " + bad + ": nothing was written" }));
    EXPECT_FALSE(QFile::exists(out));

    r = runCli({ "distances", SampleProject, "--request-url", "http://localhost:5000" });
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_EQ(r.outLines().size(), 1);
    // Bratislava is the third town: 17.1076995 E, 48.1485998 N in the sample's list.
    EXPECT_TRUE(r.out.startsWith("http://localhost:5000/table/v1/driving/19.1462001,48.7362997;"
                                 "21.2727006,49.2918003;17.1076995,48.1485998;"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.trimmed().endsWith("?annotations=distance"));
    EXPECT_EQ(r.out.count(';'), 26);

    struct Bad {
        QStringList args;
        QString line;
    };
    const Bad refused[] = {
        { { "distances", SampleProject },
            "dorvan-cli: distances: the matrix file is missing (dorvan-cli distances "
            "PROJECT.mzd MATRIX --out NEW.mzd, or --request-url BASE)" },
        { { "distances", SampleProject, bad },
            "dorvan-cli: distances: --out FILE is required (see dorvan-cli distances --help)" },
        { { "distances", SampleProject, bad, "--out", out, "--unit", "mi" },
            "dorvan-cli: distances: --unit \"mi\" is not one of km|m" },
        { { "distances", SampleProject, bad, "--request-url", "http://x" },
            "dorvan-cli: distances: --request-url prints the request only; it takes no matrix, --out or "
            "--unit" },
        { { "distances", SampleProject, bad, "--out", SampleProject },
            "dorvan-cli: --out " + SampleProject + " is the project itself; choose another name" },
    };
    for (const Bad& b : refused) {
        const auto run = runCli(b.args);
        EXPECT_EQ(run.code, 2) << b.args.join(' ').toStdString();
        EXPECT_EQ(run.errLines(), QStringList { b.line }) << b.args.join(' ').toStdString();
    }
}
