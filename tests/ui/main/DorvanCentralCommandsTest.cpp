#include "MainWindowTestSupport.h"
#include "core/project/ProjectDocument.h"

#include "ui/common/QtTranslations.h"
#include "ui/help/Pomoc_Napoveda.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPageSize>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using dorvan::test::control;
using dorvan::test::EntryCloseAnswer;
using MainWindow = dorvan::test::MainWindowFixture;

namespace {

const QString title = u"Program DORVAN verzia 2.0"_s;

QMdiSubWindow* frameOf(QWidget* w)
{
    return w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
}

} // namespace

TEST_F(MainWindow, NewRightAfterStartOpensAnEmptyEntryWindowAndKeepsTheCaption)
{
    w->setStatusPanelText(1, u"ZMENENÉ HODNOTY !!!"_s);
    auto& r = w->project().Record;
    r.PlacesPerGroup = 7;
    r.CriterionOn[3] = 1;
    r.CriterionOn[0] = 1;

    action("NovyVU")->trigger();

    TVstupUdajov* entry = w->entryWindow();
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(frameOf(entry), nullptr);
    EXPECT_TRUE(frameOf(entry)->isMaximized());
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(w->caption(), title);
    EXPECT_EQ(w->statusPanelText(1), QString());
    EXPECT_TRUE(dialogs.shown.empty());

    EXPECT_TRUE(on("UlozAkoVU") && on("Tlacit") && on("Zatvor"));
    EXPECT_TRUE(button("ToolButton4")->isEnabled() && button("ToolButton5")->isEnabled());
    EXPECT_FALSE(on("Cooper") || w->commandStates().networkItemEnabled());
    EXPECT_TRUE(modeSwitch<QGroupBox>("GroupBox1")->isEnabled());
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton1")->isEnabled());
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton2")->isEnabled());
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(modeSwitch<QRadioButton>("RadioButton2")->isChecked());

    const auto& s = state();
    EXPECT_TRUE(w->entryWindowOpen());
    EXPECT_FALSE(s.AddPlacesMode);
    EXPECT_TRUE(s.FirstEntryMode);
    EXPECT_EQ(s.NextPlace, 1);
    EXPECT_FALSE(s.PlacesComplete);
    EXPECT_TRUE(s.EntryStarted);
    EXPECT_FALSE(s.EntryClosable);
    EXPECT_EQ(s.PlaceCount, 0);
    EXPECT_EQ(w->helpWindow(), nullptr);
    // The reset of "Nový": speed 0, places per group kept, no criterion ticked.
    EXPECT_EQ(r.VehicleSpeed, 0.0);
    EXPECT_EQ(r.PlacesPerGroup, 7);
    EXPECT_EQ(r.CriterionOn[3], 0);
    EXPECT_EQ(r.CriterionOn[0], 0);

    // The window opens on the manual-entry page with the picture page hidden.
    auto* pages = control<QTabWidget>(entry, "PageControl1");
    EXPECT_EQ(pages->currentWidget(), control<QWidget>(entry, "List1"));
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(control<QWidget>(entry, "List1"))));
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(control<QWidget>(entry, "TabSheet19"))));
    EXPECT_FALSE(w->pictureMode());
}

