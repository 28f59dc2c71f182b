// Resting the mouse on a place mark of the allocation window's drawing shows the place: its
// name, its coordinates and, with a coordinate reference, its latitude/longitude. Driven with
// the tooltip events Qt sends to the drawing area.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/entry/GroupList.h"
#include "core/geo/GeoReference.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

struct HoverPlace {
    const char* name;
    double x, y;
};

// floor((i + 1/2) × from / to): the pixel a stretch reads, worked out here on its own.
int stretchRead(int i, int from, int to)
{
    return static_cast<int>((2LL * i + 1) * from / (2LL * to));
}

class PlaceTips : public ::testing::Test {
protected:
    void SetUp() override
    {
        project.resetAtStart();
        project.State.EntryStarted = true;
        project.Choices.SettingsOn = true;
        frame.resize(1200, 900);
        frame.show();
    }
    void TearDown() override
    {
        QToolTip::hideText();
        if (w) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            delete w;
        }
    }
    void setPlaces(const std::vector<HoverPlace>& places)
    {
        int i = 0;
        for (const HoverPlace& p : places) {
            ++i;
            project.Record.PlaceName[i] = dorvan::Text100::fromUtf8(p.name);
            project.Record.PlaceX[i] = p.x;
            project.Record.PlaceY[i] = p.y;
            project.Record.PlaceQuantity[i] = 1.0;
            project.Record.PlacePrice[i] = 1.0;
            project.Record.PlaceFlexibility[i] = 1;
        }
        project.State.PlaceCount = i;
    }
    void open()
    {
        w = new TCooperAlokMetod(project, dialogs, &frame);
        w->show();
        QCoreApplication::processEvents();
        area = w->findChild<QWidget*>(QStringLiteral("Image1"));
        ASSERT_NE(area, nullptr);
    }
    // The tooltip Qt's event brings up at `at`; none when the area turned the event down.
    std::optional<QString> tipAt(QPoint at)
    {
        QHelpEvent e(QEvent::ToolTip, at, area->mapToGlobal(at));
        QApplication::sendEvent(area, &e);
        if (!e.isAccepted())
            return std::nullopt;
        EXPECT_TRUE(QToolTip::isVisible());
        return QToolTip::text();
    }

    dorvan::Project project;
    dorvan::test::ScriptedDialogs dialogs;
    QWidget frame;
    TCooperAlokMetod* w = nullptr;
    QWidget* area = nullptr;
};

// 440 × 340 pixels of picture for 400 × 300 km, one kilometre a pixel from (20, 20): a place
// (X, Y) is drawn at (20 + X, 320 - Y). The reference puts (100; 50) at 48,5° N 19,5° E.
TEST_F(PlaceTips, OverTheMapPictureAMarkNamesItsPlaceAndItsLatitudeLongitude)
{
    project.State.PictureMode = true;
    setPlaces({ { "Brno", 100, 50 }, { "Graz", 300, 250 }, { "Žilina", 200, 100 } });
    project.MapPicture = dorvan::RgbPicture(440, 340);
    project.Record.PictureWidth = 440;
    project.Record.PictureHeight = 340;
    project.State.PictureRangeX = project.Record.MapRangeX = 400;
    project.State.PictureRangeY = project.Record.MapRangeY = 300;
    ASSERT_TRUE(dorvan::geo::setProjectReference(
        project.Record, "+proj=aeqd +lat_0=48.5 +lon_0=19.5 +x_0=100000 +y_0=50000 +datum=WGS84 +units=km"));
    open();
    ASSERT_EQ(w->image().size(), QSize(440, 340));
    ASSERT_TRUE(w->drawsOverPicture());

    struct Probe {
        QPoint at;
        std::optional<QString> tip;
    };
    const QString brno
        = QString::fromUtf8("A01: Brno\nX = 100; Y = 50\n48,5000000° s. š., 19,5000000° v. d.");
    const Probe probes[] = {
        { { 120, 270 }, brno },
        { { 124, 266 }, brno }, // the corner of the reach
        { { 125, 270 }, std::nullopt },
        { { 120, 275 }, std::nullopt },
        { { 220, 220 }, QString() }, // Žilina: its line checked below
        { { 30, 30 }, std::nullopt },
    };
    for (const Probe& p : probes) {
        const std::optional<QString> tip = tipAt(p.at);
        ASSERT_EQ(tip.has_value(), p.tip.has_value()) << p.at.x() << ", " << p.at.y();
        if (p.tip && !p.tip->isEmpty()) {
            EXPECT_EQ(*tip, *p.tip);
        }
    }
    EXPECT_TRUE(tipAt({ 220, 220 })->startsWith(QString::fromUtf8("A03: Žilina\nX = 200; Y = 100\n")));
    // Graz, 200 km east and 200 km north of Brno, lies further north and east.
    const QString graz = *tipAt({ 320, 70 });
    EXPECT_TRUE(graz.startsWith(QString::fromUtf8("A02: Graz\nX = 300; Y = 250\n"))) << graz.toStdString();
    // The mark is drawn where the tip is found: Brno's circle has its red outline there.
    EXPECT_EQ(w->image().pixelColor(117, 270), QColor(Qt::red));
}

