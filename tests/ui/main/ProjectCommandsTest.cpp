#include "MainWindowTestSupport.h"

#include "core/project/ProjectDocument.h"
#include "core/project/ProjectFile.h"
#include "core/project/RecordCodec.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/main/StatusBar_DrawPanel.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sys/resource.h>

using dorvan::test::MainWindowFixture;

namespace {

std::vector<std::uint8_t> fileBytes(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// (Copied with memcpy: GCC 12 warns falsely about a range copy of the whole array at -O3.)
std::vector<std::uint8_t> asVector(const dorvan::RecordBytes& b)
{
    std::vector<std::uint8_t> v(b.size());
    std::memcpy(v.data(), b.data(), b.size());
    return v;
}

void writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Two places A (0; 0) and B (3; 1), as a file written elsewhere would hold them.
dorvan::TProjectRecord twoPlaces()
{
    dorvan::TProjectRecord r;
    dorvan::ResetProjectAtStart(r);
    r.SavedPlaceCount = 2;
    r.PlaceName[1] = dorvan::Text100::fromUtf8("A");
    r.PlaceName[2] = dorvan::Text100::fromUtf8("B");
    r.PlaceX[2] = 3.0;
    r.PlaceY[2] = 1.0;
    return r;
}

struct ProjectCommands : MainWindowFixture {
    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    template <typename T> T* entry(const char* name)
    {
        auto* c = w->entryWindow() ? w->entryWindow()->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void type(const char* edit, const QString& text)
    {
        auto* e = entry<QLineEdit>(edit);
        e->clear();
        e->insert(text);
    }
    // "Nový" and a complete list of places typed in.
    void newProjectWith(const QList<std::tuple<QString, QString, QString>>& places)
    {
        w->projectFiles().NovyVUClick();
        type("Edit1", QString::number(places.size()));
        QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
        for (const auto& [name, x, y] : places) {
            type("Edit2", name);
            type("Edit3", x);
            type("Edit4", y);
            QTest::mouseClick(entry<QPushButton>("OKButton3"), Qt::LeftButton);
        }
        ASSERT_TRUE(state().PlacesComplete);
    }
    // The data-entry window's close question, answered Yes (with unsaved work it also offers
    // "Uložiť ...").
    void answerEntryClose(bool yes)
    {
        if (state().UnsavedChanges)
            dialogs.saveAnswers.push_back(
                yes ? dorvan::UserDialogs::Answer::Yes : dorvan::UserDialogs::Answer::No);
        else
            dialogs.confirmAnswers.push_back(yes);
    }
    void answerEntryCloseYes() { answerEntryClose(true); }
};

} // namespace

TEST_F(ProjectCommands, SaveWritesTheRecordUnderTheChosenNameAndOpenBringsItBack)
{
    newProjectWith({ { u("Žilina"), "1,5", "2" }, { "Nitra", "4", "0,25" }, { "Banovce", "3", "7" } });
    dialogs.fileAnswers.push_back(path("sklady")); // typed without extension
    w->saving().UlozAkoVUClick();

    // The dialog proposed "Novy.mzd" with the project filter.
    ASSERT_FALSE(dialogs.texts("save").isEmpty());
    EXPECT_TRUE(dialogs.texts("save").last().contains(u("|Novy.mzd|Vstupné údaje dorvan ( .mzd ) (*.mzd)")));
    const QString saved = path("sklady.mzd");
    EXPECT_EQ(fileBytes(saved).size(), 124680u);
    EXPECT_EQ(w->caption(), u("Program DORVAN verzia 2.0 - ") + saved);
    EXPECT_EQ(QString::fromStdString(state().ProjectFileName), saved);
    EXPECT_EQ(w->project().Record.SavedPlaceCount, 3);
    EXPECT_TRUE(w->statusPanelText(1).isEmpty());
    EXPECT_TRUE(w->statusPanelText(2).isEmpty());
    EXPECT_FALSE(w->statusPanels()->panelOwnerDrawn(1));
    const dorvan::RecordBytes before = dorvan::encodeRecord(w->project().Record);

    // The next save proposes the name just written.
    dialogs.fileAnswers.push_back(QString());
    w->saving().UlozAkoVUClick();
    EXPECT_TRUE(dialogs.texts("save").last().contains(u("|") + saved + u("|")));
    EXPECT_FALSE(state().AddPlacesMode); // a cancelled save leaves add mode

    // Open it again: the data-entry window is asked to close first.
    answerEntryCloseYes();
    dialogs.fileAnswers.push_back(saved);
    w->projectFiles().OtvorVUClick();
    flushDeletes();
    ASSERT_NE(w->entryWindow(), nullptr);
    EXPECT_EQ(dorvan::encodeRecord(w->project().Record), before);
    EXPECT_EQ(state().PlaceCount, 3);
    EXPECT_EQ(state().NextPlace, 4);
    EXPECT_TRUE(state().AddPlacesMode);
    EXPECT_TRUE(state().PlacesComplete);
    EXPECT_TRUE(state().EntryClosable);
    EXPECT_TRUE(state().CoordsDiffer);
    EXPECT_EQ(w->caption(), u("Program DORVAN verzia 2.0 - ") + saved);
    for (const char* a : { "UlozAkoVU", "Tlacit", "Zatvor", "Cooper" })
        EXPECT_TRUE(on(a)) << a;
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(modeSwitch<QRadioButton>("RadioButton1")->isEnabled());
    EXPECT_FALSE(modeSwitch<QRadioButton>("RadioButton2")->isEnabled());
    EXPECT_TRUE(entry<QCheckBox>("CheckBox16")->isChecked());
    EXPECT_EQ(entry<QLabel>("Label1")->text(), u(" Koľko miest doplniť ? "));
    auto* grid = entry<QTableWidget>("StringGrid6");
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->item(1, 1)->text(), "Banovce"); // sorted by name
    EXPECT_EQ(grid->item(3, 1)->text(), u("Žilina"));
    EXPECT_EQ(grid->item(3, 2)->text(), "1,5");
    auto* pages = entry<QTabWidget>("PageControl1");
    EXPECT_TRUE(pages->isTabEnabled(1));
    EXPECT_TRUE(pages->isTabEnabled(3));
    EXPECT_TRUE(w->statusPanelText(1).isEmpty());
}

TEST_F(ProjectCommands, GroupsAreStoredFromTheListWhenSavedAndTickedWhenOpened)
{
    newProjectWith({ { "A", "0", "0" }, { "B", "5", "0" }, { "C", "0", "5" } });
    auto* groups = entry<QCheckBox>("CheckBox17");
    groups->setChecked(true);
    // Group 1: A, B; group 2: C — through the group buttons.
    auto* places = entry<QListWidget>("ListBox8");
    auto* add = entry<QPushButton>("Button43");
    auto* ok = entry<QPushButton>("Button45"); // "OK": the next group
    places->setCurrentRow(0);
    QTest::mouseClick(add, Qt::LeftButton);
    places->setCurrentRow(0);
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(ok, Qt::LeftButton);
    places->setCurrentRow(0);
    QTest::mouseClick(add, Qt::LeftButton);

    dialogs.fileAnswers.push_back(path("g.MZD"));
    w->saving().UlozAkoVUClick();
    const auto& r = w->project().Record;
    ASSERT_EQ(fileBytes(path("g.MZD")).size(), 124680u) << "a letter-case variant is kept";
    EXPECT_EQ(r.GroupPlaceCount[1], 2);
    EXPECT_EQ(r.GroupPlaceCount[2], 1);
    EXPECT_EQ(r.GroupedPlaceName[3].toUtf8(), "C");
    EXPECT_EQ(r.CriterionOn[15], 1);

    answerEntryCloseYes();
    dialogs.fileAnswers.push_back(path("g.MZD"));
    w->projectFiles().OtvorVUClick();
    flushDeletes();
    EXPECT_TRUE(entry<QCheckBox>("CheckBox17")->isChecked());
    EXPECT_EQ(entry<QListWidget>("ListBox9")->count(), 5); // two headers and three members
}

TEST_F(ProjectCommands, SaveIsRefusedWhileAllCoordinatesAreEqual)
{
    w->projectFiles().NovyVUClick();
    state().CoordsDiffer = false;
    w->saving().UlozAkoVUClick();
    EXPECT_EQ(dialogs.messages(), QStringList { u("Nesmú byť všetky rovnaké SÚRADNICE !!!") });
    EXPECT_TRUE(dialogs.texts("save").isEmpty());
}

TEST_F(ProjectCommands, FailedSaveShowsWhyAndKeepsCaptionAndStatusBar)
{
    newProjectWith({ { "A", "0", "0" }, { "B", "5", "0" } });
    const QString caption = w->caption();
    ASSERT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
    w->setStatusPanelText(2, u("hint"));

    // A file that cannot be created: the status bar is left as it was.
    dialogs.fileAnswers.push_back(path("missing-folder/x"));
    w->saving().UlozAkoVUClick();
    ASSERT_EQ(dialogs.texts("error").size(), 1);
    EXPECT_TRUE(dialogs.texts("error").first().endsWith(u(" !!!")));
    EXPECT_EQ(w->caption(), caption);
    EXPECT_FALSE(w->statusPanels()->panelOwnerDrawn(1));
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
    EXPECT_EQ(w->statusPanelText(2), u("hint"));
    // The name chosen is the project's name all the same: the next save proposes it.
    EXPECT_EQ(QString::fromStdString(state().ProjectFileName), path("missing-folder/x.mzd"));
    dialogs.fileAnswers.push_back(QString());
    w->saving().UlozAkoVUClick();
    EXPECT_TRUE(dialogs.texts("save").last().contains(u("|") + path("missing-folder/x.mzd") + u("|")));
    EXPECT_EQ(QString::fromStdString(state().ProjectFileName), path("missing-folder/x.mzd"));

    // Writing fails after the file was created (a file size limit stands in for a full disk):
    // panel 1 is plain text again and empty, panel 2 still says what was under way.
    const QString target = path("full.mzd");
    writeBytes(target, { 1, 2, 3 });
    rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small { 65536, before.rlim_max };
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    dialogs.fileAnswers.push_back(target);
    dialogs.confirmAnswers.push_back(true); // "Súbor full.mzd už existuje. Nahradiť ho ?!!"
    w->saving().UlozAkoVUClick();
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(dialogs.texts("error").size(), 2);
    EXPECT_EQ(fileBytes(target), (std::vector<std::uint8_t> { 1, 2, 3 }));
    EXPECT_FALSE(w->statusPanels()->panelOwnerDrawn(1));
    EXPECT_EQ(w->statusPanelText(1), QString());
    EXPECT_EQ(w->statusPanelText(2), u("Ukladám súbor!"));
    EXPECT_EQ(w->caption(), caption);
    EXPECT_EQ(QString::fromStdString(state().ProjectFileName), target);
}

TEST_F(ProjectCommands, PictureProjectSwitchesToThePictureModeAndKeepsThePixels)
{
    dorvan::TProjectRecord r = twoPlaces();
    r.PictureWidth = 100;
    r.PictureHeight = 100;
    r.MapRangeX = 500;
    r.MapRangeY = 400;
    dorvan::RgbPicture pic(100, 100);
    pic.setPixel(99, 99, { 9, 8, 7 });
    dorvan::saveProjectFile(path("p.mzd").toStdString(), r, pic);

    dialogs.fileAnswers.push_back(path("p.mzd"));
    w->projectFiles().OtvorVUClick();
    EXPECT_TRUE(state().MapPictureOwned);
    EXPECT_EQ(w->project().MapPicture, pic);
    EXPECT_EQ(state().PictureRangeX, 500);
    EXPECT_EQ(state().PictureRangeY, 400);
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton2")->isChecked());
    auto* pages = entry<QTabWidget>("PageControl1");
    EXPECT_EQ(pages->currentIndex(), 4);
    EXPECT_FALSE(pages->isTabVisible(0));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // Saved again, the picture follows the record byte for byte.
    dialogs.fileAnswers.push_back(path("p2.mzd"));
    w->saving().UlozAkoVUClick();
    EXPECT_EQ(fileBytes(path("p2.mzd")), fileBytes(path("p.mzd")));
}

TEST_F(ProjectCommands, WidthWithoutHeightOpensAsAManualProject)
{
    dorvan::TProjectRecord r = twoPlaces();
    r.PictureWidth = 5;
    r.CriterionOn[15] = 1;
    dorvan::saveProjectFile(path("w5.mzd").toStdString(), r, {});
    dialogs.fileAnswers.push_back(path("w5.mzd"));
    w->projectFiles().OtvorVUClick();
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(state().MapPictureOwned);
    EXPECT_EQ(entry<QTableWidget>("StringGrid6")->rowCount(), 3);
    EXPECT_TRUE(entry<QCheckBox>("CheckBox17")->isChecked()) << "the criteria boxes follow the bytes";
}

TEST_F(ProjectCommands, DamagedFilesAreRefusedAndChangeNothing)
{
    const dorvan::TProjectRecord good = twoPlaces();
    const auto bytes = [&](auto change) {
        dorvan::TProjectRecord r = good;
        change(r);
        return asVector(dorvan::encodeRecord(r));
    };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
    };
    std::vector<Case> cases = {
        { "short", std::vector<std::uint8_t>(1000, 0) },
        { "count", bytes([](dorvan::TProjectRecord& r) { r.SavedPlaceCount = 100; }) },
        { "groups", bytes([](dorvan::TProjectRecord& r) { r.GroupCount = 101; }) },
        { "picture", bytes([](dorvan::TProjectRecord& r) { r.PictureHeight = -4; }) },
        { "huge", bytes([](dorvan::TProjectRecord& r) { r.PictureHeight = r.PictureWidth = 1 << 20; }) },
        { "nan", bytes([](dorvan::TProjectRecord& r) { r.PlaceX[1] = std::nan(""); }) },
    };
    w->project().Record.PlaceX[7] = 42.0; // something to recognise the record by
    const dorvan::RecordBytes before = dorvan::encodeRecord(w->project().Record);
    for (const auto& c : cases) {
        writeBytes(path("bad.mzd"), c.file);
        dialogs.shown.clear();
        dialogs.fileAnswers.push_back(path("bad.mzd"));
        w->projectFiles().OtvorVUClick();
        ASSERT_EQ(dialogs.texts("warn").size(), 1) << c.what;
        EXPECT_TRUE(dialogs.texts("warn").first().endsWith(u(" !!!"))) << c.what;
        EXPECT_EQ(dorvan::encodeRecord(w->project().Record), before) << c.what;
        EXPECT_EQ(w->entryWindow(), nullptr) << c.what;
        EXPECT_FALSE(on("UlozAkoVU")) << c.what;
        EXPECT_EQ(w->caption(), u("Program DORVAN verzia 2.0")) << c.what;
        EXPECT_TRUE(w->statusPanelText(2).isEmpty()) << c.what;
    }
}