TEST_F(MainWindow, NewWithAProjectOpenClosesTheEntryWindowFirst)
{
    action("NovyVU")->trigger();
    QPointer<TVstupUdajov> first = w->entryWindow();
    ASSERT_NE(first, nullptr);

    // A project with a picture, as after opening.
    auto& r = w->project().Record;
    r.PictureWidth = 4;
    r.PictureHeight = 3;
    r.MapRangeX = 100;
    r.MapRangeY = 50;
    r.VehicleSpeed = 60.0;
    w->project().MapPicture.resize(4, 3);
    state().MapPictureOwned = true;
    state().AddPlacesMode = true;
    state().NextPlace = 9;
    w->setStatusPanelText(1, u"ZMENENÉ HODNOTY !!!"_s);
    modeSwitch<QRadioButton>("RadioButton2")->setChecked(true);

    // The user keeps the window: nothing changes.
    {
        EntryCloseAnswer no(*w, false);
        action("NovyVU")->trigger();
        EXPECT_EQ(no.asked, 1);
    }
    EXPECT_EQ(w->entryWindow(), first.data());
    EXPECT_EQ(w->caption(), title);
    EXPECT_EQ(r.VehicleSpeed, 60.0);
    EXPECT_EQ(r.PictureWidth, 4);
    EXPECT_TRUE(state().MapPictureOwned);
    EXPECT_EQ(state().NextPlace, 9);
    EXPECT_EQ(w->statusPanelText(1), u"ZMENENÉ HODNOTY !!!"_s);

    // The user lets it close: a new, empty window.
    {
        EntryCloseAnswer yes(*w, true);
        action("NovyVU")->trigger();
        EXPECT_EQ(yes.asked, 1);
    }
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(w->entryWindow(), nullptr);
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(w->caption(), title + u" - Novy.mzd"_s);
    EXPECT_EQ(w->statusPanelText(1), QString());
    EXPECT_EQ(r.PictureWidth, 0);
    EXPECT_EQ(r.PictureHeight, 0);
    EXPECT_EQ(r.MapRangeX, 0);
    EXPECT_EQ(r.MapRangeY, 0);
    EXPECT_EQ(r.VehicleSpeed, 0.0);
    EXPECT_FALSE(state().MapPictureOwned);
    EXPECT_TRUE(w->project().MapPicture.empty());
    EXPECT_FALSE(state().AddPlacesMode);
    EXPECT_TRUE(w->entryWindowOpen());
    EXPECT_EQ(state().NextPlace, 1);
    // Closing switched everything off; "Nový" switched its items back on.
    EXPECT_TRUE(on("UlozAkoVU") && on("Tlacit") && on("Zatvor"));
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(modeSwitch<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton2")->isEnabled());
}

TEST_F(MainWindow, NewAsksTheRealEntryWindowToCloseWithNoPreselected)
{
    action("NovyVU")->trigger();
    QPointer<TVstupUdajov> first = w->entryWindow();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(dialogs.shown.empty());

    dialogs.confirmAnswers = { false };
    action("NovyVU")->trigger();
    ASSERT_EQ(dialogs.texts("confirm"), QStringList { u"Zavrieť \"Zadávanie údajov\" ?!!"_s });
    EXPECT_FALSE(dialogs.shown.back().defaultYes);
    EXPECT_EQ(w->entryWindow(), first.data());
    EXPECT_FALSE(state().EntryWindowClosed);

    dialogs.confirmAnswers = { true };
    action("NovyVU")->trigger();
    EXPECT_EQ(dialogs.texts("confirm").size(), 2);
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(w->entryWindow(), nullptr);
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(w->caption(), title + u" - Novy.mzd"_s);
    EXPECT_TRUE(on("UlozAkoVU") && on("Zatvor"));
    flushDeletes();
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
}

TEST_F(MainWindow, NewWithNoProjectLeavesAnOpenHelpWindowCounted)
{
    action("Pomoc")->trigger();
    ASSERT_NE(w->helpWindow(), nullptr);
    action("NovyVU")->trigger();
    action("Pomoc")->trigger();
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 2); // help and data entry, one each
}

