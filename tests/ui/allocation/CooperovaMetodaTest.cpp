#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperSolver.h"
#include "core/allocation/MapChartGeometry.h"
#include "core/entry/GroupList.h"
#include "support/Colours.h"
#include "support/EntryWindowFixture.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"
#include "ui/main/Dorvan_Hlavny.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using dorvan::test::control;
using dorvan::test::lines;
using dorvan::test::ScriptedDialogs;

using dorvan::test::Red;
const QColor Green(0, 128, 0);
using dorvan::test::Black;
const QString BadPrecision = u("Chybná presnosť !!!");

// The choices a run reads, set by the test straight in the project, and what the run told the
// project.
struct FakeInputs {
    explicit FakeInputs(dorvan::Project& p)
        : project(p)
        , observation(p.Observers.observe([this](dorvan::ProjectChange what) {
            settingsChanges += dorvan::has(what, dorvan::ProjectChange::Settings) ? 1 : 0;
            coordinateShows += dorvan::has(what, dorvan::ProjectChange::Coordinates) ? 1 : 0;
        }))
    {
        // What "Riešenie DORVAN" finds: the data-entry window open with its settings ticked.
        p.Choices.SettingsOn = true;
    }
    void setGroups(const std::vector<std::string>& lines)
    {
        project.Choices.Groups.Groups = dorvan::groupsFromLines(lines, 0).Groups;
    }
    void setGroupCount(const char* text) { project.Choices.Groups.Count = dorvan::groupCountFromText(text); }

    dorvan::Project& project;
    bool visible = true; // the data-entry window
    bool& settingsTicked = project.Choices.SettingsOn;
    std::uint8_t& groupsTicked = project.Record.CriterionOn[dorvan::CritGroups];
    std::uint8_t& quantity = project.Record.CriterionOn[dorvan::CritQuantity];
    bool& picture = project.State.PictureMode;
    dorvan::CooperSettings& values = project.Choices.Settings;
    int settingsChanges = 0;
    int coordinateShows = 0;
    dorvan::ProjectObservers::Observation observation;
};

struct PlaceData {
    const char* name;
    double x;
    double y;
    double quantity = 1.0;
};

// An equal-sided triangle whose centre of gravity (5; 3,3333) moves only along Y: with e = 10
// the first step already stops the run.
const std::vector<PlaceData> Triangle { { "A", 0, 0 }, { "B", 10, 0 }, { "C", 5, 10 } };

void setPlaces(dorvan::Project& p, const std::vector<PlaceData>& places)
{
    int i = 0;
    for (const PlaceData& d : places) {
        ++i;
        p.Record.PlaceName[i] = dorvan::Text100::fromUtf8(d.name);
        p.Record.PlaceX[i] = d.x;
        p.Record.PlaceY[i] = d.y;
        p.Record.PlaceQuantity[i] = d.quantity;
        p.Record.PlacePrice[i] = 1.0;
        p.Record.PlaceFlexibility[i] = 1;
    }
    p.State.PlaceCount = i;
}

std::vector<std::string> groupList(const std::vector<std::vector<std::string>>& groups)
{
    std::vector<std::string> out;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        out.push_back("--- Skupina " + std::to_string(g + 1) + " ---");
        out.insert(out.end(), groups[g].begin(), groups[g].end());
    }
    return out;
}

using dorvan::test::keepPicture;

class AllocationWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        project.resetAtStart();
        setPlaces(project, Triangle);
        // What "Riešenie DORVAN" finds: the data-entry window started.
        project.State.EntryStarted = true;
        inputs.emplace(project);
        in = &*inputs;
        frame.resize(1200, 900);
        frame.show();
    }
    void TearDown() override
    {
        if (w) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            delete w.data();
        }
    }

    // Creates the window inside a shown frame; its FormCreate makes the first run.
    TCooperAlokMetod* open()
    {
        w = new TCooperAlokMetod(project, dialogs, &frame);
        w->setEntryWindowOpen([this] { return in->visible; });
        w->show();
        return w;
    }

    template <typename T> T* get(const char* name) const
    {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList list(const char* name) const { return lines(get<QListWidget>(name)); }
    void click(const char* name)
    {
        QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton, {}, QPoint(6, 6));
    }
    int width(const char* box) const { return get<QWidget>(box)->width(); }
    QColor pixel(int x, int y) const { return w->image().pixelColor(x, y); }
    // The red optimum dot of the one-centre run, 6 × 6 pixels inside it.
    int redDotPixels() const
    {
        const auto& s = w->solverState();
        const int f = s.FinalIter;
        const int x = w->chartState().px(s.IterX[f]);
        const int y = w->chartState().py(s.IterY[f]);
        int n = 0;
        for (int j = y - 2; j <= y + 3; ++j)
            for (int i = x - 2; i <= x + 3; ++i)
                n += w->image().valid(i, j) && pixel(i, j) == Red ? 1 : 0;
        return n;
    }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    dorvan::Project project;
    ScriptedDialogs dialogs;
    std::optional<FakeInputs> inputs;
    FakeInputs* in = nullptr;
    QWidget frame;
    QPointer<TCooperAlokMetod> w;
};