TEST_F(ProjectCommands, ShortPictureOpensBlackAndTheUserIsTold)
{
    dorvan::TProjectRecord r = twoPlaces();
    r.PictureWidth = 4;
    r.PictureHeight = 4;
    const dorvan::RecordBytes record = dorvan::encodeRecord(r);
    {
        std::ofstream out(path("short.mzd").toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
        out.write(std::string(12, char(200)).data(), 12); // the first row only
    }
    dialogs.fileAnswers.push_back(path("short.mzd"));
    w->projectFiles().OtvorVUClick();
    ASSERT_EQ(dialogs.texts("warn").size(), 1);
    EXPECT_TRUE(dialogs.texts("warn").first().contains(u("neúplný")));
    EXPECT_EQ(w->project().MapPicture.pixel(3, 0), (dorvan::RgbPicture::Rgb { 200, 200, 200 }));
    EXPECT_EQ(w->project().MapPicture.pixel(0, 1), (dorvan::RgbPicture::Rgb { 0, 0, 0 }));
}

TEST_F(ProjectCommands, FileThatCannotBeOpenedLeavesItsMessageInPanel2)
{
    w->setStatusPanelText(1, u("ZMENENÉ HODNOTY !!!"));
    dialogs.fileAnswers.push_back(path("nowhere.mzd"));
    w->projectFiles().OtvorVUClick();
    ASSERT_EQ(dialogs.texts("warn").size(), 1);
    EXPECT_TRUE(dialogs.texts("warn").first().endsWith(u(" !!!")));
    EXPECT_EQ(w->entryWindow(), nullptr);
    EXPECT_FALSE(on("UlozAkoVU"));
    // Panel 1 is plain text and empty; panel 2 keeps "Otváram súbor!" until it is next changed.
    EXPECT_FALSE(w->statusPanels()->panelOwnerDrawn(1));
    EXPECT_EQ(w->statusPanelText(1), QString());
    EXPECT_EQ(w->statusPanelText(2), u("Otváram súbor!"));
    // The name chosen in the dialog is the project's name from then on.
    EXPECT_EQ(QString::fromStdString(state().ProjectFileName), path("nowhere.mzd"));
}

TEST_F(ProjectCommands, CancelledOpenLeavesNoProjectCommands)
{
    newProjectWith({ { "A", "0", "0" }, { "B", "5", "0" } });
    answerEntryCloseYes();
    dialogs.fileAnswers.push_back(QString());
    w->projectFiles().OtvorVUClick();
    flushDeletes();
    EXPECT_EQ(w->entryWindow(), nullptr);
    for (const char* a : { "UlozAkoVU", "Tlacit", "Zatvor" })
        EXPECT_FALSE(on(a)) << a;
    EXPECT_FALSE(state().AddPlacesMode);

    // Keeping the data-entry window stops the command before its dialog.
    newProjectWith({ { "A", "0", "0" }, { "B", "5", "0" } });
    answerEntryClose(false);
    const auto dialogsBefore = dialogs.texts("open").size();
    w->projectFiles().OtvorVUClick();
    EXPECT_NE(w->entryWindow(), nullptr);
    EXPECT_EQ(dialogs.texts("open").size(), dialogsBefore);
}

TEST_F(ProjectCommands, RiesenieOpensOneAllocationWindowThatPrintsAsItsOwnJob)
{
    w->resize(900, 700);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    newProjectWith({ { "A", "0", "0" }, { "B", "10", "0" }, { "C", "5", "10" } });
    ASSERT_TRUE(on("Cooper"));
    w->CooperClick();
    EXPECT_TRUE(w->cooperWindowOpen());
    auto* active = w->mdiArea()->activeSubWindow();
    ASSERT_NE(active, nullptr);
    auto* cooper = active->widget();
    EXPECT_EQ(cooper->objectName(), "CooperAlokMetod");
    EXPECT_TRUE(state().FirstEntryMode);
    EXPECT_TRUE(state().EntryStarted);
    const auto windows = w->mdiArea()->subWindowList().size();
    w->CooperClick(); // open already: nothing
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), windows);

    // Printing with the allocation window active: that window, then the main window.
    QTemporaryDir out;
    const QString pdf = out.filePath("tlac.pdf");
    dialogs.preparePrinter = [pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
    };
    QSignalSpy jobs(&w->reports(), &ReportCommands::printJobDone);
    dialogs.printerAnswers = { true };
    w->reports().TlacitClick();
    ASSERT_EQ(jobs.count(), 2);
    EXPECT_EQ(jobs[0][0].toString(), "CooperAlokMetod");
    EXPECT_EQ(jobs[1][0].toString(), w->objectName());
    EXPECT_GT(QFileInfo(pdf).size(), 100);
}

