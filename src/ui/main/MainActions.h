#pragma once

#include <QList>

class QAction;
class QGroupBox;
class QMainWindow;
class QMenu;
class QRadioButton;
class QToolBar;
class QToolButton;

// The main window's menu items, toolbar and data-mode switch, built once with their object names,
// texts, shortcuts and hints. Who answers each item the window wires up; which items are enabled
// is CommandStates' business.
struct MainActions {
    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* methodsMenu = nullptr;
    QMenu* windowMenu = nullptr;
    QMenu* helpMenu = nullptr;

    QAction* NovyVU = nullptr;
    QAction* OtvorVU = nullptr;
    QAction* UlozAkoVU = nullptr;
    QAction* ImportujMiesta = nullptr;
    QAction* ImportujVzdialenosti = nullptr;
    QAction* ExportujVysledok = nullptr;
    QAction* KopirovatVysledok = nullptr;
    QAction* ZostavaPdf = nullptr;
    QAction* TlacitZostavu = nullptr;
    QAction* Tlacit = nullptr;
    QAction* Zatvor = nullptr;
    QAction* Koniec = nullptr;
    QAction* KrokSpat = nullptr;
    QAction* KrokVpred = nullptr; // "Krok vpred": the project edit undone last, done again
    QAction* OznacVsetko = nullptr;
    QAction* Vlozit = nullptr;
    QAction* Kopiruj = nullptr;
    QAction* Vystrihni = nullptr;
    QAction* Zmazat = nullptr;
    QAction* Cooper = nullptr;
    QAction* PomerIndex = nullptr;
    QAction* KvadratGraf = nullptr;
    QAction* Siete = nullptr;
    QAction* KaskadaOkno = nullptr;
    QAction* HorizontalOkno = nullptr;
    QAction* VertikalOkno = nullptr;
    QAction* UsporiadatOkno = nullptr;
    QAction* MinimalOkno = nullptr;
    QAction* ZavrietOkno = nullptr;
    QAction* Pomoc = nullptr;
    QAction* Autori = nullptr;
    // Where the window menu's list of open windows begins.
    QAction* windowListSeparator = nullptr;

    QToolBar* toolBar = nullptr;
    QToolButton* newButton = nullptr; // ToolButton1
    QToolButton* openButton = nullptr; // ToolButton2
    QToolButton* saveToolButton = nullptr; // ToolButton4
    QToolButton* printToolButton = nullptr; // ToolButton5
    QToolButton* quitButton = nullptr; // ToolButton23
    QGroupBox* modeGroup = nullptr; // GroupBox1
    QRadioButton* radioManual = nullptr; // RadioButton1, "Dáta - RUČNE"
    QRadioButton* radioPicture = nullptr; // RadioButton2, "Dáta - OBRÁZOK"

    // The items that work on the focused text field, in the edit menu's order.
    QList<QAction*> editActions() const
    {
        return { KrokSpat, OznacVsetko, Vlozit, Kopiruj, Vystrihni, Zmazat };
    }
    // The window menu's arrangement items.
    QList<QAction*> windowActions() const
    {
        return { KaskadaOkno, HorizontalOkno, VertikalOkno, UsporiadatOkno, MinimalOkno, ZavrietOkno };
    }
    // The items that need the allocation window's result.
    QList<QAction*> resultActions() const
    {
        return { ExportujVysledok, KopirovatVysledok, ZostavaPdf, TlacitZostavu };
    }
};

// Creates the items, the menu bar and the toolbar of the frame (all children of it, so that a
// search by name from the frame finds them).
MainActions buildMainActions(QMainWindow& frame);
