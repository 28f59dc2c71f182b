#pragma once

#include "core/project/Project.h"
#include "ui/entry/EntryHost.h"

#include <QMainWindow>
#include <QPointer>
#include <QPrinter>
#include <QSizeF>

#include <memory>

namespace dorvan {
class UserDialogs;
} // namespace dorvan

class PanelStatusBar;
namespace dorvan {
class ProgressTracker;
struct LoadedProject;
} // namespace dorvan
class QAction;
class QGroupBox;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QRadioButton;
class QTimer;
class QToolBar;
class QToolButton;
class NetworkWindows;
class TCooperAlokMetod;
class TPomocNapoveda;
class TProgramAutori;
class TVstupUdajov;
namespace dorvan::report {
struct PreparedReport;
} // namespace dorvan::report

// The events that change which project commands are available. Each one maps to one row of
// the main window's enabled-state table (see applyEvent).
enum class MainEvent {
    ProgramStart,
    NewProject, // "Nový"
    OpenCompleted, // "Otvor ako ..." read a project
    OpenCancelled, // "Otvor ako ..." dialog cancelled
    CooperOpened, // "Riešenie DORVAN"
    ProjectClosed, // "Zavrieť"
    EntryWindowClosed, // the data-entry window closed after its confirmation
    FirstCountAccepted, // the first place count was accepted in the data-entry window
    LastPlaceEntered, // the last place of a list was entered
    SettingsSwitchedOn, // "Nastavenie premenných DORVAN" ticked
    SettingsSwitchedOff, // ... and unticked
};

// The main window: the MDI frame with menus, toolbar and status bar. It owns the project and
// opens every other window as its child.
// The size a window of onScreen pixels takes on paper with dotsPerPixel printer dots per screen
// pixel: as on the screen where that fits the printable area, otherwise scaled down to fit.
QSizeF printedSize(QSizeF onScreen, double dotsPerPixel, QSizeF printable);

