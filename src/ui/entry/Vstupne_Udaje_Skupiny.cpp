// The distribution-group sheet (GroupsSheet): the user sorts the places into numbered groups;
// the allocation then finds one centre per group. The group list ListBox9 shows the groups; the
// project keeps them as it shows them (EntryChoices::Groups), and SelektujSkupiny stores them
// into the record.
#include "ui/entry/EntryGroupsSheet.h"

#include "core/allocation/GroupSearch.h"
#include "core/entry/GroupList.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/Project.h"
#include "core/project/ProjectDocument.h"
#include "ui/common/Utf8Text.h"
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

std::vector<std::string> lines(const QListWidget* list)
{
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->text().toStdString());
    return out;
}

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

int memberRow(const QListWidget* groups, int index)
{
    for (int i = 0; i < groups->count(); ++i)
        if (!dorvan::isGroupHeader(groups->item(i)->text().toStdString()) && index-- == 0)
            return i;
    return -1;
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

    // Whatever changes the list or the count changes the project's groups.
    QAbstractItemModel* groups = groupList->model();
    connect(groups, &QAbstractItemModel::rowsInserted, this, &entry::GroupsSheet::publishGroups);
    connect(groups, &QAbstractItemModel::rowsRemoved, this, &entry::GroupsSheet::publishGroups);
    connect(groups, &QAbstractItemModel::dataChanged, this, &entry::GroupsSheet::publishGroups);
    connect(groups, &QAbstractItemModel::modelReset, this, &entry::GroupsSheet::publishGroups);
    connect(groupCountEdit, &QLineEdit::textChanged, this, &entry::GroupsSheet::publishGroups);

    connect(intoGroupButton, &QPushButton::clicked, this, &entry::GroupsSheet::onIntoGroup);
    connect(outOfGroupButton, &QPushButton::clicked, this, &entry::GroupsSheet::onOutOfGroup);
    connect(ungroupedList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* line) {
        ungroupedList->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
        moveOnePlaceIn();
    });
    connect(groupList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* line) {
        groupList->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
        takeOneMemberOut();
    });
    connect(confirmGroupButton, &QPushButton::clicked, this, &entry::GroupsSheet::onConfirmGroup);
    // The project learns of the box before its handler runs, which may ask for a new result.
    connect(groupsSwitch, &QCheckBox::toggled, this, [this](bool on) {
        dorvan::ProjectEdits(context_.project).tickCriterion(dorvan::CritGroups, on);
        onGroupsSwitched();
    });
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

dorvan::GroupLists entry::GroupsSheet::readGroupLists() const
{
    dorvan::GroupLists l;
    l.places = lines(ungroupedList);
    l.groups = lines(groupList);
    l.lastGroupItem = LastGroupItem;
    l.groupCount = context_.project.Record.GroupCount;
    return l;
}

void entry::GroupsSheet::showGroupLists(const dorvan::GroupLists& l, int selectedPlace, int selectedGroup)
{
    showLines(ungroupedList, l.places, selectedPlace);
    showLines(groupList, l.groups, selectedGroup);
    LastGroupItem = l.lastGroupItem;
}

void entry::GroupsSheet::followPlaces(const dorvan::PlaceListChange& change)
{
    const dorvan::GroupLists before = readGroupLists();
    const dorvan::GroupLists after = dorvan::followedGroupLists(before, context_.project.Record, change);
    if (after.places == before.places && after.groups == before.groups)
        return;
    showGroupLists(after, -1, -1);
    publishGroups();
}

void entry::GroupsSheet::setGroupCount(int count)
{
    context_.project.Record.GroupCount = count;
    groupCountEdit->setText(QString::number(count));
}

void entry::GroupsSheet::onGroupsSwitched()
{
    refreshGroupsSheet();
    context_.pages.valuesChanged();
    context_.pages.rerunIfCooperOpen();
}

void entry::GroupsSheet::refreshGroupsSheet()
{
    auto& r = context_.project.Record;
    const bool checked = groupsSwitch->isChecked();
    if (!checked) {
        SelektujSkupiny();
        r.setCriterion(dorvan::CritGroups, false);
        context_.pages.showCriterionPage(this, false);
    }
    // A count from a damaged file never runs past the stored arrays.
    r.GroupCount = std::clamp(r.GroupCount, 0, dorvan::MaxPlaces);
    groupCountEdit->setText(QString::number(r.GroupCount));
    for (QListWidget* list : { ungroupedList, groupList }) {
        list->clear();
        setFieldColour(list, Silver);
        list->setEnabled(false);
    }
    intoGroupButton->setEnabled(false);
    outOfGroupButton->setEnabled(false);
    if (!checked)
        return;

    context_.pages.showCriterionPage(this, true);
    context_.pages.setCurrentCriterionPage(this);
    for (QWidget* w : { static_cast<QWidget*>(groupsBox), static_cast<QWidget*>(ungroupedBox),
             static_cast<QWidget*>(groupListBox), static_cast<QWidget*>(ungroupedList),
             static_cast<QWidget*>(groupList), static_cast<QWidget*>(intoGroupButton),
             static_cast<QWidget*>(outOfGroupButton) })
        w->setEnabled(true);
    LastGroupItem = -1;
    r.setCriterion(dorvan::CritGroups, true);

    showGroupLists(dorvan::buildGroupLists(r, context_.project.State.PlaceCount), -1, -1);
    const bool placesLeft = ungroupedList->count() > 0;
    intoGroupButton->setEnabled(placesLeft);
    ungroupedList->setEnabled(placesLeft);
    setFieldColour(ungroupedList, placesLeft ? QColor(Qt::white) : Silver);
    groupList->setEnabled(true);
    outOfGroupButton->setEnabled(true);
    groupListBox->setEnabled(true);
    setFieldColour(groupList, Qt::white);
}

