// The depots (DepotSheet) and the priority places (PrioritySheet): two lists of places each,
// with the moves between them in a TwoListPicker. The rules live in PlaceRelations; the moves
// here call them and show the result.
#include "ui/entry/EntryRelationSheets.h"

#include "core/entry/PlaceRelations.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/Project.h"
#include "ui/entry/EntryControls.h"
#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/TwoListPicker.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using Side = entry::TwoListPicker::Side;
using Placement = entry::TwoListPicker::Placement;

std::vector<dorvan::Text100> placeNames(const dorvan::TProjectRecord& r, const std::vector<int>& places)
{
    std::vector<dorvan::Text100> names;
    for (int p : places)
        names.push_back(r.PlaceName[p]);
    return names;
}

// The priority places in their stored order.
std::vector<dorvan::Text100> priorityNames(const dorvan::TProjectRecord& r)
{
    std::vector<dorvan::Text100> names;
    for (int k = 1; k <= std::clamp(r.PriorityCount, 0, dorvan::MaxPlaces); ++k)
        names.push_back(r.PriorityName[k]);
    return names;
}

// Several lines moved by one click are one step of the project's history.
entry::TwoListPicker* addPicker(QWidget* sheet, dorvan::Project& project,
    const entry::TwoListPicker::Names& names, const entry::TwoListPicker::Captions& captions)
{
    auto* picker = new entry::TwoListPicker(names, captions, sheet);
    (new QVBoxLayout(sheet))->addWidget(picker->box(), 1);
    picker->setTogether([&project](const std::function<void()>& moves) {
        dorvan::ProjectEdits(project).relationsTogether(moves);
    });
    return picker;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Depots

entry::DepotSheet::DepotSheet(const EntryContext& context)
    : context_(context)
{
    picker_ = addPicker(this, context_.project,
        { "GroupBox24", "GroupBox25", "ListBox2", "GroupBox26", "ListBox3", "Button22", "Button23" },
        { " Vyberte distribučné sklady ", " Zoznam miest ", " Zoznam skladov " });
    picker_->setMove([this](Side from, int row, const dorvan::Text100& name) {
        if (from == Side::Offered)
            addDepot(row, name);
        else
            removeDepot(row, name);
    });
}

void entry::DepotSheet::setDepotPage()
{
    if (!ticked(context_.project, CriterionBox::Depots)) {
        picker_->switchOff();
        return;
    }
    const auto& r = context_.project.Record;
    const dorvan::PlaceSplit split
        = dorvan::splitPlaces(r, context_.project.State.PlaceCount, r.WarehouseName, r.WarehouseCount);
    picker_->show(placeNames(r, split.others), placeNames(r, split.listed), r.WarehouseCount > 0);
}

// A depot lands in name order; when no place is left to deliver to, the DM values go.
void entry::DepotSheet::addDepot(int row, const dorvan::Text100& name)
{
    if (!dorvan::ProjectEdits(context_.project).addDepot(name, context_.project.State.PlaceCount))
        return;
    picker_->moveLine(Side::Offered, row, Placement::NameOrder);
    context_.pages.valuesChanged();
    centreOrDepotsChanged(context_);
}

// The depot goes by its name: a name of a deleted place may stand before it in the record. With
// the last depot the DS values go.
void entry::DepotSheet::removeDepot(int row, const dorvan::Text100& name)
{
    dorvan::ProjectEdits(context_.project).removeDepot(name);
    picker_->moveLine(Side::Chosen, row, Placement::NameOrder);
    context_.pages.valuesChanged();
    centreOrDepotsChanged(context_);
}

// ---------------------------------------------------------------------------------------------
// Priorities

entry::PrioritySheet::PrioritySheet(const EntryContext& context)
    : context_(context)
{
    picker_ = addPicker(this, context_.project,
        { "GroupBox33", "GroupBox34", "ListBox6", "GroupBox35", "ListBox7", "Button30", "Button31" },
        { " Vyberte miesta ktoré majú v distribučnom systéme prvoradú prioritu ", " Zoznam miest ",
            " Zoznam prioritných miest " });
    picker_->setMove([this](Side from, int row, const dorvan::Text100& name) {
        if (from == Side::Offered)
            addPriority(row, name);
        else
            removePriority(row, name);
    });
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(moveUpButton = controls::button("Button34", QStringLiteral("A")));
    moves->addWidget(moveDownButton = controls::button("Button35", QStringLiteral("V")));
    moves->addStretch(1);
    picker_->row()->addLayout(moves);
    enableMoves(false);
    connect(moveUpButton, &QPushButton::clicked, this, [this] { moveSelectedPriority(Direction::Up); });
    connect(moveDownButton, &QPushButton::clicked, this, [this] { moveSelectedPriority(Direction::Down); });
}

void entry::PrioritySheet::enableMoves(bool on)
{
    moveUpButton->setEnabled(on);
    moveDownButton->setEnabled(on);
}

void entry::PrioritySheet::setPriorityPage()
{
    enableMoves(false);
    if (!ticked(context_.project, CriterionBox::Priority)) {
        picker_->switchOff();
        return;
    }
    const auto& r = context_.project.Record;
    const dorvan::PlaceSplit split
        = dorvan::splitPlaces(r, context_.project.State.PlaceCount, r.PriorityName, r.PriorityCount);
    picker_->show(placeNames(r, split.others), priorityNames(r), r.PriorityCount > 0);
    if (r.PriorityCount > 0)
        enableMoves(true);
}

// A priority place is appended as the lowest priority.
void entry::PrioritySheet::addPriority(int row, const dorvan::Text100& name)
{
    if (!dorvan::ProjectEdits(context_.project).addPriority(name))
        return;
    picker_->moveLine(Side::Offered, row, Placement::End);
    enableMoves(true);
    context_.pages.valuesChanged();
}

// The priority place goes by its position; it returns to the places in name order.
void entry::PrioritySheet::removePriority(int row, const dorvan::Text100&)
{
    if (!dorvan::ProjectEdits(context_.project).removePriority(row + 1))
        return;
    picker_->moveLine(Side::Chosen, row, Placement::NameOrder);
    context_.pages.valuesChanged();
    if (picker_->empty(Side::Chosen))
        enableMoves(false);
}

void entry::PrioritySheet::moveSelectedPriority(Direction direction)
{
    QListWidget* chosen = picker_->list(Side::Chosen);
    QListWidgetItem* line = chosen->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    const int target = dorvan::ProjectEdits(context_.project)
                           .movePriority(chosen->row(line) + 1, direction == Direction::Up);
    if (target == 0)
        return;
    // The list shows the stored order again, the moved place selected.
    picker_->setLines(Side::Chosen, priorityNames(context_.project.Record));
    chosen->setCurrentRow(target - 1);
    context_.pages.valuesChanged();
}
