#pragma once

#include "ui/network/NetworkHost.h"

#include <QPointer>

class TDorvan_Central;
class TGrafickaSietStanic;
class TMetodaDistribSieti;

// The main window's side of the two network windows: it creates them in its client area, keeps
// them and closes them by program.
class NetworkWindows : public NetworkHost {
public:
    explicit NetworkWindows(TDorvan_Central& frame);

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
    TDorvan_Central& frame_;
    QPointer<TMetodaDistribSieti> network_;
    QPointer<TGrafickaSietStanic> graph_;
};
