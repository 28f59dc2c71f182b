// "Optimálna sieť" in the network methods window: the exact search on its thread, its list, the
// line comparing it with the star search, the graph drawing either network, stopping it, and
// dorvan-cli network --method exact against the window.
#include "core/entry/PlaceList.h"
#include "core/network/ExactNetwork.h"
#include "core/project/ProjectFile.h"
#include "render/StationGraphPainter.h"
#include "support/CliProcess.h"
#include "support/Controls.h"
#include "support/PixelCompare.h"
#include "support/ScriptedDialogs.h"
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/main/NetworkWindows.h"
#include "ui/network/Graficka_Siet_Stanic.h"
#include "ui/network/Metoda_Sieti.h"
#include "ui/network/OptimalNetworkPanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

using namespace dorvan;
using dorvan::test::control;
using dorvan::test::runCli;
using dorvan::test::ScriptedDialogs;

// n places M1..Mn at random in a 100 × 100 square, route length and places per group ticked.
std::unique_ptr<TProjectRecord> randomNetworkRecord(unsigned seed, int n, int capacity, double reach)
{
    auto r = std::make_unique<TProjectRecord>();
    ResetProjectAtStart(*r);
    ResetProjectForNew(*r);
    std::mt19937 g(seed);
    std::uniform_int_distribution<int> coord(0, 10000);
    for (int i = 1; i <= n; ++i)
        storeNewPlace(*r, i, Text100::fromUtf8("M" + std::to_string(i)), coord(g) / 100.0, coord(g) / 100.0);
    computeDistances(*r, n);
    r->SavedPlaceCount = n;
    r->setCriterion(CritMaxRouteLength, true);
    r->MaxRouteLength = reach;
    r->setCriterion(CritEvenGroups, true);
    r->PlacesPerGroup = capacity;
    return r;
}

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList gridTexts(const QTableWidget* grid)
{
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            rows << (grid->item(r, c) != nullptr ? grid->item(r, c)->text() : QString());
    return rows;
}

class OptimalNetworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1400, 900);
        w->show();
    }
    void TearDown() override { w.reset(); }

    QString saveRecord(const char* name, const TProjectRecord& r)
    {
        const QString p = dir.filePath(QString::fromUtf8(name));
        saveProjectFile(p.toStdString(), r, RgbPicture {});
        return p;
    }
    void openWindows(const QString& project)
    {
        ASSERT_TRUE(w->openProjectFile(project));
        pump();
        w->SieteClick();
        pump();
        ASSERT_NE(net(), nullptr);
    }
    static void pump()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Runs the event loop until the search has ended and its result is delivered.
    void waitForSearch(int ms = 20000)
    {
        QElapsedTimer t;
        t.start();
        while (panel().busy() && t.elapsed() < ms)
            QTest::qWait(20);
        pump();
    }
    TMetodaDistribSieti* net() const { return w->networkWindows().networkWindow(); }
    TGrafickaSietStanic* graph() const { return w->networkWindows().graphWindow(); }
    network::OptimalNetworkPanel& panel() const { return net()->optimalPanel(); }
    template <class T> T* widget(const char* name) const { return control<T>(net(), name); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w;
};

