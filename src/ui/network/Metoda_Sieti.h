#pragma once

#include "core/network/StarSearch.h"
#include "core/project/Project.h"
#include "ui/common/ChildWindow.h"

#include <QString>
#include <QWidget>

class NetworkHost;
namespace network {
class OptimalNetworkPanel;
} // namespace network
class RoundsPanel;
class QListWidget;
class QTableWidget;
namespace dorvan {
class UserDialogs;
} // namespace dorvan

// The distribution network methods window: the star search over the project, its listing and
// the best network in a grid. Every activation searches again; the best network is kept in the
// project for the station graph.
class TMetodaDistribSieti : public QWidget {
    Q_OBJECT
public:
    // Creating the window runs FormCreate, which searches and opens the graph window.
    TMetodaDistribSieti(
        dorvan::Project& project, dorvan::UserDialogs& dialogs, NetworkHost& host, QWidget* parent = nullptr);
    ~TMetodaDistribSieti() override;

    static inline const QString CloseQuestion = QString::fromUtf8("Zavrieť \"Metódu definovania sietí\" ?!!");
    static constexpr int DesignClientWidth = 900;
    static constexpr int DesignClientHeight = 660;
    QSize sizeHint() const override;

    // " Okruhy ": the delivery rounds beside the stars.
    RoundsPanel& rounds() { return *rounds_; }

    // The search of the last computation.
    const dorvan::StarSearchResult& lastSearch() const { return search_; }
    // "Optimálna sieť": the exact search beside the star search.
    network::OptimalNetworkPanel& optimalPanel() const { return *optimal_; }

    // Bound to the window's creation and to every activation.
    void FormCreate();
    // True once its closing was accepted (the window may still be on the screen).
    bool isClosing() const { return child_.isClosing(); }
    // Activation, close question and closing by program.
    dorvan::ChildWindow& childWindow() { return child_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void compute();
    void fillLists();
    void fillGrid();
    void fitGridColumns();
    // The station graph draws the network chosen in the panel.
    void graphNetworkChanged();
    bool ZatvorDistribSiete();

    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    NetworkHost& host_;
    dorvan::StarSearchResult search_;
    bool computing_ = false;
    dorvan::ChildWindow& child_;

    // The controls, with their object names.
    QTableWidget* networkGrid = nullptr; // StringGrid1, the best network's places and stars
    QListWidget* starCountList = nullptr; // ListBox1, "Pocet Central: "
    QListWidget* starPlacesList = nullptr; // ListBox2, "Hviezda Zoznam" j: the places in star order
    QListWidget* centresList = nullptr; // ListBox3, "Centrum" s: each star's centre
    QListWidget* starSizesList = nullptr; // ListBox4, "Pocet miest v okruhu" s
    QListWidget* roundLengthList = nullptr; // ListBox5, "Dlzka okruhu: "
    network::OptimalNetworkPanel* optimal_ = nullptr;
    RoundsPanel* rounds_ = nullptr;
};
