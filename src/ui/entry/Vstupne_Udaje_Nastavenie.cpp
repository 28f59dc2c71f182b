// The settings sheet of the Cooper iteration (SettingsSheet): stopping rule, precision e,
// correction k and the start point. The project keeps them as these controls show them; every
// allocation run reads them there.
#include "ui/entry/EntrySettingsSheet.h"

#include "core/entry/PlaceEntry.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/AllocationSettings.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMessages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QRadioButton* radio(const char* name, const char* caption)
{
    auto* b = new QRadioButton(u(caption));
    b->setObjectName(name);
    return b;
}

QLabel* label(const char* name, const char* caption)
{
    auto* l = new QLabel(u(caption));
    l->setObjectName(name);
    return l;
}

} // namespace

entry::SettingsSheet::SettingsSheet(const EntryContext& context)
    : context_(context)
{
    setObjectName("TabSheet14");
    settingsSwitch = new QCheckBox(u("Nastavenie premenných DORVAN"));
    settingsSwitch->setObjectName("CheckBox16");

    auto* layout = new QGridLayout(this);
    layout->addWidget(buildRuleBox(), 0, 0, 2, 1);
    layout->addWidget(buildValueBox("GroupBox47", " Hodnota presnosti ", precisionEdit, "Edit47",
                          dorvan::DefaultPrecisionText, "Button41", "Label39", "e = ", "Label40",
                          "Rozsah <0.0001;10.0>", &entry::SettingsSheet::onPrecisionAccepted),
        0, 1);
    layout->addWidget(buildValueBox("GroupBox48", " Korekčná hodnota ", correctionEdit, "Edit48",
                          dorvan::DefaultCorrectionText, "Button42", "Label41", "k = ", "Label42",
                          "Rozsah k>0, štandard k=1", &entry::SettingsSheet::onCorrectionAccepted),
        1, 1);
    layout->addWidget(buildStartBox(), 2, 0);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(3, 1);

    // A choice counts when it changes: a click on the option already chosen does nothing. The
    // defaults are set before this, so a new window asks for no run. The project learns of
    // every change first.
    for (QRadioButton* b : { ruleXButton, ruleYButton, ruleBothAxesButton, ruleObjectiveButton,
             startOriginButton, startComputedButton })
        connect(b, &QRadioButton::toggled, this, [this](bool checked) {
            storeSettings();
            if (checked)
                context_.pages.rerunIfCooperOpen();
        });
    for (QLineEdit* e : { precisionEdit, correctionEdit })
        connect(e, &QLineEdit::textChanged, this, &entry::SettingsSheet::storeSettings);
    // The project learns of the box before its handler runs, which may ask for a new result.
    connect(settingsSwitch, &QCheckBox::toggled, this, [this](bool on) {
        dorvan::ProjectEdits(context_.project).setSettingsOn(on);
        onSettingsSwitched(on);
    });
}

QGroupBox* entry::SettingsSheet::buildRuleBox()
{
    auto* ruleBox = new QGroupBox(u(" Presnosť "));
    ruleBox->setObjectName("GroupBox46");
    auto* rule = new QVBoxLayout(ruleBox);
    ruleXButton = radio("RadioButton1", dorvan::ruleCaption(dorvan::StoppingRule::AxisX));
    ruleYButton = radio("RadioButton2", dorvan::ruleCaption(dorvan::StoppingRule::AxisY));
    ruleBothAxesButton = radio("RadioButton3", dorvan::ruleCaption(dorvan::StoppingRule::BothAxes));
    ruleObjectiveButton = radio("RadioButton4", dorvan::ruleCaption(dorvan::StoppingRule::Objective));
    for (QRadioButton* b : { ruleXButton, ruleYButton, ruleBothAxesButton, ruleObjectiveButton })
        rule->addWidget(b);
    ruleBothAxesButton->setChecked(true);
    return ruleBox;
}