TEST_F(ProjectCommands, ProgressIsPaintedOnTheStatusBarRowByRow)
{
    dorvan::TProjectRecord r = twoPlaces();
    r.PictureWidth = 100;
    r.PictureHeight = 100;
    dorvan::saveProjectFile(path("p.mzd").toStdString(), r, dorvan::RgbPicture(100, 100));

    QMap<QPair<int, int>, QImage> shots; // (scheme, row) -> the status bar at that moment
    QList<QPair<int, int>> drawn;
    QMap<int, QSet<QString>> messages; // scheme -> the texts of panel 2 while it was drawn
    QObject::connect(&w->status(), &MainStatus::fileProgressDrawn, w.get(), [&](int scheme, int row) {
        drawn << qMakePair(scheme, row);
        messages[scheme] << w->statusPanelText(2);
        if (row == 0 || row == 99)
            shots[qMakePair(scheme, row)] = w->statusPanels()->grab().toImage();
    });
    dialogs.fileAnswers.push_back(path("p.mzd"));
    w->projectFiles().OtvorVUClick();
    dialogs.fileAnswers.push_back(path("q.mzd"));
    w->saving().UlozAkoVUClick();

    // One display per row for a 100-row picture: reading in green (2), building the picture
    // in navy (0), saving in red (1).
    ASSERT_EQ(drawn.size(), 300);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(drawn[i], qMakePair(i < 100 ? 2 : i < 200 ? 0 : 1, i % 100)) << i;
    EXPECT_EQ(messages[2], QSet<QString> { u("Otváram súbor!") });
    EXPECT_EQ(messages[0], QSet<QString> { u("Spracovávam dáta!") });
    EXPECT_EQ(messages[1], QSet<QString> { u("Ukladám súbor!") });

    auto colour = [](const QImage& img, int x, int y) { return img.pixelColor(x, y).rgb() & 0xFFFFFF; };
    auto textInTextBox = [&](const QImage& img, QRgb text) {
        // "  1%" or "100%" at (w0 + round(w1 / 2) - 13, 3) = (182, 3).
        for (int y = 3; y < 16; ++y)
            for (int x = 182; x < 215; ++x)
                if (colour(img, x, y) == text)
                    return true;
        return false;
    };
    for (int scheme : { 0, 1, 2 }) {
        const QImage first = shots.value(qMakePair(scheme, 0));
        const QImage last = shots.value(qMakePair(scheme, 99));
        ASSERT_FALSE(first.isNull());
        ASSERT_FALSE(last.isNull());
        const QRgb fill = scheme == 1 ? 0xFF0000 : scheme == 2 ? 0x008000 : 0x000080;
        const QRgb border = scheme == 0 ? 0x000080 : 0x000000;
        const QRgb text = scheme == 0 ? 0xFFFF00 : 0xFFFFFF;
        // After the first row the bar is still empty (step 0), the text says 1 %.
        EXPECT_NE(colour(first, 190, 20), fill) << scheme;
        EXPECT_TRUE(textInTextBox(first, text)) << scheme;
        // After the last row: the bar from (133, 18) to (133 + round(126 / 100 * 99), 23).
        EXPECT_EQ(colour(last, 133, 20), border) << scheme;
        EXPECT_EQ(colour(last, 190, 20), fill) << scheme;
        EXPECT_EQ(colour(last, 257, 20), border) << scheme; // the last pixel of the bar
        EXPECT_NE(colour(last, 259, 20), fill) << scheme;
        EXPECT_TRUE(textInTextBox(last, text)) << scheme;
    }
    // Afterwards the panels are plain text again and empty.
    EXPECT_FALSE(w->statusPanels()->panelOwnerDrawn(1));
    EXPECT_TRUE(w->statusPanelText(2).isEmpty());
}

