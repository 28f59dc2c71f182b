#pragma once

#include "ui/entry/EntryPages.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace dorvan {
class ProjectEdits;
}

namespace entry {

// The settings sheet TabSheet14 of the criterion pages: stopping rule, precision e, correction k
// and start point of the Cooper iteration, and its switch CheckBox16 ("Nastavenie premenných
// DORVAN"), which sits with the criterion boxes. Code in Vstupne_Udaje_Nastavenie.cpp.
class SettingsSheet : public QWidget {
public:
    explicit SettingsSheet(const EntryContext& context);

    // CheckBox16, for the criteria page to place with the criterion boxes.
    QCheckBox* switchBox() const { return settingsSwitch; }
    // Brings the sheet in line with CheckBox16.
    void refreshSettingsSheet();
    // Ticks CheckBox16 (its handler runs when that is a change).
    void switchOn();
    // The settings as the project keeps them (a run may have reset a text, an undo any part).
    void showSettings();

private:
    QGroupBox* buildRuleBox();
    QGroupBox* buildValueBox(const char* boxName, const char* caption, QLineEdit*& edit, const char* editName,
        const char* defaultText, const char* buttonName, const char* symbolLabel, const char* symbol,
        const char* rangeLabel, const char* range, void (SettingsSheet::*ok)());
    QGroupBox* buildStartBox();
    void onSettingsSwitched(bool checked); // CheckBox16 ticked or unticked
    using TypeText = void (dorvan::ProjectEdits::*)(const std::string&, bool);
    using ResetText = void (dorvan::ProjectEdits::*)();
    // A key in a field: the text as it stands, as one step with the keys before it.
    void storeKeys(
        const QString& text, const std::string& stored, std::optional<std::uint64_t>& typedAt, TypeText type);
    // A field's OK: the value the project parsed from its text, taken or refused.
    void checkValue(
        bool acceptable, std::optional<std::uint64_t>& typedAt, std::string_view complaint, ResetText reset);
    void onPrecisionTyped(const QString& text); // a key in Edit47
    void onCorrectionTyped(const QString& text); // a key in Edit48
    void onPrecisionAccepted(); // Button41 or Enter in Edit47: e checked
    void onCorrectionAccepted(); // Button42 or Enter in Edit48: k checked

    EntryContext context_;
    QCheckBox* settingsSwitch = nullptr; // CheckBox16
    QRadioButton* ruleXButton = nullptr; // RadioButton1
    QRadioButton* ruleYButton = nullptr; // RadioButton2
    QRadioButton* ruleBothAxesButton = nullptr; // RadioButton3
    QRadioButton* ruleObjectiveButton = nullptr; // RadioButton4
    QRadioButton* startOriginButton = nullptr; // RadioButton5
    QRadioButton* startComputedButton = nullptr; // RadioButton6
    QLineEdit* precisionEdit = nullptr; // Edit47
    QLineEdit* correctionEdit = nullptr; // Edit48
    // The history's revision after the last key typed into each field, until its OK.
    std::optional<std::uint64_t> precisionTypedAt_;
    std::optional<std::uint64_t> correctionTypedAt_;
};

} // namespace entry
