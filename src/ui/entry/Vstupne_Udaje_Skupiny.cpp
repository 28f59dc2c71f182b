// The distribution-group sheet (GroupsSheet): the user sorts the places into numbered groups;
// the allocation then finds one centre per group. Every move is a command of GroupEdits on the
// project's groups (EntryChoices::Groups); the group list ListBox9 and the count Edit49 show
// them, and SelektujSkupiny stores them into the record's file form.
#include "ui/entry/EntryGroupsSheet.h"

#include "core/entry/GroupEdits.h"
#include "core/entry/GroupList.h"
#include "core/project/Project.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/EntryGroupProposal.h"
#include "ui/entry/EntryHost.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using entry::setFieldColour;
using entry::Silver;

// The first chosen line in list order (several may be chosen), -1 when none is.
int selectedRow(const QListWidget* list)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            return i;
    return -1;
}

std::vector<int> selectedRows(const QListWidget* list)
{
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

// A member line's place among the member lines of the group list (headers not counted), and
// back. Taking a member out removes only lines after it from this count, whatever headers go.
int memberIndex(const QListWidget* groups, int row)
{
    int index = 0;
    for (int i = 0; i < row; ++i)
        if (!dorvan::isGroupHeader(groups->item(i)->text().toStdString()))
            ++index;
    return index;
}

void showLines(QListWidget* list, const std::vector<std::string>& text, int selected)
{
    list->clear();
    for (const auto& line : text)
        list->addItem(QString::fromStdString(line));
    if (selected >= 0 && selected < list->count())
        list->setCurrentRow(selected);
    else
        list->setCurrentRow(-1);
}

} // namespace

entry::GroupsSheet::GroupsSheet(const EntryContext& context)
    : context_(context)
{
    setObjectName("TabSheet15");
    groupsSwitch = new QCheckBox(u("Definovanie distribučných skupín - DORVAN"));
    groupsSwitch->setObjectName("CheckBox17");
    auto* sheetLayout = new QVBoxLayout(this);

    groupsBox = new QGroupBox(u(" Distribučné sklupiny "));
    groupsBox->setObjectName("GroupBox50");
    auto* row = new QHBoxLayout(groupsBox);
    ungroupedBox = buildListBox("GroupBox51", " Zoznam miest ", ungroupedList, "ListBox8");
    row->addWidget(ungroupedBox, 1);

    auto* arrows = new QVBoxLayout;
    intoGroupButton = new QPushButton(">>>");
    intoGroupButton->setObjectName("Button43");
    outOfGroupButton = new QPushButton("<<<");
    outOfGroupButton->setObjectName("Button44");
    arrows->addStretch(1);
    arrows->addWidget(intoGroupButton);
    arrows->addWidget(outOfGroupButton);
    arrows->addStretch(1);
    row->addLayout(arrows);

    groupListBox = buildListBox("GroupBox52", "Zoznam skupín", groupList, "ListBox9");
    row->addWidget(groupListBox, 1);
    row->addLayout(buildCountColumn());
    sheetLayout->addWidget(groupsBox, 1);
    proposal_ = new GroupProposal(context,
        [this](const std::vector<std::string>& lines, int count) { applyProposedGroups(lines, count); });
    sheetLayout->addWidget(proposal_);

    // Several names are moved at once: Ctrl- and Shift-click choose them; a double-click moves
    // the line clicked alone.
    for (QListWidget* list : { ungroupedList, groupList }) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setEnabled(false);
        setFieldColour(list, Silver);
    }
    intoGroupButton->setEnabled(false);
    outOfGroupButton->setEnabled(false);

    connect(intoGroupButton, &QPushButton::clicked, this, &entry::GroupsSheet::onIntoGroup);
    connect(outOfGroupButton, &QPushButton::clicked, this, &entry::GroupsSheet::onOutOfGroup);
    connect(ungroupedList, &QListWidget::itemDoubleClicked, this,
        [this](QListWidgetItem* line) { moveIn({ ungroupedList->row(line) }); });
    connect(groupList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* line) {
        if (!dorvan::isGroupHeader(line->text().toStdString()))
            takeOut({ memberIndex(groupList, groupList->row(line)) });
    });
    connect(confirmGroupButton, &QPushButton::clicked, this, &entry::GroupsSheet::onConfirmGroup);
    connect(groupsSwitch, &QCheckBox::toggled, this, &entry::GroupsSheet::onGroupsSwitched);
}

