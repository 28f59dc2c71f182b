#pragma once

// What the data-entry window may ask of the main window. The main window implements it; window
// tests of the data-entry window install a recording double. Each call is one event of the
// main window's enabled-state table, so every enabled state is derived in one place there.
// What the data-entry window changes in the project, the other windows hear from the project.
#include <QString>

class EntryHost {
public:
    virtual ~EntryHost() = default;

    // An input value changed: status panel 1 shows "ZMENENÉ HODNOTY !!!".
    virtual void entryValuesChanged() = 0;
    // The first place count was accepted: the mode group box and both radio buttons go off.
    virtual void entryFirstCountAccepted() = 0;
    // The last place of a list was entered: "Riešenie DORVAN" on when CoordsDiffer is set,
    // the (hidden) network item on.
    virtual void entryLastPlaceEntered() = 0;
    // "Nastavenie premenných DORVAN" ticked (on) or unticked (off).
    virtual void entrySettingsSwitched(bool on) = 0;
    // Whether the allocation window is open (and not on its way out). A host without such a
    // window says no.
    virtual bool cooperWindowOpen() const { return false; }
    // The allocation window closes without asking: a place it shows is going. A host without
    // such a window does nothing.
    virtual void closeCooperWindow() { }
    // The data-entry window is closing after confirmation: the windows working on its project
    // (the allocation window while the entry is started, the network windows) close without
    // asking.
    virtual void closeProjectWindows() { }
    // "Ulož ako ...", asked for by a closing question's "Uložiť ..."; true when the project was
    // saved. A host that cannot save says false, and the window stays.
    virtual bool saveProjectAs() { return false; }
    // A notice for the status bar (a map warped at a coarser resolution), shown in full. A host
    // without a status bar ignores it.
    virtual void entryStatusNotice(const QString& text) { (void)text; }
    // A long step of the window runs (a map read and warped): the status bar shows `text` and
    // how much is done; entryProgressEnded takes both away. A host without a status bar ignores
    // them.
    virtual void entryProgress(const QString& text, int percent)
    {
        (void)text;
        (void)percent;
    }
    virtual void entryProgressEnded() { }
    // The data-entry window closed after confirmation.
    virtual void entryWindowClosed() = 0;
};