TEST_F(ProjectCommands, SavingANewProjectOntoAnotherFileAsksFirstAndNoKeepsThatFile)
{
    // An earlier project on disk.
    newProjectWith({ { "A", "0", "0" }, { "B", "4", "0" } });
    const QString earlier = path("earlier.mzd");
    dialogs.fileAnswers.push_back(earlier);
    w->saving().UlozAkoVUClick();
    const std::vector<std::uint8_t> earlierBytes = fileBytes(earlier);
    ASSERT_EQ(earlierBytes.size(), 124680u);
    // Saving it again onto its own file asks nothing.
    dialogs.shown.clear();
    dialogs.fileAnswers.push_back(earlier);
    w->saving().UlozAkoVUClick();
    EXPECT_TRUE(dialogs.texts("confirm").isEmpty());

    // "Nový": the dialog proposes "Novy.mzd", not the earlier project's name.
    answerEntryCloseYes();
    newProjectWith({ { "C", "1", "1" }, { "D", "5", "2" }, { "E", "3", "9" } });
    dialogs.shown.clear();
    // The user picks the earlier file (without its extension) and answers No: the dialog comes
    // back offering that name, the user cancels, and the earlier file is as it was.
    dialogs.fileAnswers.push_back(path("earlier"));
    dialogs.confirmAnswers.push_back(false);
    dialogs.fileAnswers.push_back(QString());
    w->saving().UlozAkoVUClick();
    const QStringList saves = dialogs.texts("save");
    ASSERT_EQ(saves.size(), 2);
    EXPECT_TRUE(saves[0].contains(u("|Novy.mzd|")));
    EXPECT_TRUE(saves[1].contains(u("|") + earlier + u("|")));
    ASSERT_EQ(dialogs.texts("confirm"), QStringList { u("Súbor earlier.mzd už existuje. Nahradiť ho ?!!") });
    const auto& question = dialogs.shown[1];
    EXPECT_EQ(question.kind, "confirm");
    EXPECT_FALSE(question.defaultYes);
    EXPECT_EQ(fileBytes(earlier), earlierBytes);

    // Yes replaces it; from then on it is this project's own file.
    dialogs.shown.clear();
    dialogs.fileAnswers.push_back(earlier);
    dialogs.confirmAnswers.push_back(true);
    w->saving().UlozAkoVUClick();
    EXPECT_EQ(dialogs.texts("confirm").size(), 1);
    EXPECT_NE(fileBytes(earlier), earlierBytes);
    EXPECT_EQ(w->caption(), u("Program DORVAN verzia 2.0 - ") + earlier);
    dialogs.shown.clear();
    dialogs.fileAnswers.push_back(earlier);
    w->saving().UlozAkoVUClick();
    EXPECT_TRUE(dialogs.texts("confirm").isEmpty());
}

