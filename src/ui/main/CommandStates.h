#pragma once

namespace dorvan {
struct Project;
} // namespace dorvan
struct MainActions;

// The events that change which project commands are available. Each one maps to one row of
// the main window's enabled-state table (CommandStates::apply).
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

// Every enable and disable of the main window's items and switches: the project commands by
// the table of events, the others by what they need (a result, a complete place list, a text
// field, a child window).
class CommandStates {
public:
    CommandStates(const MainActions& actions, const dorvan::Project& project);

    // Applies one row of the enabled-state table.
    void apply(MainEvent event);
    // Whether the hidden item "Metódy návrhu distribučných sietí" is enabled. (A hidden action
    // always reports itself disabled, so the state is kept here as well.)
    bool networkItemEnabled() const { return networkItemEnabled_; }

    // After an undo or a redo: "Riešenie DORVAN" is on while the project put back could be
    // allocated, as the list's completion and the settings switch leave it (the settings on,
    // at least two places, not all at one spot).
    void showAllocationCommand();
    // "Exportovať výsledok ...", "Kopírovať výsledok" and the two report items are on while an
    // allocation window shows a result.
    void showResultCommands(bool resultShown);
    // "Importovať vzdialenosti ..." is on while the data-entry window holds a complete list
    // of at least two places. Returns whether it is on.
    bool showDistanceImport(bool entryWindowOpen);
    // The edit items are on while a text field is their target.
    void showEditCommands(bool textTarget);
    // The window menu's arrangement items are on while a child window is open.
    void showWindowCommands(bool anyWindow);

private:
    const MainActions& actions_;
    const dorvan::Project& project_;
    bool networkItemEnabled_ = false;
};
