// The data-entry and allocation windows of the open project, and the data-entry window's events.
#include "ui/main/ProjectWindows.h"

#include "core/entry/ProjectSession.h"
#include "core/project/Project.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/CommandStates.h"
#include "ui/main/FrameCaption.h"
#include "ui/main/MainActions.h"
#include "ui/main/MainStatus.h"
#include "ui/main/NetworkWindows.h"
#include "ui/main/ProjectSaving.h"
#include "ui/main/WindowMenu.h"
#include "ui/network/Metoda_Sieti.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using namespace Qt::StringLiterals;

ProjectWindows::ProjectWindows(const Parts& parts)
    : p_(parts)
{
}

TVstupUdajov* ProjectWindows::entryWindow() const
{
    return entryWindow_;
}

TCooperAlokMetod* ProjectWindows::cooperWindow() const
{
    return cooperWindow_;
}

bool ProjectWindows::entryWindowOpen() const
{
    return entryWindow_ != nullptr && !entryWindow_->childWindow().isClosing();
}

bool ProjectWindows::requestEntryWindowClose()
{
    if (entryWindow_ == nullptr)
        return true;
    auto* frame = qobject_cast<QMdiSubWindow*>(entryWindow_->parentWidget());
    // Closing the frame closes the window inside first, which asks its own question.
    const bool closed = frame != nullptr ? frame->close() : entryWindow_->close();
    if (!closed)
        return false;
    // Gone now rather than at the next turn of the event loop, so a new window never meets the
    // old one.
    QWidget* gone = frame != nullptr ? static_cast<QWidget*>(frame) : entryWindow_.data();
    entryWindow_ = nullptr;
    delete gone;
    return true;
}

void ProjectWindows::createEntryWindow()
{
    auto* w = new TVstupUdajov(p_.project, p_.dialogs, *this, &p_.area);
    entryWindow_ = w;
    p_.windowMenu.add(w, true);
}

TCooperAlokMetod* ProjectWindows::openCooperWindow()
{
    if (cooperWindowOpen())
        return nullptr;
    auto* w = new TCooperAlokMetod(p_.project, p_.dialogs);
    w->setEntryWindowOpen([this] { return entryWindowOpen(); });
    cooperWindow_ = w;
    // The window going is the result going (one allocation window at a time; the file menu
    // checks again whenever it opens). The half-destroyed window is not asked anything.
    CommandStates& states = p_.states;
    QObject::connect(w, &QObject::destroyed, &p_.area, [&states] { states.showResultCommands(false); });
    states.showResultCommands(true);
    // A window opened from the menu comes to the front, also over a maximised data-entry window.
    // It takes the focus too: when the menu closes, the focus would otherwise go back into the
    // data-entry window and bring that one forward again.
    if (QMdiSubWindow* frame = p_.windowMenu.add(w)) {
        p_.area.setActiveSubWindow(frame);
        w->setFocus();
    }
    w->setResultChoiceByPicture(p_.project.Record.hasPicture());
    return w;
}

void ProjectWindows::CooperClick()
{
    if (cooperWindowOpen())
        return;
    // The window makes its first run and takes its result choice from the picture.
    openCooperWindow();
    dorvan::ProjectSession(p_.project).allocationOpened();
    p_.states.apply(MainEvent::CooperOpened);
}

bool ProjectWindows::updateResultCommands()
{
    const bool shown = cooperWindowOpen();
    p_.states.showResultCommands(shown);
    return shown;
}

void ProjectWindows::ImportujVzdialenostiClick()
{
    if (!p_.states.showDistanceImport(entryWindowOpen()) || !entryWindow_->importDistances())
        return;
    // An open network window searches again on the new distances, as its activation would: it
    // may be the active window, which the import does not activate anew.
    if (p_.networkWindows.networkWindowOpen())
        p_.networkWindows.networkWindow()->FormCreate();
}

// ----------------------------------------------------------------------------------------------
// EntryHost

void ProjectWindows::entryValuesChanged()
{
    p_.status.setText(1, MainStatus::changedValuesText());
}

void ProjectWindows::entryFirstCountAccepted()
{
    p_.states.apply(MainEvent::FirstCountAccepted);
}

void ProjectWindows::entryLastPlaceEntered()
{
    p_.states.apply(MainEvent::LastPlaceEntered);
}

void ProjectWindows::entrySettingsSwitched(bool on)
{
    p_.states.apply(on ? MainEvent::SettingsSwitchedOn : MainEvent::SettingsSwitchedOff);
}

void ProjectWindows::entryWindowClosed()
{
    p_.states.apply(MainEvent::EntryWindowClosed);
    p_.caption.showTitle();
    p_.status.setText(1, QString());
}

void ProjectWindows::entryStatusNotice(const QString& text)
{
    p_.status.setText(2, text);
}

void ProjectWindows::entryProgress(const QString& text, int percent)
{
    p_.status.showStepProgress(text, percent);
}

void ProjectWindows::entryProgressEnded()
{
    p_.status.endStepProgress();
}

bool ProjectWindows::cooperWindowOpen() const
{
    return cooperWindow_ != nullptr && !cooperWindow_->childWindow().isClosing();
}

void ProjectWindows::closeCooperWindow()
{
    if (cooperWindow_ != nullptr)
        cooperWindow_->childWindow().closeByProgram();
}

void ProjectWindows::closeProjectWindows()
{
    NetworkWindows& network = p_.networkWindows;
    if (network.networkWindowOpen())
        network.closeNetworkWindow();
    // The allocation window shows this project, so it goes with it, also when places were added
    // after it opened (that completion clears EntryStarted).
    if (cooperWindowOpen())
        closeCooperWindow();
    if (network.graphWindowOpen())
        network.closeGraphWindow();
}

bool ProjectWindows::saveProjectAs()
{
    return p_.saving.saveProjectAs();
}
