// The network methods window and the station graph window in the main window, their closing
// chains, the graph's pixels, and dorvan-cli network against both.
#include "ui/main/NetworkWindows.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectFile.h"
#include "render/StationGraphPainter.h"
#include "support/CliProcess.h"
#include "support/Controls.h"
#include "support/PixelCompare.h"
#include "support/ScriptedDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/network/Graficka_Siet_Stanic.h"
#include "ui/network/Metoda_Sieti.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QScrollArea>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using dorvan::test::CliRun;
using dorvan::test::runCli;

namespace {

using namespace dorvan;
using dorvan::test::lines;
using dorvan::test::ScriptedDialogs;

struct StationSpec {
    const char* name;
    double x;
    double y;
};

std::unique_ptr<TProjectRecord> recordWith(const std::vector<StationSpec>& places)
{
    auto r = std::make_unique<TProjectRecord>();
    ResetProjectAtStart(*r);
    ResetProjectForNew(*r);
    int i = 0;
    for (const StationSpec& p : places)
        storeNewPlace(*r, ++i, Text100::fromUtf8(p.name), p.x, p.y);
    computeDistances(*r, i);
    r->SavedPlaceCount = i;
    return r;
}

// The four places of the example: route length 2 and three places a star ticked.
std::unique_ptr<TProjectRecord> exampleRecord(double dx = 0, double dy = 0)
{
    auto r = recordWith({ { "Alfa", 0 + dx, 0 + dy }, { "Beta", 1 + dx, 0 + dy }, { "Cyril", 0 + dx, 1 + dy },
        { "Dunaj", 10 + dx, 10 + dy } });
    r->setCriterion(CritMaxRouteLength, true);
    r->MaxRouteLength = 2;
    r->setCriterion(CritEvenGroups, true);
    r->PlacesPerGroup = 3;
    return r;
}

QMdiSubWindow* frameOf(QWidget* w)
{
    return w != nullptr ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
}

QStringList gridRows(const QTableWidget* grid)
{
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << (grid->item(r, c) != nullptr ? grid->item(r, c)->text() : QString());
        rows << cells.join('\t');
    }
    return rows;
}

class NetworkWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1280, 900);
        w->show();
    }
    void TearDown() override
    {
        // The main window takes its children along without their questions.
        w.reset();
    }

    QString save(const char* name, const TProjectRecord& r)
    {
        const QString p = dir.filePath(QString::fromUtf8(name));
        saveProjectFile(p.toStdString(), r, RgbPicture {});
        return p;
    }
    // "Otvor ako ..." of the project, then the hidden "Metódy návrhu distribučných sietí".
    void openNetwork(const QString& project)
    {
        ASSERT_TRUE(w->openProjectFile(project));
        settle();
        w->SieteClick();
        settle();
        ASSERT_NE(net(), nullptr);
        ASSERT_NE(graph(), nullptr);
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TMetodaDistribSieti* net() const { return w->networkWindows().networkWindow(); }
    TGrafickaSietStanic* graph() const { return w->networkWindows().graphWindow(); }
    QStringList list(const char* name) const
    {
        return lines(dorvan::test::control<QListWidget>(net(), name));
    }
    QStringList grid() const { return gridRows(dorvan::test::control<QTableWidget>(net(), "StringGrid1")); }
    WorkingState& state() { return w->project().State; }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w;
};

