#pragma once

#include "ui/entry/EntryPages.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QLayout;
class QTabWidget;
class QTableWidget;

namespace entry {

class GroupsSheet;
class RelationSheets;
class SettingsSheet;

// The criteria page List2 of the data-entry window: the criterion boxes CheckBox1..CheckBox15
// on the left with the settings and groups switches at their foot, and on the right (GroupBox1)
// the criterion sheets of PageControl2 that are ticked. It owns the per-place value grids
// (StringGrid8, 9, 10) and the single values; the relation sheets, the settings sheet and the
// groups sheet are its parts. Code in Vstupne_Udaje_Kriteria.cpp.
class CriteriaPage : public QWidget {
public:
    explicit CriteriaPage(const EntryContext& context);

    SettingsSheet* settings() const { return settings_; }
    GroupsSheet* groups() const { return groups_; }
    // The parts whose handlers the page's controls reach, itself included.
    std::array<const QObject*, 4> parts() const;

    // Brings the sheet of criterion box `number` in line with the box (1..15, 16 the settings,
    // 17 the groups), as its click does.
    void runCriterionUpdate(int number);
    // Commits the quantity (0), price (1) or frequency (2) grid: validate, store, refill.
    void commitValueGrid(int kind);
    // Shows or hides a sheet's tab, counting the open sheets and showing GroupBox1 while any is
    // open. Only a change of visibility changes the count.
    void showCriterionPage(QWidget* sheet, bool show);
    void setCurrentCriterionPage(QWidget* sheet);
    // The ticked sheets that list places (quantity, price, frequency, distances, depots,
    // priorities) show them again.
    void rebuildPlaceValuePages();
    // Ticks the boxes as the project's choices say (see TVstupUdajov::showChoices).
    void showChoices();

private:
    void buildCriterionBoxes(QLayout* boxes);
    void buildCriterionSheets();
    QWidget* addSheet(int number, const char* name, const char* caption);
    QWidget* buildValueGridSheet(int kind);
    void buildRouteSheet(int number, const char* name, const char* caption, bool routeLength);
    QGroupBox* buildSingleBox(int i);
    void buildSinglesSheet(int number, const char* name, const char* caption, int first, int count,
        const char* currentName, const char* currentCaption);
    bool criterionSwitch(int number);
    void criterionBoxClicked(int number);
    void criterionPageOff(int number);
    void valuePage(int number, int kind);
    void fillValueGrid(int kind);
    void valueGridEvent(int kind);
    void setRouteEntry(bool routeLength);
    void routeEntryOk(bool routeLength, bool change);
    void routeAllowChange(bool routeLength);
    void siteValuesPage(bool loadTimes);
    void singleValueOk(int entry);
    void singleValuePage(int number);
    void bindValueControls();

    // The controls of the route length and distribution time sheets.
    struct RouteControls {
        QGroupBox* entryBox = nullptr;
        QLineEdit* entryEdit = nullptr;
        QPushButton* entryOk = nullptr;
        QGroupBox* changeBox = nullptr;
        QLineEdit* newEdit = nullptr;
        QPushButton* changeOk = nullptr;
        QLineEdit* currentEdit = nullptr;
        QPushButton* allowButton = nullptr;
    };
    // The entry box, field, OK button and current value of a single value.
    struct SingleControls {
        QGroupBox* entryBox = nullptr;
        QLineEdit* edit = nullptr;
        QPushButton* ok = nullptr;
        QLineEdit* current = nullptr;
    };
    const RouteControls& routeControls(bool routeLength) const { return route_[routeLength ? 0 : 1]; }

    EntryContext context_;
    QGroupBox* GroupBox1 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    // CheckBox1..CheckBox15 by number (slot 0 unused), their sheets, and the quantity, price and
    // frequency grids (StringGrid8, StringGrid9, StringGrid10).
    std::array<QCheckBox*, 16> criterionBox_ {};
    std::array<QWidget*, 16> criterionSheet_ {};
    std::array<QTableWidget*, 3> valueGrid_ {};
    std::array<RouteControls, 2> route_ {}; // route length, distribution time
    std::array<SingleControls, 10> single_ {}; // by entry of the single-value table
    SettingsSheet* settings_ = nullptr; // TabSheet14
    GroupsSheet* groups_ = nullptr; // TabSheet15
    RelationSheets* relations_ = nullptr; // TabSheet3, TabSheet6, TabSheet7, TabSheet10
};

} // namespace entry
