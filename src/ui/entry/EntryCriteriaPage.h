#pragma once

#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/EntryPages.h"

#include <QWidget>

#include <QString>

#include <array>
#include <utility>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLayout;
class QTabWidget;

namespace entry {

class CentreSheet;
class DepotSheet;
class DistanceSheet;
class GroupsSheet;
class PrioritySheet;
class RouteSheet;
class SettingsSheet;
class SingleValuesSheet;
class ValueGridSheet;

// The criteria page List2 of the data-entry window: the criterion boxes CheckBox1..CheckBox15
// on the left with the settings and groups switches at their foot, and on the right (GroupBox1)
// the criterion sheets of PageControl2 that are ticked. Which box is which criterion, and how
// its sheet is set up, is the table of EntryCriterionBoxes.h; the sheets are parts of the page:
// the value grids, the single-value sheets, the relation sheets, the settings sheet and the
// groups sheet. Code in Vstupne_Udaje_Kriteria.cpp.
class CriteriaPage : public QWidget {
public:
    explicit CriteriaPage(const EntryContext& context);

    SettingsSheet* settings() const { return settings_; }
    GroupsSheet* groups() const { return groups_; }
    DistanceSheet* distances() const { return distances_; }
    // The parts whose handlers the page's controls reach, itself included.
    std::vector<const QObject*> parts() const;

    // Brings the sheet of a criterion box in line with the box, as its click does.
    void runCriterionUpdate(CriterionBox box);
    // Shows or hides a sheet's tab, counting the open sheets and showing GroupBox1 while any is
    // open. Only a change of visibility changes the count. The tab bar holds only the shown
    // sheets, in the order of tabOrder_: Qt's scroll arrows measure from the first and the last
    // tab, hidden or not, and went dead with a hidden tab at either end.
    void showCriterionPage(QWidget* sheet, bool show);
    // Makes a sheet the current one, while its tab is shown.
    void setCurrentCriterionPage(QWidget* sheet);
    // The criterion sheet shown; null when none is.
    QWidget* currentCriterionPage() const;
    // The ticked sheets that list places (quantity, price, frequency, distances, centre, depots,
    // priorities) show them again.
    void rebuildPlaceValuePages();
    // Ticks the boxes as the project's record says (see TVstupUdajov::showChoices).
    void showChoices();
    // After an undo or a redo, once the boxes show the project: the ticked sheets show the
    // values it holds (the grids and the single values are shown again by their boxes).
    void showStoredValues();
    // A box the project's choices tick now: ticked as a click would (its handler runs), or
    // brought in line when it was ticked already; its sheet becomes the current one.
    void showTicked(CriterionBox box);

private:
    void buildCriterionBoxes(QLayout* boxes);
    void buildCriterionSheets();
    void addSheet(CriterionBox box, QWidget* sheet, const QString& caption);
    void addTab(QWidget* sheet, const QString& caption);
    QCheckBox* checkBox(CriterionBox box) const { return criterionBox_[boxIndex(box)]; }
    bool criterionSwitch(CriterionBox box);
    void criterionBoxClicked(CriterionBox box);
    void valuePage(CriterionBox box);
    void relationPage(CriterionBox box);
    void routePage(CriterionBox box);
    ValueGridSheet* valueSheet(CriterionBox box) const;
    RouteSheet* routeSheet(CriterionBox box) const;
    SingleValuesSheet* singlesSheet(CriterionBox box) const;

    EntryContext context_;
    QGroupBox* criterionSheetsBox = nullptr; // GroupBox1
    QTabWidget* criteriaTabs = nullptr; // PageControl2
    // CheckBox1..CheckBox15 and their sheets, by boxIndex.
    std::array<QCheckBox*, CriterionBoxes.size()> criterionBox_ {};
    std::array<QWidget*, CriterionBoxes.size()> criterionSheet_ {};
    // Every sheet with its caption, in the order the tabs show.
    std::vector<std::pair<QWidget*, QString>> tabOrder_;
    std::array<ValueGridSheet*, 3> valueSheets_ {}; // TabSheet1, TabSheet2, TabSheet12
    std::array<RouteSheet*, 2> routeSheets_ {}; // TabSheet4, TabSheet5
    std::array<SingleValuesSheet*, 4> singlesSheets_ {}; // TabSheet8, 9, 11, 13
    DistanceSheet* distances_ = nullptr; // TabSheet3
    CentreSheet* centre_ = nullptr; // TabSheet6
    DepotSheet* depots_ = nullptr; // TabSheet7
    PrioritySheet* priorities_ = nullptr; // TabSheet10
    SettingsSheet* settings_ = nullptr; // TabSheet14
    GroupsSheet* groups_ = nullptr; // TabSheet15
};

} // namespace entry
