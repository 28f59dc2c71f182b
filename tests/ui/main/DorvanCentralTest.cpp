#include "MainWindowTestSupport.h"

#include "ui/help/Pomoc_Napoveda.h"
#include "ui/help/Program_Autori.h"
#include "ui/main/StatusBar_DrawPanel.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDialog>
#include <QGroupBox>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTime>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;
using dorvan::test::EntryCloseAnswer;
using MainWindow = dorvan::test::MainWindowFixture;

namespace {

struct ItemSpec {
    const char* name;
    QString caption;
    QKeySequence shortcut;
    QString hint;
    bool enabled;
    bool visible;
};

} // namespace

TEST_F(MainWindow, StartsWithEveryMenuItemAsListed)
{
    EXPECT_EQ(w->windowTitle(), u"Program DORVAN verzia 2.0"_s);
    EXPECT_EQ(w->caption(), u"Program DORVAN verzia 2.0"_s);
    EXPECT_EQ(state().ProgramTitle, "Program DORVAN verzia 2.0");

    const QKeySequence none;
    const ItemSpec items[] = {
        { "NovyVU", u"Nový"_s, QKeySequence("Ctrl+N"), {}, true, true },
        { "OtvorVU", u"Otvor ako ..."_s, QKeySequence("Ctrl+O"), {}, true, true },
        { "UlozAkoVU", u"Ulož ako ..."_s, QKeySequence("Ctrl+S"), {}, false, true },
        { "ImportujMiesta", u"Importovať miesta ..."_s, none,
            u"Miesta zo zoznamu so zemepisnou šírkou a dĺžkou alebo so súradnicami X, Y"_s, true, true },
        // Only while the data-entry window holds a complete list.
        { "ImportujVzdialenosti", u"Importovať vzdialenosti ..."_s, none,
            u"Reálne vzdialenosti medzi miestami zo súboru CSV alebo z tabuľky smerovacieho servera (JSON)"_s,
            false, true },
        // Only while an allocation window shows a result.
        { "ExportujVysledok", u"Exportovať výsledok ..."_s, none, u"Výsledok do súboru GeoJSON alebo CSV"_s,
            false, true },
        { "KopirovatVysledok", u"Kopírovať výsledok"_s, none,
            u"Miesta a výsledok do schránky ako tabuľka pre tabuľkový procesor"_s, false, true },
        { "ZostavaPdf", u"Zostava (PDF) ..."_s, none, u"Zostava výsledku do súboru PDF"_s, false, true },
        { "TlacitZostavu", u"Tlačiť zostavu ..."_s, none, u"Zostava výsledku na tlačiareň"_s, false, true },
        { "Tlacit", u"Tlačiť"_s, QKeySequence("Ctrl+T"), {}, false, true },
        { "Zatvor", u"Zavrieť"_s, QKeySequence("Ctrl+Z"), u"Zatvor súbor"_s, false, true },
        { "Koniec", u"Koniec"_s, QKeySequence("Ctrl+K"), {}, true, true },
        // The edit items follow the focused text field; none has the focus at start.
        { "KrokSpat", u"&Undo"_s, QKeySequence("Ctrl+Z"), u"Krok späť"_s, false, true },
        { "OznacVsetko", u"Select &All"_s, QKeySequence("Ctrl+A"), u"Vyber, označ všetko"_s, false, true },
        { "Vlozit", u"&Paste"_s, QKeySequence("Ctrl+V"), u"Vložiť"_s, false, true },
        { "Kopiruj", u"&Copy"_s, QKeySequence("Ctrl+C"), u"Kopírovať"_s, false, true },
        { "Vystrihni", u"Cu&t"_s, QKeySequence("Ctrl+X"), u"Vystrihnúť"_s, false, true },
        { "Zmazat", u"&Delete"_s, QKeySequence("Del"), u"Zmazať"_s, false, true },
        { "Cooper", u"Riešenie DORVAN"_s, none, {}, false, true },
        { "PomerIndex", u"Pomerovo indexová metóda - Metóda zváženej sumy"_s, none, {}, false, false },
        { "KvadratGraf", u"Metóda kvadratického grafu"_s, none, {}, false, false },
        { "Siete", u"Metódy návrhu distribučných sietí"_s, none, {}, false, false },
        { "KaskadaOkno", u"&Kaskáda"_s, none, u"Kaskádové usporiadanie"_s, false, true },
        { "HorizontalOkno", u"Horizontál"_s, none, u"Horizontálne usporiadanie"_s, false, true },
        { "VertikalOkno", u"Vertikál"_s, none, u"Vertikálne usporiadanie"_s, false, true },
        { "UsporiadatOkno", u"&Arrange"_s, none, {}, false, true },
        { "MinimalOkno", u"&Minimalizovanie"_s, none, u"Minimalizovať všetko"_s, false, true },
        { "ZavrietOkno", u"Z&avrieť okno"_s, none, u"Zavrieť aktívne okno"_s, false, true },
        { "Pomoc", u"Pomoc"_s, QKeySequence("F1"), u"Poradenstvo"_s, true, true },
        { "Autori", u"&Program"_s, none, u"Autor, autorské práva"_s, true, true },
    };
    for (const ItemSpec& it : items) {
        SCOPED_TRACE(it.name);
        QAction* a = action(it.name);
        EXPECT_EQ(a->text(), it.caption);
        EXPECT_EQ(a->shortcut(), it.shortcut);
        EXPECT_EQ(a->statusTip(), it.hint);
        EXPECT_EQ(a->isEnabled(), it.enabled);
        EXPECT_EQ(a->isVisible(), it.visible);
    }

    const std::pair<const char*, QString> menus[] = {
        { "Subor", u"Súbor"_s },
        { "Upravy", u"Úpravy"_s },
        { "Metody", u"Metódy"_s },
        { "Okna1", u"Okná"_s },
        { "ProgramPomoc", u"O programe"_s },
    };
    QList<QAction*> barActions = w->menuBar()->actions();
    ASSERT_EQ(barActions.size(), 5);
    for (int i = 0; i < 5; ++i) {
        auto* m = child<QMenu>(menus[i].first);
        EXPECT_EQ(m->title(), menus[i].second);
        EXPECT_EQ(barActions[i], m->menuAction());
    }
    // Menu order within "Súbor".
    QStringList fileItems;
    for (QAction* a : child<QMenu>("Subor")->actions())
        fileItems << a->objectName();
    EXPECT_EQ(fileItems,
        QStringList(
            { "NovyVU", "OtvorVU", "UlozAkoVU", "ImportujMiesta", "ImportujVzdialenosti", "ExportujVysledok",
                "KopirovatVysledok", "ZostavaPdf", "TlacitZostavu", "Tlacit", "Zatvor", "Koniec" }));

    auto* timer = child<QTimer>("Timer1");
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());

    EXPECT_TRUE(w->aboutBox() != nullptr && !w->aboutBox()->isVisible());
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 0);
}

