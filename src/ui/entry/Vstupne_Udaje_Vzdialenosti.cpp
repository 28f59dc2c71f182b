// The criteria that relate places to each other (RelationSheets): real distances typed pair by
// pair, the distribution centre, the depots and the priority places. The rules live in
// PlaceRelations; the handlers here read the controls, call them and show the result.
#include "ui/entry/EntryRelationSheets.h"

#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryMessages.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceList.h"
#include "core/entry/PlaceRelations.h"
#include "core/project/Project.h"

#include <QComboBox>
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

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

template <typename T> T* named(T* w, const char* name)
{
    w->setObjectName(name);
    return w;
}

QGroupBox* box(const char* name, const char* caption)
{
    return named(new QGroupBox(u(caption)), name);
}

QPushButton* button(const char* name, const char* caption)
{
    return named(new QPushButton(u(caption)), name);
}

QLineEdit* edit(const char* name, bool readOnly = false)
{
    auto* e = named(new QLineEdit, name);
    e->setReadOnly(readOnly);
    e->setMaximumWidth(160);
    e->setEnabled(false);
    return e;
}

QComboBox* combo(const char* name)
{
    auto* c = named(new QComboBox, name);
    c->setMinimumWidth(160);
    c->setEnabled(false);
    return c;
}

QListWidget* list(const char* name)
{
    auto* l = named(new QListWidget, name);
    // Several names are moved at once: Ctrl- and Shift-click choose them.
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->setEnabled(false);
    return l;
}

// A list line carries the name's code-page bytes, so a name goes back into the record as it was.
constexpr int NameRole = Qt::UserRole;

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

