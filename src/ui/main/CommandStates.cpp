// Which of the main window's items are enabled: one table row per event of the project's life,
// and one rule for each item that follows a window or the focus.
#include "ui/main/CommandStates.h"

#include "core/project/Project.h"
#include "ui/main/MainActions.h"

#include <QAction>
#include <QGroupBox>
#include <QRadioButton>
#include <QToolButton>

#include <cstdint>

namespace {

enum class Set : std::uint8_t { Keep, On, Off, OnIfCoordsDiffer };

struct EnabledRow {
    Set save; // UlozAkoVU
    Set print; // Tlacit
    Set close; // Zatvor
    Set cooper; // Cooper
    Set network; // Siete
    Set fileButtons; // ToolButton4, ToolButton5
    Set modeGroup; // GroupBox1
    Set modeButtons; // RadioButton1, RadioButton2
};

constexpr EnabledRow rowFor(MainEvent event)
{
    constexpr Set K = Set::Keep, On = Set::On, Off = Set::Off;
    switch (event) {
    case MainEvent::ProgramStart:
        return { Off, Off, Off, Off, Off, Off, Off, Off };
    case MainEvent::NewProject:
        return { On, On, On, K, K, On, On, On };
    case MainEvent::OpenCompleted:
        return { On, On, On, Set::OnIfCoordsDiffer, On, On, K, Off };
    case MainEvent::OpenCancelled:
        return { Off, Off, Off, K, K, Off, K, K };
    case MainEvent::CooperOpened:
        return { On, On, On, K, K, K, K, K };
    case MainEvent::ProjectClosed:
        return { Off, K, K, K, K, K, K, K };
    case MainEvent::EntryWindowClosed:
        return { Off, Off, Off, Off, Off, K, Off, Off };
    case MainEvent::FirstCountAccepted:
        return { K, K, K, K, K, K, Off, Off };
    case MainEvent::LastPlaceEntered:
        return { K, K, K, Set::OnIfCoordsDiffer, On, K, K, K };
    case MainEvent::SettingsSwitchedOn:
        return { K, K, K, Set::OnIfCoordsDiffer, K, K, K, K };
    case MainEvent::SettingsSwitchedOff:
        return { K, K, K, Off, K, K, K, K };
    }
    return { K, K, K, K, K, K, K, K };
}

template <typename T> void applySet(T* target, Set how, bool coordsDiffer)
{
    if (target == nullptr)
        return;
    switch (how) {
    case Set::Keep:
        break;
    case Set::On:
        target->setEnabled(true);
        break;
    case Set::Off:
        target->setEnabled(false);
        break;
    case Set::OnIfCoordsDiffer:
        if (coordsDiffer)
            target->setEnabled(true);
        break;
    }
}

} // namespace

CommandStates::CommandStates(const MainActions& actions, const dorvan::Project& project)
    : actions_(actions)
    , project_(project)
{
}

void CommandStates::apply(MainEvent event)
{
    const EnabledRow row = rowFor(event);
    const bool differ = project_.State.CoordsDiffer;
    const MainActions& m = actions_;
    applySet(m.UlozAkoVU, row.save, differ);
    applySet(m.Tlacit, row.print, differ);
    applySet(m.Zatvor, row.close, differ);
    applySet(m.Cooper, row.cooper, differ);
    applySet(m.Siete, row.network, differ);
    if (row.network == Set::On)
        networkItemEnabled_ = true;
    else if (row.network == Set::Off)
        networkItemEnabled_ = false;
    applySet(m.saveToolButton, row.fileButtons, differ);
    applySet(m.printToolButton, row.fileButtons, differ);
    applySet(m.modeGroup, row.modeGroup, differ);
    applySet(m.radioManual, row.modeButtons, differ);
    applySet(m.radioPicture, row.modeButtons, differ);
}

void CommandStates::showAllocationCommand()
{
    const auto& s = project_.State;
    actions_.Cooper->setEnabled(project_.Choices.SettingsOn && s.CoordsDiffer && s.PlaceCount >= 2);
}

void CommandStates::showResultCommands(bool resultShown)
{
    for (QAction* a : actions_.resultActions())
        if (a != nullptr)
            a->setEnabled(resultShown);
}

bool CommandStates::showDistanceImport(bool entryWindowOpen)
{
    const auto& s = project_.State;
    const bool on = entryWindowOpen && s.PlacesComplete && s.PlaceCount >= 2;
    actions_.ImportujVzdialenosti->setEnabled(on);
    return on;
}

void CommandStates::showEditCommands(bool textTarget)
{
    for (QAction* a : actions_.editActions())
        a->setEnabled(textTarget);
}

void CommandStates::showWindowCommands(bool anyWindow)
{
    for (QAction* a : actions_.windowActions())
        a->setEnabled(anyWindow);
}
