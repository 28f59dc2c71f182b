#pragma once

#include "core/project/Project.h"
#include "ui/entry/EntryHost.h"
#include "ui/main/CommandStates.h"
#include "ui/main/FrameCaption.h"
#include "ui/main/MainActions.h"

#include <QMainWindow>
#include <QPointer>
#include <QPrinter>
#include <QSizeF>

#include <memory>

class DataModeSwitch;
class MainStatus;
class NetworkWindows;
class PanelStatusBar;
class QMdiArea;
class QMdiSubWindow;
class TCooperAlokMetod;
class TextEditCommands;
class TPomocNapoveda;
class TProgramAutori;
class TVstupUdajov;
class WindowMenu;
namespace dorvan {
class ProgressTracker;
class UserDialogs;
struct LoadedProject;
} // namespace dorvan
namespace dorvan::report {
struct PreparedReport;
} // namespace dorvan::report

// The size a window of onScreen pixels takes on paper with dotsPerPixel printer dots per screen
// pixel: as on the screen where that fits the printable area, otherwise scaled down to fit.
QSizeF printedSize(QSizeF onScreen, double dotsPerPixel, QSizeF printable);

// The main window: the MDI frame with menus, toolbar and status bar. It owns the project and
// opens every other window as its child. Its concerns are classes of their own: the items
// (MainActions), their enabled states (CommandStates), the edit items (TextEditCommands), the
// window menu (WindowMenu), the status bar (MainStatus), the caption (FrameCaption) and the
// data-mode switch (DataModeSwitch).
class TDorvan_Central : public QMainWindow, public EntryHost {
    Q_OBJECT
public:
    explicit TDorvan_Central(dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TDorvan_Central() override;

    dorvan::Project& project() { return project_; }
    dorvan::UserDialogs& dialogs() { return dialogs_; }
    // The data-entry mode switch: true for "Dáta - OBRÁZOK".
    bool pictureMode() const;
    DataModeSwitch& dataMode() { return *dataMode_; }
    CommandStates& commandStates() { return states_; }

    // --- Caption and status bar ---------------------------------------------------------------
    QString caption() const { return caption_.text(); }
    void setCaption(const QString& caption) { caption_.set(caption); }
    QString programTitle() const { return caption_.programTitle(); }
    MainStatus& status() { return *status_; }
    PanelStatusBar* statusPanels() const;
    void setStatusPanelText(int panel, const QString& text);
    QString statusPanelText(int panel) const;
    // The text shown in status panel 1 after every change of an input value.
    static QString changedValuesText();

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
    // "Importovať vzdialenosti ...": the data-entry window's distance import.
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

signals:
    // One print job was finished for the window with this object name; outputFile is the file
    // written when printing to a file, else empty.
    // printed: the window's size on paper, in printer dots.
    void printJobDone(const QString& windowName, const QString& outputFile, const QSizeF& printed);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

    // Writes the project under a name the user chooses; on success fileName holds the name
    // written.
    bool SaveProjectAs(QString& fileName);
    QString chooseSaveName(const QString& proposed);

private:
    void FormCreate();
    // Each item and toolbar button to its command.
    void connectCommands();
    void openCancelled();
    // A place list read from a spreadsheet file: the project as if opened, without a file name.
    bool importPlaceList(const QString& fileName);
    bool writeResultExport(const QString& fileName, bool geoJson);
    // Writes the report whole or not at all; false (and the message shown) when it cannot.
    bool writeReport(const QString& fileName);
    // "Exportovať výsledok ..." is on while an allocation window shows a result.
    void updateExportAction();
    bool readProjectForOpening(
        const QString& fileName, dorvan::LoadedProject& loaded, dorvan::RgbPicture& built);
    void showOpenedProject(const QString& fileName, dorvan::LoadedProject& loaded, dorvan::RgbPicture built);

    // Printing.
    bool printWindowImage(QWidget* window, QPrinter& printer, int job);
    // The report of the allocation window's result (Dorvan_Hlavny_Zostava.cpp).
    dorvan::report::PreparedReport prepareWindowReport() const;

    dorvan::Project project_;
    dorvan::UserDialogs& dialogs_;
    MainActions actions_;
    CommandStates states_ { actions_, project_ };
    FrameCaption caption_ { *this, project_ };
    std::unique_ptr<MainStatus> status_;
    std::unique_ptr<DataModeSwitch> dataMode_;
    TextEditCommands* textEdits_ = nullptr;
    WindowMenu* windowMenu_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;

    QPointer<TVstupUdajov> entryWindow_;
    QPointer<TCooperAlokMetod> cooperWindow_;
    QPointer<TPomocNapoveda> helpWindow_;
    TProgramAutori* aboutBox_ = nullptr;
    std::unique_ptr<NetworkWindows> networkWindows_;

    std::unique_ptr<QPrinter> printer_;
};

// "Riešenie DORVAN": creates the allocation window in the
// main window's client area (its FormCreate makes the first run) and sets its result choice by
// the project's picture. The window runs again whenever the project says its inputs changed.
// Returns the new window, or none while one is open.
TCooperAlokMetod* openCooperWindow(TDorvan_Central& mainWindow);