// The row before which a name goes in a list kept in code-page order of names.
int sortedRow(const QListWidget* l, const dorvan::Text100& name)
{
    std::vector<dorvan::Text100> names;
    for (int i = 0; i < l->count(); ++i)
        names.push_back(itemName(l->item(i)));
    return dorvan::sortedPosition(names, name);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Building

entry::RelationSheets::RelationSheets(const EntryContext& context, const Sheets& sheets, QObject* parent)
    : QObject(parent)
    , context_(context)
    , dialogParent_(sheets.distances)
{
    buildDistanceSheet(sheets.distances);
    buildCentreSheet(sheets.centre);
    static const char* const depotNames[7]
        = { "GroupBox24", "GroupBox25", "ListBox2", "GroupBox26", "ListBox3", "Button22", "Button23" };
    buildChoiceSheet(sheets.depots, depots_, depotNames, " Vyberte distribučné sklady ", " Zoznam skladov ");
    static const char* const priorityNames[7]
        = { "GroupBox33", "GroupBox34", "ListBox6", "GroupBox35", "ListBox7", "Button30", "Button31" };
    QHBoxLayout* priorities = buildChoiceSheet(sheets.priorities, priorities_, priorityNames,
        " Vyberte miesta ktoré majú v distribučnom systéme prvoradú prioritu ", " Zoznam prioritných miest ");
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    Button34 = button("Button34", "A");
    Button35 = button("Button35", "V");
    moves->addWidget(Button34);
    moves->addWidget(Button35);
    moves->addStretch(1);
    priorities->addLayout(moves);

    for (QWidget* w : std::initializer_list<QWidget*> { Edit11, Edit13, Edit16, Edit25, ComboBox3, ComboBox4,
             ComboBox5, ComboBox6, depots_.left, depots_.right, priorities_.left, priorities_.right })
        setFieldColour(w, Silver);
    for (QPushButton* b : { Button10, Button11, Button12, Button19, Button20, Button21, depots_.in,
             depots_.out, priorities_.in, priorities_.out, Button34, Button35 })
        b->setEnabled(false);
    connectControls();
}

// Distances: the pair entry and the change of one pair.
void entry::RelationSheets::buildDistanceSheet(QWidget* sheet)
{
    auto* layout = new QVBoxLayout(sheet);
    GroupBox13 = box("GroupBox13", " Vzdialenosť medzi miestami ");
    auto* e = new QGridLayout(GroupBox13);
    e->addWidget(named(new QLabel(u("Zadajte vzdialenosť")), "Label16"), 0, 0);
    e->addWidget(Edit11 = edit("Edit11"), 1, 0);
    e->addWidget(Button10 = button("Button10", "OK"), 1, 1);
    e->setColumnStretch(2, 1);
    GroupBox14 = box("GroupBox14", " Zmena hodnôt - vzdialenosť ");
    auto* c = new QGridLayout(GroupBox14);
    c->addWidget(Button11 = button("Button11", "Povoliť zmenu"), 0, 0);
    GroupBox15 = box("GroupBox15", " Vyberte miesto MX ");
    (new QVBoxLayout(GroupBox15))->addWidget(ComboBox3 = combo("ComboBox3"));
    GroupBox17 = box("GroupBox17", " Vyberte miesto MY ");
    (new QVBoxLayout(GroupBox17))->addWidget(ComboBox4 = combo("ComboBox4"));
    c->addWidget(GroupBox15, 1, 0);
    c->addWidget(GroupBox17, 1, 1);
    c->addWidget(named(new QLabel(u("Zadajte vzdialenosť")), "Label17"), 2, 0);
    c->addWidget(Edit13 = edit("Edit13"), 3, 0);
    c->addWidget(Button12 = button("Button12", "OK"), 3, 1);
    c->addWidget(named(new QLabel(u("Súčasná vzdialenosť")), "Label21"), 4, 0);
    c->addWidget(Edit16 = edit("Edit16", true), 5, 0);
    c->setColumnStretch(2, 1);
    layout->addWidget(GroupBox13);
    layout->addWidget(GroupBox14);
    layout->addStretch(1);
    for (QWidget* w : std::initializer_list<QWidget*> { GroupBox13, GroupBox14, GroupBox15, GroupBox17 })
        w->setEnabled(false);
}

// The distribution centre: the first choice, then its change.
void entry::RelationSheets::buildCentreSheet(QWidget* sheet)
{
    auto* layout = new QVBoxLayout(sheet);
    GroupBox22 = box("GroupBox22", " Vyberte miesto distribučnej centrály ");
    auto* g = new QHBoxLayout(GroupBox22);
    g->addWidget(ComboBox5 = combo("ComboBox5"));
    g->addWidget(Button19 = button("Button19", "OK"));
    g->addStretch(1);
    GroupBox23 = box("GroupBox23", " Zmena miesta distribučnej centrály ");
    auto* c = new QGridLayout(GroupBox23);
    c->addWidget(named(new QLabel(u("Nové miesto DC")), "Label29"), 0, 0);
    c->addWidget(ComboBox6 = combo("ComboBox6"), 1, 0);
    c->addWidget(Button21 = button("Button21", "OK"), 1, 1);
    c->addWidget(named(new QLabel(u("Súčasná centrála")), "Label30"), 2, 0);
    c->addWidget(Edit25 = edit("Edit25", true), 3, 0);
    c->addWidget(Button20 = button("Button20", "Povoliť zmenu"), 3, 1);
    c->setColumnStretch(2, 1);
    layout->addWidget(GroupBox22);
    layout->addWidget(GroupBox23);
    layout->addStretch(1);
    GroupBox22->setEnabled(false);
    GroupBox23->setEnabled(false);
}

// Depots and priorities: the places on the left, the chosen ones on the right. The names are
// those of the outer box, the left box, the left list, the right box, the right list and the
// two arrows.
QHBoxLayout* entry::RelationSheets::buildChoiceSheet(QWidget* sheet, ChoiceLists& c,
    const char* const names[7], const char* outerCaption, const char* rightCaption)
{
    auto* layout = new QVBoxLayout(sheet);
    c.outer = box(names[0], outerCaption);
    auto* row = new QHBoxLayout(c.outer);
    c.leftBox = box(names[1], " Zoznam miest ");
    (new QVBoxLayout(c.leftBox))->addWidget(c.left = list(names[2]));
    c.rightBox = box(names[3], rightCaption);
    (new QVBoxLayout(c.rightBox))->addWidget(c.right = list(names[4]));
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(c.in = button(names[5], ">>>"));
    arrows->addWidget(c.out = button(names[6], "<<<"));
    arrows->addStretch(1);
    row->addWidget(c.leftBox, 1);
    row->addLayout(arrows);
    row->addWidget(c.rightBox, 1);
    layout->addWidget(c.outer, 1);
    for (QWidget* w : std::initializer_list<QWidget*> { c.outer, c.leftBox, c.rightBox })
        w->setEnabled(false);
    return row;
}

void entry::RelationSheets::connectControls()
{
    const std::pair<QPushButton*, void (entry::RelationSheets::*)()> handlers[] = {
        { Button10, &entry::RelationSheets::Button10Click },
        { Button11, &entry::RelationSheets::Button11Click },
        { Button12, &entry::RelationSheets::Button12Click },
        { Button19, &entry::RelationSheets::Button19Click },
        { Button20, &entry::RelationSheets::Button20Click },
        { Button21, &entry::RelationSheets::Button21Click },
        { depots_.in, &entry::RelationSheets::Button22Click },
        { depots_.out, &entry::RelationSheets::Button23Click },
        { priorities_.in, &entry::RelationSheets::Button30Click },
        { priorities_.out, &entry::RelationSheets::Button31Click },
    };
    for (const auto& [b, handler] : handlers)
        connect(b, &QPushButton::clicked, this, handler);
    // A double-click moves the line clicked, as if it alone were chosen and its arrow pressed.
    const std::pair<QListWidget*, void (entry::RelationSheets::*)()> moves[] = {
        { depots_.left, &entry::RelationSheets::ClickButton22 },
        { depots_.right, &entry::RelationSheets::ClickButton23 },
        { priorities_.left, &entry::RelationSheets::ClickButton30 },
        { priorities_.right, &entry::RelationSheets::ClickButton31 },
    };
    for (const auto& [l, move] : moves)
        connect(l, &QListWidget::itemDoubleClicked, this, [this, l, move](QListWidgetItem* line) {
            l->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
            (this->*move)();
        });
    connect(Button34, &QPushButton::clicked, this, [this] { moveSelectedPriority(true); });
    connect(Button35, &QPushButton::clicked, this, [this] { moveSelectedPriority(false); });
    connect(ComboBox3, &QComboBox::activated, this, [this] { distanceChoiceChanged(true); });
    connect(ComboBox4, &QComboBox::activated, this, [this] { distanceChoiceChanged(false); });
}

bool entry::RelationSheets::ticked(int box) const
{
    return context_.project.Choices.Ticked[static_cast<std::size_t>(box - 1)];
}

void entry::RelationSheets::warn(std::string_view message)
{
    context_.dialogs.warn(dialogParent_, entry::text(message));
}

// ---------------------------------------------------------------------------------------------
// Distances

void entry::RelationSheets::setDistanceEntry()
{
    auto* entry = GroupBox13;
    auto* value = Edit11;
    auto* ok = Button10;
    if (!ticked(3)) {
        entry->setTitle(u(" Vzdialenosť medzi miestami "));
        setFieldColour(value, Silver);
        value->setEnabled(false);
        ok->setEnabled(false);
        return;
    }
    const int state = context_.project.Record.DistanceEntryState;
    if (state == 0 || state == 1) {
        entry->setEnabled(true);
        setFieldColour(value, Qt::white);
        value->setEnabled(true);
        ok->setEnabled(true);
        // A list too short to ask anything is complete at once.
        if (!showDistancePair())
            finishDistanceEntry();
    } else {
        finishDistanceEntry();
    }
}

// The caption names the pair asked next; false when no pair is left.
bool entry::RelationSheets::showDistancePair()
{
    const auto& r = context_.project.Record;
    const std::optional<dorvan::DistanceCursor> c
        = context_.placeEntry.distanceQuestions().next(context_.project.State.PlaceCount);
    if (!c)
        return false;
    QString caption = u(" Vzdialenosť ");
    caption += QString::fromStdString(dorvan::displayName(r.PlaceName[c->row]));
    caption += u("<--->");
    caption += QString::fromStdString(dorvan::displayName(r.PlaceName[c->col]));
    caption += u(" ");
    GroupBox13->setTitle(caption);
    return true;
}

void entry::RelationSheets::finishDistanceEntry()
{
    auto* value = Edit11;
    setFieldColour(value, Silver);
    value->setEnabled(false);
    Button10->setEnabled(false);
    GroupBox13->setEnabled(false);
    GroupBox14->setEnabled(true);
    Button11->setEnabled(true);
    context_.placeEntry.finishDistances();
}

void entry::RelationSheets::Button10Click()
{
    const int n = context_.project.State.PlaceCount;
    dorvan::DistanceQuestions& questions = context_.placeEntry.distanceQuestions();
    if (!questions.next(n))
        return;
    auto* value = Edit11;
    const std::optional<double> d = dorvan::parseDistance(value->text().toStdString());
    if (!d) {
        warn(dorvan::BadDistanceText);
        value->clear();
    } else {
        dorvan::enterDistance(context_.project.Record, questions, n, *d);
        context_.pages.valuesChanged();
        if (showDistancePair())
            value->clear();
    }
    if (!questions.next(n))
        finishDistanceEntry();
}

// The place list changed: the sheets that list places show them again, and the distance entry
// asks for the pairs of a place that moved (the change box starts over, its choices being
// place numbers).
void entry::RelationSheets::placesChanged()
{
    if (ticked(3)) {
        ComboBox3->clear();
        ComboBox4->clear();
        for (QWidget* w : std::initializer_list<QWidget*> { ComboBox3, ComboBox4, Edit13 }) {
            w->setEnabled(false);
            setFieldColour(w, Silver);
        }
        Edit13->clear();
        Edit16->clear();
        Button12->setEnabled(false);
        setDistanceEntry();
    }
    if (ticked(6))
        followCentre();
    if (ticked(7))
        setDepotPage();
    if (ticked(10))
        setPriorityPage();
}

// The centre follows its place (renamed with it); a deleted centre is cancelled, and the page
// offers the first choice again as after "Zrušiť".
void entry::RelationSheets::followCentre()
{
    const auto& r = context_.project.Record;
    const bool cancelled = r.CentralState == 0 && Button20->isEnabled();
    if (cancelled) {
        setFieldColour(ComboBox6, Silver);
        ComboBox6->setEnabled(false);
        Edit25->clear();
        Edit25->setEnabled(false);
        Button21->setEnabled(false);
        GroupBox23->setEnabled(false);
        Button20->setEnabled(false);
    } else if (Edit25->isEnabled()) {
        Edit25->setText(QString::fromStdString(dorvan::displayName(r.CentralName)));
    }
    const bool changing = ComboBox6->isEnabled();
    setCentrePage();
    if (changing)
        fillWithPlaces(ComboBox6);
    if (cancelled)
        centreOrDepotsChanged();
}

void entry::RelationSheets::Button11Click()
{
    GroupBox15->setEnabled(true);
    auto* mx = ComboBox3;
    mx->setEnabled(true);
    setFieldColour(mx, Qt::white);
    mx->clear();
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int p = 1; p <= n; ++p)
        mx->addItem(QString::fromStdString(dorvan::displayName(context_.project.Record.PlaceName[p])));
    mx->setCurrentIndex(-1);
    ComboBox4->clear();
    Edit13->clear();
    Edit16->clear();
}

