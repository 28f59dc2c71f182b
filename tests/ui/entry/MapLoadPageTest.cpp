// The picture page reads a map on a thread of its own: the window answers meanwhile, the load can
// be stopped, and the places a map leaves outside are told (or asked about) before it is taken.
// A load taken is one step of the history, the page following its undo and redo, and the range
// the picture takes from Image1 belongs to the step that takes it.
#include "core/entry/MapPlacement.h"
#include "core/geo/GeoReference.h"
#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"
#include "support/EntryWindowFixture.h"
#include "support/TestRasters.h"

#include <QGroupBox>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <type_traits>

namespace {

using namespace std::chrono_literals;

// A UTM map whose area in the plane of UtmKm is [350, 430] x [5340, 5400] km.
const testrasters::Raster UtmMap { 200, 150, { 350000.0, 400.0, 0.0, 5400000.0, 0.0, -400.0 }, "EPSG:32634",
    -1, -1 };
const char* const UtmKm = "+proj=utm +zone=34 +datum=WGS84 +units=km";

dorvan::MapLoad stoppedLoad()
{
    dorvan::MapLoad m;
    m.kind = dorvan::MapLoad::Stopped;
    return m;
}

class MapLoadPage : public dorvan::test::EntryWindowFixture {
protected:
    MapLoadPage()
        : EntryWindowFixture({ 1000, 700 })
    {
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_NO_FATAL_FAILURE(EntryWindowFixture::SetUp());
        auto* pages = get<QTabWidget>("PageControl1");
        pages->setCurrentIndex(pages->indexOf(get<QWidget>("TabSheet19")));
        map = dir.filePath("utm.tif").toStdString();
        testrasters::write(map, UtmMap, testrasters::Form::GeoTiff);
        QApplication::processEvents();
    }
    // A project in the map's plane with these places (as an opened project holds them).
    void withPlaces(std::initializer_list<std::pair<double, double>> places)
    {
        auto& r = project.Record;
        ASSERT_TRUE(dorvan::geo::setProjectReference(r, UtmKm));
        int i = 0;
        for (const auto& [x, y] : places) {
            ++i;
            r.PlaceName[i] = dorvan::Text100::fromBytes("P" + std::to_string(i));
            r.PlaceX[i] = x;
            r.PlaceY[i] = y;
        }
        project.State.PlaceCount = i;
        project.State.NextPlace = i + 1;
    }
    dorvan::MapLoad realLoad(const std::string& path, const dorvan::MapLoadInputs& in,
        std::optional<int> epsg, const dorvan::StepProgress& progress)
    {
        return dorvan::loadMapFile(path, in, epsg, progress);
    }
    void chooseMap()
    {
        dialogs.fileAnswers.push_back(QString::fromStdString(map.string()));
        click("Button48");
    }
    entry::MapLoadTask* task() { return dorvan::test::mapLoadTask(w.data()); }

    QTemporaryDir dir;
    std::filesystem::path map;
};

// Counts the paint events of one widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

TEST_F(MapLoadPage, TheWindowAnswersAndRepaintsWhileAMapLoadsWithItsProgressShown)
{
    withPlaces({ { 360, 5350 }, { 420, 5390 } });
    // Half a second of reading before the real load: long enough to see the window's thread run.
    task()->setLoader([this](const std::string& path, const dorvan::MapLoadInputs& in,
                          std::optional<int> epsg, const dorvan::StepProgress& progress) {
        for (int k = 0; k < 50; ++k) {
            std::this_thread::sleep_for(10ms);
            if (!progress(k / 100.0))
                return stoppedLoad();
        }
        return realLoad(path, in, epsg, [&](double d) { return progress(0.5 + d / 2.0); });
    });
    auto* cancel = get<QPushButton>("CancelMapButton");
    PaintCounter painted;
    cancel->installEventFilter(&painted);
    int ticksWhileBusy = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (task()->busy()) {
            ++ticksWhileBusy;
            cancel->update();
        }
    });
    timer.start(5);
    chooseMap();
    EXPECT_TRUE(task()->busy());
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_FALSE(get<QPushButton>("Button48")->isEnabled());
    EXPECT_TRUE(project.MapPicture.empty()); // nothing taken before the end
    dorvan::test::waitForMapLoad(w.data());
    timer.stop();

    EXPECT_GE(ticksWhileBusy, 10);
    EXPECT_GE(painted.paints, 3);
    ASSERT_FALSE(host.progress.empty());
    EXPECT_TRUE(std::is_sorted(host.progress.begin(), host.progress.end()));
    EXPECT_EQ(host.progress.back(), 100);
    EXPECT_FALSE(host.progressShown);
    EXPECT_FALSE(cancel->isVisible());
    EXPECT_FALSE(project.MapPicture.empty());
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
}

