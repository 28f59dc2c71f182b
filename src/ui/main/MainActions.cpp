// The main window's menu items, menus and toolbar: object names, texts, shortcuts, hints and
// pictures.
#include "ui/main/MainActions.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QAction* makeMainAction(QMainWindow& frame, const char* name, const QString& caption,
    const QKeySequence& shortcut, const QString& hint)
{
    auto* a = new QAction(caption, &frame);
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

void createMainActions(QMainWindow& frame, MainActions& m)
{
    const auto make
        = [&frame](const char* name, const QString& caption, const QKeySequence& shortcut,
              const QString& hint) { return makeMainAction(frame, name, caption, shortcut, hint); };
    const QKeySequence none;
    m.NovyVU = make("NovyVU", u"Nový"_s, QKeySequence(Qt::CTRL | Qt::Key_N), QString());
    m.OtvorVU = make("OtvorVU", u"Otvor ako ..."_s, QKeySequence(Qt::CTRL | Qt::Key_O), QString());
    m.UlozAkoVU = make("UlozAkoVU", u"Ulož ako ..."_s, QKeySequence(Qt::CTRL | Qt::Key_S), QString());
    m.ImportujMiesta = make("ImportujMiesta", u"Importovať miesta ..."_s, none,
        u"Miesta zo zoznamu so zemepisnou šírkou a dĺžkou alebo so súradnicami X, Y"_s);
    m.ImportujVzdialenosti = make("ImportujVzdialenosti", u"Importovať vzdialenosti ..."_s, none,
        u"Reálne vzdialenosti medzi miestami zo súboru CSV alebo z tabuľky smerovacieho servera (JSON)"_s);
    m.ImportujVzdialenosti->setEnabled(false);
    m.ExportujVysledok = make(
        "ExportujVysledok", u"Exportovať výsledok ..."_s, none, u"Výsledok do súboru GeoJSON alebo CSV"_s);
    m.KopirovatVysledok = make("KopirovatVysledok", u"Kopírovať výsledok"_s, none,
        u"Miesta a výsledok do schránky ako tabuľka pre tabuľkový procesor"_s);
    m.ZostavaPdf = make("ZostavaPdf", u"Zostava (PDF) ..."_s, none, u"Zostava výsledku do súboru PDF"_s);
    m.TlacitZostavu
        = make("TlacitZostavu", u"Tlačiť zostavu ..."_s, none, u"Zostava výsledku na tlačiareň"_s);
    for (QAction* a : m.resultActions())
        a->setEnabled(false);
    m.Tlacit = make("Tlacit", u"Tlačiť"_s, QKeySequence(Qt::CTRL | Qt::Key_T), QString());
    m.Zatvor = make("Zatvor", u"Zavrieť"_s, QKeySequence(Qt::CTRL | Qt::Key_Z), u"Zatvor súbor"_s);
    m.Koniec = make("Koniec", u"Koniec"_s, QKeySequence(Qt::CTRL | Qt::Key_K), QString());

    m.KrokSpat = make("KrokSpat", u"&Undo"_s, QKeySequence(Qt::CTRL | Qt::Key_Z), u"Krok späť"_s);
    m.KrokVpred = make("KrokVpred", u"Krok vpred"_s, QKeySequence(Qt::CTRL | Qt::Key_Y), u"Krok vpred"_s);
    m.KrokVpred->setEnabled(false);
    m.OznacVsetko
        = make("OznacVsetko", u"Select &All"_s, QKeySequence(Qt::CTRL | Qt::Key_A), u"Vyber, označ všetko"_s);
    m.Vlozit = make("Vlozit", u"&Paste"_s, QKeySequence(Qt::CTRL | Qt::Key_V), u"Vložiť"_s);
    m.Kopiruj = make("Kopiruj", u"&Copy"_s, QKeySequence(Qt::CTRL | Qt::Key_C), u"Kopírovať"_s);
    m.Vystrihni = make("Vystrihni", u"Cu&t"_s, QKeySequence(Qt::CTRL | Qt::Key_X), u"Vystrihnúť"_s);
    m.Zmazat = make("Zmazat", u"&Delete"_s, QKeySequence(Qt::Key_Delete), u"Zmazať"_s);

    m.Cooper = make("Cooper", u"Riešenie DORVAN"_s, none, QString());
    m.PomerIndex = make("PomerIndex", u"Pomerovo indexová metóda - Metóda zváženej sumy"_s, none, QString());
    m.KvadratGraf = make("KvadratGraf", u"Metóda kvadratického grafu"_s, none, QString());
    m.Siete = make("Siete", u"Metódy návrhu distribučných sietí"_s, none, QString());

    m.KaskadaOkno = make("KaskadaOkno", u"&Kaskáda"_s, none, u"Kaskádové usporiadanie"_s);
    m.HorizontalOkno = make("HorizontalOkno", u"Horizontál"_s, none, u"Horizontálne usporiadanie"_s);
    m.VertikalOkno = make("VertikalOkno", u"Vertikál"_s, none, u"Vertikálne usporiadanie"_s);
    m.UsporiadatOkno = make("UsporiadatOkno", u"&Arrange"_s, none, QString());
    m.MinimalOkno = make("MinimalOkno", u"&Minimalizovanie"_s, none, u"Minimalizovať všetko"_s);
    m.ZavrietOkno = make("ZavrietOkno", u"Z&avrieť okno"_s, none, u"Zavrieť aktívne okno"_s);

    m.Pomoc = make("Pomoc", u"Pomoc"_s, QKeySequence(Qt::Key_F1), u"Poradenstvo"_s);
    m.Autori = make("Autori", u"&Program"_s, none, u"Autor, autorské práva"_s);

    // Toolbar pictures shown next to the menu items they mirror.
    m.NovyVU->setIcon(QIcon(QStringLiteral(":/main_window/icons/new.png")));
    m.OtvorVU->setIcon(QIcon(QStringLiteral(":/main_window/icons/open.png")));
    m.UlozAkoVU->setIcon(QIcon(QStringLiteral(":/main_window/icons/save.png")));
    m.Tlacit->setIcon(QIcon(QStringLiteral(":/main_window/icons/print.png")));
    m.Vlozit->setIcon(QIcon(QStringLiteral(":/main_window/icons/paste.png")));
    m.Kopiruj->setIcon(QIcon(QStringLiteral(":/main_window/icons/copy.png")));
    m.Vystrihni->setIcon(QIcon(QStringLiteral(":/main_window/icons/cut.png")));
    m.KaskadaOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/cascade.png")));
    m.HorizontalOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/tile_horizontal.png")));
    m.VertikalOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/tile_vertical.png")));
    m.ZavrietOkno->setIcon(QIcon(QStringLiteral(":/main_window/icons/close_window.png")));
    m.Koniec->setIcon(QIcon(QStringLiteral(":/main_window/icons/exit.png")));

    // These three stay hidden for the whole run.
    for (QAction* a : { m.PomerIndex, m.KvadratGraf, m.Siete })
        a->setVisible(false);
    m.PomerIndex->setEnabled(false);
    m.KvadratGraf->setEnabled(false);
}

void createMainMenus(QMainWindow& frame, MainActions& m)
{
    QMenuBar* bar = frame.menuBar();
    bar->setObjectName("MainMenu1");

    m.fileMenu = bar->addMenu(u"Súbor"_s);
    m.fileMenu->setObjectName("Subor");
    m.fileMenu->addActions(
        { m.NovyVU, m.OtvorVU, m.UlozAkoVU, m.ImportujMiesta, m.ImportujVzdialenosti, m.ExportujVysledok,
            m.KopirovatVysledok, m.ZostavaPdf, m.TlacitZostavu, m.Tlacit, m.Zatvor, m.Koniec });

    m.editMenu = bar->addMenu(u"Úpravy"_s);
    m.editMenu->setObjectName("Upravy");
    m.editMenu->addActions(m.editActions());
    m.editMenu->insertAction(m.OznacVsetko, m.KrokVpred);

    m.methodsMenu = bar->addMenu(u"Metódy"_s);
    m.methodsMenu->setObjectName("Metody");
    m.methodsMenu->addActions({ m.Cooper, m.PomerIndex, m.KvadratGraf, m.Siete });

    m.windowMenu = bar->addMenu(u"Okná"_s);
    m.windowMenu->setObjectName("Okna1");
    m.windowMenu->addActions(m.windowActions());
    m.windowListSeparator = m.windowMenu->addSeparator();

    m.helpMenu = bar->addMenu(u"O programe"_s);
    m.helpMenu->setObjectName("ProgramPomoc");
    m.helpMenu->addActions({ m.Pomoc, m.Autori });
}

QToolButton* makeCommandButton(QToolBar* bar, const char* name, const QString& icon, const QString& hint)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setFixedSize(31, 30);
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    bar->addWidget(b);
    return b;
}

