// The main window's commands: its actions, menus, toolbar and status bar, and the connections
// of each to its handler.
#include "ui/main/Dorvan_Hlavny.h"

#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/NetworkWindows.h"
#include "ui/main/StatusBar_DrawPanel.h"
#include "ui/network/Metoda_Sieti.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

QAction* TDorvan_Central::makeAction(
    const char* name, const QString& caption, const QKeySequence& shortcut, const QString& hint)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    a->setStatusTip(hint);
    // A toolbar button that mirrors the item shows the hint as its tooltip too, not the
    // item's caption.
    if (!hint.isEmpty())
        a->setToolTip(hint);
    return a;
}

void TDorvan_Central::createActions()
{
    const QKeySequence none;
    NovyVU = makeAction("NovyVU", u"Nový"_s, QKeySequence(Qt::CTRL | Qt::Key_N), QString());
    OtvorVU = makeAction("OtvorVU", u"Otvor ako ..."_s, QKeySequence(Qt::CTRL | Qt::Key_O), QString());
    UlozAkoVU = makeAction("UlozAkoVU", u"Ulož ako ..."_s, QKeySequence(Qt::CTRL | Qt::Key_S), QString());
    ImportujMiesta = makeAction("ImportujMiesta", u"Importovať miesta ..."_s, none,
        u"Miesta zo zoznamu so zemepisnou šírkou a dĺžkou alebo so súradnicami X, Y"_s);
    ImportujVzdialenosti = makeAction("ImportujVzdialenosti", u"Importovať vzdialenosti ..."_s, none,
        u"Reálne vzdialenosti medzi miestami zo súboru CSV alebo z tabuľky smerovacieho servera (JSON)"_s);
    ImportujVzdialenosti->setEnabled(false);
    ExportujVysledok = makeAction("ExportujVysledok", u"Exportovať výsledok ..."_s, none,
        u"Výsledok do súboru GeoJSON alebo CSV"_s);
    ExportujVysledok->setEnabled(false);
    KopirovatVysledok = makeAction("KopirovatVysledok", u"Kopírovať výsledok"_s, none,
        u"Miesta a výsledok do schránky ako tabuľka pre tabuľkový procesor"_s);
    KopirovatVysledok->setEnabled(false);
    ZostavaPdf = makeAction("ZostavaPdf", u"Zostava (PDF) ..."_s, none,
        u"Zostava výsledku do súboru PDF"_s);
    ZostavaPdf->setEnabled(false);
    TlacitZostavu = makeAction("TlacitZostavu", u"Tlačiť zostavu ..."_s, none,
        u"Zostava výsledku na tlačiareň"_s);
    TlacitZostavu->setEnabled(false);
    Tlacit = makeAction("Tlacit", u"Tlačiť"_s, QKeySequence(Qt::CTRL | Qt::Key_T), QString());
    Zatvor = makeAction("Zatvor", u"Zavrieť"_s, QKeySequence(Qt::CTRL | Qt::Key_Z), u"Zatvor súbor"_s);
    Koniec = makeAction("Koniec", u"Koniec"_s, QKeySequence(Qt::CTRL | Qt::Key_K), QString());

    KrokSpat = makeAction("KrokSpat", u"&Undo"_s, QKeySequence(Qt::CTRL | Qt::Key_Z), u"Krok späť"_s);
    OznacVsetko = makeAction(
        "OznacVsetko", u"Select &All"_s, QKeySequence(Qt::CTRL | Qt::Key_A), u"Vyber, označ všetko"_s);
    Vlozit = makeAction("Vlozit", u"&Paste"_s, QKeySequence(Qt::CTRL | Qt::Key_V), u"Vložiť"_s);
    Kopiruj = makeAction("Kopiruj", u"&Copy"_s, QKeySequence(Qt::CTRL | Qt::Key_C), u"Kopírovať"_s);
    Vystrihni = makeAction("Vystrihni", u"Cu&t"_s, QKeySequence(Qt::CTRL | Qt::Key_X), u"Vystrihnúť"_s);
    Zmazat = makeAction("Zmazat", u"&Delete"_s, QKeySequence(Qt::Key_Delete), u"Zmazať"_s);

    Cooper = makeAction("Cooper", u"Riešenie DORVAN"_s, none, QString());
    PomerIndex
        = makeAction("PomerIndex", u"Pomerovo indexová metóda - Metóda zváženej sumy"_s, none, QString());
    KvadratGraf = makeAction("KvadratGraf", u"Metóda kvadratického grafu"_s, none, QString());
    Siete = makeAction("Siete", u"Metódy návrhu distribučných sietí"_s, none, QString());

    KaskadaOkno = makeAction("KaskadaOkno", u"&Kaskáda"_s, none, u"Kaskádové usporiadanie"_s);
    HorizontalOkno = makeAction("HorizontalOkno", u"Horizontál"_s, none, u"Horizontálne usporiadanie"_s);
    VertikalOkno = makeAction("VertikalOkno", u"Vertikál"_s, none, u"Vertikálne usporiadanie"_s);
    UsporiadatOkno = makeAction("UsporiadatOkno", u"&Arrange"_s, none, QString());
    MinimalOkno = makeAction("MinimalOkno", u"&Minimalizovanie"_s, none, u"Minimalizovať všetko"_s);
    ZavrietOkno = makeAction("ZavrietOkno", u"Z&avrieť okno"_s, none, u"Zavrieť aktívne okno"_s);

    Pomoc = makeAction("Pomoc", u"Pomoc"_s, QKeySequence(Qt::Key_F1), u"Poradenstvo"_s);
    Autori = makeAction("Autori", u"&Program"_s, none, u"Autor, autorské práva"_s);

    // Toolbar pictures shown next to the menu items they mirror.
    NovyVU->setIcon(QIcon(QStringLiteral(":/main_window/icons/new.png")));
    OtvorVU->setIcon(QIcon(QStringLiteral(":/main_window/icons/open.png")));
    UlozAkoVU->setIcon(QIcon(QStringLiteral(":/main_window/icons/save.png")));
    Tlacit->setIcon(QIcon(QStringLiteral(":/main_window/icons/print.png")));
    Vlozit->setIcon(QIcon(QStringLiteral(":/main_window/icons/paste.png")));
    Kopiruj->setIcon(QIcon(QStringLiteral(":/main_window/icons/copy.png")));
    Vystrihni->setIcon(QIcon(QStringLiteral(":/main_window/icons/cut.png")));
    KaskadaOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/cascade.png")));
    HorizontalOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/tile_horizontal.png")));
    VertikalOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/tile_vertical.png")));
    ZavrietOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/close_window.png")));
    Koniec->setIcon(QIcon(QStringLiteral(":/main_window/icons/exit.png")));

    // These three stay hidden for the whole run.
    for (QAction* a : { PomerIndex, KvadratGraf, Siete })
        a->setVisible(false);
    PomerIndex->setEnabled(false);
    KvadratGraf->setEnabled(false);

    connect(NovyVU, &QAction::triggered, this, &TDorvan_Central::NovyVUClick);
    connect(OtvorVU, &QAction::triggered, this, &TDorvan_Central::OtvorVUClick);
    connect(UlozAkoVU, &QAction::triggered, this, &TDorvan_Central::UlozAkoVUClick);
    connect(ImportujMiesta, &QAction::triggered, this, &TDorvan_Central::ImportujMiestaClick);
    connect(ImportujVzdialenosti, &QAction::triggered, this, &TDorvan_Central::ImportujVzdialenostiClick);
    connect(ExportujVysledok, &QAction::triggered, this, &TDorvan_Central::ExportujVysledokClick);
    connect(KopirovatVysledok, &QAction::triggered, this, &TDorvan_Central::KopirovatVysledokClick);
    connect(ZostavaPdf, &QAction::triggered, this, &TDorvan_Central::ZostavaPdfClick);
    connect(TlacitZostavu, &QAction::triggered, this, &TDorvan_Central::TlacitZostavuClick);
    connect(Tlacit, &QAction::triggered, this, &TDorvan_Central::TlacitClick);
    connect(Zatvor, &QAction::triggered, this, &TDorvan_Central::ZatvorClick);
    connect(Koniec, &QAction::triggered, this, &TDorvan_Central::KoniecClick);
    connect(Cooper, &QAction::triggered, this, &TDorvan_Central::CooperClick);
    connect(Siete, &QAction::triggered, this, &TDorvan_Central::SieteClick);
    connect(Pomoc, &QAction::triggered, this, &TDorvan_Central::PomocClick);
    connect(Autori, &QAction::triggered, this, &TDorvan_Central::AutoriClick);

    connect(KrokSpat, &QAction::triggered, this, [this] { runEditCommand(EditCommand::Undo); });
    connect(OznacVsetko, &QAction::triggered, this, [this] { runEditCommand(EditCommand::SelectAll); });
    connect(Vlozit, &QAction::triggered, this, [this] { runEditCommand(EditCommand::Paste); });
    connect(Kopiruj, &QAction::triggered, this, [this] { runEditCommand(EditCommand::Copy); });
    connect(Vystrihni, &QAction::triggered, this, [this] { runEditCommand(EditCommand::Cut); });
    connect(Zmazat, &QAction::triggered, this, [this] { runEditCommand(EditCommand::Delete); });

    connect(KaskadaOkno, &QAction::triggered, this, [this] { mdiArea_->cascadeSubWindows(); });
    connect(HorizontalOkno, &QAction::triggered, this, &TDorvan_Central::tileSubWindowsHorizontally);
    connect(VertikalOkno, &QAction::triggered, this, &TDorvan_Central::tileSubWindowsVertically);
    connect(UsporiadatOkno, &QAction::triggered, this, &TDorvan_Central::arrangeMinimisedSubWindows);
    connect(MinimalOkno, &QAction::triggered, this, &TDorvan_Central::minimiseAllSubWindows);
    connect(ZavrietOkno, &QAction::triggered, this, [this] { mdiArea_->closeActiveSubWindow(); });

    // Ctrl+Z belongs to both "Zavrieť" and "&Undo"; see eventFilter.
    Zatvor->installEventFilter(this);
    KrokSpat->installEventFilter(this);
}

