// The single values of the criteria page: route length and distribution time (RouteSheet), and
// loading times, capacities, vehicles and places per group (SingleValuesSheet).
#include "ui/entry/EntryValueSheets.h"

#include "core/entry/CriterionValues.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryControls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

// The two values with an entry and a change mode.
struct entry::RouteSheet::Spec {
    CriterionBox box;
    const char* sheet;
    const char* sheetCaption;
    const char* entryBox;
    const char* entryCaption;
    const char* entryLabel;
    const char* entryLabelText;
    const char* entryEdit;
    const char* entryOk;
    const char* changeBox;
    const char* changeCaption;
    const char* changeLabel;
    const char* changeLabelText;
    const char* newEdit;
    const char* changeOk;
    const char* currentLabel;
    const char* currentEdit;
    const char* allowButton;
    const char* message;
    dorvan::RouteLimit limit;
};

// A sheet of single values: the rows first..first+count-1 of the value table, their current
// values in a box of their own.
struct entry::SingleValuesSheet::Spec {
    CriterionBox box;
    const char* sheet;
    const char* sheetCaption;
    int first;
    int count;
    const char* currentBox;
    const char* currentCaption;
};

namespace {

using entry::CriterionBox;
using entry::formatNumber;
using entry::setFieldColour;
using entry::Silver;

const entry::RouteSheet::Spec Routes[2] = {
    { CriterionBox::MaxRouteLength, "TabSheet4", "Dĺžka distribučnej trasy", "GroupBox18",
        " Maximálna dĺžka distribučnej trasy ", "Label22", "Zadajte dĺžku ", "Edit17", "Button13",
        "GroupBox19", " Zmena hodnoty - dĺžka distribučnej trasy ", "Label23", "Zadajte dĺžku", "Edit18",
        "Button15", "Label24", "Edit19", "Button14", "Chybné zadanie DĹŽKY !!!", dorvan::RouteLimit::Length },
    { CriterionBox::MaxDistributionTime, "TabSheet5", "Čas distribúcie", "GroupBox20",
        " Maximálny čas na distribúciu ", "Label25", "Zadajte čas", "Edit20", "Button16", "GroupBox21",
        " Zmena hodnoty - čas distribúcie ", "Label26", "Zadajte čas", "Edit21", "Button18", "Label27",
        "Edit22", "Button17", "Chybné zadanie ČASU !!!", dorvan::RouteLimit::Time },
};

// The values with one OK each.
struct SingleSpec {
    CriterionBox box;
    const char* entryBox;
    const char* entryCaption;
    const char* label; // the DC / DS / DM line of the loading-time and capacity pages
    const char* edit;
    const char* ok;
    const char* current;
    const char* message;
    dorvan::SingleValue value;
};
const SingleSpec Singles[10] = {
    { CriterionBox::LoadTimes, "GroupBox27", " Čas nakladania - vykladania v DC ",
        "DC - Distribučná centrála", "Edit23", "Button24", "Edit32", "Chybné zadanie ČASU DC !!!",
        dorvan::SingleValue::LoadTimeDC },
    { CriterionBox::LoadTimes, "GroupBox28", " Čas nakladania - vykladania v DS ", "DS - Distribučný sklad",
        "Edit24", "Button25", "Edit33", "Chybné zadanie ČASU DS !!!", dorvan::SingleValue::LoadTimeDS },
    { CriterionBox::LoadTimes, "GroupBox29", " Čas nakladania - vykladania v DM ", "DM - Distribučné miesto",
        "Edit26", "Button26", "Edit34", "Chybné zadanie ČASU DM !!!", dorvan::SingleValue::LoadTimeDM },
    { CriterionBox::DepotCapacity, "GroupBox30", " Kapacita skladu v DC ", "DC - Distribučná centrála",
        "Edit27", "Button27", "Edit35", "Chybné zadanie KAPACITY SKLADU DC !!!",
        dorvan::SingleValue::CapacityDC },
    { CriterionBox::DepotCapacity, "GroupBox31", " Kapacita skladov v DS ", "DS - Distribučný sklad",
        "Edit28", "Button28", "Edit36", "Chybné zadanie KAPACITY SKLADOV DS !!!",
        dorvan::SingleValue::CapacityDS },
    { CriterionBox::DepotCapacity, "GroupBox32", " Kapacita skladov v DM ", "DM - Distribučné miesto",
        "Edit29", "Button29", "Edit37", "Chybné zadanie KAPACITY SKLADOV DM !!!",
        dorvan::SingleValue::CapacityDM },
    { CriterionBox::VehicleCount, "GroupBox36", " Počet dopravných prostriedkov ", nullptr, "Edit30",
        "Button32", "Edit38", "Chybne zadaný POČET DOPRAVNÝCH PROSTRIEDKOV !!!",
        dorvan::SingleValue::VehicleCount },
    { CriterionBox::VehicleCapacity, "GroupBox37", " Kapacita dopravných prostriedkov ", nullptr, "Edit31",
        "Button33", "Edit39", "Chybne zadaná KAPACITA DOPRAVNÝCH PROSTRIEDKOV !!!",
        dorvan::SingleValue::VehicleCapacity },
    { CriterionBox::VehicleSpeed, "GroupBox40", " Priemerná rýchlosť DP ", nullptr, "Edit41", "Button36",
        "Edit40", "Chybne zadaná PRIEMERNÁ RÝCHLOSŤ DP !!!", dorvan::SingleValue::VehicleSpeed },
    { CriterionBox::EvenGroups, "GroupBox44", " Zadajte počet miest v skupine ", nullptr, "Edit45",
        "Button40", "Edit46", "Chybne zadaný POČET MIEST V SKUPINE !!!",
        dorvan::SingleValue::PlacesPerGroup },
};

const entry::SingleValuesSheet::Spec SingleSheets[4] = {
    { CriterionBox::LoadTimes, "TabSheet8", "Čas nakl/vykl ", 0, 3, "GroupBox16", " Súčasné hodnoty " },
    { CriterionBox::DepotCapacity, "TabSheet9", "Kapacita skladov", 3, 3, "GroupBox38", " Súčasné hodnoty " },
    { CriterionBox::VehicleCount, "TabSheet11", "Dopravné prostriedky", 6, 3, "GroupBox39",
        " Súčasný stav dopravných prostriedkov " },
    { CriterionBox::EvenGroups, "TabSheet13", "Počet miest v skupine", 9, 1, "GroupBox45", " Súčasná početnosť " },
};

template <typename Spec, std::size_t N> const Spec& specOf(const Spec (&table)[N], CriterionBox box)
{
    for (const Spec& spec : table)
        if (spec.box == box)
            return spec;
    throw std::logic_error("no sheet for this criterion box");
}

bool isSiteSheet(CriterionBox box)
{
    return box == CriterionBox::LoadTimes || box == CriterionBox::DepotCapacity;
}

QLineEdit* silverEdit(QLineEdit* e)
{
    setFieldColour(e, Silver);
    return e;
}

std::string valueSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Route length and distribution time

entry::RouteSheet::RouteSheet(const EntryContext& context, CriterionBox box)
    : context_(context)
    , spec_(&specOf(Routes, box))
{
    setObjectName(spec_->sheet);
    build();
    connect(entryOk_, &QPushButton::clicked, this, &RouteSheet::entryOk);
    connect(changeOk_, &QPushButton::clicked, this, &RouteSheet::changeOk);
    connect(allowButton_, &QPushButton::clicked, this, &RouteSheet::allowChange);
}

entry::CriterionBox entry::RouteSheet::box() const
{
    return spec_->box;
}

QString entry::RouteSheet::caption() const
{
    return u(spec_->sheetCaption);
}

void entry::RouteSheet::build()
{
    using namespace entry::controls;
    const Spec& r = *spec_;
    auto* layout = new QVBoxLayout(this);
    entryBox_ = groupBox(r.entryBox, r.entryCaption);
    auto* e = new QGridLayout(entryBox_);
    e->addWidget(label(r.entryLabel, r.entryLabelText), 0, 0);
    e->addWidget(entryEdit_ = silverEdit(valueEdit(r.entryEdit)), 1, 0);
    e->addWidget(entryOk_ = button(r.entryOk, QStringLiteral("OK")), 1, 1);
    changeBox_ = groupBox(r.changeBox, r.changeCaption);
    auto* c = new QGridLayout(changeBox_);
    c->addWidget(label(r.changeLabel, r.changeLabelText), 0, 0);
    c->addWidget(newEdit_ = silverEdit(valueEdit(r.newEdit)), 1, 0);
    c->addWidget(changeOk_ = button(r.changeOk, QStringLiteral("OK")), 1, 1);
    c->addWidget(label(r.currentLabel, "Súčasná hodnota"), 2, 0);
    c->addWidget(currentEdit_ = silverEdit(currentValueEdit(r.currentEdit)), 3, 0);
    c->addWidget(allowButton_ = button(r.allowButton, u("Povoliť zmenu")), 3, 1);
    e->setColumnStretch(2, 1);
    c->setColumnStretch(2, 1);
    layout->addWidget(entryBox_);
    layout->addWidget(changeBox_);
    layout->addStretch(1);
    entryBox_->setEnabled(false);
    changeBox_->setEnabled(false);
    changeOk_->setEnabled(false);
}

// A limit not entered (also one whose entry was undone) has its change mode closed.
void entry::RouteSheet::setRouteEntry()
{
    const auto& r = context_.project.Record;
    if (dorvan::routeLimitEntered(r, spec_->limit)) {
        entryBox_->setEnabled(false);
        entryEdit_->setEnabled(false);
        setFieldColour(entryEdit_, Silver);
        entryOk_->setEnabled(false);
        changeBox_->setEnabled(true);
        allowButton_->setEnabled(true);
    } else {
        entryBox_->setEnabled(true);
        entryEdit_->setEnabled(true);
        setFieldColour(entryEdit_, Qt::white);
        entryOk_->setEnabled(true);
        changeBox_->setEnabled(false);
        newEdit_->clear();
        currentEdit_->clear();
        changeOk_->setEnabled(false);
    }
}

void entry::RouteSheet::showStored()
{
    setRouteEntry();
    const auto& r = context_.project.Record;
    if (dorvan::routeLimitEntered(r, spec_->limit))
        currentEdit_->setText(formatNumber(dorvan::routeLimit(r, spec_->limit)));
}

void entry::RouteSheet::switchOff()
{
    entryBox_->setEnabled(false);
    changeBox_->setEnabled(false);
    for (QLineEdit* edit : { entryEdit_, newEdit_, currentEdit_ })
        setFieldColour(edit, Silver);
}

bool entry::RouteSheet::storeValue(QLineEdit* edit)
{
    if (!dorvan::ProjectEdits(context_.project).enterRouteLimit(spec_->limit, edit->text().toStdString())) {
        context_.dialogs.warn(this, u(spec_->message));
        edit->clear();
        return false;
    }
    context_.pages.valuesChanged();
    currentEdit_->setText(formatNumber(dorvan::routeLimit(context_.project.Record, spec_->limit)));
    setFieldColour(edit, Silver);
    edit->setEnabled(false);
    return true;
}

// The first value: the entry closes and the change mode can be opened.
void entry::RouteSheet::entryOk()
{
    if (!storeValue(entryEdit_))
        return;
    entryOk_->setEnabled(false);
    entryBox_->setEnabled(false);
    changeBox_->setEnabled(true);
    allowButton_->setEnabled(true);
}

void entry::RouteSheet::changeOk()
{
    if (storeValue(newEdit_))
        changeOk_->setEnabled(false);
}

void entry::RouteSheet::allowChange()
{
    newEdit_->clear();
    currentEdit_->clear();
    setFieldColour(newEdit_, Qt::white);
    newEdit_->setEnabled(true);
    currentEdit_->setText(formatNumber(dorvan::routeLimit(context_.project.Record, spec_->limit)));
    changeOk_->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Single values

entry::SingleValuesSheet::SingleValuesSheet(const EntryContext& context, CriterionBox box)
    : context_(context)
    , spec_(&specOf(SingleSheets, box))
{
    setObjectName(spec_->sheet);
    auto* layout = new QHBoxLayout(this);
    auto* entries = new QVBoxLayout;
    values_.resize(static_cast<std::size_t>(spec_->count));
    for (int k = 0; k < spec_->count; ++k) {
        Controls& c = values_[static_cast<std::size_t>(k)];
        c.entry = spec_->first + k;
        entries->addWidget(buildEntryBox(c));
    }
    entries->addStretch(1);
    layout->addLayout(entries);
    auto* current = controls::groupBox(spec_->currentBox, spec_->currentCaption);
    auto* g = new QVBoxLayout(current);
    for (Controls& c : values_) {
        c.current = controls::currentValueEdit(Singles[c.entry].current);
        // The current values of the two site pages are shown whenever their page is set up, so
        // those edits stay enabled and are only read.
        c.current->setEnabled(isSiteSheet(spec_->box));
        g->addWidget(c.current);
    }
    g->addStretch(1);
    layout->addWidget(current);
    layout->addStretch(1);
}

QGroupBox* entry::SingleValuesSheet::buildEntryBox(Controls& c)
{
    using namespace entry::controls;
    const SingleSpec& s = Singles[c.entry];
    c.entryBox = groupBox(s.entryBox, s.entryCaption);
    auto* g = new QGridLayout(c.entryBox);
    int row = 0;
    if (s.label != nullptr)
        g->addWidget(label(nullptr, s.label), row++, 0, 1, 2);
    c.edit = silverEdit(valueEdit(s.edit));
    c.edit->setEnabled(false);
    g->addWidget(c.edit, row, 0);
    c.ok = button(s.ok, QStringLiteral("OK"));
    c.ok->setEnabled(false);
    g->addWidget(c.ok, row, 1);
    // The loading-time and capacity values share their criterion box: each OK goes by its row.
    connect(c.ok, &QPushButton::clicked, this, [this, entry = c.entry] {
        for (const Controls& v : values_)
            if (v.entry == entry)
                valueOk(v);
    });
    return c.entryBox;
}

bool entry::SingleValuesSheet::covers(CriterionBox box) const
{
    return controlsOf(box) != nullptr;
}

QString entry::SingleValuesSheet::caption() const
{
    return u(spec_->sheetCaption);
}

void entry::SingleValuesSheet::showSiteValues()
{
    const auto& r = context_.project.Record;
    const std::string separator = valueSeparator();
    for (const Controls& c : values_) {
        const SingleSpec& s = Singles[c.entry];
        c.edit->setEnabled(false);
        setFieldColour(c.edit, Silver);
        c.ok->setEnabled(false);
        c.current->clear();
        if (dorvan::singleValue(r, s.value) >= 0.0)
            c.current->setText(QString::fromStdString(dorvan::singleValueText(r, s.value, separator)));
        c.entryBox->setEnabled(true);
    }
}

void entry::SingleValuesSheet::openSiteEntries()
{
    const dorvan::SiteEntries open = dorvan::siteEntries(context_.project.Record, context_.project.State.PlaceCount);
    const bool entries[3] = { open.dc, open.ds, open.dm };
    for (std::size_t k = 0; k < values_.size() && k < 3; ++k) {
        if (!entries[k])
            continue;
        const Controls& c = values_[k];
        c.edit->setEnabled(true);
        setFieldColour(c.edit, Qt::white);
        c.ok->setEnabled(true);
    }
}

const entry::SingleValuesSheet::Controls* entry::SingleValuesSheet::controlsOf(CriterionBox box) const
{
    for (const Controls& c : values_)
        if (Singles[c.entry].box == box)
            return &c;
    return nullptr;
}

void entry::SingleValuesSheet::openEntry(CriterionBox box)
{
    const Controls* c = controlsOf(box);
    if (c == nullptr)
        return;
    const SingleSpec& s = Singles[c->entry];
    const auto& r = context_.project.Record;
    c->current->setText(QString::fromStdString(dorvan::singleValueText(r, s.value, valueSeparator())));
    c->current->setEnabled(true);
    c->entryBox->setEnabled(true);
    c->edit->setEnabled(true);
    setFieldColour(c->edit, Qt::white);
    c->ok->setEnabled(true);
}

void entry::SingleValuesSheet::closeEntry(CriterionBox box)
{
    const Controls* c = controlsOf(box);
    if (c == nullptr)
        return;
    c->edit->clear();
    c->current->clear();
    c->edit->setEnabled(false);
    setFieldColour(c->edit, Silver);
    c->current->setEnabled(false);
    c->ok->setEnabled(false);
}

void entry::SingleValuesSheet::valueOk(const Controls& c)
{
    const SingleSpec& s = Singles[c.entry];
    if (!dorvan::ProjectEdits(context_.project).enterSingleValue(s.value, c.edit->text().toStdString())) {
        context_.dialogs.warn(this, u(s.message));
        c.edit->clear();
        return;
    }
    context_.pages.valuesChanged();
    c.current->setText(c.edit->text());
    c.edit->clear();
}
