#pragma once

#include "core/project/Project.h"
#include "ui/main/CommandStates.h"
#include "ui/main/DataModeSwitch.h"
#include "ui/main/FrameCaption.h"
#include "ui/main/MainActions.h"
#include "ui/main/MainStatus.h"
#include "ui/main/ProjectFileCommands.h"
#include "ui/main/ProjectSaving.h"
#include "ui/main/ProjectWindows.h"
#include "ui/main/ReportCommands.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class NetworkWindows;
class PanelStatusBar;
class QMdiArea;
class QMdiSubWindow;
class ResultCommands;
class TCooperAlokMetod;
class TextEditCommands;
class TPomocNapoveda;
class TProgramAutori;
class TVstupUdajov;
class WindowMenu;
namespace dorvan {
class UserDialogs;
} // namespace dorvan

// The main window: the MDI frame with menus, toolbar and status bar. It owns the project and
// opens every other window as its child. Its concerns are classes of their own, each given
// only what it works on: the items (MainActions) and their enabled states (CommandStates), the
// edit items (TextEditCommands), the window menu (WindowMenu), the status bar (MainStatus), the
// caption (FrameCaption), the data-mode switch (DataModeSwitch), the project's windows and the
// data-entry window's host (ProjectWindows), the project's files (ProjectFileCommands,
// ProjectSaving), the result's export (ResultCommands) and what goes on paper (ReportCommands).
// The window builds them, wires each item to its command and shows hints.
class TDorvan_Central : public QMainWindow {
    Q_OBJECT
public:
    explicit TDorvan_Central(dorvan::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TDorvan_Central() override;

    dorvan::Project& project() { return project_; }
    dorvan::UserDialogs& dialogs() { return dialogs_; }

    // --- The parts ----------------------------------------------------------------------------
    CommandStates& commandStates() { return states_; }
    DataModeSwitch& dataMode() { return *dataMode_; }
    MainStatus& status() { return *status_; }
    ProjectWindows& projectWindows() { return *projectWindows_; }
    ProjectFileCommands& projectFiles() { return *projectFiles_; }
    ProjectSaving& saving() { return *saving_; }
    ReportCommands& reports() { return *reports_; }
    NetworkWindows& networkWindows() { return *networkWindows_; }
    // The data-mode switch: true for "Dáta - OBRÁZOK".
    bool pictureMode() const;

    // --- Caption and status bar ---------------------------------------------------------------
    QString caption() const { return caption_.text(); }
    void setCaption(const QString& caption) { caption_.set(caption); }
    QString programTitle() const { return caption_.programTitle(); }
    PanelStatusBar* statusPanels() const;
    void setStatusPanelText(int panel, const QString& text);
    QString statusPanelText(int panel) const;

    // --- Child windows ----------------------------------------------------------------------
    QMdiArea* mdiArea() const { return mdiArea_; }
    // Puts a window into the client area; the frame it gets goes away with the window, and the
    // window goes away with its frame.
    QMdiSubWindow* addChildWindow(QWidget* window, bool maximised = false);
    TVstupUdajov* entryWindow() const;
    bool entryWindowOpen() const;
    TCooperAlokMetod* cooperWindow() const;
    bool cooperWindowOpen() const;
    TPomocNapoveda* helpWindow() const;
    TProgramAutori* aboutBox() const { return aboutBox_; }

    // "Otvor ako ..." from the point where the dialog has given a file name (also used for a
    // project named on the command line). False when the file was refused or the user kept the
    // open project.
    bool openProjectFile(const QString& fileName);

    // Commands of the methods and help menus.
    void CooperClick();
    void SieteClick();
    void PomocClick();
    void AutoriClick();
    void KoniecClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The hint handler: status tips land in panel 2.
    bool event(QEvent* event) override;

private:
    // The project's state at the program's start.
    void FormCreate();
    // Each item and toolbar button to its command.
    void connectCommands();

    dorvan::Project project_;
    dorvan::UserDialogs& dialogs_;
    MainActions actions_;
    CommandStates states_ { actions_, project_ };
    FrameCaption caption_ { *this, project_ };
    std::unique_ptr<MainStatus> status_;
    std::unique_ptr<DataModeSwitch> dataMode_;
    TextEditCommands* textEdits_ = nullptr;
    // The edit items follow the project's history.
    dorvan::ProjectObservers::Observation historyObservation_;
    WindowMenu* windowMenu_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    std::unique_ptr<NetworkWindows> networkWindows_;
    std::unique_ptr<ProjectSaving> saving_;
    std::unique_ptr<ProjectWindows> projectWindows_;
    std::unique_ptr<ProjectFileCommands> projectFiles_;
    std::unique_ptr<ResultCommands> results_;
    std::unique_ptr<ReportCommands> reports_;
    QPointer<TPomocNapoveda> helpWindow_;
    TProgramAutori* aboutBox_ = nullptr;
};

// "Riešenie DORVAN" without the enabled states: the allocation window in the main window's
// client area (ProjectWindows::openCooperWindow). None while one is open.
TCooperAlokMetod* openCooperWindow(TDorvan_Central& mainWindow);