void TDorvan_Central::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    fileMenu_ = bar->addMenu(u"Súbor"_s);
    fileMenu_->setObjectName("Subor");
    fileMenu_->addActions({ NovyVU, OtvorVU, UlozAkoVU, ImportujMiesta, ImportujVzdialenosti,
        ExportujVysledok, KopirovatVysledok, ZostavaPdf, TlacitZostavu, Tlacit, Zatvor, Koniec });
    connect(fileMenu_, &QMenu::aboutToShow, this, &TDorvan_Central::updateExportAction);
    connect(fileMenu_, &QMenu::aboutToShow, this, &TDorvan_Central::updateDistanceImportAction);

    editMenu_ = bar->addMenu(u"Úpravy"_s);
    editMenu_->setObjectName("Upravy");
    editMenu_->addActions({ KrokSpat, OznacVsetko, Vlozit, Kopiruj, Vystrihni, Zmazat });
    connect(editMenu_, &QMenu::aboutToShow, this, &TDorvan_Central::updateEditActions);

    methodsMenu_ = bar->addMenu(u"Metódy"_s);
    methodsMenu_->setObjectName("Metody");
    methodsMenu_->addActions({ Cooper, PomerIndex, KvadratGraf, Siete });

    windowMenu_ = bar->addMenu(u"Okná"_s);
    windowMenu_->setObjectName("Okna1");
    windowMenu_->addActions(
        { KaskadaOkno, HorizontalOkno, VertikalOkno, UsporiadatOkno, MinimalOkno, ZavrietOkno });
    windowListSeparator_ = windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] { updateWindowMenu(); });

    helpMenu_ = bar->addMenu(u"O programe"_s);
    helpMenu_->setObjectName("ProgramPomoc");
    helpMenu_->addActions({ Pomoc, Autori });
}