TEST_F(MapLoadPage, EscOrZrusitStopsTheLoadAndLeavesTheProjectAsItWas)
{
    static_assert(std::is_trivially_copyable_v<dorvan::TProjectRecord>);
    withPlaces({ { 360, 5350 } });
    // Reads until told to stop (20 s at most).
    task()->setLoader([](const std::string&, const dorvan::MapLoadInputs&, std::optional<int>,
                          const dorvan::StepProgress& progress) {
        for (int k = 0; k < 4000 && progress(0.1); ++k)
            std::this_thread::sleep_for(5ms);
        return stoppedLoad();
    });
    for (const bool escape : { true, false }) {
        SCOPED_TRACE(escape ? "Esc" : "Zrušiť");
        const dorvan::TProjectRecord before = project.Record;
        chooseMap();
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.progressShown; }, 5000));
        if (escape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            click("CancelMapButton");
        dorvan::test::waitForMapLoad(w.data());
        EXPECT_EQ(std::memcmp(&before, &project.Record, sizeof before), 0);
        EXPECT_TRUE(project.MapPicture.empty());
        EXPECT_FALSE(project.State.MapPictureOwned);
        EXPECT_TRUE(get<QPushButton>("Button48")->isEnabled());
        EXPECT_FALSE(get<QPushButton>("CancelMapButton")->isVisible());
        EXPECT_FALSE(host.progressShown);
        EXPECT_EQ(host.notice, QString::fromUtf8(dorvan::RasterStoppedText));
        EXPECT_TRUE(dialogs.messages().isEmpty());
    }
}

TEST_F(MapLoadPage, PlacesOffTheMapAreToldAndAMapFarFromEveryPlaceIsAskedAbout)
{
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> places;
        std::optional<bool> answer; // the question asked and its answer
        bool taken;
        QString warning;
    };
    const Case cases[] = {
        { "all on the map", { { 360, 5350 }, { 429, 5341 } }, std::nullopt, true, {} },
        { "two of three outside", { { 360, 5350 }, { 300, 5350 }, { 440, 5410 } }, std::nullopt, true,
            QString::fromUtf8("2 miesta ležia mimo mapy") },
        { "far, declined", { { 300, 5350 }, { 500, 5370 } }, false, false, {} },
        { "far, taken", { { 300, 5350 }, { 500, 5370 } }, true, true, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        dialogs.shown.clear();
        SetUp();
        auto& r = project.Record;
        ASSERT_TRUE(dorvan::geo::setProjectReference(r, UtmKm));
        for (std::size_t i = 0; i < c.places.size(); ++i) {
            r.PlaceX[i + 1] = c.places[i].first;
            r.PlaceY[i + 1] = c.places[i].second;
        }
        project.State.PlaceCount = project.State.NextPlace = static_cast<int>(c.places.size());
        ++project.State.NextPlace;
        if (c.answer)
            dialogs.confirmAnswers.push_back(*c.answer);
        chooseMap();
        dorvan::test::waitForMapLoad(w.data());
        QStringList expected;
        if (c.answer)
            expected << QString::fromUtf8(
                "Žiadne miesto projektu neleží na mape, najbližšie je 50 km od jej okraja. "
                "Vložiť MAPU aj tak ?!!");
        if (!c.warning.isEmpty())
            expected << c.warning;
        EXPECT_EQ(dialogs.messages(), expected);
        EXPECT_EQ(!project.MapPicture.empty(), c.taken);
        EXPECT_EQ(get<QWidget>("Image1")->isEnabled(), c.taken);
    }
}

