#pragma once

#include "ui/entry/EntryPages.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace entry {

// The settings sheet TabSheet14 of the criterion pages: stopping rule, precision e, correction k
// and start point of the Cooper iteration, and its switch CheckBox16 ("Nastavenie premenných
// DORVAN"), which sits with the criterion boxes. Code in Vstupne_Udaje_Nastavenie.cpp.
class SettingsSheet : public QWidget {
public:
    explicit SettingsSheet(const EntryContext& context);

    // CheckBox16, for the criteria page to place with the criterion boxes.
    QCheckBox* switchBox() const { return CheckBox16; }
    // Brings the sheet in line with CheckBox16.
    void ClickCheckBox16();
    // Ticks CheckBox16 (its handler runs when that is a change).
    void switchOn();
    // The texts of Edit47 and Edit48 as the project keeps them (a run may have reset them).
    void showSettings();

private:
    QGroupBox* buildRuleBox();
    QGroupBox* buildValueBox(const char* boxName, const char* caption, QLineEdit*& edit, const char* editName,
        const char* defaultText, const char* buttonName, const char* symbolLabel, const char* symbol,
        const char* rangeLabel, const char* range, void (SettingsSheet::*ok)());
    QGroupBox* buildStartBox();
    void CheckBox16Click(bool checked);
    void storeSettings();
    void Button41Click();
    void Button42Click();

    EntryContext context_;
    QCheckBox* CheckBox16 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QLineEdit* Edit47 = nullptr;
    QLineEdit* Edit48 = nullptr;
};

} // namespace entry
