// The settings sheet of the Cooper iteration (SettingsSheet): stopping rule, precision e,
// correction k and the start point. The project keeps them as these controls show them; every
// allocation run reads them there.
#include "ui/entry/EntrySettingsSheet.h"

#include "ui/common/UserDialogs.h"
#include "core/project/AllocationSettings.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMessages.h"
#include "core/entry/PlaceEntry.h"
#include "core/project/Project.h"
#include "ui/common/Utf8Text.h"

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
    CheckBox16 = new QCheckBox(u("Nastavenie premenných DORVAN"));
    CheckBox16->setObjectName("CheckBox16");

    auto* layout = new QGridLayout(this);
    layout->addWidget(buildRuleBox(), 0, 0, 2, 1);
    layout->addWidget(buildValueBox("GroupBox47", " Hodnota presnosti ", Edit47, "Edit47",
                          dorvan::DefaultPrecisionText, "Button41", "Label39", "e = ", "Label40",
                          "Rozsah <0.0001;10.0>", &entry::SettingsSheet::Button41Click),
        0, 1);
    layout->addWidget(buildValueBox("GroupBox48", " Korekčná hodnota ", Edit48, "Edit48",
                          dorvan::DefaultCorrectionText, "Button42", "Label41", "k = ", "Label42",
                          "Rozsah k>0, štandard k=1", &entry::SettingsSheet::Button42Click),
        1, 1);
    layout->addWidget(buildStartBox(), 2, 0);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(3, 1);

    // A choice counts when it changes: a click on the option already chosen does nothing. The
    // defaults are set before this, so a new window asks for no run. The project learns of
    // every change first.
    for (QRadioButton* b :
        { RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6 })
        connect(b, &QRadioButton::toggled, this, [this](bool checked) {
            storeSettings();
            if (checked)
                context_.pages.rerunIfCooperOpen();
        });
    for (QLineEdit* e : { Edit47, Edit48 })
        connect(e, &QLineEdit::textChanged, this, &entry::SettingsSheet::storeSettings);
    // The project learns of the box before its handler runs, which may ask for a new result.
    connect(CheckBox16, &QCheckBox::toggled, this, [this](bool on) {
        context_.project.Choices.SettingsOn = on;
        CheckBox16Click(on);
    });
}

QGroupBox* entry::SettingsSheet::buildRuleBox()
{
    auto* GroupBox46 = new QGroupBox(u(" Presnosť "));
    GroupBox46->setObjectName("GroupBox46");
    auto* rule = new QVBoxLayout(GroupBox46);
    RadioButton1 = radio("RadioButton1", dorvan::ruleCaption(dorvan::StoppingRule::AxisX));
    RadioButton2 = radio("RadioButton2", dorvan::ruleCaption(dorvan::StoppingRule::AxisY));
    RadioButton3 = radio("RadioButton3", dorvan::ruleCaption(dorvan::StoppingRule::BothAxes));
    RadioButton4 = radio("RadioButton4", dorvan::ruleCaption(dorvan::StoppingRule::Objective));
    for (QRadioButton* b : { RadioButton1, RadioButton2, RadioButton3, RadioButton4 })
        rule->addWidget(b);
    RadioButton3->setChecked(true);
    return GroupBox46;
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
    auto* GroupBox49 = new QGroupBox(u(" Počiatočné hodnoty X0 a Y0 "));
    GroupBox49->setObjectName("GroupBox49");
    auto* start = new QVBoxLayout(GroupBox49);
    RadioButton5 = radio("RadioButton5", dorvan::startCaption(dorvan::StartPoint::Origin));
    RadioButton6 = radio("RadioButton6", dorvan::startCaption(dorvan::StartPoint::Computed));
    start->addWidget(RadioButton5);
    start->addWidget(RadioButton6);
    RadioButton6->setChecked(true);
    return GroupBox49;
}

void entry::SettingsSheet::storeSettings()
{
    dorvan::CooperSettings& s = context_.project.Choices.Settings;
    if (RadioButton1->isChecked())
        s.rule = dorvan::StoppingRule::AxisX;
    else if (RadioButton2->isChecked())
        s.rule = dorvan::StoppingRule::AxisY;
    else if (RadioButton4->isChecked())
        s.rule = dorvan::StoppingRule::Objective;
    else
        s.rule = dorvan::StoppingRule::BothAxes;
    s.start = RadioButton5->isChecked() ? dorvan::StartPoint::Origin : dorvan::StartPoint::Computed;
    s.precisionText = Edit47->text().toStdString();
    s.correctionText = Edit48->text().toStdString();
}

// A run put a text it complained about back to its default in the project.
void entry::SettingsSheet::showSettings()
{
    // A copy: each field written back stores the whole sheet into the project again.
    const dorvan::CooperSettings s = context_.project.Choices.Settings;
    if (Edit47->text().toStdString() != s.precisionText)
        Edit47->setText(QString::fromStdString(s.precisionText));
    if (Edit48->text().toStdString() != s.correctionText)
        Edit48->setText(QString::fromStdString(s.correctionText));
}

void entry::SettingsSheet::CheckBox16Click(bool checked)
{
    ClickCheckBox16();
    context_.pages.valuesChanged();
    if (checked)
        context_.pages.rerunIfCooperOpen();
}

void entry::SettingsSheet::ClickCheckBox16()
{
    if (CheckBox16->isChecked()) {
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
    CheckBox16->setChecked(true);
}

void entry::SettingsSheet::Button41Click()
{
    if (dorvan::precisionAcceptable(Edit47->text().toStdString())) {
        context_.pages.valuesChanged();
        context_.pages.rerunIfCooperOpen();
    } else {
        context_.dialogs.warn(this, entry::text(dorvan::BadPrecisionMessage));
        Edit47->setText(u(dorvan::DefaultPrecisionText));
    }
}

void entry::SettingsSheet::Button42Click()
{
    if (dorvan::correctionAcceptable(Edit48->text().toStdString())) {
        context_.pages.valuesChanged();
        context_.pages.rerunIfCooperOpen();
    } else {
        context_.dialogs.warn(this, entry::text(dorvan::BadCorrectionMessage));
        Edit48->setText(u(dorvan::DefaultCorrectionText));
    }
}