void entry::RelationSheets::distanceChoiceChanged(bool first)
{
    auto* mx = ComboBox3;
    auto* my = ComboBox4;
    auto* value = Edit13;
    auto* current = Edit16;
    if (first && my->count() == 0) {
        GroupBox17->setEnabled(true);
        my->setEnabled(true);
        setFieldColour(my, Qt::white);
        for (int i = 0; i < mx->count(); ++i)
            my->addItem(mx->itemText(i));
        my->setCurrentIndex(-1);
    }
    const int a = mx->currentIndex();
    const int b = my->currentIndex();
    if (a < 0 || b < 0) {
        if (!first) {
            warn(dorvan::ChoosePlaceText);
            value->clear();
            current->clear();
        }
        return;
    }
    if (a == b) {
        warn(dorvan::SamePlacesText);
        value->clear();
        current->clear();
        return;
    }
    value->setEnabled(true);
    setFieldColour(value, Qt::white);
    Button12->setEnabled(true);
    current->setText(entry::formatNumber(context_.project.Record.Distance[a + 1][b + 1]));
}

void entry::RelationSheets::Button12Click()
{
    auto* mx = ComboBox3;
    auto* my = ComboBox4;
    auto* value = Edit13;
    auto* current = Edit16;
    const int a = mx->currentIndex();
    const int b = my->currentIndex();
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    if (a < 0 || b < 0 || a >= n || b >= n) {
        warn(dorvan::ChoosePlaceText);
        value->clear();
        return;
    }
    const std::optional<double> d = dorvan::parseDistance(value->text().toStdString());
    if (!d) {
        warn(dorvan::BadDistanceText);
        value->clear();
        return;
    }
    if (a == b) {
        warn(dorvan::SamePlacesText);
        value->clear();
        current->clear();
        return;
    }
    context_.project.Record.Distance[a + 1][b + 1] = *d;
    context_.project.Record.Distance[b + 1][a + 1] = *d;
    context_.pages.valuesChanged();
    current->setText(entry::formatNumber(*d));
    for (QWidget* w : std::initializer_list<QWidget*> { value, mx, my }) {
        w->setEnabled(false);
        setFieldColour(w, Silver);
    }
    Button12->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// The distribution centre

void entry::RelationSheets::fillWithPlaces(QComboBox* c)
{
    c->clear();
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int p = 1; p <= n; ++p) {
        const dorvan::Text100& name = context_.project.Record.PlaceName[p];
        const std::string_view b = name.bytes();
        c->addItem(QString::fromStdString(dorvan::displayName(name)),
            QByteArray(b.data(), static_cast<qsizetype>(b.size())));
    }
    c->setCurrentIndex(-1);
}