QGroupBox* entry::GroupsSheet::buildListBox(
    const char* boxName, const char* caption, QListWidget*& list, const char* listName)
{
    auto* box = new QGroupBox(u(caption));
    box->setObjectName(boxName);
    list = new QListWidget;
    list->setObjectName(listName);
    (new QVBoxLayout(box))->addWidget(list);
    return box;
}

// "Počet skupín" and the OK that confirms a group.
QLayout* entry::GroupsSheet::buildCountColumn()
{
    auto* side = new QVBoxLayout;
    auto* groupCountLabel = new QLabel(u("Počet skupín"));
    groupCountLabel->setObjectName("Label43");
    groupCountEdit = new QLineEdit("0");
    groupCountEdit->setObjectName("Edit49");
    groupCountEdit->setReadOnly(true);
    groupCountEdit->setMaximumWidth(60);
    auto* confirmGroupLabel = new QLabel(u("Potvrď skupinu"));
    confirmGroupLabel->setObjectName("Label44");
    confirmGroupButton = new QPushButton("OK");
    confirmGroupButton->setObjectName("Button45");
    side->addWidget(groupCountLabel);
    side->addWidget(groupCountEdit);
    side->addSpacing(20);
    side->addWidget(confirmGroupLabel);
    side->addWidget(confirmGroupButton);
    side->addStretch(1);
    return side;
}

void entry::GroupsSheet::showLists(int selectedPlace, int selectedGroup)
{
    const dorvan::DistributionGroups& groups = context_.project.Choices.Groups;
    showLines(ungroupedList, dorvan::groupPlaces(context_.project), selectedPlace);
    showLines(groupList, dorvan::groupLines(groups), selectedGroup);
    groupCountEdit->setText(QString::number(groups.Count));
}

void entry::GroupsSheet::enableList(QListWidget* list, bool on)
{
    list->setEnabled(on);
    setFieldColour(list, on ? QColor(Qt::white) : Silver);
}

// The lists as the project holds its groups: the group list from them, the place list with the
// places in no group in the page's order.
void entry::GroupsSheet::showGroups()
{
    const auto& project = context_.project;
    if (!ticked(project, CriterionBox::Groups)) {
        groupCountEdit->setText(QString::number(std::clamp(project.Record.GroupCount, 0, dorvan::MaxPlaces)));
        for (QListWidget* list : { ungroupedList, groupList }) {
            list->clear();
            enableList(list, false);
        }
        intoGroupButton->setEnabled(false);
        outOfGroupButton->setEnabled(false);
        return;
    }
    for (QWidget* w : { static_cast<QWidget*>(groupsBox), static_cast<QWidget*>(ungroupedBox),
             static_cast<QWidget*>(groupListBox), static_cast<QWidget*>(outOfGroupButton) })
        w->setEnabled(true);
    showLists(-1, -1);
    const bool placesLeft = ungroupedList->count() > 0;
    intoGroupButton->setEnabled(placesLeft);
    enableList(ungroupedList, placesLeft);
    enableList(groupList, true);
    proposal_->showFixedCentres();
}

void entry::GroupsSheet::onGroupsSwitched(bool on)
{
    // A box set to what the project holds (a project opened, an undo) is no edit.
    const bool edited = on != ticked(context_.project, CriterionBox::Groups);
    if (edited)
        dorvan::GroupEdits(context_.project).switchGroups(on);
    refreshGroupsSheet();
    if (!edited)
        return;
    context_.pages.valuesChanged();
    context_.pages.rerunIfCooperOpen();
}

void entry::GroupsSheet::refreshGroupsSheet()
{
    const bool checked = groupsSwitch->isChecked();
    context_.pages.showCriterionPage(this, checked);
    if (checked)
        context_.pages.setCurrentCriterionPage(this);
    // Unticked, the lists were emptied: ticked again, they are made anew in place-number order.
    showGroups();
}

