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
struct GroupLists;
}

namespace entry {

// The groups sheet TabSheet15 of the criterion pages: the user sorts the places into numbered
// distribution groups, and its switch CheckBox17 ("Definovanie distribučných skupín - DORVAN"),
// which sits with the criterion boxes. Code in Vstupne_Udaje_Skupiny.cpp.
class GroupsSheet : public QWidget {
public:
    explicit GroupsSheet(const EntryContext& context);
    // The lists after a place was deleted: the deleted place's line goes, the moved places'
    // lines take their new names.
    void followPlaces(const dorvan::PlaceListChange& change);

    // CheckBox17, for the criteria page to place with the criterion boxes.
    QCheckBox* switchBox() const { return groupsSwitch; }
    // Brings the sheet in line with CheckBox17 and rebuilds its lists from the stored groups.
    void refreshGroupsSheet();
    // Stores the group list ListBox9 into GroupedPlaceName and GroupPlaceCount.
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
    void onGroupsSwitched(); // CheckBox17 ticked or unticked
    void onIntoGroup(); // Button43 ">>>"
    void onOutOfGroup(); // Button44 "<<<"
    // One line each: the first chosen line of the place list, or of the group list.
    void moveOnePlaceIn();
    void takeOneMemberOut();
    void onConfirmGroup(); // Button45 "OK": the group is complete
    dorvan::GroupLists readGroupLists() const;
    void showGroupLists(const dorvan::GroupLists& l, int selectedPlace, int selectedGroup);
    void setGroupCount(int count);
    void publishGroups();

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
    int LastGroupItem = -1;
    GroupProposal* proposal_ = nullptr;
};

} // namespace entry