// Five places in a 500 × 400 area, typed in: the marks are "M1".."M5". A zoom into C and D
// magnifies the marks, and the tip follows them.
TEST_F(PlaceTips, OnThePlainChartAndInItsZoomTheMarkUnderTheMouseIsNamed)
{
    setPlaces({ { "A", 0, 0 }, { "B", 10, 20 }, { "C", 30, 5 }, { "D", 31, 6 }, { "E", 12, 19 } });
    open();
    w->resize(w->size() + QSize(500, 400) - area->size());
    QCoreApplication::processEvents();
    ASSERT_EQ(area->size(), QSize(500, 400));
    const dorvan::ChartState c = w->chartState();
    const QPoint d(c.px(31.0), c.py(6.0));
    EXPECT_EQ(tipAt(d), QString("M4: D\nX = 31; Y = 6"));
    EXPECT_EQ(tipAt(QPoint(c.px(10.0), c.py(20.0)) + QPoint(-3, 4)), QString("M2: B\nX = 10; Y = 20"));
    EXPECT_EQ(tipAt({ 250, 5 }), std::nullopt);

    // The zoom around C and D, with the right button (no click, no run).
    const QPoint from = QPoint(c.px(30.5), c.py(5.5)) - QPoint(25, 20);
    const QPoint to = from + QPoint(50, 40);
    QTest::mousePress(area, Qt::RightButton, {}, from);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, Qt::RightButton, {}, to);
    ASSERT_TRUE(w->zoomed());
    // The zoom's surface F is 540 × 440; the selection's edges scaled onto it, the crop one
    // pixel more, and each area pixel reads F through both stretches.
    const auto onF = [](int v, int f, int a) { return static_cast<int>(std::lround(double(f) * v / a)); };
    const int left = onF(from.x(), 540, 500), right = onF(to.x(), 540, 500);
    const int top = onF(from.y(), 440, 400), bottom = onF(to.y(), 440, 400);
    const dorvan::ChartState f = w->chartState();
    const QPoint dOnF(f.px(31.0), f.py(6.0));
    // The area pixels showing D's centre on F.
    std::vector<QPoint> showD;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 500; ++x)
            if (left + stretchRead(stretchRead(x, right - left + 1, 500), right - left, right - left + 1)
                    == dOnF.x()
                && top + stretchRead(stretchRead(y, bottom - top + 1, 400), bottom - top, bottom - top + 1)
                    == dOnF.y())
                showD.push_back({ x, y });
    ASSERT_FALSE(showD.empty());
    EXPECT_EQ(tipAt(showD.front()), QString("M4: D\nX = 31; Y = 6"));
    // Magnified ten times: the reach of 4 pixels on F is 40 on the area; 50 pixels left of D's
    // centre is off every mark (C lies a unit, some 12 pixels of F, further left and lower).
    EXPECT_EQ(tipAt(showD.front() - QPoint(35, 0)), QString("M4: D\nX = 31; Y = 6"));
    EXPECT_EQ(tipAt(showD.front() - QPoint(50, 0)), std::nullopt);
    // The unzoomed pixel of D shows a part of the chart far from it.
    EXPECT_NE(tipAt(d), std::optional<QString>("M4: D\nX = 31; Y = 6"));
}

TEST_F(PlaceTips, InAGroupRunTheMembersAreNamedByTheirMemberNumbers)
{
    setPlaces({ { "A", 0, 0 }, { "B", 10, 20 }, { "C", 30, 5 }, { "D", 31, 6 }, { "E", 12, 19 } });
    project.Record.setCriterion(dorvan::CritGroups, true);
    project.Choices.Groups.Groups
        = dorvan::groupsFromLines({ "--- Skupina 1 ---", "A", "B", "E", "--- Skupina 2 ---", "C", "D" }, 0)
              .Groups;
    project.Choices.Groups.Count = dorvan::groupCountFromText("2");
    open();
    const dorvan::ChartState& c = w->chartState();
    EXPECT_EQ(tipAt({ c.px(12.0), c.py(19.0) }), QString("M3: E\nX = 12; Y = 19"));
    EXPECT_EQ(tipAt({ c.px(30.0), c.py(5.0) }), QString("M4: C\nX = 30; Y = 5"));
    // Group 1's members are drawn in black: E's circle is where its tip is found.
    EXPECT_EQ(w->image().pixelColor(c.px(12.0) - 3, c.py(19.0)), QColor(Qt::black));
}

} // namespace
