#include "ui/main/NetworkWindows.h"

#include "ui/main/WindowMenu.h"
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

NetworkWindows::NetworkWindows(
    dorvan::Project& project, dorvan::UserDialogs& dialogs, QMdiArea& area, WindowMenu& windowMenu)
    : project_(project)
    , dialogs_(dialogs)
    , area_(area)
    , windowMenu_(windowMenu)
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
        bringToFront(&area_, network_);
        return;
    }
    network_ = new TMetodaDistribSieti(project_, dialogs_, *this);
    windowMenu_.add(network_, true);
    bringToFront(&area_, network_);
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
    graph_ = new TGrafickaSietStanic(project_, dialogs_);
    windowMenu_.add(graph_, true);
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