// "Importovať vzdialenosti ..." is on while the data-entry window holds a complete list.
void TDorvan_Central::updateDistanceImportAction()
{
    const auto& s = project_.State;
    ImportujVzdialenosti->setEnabled(entryWindowOpen() && s.PlacesComplete && s.PlaceCount >= 2);
}

void TDorvan_Central::ImportujVzdialenostiClick()
{
    updateDistanceImportAction();
    if (!ImportujVzdialenosti->isEnabled() || !entryWindow_->importDistances())
        return;
    // An open network window searches again on the new distances, as its activation would: it
    // may be the active window, which the import does not activate anew.
    if (networkWindows_->networkWindowOpen())
        networkWindows_->networkWindow()->FormCreate();
}

QToolButton* TDorvan_Central::makeToolButton(const char* name, const QString& icon, const QString& hint)
{
    auto* b = new QToolButton(toolBar_);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setFixedSize(31, 30);
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    toolBar_->addWidget(b);
    return b;
}

QToolButton* TDorvan_Central::makeToolButton(const char* name, QAction* action, const QString& icon)
{
    auto* b = new QToolButton(toolBar_);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefaultAction(action); // hint and enabled state follow the action
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setFixedSize(31, 30);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->addWidget(b);
    return b;
}

void TDorvan_Central::addSpacerButton(const char* name)
{
    auto* b = new QToolButton(toolBar_);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(31, 30);
    b->setAutoRaise(true);
    b->setEnabled(false);
    toolBar_->addWidget(b);
}

