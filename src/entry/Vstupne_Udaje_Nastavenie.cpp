// The settings page of the Cooper iteration: stopping rule, precision e, correction k and the
// start point. The project keeps them as these controls show them; every allocation run reads
// them there.
#include "entry/Vstupne_Udaje.h"

#include "common/UserDialogs.h"
#include "entry/EntryHost.h"
#include "project/Project.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
} // namespace

QWidget* TVstupUdajov::buildSettingsSheet()
{
    auto* sheet = new QWidget;
    sheet->setObjectName("TabSheet14");
    auto* layout = new QGridLayout(sheet);

    auto radio = [](const char* name, const char* caption) {
        auto* b = new QRadioButton(u(caption));
        b->setObjectName(name);
        return b;
    };
    auto label = [](const char* name, const char* caption) {
        auto* l = new QLabel(u(caption));
        l->setObjectName(name);
        return l;
    };

    auto* GroupBox46 = new QGroupBox(u(" Presnosť "));
    GroupBox46->setObjectName("GroupBox46");
    auto* rule = new QVBoxLayout(GroupBox46);
    RadioButton1 = radio("RadioButton1", "podľa osi x");
    RadioButton2 = radio("RadioButton2", "podľa osi y");
    RadioButton3 = radio("RadioButton3", "podľa osi x a osi y súčasne");
    RadioButton4 = radio("RadioButton4", "podľa účelovej funkcie");
    for (QRadioButton* b : { RadioButton1, RadioButton2, RadioButton3, RadioButton4 })
        rule->addWidget(b);
    RadioButton3->setChecked(true);

    auto* GroupBox47 = new QGroupBox(u(" Hodnota presnosti "));
    GroupBox47->setObjectName("GroupBox47");
    auto* precision = new QGridLayout(GroupBox47);
    Edit47 = new QLineEdit(u(dorvan::DefaultPrecisionText));
    Edit47->setObjectName("Edit47");
    auto* Button41 = new QPushButton("OK");
    Button41->setObjectName("Button41");
    precision->addWidget(label("Label39", "e = "), 0, 0);
    precision->addWidget(Edit47, 0, 1);
    precision->addWidget(Button41, 0, 2);
    precision->addWidget(label("Label40", "Rozsah <0.0001;10.0>"), 1, 0, 1, 3);

    auto* GroupBox48 = new QGroupBox(u(" Korekčná hodnota "));
    GroupBox48->setObjectName("GroupBox48");
    auto* correction = new QGridLayout(GroupBox48);
    Edit48 = new QLineEdit(u(dorvan::DefaultCorrectionText));
    Edit48->setObjectName("Edit48");
    auto* Button42 = new QPushButton("OK");
    Button42->setObjectName("Button42");
    correction->addWidget(label("Label41", "k = "), 0, 0);
    correction->addWidget(Edit48, 0, 1);
    correction->addWidget(Button42, 0, 2);
    correction->addWidget(label("Label42", "Rozsah k>0, štandard k=1"), 1, 0, 1, 3);

    auto* GroupBox49 = new QGroupBox(u(" Počiatočné hodnoty X0 a Y0 "));
    GroupBox49->setObjectName("GroupBox49");
    auto* start = new QVBoxLayout(GroupBox49);
    RadioButton5 = radio("RadioButton5", "[X0;Y0] = [0;0]");
    RadioButton6 = radio("RadioButton6", "[X0;Y0] - vypočítať");
    start->addWidget(RadioButton5);
    start->addWidget(RadioButton6);
    RadioButton6->setChecked(true);

    layout->addWidget(GroupBox46, 0, 0, 2, 1);
    layout->addWidget(GroupBox47, 0, 1);
    layout->addWidget(GroupBox48, 1, 1);
    layout->addWidget(GroupBox49, 2, 0);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(3, 1);

    // A choice counts when it changes: a click on the option already chosen does nothing. The
    // defaults above are set before this, so a new window asks for no run. The project learns
    // of every change first.
    for (QRadioButton* b :
        { RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6 })
        connect(b, &QRadioButton::toggled, this, [this](bool checked) {
            storeSettings();
            if (checked)
                rerunIfCooperOpen();
        });
    for (QLineEdit* e : { Edit47, Edit48 })
        connect(e, &QLineEdit::textChanged, this, &TVstupUdajov::storeSettings);
    connect(Button41, &QPushButton::clicked, this, &TVstupUdajov::Button41Click);
    connect(Edit47, &QLineEdit::returnPressed, this, &TVstupUdajov::Button41Click);
    connect(Button42, &QPushButton::clicked, this, &TVstupUdajov::Button42Click);
    connect(Edit48, &QLineEdit::returnPressed, this, &TVstupUdajov::Button42Click);
    return sheet;
}

void TVstupUdajov::storeSettings()
{
    dorvan::CooperSettings& s = project_.Choices.Settings;
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
void TVstupUdajov::showSettings()
{
    // A copy: each field written back stores the whole page into the project again.
    const dorvan::CooperSettings s = project_.Choices.Settings;
    if (Edit47->text().toStdString() != s.precisionText)
        Edit47->setText(QString::fromStdString(s.precisionText));
    if (Edit48->text().toStdString() != s.correctionText)
        Edit48->setText(QString::fromStdString(s.correctionText));
}

dorvan::StoppingRule TVstupUdajov::stoppingRule() const
{
    return project_.Choices.Settings.rule;
}

dorvan::StartPoint TVstupUdajov::startPoint() const
{
    return project_.Choices.Settings.start;
}

QString TVstupUdajov::precisionText() const
{
    return QString::fromStdString(project_.Choices.Settings.precisionText);
}
QString TVstupUdajov::correctionText() const
{
    return QString::fromStdString(project_.Choices.Settings.correctionText);
}
void TVstupUdajov::resetPrecision()
{
    Edit47->setText(u(dorvan::DefaultPrecisionText));
}
void TVstupUdajov::resetCorrection()
{
    Edit48->setText(u(dorvan::DefaultCorrectionText));
}

void TVstupUdajov::CheckBox16Click(bool checked)
{
    ClickCheckBox16();
    valuesChanged();
    if (checked)
        rerunIfCooperOpen();
}

void TVstupUdajov::ClickCheckBox16()
{
    if (CheckBox16->isChecked()) {
        showCriterionPage(TabSheet14, true);
        PageControl2->setCurrentWidget(TabSheet14);
        if (project_.State.CoordsDiffer)
            host_.entrySettingsSwitched(true);
        else
            dialogs_.warn(this, u("Nesmú byť všetky rovnaké SÚRADNICE !!!"));
    } else {
        host_.entrySettingsSwitched(false);
        showCriterionPage(TabSheet14, false);
    }
}

void TVstupUdajov::Button41Click()
{
    if (dorvan::precisionAcceptable(Edit47->text().toStdString())) {
        valuesChanged();
        rerunIfCooperOpen();
    } else {
        dialogs_.warn(this, u("Chybná presnosť !!!"));
        resetPrecision();
    }
}

void TVstupUdajov::Button42Click()
{
    if (dorvan::correctionAcceptable(Edit48->text().toStdString())) {
        valuesChanged();
        rerunIfCooperOpen();
    } else {
        dialogs_.warn(this, u("Chybná korekčná hodnota !!!"));
        resetCorrection();
    }
}
