// The mouse on the allocation window's drawing, driven with real mouse events on Image1.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/GroupColours.h"
#include "core/entry/GroupList.h"
#include "render/ChartPainter.h"
#include "render/ContourPainter.h"
#include "render/CooperRunPainter.h"
#include "support/Colours.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using dorvan::test::ScriptedDialogs;

using dorvan::test::Blue;

struct Place {
    const char* name;
    double x, y;
};

// Two close pairs and a far place: worth magnifying.
const std::vector<Place> Towns { { "A", 0, 0 }, { "B", 10, 20 }, { "C", 30, 5 }, { "D", 31, 6 },
    { "E", 12, 19 } };

int differing(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

// floor((i + 1/2) × from / to): the pixel a stretch reads, worked out here on its own.
int sample(int i, int from, int to)
{
    return static_cast<int>((2LL * i + 1) * from / (2LL * to));
}

class ChartMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        project.resetAtStart();
        int i = 0;
        for (const Place& p : Towns) {
            ++i;
            project.Record.PlaceName[i] = dorvan::Text100::fromUtf8(p.name);
            project.Record.PlaceX[i] = p.x;
            project.Record.PlaceY[i] = p.y;
            project.Record.PlaceQuantity[i] = 1.0;
            project.Record.PlacePrice[i] = 1.0;
            project.Record.PlaceFlexibility[i] = 1;
        }
        project.State.PlaceCount = i;
        project.State.EntryStarted = true;
        project.Choices.SettingsOn = true;
        frame.resize(1200, 900);
        frame.show();
    }
    void TearDown() override
    {
        if (w) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            delete w;
        }
    }
    void open()
    {
        w = new TCooperAlokMetod(project, dialogs, &frame);
        w->show();
        QCoreApplication::processEvents();
        area = w->findChild<QWidget*>(QStringLiteral("Image1"));
        ASSERT_NE(area, nullptr);
    }
    // The window sized so that its drawing area has the given size; the resize draws anew.
    void sizeArea(QSize size)
    {
        w->resize(w->size() + size - area->size());
        QCoreApplication::processEvents();
        ASSERT_EQ(area->size(), size);
        ASSERT_EQ(w->image().size(), size);
    }
    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(area, button, {}, from);
        QTest::mouseMove(area, (from + to) / 2);
        QTest::mouseMove(area, to);
        QTest::mouseRelease(area, button, {}, to);
    }
    int runs() const { return w->runsMade(); }
    QStringList warnings() const { return dialogs.texts("warn"); }

    dorvan::Project project;
    ScriptedDialogs dialogs;
    QWidget frame;
    TCooperAlokMetod* w = nullptr;
    QWidget* area = nullptr;
};

TEST_F(ChartMouse, PlainClickRunsTwiceAndThinDragRunsOnReleaseWithoutZooming)
{
    open();
    const QImage plain = w->image();
    int before = runs();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(runs(), before + 2); // the click, then the release
    EXPECT_FALSE(w->zoomed());

    // 1 pixel across and 50 down is no selection: the release runs (after the click's run).
    before = runs();
    drag(Qt::LeftButton, QPoint(100, 100), QPoint(101, 150));
    EXPECT_EQ(runs(), before + 2);
    EXPECT_FALSE(w->zoomed());
    EXPECT_EQ(differing(w->image(), plain), 0);
    // With the right button there is no click: the release alone runs.
    before = runs();
    drag(Qt::RightButton, QPoint(100, 100), QPoint(150, 101));
    EXPECT_EQ(runs(), before + 1);
    EXPECT_FALSE(w->zoomed());
}