void entry::RelationSheets::setCentrePage()
{
    const bool on = ticked(6);
    auto* first = ComboBox5;
    auto* change = ComboBox6;
    first->clear();
    change->clear();
    auto* chooseBox = GroupBox22;
    auto* ok = Button19;
    if (!on) {
        setFieldColour(first, Silver);
        first->setEnabled(false);
        ok->setEnabled(false);
        return;
    }
    if (context_.project.Record.CentralState != 0) {
        chooseBox->setEnabled(false);
        ok->setEnabled(false);
        first->setEnabled(false);
        setFieldColour(first, Silver);
        GroupBox23->setEnabled(true);
        Button20->setEnabled(true);
    } else {
        chooseBox->setEnabled(true);
        first->setEnabled(true);
        setFieldColour(first, Qt::white);
        ok->setEnabled(true);
        fillWithPlaces(first);
    }
}

void entry::RelationSheets::chooseCentre(QComboBox* from, QPushButton* ok)
{
    const QByteArray b = from->currentData().toByteArray();
    dorvan::chooseCentral(context_.project.Record,
        dorvan::Text100::fromBytes(std::string_view(b.constData(), static_cast<std::size_t>(b.size()))),
        context_.project.State.PlaceCount);
    context_.pages.valuesChanged();
    setFieldColour(from, Silver);
    from->setEnabled(false);
    ok->setEnabled(false);
    GroupBox22->setEnabled(false);
    Button20->setEnabled(true);
    GroupBox23->setEnabled(true);
    centreOrDepotsChanged();
}

