// The settings sheet of the Cooper iteration (SettingsSheet): stopping rule, precision e,
// correction k and the start point. The project keeps them as these controls show them, each
// text with the value parsed from it; every allocation run reads them there.
#include "ui/entry/EntrySettingsSheet.h"

#include "core/entry/PlaceEntry.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/AllocationSettings.h"
#include "core/project/Project.h"
#include "core/project/ProjectDocument.h"
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

#include <utility>

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
    // defaults are set before this, so a new window asks for no run. Each control stores only
    // its own part of the settings, as one command; an open allocation window runs again on a
    // new choice, but not on a key in a field (its OK or Enter runs it).
    const std::pair<QRadioButton*, dorvan::StoppingRule> rules[] { { ruleXButton,
                                                                       dorvan::StoppingRule::AxisX },
        { ruleYButton, dorvan::StoppingRule::AxisY }, { ruleBothAxesButton, dorvan::StoppingRule::BothAxes },
        { ruleObjectiveButton, dorvan::StoppingRule::Objective } };
    for (const auto& [button, rule] : rules)
        connect(button, &QRadioButton::toggled, this, [this, rule](bool checked) {
            if (checked)
                dorvan::ProjectEdits(context_.project)
                    .setStoppingRule(rule, context_.host.cooperWindowOpen());
        });
    const std::pair<QRadioButton*, dorvan::StartPoint> starts[] { { startOriginButton,
                                                                      dorvan::StartPoint::Origin },
        { startComputedButton, dorvan::StartPoint::Computed } };
    for (const auto& [button, start] : starts)
        connect(button, &QRadioButton::toggled, this, [this, start](bool checked) {
            if (checked)
                dorvan::ProjectEdits(context_.project).setStartPoint(start, context_.host.cooperWindowOpen());
        });
    connect(precisionEdit, &QLineEdit::textChanged, this, &entry::SettingsSheet::onPrecisionTyped);
    connect(correctionEdit, &QLineEdit::textChanged, this, &entry::SettingsSheet::onCorrectionTyped);
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

// The keys typed into one field since its last OK are one step while nothing else happens in
// between (the history's revision tells).
namespace {

bool continuesTyping(const std::optional<std::uint64_t>& typedAt, dorvan::Project& project)
{
    return typedAt && *typedAt == dorvan::ProjectDocument(project).revision();
}

} // namespace

void entry::SettingsSheet::storeKeys(
    const QString& text, const std::string& stored, std::optional<std::uint64_t>& typedAt, TypeText type)
{
    // The project's own text shown again is no key.
    if (text.toStdString() == stored)
        return;
    dorvan::ProjectEdits edits(context_.project);
    (edits.*type)(text.toStdString(), continuesTyping(typedAt, context_.project));
    typedAt = dorvan::ProjectDocument(context_.project).revision();
}

void entry::SettingsSheet::onPrecisionTyped(const QString& text)
{
    storeKeys(text, context_.project.Choices.Settings.precisionText(), precisionTypedAt_,
        &dorvan::ProjectEdits::typePrecision);
}

void entry::SettingsSheet::onCorrectionTyped(const QString& text)
{
    storeKeys(text, context_.project.Choices.Settings.correctionText(), correctionTypedAt_,
        &dorvan::ProjectEdits::typeCorrection);
}

// The settings as the project keeps them: after a run or the page's check put a text back to
// its default, and after an undo or a redo. What the controls then store is what the project
// holds already, so showing them makes no step.
void entry::SettingsSheet::showSettings()
{
    const dorvan::CooperSettings& s = context_.project.Choices.Settings;
    const std::pair<QRadioButton*, bool> chosen[] { { ruleXButton, s.rule == dorvan::StoppingRule::AxisX },
        { ruleYButton, s.rule == dorvan::StoppingRule::AxisY },
        { ruleBothAxesButton, s.rule == dorvan::StoppingRule::BothAxes },
        { ruleObjectiveButton, s.rule == dorvan::StoppingRule::Objective },
        { startOriginButton, s.start == dorvan::StartPoint::Origin },
        { startComputedButton, s.start == dorvan::StartPoint::Computed } };
    for (const auto& [button, on] : chosen)
        if (on && !button->isChecked())
            button->setChecked(true);
    // Copies: a text shown may be stored again, which need not keep the project's string.
    const QString precision = QString::fromStdString(s.precisionText());
    const QString correction = QString::fromStdString(s.correctionText());
    if (precisionEdit->text() != precision) {
        precisionEdit->setText(precision);
        precisionTypedAt_.reset();
    }
    if (correctionEdit->text() != correction) {
        correctionEdit->setText(correction);
        correctionTypedAt_.reset();
    }
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

// e and k are checked as the project parsed them when they were typed. A good value asks an
// open allocation window to run; a bad one is refused and its default put back.
void entry::SettingsSheet::checkValue(
    bool acceptable, std::optional<std::uint64_t>& typedAt, std::string_view complaint, ResetText reset)
{
    typedAt.reset();
    if (acceptable) {
        context_.pages.valuesChanged();
        context_.pages.rerunIfCooperOpen();
    } else {
        context_.dialogs.warn(this, entry::text(complaint));
        dorvan::ProjectEdits edits(context_.project);
        (edits.*reset)();
    }
}

void entry::SettingsSheet::onPrecisionAccepted()
{
    checkValue(context_.project.Choices.Settings.precision().has_value(), precisionTypedAt_,
        dorvan::BadPrecisionMessage, &dorvan::ProjectEdits::resetPrecision);
}

void entry::SettingsSheet::onCorrectionAccepted()
{
    checkValue(context_.project.Choices.Settings.correction().has_value(), correctionTypedAt_,
        dorvan::BadCorrectionMessage, &dorvan::ProjectEdits::resetCorrection);
}
