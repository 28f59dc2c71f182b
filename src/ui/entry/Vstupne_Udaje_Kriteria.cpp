// The criteria page (CriteriaPage): the check boxes of "Definovanie kritérií" and the sheets
// they open. Every box switches its sheet and its record byte; the sheet is then set up by its
// kind. The sheets have files of their own.
#include "ui/entry/EntryCriteriaPage.h"
#include "ui/entry/EntryHost.h"

#include "core/entry/ProjectEdits.h"
#include "core/project/Project.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/EntryGroupsSheet.h"
#include "ui/entry/EntryRelationSheets.h"
#include "ui/entry/EntrySettingsSheet.h"
#include "ui/entry/EntryValueGridSheet.h"
#include "ui/entry/EntryValueSheets.h"
#include "ui/entry/TwoListPicker.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Building

entry::CriteriaPage::CriteriaPage(const EntryContext& context)
    : context_(context)
{
    setObjectName("List2");
    auto* row = new QHBoxLayout(this);

    // Left: the criterion check boxes, with the two allocation boxes at the foot.
    auto* left = new QVBoxLayout;
    auto* l = new QGroupBox(u(" Výber kritérií ktoré treba zohľadňovať "));
    l->setObjectName("l");
    buildCriterionBoxes(new QVBoxLayout(l));
    left->addWidget(l, 1);
    settings_ = new SettingsSheet(context_);
    groups_ = new GroupsSheet(context_);
    left->addWidget(settings_->switchBox());
    left->addWidget(groups_->switchBox());
    row->addLayout(left);

    // Right: the sheets of the ticked criteria.
    criterionSheetsBox = new QGroupBox(u(" Naplnenie vstupných údajov pre zohľadňované kritériá "));
    criterionSheetsBox->setObjectName("GroupBox1");
    auto* box = new QVBoxLayout(criterionSheetsBox);
    auto* currentValueLabel = new QLabel(u("Súčasná hodnota"));
    currentValueLabel->setObjectName("Label19");
    box->addWidget(currentValueLabel, 0, Qt::AlignRight);
    criteriaTabs = new QTabWidget;
    criteriaTabs->setObjectName("PageControl2");
    box->addWidget(criteriaTabs, 1);
    row->addWidget(criterionSheetsBox, 1);

    buildCriterionSheets();
    addTab(settings_, u("DORVAN nastavenia"));
    addTab(groups_, u("Distribučné skupiny - Cooper"));
    // Every sheet now belongs to the page control's stack; the tabs come as the boxes are ticked.
    while (criteriaTabs->count() > 0)
        criteriaTabs->removeTab(0);
    criterionSheetsBox->setVisible(false);
}

void entry::CriteriaPage::buildCriterionBoxes(QLayout* boxes)
{
    for (const CriterionBoxSpec& spec : CriterionBoxes) {
        const CriterionBox criterion = spec.box;
        auto* box = new QCheckBox(u(dorvan::CriterionCaptions[boxIndex(spec.box)]));
        box->setObjectName(QStringLiteral("CheckBox%1").arg(boxNumber(criterion)));
        boxes->addWidget(box);
        criterionBox_[boxIndex(criterion)] = box;
        // A change of the box, by the user or by the program, goes to the project and runs its
        // click handler. The program ticks a box only as the project holds it already.
        connect(box, &QCheckBox::toggled, this, [this, criterion](bool on) {
            dorvan::ProjectEdits(context_.project)
                .tickCriterion(criterionOf(criterion), on, context_.host.cooperWindowOpen());
            criterionBoxClicked(criterion);
        });
    }
    if (auto* v = qobject_cast<QVBoxLayout*>(boxes))
        v->addStretch(1);
}

std::vector<const QObject*> entry::CriteriaPage::parts() const
{
    std::vector<const QObject*> parts { this, settings_, groups_, distances_, centre_, depots_, priorities_ };
    for (const QObject* sheet : valueSheets_)
        parts.push_back(sheet);
    for (const QObject* sheet : routeSheets_)
        parts.push_back(sheet);
    for (const QObject* sheet : singlesSheets_)
        parts.push_back(sheet);
    for (const QObject* picker : findChildren<TwoListPicker*>())
        parts.push_back(picker);
    return parts;
}

void entry::CriteriaPage::addSheet(CriterionBox box, QWidget* sheet, const QString& caption)
{
    addTab(sheet, caption);
    criterionSheet_[boxIndex(box)] = sheet;
}

void entry::CriteriaPage::addTab(QWidget* sheet, const QString& caption)
{
    criteriaTabs->addTab(sheet, caption);
    tabOrder_.emplace_back(sheet, caption);
}