void TDorvan_Central::addToolSeparator(const char* name)
{
    QAction* s = toolBar_->addSeparator();
    s->setObjectName(QString::fromLatin1(name));
}

void TDorvan_Central::createToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("ToolBar1"));
    toolBar_->setObjectName("ToolBar1");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setFixedHeight(35);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    const QString icons = QStringLiteral(":/main_window/icons/");

    auto* newButton = makeToolButton("ToolButton1", icons + "new.png", u"Nový súbor"_s);
    connect(newButton, &QToolButton::clicked, this, &TDorvan_Central::NovyVUClick);
    auto* openButton = makeToolButton("ToolButton2", icons + "open.png", u"Otvor súbor"_s);
    connect(openButton, &QToolButton::clicked, this, &TDorvan_Central::OtvorVUClick);
    addToolSeparator("ToolButton3");
    saveToolButton = makeToolButton("ToolButton4", icons + "save.png", u"Ulož súbor"_s);
    connect(saveToolButton, &QToolButton::clicked, this, &TDorvan_Central::UlozAkoVUClick);
    printToolButton = makeToolButton("ToolButton5", icons + "print.png", u"Tlač"_s);
    connect(printToolButton, &QToolButton::clicked, this, &TDorvan_Central::TlacitClick);
    addToolSeparator("ToolButton7");
    makeToolButton("ToolButton6", Vlozit, icons + "paste.png");
    makeToolButton("ToolButton8", Kopiruj, icons + "copy.png");
    makeToolButton("ToolButton9", Vystrihni, icons + "cut.png");
    addToolSeparator("ToolButton10");
    makeToolButton("ToolButton11", KaskadaOkno, icons + "cascade.png");
    makeToolButton("ToolButton12", HorizontalOkno, icons + "tile_horizontal.png");
    makeToolButton("ToolButton13", VertikalOkno, icons + "tile_vertical.png");
    addToolSeparator("ToolButton14");
    makeToolButton("ToolButton15", ZavrietOkno, icons + "close_window.png");
    addToolSeparator("ToolButton16");
    addSpacerButton("ToolButton17");
    addSpacerButton("ToolButton18");

    modeGroup_ = new QGroupBox(toolBar_);
    modeGroup_->setObjectName("GroupBox1");
    modeGroup_->setToolTip(u"Výber režimu zadávania dát"_s);
    modeGroup_->setStatusTip(u"Výber režimu zadávania dát"_s);
    modeGroup_->setFixedHeight(31);
    auto* modeLayout = new QHBoxLayout(modeGroup_);
    modeLayout->setContentsMargins(8, 0, 8, 0);
    modeLayout->setSpacing(14);
    radioManual_ = new QRadioButton(u"Dáta - RUČNE"_s, modeGroup_);
    radioManual_->setObjectName("RadioButton1");
    radioManual_->setChecked(true);
    radioPicture_ = new QRadioButton(u"Dáta - OBRÁZOK"_s, modeGroup_);
    radioPicture_->setObjectName("RadioButton2");
    for (QRadioButton* r : { radioManual_, radioPicture_ }) {
        r->setStatusTip(modeGroup_->statusTip());
        modeLayout->addWidget(r);
    }
    connect(radioManual_, &QRadioButton::clicked, this, &TDorvan_Central::onManualDataClicked);
    connect(radioPicture_, &QRadioButton::clicked, this, &TDorvan_Central::onPictureDataClicked);
    toolBar_->addWidget(modeGroup_);

    addToolSeparator("ToolButton19");
    addSpacerButton("ToolButton20");
    addSpacerButton("ToolButton21");
    addToolSeparator("ToolButton22");
    auto* quitButton = makeToolButton("ToolButton23", icons + "exit.png", u"Koniec programu"_s);
    connect(quitButton, &QToolButton::clicked, this, &TDorvan_Central::KoniecClick);
}

void TDorvan_Central::createStatusBar()
{
    statusBar_ = new PanelStatusBar(this);
    setStatusBar(statusBar_);
}