TEST_F(MainWindow, CloseRightAfterNewDoesNothing)
{
    action("NovyVU")->trigger();
    QPointer<TVstupUdajov> entry = w->entryWindow();
    EntryCloseAnswer watch(*w, true);
    action("Zatvor")->trigger();
    EXPECT_EQ(watch.asked, 0);
    EXPECT_EQ(w->entryWindow(), entry.data());
    EXPECT_TRUE(on("UlozAkoVU"));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindow, CloseOfACompleteListAsksTheEntryWindow)
{
    action("NovyVU")->trigger();
    state().EntryClosable = true;
    w->setCaption(title + u" - a.mzd"_s);
    w->setStatusPanelText(1, u"ZMENENÉ HODNOTY !!!"_s);

    // Kept: the project stays as it was.
    {
        EntryCloseAnswer no(*w, false);
        action("Zatvor")->trigger();
        EXPECT_EQ(no.asked, 1);
    }
    EXPECT_NE(w->entryWindow(), nullptr);
    EXPECT_TRUE(on("UlozAkoVU"));
    EXPECT_EQ(w->caption(), title + u" - a.mzd"_s);

    {
        EntryCloseAnswer yes(*w, true);
        action("Zatvor")->trigger();
        EXPECT_EQ(yes.asked, 1);
    }
    EXPECT_EQ(w->entryWindow(), nullptr);
    EXPECT_FALSE(on("UlozAkoVU"));
    EXPECT_EQ(w->statusPanelText(1), QString());
    EXPECT_EQ(w->caption(), title);
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 0);
}

TEST_F(MainWindow, ModeRadioButtonsSwitchTheEntryPages)
{
    action("NovyVU")->trigger();
    TVstupUdajov* entry = w->entryWindow();
    ASSERT_NE(entry, nullptr);
    auto* pages = control<QTabWidget>(entry, "PageControl1");
    QWidget* list1 = control<QWidget>(entry, "List1");
    QWidget* sheet19 = control<QWidget>(entry, "TabSheet19");
    ASSERT_EQ(pages->indexOf(list1), 0);
    ASSERT_EQ(pages->indexOf(sheet19), 4);

    // The picture switch trades the manual-entry page for the picture page and tells the
    // project; the criteria pages keep their tabs.
    modeSwitch<QRadioButton>("RadioButton2")->click();
    EXPECT_TRUE(w->pictureMode());
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(sheet19)));
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(list1)));
    EXPECT_EQ(pages->currentWidget(), sheet19);
    EXPECT_TRUE(pages->isTabVisible(1));
    EXPECT_TRUE(control<QWidget>(entry, "Image1")->isVisibleTo(entry));

    modeSwitch<QRadioButton>("RadioButton1")->click();
    EXPECT_FALSE(w->pictureMode());
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(sheet19)));
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(list1)));
    EXPECT_EQ(pages->currentWidget(), list1);
    EXPECT_EQ(entry->focusWidget(), control<QLineEdit>(entry, "Edit1"));

    // The same from the frame's own calls, as opening a project uses them.
    w->dataMode().set(true);
    w->dataMode().show(true);
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_FALSE(modeSwitch<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_EQ(pages->currentIndex(), 4);
    w->dataMode().set(false);
    w->dataMode().show(false);
    EXPECT_TRUE(modeSwitch<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(sheet19)));
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(list1)));
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(MainWindow, WindowMenuListsArrangesAndClosesChildWindows)
{
    w->resize(1000, 800);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    action("Pomoc")->trigger();
    action("NovyVU")->trigger();
    QMdiArea* area = w->mdiArea();
    ASSERT_EQ(area->subWindowList().size(), 2);
    QMdiSubWindow* helpFrame = frameOf(w->helpWindow());
    QMdiSubWindow* entryFrame = frameOf(w->entryWindow());
    ASSERT_TRUE(helpFrame && entryFrame);

    // The window list: one entry per child, the active one checked.
    auto* menu = child<QMenu>("Okna1");
    emit menu->aboutToShow();
    QList<QAction*> items;
    for (QAction* a : menu->actions())
        if (a->objectName().startsWith(u"WindowListItem"_s))
            items << a;
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->text().startsWith(u"&1 "_s));
    EXPECT_TRUE(items[1]->isChecked());
    items[0]->trigger();
    EXPECT_EQ(area->activeSubWindow(), helpFrame);

    const QRect client = area->viewport()->rect();
    action("HorizontalOkno")->trigger();
    for (QMdiSubWindow* f : { helpFrame, entryFrame }) {
        EXPECT_FALSE(f->isMaximized());
        EXPECT_EQ(f->geometry().width(), client.width());
        EXPECT_EQ(f->geometry().left(), 0);
    }
    EXPECT_EQ(std::min(helpFrame->y(), entryFrame->y()), 0);
    EXPECT_EQ(std::max(helpFrame->y(), entryFrame->y()), client.height() / 2);
    EXPECT_EQ(helpFrame->height() + entryFrame->height(), client.height());

    action("VertikalOkno")->trigger();
    for (QMdiSubWindow* f : { helpFrame, entryFrame }) {
        EXPECT_EQ(f->geometry().height(), client.height());
        EXPECT_EQ(f->geometry().top(), 0);
    }
    EXPECT_EQ(std::max(helpFrame->x(), entryFrame->x()), client.width() / 2);
    EXPECT_EQ(helpFrame->width() + entryFrame->width(), client.width());

    action("MinimalOkno")->trigger();
    EXPECT_TRUE(helpFrame->isMinimized() && entryFrame->isMinimized());
    helpFrame->move(300, 100);
    action("UsporiadatOkno")->trigger();
    EXPECT_EQ(helpFrame->geometry().bottom(), client.bottom());
    EXPECT_EQ(entryFrame->geometry().bottom(), client.bottom());
    EXPECT_EQ(std::min(helpFrame->x(), entryFrame->x()), 0);

    // "Zavrieť okno" closes the active one.
    entryFrame->showNormal();
    area->setActiveSubWindow(entryFrame);
    {
        EntryCloseAnswer yes(*w, true);
        action("ZavrietOkno")->trigger();
    }
    flushDeletes();
    EXPECT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(w->entryWindow(), nullptr);
    EXPECT_TRUE(on("ZavrietOkno"));
}

