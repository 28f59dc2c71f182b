#include "ui/main/NetworkWindows.h"

#include "ui/main/Dorvan_Hlavny.h"
#include "ui/network/Graficka_Siet_Stanic.h"
#include "ui/network/Metoda_Sieti.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

void bringToFront(QMdiArea* area, QWidget* window)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        area->setActiveSubWindow(frame);
        window->setFocus();
    }
}

} // namespace

NetworkWindows::NetworkWindows(TDorvan_Central& frame)
    : frame_(frame)
{
}

TMetodaDistribSieti* NetworkWindows::networkWindow() const
{
    return network_;
}

TGrafickaSietStanic* NetworkWindows::graphWindow() const
{
    return graph_;
}

void NetworkWindows::open()
{
    if (networkWindowOpen()) {
        bringToFront(frame_.mdiArea(), network_);
        return;
    }
    network_ = new TMetodaDistribSieti(frame_.project(), frame_.dialogs(), *this);
    frame_.addChildWindow(network_, true);
    bringToFront(frame_.mdiArea(), network_);
}

void NetworkWindows::closeNetworkWindow()
{
    if (network_ != nullptr)
        network_->childWindow().closeByProgram();
}

bool NetworkWindows::networkWindowOpen() const
{
    return network_ != nullptr && !network_->isClosing();
}

bool NetworkWindows::graphWindowOpen() const
{
    return graph_ != nullptr && !graph_->isClosing();
}

void NetworkWindows::openGraphWindow()
{
    // A graph window whose closing was accepted is still here until the event loop deletes it;
    // the new computation needs a window of its own.
    if (graphWindowOpen())
        return;
    graph_ = new TGrafickaSietStanic(frame_.project(), frame_.dialogs());
    frame_.addChildWindow(graph_, true);
    graph_->FormCreate();
}

void NetworkWindows::redrawGraphWindow()
{
    if (graphWindowOpen())
        graph_->KresliGraf();
}

void NetworkWindows::closeGraphWindow()
{
    if (graph_ != nullptr)
        graph_->childWindow().closeByProgram();
}