// 14 places, three a star, reach 30: the star search needs 6 stars, the optimum 5 (the
// assertion below keeps the case honest).
TEST_F(OptimalNetworkTest, ButtonFindsTheProvenNetworkAsTheCliDoesAndTheGraphDrawsEither)
{
    const QString project = saveRecord("random.mzd", *randomNetworkRecord(2, 14, 3, 30.0));
    openWindows(project);
    const QStringList gridBefore = gridTexts(widget<QTableWidget>("StringGrid1"));
    const QImage heuristicGraph = graph()->image();
    EXPECT_FALSE(widget<QComboBox>("GraphChoice")->isEnabled());

    QTest::mouseClick(widget<QPushButton>("OptimalButton"), Qt::LeftButton);
    EXPECT_TRUE(panel().busy());
    EXPECT_TRUE(widget<QPushButton>("StopButton")->isEnabled());
    EXPECT_FALSE(widget<QPushButton>("OptimalButton")->isEnabled());
    waitForSearch();
    ASSERT_FALSE(panel().busy());
    ASSERT_TRUE(panel().result().has_value());
    EXPECT_TRUE(panel().result()->proven);
    EXPECT_FALSE(widget<QPushButton>("StopButton")->isEnabled());

    const StarSolution& h = net()->lastSearch().best;
    ASSERT_TRUE(panel().result()->starCount < h.StarCount
        || (panel().result()->starCount == h.StarCount && panel().result()->total < h.StarTotal - 1e-9))
        << "the case should show a better network than the star search";
    // The grid keeps the star search's network.
    EXPECT_EQ(gridTexts(widget<QTableWidget>("StringGrid1")), gridBefore);

    // The command line gives the comparison line and the list of the window.
    const auto cli = runCli({ "network", project, "--method", "exact" });
    ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
    const QStringList out = cli.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_EQ(widget<QLabel>("OptimalLine")->text(), out.front());
    EXPECT_TRUE(out.front().startsWith(QString::fromUtf8("Optimum: ")));
    EXPECT_TRUE(out.front().contains(QString::fromUtf8("(dokázané); heuristika: ")));
    EXPECT_EQ(texts(widget<QListWidget>("OptimalList")), out.mid(1));

    // The graph draws the exact network when chosen, as the command line draws it, and the star
    // search's again when chosen back.
    widget<QComboBox>("GraphChoice")->setCurrentIndex(1);
    pump();
    const QImage exactGraph = graph()->image();
    EXPECT_GT(dorvan::test::differingPixels(exactGraph, heuristicGraph), 0);
    const QString png = dir.filePath("exact.png");
    const auto drawn = runCli({ "network", project, "--method", "exact", "--out", png, "--size",
        QString("%1x%2").arg(exactGraph.width()).arg(exactGraph.height()) });
    ASSERT_EQ(drawn.code, 0) << drawn.err.toStdString();
    EXPECT_EQ(dorvan::test::differingPixels(exactGraph, QImage(png)), 0);
    widget<QComboBox>("GraphChoice")->setCurrentIndex(0);
    pump();
    EXPECT_EQ(dorvan::test::differingPixels(graph()->image(), heuristicGraph), 0);

    // Other data drop the result: the list empties and the graph's choice goes back.
    widget<QComboBox>("GraphChoice")->setCurrentIndex(1);
    w->project().Record.MaxRouteLength = 45.0;
    net()->FormCreate();
    pump();
    EXPECT_FALSE(panel().result().has_value());
    EXPECT_EQ(widget<QListWidget>("OptimalList")->count(), 0);
    EXPECT_TRUE(widget<QLabel>("OptimalLine")->text().isEmpty());
    EXPECT_EQ(widget<QComboBox>("GraphChoice")->currentIndex(), 0);
    EXPECT_EQ(w->project().BestStars, net()->lastSearch().best);
}

TEST_F(OptimalNetworkTest, TimeLimitThatIsNoWholeNumberOfSecondsIsRefused)
{
    openWindows(saveRecord("small.mzd", *randomNetworkRecord(3, 6, 3, 40.0)));
    for (const char* typed : { "abc", "0", "3601", "2,5" }) {
        dialogs.shown.clear();
        widget<QLineEdit>("TimeLimitEdit")->setText(QString::fromUtf8(typed));
        QTest::mouseClick(widget<QPushButton>("OptimalButton"), Qt::LeftButton);
        EXPECT_FALSE(panel().busy()) << typed;
        ASSERT_EQ(dialogs.shown.size(), 1u) << typed;
        EXPECT_EQ(dialogs.shown[0].kind, "warn");
        EXPECT_EQ(dialogs.shown[0].text,
            QString::fromUtf8("Časový limit musí byť celé číslo od 1 do 3600 sekúnd !!!"));
    }
    EXPECT_FALSE(panel().result().has_value());
}

// 99 places, six a star, reach a quarter of the square: not proven in a moment. "Zastaviť"
// ends the search with the best network found and its lower bounds; closing the window while
// a search runs stops it too.
TEST_F(OptimalNetworkTest, StopEndsTheSearchWithTheBestFoundAndClosingStopsIt)
{
    openWindows(saveRecord("big.mzd", *randomNetworkRecord(11, 99, 6, 25.0)));
    QTest::mouseClick(widget<QPushButton>("OptimalButton"), Qt::LeftButton);
    ASSERT_TRUE(panel().busy());
    QTest::qWait(600);
    QTest::mouseClick(widget<QPushButton>("StopButton"), Qt::LeftButton);
    waitForSearch(10000);
    ASSERT_FALSE(panel().busy());
    ASSERT_TRUE(panel().result().has_value());
    const ExactStarResult r = *panel().result();
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.proven);
    EXPECT_LE(r.starCount, net()->lastSearch().best.StarCount);
    EXPECT_LE(r.lowerBoundStars, r.starCount);
    EXPECT_GE(r.lowerBoundStars, 17);
    EXPECT_TRUE(
        widget<QLabel>("OptimalLine")->text().contains(QString::fromUtf8("(zastavené, nedokázané: aspoň ")));
    EXPECT_EQ(
        widget<QListWidget>("OptimalList")->item(2)->text().left(12), QString::fromUtf8("Nedokázané: "));

    QTest::mouseClick(widget<QPushButton>("OptimalButton"), Qt::LeftButton);
    ASSERT_TRUE(panel().busy());
    dialogs.confirmAnswers = { true };
    qobject_cast<QMdiSubWindow*>(net()->parentWidget())->close();
    pump();
    EXPECT_EQ(net(), nullptr);
    ASSERT_EQ(dialogs.shown.back().kind, "confirm");
    EXPECT_EQ(dialogs.shown.back().text, TMetodaDistribSieti::CloseQuestion);
}

} // namespace
