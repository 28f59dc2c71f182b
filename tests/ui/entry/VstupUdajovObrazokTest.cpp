#include "core/entry/MapPlacement.h"
#include "core/entry/PicturePlacement.h"
#include "core/geo/GeoReference.h"
#include "core/project/ProjectDocument.h"
#include "core/project/RecordCodec.h"
#include "support/Colours.h"
#include "support/EntryWindowFixture.h"
#include "support/TestRasters.h"
#include "ui/main/Dorvan_Hlavny.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolTip>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

using dorvan::test::ScriptedDialogs;

using dorvan::test::control;

using dorvan::test::Red;
using dorvan::test::SameSpot;
using dorvan::test::White;

// A picture of two halves: left `left`, right `right`.
QImage halves(int width, int height, QColor left, QColor right)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(right);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            img.setPixelColor(x, y, left);
    return img;
}

QImage shown(QWidget* image1)
{
    return image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A mark: white inside, red on its edge.
void expectMark(const QImage& img, QPoint at)
{
    EXPECT_EQ(img.pixelColor(at), White) << at.x() << "," << at.y();
    EXPECT_EQ(img.pixelColor(at.x(), at.y() - 3), Red) << at.x() << "," << at.y();
    EXPECT_EQ(img.pixelColor(at.x() - 3, at.y()), Red) << at.x() << "," << at.y();
}

int blackPixels(const QImage& img, QRect r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.rect().contains(x, y) && qGray(img.pixel(x, y)) < 80)
                ++n;
    return n;
}