TEST_F(AllocationWindow, OneStepRunListsThreeLinesAndDrawsTheOptimumInRed)
{
    in->values.setPrecisionText("10");
    open();

    EXPECT_EQ(w->objectName(), "CooperAlokMetod");
    EXPECT_EQ(w->windowTitle(), "DORVAN");
    EXPECT_TRUE(dialogs.shown.empty());

    EXPECT_EQ(
        list("ListBox1"), (QStringList { "[X0;Y0]=[5;3,3333]", "[X1;Y0]=[5;3,3333]", "[X1,Y1]=[5;3,1067]" }));
    EXPECT_EQ(get<QLineEdit>("Edit1")->text(), "[X1,Y1]=[5;3,1067]");
    EXPECT_TRUE(get<QLineEdit>("Edit1")->isVisible());
    EXPECT_EQ(list("ListBox2"), (QStringList { "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [5;10]" }));

    // 18 characters of path, 13 of the longest place: 7 × L + 10 pixels each.
    EXPECT_EQ(width("GroupBox2"), 136);
    EXPECT_EQ(width("GroupBox1"), 101);
    auto* box5 = get<QGroupBox>("GroupBox5");
    EXPECT_EQ(box5->contentsRect().width(), 101 + 136 + 5);
    EXPECT_EQ(width("GroupBox3"), w->width() - box5->width());
    EXPECT_EQ(get<QWidget>("GroupBox3")->height(), w->height());

    // Manual data: no picture to choose.
    for (const char* b : { "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4" })
        EXPECT_FALSE(get<QRadioButton>(b)->isEnabled()) << b;
    EXPECT_TRUE(get<QRadioButton>("RadioButton2")->isChecked());

    // The drawing: the surface has the drawing area's size and shows the optimum in red, the
    // places as red circles on white.
    auto* area = get<QWidget>("Image1");
    EXPECT_TRUE(area->isEnabled());
    EXPECT_EQ(w->image().size(), area->size());
    EXPECT_GE(w->imageWidth(), 120);
    keepPicture(w->image(), "allocation_one_step.png");
    EXPECT_EQ(redDotPixels(), 36);
    const int bx = w->chartState().px(10.0), by = w->chartState().py(0.0);
    EXPECT_EQ(pixel(bx - 3, by), Red);
    EXPECT_EQ(pixel(bx, by), QColor(Qt::white));
    // What the area paints on screen is the surface.
    const QImage shown = area->grab().toImage();
    const int ox = w->chartState().px(5.0L), oy = w->chartState().py(w->solverState().IterY[2]);
    EXPECT_EQ(shown.pixelColor(ox + 1, oy + 1), Red);
}

