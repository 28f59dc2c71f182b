// The criteria that relate places to each other: real distances typed pair by pair, the
// distribution centre, the depots and the priority places. The rules live in PlaceRelations;
// the handlers here read the controls, call them and show the result.
#include "entry/Vstupne_Udaje.h"

#include "common/UserDialogs.h"
#include "entry/PlaceList.h"
#include "entry/PlaceRelations.h"
#include "project/Project.h"

#include <QCheckBox>
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

const QColor Silver(0xC0, 0xC0, 0xC0);

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

// The row before which a name goes in a list kept in code-page order of names.
int sortedRow(const QListWidget* l, const dorvan::Text100& name)
{
    std::vector<dorvan::Text100> names;
    for (int i = 0; i < l->count(); ++i)
        names.push_back(itemName(l->item(i)));
    return dorvan::sortedPosition(names, name);
}

} // namespace

// A control of the four pages (they are built before the criteria page joins the window).
template <typename T> T* TVstupUdajov::relationControl(const char* name) const
{
    for (int sheet : { 3, 6, 7, 10 })
        if (T* c = criterionSheet_[static_cast<std::size_t>(sheet)]->findChild<T*>(name))
            return c;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Building

void TVstupUdajov::buildRelationSheets()
{
    // Distances: the pair entry and the change of one pair.
    {
        auto* layout = new QVBoxLayout(criterionSheet_[3]);
        auto* entry = box("GroupBox13", " Vzdialenosť medzi miestami ");
        auto* e = new QGridLayout(entry);
        e->addWidget(named(new QLabel(u("Zadajte vzdialenosť")), "Label16"), 0, 0);
        e->addWidget(edit("Edit11"), 1, 0);
        e->addWidget(button("Button10", "OK"), 1, 1);
        e->setColumnStretch(2, 1);
        auto* change = box("GroupBox14", " Zmena hodnôt - vzdialenosť ");
        auto* c = new QGridLayout(change);
        c->addWidget(button("Button11", "Povoliť zmenu"), 0, 0);
        auto* mx = box("GroupBox15", " Vyberte miesto MX ");
        (new QVBoxLayout(mx))->addWidget(combo("ComboBox3"));
        auto* my = box("GroupBox17", " Vyberte miesto MY ");
        (new QVBoxLayout(my))->addWidget(combo("ComboBox4"));
        c->addWidget(mx, 1, 0);
        c->addWidget(my, 1, 1);
        c->addWidget(named(new QLabel(u("Zadajte vzdialenosť")), "Label17"), 2, 0);
        c->addWidget(edit("Edit13"), 3, 0);
        c->addWidget(button("Button12", "OK"), 3, 1);
        c->addWidget(named(new QLabel(u("Súčasná vzdialenosť")), "Label21"), 4, 0);
        c->addWidget(edit("Edit16", true), 5, 0);
        c->setColumnStretch(2, 1);
        layout->addWidget(entry);
        layout->addWidget(change);
        layout->addStretch(1);
        for (QWidget* w : std::initializer_list<QWidget*> { entry, change, mx, my })
            w->setEnabled(false);
    }
    // The distribution centre: the first choice, then its change.
    {
        auto* layout = new QVBoxLayout(criterionSheet_[6]);
        auto* choose = box("GroupBox22", " Vyberte miesto distribučnej centrály ");
        auto* g = new QHBoxLayout(choose);
        g->addWidget(combo("ComboBox5"));
        g->addWidget(button("Button19", "OK"));
        g->addStretch(1);
        auto* change = box("GroupBox23", " Zmena miesta distribučnej centrály ");
        auto* c = new QGridLayout(change);
        c->addWidget(named(new QLabel(u("Nové miesto DC")), "Label29"), 0, 0);
        c->addWidget(combo("ComboBox6"), 1, 0);
        c->addWidget(button("Button21", "OK"), 1, 1);
        c->addWidget(named(new QLabel(u("Súčasná centrála")), "Label30"), 2, 0);
        c->addWidget(edit("Edit25", true), 3, 0);
        c->addWidget(button("Button20", "Povoliť zmenu"), 3, 1);
        c->setColumnStretch(2, 1);
        layout->addWidget(choose);
        layout->addWidget(change);
        layout->addStretch(1);
        choose->setEnabled(false);
        change->setEnabled(false);
    }
    // Depots and priorities: the places on the left, the chosen ones on the right.
    auto twoLists = [this](int sheet, const char* outer, const char* outerCaption, const char* leftBox,
                        const char* leftList, const char* rightBox, const char* rightCaption,
                        const char* rightList, const char* in, const char* out) {
        auto* layout = new QVBoxLayout(criterionSheet_[static_cast<std::size_t>(sheet)]);
        auto* frame = box(outer, outerCaption);
        auto* row = new QHBoxLayout(frame);
        auto* left = box(leftBox, " Zoznam miest ");
        (new QVBoxLayout(left))->addWidget(list(leftList));
        auto* right = box(rightBox, rightCaption);
        (new QVBoxLayout(right))->addWidget(list(rightList));
        auto* arrows = new QVBoxLayout;
        arrows->addStretch(1);
        arrows->addWidget(button(in, ">>>"));
        arrows->addWidget(button(out, "<<<"));
        arrows->addStretch(1);
        row->addWidget(left, 1);
        row->addLayout(arrows);
        row->addWidget(right, 1);
        layout->addWidget(frame, 1);
        for (QWidget* w : std::initializer_list<QWidget*> { frame, left, right })
            w->setEnabled(false);
        return row;
    };
    twoLists(7, "GroupBox24", " Vyberte distribučné sklady ", "GroupBox25", "ListBox2", "GroupBox26",
        " Zoznam skladov ", "ListBox3", "Button22", "Button23");
    QHBoxLayout* priorities = twoLists(10, "GroupBox33",
        " Vyberte miesta ktoré majú v distribučnom systéme prvoradú prioritu ", "GroupBox34", "ListBox6",
        "GroupBox35", " Zoznam prioritných miest ", "ListBox7", "Button30", "Button31");
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(button("Button34", "A"));
    moves->addWidget(button("Button35", "V"));
    moves->addStretch(1);
    priorities->addLayout(moves);

    for (const char* name : { "Edit11", "Edit13", "Edit16", "Edit25", "ComboBox3", "ComboBox4", "ComboBox5",
             "ComboBox6", "ListBox2", "ListBox3", "ListBox6", "ListBox7" })
        setFieldColour(relationControl<QWidget>(name), Silver);
    for (const char* name : { "Button10", "Button11", "Button12", "Button19", "Button20", "Button21",
             "Button22", "Button23", "Button30", "Button31", "Button34", "Button35" })
        relationControl<QPushButton>(name)->setEnabled(false);

    auto on = [this](const char* name, void (TVstupUdajov::*handler)()) {
        connect(relationControl<QPushButton>(name), &QPushButton::clicked, this, handler);
    };
    on("Button10", &TVstupUdajov::Button10Click);
    on("Button11", &TVstupUdajov::Button11Click);
    on("Button12", &TVstupUdajov::Button12Click);
    on("Button19", &TVstupUdajov::Button19Click);
    on("Button20", &TVstupUdajov::Button20Click);
    on("Button21", &TVstupUdajov::Button21Click);
    on("Button22", &TVstupUdajov::Button22Click);
    on("Button23", &TVstupUdajov::Button23Click);
    on("Button30", &TVstupUdajov::Button30Click);
    on("Button31", &TVstupUdajov::Button31Click);
    connect(relationControl<QPushButton>("Button34"), &QPushButton::clicked, this,
        [this] { moveSelectedPriority(true); });
    connect(relationControl<QPushButton>("Button35"), &QPushButton::clicked, this,
        [this] { moveSelectedPriority(false); });
    connect(relationControl<QComboBox>("ComboBox3"), &QComboBox::activated, this,
        [this] { distanceChoiceChanged(true); });
    connect(relationControl<QComboBox>("ComboBox4"), &QComboBox::activated, this,
        [this] { distanceChoiceChanged(false); });
}

// ---------------------------------------------------------------------------------------------
// Distances

// Places added to a complete list whose pairs are still to be asked.
int TVstupUdajov::addedPlaces() const
{
    // AddCount holds only the last count typed; a count typed again during an addition would
    // leave the places entered before it out.
    const int before = placeEntry_.placesBeforeAddition();
    if (project_.Record.DistanceEntryState != 1 || before < 0)
        return 0;
    return std::max(0, project_.State.PlaceCount - before);
}

void TVstupUdajov::setDistanceEntry()
{
    auto* entry = relationControl<QGroupBox>("GroupBox13");
    auto* value = relationControl<QLineEdit>("Edit11");
    auto* ok = relationControl<QPushButton>("Button10");
    if (!criterionBox_[3]->isChecked()) {
        entry->setTitle(u(" Vzdialenosť medzi miestami "));
        setFieldColour(value, Silver);
        value->setEnabled(false);
        ok->setEnabled(false);
        return;
    }
    const int state = project_.Record.DistanceEntryState;
    if (state == 0 || state == 1) {
        entry->setEnabled(true);
        setFieldColour(value, Qt::white);
        value->setEnabled(true);
        ok->setEnabled(true);
        distanceCursor_ = dorvan::firstDistancePair(state, project_.State.PlaceCount, addedPlaces());
        showDistancePair();
        // A list too short to ask anything is complete at once.
        if (dorvan::distanceEntryFinished(distanceCursor_, project_.State.PlaceCount))
            finishDistanceEntry();
    } else {
        finishDistanceEntry();
    }
}

void TVstupUdajov::showDistancePair()
{
    const auto& r = project_.Record;
    const int n = std::clamp(project_.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    const auto& c = distanceCursor_;
    if (c.row < 1 || c.row > n || c.col < 1 || c.col > n)
        return;
    QString caption = u(" Vzdialenosť ");
    caption += QString::fromStdString(dorvan::displayName(r.PlaceName[c.row]));
    caption += u("<--->");
    caption += QString::fromStdString(dorvan::displayName(r.PlaceName[c.col]));
    caption += u(" ");
    relationControl<QGroupBox>("GroupBox13")->setTitle(caption);
}

void TVstupUdajov::finishDistanceEntry()
{
    auto* value = relationControl<QLineEdit>("Edit11");
    setFieldColour(value, Silver);
    value->setEnabled(false);
    relationControl<QPushButton>("Button10")->setEnabled(false);
    relationControl<QGroupBox>("GroupBox13")->setEnabled(false);
    relationControl<QGroupBox>("GroupBox14")->setEnabled(true);
    relationControl<QPushButton>("Button11")->setEnabled(true);
    project_.Record.DistanceEntryState = 2;
}

void TVstupUdajov::Button10Click()
{
    const int n = project_.State.PlaceCount;
    if (!dorvan::distancePairOpen(distanceCursor_, n))
        return;
    auto* value = relationControl<QLineEdit>("Edit11");
    const std::optional<double> d = dorvan::parseDistance(value->text().toStdString());
    if (!d) {
        dialogs_.warn(this, u("Chybné zadanie VZDIALENOSTI !!!"));
        value->clear();
    } else {
        dorvan::enterDistance(project_.Record, distanceCursor_, n, addedPlaces(), *d);
        valuesChanged();
        if (distanceCursor_.row <= n && distanceCursor_.row != distanceCursor_.col) {
            showDistancePair();
            value->clear();
        }
    }
    if (dorvan::distanceEntryFinished(distanceCursor_, n))
        finishDistanceEntry();
}

void TVstupUdajov::Button11Click()
{
    relationControl<QGroupBox>("GroupBox15")->setEnabled(true);
    auto* mx = relationControl<QComboBox>("ComboBox3");
    mx->setEnabled(true);
    setFieldColour(mx, Qt::white);
    mx->clear();
    const int n = std::clamp(project_.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int p = 1; p <= n; ++p)
        mx->addItem(QString::fromStdString(dorvan::displayName(project_.Record.PlaceName[p])));
    mx->setCurrentIndex(-1);
    relationControl<QComboBox>("ComboBox4")->clear();
    relationControl<QLineEdit>("Edit13")->clear();
    relationControl<QLineEdit>("Edit16")->clear();
}

void TVstupUdajov::distanceChoiceChanged(bool first)
{
    auto* mx = relationControl<QComboBox>("ComboBox3");
    auto* my = relationControl<QComboBox>("ComboBox4");
    auto* value = relationControl<QLineEdit>("Edit13");
    auto* current = relationControl<QLineEdit>("Edit16");
    if (first && my->count() == 0) {
        relationControl<QGroupBox>("GroupBox17")->setEnabled(true);
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
            dialogs_.warn(this, u("Vyberte MIESTO !!!"));
            value->clear();
            current->clear();
        }
        return;
    }
    if (a == b) {
        dialogs_.warn(this, u("MIESTA SA ROVNAJÚ !!!"));
        value->clear();
        current->clear();
        return;
    }
    value->setEnabled(true);
    setFieldColour(value, Qt::white);
    relationControl<QPushButton>("Button12")->setEnabled(true);
    current->setText(formatNumber(project_.Record.Distance[a + 1][b + 1]));
}

void TVstupUdajov::Button12Click()
{
    auto* mx = relationControl<QComboBox>("ComboBox3");
    auto* my = relationControl<QComboBox>("ComboBox4");
    auto* value = relationControl<QLineEdit>("Edit13");
    auto* current = relationControl<QLineEdit>("Edit16");
    const int a = mx->currentIndex();
    const int b = my->currentIndex();
    const int n = std::clamp(project_.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    if (a < 0 || b < 0 || a >= n || b >= n) {
        dialogs_.warn(this, u("Vyberte MIESTO !!!"));
        value->clear();
        return;
    }
    const std::optional<double> d = dorvan::parseDistance(value->text().toStdString());
    if (!d) {
        dialogs_.warn(this, u("Chybné zadanie VZDIALENOSTI !!!"));
        value->clear();
        return;
    }
    if (a == b) {
        dialogs_.warn(this, u("MIESTA SA ROVNAJÚ !!!"));
        value->clear();
        current->clear();
        return;
    }
    project_.Record.Distance[a + 1][b + 1] = *d;
    project_.Record.Distance[b + 1][a + 1] = *d;
    valuesChanged();
    current->setText(formatNumber(*d));
    for (QWidget* w : std::initializer_list<QWidget*> { value, mx, my }) {
        w->setEnabled(false);
        setFieldColour(w, Silver);
    }
    relationControl<QPushButton>("Button12")->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// The distribution centre

void TVstupUdajov::fillWithPlaces(QComboBox* c)
{
    c->clear();
    const int n = std::clamp(project_.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int p = 1; p <= n; ++p) {
        const dorvan::Text100& name = project_.Record.PlaceName[p];
        const std::string_view b = name.bytes();
        c->addItem(QString::fromStdString(dorvan::displayName(name)),
            QByteArray(b.data(), static_cast<qsizetype>(b.size())));
    }
    c->setCurrentIndex(-1);
}

void TVstupUdajov::setCentrePage()
{
    const bool on = criterionBox_[6]->isChecked();
    auto* first = relationControl<QComboBox>("ComboBox5");
    auto* change = relationControl<QComboBox>("ComboBox6");
    first->clear();
    change->clear();
    auto* chooseBox = relationControl<QGroupBox>("GroupBox22");
    auto* ok = relationControl<QPushButton>("Button19");
    if (!on) {
        setFieldColour(first, Silver);
        first->setEnabled(false);
        ok->setEnabled(false);
        return;
    }
    if (project_.Record.CentralState != 0) {
        chooseBox->setEnabled(false);
        ok->setEnabled(false);
        first->setEnabled(false);
        setFieldColour(first, Silver);
        relationControl<QGroupBox>("GroupBox23")->setEnabled(true);
        relationControl<QPushButton>("Button20")->setEnabled(true);
    } else {
        chooseBox->setEnabled(true);
        first->setEnabled(true);
        setFieldColour(first, Qt::white);
        ok->setEnabled(true);
        fillWithPlaces(first);
    }
}

void TVstupUdajov::chooseCentre(QComboBox* from, QPushButton* ok)
{
    const QByteArray b = from->currentData().toByteArray();
    dorvan::chooseCentral(project_.Record,
        dorvan::Text100::fromBytes(std::string_view(b.constData(), static_cast<std::size_t>(b.size()))),
        project_.State.PlaceCount);
    valuesChanged();
    setFieldColour(from, Silver);
    from->setEnabled(false);
    ok->setEnabled(false);
    relationControl<QGroupBox>("GroupBox22")->setEnabled(false);
    relationControl<QPushButton>("Button20")->setEnabled(true);
    relationControl<QGroupBox>("GroupBox23")->setEnabled(true);
    centreOrDepotsChanged();
}

void TVstupUdajov::Button19Click()
{
    auto* c = relationControl<QComboBox>("ComboBox5");
    if (c->currentIndex() < 0) {
        dialogs_.warn(this, u("Vyberte DISTRIBUČNÚ CENTRÁLU !!!"));
        c->setCurrentIndex(-1);
        return;
    }
    chooseCentre(c, relationControl<QPushButton>("Button19"));
}

void TVstupUdajov::Button20Click()
{
    auto* c = relationControl<QComboBox>("ComboBox6");
    c->setEnabled(true);
    setFieldColour(c, Qt::white);
    fillWithPlaces(c);
    auto* current = relationControl<QLineEdit>("Edit25");
    current->setEnabled(true);
    current->setText(QString::fromStdString(dorvan::displayName(project_.Record.CentralName)));
    relationControl<QPushButton>("Button21")->setEnabled(true);
}

void TVstupUdajov::Button21Click()
{
    auto* c = relationControl<QComboBox>("ComboBox6");
    auto* ok = relationControl<QPushButton>("Button21");
    if (c->currentIndex() >= 0) {
        chooseCentre(c, ok);
        relationControl<QLineEdit>("Edit25")->setText(
            QString::fromStdString(dorvan::displayName(project_.Record.CentralName)));
        return;
    }
    if (!dialogs_.confirm(this, u("Zrušiť DISTRIBUČNÚ CENTRÁLU ?!!"), true))
        return;
    dorvan::cancelCentral(project_.Record);
    valuesChanged();
    setFieldColour(c, Silver);
    c->setEnabled(false);
    auto* current = relationControl<QLineEdit>("Edit25");
    current->clear();
    current->setEnabled(false);
    ok->setEnabled(false);
    relationControl<QGroupBox>("GroupBox23")->setEnabled(false);
    relationControl<QPushButton>("Button20")->setEnabled(false);
    ClickCheckBox6();
    centreOrDepotsChanged();
}

// The centre is left out of the depot and priority lists, and the loading-time and capacity
// pages offer their DC, DS and DM entries by the centre and the depots.
void TVstupUdajov::centreOrDepotsChanged()
{
    if (criterionBox_[7]->isChecked())
        ClickCheckBox7();
    if (criterionBox_[10]->isChecked())
        ClickCheckBox10();
    ClickCheckBox8();
    ClickCheckBox9();
}

// ---------------------------------------------------------------------------------------------
// Depots and priorities

void TVstupUdajov::setChoiceLists(int sheet, const char* outer, const char* leftBox, const char* rightBox,
    const char* leftName, const char* rightName, const char* in, const char* out)
{
    const bool on = criterionBox_[static_cast<std::size_t>(sheet)]->isChecked();
    auto& r = project_.Record;
    const bool depots = sheet == 7;
    auto* left = relationControl<QListWidget>(leftName);
    auto* right = relationControl<QListWidget>(rightName);
    for (QListWidget* l : { left, right }) {
        l->clear();
        setFieldColour(l, Silver);
        l->setEnabled(false);
    }
    relationControl<QPushButton>(in)->setEnabled(false);
    relationControl<QPushButton>(out)->setEnabled(false);
    if (!depots) {
        relationControl<QPushButton>("Button34")->setEnabled(false);
        relationControl<QPushButton>("Button35")->setEnabled(false);
    }
    if (!on) {
        for (const char* b : { outer, leftBox, rightBox })
            relationControl<QGroupBox>(b)->setEnabled(false);
        return;
    }
    relationControl<QGroupBox>(outer)->setEnabled(true);
    relationControl<QGroupBox>(leftBox)->setEnabled(true);
    const auto& names = depots ? r.WarehouseName : r.PriorityName;
    const int count = depots ? r.WarehouseCount : r.PriorityCount;
    const dorvan::PlaceSplit split = dorvan::splitPlaces(r, project_.State.PlaceCount, names, count);
    for (int p : split.others)
        left->addItem(nameItem(r.PlaceName[p]));
    if (depots) {
        for (int p : split.listed)
            right->addItem(nameItem(r.PlaceName[p]));
    } else {
        for (int k = 1; k <= std::clamp(count, 0, dorvan::MaxPlaces); ++k)
            right->addItem(nameItem(names[k]));
    }
    if (left->count() > 0) {
        setFieldColour(left, Qt::white);
        left->setEnabled(true);
        relationControl<QPushButton>(in)->setEnabled(true);
    }
    if (count > 0) {
        setFieldColour(right, Qt::white);
        right->setEnabled(true);
        relationControl<QPushButton>(out)->setEnabled(true);
        relationControl<QGroupBox>(rightBox)->setEnabled(true);
        if (!depots) {
            relationControl<QPushButton>("Button34")->setEnabled(true);
            relationControl<QPushButton>("Button35")->setEnabled(true);
        }
    }
}

void TVstupUdajov::setDepotPage()
{
    setChoiceLists(
        7, "GroupBox24", "GroupBox25", "GroupBox26", "ListBox2", "ListBox3", "Button22", "Button23");
}

void TVstupUdajov::setPriorityPage()
{
    setChoiceLists(
        10, "GroupBox33", "GroupBox34", "GroupBox35", "ListBox6", "ListBox7", "Button30", "Button31");
}

void TVstupUdajov::Button22Click()
{
    auto* places = relationControl<QListWidget>("ListBox2");
    auto* depots = relationControl<QListWidget>("ListBox3");
    QListWidgetItem* line = places->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    auto& r = project_.Record;
    const dorvan::Text100 name = itemName(line);
    if (dorvan::addWarehouse(r, name) == 0)
        return;
    depots->insertItem(sortedRow(depots, name), nameItem(name));
    relationControl<QPushButton>("Button23")->setEnabled(true);
    relationControl<QGroupBox>("GroupBox26")->setEnabled(true);
    depots->setEnabled(true);
    setFieldColour(depots, Qt::white);
    delete places->takeItem(places->row(line));
    valuesChanged();
    if (places->count() == 0) {
        relationControl<QPushButton>("Button22")->setEnabled(false);
        setFieldColour(places, Silver);
        places->setEnabled(false);
        r.LoadTimeDM = 0.0;
        r.CapacityDM = 0.0;
    }
    centreOrDepotsChanged();
}

void TVstupUdajov::Button23Click()
{
    auto* places = relationControl<QListWidget>("ListBox2");
    auto* depots = relationControl<QListWidget>("ListBox3");
    QListWidgetItem* line = depots->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    auto& r = project_.Record;
    const dorvan::Text100 name = itemName(line);
    // The depot goes by its name: a name of a deleted place may stand before it in the record.
    dorvan::removeWarehouse(r, name);
    relationControl<QPushButton>("Button22")->setEnabled(true);
    relationControl<QGroupBox>("GroupBox25")->setEnabled(true);
    places->setEnabled(true);
    setFieldColour(places, Qt::white);
    places->insertItem(sortedRow(places, name), nameItem(name));
    delete depots->takeItem(depots->row(line));
    valuesChanged();
    if (depots->count() == 0) {
        relationControl<QPushButton>("Button23")->setEnabled(false);
        setFieldColour(depots, Silver);
        depots->setEnabled(false);
        r.LoadTimeDS = 0.0;
        r.CapacityDS = 0.0;
    }
    centreOrDepotsChanged();
}

void TVstupUdajov::Button30Click()
{
    auto* places = relationControl<QListWidget>("ListBox6");
    auto* chosen = relationControl<QListWidget>("ListBox7");
    QListWidgetItem* line = places->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    const dorvan::Text100 name = itemName(line);
    if (!dorvan::addPriority(project_.Record, name))
        return;
    chosen->addItem(nameItem(name));
    for (const char* b : { "Button31", "Button34", "Button35" })
        relationControl<QPushButton>(b)->setEnabled(true);
    relationControl<QGroupBox>("GroupBox35")->setEnabled(true);
    chosen->setEnabled(true);
    setFieldColour(chosen, Qt::white);
    valuesChanged();
    delete places->takeItem(places->row(line));
    if (places->count() == 0) {
        relationControl<QPushButton>("Button30")->setEnabled(false);
        setFieldColour(places, Silver);
        places->setEnabled(false);
    }
}

void TVstupUdajov::Button31Click()
{
    auto* places = relationControl<QListWidget>("ListBox6");
    auto* chosen = relationControl<QListWidget>("ListBox7");
    QListWidgetItem* line = chosen->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    const int row = chosen->row(line);
    const dorvan::Text100 name = itemName(line);
    if (!dorvan::removePriority(project_.Record, row + 1))
        return;
    relationControl<QPushButton>("Button30")->setEnabled(true);
    places->setEnabled(true);
    setFieldColour(places, Qt::white);
    places->insertItem(sortedRow(places, name), nameItem(name));
    delete chosen->takeItem(row);
    valuesChanged();
    if (chosen->count() == 0) {
        for (const char* b : { "Button31", "Button34", "Button35" })
            relationControl<QPushButton>(b)->setEnabled(false);
        setFieldColour(chosen, Silver);
        chosen->setEnabled(false);
    }
}

void TVstupUdajov::moveSelectedPriority(bool up)
{
    auto* chosen = relationControl<QListWidget>("ListBox7");
    QListWidgetItem* line = chosen->currentItem();
    if (line == nullptr || !line->isSelected())
        return;
    const int target = dorvan::movePriority(project_.Record, chosen->row(line) + 1, up);
    if (target == 0)
        return;
    // The list shows the stored order again, the moved place selected.
    chosen->clear();
    for (int k = 1; k <= project_.Record.PriorityCount; ++k)
        chosen->addItem(nameItem(project_.Record.PriorityName[k]));
    chosen->setCurrentRow(target - 1);
    valuesChanged();
}