TEST_F(ProjectCommands, RiesenieBringsTheAllocationWindowToTheFront)
{
    w->resize(900, 700);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    newProjectWith({ { "A", "0", "0" }, { "B", "4", "0" }, { "C", "2", "3" } });
    const auto frameOf = [](QWidget* window) { return qobject_cast<QMdiSubWindow*>(window->parentWidget()); };
    ASSERT_EQ(w->mdiArea()->activeSubWindow(), frameOf(w->entryWindow()));
    w->CooperClick();
    ASSERT_NE(w->cooperWindow(), nullptr);
    EXPECT_EQ(w->mdiArea()->activeSubWindow(), frameOf(w->cooperWindow()));
}

TEST_F(ProjectCommands, UnsavedWorkIsOfferedASaveBeforeItIsClosed)
{
    using Answer = dorvan::UserDialogs::Answer;
    const QString quit = u("Skončiť program ?!!");
    const QString closeEntry = u("Zavrieť \"Zadávanie údajov\" ?!!");
    const auto quitAccepted = [&] {
        QCloseEvent e;
        QCoreApplication::sendEvent(w.get(), &e);
        return e.isAccepted();
    };

    // Typed places are work not saved: the questions keep their texts and offer "Uložiť ...".
    newProjectWith({ { "A", "0", "0" }, { "B", "4", "0" }, { "C", "2", "3" } });
    EXPECT_TRUE(state().UnsavedChanges);
    dialogs.shown.clear();
    dialogs.saveAnswers = { Answer::No };
    EXPECT_FALSE(quitAccepted());
    EXPECT_EQ(dialogs.texts("confirmSave"), QStringList { quit });

    // "Uložiť ..." whose save fails (no such folder) keeps the program open and the work unsaved.
    dialogs.saveAnswers = { Answer::Save };
    dialogs.fileAnswers = { path("missing/folder/a") };
    EXPECT_FALSE(quitAccepted());
    EXPECT_EQ(dialogs.texts("error").size(), 1);
    EXPECT_TRUE(state().UnsavedChanges);
    // ... and so does a cancelled save dialog.
    dialogs.saveAnswers = { Answer::Save };
    dialogs.fileAnswers = { QString() };
    EXPECT_FALSE(quitAccepted());

    // "Uložiť ..." that saves goes on: the program may end, the file holds the places.
    dialogs.saveAnswers = { Answer::Save };
    dialogs.fileAnswers = { path("a") };
    EXPECT_TRUE(quitAccepted());
    EXPECT_EQ(fileBytes(path("a.mzd")).size(), 124680u);
    EXPECT_FALSE(state().UnsavedChanges);

    // Saved, the plain Yes/No question comes back.
    dialogs.shown.clear();
    dialogs.confirmAnswers = { false };
    EXPECT_FALSE(quitAccepted());
    EXPECT_EQ(dialogs.texts("confirm"), QStringList { quit });
    EXPECT_TRUE(dialogs.texts("confirmSave").isEmpty());

    // An edit after the save counts again (here "Množstvo" ticked); "Zavrieť" asks the
    // data-entry window's question with "Uložiť ...".
    entry<QCheckBox>("CheckBox1")->click();
    ASSERT_TRUE(state().UnsavedChanges);
    dialogs.shown.clear();
    dialogs.saveAnswers = { Answer::No };
    w->projectFiles().ZatvorClick();
    EXPECT_EQ(dialogs.texts("confirmSave"), QStringList { closeEntry });
    ASSERT_NE(w->entryWindow(), nullptr);
    dialogs.saveAnswers = { Answer::Yes };
    w->projectFiles().ZatvorClick();
    flushDeletes();
    EXPECT_EQ(w->entryWindow(), nullptr);
    EXPECT_FALSE(state().UnsavedChanges);

    // A project just opened has nothing unsaved, even though showing it filled every page.
    dialogs.fileAnswers = { path("a.mzd") };
    w->projectFiles().OtvorVUClick();
    ASSERT_NE(w->entryWindow(), nullptr);
    EXPECT_FALSE(state().UnsavedChanges);
    // Clicking into the place grid commits it, but cells as stored are no change: no step, and
    // the status bar stays as it was.
    QFocusEvent into(QEvent::FocusIn, Qt::MouseFocusReason);
    auto* grid = entry<QTableWidget>("StringGrid6");
    QCoreApplication::sendEvent(grid, &into);
    EXPECT_EQ(w->statusPanelText(1), QString());
    EXPECT_FALSE(state().UnsavedChanges);
    EXPECT_FALSE(on("KrokSpat"));
    // A cell really changed is marked; undone, the project is the saved one again.
    grid->item(1, 2)->setText(u("7"));
    QCoreApplication::sendEvent(grid, &into);
    EXPECT_EQ(w->project().Record.PlaceX[1], 7.0);
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
    EXPECT_TRUE(state().UnsavedChanges);
    grid->setFocus();
    action("KrokSpat")->trigger();
    EXPECT_EQ(w->project().Record.PlaceX[1], 0.0);
    EXPECT_EQ(grid->item(1, 2)->text(), u("0"));
    EXPECT_EQ(w->statusPanelText(1), QString());
    EXPECT_FALSE(state().UnsavedChanges);
    dialogs.shown.clear();
    dialogs.confirmAnswers = { true };
    w->projectFiles().ZatvorClick();
    EXPECT_EQ(dialogs.texts("confirm"), QStringList { closeEntry });
}