TEST_F(NetworkWindowsTest, SieteSearchesListsTheBestAndOpensTheGraph)
{
    openNetwork(save("example.mzd", *exampleRecord()));
    EXPECT_EQ(net()->windowTitle(), u("Metódy návrhu distribučných sietí"));
    EXPECT_EQ(graph()->windowTitle(), u("Grafická sieť staníc"));
    EXPECT_TRUE(w->networkWindows().networkWindowOpen());
    EXPECT_TRUE(w->networkWindows().graphWindowOpen());
    // The item stays hidden, enabled by the opened project.
    EXPECT_FALSE(dorvan::test::control<QAction>(w.get(), "Siete")->isVisible());
    EXPECT_TRUE(w->commandStates().networkItemEnabled());

    EXPECT_EQ(list("ListBox1"), (QStringList { "Pocet Central: 2", "----------" }));
    EXPECT_EQ(list("ListBox2"),
        (QStringList { "Hviezda Zoznam1: Alfa", "Hviezda Zoznam2: Beta", "Hviezda Zoznam3: Cyril",
            "Hviezda Zoznam4: Dunaj" }));
    EXPECT_EQ(list("ListBox3"), (QStringList { "Centrum1: 1", "Centrum2: 4" }));
    EXPECT_EQ(list("ListBox4"), (QStringList { "Pocet miest v okruhu1: 3", "Pocet miest v okruhu2: 1" }));
    EXPECT_EQ(list("ListBox5"), (QStringList { "Dlzka okruhu: 2" }));
    // Every line whole: a count cut at the list's edge reads as another number.
    for (const char* name : { "ListBox1", "ListBox2", "ListBox3", "ListBox4", "ListBox5" }) {
        const auto* l = dorvan::test::control<QListWidget>(net(), name);
        const QFontMetrics metrics(l->font());
        for (int i = 0; i < l->count(); ++i)
            EXPECT_LE(metrics.horizontalAdvance(l->item(i)->text()), l->viewport()->width() - 4)
                << name << ": " << l->item(i)->text().toStdString();
    }
    EXPECT_EQ(grid(),
        (QStringList { u("\tMiesta\tCentrum\tHviezda Pocet\tCelková dráha - čas"), "1\tAlfa\tAlfa\t3\t2",
            "2\tBeta\tAlfa\t3\tPocet Prepoctov: 4", "3\tCyril\tAlfa\t3\tPocet Central: 2",
            "4\tDunaj\tDunaj\t1\t" }));
    EXPECT_EQ(dorvan::test::control<QTableWidget>(net(), "StringGrid1")->height(), 5 * 17);

    // The graph lists the places and draws what the painter draws on its area.
    EXPECT_EQ(lines(dorvan::test::control<QListWidget>(graph(), "ListBox1")),
        (QStringList { "M1: Alfa, [0;0]", "M2: Beta, [1;0]", "M3: Cyril, [0;1]", "M4: Dunaj, [10;10]" }));
    const QImage shown = graph()->image();
    ASSERT_FALSE(shown.isNull());
    const auto places = graphPlaces(w->project().Record, 4);
    EXPECT_EQ(
        dorvan::test::differingPixels(shown, drawStationGraph(places, w->project().BestStars, shown.size())),
        0);

    // A resize draws again on the new area: the client width less the list.
    frameOf(graph())->showNormal();
    frameOf(graph())->resize(700, 500);
    settle();
    EXPECT_EQ(graph()->image().width(),
        graph()->width() - dorvan::test::control<QListWidget>(graph(), "ListBox1")->width());
    EXPECT_EQ(graph()->image().height(), graph()->height());
    EXPECT_NE(graph()->image().size(), shown.size());

    // Siete again brings the same window forward.
    TMetodaDistribSieti* first = net();
    w->SieteClick();
    settle();
    EXPECT_EQ(net(), first);
}

TEST_F(NetworkWindowsTest, EveryActivationSearchesAgainWithTheProjectsCriteria)
{
    openNetwork(save("example.mzd", *exampleRecord()));
    // Route length 20 and no limit of places a star, as the data-entry window would keep them.
    w->project().Record.MaxRouteLength = 20;
    w->project().Record.setCriterion(CritEvenGroups, false);
    EXPECT_EQ(list("ListBox1").front(), "Pocet Central: 2"); // nothing until activated
    w->mdiArea()->setActiveSubWindow(frameOf(graph()));
    w->mdiArea()->setActiveSubWindow(frameOf(net()));
    settle();
    EXPECT_EQ(list("ListBox1").mid(list("ListBox1").size() - 2),
        (QStringList { "Pocet Central: 1", "----------" }));
    EXPECT_EQ(w->project().BestStars.StarCount, 1);
    // Sums around Alfa 1 + 1 + 14,142 = 16,142, around Beta 1 + 1,414 + 13,454 = 15,868 (Cyril
    // the same, not strictly less, Dunaj 41,05): one star around Beta.
    EXPECT_EQ(grid().at(3), u("3\tCyril\tBeta\t4\tPocet Central: 1"));
}