// The picture page, in a window large enough for a picture to be fitted.
class PicturePage : public dorvan::test::EntryWindowFixture {
protected:
    PicturePage()
        : EntryWindowFixture({ 1000, 700 })
    {
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_NO_FATAL_FAILURE(EntryWindowFixture::SetUp());
        auto* pages = get<QTabWidget>("PageControl1");
        pages->setCurrentIndex(pages->indexOf(get<QWidget>("TabSheet19")));
        QApplication::processEvents();
    }
    QWidget* image() { return get<QWidget>("Image1"); }
    using EntryWindowFixture::cell;
    QString cell(int row, int col) { return cell("StringGrid7", row, col); }
    QString save(const QImage& img, const char* name, const char* format, int quality = -1)
    {
        QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(img.save(path, format, quality));
        return path;
    }
    // Chooses the file with "Otvor" and waits until it is read (on its own thread).
    void load(const QString& path)
    {
        dialogs.fileAnswers.push_back(path);
        click("Button48");
        dorvan::test::waitForMapLoad(w.data());
    }
    void click(QPoint at) { QTest::mouseClick(image(), Qt::LeftButton, {}, at); }
    // The tooltip Qt's event brings up over the picture; none when the picture turned it down.
    std::optional<QString> tipAt(QPoint at)
    {
        QHelpEvent e(QEvent::ToolTip, at, image()->mapToGlobal(at));
        QApplication::sendEvent(image(), &e);
        if (!e.isAccepted())
            return std::nullopt;
        return QToolTip::text();
    }
    using EntryWindowFixture::click;
    dorvan::PixelSize controlSize() { return { image()->width(), image()->height() }; }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PicturePage, BitmapAtNaturalSizeTakesPlacesFromTheLowerLeftCorner)
{
    EXPECT_FALSE(image()->isEnabled());
    load(save(halves(40, 30, Qt::blue, Qt::green), "map.bmp", "BMP"));
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();

    const auto& s = project.State;
    const auto& r = project.Record;
    EXPECT_TRUE(s.MapPictureOwned);
    EXPECT_EQ(r.PictureWidth, 40);
    EXPECT_EQ(r.PictureHeight, 30);
    EXPECT_TRUE(image()->isEnabled());
    EXPECT_FALSE(get<QPushButton>("Button48")->isEnabled());
    EXPECT_TRUE(host.calls.contains("firstCount"));
    // Smaller than the box: shown at its natural size.
    EXPECT_EQ(image()->size(), QSize(40, 30));
    EXPECT_EQ(get<QGroupBox>("GroupBox54")->title(), u(" 39 x 29 "));
    EXPECT_EQ(s.PictureRangeX, 40);
    EXPECT_EQ(s.PictureRangeY, 29);
    QImage before = shown(image());
    EXPECT_EQ(before.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(before.pixelColor(35, 25), QColor(Qt::green));

    // The pointer before any place: both pairs show the plain pixel from the bottom.
    QTest::mouseMove(image(), QPoint(10, 20));
    EXPECT_EQ(get<QLineEdit>("Edit50")->text(), u("10"));
    EXPECT_EQ(get<QLineEdit>("Edit51")->text(), u("9"));
    EXPECT_EQ(get<QLineEdit>("Edit52")->text(), u("10"));
    EXPECT_EQ(get<QLineEdit>("Edit53")->text(), u("9"));

    click({ 0, 29 });
    click({ 39, 0 });
    EXPECT_EQ(r.PlaceName[1].toUtf8(), "A01");
    EXPECT_EQ(r.PlaceX[1], 0.0);
    EXPECT_EQ(r.PlaceY[1], 0.0);
    EXPECT_EQ(r.PlaceX[2], 39.0);
    EXPECT_EQ(r.PlaceY[2], 29.0);
    EXPECT_EQ(s.PlaceCount, 2);
    EXPECT_FALSE(s.PlacesComplete);
    EXPECT_TRUE(host.calls.contains("settingsOn")); // "Riešenie DORVAN" from the second place
    EXPECT_TRUE(get<QWidget>("GroupBox58")->isVisible());

    EXPECT_EQ(host.reruns, 0);
    host.cooperOpen = true;
    click({ 20, 15 });
    EXPECT_GE(host.reruns, 1); // the open allocation window runs again
    EXPECT_EQ(r.PlaceName[3].toUtf8(), "A03");
    EXPECT_EQ(r.PlaceX[3], 20.0);
    EXPECT_EQ(r.PlaceY[3], 14.0);
    EXPECT_EQ(r.PlaceQuantity[3], 1.0);
    EXPECT_EQ(r.PlaceFlexibility[3], 1);
    EXPECT_GT(r.Distance[1][2], 48.0);
    EXPECT_TRUE(s.PlacesComplete);
    EXPECT_TRUE(s.AddPlacesMode);
    EXPECT_TRUE(s.EntryClosable);
    EXPECT_TRUE(s.CoordsDiffer);
    EXPECT_TRUE(host.calls.contains("lastPlace"));
    EXPECT_TRUE(get<QCheckBox>("CheckBox16")->isChecked());
    EXPECT_TRUE(get<QTabWidget>("PageControl1")->isTabEnabled(1));
    EXPECT_GT(host.changes, 3);
    EXPECT_TRUE(dialogs.messages().isEmpty());

    EXPECT_EQ(get<QTableWidget>("StringGrid7")->rowCount(), 4);
    EXPECT_EQ(cell(0, 1), u("Miesta"));
    EXPECT_EQ(cell(0, 2), u("Sur X"));
    EXPECT_EQ(cell(0, 3), u("Sur Y"));
    EXPECT_EQ(cell(2, 0), u("2"));
    EXPECT_EQ(cell(2, 1), u("A02"));
    EXPECT_EQ(cell(2, 2), u("39"));
    EXPECT_EQ(cell(2, 3), u("29"));
    EXPECT_EQ(cell(3, 3), u("14"));

    QImage img = shown(image());
    expectMark(img, { 20, 15 });
    // Resting on a mark names its place; a clicked place is named by its label.
    EXPECT_EQ(tipAt({ 20, 15 }), QString("A03\nX = 20; Y = 14"));
    EXPECT_EQ(tipAt({ 36, 3 }), QString("A02\nX = 39; Y = 29"));
    // Off the marks the picture has no tip of its own: the page's shows, or none.
    EXPECT_FALSE(tipAt({ 10, 10 }).value_or(QString()).contains("X = "));
    // The map picture itself stays clean.
    EXPECT_EQ(project.MapPicture.pixel(20, 15), (dorvan::RgbPicture::Rgb { 0, 255, 0 }));

    // With places, the first pair shows the reference coordinates of the pointer.
    QTest::mouseMove(image(), QPoint(3, 4));
    EXPECT_EQ(get<QLineEdit>("Edit50")->text(), u("3"));
    EXPECT_EQ(get<QLineEdit>("Edit51")->text(), u("25"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(image(), &leave);
    EXPECT_TRUE(get<QLineEdit>("Edit50")->text().isEmpty());
    EXPECT_TRUE(get<QLineEdit>("Edit53")->text().isEmpty());
}

TEST_F(PicturePage, JpegMarksStayOnTheirSpotWhenTheProportionChanges)
{
    load(save(halves(300, 200, Qt::red, Qt::blue), "map.jpg", "JPG", 100));
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
    const QSize proportional = image()->size();
    const dorvan::PictureRange range { project.State.PictureRangeX, project.State.PictureRangeY };
    EXPECT_EQ(range.x, proportional.width());

    const QImage empty = shown(image());
    click({ 100, 100 });
    click({ 250, 60 });
    QImage img = shown(image());
    expectMark(img, { 100, 100 });
    expectMark(img, { 250, 60 });
    // Place 1's label above and left of its mark; nothing black there before.
    const QRect label(80, 70, 30, 15);
    EXPECT_EQ(blackPixels(empty, label), 0);
    EXPECT_GT(blackPixels(img, label), 5);

    // Stretched, then proportional again: each mark where its coordinates put it.
    QTest::mouseClick(get<QRadioButton>("RadioButton8"), Qt::LeftButton);
    ASSERT_NE(image()->size(), proportional);
    img = shown(image());
    for (int k = 1; k <= 2; ++k) {
        auto at = dorvan::pixelFromReference(
            project.Record.PlaceX[k], project.Record.PlaceY[k], controlSize(), range);
        ASSERT_TRUE(at);
        expectMark(img, { at->x, at->y });
    }
    QTest::mouseClick(get<QRadioButton>("RadioButton7"), Qt::LeftButton);
    EXPECT_EQ(image()->size(), proportional);
    img = shown(image());
    expectMark(img, { 100, 100 });
    expectMark(img, { 250, 60 });
}

TEST_F(PicturePage, DeletingAPlaceRenumbersTheRestAndRedrawsTheMarks)
{
    load(save(halves(300, 200, Qt::green, Qt::green), "map.bmp", "BMP"));
    const QPoint at[] = { { 50, 50 }, { 100, 100 }, { 150, 150 }, { 200, 60 } };
    for (QPoint p : at)
        click(p);
    const double x4 = project.Record.PlaceX[4], y4 = project.Record.PlaceY[4];
    auto* grid = get<QTableWidget>("StringGrid7");

    // No keeps everything.
    grid->setCurrentCell(2, 1);
    dialogs.confirmAnswers.push_back(false);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(dialogs.shown.back().text, u("Zmazať definované miesto A02 ?!!"));
    EXPECT_FALSE(dialogs.shown.back().defaultYes);
    EXPECT_EQ(project.State.PlaceCount, 4);

    dialogs.confirmAnswers.push_back(true);
    QTest::keyClick(grid, Qt::Key_Delete);
    const auto& r = project.Record;
    EXPECT_EQ(project.State.PlaceCount, 3);
    EXPECT_EQ(project.State.NextPlace, 4);
    EXPECT_EQ(r.PlaceName[2].toUtf8(), "A02");
    EXPECT_EQ(r.PlaceName[3].toUtf8(), "A03");
    EXPECT_EQ(r.PlaceX[3], x4);
    EXPECT_EQ(r.PlaceY[3], y4);
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(cell(3, 1), u("A03"));
    QImage img = shown(image());
    EXPECT_EQ(img.pixelColor(at[1]), QColor(Qt::green)); // the deleted mark is gone
    expectMark(img, at[0]);
    expectMark(img, at[2]);
    expectMark(img, at[3]);

    // The next click continues with A04.
    click({ 20, 180 });
    EXPECT_EQ(r.PlaceName[4].toUtf8(), "A04");

    // The last row goes without moving anything; below two places the allocation goes off.
    for (int row = 4; row >= 2; --row) {
        grid->setCurrentCell(row, 1);
        dialogs.confirmAnswers.push_back(true);
        QTest::keyClick(grid, Qt::Key_Delete);
    }
    EXPECT_EQ(project.State.PlaceCount, 1);
    EXPECT_EQ(host.calls.back(), u("settingsOff"));
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(cell(1, 1), u("A01"));
    grid->setCurrentCell(1, 1);
    dialogs.confirmAnswers.push_back(true);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(project.State.PlaceCount, 0);
    EXPECT_EQ(project.State.NextPlace, 1);
    EXPECT_FALSE(get<QWidget>("GroupBox58")->isVisible());
    EXPECT_FALSE(project.State.CoordsDiffer);
    img = shown(image());
    EXPECT_EQ(img.pixelColor(at[0]), QColor(Qt::green));
    EXPECT_EQ(project.Record.MapRangeX, image()->width());
    EXPECT_EQ(project.Record.MapRangeY, image()->height() - 1);
}

TEST_F(PicturePage, AClickUndoneTakesThePlaceAndItsMarkAwayAndARedoBringsThemBack)
{
    load(save(halves(300, 200, Qt::green, Qt::green), "map.bmp", "BMP"));
    const QPoint at[] = { { 50, 50 }, { 100, 100 }, { 150, 150 } };
    click(at[0]);
    click(at[1]);
    const dorvan::RecordBytes twoPlaces = dorvan::encodeRecord(project.Record);
    click(at[2]); // the third place completes the list
    ASSERT_EQ(project.State.PlaceCount, 3);
    auto* grid = get<QTableWidget>("StringGrid7");
    dorvan::ProjectDocument document(project);

    ASSERT_TRUE(document.undo());
    EXPECT_EQ(project.State.PlaceCount, 2);
    EXPECT_EQ(project.State.NextPlace, 3);
    EXPECT_TRUE(dorvan::encodeRecord(project.Record) == twoPlaces);
    EXPECT_EQ(grid->rowCount(), 3);
    QImage img = shown(image());
    EXPECT_EQ(img.pixelColor(at[2]), QColor(Qt::green)); // its mark is gone
    expectMark(img, at[0]);
    expectMark(img, at[1]);

    ASSERT_TRUE(document.redo());
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(cell(3, 1), u("A03"));
    expectMark(shown(image()), at[2]);

    // Undone again, the next click makes place 3 anew and nothing is left to redo.
    ASSERT_TRUE(document.undo());
    click({ 200, 60 });
    EXPECT_EQ(project.Record.PlaceName[3].toUtf8(), "A03");
    EXPECT_EQ(project.State.PlaceCount, 3);
    EXPECT_FALSE(document.canRedo());
    img = shown(image());
    EXPECT_EQ(img.pixelColor(at[2]), QColor(Qt::green));
    expectMark(img, { 200, 60 });
}

TEST_F(PicturePage, CoordinatesAreListedAgainWhenTheProjectSaysSo)
{
    load(save(halves(300, 200, Qt::green, Qt::green), "map.bmp", "BMP"));
    for (QPoint p : { QPoint(50, 50), QPoint(100, 100), QPoint(150, 150) })
        click(p);
    const QString name2 = cell(2, 1), x1 = cell(1, 2), y3 = cell(3, 3);
    // The allocation window closed: the list shows the coordinates as the project holds them,
    // rounded to four decimals, and nothing else changes.
    project.Record.PlaceX[2] = 10.25;
    project.Record.PlaceY[2] = -3.00004;
    project.changed(dorvan::ProjectChange::Coordinates);
    EXPECT_EQ(cell(2, 2), u("10,25"));
    EXPECT_EQ(cell(2, 3), u("-3"));
    EXPECT_EQ(cell(2, 1), name2);
    EXPECT_EQ(cell(1, 2), x1);
    EXPECT_EQ(cell(3, 3), y3);
    EXPECT_EQ(get<QTableWidget>("StringGrid7")->rowCount(), 4);
}

TEST_F(PicturePage, ResizedPageRefitsThePictureAndKeepsTheMarks)
{
    // Larger than the box: fitted into it.
    load(save(halves(3000, 2000, Qt::green, Qt::blue), "big.bmp", "BMP"));
    auto* box = get<QGroupBox>("GroupBox54");
    EXPECT_LE(image()->width(), box->width());
    EXPECT_LE(image()->height(), box->height());
    click({ 100, 100 });
    const double x = project.Record.PlaceX[1], y = project.Record.PlaceY[1];
    const QSize before = image()->size();

    w->resize(700, 500);
    QApplication::processEvents();
    ASSERT_NE(image()->size(), before);
    EXPECT_EQ(box->title(), QStringLiteral(" %1 x %2 ").arg(image()->width() - 1).arg(image()->height() - 1));
    auto at = dorvan::pixelFromReference(
        x, y, controlSize(), { project.State.PictureRangeX, project.State.PictureRangeY });
    ASSERT_TRUE(at);
    expectMark(shown(image()), { at->x, at->y });
    // Coordinates keep the reference scale of the first place.
    EXPECT_EQ(project.State.PictureRangeX, before.width());
}

TEST_F(PicturePage, AtMost99PlacesAndAllOnOneSpotIsReported)
{
    load(save(halves(300, 200, Qt::white, Qt::white), "map.bmp", "BMP"));
    click({ 10, 10 });
    click({ 10, 10 });
    click({ 10, 10 });
    EXPECT_EQ(dialogs.messages(), QStringList { SameSpot });
    EXPECT_FALSE(project.State.CoordsDiffer);
    EXPECT_FALSE(get<QCheckBox>("CheckBox16")->isChecked());

    for (int k = 4; k <= 99; ++k)
        click({ 2 * k, 150 });
    const auto& r = project.Record;
    EXPECT_EQ(r.PlaceName[9].toUtf8(), "A09");
    EXPECT_EQ(r.PlaceName[10].toUtf8(), "A10");
    EXPECT_EQ(r.PlaceName[99].toUtf8(), "A99");
    EXPECT_TRUE(project.State.CoordsDiffer);
    EXPECT_TRUE(get<QCheckBox>("CheckBox16")->isChecked());
    dialogs.shown.clear();
    click({ 250, 20 });
    EXPECT_EQ(dialogs.messages(), QStringList { u("Celkový počet miest - MAX 99 !!!") });
    EXPECT_EQ(project.State.PlaceCount, 99);
}

TEST_F(PicturePage, AClickWhoseLabelNamesAPlaceAlreadyIsRefused)
{
    load(save(halves(300, 200, Qt::green, Qt::green), "map.bmp", "BMP"));
    click({ 50, 50 });
    // The first place bears the label the next click would give (as a file may name it).
    project.Record.PlaceName[1] = dorvan::Text100::fromUtf8(" a02");
    dialogs.shown.clear();
    click({ 100, 100 });
    EXPECT_EQ(dialogs.messages(), QStringList { u("Miesto A02 už existuje !!!") });
    EXPECT_EQ(project.State.PlaceCount, 1);
    EXPECT_EQ(project.State.NextPlace, 2);
    EXPECT_EQ(shown(image()).pixelColor(100, 100), QColor(Qt::green)); // no mark
    project.Record.PlaceName[1] = dorvan::Text100::fromUtf8("Hrad");
    click({ 100, 100 });
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), "A02");
    expectMark(shown(image()), { 100, 100 });
}

TEST_F(PicturePage, UnreadablePicturesAreRefusedAndChangeNothing)
{
    QFile text(dir.filePath("notes.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some words");
    text.close();
    // A bitmap cut off in its pixel rows.
    const QString good = save(halves(50, 50, Qt::red, Qt::blue), "cut.bmp", "BMP");
    QFile cut(good);
    ASSERT_TRUE(cut.resize(200));
    // A JPEG cut off in its data.
    const QString jpeg = save(halves(64, 64, Qt::red, Qt::blue), "cut.jpg", "JPG", 90);
    QFile cutJpeg(jpeg);
    ASSERT_TRUE(cutJpeg.resize(cutJpeg.size() / 2));

    for (const QString& path : { text.fileName(), good, jpeg, dir.filePath("missing.jpg"), dir.path() }) {
        dialogs.shown.clear();
        load(path);
        ASSERT_EQ(dialogs.messages().size(), 1) << path.toStdString();
        EXPECT_TRUE(dialogs.messages().front().endsWith(u(" !!!")))
            << dialogs.messages().front().toStdString();
    }
    EXPECT_FALSE(project.State.MapPictureOwned);
    EXPECT_EQ(project.Record.PictureWidth, 0);
    EXPECT_TRUE(project.MapPicture.empty());
    EXPECT_FALSE(image()->isEnabled());
    EXPECT_TRUE(get<QPushButton>("Button48")->isEnabled());
    EXPECT_TRUE(host.calls.isEmpty());

    // A cancelled dialog does nothing either.
    dialogs.shown.clear();
    load(QString());
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_FALSE(project.State.MapPictureOwned);
}

// The main window: a picture project is saved and opened again, and the reopened window shows
// the picture with the marks where the saved coordinates put them.
TEST(PictureProject, SavedAndReopenedProjectIsDrawnWithItsMarks)
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    auto main = std::make_unique<TDorvan_Central>(dialogs);
    main->resize(1200, 800);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    main->projectFiles().NovyVUClick();
    auto* bar = main->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar->findChild<QRadioButton*>("RadioButton2"), Qt::LeftButton);
    QPointer<TVstupUdajov> entry = main->entryWindow();
    ASSERT_NE(entry, nullptr);
    QApplication::processEvents();

    const QString picture = dir.filePath("map.bmp");
    ASSERT_TRUE(halves(200, 150, Qt::yellow, Qt::cyan).save(picture, "BMP"));
    dialogs.fileAnswers.push_back(picture);
    QTest::mouseClick(control<QPushButton>(entry, "Button48"), Qt::LeftButton);
    dorvan::test::waitForMapLoad(entry);
    auto* image1 = control<QWidget>(entry, "Image1");
    ASSERT_TRUE(image1->isEnabled());
    for (QPoint p : { QPoint(20, 20), QPoint(150, 100), QPoint(60, 130) })
        QTest::mouseClick(image1, Qt::LeftButton, {}, p);
    ASSERT_TRUE(main->project().State.PlacesComplete);
    const dorvan::TProjectRecord saved = main->project().Record;

    const QString file = dir.filePath("map.mzd");
    dialogs.fileAnswers.push_back(file);
    main->saving().UlozAkoVUClick();
    ASSERT_TRUE(QFile::exists(file));

    dialogs.confirmAnswers.push_back(true); // close the data-entry window
    ASSERT_TRUE(main->openProjectFile(file));
    QApplication::processEvents();
    entry = main->entryWindow();
    ASSERT_NE(entry, nullptr);
    image1 = control<QWidget>(entry, "Image1");
    EXPECT_TRUE(image1->isEnabled());
    EXPECT_FALSE(control<QPushButton>(entry, "Button48")->isEnabled());
    const auto& r = main->project().Record;
    EXPECT_EQ(r.PictureWidth, 200);
    EXPECT_EQ(r.MapRangeX, saved.MapRangeX);
    EXPECT_EQ(main->project().State.PlaceCount, 3);

    auto* grid = control<QTableWidget>(entry, "StringGrid7");
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->item(0, 1)->text(), u("Miesta"));
    EXPECT_EQ(grid->item(2, 1)->text(), u("A02"));
    EXPECT_EQ(grid->item(2, 2)->text(), QString::number(saved.PlaceX[2]));
    EXPECT_TRUE(control<QWidget>(entry, "GroupBox58")->isVisible());

    const QImage img = shown(image1);
    for (int k = 1; k <= 3; ++k) {
        auto at = dorvan::pixelFromReference(
            r.PlaceX[k], r.PlaceY[k], { image1->width(), image1->height() }, { r.MapRangeX, r.MapRangeY });
        ASSERT_TRUE(at);
        expectMark(img, { at->x, at->y });
    }
    // The picture under the marks is the saved one.
    EXPECT_EQ(img.pixelColor(image1->width() - 2, image1->height() / 2), QColor(Qt::cyan));

    // Clicks go on with place 4 in the saved reference scale.
    QTest::mouseClick(image1, Qt::LeftButton, {}, QPoint(5, image1->height() - 1));
    EXPECT_EQ(r.PlaceName[4].toUtf8(), "A04");
    EXPECT_EQ(r.PlaceY[4], 0.0);
    dialogs.confirmAnswers.push_back(true);
    dialogs.confirmAnswers.push_back(true);
}