namespace {

// A message box takes the focus while it is shown: these dialogs move it to `thief` when they warn.
struct FocusTakingDialogs : ScriptedDialogs {
    QWidget* thief = nullptr;
    void warn(QWidget* parent, const QString& text) override
    {
        ScriptedDialogs::warn(parent, text);
        if (thief != nullptr)
            thief->setFocus();
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(AllocationWindow, RefusedContourLevelsAreToldOnceAndTheLastAcceptedOnesStay)
{
    FocusTakingDialogs taking;
    auto* win = new TCooperAlokMetod(project, taking, &frame);
    w = win;
    win->show();
    QApplication::setActiveWindow(&frame);
    auto* levels = get<QLineEdit>("CostContourLevels");
    taking.thief = get<QListWidget>("ListBox1");
    click("CostContoursBox");
    auto enter = [&](const char* text) {
        levels->setFocus();
        levels->selectAll();
        QTest::keyClicks(levels, u(text));
        QTest::keyClick(levels, Qt::Key_Return);
        QCoreApplication::processEvents();
    };
    enter("2; 4");
    EXPECT_TRUE(taking.texts("warn").isEmpty());
    EXPECT_EQ(win->exportContourLevels(), (std::vector<double> { 2.0, 4.0 }));
    const QImage accepted = win->image();

    enter("2; x");
    EXPECT_EQ(taking.texts("warn"), QStringList { u("Chybné zadanie IZOČIAR !!!") });
    EXPECT_EQ(levels->text(), u("2; 4"));
    EXPECT_EQ(win->exportContourLevels(), (std::vector<double> { 2.0, 4.0 }));
    EXPECT_EQ(win->image(), accepted);
    // Leaving the field afterwards tells nothing more.
    levels->setFocus();
    taking.thief->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(taking.texts("warn").size(), 1);
}

TEST_F(AllocationWindow, NothingIsComputedWhileTheSettingsAreOff)
{
    in->settingsTicked = false;
    open();
    EXPECT_TRUE(list("ListBox1").isEmpty());
    EXPECT_TRUE(w->image().isNull());
    click("Button1");
    EXPECT_TRUE(list("ListBox2").isEmpty());
    // The design state of the result choice is kept.
    EXPECT_TRUE(get<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(get<QRadioButton>("RadioButton1")->isEnabled());
    EXPECT_TRUE(get<QRadioButton>("RadioButton3")->isChecked());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(AllocationWindow, ResultChoiceOverAPictureAndItsRadioButtons)
{
    in->picture = true;
    in->groupsTicked = true;
    in->setGroupCount("1");
    in->setGroups(groupList({ { "A", "B" } })); // two members: told once for these groups
    const QString tooFew = u("Nedostatočný počet miest v SKUPINE 1 (MIN=3)!!!");
    open();
    const int runs = w->runsMade();
    // Picture data, "S obrázkom" checked at creation: all four buttons usable.
    for (const char* b : { "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4" })
        EXPECT_TRUE(get<QRadioButton>(b)->isEnabled()) << b;
    EXPECT_EQ(dialogs.texts("warn"), QStringList { tooFew });
    // In picture data the places are still listed as members "M".
    EXPECT_EQ(list("ListBox2"), (QStringList { "--- Skupina 1 ---", "M1: A, [0;0]", "M2: B, [10;0]" }));

    // "Bez obrázku": the proportion buttons go off, the drawing area fills its frame, and in
    // group mode the allocation runs again.
    click("RadioButton2");
    EXPECT_TRUE(get<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_FALSE(get<QRadioButton>("RadioButton3")->isEnabled());
    EXPECT_FALSE(get<QRadioButton>("RadioButton4")->isEnabled());
    EXPECT_TRUE(get<QRadioButton>("RadioButton1")->isEnabled());
    EXPECT_EQ(get<QWidget>("Image1")->geometry(), get<QGroupBox>("GroupBox3")->contentsRect());
    EXPECT_EQ(w->runsMade(), runs + 1);

    // "S obrázkom" again: the area is placed freely, 4 and 17 pixels smaller than its frame.
    click("RadioButton1");
    auto* box3 = get<QGroupBox>("GroupBox3");
    EXPECT_EQ(get<QWidget>("Image1")->size(), QSize(box3->width() - 4, box3->height() - 17));
    EXPECT_TRUE(get<QRadioButton>("RadioButton4")->isEnabled());
    EXPECT_EQ(w->runsMade(), runs + 2);
    click("RadioButton4");
    EXPECT_TRUE(get<QRadioButton>("RadioButton4")->isChecked());
    EXPECT_EQ(w->runsMade(), runs + 3);
    click("RadioButton3");
    EXPECT_EQ(w->runsMade(), runs + 4);
    // Every run met the same small group: it was told once.
    EXPECT_EQ(dialogs.texts("warn"), QStringList { tooFew });

    // Without groups a choice redraws without computing.
    in->groupsTicked = false;
    click("RadioButton2");
    EXPECT_EQ(w->runsMade(), runs + 4);
    EXPECT_FALSE(w->image().isNull());

    // "Riešenie DORVAN" sets the choice by the picture.
    w->setResultChoiceByPicture(false);
    EXPECT_TRUE(get<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("RadioButton3")->isChecked());
    for (const char* b : { "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4" })
        EXPECT_FALSE(get<QRadioButton>(b)->isEnabled()) << b;
    w->setResultChoiceByPicture(true);
    EXPECT_TRUE(get<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("RadioButton3")->isChecked());
    for (const char* b : { "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4" })
        EXPECT_TRUE(get<QRadioButton>(b)->isEnabled()) << b;
}

TEST_F(AllocationWindow, DefaultRunsAgainWithTheCurrentData)
{
    in->values.setPrecisionText("10");
    open();
    ASSERT_EQ(list("ListBox2").size(), 3);
    setPlaces(project, { { "A", 0, 0 }, { "B", 10, 0 }, { "C", 2.5, 10 }, { "Dlhé meno miesta", 1, 1 } });
    click("Button1");
    EXPECT_EQ(list("ListBox2"),
        (QStringList {
            "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [2,5;10]", u("M4: Dlhé meno miesta, [1;1]") }));
    // The place panel follows the longest line: 27 characters.
    EXPECT_EQ(width("GroupBox1"), 7 * 27 + 10);
    EXPECT_EQ(list("ListBox1").first(), "[X0;Y0]=[3,375;2,75]");

    // Once its closing was accepted the button does nothing, though the window is still there.
    dialogs.confirmAnswers = { true };
    ASSERT_TRUE(w->close());
    setPlaces(project, Triangle);
    click("Button1");
    EXPECT_EQ(list("ListBox2").size(), 4);
}

TEST_F(AllocationWindow, ThreeGroupsWithASmallMiddleGroup)
{
    setPlaces(project,
        { { "A", 0, 0 }, { "B", 10, 0 }, { "C", 5, 10 }, { "D", 30, 30 }, { "E", 40, 30 }, { "F", 20, 40 },
            { "G", 30, 40 }, { "H", 25, 50 } });
    in->groupsTicked = true;
    in->setGroupCount("3");
    in->setGroups(groupList({ { "A", "B", "C" }, { "D", "E" }, { "F", "G", "H" } }));
    open();

    EXPECT_EQ(dialogs.messages(), QStringList { u("Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!") });
    const QStringList centres = list("ListBox1");
    ASSERT_EQ(centres.size(), 2);
    EXPECT_TRUE(centres[0].startsWith("[Xopt1;Yopt1]=[5;")) << centres[0].toStdString();
    EXPECT_TRUE(centres[1].startsWith("[Xopt3;Yopt3]=[")) << centres[1].toStdString();
    EXPECT_EQ(list("ListBox2"),
        (QStringList { "--- Skupina 1 ---", "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [5;10]",
            "--- Skupina 2 ---", "M4: D, [30;30]", "M5: E, [40;30]", "--- Skupina 3 ---", "M6: F, [20;40]",
            "M7: G, [30;40]", "M8: H, [25;50]" }));
    EXPECT_FALSE(get<QLineEdit>("Edit1")->isVisible());
    // Group 1 was solved: its panel is 300 pixels, and no later line needs more.
    EXPECT_EQ(width("GroupBox2"), 300);
    // Measured for the header "--- Skupina 3 ---", longer than any place line.
    EXPECT_EQ(width("GroupBox1"), 7 * 17 + 10);

    // Each group in its colour: group 1 black, 2 green, 3 orange; the optima in red.
    keepPicture(w->image(), "allocation_three_groups.png");
    const auto& c = w->chartState();
    EXPECT_EQ(pixel(c.px(10.0) - 3, c.py(0.0)), Black);
    EXPECT_EQ(pixel(c.px(40.0) - 3, c.py(30.0)), Green);
    EXPECT_EQ(pixel(c.px(30.0) - 3, c.py(40.0)), QColor(0xCF, 0x8A, 0x00));
    const auto& s = w->solverState();
    EXPECT_EQ(pixel(c.px(s.GroupIterX[s.FinalIter]) + 1, c.py(s.GroupIterY[s.FinalIter]) + 1), Red);
    EXPECT_EQ(s.GroupNo, 3);
    EXPECT_EQ(s.GroupMemberTotal, 8);

    // Group 1 of two members: its panel gets 200 pixels.
    in->setGroups(groupList({ { "A", "B" }, { "C", "D", "E" } }));
    in->setGroupCount("2");
    click("Button1");
    EXPECT_EQ(width("GroupBox2"), 200);
    EXPECT_EQ(list("ListBox1").size(), 1);
}

// The window shows the project's result: every run of the window (a button, a resize in group
// mode, a click) reads it, and it is solved again only when an input changed.
TEST_F(AllocationWindow, TheResultIsSolvedOncePerRevisionWhateverTheWindowRuns)
{
    setPlaces(project,
        { { "A", 0, 0 }, { "B", 10, 0 }, { "C", 5, 10 }, { "D", 30, 30 }, { "E", 40, 30 }, { "F", 20, 40 } });
    in->groupsTicked = true;
    in->setGroupCount("2");
    in->setGroups(groupList({ { "A", "B", "C" }, { "D", "E", "F" } }));
    open();
    const dorvan::AllocationResults& results = dorvan::allocationsOf(project);
    ASSERT_EQ(results.made(), 1);
    const int runs = w->runsMade();
    const QStringList centres = list("ListBox1");
    const QImage drawn = w->image();
    ASSERT_EQ(centres.size(), 2);

    click("Button1");
    w->resize(w->width() + 40, w->height()); // group mode: a run
    w->resize(w->width() - 40, w->height());
    QTest::mouseClick(get<QWidget>("Image1"), Qt::LeftButton, {}, QPoint(50, 50)); // two runs
    EXPECT_EQ(w->runsMade(), runs + 5);
    EXPECT_EQ(results.made(), 1);
    EXPECT_EQ(list("ListBox1"), centres);
    EXPECT_EQ(w->image(), drawn);

    // A place moved: the next run solves again, and only once.
    project.Record.PlaceX[6] = 26.0;
    project.changed(dorvan::ProjectChange::Places | dorvan::ProjectChange::RunInputs);
    EXPECT_EQ(results.made(), 2);
    EXPECT_NE(list("ListBox1")[1], centres[1]);
    click("Button1");
    EXPECT_EQ(results.made(), 2);
    EXPECT_EQ(w->runsMade(), runs + 7);
}

TEST_F(AllocationWindow, EmptyGroupListMakesAOneCentreRunAndNoGroupCountNothing)
{
    in->values.setPrecisionText("10");
    in->groupsTicked = true;
    in->setGroupCount("2");
    open();
    EXPECT_EQ(list("ListBox1").size(), 3);
    EXPECT_TRUE(get<QLineEdit>("Edit1")->isVisible());

    // Groups listed while the count says 0: nothing listed, nothing drawn over the chart.
    const QImage before = w->image();
    in->setGroups(groupList({ { "A", "B", "C" } }));
    in->setGroupCount("0");
    click("Button1");
    EXPECT_TRUE(list("ListBox1").isEmpty());
    EXPECT_TRUE(list("ListBox2").isEmpty());
    EXPECT_FALSE(get<QLineEdit>("Edit1")->isVisible());
    EXPECT_EQ(w->image(), before);

    // A counted group whose header is missing is empty; the others are solved.
    in->setGroupCount("2");
    in->setGroups({ "--- Skupina 2 ---", "A", "B", "C" });
    click("Button1");
    EXPECT_EQ(dialogs.texts("warn"), QStringList { u("Nedostatočný počet miest v SKUPINE 1 (MIN=3)!!!") });
    EXPECT_EQ(list("ListBox2"),
        (QStringList {
            "--- Skupina 1 ---", "--- Skupina 2 ---", "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [5;10]" }));
    EXPECT_EQ(list("ListBox1").size(), 1);

    // A member renamed since it was grouped matches no place: listed without coordinates.
    in->setGroupCount("1");
    in->setGroups(groupList({ { "A", "B", "Zmenené" } }));
    click("Button1");
    EXPECT_EQ(list("ListBox2"),
        (QStringList { "--- Skupina 1 ---", "M1: A, [0;0]", "M2: B, [10;0]", u("M3: Zmenené, [?;?]") }));
}

TEST_F(AllocationWindow, GroupColoursReachTheDrawing)
{
    std::vector<PlaceData> places;
    std::vector<std::vector<std::string>> groups;
    static const char* names[16] = { "P01", "P02", "P03", "P04", "P05", "P06", "P07", "P08", "P09", "P10",
        "P11", "P12", "P13", "P14", "P15", "P16" };
    for (int g = 1; g <= 16; ++g) {
        places.push_back({ names[g - 1], 6.0 * ((g - 1) % 4), 6.0 * ((g - 1) / 4) });
        groups.push_back({ names[g - 1] });
    }
    setPlaces(project, places);
    in->groupsTicked = true;
    in->setGroupCount("16");
    in->setGroups(groupList(groups));
    open();
    keepPicture(w->image(), "allocation_sixteen_groups.png");
    EXPECT_EQ(dialogs.texts("warn").size(), 16);
    const auto& c = w->chartState();
    auto outline = [&](int g) {
        const PlaceData& p = places[static_cast<std::size_t>(g - 1)];
        return pixel(c.px(p.x) - 3, c.py(p.y));
    };
    EXPECT_EQ(outline(7), Red);
    EXPECT_EQ(outline(8), Green);
    EXPECT_EQ(outline(13), Red);
    EXPECT_EQ(outline(14), Black);
    EXPECT_EQ(outline(16), Green);
    EXPECT_EQ(outline(2), Green);
    EXPECT_EQ(outline(5), QColor(0, 0, 0x80));
}

TEST_F(AllocationWindow, SolverMessagesOnceARunAndTheHistoryNoticeInTheStatusLine)
{
    in->values.setPrecisionText("abc");
    open();
    EXPECT_EQ(dialogs.messages(), QStringList { BadPrecision });
    EXPECT_EQ(in->settingsChanges, 1) << "the project is told, so the settings page shows it";
    EXPECT_EQ(in->values.precisionText(), "0,01");
    EXPECT_TRUE(w->lists().runNotice().isEmpty());

    // A group run complains once, at its first group; the later groups take the default.
    setPlaces(project,
        { { "A", 0, 0 }, { "B", 10, 0 }, { "C", 5, 10 }, { "D", 30, 30 }, { "E", 40, 30 }, { "F", 20, 40 } });
    in->values.setPrecisionText("abc");
    in->groupsTicked = true;
    in->setGroupCount("2");
    in->setGroups(groupList({ { "A", "B", "C" }, { "D", "E", "F" } }));
    dialogs.shown.clear();
    click("Button1");
    EXPECT_EQ(dialogs.messages(), QStringList { BadPrecision });
    EXPECT_EQ(in->settingsChanges, 2);
    EXPECT_EQ(in->values.precisionText(), "0,01");
    EXPECT_EQ(list("ListBox1").size(), 2);
    click("Button1");
    EXPECT_EQ(dialogs.messages().size(), 1) << "the default stays in force";

    // A run that does not reach its precision within the history: no box, a line under the
    // lists, the last entry taken as the result.
    setPlaces(project, { { "A", 0, 0, 1000 }, { "B", 1, 0, 1000 }, { "C", 0.9, 0.1 } });
    in->groupsTicked = false;
    in->quantity = true;
    in->values.rule = dorvan::StoppingRule::AxisX;
    in->values.setPrecisionText("0,0001");
    dialogs.shown.clear();
    click("Button1");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(w->lists().runNotice(),
        QString::fromUtf8(dorvan::HistoryFullNotice.data(), dorvan::HistoryFullNotice.size()));
    EXPECT_TRUE(get<QLabel>("RunNotice")->isVisible());
    EXPECT_EQ(list("ListBox1").size(), 2 * dorvan::CooperHistorySize - 1);
    EXPECT_TRUE(get<QLineEdit>("Edit1")->text().startsWith("[X999,Y999]="));
    // The lists make room for the line.
    EXPECT_LE(get<QWidget>("GroupBox2")->geometry().bottom(), get<QLabel>("RunNotice")->geometry().top());

    in->values.setPrecisionText("0,01");
    click("Button1");
    EXPECT_TRUE(w->lists().runNotice().isEmpty());
    EXPECT_FALSE(get<QLabel>("RunNotice")->isVisible());
}

TEST_F(AllocationWindow, ClosingAnsweredNoKeepsTheEntryStartedAndYesEndsIt)
{
    open();
    project.State.EntryWindowClosed = true;
    dialogs.confirmAnswers = { false };
    EXPECT_FALSE(w->close());
    EXPECT_EQ(dialogs.texts("confirm").size(), 1);
    flushDeletes();
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->childWindow().isClosing());
    EXPECT_FALSE(project.State.EntryWindowClosed);
    EXPECT_TRUE(project.State.EntryStarted);

    // Yes: the window goes; without the picture page's grid nothing is written back.
    dialogs.confirmAnswers = { true };
    EXPECT_TRUE(w->close());
    flushDeletes();
    EXPECT_FALSE(w);
    EXPECT_TRUE(project.State.EntryWindowClosed);
    EXPECT_FALSE(project.State.EntryStarted);
}

TEST_F(AllocationWindow, ClosedByProgramClosesWithoutAskingAndHasTheCoordinatesShownAgain)
{
    open();
    EXPECT_EQ(in->coordinateShows, 0);
    w->childWindow().closeByProgram();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(dialogs.texts("confirm").isEmpty());
    flushDeletes();
    EXPECT_FALSE(w);
    // The picture page lists the coordinates again (tested with that page).
    EXPECT_EQ(in->coordinateShows, 1);
}

TEST_F(AllocationWindow, ResizingLaysOutAndRedrawsFromTheStoredResult)
{
    in->values.setPrecisionText("10");
    open();
    const QStringList placesBefore = list("ListBox2");
    const int box5 = width("GroupBox5");

    // A one-centre resize draws again without computing: the lists keep the old places.
    setPlaces(project, { { "A", 0, 0 }, { "B", 20, 0 }, { "C", 5, 10 } });
    w->resize(1000, 700);
    EXPECT_EQ(width("GroupBox3"), 1000 - box5);
    EXPECT_EQ(get<QWidget>("GroupBox3")->height(), 700);
    EXPECT_EQ(get<QWidget>("GroupBox5")->x(), 1000 - box5);
    EXPECT_EQ(w->image().size(), get<QWidget>("Image1")->size());
    EXPECT_GT(w->image().width(), 700);
    EXPECT_EQ(list("ListBox2"), placesBefore);
    EXPECT_EQ(w->chartState().ChartMaxX, 25.0) << "the chart spans the places as they are now";
    EXPECT_EQ(redDotPixels(), 36);

    // Without the data-entry window in sight a resize only lays out.
    in->visible = false;
    const QImage drawn = w->image();
    w->resize(900, 650);
    EXPECT_EQ(w->image(), drawn);
    in->visible = true;

    // In group mode a resize runs the allocation again.
    in->groupsTicked = true;
    in->setGroupCount("1");
    in->setGroups(groupList({ { "A", "B" } }));
    w->resize(950, 650);
    EXPECT_EQ(dialogs.texts("warn").size(), 1);
    EXPECT_EQ(list("ListBox2").size(), 3);
}

// However low the window is made, the status line under the lists never covers the result
// choice: what does not fit is cut off at the foot.
TEST_F(AllocationWindow, ALowWindowKeepsTheStatusLineOffTheResultChoice)
{
    open();
    ASSERT_FALSE(w->lists().certificateLine().isEmpty());
    auto* line = get<QLabel>("CertificateLine");
    for (int h : { 700, 150, 90, 40 }) {
        w->resize(700, h);
        EXPECT_GE(line->geometry().top(), get<QWidget>("GroupBox4")->geometry().bottom()) << h;
        EXPECT_GE(get<QWidget>("GroupBox2")->height(), 0) << h;
    }
}

TEST_F(AllocationWindow, TooSmallDrawingAreaEnlargesTheWindow)
{
    in->values.setPrecisionText("10");
    open();
    const QStringList path = list("ListBox1");
    const int lists = width("GroupBox1") + width("GroupBox2");

    // Under 120 pixels a run computes nothing and makes the window the lists plus 200 wide
    // and 200 high.
    w->resize(lists + 300, 120);
    ASSERT_LT(get<QWidget>("Image1")->height(), 120);
    ASSERT_GE(get<QWidget>("Image1")->height(), 50);
    project.Record.PlaceX[3] = 7.0;
    click("Button1");
    EXPECT_EQ(w->size(), QSize(lists + 200, 200));
    EXPECT_EQ(list("ListBox1"), path);

    // Under 50 pixels the chart is not drawn and the window becomes the lists plus 100 wide
    // and 100 high.
    w->resize(lists + 300, 40);
    EXPECT_EQ(w->size(), QSize(lists + 100, 100));
    EXPECT_EQ(w->image().size(), get<QWidget>("Image1")->size());
}

// ------------------------------------------------------------------------------------------------
// Over the map picture

// A map picture in two colours, its left half and its right half, so that where it is stretched
// to shows in the drawing.
const QColor PictureLeft(0x60, 0xA0, 0x60);
const QColor PictureRight(0x40, 0x80, 0xC0);

void setPicture(dorvan::Project& p, int width, int height, int rangeX, int rangeY)
{
    p.MapPicture = dorvan::RgbPicture(width, height);
    const dorvan::RgbPicture::Rgb left { 0x60, 0xA0, 0x60 }, right { 0x40, 0x80, 0xC0 };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.MapPicture.setPixel(x, y, x < width / 2 ? left : right);
    p.Record.PictureWidth = width;
    p.Record.PictureHeight = height;
    p.State.PictureRangeX = p.Record.MapRangeX = rangeX;
    p.State.PictureRangeY = p.Record.MapRangeY = rangeY;
}

bool isPicture(const QColor& c)
{
    return c == PictureLeft || c == PictureRight;
}

class OverPicture : public AllocationWindow {
protected:
    void SetUp() override
    {
        AllocationWindow::SetUp();
        in->picture = true;
        setPlaces(project, { { "A01", 100, 50 }, { "A02", 300, 250 }, { "A03", 200, 100 } });
    }
    QSize frameSize() const
    {
        const QWidget* box3 = get<QWidget>("GroupBox3");
        return box3->size();
    }
    // Pixels of a rectangle of the drawing that show the picture.
    int picturePixels(const QRect& r) const
    {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += isPicture(pixel(x, y)) ? 1 : 0;
        return n;
    }
    // Row y of the drawing: the picture runs from the margin at x = 20 up to W - 20, its left
    // colour in the first half and its right colour in the second, white beyond it.
    void expectPictureFillsRow(int y) const
    {
        const int W = w->image().width();
        int first = -1, last = -1, left = 0, right = 0;
        for (int x = 0; x < W; ++x) {
            const QColor c = pixel(x, y);
            if (!isPicture(c))
                continue;
            if (first < 0)
                first = x;
            last = x;
            left += c == PictureLeft && x < W / 2 - 2 ? 1 : 0;
            right += c == PictureRight && x > W / 2 + 2 ? 1 : 0;
        }
        EXPECT_GE(first, 20) << "row " << y;
        EXPECT_LE(first, 30) << "row " << y;
        EXPECT_EQ(last, W - 21) << "row " << y;
        EXPECT_GT(left, (W - 44) / 3) << "row " << y;
        EXPECT_GT(right, (W - 44) / 3) << "row " << y;
        EXPECT_EQ(pixel(W - 13, y), QColor(Qt::white)) << "row " << y;
    }
};

TEST_F(OverPicture, OneCentreResultLiesOnThePictureWhereThePlacesWereClicked)
{
    // 440 × 340 pixels of picture standing for 400 × 300 units: smaller than the frame, so with
    // "ÁNO" the drawing area takes the picture's size, the picture shrinks into the margins and
    // one unit is one pixel.
    setPicture(project, 440, 340, 400, 300);
    open();
    EXPECT_TRUE(get<QRadioButton>("RadioButton1")->isChecked());
    ASSERT_EQ(w->image().size(), QSize(440, 340));
    EXPECT_EQ(get<QWidget>("Image1")->size(), QSize(440, 340));
    keepPicture(w->image(), "allocation_over_picture.png");
    const auto& c = w->chartState();
    EXPECT_EQ(c.ChartMaxX, 400.0);
    EXPECT_EQ(c.ChartMaxY, 300.0);
    EXPECT_EQ(c.ChartScaleX, 1.0);
    EXPECT_EQ(c.ChartScaleY, 1.0);

    // The picture, stretched between the margins, under the drawing.
    EXPECT_EQ(pixel(100, 105), PictureLeft);
    EXPECT_EQ(pixel(340, 105), PictureRight);
    EXPECT_EQ(pixel(418, 105), PictureRight);
    EXPECT_EQ(pixel(421, 105), QColor(Qt::white));
    EXPECT_EQ(pixel(100, 317), PictureLeft);
    // The axes on its left and bottom edges.
    EXPECT_EQ(pixel(20, 117), Red);
    EXPECT_EQ(pixel(101, 320), Red);
    EXPECT_EQ(pixel(101, 324), QColor(Qt::white));

    // Place A01 (100; 50) at (120, 270): red circle, white inside; its label above it on white,
    // with no picture showing through.
    EXPECT_EQ(pixel(117, 270), Red);
    EXPECT_EQ(pixel(120, 270), QColor(Qt::white));
    const QRect label(107, 254, 16, 10);
    EXPECT_EQ(picturePixels(label), 0);
    int black = 0;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x)
            black += pixel(x, y) == Black ? 1 : 0;
    EXPECT_GT(black, 10);
    // Place A02 (300; 250) at (320, 70).
    EXPECT_EQ(pixel(317, 70), Red);
    // The optimum: the red dot at the end of the path.
    EXPECT_EQ(redDotPixels(), 36);
}

TEST_F(OverPicture, ProportionalKeepsThePicturesShapeAndNotProportionalFillsTheFrame)
{
    // A wide picture, wider than the frame and lower: "ÁNO" fits it to the frame's width.
    setPicture(project, 2000, 500, 1000, 250);
    open();
    const QSize frame = frameSize();
    const dorvan::PixelSize fitted
        = dorvan::mapDrawingArea({ 2000, 500 }, { frame.width(), frame.height() }, true);
    ASSERT_EQ(w->image().size(), QSize(fitted.width, fitted.height));
    EXPECT_EQ(fitted.width, frame.width() - 4);
    EXPECT_LT(fitted.height, frame.height() - 17);
    keepPicture(w->image(), "allocation_over_picture_proportional.png");
    expectPictureFillsRow(25);
    expectPictureFillsRow(w->image().height() - 25);
    EXPECT_EQ(redDotPixels(), 36);

    // "NIE": the drawing area fills the frame, and the picture with it.
    click("RadioButton4");
    EXPECT_TRUE(get<QRadioButton>("RadioButton4")->isChecked());
    ASSERT_EQ(w->image().size(), QSize(frame.width() - 4, frame.height() - 17));
    EXPECT_EQ(get<QWidget>("Image1")->size(), w->image().size());
    keepPicture(w->image(), "allocation_over_picture_filling.png");
    expectPictureFillsRow(25);
    expectPictureFillsRow(w->image().height() - 25);
    EXPECT_EQ(redDotPixels(), 36);
    // The place (100; 50) follows the picture: its circle is where the mapping puts it.
    EXPECT_EQ(pixel(w->chartState().px(100.0) - 3, w->chartState().py(50.0)), Red);

    // "ÁNO" again, then "Default": the same proportional area.
    click("RadioButton3");
    EXPECT_EQ(w->image().size(), QSize(fitted.width, fitted.height));
    click("Button1");
    EXPECT_EQ(w->image().size(), QSize(fitted.width, fitted.height));
}

TEST_F(OverPicture, GroupsAreDrawnInTheirColoursWithLabelsOnWhite)
{
    setPicture(project, 440, 340, 400, 300);
    in->groupsTicked = true;
    in->setGroupCount("2");
    setPlaces(project, { { "A01", 100, 50 }, { "A02", 300, 250 }, { "A03", 200, 100 }, { "A04", 350, 60 } });
    in->setGroups(groupList({ { "A01", "A02", "A03" }, { "A04" } }));
    open();
    const int runs = w->runsMade();
    // The group lists are wide: a larger window gives the picture room at its own size.
    w->resize(1100, 700);
    ASSERT_EQ(w->image().size(), QSize(440, 340));
    keepPicture(w->image(), "allocation_over_picture_groups.png");
    // Group 2 is too small: told at the first run, not again at the resize's.
    EXPECT_EQ(w->runsMade(), runs + 1);
    EXPECT_EQ(dialogs.texts("warn").size(), 1);
    // Group 1 in black, group 2 in green, each circle at its place over the picture.
    EXPECT_EQ(pixel(117, 270), Black);
    EXPECT_EQ(pixel(367, 260), Green);
    EXPECT_EQ(pixel(370, 260), QColor(Qt::white));
    // The label "M4" above its member, on white.
    EXPECT_EQ(picturePixels(QRect(357, 244, 12, 10)), 0);
    EXPECT_EQ(picturePixels(QRect(107, 254, 16, 10)), 0); // "M1"
    EXPECT_EQ(pixel(100, 105), PictureLeft);
}

TEST_F(OverPicture, APictureSmallerThanARunNeedsStillRunsAgain)
{
    // Drawn at its own 100 × 100 pixels, less than the 120 a run needs; "Default" measures the
    // frame the area is sized in, so it runs, lists the new place and draws it.
    setPicture(project, 100, 100, 100, 99);
    open();
    ASSERT_EQ(w->image().size(), QSize(100, 100));
    const QSize before = w->size();
    project.Record.PlaceX[3] = 20.0;
    project.Record.PlaceY[3] = 90.0;
    click("Button1");
    EXPECT_EQ(list("ListBox2").last(), "A03, [20;90]");
    EXPECT_EQ(w->size(), before);
    EXPECT_EQ(w->image().size(), QSize(100, 100));
    EXPECT_EQ(redDotPixels(), 36);
}

TEST_F(OverPicture, AreaTooSmallForTheDrawingKeepsThePictureAndEnlargesTheWindow)
{
    setPicture(project, 60, 60, 60, 59);
    open();
    const int lists = width("GroupBox1") + width("GroupBox2");
    EXPECT_EQ(w->size(), QSize(lists + 100, 100));
    ASSERT_EQ(w->image().size(), QSize(60, 60));
    // The picture is drawn, nothing over it.
    EXPECT_EQ(picturePixels(QRect(20, 20, 20, 20)), 400);
}

// ------------------------------------------------------------------------------------------------
// With the real data-entry window

// The allocation window hears of the edits from the project, not from the host.
class WithEntryWindow : public dorvan::test::EntryWindowFixture {
protected:
    WithEntryWindow()
        : EntryWindowFixture({ 1000, 700 })
    {
    }
    void TearDown() override
    {
        if (cooper) {
            cooper->setAttribute(Qt::WA_DeleteOnClose, false);
            delete cooper.data();
        }
        EntryWindowFixture::TearDown();
    }

    QPointer<TCooperAlokMetod> cooper;
};

TEST_F(WithEntryWindow, EditsOnTheDataEntryWindowRunTheAllocationAgain)
{
    enterList({ { "A", "0", "0" }, { "B", "10", "0" }, { "C", "5", "10" } });
    ASSERT_TRUE(get<QCheckBox>("CheckBox16")->isChecked());
    cooper = new TCooperAlokMetod(project, dialogs);
    host.cooperOpen = true; // the main window knows it open
    cooper->resize(900, 600);
    cooper->show();
    auto* path = get<QListWidget>(cooper, "ListBox1");
    EXPECT_GT(path->count(), 3) << "e = 0,01 takes more than one step";
    EXPECT_EQ(lines(get<QListWidget>(cooper, "ListBox2")),
        (QStringList { "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [5;10]" }));
    const QString optimum = get<QLineEdit>(cooper, "Edit1")->text();

    // A new precision, confirmed with its OK: one step is enough now.
    get<QTabWidget>("PageControl1")->setCurrentIndex(1);
    get<QLineEdit>("Edit47")->setText("10");
    click("Button41");
    EXPECT_EQ(
        lines(path), (QStringList { "[X0;Y0]=[5;3,3333]", "[X1;Y0]=[5;3,3333]", "[X1,Y1]=[5;3,1067]" }));

    // A bad precision left in the field: the run complains once and puts the default back.
    get<QLineEdit>("Edit47")->setText("abc");
    QTest::mouseClick(get<QPushButton>(cooper, "Button1"), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts("warn"), QStringList { BadPrecision });
    EXPECT_EQ(get<QLineEdit>("Edit47")->text(), "0,01");
    EXPECT_EQ(get<QLineEdit>(cooper, "Edit1")->text(), optimum);

    // All three places put into group 1: the last move runs the allocation for the group, and
    // its centre is the one-centre optimum.
    tick("CheckBox17");
    ASSERT_TRUE(get<QCheckBox>("CheckBox17")->isChecked());
    for (int i = 0; i < 3; ++i) {
        get<QListWidget>("ListBox8")->setCurrentRow(0);
        click("Button43");
    }
    EXPECT_EQ(get<QLineEdit>("Edit49")->text(), "1");
    ASSERT_EQ(path->count(), 1);
    EXPECT_EQ(
        path->item(0)->text().mid(path->item(0)->text().indexOf('=')), optimum.mid(optimum.indexOf('=')));
    EXPECT_EQ(lines(get<QListWidget>(cooper, "ListBox2")),
        (QStringList { "--- Skupina 1 ---", "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [5;10]" }));
    EXPECT_FALSE(get<QLineEdit>(cooper, "Edit1")->isVisible());
}

// ------------------------------------------------------------------------------------------------
// Opened from the main window

TEST(AllocationWindowInMainWindow, OpensAsAChildWithTheResultChoiceByPicture)
{
    ScriptedDialogs dialogs;
    auto frame = std::make_unique<TDorvan_Central>(dialogs);
    frame->show();
    frame->projectFiles().NovyVUClick();
    TVstupUdajov* entry = frame->entryWindow();
    ASSERT_NE(entry, nullptr);
    auto type = [&](const char* name, const QString& text) {
        auto* e = control<QLineEdit>(entry, name);
        e->clear();
        QTest::keyClicks(e, text);
    };
    type("Edit1", "3");
    QTest::keyClick(control<QLineEdit>(entry, "Edit1"), Qt::Key_Return);
    for (auto [n, x, y] : { std::tuple { "A", "0", "0" }, { "B", "10", "0" }, { "C", "5", "10" } }) {
        type("Edit2", n);
        type("Edit3", x);
        type("Edit4", y);
        QTest::mouseClick(control<QPushButton>(entry, "OKButton3"), Qt::LeftButton);
    }
    ASSERT_EQ(frame->project().State.PlaceCount, 3);

    QPointer<TCooperAlokMetod> w = openCooperWindow(*frame);
    ASSERT_TRUE(w);
    EXPECT_NE(qobject_cast<QMdiSubWindow*>(w->parentWidget()), nullptr);
    EXPECT_TRUE(frame->cooperWindowOpen());
    EXPECT_EQ(openCooperWindow(*frame), nullptr) << "one window at a time";
    auto radio = [&](const char* name) { return w->findChild<QRadioButton*>(name); };
    EXPECT_FALSE(radio("RadioButton1")->isEnabled());
    EXPECT_TRUE(radio("RadioButton2")->isChecked());
    EXPECT_FALSE(radio("RadioButton2")->isEnabled());
    EXPECT_TRUE(radio("RadioButton3")->isChecked());
    EXPECT_FALSE(radio("RadioButton3")->isEnabled());
    EXPECT_FALSE(radio("RadioButton4")->isEnabled());
    EXPECT_EQ(w->findChild<QListWidget*>("ListBox2")->count(), 3);
    EXPECT_FALSE(frame->pictureMode());

    // A stale result the project is told of reaches the run driver.
    control<QLineEdit>(entry, "Edit47")->setText("10");
    frame->project().changed(dorvan::ProjectChange::RunInputs);
    EXPECT_EQ(w->findChild<QListWidget*>("ListBox1")->count(), 3);

    // Closed by the program, then opened again for a project with a picture.
    w->childWindow().closeByProgram();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
    EXPECT_FALSE(frame->cooperWindowOpen());
    frame->project().Record.PictureWidth = 10;
    frame->project().Record.PictureHeight = 10;
    w = openCooperWindow(*frame);
    ASSERT_TRUE(w);
    EXPECT_TRUE(radio("RadioButton1")->isChecked());
    for (const char* b : { "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4" })
        EXPECT_TRUE(radio(b)->isEnabled()) << b;
    EXPECT_TRUE(radio("RadioButton3")->isChecked());

    // Closing the data-entry window takes the allocation window along without its question.
    frame->project().State.EntryStarted = true; // as "Riešenie DORVAN" leaves it
    dialogs.shown.clear();
    dialogs.saveAnswers = { dorvan::UserDialogs::Answer::Yes }; // the places were not saved
    entry->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
    EXPECT_EQ(dialogs.texts("confirmSave"), QStringList { u("Zavrieť \"Zadávanie údajov\" ?!!") });
    EXPECT_FALSE(frame->cooperWindowOpen());
}

// A maximised window fills the main window's client area, whatever its drawing needs: a picture
// two pixels high leaves too little room for the drawing over it, and the window must not be
// shrunk out of its maximised frame (it would show without its frame and its lists).
TEST(AllocationWindowInMainWindow, AMaximisedWindowStaysWholeWhenItsDrawingIsTooSmall)
{
    ScriptedDialogs dialogs;
    auto frame = std::make_unique<TDorvan_Central>(dialogs);
    frame->resize(1200, 900);
    frame->show();
    dorvan::Project& p = frame->project();
    setPlaces(p, { { "A01", 100, 1 }, { "A02", 900, 1 }, { "A03", 500, 0 } });
    setPicture(p, 2000, 1, 1250, 1);
    p.State.PictureMode = true;
    p.Choices.SettingsOn = true;
    QPointer<TCooperAlokMetod> w = openCooperWindow(*frame);
    ASSERT_TRUE(w);
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->showMaximized();
    QCoreApplication::processEvents();
    w->findChild<QPushButton*>("Button1")->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->geometry(), frame->mdiArea()->viewport()->rect());
    EXPECT_EQ(w->findChild<QListWidget*>("ListBox2")->count(), 3);
    const QWidget* lists = w->findChild<QWidget*>("GroupBox5");
    EXPECT_LE(lists->geometry().right(), w->width() - 1);
    EXPECT_GE(lists->x(), 0);
}

// A place deleted while the allocation window stays open: the window shows the places left, not
// the deleted one; with fewer than two left there is nothing to allocate and the window closes.
TEST(AllocationWindowInMainWindow, ADeletedPlaceLeavesNoStaleResult)
{
    ScriptedDialogs dialogs;
    auto frame = std::make_unique<TDorvan_Central>(dialogs);
    frame->show();
    frame->projectFiles().NovyVUClick();
    TVstupUdajov* entry = frame->entryWindow();
    ASSERT_NE(entry, nullptr);
    auto type = [&](const char* name, const QString& text) {
        auto* e = control<QLineEdit>(entry, name);
        e->clear();
        QTest::keyClicks(e, text);
    };
    type("Edit1", "4");
    QTest::keyClick(control<QLineEdit>(entry, "Edit1"), Qt::Key_Return);
    for (auto [n, x, y] :
        { std::tuple { "A", "0", "0" }, { "B", "10", "0" }, { "C", "5", "10" }, { "D", "90", "90" } }) {
        type("Edit2", n);
        type("Edit3", x);
        type("Edit4", y);
        QTest::mouseClick(control<QPushButton>(entry, "OKButton3"), Qt::LeftButton);
    }
    QPointer<TCooperAlokMetod> w = openCooperWindow(*frame);
    ASSERT_TRUE(w);
    frame->project().State.EntryStarted = false; // as any later edit of the places leaves it
    auto* places = w->findChild<QListWidget*>("ListBox2");
    ASSERT_EQ(places->count(), 4);

    auto* grid = control<QTableWidget>(entry, "StringGrid6");
    auto deleteRow = [&](int row) {
        dialogs.confirmAnswers = { true };
        grid->setCurrentCell(row, 1);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    deleteRow(4);
    ASSERT_TRUE(w);
    EXPECT_EQ(lines(places), (QStringList { "M1: A, [0;0]", "M2: B, [10;0]", "M3: C, [5;10]" }));
    EXPECT_EQ(w->solverState().CooperPlaceCount, 3);

    deleteRow(3);
    deleteRow(2);
    EXPECT_FALSE(w) << "one place is nothing to allocate";
    EXPECT_FALSE(frame->cooperWindowOpen());
}

} // namespace