// A 500 × 400 area, selection (100, 100)-(200, 150): the chart drawn on 540 × 440, its pixels
// (108, 110)-(216, 165) cut out onto 109 × 56 and stretched over the 500 × 400 area.
TEST_F(ChartMouse, WorkedExampleZoomsFromTheLargerSurface)
{
    open();
    sizeArea(QSize(500, 400));
    const QImage plain = w->image();

    // The chart on F, drawn here from the same result.
    QImage f = dorvan::cooperSurface(QSize(540, 440));
    dorvan::ChartState fState;
    const auto places = dorvan::projectChartPlaces(project.Record, project.State.PlaceCount);
    const auto& s = w->solverState();
    const auto path = dorvan::historyPoints(s.IterX, s.IterY, s.FinalIter);
    ASSERT_TRUE(dorvan::KresliGrafCooper(f, places, path, dorvan::ChartDataMode::Manual, fState));
    QImage want(500, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 500; ++x)
            want.setPixel(x, y,
                f.pixel(
                    108 + sample(sample(x, 109, 500), 108, 109), 110 + sample(sample(y, 56, 400), 55, 56)));

    // With the right button: no click, so no run; the zoom stays shown.
    const int before = runs();
    drag(Qt::RightButton, QPoint(100, 100), QPoint(200, 150));
    EXPECT_EQ(runs(), before);
    EXPECT_TRUE(w->zoomed());
    EXPECT_EQ(w->image().size(), QSize(500, 400));
    EXPECT_EQ(differing(w->image(), want), 0);
    EXPECT_EQ(w->chartState(), fState); // the chart state as computed for F

    // From bottom right to top left: the same rectangle. With the left button the click runs
    // first, which draws the plain chart again, and the release zooms.
    drag(Qt::LeftButton, QPoint(200, 150), QPoint(100, 100));
    EXPECT_EQ(runs(), before + 1);
    EXPECT_EQ(differing(w->image(), want), 0);

    // A click restores the plain chart.
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(w->zoomed());
    EXPECT_EQ(differing(w->image(), plain), 0);

    // Past the right and bottom edges: the end point is clamped onto them.
    drag(Qt::RightButton, QPoint(300, 200), QPoint(900, 777));
    const QImage past = w->image();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(10, 10));
    drag(Qt::RightButton, QPoint(300, 200), QPoint(500, 400));
    EXPECT_EQ(differing(past, w->image()), 0);
    // The last column and row show F's last column and row inside the selection's edges.
    EXPECT_EQ(w->image().pixel(499, 399), f.pixel(539, 439));
}

TEST_F(ChartMouse, MovesShowTheRectangleOverTheResultWithoutRunning)
{
    open();
    sizeArea(QSize(500, 400));
    const QImage plain = w->image();
    const int before = runs();
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(300, 250));
    for (const QPoint to : { QPoint(320, 260), QPoint(200, 100), QPoint(-40, 600) }) {
        QTest::mouseMove(area, to);
        const QImage shown = w->image();
        // The clamped point, the corners in either order: outlined with a 2-pixel blue pen.
        const int left = std::clamp(std::min(300, to.x()), 0, 500),
                  right = std::max(300, std::clamp(to.x(), 0, 500));
        const int top = std::min(250, std::clamp(to.y(), 0, 400)),
                  bottom = std::max(250, std::clamp(to.y(), 0, 400));
        EXPECT_EQ(shown.pixelColor(left, (top + bottom) / 2), Blue) << to.x();
        EXPECT_EQ(shown.pixelColor(right - 1, (top + bottom) / 2), Blue) << to.x();
        EXPECT_EQ(shown.pixelColor((left + right) / 2, top), Blue) << to.x();
        int changed = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 500; ++x)
                if (shown.pixel(x, y) != plain.pixel(x, y)) {
                    ++changed;
                    EXPECT_EQ(shown.pixelColor(x, y), Blue) << x << ", " << y;
                    const bool onOutline = x <= left || x >= right - 2 || y <= top || y >= bottom - 2;
                    EXPECT_TRUE(onOutline) << x << ", " << y;
                }
        EXPECT_GT(changed, 0);
    }
    EXPECT_EQ(runs(), before);
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(-40, 600));
    EXPECT_TRUE(w->zoomed());
}

TEST_F(ChartMouse, UntickedSettingsIgnorePressMoveAndRelease)
{
    open();
    const QImage plain = w->image();
    project.Choices.SettingsOn = false;
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseMove(area, QPoint(150, 150));
    EXPECT_EQ(differing(w->image(), plain), 0);
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(150, 150));
    EXPECT_FALSE(w->zoomed());

    // Pressed with the box ticked, released after it was unticked: the release is ignored and the
    // selection stays in progress; moves with the box ticked again show it, a further press is
    // ignored, and the next release zooms from the first press.
    project.Choices.SettingsOn = true;
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(50, 50));
    project.Choices.SettingsOn = false;
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(150, 150));
    EXPECT_FALSE(w->zoomed());
    QTest::mouseMove(area, QPoint(160, 160));
    EXPECT_EQ(differing(w->image(), plain), 0);
    project.Choices.SettingsOn = true;
    QTest::mouseMove(area, QPoint(170, 170));
    EXPECT_EQ(w->image().pixelColor(50, 100), Blue);
    QTest::mousePress(area, Qt::RightButton, {}, QPoint(300, 300));
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(150, 150));
    ASSERT_TRUE(w->zoomed());
    const QImage late = w->image();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(10, 10));
    drag(Qt::RightButton, QPoint(50, 50), QPoint(150, 150));
    EXPECT_EQ(differing(late, w->image()), 0);
}

