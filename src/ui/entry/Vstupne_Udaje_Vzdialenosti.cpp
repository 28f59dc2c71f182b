// Real distances between places (DistanceSheet): typed pair by pair, then changed one pair at a
// time. The rules live in PlaceRelations; the handlers here read the controls, call them and
// show the result.
#include "ui/entry/EntryRelationSheets.h"

#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryControls.h"
#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/EntryMessages.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceList.h"
#include "core/entry/PlaceRelations.h"
#include "core/project/Project.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using entry::setFieldColour;
using entry::Silver;

QLineEdit* edit(const char* name)
{
    QLineEdit* e = entry::controls::valueEdit(name);
    e->setEnabled(false);
    return e;
}

QComboBox* combo(const char* name)
{
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->setMinimumWidth(160);
    c->setEnabled(false);
    return c;
}

} // namespace

entry::DistanceSheet::DistanceSheet(const EntryContext& context)
    : context_(context)
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildEntryBox(), 1);
    // Beside the pair entry: every pair at once from a matrix file.
    importButton_ = entry::controls::button("ImportVzdialenosti", u("Importovať vzdialenosti ..."));
    importButton_->setToolTip(
        u("Všetky vzdialenosti naraz zo súboru CSV alebo z tabuľky smerovacieho servera (JSON)"));
    top->addWidget(importButton_, 0, Qt::AlignBottom);
    layout->addLayout(top);
    layout->addWidget(buildChangeBox());
    layout->addStretch(1);
    for (QWidget* w : std::initializer_list<QWidget*> { GroupBox13, GroupBox14, GroupBox15, GroupBox17 })
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*> { Edit11, Edit13, Edit16, ComboBox3, ComboBox4 })
        setFieldColour(w, Silver);
    for (QPushButton* b : { Button10, Button11, Button12 })
        b->setEnabled(false);
    connectControls();
}

// The pair entry.
QGroupBox* entry::DistanceSheet::buildEntryBox()
{
    using namespace entry::controls;
    GroupBox13 = groupBox("GroupBox13", " Vzdialenosť medzi miestami ");
    auto* e = new QGridLayout(GroupBox13);
    e->addWidget(label("Label16", "Zadajte vzdialenosť"), 0, 0);
    e->addWidget(Edit11 = edit("Edit11"), 1, 0);
    e->addWidget(Button10 = button("Button10", u("OK")), 1, 1);
    e->setColumnStretch(2, 1);
    return GroupBox13;
}

// The change of one pair.
QGroupBox* entry::DistanceSheet::buildChangeBox()
{
    using namespace entry::controls;
    GroupBox14 = groupBox("GroupBox14", " Zmena hodnôt - vzdialenosť ");
    auto* c = new QGridLayout(GroupBox14);
    c->addWidget(Button11 = button("Button11", u("Povoliť zmenu")), 0, 0);
    GroupBox15 = groupBox("GroupBox15", " Vyberte miesto MX ");
    (new QVBoxLayout(GroupBox15))->addWidget(ComboBox3 = combo("ComboBox3"));
    GroupBox17 = groupBox("GroupBox17", " Vyberte miesto MY ");
    (new QVBoxLayout(GroupBox17))->addWidget(ComboBox4 = combo("ComboBox4"));
    c->addWidget(GroupBox15, 1, 0);
    c->addWidget(GroupBox17, 1, 1);
    c->addWidget(label("Label17", "Zadajte vzdialenosť"), 2, 0);
    c->addWidget(Edit13 = edit("Edit13"), 3, 0);
    c->addWidget(Button12 = button("Button12", u("OK")), 3, 1);
    c->addWidget(label("Label21", "Súčasná vzdialenosť"), 4, 0);
    Edit16 = edit("Edit16");
    Edit16->setReadOnly(true);
    c->addWidget(Edit16, 5, 0);
    c->setColumnStretch(2, 1);
    return GroupBox14;
}

void entry::DistanceSheet::connectControls()
{
    connect(Button10, &QPushButton::clicked, this, &DistanceSheet::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &DistanceSheet::Button11Click);
    connect(Button12, &QPushButton::clicked, this, &DistanceSheet::Button12Click);
    connect(importButton_, &QPushButton::clicked, this, [this] { importDistances(); });
    // Enter in a "Zadajte vzdialenosť" field is its OK, while that OK may be pressed.
    connect(Edit11, &QLineEdit::returnPressed, this, [this] {
        if (Button10->isEnabled())
            Button10Click();
    });
    connect(Edit13, &QLineEdit::returnPressed, this, [this] {
        if (Button12->isEnabled())
            Button12Click();
    });
    connect(ComboBox3, &QComboBox::activated, this, &DistanceSheet::firstPlaceChosen);
    connect(ComboBox4, &QComboBox::activated, this, &DistanceSheet::secondPlaceChosen);
}

void entry::DistanceSheet::warn(std::string_view message)
{
    context_.dialogs.warn(this, entry::text(message));
}

