// Real distances between places (DistanceSheet): typed pair by pair, then changed one pair at a
// time. The rules live in PlaceRelations; the handlers here read the controls, call them and
// show the result.
#include "ui/entry/EntryRelationSheets.h"

#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceList.h"
#include "core/entry/PlaceRelations.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryControls.h"
#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/EntryMessages.h"

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
    for (QWidget* w : std::initializer_list<QWidget*> {
             pairEntryBox, pairChangeBox, firstPlaceGroupBox, secondPlaceGroupBox })
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*> {
             distanceEdit, newDistanceEdit, currentDistanceEdit, firstPlaceBox, secondPlaceBox })
        setFieldColour(w, Silver);
    for (QPushButton* b : { distanceOkButton, allowChangeButton, changeOkButton })
        b->setEnabled(false);
    connectControls();
}

// The pair entry.
QGroupBox* entry::DistanceSheet::buildEntryBox()
{
    using namespace entry::controls;
    pairEntryBox = groupBox("GroupBox13", " Vzdialenosť medzi miestami ");
    auto* e = new QGridLayout(pairEntryBox);
    e->addWidget(label("Label16", "Zadajte vzdialenosť"), 0, 0);
    e->addWidget(distanceEdit = edit("Edit11"), 1, 0);
    e->addWidget(distanceOkButton = button("Button10", u("OK")), 1, 1);
    e->setColumnStretch(2, 1);
    return pairEntryBox;
}

// The change of one pair.
QGroupBox* entry::DistanceSheet::buildChangeBox()
{
    using namespace entry::controls;
    pairChangeBox = groupBox("GroupBox14", " Zmena hodnôt - vzdialenosť ");
    auto* c = new QGridLayout(pairChangeBox);
    c->addWidget(allowChangeButton = button("Button11", u("Povoliť zmenu")), 0, 0);
    firstPlaceGroupBox = groupBox("GroupBox15", " Vyberte miesto MX ");
    (new QVBoxLayout(firstPlaceGroupBox))->addWidget(firstPlaceBox = combo("ComboBox3"));
    secondPlaceGroupBox = groupBox("GroupBox17", " Vyberte miesto MY ");
    (new QVBoxLayout(secondPlaceGroupBox))->addWidget(secondPlaceBox = combo("ComboBox4"));
    c->addWidget(firstPlaceGroupBox, 1, 0);
    c->addWidget(secondPlaceGroupBox, 1, 1);
    c->addWidget(label("Label17", "Zadajte vzdialenosť"), 2, 0);
    c->addWidget(newDistanceEdit = edit("Edit13"), 3, 0);
    c->addWidget(changeOkButton = button("Button12", u("OK")), 3, 1);
    c->addWidget(label("Label21", "Súčasná vzdialenosť"), 4, 0);
    currentDistanceEdit = edit("Edit16");
    currentDistanceEdit->setReadOnly(true);
    c->addWidget(currentDistanceEdit, 5, 0);
    c->setColumnStretch(2, 1);
    return pairChangeBox;
}

void entry::DistanceSheet::connectControls()
{
    connect(distanceOkButton, &QPushButton::clicked, this, &DistanceSheet::onDistanceOk);
    connect(allowChangeButton, &QPushButton::clicked, this, &DistanceSheet::onAllowChange);
    connect(changeOkButton, &QPushButton::clicked, this, &DistanceSheet::onChangeOk);
    connect(importButton_, &QPushButton::clicked, this, [this] { importDistances(); });
    // Enter in a "Zadajte vzdialenosť" field is its OK, while that OK may be pressed.
    connect(distanceEdit, &QLineEdit::returnPressed, this, [this] {
        if (distanceOkButton->isEnabled())
            onDistanceOk();
    });
    connect(newDistanceEdit, &QLineEdit::returnPressed, this, [this] {
        if (changeOkButton->isEnabled())
            onChangeOk();
    });
    connect(firstPlaceBox, &QComboBox::activated, this, &DistanceSheet::firstPlaceChosen);
    connect(secondPlaceBox, &QComboBox::activated, this, &DistanceSheet::secondPlaceChosen);
}

void entry::DistanceSheet::warn(std::string_view message)
{
    context_.dialogs.warn(this, entry::text(message));
}

void entry::DistanceSheet::setDistanceEntry()
{
    if (!ticked(context_.project, CriterionBox::RealDistances)) {
        pairEntryBox->setTitle(u(" Vzdialenosť medzi miestami "));
        setFieldColour(distanceEdit, Silver);
        distanceEdit->setEnabled(false);
        distanceOkButton->setEnabled(false);
        return;
    }
    const int state = context_.project.Record.DistanceEntryState;
    const bool again = context_.pages.showingProjectAgain();
    // A list too short to ask anything is complete at once.
    if ((state == 0 || state == 1) && showDistancePair()) {
        pairEntryBox->setEnabled(true);
        setFieldColour(distanceEdit, Qt::white);
        distanceEdit->setEnabled(true);
        distanceOkButton->setEnabled(true);
        // Shown again after an undo, the sheet looks as the project opened would: no change of
        // a pair while pairs are asked.
        if (again) {
            distanceEdit->setText(QString());
            pairChangeBox->setEnabled(false);
            allowChangeButton->setEnabled(false);
        }
        return;
    }
    showEntryFinished();
    if (state != 2 && !again)
        context_.placeEntry.finishDistances();
}

