#pragma once

#include "ui/entry/EntryPages.h"

#include <QWidget>

#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
namespace entry {
class GroupProposal;
}
namespace dorvan {
struct PlaceListChange;
}

namespace entry {

// The groups sheet TabSheet15 of the criterion pages: the user sorts the places into numbered
// distribution groups, and its switch CheckBox17 ("Definovanie distribučných skupín - DORVAN"),
// which sits with the criterion boxes. Code in Vstupne_Udaje_Skupiny.cpp.
class GroupsSheet : public QWidget {
public:
    explicit GroupsSheet(const EntryContext& context);
    // The lists after a place was deleted (the project's groups followed it): the deleted
    // place's line goes, the moved places' lines take their new names.
    void followPlaces(const dorvan::PlaceListChange& change);

    // CheckBox17, for the criteria page to place with the criterion boxes.
    QCheckBox* switchBox() const { return groupsSwitch; }
    // Brings the sheet in line with CheckBox17 and lists the project's groups anew.
    void refreshGroupsSheet();
    // The lists, the count and the existing centres as the project holds them (after an undo or
    // a redo); writes nothing.
    void showGroups();
    // Stores the groups into GroupedPlaceName and GroupPlaceCount.
    void SelektujSkupiny();
    // Proposed groups ("Navrhnúť skupiny"): ticks group mode, lists the groups in ListBox9,
    // stores them and shows their number.
    void applyProposedGroups(const std::vector<std::string>& lines, int groupCount);
    // The group proposal's table of totals by centre count, header first; empty without rows.
    std::vector<std::vector<std::string>> proposalTable() const;

private:
    QGroupBox* buildListBox(
        const char* boxName, const char* caption, QListWidget*& list, const char* listName);
    QLayout* buildCountColumn();
    void onGroupsSwitched(bool on); // CheckBox17 ticked or unticked
    void onIntoGroup(); // Button43 ">>>"
    void onOutOfGroup(); // Button44 "<<<"
    void onConfirmGroup(); // Button45 "OK": the group is complete
    // The places at these rows into the groups; the members numbered so out of them.
    void moveIn(const std::vector<int>& rows);
    void takeOut(const std::vector<int>& members);
    // The project's place list and groups, with the lines chosen.
    void showLists(int selectedPlace, int selectedGroup);
    void enableList(QListWidget* list, bool on);

    EntryContext context_;
    QCheckBox* groupsSwitch = nullptr; // CheckBox17
    QGroupBox* groupsBox = nullptr; // GroupBox50
    QGroupBox* ungroupedBox = nullptr; // GroupBox51
    QGroupBox* groupListBox = nullptr; // GroupBox52
    QListWidget* ungroupedList = nullptr; // ListBox8
    QListWidget* groupList = nullptr; // ListBox9
    QPushButton* intoGroupButton = nullptr; // Button43
    QPushButton* outOfGroupButton = nullptr; // Button44
    QPushButton* confirmGroupButton = nullptr; // Button45
    QLineEdit* groupCountEdit = nullptr; // Edit49
    GroupProposal* proposal_ = nullptr;
};

} // namespace entry