TEST_F(MapLoadPage, PlacesEditedWhileTheMapLoadsLeaveTheMapOut)
{
    withPlaces({ { 360, 5350 } });
    std::atomic<bool> release { false };
    task()->setLoader([&](const std::string& path, const dorvan::MapLoadInputs& in, std::optional<int> epsg,
                          const dorvan::StepProgress& progress) {
        for (int k = 0; k < 4000 && !release; ++k)
            std::this_thread::sleep_for(5ms);
        return realLoad(path, in, epsg, progress);
    });
    chooseMap();
    project.Record.PlaceX[1] = 361.5; // the places page, say, while the map is read
    release = true;
    dorvan::test::waitForMapLoad(w.data());
    EXPECT_TRUE(project.MapPicture.empty());
    EXPECT_EQ(dialogs.messages(),
        QStringList {
            QString::fromUtf8("Miesta projektu sa počas načítania mapy zmenili, mapa nebola vložená !!!") });
    EXPECT_TRUE(get<QPushButton>("Button48")->isEnabled());
}

TEST_F(MapLoadPage, AMapLoadIsOneStepUndoneToTheBlankPageAndRedoneAsItWasFitted)
{
    struct Case {
        const char* name;
        const char* file; // in the test's folder
        QString widthKm, heightKm; // "Mierka mapy"
        bool places; // two places in the map's plane before it
    };
    QImage plain(120, 80, QImage::Format_RGB32);
    plain.fill(QColor(30, 160, 40));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            plain.setPixelColor(x, y, QColor(200, 20, 20));
    ASSERT_TRUE(plain.save(dir.filePath("plain.bmp"), "BMP"));
    const Case cases[] = {
        { "a plain picture, its range from Image1", "plain.bmp", {}, {}, false },
        { "a picture of 240 x 160 km", "plain.bmp", "240", "160", false },
        { "a map in the places' plane", "utm.tif", {}, {}, true },
    };
    dorvan::ProjectDocument document(project);
    auto* image = get<QWidget>("Image1");
    auto* open = get<QPushButton>("Button48");
    auto* box = get<QGroupBox>("GroupBox54");
    const QImage blank = image->grab().toImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.places)
            withPlaces({ { 360, 5350 }, { 420, 5390 } });
        document.startClean();
        const dorvan::RecordBytes opening = dorvan::encodeRecord(project.Record);
        get<QLineEdit>("EditMapWidth")->setText(c.widthKm);
        get<QLineEdit>("EditMapHeight")->setText(c.heightKm);
        dialogs.fileAnswers.push_back(dir.filePath(QString::fromLatin1(c.file)));
        click("Button48");
        dorvan::test::waitForMapLoad(w.data());
        ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
        ASSERT_TRUE(project.State.MapPictureOwned);
        const dorvan::RecordBytes loaded = dorvan::encodeRecord(project.Record);
        const QImage fitted = image->grab().toImage();
        const QString caption = box->title();
        const QSize size = image->size();
        EXPECT_NE(fitted, blank);
        EXPECT_EQ(caption, QStringLiteral(" %1 x %2 ").arg(size.width() - 1).arg(size.height() - 1));
        EXPECT_EQ(document.undoName(), "Mapa");

        // One undo takes the whole load back: the project's bytes, the picture and the page.
        ASSERT_TRUE(document.undo());
        EXPECT_FALSE(document.canUndo()) << "the picture's range is a step of its own";
        EXPECT_TRUE(dorvan::encodeRecord(project.Record) == opening);
        EXPECT_TRUE(project.MapPicture.empty());
        EXPECT_FALSE(image->isEnabled());
        EXPECT_TRUE(open->isEnabled());
        EXPECT_EQ(box->title(), QStringLiteral(" "));
        EXPECT_EQ(image->grab().toImage(), blank);
        EXPECT_FALSE(project.State.UnsavedChanges);

        // Redone, the page shows the picture fitted as the load fitted it, pixel for pixel.
        ASSERT_TRUE(document.redo());
        EXPECT_TRUE(dorvan::encodeRecord(project.Record) == loaded);
        EXPECT_TRUE(image->isEnabled());
        EXPECT_FALSE(open->isEnabled());
        EXPECT_EQ(box->title(), caption);
        EXPECT_EQ(image->size(), size);
        EXPECT_EQ(image->grab().toImage(), fitted);

        ASSERT_TRUE(document.undo()); // the page is ready for the next file
    }
}

