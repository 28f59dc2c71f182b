#pragma once

#include "ui/entry/EntryHost.h"

#include <QPointer>

class CommandStates;
class FrameCaption;
class MainStatus;
class NetworkWindows;
class ProjectSaving;
class QMdiArea;
class TCooperAlokMetod;
class TVstupUdajov;
class WindowMenu;
namespace dorvan {
class UserDialogs;
struct Project;
} // namespace dorvan

// The windows that show the open project: the data-entry window and the allocation window (the
// network windows are NetworkWindows'). It creates and closes them, and it is the data-entry
// window's host: that window's events reach the enabled states, the status bar and the caption
// through here.
class ProjectWindows : public EntryHost {
public:
    struct Parts {
        dorvan::Project& project;
        dorvan::UserDialogs& dialogs;
        QMdiArea& area;
        WindowMenu& windowMenu;
        CommandStates& states;
        MainStatus& status;
        FrameCaption& caption;
        NetworkWindows& networkWindows;
        ProjectSaving& saving;
    };
    explicit ProjectWindows(const Parts& parts);

    TVstupUdajov* entryWindow() const;
    // Whether the data-entry window is there and not on its way out: a project is open in it.
    bool entryWindowOpen() const;
    // Asks the data-entry window to close (it asks its own confirmation). True when no
    // data-entry window is left afterwards.
    bool requestEntryWindowClose();
    // Creates a new, empty data-entry window, maximised in the client area.
    void createEntryWindow();

    // The allocation window while it is open.
    TCooperAlokMetod* cooperWindow() const;
    // "Riešenie DORVAN": creates the allocation window in the client area (its FormCreate makes
    // the first run) with its result choice set by the project's picture. The window runs again
    // whenever the project says its inputs changed. None while one is open.
    TCooperAlokMetod* openCooperWindow();
    void CooperClick();
    // The result items on while the allocation window shows a result; true when it does.
    bool updateResultCommands();
    // "Importovať vzdialenosti ...": the data-entry window's distance import.
    void ImportujVzdialenostiClick();

    // --- EntryHost ----------------------------------------------------------------------------
    void entryValuesChanged() override;
    void entryFirstCountAccepted() override;
    void entryLastPlaceEntered() override;
    void entrySettingsSwitched(bool on) override;
    bool cooperWindowOpen() const override;
    void closeCooperWindow() override;
    void closeProjectWindows() override;
    bool saveProjectAs() override;
    // Panel 2 has the width for a notice in full (panel 1's is fixed).
    void entryStatusNotice(const QString& text) override;
    void entryProgress(const QString& text, int percent) override;
    void entryProgressEnded() override;
    void entryWindowClosed() override;

private:
    Parts p_;
    QPointer<TVstupUdajov> entryWindow_;
    QPointer<TCooperAlokMetod> cooperWindow_;
};
