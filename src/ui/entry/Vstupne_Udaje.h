#pragma once

#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceRelations.h"
#include "core/entry/ProjectSession.h"
#include "core/project/AllocationSettings.h"
#include "core/project/Project.h"
#include "core/project/ProjectRecord.h"
#include "ui/common/ChildWindow.h"
#include "ui/entry/EntryPages.h"

#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class EntryHost;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QScrollBar;
namespace entry {
class CriteriaPage;
class OverviewPage;
class PicturePage;
class PlacesPage;
} // namespace entry
namespace dorvan {
class UserDialogs;
} // namespace dorvan

// The data-entry window: places, criteria, allocation settings and distribution groups.
// An MDI child of the main window, at most one at a time. It reads and writes the project in
// place: every choice a run needs (criterion boxes, iteration settings, groups) is kept in the
// project's EntryChoices as the user makes it, and a change that makes a result stale is told
// to the project's observers. The main window hears of its effects on the project commands
// through EntryHost.
//
// Each page is a class of its own holding its controls: PlacesPage (List1,
// Vstupne_Udaje_Miesta.cpp), CriteriaPage (List2 with the criterion boxes and value sheets,
// Vstupne_Udaje_Kriteria.cpp) with its parts the value grids and single-value sheets
// (Vstupne_Udaje_Kriteria_Mriezky.cpp, Vstupne_Udaje_Kriteria_Hodnoty.cpp), the relation sheets
// (distances, centre, depots and priorities: Vstupne_Udaje_Vzdialenosti.cpp,
// Vstupne_Udaje_Centrala.cpp, Vstupne_Udaje_Sklady.cpp), SettingsSheet (TabSheet14,
// Vstupne_Udaje_Nastavenie.cpp) and GroupsSheet (TabSheet15, Vstupne_Udaje_Skupiny.cpp),
// OverviewPage (List4, Vstupne_Udaje_Zoznam.cpp) and PicturePage (TabSheet19,
// Vstupne_Udaje_Obrazok.cpp). The pages reach each other only through EntryPages, which this
// window implements; the window
// (Vstupne_Udaje.cpp) builds PageControl1, owns closing, hands each project change to the page
// concerned and keeps the routines other code calls as forwards to the pages.
class TVstupUdajov : public QWidget, private EntryPages {
    Q_OBJECT
public:
    TVstupUdajov(
        dorvan::Project& project, dorvan::UserDialogs& dialogs, EntryHost& host, QWidget* parent = nullptr);
    ~TVstupUdajov() override;

    // Close question and closing state.
    dorvan::ChildWindow& childWindow() { return child_; }

    // --- Iteration settings as the project keeps them from the settings page ---
    dorvan::StoppingRule stoppingRule() const;
    dorvan::StartPoint startPoint() const;
    QString precisionText() const; // Edit47, checked by the run
    QString correctionText() const; // Edit48, checked by the run

    // --- Routines other windows call ---
    // Brings the loading-time page in line with its check box (CheckBox8).
    void refreshLoadTimesPage();
    // Stores the group list ListBox9 into GroupedPlaceName and GroupPlaceCount.
    void SelektujSkupiny();
    // The group proposal's table of totals by centre count, header first; empty without rows.
    std::vector<std::vector<std::string>> proposalTable() const;
    // Lays out StringGrid6 for places 1..PlaceCount, shows it and fills every row from the
    // record (used when a project was opened).
    void FillPlaceGrid();
    // Shows the map picture of an opened project on the picture page: sizes Image1, draws the
    // picture with the marks of the places, fills StringGrid7, enables Image1, disables Button48.
    void showProjectPicture();

    // --- Used when a project was opened ---
    // Enables the pages List2, List3 and List4.
    void enableProjectPages() override;
    // Shows the project's choices: the criterion boxes in byte order (a ticked box runs its
    // click handler and then its update routine once more, and shows GroupBox1; the others are
    // unticked), then CheckBox16 when "Riešenie DORVAN" is chosen (its handler runs, and its
    // update routine once more).
    void showChoices();
    // " Koľko miest doplniť ? " in navy over the place-count field.
    void showAddPlacesPrompt();
    // "Importovať vzdialenosti ...": a matrix of real distances from a file (the distance
    // sheet's import). True when the project took a matrix.
    bool importDistances();

    // Shows or hides the tab of a criterion page of PageControl2, counting the open pages and
    // showing GroupBox1 while any is open. Only a change of visibility changes the count.
    void showCriterionPage(QWidget* sheet, bool show) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Vstupne_Udaje.cpp
    void buildPages();
    QWidget* buildRoutePage();
    bool VstupUdajeZatvor();
    // From the model: the project changed.
    void projectChanged(dorvan::ProjectChange what);
    // The manual-entry page (List1) or the picture page (TabSheet19) shown, the other hidden.
    void showDataPage(bool pictureMode);
    void showProjectPages(bool on);
    // Another page of PageControl1 became the current one.
    void onPageChanged();
    // EntryPages: what the pages ask of the window and of each other.
    void valuesChanged() override;
    void rerunIfCooperOpen() override;
    void placeDeleted(const dorvan::PlaceListChange& change) override;
    void setCurrentCriterionPage(QWidget* sheet) override;
    void refreshCriterion(entry::CriterionBox box) override;
    void showCriterionTicked(entry::CriterionBox box) override;
    void placeListCompleted(const dorvan::ListCompletion& completion) override;
    void rebuildPlaceValuePages() override;
    void refillPlaceRows() override;
    bool pictureTabVisible() const override;
    bool showingProjectAgain() const override { return showingAgain_; }

    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    EntryHost& host_;
    // The close question (with "Uložiť ..." while there is unsaved work).
    dorvan::ChildWindow& child_;
    dorvan::ProjectObservers::Observation observation_;
    // Set when the window goes: from then on no page's handler touches the project.
    std::shared_ptr<bool> closing_ = std::make_shared<bool>(false);
    // Set while the pages show the project after an undo or a redo.
    bool showingAgain_ = false;

    QTabWidget* pageTabs = nullptr; // PageControl1
    entry::PlacesPage* places_ = nullptr; // List1
    entry::CriteriaPage* criteria_ = nullptr; // List2
    QWidget* routePage_ = nullptr; // List3
    entry::OverviewPage* overview_ = nullptr; // List4
    entry::PicturePage* picture_ = nullptr; // TabSheet19

    // The project's transitions this window starts, with the rules of typed and clicked place
    // entry and what an addition started from.
    dorvan::ProjectSession session_;
    EntryContext context_;
};