TEST_F(MapLoadPage, APlainPictureInAProjectWithRealCoordinatesNeedsItsScale)
{
    QImage plain(120, 80, QImage::Format_RGB32);
    plain.fill(Qt::green);
    ASSERT_TRUE(plain.save(dir.filePath("plain.bmp"), "BMP"));
    withPlaces({ { 360, 5350 }, { 420, 5390 } });
    const dorvan::RecordBytes opening = dorvan::encodeRecord(project.Record);
    struct Case {
        QString widthKm;
        bool taken;
        int rangeX, rangeY; // 120 x 80 pixels: the height follows the width's scale
    };
    const Case cases[] = { { {}, false, 0, 0 }, { "240", true, 240, 160 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.widthKm.toStdString());
        dialogs.shown.clear();
        get<QLineEdit>("EditMapWidth")->setText(c.widthKm);
        dialogs.fileAnswers.push_back(dir.filePath("plain.bmp"));
        click("Button48");
        dorvan::test::waitForMapLoad(w.data());
        EXPECT_EQ(project.State.MapPictureOwned, c.taken);
        EXPECT_EQ(get<QPushButton>("Button48")->isEnabled(), !c.taken);
        EXPECT_EQ(project.State.PictureRangeX, c.rangeX);
        EXPECT_EQ(project.State.PictureRangeY, c.rangeY);
        if (c.taken) {
            EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
        } else {
            EXPECT_EQ(dialogs.messages(),
                QStringList { QString::fromUtf8("Miesta projektu majú skutočné súradnice: obrázok bez "
                                                "georeferencie potrebuje mierku mapy (šírka alebo výška v "
                                                "km) !!!") });
            EXPECT_TRUE(dorvan::encodeRecord(project.Record) == opening);
        }
    }
}

TEST_F(MapLoadPage, DeletingTheLastClickedPlaceTakesTheRangeAgainInTheSameStep)
{
    // A picture larger than the box: fitted, and fitted again smaller when the window shrinks.
    QImage big(3000, 2000, QImage::Format_RGB32);
    big.fill(Qt::green);
    ASSERT_TRUE(big.save(dir.filePath("big.bmp"), "BMP"));
    dialogs.fileAnswers.push_back(dir.filePath("big.bmp"));
    click("Button48");
    dorvan::test::waitForMapLoad(w.data());
    auto* image = get<QWidget>("Image1");
    QTest::mouseClick(image, Qt::LeftButton, {}, { 40, 40 });
    const QSize clickedAt = image->size();
    ASSERT_EQ(project.State.PlaceCount, 1);
    w->resize(700, 500);
    QApplication::processEvents();
    ASSERT_NE(image->size(), clickedAt);
    const dorvan::RecordBytes onePlace = dorvan::encodeRecord(project.Record);

    auto* grid = get<QTableWidget>("StringGrid7");
    grid->setCurrentCell(1, 1);
    dialogs.confirmAnswers.push_back(true);
    QTest::keyClick(grid, Qt::Key_Delete);
    ASSERT_EQ(project.State.PlaceCount, 0);
    // Width by height less one of Image1 as it is now.
    EXPECT_EQ(project.Record.MapRangeX, image->width());
    EXPECT_EQ(project.Record.MapRangeY, image->height() - 1);

    dorvan::ProjectDocument document(project);
    EXPECT_EQ(document.undoName(), "Vymazanie miesta");
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(dorvan::encodeRecord(project.Record) == onePlace) << "the place and its range together";
    EXPECT_EQ(project.State.PictureRangeX, clickedAt.width());
    EXPECT_EQ(project.State.PictureRangeY, clickedAt.height() - 1);
    EXPECT_EQ(document.undoName(), "Pridanie miesta na mape");
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("A01"));
}