// The precision and the correction: "e = " or "k = ", the field with its OK, and the range.
QGroupBox* entry::SettingsSheet::buildValueBox(const char* boxName, const char* caption, QLineEdit*& edit,
    const char* editName, const char* defaultText, const char* buttonName, const char* symbolLabel,
    const char* symbol, const char* rangeLabel, const char* range, void (entry::SettingsSheet::*ok)())
{
    auto* box = new QGroupBox(u(caption));
    box->setObjectName(boxName);
    auto* grid = new QGridLayout(box);
    edit = new QLineEdit(u(defaultText));
    edit->setObjectName(editName);
    auto* button = new QPushButton("OK");
    button->setObjectName(buttonName);
    grid->addWidget(label(symbolLabel, symbol), 0, 0);
    grid->addWidget(edit, 0, 1);
    grid->addWidget(button, 0, 2);
    grid->addWidget(label(rangeLabel, range), 1, 0, 1, 3);
    connect(button, &QPushButton::clicked, this, ok);
    connect(edit, &QLineEdit::returnPressed, this, ok);
    return box;
}

QGroupBox* entry::SettingsSheet::buildStartBox()
{
    auto* startBox = new QGroupBox(u(" Počiatočné hodnoty X0 a Y0 "));
    startBox->setObjectName("GroupBox49");
    auto* start = new QVBoxLayout(startBox);
    startOriginButton = radio("RadioButton5", dorvan::startCaption(dorvan::StartPoint::Origin));
    startComputedButton = radio("RadioButton6", dorvan::startCaption(dorvan::StartPoint::Computed));
    start->addWidget(startOriginButton);
    start->addWidget(startComputedButton);
    startComputedButton->setChecked(true);
    return startBox;
}

void entry::SettingsSheet::storeSettings()
{
    dorvan::CooperSettings& s = context_.project.Choices.Settings;
    if (ruleXButton->isChecked())
        s.rule = dorvan::StoppingRule::AxisX;
    else if (ruleYButton->isChecked())
        s.rule = dorvan::StoppingRule::AxisY;
    else if (ruleObjectiveButton->isChecked())
        s.rule = dorvan::StoppingRule::Objective;
    else
        s.rule = dorvan::StoppingRule::BothAxes;
    s.start = startOriginButton->isChecked() ? dorvan::StartPoint::Origin : dorvan::StartPoint::Computed;
    s.precisionText = precisionEdit->text().toStdString();
    s.correctionText = correctionEdit->text().toStdString();
}

// A run put a text it complained about back to its default in the project.
void entry::SettingsSheet::showSettings()
{
    // A copy: each field written back stores the whole sheet into the project again.
    const dorvan::CooperSettings s = context_.project.Choices.Settings;
    if (precisionEdit->text().toStdString() != s.precisionText)
        precisionEdit->setText(QString::fromStdString(s.precisionText));
    if (correctionEdit->text().toStdString() != s.correctionText)
        correctionEdit->setText(QString::fromStdString(s.correctionText));
}

void entry::SettingsSheet::onSettingsSwitched(bool checked)
{
    refreshSettingsSheet();
    context_.pages.valuesChanged();
    if (checked)
        context_.pages.rerunIfCooperOpen();
}

void entry::SettingsSheet::refreshSettingsSheet()
{
    if (settingsSwitch->isChecked()) {
        context_.pages.showCriterionPage(this, true);
        context_.pages.setCurrentCriterionPage(this);
        if (context_.project.State.CoordsDiffer)
            context_.host.entrySettingsSwitched(true);
        else
            context_.dialogs.warn(this, entry::text(dorvan::AllAtOneSpotText));
    } else {
        context_.host.entrySettingsSwitched(false);
        context_.pages.showCriterionPage(this, false);
    }
}

void entry::SettingsSheet::switchOn()
{
    settingsSwitch->setChecked(true);
}

void entry::SettingsSheet::onPrecisionAccepted()
{
    if (dorvan::precisionAcceptable(precisionEdit->text().toStdString())) {
        context_.pages.valuesChanged();
        context_.pages.rerunIfCooperOpen();
    } else {
        context_.dialogs.warn(this, entry::text(dorvan::BadPrecisionMessage));
        precisionEdit->setText(u(dorvan::DefaultPrecisionText));
    }
}

void entry::SettingsSheet::onCorrectionAccepted()
{
    if (dorvan::correctionAcceptable(correctionEdit->text().toStdString())) {
        context_.pages.valuesChanged();
        context_.pages.rerunIfCooperOpen();
    } else {
        context_.dialogs.warn(this, entry::text(dorvan::BadCorrectionMessage));
        correctionEdit->setText(u(dorvan::DefaultCorrectionText));
    }
}