TEST_F(MainWindow, ToolbarButtonsAndModeSwitchStartAsListed)
{
    auto* bar = child<QToolBar>("ToolBar1");
    EXPECT_EQ(bar->height(), 35);
    struct B {
        const char* name;
        QString hint;
        bool enabled;
        QSize icon;
    };
    const B buttons[] = {
        { "ToolButton1", u"Nový súbor"_s, true, { 24, 24 } },
        { "ToolButton2", u"Otvor súbor"_s, true, { 24, 24 } },
        { "ToolButton4", u"Ulož súbor"_s, false, { 24, 24 } },
        { "ToolButton5", u"Tlač"_s, false, { 24, 24 } },
        { "ToolButton6", u"Vložiť"_s, false, { 24, 24 } },
        { "ToolButton8", u"Kopírovať"_s, false, { 24, 24 } },
        { "ToolButton9", u"Vystrihnúť"_s, false, { 24, 24 } },
        { "ToolButton11", u"Kaskádové usporiadanie"_s, false, { 24, 24 } },
        { "ToolButton12", u"Horizontálne usporiadanie"_s, false, { 24, 24 } },
        { "ToolButton13", u"Vertikálne usporiadanie"_s, false, { 24, 24 } },
        { "ToolButton15", u"Zavrieť aktívne okno"_s, false, { 24, 24 } },
        { "ToolButton23", u"Koniec programu"_s, true, { 24, 24 } },
    };
    for (const B& b : buttons) {
        SCOPED_TRACE(b.name);
        QToolButton* t = button(b.name);
        // The hint is both the status text and the tooltip.
        EXPECT_EQ(t->statusTip(), b.hint);
        EXPECT_EQ(t->toolTip(), b.hint);
        EXPECT_EQ(t->isEnabled(), b.enabled);
        EXPECT_EQ(t->iconSize(), b.icon);
        EXPECT_EQ(t->size(), QSize(31, 30));
        EXPECT_FALSE(t->icon().pixmap(24, 24).isNull());
    }
    for (const char* spacer : { "ToolButton17", "ToolButton18", "ToolButton20", "ToolButton21" })
        EXPECT_FALSE(button(spacer)->isEnabled()) << spacer;
    for (const char* sep : { "ToolButton3", "ToolButton7", "ToolButton10", "ToolButton14", "ToolButton16",
             "ToolButton19", "ToolButton22" })
        EXPECT_TRUE(action(sep)->isSeparator()) << sep;

    auto* group = modeSwitch<QGroupBox>("GroupBox1");
    auto* r1 = modeSwitch<QRadioButton>("RadioButton1");
    auto* r2 = modeSwitch<QRadioButton>("RadioButton2");
    EXPECT_EQ(group->statusTip(), u"Výber režimu zadávania dát"_s);
    EXPECT_EQ(r1->text(), u"Dáta - RUČNE"_s);
    EXPECT_EQ(r2->text(), u"Dáta - OBRÁZOK"_s);
    EXPECT_TRUE(r1->isChecked());
    EXPECT_FALSE(r2->isChecked());
    EXPECT_FALSE(group->isEnabled());
    EXPECT_FALSE(r1->isEnabled());
    EXPECT_FALSE(r2->isEnabled());
    EXPECT_EQ(group->parentWidget(), bar);

    auto* status = child<PanelStatusBar>("StatusBar1");
    EXPECT_EQ(status, w->statusPanels());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w->statusPanelText(i), QString()) << i;
}