// ">>>" moves every chosen place, in list order, as one click each would: each move takes its
// line out of the place list, so the later ones move up by one.
void entry::GroupsSheet::onIntoGroup()
{
    const std::vector<int> rows = selectedRows(ungroupedList);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ungroupedList->setCurrentRow(rows[i] - static_cast<int>(i), QItemSelectionModel::ClearAndSelect);
        moveOnePlaceIn();
    }
}

void entry::GroupsSheet::moveOnePlaceIn()
{
    const int place = selectedRow(ungroupedList);
    if (ungroupedList->count() == 0 || place < 0)
        return;
    const int group = selectedRow(groupList);
    dorvan::GroupLists l = readGroupLists();
    dorvan::MoveInResult res = dorvan::moveIntoGroups(l, place, group);
    if (!res.moved)
        return;
    setGroupCount(l.groupCount);
    outOfGroupButton->setEnabled(true);
    groupListBox->setEnabled(true);
    setFieldColour(groupList, Qt::white);
    groupList->setEnabled(true);
    // The chosen group line stays chosen, so further places go to the same spot.
    showGroupLists(l, -1, group);
    context_.pages.valuesChanged();
    if (res.placesEmptied) {
        intoGroupButton->setEnabled(false);
        setFieldColour(ungroupedList, Silver);
        ungroupedList->setEnabled(false);
        if (context_.project.Record.GroupCount > 0)
            context_.pages.rerunIfCooperOpen();
    }
}

void entry::GroupsSheet::onConfirmGroup()
{
    dorvan::GroupLists l = readGroupLists();
    dorvan::ConfirmResult res = dorvan::confirmGroup(l);
    if (!res.acted)
        return;
    if (res.headerAdded) {
        // The shown count catches up at the next move.
        context_.project.Record.GroupCount = l.groupCount;
        showGroupLists(l, selectedRow(ungroupedList), selectedRow(groupList));
    }
    if (context_.project.Record.GroupCount > 0)
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
    for (std::size_t i = 0; i < members.size(); ++i) {
        const int row = memberRow(groupList, members[i] - static_cast<int>(i));
        if (row < 0)
            break;
        groupList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        takeOneMemberOut();
    }
}

void entry::GroupsSheet::takeOneMemberOut()
{
    const int group = selectedRow(groupList);
    if (groupList->count() == 0 || group < 0)
        return;
    int place = selectedRow(ungroupedList);
    dorvan::GroupLists l = readGroupLists();
    const int groupsBefore = l.groupCount;
    dorvan::TakeOutResult res = dorvan::takeOutOfGroups(l, group);
    if (!res.moved)
        return;
    intoGroupButton->setEnabled(true);
    ungroupedBox->setEnabled(true);
    setFieldColour(ungroupedList, Qt::white);
    ungroupedList->setEnabled(true);
    if (place >= 0 && res.placeRow <= place)
        ++place;
    showGroupLists(l, place, -1);
    if (l.groupCount != groupsBefore)
        setGroupCount(l.groupCount);
    // Each removed empty group is a new grouping for an open allocation window.
    for (bool removed : { res.emptyGroupRemoved, res.emptyLastGroupRemoved })
        if (removed && context_.project.Record.GroupCount > 0)
            context_.pages.rerunIfCooperOpen();
    context_.pages.valuesChanged();
    if (res.groupsEmptied) {
        outOfGroupButton->setEnabled(false);
        setFieldColour(groupList, Silver);
        groupList->setEnabled(false);
        context_.pages.rerunIfCooperOpen();
    }
}

void entry::GroupsSheet::publishGroups()
{
    context_.project.Choices.Groups = dorvan::groupsFromLines(
        lines(groupList), dorvan::groupCountFromText(groupCountEdit->text().toStdString()));
}

void entry::GroupsSheet::SelektujSkupiny()
{
    dorvan::storeGroups(
        context_.project.Choices.Groups, context_.project.Record.GroupCount, context_.project.Record);
}

void entry::GroupsSheet::applyProposedGroups(const std::vector<std::string>& lines, int groupCount)
{
    // Taking a proposal is one step of the history: the groups box ticked, the groups stored and
    // the lists shown again are undone together.
    dorvan::ProjectDocument(context_.project).execute({ .name = "Návrh skupín" }, [&] {
        auto& project = context_.project;
        if (!groupsSwitch->isChecked())
            groupsSwitch->setChecked(true);
        project.Choices.Groups = dorvan::groupsFromLines(lines, groupCount);
        dorvan::storeProposedGroups(project.Choices.Groups, project.Record);
        // The lists as the sheet builds them from stored groups: every place is in a group now.
        showGroupLists(dorvan::buildGroupLists(project.Record, project.State.PlaceCount), -1, -1);
        LastGroupItem = groupList->count() - 1;
        setGroupCount(groupCount);
        publishGroups();
        const bool placesLeft = ungroupedList->count() > 0;
        intoGroupButton->setEnabled(placesLeft);
        ungroupedList->setEnabled(placesLeft);
        setFieldColour(ungroupedList, placesLeft ? QColor(Qt::white) : Silver);
        for (QWidget* w : { static_cast<QWidget*>(groupListBox), static_cast<QWidget*>(groupList),
                 static_cast<QWidget*>(outOfGroupButton) })
            w->setEnabled(true);
        setFieldColour(groupList, Qt::white);
        context_.pages.valuesChanged();
        project.changed(dorvan::ProjectChange::Groups);
        context_.pages.rerunIfCooperOpen();
    });
}

std::vector<std::vector<std::string>> entry::GroupsSheet::proposalTable() const
{
    return proposal_ != nullptr ? proposal_->costTable() : std::vector<std::vector<std::string>> {};
}