namespace {

// A red 3 x 3 block centred at pixel (60, 40) of a 200 x 150 GeoTIFF in degrees.
const testrasters::Raster DegreesMap { 200, 150, { 18.0, 0.005, 0.0, 49.0, 0.0, -0.005 }, "EPSG:4326", 60,
    40 };
constexpr double RedLatitude = 49.0 - 40.5 * 0.005, RedLongitude = 18.0 + 60.5 * 0.005;

} // namespace

TEST_F(PicturePage, AMapIsWarpedAndAClickOnItGivesKilometresAndItsLatitudeLongitude)
{
    const std::filesystem::path map = dir.filePath("map.tif").toStdString();
    testrasters::write(map, DegreesMap, testrasters::Form::GeoTiff);
    load(QString::fromStdString(map.string()));
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().front().toStdString();
    const auto& r = project.Record;
    ASSERT_TRUE(dorvan::rangesFixed(r));
    EXPECT_EQ(project.State.PictureRangeX, r.MapRangeX);
    const auto plane = dorvan::geo::projectionOf(r);
    ASSERT_TRUE(plane);
    const auto red = plane->toPlanar({ RedLatitude, RedLongitude });
    const auto at = dorvan::pixelFromReference(red->x, red->y, controlSize(), { r.MapRangeX, r.MapRangeY });
    ASSERT_TRUE(at);
    // The display shows the red block there.
    const QColor c = shown(image()).pixelColor(at->x, at->y);
    EXPECT_GT(c.red(), 150);
    EXPECT_LT(c.green(), 150);

    click(QPoint(at->x, at->y));
    ASSERT_EQ(project.State.PlaceCount, 1);
    const double pixelKm = double(r.MapRangeX) / image()->width();
    EXPECT_NEAR(r.PlaceX[1], red->x, pixelKm);
    EXPECT_NEAR(r.PlaceY[1], red->y, double(r.MapRangeY) / (image()->height() - 1));
    // Four decimals, not whole display pixels.
    EXPECT_NEAR(r.PlaceX[1] * 1e4, std::round(r.PlaceX[1] * 1e4), 1e-6);
    const auto clicked = dorvan::geo::toLatLon(r, r.PlaceX[1], r.PlaceY[1]);
    ASSERT_TRUE(clicked);
    EXPECT_NEAR(clicked->latitude, RedLatitude, 2 * pixelKm / 111.0);
    EXPECT_NEAR(clicked->longitude, RedLongitude, 2 * pixelKm / 70.0);

    // Resting on the mark gives its kilometres and its latitude/longitude, north and east.
    const std::optional<QString> tip = tipAt(QPoint(at->x, at->y));
    ASSERT_TRUE(tip);
    const QStringList tipLines = tip->split('\n');
    ASSERT_EQ(tipLines.size(), 3) << tip->toStdString();
    EXPECT_EQ(tipLines[0], "A01");
    const QRegularExpression degrees(u("^(\\d+),(\\d{7})° s\\. š\\., (\\d+),(\\d{7})° v\\. d\\.$"));
    const QRegularExpressionMatch m = degrees.match(tipLines[2]);
    ASSERT_TRUE(m.hasMatch()) << tipLines[2].toStdString();
    EXPECT_NEAR((m.captured(1) + "." + m.captured(2)).toDouble(), RedLatitude, 2 * pixelKm / 111.0);
    EXPECT_NEAR((m.captured(3) + "." + m.captured(4)).toDouble(), RedLongitude, 2 * pixelKm / 70.0);
}