TEST_F(MainWindow, ClockShowsSystemShortDateAndLongTime)
{
    const QDate before = QDate::currentDate();
    w->status().onClockTick();
    const QDate after = QDate::currentDate();
    const QString text = w->statusPanelText(0);
    const QLocale sys = QLocale::system();
    const QString d1 = sys.toString(before, QLocale::ShortFormat);
    const QString d2 = sys.toString(after, QLocale::ShortFormat);
    const QString head1 = u" "_s + d1 + u"  -  "_s;
    const QString head2 = u" "_s + d2 + u"  -  "_s;
    ASSERT_TRUE(text.startsWith(head1) || text.startsWith(head2)) << text.toStdString();
    const QString time = text.mid((text.startsWith(head1) ? head1 : head2).size());
    // Hours, minutes and seconds, as the long time format has them; no time zone.
    const QRegularExpression clock(u"^\\D*\\d{1,2}\\D+\\d{2}\\D+\\d{2}\\D*$"_s);
    EXPECT_TRUE(clock.match(time).hasMatch()) << time.toStdString();
    const QString zone = QDateTime::currentDateTime().timeZoneAbbreviation();
    if (!zone.isEmpty()) {
        EXPECT_FALSE(time.endsWith(zone)) << time.toStdString();
    }
    EXPECT_EQ(w->statusPanelText(1), QString());
}