TEST_F(ProjectCommands, UndoBackToTheSaveClearsTheMarkAndTheSaveQuestionAndRedoBringsThemBack)
{
    const QString closeEntry = u("Zavrieť \"Zadávanie údajov\" ?!!");
    newProjectWith({ { "A", "0", "0" }, { "B", "4", "0" }, { "C", "2", "3" } });
    dialogs.fileAnswers = { path("u") };
    w->saving().UlozAkoVUClick();
    ASSERT_FALSE(state().UnsavedChanges);
    const dorvan::RecordBytes saved = dorvan::encodeRecord(w->project().Record);
    EXPECT_FALSE(on("KrokVpred"));

    // One place more: its count and the place itself, two steps.
    type("Edit1", "1");
    QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
    type("Edit2", "D");
    type("Edit3", "1");
    type("Edit4", "1");
    QTest::mouseClick(entry<QPushButton>("OKButton3"), Qt::LeftButton);
    ASSERT_EQ(state().PlaceCount, 4);
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
    EXPECT_TRUE(on("KrokSpat"));
    entry<QTableWidget>("StringGrid6")->setFocus();

    action("KrokSpat")->trigger();
    EXPECT_EQ(state().NextPlace, 4) << "the place is undone, its count not yet";
    EXPECT_TRUE(state().UnsavedChanges);
    // The grid lists the three places; the entry boxes ask for place 4 again.
    EXPECT_EQ(entry<QTableWidget>("StringGrid6")->rowCount(), 4);
    EXPECT_TRUE(entry<QPushButton>("OKButton3")->isEnabled());
    action("KrokSpat")->trigger();
    EXPECT_EQ(state().PlaceCount, 3);
    EXPECT_TRUE(dorvan::encodeRecord(w->project().Record) == saved);
    EXPECT_FALSE(state().UnsavedChanges);
    EXPECT_TRUE(w->statusPanelText(1).isEmpty());
    EXPECT_TRUE(on("KrokVpred"));
    EXPECT_FALSE(entry<QPushButton>("OKButton3")->isEnabled());
    // Nothing is unsaved: closing asks the plain question, without "Uložiť ...".
    dialogs.shown.clear();
    dialogs.confirmAnswers = { false };
    w->projectFiles().ZatvorClick();
    EXPECT_EQ(dialogs.texts("confirm"), QStringList { closeEntry });
    EXPECT_TRUE(dialogs.texts("confirmSave").isEmpty());

    // "Krok vpred" does both again: the place is listed and the work is unsaved once more.
    action("KrokVpred")->trigger();
    action("KrokVpred")->trigger();
    EXPECT_FALSE(on("KrokVpred"));
    EXPECT_EQ(state().PlaceCount, 4);
    EXPECT_EQ(entry<QTableWidget>("StringGrid6")->item(4, 1)->text(), u("D"));
    EXPECT_TRUE(state().UnsavedChanges);
    EXPECT_EQ(w->statusPanelText(1), u("ZMENENÉ HODNOTY !!!"));
    dialogs.shown.clear();
    dialogs.saveAnswers = { dorvan::UserDialogs::Answer::No };
    w->projectFiles().ZatvorClick();
    EXPECT_EQ(dialogs.texts("confirmSave"), QStringList { closeEntry });

    // A criterion box ticked is taken back and done again with its box.
    auto* quantity = entry<QCheckBox>("CheckBox1");
    ASSERT_FALSE(quantity->isChecked());
    quantity->click();
    ASSERT_TRUE(w->project().ticked(dorvan::CritQuantity));
    entry<QTableWidget>("StringGrid6")->setFocus();
    action("KrokSpat")->trigger();
    EXPECT_FALSE(w->project().ticked(dorvan::CritQuantity));
    EXPECT_FALSE(w->project().Record.ticked(dorvan::CritQuantity));
    EXPECT_FALSE(quantity->isChecked());
    EXPECT_EQ(state().PlaceCount, 4) << "only the tick was taken back";
    action("KrokVpred")->trigger();
    EXPECT_TRUE(quantity->isChecked());
    EXPECT_TRUE(w->project().Record.ticked(dorvan::CritQuantity));

    // Ctrl+Z in a text field with an edit of its own takes back the text, not the project.
    auto* name = entry<QLineEdit>("Edit2");
    name->setEnabled(true);
    name->setFocus();
    name->clear();
    QTest::keyClicks(name, "xyz");
    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QString());
    EXPECT_EQ(state().PlaceCount, 4);
    EXPECT_TRUE(dorvan::ProjectDocument(w->project()).canUndo());
}