// A child window with a text field and a button, to move the focus around.
struct FocusPanel {
    QWidget* widget = new QWidget;
    QLineEdit* edit = new QLineEdit(widget);
    QPushButton* push = new QPushButton(u"x"_s, widget);
    FocusPanel()
    {
        auto* l = new QVBoxLayout(widget);
        l->addWidget(edit);
        l->addWidget(push);
        push->setFocusPolicy(Qt::StrongFocus);
    }
};

TEST_F(MainWindow, CtrlZUndoesInATextFieldAndClosesElsewhere)
{
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    action("NovyVU")->trigger(); // "Zavrieť" on
    FocusPanel panel;
    w->addChildWindow(panel.widget);
    ASSERT_TRUE(on("Zatvor"));
    QSignalSpy closeSpy(action("Zatvor"), &QAction::triggered);
    QSignalSpy undoSpy(action("KrokSpat"), &QAction::triggered);

    panel.edit->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), panel.edit);
    EXPECT_TRUE(on("KrokSpat") && on("OznacVsetko") && on("Vlozit") && on("Kopiruj") && on("Vystrihni")
        && on("Zmazat"));
    EXPECT_TRUE(button("ToolButton6")->isEnabled());
    QTest::keyClicks(panel.edit, u"abc"_s);
    QTest::keyClick(panel.edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(panel.edit->text(), QString());
    EXPECT_EQ(closeSpy.count(), 0);

    panel.push->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), panel.push);
    EXPECT_FALSE(on("KrokSpat") || on("Kopiruj") || on("Zmazat"));
    QTest::keyClick(panel.push, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(closeSpy.count(), 1);
    EXPECT_EQ(undoSpy.count(), 0);

    // A read-only field leaves Ctrl+Z to the menu, where both items would claim it: the text
    // field with the focus decides for "&Undo".
    panel.edit->setReadOnly(true);
    panel.edit->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), panel.edit);
    QTest::keyClick(panel.edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undoSpy.count(), 1);
    EXPECT_EQ(closeSpy.count(), 1);

    // A field with nothing of its own left to take back passes Ctrl+Z on to the project's
    // undo (a text set anew has no history).
    panel.edit->setReadOnly(false);
    panel.edit->setText(QString());
    dorvan::Project& project = w->project();
    const std::int32_t vehicles = project.Record.VehicleCount;
    dorvan::ProjectDocument(project).execute(
        dorvan::EditCommand { .name = "Hodnota" }, [&] { project.Record.VehicleCount = vehicles + 3; });
    ASSERT_TRUE(on("KrokSpat"));
    QTest::keyClick(panel.edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(project.Record.VehicleCount, vehicles);
    EXPECT_EQ(undoSpy.count(), 2);
    EXPECT_EQ(closeSpy.count(), 1);
}