TEST_F(MainWindow, HintsOfToolbarButtonsAndMenuItemsGoToPanel2)
{
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QToolButton* b1 = button("ToolButton1");
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(b1, &enter);
    EXPECT_EQ(w->statusPanelText(2), u"Nový súbor"_s);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(b1, &leave);
    EXPECT_EQ(w->statusPanelText(2), QString());
    // The rest of the bar is untouched by a hint.
    w->setStatusPanelText(1, u"x"_s);
    QCoreApplication::sendEvent(button("ToolButton23"), &enter);
    EXPECT_EQ(w->statusPanelText(2), u"Koniec programu"_s);
    EXPECT_EQ(w->statusPanelText(1), u"x"_s);

    // A menu item under the mouse.
    auto* menu = child<QMenu>("ProgramPomoc");
    w->menuBar()->setActiveAction(menu->menuAction());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseMove(menu, menu->actionGeometry(action("Pomoc")).center());
    EXPECT_EQ(w->statusPanelText(2), u"Poradenstvo"_s);
    QTest::mouseMove(menu, menu->actionGeometry(action("Autori")).center());
    EXPECT_EQ(w->statusPanelText(2), u"Autor, autorské práva"_s);
    menu->close();
}

TEST_F(MainWindow, ExitAsksWithNoPreselectedAndNoKeepsRunning)
{
    w->show();
    dialogs.confirmAnswers = { false };
    EXPECT_FALSE(w->close());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, u"confirm"_s);
    EXPECT_EQ(dialogs.shown[0].text, u"Skončiť program ?!!"_s);
    EXPECT_FALSE(dialogs.shown[0].defaultYes);
    EXPECT_TRUE(w->isVisible());

    // "Koniec" and the toolbar button go the same way.
    dialogs.confirmAnswers = { false };
    action("Koniec")->trigger();
    EXPECT_TRUE(w->isVisible());
    dialogs.confirmAnswers = { false };
    button("ToolButton23")->click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dialogs.texts("confirm").size(), 3);

    dialogs.confirmAnswers = { true };
    action("Koniec")->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(dialogs.texts("confirm"), QStringList(4, u"Skončiť program ?!!"_s));
}

TEST_F(MainWindow, ExitWithChildWindowsOpenAsksOnlyTheExitQuestion)
{
    w->show();
    action("NovyVU")->trigger();
    action("Pomoc")->trigger();
    ASSERT_NE(w->entryWindow(), nullptr);
    ASSERT_NE(w->helpWindow(), nullptr);
    dialogs.confirmAnswers = { true };
    EXPECT_TRUE(w->close());
    EXPECT_EQ(dialogs.texts("confirm"), QStringList { u"Skončiť program ?!!"_s });
    // Nothing is written anywhere and the windows go with the frame.
    EXPECT_TRUE(dialogs.texts("save").isEmpty());
    QPointer<QWidget> entry = w->entryWindow();
    QPointer<QWidget> help = w->helpWindow();
    w.reset();
    EXPECT_TRUE(entry.isNull());
    EXPECT_TRUE(help.isNull());
    EXPECT_TRUE(dialogs.confirmAnswers.empty());
    EXPECT_EQ(dialogs.texts("confirm").size(), 1);
}

TEST_F(MainWindow, HelpOpensOnceAndAgainAfterItWasClosed)
{
    action("Pomoc")->trigger();
    QPointer<TPomocNapoveda> help = w->helpWindow();
    ASSERT_NE(help, nullptr);
    action("Pomoc")->trigger();
    EXPECT_EQ(w->helpWindow(), help.data());
    ASSERT_EQ(w->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(w->mdiArea()->subWindowList()[0]->widget(), help.data());
    // The window commands are there while a child window is.
    EXPECT_TRUE(on("KaskadaOkno"));
    EXPECT_TRUE(on("ZavrietOkno"));
    EXPECT_TRUE(button("ToolButton15")->isEnabled());

    // Closed by the user (who confirms it if asked).
    dialogs.confirmAnswers = { true };
    QPointer<QMdiSubWindow> frame = w->mdiArea()->subWindowList()[0];
    frame->close();
    flushDeletes();
    QCoreApplication::processEvents();
    flushDeletes();
    EXPECT_TRUE(help.isNull());
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(w->helpWindow(), nullptr);
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 0);
    EXPECT_FALSE(on("KaskadaOkno"));
    EXPECT_FALSE(on("ZavrietOkno"));
    for (const QString& t : dialogs.texts("confirm"))
        EXPECT_EQ(t, u"Zavrieť \"Pomoc - Nápovedu\" ?!!"_s);

    action("Pomoc")->trigger();
    ASSERT_NE(w->helpWindow(), nullptr);
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
}