TEST_F(NetworkWindowsTest, ClosedGraphIsOpenedAgainByTheNextComputation)
{
    openNetwork(save("example.mzd", *exampleRecord()));
    TGrafickaSietStanic* old = graph();
    dialogs.confirmAnswers = { true };
    frameOf(old)->close();
    settle();
    EXPECT_EQ(dialogs.texts("confirm"), (QStringList { u("Zavrieť grafický náhľad ?!!") }));
    w->mdiArea()->setActiveSubWindow(nullptr);
    w->mdiArea()->setActiveSubWindow(frameOf(net()));
    settle();
    ASSERT_NE(graph(), nullptr);
    EXPECT_TRUE(w->networkWindows().graphWindowOpen());
}

// Closing the graph activates the network window at once, while the closed graph still waits
// for its deletion: that activation computes and must open a new graph, not take the old one
// for open.
TEST_F(NetworkWindowsTest, GraphClosedByTheUserComesBackAtTheActivationThatFollowsItsClose)
{
    openNetwork(save("example.mzd", *exampleRecord()));
    dialogs.confirmAnswers = { true };
    frameOf(graph())->close();
    w->mdiArea()->setActiveSubWindow(nullptr);
    w->mdiArea()->setActiveSubWindow(frameOf(net()));
    settle();
    ASSERT_NE(graph(), nullptr);
    EXPECT_TRUE(graph()->isVisible());
    EXPECT_FALSE(graph()->isClosing());
    EXPECT_TRUE(w->networkWindows().graphWindowOpen());
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 3); // data entry, network, the new graph

    // The network window's Yes takes the new graph along; no activation on the way opens
    // either again.
    dialogs.confirmAnswers = { true };
    frameOf(net())->close();
    w->mdiArea()->setActiveSubWindow(nullptr);
    w->mdiArea()->setActiveSubWindow(frameOf(w->entryWindow()));
    settle();
    EXPECT_EQ(net(), nullptr);
    EXPECT_EQ(graph(), nullptr);
    EXPECT_FALSE(w->networkWindows().networkWindowOpen());
    EXPECT_FALSE(w->networkWindows().graphWindowOpen());
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
}

// The main window at its usual size with the sample's 27 places: the grid of 28 rows and the lists
// under it need more room than the window has; the window scrolls to every list, and the grid's
// columns hold their texts.
TEST_F(NetworkWindowsTest, SmallMainWindowScrollsToTheListsAndTheGridShowsWholeTexts)
{
    w->resize(860, 790);
    openNetwork(QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd"));
    auto* scroll = net()->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    QWidget* viewport = scroll->viewport();
    for (const char* name : { "ListBox1", "ListBox2", "ListBox5" }) {
        auto* list = dorvan::test::control<QListWidget>(net(), name);
        scroll->ensureWidgetVisible(list, 0, 0);
        settle();
        const QRect shown(list->mapTo(viewport, QPoint(0, 0)), list->size());
        EXPECT_TRUE(viewport->rect().contains(shown)) << name;
    }
    auto* grid = dorvan::test::control<QTableWidget>(net(), "StringGrid1");
    const QFontMetrics metrics(grid->font());
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 1; c < 5; ++c) {
            if (grid->item(r, c) != nullptr) {
                EXPECT_LT(metrics.horizontalAdvance(grid->item(r, c)->text()), grid->columnWidth(c))
                    << r << "," << c;
            }
        }
    }
    EXPECT_GE(grid->columnWidth(1), 120);
    int columns = 0;
    for (int c = 0; c < 5; ++c)
        columns += grid->columnWidth(c);
    EXPECT_GE(grid->viewport()->width(), columns);
}