class TDorvan_Central : public QMainWindow, public EntryHost {
    Q_OBJECT
public:
    explicit TDorvan_Central(dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TDorvan_Central() override;

    dorvan::Project& project() { return project_; }
    dorvan::UserDialogs& dialogs() { return dialogs_; }
    // The data-entry mode switch: true for "Dáta - OBRÁZOK".
    bool pictureMode() const;

    // --- Enabled states ---------------------------------------------------------------------
    // Applies one row of the enabled-state table; every enable and disable of the project
    // commands goes through here.
    void applyEvent(MainEvent event);
    // Whether the hidden item "Metódy návrhu distribučných sietí" is enabled. (A hidden action
    // always reports itself disabled, so the state is kept here as well.)
    bool networkItemEnabled() const { return networkItemEnabled_; }

    // --- Caption ----------------------------------------------------------------------------
    // The caption as the program sets it: ProgramTitle, optionally followed by " - " and a
    // file name. (While a child window is maximised the frame shows the child's title after
    // it, the way a multiple-document frame does.)
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    QString programTitle() const;

    // --- Status bar -------------------------------------------------------------------------
    PanelStatusBar* statusPanels() const { return statusBar_; }
    void setStatusPanelText(int panel, const QString& text);
    QString statusPanelText(int panel) const;

    // --- Child windows ----------------------------------------------------------------------
    QMdiArea* mdiArea() const { return mdiArea_; }
    // Puts a window into the client area; the frame it gets goes away with the window, and the
    // window goes away with its frame.
    QMdiSubWindow* addChildWindow(QWidget* window, bool maximised = false);
    TVstupUdajov* entryWindow() const;
    TPomocNapoveda* helpWindow() const;
    TProgramAutori* aboutBox() const { return aboutBox_; }
    // Asks the data-entry window to close (it asks its own confirmation). True when no
    // data-entry window is left afterwards.
    bool requestEntryWindowClose();
    // Whether the data-entry window is there and not on its way out: a project is open in it.
    bool entryWindowOpen() const;
    // Creates a new, empty data-entry window, maximised in the client area.
    void createEntryWindow();
    // Checks "Dáta - OBRÁZOK" (picture mode) or "Dáta - RUČNE" on the toolbar and sets the
    // project's data mode; enabling is left to applyEvent. The data-entry pages follow through
    // showEntryPage.
    void setModeSwitch(bool pictureMode);
    // Sets the project's data mode and tells its windows: the data-entry window shows its
    // picture page (index 4) or its manual-entry page (index 0) and hides the other one, as the
    // two mode buttons do.
    void showEntryPage(bool pictureMode);
    // The allocation window while it is open.
    TCooperAlokMetod* cooperWindow() const;
    // Puts a new allocation window into the client area; the program closes it through
    // closeCooperWindow.
    void adoptCooperWindow(TCooperAlokMetod* window);
    // The network methods window and the station graph window.
    NetworkWindows& networkWindows() { return *networkWindows_; }

    // --- EntryHost: the data-entry window's events --------------------------------------------
    void entryValuesChanged() override;
    void entryFirstCountAccepted() override;
    void entryLastPlaceEntered() override;
    void entrySettingsSwitched(bool on) override;
    bool cooperWindowOpen() const override;
    void closeCooperWindow() override;
    void closeProjectWindows() override;
    // Panel 2 has the width for a notice in full (panel 1's is fixed).
    void entryStatusNotice(const QString& text) override { setStatusPanelText(2, text); }
    void entryProgress(const QString& text, int percent) override;
    void entryProgressEnded() override;
    void entryWindowClosed() override;
    bool saveProjectAs() override;

    // The text shown in status panel 1 after every change of an input value.
    static QString changedValuesText();

    // "Otvor ako ..." from the point where the dialog has given a file name (also used for a
    // project named on the command line). A data-entry window still open is asked to close
    // first. False when the file was refused or the user kept the window.
    bool openProjectFile(const QString& fileName);

public slots:
    // Menu and toolbar commands.
    void NovyVUClick();
    void OtvorVUClick();
    // "Importovať miesta ..." and "Exportovať výsledok ..." (Dorvan_Hlavny_Geo.cpp).
    void ImportujMiestaClick();
    // "Importovať vzdialenosti ...": the data-entry window's distance import (Dorvan_Hlavny_Menu.cpp).
    void ImportujVzdialenostiClick();
    void ExportujVysledokClick();
    void KopirovatVysledokClick();
    // "Zostava (PDF) ..." and "Tlačiť zostavu ..." (Dorvan_Hlavny_Zostava.cpp).
    void ZostavaPdfClick();
    void TlacitZostavuClick();
    void UlozAkoVUClick();
    void ZatvorClick();
    void TlacitClick();
    void KoniecClick();
    void CooperClick();
    void SieteClick();
    void PomocClick();
    void AutoriClick();
    void onManualDataClicked();
    void onPictureDataClicked();
    void onClockTick();

    // Child-window commands of the window menu.
    void tileSubWindowsHorizontally();
    void tileSubWindowsVertically();
    void arrangeMinimisedSubWindows();
    void minimiseAllSubWindows();

signals:
    // One print job was finished for the window with this object name; outputFile is the file
    // written when printing to a file, else empty.
    // printed: the window's size on paper, in printer dots.
    void printJobDone(const QString& windowName, const QString& outputFile, const QSizeF& printed);
    // A progress display of saving or opening was just painted on the status bar.
    void fileProgressDrawn(int scheme, int row);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Writes the project under a name the user chooses; on success fileName holds the name
    // written.
    bool SaveProjectAs(QString& fileName);
    QString chooseSaveName(const QString& proposed);

private:
    void FormCreate();
    // Project files: the status bar during a save or open, and the state after a cancelled or
    // refused open.
    void beginFileOperation(const QString& message);
    void endFileOperation();
    void showFileProgress(dorvan::ProgressTracker& tracker, int row, int scheme);
    void openCancelled();
    // A place list read from a spreadsheet file: the project as if opened, without a file name.
    bool importPlaceList(const QString& fileName);
    bool writeResultExport(const QString& fileName, bool geoJson);
    // Writes the report whole or not at all; false (and the message shown) when it cannot.
    bool writeReport(const QString& fileName);
    // "Exportovať výsledok ..." is on while an allocation window shows a result.
    void updateExportAction();
    void updateDistanceImportAction();
    bool readProjectForOpening(
        const QString& fileName, dorvan::LoadedProject& loaded, dorvan::RgbPicture& built);
    void showOpenedProject(const QString& fileName, dorvan::LoadedProject& loaded, dorvan::RgbPicture built);
    void ZatvorCentral(QCloseEvent* event);
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();

    QAction* makeAction(
        const char* name, const QString& caption, const QKeySequence& shortcut, const QString& hint);
    QToolButton* makeToolButton(const char* name, const QString& icon, const QString& hint);
    QToolButton* makeToolButton(const char* name, QAction* action, const QString& icon);
    void addSpacerButton(const char* name);
    void addToolSeparator(const char* name);

    // Edit commands on the focused text field.
    enum class EditCommand { Undo, SelectAll, Paste, Copy, Cut, Delete };
    void runEditCommand(EditCommand command);
    void focusMoved(QWidget* old, QWidget* now);
    void updateEditActions();
    static bool isTextField(const QWidget* w);

    // Window menu.
    void updateWindowMenu(const QObject* goingAway = nullptr);
    void fillWindowMenu(const QObject* goingAway);
    QList<QMdiSubWindow*> openSubWindows(const QObject* goingAway = nullptr) const;

    // Printing.
    bool printWindowImage(QWidget* window, QPrinter& printer, int job);
    // The report of the allocation window's result (Dorvan_Hlavny_Zostava.cpp).
    dorvan::report::PreparedReport prepareWindowReport() const;

    dorvan::Project project_;
    dorvan::UserDialogs& dialogs_;
    QString caption_;

    QMdiArea* mdiArea_ = nullptr;
    PanelStatusBar* statusBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QTimer* timer_ = nullptr;
    QGroupBox* modeGroup_ = nullptr;
    QRadioButton* radioManual_ = nullptr;
    QRadioButton* radioPicture_ = nullptr;

    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* methodsMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;

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
    QAction* windowListSeparator_ = nullptr;
    QList<QAction*> windowListActions_;

    QToolButton* saveToolButton = nullptr; // ToolButton4
    QToolButton* printToolButton = nullptr; // ToolButton5

    QPointer<QWidget> textTarget_;
    QPointer<TVstupUdajov> entryWindow_;
    QPointer<TCooperAlokMetod> cooperWindow_;
    QPointer<TPomocNapoveda> helpWindow_;
    TProgramAutori* aboutBox_ = nullptr;
    std::unique_ptr<NetworkWindows> networkWindows_;

    std::unique_ptr<QPrinter> printer_;
    bool shuttingDown_ = false;
    bool networkItemEnabled_ = false;
};

// "Riešenie DORVAN": creates the allocation window in the
// main window's client area (its FormCreate makes the first run) and sets its result choice by
// the project's picture. The window runs again whenever the project says its inputs changed.
// Returns the new window, or none while one is open.
TCooperAlokMetod* openCooperWindow(TDorvan_Central& mainWindow);