TEST_F(MainWindow, HelpWindowDestroyedByItselfTakesItsFrameAlong)
{
    action("Pomoc")->trigger();
    QPointer<QMdiSubWindow> frame = w->mdiArea()->subWindowList().value(0);
    ASSERT_NE(frame, nullptr);
    delete w->helpWindow();
    QCoreApplication::processEvents();
    flushDeletes();
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(w->helpWindow(), nullptr);
    EXPECT_FALSE(on("HorizontalOkno"));
}

TEST_F(MainWindow, AboutBoxIsTheSameModalBoxEachTime)
{
    QList<QWidget*> seen;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, w.get(), [&seen] {
            QWidget* modal = QApplication::activeModalWidget();
            seen << modal;
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->reject();
        });
        action("Autori")->trigger();
    }
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], static_cast<QWidget*>(w->aboutBox()));
    EXPECT_EQ(seen[1], static_cast<QWidget*>(w->aboutBox()));
    EXPECT_FALSE(w->aboutBox()->isVisible());
}

TEST_F(MainWindow, EnabledStatesFollowTheEventTable)
{
    EntryHost& host = w->projectWindows();
    auto group = modeSwitch<QGroupBox>("GroupBox1");
    auto r1 = modeSwitch<QRadioButton>("RadioButton1");
    auto r2 = modeSwitch<QRadioButton>("RadioButton2");
    auto tb4 = button("ToolButton4");
    auto tb5 = button("ToolButton5");
    auto modeOn = [&] { return group->isEnabled() && r1->isEnabled() && r2->isEnabled(); };
    auto modeOff = [&] { return !group->isEnabled() && !r1->isEnabled() && !r2->isEnabled(); };

    w->commandStates().apply(MainEvent::NewProject);
    EXPECT_TRUE(on("UlozAkoVU") && on("Tlacit") && on("Zatvor") && tb4->isEnabled() && tb5->isEnabled());
    EXPECT_FALSE(on("Cooper") || w->commandStates().networkItemEnabled());
    EXPECT_TRUE(modeOn());

    host.entryFirstCountAccepted();
    EXPECT_TRUE(modeOff());
    EXPECT_TRUE(on("UlozAkoVU") && on("Tlacit") && on("Zatvor"));

    // Last place with all coordinates equal: only the network item.
    state().CoordsDiffer = false;
    host.entryLastPlaceEntered();
    EXPECT_TRUE(w->commandStates().networkItemEnabled());
    EXPECT_FALSE(on("Cooper"));
    EXPECT_FALSE(action("Siete")->isVisible());
    state().CoordsDiffer = true;
    host.entryLastPlaceEntered();
    EXPECT_TRUE(on("Cooper"));

    host.entrySettingsSwitched(false);
    EXPECT_FALSE(on("Cooper"));
    state().CoordsDiffer = false;
    host.entrySettingsSwitched(true);
    EXPECT_FALSE(on("Cooper"));
    state().CoordsDiffer = true;
    host.entrySettingsSwitched(true);
    EXPECT_TRUE(on("Cooper"));

    w->commandStates().apply(MainEvent::ProjectClosed);
    EXPECT_FALSE(on("UlozAkoVU"));
    EXPECT_TRUE(on("Tlacit") && on("Zatvor") && on("Cooper") && tb4->isEnabled());

    w->commandStates().apply(MainEvent::CooperOpened);
    EXPECT_TRUE(on("UlozAkoVU") && on("Tlacit") && on("Zatvor"));

    // Closing the data-entry window: everything off but the two toolbar buttons.
    w->setStatusPanelText(1, MainStatus::changedValuesText());
    w->setCaption(w->programTitle() + u" - a.mzd"_s);
    group->setEnabled(true);
    host.entryWindowClosed();
    EXPECT_FALSE(on("UlozAkoVU") || on("Tlacit") || on("Zatvor") || on("Cooper")
        || w->commandStates().networkItemEnabled());
    EXPECT_TRUE(tb4->isEnabled() && tb5->isEnabled());
    EXPECT_TRUE(modeOff());
    EXPECT_EQ(w->caption(), w->programTitle());
    EXPECT_EQ(w->statusPanelText(1), QString());

    w->commandStates().apply(MainEvent::OpenCompleted);
    EXPECT_TRUE(on("UlozAkoVU") && on("Tlacit") && on("Zatvor") && on("Cooper")
        && w->commandStates().networkItemEnabled());
    EXPECT_TRUE(tb4->isEnabled() && tb5->isEnabled());
    EXPECT_FALSE(r1->isEnabled() || r2->isEnabled());
    w->commandStates().apply(MainEvent::OpenCancelled);
    EXPECT_FALSE(on("UlozAkoVU") || on("Tlacit") || on("Zatvor") || tb4->isEnabled() || tb5->isEnabled());
    EXPECT_TRUE(on("Cooper") && w->commandStates().networkItemEnabled());

    w->commandStates().apply(MainEvent::ProgramStart);
    EXPECT_FALSE(on("Cooper") || w->commandStates().networkItemEnabled() || tb4->isEnabled());
    EXPECT_TRUE(modeOff());
    EXPECT_FALSE(action("Siete")->isVisible());
}