TEST_F(ProjectCommands, ListStillBeingTypedIsSavedWithTheEnteredPlacesOnly)
{
    // A project with five places leaves its names in the record's slots after "Nový".
    newProjectWith(
        { { "A", "0", "0" }, { "B", "4", "0" }, { "C", "2", "3" }, { "D", "1", "1" }, { "E", "5", "5" } });
    answerEntryCloseYes();
    w->projectFiles().NovyVUClick();
    flushDeletes();
    // Four places planned, two typed, then saved.
    type("Edit1", "4");
    QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
    for (const auto& [name, x, y] : { std::tuple { "P", "1", "2" }, std::tuple { "Q", "5", "7" } }) {
        type("Edit2", name);
        type("Edit3", x);
        type("Edit4", y);
        QTest::mouseClick(entry<QPushButton>("OKButton3"), Qt::LeftButton);
    }
    ASSERT_FALSE(state().PlacesComplete);
    dialogs.fileAnswers.push_back(path("partial"));
    w->saving().UlozAkoVUClick();

    const std::vector<std::uint8_t> bytes = fileBytes(path("partial.mzd"));
    ASSERT_EQ(bytes.size(), 124680u);
    dorvan::RecordBytes head;
    std::memcpy(head.data(), bytes.data(), head.size());
    EXPECT_EQ(dorvan::decodeRecord(head).SavedPlaceCount, 2);

    // Opened again, the project has the two typed places and none of the old project's.
    answerEntryCloseYes();
    dialogs.fileAnswers.push_back(path("partial.mzd"));
    w->projectFiles().OtvorVUClick();
    flushDeletes();
    EXPECT_EQ(state().PlaceCount, 2);
    auto* grid = entry<QTableWidget>("StringGrid6");
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(1, 1)->text(), "P");
    EXPECT_EQ(grid->item(2, 1)->text(), "Q");
}

