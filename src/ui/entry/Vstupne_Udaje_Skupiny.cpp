// The distribution-group sheet (GroupsSheet): the user sorts the places into numbered groups;
// the allocation then finds one centre per group. The group list ListBox9 shows the groups; the
// project keeps them as it shows them (EntryChoices::Groups), and SelektujSkupiny stores them
// into the record.
#include "ui/entry/EntryGroupsSheet.h"

#include "core/allocation/GroupSearch.h"
#include "ui/entry/EntryGroupProposal.h"
#include "ui/entry/EntryHost.h"
#include "core/entry/GroupList.h"
#include "core/project/Project.h"
#include "ui/common/Utf8Text.h"

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
    CheckBox17 = new QCheckBox(u("Definovanie distribučných skupín - DORVAN"));
    CheckBox17->setObjectName("CheckBox17");
    auto* sheetLayout = new QVBoxLayout(this);

    GroupBox50 = new QGroupBox(u(" Distribučné sklupiny "));
    GroupBox50->setObjectName("GroupBox50");
    auto* row = new QHBoxLayout(GroupBox50);
    GroupBox51 = buildListBox("GroupBox51", " Zoznam miest ", ListBox8, "ListBox8");
    row->addWidget(GroupBox51, 1);

    auto* arrows = new QVBoxLayout;
    Button43 = new QPushButton(">>>");
    Button43->setObjectName("Button43");
    Button44 = new QPushButton("<<<");
    Button44->setObjectName("Button44");
    arrows->addStretch(1);
    arrows->addWidget(Button43);
    arrows->addWidget(Button44);
    arrows->addStretch(1);
    row->addLayout(arrows);

    GroupBox52 = buildListBox("GroupBox52", "Zoznam skupín", ListBox9, "ListBox9");
    row->addWidget(GroupBox52, 1);
    row->addLayout(buildCountColumn());
    sheetLayout->addWidget(GroupBox50, 1);
    proposal_ = new GroupProposal(context,
        [this](const std::vector<std::string>& lines, int count) { applyProposedGroups(lines, count); });
    sheetLayout->addWidget(proposal_);

    // Several names are moved at once: Ctrl- and Shift-click choose them; a double-click moves
    // the line clicked alone.
    for (QListWidget* list : { ListBox8, ListBox9 }) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setEnabled(false);
        setFieldColour(list, Silver);
    }
    Button43->setEnabled(false);
    Button44->setEnabled(false);

    // Whatever changes the list or the count changes the project's groups.
    QAbstractItemModel* groups = ListBox9->model();
    connect(groups, &QAbstractItemModel::rowsInserted, this, &entry::GroupsSheet::publishGroups);
    connect(groups, &QAbstractItemModel::rowsRemoved, this, &entry::GroupsSheet::publishGroups);
    connect(groups, &QAbstractItemModel::dataChanged, this, &entry::GroupsSheet::publishGroups);
    connect(groups, &QAbstractItemModel::modelReset, this, &entry::GroupsSheet::publishGroups);
    connect(Edit49, &QLineEdit::textChanged, this, &entry::GroupsSheet::publishGroups);

    connect(Button43, &QPushButton::clicked, this, &entry::GroupsSheet::Button43Click);
    connect(Button44, &QPushButton::clicked, this, &entry::GroupsSheet::Button44Click);
    connect(ListBox8, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* line) {
        ListBox8->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
        ClickButton43();
    });
    connect(ListBox9, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* line) {
        ListBox9->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
        ClickButton44();
    });
    connect(Button45, &QPushButton::clicked, this, &entry::GroupsSheet::Button45Click);
    // The project learns of the box before its handler runs, which may ask for a new result.
    connect(CheckBox17, &QCheckBox::toggled, this, [this](bool on) {
        context_.project.Choices.Ticked[dorvan::CritGroups] = on;
        CheckBox17Click();
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
    auto* Label43 = new QLabel(u("Počet skupín"));
    Label43->setObjectName("Label43");
    Edit49 = new QLineEdit("0");
    Edit49->setObjectName("Edit49");
    Edit49->setReadOnly(true);
    Edit49->setMaximumWidth(60);
    auto* Label44 = new QLabel(u("Potvrď skupinu"));
    Label44->setObjectName("Label44");
    Button45 = new QPushButton("OK");
    Button45->setObjectName("Button45");
    side->addWidget(Label43);
    side->addWidget(Edit49);
    side->addSpacing(20);
    side->addWidget(Label44);
    side->addWidget(Button45);
    side->addStretch(1);
    return side;
}

dorvan::GroupLists entry::GroupsSheet::readGroupLists() const
{
    dorvan::GroupLists l;
    l.places = lines(ListBox8);
    l.groups = lines(ListBox9);
    l.lastGroupItem = LastGroupItem;
    l.groupCount = context_.project.Record.GroupCount;
    return l;
}

void entry::GroupsSheet::showGroupLists(const dorvan::GroupLists& l, int selectedPlace, int selectedGroup)
{
    showLines(ListBox8, l.places, selectedPlace);
    showLines(ListBox9, l.groups, selectedGroup);
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
    Edit49->setText(QString::number(count));
}

void entry::GroupsSheet::CheckBox17Click()
{
    ClickCheckBox17();
    context_.pages.valuesChanged();
    context_.pages.rerunIfCooperOpen();
}

void entry::GroupsSheet::ClickCheckBox17()
{
    auto& r = context_.project.Record;
    const bool checked = CheckBox17->isChecked();
    if (!checked) {
        SelektujSkupiny();
        r.setCriterion(dorvan::CritGroups, false);
        context_.pages.showCriterionPage(this, false);
    }
    // A count from a damaged file never runs past the stored arrays.
    r.GroupCount = std::clamp(r.GroupCount, 0, dorvan::MaxPlaces);
    Edit49->setText(QString::number(r.GroupCount));
    for (QListWidget* list : { ListBox8, ListBox9 }) {
        list->clear();
        setFieldColour(list, Silver);
        list->setEnabled(false);
    }
    Button43->setEnabled(false);
    Button44->setEnabled(false);
    if (!checked)
        return;

    context_.pages.showCriterionPage(this, true);
    context_.pages.setCurrentCriterionPage(this);
    for (QWidget* w : { static_cast<QWidget*>(GroupBox50), static_cast<QWidget*>(GroupBox51),
             static_cast<QWidget*>(GroupBox52), static_cast<QWidget*>(ListBox8),
             static_cast<QWidget*>(ListBox9), static_cast<QWidget*>(Button43),
             static_cast<QWidget*>(Button44) })
        w->setEnabled(true);
    LastGroupItem = -1;
    r.setCriterion(dorvan::CritGroups, true);

    showGroupLists(dorvan::buildGroupLists(r, context_.project.State.PlaceCount), -1, -1);
    const bool placesLeft = ListBox8->count() > 0;
    Button43->setEnabled(placesLeft);
    ListBox8->setEnabled(placesLeft);
    setFieldColour(ListBox8, placesLeft ? QColor(Qt::white) : Silver);
    ListBox9->setEnabled(true);
    Button44->setEnabled(true);
    GroupBox52->setEnabled(true);
    setFieldColour(ListBox9, Qt::white);
}

// ">>>" moves every chosen place, in list order, as one click each would: each move takes its
// line out of the place list, so the later ones move up by one.
void entry::GroupsSheet::Button43Click()
{
    const std::vector<int> rows = selectedRows(ListBox8);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ListBox8->setCurrentRow(rows[i] - static_cast<int>(i), QItemSelectionModel::ClearAndSelect);
        ClickButton43();
    }
}