void entry::RelationSheets::Button19Click()
{
    auto* c = ComboBox5;
    if (c->currentIndex() < 0) {
        warn(dorvan::ChooseCentreText);
        c->setCurrentIndex(-1);
        return;
    }
    chooseCentre(c, Button19);
}

void entry::RelationSheets::Button20Click()
{
    auto* c = ComboBox6;
    c->setEnabled(true);
    setFieldColour(c, Qt::white);
    fillWithPlaces(c);
    auto* current = Edit25;
    current->setEnabled(true);
    current->setText(QString::fromStdString(dorvan::displayName(context_.project.Record.CentralName)));
    Button21->setEnabled(true);
}

void entry::RelationSheets::Button21Click()
{
    auto* c = ComboBox6;
    auto* ok = Button21;
    if (c->currentIndex() >= 0) {
        chooseCentre(c, ok);
        Edit25->setText(QString::fromStdString(dorvan::displayName(context_.project.Record.CentralName)));
        return;
    }
    if (!context_.dialogs.confirm(dialogParent_, entry::text(dorvan::CancelCentreQuestionText), true))
        return;
    dorvan::cancelCentral(context_.project.Record);
    context_.pages.valuesChanged();
    setFieldColour(c, Silver);
    c->setEnabled(false);
    auto* current = Edit25;
    current->clear();
    current->setEnabled(false);
    ok->setEnabled(false);
    GroupBox23->setEnabled(false);
    Button20->setEnabled(false);
    context_.pages.refreshCriterion(6);
    centreOrDepotsChanged();
}

