// The distribution centre (CentreSheet): the first choice, then its change or cancellation. The
// rules live in PlaceRelations; the handlers here read the controls, call them and show the
// result.
#include "ui/entry/EntryRelationSheets.h"

#include "core/entry/PlaceList.h"
#include "core/entry/PlaceRelations.h"
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

QComboBox* combo(const char* name)
{
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->setMinimumWidth(160);
    c->setEnabled(false);
    setFieldColour(c, Silver);
    return c;
}

QString centreName(const dorvan::Project& project)
{
    return QString::fromStdString(dorvan::displayName(project.Record.CentralName));
}

} // namespace

entry::CentreSheet::CentreSheet(const EntryContext& context)
    : context_(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildChoiceBox());
    layout->addWidget(buildChangeBox());
    layout->addStretch(1);
    GroupBox22->setEnabled(false);
    GroupBox23->setEnabled(false);
    for (QPushButton* b : { Button19, Button20, Button21 })
        b->setEnabled(false);
    connect(Button19, &QPushButton::clicked, this, &CentreSheet::Button19Click);
    connect(Button20, &QPushButton::clicked, this, &CentreSheet::Button20Click);
    connect(Button21, &QPushButton::clicked, this, &CentreSheet::Button21Click);
}

QGroupBox* entry::CentreSheet::buildChoiceBox()
{
    using namespace entry::controls;
    GroupBox22 = groupBox("GroupBox22", " Vyberte miesto distribučnej centrály ");
    auto* g = new QHBoxLayout(GroupBox22);
    g->addWidget(firstCentreBox = combo("ComboBox5"));
    g->addWidget(Button19 = button("Button19", u("OK")));
    g->addStretch(1);
    return GroupBox22;
}

QGroupBox* entry::CentreSheet::buildChangeBox()
{
    using namespace entry::controls;
    GroupBox23 = groupBox("GroupBox23", " Zmena miesta distribučnej centrály ");
    auto* c = new QGridLayout(GroupBox23);
    c->addWidget(label("Label29", "Nové miesto DC"), 0, 0);
    c->addWidget(ComboBox6 = combo("ComboBox6"), 1, 0);
    c->addWidget(Button21 = button("Button21", u("OK")), 1, 1);
    c->addWidget(label("Label30", "Súčasná centrála"), 2, 0);
    Edit25 = currentValueEdit("Edit25");
    Edit25->setEnabled(false);
    setFieldColour(Edit25, Silver);
    c->addWidget(Edit25, 3, 0);
    c->addWidget(Button20 = button("Button20", u("Povoliť zmenu")), 3, 1);
    c->setColumnStretch(2, 1);
    return GroupBox23;
}

void entry::CentreSheet::followCentre()
{
    const bool cancelled = context_.project.Record.CentralState == 0 && Button20->isEnabled();
    if (cancelled)
        closeChange();
    else if (Edit25->isEnabled())
        Edit25->setText(centreName(context_.project));
    const bool changing = ComboBox6->isEnabled();
    setCentrePage();
    if (changing)
        fillWithPlaces(ComboBox6);
    if (cancelled)
        centreOrDepotsChanged(context_);
}

// The change box closes: no centre to change.
void entry::CentreSheet::closeChange()
{
    setFieldColour(ComboBox6, Silver);
    ComboBox6->setEnabled(false);
    Edit25->clear();
    Edit25->setEnabled(false);
    Button21->setEnabled(false);
    GroupBox23->setEnabled(false);
    Button20->setEnabled(false);
}

void entry::CentreSheet::fillWithPlaces(QComboBox* c)
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

void entry::CentreSheet::setCentrePage()
{
    firstCentreBox->clear();
    ComboBox6->clear();
    if (!ticked(context_.project, CriterionBox::Centre)) {
        setFieldColour(firstCentreBox, Silver);
        firstCentreBox->setEnabled(false);
        Button19->setEnabled(false);
        return;
    }
    if (context_.project.Record.CentralState != 0) {
        GroupBox22->setEnabled(false);
        Button19->setEnabled(false);
        firstCentreBox->setEnabled(false);
        setFieldColour(firstCentreBox, Silver);
        showCurrentCentre();
        GroupBox23->setEnabled(true);
        Button20->setEnabled(true);
    } else {
        GroupBox22->setEnabled(true);
        firstCentreBox->setEnabled(true);
        setFieldColour(firstCentreBox, Qt::white);
        Button19->setEnabled(true);
        fillWithPlaces(firstCentreBox);
    }
}

void entry::CentreSheet::chooseCentre(QComboBox* from, QPushButton* ok)
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
    showCurrentCentre();
    centreOrDepotsChanged(context_);
}

// The first choice box, disabled once there is a centre, names the current one: after a change
// it no longer shows the centre chosen first, and an opened project's centre shows there too.
void entry::CentreSheet::showCurrentCentre()
{
    firstCentreBox->clear();
    if (context_.project.Record.CentralState == 0)
        return;
    firstCentreBox->addItem(centreName(context_.project));
    firstCentreBox->setCurrentIndex(0);
}

void entry::CentreSheet::Button19Click()
{
    if (firstCentreBox->currentIndex() < 0) {
        context_.dialogs.warn(this, entry::text(dorvan::ChooseCentreText));
        firstCentreBox->setCurrentIndex(-1);
        return;
    }
    chooseCentre(firstCentreBox, Button19);
}

void entry::CentreSheet::Button20Click()
{
    ComboBox6->setEnabled(true);
    setFieldColour(ComboBox6, Qt::white);
    fillWithPlaces(ComboBox6);
    Edit25->setEnabled(true);
    Edit25->setText(centreName(context_.project));
    Button21->setEnabled(true);
}

// OK with a place chosen changes the centre; with none it asks whether to cancel the centre.
void entry::CentreSheet::Button21Click()
{
    if (ComboBox6->currentIndex() >= 0) {
        chooseCentre(ComboBox6, Button21);
        Edit25->setText(centreName(context_.project));
        return;
    }
    if (!context_.dialogs.confirm(this, entry::text(dorvan::CancelCentreQuestionText), true))
        return;
    dorvan::cancelCentral(context_.project.Record);
    context_.pages.valuesChanged();
    closeChange();
    context_.pages.refreshCriterion(CriterionBox::Centre);
    centreOrDepotsChanged(context_);
}

void entry::centreOrDepotsChanged(const EntryContext& context)
{
    if (ticked(context.project, CriterionBox::Depots))
        context.pages.refreshCriterion(CriterionBox::Depots);
    if (ticked(context.project, CriterionBox::Priority))
        context.pages.refreshCriterion(CriterionBox::Priority);
    context.pages.refreshCriterion(CriterionBox::LoadTimes);
    context.pages.refreshCriterion(CriterionBox::DepotCapacity);
}