TEST_F(ProjectCommands, FileWithoutTwoDistinctPlacesOpensWithoutTheSolution)
{
    struct Case {
        const char* what;
        int places;
        double x2;
    };
    for (const Case c :
        { Case { "no place", 0, 3.0 }, Case { "one place", 1, 3.0 }, Case { "one spot", 2, 0.0 } }) {
        dorvan::TProjectRecord r = twoPlaces();
        r.SavedPlaceCount = c.places;
        r.PlaceX[2] = c.x2;
        r.PlaceY[2] = 0.0;
        dorvan::saveProjectFile(path("few.mzd").toStdString(), r, {});
        if (w->entryWindow() != nullptr)
            answerEntryCloseYes();
        dialogs.shown.clear();
        dialogs.fileAnswers.push_back(path("few.mzd"));
        w->projectFiles().OtvorVUClick();
        flushDeletes();
        ASSERT_NE(w->entryWindow(), nullptr) << c.what;
        EXPECT_EQ(dialogs.texts("warn"), QStringList { u("Nesmú byť všetky rovnaké SÚRADNICE !!!") })
            << c.what;
        EXPECT_FALSE(state().CoordsDiffer) << c.what;
        EXPECT_FALSE(on("Cooper")) << c.what;
        EXPECT_FALSE(entry<QCheckBox>("CheckBox16")->isChecked()) << c.what;
        EXPECT_EQ(entry<QLabel>("Label1")->text(), u(" Koľko miest doplniť ? ")) << c.what;
    }

    // Adding a place elsewhere completes the list as typing it would: the solution is offered.
    type("Edit1", "1");
    QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
    type("Edit2", "C");
    type("Edit3", "5");
    type("Edit4", "5");
    QTest::mouseClick(entry<QPushButton>("OKButton3"), Qt::LeftButton);
    EXPECT_TRUE(state().CoordsDiffer);
    EXPECT_TRUE(on("Cooper"));
    EXPECT_TRUE(entry<QCheckBox>("CheckBox16")->isChecked());
}

TEST_F(ProjectCommands, ClosingTheProjectClosesItsAllocationWindowAlsoAfterPlacesWereAdded)
{
    newProjectWith({ { "A", "0", "0" }, { "B", "10", "0" }, { "C", "5", "10" } });
    w->CooperClick();
    QPointer<QWidget> cooper = w->cooperWindow();
    ASSERT_NE(cooper, nullptr);
    // A place added and completed while the allocation window is open.
    type("Edit1", "1");
    QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
    type("Edit2", "D");
    type("Edit3", "7");
    type("Edit4", "3");
    QTest::mouseClick(entry<QPushButton>("OKButton3"), Qt::LeftButton);
    ASSERT_TRUE(state().PlacesComplete);
    ASSERT_TRUE(w->cooperWindowOpen());

    // "Nový": the old project goes, and with it the window that shows its allocation.
    answerEntryCloseYes();
    w->projectFiles().NovyVUClick();
    flushDeletes();
    EXPECT_EQ(cooper, nullptr);
    EXPECT_FALSE(w->cooperWindowOpen());
    int allocationWindows = 0;
    for (QMdiSubWindow* sub : w->mdiArea()->subWindowList())
        allocationWindows += qobject_cast<TCooperAlokMetod*>(sub->widget()) != nullptr;
    EXPECT_EQ(allocationWindows, 0);
}

TEST_F(ProjectCommands, ListRestartedAtPlaceOneIsNotSavedEmpty)
{
    w->projectFiles().NovyVUClick();
    type("Edit1", "3");
    QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
    for (const auto& [name, x, y] : { std::tuple { "A", "0", "0" }, std::tuple { "B", "5", "5" } }) {
        type("Edit2", name);
        type("Edit3", x);
        type("Edit4", y);
        QTest::mouseClick(entry<QPushButton>("OKButton3"), Qt::LeftButton);
    }
    // A new count starts the list again at place 1: nothing is entered now.
    type("Edit1", "2");
    QTest::keyClick(entry<QLineEdit>("Edit1"), Qt::Key_Return);
    ASSERT_EQ(state().NextPlace, 1);
    dialogs.shown.clear();
    dialogs.fileAnswers.push_back(path("empty"));
    w->saving().UlozAkoVUClick();
    EXPECT_EQ(dialogs.texts("warn"), QStringList { u("Nesmú byť všetky rovnaké SÚRADNICE !!!") });
    EXPECT_TRUE(dialogs.texts("save").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("empty.mzd")));
}