// The centre is left out of the depot and priority lists, and the loading-time and capacity
// pages offer their DC, DS and DM entries by the centre and the depots.
void entry::RelationSheets::centreOrDepotsChanged()
{
    if (ticked(7))
        context_.pages.refreshCriterion(7);
    if (ticked(10))
        context_.pages.refreshCriterion(10);
    context_.pages.refreshCriterion(8);
    context_.pages.refreshCriterion(9);
}

// ---------------------------------------------------------------------------------------------
// Depots and priorities

void entry::RelationSheets::setChoiceLists(const ChoiceLists& c, bool on, bool depots)
{
    auto& r = context_.project.Record;
    for (QListWidget* l : { c.left, c.right }) {
        l->clear();
        setFieldColour(l, Silver);
        l->setEnabled(false);
    }
    c.in->setEnabled(false);
    c.out->setEnabled(false);
    if (!depots) {
        Button34->setEnabled(false);
        Button35->setEnabled(false);
    }
    if (!on) {
        for (QGroupBox* b : { c.outer, c.leftBox, c.rightBox })
            b->setEnabled(false);
        return;
    }
    c.outer->setEnabled(true);
    c.leftBox->setEnabled(true);
    const auto& names = depots ? r.WarehouseName : r.PriorityName;
    const int count = depots ? r.WarehouseCount : r.PriorityCount;
    const dorvan::PlaceSplit split = dorvan::splitPlaces(r, context_.project.State.PlaceCount, names, count);
    for (int p : split.others)
        c.left->addItem(nameItem(r.PlaceName[p]));
    if (depots) {
        for (int p : split.listed)
            c.right->addItem(nameItem(r.PlaceName[p]));
    } else {
        for (int k = 1; k <= std::clamp(count, 0, dorvan::MaxPlaces); ++k)
            c.right->addItem(nameItem(names[k]));
    }
    if (c.left->count() > 0) {
        setFieldColour(c.left, Qt::white);
        c.left->setEnabled(true);
        c.in->setEnabled(true);
    }
    if (count > 0) {
        setFieldColour(c.right, Qt::white);
        c.right->setEnabled(true);
        c.out->setEnabled(true);
        c.rightBox->setEnabled(true);
        if (!depots) {
            Button34->setEnabled(true);
            Button35->setEnabled(true);
        }
    }
}

void entry::RelationSheets::setDepotPage()
{
    setChoiceLists(depots_, ticked(7), true);
}

void entry::RelationSheets::setPriorityPage()
{
    setChoiceLists(priorities_, ticked(10), false);
}

// The arrows move every chosen line, in list order, exactly as one click each would.
void entry::RelationSheets::moveChosenLines(QListWidget* from, void (RelationSheets::*move)())
{
    for (const dorvan::Text100& name : selectedNames(from)) {
        // A move may fill the lists anew, so each line is looked up again by its name.
        QListWidgetItem* line = firstLineNamed(from, name);
        if (line == nullptr)
            continue;
        from->setCurrentItem(line, QItemSelectionModel::ClearAndSelect);
        (this->*move)();
    }
}

void entry::RelationSheets::Button22Click()
{
    moveChosenLines(depots_.left, &RelationSheets::ClickButton22);
}

void entry::RelationSheets::Button23Click()
{
    moveChosenLines(depots_.right, &RelationSheets::ClickButton23);
}

void entry::RelationSheets::Button30Click()
{
    moveChosenLines(priorities_.left, &RelationSheets::ClickButton30);
}

void entry::RelationSheets::Button31Click()
{
    moveChosenLines(priorities_.right, &RelationSheets::ClickButton31);
}