// The caption names the pair asked next; false when no pair is left.
bool entry::DistanceSheet::showDistancePair()
{
    const auto& r = context_.project.Record;
    const std::optional<dorvan::DistanceCursor> c = context_.placeEntry.askedPair();
    if (!c)
        return false;
    QString caption = u(" Vzdialenosť ");
    caption += QString::fromStdString(dorvan::displayName(r.PlaceName[c->row]));
    caption += u("<--->");
    caption += QString::fromStdString(dorvan::displayName(r.PlaceName[c->col]));
    caption += u(" ");
    pairEntryBox->setTitle(caption);
    return true;
}

void entry::DistanceSheet::showEntryFinished()
{
    setFieldColour(distanceEdit, Silver);
    distanceEdit->setEnabled(false);
    distanceOkButton->setEnabled(false);
    pairEntryBox->setEnabled(false);
    pairChangeBox->setEnabled(true);
    allowChangeButton->setEnabled(true);
}

// One step per pair answered: "Krok späť" asks the last pair again, as a user who mistyped one
// value among many expects, rather than taking back the whole entry. The last pair finishes the
// entry in its own step.
void entry::DistanceSheet::onDistanceOk()
{
    if (!context_.placeEntry.askedPair())
        return;
    const std::optional<double> d = dorvan::parseDistance(distanceEdit->text().toStdString());
    if (!d) {
        warn(dorvan::BadDistanceText);
        distanceEdit->clear();
        return;
    }
    context_.placeEntry.enterDistance(*d);
    context_.pages.valuesChanged();
    // The field starts without a history of its own: "Krok späť" from the menu then takes back
    // the pair stored, not the field's emptying.
    if (showDistancePair())
        distanceEdit->setText(QString());
    else
        showEntryFinished();
}

void entry::DistanceSheet::placesChanged()
{
    firstPlaceBox->clear();
    secondPlaceBox->clear();
    for (QWidget* w : std::initializer_list<QWidget*> { firstPlaceBox, secondPlaceBox, newDistanceEdit }) {
        w->setEnabled(false);
        setFieldColour(w, Silver);
    }
    newDistanceEdit->clear();
    currentDistanceEdit->clear();
    changeOkButton->setEnabled(false);
    setDistanceEntry();
}

void entry::DistanceSheet::onAllowChange()
{
    firstPlaceGroupBox->setEnabled(true);
    firstPlaceBox->setEnabled(true);
    setFieldColour(firstPlaceBox, Qt::white);
    firstPlaceBox->clear();
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int p = 1; p <= n; ++p)
        firstPlaceBox->addItem(
            QString::fromStdString(dorvan::displayName(context_.project.Record.PlaceName[p])));
    firstPlaceBox->setCurrentIndex(-1);
    secondPlaceBox->clear();
    newDistanceEdit->clear();
    currentDistanceEdit->clear();
}

// The first choice of a change opens the second list, which offers the same places.
void entry::DistanceSheet::firstPlaceChosen()
{
    if (secondPlaceBox->count() == 0) {
        secondPlaceGroupBox->setEnabled(true);
        secondPlaceBox->setEnabled(true);
        setFieldColour(secondPlaceBox, Qt::white);
        for (int i = 0; i < firstPlaceBox->count(); ++i)
            secondPlaceBox->addItem(firstPlaceBox->itemText(i));
        secondPlaceBox->setCurrentIndex(-1);
    }
    if (firstPlaceBox->currentIndex() >= 0 && secondPlaceBox->currentIndex() >= 0)
        showChosenPair();
}

void entry::DistanceSheet::secondPlaceChosen()
{
    if (firstPlaceBox->currentIndex() < 0 || secondPlaceBox->currentIndex() < 0) {
        warn(dorvan::ChoosePlaceText);
        newDistanceEdit->clear();
        currentDistanceEdit->clear();
        return;
    }
    showChosenPair();
}

void entry::DistanceSheet::showChosenPair()
{
    const int a = firstPlaceBox->currentIndex();
    const int b = secondPlaceBox->currentIndex();
    if (a == b) {
        warn(dorvan::SamePlacesText);
        newDistanceEdit->clear();
        currentDistanceEdit->clear();
        return;
    }
    newDistanceEdit->setEnabled(true);
    setFieldColour(newDistanceEdit, Qt::white);
    changeOkButton->setEnabled(true);
    currentDistanceEdit->setText(entry::formatNumber(context_.project.Record.Distance[a + 1][b + 1]));
}

void entry::DistanceSheet::onChangeOk()
{
    const int a = firstPlaceBox->currentIndex();
    const int b = secondPlaceBox->currentIndex();
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    if (a < 0 || b < 0 || a >= n || b >= n) {
        warn(dorvan::ChoosePlaceText);
        newDistanceEdit->clear();
        return;
    }
    const std::optional<double> d = dorvan::parseDistance(newDistanceEdit->text().toStdString());
    if (!d) {
        warn(dorvan::BadDistanceText);
        newDistanceEdit->clear();
        return;
    }
    if (a == b) {
        warn(dorvan::SamePlacesText);
        newDistanceEdit->clear();
        currentDistanceEdit->clear();
        return;
    }
    dorvan::ProjectEdits(context_.project).setDistance(a + 1, b + 1, *d);
    context_.pages.valuesChanged();
    currentDistanceEdit->setText(entry::formatNumber(*d));
    for (QWidget* w : std::initializer_list<QWidget*> { newDistanceEdit, firstPlaceBox, secondPlaceBox }) {
        w->setEnabled(false);
        setFieldColour(w, Silver);
    }
    changeOkButton->setEnabled(false);
}