TEST_F(MainWindow, EntryWindowEventsReachTheStatusBarAndTheDataModeReachesTheProject)
{
    EntryHost& host = w->projectWindows();
    host.entryValuesChanged();
    EXPECT_EQ(w->statusPanelText(1), u"ZMENENÉ HODNOTY !!!"_s);

    // The mode switch sets the project's data mode and tells the project's windows.
    int told = 0;
    auto watching = w->project().Observers.observe([&](dorvan::ProjectChange what) {
        told += dorvan::has(what, dorvan::ProjectChange::DataMode) ? 1 : 0;
    });
    w->dataMode().show(true);
    EXPECT_TRUE(w->project().State.PictureMode);
    EXPECT_TRUE(w->pictureMode());
    w->dataMode().show(false);
    EXPECT_FALSE(w->project().State.PictureMode);
    EXPECT_EQ(told, 2);
}

TEST_F(MainWindow, SolutionCommandSetsFlagsOnceAndEnablesTheProjectCommands)
{
    state().CoordsDiffer = true;
    static_cast<EntryHost&>(w->projectWindows()).entryLastPlaceEntered();
    ASSERT_TRUE(on("Cooper"));
    state().FirstEntryMode = false;
    state().PlacesComplete = true;
    state().EntryStarted = false;
    action("Cooper")->trigger();
    EXPECT_TRUE(state().FirstEntryMode);
    EXPECT_FALSE(state().PlacesComplete);
    EXPECT_TRUE(state().EntryStarted);
    EXPECT_TRUE(on("Tlacit") && on("UlozAkoVU") && on("Zatvor"));
    EXPECT_FALSE(button("ToolButton4")->isEnabled()); // not in its row

    // With the allocation window open nothing happens.
    ASSERT_TRUE(w->cooperWindowOpen());
    state().PlacesComplete = true;
    w->commandStates().apply(MainEvent::ProjectClosed);
    action("Cooper")->trigger();
    EXPECT_TRUE(state().PlacesComplete);
    EXPECT_FALSE(on("UlozAkoVU"));
}