void entry::GroupsSheet::ClickButton43()
{
    const int place = selectedRow(ListBox8);
    if (ListBox8->count() == 0 || place < 0)
        return;
    const int group = selectedRow(ListBox9);
    dorvan::GroupLists l = readGroupLists();
    dorvan::MoveInResult res = dorvan::moveIntoGroups(l, place, group);
    if (!res.moved)
        return;
    setGroupCount(l.groupCount);
    Button44->setEnabled(true);
    GroupBox52->setEnabled(true);
    setFieldColour(ListBox9, Qt::white);
    ListBox9->setEnabled(true);
    // The chosen group line stays chosen, so further places go to the same spot.
    showGroupLists(l, -1, group);
    context_.pages.valuesChanged();
    if (res.placesEmptied) {
        Button43->setEnabled(false);
        setFieldColour(ListBox8, Silver);
        ListBox8->setEnabled(false);
        if (context_.project.Record.GroupCount > 0)
            context_.pages.rerunIfCooperOpen();
    }
}

void entry::GroupsSheet::Button45Click()
{
    dorvan::GroupLists l = readGroupLists();
    dorvan::ConfirmResult res = dorvan::confirmGroup(l);
    if (!res.acted)
        return;
    if (res.headerAdded) {
        // The shown count catches up at the next move.
        context_.project.Record.GroupCount = l.groupCount;
        showGroupLists(l, selectedRow(ListBox8), selectedRow(ListBox9));
    }
    if (context_.project.Record.GroupCount > 0)
        context_.pages.rerunIfCooperOpen();
}