TEST_F(MainWindow, EditCommandsActOnTheFocusedTextField)
{
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    FocusPanel panel;
    w->addChildWindow(panel.widget);
    panel.edit->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), panel.edit);
    QTest::keyClicks(panel.edit, u"Bratislava"_s);

    action("OznacVsetko")->trigger();
    EXPECT_EQ(panel.edit->selectedText(), u"Bratislava"_s);
    action("Kopiruj")->trigger();
    action("Zmazat")->trigger();
    EXPECT_EQ(panel.edit->text(), QString());
    action("KrokSpat")->trigger();
    EXPECT_EQ(panel.edit->text(), u"Bratislava"_s);
    panel.edit->setCursorPosition(0);
    panel.edit->setSelection(0, 5);
    action("Vystrihni")->trigger();
    EXPECT_EQ(panel.edit->text(), u"slava"_s);
    panel.edit->setCursorPosition(5);
    action("Vlozit")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), u"Brati"_s);
    EXPECT_EQ(panel.edit->text(), u"slavaBrati"_s);

    // The menu keeps acting on the field while the menu itself has the focus.
    auto* menu = child<QMenu>("Upravy");
    menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_TRUE(on("KrokSpat"));
    menu->close();
}

namespace {

struct PdfPrinting {
    QTemporaryDir dir;
    QString chosen() const { return dir.filePath(u"tlac.pdf"_s); }
    void install(dorvan::test::ScriptedDialogs& d) const
    {
        const QString name = chosen();
        d.preparePrinter = [name](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(name);
        };
    }
    static bool isPdf(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) && f.size() > 100 && f.read(5) == "%PDF-";
    }
};

} // namespace

TEST_F(MainWindow, PrintingMakesOneJobPerActiveWindow)
{
    w->resize(900, 700);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    PdfPrinting pdf;
    pdf.install(dialogs);
    action("NovyVU")->trigger();
    ASSERT_TRUE(on("Tlacit"));
    ASSERT_EQ(w->mdiArea()->activeSubWindow(), frameOf(w->entryWindow()));

    QSignalSpy jobs(&w->reports(), &ReportCommands::printJobDone);
    dialogs.printerAnswers = { true };
    action("Tlacit")->trigger();
    ASSERT_EQ(jobs.count(), 2);
    EXPECT_EQ(jobs[0][0].toString(), w->entryWindow()->objectName());
    EXPECT_EQ(jobs[0][1].toString(), pdf.chosen());
    EXPECT_EQ(jobs[1][0].toString(), w->objectName());
    EXPECT_EQ(jobs[1][1].toString(), pdf.dir.filePath(u"tlac-2.pdf"_s));
    EXPECT_TRUE(PdfPrinting::isPdf(pdf.chosen()));
    EXPECT_TRUE(PdfPrinting::isPdf(pdf.dir.filePath(u"tlac-2.pdf"_s)));

    // With another child window active only the main window is printed.
    action("Pomoc")->trigger();
    ASSERT_EQ(w->mdiArea()->activeSubWindow(), frameOf(w->helpWindow()));
    QFile::remove(pdf.chosen());
    jobs.clear();
    dialogs.printerAnswers = { true };
    button("ToolButton5")->click();
    ASSERT_EQ(jobs.count(), 1);
    EXPECT_EQ(jobs[0][0].toString(), w->objectName());
    EXPECT_TRUE(PdfPrinting::isPdf(pdf.chosen()));

    // Cancelled: nothing.
    QFile::remove(pdf.chosen());
    jobs.clear();
    dialogs.printerAnswers = { false };
    action("Tlacit")->trigger();
    EXPECT_EQ(jobs.count(), 0);
    EXPECT_FALSE(QFile::exists(pdf.chosen()));
    EXPECT_EQ(dialogs.texts("printer").size(), 3);
    EXPECT_TRUE(dialogs.texts("error").isEmpty());
}

