#pragma once

class QRadioButton;
namespace dorvan {
struct Project;
} // namespace dorvan

// The data-entry mode switch on the toolbar ("Dáta - RUČNE", "Dáta - OBRÁZOK") and the project's
// data mode it sets.
class DataModeSwitch {
public:
    DataModeSwitch(QRadioButton& manual, QRadioButton& picture, dorvan::Project& project);

    bool pictureMode() const;
    // Checks "Dáta - OBRÁZOK" (picture mode) or "Dáta - RUČNE" and sets the project's data
    // mode; enabling is left to CommandStates. The data-entry pages follow through show.
    void set(bool pictureMode);
    // Sets the project's data mode and tells its windows: the data-entry window shows its
    // picture page or its manual-entry page and hides the other one, as the two buttons do.
    void show(bool pictureMode);

private:
    QRadioButton& manual_;
    QRadioButton& picture_;
    dorvan::Project& project_;
};