// In group mode a move used to run all groups again, with the warning about a small group on
// every move. Now the group drawing of the press is shown with the rectangle, and the zoom
// magnifies the groups.
TEST_F(ChartMouse, GroupDragRunsNothingWarnsOnceAndZoomsTheGroups)
{
    project.Record.setCriterion(dorvan::CritGroups, true);
    project.Choices.Groups.Groups
        = dorvan::groupsFromLines({ "--- Skupina 1 ---", "A", "B", "E", "--- Skupina 2 ---", "C", "D" }, 0)
              .Groups;
    project.Choices.Groups.Count = dorvan::groupCountFromText("2");
    open();
    sizeArea(QSize(500, 400));
    const QStringList warned = warnings();
    // At opening; the resize runs the same groups again and does not tell it again.
    ASSERT_EQ(warned, QStringList { QString::fromUtf8("Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!") });
    const QImage groups = w->image();
    const int before = runs();

    QTest::mousePress(area, Qt::RightButton, {}, QPoint(20, 20));
    for (int i = 1; i <= 10; ++i)
        QTest::mouseMove(area, QPoint(20 + 20 * i, 20 + 15 * i));
    EXPECT_EQ(runs(), before);
    EXPECT_EQ(warnings(), warned);
    // Inside the rectangle the group drawing as it was.
    for (int y = 30; y < 160; y += 7)
        for (int x = 30; x < 210; x += 7)
            EXPECT_EQ(w->image().pixel(x, y), groups.pixel(x, y)) << x << ", " << y;

    // The zoom around group 2's places (30; 5) and (31; 6) shows them in group 2's colour.
    const dorvan::ChartState& c = w->chartState();
    const QPoint g2(c.px(30.5), c.py(5.5));
    QTest::mouseRelease(area, Qt::RightButton, {}, QPoint(220, 170)); // the drag ends anywhere
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(10, 10));
    const int warningsNow = static_cast<int>(warnings().size());
    drag(Qt::RightButton, g2 - QPoint(15, 15), g2 + QPoint(15, 15));
    ASSERT_TRUE(w->zoomed());
    EXPECT_EQ(static_cast<int>(warnings().size()), warningsNow);
    const QColor colour2 = dorvan::chartColour(dorvan::VstupUdajFarby(2));
    int inColour = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 500; ++x)
            inColour += w->image().pixelColor(x, y) == colour2 ? 1 : 0;
    // Two circles of 7 pixels, magnified about 500 / 32 times, and their labels.
    EXPECT_GT(inColour, 1000);
}

// The warning about a small group is a modal box: it comes once for the same groups, however
// often the window runs them again, and again once the groups change.
TEST_F(ChartMouse, ASmallGroupIsToldOnceUntilTheGroupsChange)
{
    const auto setGroups = [this](std::vector<std::string> lines) {
        project.Choices.Groups.Groups = dorvan::groupsFromLines(lines, 0).Groups;
        project.Choices.Groups.Count = dorvan::groupCountFromText("2");
    };
    const QString small2 = QString::fromUtf8("Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!");
    const QString small1 = QString::fromUtf8("Nedostatočný počet miest v SKUPINE 1 (MIN=3)!!!");
    project.Record.setCriterion(dorvan::CritGroups, true);
    setGroups({ "--- Skupina 1 ---", "A", "B", "E", "--- Skupina 2 ---", "C", "D" });
    open();
    EXPECT_EQ(warnings(), QStringList { small2 });

    // Clicks, a drag, a resize and an edit elsewhere run the same groups again: no box.
    const int before = runs();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(100, 100));
    drag(Qt::LeftButton, QPoint(50, 50), QPoint(150, 120));
    sizeArea(QSize(480, 380));
    project.Record.setCriterion(dorvan::CritQuantity, true);
    project.changed(dorvan::ProjectChange::RunInputs);
    EXPECT_GE(runs(), before + 5);
    EXPECT_EQ(warnings(), QStringList { small2 });
    // The small group is still listed without a centre.
    EXPECT_EQ(w->findChild<QListWidget*>("ListBox1")->count(), 1);

    // Other groups: told at once, and then no more.
    setGroups({ "--- Skupina 1 ---", "A", "B", "--- Skupina 2 ---", "C", "D", "E" });
    project.changed(dorvan::ProjectChange::RunInputs);
    project.changed(dorvan::ProjectChange::RunInputs);
    EXPECT_EQ(warnings(), (QStringList { small2, small1 }));

    // A run without groups between, then the same groups again: told again.
    project.Record.setCriterion(dorvan::CritGroups, false);
    project.changed(dorvan::ProjectChange::RunInputs);
    project.Record.setCriterion(dorvan::CritGroups, true);
    project.changed(dorvan::ProjectChange::RunInputs);
    EXPECT_EQ(warnings(), (QStringList { small2, small1, small1 }));
}