// "<<<" takes every chosen member out, in list order, as one click each would. Headers do not
// move; a member is found again by its place among the members.
void entry::GroupsSheet::Button44Click()
{
    std::vector<int> members;
    for (int row : selectedRows(ListBox9))
        if (!dorvan::isGroupHeader(ListBox9->item(row)->text().toStdString()))
            members.push_back(memberIndex(ListBox9, row));
    for (std::size_t i = 0; i < members.size(); ++i) {
        const int row = memberRow(ListBox9, members[i] - static_cast<int>(i));
        if (row < 0)
            break;
        ListBox9->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        ClickButton44();
    }
}

void entry::GroupsSheet::ClickButton44()
{
    const int group = selectedRow(ListBox9);
    if (ListBox9->count() == 0 || group < 0)
        return;
    int place = selectedRow(ListBox8);
    dorvan::GroupLists l = readGroupLists();
    const int groupsBefore = l.groupCount;
    dorvan::TakeOutResult res = dorvan::takeOutOfGroups(l, group);
    if (!res.moved)
        return;
    Button43->setEnabled(true);
    GroupBox51->setEnabled(true);
    setFieldColour(ListBox8, Qt::white);
    ListBox8->setEnabled(true);
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
        Button44->setEnabled(false);
        setFieldColour(ListBox9, Silver);
        ListBox9->setEnabled(false);
        context_.pages.rerunIfCooperOpen();
    }
}

void entry::GroupsSheet::publishGroups()
{
    context_.project.Choices.Groups
        = dorvan::groupsFromLines(lines(ListBox9), dorvan::groupCountFromText(Edit49->text().toStdString()));
}

void entry::GroupsSheet::SelektujSkupiny()
{
    dorvan::storeGroups(
        context_.project.Choices.Groups, context_.project.Record.GroupCount, context_.project.Record);
}

void entry::GroupsSheet::applyProposedGroups(const std::vector<std::string>& lines, int groupCount)
{
    auto& project = context_.project;
    if (!CheckBox17->isChecked())
        CheckBox17->setChecked(true);
    project.Choices.Groups = dorvan::groupsFromLines(lines, groupCount);
    dorvan::storeProposedGroups(project.Choices.Groups, project.Record);
    // The lists as the sheet builds them from stored groups: every place is in a group now.
    showGroupLists(dorvan::buildGroupLists(project.Record, project.State.PlaceCount), -1, -1);
    LastGroupItem = ListBox9->count() - 1;
    setGroupCount(groupCount);
    publishGroups();
    const bool placesLeft = ListBox8->count() > 0;
    Button43->setEnabled(placesLeft);
    ListBox8->setEnabled(placesLeft);
    setFieldColour(ListBox8, placesLeft ? QColor(Qt::white) : Silver);
    for (QWidget* w : { static_cast<QWidget*>(GroupBox52), static_cast<QWidget*>(ListBox9),
             static_cast<QWidget*>(Button44) })
        w->setEnabled(true);
    setFieldColour(ListBox9, Qt::white);
    context_.pages.valuesChanged();
    project.changed(dorvan::ProjectChange::Groups);
    context_.pages.rerunIfCooperOpen();
}

std::vector<std::vector<std::string>> entry::GroupsSheet::proposalTable() const
{
    return proposal_ != nullptr ? proposal_->costTable() : std::vector<std::vector<std::string>> {};
}