void entry::RelationSheets::ClickButton22()
{
    auto* places = depots_.left;
    auto* depots = depots_.right;
    QListWidgetItem* line = places->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    auto& r = context_.project.Record;
    const dorvan::Text100 name = itemName(line);
    if (dorvan::addWarehouse(r, name) == 0)
        return;
    depots->insertItem(sortedRow(depots, name), nameItem(name));
    depots_.out->setEnabled(true);
    depots_.rightBox->setEnabled(true);
    depots->setEnabled(true);
    setFieldColour(depots, Qt::white);
    delete places->takeItem(places->row(line));
    context_.pages.valuesChanged();
    if (places->count() == 0) {
        depots_.in->setEnabled(false);
        setFieldColour(places, Silver);
        places->setEnabled(false);
        r.LoadTimeDM = 0.0;
        r.CapacityDM = 0.0;
    }
    centreOrDepotsChanged();
}

void entry::RelationSheets::ClickButton23()
{
    auto* places = depots_.left;
    auto* depots = depots_.right;
    QListWidgetItem* line = depots->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    auto& r = context_.project.Record;
    const dorvan::Text100 name = itemName(line);
    // The depot goes by its name: a name of a deleted place may stand before it in the record.
    dorvan::removeWarehouse(r, name);
    depots_.in->setEnabled(true);
    depots_.leftBox->setEnabled(true);
    places->setEnabled(true);
    setFieldColour(places, Qt::white);
    places->insertItem(sortedRow(places, name), nameItem(name));
    delete depots->takeItem(depots->row(line));
    context_.pages.valuesChanged();
    if (depots->count() == 0) {
        depots_.out->setEnabled(false);
        setFieldColour(depots, Silver);
        depots->setEnabled(false);
        r.LoadTimeDS = 0.0;
        r.CapacityDS = 0.0;
    }
    centreOrDepotsChanged();
}

void entry::RelationSheets::ClickButton30()
{
    auto* places = priorities_.left;
    auto* chosen = priorities_.right;
    QListWidgetItem* line = places->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    const dorvan::Text100 name = itemName(line);
    if (!dorvan::addPriority(context_.project.Record, name))
        return;
    chosen->addItem(nameItem(name));
    for (QPushButton* b : { priorities_.out, Button34, Button35 })
        b->setEnabled(true);
    priorities_.rightBox->setEnabled(true);
    chosen->setEnabled(true);
    setFieldColour(chosen, Qt::white);
    context_.pages.valuesChanged();
    delete places->takeItem(places->row(line));
    if (places->count() == 0) {
        priorities_.in->setEnabled(false);
        setFieldColour(places, Silver);
        places->setEnabled(false);
    }
}

void entry::RelationSheets::ClickButton31()
{
    auto* places = priorities_.left;
    auto* chosen = priorities_.right;
    QListWidgetItem* line = chosen->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    const int row = chosen->row(line);
    const dorvan::Text100 name = itemName(line);
    if (!dorvan::removePriority(context_.project.Record, row + 1))
        return;
    priorities_.in->setEnabled(true);
    places->setEnabled(true);
    setFieldColour(places, Qt::white);
    places->insertItem(sortedRow(places, name), nameItem(name));
    delete chosen->takeItem(row);
    context_.pages.valuesChanged();
    if (chosen->count() == 0) {
        for (QPushButton* b : { priorities_.out, Button34, Button35 })
            b->setEnabled(false);
        setFieldColour(chosen, Silver);
        chosen->setEnabled(false);
    }
}

void entry::RelationSheets::moveSelectedPriority(bool up)
{
    auto* chosen = priorities_.right;
    QListWidgetItem* line = chosen->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    const int target = dorvan::movePriority(context_.project.Record, chosen->row(line) + 1, up);
    if (target == 0)
        return;
    // The list shows the stored order again, the moved place selected.
    chosen->clear();
    for (int k = 1; k <= context_.project.Record.PriorityCount; ++k)
        chosen->addItem(nameItem(context_.project.Record.PriorityName[k]));
    chosen->setCurrentRow(target - 1);
    context_.pages.valuesChanged();
}
