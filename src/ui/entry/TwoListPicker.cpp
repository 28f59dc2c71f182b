#include "ui/entry/TwoListPicker.h"

#include "core/entry/PlaceList.h"
#include "core/entry/PlaceRelations.h"
#include "ui/entry/EntryPages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using entry::setFieldColour;
using entry::Silver;
using Side = entry::TwoListPicker::Side;

constexpr int NameRole = Qt::UserRole;

QGroupBox* newBox(const char* name, const char* caption)
{
    auto* b = new QGroupBox(QString::fromUtf8(caption));
    b->setObjectName(name);
    b->setEnabled(false);
    return b;
}

QListWidget* newList(const char* name)
{
    auto* l = new QListWidget;
    l->setObjectName(name);
    // Several names are moved at once: Ctrl- and Shift-click choose them.
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setEnabled(false);
    setFieldColour(l, Silver);
    return l;
}

QPushButton* arrowButton(const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(name);
    b->setEnabled(false);
    return b;
}

QListWidgetItem* nameItem(const dorvan::Text100& name)
{
    auto* item = new QListWidgetItem(QString::fromStdString(dorvan::displayName(name)));
    const std::string_view b = name.bytes();
    item->setData(NameRole, QByteArray(b.data(), static_cast<qsizetype>(b.size())));
    return item;
}

dorvan::Text100 itemName(const QListWidgetItem* item)
{
    const QByteArray b = item->data(NameRole).toByteArray();
    return dorvan::Text100::fromBytes(std::string_view(b.constData(), static_cast<std::size_t>(b.size())));
}

std::vector<dorvan::Text100> namesOf(const QListWidget* l)
{
    std::vector<dorvan::Text100> names;
    for (int i = 0; i < l->count(); ++i)
        names.push_back(itemName(l->item(i)));
    return names;
}

// The names of the chosen lines, in list order.
std::vector<dorvan::Text100> selectedNames(const QListWidget* l)
{
    std::vector<dorvan::Text100> names;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->isSelected())
            names.push_back(itemName(l->item(i)));
    return names;
}

QListWidgetItem* firstLineNamed(const QListWidget* l, const dorvan::Text100& name)
{
    for (int i = 0; i < l->count(); ++i)
        if (itemName(l->item(i)) == name)
            return l->item(i);
    return nullptr;
}

Side other(Side side)
{
    return side == Side::Offered ? Side::Chosen : Side::Offered;
}

} // namespace

entry::TwoListPicker::TwoListPicker(const Names& names, const Captions& captions, QObject* parent)
    : QObject(parent)
{
    outer_ = newBox(names.outer, captions.outer);
    row_ = new QHBoxLayout(outer_);
    offeredBox_ = newBox(names.offeredBox, captions.offeredBox);
    (new QVBoxLayout(offeredBox_))->addWidget(offered_ = newList(names.offered));
    chosenBox_ = newBox(names.chosenBox, captions.chosenBox);
    (new QVBoxLayout(chosenBox_))->addWidget(chosen_ = newList(names.chosen));
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(in_ = arrowButton(names.in, ">>>"));
    arrows->addWidget(out_ = arrowButton(names.out, "<<<"));
    arrows->addStretch(1);
    row_->addWidget(offeredBox_, 1);
    row_->addLayout(arrows);
    row_->addWidget(chosenBox_, 1);
    connectControls();
}

void entry::TwoListPicker::connectControls()
{
    connect(in_, &QPushButton::clicked, this, [this] { moveChosenLines(Side::Offered); });
    connect(out_, &QPushButton::clicked, this, [this] { moveChosenLines(Side::Chosen); });
    // A double-click moves the line clicked, as if it alone were chosen and its arrow pressed.
    for (Side side : { Side::Offered, Side::Chosen }) {
        QListWidget* l = list(side);
        connect(l, &QListWidget::itemDoubleClicked, this, [this, l, side](QListWidgetItem* line) {
            l->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
            moveCurrentLine(side);
        });
    }
}

QListWidget* entry::TwoListPicker::list(Side side) const
{
    return side == Side::Offered ? offered_ : chosen_;
}

QPushButton* entry::TwoListPicker::arrow(Side from) const
{
    return from == Side::Offered ? in_ : out_;
}

bool entry::TwoListPicker::empty(Side side) const
{
    return list(side)->count() == 0;
}

void entry::TwoListPicker::moveChosenLines(Side from)
{
    QListWidget* l = list(from);
    const std::vector<dorvan::Text100> names = selectedNames(l);
    const auto moves = [this, l, from, &names] {
        for (const dorvan::Text100& name : names) {
            QListWidgetItem* line = firstLineNamed(l, name);
            if (line == nullptr)
                continue;
            l->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
            moveCurrentLine(from);
        }
    };
    if (together_ && names.size() > 1)
        together_(moves);
    else
        moves();
}

void entry::TwoListPicker::moveCurrentLine(Side from)
{
    QListWidget* l = list(from);
    QListWidgetItem* line = l->currentItem();
    if (line == nullptr || !line->isSelected() || !move_)
        return;
    move_(from, l->row(line), itemName(line));
}

void entry::TwoListPicker::openSide(Side side)
{
    arrow(side)->setEnabled(true);
    (side == Side::Offered ? offeredBox_ : chosenBox_)->setEnabled(true);
    list(side)->setEnabled(true);
    setFieldColour(list(side), Qt::white);
}

void entry::TwoListPicker::closeSide(Side side)
{
    arrow(side)->setEnabled(false);
    setFieldColour(list(side), Silver);
    list(side)->setEnabled(false);
}

void entry::TwoListPicker::switchOff()
{
    for (Side side : { Side::Offered, Side::Chosen }) {
        list(side)->clear();
        closeSide(side);
    }
    for (QGroupBox* b : { outer_, offeredBox_, chosenBox_ })
        b->setEnabled(false);
}

void entry::TwoListPicker::show(
    const std::vector<dorvan::Text100>& offered, const std::vector<dorvan::Text100>& chosen, bool chosenOpen)
{
    for (Side side : { Side::Offered, Side::Chosen }) {
        list(side)->clear();
        closeSide(side);
    }
    outer_->setEnabled(true);
    offeredBox_->setEnabled(true);
    setLines(Side::Offered, offered);
    setLines(Side::Chosen, chosen);
    if (!offered.empty())
        openSide(Side::Offered);
    if (chosenOpen)
        openSide(Side::Chosen);
}

void entry::TwoListPicker::setLines(Side side, const std::vector<dorvan::Text100>& names)
{
    QListWidget* l = list(side);
    l->clear();
    for (const dorvan::Text100& name : names)
        l->addItem(nameItem(name));
}

void entry::TwoListPicker::moveLine(Side from, int row, Placement at)
{
    QListWidget* source = list(from);
    QListWidget* target = list(other(from));
    QListWidgetItem* line = source->item(row);
    if (line == nullptr)
        return;
    const dorvan::Text100 name = itemName(line);
    openSide(other(from));
    const int to
        = at == Placement::NameOrder ? dorvan::sortedPosition(namesOf(target), name) : target->count();
    target->insertItem(to, nameItem(name));
    delete source->takeItem(row);
    if (source->count() == 0)
        closeSide(from);
}