// The tabs in the order the user sees them; the three vehicle boxes share one sheet.
void entry::CriteriaPage::buildCriterionSheets()
{
    const CriterionBox grids[3] = { CriterionBox::Quantity, CriterionBox::Price, CriterionBox::Flexibility };
    for (std::size_t k = 0; k < valueSheets_.size(); ++k)
        valueSheets_[k] = new ValueGridSheet(context_, grids[k]);
    const CriterionBox routes[2] = { CriterionBox::MaxRouteLength, CriterionBox::MaxDistributionTime };
    for (std::size_t k = 0; k < routeSheets_.size(); ++k)
        routeSheets_[k] = new RouteSheet(context_, routes[k]);
    const CriterionBox singles[4] = { CriterionBox::LoadTimes, CriterionBox::DepotCapacity,
        CriterionBox::VehicleCount, CriterionBox::EvenGroups };
    for (std::size_t k = 0; k < singlesSheets_.size(); ++k)
        singlesSheets_[k] = new SingleValuesSheet(context_, singles[k]);
    distances_ = new DistanceSheet(context_);
    distances_->setObjectName("TabSheet3");
    centre_ = new CentreSheet(context_);
    centre_->setObjectName("TabSheet6");
    depots_ = new DepotSheet(context_);
    depots_->setObjectName("TabSheet7");
    priorities_ = new PrioritySheet(context_);
    priorities_->setObjectName("TabSheet10");

    addSheet(CriterionBox::Quantity, valueSheets_[0], valueSheets_[0]->caption());
    addSheet(CriterionBox::Price, valueSheets_[1], valueSheets_[1]->caption());
    addSheet(CriterionBox::RealDistances, distances_, u("Vzdialenosti"));
    addSheet(CriterionBox::MaxRouteLength, routeSheets_[0], routeSheets_[0]->caption());
    addSheet(CriterionBox::MaxDistributionTime, routeSheets_[1], routeSheets_[1]->caption());
    addSheet(CriterionBox::Centre, centre_, u("Distribučná centrála"));
    addSheet(CriterionBox::Depots, depots_, u("Distribučné sklady"));
    addSheet(CriterionBox::LoadTimes, singlesSheets_[0], singlesSheets_[0]->caption());
    addSheet(CriterionBox::DepotCapacity, singlesSheets_[1], singlesSheets_[1]->caption());
    addSheet(CriterionBox::Priority, priorities_, u("Priorita miest "));
    addSheet(CriterionBox::VehicleCount, singlesSheets_[2], singlesSheets_[2]->caption());
    criterionSheet_[boxIndex(CriterionBox::VehicleCapacity)] = singlesSheets_[2];
    criterionSheet_[boxIndex(CriterionBox::VehicleSpeed)] = singlesSheets_[2];
    addSheet(CriterionBox::Flexibility, valueSheets_[2], valueSheets_[2]->caption());
    addSheet(CriterionBox::EvenGroups, singlesSheets_[3], singlesSheets_[3]->caption());
}

entry::ValueGridSheet* entry::CriteriaPage::valueSheet(CriterionBox box) const
{
    for (ValueGridSheet* sheet : valueSheets_)
        if (sheet->box() == box)
            return sheet;
    return nullptr;
}

entry::RouteSheet* entry::CriteriaPage::routeSheet(CriterionBox box) const
{
    for (RouteSheet* sheet : routeSheets_)
        if (sheet->box() == box)
            return sheet;
    return nullptr;
}