QToolButton* makeItemButton(QToolBar* bar, const char* name, QAction* action, const QString& icon)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setDefaultAction(action); // hint and enabled state follow the action
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setFixedSize(31, 30);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->addWidget(b);
    return b;
}

void addSpacerButton(QToolBar* bar, const char* name)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedSize(31, 30);
    b->setAutoRaise(true);
    b->setEnabled(false);
    bar->addWidget(b);
}

void addToolSeparator(QToolBar* bar, const char* name)
{
    QAction* s = bar->addSeparator();
    s->setObjectName(QString::fromLatin1(name));
}

void createModeSwitch(MainActions& m)
{
    m.modeGroup = new QGroupBox(m.toolBar);
    m.modeGroup->setObjectName("GroupBox1");
    m.modeGroup->setToolTip(u"Výber režimu zadávania dát"_s);
    m.modeGroup->setStatusTip(u"Výber režimu zadávania dát"_s);
    m.modeGroup->setFixedHeight(31);
    auto* modeLayout = new QHBoxLayout(m.modeGroup);
    modeLayout->setContentsMargins(8, 0, 8, 0);
    modeLayout->setSpacing(14);
    m.radioManual = new QRadioButton(u"Dáta - RUČNE"_s, m.modeGroup);
    m.radioManual->setObjectName("RadioButton1");
    m.radioManual->setChecked(true);
    m.radioPicture = new QRadioButton(u"Dáta - OBRÁZOK"_s, m.modeGroup);
    m.radioPicture->setObjectName("RadioButton2");
    for (QRadioButton* r : { m.radioManual, m.radioPicture }) {
        r->setStatusTip(m.modeGroup->statusTip());
        modeLayout->addWidget(r);
    }
    m.toolBar->addWidget(m.modeGroup);
}