TEST_F(NetworkWindowsTest, ClosingTheDataEntryWindowClosesBothByProgram)
{
    openNetwork(save("example.mzd", *exampleRecord()));
    dialogs.confirmAnswers = { true }; // "Zavrieť "Zadávanie údajov" ?!!" only
    frameOf(w->entryWindow())->close();
    settle();
    EXPECT_EQ(w->entryWindow(), nullptr);
    EXPECT_EQ(net(), nullptr);
    EXPECT_EQ(graph(), nullptr);
    EXPECT_EQ(dialogs.texts("confirm"), (QStringList { u("Zavrieť \"Zadávanie údajov\" ?!!") }));
    EXPECT_FALSE(w->networkWindows().networkWindowOpen());
    EXPECT_FALSE(w->networkWindows().graphWindowOpen());
    EXPECT_FALSE(w->commandStates().networkItemEnabled());
}

QColor at(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

bool anyOfColour(const QImage& image, QRect box, const QColor& colour)
{
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (at(image, x, y) == colour)
                return true;
    return false;
}

TEST(StationGraphPixels, FirstQuadrantShowsTheOriginAndStarsTakeTheirColours)
{
    // Places at (20;30), (21;30), (20;31), (30;40): the origin is taken in, so X runs from -5 to
    // 35 (sx = 584 / 40 = 14,6) and Y from -5 to 45 (sy = 406 / 50 = 8,12). The Y axis lies at
    // 20 - round(-5 × 14,6) = 93, the X axis at round(45 × 8,12) + 20 = 385.
    const auto r = exampleRecord(20, 30);
    Project p;
    p.resetAtStart();
    p.Record = *r;
    p.State.PlaceCount = 4;
    p.Choices = choicesAsOpened(p.Record, 4);
    p.BestStars = Hviezda(VstupUdajRealStavCreate(p), ",").best;
    const QImage image = drawStationGraph(graphPlaces(p.Record, 4), p.BestStars, QSize(624, 446));
    const QColor red(255, 0, 0);
    EXPECT_EQ(at(image, 93, 200), red);
    EXPECT_EQ(at(image, 300, 385), red);
    EXPECT_NE(at(image, 100, 200), red);
    EXPECT_EQ(at(image, 5, 5), QColor(192, 192, 192)); // silver outside the white
    EXPECT_EQ(at(image, 15, 15), QColor(255, 255, 255));
    // Tick 10 of the positive X half: 93 + 10 × 5,84 = 151,4, a 10-pixel tick down to 395.
    EXPECT_EQ(at(image, 151, 393), red);
    EXPECT_NE(at(image, 151, 397), red);
    // Its label, round(10 × 35 / 88) = 4, 10 pixels below the axis from 10 pixels before it.
    EXPECT_TRUE(anyOfColour(image, QRect(141, 395, 10, 12), Qt::black));

    // Star 1 (Alfa, Beta, Cyril around Alfa) in 15000 = 0x003A98: Alfa at round(14,6 × 20 + 93)
    // = 385 and round(20 + 365,4 - 243,6) = 142, its circle from there to (391; 148), the line to
    // Beta at (400; 142). Star 2 (Dunaj at (531; 61)) in 30000 = 0x007530.
    const QColor star1(0x98, 0x3A, 0x00);
    const QColor star2(0x30, 0x75, 0x00);
    EXPECT_EQ(at(image, 388, 145), star1);
    EXPECT_EQ(at(image, 395, 142), star1);
    EXPECT_EQ(at(image, 403, 145), star1);
    EXPECT_EQ(at(image, 534, 64), star2);
    EXPECT_NE(at(image, 530, 64), star2); // the circle's top left corner is the place
}

TEST(StationGraphPixels, LabelsOfPlacesFromTenOnStartFivePixelsFurtherLeft)
{
    std::vector<StationSpec> places;
    const char* names[] = { "P01", "P02", "P03", "P04", "P05", "P06", "P07", "P08", "P09", "P10" };
    for (int j = 1; j <= 10; ++j)
        places.push_back({ names[j - 1], 10.0 * j, 10.0 * j });
    const auto r = recordWith(places);
    Project p;
    p.resetAtStart();
    p.Record = *r;
    p.State.PlaceCount = 10;
    p.BestStars = Hviezda(VstupUdajRealStavCreate(p), ",").best;
    ASSERT_EQ(p.BestStars.StarCount, 1);
    const auto graphPlacesOf = graphPlaces(p.Record, 10);
    const StationGraph g = stationGraph(graphPlacesOf, p.BestStars, 624, 446);
    const QImage image = drawStationGraph(graphPlacesOf, p.BestStars, QSize(624, 446));
    const QColor star1(0x98, 0x3A, 0x00);
    for (int j : { 9, 10 }) {
        const int x = g.window.px(10.0 * j);
        const int y = g.window.py(10.0 * j);
        SCOPED_TRACE(j);
        // The strip 10 to 6 pixels left of the place, above it: the "M" of "M10" only.
        EXPECT_EQ(anyOfColour(image, QRect(x - 10, y - 12, 4, 8), star1), j >= 10);
        EXPECT_TRUE(anyOfColour(image, QRect(x - 5, y - 12, 5, 8), star1));
    }
}

// ----------------------------------------------------------------------------------------------
// dorvan-cli network against the windows

class NetworkCliAgainstWindows : public NetworkWindowsTest {
protected:
    // What the network window shows, in the blocks of the text output.
    QStringList windowBlocks() const
    {
        QStringList out;
        for (const char* name : { "ListBox1", "ListBox2", "ListBox3", "ListBox4", "ListBox5" })
            out << QString::fromLatin1(name) << list(name);
        out << "StringGrid1" << grid();
        return out;
    }
    void expectSame(const QString& project)
    {
        openNetwork(project);
        const CliRun text = runCli({ "network", project });
        ASSERT_EQ(text.code, 0) << text.err.toStdString();
        QStringList cliLines = text.out.split('\n');
        ASSERT_EQ(cliLines.takeLast(), QString());
        EXPECT_EQ(cliLines, windowBlocks());

        const QImage shown = graph()->image();
        const QString png = dir.filePath("graph.png");
        const CliRun drawn = runCli({ "network", project, "--out", png, "--size",
            QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()) });
        ASSERT_EQ(drawn.code, 0) << drawn.err.toStdString();
        EXPECT_EQ(dorvan::test::differingPixels(shown, QImage(png)), 0);
    }
};

TEST_F(NetworkCliAgainstWindows, ExampleGivesTheLinesAndPixelsOfTheWindows)
{
    expectSame(save("example.mzd", *exampleRecord()));
}

TEST_F(NetworkCliAgainstWindows, SampleGivesTheLinesAndPixelsOfTheWindows)
{
    expectSame(QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd"));
    // JSON: the stars with their members and sums.
    const CliRun json
        = runCli({ "network", QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd"), "--format", "json" });
    ASSERT_EQ(json.code, 0);
    EXPECT_TRUE(json.out.contains(u("\"star_count\": 1")));
    EXPECT_TRUE(json.out.contains(u("\"centre\": \"Banská Bystrica\"")));
    EXPECT_TRUE(json.out.contains(u("\"recalc_count\": 27")));

    const CliRun bad
        = runCli({ "network", QStringLiteral(DORVAN_EXAMPLES "/slovak_towns.mzd"), "--out", "x.gif" });
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.contains("must end in .png or .pdf"));
}

} // namespace