TEST_F(MainWindow, PrintingScalesAWindowDownOnlyWhenItDoesNotFitThePage)
{
    struct Case {
        QSizeF onScreen;
        double dotsPerPixel;
        QSizeF printable;
        QSizeF expected;
    };
    const Case cases[] = {
        { { 100, 50 }, 2.0, { 1000, 1000 }, { 200, 100 } }, // fits: its size on the screen
        { { 500, 500 }, 2.0, { 1000, 1000 }, { 1000, 1000 } }, // exactly fits
        { { 1000, 500 }, 2.0, { 1000, 1000 }, { 1000, 500 } }, // too wide: halved
        { { 300, 900 }, 2.0, { 1000, 1200 }, { 400, 1200 } }, // too tall: 600 x 1800 to 2/3
    };
    for (const Case& c : cases)
        EXPECT_EQ(printedSize(c.onScreen, c.dotsPerPixel, c.printable), c.expected) << c.onScreen.width();

    // Real jobs to a PDF on A4 paper.
    PdfPrinting pdf;
    QSizeF printable;
    double resolution = 0;
    const QString file = pdf.chosen();
    dialogs.preparePrinter = [&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file);
        p.setPageSize(QPageSize(QPageSize::A4));
        printable = p.pageLayout().paintRectPixels(p.resolution()).size();
        resolution = p.resolution();
    };
    QSignalSpy jobs(&w->reports(), &ReportCommands::printJobDone);
    const auto printFrame = [&](QSize size) {
        w->resize(size);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        jobs.clear();
        dialogs.printerAnswers = { true };
        w->reports().TlacitClick(); // the frame alone is active
        EXPECT_EQ(jobs.count(), 1);
        EXPECT_TRUE(PdfPrinting::isPdf(file));
        return jobs.isEmpty() ? QSizeF() : jobs[0][2].toSizeF();
    };

    // A 1600-pixel-wide window is scaled down to the printable width, its proportions kept.
    const QSizeF wide = printFrame(QSize(1600, 900));
    ASSERT_GT(printable.width(), 0);
    const double fullWidth = w->width() * resolution / w->logicalDpiX();
    ASSERT_GT(fullWidth, printable.width()); // it would not fit as it is
    EXPECT_NEAR(wide.width(), printable.width(), 0.5);
    EXPECT_LE(wide.height(), printable.height() + 0.5);
    EXPECT_NEAR(wide.width() / wide.height(), double(w->width()) / w->height(), 0.01);

    // A window that fits keeps its size on paper.
    const QSizeF small = printFrame(QSize(500, 400));
    const double dotsPerPixel = resolution / w->logicalDpiX();
    EXPECT_NEAR(small.width(), w->width() * dotsPerPixel, 0.5);
    EXPECT_NEAR(small.height(), w->height() * dotsPerPixel, 0.5);
}

TEST(QtTexts, MessageBoxButtonsSpeakSlovakOnceQtsTranslationsAreLoaded)
{
    QTranslator* translator = dorvan::installQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Slovak translations (qt6-translations-l10n) are missing";
    QMessageBox box(
        QMessageBox::Warning, u"DORVAN"_s, u"Skončiť program ?!!"_s, QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text().remove(u'&');
    const QString no = box.button(QMessageBox::No)->text().remove(u'&');
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_EQ(yes, u"Áno"_s);
    EXPECT_EQ(no, u"Nie"_s);
}