// With "Izočiary nákladov" ticked the groups are drawn with their cost contours, and a zoom of
// the group drawing magnifies those contours along with the rest.
TEST_F(ChartMouse, GroupZoomKeepsTheCostContours)
{
    project.Record.setCriterion(dorvan::CritGroups, true);
    project.Choices.Groups.Groups = dorvan::groupsFromLines({ "--- Skupina 1 ---", "A", "B", "E" }, 0).Groups;
    project.Choices.Groups.Count = dorvan::groupCountFromText("1");
    open();
    sizeArea(QSize(500, 400));
    auto* box = w->findChild<QCheckBox*>(QStringLiteral("CostContoursBox"));
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    ASSERT_TRUE(box->isChecked());
    const QColor magenta = dorvan::chartColour(dorvan::ContourColour);
    const auto magentaPixels = [&] {
        int n = 0;
        for (int y = 0; y < w->image().height(); ++y)
            for (int x = 0; x < w->image().width(); ++x)
                n += w->image().pixelColor(x, y) == magenta ? 1 : 0;
        return n;
    };
    ASSERT_GT(magentaPixels(), 100) << "the group drawing has its contours";

    // A selection around the group's centre, which its contours surround.
    const dorvan::CooperState& s = w->solverState();
    const dorvan::ChartState& c = w->chartState();
    const QPoint centre(c.px(s.GroupIterX[s.FinalIter]), c.py(s.GroupIterY[s.FinalIter]));
    drag(Qt::RightButton, centre - QPoint(60, 50), centre + QPoint(60, 50));
    ASSERT_TRUE(w->zoomed());
    EXPECT_GT(magentaPixels(), 100);
}

// A 1200 × 900 picture "S obrázkom": the zoom draws on 1240 × 940 with the picture at its own
// size, so two lines one pixel wide and one pixel apart in the picture become two wide bands
// with a wide gap, where the reduced view cannot tell them apart.
TEST_F(ChartMouse, PictureZoomSamplesThePictureAtFullResolution)
{
    project.State.PictureMode = true;
    dorvan::RgbPicture picture(1200, 900);
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 1200; ++x)
            picture.setPixel(x, y,
                (x == 700 || x == 702) ? dorvan::RgbPicture::Rgb { 200, 0, 200 }
                                       : dorvan::RgbPicture::Rgb { 230, 230, 160 });
    project.MapPicture = picture;
    project.Record.PictureWidth = 1200;
    project.Record.PictureHeight = 900;
    project.State.PictureRangeX = project.Record.MapRangeX = 120;
    project.State.PictureRangeY = project.Record.MapRangeY = 90;
    open();
    w->setResultChoiceByPicture(true);
    QTest::mouseClick(
        w->findChild<QRadioButton*>(QStringLiteral("RadioButton1")), Qt::LeftButton, {}, QPoint(6, 6));
    QCoreApplication::processEvents();
    const QSize shown = area->size();
    ASSERT_LT(shown.width(), 1200); // the picture is shown reduced
    const QColor line(200, 0, 200);

    // Picture column 700 lies at F column 720; the area column that maps onto it.
    const int x = static_cast<int>(720.0 * shown.width() / 1240.0);
    const int y = shown.height() / 2;
    drag(Qt::RightButton, QPoint(x - 10, y - 10), QPoint(x + 10, y + 10));
    ASSERT_TRUE(w->zoomed());
    // The runs of the row: line colour or not, and their lengths.
    std::vector<std::pair<bool, int>> runs;
    for (int i = 0; i < shown.width(); ++i) {
        const bool on = w->image().pixelColor(i, shown.height() / 2) == line;
        if (runs.empty() || runs.back().first != on)
            runs.push_back({ on, 0 });
        ++runs.back().second;
    }
    // About width / (20 × 1240 / width) area pixels for each picture pixel.
    const int magnified = shown.width() * shown.width() / (20 * 1240);
    ASSERT_GE(magnified, 10);
    std::vector<int> lines, gaps;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (runs[i].first)
            lines.push_back(runs[i].second);
        else if (i > 0 && i + 1 < runs.size())
            gaps.push_back(runs[i].second);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(gaps.size(), 1u);
    for (int n : { lines[0], lines[1], gaps[0] }) {
        EXPECT_GE(n, magnified - 2);
        EXPECT_LE(n, magnified + 2);
    }
}

} // namespace
