// The distribution centre (CentreSheet): the first choice, then its change or cancellation. The
// rules live in PlaceRelations; the handlers here read the controls, call them and show the
// result.
#include "ui/entry/EntryRelationSheets.h"

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
    centreChoiceBox->setEnabled(false);
    centreChangeBox->setEnabled(false);
    for (QPushButton* b : { firstCentreOkButton, allowCentreChangeButton, newCentreOkButton })
        b->setEnabled(false);
    connect(firstCentreOkButton, &QPushButton::clicked, this, &CentreSheet::onFirstCentreOk);
    connect(allowCentreChangeButton, &QPushButton::clicked, this, &CentreSheet::onAllowCentreChange);
    connect(newCentreOkButton, &QPushButton::clicked, this, &CentreSheet::onNewCentreOk);
}

QGroupBox* entry::CentreSheet::buildChoiceBox()
{
    using namespace entry::controls;
    centreChoiceBox = groupBox("GroupBox22", " Vyberte miesto distribučnej centrály ");
    auto* g = new QHBoxLayout(centreChoiceBox);
    g->addWidget(firstCentreBox = combo("ComboBox5"));
    g->addWidget(firstCentreOkButton = button("Button19", u("OK")));
    g->addStretch(1);
    return centreChoiceBox;
}

QGroupBox* entry::CentreSheet::buildChangeBox()
{
    using namespace entry::controls;
    centreChangeBox = groupBox("GroupBox23", " Zmena miesta distribučnej centrály ");
    auto* c = new QGridLayout(centreChangeBox);
    c->addWidget(label("Label29", "Nové miesto DC"), 0, 0);
    c->addWidget(newCentreBox = combo("ComboBox6"), 1, 0);
    c->addWidget(newCentreOkButton = button("Button21", u("OK")), 1, 1);
    c->addWidget(label("Label30", "Súčasná centrála"), 2, 0);
    currentCentreEdit = currentValueEdit("Edit25");
    currentCentreEdit->setEnabled(false);
    setFieldColour(currentCentreEdit, Silver);
    c->addWidget(currentCentreEdit, 3, 0);
    c->addWidget(allowCentreChangeButton = button("Button20", u("Povoliť zmenu")), 3, 1);
    c->setColumnStretch(2, 1);
    return centreChangeBox;
}

void entry::CentreSheet::followCentre()
{
    const bool cancelled = context_.project.Record.CentralState == 0 && allowCentreChangeButton->isEnabled();
    if (cancelled)
        closeChange();
    else if (currentCentreEdit->isEnabled())
        currentCentreEdit->setText(centreName(context_.project));
    const bool changing = newCentreBox->isEnabled();
    setCentrePage();
    if (changing)
        fillWithPlaces(newCentreBox);
    if (cancelled)
        centreOrDepotsChanged(context_);
}

// The change box closes: no centre to change.
void entry::CentreSheet::closeChange()
{
    setFieldColour(newCentreBox, Silver);
    newCentreBox->setEnabled(false);
    currentCentreEdit->clear();
    currentCentreEdit->setEnabled(false);
    newCentreOkButton->setEnabled(false);
    centreChangeBox->setEnabled(false);
    allowCentreChangeButton->setEnabled(false);
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
    newCentreBox->clear();
    if (!ticked(context_.project, CriterionBox::Centre)) {
        setFieldColour(firstCentreBox, Silver);
        firstCentreBox->setEnabled(false);
        firstCentreOkButton->setEnabled(false);
        return;
    }
    if (context_.project.Record.CentralState != 0) {
        centreChoiceBox->setEnabled(false);
        firstCentreOkButton->setEnabled(false);
        firstCentreBox->setEnabled(false);
        setFieldColour(firstCentreBox, Silver);
        showCurrentCentre();
        centreChangeBox->setEnabled(true);
        allowCentreChangeButton->setEnabled(true);
    } else {
        centreChoiceBox->setEnabled(true);
        firstCentreBox->setEnabled(true);
        setFieldColour(firstCentreBox, Qt::white);
        firstCentreOkButton->setEnabled(true);
        fillWithPlaces(firstCentreBox);
    }
}

void entry::CentreSheet::chooseCentre(QComboBox* from, QPushButton* ok)
{
    const QByteArray b = from->currentData().toByteArray();
    dorvan::ProjectEdits(context_.project)
        .chooseCentral(
            dorvan::Text100::fromBytes(std::string_view(b.constData(), static_cast<std::size_t>(b.size()))),
            context_.project.State.PlaceCount);
    context_.pages.valuesChanged();
    setFieldColour(from, Silver);
    from->setEnabled(false);
    ok->setEnabled(false);
    centreChoiceBox->setEnabled(false);
    allowCentreChangeButton->setEnabled(true);
    centreChangeBox->setEnabled(true);
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

void entry::CentreSheet::onFirstCentreOk()
{
    if (firstCentreBox->currentIndex() < 0) {
        context_.dialogs.warn(this, entry::text(dorvan::ChooseCentreText));
        firstCentreBox->setCurrentIndex(-1);
        return;
    }
    chooseCentre(firstCentreBox, firstCentreOkButton);
}

void entry::CentreSheet::onAllowCentreChange()
{
    newCentreBox->setEnabled(true);
    setFieldColour(newCentreBox, Qt::white);
    fillWithPlaces(newCentreBox);
    currentCentreEdit->setEnabled(true);
    currentCentreEdit->setText(centreName(context_.project));
    newCentreOkButton->setEnabled(true);
}

// OK with a place chosen changes the centre; with none it asks whether to cancel the centre.
void entry::CentreSheet::onNewCentreOk()
{
    if (newCentreBox->currentIndex() >= 0) {
        chooseCentre(newCentreBox, newCentreOkButton);
        currentCentreEdit->setText(centreName(context_.project));
        return;
    }
    if (!context_.dialogs.confirm(this, entry::text(dorvan::CancelCentreQuestionText), true))
        return;
    dorvan::ProjectEdits(context_.project).cancelCentral();
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