entry::SingleValuesSheet* entry::CriteriaPage::singlesSheet(CriterionBox box) const
{
    for (SingleValuesSheet* sheet : singlesSheets_)
        if (sheet->covers(box))
            return sheet;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Showing the sheets

void entry::CriteriaPage::showCriterionPage(QWidget* sheet, bool show)
{
    const auto known = std::find_if(
        tabOrder_.begin(), tabOrder_.end(), [sheet](const auto& tab) { return tab.first == sheet; });
    if (known == tabOrder_.end())
        return;
    const int index = criteriaTabs->indexOf(sheet);
    auto& open = context_.project.State.OpenCriterionPages;
    if (show) {
        criterionSheetsBox->setVisible(true);
        if (index < 0) {
            // After the shown sheets that come before it.
            const auto shownBefore = std::count_if(tabOrder_.begin(), known,
                [this](const auto& tab) { return criteriaTabs->indexOf(tab.first) >= 0; });
            criteriaTabs->insertTab(static_cast<int>(shownBefore), sheet, known->second);
            ++open;
        }
    } else {
        if (index >= 0) {
            criteriaTabs->removeTab(index);
            open = std::max(0, open - 1);
        }
        if (open == 0)
            criterionSheetsBox->setVisible(false);
    }
}

void entry::CriteriaPage::setCurrentCriterionPage(QWidget* sheet)
{
    // A sheet whose tab is hidden cannot be the current one.
    if (criteriaTabs->indexOf(sheet) >= 0)
        criteriaTabs->setCurrentWidget(sheet);
}

QWidget* entry::CriteriaPage::currentCriterionPage() const
{
    return criteriaTabs->currentWidget();
}

void entry::CriteriaPage::showChoices()
{
    // The boxes as the project holds them before the first box's handler runs.
    const auto chosen = context_.project.tickedCriteria();
    for (int b = 0; b < dorvan::CriterionCount; ++b) {
        // Byte 15 belongs to CheckBox17; CheckBox16 has no byte.
        const CriterionBox number = boxOf(static_cast<dorvan::Criterion>(b));
        QCheckBox* box = number == CriterionBox::Groups ? groups_->switchBox() : checkBox(number);
        const bool ticked = chosen[static_cast<std::size_t>(b)];
        box->setChecked(ticked); // a change runs the click handler as a user's click does
        if (!ticked)
            continue;
        runCriterionUpdate(number);
        criterionSheetsBox->setVisible(true);
    }
}

void entry::CriteriaPage::showStoredValues()
{
    for (RouteSheet* sheet : routeSheets_)
        if (checkBox(sheet->box())->isChecked())
            sheet->showStored();
}

void entry::CriteriaPage::showTicked(CriterionBox box)
{
    QCheckBox* b = checkBox(box);
    if (b->isChecked())
        runCriterionUpdate(box);
    else
        b->setChecked(true);
    if (QWidget* sheet = criterionSheet_[boxIndex(box)])
        criteriaTabs->setCurrentWidget(sheet);
}

// The quantity, price and flexibility pages list the places too; those that are ticked are
// rebuilt whenever the list changes, and so are the distance, centre, depot and priority sheets
// and the group page's lists (a ">>>" takes the line the user chose from the list shown).
void entry::CriteriaPage::rebuildPlaceValuePages()
{
    for (const ValueGridSheet* sheet : valueSheets_)
        if (checkBox(sheet->box())->isChecked())
            runCriterionUpdate(sheet->box());
    if (ticked(context_.project, CriterionBox::RealDistances))
        distances_->placesChanged();
    if (ticked(context_.project, CriterionBox::Centre))
        centre_->followCentre();
    if (ticked(context_.project, CriterionBox::Depots))
        depots_->setDepotPage();
    if (ticked(context_.project, CriterionBox::Priority))
        priorities_->setPriorityPage();
    if (ticked(context_.project, CriterionBox::Groups))
        groups_->showGroups();
}

// ---------------------------------------------------------------------------------------------
// The check boxes

void entry::CriteriaPage::criterionBoxClicked(CriterionBox box)
{
    runCriterionUpdate(box);
    context_.pages.valuesChanged();
}

// Every box switches its sheet; then the sheet is set up by its kind.
void entry::CriteriaPage::runCriterionUpdate(CriterionBox box)
{
    switch (sheetKind(box)) {
    case SheetKind::PlaceValues:
        valuePage(box);
        break;
    case SheetKind::Relation:
        criterionSwitch(box);
        relationPage(box);
        break;
    case SheetKind::Route:
        routePage(box);
        break;
    case SheetKind::SiteValues:
        criterionSwitch(box);
        singlesSheet(box)->showSiteValues();
        if (checkBox(box)->isChecked())
            singlesSheet(box)->openSiteEntries();
        break;
    case SheetKind::SingleValue:
        if (criterionSwitch(box))
            singlesSheet(box)->openEntry(box);
        else
            singlesSheet(box)->closeEntry(box);
        break;
    case SheetKind::Switch:
        if (box == CriterionBox::Settings)
            settings_->refreshSettingsSheet();
        else
            groups_->refreshGroupsSheet();
        break;
    }
}

// The common part of every criterion box: the sheet shows while the box is ticked (the record's
// byte, which holds the box, was set by its command). The vehicle sheet goes only when none of
// its three boxes is ticked. Returns whether the box is ticked.
bool entry::CriteriaPage::criterionSwitch(CriterionBox box)
{
    const bool on = checkBox(box)->isChecked();
    bool keep = on;
    if (!on && isVehicleBox(box))
        keep = checkBox(CriterionBox::VehicleCount)->isChecked()
            || checkBox(CriterionBox::VehicleCapacity)->isChecked()
            || checkBox(CriterionBox::VehicleSpeed)->isChecked();
    showCriterionPage(criterionSheet_[boxIndex(box)], keep);
    return on;
}

// Quantity, price and frequency: the sheet becomes the active one and lists the places.
void entry::CriteriaPage::valuePage(CriterionBox box)
{
    ValueGridSheet* sheet = valueSheet(box);
    if (criterionSwitch(box)) {
        criteriaTabs->setCurrentWidget(sheet);
        sheet->fill();
    } else {
        sheet->switchOff();
    }
}

void entry::CriteriaPage::relationPage(CriterionBox box)
{
    switch (box) {
    case CriterionBox::RealDistances:
        distances_->setDistanceEntry();
        break;
    case CriterionBox::Centre:
        centre_->setCentrePage();
        break;
    case CriterionBox::Depots:
        depots_->setDepotPage();
        break;
    case CriterionBox::Priority:
        priorities_->setPriorityPage();
        break;
    default:
        break;
    }
}

void entry::CriteriaPage::routePage(CriterionBox box)
{
    if (criterionSwitch(box))
        routeSheet(box)->setRouteEntry();
    else
        routeSheet(box)->switchOff();
}