TEST_F(PicturePage, AScaledPictureGivesTheSameKilometresInAnyWindowSizeAndKeepsItsRanges)
{
    typeInto("EditMapWidth", u("50"));
    load(save(halves(400, 300, Qt::green, Qt::blue), "plain.png", "PNG"));
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().front().toStdString();
    const auto& r = project.Record;
    // 300 / 400 of 50 km is 37.5, to the nearest whole kilometre 38.
    EXPECT_EQ(r.MapRangeX, 50);
    EXPECT_EQ(r.MapRangeY, 38);
    EXPECT_TRUE(dorvan::geo::isScaledPicture(r));

    const auto clickCentre = [&] {
        click(QPoint(image()->width() / 2, image()->height() / 2));
        return std::pair { double(r.MapRangeX) / image()->width(),
            double(r.MapRangeY) / (image()->height() - 1) };
    };
    const auto [kmX1, kmY1] = clickCentre();
    w->resize(700, 480);
    QApplication::processEvents();
    const auto [kmX2, kmY2] = clickCentre();
    ASSERT_EQ(project.State.PlaceCount, 2);
    // Both clicks are the picture's centre in kilometres, within a display pixel.
    EXPECT_NEAR(r.PlaceX[1], 25.0, kmX1);
    EXPECT_NEAR(r.PlaceX[2], 25.0, kmX2);
    EXPECT_NEAR(r.PlaceY[1], 19.0, kmY1);
    EXPECT_NEAR(r.PlaceY[2], 19.0, kmY2);
    EXPECT_EQ(project.State.PictureRangeX, 50);
    EXPECT_EQ(project.State.PictureRangeY, 38);
}

TEST_F(PicturePage, AMapWithoutASystemAsksForItsEpsgCodeAndABadScaleIsRefused)
{
    testrasters::Raster utm = DegreesMap;
    utm.transform = { 350000.0, 400.0, 0.0, 5400000.0, 0.0, -400.0 };
    const std::filesystem::path map = dir.filePath("nosystem.png").toStdString();
    testrasters::write(map, utm, testrasters::Form::PngWorldOnly);
    const QString file = QString::fromStdString(map.string());

    typeInto("EditMapWidth", u("2,5"));
    load(file);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().front(), u(dorvan::BadMapScaleText));
    get<QLineEdit>("EditMapWidth")->clear();

    // Cancelled: nothing changes.
    dialogs.textAnswers = { std::nullopt };
    load(file);
    EXPECT_TRUE(project.MapPicture.empty());
    EXPECT_FALSE(image()->isEnabled());
    EXPECT_EQ(dialogs.shown.back().text, u(dorvan::geo::MapSystemQuestion));

    dialogs.textAnswers = { u("32634") };
    load(file);
    EXPECT_FALSE(project.MapPicture.empty());
    EXPECT_TRUE(dorvan::geo::projectReference(project.Record));
    EXPECT_TRUE(image()->isEnabled());
}
