#pragma once

#include "ui/entry/EntryPages.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace entry {

class TwoListPicker;

// The criterion sheets that relate places to each other: real distances typed pair by pair
// (TabSheet3), the distribution centre (TabSheet6), the depots (TabSheet7) and the priority
// places (TabSheet10). The criteria page adds them as its tabs and tells them when their box
// changes and when the place list changes; the rules live in PlaceRelations.

// Real distances (TabSheet3): the pair entry, then the change of one pair. Code in
// Vstupne_Udaje_Vzdialenosti.cpp.
class DistanceSheet : public QWidget {
public:
    explicit DistanceSheet(const EntryContext& context);

    // Brings the sheet in line with CheckBox3.
    void setDistanceEntry();
    // The place list changed: the change box starts over, its choices being place numbers, and
    // the entry asks for the pairs of a place that moved.
    void placesChanged();
    // "Importovať vzdialenosti ...": every pair at once from a matrix file, checked whole
    // before anything changes (Vstupne_Udaje_Vzdialenosti_Import.cpp). True when the project
    // took a matrix.
    bool importDistances();

private:
    QGroupBox* buildEntryBox();
    QGroupBox* buildChangeBox();
    void connectControls();
    bool showDistancePair();
    // The entry box closed and the change box open: every pair has its value.
    void showEntryFinished();
    void onDistanceOk(); // Button10: the distance of the pair asked
    void onAllowChange(); // Button11 "Povoliť zmenu"
    void firstPlaceChosen();
    void secondPlaceChosen();
    // Both places of the change chosen: the value can be typed and the current one is shown.
    void showChosenPair();
    void onChangeOk(); // Button12: the changed distance
    void warn(std::string_view message);

    EntryContext context_;
    QGroupBox* pairEntryBox = nullptr; // GroupBox13
    QLineEdit* distanceEdit = nullptr; // Edit11
    QPushButton* distanceOkButton = nullptr; // Button10
    QPushButton* importButton_ = nullptr; // ImportVzdialenosti
    QGroupBox* pairChangeBox = nullptr; // GroupBox14
    QPushButton* allowChangeButton = nullptr; // Button11
    QGroupBox* firstPlaceGroupBox = nullptr; // GroupBox15
    QComboBox* firstPlaceBox = nullptr; // ComboBox3
    QGroupBox* secondPlaceGroupBox = nullptr; // GroupBox17
    QComboBox* secondPlaceBox = nullptr; // ComboBox4
    QLineEdit* newDistanceEdit = nullptr; // Edit13
    QPushButton* changeOkButton = nullptr; // Button12
    QLineEdit* currentDistanceEdit = nullptr; // Edit16
};

// The distribution centre (TabSheet6): the first choice, then its change or cancellation. Code
// in Vstupne_Udaje_Centrala.cpp.
class CentreSheet : public QWidget {
public:
    explicit CentreSheet(const EntryContext& context);

    // Brings the sheet in line with CheckBox6.
    void setCentrePage();
    // The centre follows its place (renamed with it); a deleted centre is cancelled, and the
    // sheet offers the first choice again as after "Zrušiť".
    void followCentre();

private:
    QGroupBox* buildChoiceBox();
    QGroupBox* buildChangeBox();
    void fillWithPlaces(QComboBox* c);
    void chooseCentre(QComboBox* from, QPushButton* ok);
    void showCurrentCentre();
    void onFirstCentreOk(); // Button19
    void onAllowCentreChange(); // Button20 "Povoliť zmenu"
    void onNewCentreOk(); // Button21
    void closeChange();

    EntryContext context_;
    QGroupBox* centreChoiceBox = nullptr; // GroupBox22
    QComboBox* firstCentreBox = nullptr; // ComboBox5
    QPushButton* firstCentreOkButton = nullptr; // Button19
    QGroupBox* centreChangeBox = nullptr; // GroupBox23
    QComboBox* newCentreBox = nullptr; // ComboBox6
    QPushButton* newCentreOkButton = nullptr; // Button21
    QLineEdit* currentCentreEdit = nullptr; // Edit25
    QPushButton* allowCentreChangeButton = nullptr; // Button20
};

// Depots (TabSheet7): the places on the left, the depots on the right in name order. Code in
// Vstupne_Udaje_Sklady.cpp.
class DepotSheet : public QWidget {
public:
    explicit DepotSheet(const EntryContext& context);

    // Brings the sheet in line with CheckBox7; also when the place list or the centre changed.
    void setDepotPage();

private:
    void addDepot(int row, const dorvan::Text100& name);
    void removeDepot(int row, const dorvan::Text100& name);

    EntryContext context_;
    TwoListPicker* picker_ = nullptr; // GroupBox24..26, ListBox2, ListBox3, Button22, Button23
};

// Priority places (TabSheet10): the places on the left, the priorities on the right in their
// stored order, which "A" and "V" change. Code in Vstupne_Udaje_Sklady.cpp.
class PrioritySheet : public QWidget {
public:
    explicit PrioritySheet(const EntryContext& context);

    // Brings the sheet in line with CheckBox10; also when the place list or the centre changed.
    void setPriorityPage();

private:
    enum class Direction { Up, Down };
    void addPriority(int row, const dorvan::Text100& name);
    void removePriority(int row, const dorvan::Text100& name);
    void moveSelectedPriority(Direction direction);
    void enableMoves(bool on);

    EntryContext context_;
    TwoListPicker* picker_ = nullptr; // GroupBox33..35, ListBox6, ListBox7, Button30, Button31
    QPushButton* moveUpButton = nullptr; // Button34
    QPushButton* moveDownButton = nullptr; // Button35
};

// The centre or the depots changed: the centre is left out of the depot and priority lists, and
// the loading-time and capacity pages offer their DC, DS and DM entries by the centre and the
// depots.
void centreOrDepotsChanged(const EntryContext& context);

} // namespace entry