// ">>>" moves every chosen place, in list order, as one click each would.
void entry::GroupsSheet::onIntoGroup()
{
    moveIn(selectedRows(ungroupedList));
}

void entry::GroupsSheet::moveIn(const std::vector<int>& rows)
{
    if (ungroupedList->count() == 0 || rows.empty())
        return;
    // The chosen group line stays chosen, so further places go to the same spot.
    const int group = selectedRow(groupList);
    const dorvan::GroupMove move = dorvan::GroupEdits(context_.project).moveIn(rows, group);
    if (!move.moved)
        return;
    outOfGroupButton->setEnabled(true);
    groupListBox->setEnabled(true);
    enableList(groupList, true);
    showLists(-1, group);
    context_.pages.valuesChanged();
    if (move.placesEmptied) {
        intoGroupButton->setEnabled(false);
        enableList(ungroupedList, false);
    }
    if (move.rerun)
        context_.pages.rerunIfCooperOpen();
}

void entry::GroupsSheet::onConfirmGroup()
{
    const int place = selectedRow(ungroupedList);
    const int group = selectedRow(groupList);
    const dorvan::GroupMove move = dorvan::GroupEdits(context_.project).confirm();
    if (move.moved)
        showLists(place, group);
    if (move.rerun)
        context_.pages.rerunIfCooperOpen();
}

// "<<<" takes every chosen member out, in list order, as one click each would. Headers do not
// move; a member is found again by its place among the members.
void entry::GroupsSheet::onOutOfGroup()
{
    std::vector<int> members;
    for (int row : selectedRows(groupList))
        if (!dorvan::isGroupHeader(groupList->item(row)->text().toStdString()))
            members.push_back(memberIndex(groupList, row));
    takeOut(members);
}

void entry::GroupsSheet::takeOut(const std::vector<int>& members)
{
    if (groupList->count() == 0 || members.empty())
        return;
    const dorvan::GroupMove move = dorvan::GroupEdits(context_.project).takeOut(members);
    if (!move.moved)
        return;
    // The chosen place stays chosen where the names put back moved it.
    int place = selectedRow(ungroupedList);
    for (int row : move.placeRows)
        if (place >= 0 && row <= place)
            ++place;
    intoGroupButton->setEnabled(true);
    ungroupedBox->setEnabled(true);
    enableList(ungroupedList, true);
    showLists(place, -1);
    context_.pages.valuesChanged();
    if (move.groupsEmptied) {
        outOfGroupButton->setEnabled(false);
        enableList(groupList, false);
    }
    if (move.rerun)
        context_.pages.rerunIfCooperOpen();
}

void entry::GroupsSheet::followPlaces(const dorvan::PlaceListChange& /*change*/)
{
    // The project's groups and place list followed the deletion.
    if (groupsSwitch->isChecked())
        showLists(-1, -1);
}

void entry::GroupsSheet::SelektujSkupiny()
{
    dorvan::GroupEdits(context_.project).storeGroups();
}

void entry::GroupsSheet::applyProposedGroups(const std::vector<std::string>& lines, int groupCount)
{
    // One step of the history: the box ticked and the groups stored and listed.
    dorvan::GroupEdits(context_.project).takeProposal(lines, groupCount);
    if (!groupsSwitch->isChecked())
        groupsSwitch->setChecked(true); // the project holds it already: the sheet only shows it
    showLists(-1, -1);
    const bool placesLeft = ungroupedList->count() > 0;
    intoGroupButton->setEnabled(placesLeft);
    enableList(ungroupedList, placesLeft);
    for (QWidget* w : { static_cast<QWidget*>(groupListBox), static_cast<QWidget*>(outOfGroupButton) })
        w->setEnabled(true);
    enableList(groupList, true);
    context_.pages.valuesChanged();
    context_.pages.rerunIfCooperOpen();
}

std::vector<std::vector<std::string>> entry::GroupsSheet::proposalTable() const
{
    return proposal_ != nullptr ? proposal_->costTable() : std::vector<std::vector<std::string>> {};
}
