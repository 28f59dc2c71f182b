#pragma once

#include "ui/network/NetworkHost.h"

#include <QPointer>

class QMdiArea;
class TGrafickaSietStanic;
class TMetodaDistribSieti;
class WindowMenu;
namespace dorvan {
class UserDialogs;
struct Project;
} // namespace dorvan

// The main window's side of the two network windows: it creates them in its client area, keeps
// them and closes them by program.
class NetworkWindows : public NetworkHost {
public:
    NetworkWindows(
        dorvan::Project& project, dorvan::UserDialogs& dialogs, QMdiArea& area, WindowMenu& windowMenu);

    // "Metódy návrhu distribučných sietí" (SieteClick): creates the network window, or brings
    // the open one to the front (which computes again).
    void open();
    // Closes the network window without its question.
    void closeNetworkWindow();
    // Whether a window is there and not on its way out.
    bool networkWindowOpen() const;
    bool graphWindowOpen() const;

    void openGraphWindow() override;
    void closeGraphWindow() override;
    void redrawGraphWindow() override;

    TMetodaDistribSieti* networkWindow() const;
    TGrafickaSietStanic* graphWindow() const;

private:
    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    QMdiArea& area_;
    WindowMenu& windowMenu_;
    QPointer<TMetodaDistribSieti> network_;
    QPointer<TGrafickaSietStanic> graph_;
};