void createMainToolBar(QMainWindow& frame, MainActions& m)
{
    QToolBar* bar = frame.addToolBar(QStringLiteral("ToolBar1"));
    m.toolBar = bar;
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->setFixedHeight(35);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    const QString icons = QStringLiteral(":/main_window/icons/");

    m.newButton = makeCommandButton(bar, "ToolButton1", icons + "new.png", u"Nový súbor"_s);
    m.openButton = makeCommandButton(bar, "ToolButton2", icons + "open.png", u"Otvor súbor"_s);
    addToolSeparator(bar, "ToolButton3");
    m.saveToolButton = makeCommandButton(bar, "ToolButton4", icons + "save.png", u"Ulož súbor"_s);
    m.printToolButton = makeCommandButton(bar, "ToolButton5", icons + "print.png", u"Tlač"_s);
    addToolSeparator(bar, "ToolButton7");
    makeItemButton(bar, "ToolButton6", m.Vlozit, icons + "paste.png");
    makeItemButton(bar, "ToolButton8", m.Kopiruj, icons + "copy.png");
    makeItemButton(bar, "ToolButton9", m.Vystrihni, icons + "cut.png");
    addToolSeparator(bar, "ToolButton10");
    makeItemButton(bar, "ToolButton11", m.KaskadaOkno, icons + "cascade.png");
    makeItemButton(bar, "ToolButton12", m.HorizontalOkno, icons + "tile_horizontal.png");
    makeItemButton(bar, "ToolButton13", m.VertikalOkno, icons + "tile_vertical.png");
    addToolSeparator(bar, "ToolButton14");
    makeItemButton(bar, "ToolButton15", m.ZavrietOkno, icons + "close_window.png");
    addToolSeparator(bar, "ToolButton16");
    addSpacerButton(bar, "ToolButton17");
    addSpacerButton(bar, "ToolButton18");
    createModeSwitch(m);
    addToolSeparator(bar, "ToolButton19");
    addSpacerButton(bar, "ToolButton20");
    addSpacerButton(bar, "ToolButton21");
    addToolSeparator(bar, "ToolButton22");
    m.quitButton = makeCommandButton(bar, "ToolButton23", icons + "exit.png", u"Koniec programu"_s);
}

} // namespace

MainActions buildMainActions(QMainWindow& frame)
{
    MainActions m;
    createMainActions(frame, m);
    createMainMenus(frame, m);
    createMainToolBar(frame, m);
    return m;
}