void entry::DistanceSheet::setDistanceEntry()
{
    if (!ticked(context_.project, CriterionBox::RealDistances)) {
        GroupBox13->setTitle(u(" Vzdialenosť medzi miestami "));
        setFieldColour(Edit11, Silver);
        Edit11->setEnabled(false);
        Button10->setEnabled(false);
        return;
    }
    const int state = context_.project.Record.DistanceEntryState;
    if (state == 0 || state == 1) {
        GroupBox13->setEnabled(true);
        setFieldColour(Edit11, Qt::white);
        Edit11->setEnabled(true);
        Button10->setEnabled(true);
        // A list too short to ask anything is complete at once.
        if (!showDistancePair())
            finishDistanceEntry();
    } else {
        finishDistanceEntry();
    }
}

// The caption names the pair asked next; false when no pair is left.
bool entry::DistanceSheet::showDistancePair()
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

void entry::DistanceSheet::finishDistanceEntry()
{
    setFieldColour(Edit11, Silver);
    Edit11->setEnabled(false);
    Button10->setEnabled(false);
    GroupBox13->setEnabled(false);
    GroupBox14->setEnabled(true);
    Button11->setEnabled(true);
    context_.placeEntry.finishDistances();
}

void entry::DistanceSheet::Button10Click()
{
    const int n = context_.project.State.PlaceCount;
    dorvan::DistanceQuestions& questions = context_.placeEntry.distanceQuestions();
    if (!questions.next(n))
        return;
    const std::optional<double> d = dorvan::parseDistance(Edit11->text().toStdString());
    if (!d) {
        warn(dorvan::BadDistanceText);
        Edit11->clear();
    } else {
        dorvan::enterDistance(context_.project.Record, questions, n, *d);
        context_.pages.valuesChanged();
        if (showDistancePair())
            Edit11->clear();
    }
    if (!questions.next(n))
        finishDistanceEntry();
}

void entry::DistanceSheet::placesChanged()
{
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

void entry::DistanceSheet::Button11Click()
{
    GroupBox15->setEnabled(true);
    ComboBox3->setEnabled(true);
    setFieldColour(ComboBox3, Qt::white);
    ComboBox3->clear();
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int p = 1; p <= n; ++p)
        ComboBox3->addItem(QString::fromStdString(dorvan::displayName(context_.project.Record.PlaceName[p])));
    ComboBox3->setCurrentIndex(-1);
    ComboBox4->clear();
    Edit13->clear();
    Edit16->clear();
}

// The first choice of a change opens the second list, which offers the same places.
void entry::DistanceSheet::firstPlaceChosen()
{
    if (ComboBox4->count() == 0) {
        GroupBox17->setEnabled(true);
        ComboBox4->setEnabled(true);
        setFieldColour(ComboBox4, Qt::white);
        for (int i = 0; i < ComboBox3->count(); ++i)
            ComboBox4->addItem(ComboBox3->itemText(i));
        ComboBox4->setCurrentIndex(-1);
    }
    if (ComboBox3->currentIndex() >= 0 && ComboBox4->currentIndex() >= 0)
        showChosenPair();
}

void entry::DistanceSheet::secondPlaceChosen()
{
    if (ComboBox3->currentIndex() < 0 || ComboBox4->currentIndex() < 0) {
        warn(dorvan::ChoosePlaceText);
        Edit13->clear();
        Edit16->clear();
        return;
    }
    showChosenPair();
}

void entry::DistanceSheet::showChosenPair()
{
    const int a = ComboBox3->currentIndex();
    const int b = ComboBox4->currentIndex();
    if (a == b) {
        warn(dorvan::SamePlacesText);
        Edit13->clear();
        Edit16->clear();
        return;
    }
    Edit13->setEnabled(true);
    setFieldColour(Edit13, Qt::white);
    Button12->setEnabled(true);
    Edit16->setText(entry::formatNumber(context_.project.Record.Distance[a + 1][b + 1]));
}

void entry::DistanceSheet::Button12Click()
{
    const int a = ComboBox3->currentIndex();
    const int b = ComboBox4->currentIndex();
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    if (a < 0 || b < 0 || a >= n || b >= n) {
        warn(dorvan::ChoosePlaceText);
        Edit13->clear();
        return;
    }
    const std::optional<double> d = dorvan::parseDistance(Edit13->text().toStdString());
    if (!d) {
        warn(dorvan::BadDistanceText);
        Edit13->clear();
        return;
    }
    if (a == b) {
        warn(dorvan::SamePlacesText);
        Edit13->clear();
        Edit16->clear();
        return;
    }
    context_.project.Record.Distance[a + 1][b + 1] = *d;
    context_.project.Record.Distance[b + 1][a + 1] = *d;
    context_.pages.valuesChanged();
    Edit16->setText(entry::formatNumber(*d));
    for (QWidget* w : std::initializer_list<QWidget*> { Edit13, ComboBox3, ComboBox4 }) {
        w->setEnabled(false);
        setFieldColour(w, Silver);
    }
    Button12->setEnabled(false);
}
